#include "database/SplitDelimited.h"

namespace {

// Where the scan stands: in the SQL itself, or inside something that a
// delimiter cannot end.
enum class EScanState
{
    Code,
    DoubleQuoted,
    SingleQuoted,
    LineComment,
    BlockComment,
};

} // namespace

void SplitDelimited(const QString& text, QStringList& list, QChar delimiter)
{
    EScanState state = EScanState::Code;
    qsizetype pieceStart = 0;
    const qsizetype length = text.size();
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = chars[i];
        const QChar next = i + 1 < length ? chars[i + 1] : QChar();
        switch (state) {
        case EScanState::Code:
            if (c == delimiter) {
                list.append(text.sliced(pieceStart, i - pieceStart));
                pieceStart = i + 1;
            } else if (c == u'"') {
                state = EScanState::DoubleQuoted;
            } else if (c == u'\'') {
                state = EScanState::SingleQuoted;
            } else if (c == u'-' && next == u'-') {
                state = EScanState::LineComment;
                ++i;
            } else if (c == u'/' && next == u'*') {
                state = EScanState::BlockComment;
                ++i;
            }
            break;
        case EScanState::DoubleQuoted: // a doubled quote leaves and re-enters
            if (c == u'"')
                state = EScanState::Code;
            break;
        case EScanState::SingleQuoted:
            if (c == u'\'')
                state = EScanState::Code;
            break;
        case EScanState::LineComment:
            if (c == u'\n')
                state = EScanState::Code;
            break;
        case EScanState::BlockComment:
            if (c == u'*' && next == u'/') {
                state = EScanState::Code;
                ++i;
            }
            break;
        }
    }
    if (pieceStart < length)
        list.append(text.sliced(pieceStart));
}
