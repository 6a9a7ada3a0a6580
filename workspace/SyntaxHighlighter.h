#pragma once

// Feeds the editor's document, line by line, to the editor's scanner and
// paints the colour blocks it returns. Qt's highlighter machinery keeps each
// line's end state (the block's user state) and, after an edit, re-colours
// from the first changed line on, going past the edited lines only while a
// line ends in a state other than the one stored for it. Its formats live in
// the text layout, not in the document: colouring never enters the undo
// history and never touches the caret or the selection.

#include "workspace/SyntaxParser.h"

#include <QSyntaxHighlighter>

class CSyntaxRichEditCtrl;

class CSyntaxHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    // Colours editor's document with editor.Parser and editor's colour table.
    explicit CSyntaxHighlighter(CSyntaxRichEditCtrl& editor);

    // Lines coloured since the last reset: a line counts each time it is
    // scanned and painted (or passed over for having no text or no scanner).
    int ColouredLineCount() const { return ColouredLines_; }
    void ResetColouredLineCount() { ColouredLines_ = 0; }

protected:
    void highlightBlock(const QString& text) override;

private:
    quint32 ColourLine(quint32 state, const QString& text);
    void PaintBlocks(qint32 length);
    void PaintRange(qint32 from, qint32 to, qint32 length, qint32 colourIndex);

    CSyntaxRichEditCtrl& Editor_;
    QList<ColourBlock> Blocks_; // the current line's blocks, kept to reuse its memory
    int ColouredLines_ = 0;
};
