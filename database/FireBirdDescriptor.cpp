#include "database/FireBirdDescriptor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

std::unique_ptr<CFireBirdDescriptor> CFireBirdDescriptor::Create(int room)
{
    room = std::clamp(room, 1, 32767); // sqln is a 16-bit count
    auto* sqlda = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(std::size_t(room))));
    if (!sqlda)
        return nullptr;
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = ISC_SHORT(room);
    return std::unique_ptr<CFireBirdDescriptor>(new CFireBirdDescriptor(sqlda));
}

CFireBirdDescriptor::~CFireBirdDescriptor()
{
    const int described = std::min(int(Sqlda_->sqln), int(Sqlda_->sqld));
    for (int i = 0; i < std::max(described, 0); ++i) {
        std::free(Sqlda_->sqlvar[i].sqldata);
        std::free(Sqlda_->sqlvar[i].sqlind);
    }
    std::free(Sqlda_);
}

XSQLVAR* CFireBirdDescriptor::Variable(int index) const
{
    if (index < 0 || index >= Sqlda_->sqln || index >= Sqlda_->sqld)
        return nullptr;
    return &Sqlda_->sqlvar[index];
}

bool CFireBirdDescriptor::AllocateData(int index, std::size_t bytes)
{
    XSQLVAR* variable = Variable(index);
    if (!variable)
        return false;
    char* data = static_cast<char*>(std::calloc(std::max<std::size_t>(bytes, 1), 1));
    if (!data)
        return false;
    std::free(variable->sqldata);
    variable->sqldata = data;
    return true;
}

bool CFireBirdDescriptor::CopyData(int index, const char* bytes, std::size_t size)
{
    if (!AllocateData(index, size))
        return false;
    if (size)
        std::memcpy(Sqlda_->sqlvar[index].sqldata, bytes, size);
    return true;
}

bool CFireBirdDescriptor::AllocateIndicator(int index)
{
    XSQLVAR* variable = Variable(index);
    if (!variable)
        return false;
    if (!variable->sqlind)
        variable->sqlind = static_cast<ISC_SHORT*>(std::calloc(1, sizeof(ISC_SHORT)));
    return variable->sqlind != nullptr;
}
