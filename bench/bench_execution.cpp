// Speed of the Execute command in a real connection window under the
// offscreen platform: filling the grid with the rows of a query, and running
// a long script written as a log against the sqlite3 command-line shell
// running the same file on a copy of the same database; and the memory the
// grid takes for that log.
//
// The script's inserts stand between BEGIN and COMMIT, so that the time is
// the work per statement and not the disk's.

#include "BenchTable.h"
#include "common/PumpMessages.h"
#include "database/DatabaseThread.h"
#include "database/SQLiteDatabase.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/QueryExecution.h"
#include "workspace/ResultExport.h"
#include "workspace/ResultGrid.h"
#include "workspace/ResultWriter.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int GridRows = 1000;
constexpr int GridColumns = 20;
constexpr int ScriptStatements = 10000; // BEGIN, the inserts, COMMIT
constexpr int GridRepeat = 7;
constexpr int ScriptRepeat = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Run(CAbstractDatabase& db, const QString& sql)
{
    QString error;
    if (db.ExecuteSQL(sql, error))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(error));
    return false;
}

// The database both sides start from: a wide table for the grid, and the
// empty table the script fills.
bool MakeDatabase(const QString& path)
{
    CSQLiteDatabase db;
    QString error;
    if (!db.Connect(path, {}, {}, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    QString create = QStringLiteral("CREATE TABLE wide (");
    QString insert = QStringLiteral("INSERT INTO wide SELECT ");
    for (int c = 0; c < GridColumns; ++c) {
        const QString comma = c ? QStringLiteral(", ") : QString();
        create += QStringLiteral("%1c%2 %3").arg(comma).arg(c).arg(c % 2 ? "TEXT" : "INTEGER");
        insert += c % 2 ? QStringLiteral("%1'value %2 of row ' || x").arg(comma).arg(c)
                        : QStringLiteral("%1x * %2").arg(comma).arg(c + 1);
    }
    create += u')';
    insert += QStringLiteral(" FROM (WITH RECURSIVE r(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                             "FROM r WHERE x < %1) SELECT x FROM r)")
                  .arg(GridRows);
    return Run(db, create) && Run(db, insert) &&
           Run(db, QStringLiteral("CREATE TABLE item (id INTEGER PRIMARY KEY, name TEXT, "
                                  "amount REAL, note TEXT)"));
}

QString MakeScript()
{
    QString script = QStringLiteral("BEGIN;\n");
    for (int i = 1; i <= ScriptStatements - 2; ++i)
        script += QStringLiteral("INSERT INTO item (id, name, amount, note) VALUES "
                                 "(%1, 'item %1', %2, 'inserted by the script');\n")
                      .arg(i)
                      .arg(i * 1.25);
    script += QStringLiteral("COMMIT;");
    return script;
}

bool CopyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

// The items a database file holds after a run, read back to check that the
// run did the whole work; -1 when it cannot be read.
int ItemCount(const QString& path)
{
    CSQLiteDatabase db;
    QString error;
    CAbstractRecordset* raw = nullptr;
    if (!db.Connect(path, {}, {}, error) ||
        !db.OpenRecordset(QStringLiteral("SELECT count(*) FROM item"), error, raw))
        return -1;
    CRecordsetPtr recordset(raw);
    return recordset->MoveNext() ? recordset->GetString(0).toInt() : -1;
}

// Wall and processor time of one run.
struct CTimes
{
    double Wall = 0;
    double Cpu = 0;
};

double CpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double ProcessCpuSeconds()
{
    return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

double ThreadCpuSeconds()
{
    return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

// User and system time of the child processes that have ended and been
// waited for.
double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

CTimes ShellTimes(const QString& database, const QString& scriptFile)
{
    QProcess shell;
    shell.setStandardInputFile(scriptFile);
    const double cpu = ChildrenCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), database});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3 failed: %s\n", shell.readAllStandardError().constData());
        return {-1, -1};
    }
    return {double(timer.nsecsElapsed()) / 1e9, ChildrenCpuSeconds() - cpu};
}

// The resident set size, or its peak since the last reset, in kilobytes.
long StatusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Makes VmHWM start again from the present resident set size.
void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The table of a million rows the grid and the export read: ten columns of
// numbers, short texts and a NULL in every seventh row.
constexpr int BigRows = 1000000;
const QString BigQuery = QStringLiteral("SELECT * FROM big");

