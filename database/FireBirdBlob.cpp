#include "database/FireBirdBlob.h"

CFireBirdBlob::~CFireBirdBlob()
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    Close(status);
}

ISC_STATUS CFireBirdBlob::Close(ISC_STATUS* status)
{
    if (!Handle_)
        return 0;
    const ISC_STATUS result = isc_close_blob(status, &Handle_);
    Handle_ = 0; // a BLOB that failed to close cannot be closed again
    return result;
}
