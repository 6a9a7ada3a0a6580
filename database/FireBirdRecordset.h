#pragma once

// A statement prepared on a FireBird connection together with its current
// row. CFireBirdDatabase::Prepare creates it and gives it its descriptors;
// the connection's Execute runs it; MoveNext fetches one row at a time into
// the buffers that were allocated once at preparation.
//
// Column lookup by name: FindColumn matches the alias only, while the
// by-name getters match the underlying column name first, then the alias.
// A NULL value reads as empty text, 0 and 0.0, and IsNull says so.

#include "database/AbstractRecordset.h"
#include "database/FireBirdDescriptor.h"
#include "database/FireBirdStatement.h"

#include <ibase.h>
#include <memory>

class CFireBirdDatabase;

class CFireBirdRecordset : public CAbstractRecordset
{
public:
    // owner must outlive the recordset.
    explicit CFireBirdRecordset(CFireBirdDatabase* owner) : Owner_(owner) {}
    ~CFireBirdRecordset() override;
    CFireBirdRecordset(const CFireBirdRecordset&) = delete;
    CFireBirdRecordset& operator=(const CFireBirdRecordset&) = delete;

    // Reads a BLOB column: data receives a malloc block holding the bytes and
    // one zero byte after them, size their count including that zero. An
    // empty BLOB succeeds with no data and size 0; NULL, a column of another
    // type or a BLOB that cannot be opened fails with size 0.
    bool GetBlob(int column, unsigned char*& data, int& size) override;
    bool GetBlob(const QString& name, unsigned char*& data, int& size) override;
    bool IsNull(int column) override;
    QString GetString(int column) override;
    QString GetString(const QString& name) override;
    int GetInt(int column) override;
    int GetInt(const QString& name) override;
    double GetDouble(int column) override;
    double GetDouble(const QString& name) override;
    bool IsInteger(int column) override;
    bool IsFloat(int column) override;
    bool IsText(int column) override;
    int GetColumnCount() override;
    QString GetColumnName(int column) override;
    bool MoveNext() override;
    // Drops the statement, releases the descriptors and commits the
    // transaction that this recordset started. A second call does nothing.
    // False only when that commit failed; the transaction then stays open
    // on the connection.
    bool Close() override;
    bool IsOpen() override;
    // The server's status text of the fetch that failed.
    bool GetFetchError(QString& error) override;

    // The column's SQL type code as described, nullable bit included; 0 when
    // the recordset is not open or has no such column.
    virtual int GetColumnType(int column);

private:
    friend class CFireBirdDatabase;

    const XSQLVAR* Column(int column) const;
    // The first column whose name, else whose alias, equals name in any
    // letter case; -1 when none does.
    int FindVariable(const QString& name) const;
    bool ReadBlob(const XSQLVAR& variable, unsigned char*& data, int& size);
    // The statement runs again (or no longer): MoveNext may fetch.
    void Rewind();

    CFireBirdDatabase* Owner_;
    bool OwnsTransaction_ = false; // this recordset started the owner's transaction
    CFireBirdStatement StmtHandle_;
    std::unique_ptr<CFireBirdDescriptor> OutputDescriptor_; // one variable per column
    std::unique_ptr<CFireBirdDescriptor> InputDescriptor_;  // null without parameters
    // Set once a fetch found the end or failed. The client library must not
    // be asked again then: after a lost connection it hands out rows it still
    // buffers, and may then never return.
    bool Finished_ = false;
    bool FetchFailed_ = false;
    QString FetchError_;
};
