#include "database/OdbcParam.h"

#include <algorithm>
#include <cstring>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "wide ODBC text must be UTF-16");

void COdbcParam::SetInt(int value)
{
    Kind = KindInt;
    std::memcpy(Value, &value, sizeof value);
    Indicator = sizeof value;
}

void COdbcParam::SetInt64(qint64 value)
{
    Kind = KindInt64;
    std::memcpy(Value, &value, sizeof value);
    Indicator = sizeof value;
}

void COdbcParam::SetDouble(double value)
{
    Kind = KindDouble;
    std::memcpy(Value, &value, sizeof value);
    Indicator = sizeof value;
}

bool COdbcParam::SetText(const QString& text)
{
    if (text.size() > MaxTextLength)
        return false;
    Kind = KindText;
    const size_t bytes = size_t(text.size()) * sizeof(SQLWCHAR);
    std::memcpy(Value, text.utf16(), bytes);
    std::memset(Value + bytes, 0, sizeof(SQLWCHAR));
    // An explicit length rather than "up to the zero", so that a text with
    // a zero character in it reaches the driver whole.
    Indicator = SQLLEN(bytes);
    return true;
}

SQLRETURN COdbcParam::Bind(SQLHSTMT statement, SQLUSMALLINT number)
{
    SQLSMALLINT bufferType = SQL_C_SLONG;
    SQLSMALLINT sqlType = SQL_INTEGER;
    SQLULEN columnSize = 0;
    SQLLEN bufferLength = sizeof(SQLINTEGER);
    switch (Kind) {
    case KindInt64:
        bufferType = SQL_C_SBIGINT;
        sqlType = SQL_BIGINT;
        bufferLength = sizeof(SQLBIGINT);
        break;
    case KindDouble:
        bufferType = SQL_C_DOUBLE;
        sqlType = SQL_DOUBLE;
        bufferLength = sizeof(SQLDOUBLE);
        break;
    case KindText:
        // Wide characters whatever the locale: the driver gets exactly the
        // characters that were set.
        bufferType = SQL_C_WCHAR;
        sqlType = SQL_WVARCHAR;
        columnSize = std::max<SQLULEN>(1, SQLULEN(Indicator) / sizeof(SQLWCHAR));
        bufferLength = sizeof Value;
        break;
    default:
        break;
    }
    return SQLBindParameter(statement, number, SQL_PARAM_INPUT, bufferType, sqlType, columnSize, 0,
                            Value, bufferLength, &Indicator);
}

COdbcParam& COdbcParams::Find(int index)
{
    for (const auto& record : Records_)
        if (record->Index == index)
            return *record;
    Records_.push_back(std::make_unique<COdbcParam>());
    Records_.back()->Index = index;
    return *Records_.back();
}
