#include "workspace/ResultWriter.h"

#include "common/TextConversion.h"

#include <QElapsedTimer>

namespace {

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Right = Qt::AlignRight;

// Rows reach the views at most this often, so that a fill repaints the grid
// as rows come in without laying it out again for every row.
constexpr qint64 FlushMilliseconds = 50;

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

    QElapsedTimer sinceFlush;
    sinceFlush.start();
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
        if (sinceFlush.elapsed() >= FlushMilliseconds) {
            grid.FlushRows();
            sinceFlush.restart();
        }
        if (pump && !pump())
            return false;
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
