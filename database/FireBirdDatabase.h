#pragma once

// The database interface over one attachment to a FireBird server database,
// through the client library's isc_ API. Every statement is prepared and run
// in the SQL dialect of the database, read when attaching; text crosses the
// library boundary as UTF-8.
//
// The connection carries at most one transaction, which every statement
// shares. ExecuteSQL and ExecuteWithBlob end a transaction they had to start
// before they return; a transaction that Prepare had to start belongs to the
// recordset, whose Close commits it. A transaction begun through this
// interface stays open until CommitTransaction or RollbackTransaction, and
// Disconnect refuses while one is open and the server is still there.

#include "database/AbstractDatabase.h"

#include <QByteArray>
#include <QHash>
#include <functional>
#include <ibase.h>
#include <memory>
#include <mutex>

class CFireBirdDescriptor;
class CFireBirdRecordset;

class CFireBirdDatabase : public CAbstractDatabase
{
public:
    CFireBirdDatabase() = default;
    // Rolls back a transaction still open, then detaches.
    ~CFireBirdDatabase() override;
    CFireBirdDatabase(const CFireBirdDatabase&) = delete;
    CFireBirdDatabase& operator=(const CFireBirdDatabase&) = delete;

    bool GetParamCount(CAbstractRecordset* stmt, int& count, QString& error) override;
    bool GetParamName(CAbstractRecordset* stmt, int index, QString& name, QString& error) override;
    bool GetParamIndex(CAbstractRecordset* stmt, const QString& name, int& index,
                       QString& error) override;
    bool SetParamDouble(CAbstractRecordset* stmt, int index, double value, QString& error) override;
    bool SetParamString(CAbstractRecordset* stmt, int index, const QString& value,
                        QString& error) override;
    bool SetParamInt64(CAbstractRecordset* stmt, int index, qint64 value, QString& error) override;
    bool SetParamInt(CAbstractRecordset* stmt, int index, int value, QString& error) override;
    bool Prepare(const QString& sql, QString& error, CAbstractRecordset*& stmt) override;
    bool Execute(CAbstractRecordset* stmt, QString& error) override;
    bool CloseCursor(CAbstractRecordset* stmt, QString& error) override;
    bool GetTableNames(QStringList& names, QString& error) override;
    bool ExecuteWithBlob(const QString& sql, const void* data, int size, QString& error) override;
    bool OpenRecordset(const QString& sql, QString& error, CAbstractRecordset*& recordset) override;
    bool ExecuteSQL(const QString& sql, QString& error) override;
    // Refuses while a transaction is open, unless the server can no longer
    // be reached: then the client's handles are released all the same and
    // the result still reports the failure.
    bool Disconnect() override;
    bool IsConnected() override;
    // database is "server:path-or-alias"; user and password go into the
    // attachment's parameter block as they are (either may be empty).
    bool Connect(const QString& database, const QString& user, const QString& password,
                 QString& error) override;
    bool BeginTransaction(QString& error) override;
    bool CommitTransaction(QString& error) override;
    bool RollbackTransaction(QString& error) override;
    // Begins a read-committed, no-wait write transaction and runs sql in it.
    // On success the transaction stays open for the caller to end; when sql
    // fails it is rolled back.
    bool BeginTransactionWith(const QString& sql, QString& error) override;
    int GetDatabaseType() override;
    EScriptDialect GetScriptDialect() const override;
    // A script's statements share one transaction, as in isql: ExecuteSQL
    // leaves it open, COMMIT and ROLLBACK statements end its work so far,
    // and metadata statements commit at once in a transaction of their own.
    // EndScript commits it, or hands it to the query still to be read.
    bool BeginScript(QString& error) override;
    bool EndScript(CAbstractRecordset* query, QString& error) override;
    // Cancels the running call on the attachment (fb_cancel_raise): it ends
    // with the server's "operation was cancelled".
    void Interrupt() override;
    // In a dialect 3 database the quoted name is prepared and described;
    // dialect 1 has no quoted names, so there the system tables
    // are read with the name as a parameter (exactly as stored: upper case
    // for a name created unquoted).
    bool GetColumnNames(const QString& table, QStringList& columns, QString& error) override;
    // Views are the relations with a view definition (RDB$VIEW_BLR).
    bool GetViewNames(QStringList& names, QString& error) override;
    // The names as GetColumnNames reads them; each type from the system
    // tables as a CREATE TABLE writes it ("VARCHAR(100)", "NUMERIC(10,2)",
    // "BLOB SUB_TYPE TEXT"), the type behind a domain included.
    bool GetColumns(const QString& table, QStringList& columns, QStringList& types,
                    QString& error) override;
    // Double quotes in dialect 3, none in dialect 1; unquoted names fold to
    // upper case.
    QString GetIdentifierQuote() const override;
    EIdentifierCase GetIdentifierCase() const override;

    // The messages of a status vector in their order, joined by "; ". Each
    // message is cut to fit a 256-byte buffer.
    virtual QString GetStatusText(const ISC_STATUS* status);
    // Whether the status vector carries code among its error codes.
    static bool Carries(const ISC_STATUS* status, ISC_STATUS code);

private:
    friend class CFireBirdRecordset;

