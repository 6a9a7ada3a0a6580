#include "workspace/SQLSyntaxParser.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 30> Keywords = {
    "select", "delete", "where", "insert", "into",     "update", "from", "in",    "order", "by",
    "and",    "or",     "not",   "union",  "distinct", "join",   "left", "outer", "on",    "all",
    "group",  "set",    "case",  "when",   "then",     "null",   "else", "as",    "end",   "is"};

constexpr std::array<std::string_view, 10> TypeNames = {
    "CHAR", "VARCHAR", "INTEGER", "REAL", "DOUBLE", "MEMO", "BYTE", "WORD", "DATE", "TIME"};

constexpr size_t LongestListedWord = 8; // "distinct"

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsIdentifierStart(QChar c)
{
    const char16_t u = c.unicode();
    return IsAsciiLetter(u) || u == u'_' || u > 127;
}

bool IsIdentifierChar(QChar c)
{
    return IsIdentifierStart(c) || IsDigit(c.unicode());
}

bool IsWhiteSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r'); // tab, LF, VT, FF, CR
}

// A dot belongs to a word (the decimal point of "1.5") unless a name stands
// right before or after it (the dot of "t.col"); never at the line's start.
bool DotCountsAsWordPart(QStringView line, qsizetype p)
{
    return p > 0 && line[p] == u'.' && !IsIdentifierStart(line[p - 1]) &&
           (p + 1 == line.size() || !IsIdentifierStart(line[p + 1]));
}

bool IsWordPart(QStringView line, qsizetype p)
{
    return IsIdentifierChar(line[p]) || DotCountsAsWordPart(line, p);
}

// Whether a word of ASCII letters only is in the list: same length and the
// same letters in any case.
template <size_t N> bool IsListed(QStringView letters, const std::array<std::string_view, N>& list)
{
    for (std::string_view entry : list) {
        if (size_t(letters.size()) != entry.size())
            continue;
        size_t k = 0;
        while (k < entry.size() && (letters[qsizetype(k)].unicode() | 0x20) == (entry[k] | 0x20))
            ++k;
        if (k == entry.size())
            return true;
    }
    return false;
}

// Only words of ASCII letters, no longer than the longest entry, can be listed.
bool MayBeListed(QStringView word)
{
    if (size_t(word.size()) > LongestListedWord)
        return false;
    for (QChar c : word)
        if (!IsAsciiLetter(c.unicode()))
            return false;
    return true;
}

bool IsHexDigit(char16_t c)
{
    return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// "0x" (lower-case x) and hexadecimal digits, or a decimal digit followed by
// digits, signs, points and exponent letters.
bool IsNumber(QStringView word)
{
    if (word.size() > 2 && word[0] == u'0' && word[1] == u'x') {
        for (qsizetype k = 2; k < word.size(); ++k)
            if (!IsHexDigit(word[k].unicode()))
                return false;
        return true;
    }
    if (word.isEmpty() || !IsDigit(word[0].unicode()))
        return false;
    for (qsizetype k = 1; k < word.size(); ++k) {
        const char16_t c = word[k].unicode();
        if (!IsDigit(c) && c != u'+' && c != u'-' && c != u'.' && c != u'E' && c != u'e')
            return false;
    }
    return true;
}

// The class of the word line[start, end), or 0 when it has none (it keeps
// the colour of the block it stands in).
qint32 ClassifyWord(QStringView line, qsizetype start, qsizetype end)
{
    const QStringView word = line.sliced(start, end - start);
    if (MayBeListed(word)) {
        if (IsListed(word, Keywords))
            return CSyntaxParser::Keyword;
        if (IsListed(word, TypeNames))
            return CSyntaxParser::TypeName;
    }
    if (IsNumber(word))
        return CSyntaxParser::Number;
    qsizetype next = end;
    while (next < line.size() && IsWhiteSpace(line[next]))
        ++next;
    if (next < line.size() && line[next] == u'(')
        return CSyntaxParser::FunctionName;
    return 0;
}

// A quotation mark or apostrophe at i is escaped by one backslash before it,
// but not by a doubled one.
bool IsEscaped(QStringView line, qsizetype i)
{
    return i >= 1 && line[i - 1] == u'\\' && (i == 1 || line[i - 2] != u'\\');
}

// The length of a dollar quote "$$" or "$tag$" at i, or 0 when none stands
// there: a "$" after a name's character (a$b) or before a digit ($1) is none.
qsizetype DollarQuoteLength(QStringView line, qsizetype i)
{
    if (line[i] != u'$' || (i > 0 && IsIdentifierChar(line[i - 1])))
        return 0;
    qsizetype end = i + 1;
    if (end < line.size() && IsIdentifierStart(line[end]))
        while (end < line.size() && IsIdentifierChar(line[end]))
            ++end;
    return end < line.size() && line[end] == u'$' ? end + 1 - i : 0;
}

} // namespace

