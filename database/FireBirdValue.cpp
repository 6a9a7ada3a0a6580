#include "database/FireBirdValue.h"

#include "common/SaturatedInt.h"
#include "common/TextConversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

namespace {

// A value of type T from the start of the variable's buffer, when the buffer
// holds one.
template <typename T> bool Read(const XSQLVAR& variable, T& value)
{
    if (!variable.sqldata || variable.sqllen < ISC_SHORT(sizeof(T)))
        return false;
    std::memcpy(&value, variable.sqldata, sizeof(T));
    return true;
}

// A value stored as Stored, widened into value.
template <typename Stored, typename Wider> bool ReadAs(const XSQLVAR& variable, Wider& value)
{
    Stored stored{};
    if (!Read(variable, stored))
        return false;
    value = stored;
    return true;
}

// 10 to the power digits, for the scales a 64-bit integer can carry.
qint64 PowerOfTen(int digits)
{
    qint64 power = 1;
    for (int i = 0; i < digits; ++i)
        power *= 10;
    return power;
}

constexpr int MaxScaleDigits = 18;

// The integer value with the decimal point placed by scale (a negative
// scale counts the digits after the point).
QString ScaledText(qint64 value, int scale)
{
    if (scale == 0)
        return QString::number(value);
    if (scale > 0)
        return QString::number(value) + QString(scale, u'0');
    const int digits = -scale;
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    QString text = QString::number(magnitude);
    if (text.size() <= digits)
        text.prepend(QString(digits + 1 - text.size(), u'0'));
    text.insert(text.size() - digits, u'.');
    if (value < 0)
        text.prepend(u'-');
    return text;
}

// ".fraction" of a time of day counted in ten-thousandths of a second, the
// trailing zeros dropped; empty for a whole second.
QString FractionText(ISC_TIME time)
{
    const unsigned fraction = unsigned(time % 10000);
    if (fraction == 0)
        return {};
    QString text = QStringLiteral(".%1").arg(fraction, 4, 10, QChar(u'0'));
    while (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

// Formatting is done into small buffers: QString::asprintf costs several times
// as much, and these run once per cell of a result.

// "%f" as in the "C" locale, whatever the process locale says; digits
// decimals instead of six when given.
QString FixedText(double value, int digits = 6)
{
    char buffer[400]; // the largest double takes 317 characters, six decimals included
    digits = std::clamp(digits, 0, 60);
    const auto [end, failure] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
    return failure == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
}

QString DateText(const std::tm& date)
{
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.tm_year + 1900,
                                     date.tm_mon + 1, date.tm_mday);
    return QString::fromLatin1(buffer, std::clamp(length, 0, int(sizeof buffer) - 1));
}

QString TimeText(const std::tm& time, ISC_TIME raw)
{
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", time.tm_hour,
                                     time.tm_min, time.tm_sec);
    return QString::fromLatin1(buffer, std::clamp(length, 0, int(sizeof buffer) - 1)) +
           FractionText(raw);
}

} // namespace

bool CFireBirdValue::IsNull() const
{
    if (BaseType() == SQL_NULL)
        return true;
    return (Variable_.sqltype & 1) && Variable_.sqlind && *Variable_.sqlind < 0;
}

bool CFireBirdValue::IsInteger() const
{
    const int type = BaseType();
    return (type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64) && Variable_.sqlscale == 0;
}

bool CFireBirdValue::IsFloat() const
{
    const int type = BaseType();
    if (type == SQL_FLOAT || type == SQL_DOUBLE || type == SQL_D_FLOAT)
        return true;
    return (type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64) && Variable_.sqlscale != 0;
}

bool CFireBirdValue::IsText() const
{
    return BaseType() == SQL_TEXT;
}

bool CFireBirdValue::Integer(qint64& value) const
{
    switch (BaseType()) {
    case SQL_SHORT:
        return ReadAs<ISC_SHORT>(Variable_, value);
    case SQL_LONG:
        return ReadAs<ISC_LONG>(Variable_, value);
    case SQL_INT64:
        return ReadAs<ISC_INT64>(Variable_, value);
    default:
        return false;
    }
}

bool CFireBirdValue::Floating(double& value) const
{
    switch (BaseType()) {
    case SQL_DOUBLE:
        return ReadAs<double>(Variable_, value);
    case SQL_FLOAT:
    case SQL_D_FLOAT:
        return ReadAs<float>(Variable_, value);
    default:
        return false;
    }
}

QString CFireBirdValue::CharText() const
{
    if (!Variable_.sqldata || Variable_.sqllen <= 0)
        return {};
    const char* data = Variable_.sqldata;
    QString text = Utf8ToText(data, qsizetype(strnlen(data, std::size_t(Variable_.sqllen))));
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}

QString CFireBirdValue::DateTimeText() const
{
    std::tm parts{};
    switch (BaseType()) {
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP stamp{};
        if (!Read(Variable_, stamp))
            return {};
        isc_decode_timestamp(&stamp, &parts);
        return DateText(parts) + u' ' + TimeText(parts, stamp.timestamp_time);
    }
    case SQL_TYPE_DATE: {
        ISC_DATE date = 0;
        if (!Read(Variable_, date))
            return {};
        isc_decode_sql_date(&date, &parts);
        return DateText(parts);
    }
    case SQL_TYPE_TIME: {
        ISC_TIME time = 0;
        if (!Read(Variable_, time))
            return {};
        isc_decode_sql_time(&time, &parts);
        return TimeText(parts, time);
    }
    default:
        return {};
    }
}

QString CFireBirdValue::Text() const
{
    if (IsNull())
        return {};
    if (BaseType() == SQL_TEXT)
        return CharText();
    qint64 integer = 0;
    if (Integer(integer))
        return ScaledText(integer, Variable_.sqlscale);
    double floating = 0;
    // A NUMERIC or DECIMAL that dialect 1 stores as a double keeps its scale:
    // as many decimals as the column has, as isql shows it.
    if (Floating(floating))
        return Variable_.sqlscale < 0 ? FixedText(floating, -Variable_.sqlscale)
                                      : FixedText(floating);
    return DateTimeText();
}

int CFireBirdValue::Int() const
{
    if (IsNull())
        return 0;
    if (BaseType() == SQL_TEXT)
        return TextToInt(CharText());
    qint64 integer = 0;
    if (Integer(integer)) {
        const int scale = Variable_.sqlscale;
        if (scale >= 0)
            return SaturatedInt(integer);
        // Beyond 18 digits every 64-bit value truncates to 0.
        return -scale > MaxScaleDigits ? 0 : SaturatedInt(integer / PowerOfTen(-scale));
    }
    double floating = 0;
    if (Floating(floating))
        return SaturatedInt(floating);
    return 0;
}

double CFireBirdValue::Double() const
{
    if (IsNull())
        return 0.0;
    if (BaseType() == SQL_TEXT)
        return TextToDouble(CharText());
    qint64 integer = 0;
    if (Integer(integer)) {
        const int scale = Variable_.sqlscale;
        if (scale >= 0)
            return double(integer) * std::pow(10.0, scale);
        if (-scale <= MaxScaleDigits)
            return double(integer) / double(PowerOfTen(-scale));
        return double(integer) / std::pow(10.0, -scale);
    }
    double floating = 0;
    if (Floating(floating))
        return floating;
    return 0.0;
}
