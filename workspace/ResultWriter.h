#pragma once

// What the result grid shows after an execution: the rows of the query, or
// the log of every statement. QtCore only; the connection window supplies the
// text measure of its font and the event pump, the command-line runner
// neither.

#include "workspace/QueryExecution.h"
#include "workspace/ResultModel.h"

#include <QList>
#include <functional>

inline constexpr int MaxResultRows = 1000;   // rows of a query the grid shows, unless told
inline constexpr int CellPadding = 12;       // added to a cell's text width
inline constexpr int NumberColumnWidth = 40; // the "#" column
inline constexpr int HeaderPadding = 20;     // added to a header's text width

// The width in pixels of a header text in the grid's font.
using CTextMeasure = std::function<int(const QString&)>;
// Called after every row: lets pending events run, and answers whether the
// fill may go on. False means stop at once: the grid may be gone.
using CRowPump = std::function<bool()>;

// Deletes every row, then every column.
void ClearResultGrid(CResultModel& grid);

// A piece of a query's result as its reader hands it on: the columns first,
// then rows in batches, then the end. The reader may run on another thread
// than the grid it is for.
struct CResultPiece
{
    bool HasColumns = false;
    QStringList Names;       // with HasColumns: the result columns' names
    QList<bool> TextColumns; // with HasColumns: whether the first row holds text there
    QList<CResultRow> Rows;  // each row's cells, without the row number
    bool Last = false;       // the rows have ended
    bool MoreRows = false;   // with Last: the row limit left rows unread
    QString EndLine;         // with Last: a last row that says why they ended early, or empty
};
using CResultSink = std::function<void(CResultPiece&&)>;

// Reads a recordset that stands before its first row into pieces for sink:
// the columns, the rows in batches (one after every FlushNanoseconds spent
// reading), at most control's RowLimit of them (MaxResultRows without
// control), and the end. A failed fetch ends the rows
// with "- Error: " and the library's message; a stop requested through
// control with a line that says how many rows were read. pump, when given,
// runs after every row; when it answers false the reading ends at once and
// this returns false, with no end piece.
bool ReadResultRows(CAbstractRecordset& recordset, const CResultSink& sink,
                    CRunControl* control = nullptr, const CRowPump& pump = {});

// Puts a piece into the grid: the "#" column and one column per result
// column (each as wide as its header in measure's font plus HeaderPadding),
// the rows with their numbers, the end line with the failure mark. With a
// measure, each column's width then grows to its widest cell so far plus
// CellPadding (the view decides how much of that it shows); the "#" column
// grows with the row numbers.
void AddResultPiece(CResultModel& grid, CResultPiece&& piece, const CTextMeasure& measure);

// The width that fits a column's header and its cells in rows first to last
// (the widest few by length are measured), plus the paddings.
int FitColumnWidth(const CResultModel& grid, int column, int first, int last,
                   const CTextMeasure& measure);

// The line that ends the rows of a stopped reading.
QString StoppedRowsLine(int rows);
// A count as the program writes it for people: "12,300".
QString CountText(qint64 count);

// Fills the grid from a recordset that stands before its first row: a "#"
// column with the 1-based row number, then one column per result column,
// left-aligned when the first row holds text there (so an empty result is
// right-aligned throughout), then at most MaxResultRows rows. When reading the
// rows fails, a last row says so with the library's message: a short result is
// never passed off as a whole one. Returns false when pump asked to stop.
bool FillResultGrid(CAbstractRecordset& recordset, CResultModel& grid, const CTextMeasure& measure,
                    const CRowPump& pump);

// The log of a run: one column as wide as width, and two rows per statement,
// the statement with its mark and "- Success" or "- Error: " with the message.
void WriteLog(const CScriptRun& run, CResultModel& grid, int width);

// Shows the outcome of a run: the query's rows when every statement
// succeeded and there is a query, the log otherwise. The recordset is closed
// and deleted before this returns. Returns false when pump asked to stop.
bool ShowScriptRun(CScriptRun& run, CResultModel& grid, const CTextMeasure& measure, int logWidth,
                   const CRowPump& pump);
