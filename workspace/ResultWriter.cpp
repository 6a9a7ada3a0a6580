#include "workspace/ResultWriter.h"

#include "common/TextConversion.h"

#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <utility>
#include <vector>

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

bool ReadResultRows(CAbstractRecordset& recordset, const CResultSink& sink, CRunControl* control,
                    const CRowPump& pump)
{
    CResultPiece piece;
    piece.HasColumns = true;
    bool hasRow = recordset.MoveNext();
    const int columns = recordset.GetColumnCount();
    for (int i = 0; i < columns; ++i) {
        piece.Names.append(recordset.GetColumnName(i));
        piece.TextColumns.append(recordset.IsText(i));
    }

    int rows = 0;
    bool stopped = false;
    const int limit = control ? control->RowLimit.load() : MaxResultRows;
    qint64 readingSinceFlush = 0; // nanoseconds
    QElapsedTimer sincePump;
    sincePump.start();
    QByteArray scratch;
    qsizetype rowBytes = 0; // the last row's size: the next is much like it
    while (hasRow && (limit <= 0 || rows < limit)) {
        CResultRow cells;
        cells.Reserve(rowBytes + rowBytes / 4);
        for (int i = 0; i < columns; ++i) {
            if (recordset.IsNull(i))
                cells.AppendNull();
            else
                cells.AppendUtf8(recordset.GetUtf8(i, scratch));
        }
        rowBytes = cells.Size();
        piece.Rows.append(std::move(cells));
        ++rows;
        if (control) {
            control->RowsRead = rows;
            stopped = control->Stopping();
        }
        if (stopped)
            break;
        hasRow = recordset.MoveNext();
        if (!hasRow)
            break;
        // The clock is read every so many rows: for small rows it would cost
        // as much as reading them.
        if (rows % 64 == 0 || pump) {
            readingSinceFlush += sincePump.nsecsElapsed();
            if (readingSinceFlush >= FlushNanoseconds) {
                sink(std::exchange(piece, CResultPiece()));
                readingSinceFlush = 0;
            }
            if (pump && !pump())
                return false;
            sincePump.restart();
        }
    }

    piece.Last = true;
    piece.MoreRows = hasRow && !stopped && limit > 0 && rows >= limit;
    QString error;
    // A fetch that an interrupt ended fails with the library's message; the
    // user asked for that, so it reads as a stop.
    const bool failed = !hasRow && recordset.GetFetchError(error);
    if (control && control->Stopping() && (stopped || failed))
        piece.EndLine = StoppedRowsLine(rows);
    else if (failed)
        piece.EndLine = QStringLiteral("- Error: ") + ToLogLine(error);
    sink(std::move(piece));
    return true;
}

namespace {

// The rows that hold a column's longest cells. Measuring every cell of a
// million rows would cost seconds; the widest text is nearly always among
// the longest ones.
struct CLongestCells
{
    static constexpr int Candidates = 4;
    int Rows[Candidates] = {-1, -1, -1, -1};
    int Lengths[Candidates] = {-1, -1, -1, -1};

    void Offer(int bytes, int row)
    {
        if (bytes <= Lengths[Candidates - 1])
            return;
        int at = Candidates - 1;
        while (at > 0 && bytes > Lengths[at - 1]) {
            Lengths[at] = Lengths[at - 1];
            Rows[at] = Rows[at - 1];
            --at;
        }
        Lengths[at] = bytes;
        Rows[at] = row;
    }
};

// What column needs: its header, and the widest of the longest cells.
int WidthOfLongest(const CResultModel& grid, int column, const CLongestCells& longest,
                   const CTextMeasure& measure)
{
    int width = measure(grid.Column(column).Header) + HeaderPadding;
    for (const int row : longest.Rows) {
        if (row < 0)
            break;
        const QString text =
            grid.IsNull(row, column) ? CResultModel::NullText : grid.Text(row, column);
        // One line of it is what the grid shows.
        width = qMax(width, measure(text.section(u'\n', 0, 0).left(500)) + CellPadding);
    }
    return width;
}

int NumberColumnFit(int lastRow, const CTextMeasure& measure)
{
    return qMax(NumberColumnWidth, measure(IntToText(lastRow + 1)) + CellPadding);
}

} // namespace

