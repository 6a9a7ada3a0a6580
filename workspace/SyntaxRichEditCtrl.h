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

class CLineNumberArea;
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
    // A change of many lines paints the lines in view at once and the rest
    // while the program is idle; this paints what still waits, now.
    void FinishColouring();
    bool HasUncolouredLines() const;
    // The block numbers of the first line in view and of the last line that
    // fits in the view (which may lie past the end of the text).
    std::pair<int, int> VisibleLines() const;

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

    // The margin of line numbers, shown unless switched off.
    void SetLineNumbersShown(bool shown);
    bool LineNumbersShown() const { return LineNumbersShown_; }
    int LineNumberWidth() const;
    void PaintLineNumbers(const QPaintEvent& event);

    // Puts the caret at the start of line (1-based; clamped to the text).
    void GoToLine(int line);
    // Indents every line the selection touches by one tab, or takes one
    // level of indentation (a tab, or up to four spaces) off them; one undo
    // step.
    void IndentLines(bool indent);
    // Puts "-- " before every line the selection touches, or, when each of
    // them that holds text already starts with "--", takes that off; one
    // undo step.
    void ToggleLineComments();

    // The scanner; not owned, it must outlive its use here. Without one
    // nothing is coloured.
    const CSyntaxParser* Parser = nullptr;

signals:
    // A local file was dropped on the editor (it is not inserted as text).
    void FileDropped(const QString& path);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildFormats();
    void UpdateLineNumberMargin();
    // The first and last block the selection (or the caret) touches.
    std::pair<int, int> SelectedLines() const;

    static constexpr int TableSize = 16; // indices 0 to 14, and 15 for all others
    std::array<QTextCharFormat, TableSize> Formats_;
    std::unique_ptr<CSyntaxHighlighter> Highlighter_;
    CLineNumberArea* LineNumbers_ = nullptr;
    bool LineNumbersShown_ = true;
    int LineNumberDigits_ = 0; // the digits the margin has room for
};
