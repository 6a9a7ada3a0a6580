#pragma once

// A statement of an ODBC connection and the current row of its result set.
// Only COdbcDatabase makes these: OpenRecordset hands one out executed,
// Prepare one that is ready once Execute has succeeded.
//
// How a value reads depends on the class of its column, taken from the SQL
// type that the driver reports (SQL_DESC_CONCISE_TYPE):
//
//   integer        GetString in full ("%d" of the 64-bit value); GetInt the
//                  value, 0 when it lies outside 32 bits; GetDouble the value
//   float          GetString "%f" (six decimals, "2.500000"); GetInt the value
//                  truncated toward zero; GetDouble the value
//   text           GetString the characters; GetInt and GetDouble the leading
//                  number of the text (the _wtoi and _wtof rules)
//   date and time  GetString the driver's character form; GetInt 0, GetDouble 0.0
//   binary         GetString the bytes as little-endian UTF-16 up to the first
//                  zero character (an odd last byte is ignored); GetInt and
//                  GetDouble the first byte
//   none           GetString empty, GetInt 0, GetDouble 0.0
//
// A NULL value reads as empty text, 0 and 0.0 in every class, and IsNull
// reports it. A read that the driver refuses gives the same empty values.
//
// Each value of the current row is fetched from the driver once, when it is
// first asked for, and kept until MoveNext: ODBC drivers answer a second
// SQLGetData of a value already read with SQL_NO_DATA.

#include "database/AbstractRecordset.h"
#include "database/OdbcHandle.h"
#include "database/OdbcParam.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class COdbcRecordset : public CAbstractRecordset
{
public:
    COdbcRecordset() = default;
    ~COdbcRecordset() override;

    using CAbstractRecordset::GetBlob;
    using CAbstractRecordset::GetDouble;
    using CAbstractRecordset::GetInt;
    using CAbstractRecordset::GetString;

    // Appends the value's bytes to data (grown with realloc) and adds their
    // number to size. True when the value was read, NULL and empty values
    // included (they add nothing); false with data and size untouched when
    // no statement is held, the column does not exist or the driver refuses
    // the read.
    bool GetBlob(int column, unsigned char*& data, int& size) override;
    bool IsNull(int column) override;
    QString GetString(int column) override;
    int GetInt(int column) override;
    double GetDouble(int column) override;
    bool IsInteger(int column) override;
    bool IsFloat(int column) override;
    bool IsText(int column) override; // date and time columns are not text
    int GetColumnCount() override;
    // Names are cut at 511 characters.
    QString GetColumnName(int column) override;
    bool MoveNext() override;
    // Frees the statement and forgets the parameters; does nothing when no
    // statement is held.
    bool Close() override;
    bool IsOpen() override;
    // The driver's diagnostic records of the fetch that failed.
    bool GetFetchError(QString& error) override;

    // Walks text once and sets ParamNames to the names that follow the
    // markers '$', ':', '?' and '@' standing outside apostrophes and
    // quotation marks. A name ends only at white space (or the end of the
    // text), so "VALUES (?, ?)" names "," and ")"; a marker followed by
    // white space or standing last has an empty name.
    void ScanParamNames(const QString& text);

    // For COdbcDatabase, which allocates, prepares and executes the statement.
    short AllocateStatement(void* connection);
    void* Statement() const { return Statement_.Get(); }
    // The statement has a new result set (or none): forget what was known
    // of the last one.
    void ResultChanged();

    // The last Execute gave no result set (an INSERT): there is no cursor
    // to close before the next run. Set by Execute, cleared by CloseCursor.
    bool RanWithoutResult = false;
    COdbcParams Params;     // the values set through the database, bound at Execute
    QStringList ParamNames; // the names found by Prepare, in order of appearance

private:
    enum EColumnClass
    {
        ClassNone,
        ClassInteger,
        ClassFloat,
        ClassText,
        ClassDate,
        ClassBinary
    };

    // One value of the current row, as read in its column's class.
    struct CCell
    {
        bool Read = false; // fetched from the driver for this row
        bool Ok = false;   // the driver delivered it (a NULL included)
        bool Null = false;
        qint64 Integer = 0;
        double Real = 0.0;
        QString Text;
        bool HasBytes = false; // Bytes holds what GetBlob gives
        QByteArray Bytes;
    };

    // The class of a column of the SQL type that SQL_DESC_CONCISE_TYPE gives.
    static EColumnClass ClassOfType(SQLLEN type);
    // The column's class; ClassNone for a column that does not exist.
    EColumnClass ClassOf(int column);
    bool HasColumn(int column);
    // Reads the result set's shape once per result set.
    void LearnColumns();
    // The current row's value of an existing column, fetched on first use.
    const CCell& Cell(int column);
    bool ReadText(int column, QString& text, bool& null);
    bool ReadBytes(int column, QByteArray& bytes, bool& null);

    COdbcHandle Statement_; // empty when the recordset holds no statement
    bool ColumnsKnown_ = false;
    std::vector<EColumnClass> Classes_; // one per result column
    std::vector<CCell> Cells_;          // one per result column
    // Set once a fetch found the end or failed; MoveNext then asks the driver
    // no more until the statement has a new result set.
    bool Finished_ = false;
    bool FetchFailed_ = false;
    QString FetchError_;
};
