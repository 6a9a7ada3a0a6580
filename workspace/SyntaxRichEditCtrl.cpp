#include "workspace/SyntaxRichEditCtrl.h"

#include "workspace/LineNumberArea.h"
#include "workspace/SyntaxHighlighter.h"

#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QUrl>

namespace {

// "Courier New" 10 pt, not bold; where that family is not installed, the
// system's fixed-pitch font at the same size. Some systems name a font as
// their fixed one that is not of one pitch throughout (a "mono" font with
// double-width glyphs), so the first of the well-known fixed families that is
// takes its place.
QFont EditorFont()
{
    const QString family = QStringLiteral("Courier New");
    QFont font;
    if (QFontDatabase::hasFamily(family)) {
        font = QFont(family);
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setStyleHint(QFont::TypeWriter);
        for (const char* fallback : {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono"}) {
            if (QFontInfo(font).fixedPitch())
                break;
            if (QFontDatabase::hasFamily(QString::fromLatin1(fallback)))
                font.setFamily(QString::fromLatin1(fallback));
        }
    }
    font.setFixedPitch(true);
    font.setPointSize(10);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

// The one local file a drag carries, or empty.
QString DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile() ? url.toLocalFile()
                                                                      : QString();
}

// How many characters of indentation a line starts with that one unindent
// takes off: a tab, or up to four spaces.
int IndentLength(const QString& line)
{
    if (line.startsWith(u'\t'))
        return 1;
    int spaces = 0;
    while (spaces < 4 && spaces < line.size() && line.at(spaces) == u' ')
        ++spaces;
    return spaces;
}

} // namespace

CSyntaxRichEditCtrl::CSyntaxRichEditCtrl(QWidget* parent) : QPlainTextEdit(parent)
{
    setFont(EditorFont());
    BuildFormats();
    Highlighter_ = std::make_unique<CSyntaxHighlighter>(*this);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, Highlighter_.get(),
            &CSyntaxHighlighter::PaintVisibleLines);

    LineNumbers_ = new CLineNumberArea(*this);
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            &CSyntaxRichEditCtrl::UpdateLineNumberMargin);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (!LineNumbersShown_)
            return;
        if (dy != 0)
            LineNumbers_->scroll(0, dy);
        else
            LineNumbers_->update(0, rect.y(), LineNumbers_->width(), rect.height());
    });
    UpdateLineNumberMargin();
}

// The highlighter goes first, while the document it watches still exists.
CSyntaxRichEditCtrl::~CSyntaxRichEditCtrl() = default;

void CSyntaxRichEditCtrl::RecolourAll()
{
    Highlighter_->RecolourAll();
}

void CSyntaxRichEditCtrl::FinishColouring()
{
    Highlighter_->FinishPainting();
}

bool CSyntaxRichEditCtrl::HasUncolouredLines() const
{
    return Highlighter_->HasUnpaintedLines();
}

std::pair<int, int> CSyntaxRichEditCtrl::VisibleLines() const
{
    const int first = qMax(0, firstVisibleBlock().blockNumber());
    // Wrapped lines take more than one row: the count errs on the safe side.
    const int rows = viewport()->height() / qMax(1, fontMetrics().lineSpacing()) + 1;
    return {first, first + rows};
}

// Lines scrolled into view that still wait for their colours get them
// before they are drawn.
void CSyntaxRichEditCtrl::paintEvent(QPaintEvent* event)
{
    Highlighter_->PaintVisibleLines();
    QPlainTextEdit::paintEvent(event);
}

quint32 CSyntaxRichEditCtrl::LineState(int line) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid() || block.userState() == -1)
        return 0;
    return quint32(block.userState());
}

QColor CSyntaxRichEditCtrl::Colour(int colourIndex) const
{
    switch (colourIndex) {
    case 0:
    case 1:
        return palette().color(QPalette::Base);
    case 2:
        return palette().color(QPalette::Text);
    case 3:
        return palette().color(QPalette::Button); // the nearest to the scroll-bar track
    case 4:
        return QColor(0, 0, 0);
    case 5:
        return QColor(255, 255, 255);
    case 6:
        return QColor(0, 0, 255);
    case 7:
        return QColor(128, 0, 128);
    case 8:
        return QColor(0, 128, 0);
    case 9:
        return QColor(255, 0, 0);
    case 10:
        return QColor(96, 96, 96);
    case 11:
        return QColor(128, 0, 0);
    case 12:
        return QColor(0, 128, 192);
    case 13:
        return QColor(0, 0, 128);
    case 14:
        return QColor(0, 128, 192);
    default:
        return QColor(128, 0, 0);
    }
}

const QTextCharFormat& CSyntaxRichEditCtrl::ClassFormat(int colourIndex) const
{
    if (colourIndex < 0 || colourIndex >= TableSize)
        colourIndex = TableSize - 1;
    return Formats_[size_t(colourIndex)];
}

int CSyntaxRichEditCtrl::ColouredLineCount() const
{
    return Highlighter_->ColouredLineCount();
}

void CSyntaxRichEditCtrl::ResetColouredLineCount()
{
    Highlighter_->ResetColouredLineCount();
}

