#pragma once

// A statement prepared on an SQLite connection. Column types are those of
// the current row's value, as SQLite reports them per value: before the
// first MoveNext and after the last, every column tests as NULL.

#include "database/AbstractRecordset.h"

#include <memory>

struct sqlite3_stmt;

class CSQLiteRecordset : public CAbstractRecordset
{
public:
    CSQLiteRecordset() = default;
    ~CSQLiteRecordset() override;

    using CAbstractRecordset::GetBlob;
    using CAbstractRecordset::GetDouble;
    using CAbstractRecordset::GetInt;
    using CAbstractRecordset::GetString;

    bool GetBlob(int column, unsigned char*& data, int& size) override;
    bool IsNull(int column) override;
    QString GetString(int column) override;
    QByteArrayView GetUtf8(int column, QByteArray& scratch) override;
    int GetInt(int column) override;
    double GetDouble(int column) override;
    bool IsInteger(int column) override;
    bool IsFloat(int column) override;
    bool IsText(int column) override;
    int GetColumnCount() override;
    QString GetColumnName(int column) override;
    bool MoveNext() override;
    bool Close() override;
    bool IsOpen() override;
    bool GetFetchError(QString& error) override;

    // For CSQLiteDatabase, which prepares, binds and resets the statement.
    sqlite3_stmt* Statement() const { return Statement_.get(); }
    void Attach(sqlite3_stmt* statement);
    void Rewind(); // the statement was reset: MoveNext runs it again

private:
    struct CFinalizer
    {
        void operator()(sqlite3_stmt* statement) const;
    };

    bool HasColumn(int column);
    int ColumnType(int column);

    std::unique_ptr<sqlite3_stmt, CFinalizer> Statement_; // null when closed
    // Set once a step reported the end or an error: SQLite would otherwise
    // start the statement over on the next step.
    bool Finished_ = false;
    bool FetchFailed_ = false; // the step that finished it failed
    QString FetchError_;       // SQLite's message for that failure
};
