#pragma once

// The workspace: the right-hand pane of the main window, in which the
// connection windows lie on top of each other. It paints a grey surface with
// a thin black outline where no window covers it, and keeps every window
// below it named "connection-child" (exactly, letter case included) at its
// whole area, hidden ones too. Other windows keep their size.

#include <QWidget>

class CSubstrate : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Moves every connection window below the pane to its area.
    void LayOutConnectionWindows();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