// The system colours of the table follow the palette: a new palette
// rebuilds the formats and repaints the text with them.
void CSyntaxRichEditCtrl::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && Highlighter_) {
        BuildFormats();
        RecolourAll();
    }
}

void CSyntaxRichEditCtrl::BuildFormats()
{
    for (int index = 0; index < TableSize; ++index) {
        QTextCharFormat format;
        format.setForeground(Colour(index));
        format.setFontWeight(index == 6 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(false);
        Formats_[size_t(index)] = format;
    }
}

int CSyntaxRichEditCtrl::LineNumberWidth() const
{
    if (!LineNumbersShown_)
        return 0;
    const int digits = qMax(3, int(QString::number(qMax(1, blockCount())).size()));
    return 8 + fontMetrics().horizontalAdvance(u'9') * digits;
}

void CSyntaxRichEditCtrl::SetLineNumbersShown(bool shown)
{
    LineNumbersShown_ = shown;
    LineNumbers_->setVisible(shown);
    LineNumberDigits_ = -1;
    UpdateLineNumberMargin();
}

// Only a new number of digits moves the text: a keystroke that adds a line
// costs no re-layout.
void CSyntaxRichEditCtrl::UpdateLineNumberMargin()
{
    const int digits = LineNumbersShown_ ? int(QString::number(blockCount()).size()) : 0;
    if (digits == LineNumberDigits_)
        return;
    LineNumberDigits_ = digits;
    setViewportMargins(LineNumberWidth(), 0, 0, 0);
    const QRect area = contentsRect();
    LineNumbers_->setGeometry(area.left(), area.top(), LineNumberWidth(), area.height());
}

void CSyntaxRichEditCtrl::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    LineNumbers_->setGeometry(area.left(), area.top(), LineNumberWidth(), area.height());
}

void CSyntaxRichEditCtrl::PaintLineNumbers(const QPaintEvent& event)
{
    QPainter painter(LineNumbers_);
    painter.fillRect(event.rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int width = LineNumbers_->width() - 4;
    const int height = fontMetrics().height();
    while (block.isValid() && top <= event.rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event.rect().top()) {
            QFont number = font();
            number.setBold(block.blockNumber() == current);
            painter.setFont(number);
            painter.drawText(0, top, width, height, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}

void CSyntaxRichEditCtrl::GoToLine(int line)
{
    const int index = qBound(1, line, blockCount()) - 1;
    QTextCursor cursor(document()->findBlockByNumber(index));
    setTextCursor(cursor);
    centerCursor();
}

std::pair<int, int> CSyntaxRichEditCtrl::SelectedLines() const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    QTextBlock last = document()->findBlock(cursor.selectionEnd());
    // A selection that ends at the start of a line does not take that line.
    if (last != first && cursor.selectionEnd() == last.position())
        last = last.previous();
    return {first.blockNumber(), last.blockNumber()};
}

void CSyntaxRichEditCtrl::IndentLines(bool indent)
{
    const auto [first, last] = SelectedLines();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (int line = first; line <= last; ++line) {
        const QTextBlock block = document()->findBlockByNumber(line);
        edit.setPosition(block.position());
        if (indent) {
            if (!block.text().isEmpty() || first == last)
                edit.insertText(QStringLiteral("\t"));
        } else {
            edit.setPosition(block.position() + IndentLength(block.text()),
                             QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
    }
    edit.endEditBlock();
}

void CSyntaxRichEditCtrl::ToggleLineComments()
{
    const auto [first, last] = SelectedLines();
    bool allCommented = true;
    for (int line = first; line <= last && allCommented; ++line) {
        const QString text = document()->findBlockByNumber(line).text().trimmed();
        allCommented = text.isEmpty() || text.startsWith(QStringLiteral("--"));
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (int line = first; line <= last; ++line) {
        const QTextBlock block = document()->findBlockByNumber(line);
        const QString text = block.text();
        if (!allCommented) {
            if (!text.trimmed().isEmpty() || first == last) {
                edit.setPosition(block.position());
                edit.insertText(QStringLiteral("-- "));
            }
            continue;
        }
        const qsizetype at = text.indexOf(QStringLiteral("--"));
        if (at < 0)
            continue;
        const int length = text.mid(at + 2, 1) == QStringLiteral(" ") ? 3 : 2;
        edit.setPosition(block.position() + int(at));
        edit.setPosition(block.position() + int(at) + length, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
    }
    edit.endEditBlock();
}

void CSyntaxRichEditCtrl::keyPressEvent(QKeyEvent* event)
{
    // Tab with several lines selected, and Shift+Tab anywhere, act on whole
    // lines; a Tab on one line types a tab as always.
    const bool plain = (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
    if (plain && event->key() == Qt::Key_Backtab) {
        IndentLines(false);
        return;
    }
    if (plain && event->key() == Qt::Key_Tab && SelectedLines().first != SelectedLines().second) {
        IndentLines(true);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CSyntaxRichEditCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QPlainTextEdit::dragEnterEvent(event);
}

void CSyntaxRichEditCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QPlainTextEdit::dragMoveEvent(event);
}

void CSyntaxRichEditCtrl::dropEvent(QDropEvent* event)
{
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    emit FileDropped(file);
}
