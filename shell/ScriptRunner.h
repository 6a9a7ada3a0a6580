#pragma once

// Running a script from a shell, without the window: `tablescope --execute
// SCRIPT (--profile NAME | --sqlite PATH)`. The script goes through the
// Execute command's own engine (RunScript, ShowScriptRun), and what the result
// grid would show is written as text: the query's rows, tab-separated with the
// header line first (or as CSV), or the log's lines.
//
// Fields are escaped so that a reader can undo it: a backslash becomes "\\",
// a tab "\t", a line feed "\n" and a carriage return "\r"; nothing else
// changes. Output is UTF-8.
//
// Ctrl+C while the script runs interrupts the running statement: the log or
// the rows read so far are written as the window shows a stopped run, and the
// exit status is 130.
//
// Nothing here needs a display, and nothing is written to the profile store:
// credentials that a profile does not remember come from the environment
// (TABLESCOPE_USER, TABLESCOPE_PASSWORD) or from the terminal, and live only
// as long as the run.

#include <QString>

class QIODevice;

class CScriptRunner
{
public:
    // Exit statuses.
    enum EExitStatus : int
    {
        ExitSucceeded = 0, // every statement succeeded and every row was read
        ExitFailed = 1,    // a statement failed, or reading the query's rows did
        ExitCannotRun = 2, // usage, script, profile or connection error; nothing ran
        ExitStopped = 130, // Ctrl+C (SIGINT) stopped the run; what ran is written as usual
    };

    QString ScriptPath;  // the script file, or "-" for input
    QString ProfileName; // the saved profile to connect (the first of that exact name); or
    QString SQLitePath;  // an existing SQLite database file to open
    bool Csv = false;    // rows as CSV (RFC 4180, a header line, no row number)
    int MaxRows = 1000;  // rows of the query to write at most; 0 for all
    QString NullText;    // what a NULL is written as

    // Reads the script, connects as the Connect command does, runs the script
    // and writes the grid's text to output. Messages about anything that kept
    // the script from running go to errors, one line each, after
    // "tablescope: ". Returns an EExitStatus.
    int Run(QIODevice& input, QIODevice& output, QIODevice& errors) const;

    // The whole program under --execute: a QCoreApplication (no display), the
    // full command line, and Run on the process's standard streams.
    static int Main(int argc, char* argv[]);

    // One field of a line of output, escaped as above.
    static QString EscapeField(const QString& text);
};
