#include "common/TextConversion.h"

#include <cstring>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

bool IsBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

bool IsDigit(QStringView text, qsizetype i)
{
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

qsizetype SkipBlanks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

// strtod in the "C" locale: QApplication adopts the user's locale, whose
// decimal separator may not be the point.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

} // namespace

QString Utf8ToText(const char* utf8, qsizetype length)
{
    if (!utf8)
        return {};
    return QString::fromUtf8(utf8, length);
}

QString AnsiToWide(const char* ansi, qsizetype length)
{
    if (!ansi)
        return {};
    return QString::fromLocal8Bit(ansi, length);
}

QString IntToText(int value)
{
    return QString::number(value);
}

int TextToInt(QStringView text)
{
    qsizetype i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; IsDigit(text, i); ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit)
            value = limit; // keeps saturating without overflowing
    }
    if (negative)
        return int(-value);
    return value >= limit ? std::numeric_limits<int>::max() : int(value);
}

double TextToDouble(QStringView text)
{
    const qsizetype start = SkipBlanks(text);
    qsizetype i = start;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    for (; IsDigit(text, i); ++i)
        ++digits;
    if (i < text.size() && text[i] == u'.')
        for (++i; IsDigit(text, i); ++i)
            ++digits;
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-'))
            ++e;
        if (IsDigit(text, e)) {
            while (IsDigit(text, e))
                ++e;
            i = e;
        }
    }
    // Only ASCII characters are left in the prefix.
    const QByteArray number = text.sliced(start, i - start).toLatin1();
    return strtod_l(number.constData(), nullptr, CLocale());
}

qsizetype InvalidUtf8Offset(const char* bytes, qsizetype size)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype i = 0;
    while (i < size) {
        // Runs of ASCII, the bulk of any script, eight bytes at a time.
        while (i + 8 <= size) {
            quint64 eight;
            std::memcpy(&eight, data + i, sizeof eight);
            if (eight & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80; // the range of the second byte
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // no overlong forms
            else if (lead == 0xED)
                high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // nothing past U+10FFFF
        } else {
            return i;
        }
        if (i + length > size)
            return i;
        if (data[i + 1] < low || data[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if ((data[i + k] & 0xC0) != 0x80)
                return i;
        i += length;
    }
    return -1;
}
