#include "database/OdbcRecordset.h"

#include "common/SaturatedInt.h"
#include "common/TextConversion.h"
#include "database/OdbcDatabase.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
#include <utility>

namespace {

constexpr int BytePieceSize = 1024;   // bytes asked for by each binary read
constexpr int TextPieceSize = 1024;   // wide characters asked for by the first text read
constexpr int LargestPiece = 1 << 20; // wide characters asked for by any later text read

// The SQLite driver reports BIGINT columns with the code of the C type
// SQL_C_SBIGINT instead of SQL_BIGINT; no SQL type has that code.
constexpr SQLLEN SQLiteDriverBigInt = SQL_C_SBIGINT;

// Whether the driver holds more of the value after a successful piece read
// into room bytes: it says so with SQL_SUCCESS_WITH_INFO and a length beyond
// the room, or one it cannot tell.
bool MoreFollows(SQLRETURN result, SQLLEN indicator, SQLLEN room)
{
    return result == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator > room);
}

// How many bytes a piece delivered: all it had room for when more follows,
// otherwise what the indicator counts.
SQLLEN PieceLength(SQLRETURN result, SQLLEN indicator, SQLLEN room)
{
    if (indicator == SQL_NO_TOTAL || MoreFollows(result, indicator, room))
        return room;
    return std::clamp<SQLLEN>(indicator, 0, room);
}

// Bytes taken two at a time as little-endian UTF-16 up to the first zero
// character; an odd last byte is left out.
QString BytesAsText(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8));
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    return text;
}

} // namespace

COdbcRecordset::~COdbcRecordset() = default;

short COdbcRecordset::AllocateStatement(void* connection)
{
    ResultChanged();
    return Statement_.Allocate(SQL_HANDLE_STMT, connection);
}

void COdbcRecordset::ResultChanged()
{
    ColumnsKnown_ = false;
    Classes_.clear();
    Cells_.clear();
    Finished_ = false;
    FetchFailed_ = false;
    FetchError_.clear();
}

COdbcRecordset::EColumnClass COdbcRecordset::ClassOfType(SQLLEN type)
{
    switch (type) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQLiteDriverBigInt:
        return ClassInteger;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
        return ClassFloat;
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return ClassText;
    case SQL_DATE:
    case SQL_TIME:
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
        return ClassDate;
    case SQL_BINARY:
        return ClassBinary;
    default:
        return ClassNone;
    }
}

void COdbcRecordset::LearnColumns()
{
    if (ColumnsKnown_ || !Statement_)
        return;
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(Statement_.Get(), &count)) || count < 0)
        return; // asked again next time
    Classes_.assign(size_t(count), ClassNone);
    Cells_.assign(size_t(count), CCell());
    for (SQLSMALLINT c = 0; c < count; ++c) {
        SQLLEN type = 0; // the driver writes a whole SQLLEN here
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLColAttributeW(Statement_.Get(), SQLUSMALLINT(c + 1),
                                            SQL_DESC_CONCISE_TYPE, nullptr, 1024, &length, &type)))
            continue;
        Classes_[size_t(c)] = ClassOfType(type);
    }
    ColumnsKnown_ = true;
}

bool COdbcRecordset::HasColumn(int column)
{
    LearnColumns();
    return column >= 0 && size_t(column) < Classes_.size();
}

COdbcRecordset::EColumnClass COdbcRecordset::ClassOf(int column)
{
    return HasColumn(column) ? Classes_[size_t(column)] : ClassNone;
}

bool COdbcRecordset::ReadText(int column, QString& text, bool& null)
{
    QVarLengthArray<SQLWCHAR, TextPieceSize> buffer(TextPieceSize);
    for (bool first = true;; first = false) {
        SQLLEN indicator = 0;
        const SQLLEN room = SQLLEN(buffer.size() - 1) * SQLLEN(sizeof(SQLWCHAR));
        const SQLRETURN result =
            SQLGetData(Statement_.Get(), SQLUSMALLINT(column + 1), SQL_C_WCHAR, buffer.data(),
                       SQLLEN(buffer.size()) * SQLLEN(sizeof(SQLWCHAR)), &indicator);
        if (result == SQL_NO_DATA)
            return !first; // the last piece came with the call before
        if (!SQL_SUCCEEDED(result))
            return false;
        if (indicator == SQL_NULL_DATA) {
            null = true;
            return true;
        }
        const SQLLEN delivered = PieceLength(result, indicator, room);
        text.append(reinterpret_cast<const QChar*>(buffer.data()),
                    qsizetype(delivered / SQLLEN(sizeof(SQLWCHAR))));
        if (!MoreFollows(result, indicator, room))
            return true;
        // When the driver says how much follows, ask for the rest at once.
        if (indicator != SQL_NO_TOTAL) {
            const SQLLEN rest = (indicator - room) / SQLLEN(sizeof(SQLWCHAR));
            buffer.resize(qsizetype(std::clamp<SQLLEN>(rest, 1, LargestPiece)) + 1);
        }
    }
}

