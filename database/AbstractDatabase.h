#pragma once

// One open connection to a database, with the statements prepared on it.
// Callers hold only this interface; GetDatabaseType tells the backend.
//
// Every fallible operation returns true on success. On failure it returns
// false and assigns a readable message to the caller's error text; on
// success it leaves that text untouched, so one error text may be reused
// across many calls.
//
// A recordset handed out by Prepare or OpenRecordset belongs to the caller,
// who calls Close and deletes it (CRecordsetPtr does both); it must not
// outlive its database. Callers set the out-parameter to null first. After a
// failed Prepare it is null; after a failed OpenRecordset it may still hold a
// recordset that was prepared but could not be executed, which the caller
// closes and deletes as after a success.

#include "database/AbstractRecordset.h"
#include "database/ScriptSplitter.h"

#include <QString>
#include <QStringList>

enum EDatabaseType : int
{
    DatabaseTypeNone = -1, // a profile whose type was never chosen
    DatabaseTypeSQLite = 0,
    DatabaseTypeFireBird = 1,
    DatabaseTypeOdbc = 2,
};

// What a database does to a name written without identifier quotes.
enum EIdentifierCase : int
{
    IdentifierCaseKept,  // nothing: it is matched as written or in any case
    IdentifierCaseUpper, // folded to upper case, as the SQL standard says
    IdentifierCaseLower, // folded to lower case
};

class CAbstractDatabase
{
public:
    virtual ~CAbstractDatabase() = default;

    // Parameters of a prepared statement, by zero-based index.
    virtual bool GetParamCount(CAbstractRecordset* stmt, int& count, QString& error) = 0;
    // The parameter's name without its leading marker character.
    virtual bool GetParamName(CAbstractRecordset* stmt, int index, QString& name,
                              QString& error) = 0;
    virtual bool GetParamIndex(CAbstractRecordset* stmt, const QString& name, int& index,
                               QString& error) = 0;
    virtual bool SetParamDouble(CAbstractRecordset* stmt, int index, double value,
                                QString& error) = 0;
    virtual bool SetParamString(CAbstractRecordset* stmt, int index, const QString& value,
                                QString& error) = 0;
    virtual bool SetParamInt64(CAbstractRecordset* stmt, int index, qint64 value,
                               QString& error) = 0;
    virtual bool SetParamInt(CAbstractRecordset* stmt, int index, int value, QString& error) = 0;

    virtual bool Prepare(const QString& sql, QString& error, CAbstractRecordset*& stmt) = 0;
    // Runs a prepared statement with the parameter values set so far.
    virtual bool Execute(CAbstractRecordset* stmt, QString& error) = 0;
    // Ends the statement's current run so that it can be executed again; the
    // parameter values are kept.
    virtual bool CloseCursor(CAbstractRecordset* stmt, QString& error) = 0;
    // Appends the name of every user table.
    virtual bool GetTableNames(QStringList& names, QString& error) = 0;
    // Runs a statement whose first parameter is bound to size bytes at data.
    virtual bool ExecuteWithBlob(const QString& sql, const void* data, int size,
                                 QString& error) = 0;
    // Prepare followed by Execute.
    virtual bool OpenRecordset(const QString& sql, QString& error,
                               CAbstractRecordset*& recordset) = 0;
    // Runs statements that return no rows; rows they do return are dropped.
    virtual bool ExecuteSQL(const QString& sql, QString& error) = 0;
    // Closes the connection if it is open. A backend may refuse while a
    // transaction is open and says so only by its result.
    virtual bool Disconnect() = 0;
    virtual bool IsConnected() = 0;
    // What database names depends on the backend: an SQLite file path, a
    // FireBird "server:alias" string, an ODBC connect string.
    virtual bool Connect(const QString& database, const QString& user, const QString& password,
                         QString& error) = 0;
    virtual bool BeginTransaction(QString& error) = 0;
    virtual bool CommitTransaction(QString& error) = 0;
    virtual bool RollbackTransaction(QString& error) = 0;
    // Begins a transaction and runs sql inside it; a null sql runs nothing.
    virtual bool BeginTransactionWith(const QString& sql, QString& error) = 0;
    // CommitTransaction when commit is true, otherwise RollbackTransaction.
    virtual bool EndTransaction(bool commit, QString& error);
    virtual int GetDatabaseType() = 0;
    // Asks the call that another thread is running on this object to end
    // now, with the backend's own message; the statements after it are the
    // caller's to leave alone. Safe to call from any thread at any time while
    // this object exists; when no call runs it does nothing, so a caller
    // that races the start of a call asks again until its run has ended.
    virtual void Interrupt();
    // Writes every row of the query to fileName as UTF-16LE text, one line
    // per row, each value in double quotes, values joined by delimiter.
    virtual bool ExportToTextFile(const QString& sql, QString& error, const QString& fileName,
                                  const QString& delimiter);
    // Appends the names of table's columns, in column order. The name is
    // quoted for the backend (or passed as a parameter), never spliced into
    // SQL as it is; no row is read.
    virtual bool GetColumnNames(const QString& table, QStringList& columns, QString& error);
    // Which bodies and quotes the database's SQL has, for cutting a script
    // into statements. Fixed once connected, and safe to ask from any thread.
    virtual EScriptDialect GetScriptDialect() const;
    // A script run calls BeginScript before its first statement and
    // EndScript after its last, with the query it leaves open for reading
    // (or null), so that a backend whose own command-line tool keeps a
    // script's work in one transaction can do the same. Nothing by default.
    virtual bool BeginScript(QString& error);
    virtual bool EndScript(CAbstractRecordset* query, QString& error);
    // Appends the name of every user view, as GetTableNames appends the
    // tables'. None by default.
    virtual bool GetViewNames(QStringList& names, QString& error);
    // GetColumnNames of a table or view, which also appends to types, for
    // every column in the same order, the type the database declares for it
    // as SQL writes it ("varchar(100)", "NUMERIC(10,2)"), or an empty text
    // where it declares none. No row is read. On failure neither list
    // changes. By default every type is empty.
    virtual bool GetColumns(const QString& table, QStringList& columns, QStringList& types,
                            QString& error);
    // How names are written in the database's SQL: the mark that quotes a
    // name (empty when there is none) and what happens to a name written
    // without it. Fixed once connected, and safe to ask from any thread.
    virtual QString GetIdentifierQuote() const;
    virtual EIdentifierCase GetIdentifierCase() const;

protected:
    // The table-name loop shared by the backends that list their tables
    // with a catalogue query: GetString(0) of every row is appended.
    bool GetTableNamesByQuery(const QString& query, QStringList& names, QString& error);
    // name between two quote marks, every quote mark inside it doubled.
    static QString QuoteIdentifier(const QString& name, const QString& quote);
    // "SELECT * FROM table" prepared and never run: the database checks the
    // table (or view) and describes its columns without reading a row. Null,
    // with error set, when it cannot be prepared.
    CRecordsetPtr PrepareSelectAll(const QString& table, QString& error);
};
