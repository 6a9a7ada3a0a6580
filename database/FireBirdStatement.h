#pragma once

// Owner of a FireBird statement handle: the handle is released (dropped) when
// the owner goes, on every path.

#include <ibase.h>

class CFireBirdStatement
{
public:
    CFireBirdStatement() = default;
    ~CFireBirdStatement();
    CFireBirdStatement(const CFireBirdStatement&) = delete;
    CFireBirdStatement& operator=(const CFireBirdStatement&) = delete;

    // Where the allocation calls write the new handle; zero while none.
    isc_stmt_handle* Handle() { return &Handle_; }
    bool IsSet() const { return Handle_ != 0; }
    // Drops the statement now; the outcome is not examined.
    void Release();

private:
    isc_stmt_handle Handle_ = 0;
};
