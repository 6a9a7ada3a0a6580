#include "workspace/SyntaxRichEditCtrl.h"

#include "workspace/SyntaxHighlighter.h"

#include <QEvent>
#include <QFontDatabase>
#include <QTextBlock>

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

} // namespace

CSyntaxRichEditCtrl::CSyntaxRichEditCtrl(QWidget* parent) : QPlainTextEdit(parent)
{
    setFont(EditorFont());
    BuildFormats();
    Highlighter_ = std::make_unique<CSyntaxHighlighter>(*this);
}

// The highlighter goes first, while the document it watches still exists.
CSyntaxRichEditCtrl::~CSyntaxRichEditCtrl() = default;

void CSyntaxRichEditCtrl::RecolourAll()
{
    Highlighter_->rehighlight();
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
