#pragma once

// The result grid of a connection window: a read-only report of the rows in
// its CResultModel, one row selected at a time and selected as a whole, the
// selection shown even while the grid has no focus. Column widths follow the
// model; images 0 and 1 are the failure and success marks.

#include "workspace/ResultModel.h"

#include <QTreeView>

class CResultGrid : public QTreeView
{
    Q_OBJECT

public:
    explicit CResultGrid(QWidget* parent = nullptr);

    CResultModel& Model() { return Model_; }
    // The width of the area that shows the rows.
    int ClientWidth() const;
    // The width of a header text in the grid's font.
    int MeasureText(const QString& text) const;

private:
    void ApplyWidths(int first, int last);

    CResultModel Model_;
};
