#include "workspace/Substrate.h"

#include "workspace/ConnectionWnd.h"

#include <QPainter>

void CSubstrate::LayOutConnectionWindows()
{
    const QList<QWidget*> windows =
        findChildren<QWidget*>(CConnectionWnd::WindowName, Qt::FindChildrenRecursively);
    for (QWidget* window : windows) {
        window->setGeometry(rect());
        window->update();
    }
}

void CSubstrate::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSubstrate::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutConnectionWindows();
}
