#pragma once

// The SQL scanner of the colouring editor. It knows two word lists (SQL
// keywords and type names), // and /* */ comments, strings in quotation marks
// and in apostrophes with backslash escapes, numbers, and names followed by
// an opening parenthesis. The SQL comment that starts with two hyphens is not
// known: such text scans as ordinary text. A dollar quote ($$, $tag$) is
// coloured as a string, and what stands between two of them (a function
// body) as code.
//
// The scanner has no fields; one object serves every editor.

#include "workspace/SyntaxParser.h"

class CSQLSyntaxParser : public CSyntaxParser
{
public:
    // Returns the state at the end of the line: the incoming state with only
    // its BlockComment bit kept for a line of 0 or 1 characters; otherwise
    // the state left by the scan, all of it when the line ends in a backslash
    // and only its BlockComment bit when not. So strings and // comments end
    // with their line unless a backslash carries them on, and a /* */ comment
    // runs on until "*/". Bits of the incoming state outside LineStateBits
    // are ignored.
    quint32 ScanLine(quint32 state, QStringView line, QList<ColourBlock>* blockList) const override;
};
