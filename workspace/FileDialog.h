#pragma once

// The questions the editor's commands ask in a dialog of their own: which
// SQL file to open or save to, and which line to go to. Like the message
// boxes, they go through here so that a test can answer them.

#include <QString>
#include <functional>

class QWidget;

// The SQL file to open, or empty when the user cancels.
QString AskOpenSqlFile(QWidget* parent, const QString& folder);
// Where to save, suggested first; empty when the user cancels.
QString AskSaveSqlFile(QWidget* parent, const QString& suggested);
// The line (1-based, 1 to last) to go to; 0 when the user cancels.
int AskLineNumber(QWidget* parent, int current, int last);

// While set, the questions show nothing and return what the answerer says.
// File answers get save = false for Open; Line gets the current and last line.
struct CDialogAnswerer
{
    std::function<QString(bool save, const QString& suggested)> File;
    std::function<int(int current, int last)> Line;
};
void SetDialogAnswerer(CDialogAnswerer answerer);
