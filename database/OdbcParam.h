#pragma once

// The parameter values of a statement prepared on an ODBC connection. The
// setters of COdbcDatabase only store values here; nothing reaches the
// driver until Execute binds every record, in array order.

#include <QString>
#include <memory>
#include <sqltypes.h>
#include <vector>

// One parameter value, fixed in size and place: the driver reads Value and
// Indicator through the pointers that Bind hands it, up to SQLExecute.
struct COdbcParam
{
    enum EKind : int
    {
        KindInt = 1,    // 32-bit signed integer
        KindInt64 = 2,  // 64-bit signed integer
        KindDouble = 3, // IEEE double
        KindText = 4,   // UTF-16 characters and a terminating zero
    };
    static constexpr int ValueSize = 2048;
    // The longest text that Value holds beside its terminating zero.
    static constexpr int MaxTextLength = ValueSize / int(sizeof(SQLWCHAR)) - 1;

    int Index = 0; // the index given to the setter, which finds the record again
    int Kind = 0;
    alignas(8) unsigned char Value[ValueSize] = {};
    SQLLEN Indicator = 0; // the value's length in bytes, as bound

    void SetInt(int value);
    void SetInt64(qint64 value);
    void SetDouble(double value);
    // False, with the record unchanged, when text is longer than
    // MaxTextLength characters.
    bool SetText(const QString& text);

    // SQLBindParameter for this record as input parameter number (from 1).
    SQLRETURN Bind(SQLHSTMT statement, SQLUSMALLINT number);
};

// The records of one statement, in the order in which their index was first
// set. Records are never moved once made.
class COdbcParams
{
public:
    // The record whose Index is index, appended at the end when there is none.
    COdbcParam& Find(int index);
    int Count() const { return int(Records_.size()); }
    COdbcParam& At(int position) { return *Records_[size_t(position)]; }
    // Removes every record.
    void RemoveAll() { Records_.clear(); }

private:
    std::vector<std::unique_ptr<COdbcParam>> Records_;
};
