#pragma once

// The database interface over any data source that an ODBC 3 driver manager
// reaches, always through the wide-character entry points. The database
// string of Connect is the ODBC connect string; a user or password given to
// Connect joins it as UID and PWD (ConnectStringWith). Transactions are the
// connection's auto-commit attribute: off while one is open.
//
// Messages are the driver's diagnostic records joined by "; " where the
// driver gives them, otherwise fixed texts.

#include "database/AbstractDatabase.h"
#include "database/OdbcHandle.h"

#include <QHash>
#include <QSet>
#include <atomic>
#include <mutex>

class COdbcRecordset;

class COdbcDatabase : public CAbstractDatabase
{
public:
    COdbcDatabase() = default;
    ~COdbcDatabase() override; // disconnects when still connected

    bool GetParamCount(CAbstractRecordset* stmt, int& count, QString& error) override;
    bool GetParamName(CAbstractRecordset* stmt, int index, QString& name, QString& error) override;
    // The first name equal to name in any letter case; false, with error
    // untouched, when there is none.
    bool GetParamIndex(CAbstractRecordset* stmt, const QString& name, int& index,
                       QString& error) override;
    // The setters only store the value; the record of an index set before
    // is overwritten in place. A text longer than 1023 characters is refused.
    bool SetParamDouble(CAbstractRecordset* stmt, int index, double value, QString& error) override;
    bool SetParamString(CAbstractRecordset* stmt, int index, const QString& value,
                        QString& error) override;
    bool SetParamInt64(CAbstractRecordset* stmt, int index, qint64 value, QString& error) override;
    bool SetParamInt(CAbstractRecordset* stmt, int index, int value, QString& error) override;
    // The text reaches the driver as it is, name markers included; the names
    // serve GetParamCount, GetParamName and GetParamIndex only. A driver may
    // leave checking the text until Execute.
    bool Prepare(const QString& sql, QString& error, CAbstractRecordset*& stmt) override;
    // Binds the stored values in the order in which their indexes were first
    // set (parameter 1 is the first record, whatever its index) and executes.
    bool Execute(CAbstractRecordset* stmt, QString& error) override;
    bool CloseCursor(CAbstractRecordset* stmt, QString& error) override;
    // Appends the names of the tables (type "TABLE") of the connection's
    // current catalog, where the driver has catalogs, and of every schema
    // the user can see, where it has schemas; in the order the driver gives
    // them. A table that the driver's default listing reaches by its bare
    // name keeps it; any other is named "schema.table", and so are tables
    // whose bare name would stand for more than one. GetColumnNames reads
    // every listed table by its schema and name.
    bool GetTableNames(QStringList& names, QString& error) override;
    bool ExecuteWithBlob(const QString& sql, const void* data, int size, QString& error) override;
    bool OpenRecordset(const QString& sql, QString& error, CAbstractRecordset*& recordset) override;
    // Runs the statements of sql as SplitScript cuts it by GetScriptDialect,
    // one after another, each by the connection's auto-commit mode; pieces of
    // white space and comments alone are not sent. Stops at the first that
    // fails, leaving those before it in effect.
    bool ExecuteSQL(const QString& sql, QString& error) override;
    // Between these, ExecuteSQL takes its text as the one statement the
    // script run cut it to be: a body kept whole under DELIMITER or SET TERM
    // is not cut again at its inner ";".
    bool BeginScript(QString& error) override;
    bool EndScript(CAbstractRecordset* query, QString& error) override;
    // Always true. An open transaction is rolled back.
    bool Disconnect() override;
    bool IsConnected() override;
    // With user and password both empty the connect string is used as it
    // stands; otherwise as ConnectStringWith gives it. A message never
    // shows the password.
    bool Connect(const QString& database, const QString& user, const QString& password,
                 QString& error) override;
    bool BeginTransaction(QString& error) override;
    // Commit and rollback end the transaction: auto-commit is on again after.
    bool CommitTransaction(QString& error) override;
    bool RollbackTransaction(QString& error) override;
    bool BeginTransactionWith(const QString& sql, QString& error) override;
    int GetDatabaseType() override;
    // Dollar quotes always; backquoted names where the driver quotes names
    // so; SQLite's trigger or FireBird's module bodies too when the driver
    // names that database.
    EScriptDialect GetScriptDialect() const override;
    // SQLCancel on the statement that is executing, if any.
    void Interrupt() override;
    // The name in the driver's identifier quotes, in a query that can
    // return no row: the server checks the table and the right to read it,
    // and a driver that reads a whole result at once reads nothing.
    bool GetColumnNames(const QString& table, QStringList& columns, QString& error) override;
    // The views (type "VIEW"), listed and named as GetTableNames lists and
    // names the tables.
    bool GetViewNames(QStringList& names, QString& error) override;
    // The names as GetColumnNames reads them; the types from the driver's
    // catalogue (SQLColumns): its type name, with the length of character
    // and binary types and the precision and scale of exact numbers. A
    // column the catalogue does not describe has an empty type. The types
    // of every relation of the last GetTableNames and GetViewNames are read
    // at once, at the first GetColumns of one of them after the listing,
    // and kept until the next listing.
    bool GetColumns(const QString& table, QStringList& columns, QStringList& types,
                    QString& error) override;
    // The driver's answers to SQL_IDENTIFIER_QUOTE_CHAR and
    // SQL_IDENTIFIER_CASE, asked once when connecting.
    QString GetIdentifierQuote() const override;
    EIdentifierCase GetIdentifierCase() const override;

