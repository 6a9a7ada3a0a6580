#pragma once

// What the program's command line asks for.
//
// Parsing needs no application object and no display, so that --help and
// --version answer on a machine without a desktop. main() parses twice:
// once on the raw arguments before the application object exists, where
// only --help and --version are answered (options that Qt itself takes,
// such as -platform, are not known yet and are let pass), and once on
// QCoreApplication::arguments() after Qt has removed its own options, where
// anything unknown is a usage error.
//
// To add an option: declare it in CCommandLine::Parse, give it a field
// here, and fill the field in the full pass.

#include <QString>
#include <QStringList>

class CCommandLine
{
public:
    enum EPass
    {
        PassEarly, // answer --help and --version only; errors wait for the full pass
        PassFull,  // everything, usage errors included
    };

    bool Finished = false;       // the program ends here: print Message, exit with ExitCode
    int ExitCode = 0;            // 0 after help or version, 2 after a usage error
    QString Message;             // help, version or usage error text, ending in a line break
    bool MessageIsError = false; // Message belongs on standard error
    QString FilePath;            // the database file to open, as written; empty when none
    // --execute: run a script without the window. Set by both passes, so
    // that main() knows before any application object which kind to make.
    bool Execute = false;
    QString ScriptPath;  // the script to run; "-" for standard input
    QString ProfileName; // the saved profile to run it on, or
    QString SQLitePath;  // the SQLite database file to run it on
    bool Csv = false;    // rows as CSV instead of tab-separated
    int MaxRows = 1000;  // rows of the query to write at most; 0 for all
    QString NullText;    // what a NULL is written as

    // Parses a whole argument list, the program's own name first.
    static CCommandLine Parse(const QStringList& arguments, EPass pass);
    // The arguments from main()'s argv, decoded as the system's locale does.
    static QStringList FromArgv(int argc, char* argv[]);
    // "Tablescope 1.0.0": the name and the version the About box shows.
    static QString VersionLine();

    // Writes Message to standard output or standard error; returns ExitCode.
    int Report() const;
};
