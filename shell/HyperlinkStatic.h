#pragma once

// A line of text that acts as a link: drawn underlined in pure blue at its
// top-left corner, with the hand cursor while the mouse is over the text
// (from the second mouse move on) and the arrow elsewhere. A click on the text
// opens Url through the desktop; with no Url the parent is sent a
// CHyperlinkStatic::CClickedEvent carrying the control's id instead. Clicks
// beside the text do nothing.

#include <QEvent>
#include <QFont>
#include <QString>
#include <QWidget>

class CHyperlinkStatic : public QWidget
{
    Q_OBJECT

public:
    // What the parent receives for a click on a link without Url.
    class CClickedEvent : public QEvent
    {
    public:
        explicit CClickedEvent(int controlId) : QEvent(Type()), ControlId(controlId) {}
        // The event type: one number for the whole process, registered on
        // first use.
        static QEvent::Type Type();

        int ControlId; // the id of the link that was clicked
    };

    // The control's id is also its object name (common/ControlName.h).
    CHyperlinkStatic(int id, const QString& text, QWidget* parent = nullptr);
    ~CHyperlinkStatic() override;

    int Id() const { return Id_; }
    // The text drawn; a new text is measured again.
    void SetText(const QString& text);
    QString GetText() const { return Text; }

    QString Url; // opened on a click; empty sends the parent a CClickedEvent

    // The extent of the text in the link's font, measured on first need;
    // the clickable rectangle starts at the control's top-left corner.
    QSize TextSize();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateLinkFont();
    void MeasureText();
    bool InsideText(const QPoint& point) const;

    int Id_;
    QString Text;
    QFont LinkFont; // the font the control inherits, underlined
    int TextWidth = 0;
    int TextHeight = 0;
    bool FontCreated = false;
    bool Measured = false;
    bool Tracking = false; // the mouse has moved over the control since it last left
};
