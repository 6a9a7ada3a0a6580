#include "database/SplitDelimited.h"

void SplitDelimited(const QString& text, QStringList& list, QChar delimiter)
{
    bool inQuotes = false;
    qsizetype pieceStart = 0;
    const qsizetype length = text.size();
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = chars[i];
        if (c == delimiter && !inQuotes) {
            list.append(text.sliced(pieceStart, i - pieceStart));
            pieceStart = i + 1;
        }
        if (c == u'"')
            inQuotes = !inQuotes;
    }
    if (pieceStart < length)
        list.append(text.sliced(pieceStart));
}
