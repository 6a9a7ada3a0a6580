#pragma once

// The database interface over an SQLite file, opened in-process. Text
// crosses the library boundary as UTF-8; messages are SQLite's own where it
// gives one.

#include "database/AbstractDatabase.h"

#include <memory>
#include <mutex>

struct sqlite3;
class CSQLiteRecordset;

class CSQLiteDatabase : public CAbstractDatabase
{
public:
    CSQLiteDatabase() = default;
    ~CSQLiteDatabase() override;

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
    bool Disconnect() override;
    bool IsConnected() override;
    bool Connect(const QString& database, const QString& user, const QString& password,
                 QString& error) override;
    bool BeginTransaction(QString& error) override;
    bool CommitTransaction(QString& error) override;
    bool RollbackTransaction(QString& error) override;
    bool BeginTransactionWith(const QString& sql, QString& error) override;
    int GetDatabaseType() override;
    EScriptDialect GetScriptDialect() const override;
    void Interrupt() override;
    bool GetViewNames(QStringList& names, QString& error) override;
    // The types as the CREATE statement wrote them (sqlite3_column_decltype);
    // empty for a column declared without one and for a view's column that
    // is no plain column of a table.
    bool GetColumns(const QString& table, QStringList& columns, QStringList& types,
                    QString& error) override;
    // Double quotes; names are matched in any letter case, as written.
    QString GetIdentifierQuote() const override;
    EIdentifierCase GetIdentifierCase() const override;

private:
    struct CCloser
    {
        void operator()(sqlite3* handle) const;
    };

    QString ConnectionMessage() const;
    bool CheckConnected(QString& error) const;
    bool EndWith(const QString& sql, QString& error);
    // The statement behind stmt for the parameter operations; null with
    // error set when index is -1 or the statement is not open.
    CSQLiteRecordset* OpenStatement(CAbstractRecordset* stmt, int index, QString& error) const;
    bool BindResult(int result, QString& error) const;

    bool InTransaction_ = false;               // begun through this object and not yet ended
    std::unique_ptr<sqlite3, CCloser> Handle_; // null when not connected
    // Held while Handle_ changes and while another thread interrupts it.
    std::mutex HandleLock_;
};