    // The connect string with its own UID and PWD attributes dropped and
    // UID=user;PWD=password added, each value in braces (with "}" doubled) when it holds ";", "{",
    // "}" or a blank, as ODBC reads attribute values.
    static QString ConnectStringWith(const QString& connect, const QString& user,
                                     const QString& password);

    // The names of the data sources the driver manager knows, user ones and
    // system ones (SQLDataSources), sorted, each once. Reads the driver
    // manager's settings only; no driver is loaded and nothing connects.
    static QStringList GetDataSourceNames();

    // The diagnostic records of a statement, or of the connection when
    // statement is null, joined by "; "; records of state 01004 (data
    // truncated) are left out, and a fixed text stands in when none is left.
    QString GetDiagnosticText(void* statement = nullptr) const;
    // The same text for any handle: type is the handle's SQL_HANDLE_ code.
    static QString DiagnosticText(short type, void* handle);

private:
    bool IsInTransaction() const;
    // The driver's answer to a text SQLGetInfo question; empty when it has none.
    QString InfoText(unsigned short type) const;
    // A 32-bit SQLGetInfo answer (bit masks); 0 when it has none.
    unsigned InfoBits(unsigned short type) const;
    // One SQLTables call for relations of type ("TABLE", "VIEW") in catalog
    // (null: the driver's default) and schema (null: the driver's default),
    // appending (schema, name).
    bool ListTables(const QString& catalog, const QString& schema, const QString& type,
                    QList<QPair<QString, QString>>& tables, QString& error);
    // The relations of type as GetTableNames names them, appended to names;
    // listed is set to the schema and name of each.
    bool ListRelations(const QString& type, QStringList& names,
                       QHash<QString, QPair<QString, QString>>& listed, QString& error);
    // The catalog this connection works in, where the driver has catalogs
    // and uses them in statements; null otherwise.
    QString CurrentCatalog() const;
    // The schema and name of a relation as GetTableNames or GetViewNames
    // named it; an unlisted name stands for itself, without a schema.
    QPair<QString, QString> Relation(const QString& table) const;
    // Asks the driver how it quotes and folds names.
    void ReadIdentifierRules();
    // Declared types by relation (schema, name), then by column name.
    using CDeclaredTypes = QHash<QPair<QString, QString>, QHash<QString, QString>>;
    // One SQLColumns call for the relations that match the patterns (a null
    // schema pattern: any schema), keeping those in wanted; there a relation
    // wanted without a schema is found in any schema.
    void ReadDeclaredTypes(const QString& schemaPattern, const QString& namePattern,
                           const QSet<QPair<QString, QString>>& wanted, CDeclaredTypes& declared);
    // Asks the driver which database it reaches, for GetScriptDialect.
    void ReadScriptDialect();
    // The first column of the first row of a query; empty when it fails.
    QString QueryText(const QString& sql);
    bool EndTransactionWith(short completion, QString& error);
    bool SetAutoCommit(bool on, QString& error);
    // The ODBC recordset behind stmt; null, with error set, when there is none.
    static COdbcRecordset* AsOdbc(CAbstractRecordset* stmt, QString& error);
    // As AsOdbc, and the recordset must hold a statement.
    static COdbcRecordset* OpenStatement(CAbstractRecordset* stmt, QString& error);

    // Names the statement handle that runs on the calling thread until the
    // object goes, so that Interrupt can reach it; declared after the handle
    // it names, so that it goes first.
    class CRunning
    {
    public:
        CRunning(COdbcDatabase& database, void* statement);
        ~CRunning();
        CRunning(const CRunning&) = delete;
        CRunning& operator=(const CRunning&) = delete;

    private:
        COdbcDatabase& Database_;
    };

    std::mutex RunningLock_;  // held while Running_ changes and while it is cancelled
    void* Running_ = nullptr; // the statement handle executing now, if any
    bool InScript_ = false;   // between BeginScript and EndScript

    // Declared in this order so that the connection is freed before its
    // environment.
    COdbcHandle Environment_; // empty while disconnected
    COdbcHandle Connection_;  // empty while disconnected; IsConnected tests it
    std::atomic<unsigned> Dialect_ = ScriptDialectDollarQuotes; // set by Connect
    // The names GetTableNames gave last, with the schema each belongs to.
    QHash<QString, QPair<QString, QString>> Listed_;
    // The same for GetViewNames.
    QHash<QString, QPair<QString, QString>> ListedViews_;
    CDeclaredTypes Declared_;                               // the types of what was listed last
    bool DeclaredRead_ = false;                             // Declared_ holds them
    std::atomic<char16_t> IdentifierQuote_ = u'"';          // 0: the driver has none
    std::atomic<int> IdentifierCase_ = IdentifierCaseUpper; // EIdentifierCase; set by Connect
};
