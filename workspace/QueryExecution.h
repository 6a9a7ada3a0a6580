#pragma once

// The Execute command's engine, apart from any window: a script is cut into
// statements, every statement is run in turn whatever fails, and the one
// query whose rows are to be shown is left open for the caller. QtCore only,
// so that the command-line runner and the tests use it as the window does.

#include "database/AbstractDatabase.h"

#include <QString>
#include <QStringList>
#include <atomic>

// What a run on another thread and the interface that watches it share: the
// user's stop request, and how far the run has come. Every field may be read
// and written from any thread.
struct CRunControl
{
    std::atomic<bool> StopRequested{false};
    std::atomic<int> Statement{0};      // 1-based: the statement running now; 0 before the first
    std::atomic<int> StatementCount{0}; // known once the script is cut
    std::atomic<int> RowsRead{0};       // rows of the query read so far
    std::atomic<bool> ReadingRows{false};
    std::atomic<int> RowLimit{1000}; // rows of the query to read at most; 0 for all

    bool Stopping() const { return StopRequested.load(std::memory_order_relaxed); }
};

// One run of a script.
struct CScriptRun
{
    QStringList Statements;  // in text order, as the splitter cut them
    int SelectIndex = 0;     // the statement whose rows are shown; Statements.size() for none
    QStringList Outcomes;    // one per statement that ran: empty for success, else the error text
    CRecordsetPtr Recordset; // the open query of SelectIndex, when it opened
    bool Stopped = false;    // the user stopped the run: the statements after the last outcome
                             // did not run

    // True when every statement ran and none failed.
    bool Succeeded() const;
};

// The text made fit for one grid line: "\r\n", "\r" and tabs become spaces
// and white space is trimmed at both ends; line feeds inside stay.
QString ToLogLine(const QString& text);

// Whether a statement is a query whose rows are shown: its first word, after
// the white space and comments that lead it, is select, with, values,
// pragma, explain, show or table, in any letter case.
bool IsQueryStatement(const QString& statement);

// The index of the last query statement, or the statement count when there
// is none. Only that one statement is opened as a query.
int FindSelectIndex(const QStringList& statements);

// What Execute runs of the editor's text: exactly the characters from start
// to end (positions as the editor counts them, a line break being one) when
// that is a non-empty range inside the text, otherwise the whole text; with
// "\r\n" reduced to "\n" first.
QString ScriptToRun(const QString& text, int start, int end);

// Cuts script into statements by the database's script dialect (SplitScript)
// and runs them in order through database, between BeginScript and
// EndScript: the statement at the select index with OpenRecordset, every
// other one with ExecuteSQL; a piece of white space and comments alone is
// not sent and succeeds. A failure does not stop the run; a stop requested
// through control does: the statement that the database's Interrupt ended
// keeps its message, and none after it runs. The query's recordset is kept
// in run only while every statement succeeded and the query has result
// columns; otherwise it is closed and deleted before this returns, and the
// run shows as the log.
void RunScript(CAbstractDatabase& database, const QString& script, CScriptRun& run,
               CRunControl* control = nullptr);
