#pragma once

// The help the F1 and Shift+F1 keys open: a short page of the commands, where
// they are, their keys and what they do, made from the command table.

#include <QString>

class QWidget;

// The page as HTML.
QString HelpPageText();
// Shows the page in a modal window over parent.
void ShowHelpPage(QWidget* parent);
