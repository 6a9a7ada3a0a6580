#pragma once

// A result grid as lines of text, for comparing with what a test expects:
// first the headers, each followed by ">" when right-aligned or "<" when
// left-aligned; then one line per row, its mark ("+" success, "x" failure,
// " " none), a blank, and its cells joined by "|".

#include "workspace/ResultModel.h"

#include <QStringList>

inline QStringList GridText(const CResultModel& grid)
{
    QStringList headers;
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        const CResultModel::CColumn& column = grid.Column(c);
        headers.append(column.Header + (column.Alignment & Qt::AlignRight ? u'>' : u'<'));
    }
    QStringList lines{headers.join(u'|')};
    for (int r = 0; r < grid.RowCount(); ++r) {
        const int image = grid.Image(r);
        QStringList cells;
        for (int c = 0; c < grid.ColumnCount(); ++c)
            cells.append(grid.Text(r, c));
        const QChar mark = image == SuccessImage ? u'+' : image == FailureImage ? u'x' : u' ';
        lines.append(mark + QStringLiteral(" ") + cells.join(u'|'));
    }
    return lines;
}