    // stmt as a recordset prepared by this connection; null otherwise.
    CFireBirdRecordset* Own(CAbstractRecordset* stmt) const;
    // The input descriptor of stmt when index names one of its parameters;
    // null with error set otherwise.
    CFireBirdDescriptor* Parameters(CAbstractRecordset* stmt, int index, QString& error) const;
    // A library call that describes a statement's variables into sqlda.
    using CDescribeCall = std::function<ISC_STATUS(ISC_STATUS* status, XSQLDA* sqlda)>;
    // A descriptor that first filled with room for one variable; when the
    // statement has more, one with room for them all, filled by again. Null
    // with error set when the memory or the library call fails.
    std::unique_ptr<CFireBirdDescriptor> Describe(const CDescribeCall& first,
                                                  const CDescribeCall& again, QString& error);
    // Prepares sql into the recordset's statement and gives every result
    // column its buffers.
    bool DescribeColumns(CFireBirdRecordset& recordset, const QByteArray& sql, QString& error);
    // Gives the recordset an input descriptor when the statement has parameters.
    bool DescribeParameters(CFireBirdRecordset& recordset, QString& error);
    // Refuses to run while a text parameter has not been given its value.
    bool CheckTextParameters(CFireBirdRecordset& recordset, QString& error);
    bool StartTransaction(const char* block, short length, QString& error);
    // Whether the server still answers on the attachment.
    bool IsReachable();
    // The SQL dialect of the attached database.
    bool AttachmentDialect(isc_db_handle& attachment, int& dialect, QString& error);
    bool GetColumnNamesFromCatalogue(const QString& table, QStringList& columns, QString& error);
    // The declared type of every column of table, by column name.
    bool GetColumnTypes(const QString& table, QHash<QString, QString>& types, QString& error);
    // Runs one statement in transaction; rows it returns are dropped.
    bool RunStatement(const QByteArray& sql, isc_tr_handle& transaction, QString& error);
    // Runs a metadata statement in a transaction of its own and commits it.
    bool RunDefinition(const QByteArray& sql, QString& error);
    // Runs one statement of ExecuteSQL as FireBird's isql runs it: COMMIT
    // and ROLLBACK [WORK] end the current work and go on in a new
    // transaction; SET TRANSACTION commits the work and starts the
    // transaction it describes; isql's own commands are carried out or
    // refused, never sent to the server; in a script, metadata statements
    // commit at once on their own unless SET AUTODDL OFF. ownsTransaction
    // tells whether TrHandle_ belongs to the script (or to this ExecuteSQL)
    // rather than to the caller.
    bool RunScriptStatement(const QString& statement, bool ownsTransaction, QString& error);
    // SET AUTODDL, SET BAIL: ON, OFF, or alone to turn it over.
    static bool SetSwitch(const QString& name, const QString& argument, bool& setting,
                          QString& error);
    // COMMIT or ROLLBACK in a script.
    bool EndWork(bool commit, bool ownsTransaction, QString& error);
    // Commits or rolls back TrHandle_ for good, or parks it for the script's
    // query that reads from it.
    bool FinishTransaction(bool commit, QString& error);
    // A transaction of the usual kind for what follows in a script or text.
    bool StartWorkTransaction(QString& error);
    bool SetTransaction(const QByteArray& sql, bool ownsTransaction, QString& error);
    // Under SET BAIL a failed statement ends the script and undoes its work.
    void ScriptStatementFailed(bool ownsTransaction);
    void ResetScriptSettings();
    enum class ETransactionStatement
    {
        Other,
        Commit,   // COMMIT [WORK]
        Rollback, // ROLLBACK [WORK]
    };
    static ETransactionStatement TransactionStatement(const QString& statement);
    // Creates a BLOB in the current transaction holding size bytes at data.
    bool WriteBlob(const void* data, int size, ISC_QUAD& id, QString& error);

    // The attachment as the client library left it after a call that may
    // change it; set under DbHandleLock_ so that Interrupt can read it.
    void SetDbHandle(isc_db_handle handle);

    isc_db_handle DbHandle_ = 0;         // the attachment; zero when not connected
    std::mutex DbHandleLock_;            // held while DbHandle_ changes and while it is cancelled
    isc_tr_handle TrHandle_ = 0;         // the connection's one transaction; zero when none
    unsigned short Dialect_ = 3;         // the attached database's SQL dialect
    bool InScript_ = false;              // between BeginScript and EndScript
    bool ScriptOwnsTransaction_ = false; // BeginScript started TrHandle_
    // isql's settings and state while a script or text runs.
    bool AutoDdl_ = true;                 // SET AUTODDL: metadata commits on its own
    bool Bail_ = false;                   // SET BAIL: a failure ends the script
    bool TransactionSet_ = false;         // TrHandle_ was started by SET TRANSACTION
    bool ScriptQueryOpen_ = false;        // the script's query reads from TrHandle_
    isc_tr_handle ParkedTransaction_ = 0; // the query's, after its work was ended
    QString Ended_;                       // why later statements are not run (EXIT ...)
};
