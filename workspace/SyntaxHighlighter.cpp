#include "workspace/SyntaxHighlighter.h"

#include "workspace/SyntaxRichEditCtrl.h"

#include <QElapsedTimer>
#include <QTextDocument>
#include <QTextLayout>
#include <functional>

namespace {

// What a painted line carries: the generation of colours it was painted in.
class CPaintMark : public QTextBlockUserData
{
public:
    explicit CPaintMark(int generation) : Generation(generation) {}
    int Generation;
};

// The state in which the line before block ended; 0 before the first line
// and for a line never scanned (-1, Qt's "no state").
quint32 StateBefore(const QTextBlock& block)
{
    const QTextBlock previous = block.previous();
    return previous.isValid() && previous.userState() != -1 ? quint32(previous.userState()) : 0u;
}

// Collects the ranges whose layout has to be redone, joining neighbours,
// and hands each finished run to markDirty.
class CDirtyRuns
{
public:
    explicit CDirtyRuns(std::function<void(int, int)> markDirty) : MarkDirty_(std::move(markDirty))
    {
    }
    ~CDirtyRuns() { Flush(); }

    void Add(const QTextBlock& block)
    {
        const int from = block.position();
        const int to = from + block.length();
        if (From_ >= 0 && from == To_) {
            To_ = to;
            return;
        }
        Flush();
        From_ = from;
        To_ = to;
    }

    void Flush()
    {
        if (From_ >= 0)
            MarkDirty_(From_, To_);
        From_ = -1;
    }

private:
    std::function<void(int, int)> MarkDirty_;
    int From_ = -1;
    int To_ = -1;
};

// The time one idle step may paint for; the program answers in between.
constexpr int PaintStepMilliseconds = 8;

} // namespace

CSyntaxHighlighter::CSyntaxHighlighter(CSyntaxRichEditCtrl& editor) : Editor_(editor)
{
    connect(editor.document(), &QTextDocument::contentsChange, this,
            &CSyntaxHighlighter::OnContentsChange);
    PaintTimer_.setInterval(0);
    connect(&PaintTimer_, &QTimer::timeout, this, &CSyntaxHighlighter::PaintSomeLines);
}

void CSyntaxHighlighter::RecolourAll()
{
    ++Generation_; // every line waits for its paint again
    QTextDocument* document = Editor_.document();
    Recolour(0, document->characterCount());
}

void CSyntaxHighlighter::OnContentsChange(int position, int removed, int added)
{
    if (Painting_)
        return;
    // The lines of the change, the last one whole; a removal may have joined
    // the line after it.
    QTextDocument* document = Editor_.document();
    const QTextBlock last = document->findBlock(position + added + (removed > 0 ? 1 : 0));
    const QTextBlock end = last.isValid() ? last : document->lastBlock();
    Recolour(position, end.position() + end.length());
}

void CSyntaxHighlighter::Recolour(int position, int end)
{
    QTextBlock block = Editor_.document()->findBlock(position);
    if (!block.isValid())
        return;
    const auto [firstVisible, lastVisible] = VisibleLines();
    quint32 state = StateBefore(block);
    int painted = 0;
    bool waiting = false;
    CDirtyRuns dirty([this](int from, int to) { MarkDirty(from, to); });
    bool stateChanged = false;
    // Counted along: asking a block for its number or position costs a search.
    int number = block.blockNumber();
    int blockStart = block.position();
    for (; block.isValid() && (blockStart < end || stateChanged); ++number) {
        const int stored = block.userState();
        if (painted < LinesPaintedAtOnce || (number >= firstVisible && number <= lastVisible)) {
            state = Scan(state, block.text(), true);
            Paint(block);
            dirty.Add(block);
            ++painted;
        } else {
            state = Scan(state, block.text(), false);
            // A line whose text changed loses its old colours at once, so
            // that no colour lands on the wrong characters while it waits.
            // A line never painted has none to lose.
            if (auto* mark = static_cast<CPaintMark*>(block.userData())) {
                if (blockStart < end)
                    ClearPaint(block);
                mark->Generation = 0;
            }
            waiting = true;
        }
        block.setUserState(int(state));
        stateChanged = int(state) != stored;
        blockStart += block.length();
        block = block.next();
    }
    dirty.Flush();
    if (waiting)
        PaintTimer_.start();
}

// Scans one line that begins in state and returns its end state; with
// withBlocks, its colour blocks are left in Blocks_. A line without text, or
// any line while the editor has no scanner, has no blocks and passes state
// on unchanged.
quint32 CSyntaxHighlighter::Scan(quint32 state, const QString& text, bool withBlocks)
{
    ++ColouredLines_;
    Blocks_.clear();
    const CSyntaxParser* parser = Editor_.Parser;
    if (text.isEmpty() || !parser)
        return state;
    if (!withBlocks)
        return parser->ScanLine(state, text, nullptr);
    Blocks_.reserve(3 * text.size() + 1);
    Blocks_.append(ColourBlock{0, CSyntaxParser::PlainText});
    return parser->ScanLine(state, text, &Blocks_);
}