bool COdbcRecordset::ReadBytes(int column, QByteArray& bytes, bool& null)
{
    char buffer[BytePieceSize];
    for (bool first = true;; first = false) {
        SQLLEN indicator = 0;
        const SQLRETURN result = SQLGetData(Statement_.Get(), SQLUSMALLINT(column + 1),
                                            SQL_C_BINARY, buffer, sizeof buffer, &indicator);
        if (result == SQL_NO_DATA)
            return !first;
        if (!SQL_SUCCEEDED(result))
            return false;
        if (indicator == SQL_NULL_DATA) {
            null = true;
            return true;
        }
        bytes.append(buffer, qsizetype(PieceLength(result, indicator, sizeof buffer)));
        if (!MoreFollows(result, indicator, sizeof buffer))
            return true;
    }
}

const COdbcRecordset::CCell& COdbcRecordset::Cell(int column)
{
    CCell& cell = Cells_[size_t(column)];
    if (cell.Read)
        return cell;
    cell = CCell();
    cell.Read = true;
    SQLLEN indicator = 0;
    switch (Classes_[size_t(column)]) {
    case ClassInteger: {
        SQLBIGINT value = 0;
        cell.Ok = SQL_SUCCEEDED(SQLGetData(Statement_.Get(), SQLUSMALLINT(column + 1),
                                           SQL_C_SBIGINT, &value, sizeof value, &indicator));
        cell.Null = cell.Ok && indicator == SQL_NULL_DATA;
        cell.Integer = cell.Ok && !cell.Null ? value : 0;
        break;
    }
    case ClassFloat: {
        SQLDOUBLE value = 0.0;
        cell.Ok = SQL_SUCCEEDED(SQLGetData(Statement_.Get(), SQLUSMALLINT(column + 1), SQL_C_DOUBLE,
                                           &value, sizeof value, &indicator));
        cell.Null = cell.Ok && indicator == SQL_NULL_DATA;
        cell.Real = cell.Ok && !cell.Null ? value : 0.0;
        break;
    }
    case ClassText:
    case ClassDate:
        cell.Ok = ReadText(column, cell.Text, cell.Null);
        if (!cell.Ok)
            cell.Text.clear();
        break;
    case ClassBinary:
    case ClassNone:
        cell.Ok = ReadBytes(column, cell.Bytes, cell.Null);
        if (!cell.Ok)
            cell.Bytes.clear();
        cell.HasBytes = cell.Ok;
        break;
    }
    return cell;
}

bool COdbcRecordset::GetBlob(int column, unsigned char*& data, int& size)
{
    if (!HasColumn(column))
        return false;
    CCell& cell = Cells_[size_t(column)];
    const EColumnClass cls = Classes_[size_t(column)];
    if (cls == ClassBinary || cls == ClassNone) {
        Cell(column);
    } else if (!cell.HasBytes) {
        // The value is kept in its class's form; its bytes are a read of
        // their own, which the driver refuses once the value has been read,
        // and after which the value cannot be read in its class's form.
        QByteArray bytes;
        bool null = false;
        const bool read = ReadBytes(column, bytes, null);
        if (!cell.Read) {
            cell = CCell();
            cell.Read = true;
            cell.Null = read && null;
        }
        cell.HasBytes = read;
        cell.Bytes = bytes;
    }
    if (!cell.HasBytes)
        return false;
    const QByteArray& bytes = cell.Bytes;
    if (bytes.isEmpty())
        return true; // NULL or empty: nothing to add
    if (qint64(size) + bytes.size() > std::numeric_limits<int>::max())
        return false;
    void* grown = std::realloc(data, size_t(size) + size_t(bytes.size()));
    if (!grown)
        return false;
    data = static_cast<unsigned char*>(grown);
    std::memcpy(data + size, bytes.constData(), size_t(bytes.size()));
    size += int(bytes.size());
    return true;
}

bool COdbcRecordset::IsNull(int column)
{
    return HasColumn(column) && Cell(column).Null;
}

QString COdbcRecordset::GetString(int column)
{
    const EColumnClass cls = ClassOf(column);
    if (cls == ClassNone)
        return {};
    const CCell& cell = Cell(column);
    if (!cell.Ok || cell.Null)
        return {};
    switch (cls) {
    case ClassInteger:
        return QString::number(cell.Integer);
    case ClassFloat:
        return QString::asprintf("%f", cell.Real);
    case ClassText:
    case ClassDate:
        return cell.Text;
    case ClassBinary:
        return BytesAsText(cell.Bytes);
    case ClassNone:
        break;
    }
    return {};
}

