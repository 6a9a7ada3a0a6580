#include "database/SQLiteDatabase.h"

#include "common/TextConversion.h"
#include "database/SQLiteRecordset.h"

#include <sqlite3.h>

namespace {

const QString NotConnected = QStringLiteral("Not connected to the database");
const QString RecordsetClosed = QStringLiteral("The recordset is closed");

// The SQLite statement behind stmt; null, with error set to message, when
// stmt is null, of another backend, or closed.
CSQLiteRecordset* OpenSQLite(CAbstractRecordset* stmt, const QString& message, QString& error)
{
    auto* recordset = dynamic_cast<CSQLiteRecordset*>(stmt);
    if (recordset && recordset->IsOpen())
        return recordset;
    error = message;
    return nullptr;
}

} // namespace

void CSQLiteDatabase::CCloser::operator()(sqlite3* handle) const
{
    // Unlike sqlite3_close, this never leaves the handle open because a
    // statement is still alive; the last finalize completes the close.
    sqlite3_close_v2(handle);
}

CSQLiteDatabase::~CSQLiteDatabase() = default;

QString CSQLiteDatabase::ConnectionMessage() const
{
    return Utf8ToText(sqlite3_errmsg(Handle_.get()));
}

bool CSQLiteDatabase::CheckConnected(QString& error) const
{
    if (Handle_)
        return true;
    error = NotConnected;
    return false;
}

