#pragma once

// The result grid of a connection window: a read-only report of the rows in
// its CResultModel. Cells, rows and columns can be selected (a click on the
// "#" header selects everything, a click on a row's number the row) and
// copied as tab-separated text. Column widths follow the model until the user
// drags one, which then keeps its width until the grid is filled anew;
// double-clicking a header's edge fits the column to every row loaded. The
// model holds each column's natural width; the grid lets a result column
// take at most a third of its own width, as wide as it is at the time. A NULL
// cell shows "NULL" in grey italics; a cut cell shows its whole text as its
// tooltip. Images 0 and 1 are the failure and success marks.

#include "workspace/ResultModel.h"

#include <QSet>
#include <QTreeView>

class CResultGrid : public QTreeView
{
    Q_OBJECT

public:
    explicit CResultGrid(QWidget* parent = nullptr);

    CResultModel& Model() { return Model_; }
    // The width of the area that shows the rows.
    int ClientWidth() const;
    // The widest a column grows by itself: a third of the visible width.
    int MaxColumnWidth() const;
    // The width of a text in the grid's font.
    int MeasureText(const QString& text) const;

    // The selected cells as lines of tab-separated fields, in grid order: a
    // field holding a tab, a line break or a double quote is put in double
    // quotes with its quotes doubled; NULL is an empty field. The "#" column
    // is left out unless it alone is selected. The log's rows are their text.
    QString SelectionText(bool withHeaders) const;
    // SelectionText on the clipboard.
    void CopySelection(bool withHeaders);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyWidths(int first, int last);
    void ApplyWidth(int column);
    void FitToEveryRow(int column);
    void SelectColumn(int column);

    CResultModel Model_;
    QSet<int> SizedByUser_; // columns the user has dragged since the grid was filled
    bool Applying_ = false; // the grid itself is setting widths
};