bool CSyntaxHighlighter::IsPainted(const QTextBlock& block) const
{
    const auto* mark = static_cast<const CPaintMark*>(block.userData());
    return mark && mark->Generation == Generation_;
}

// Gives block the formats of the blocks Scan left: each block up to the
// start of the next, the last one to the end of the line; blocks that start
// past the line's end are not painted. A list with only the preset block, or
// whose second block lies outside the line, paints the whole line in the
// first block's colour; an empty list (no text, no scanner, or a scanner
// that emptied it) paints nothing.
void CSyntaxHighlighter::Paint(QTextBlock& block)
{
    const qint32 length = qint32(block.length() - 1);
    QList<QTextLayout::FormatRange> ranges;
    const auto paint = [&](qint32 from, qint32 to, qint32 colourIndex) {
        from = qBound(0, from, length);
        to = qBound(from, to, length);
        if (to <= from)
            return;
        const QTextCharFormat& format = Editor_.ClassFormat(colourIndex);
        if (!ranges.isEmpty() && ranges.constLast().start + ranges.constLast().length == from &&
            ranges.constLast().format == format) {
            ranges.last().length += to - from;
            return;
        }
        ranges.append(QTextLayout::FormatRange{from, to - from, format});
    };
    const QList<ColourBlock>& blocks = Blocks_;
    if (blocks.size() == 1 || (blocks.size() > 1 && (blocks[1].Start < 0 ||
                                                      blocks[1].Start > length))) {
        paint(0, length, blocks[0].ColourIndex);
    } else if (!blocks.isEmpty()) {
        qsizetype k = 0;
        for (; k + 1 < blocks.size() && blocks[k + 1].Start <= length; ++k)
            paint(blocks[k].Start, blocks[k + 1].Start, blocks[k].ColourIndex);
        paint(blocks[k].Start, length, blocks[k].ColourIndex);
    }
    QTextLayout* layout = block.layout();
    if (layout->formats() != ranges)
        layout->setFormats(ranges);
    if (auto* mark = static_cast<CPaintMark*>(block.userData()))
        mark->Generation = Generation_;
    else
        block.setUserData(new CPaintMark(Generation_));
}

void CSyntaxHighlighter::ClearPaint(QTextBlock& block)
{
    QTextLayout* layout = block.layout();
    if (!layout->formats().isEmpty())
        layout->clearFormats();
}

void CSyntaxHighlighter::MarkDirty(int from, int to)
{
    Painting_ = true;
    Editor_.document()->markContentsDirty(from, to - from);
    Painting_ = false;
}

void CSyntaxHighlighter::PaintVisibleLines()
{
    if (!PaintTimer_.isActive())
        return; // nothing waits
    const auto [first, last] = VisibleLines();
    CDirtyRuns dirty([this](int from, int to) { MarkDirty(from, to); });
    for (QTextBlock block = Editor_.document()->findBlockByNumber(first);
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (IsPainted(block))
            continue;
        Scan(StateBefore(block), block.text(), true);
        Paint(block);
        dirty.Add(block);
    }
}

// One idle step: the lines in view first, then on from where the last step
// stopped, going round the text once at most; when a whole round found
// nothing left to paint, the steps end.
void CSyntaxHighlighter::PaintSomeLines()
{
    PaintVisibleLines();
    QTextDocument* document = Editor_.document();
    const int count = document->blockCount();
    QTextBlock block = document->findBlockByNumber(qBound(0, NextToPaint_, count - 1));
    QElapsedTimer timer;
    timer.start();
    CDirtyRuns dirty([this](int from, int to) { MarkDirty(from, to); });
    int checked = 0;
    for (; checked < count; ++checked) {
        if (!block.isValid())
            block = document->firstBlock();
        if (!IsPainted(block)) {
            if (timer.elapsed() >= PaintStepMilliseconds)
                break;
            Scan(StateBefore(block), block.text(), true);
            Paint(block);
            dirty.Add(block);
        }
        block = block.next();
    }
    NextToPaint_ = block.isValid() ? block.blockNumber() : 0;
    if (checked >= count)
        PaintTimer_.stop();
}

void CSyntaxHighlighter::FinishPainting()
{
    while (PaintTimer_.isActive())
        PaintSomeLines();
}

std::pair<int, int> CSyntaxHighlighter::VisibleLines() const
{
    return Editor_.VisibleLines();
}
