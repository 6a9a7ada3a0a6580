#pragma once

// The SQL editor of a connection window: a plain-text edit in a fixed-pitch
// font that keeps its text coloured while it is typed. Each line is scanned
// by Parser with the state in which the line before it ended; the end state
// of every line is kept, and after an edit only the changed lines and the
// lines whose end state changed with them are coloured again.

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <array>
#include <memory>

class CSyntaxParser;
class CSyntaxHighlighter;

class CSyntaxRichEditCtrl : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CSyntaxRichEditCtrl(QWidget* parent = nullptr);
    ~CSyntaxRichEditCtrl() override;

    // Colours the whole text again, e.g. after Parser was set or changed.
    // The caret and the selection stay where they are.
    void RecolourAll();

    // The scanner state at the end of line (0 = plain text); 0 for a line
    // that does not exist or has not been coloured yet.
    quint32 LineState(int line) const;

    // The colour table, by colour class index: 0 and 1 the window background,
    // 2 the window text, 3 the scroll-bar colour, then fixed colours; every
    // index outside 0 to 14 has the colour of 15 and above, (128, 0, 0).
    QColor Colour(int colourIndex) const;
    // What painting a class sets: its colour, bold exactly for index 6, never
    // italic. Font face and size stay as they are.
    const QTextCharFormat& ClassFormat(int colourIndex) const;

    // Lines coloured since the last reset (each scan of a line counts).
    int ColouredLineCount() const;
    void ResetColouredLineCount();

    // The scanner; not owned, it must outlive its use here. Without one
    // nothing is coloured.
    const CSyntaxParser* Parser = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildFormats();

    static constexpr int TableSize = 16; // indices 0 to 14, and 15 for all others
    std::array<QTextCharFormat, TableSize> Formats_;
    std::unique_ptr<CSyntaxHighlighter> Highlighter_;
};