quint32 CSQLSyntaxParser::ScanLine(quint32 state, QStringView line,
                                   QList<ColourBlock>* blockList) const
{
    state &= LineStateBits;
    const qsizetype n = line.size();
    if (n <= 1)
        return state & BlockComment;

    const auto append = [blockList](qsizetype start, qint32 colourIndex) {
        AppendBlock(*blockList, qint32(start), colourIndex);
    };
    qsizetype i = 0;
    qsizetype word = -1;            // start of the open word; -1 when none is open
    bool newBlock = true;           // the next character starts a block
    bool stepBack = false;          // ... which begins one character back
    bool commentJustOpened = false; // the '*' before i opened the block comment

    for (;;) {
        if (newBlock && blockList) {
            const qsizetype p = stepBack ? i - 1 : i;
            qint32 colour = Operator;
            if (state & (LineComment | BlockComment))
                colour = Comment;
            else if (state & (DoubleQuoted | SingleQuoted))
                colour = String;
            else if (p < n && IsWordPart(line, p))
                colour = PlainText;
            append(p, colour);
            newBlock = stepBack = colour == Operator;
        }
        if (i == n)
            break;
        const QChar c = line[i];

        if (state & LineComment) {
            if (blockList)
                append(i, Comment);
            break;
        }
        if (state & (DoubleQuoted | SingleQuoted)) {
            const quint32 bit = (state & DoubleQuoted) ? DoubleQuoted : SingleQuoted;
            const char16_t quote = bit == DoubleQuoted ? u'"' : u'\'';
            if (c == quote && !IsEscaped(line, i)) {
                state &= ~bit;
                newBlock = true;
            }
            ++i;
            continue;
        }
        if (state & BlockComment) {
            if (i >= 1 && c == u'/' && line[i - 1] == u'*' && !(commentJustOpened && i > 1)) {
                state &= ~BlockComment;
                newBlock = true;
            }
            commentJustOpened = false;
            ++i;
            continue;
        }

        const QChar before = i > 0 ? line[i - 1] : QChar();
        if (before == u'/' && c == u'/') {
            if (blockList)
                append(i - 1, Comment);
            state |= LineComment;
            break;
        }
        if (c == u'"' || (c == u'\'' && (i == 0 || !IsIdentifierChar(before)))) {
            if (blockList)
                append(i, String);
            state |= c == u'"' ? DoubleQuoted : SingleQuoted;
            ++i;
            continue;
        }
        if (before == u'/' && c == u'*') {
            if (blockList)
                append(i - 1, Comment);
            state |= BlockComment;
            commentJustOpened = true;
            ++i;
            continue;
        }
        commentJustOpened = false;
        if (!blockList) {
            ++i;
            continue;
        }
        // A dollar quote (PostgreSQL) is coloured as the quote it is, and the
        // function body between two of them as the code it is.
        if (const qsizetype quote = c == u'$' ? DollarQuoteLength(line, i) : 0) {
            if (word >= 0) {
                if (const qint32 colour = ClassifyWord(line, word, i))
                    append(word, colour);
                word = -1;
            }
            append(i, String);
            i += quote;
            newBlock = true;
            stepBack = false;
            continue;
        }
        if (IsWordPart(line, i)) {
            if (word < 0)
                word = i;
        } else if (word >= 0) {
            if (const qint32 colour = ClassifyWord(line, word, i))
                append(word, colour);
            word = -1;
            newBlock = stepBack = true;
        }
        ++i;
    }

    if (word >= 0 && blockList)
        if (const qint32 colour = ClassifyWord(line, word, i))
            append(word, colour);

    return line[n - 1] == u'\\' ? state : state & BlockComment;
}