bool CSQLiteDatabase::Connect(const QString& database, const QString&, const QString&,
                              QString& error)
{
    Disconnect();
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(database.toUtf8().constData(), &handle,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, CCloser> opened(handle);
    if (result != SQLITE_OK) {
        error = QStringLiteral("Failed to open database");
        return false;
    }
    const std::lock_guard lock(HandleLock_);
    Handle_ = std::move(opened);
    return true;
}

bool CSQLiteDatabase::Disconnect()
{
    std::unique_ptr<sqlite3, CCloser> closing;
    {
        const std::lock_guard lock(HandleLock_);
        closing = std::move(Handle_);
    }
    InTransaction_ = false;
    return true;
}

void CSQLiteDatabase::Interrupt()
{
    const std::lock_guard lock(HandleLock_);
    if (Handle_)
        sqlite3_interrupt(Handle_.get());
}

bool CSQLiteDatabase::IsConnected()
{
    return Handle_ != nullptr;
}

bool CSQLiteDatabase::ExecuteSQL(const QString& sql, QString& error)
{
    if (!CheckConnected(error))
        return false;
    char* message = nullptr;
    const int result =
        sqlite3_exec(Handle_.get(), sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (result == SQLITE_OK)
        return true;
    error = Utf8ToText(message);
    sqlite3_free(message);
    return false;
}

bool CSQLiteDatabase::OpenRecordset(const QString& sql, QString& error,
                                    CAbstractRecordset*& recordset)
{
    recordset = nullptr;
    if (!CheckConnected(error))
        return false;
    auto opened = std::make_unique<CSQLiteRecordset>();
    sqlite3_stmt* statement = nullptr;
    // Only the first statement of the text is prepared; the rest is ignored.
    const int result =
        sqlite3_prepare_v2(Handle_.get(), sql.toUtf8().constData(), -1, &statement, nullptr);
    opened->Attach(statement);
    if (result != SQLITE_OK) {
        error = ConnectionMessage();
        return false;
    }
    recordset = opened.release();
    return true;
}

bool CSQLiteDatabase::Prepare(const QString& sql, QString& error, CAbstractRecordset*& stmt)
{
    return OpenRecordset(sql, error, stmt);
}

bool CSQLiteDatabase::Execute(CAbstractRecordset*, QString&)
{
    return true; // the statement runs as MoveNext steps it
}

bool CSQLiteDatabase::CloseCursor(CAbstractRecordset* stmt, QString& error)
{
    CSQLiteRecordset* recordset =
        OpenSQLite(stmt, QStringLiteral("The recordset is not open"), error);
    if (!recordset)
        return false;
    recordset->Rewind();
    if (sqlite3_reset(recordset->Statement()) != SQLITE_OK) {
        error = ConnectionMessage();
        return false;
    }
    return true;
}

bool CSQLiteDatabase::GetTableNames(QStringList& names, QString& error)
{
    return GetTableNamesByQuery(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"),
                                names, error);
}

bool CSQLiteDatabase::GetViewNames(QStringList& names, QString& error)
{
    return GetTableNamesByQuery(QStringLiteral("SELECT name FROM sqlite_master WHERE type='view'"),
                                names, error);
}

bool CSQLiteDatabase::GetColumns(const QString& table, QStringList& columns, QStringList& types,
                                 QString& error)
{
    // A view's columns get the declared types of the tables behind it.
    const CRecordsetPtr recordset = PrepareSelectAll(table, error);
    if (!recordset)
        return false;
    sqlite3_stmt* statement = static_cast<CSQLiteRecordset*>(recordset.get())->Statement();
    const int count = recordset->GetColumnCount();
    for (int column = 0; column < count; ++column) {
        columns.append(recordset->GetColumnName(column));
        types.append(Utf8ToText(sqlite3_column_decltype(statement, column)));
    }
    return true;
}

QString CSQLiteDatabase::GetIdentifierQuote() const
{
    return QStringLiteral("\"");
}

EIdentifierCase CSQLiteDatabase::GetIdentifierCase() const
{
    return IdentifierCaseKept;
}

bool CSQLiteDatabase::ExecuteWithBlob(const QString& sql, const void* data, int size,
                                      QString& error)
{
    if (!CheckConnected(error))
        return false;
    // SQLite would take a negative size as "up to the first zero byte" and
    // read past the caller's block; null data would store NULL.
    if (size < 0) {
        error = QStringLiteral("Wrong size of the binary data: (%1)").arg(size);
        return false;
    }
    if (size > 0 && !data) {
        error = QStringLiteral("No BLOB data was given");
        return false;
    }
    CSQLiteRecordset recordset; // finalizes the statement on every path
    sqlite3_stmt* statement = nullptr;
    int result =
        sqlite3_prepare_v2(Handle_.get(), sql.toUtf8().constData(), -1, &statement, nullptr);
    recordset.Attach(statement);
    if (result == SQLITE_OK)
        result = sqlite3_bind_blob(statement, 1, data, size, SQLITE_STATIC);
    if (result == SQLITE_OK && sqlite3_step(statement) == SQLITE_DONE)
        return true;
    error = ConnectionMessage();
    return false;
}

bool CSQLiteDatabase::BeginTransaction(QString& error)
{
    if (!CheckConnected(error))
        return false;
    // A failed begin (one is already open) leaves the open one ours to end.
    if (!ExecuteSQL(QStringLiteral("begin transaction;"), error))
        return false;
    InTransaction_ = true;
    return true;
}

bool CSQLiteDatabase::EndWith(const QString& sql, QString& error)
{
    if (!CheckConnected(error))
        return false;
    if (!InTransaction_) {
        error = QStringLiteral("No transaction started");
        return false;
    }
    if (!ExecuteSQL(sql, error))
        return false;
    InTransaction_ = false;
    return true;
}

bool CSQLiteDatabase::CommitTransaction(QString& error)
{
    return EndWith(QStringLiteral("commit;"), error);
}

bool CSQLiteDatabase::RollbackTransaction(QString& error)
{
    return EndWith(QStringLiteral("rollback;"), error);
}

bool CSQLiteDatabase::BeginTransactionWith(const QString& sql, QString& error)
{
    if (!ExecuteSQL(QStringLiteral("begin transaction;"), error))
        return false;
    InTransaction_ = true;
    // A failing statement leaves the transaction open, as in the other backends.
    return sql.isNull() || ExecuteSQL(sql, error);
}

int CSQLiteDatabase::GetDatabaseType()
{
    return DatabaseTypeSQLite;
}

EScriptDialect CSQLiteDatabase::GetScriptDialect() const
{
    return ScriptDialectSQLite;
}

// Parameters. The interface counts from 0, SQLite from 1.

CSQLiteRecordset* CSQLiteDatabase::OpenStatement(CAbstractRecordset* stmt, int index,
                                                 QString& error) const
{
    if (index == -1) {
        error = QStringLiteral("Wrong parameter index: (-1)");
        return nullptr;
    }
    return OpenSQLite(stmt, RecordsetClosed, error);
}

bool CSQLiteDatabase::BindResult(int result, QString& error) const
{
    if (result == SQLITE_OK)
        return true;
    error = ConnectionMessage();
    return false;
}

bool CSQLiteDatabase::GetParamCount(CAbstractRecordset* stmt, int& count, QString& error)
{
    CSQLiteRecordset* recordset =
        OpenSQLite(stmt, QStringLiteral("The recordset is not prepared"), error);
    if (!recordset)
        return false;
    count = sqlite3_bind_parameter_count(recordset->Statement());
    return true;
}

bool CSQLiteDatabase::GetParamName(CAbstractRecordset* stmt, int index, QString& name,
                                   QString& error)
{
    name.clear();
    error.clear();
    CSQLiteRecordset* recordset = OpenStatement(stmt, index, error);
    if (!recordset)
        return false;
    name = Utf8ToText(sqlite3_bind_parameter_name(recordset->Statement(), index + 1));
    if (name.size() > 1 && QStringLiteral("?:@$").contains(name.front()))
        name.remove(0, 1);
    return true;
}

bool CSQLiteDatabase::GetParamIndex(CAbstractRecordset* stmt, const QString& name, int& index,
                                    QString& error)
{
    CSQLiteRecordset* recordset = OpenSQLite(stmt, RecordsetClosed, error);
    if (!recordset)
        return false;
    if (name.isEmpty()) {
        error =
            QStringLiteral("Cannot find the index of the unnamed parameter when searching by name");
        return false;
    }
    index = sqlite3_bind_parameter_index(recordset->Statement(), name.toUtf8().constData()) - 1;
    return index >= 0;
}

bool CSQLiteDatabase::SetParamDouble(CAbstractRecordset* stmt, int index, double value,
                                     QString& error)
{
    CSQLiteRecordset* recordset = OpenStatement(stmt, index, error);
    return recordset &&
           BindResult(sqlite3_bind_double(recordset->Statement(), index + 1, value), error);
}

bool CSQLiteDatabase::SetParamString(CAbstractRecordset* stmt, int index, const QString& value,
                                     QString& error)
{
    CSQLiteRecordset* recordset = OpenStatement(stmt, index, error);
    if (!recordset)
        return false;
    const QByteArray utf8 = value.toUtf8();
    return BindResult(sqlite3_bind_text(recordset->Statement(), index + 1, utf8.constData(),
                                        int(utf8.size()), SQLITE_TRANSIENT),
                      error);
}

bool CSQLiteDatabase::SetParamInt64(CAbstractRecordset* stmt, int index, qint64 value,
                                    QString& error)
{
    CSQLiteRecordset* recordset = OpenStatement(stmt, index, error);
    return recordset &&
           BindResult(sqlite3_bind_int64(recordset->Statement(), index + 1, value), error);
}

bool CSQLiteDatabase::SetParamInt(CAbstractRecordset* stmt, int index, int value, QString& error)
{
    CSQLiteRecordset* recordset = OpenStatement(stmt, index, error);
    return recordset &&
           BindResult(sqlite3_bind_int(recordset->Statement(), index + 1, value), error);
}
