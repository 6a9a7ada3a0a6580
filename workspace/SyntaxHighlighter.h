#pragma once

// Keeps the editor's document coloured: feeds it, line by line, to the
// editor's scanner and paints the colour blocks it returns. Each line's end
// state is kept as its block's user state; after an edit the changed lines
// are scanned again, and the lines after them only while a line ends in a
// state other than the one stored for it. The formats live in the text
// layout, not in the document: colouring never enters the undo history and
// never touches the caret or the selection.
//
// Scanning is cheap and always done at once, so every stored state is right
// as soon as an edit ends. Painting is what costs: when one change touches
// many lines (a file opened, a comment opened at the top), the lines in view
// and the first lines of the change are painted at once and the others in
// small steps while the program is idle; a line scrolled into view is
// painted before it is shown.

#include "workspace/SyntaxParser.h"

#include <QList>
#include <QObject>
#include <QTextBlock>
#include <QTimer>

class CSyntaxRichEditCtrl;

class CSyntaxHighlighter : public QObject
{
    Q_OBJECT

public:
    // Colours editor's document with editor.Parser and editor's colour table.
    explicit CSyntaxHighlighter(CSyntaxRichEditCtrl& editor);

    // Scans every line again and paints it anew (at once or soon, as above).
    void RecolourAll();
    // Paints the lines in view that still wait for their paint.
    void PaintVisibleLines();
    // Paints every line that still waits, now.
    void FinishPainting();
    bool HasUnpaintedLines() const { return PaintTimer_.isActive(); }

    // Lines scanned since the last reset: a line counts each time its state
    // is worked out and each time it is painted.
    int ColouredLineCount() const { return ColouredLines_; }
    void ResetColouredLineCount() { ColouredLines_ = 0; }

    // The lines one change paints at once besides the lines in view.
    static constexpr int LinesPaintedAtOnce = 500;

private:
    void OnContentsChange(int position, int removed, int added);
    // Scans from the line at position on, until past end and then as long
    // as the stored states change.
    void Recolour(int position, int end);
    quint32 Scan(quint32 state, const QString& text, bool withBlocks);
    bool IsPainted(const QTextBlock& block) const;
    // Paints block with the colour blocks the last Scan left.
    void Paint(QTextBlock& block);
    void ClearPaint(QTextBlock& block);
    // The layout of [from, to) is redone after its formats changed.
    void MarkDirty(int from, int to);
    void PaintSomeLines();
    // The block numbers of the first and the last line in view.
    std::pair<int, int> VisibleLines() const;

    CSyntaxRichEditCtrl& Editor_;
    QList<ColourBlock> Blocks_; // the current line's blocks, kept to reuse its memory
    int ColouredLines_ = 0;
    int Generation_ = 1;   // lines painted since the last RecolourAll carry it
    int NextToPaint_ = 0;  // where the idle painting goes on
    bool Painting_ = false; // our own layout changes are no edits
    QTimer PaintTimer_;
};
