#pragma once

// Owner of one ODBC handle (environment, connection or statement): frees it
// with SQLFreeHandle exactly once, on whatever path its owner leaves by.
//
// The handle is kept as the untyped pointer that every ODBC handle is, so
// that headers which hold one need not pull in the ODBC headers.

class COdbcHandle
{
public:
    COdbcHandle() = default;
    ~COdbcHandle();
    COdbcHandle(const COdbcHandle&) = delete;
    COdbcHandle& operator=(const COdbcHandle&) = delete;

    // SQLAllocHandle(type, parent). Any handle held before is freed first.
    // Whatever handle the call hands back is kept, even when the result is
    // not a success, so that it is freed too. Returns the call's result.
    short Allocate(short type, void* parent);

    void* Get() const { return Handle_; }
    explicit operator bool() const { return Handle_ != nullptr; }

    // Frees the handle, if one is held, and forgets it.
    void Reset();

private:
    short Type_ = 0;
    void* Handle_ = nullptr;
};
