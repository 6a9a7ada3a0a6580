#include "workspace/SyntaxHighlighter.h"

#include "workspace/SyntaxRichEditCtrl.h"

CSyntaxHighlighter::CSyntaxHighlighter(CSyntaxRichEditCtrl& editor)
    : QSyntaxHighlighter(static_cast<QObject*>(nullptr)), Editor_(editor)
{
    setDocument(editor.document());
}

void CSyntaxHighlighter::highlightBlock(const QString& text)
{
    // -1 is Qt's "no state yet": the first line, or a line never coloured.
    const int previous = previousBlockState();
    const quint32 state = previous == -1 ? 0u : quint32(previous);
    setCurrentBlockState(int(ColourLine(state, text)));
}

// Scans one line that begins in state, paints its blocks and returns its end
// state. A line without text, or any line while the editor has no scanner,
// is left unpainted and passes state on unchanged.
quint32 CSyntaxHighlighter::ColourLine(quint32 state, const QString& text)
{
    ++ColouredLines_;
    const CSyntaxParser* parser = Editor_.Parser;
    if (text.isEmpty() || !parser)
        return state;
    Blocks_.clear();
    Blocks_.reserve(3 * text.size() + 1);
    Blocks_.append(ColourBlock{0, CSyntaxParser::PlainText});
    state = parser->ScanLine(state, text, &Blocks_);
    PaintBlocks(qint32(text.size()));
    return state;
}

// Paints the line's blocks: each one up to the start of the next, the last
// one reached to the end of the line; blocks that start past the line's end
// are not painted. A list with only the preset block, or whose second block
// lies outside the line, paints the whole line in the first block's colour.
void CSyntaxHighlighter::PaintBlocks(qint32 length)
{
    const QList<ColourBlock>& blocks = Blocks_;
    if (blocks.isEmpty()) { // a scanner that emptied the list: plain, as preset
        PaintRange(0, length, length, CSyntaxParser::PlainText);
        return;
    }
    if (blocks.size() == 1 || blocks[1].Start < 0 || blocks[1].Start > length) {
        PaintRange(0, length, length, blocks[0].ColourIndex);
        return;
    }
    qsizetype k = 0;
    for (; k + 1 < blocks.size() && blocks[k + 1].Start <= length; ++k)
        PaintRange(blocks[k].Start, blocks[k + 1].Start, length, blocks[k].ColourIndex);
    if (blocks[k].Start != length)
        PaintRange(blocks[k].Start, length, length, blocks[k].ColourIndex);
}

// Gives the characters [from, to) of the line the format of colourIndex;
// the range is cut to the line, so a scanner's odd starts paint nothing
// outside it.
void CSyntaxHighlighter::PaintRange(qint32 from, qint32 to, qint32 length, qint32 colourIndex)
{
    from = qBound(0, from, length);
    to = qBound(from, to, length);
    if (to > from)
        setFormat(from, to - from, Editor_.ClassFormat(colourIndex));
}
