#include "database/SQLiteRecordset.h"

#include "common/TextConversion.h"

#include <cstdlib>
#include <cstring>
#include <sqlite3.h>

void CSQLiteRecordset::CFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

CSQLiteRecordset::~CSQLiteRecordset() = default;

void CSQLiteRecordset::Attach(sqlite3_stmt* statement)
{
    Statement_.reset(statement);
    Rewind();
}

void CSQLiteRecordset::Rewind()
{
    Finished_ = false;
    FetchFailed_ = false;
    FetchError_.clear();
}

bool CSQLiteRecordset::HasColumn(int column)
{
    return Statement_ && column >= 0 && column < sqlite3_column_count(Statement_.get());
}

int CSQLiteRecordset::ColumnType(int column)
{
    return HasColumn(column) ? sqlite3_column_type(Statement_.get(), column) : SQLITE_NULL;
}

bool CSQLiteRecordset::GetBlob(int column, unsigned char*& data, int& size)
{
    if (!HasColumn(column)) {
        size = 0;
        return false;
    }
    // The pointer first, then its length, as SQLite asks.
    const void* bytes = sqlite3_column_blob(Statement_.get(), column);
    size = sqlite3_column_bytes(Statement_.get(), column);
    if (size == 0 || !bytes)
        return false;
    data = static_cast<unsigned char*>(std::malloc(size_t(size)));
    if (!data) {
        size = 0;
        return false;
    }
    std::memcpy(data, bytes, size_t(size));
    return true;
}

bool CSQLiteRecordset::IsNull(int column)
{
    return HasColumn(column) && ColumnType(column) == SQLITE_NULL;
}

QString CSQLiteRecordset::GetString(int column)
{
    if (!HasColumn(column))
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Statement_.get(), column));
    return Utf8ToText(text, text ? sqlite3_column_bytes(Statement_.get(), column) : 0);
}

// SQLite's own text, when it is valid UTF-8 (it nearly always is; what is
// not is read as GetString reads it).
QByteArrayView CSQLiteRecordset::GetUtf8(int column, QByteArray& scratch)
{
    if (!HasColumn(column))
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Statement_.get(), column));
    const int bytes = text ? sqlite3_column_bytes(Statement_.get(), column) : 0;
    if (InvalidUtf8Offset(text, bytes) < 0)
        return QByteArrayView(text, bytes);
    scratch = Utf8ToText(text, bytes).toUtf8();
    return scratch;
}

int CSQLiteRecordset::GetInt(int column)
{
    return HasColumn(column) ? sqlite3_column_int(Statement_.get(), column) : 0;
}

double CSQLiteRecordset::GetDouble(int column)
{
    return HasColumn(column) ? sqlite3_column_double(Statement_.get(), column) : 0.0;
}

bool CSQLiteRecordset::IsInteger(int column)
{
    return ColumnType(column) == SQLITE_INTEGER;
}

bool CSQLiteRecordset::IsFloat(int column)
{
    return ColumnType(column) == SQLITE_FLOAT;
}

bool CSQLiteRecordset::IsText(int column)
{
    const int type = ColumnType(column);
    return type == SQLITE_TEXT || type == SQLITE_BLOB;
}

int CSQLiteRecordset::GetColumnCount()
{
    return Statement_ ? sqlite3_column_count(Statement_.get()) : 0;
}

QString CSQLiteRecordset::GetColumnName(int column)
{
    return HasColumn(column) ? Utf8ToText(sqlite3_column_name(Statement_.get(), column))
                             : QString();
}

bool CSQLiteRecordset::MoveNext()
{
    if (!Statement_ || Finished_)
        return false;
    const int result = sqlite3_step(Statement_.get());
    if (result == SQLITE_ROW || result == SQLITE_OK)
        return true;
    Finished_ = true;
    if (result != SQLITE_DONE) {
        FetchFailed_ = true;
        FetchError_ = Utf8ToText(sqlite3_errmsg(sqlite3_db_handle(Statement_.get())));
    }
    return false;
}

bool CSQLiteRecordset::Close()
{
    Statement_.reset();
    Rewind();
    return true;
}

bool CSQLiteRecordset::IsOpen()
{
    return Statement_ != nullptr;
}

bool CSQLiteRecordset::GetFetchError(QString& error)
{
    if (!FetchFailed_)
        return false;
    error = FetchError_;
    return true;
}
