#pragma once

// Owner of an open FireBird BLOB handle: the BLOB is closed when the owner
// goes, unless Close already did it.

#include <ibase.h>

class CFireBirdBlob
{
public:
    CFireBirdBlob() = default;
    ~CFireBirdBlob();
    CFireBirdBlob(const CFireBirdBlob&) = delete;
    CFireBirdBlob& operator=(const CFireBirdBlob&) = delete;

    // Where the open and create calls write the new handle.
    isc_blob_handle* Handle() { return &Handle_; }
    // Closes the BLOB now; the library's result, its message in status.
    ISC_STATUS Close(ISC_STATUS* status);

private:
    isc_blob_handle Handle_ = 0;
};
