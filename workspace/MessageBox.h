#pragma once

// Every message box of the program goes through here, so that a test can
// answer it instead of a person.

#include <QMessageBox>
#include <functional>

// Shows text in a modal box captioned with the application's name and
// returns the button pressed.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::Icon icon = QMessageBox::Information);

// While set, ShowMessageBox shows nothing and returns what the answerer
// says. An empty answerer brings the real boxes back.
using CMessageBoxAnswerer =
    std::function<QMessageBox::StandardButton(const QString& text, QMessageBox::StandardButtons)>;
void SetMessageBoxAnswerer(CMessageBoxAnswerer answerer);
