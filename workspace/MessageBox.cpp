#include "workspace/MessageBox.h"

#include <QApplication>

namespace {

CMessageBoxAnswerer& Answerer()
{
    static CMessageBoxAnswerer answerer;
    return answerer;
}

} // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::Icon icon)
{
    if (Answerer())
        return Answerer()(text, buttons);
    QMessageBox box(icon, QApplication::applicationName(), text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

void SetMessageBoxAnswerer(CMessageBoxAnswerer answerer)
{
    Answerer() = std::move(answerer);
}
