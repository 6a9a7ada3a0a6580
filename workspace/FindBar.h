#pragma once

// The find and replace bar under a connection window's editor: the text to
// find, what to put in its place, and whether case matters, only whole words
// count and the search wraps around the end. Searching scans the editor's
// plain text once per command, which takes a few milliseconds even on a
// script of 50,000 lines; Replace All is one step in the undo history.

#include <QList>
#include <QString>
#include <QWidget>

class CSyntaxRichEditCtrl;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CFindBar : public QWidget
{
    Q_OBJECT

public:
    struct CMatch
    {
        qsizetype Start = 0;
        qsizetype Length = 0;
    };

    CFindBar(CSyntaxRichEditCtrl& editor, QWidget* parent);

    // Shows the bar with or without its replace row, takes the editor's
    // selection (when it lies on one line) as the text to find, and gives the
    // find field the focus.
    void ShowFind(bool replace);

    // Selects the next (or previous) match from the caret; false, with a
    // note on the bar, when there is none.
    bool FindNext(bool backward = false);
    // Replaces the selected match, if the selection is one, and finds the
    // next; whether it replaced.
    bool ReplaceNext();
    // Replaces every match; the count replaced.
    int ReplaceAll();

    // Every match of what in text, in order, none overlapping.
    static QList<CMatch> FindAll(const QString& text, const QString& what, bool matchCase,
                                 bool wholeWords);

    QLineEdit* FindText = nullptr;
    QLineEdit* ReplaceText = nullptr;
    QCheckBox* MatchCase = nullptr;
    QCheckBox* WholeWords = nullptr;
    QCheckBox* Wrap = nullptr;
    QLabel* Note = nullptr; // "Not found", how many matched or were replaced

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QList<CMatch> Matches() const;
    void SetReplaceShown(bool shown);

    CSyntaxRichEditCtrl& Editor_;
    QWidget* ReplaceRow_ = nullptr;
};
