#include "shell/HyperlinkStatic.h"

#include "common/ControlName.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace {

QFont Underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

} // namespace

QEvent::Type CHyperlinkStatic::CClickedEvent::Type()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CHyperlinkStatic::CHyperlinkStatic(int id, const QString& text, QWidget* parent)
    : QWidget(parent), Id_(id)
{
    setObjectName(ControlName(id));
    setMouseTracking(true); // moves arrive without a button held
    setCursor(Qt::ArrowCursor);
    SetText(text);
}

CHyperlinkStatic::~CHyperlinkStatic() = default;

void CHyperlinkStatic::SetText(const QString& text)
{
    Text = text;
    Measured = false;
    updateGeometry();
    update();
}

QSize CHyperlinkStatic::TextSize()
{
    MeasureText();
    return {TextWidth, TextHeight};
}

QSize CHyperlinkStatic::sizeHint() const
{
    return QFontMetrics(Underlined(font())).size(0, Text);
}

QSize CHyperlinkStatic::minimumSizeHint() const
{
    return sizeHint();
}

void CHyperlinkStatic::CreateLinkFont()
{
    LinkFont = Underlined(font());
    FontCreated = true;
}

void CHyperlinkStatic::MeasureText()
{
    if (!FontCreated)
        CreateLinkFont();
    if (Measured)
        return;
    const QSize extent = QFontMetrics(LinkFont).size(0, Text);
    TextWidth = extent.width();
    TextHeight = extent.height();
    Measured = true;
}

bool CHyperlinkStatic::InsideText(const QPoint& point) const
{
    return point.x() >= 0 && point.y() >= 0 && point.x() < TextWidth && point.y() < TextHeight;
}

void CHyperlinkStatic::paintEvent(QPaintEvent* /*event*/)
{
    if (!FontCreated)
        CreateLinkFont();
    QPainter painter(this);
    painter.setFont(LinkFont);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(QRect(QPoint(0, 0), size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     Text);
}

void CHyperlinkStatic::mouseMoveEvent(QMouseEvent* event)
{
    // The first move only marks that the mouse is here; the cursor follows
    // the text from the next one on.
    if (!Tracking) {
        Tracking = true;
    } else {
        MeasureText();
        setCursor(InsideText(event->position().toPoint()) ? Qt::PointingHandCursor
                                                          : Qt::ArrowCursor);
    }
    QWidget::mouseMoveEvent(event);
}

void CHyperlinkStatic::leaveEvent(QEvent* event)
{
    Tracking = false;
    setCursor(Qt::ArrowCursor);
    QWidget::leaveEvent(event);
}

void CHyperlinkStatic::mousePressEvent(QMouseEvent* event)
{
    MeasureText();
    if (event->button() == Qt::LeftButton && InsideText(event->position().toPoint())) {
        if (!Url.isEmpty()) {
            // What the desktop makes of the address is its own affair.
            QDesktopServices::openUrl(QUrl::fromUserInput(Url));
        } else if (QWidget* parent = parentWidget()) {
            CClickedEvent clicked(Id_);
            QCoreApplication::sendEvent(parent, &clicked);
        }
    }
    QWidget::mousePressEvent(event);
}

void CHyperlinkStatic::changeEvent(QEvent* event)
{
    // A new font makes a new link font, measured again.
    if (event->type() == QEvent::FontChange) {
        FontCreated = false;
        Measured = false;
        updateGeometry();
    }
    QWidget::changeEvent(event);
}