int COdbcRecordset::GetInt(int column)
{
    const EColumnClass cls = ClassOf(column);
    if (cls == ClassNone || cls == ClassDate)
        return 0;
    const CCell& cell = Cell(column);
    switch (cls) {
    case ClassInteger:
        // A value beyond 32 bits is one the driver would refuse to give as
        // a 32-bit integer.
        if (cell.Integer < std::numeric_limits<int>::min() ||
            cell.Integer > std::numeric_limits<int>::max())
            return 0;
        return int(cell.Integer);
    case ClassFloat:
        return SaturatedInt(cell.Real);
    case ClassText:
        return TextToInt(cell.Text);
    case ClassBinary:
        return cell.Bytes.isEmpty() ? 0 : int(uchar(cell.Bytes[0]));
    default:
        return 0;
    }
}

double COdbcRecordset::GetDouble(int column)
{
    const EColumnClass cls = ClassOf(column);
    if (cls == ClassNone || cls == ClassDate)
        return 0.0;
    const CCell& cell = Cell(column);
    switch (cls) {
    case ClassInteger:
        return double(cell.Integer);
    case ClassFloat:
        return cell.Real;
    case ClassText:
        return TextToDouble(cell.Text);
    case ClassBinary:
        return cell.Bytes.isEmpty() ? 0.0 : double(uchar(cell.Bytes[0]));
    default:
        return 0.0;
    }
}

bool COdbcRecordset::IsInteger(int column)
{
    return ClassOf(column) == ClassInteger;
}

bool COdbcRecordset::IsFloat(int column)
{
    return ClassOf(column) == ClassFloat;
}

bool COdbcRecordset::IsText(int column)
{
    return ClassOf(column) == ClassText;
}

int COdbcRecordset::GetColumnCount()
{
    LearnColumns();
    return int(Classes_.size());
}

QString COdbcRecordset::GetColumnName(int column)
{
    if (!HasColumn(column))
        return {};
    SQLWCHAR name[1024] = {};
    SQLSMALLINT length = 0;
    SQLLEN number = 0;
    // The buffer's length is given in bytes, as the call wants: 1024 bytes
    // hold 511 characters and the terminating zero. SQL_DESC_NAME rather
    // than its ODBC 2 twin SQL_COLUMN_NAME, which the PostgreSQL driver
    // answers with an empty name.
    if (!SQL_SUCCEEDED(SQLColAttributeW(Statement_.Get(), SQLUSMALLINT(column + 1), SQL_DESC_NAME,
                                        name, 1024, &length, &number)))
        return {};
    const auto* begin = reinterpret_cast<const char16_t*>(name);
    return QString::fromUtf16(begin, std::find(begin, begin + 511, u'\0') - begin);
}

bool COdbcRecordset::MoveNext()
{
    if (!Statement_ || Finished_)
        return false;
    for (CCell& cell : Cells_)
        cell.Read = cell.HasBytes = false;
    const SQLRETURN result = SQLFetch(Statement_.Get());
    if (SQL_SUCCEEDED(result))
        return true;
    Finished_ = true;
    if (result == SQL_NO_DATA)
        return false;
    // The records first: the next call on the statement clears them.
    QString message = COdbcDatabase::DiagnosticText(SQL_HANDLE_STMT, Statement_.Get());
    // A statement that made no result set (an INSERT, say) has no rows to
    // read, which is not a failure to read them.
    SQLSMALLINT columns = 0;
    if (SQL_SUCCEEDED(SQLNumResultCols(Statement_.Get(), &columns)) && columns == 0)
        return false;
    FetchFailed_ = true;
    FetchError_ = std::move(message);
    return false;
}

bool COdbcRecordset::Close()
{
    if (!Statement_)
        return true;
    Statement_.Reset();
    Params.RemoveAll();
    ParamNames.clear();
    ResultChanged();
    return true;
}

bool COdbcRecordset::IsOpen()
{
    return bool(Statement_);
}

void COdbcRecordset::ScanParamNames(const QString& text)
{
    ParamNames.clear();
    bool singleQuoted = false;
    bool doubleQuoted = false;
    qsizetype marker = -1; // position of the pending marker
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'\t':
        case u'\n':
        case u'\r':
        case u' ':
            if (marker >= 0) {
                ParamNames.append(text.mid(marker + 1, i - marker - 1));
                marker = -1;
            }
            break;
        case u'"':
            if (!singleQuoted)
                doubleQuoted = !doubleQuoted;
            break;
        case u'\'':
            if (!doubleQuoted)
                singleQuoted = !singleQuoted;
            break;
        case u'$':
        case u':':
        case u'?':
        case u'@':
            if (!singleQuoted && !doubleQuoted)
                marker = i;
            break;
        default:
            break;
        }
    }
    if (marker >= 0)
        ParamNames.append(text.mid(marker + 1));
}

bool COdbcRecordset::GetFetchError(QString& error)
{
    if (!FetchFailed_)
        return false;
    error = FetchError_;
    return true;
}
