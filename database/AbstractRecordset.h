#pragma once

// One prepared statement of a connection together with its current row.
// A recordset only reads: it steps through rows and returns column values;
// parameters are set through the database object that prepared it.
//
// Readers have no error channel: on a closed recordset or a column index
// outside 0 .. GetColumnCount() - 1 they return the empty value (empty text,
// 0, 0.0, false, no data).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

class CAbstractRecordset
{
public:
    virtual ~CAbstractRecordset() = default;

    // data receives a malloc block with the value's bytes (released with
    // free) and size its length; the caller passes a null block and size 0.
    virtual bool GetBlob(int column, unsigned char*& data, int& size) = 0;
    virtual bool GetBlob(const QString& name, unsigned char*& data, int& size);
    virtual bool IsNull(int column) = 0;
    virtual QString GetString(int column) = 0;
    virtual QString GetString(const QString& name);
    // The value as GetString gives it, as UTF-8, for readers of many rows
    // that keep UTF-8: the view stays valid until the next call on the
    // recordset; scratch may hold its bytes.
    virtual QByteArrayView GetUtf8(int column, QByteArray& scratch);
    virtual int GetInt(int column) = 0;
    virtual int GetInt(const QString& name);
    virtual double GetDouble(int column) = 0;
    virtual double GetDouble(const QString& name);
    virtual bool IsInteger(int column) = 0;
    virtual bool IsFloat(int column) = 0; // floating-point or exact decimal
    virtual bool IsText(int column) = 0;
    virtual int GetColumnCount() = 0;              // 0 when there is no statement
    virtual QString GetColumnName(int column) = 0; // the alias when the query gives one
    // Zero-based index of the first column whose name equals name in any
    // letter case; -1 when there is none or the recordset is not open.
    virtual int FindColumn(const QString& name);
    // True when, after the call, the recordset stands on a row. After false,
    // GetFetchError tells whether the rows ended or reading them failed. Once
    // reading failed, MoveNext stays false until the statement runs again.
    virtual bool MoveNext() = 0;
    // Releases the statement; afterwards IsOpen is false. No caller acts on
    // the result.
    virtual bool Close() = 0;
    virtual bool IsOpen() = 0;
    // True when the last MoveNext failed rather than ran out of rows; error
    // then receives the library's message. False after a clean end or a row.
    virtual bool GetFetchError(QString& error) = 0;
};

// Owner for a recordset handed out by Prepare or OpenRecordset: closes it,
// then deletes it.
struct CRecordsetCloser
{
    void operator()(CAbstractRecordset* recordset) const;
};
using CRecordsetPtr = std::unique_ptr<CAbstractRecordset, CRecordsetCloser>;
