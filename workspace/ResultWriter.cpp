#include "workspace/ResultWriter.h"

#include "common/TextConversion.h"

#include <QElapsedTimer>

namespace {

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Right = Qt::AlignRight;

// Rows reach the views after this much time spent reading them, so that a
// fill repaints the grid as rows come in without laying it out again for
// every row. Time in the pump is not counted: where painting is slower than
// this (a large grid, a remote display), counting it would flush and repaint
// after every row.
constexpr qint64 FlushNanoseconds = 50 * 1000 * 1000;

} // namespace

void ClearResultGrid(CResultModel& grid)
{
    grid.DeleteAllRows();
    while (grid.ColumnCount() > 0)
        grid.DeleteColumn(0);
}

bool FillResultGrid(CAbstractRecordset& recordset, CResultModel& grid, const CTextMeasure& measure,
                    const CRowPump& pump)
{
    ClearResultGrid(grid);
    grid.InsertColumn(0, QStringLiteral("#"), Right, NumberColumnWidth);
    bool hasRow = recordset.MoveNext();
    const int columns = recordset.GetColumnCount();
    for (int i = 0; i < columns; ++i) {
        const QString name = recordset.GetColumnName(i);
        const int width = (measure ? measure(name) : 0) + HeaderPadding;
        grid.InsertColumn(i + 1, name, recordset.IsText(i) ? Left : Right, width);
    }

    qint64 readingSinceFlush = 0; // nanoseconds
    QElapsedTimer sincePump;
    sincePump.start();
    while (hasRow && grid.RowCount() < MaxResultRows) {
        QStringList cells;
        cells.reserve(columns + 1);
        cells.append(IntToText(grid.RowCount() + 1));
        for (int i = 0; i < columns; ++i)
            cells.append(recordset.GetString(i));
        grid.AppendRow(std::move(cells));
        hasRow = recordset.MoveNext();
        if (!hasRow)
            break;
        readingSinceFlush += sincePump.nsecsElapsed();
        if (readingSinceFlush >= FlushNanoseconds) {
            grid.FlushRows();
            readingSinceFlush = 0;
        }
        if (pump && !pump())
            return false;
        sincePump.restart();
    }

    QString error;
    if (!hasRow && recordset.GetFetchError(error))
        grid.AppendRow({QString(), QStringLiteral("- Error: ") + ToLogLine(error)}, FailureImage);
    grid.FlushRows();
    return true;
}

void WriteLog(const CScriptRun& run, CResultModel& grid, int width)
{
    ClearResultGrid(grid);
    grid.InsertColumn(0, QString(), Left, width);
    for (int i = 0; i < run.Statements.size(); ++i) {
        const QString& outcome = run.Outcomes.at(i);
        grid.AppendRow({ToLogLine(run.Statements.at(i))},
                       outcome.isEmpty() ? SuccessImage : FailureImage);
        grid.AppendRow({outcome.isEmpty() ? QStringLiteral("- Success")
                                          : QStringLiteral("- Error: ") + ToLogLine(outcome)});
    }
    grid.FlushRows();
}

bool ShowScriptRun(CScriptRun& run, CResultModel& grid, const CTextMeasure& measure, int logWidth,
                   const CRowPump& pump)
{
    if (!run.Recordset) {
        WriteLog(run, grid, logWidth);
        return true;
    }
    const bool finished = FillResultGrid(*run.Recordset, grid, measure, pump);
    run.Recordset.reset();
    return finished;
}
