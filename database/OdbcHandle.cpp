#include "database/OdbcHandle.h"

#include <sql.h>
#include <type_traits>
#include <utility>

static_assert(std::is_same_v<SQLHANDLE, void*>);
static_assert(std::is_same_v<SQLSMALLINT, short> && std::is_same_v<SQLRETURN, short>);

COdbcHandle::~COdbcHandle()
{
    Reset();
}

short COdbcHandle::Allocate(short type, void* parent)
{
    Reset();
    Type_ = type;
    SQLHANDLE handle = SQL_NULL_HANDLE;
    const SQLRETURN result = SQLAllocHandle(type, parent, &handle);
    Handle_ = handle;
    return result;
}

void COdbcHandle::Reset()
{
    if (Handle_)
        SQLFreeHandle(Type_, std::exchange(Handle_, nullptr));
}