void AddResultPiece(CResultModel& grid, CResultPiece&& piece, const CTextMeasure& measure)
{
    if (piece.HasColumns) {
        ClearResultGrid(grid);
        grid.SetNumbered(true);
        grid.InsertColumn(0, QStringLiteral("#"), Right, NumberColumnWidth);
        for (int i = 0; i < piece.Names.size(); ++i) {
            const QString& name = piece.Names.at(i);
            const int width = (measure ? measure(name) : 0) + HeaderPadding;
            grid.InsertColumn(i + 1, name, piece.TextColumns.value(i) ? Left : Right, width);
        }
    }
    const int first = grid.RowCount();
    // The longest cells of the piece, found in one walk over each row.
    const int skipped = grid.IsNumbered() ? 1 : 0; // "#" is computed, not stored
    const int cells = qMax(0, grid.ColumnCount() - skipped);
    std::vector<CLongestCells> longest(measure ? size_t(cells) : 0);
    if (measure && cells > 0) {
        std::vector<int> sizes(static_cast<size_t>(cells));
        for (qsizetype r = 0; r < piece.Rows.size(); ++r) {
            piece.Rows[r].CellBytes(sizes.data(), cells);
            for (int c = 0; c < cells; ++c)
                longest[size_t(c)].Offer(sizes[size_t(c)], first + int(r));
        }
    }
    for (CResultRow& row : piece.Rows)
        grid.AppendRow(std::move(row));
    const int last = grid.RowCount() - 1;
    if (!piece.EndLine.isEmpty())
        grid.AppendRow(QStringList{piece.EndLine}, FailureImage);
    if (measure && last >= first) {
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            const int header = measure(grid.Column(c).Header) + HeaderPadding;
            const int width = c < skipped ? NumberColumnFit(last, measure)
                                          : WidthOfLongest(grid, c, longest[size_t(c - skipped)],
                                                           measure);
            grid.SetColumnWidth(c, std::max({width, header, grid.Column(c).Width}));
        }
    }
    // The line that tells why the rows ended stands in the first result
    // column: it is as wide as that line, so that it can be read.
    if (measure && !piece.EndLine.isEmpty() && grid.ColumnCount() > skipped)
        grid.SetColumnWidth(skipped, std::max(grid.Column(skipped).Width,
                                              measure(piece.EndLine) + CellPadding));
    grid.FlushRows();
}

int FitColumnWidth(const CResultModel& grid, int column, int first, int last,
                   const CTextMeasure& measure)
{
    if (column == 0 && grid.IsNumbered())
        return NumberColumnFit(last, measure);
    CLongestCells longest;
    for (int row = first; row <= last; ++row)
        longest.Offer(grid.Bytes(row, column), row);
    return WidthOfLongest(grid, column, longest, measure);
}

QString StoppedRowsLine(int rows)
{
    return QStringLiteral("- Stopped: %1 rows were read before the stop").arg(CountText(rows));
}

QString CountText(qint64 count)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(count);
}

bool FillResultGrid(CAbstractRecordset& recordset, CResultModel& grid, const CTextMeasure& measure,
                    const CRowPump& pump)
{
    const CResultSink addToGrid = [&grid, &measure](CResultPiece&& piece) {
        AddResultPiece(grid, std::move(piece), measure);
    };
    return ReadResultRows(recordset, addToGrid, nullptr, pump);
}

void WriteLog(const CScriptRun& run, CResultModel& grid, int width)
{
    ClearResultGrid(grid);
    grid.InsertColumn(0, QString(), Left, width);
    for (int i = 0; i < run.Statements.size(); ++i) {
        if (i >= run.Outcomes.size()) {
            grid.AppendRow({ToLogLine(run.Statements.at(i))});
            grid.AppendRow({QStringLiteral("- Not run: stopped")});
            continue;
        }
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
