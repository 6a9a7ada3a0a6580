#pragma once

// An XSQLDA (version 1) together with every data and null-indicator buffer
// that hangs from its variables; all of them are released with it.

#include <cstddef>
#include <ibase.h>
#include <memory>

class CFireBirdDescriptor
{
public:
    // A zero-filled descriptor with room for room variables (at least one);
    // null when the memory cannot be had.
    static std::unique_ptr<CFireBirdDescriptor> Create(int room);
    ~CFireBirdDescriptor();
    CFireBirdDescriptor(const CFireBirdDescriptor&) = delete;
    CFireBirdDescriptor& operator=(const CFireBirdDescriptor&) = delete;

    XSQLDA* Get() const { return Sqlda_; }
    int Room() const { return Sqlda_->sqln; }
    // Variables the library described, which may exceed Room.
    int Count() const { return Sqlda_->sqld; }
    // The variable at index when it was described and fits the room; null
    // otherwise.
    XSQLVAR* Variable(int index) const;

    // Gives the variable a new zero-filled data buffer of at least one byte,
    // releasing the one it had; false when the memory cannot be had.
    bool AllocateData(int index, std::size_t bytes);
    // A copy of size bytes (at least one byte allocated) as the data buffer.
    bool CopyData(int index, const char* bytes, std::size_t size);
    // A two-byte null indicator holding 0 (not NULL), unless it has one.
    bool AllocateIndicator(int index);

private:
    explicit CFireBirdDescriptor(XSQLDA* sqlda) : Sqlda_(sqlda) {}

    XSQLDA* Sqlda_; // never null
};
