#pragma once

// The letters the workspace tests write colour classes with: P plain text,
// K keyword, F function name, C comment, N number, O operator, S string,
// T type name; '?' for an index that is no class.

#include <QChar>

inline QChar ColourLetter(qint32 colourIndex)
{
    constexpr char Letters[] = "??P???KFCNOS?T";
    return colourIndex >= 0 && colourIndex < qint32(sizeof Letters - 1)
               ? QChar(Letters[colourIndex])
               : QChar(u'?');
}
