#include "database/FireBirdRecordset.h"

#include "common/TextConversion.h"
#include "database/FireBirdBlob.h"
#include "database/FireBirdDatabase.h"
#include "database/FireBirdValue.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned short BlobSegment = 1024;
constexpr ISC_STATUS EndOfRows = 100; // what isc_dsql_fetch returns after the last row

// A 32-byte name field of a variable, up to its first zero byte (a name that
// fills the field has none).
QString NameText(const ISC_SCHAR (&name)[32])
{
    return Utf8ToText(name, qsizetype(strnlen(name, sizeof name)));
}

} // namespace

CFireBirdRecordset::~CFireBirdRecordset()
{
    Close();
}

const XSQLVAR* CFireBirdRecordset::Column(int column) const
{
    if (!StmtHandle_.IsSet() || !OutputDescriptor_)
        return nullptr;
    return OutputDescriptor_->Variable(column);
}

int CFireBirdRecordset::FindVariable(const QString& name) const
{
    if (!StmtHandle_.IsSet() || !OutputDescriptor_)
        return -1;
    for (int i = 0; i < OutputDescriptor_->Count(); ++i) {
        const XSQLVAR* variable = OutputDescriptor_->Variable(i);
        if (!variable)
            break;
        if (NameText(variable->sqlname).compare(name, Qt::CaseInsensitive) == 0 ||
            NameText(variable->aliasname).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool CFireBirdRecordset::ReadBlob(const XSQLVAR& variable, unsigned char*& data, int& size)
{
    size = 0;
    if (!variable.sqldata || variable.sqllen < ISC_SHORT(sizeof(ISC_QUAD)))
        return false;
    ISC_QUAD id;
    std::memcpy(&id, variable.sqldata, sizeof id);
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_tr_handle transaction = Owner_->TrHandle_;
    CFireBirdBlob blob;
    if (isc_open_blob2(status, &Owner_->DbHandle_, &transaction, blob.Handle(), &id, 0, nullptr))
        return false;

    unsigned char* bytes = nullptr; // the data read so far, one zero byte after it
    std::size_t count = 0;
    std::size_t capacity = 0;
    char segment[BlobSegment];
    for (;;) {
        unsigned short length = 0;
        const ISC_STATUS result =
            isc_get_segment(status, blob.Handle(), &length, sizeof segment, segment);
        if (result != 0 && result != isc_segment)
            break; // the end of the BLOB, or an error: keep what was read
        length = std::min<unsigned short>(length, sizeof segment);
        if (count + length + 1 > std::size_t(INT_MAX)) {
            std::free(bytes); // its size could not be told in an int
            return false;
        }
        if (count + length + 1 > capacity) {
            const std::size_t grown = std::max(capacity * 2, count + length + 1);
            capacity = std::min(grown, std::size_t(INT_MAX));
            auto* larger = static_cast<unsigned char*>(std::realloc(bytes, capacity));
            if (!larger) {
                std::free(bytes);
                return false;
            }
            bytes = larger;
        }
        std::memcpy(bytes + count, segment, length);
        count += length;
        bytes[count] = 0;
    }
    if (count == 0) {
        std::free(bytes); // only empty segments: an empty BLOB
        return true;
    }
    data = bytes;
    size = int(count + 1);
    return true;
}

bool CFireBirdRecordset::GetBlob(int column, unsigned char*& data, int& size)
{
    const XSQLVAR* variable = Column(column);
    if (!variable || !CFireBirdValue(*variable).IsBlob() || CFireBirdValue(*variable).IsNull()) {
        size = 0;
        return false;
    }
    return ReadBlob(*variable, data, size);
}

bool CFireBirdRecordset::GetBlob(const QString& name, unsigned char*& data, int& size)
{
    return GetBlob(FindVariable(name), data, size);
}

bool CFireBirdRecordset::IsNull(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable && CFireBirdValue(*variable).IsNull();
}

QString CFireBirdRecordset::GetString(int column)
{
    const XSQLVAR* variable = Column(column);
    if (!variable)
        return {};
    const CFireBirdValue value(*variable);
    if (!value.IsBlob())
        return value.Text();
    unsigned char* data = nullptr;
    int size = 0;
    if (value.IsNull() || !ReadBlob(*variable, data, size) || !data)
        return {};
    const QString text = AnsiToWide(reinterpret_cast<const char*>(data));
    std::free(data);
    return text;
}

QString CFireBirdRecordset::GetString(const QString& name)
{
    return GetString(FindVariable(name));
}

int CFireBirdRecordset::GetInt(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable ? CFireBirdValue(*variable).Int() : 0;
}

int CFireBirdRecordset::GetInt(const QString& name)
{
    return GetInt(FindVariable(name));
}

double CFireBirdRecordset::GetDouble(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable ? CFireBirdValue(*variable).Double() : 0.0;
}

double CFireBirdRecordset::GetDouble(const QString& name)
{
    return GetDouble(FindVariable(name));
}

bool CFireBirdRecordset::IsInteger(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable && CFireBirdValue(*variable).IsInteger();
}

bool CFireBirdRecordset::IsFloat(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable && CFireBirdValue(*variable).IsFloat();
}

bool CFireBirdRecordset::IsText(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable && CFireBirdValue(*variable).IsText();
}

int CFireBirdRecordset::GetColumnCount()
{
    return StmtHandle_.IsSet() && OutputDescriptor_ ? OutputDescriptor_->Count() : 0;
}

QString CFireBirdRecordset::GetColumnName(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable ? NameText(variable->aliasname) : QString();
}

int CFireBirdRecordset::GetColumnType(int column)
{
    const XSQLVAR* variable = Column(column);
    return variable ? int(variable->sqltype) : 0;
}

bool CFireBirdRecordset::MoveNext()
{
    if (!StmtHandle_.IsSet() || !OutputDescriptor_ || Finished_)
        return false;
    if (OutputDescriptor_->Count() == 0) {
        Finished_ = true; // a statement without columns has no rows to fetch
        return false;
    }
    ISC_STATUS status[ISC_STATUS_LENGTH];
    const ISC_STATUS result =
        isc_dsql_fetch(status, StmtHandle_.Handle(), SQLDA_VERSION1, OutputDescriptor_->Get());
    if (result == 0)
        return true;
    Finished_ = true;
    // A statement that opens no cursor (EXECUTE PROCEDURE) has no rows.
    if (result != EndOfRows && !CFireBirdDatabase::Carries(status, isc_dsql_cursor_not_open)) {
        FetchFailed_ = true;
        FetchError_ = Owner_->GetStatusText(status);
    }
    return false;
}

void CFireBirdRecordset::Rewind()
{
    Finished_ = false;
    FetchFailed_ = false;
    FetchError_.clear();
}

bool CFireBirdRecordset::GetFetchError(QString& error)
{
    if (!FetchFailed_)
        return false;
    error = FetchError_;
    return true;
}

bool CFireBirdRecordset::Close()
{
    StmtHandle_.Release();
    Rewind();
    OutputDescriptor_.reset();
    InputDescriptor_.reset();
    if (!OwnsTransaction_)
        return true;
    OwnsTransaction_ = false;
    QString ignored;
    return Owner_->CommitTransaction(ignored);
}

bool CFireBirdRecordset::IsOpen()
{
    return StmtHandle_.IsSet();
}
