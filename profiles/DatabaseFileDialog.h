#pragma once

// The file dialogs that ask for an SQLite database file, in the connection
// dialog and at the first start. Like the message boxes, they go through
// here so that a test can answer them instead of a person.

#include <QString>
#include <functional>

class QWidget;

// An existing database file to open (SQLite files listed first, all files
// too), starting at suggested; empty when the user cancels.
QString AskDatabaseFile(QWidget* parent, const QString& suggested);
// Where to make a new database file, starting at suggested; empty when the
// user cancels.
QString AskNewDatabaseFile(QWidget* parent, const QString& suggested);

// While set, the dialogs show nothing and return what the answerer says
// (create is true for AskNewDatabaseFile). Empty brings the dialogs back.
using CDatabaseFileAnswerer = std::function<QString(bool create, const QString& suggested)>;
void SetDatabaseFileAnswerer(CDatabaseFileAnswerer answerer);
