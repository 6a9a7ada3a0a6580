#pragma once

// Reads the current value of one fetched FireBird column variable as text, a
// 32-bit integer or a double, by the variable's SQL type. The nullable form of
// a type reads like the type itself; a NULL value reads as empty text, 0 and
// 0.0. BLOB contents are not read here: that needs the connection.

#include <QString>
#include <ibase.h>

class CFireBirdValue
{
public:
    explicit CFireBirdValue(const XSQLVAR& variable) : Variable_(variable) {}

    // The SQL type without its nullable bit.
    int BaseType() const { return Variable_.sqltype & ~1; }
    // True for a NULL in the fetched row and for a column of the NULL type.
    bool IsNull() const;

    bool IsInteger() const; // SMALLINT, INTEGER, BIGINT without a scale
    bool IsFloat() const;   // FLOAT, DOUBLE PRECISION, and integers with a scale
    bool IsText() const;    // CHAR and VARCHAR
    bool IsBlob() const { return BaseType() == SQL_BLOB; }

    // Text: blank-padded CHAR data up to its first zero byte, trailing white
    // space removed. Floating point: "%f", or as many decimals as a scale
    // gives (a dialect 1 NUMERIC(18,4) is a double of scale -4). Integers: decimal, with the point
    // placed by a negative scale (123.45, -0.05). TIMESTAMP
    // "YYYY-MM-DD HH:MM:SS", DATE "YYYY-MM-DD", TIME "HH:MM:SS", each time
    // followed by its fraction of a second when that is not zero. Any other
    // type, BLOBs included, gives empty text.
    QString Text() const;
    // Text by the "_wtoi" rule; floating point and scaled integers truncated
    // toward zero and held within the 32-bit range; other types 0.
    int Int() const;
    // Text by the "_wtof" rule; integers divided by their scale; other types 0.
    double Double() const;

private:
    // The value as a 64-bit integer when the type is one of the integers.
    bool Integer(qint64& value) const;
    bool Floating(double& value) const;
    QString CharText() const;
    QString DateTimeText() const;

    const XSQLVAR& Variable_;
};
