#pragma once

// The scanner interface of the colouring editor: one line at a time, with the
// state in which the previous line ended. The editor keeps the states and
// paints the blocks; a scanner keeps nothing between calls.

#include <QList>
#include <QStringView>
#include <QtGlobal>

// One run of colour within a line: the characters from Start up to the Start
// of the next block of the list (the last block: to the end of the line).
struct ColourBlock
{
    qint32 Start;       // character position in the line, from 0
    qint32 ColourIndex; // index into the editor's colour table
};

class CSyntaxParser
{
public:
    // Line state bits: what is still open at the end of a line (0 = plain text).
    enum : quint32
    {
        LineComment = 1,  // inside a // comment
        BlockComment = 4, // inside a /* */ comment
        DoubleQuoted = 8, // inside a string in quotation marks
        SingleQuoted = 16 // inside a string in apostrophes
    };
    static constexpr quint32 LineStateBits =
        LineComment | BlockComment | DoubleQuoted | SingleQuoted;

    // Colour classes: the indices of the editor's colour table they are painted with.
    enum : qint32
    {
        PlainText = 2,    // names, and words that fall in no other class
        Keyword = 6,      // words of the keyword list
        FunctionName = 7, // a name followed by '('
        Comment = 8,      // comments, with their delimiters
        Number = 9,       // numeric literals
        Operator = 10,    // punctuation, operators, white space
        String = 11,      // strings, with their quotes
        TypeName = 13     // words of the type list
    };

    virtual ~CSyntaxParser();

    // Scans one line (its text without the line break) that begins in state
    // and returns the state in which it ends. When blockList is given, the
    // line's colour blocks are appended to it; the caller's list already
    // holds the block (0, PlainText). Without a list only the returned state
    // is worked out.
    virtual quint32 ScanLine(quint32 state, QStringView line,
                             QList<ColourBlock>* blockList) const = 0;

protected:
    // Appends (start, colourIndex) unless start lies before the start of the
    // list's last block, in which case the block is dropped. Blocks may share
    // a start; the later one decides the colour.
    static void AppendBlock(QList<ColourBlock>& blockList, qint32 start, qint32 colourIndex)
    {
        if (blockList.isEmpty() || start >= blockList.constLast().Start)
            blockList.append(ColourBlock{start, colourIndex});
    }
};
