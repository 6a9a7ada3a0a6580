#pragma once

// Text as the bytes of UTF-16 little-endian code units, no byte-order mark:
// what the export files and the stored profile strings hold. Written out
// byte by byte so that the expectation does not share code with the writers.

#include <QByteArray>
#include <QString>

inline QByteArray Utf16LE(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}