bool MakeBigTable(const QString& path)
{
    CSQLiteDatabase db;
    QString error;
    if (!db.Connect(path, {}, {}, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return Run(db, QStringLiteral("CREATE TABLE big (id INTEGER, name TEXT, amount REAL, "
                                  "code TEXT, flag INTEGER, note TEXT, qty INTEGER, "
                                  "price REAL, label TEXT, extra TEXT)")) &&
           Run(db, QStringLiteral("INSERT INTO big WITH RECURSIVE r(x) AS (SELECT 1 UNION ALL "
                                  "SELECT x + 1 FROM r WHERE x < %1) SELECT x, 'name ' || x, "
                                  "x * 1.5, printf('C%06d', x), x % 2, 'a note, \"quoted\"', "
                                  "x % 1000, x / 7.0, 'label', CASE WHEN x % 7 = 0 THEN NULL "
                                  "ELSE 'extra ' || x END FROM r")
                                  .arg(BigRows));
}

// sqlite3 -csv running the query and writing to target; its wall time.
double ShellCsvSeconds(const QString& database, const QString& target)
{
    QProcess shell;
    shell.setStandardOutputFile(target);
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-csv"), QStringLiteral("-header"),
                                            database, BigQuery});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3 -csv failed: %s\n", shell.readAllStandardError().constData());
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

struct CWorkspace
{
    CSubstrate Host;
    CConnection Profile;
    CConnectionWnd* Window = nullptr;

    bool Open(const QString& database)
    {
        Profile.Database = std::make_unique<CSQLiteDatabase>();
        QString error;
        if (!Profile.Database->Connect(database, {}, {}, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return false;
        }
        Window->Database = Profile.Database.get();
        return true;
    }

    void Close()
    {
        Window->Database = nullptr;
        Profile.CloseDatabase();
        CDatabaseThread::WaitForEndedThreads(60000); // the file is closed before it is copied over
    }

    // Waits in an event loop, as the program does, until the window's run
    // ended. (processEvents with a time limit never waits: it would spin.)
    void WaitWhileBusy()
    {
        QEventLoop loop;
        QObject::connect(Window, &CConnectionWnd::BusyChanged, &loop, [&loop](bool busy) {
            if (!busy)
                loop.quit();
        });
        if (Window->IsBusy())
            loop.exec();
    }

    // What the user does: the text typed into the editor (its colouring not
    // timed), then the Execute command.
    CTimes Execute(const QString& text)
    {
        Window->Editor->setPlainText(text);
        Window->Editor->FinishColouring(); // the text was typed long before
        PumpMessages();
        const double cpu = ProcessCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        ExecuteQuery(Profile);
        WaitWhileBusy();
        PumpMessages(); // the grid as drawn
        return {double(timer.nsecsElapsed()) / 1e9, ProcessCpuSeconds() - cpu};
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("base.db"));
    const QString scriptFile = dir.filePath(QStringLiteral("script.sql"));
    const QString engineCopy = dir.filePath(QStringLiteral("engine.db"));
    const QString shellCopy = dir.filePath(QStringLiteral("shell.db"));
    if (!MakeDatabase(base))
        return 1;
    const QString script = MakeScript();
    {
        QFile file(scriptFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0)
            return 1;
    }

    CWorkspace workspace;
    workspace.Host.resize(1200, 1000);
    workspace.Host.show();
    workspace.Window = new CConnectionWnd;
    if (!workspace.Window->Create(&workspace.Host, workspace.Host.rect()))
        return 1;
    workspace.Profile.Window = workspace.Window;
    PumpMessages();
    CResultModel& grid = workspace.Window->ResultList->Model();

    CBenchTable table("Execute in a connection window, SQLite, offscreen");

    // The grid filled with the rows of a query.
    if (!CopyFile(base, engineCopy) || !workspace.Open(engineCopy))
        return 1;
    std::vector<double> fills;
    for (int i = 0; i < GridRepeat; ++i)
        fills.push_back(workspace.Execute(QStringLiteral("SELECT * FROM wide")).Wall);
    if (grid.RowCount() != GridRows || grid.ColumnCount() != GridColumns + 1)
        std::fprintf(stderr, "the grid shows %d rows, %d columns\n", grid.RowCount(),
                     grid.ColumnCount());
    table.Row(QStringLiteral("grid fill, %1 rows x %2 columns, median of %3")
                  .arg(GridRows)
                  .arg(GridColumns)
                  .arg(GridRepeat)
                  .toStdString(),
              Median(fills) * 1e3, "ms", "< 100 ms");
    workspace.Close();

    // The script side by side with the shell; the first engine run also
    // measures the memory of the log it leaves in the grid.
    std::vector<double> engineTimes;
    std::vector<double> shellTimes;
    std::vector<double> engineCpu;
    std::vector<double> shellCpu;
    long rssGrowth = 0;
    long peakGrowth = 0;
    auto runShell = [&] {
        if (!CopyFile(base, shellCopy))
            return false;
        const CTimes times = ShellTimes(shellCopy, scriptFile);
        shellTimes.push_back(times.Wall);
        shellCpu.push_back(times.Cpu);
        if (ItemCount(shellCopy) != ScriptStatements - 2)
            std::fprintf(stderr, "the shell's run left %d items\n", ItemCount(shellCopy));
        return true;
    };
    auto runEngine = [&](bool measureMemory) {
        if (!CopyFile(base, engineCopy) || !workspace.Open(engineCopy))
            return false;
        ClearResultGrid(grid);
        workspace.Window->Editor->setPlainText(script);
        PumpMessages();
        const long before = StatusKilobytes("VmRSS:");
        ResetPeak();
        const CTimes times = workspace.Execute(script);
        engineTimes.push_back(times.Wall);
        engineCpu.push_back(times.Cpu);
        if (measureMemory) {
            rssGrowth = StatusKilobytes("VmRSS:") - before;
            peakGrowth = StatusKilobytes("VmHWM:") - before;
        }
        workspace.Close();
        if (ItemCount(engineCopy) != ScriptStatements - 2)
            std::fprintf(stderr, "the engine's run left %d items\n", ItemCount(engineCopy));
        if (grid.RowCount() != 2 * ScriptStatements)
            std::fprintf(stderr, "the log has %d rows\n", grid.RowCount());
        return true;
    };
    // Turn about, so that neither side always runs on a warmer machine.
    for (int i = 0; i < ScriptRepeat; ++i) {
        const bool done = i % 2 ? runShell() && runEngine(false) : runEngine(i == 0) && runShell();
        if (!done)
            return 1;
    }

    // Where the engine's time goes, on one more copy: the statements run,
    // then the log written into the grid and drawn.
    double runSeconds = 0;
    double runCpu = 0;
    double logSeconds = 0;
    double logWriteCpu = 0;
    double logCpu = 0;
    if (!CopyFile(base, engineCopy) || !workspace.Open(engineCopy))
        return 1;
    {
        ClearResultGrid(grid);
        PumpMessages();
        CScriptRun run;
        QElapsedTimer timer;
        timer.start();
        workspace.Profile.Thread = CDatabaseThread::Start();
        QEventLoop ran;
        workspace.Profile.Thread->Post([&] {
            const double cpu = ThreadCpuSeconds();
            RunScript(*workspace.Profile.Database, script, run);
            runCpu = ThreadCpuSeconds() - cpu;
            QMetaObject::invokeMethod(&ran, &QEventLoop::quit, Qt::QueuedConnection);
        });
        ran.exec();
        runSeconds = double(timer.nsecsElapsed()) / 1e9;
        timer.restart();
        const double cpu = ThreadCpuSeconds();
        WriteLog(run, grid, workspace.Window->ResultList->ClientWidth());
        logWriteCpu = ThreadCpuSeconds() - cpu;
        PumpMessages();
        logSeconds = double(timer.nsecsElapsed()) / 1e9;
        logCpu = ThreadCpuSeconds() - cpu;
    }
    workspace.Close();

    // A million rows: fetched whole into the grid, scrolled, exported.
    const QString bigBase = dir.filePath(QStringLiteral("big.db"));
    const QString shellCsv = dir.filePath(QStringLiteral("shell.csv"));
    const QString engineCsv = dir.filePath(QStringLiteral("engine.csv"));
    if (!MakeBigTable(bigBase))
        return 1;
    std::vector<double> shellFetches;
    std::vector<double> shellExports;
    for (int i = 0; i < 3; ++i) {
        shellFetches.push_back(ShellCsvSeconds(bigBase, QStringLiteral("/dev/null")));
        shellExports.push_back(ShellCsvSeconds(bigBase, shellCsv));
    }
    const double csvMegabytes = double(QFileInfo(shellCsv).size()) / 1024 / 1024;

    std::vector<double> fetches;
    double gridMegabytes = 0;
    for (int i = 0; i < 3; ++i) {
        ClearResultGrid(grid);
        PumpMessages();
        const long before = StatusKilobytes("VmRSS:");
        if (!workspace.Open(bigBase))
            return 1;
        workspace.Window->RowLimit = 0;
        fetches.push_back(workspace.Execute(BigQuery).Wall);
        workspace.Close(); // what stays is the grid's
        if (i == 0) // later runs reuse the memory the first one freed
            gridMegabytes = double(StatusKilobytes("VmRSS:") - before) / 1024;
        if (grid.RowCount() != BigRows)
            std::fprintf(stderr, "the grid holds %d rows\n", grid.RowCount());
    }

    // Page by page: the first 500 pages, then 500 spread down to the bottom.
    CResultGrid& view = *workspace.Window->ResultList;
    QScrollBar& bar = *view.verticalScrollBar();
    std::vector<int> pages;
    for (int page = 0; page < 500; ++page)
        pages.push_back(page * bar.pageStep());
    for (int page = 1; page <= 500; ++page)
        pages.push_back(int(qint64(bar.maximum()) * page / 500));
    std::vector<double> pageTimes;
    for (const int value : pages) {
        QElapsedTimer timer;
        timer.start();
        bar.setValue(value);
        view.viewport()->repaint();
        pageTimes.push_back(double(timer.nsecsElapsed()) / 1e9);
    }

    std::vector<double> exports;
    if (!workspace.Open(bigBase))
        return 1;
    workspace.Profile.Thread = CDatabaseThread::Start();
    for (int i = 0; i < 3; ++i) {
        QFile::remove(engineCsv);
        QElapsedTimer timer;
        timer.start();
        if (!workspace.Window->ExportResult(*workspace.Profile.Thread, engineCsv, {}))
            std::fprintf(stderr, "the export did not start\n");
        workspace.WaitWhileBusy();
        exports.push_back(double(timer.nsecsElapsed()) / 1e9);
        if (QFileInfo(engineCsv).size() <= 0)
            std::fprintf(stderr, "the export wrote nothing\n");
    }
    workspace.Close();

    // The shell's own start and exit, part of its figure.
    const QString emptyFile = dir.filePath(QStringLiteral("empty.sql"));
    {
        QFile empty(emptyFile);
        if (!empty.open(QIODevice::WriteOnly))
            return 1;
    }
    if (!CopyFile(base, shellCopy))
        return 1;
    std::vector<double> starts;
    for (int i = 0; i < ScriptRepeat; ++i)
        starts.push_back(ShellTimes(shellCopy, emptyFile).Wall);

    const double engine = Median(engineTimes);
    const double shell = Median(shellTimes);
    const double engineProcessor = Median(engineCpu);
    const double shellProcessor = Median(shellCpu);
    const std::string statements =
        QStringLiteral("%1-statement script").arg(ScriptStatements).toStdString();
    const std::string runs = ", median of " + std::to_string(ScriptRepeat);
    table.Row(statements + ", sqlite3 shell, wall" + runs, shell * 1e3, "ms", "reference");
    table.Row("  the same, processor time", shellProcessor * 1e3, "ms", "reference");
    table.Row("  of which the shell's start and exit (empty script)", Median(starts) * 1e3, "ms",
              "");
    table.Row(statements + " + " + std::to_string(2 * ScriptStatements) + "-row log, wall" + runs,
              engine * 1e3, "ms", "");
    table.Row("  the same, processor time", engineProcessor * 1e3, "ms", "");
    table.Row("  of which the statements run (one more run)", runSeconds * 1e3, "ms", "");
    table.Row("    processor time of the connection's thread", runCpu * 1e3, "ms", "");
    table.Row("  of which the log written and drawn (one more run)", logSeconds * 1e3, "ms", "");
    table.Row("    processor time: writing the log", logWriteCpu * 1e3, "ms", "");
    table.Row("    processor time: writing and drawing", logCpu * 1e3, "ms", "");
    table.Row("engine / shell, wall time", engine / shell, "x", "<= 1.3");
    table.Row("engine / shell, processor time", engineProcessor / shellProcessor, "x", "<= 1.3");
    table.Row("resident set growth, grid holding the log", double(rssGrowth) / 1024, "MB",
              "reported");
    const double shellFetch = Median(shellFetches);
    const double fetch = Median(fetches);
    table.Row("1,000,000 x 10 rows, sqlite3 -csv to /dev/null, median of 3", shellFetch * 1e3,
              "ms", "reference");
    table.Row("Fetch All of them into the grid, median of 3", fetch * 1e3, "ms", "");
    table.Row("  grid / sqlite3 -csv", fetch / shellFetch, "x", "<= 1.5");
    table.Row("  resident set growth, grid holding them", gridMegabytes, "MB", "");
    table.Row("  the same rows as CSV", csvMegabytes, "MB", "reference");
    table.Row("  grid memory / CSV size", gridMegabytes / csvMegabytes, "x", "<= 3");
    table.Row("scroll the grid, one page painted (median of 1000 pages)",
              Median(pageTimes) * 1e3, "ms", "< 5 ms");
    table.Row("  the slowest page", *std::max_element(pageTimes.begin(), pageTimes.end()) * 1e3,
              "ms", "reported");
    const double shellExport = Median(shellExports);
    const double exported = Median(exports);
    table.Row("export them, sqlite3 -csv to a file, median of 3", shellExport * 1e3, "ms",
              "reference");
    table.Row("Export Result to CSV, median of 3", exported * 1e3, "ms", "");
    table.Row("  export / sqlite3 -csv", exported / shellExport, "x", "<= 1.5");

    table.Row("peak resident set growth while it ran", double(peakGrowth) / 1024, "MB", "reported");
    return 0;
}
