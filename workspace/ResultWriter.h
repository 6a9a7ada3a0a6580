#pragma once

// What the result grid shows after an execution: the rows of the query, or
// the log of every statement. QtCore only; the connection window supplies the
// text measure of its font and the event pump, the command-line runner
// neither.

#include "workspace/QueryExecution.h"
#include "workspace/ResultModel.h"

#include <functional>

inline constexpr int MaxResultRows = 1000;   // rows of a query the grid shows
inline constexpr int NumberColumnWidth = 40; // the "#" column
inline constexpr int HeaderPadding = 20;     // added to a header's text width

// The width in pixels of a header text in the grid's font.
using CTextMeasure = std::function<int(const QString&)>;
// Called after every row: lets pending events run, and answers whether the
// fill may go on. False means stop at once: the grid may be gone.
using CRowPump = std::function<bool()>;

// Deletes every row, then every column.
void ClearResultGrid(CResultModel& grid);

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
