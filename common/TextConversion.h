#pragma once

// Text helpers shared by every layer: the conversions at the library
// boundaries and the forgiving text-to-number rules that the backends use
// when a text value is read as a number.

#include <QString>

// UTF-8 from a library to wide text. A null pointer gives an empty text;
// a negative length means the text ends at its first zero byte.
QString Utf8ToText(const char* utf8, qsizetype length = -1);

// The offset of the first byte of size bytes that is not part of valid UTF-8
// (overlong forms, surrogates and values past U+10FFFF are not), or -1.
qsizetype InvalidUtf8Offset(const char* bytes, qsizetype size);

// Narrow text in the system's locale code page to wide text; null gives empty.
QString AnsiToWide(const char* ansi, qsizetype length = -1);

// An integer as decimal text, "%d".
QString IntToText(int value);

// The classic wide "text to int" rule: leading white space skipped, an
// optional sign, then decimal digits up to the first other character; 0 when
// there are none. A value beyond the 32-bit range saturates at its limit.
int TextToInt(QStringView text);

// The classic wide "text to double" rule: leading white space skipped, then
// the longest prefix that reads as a decimal number (sign, digits, point,
// exponent); 0.0 when the text does not start with a number. Independent of
// the process locale.
double TextToDouble(QStringView text);
