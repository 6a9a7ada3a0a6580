// Speed of the main window as a user meets it, through the real window under
// the offscreen platform:
//
// - connecting to an SQLite database of 5,000 tables of 10 columns, until
//   the table tree holds them all;
// - connecting through ODBC to a PostgreSQL database holding a table of
//   1,000,000 rows, set against the same database with that table emptied:
//   connecting reads columns, never rows;
// - creating the window with 500 saved profiles, loading them included.
//
// Each figure is the median of several runs. The PostgreSQL part creates a
// database of its own through the test data source (TABLESCOPE_ODBC_PG_DSN
// and ODBCINI as scripts/start-servers.sh writes them) and drops it at the
// end; it is skipped, and said so, when the server cannot be reached.

#include "BenchTable.h"
#include "database/OdbcDatabase.h"
#include "database/SQLiteDatabase.h"
#include "profiles/ConnectionsWnd.h"
#include "resources/ConnectionsMenu.h"
#include "shell/MainFrame.h"
#include "shell/OpenConnection.h"
#include "shell/TablescopeApp.h"
#include "workspace/MessageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <list>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int SQLiteTables = 5000;
constexpr int SQLiteColumns = 10;
constexpr int BigRows = 1000000;
constexpr int SavedProfiles = 500;

QStringList Messages; // what the window would have shown in a box
QString StoreFile;    // the profile store, in a folder of our own

void ForgetSavedProfiles()
{
    QFile::remove(StoreFile);
}

// Seconds taken by f(), the median of repeat runs.
template <typename F> double MedianSeconds(int repeat, F&& f)
{
    std::vector<double> taken;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        taken.push_back(seconds.count());
    }
    std::sort(taken.begin(), taken.end());
    return taken.at(taken.size() / 2);
}

QString Setting(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

bool MakeSQLiteDatabase(const QString& file, QString& error)
{
    QString script = QStringLiteral("BEGIN;");
    for (int t = 0; t < SQLiteTables; ++t) {
        script += QStringLiteral("CREATE TABLE table_%1 (").arg(t);
        for (int c = 0; c < SQLiteColumns; ++c)
            script +=
                QStringLiteral("%1column_%2 TEXT").arg(c ? QStringLiteral(", ") : QString()).arg(c);
        script += QStringLiteral(");");
    }
    script += QStringLiteral("COMMIT;");
    CSQLiteDatabase database;
    return database.Connect(file, {}, {}, error) && database.ExecuteSQL(script, error);
}

// A fresh window with profile added and selected, as the user leaves it
// before pressing Connect.
std::unique_ptr<CMainFrame> FrameWith(const CConnection& profile)
{
    ForgetSavedProfiles(); // what the last window saved
    auto frame = std::make_unique<CMainFrame>();
    frame->resize(1200, 900);
    frame->show();
    frame->Connections->SelectConnection(frame->Connections->AddConnection(profile));
    QCoreApplication::processEvents();
    return frame;
}

// Seconds from Connect until the tree holds tables items and the window has
// drawn it; -1 when the connection failed or the tree is short.
double TimeConnect(const CConnection& profile, int tables)
{
    std::unique_ptr<CMainFrame> frame = FrameWith(profile);
    const auto start = std::chrono::steady_clock::now();
    frame->RunConnectionCommand(CommandConnect);
    // The connect runs on the connection's thread; the tree is filled when
    // its end is delivered.
    QElapsedTimer waited;
    waited.start();
    do
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    while (frame->IsAnyBusy() && waited.elapsed() < 60000);
    QCoreApplication::processEvents();
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    const bool filled = frame->TableTree->topLevelItemCount() == tables &&
                        frame->Connections->GetConnection(0)->Window != nullptr;
    frame.reset();
    return filled ? taken.count() : -1;
}

double MedianConnect(const CConnection& profile, int tables, bool& ok)
{
    std::vector<double> taken;
    for (int i = 0; i < Runs; ++i) {
        const double seconds = TimeConnect(profile, tables);
        ok = ok && seconds >= 0;
        taken.push_back(seconds);
    }
    std::sort(taken.begin(), taken.end());
    return taken.at(taken.size() / 2);
}

bool BenchSQLite()
{
    CBenchTable table("Main window: connect to SQLite, 5,000 tables x 10 columns (median of 5)");
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("tables.db"));
    QString error;
    if (!MakeSQLiteDatabase(file, error)) {
        table.Note("preparing the database", "FAILED: " + error.toStdString());
        return false;
    }
    CConnection profile;
    profile.Name = QStringLiteral("5,000 tables");
    profile.Type = DatabaseTypeSQLite;
    profile.Path = file;
    bool ok = true;
    const double seconds = MedianConnect(profile, SQLiteTables, ok);
    // The part that reads the database, without a window; closing it again
    // falls outside, as it does above.
    std::list<CConnection> opened;
    const double read = MedianSeconds(Runs, [&] {
        CConnection& copy = opened.emplace_back(profile);
        QString reason;
        ok = OpenConnection(copy, reason) && copy.Tables.size() == SQLiteTables && ok;
    });
    opened.clear();
    ForgetSavedProfiles();
    table.Row("Connect until the tree holds 5,000 tables", seconds, "s", "under 1");
    table.Row("reading the tables and columns alone, no window", read, "s", "(reference)");
    if (!ok)
        table.Note("Connect", "FAILED: " + Messages.join(u'|').toStdString());
    return ok && seconds < 1.0;
}

// Runs sql on the server's database of the test data source; false, with
// the reason printed, when it fails.
bool RunOnServer(const QString& connect, const QString& sql)
{
    COdbcDatabase database;
    QString error;
    const bool ok = database.Connect(connect, {}, {}, error) && database.ExecuteSQL(sql, error);
    if (!ok)
        std::fprintf(stderr, "%s: %s\n", qPrintable(sql.left(60)), qPrintable(error));
    database.Disconnect();
    return ok;
}

bool BenchPostgres()
{
    CBenchTable table("Main window: connect through ODBC to PostgreSQL, 1,000,000 rows vs none "
                      "(median of 5)");
    const QString server =
        Setting("TABLESCOPE_ODBC_PG_DSN", "DSN=TablescopePG;UID=tablescope;PWD=tablescope");
    const QString name =
        QStringLiteral("tablescope_bench_%1").arg(QCoreApplication::applicationPid());
    if (!RunOnServer(server, QStringLiteral("CREATE DATABASE ") + name)) {
        table.Note("creating the database", "SKIPPED: the server cannot be reached");
        return true;
    }
    const QString connect = server + QStringLiteral(";Database=") + name;
    bool ok = RunOnServer(
        connect, QStringLiteral("CREATE TABLE big (id INTEGER, name VARCHAR(40), note TEXT);"
                                "INSERT INTO big SELECT i, 'name ' || i, 'a note on row ' || i "
                                "FROM generate_series(1, %1) AS i")
                     .arg(BigRows));
    // The server settles the new rows in the background (autovacuum); done
    // here, that work does not fall into the runs measured.
    ok = ok && RunOnServer(connect, QStringLiteral("VACUUM ANALYZE big"));
    CConnection profile;
    profile.Name = QStringLiteral("PostgreSQL");
    profile.Type = DatabaseTypeOdbc;
    profile.Path = connect;
    profile.RememberAuth = true; // no login dialog
    double full = -1;
    double empty = -1;
    if (ok) {
        full = MedianConnect(profile, 1, ok);
        ok = RunOnServer(connect, QStringLiteral("TRUNCATE big")) &&
             RunOnServer(connect, QStringLiteral("VACUUM ANALYZE big")) && ok;
        empty = MedianConnect(profile, 1, ok);
    }
    ForgetSavedProfiles();
    RunOnServer(server, QStringLiteral("DROP DATABASE IF EXISTS ") + name);
    table.Row("Connect, the table holding 1,000,000 rows", full, "s", "under 1");
    table.Row("Connect, the same table empty", empty, "s", "(reference)");
    table.Row("ratio 1,000,000 rows / empty", full / empty, "", "at most 1.5");
    if (!ok)
        table.Note("Connect", "FAILED: " + Messages.join(u'|').toStdString());
    return ok && full < 1.0 && full / empty <= 1.5;
}

bool BenchProfiles()
{
    CBenchTable table("Main window: created with 500 saved profiles (median of 5)");
    ForgetSavedProfiles();
    {
        CMainFrame frame; // saves its profiles when it goes
        for (int i = 0; i < SavedProfiles; ++i) {
            CConnection profile;
            profile.Name = QStringLiteral("Profile number %1").arg(i);
            profile.Type = i % 3;
            profile.Path = QStringLiteral("/srv/databases/customer-%1/data.fdb").arg(i);
            profile.Alias = QStringLiteral("alias%1").arg(i);
            profile.Login = QStringLiteral("user%1").arg(i);
            profile.Password = QStringLiteral("secret %1").arg(i);
            profile.RememberAuth = i % 2;
            frame.Connections->AddConnection(profile);
        }
    }
    int loaded = 0;
    const double created = MedianSeconds(Runs, [&] {
        CMainFrame frame;
        loaded = frame.Connections->GetConnectionCount();
    });
    const double shown = MedianSeconds(Runs, [&] {
        CMainFrame frame;
        frame.resize(1200, 900);
        frame.show();
        QCoreApplication::processEvents();
    });
    ForgetSavedProfiles();
    table.Row("CMainFrame created, 500 profiles loaded", created * 1000, "ms", "under 300");
    table.Row("created, shown and drawn", shown * 1000, "ms", "(reference)");
    const bool ok = loaded == SavedProfiles;
    if (!ok)
        table.Note("loading", "FAILED: " + std::to_string(loaded) + " profiles loaded");
    return ok && created < 0.3;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ODBCINI"))
        qputenv("ODBCINI", "/tmp/tablescope-test/odbc.ini");
    QTemporaryDir config; // no real profile store is touched
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    StoreFile = config.filePath(QStringLiteral("Brevan/Tablescope.reg"));
    CTablescopeApp app(argc, argv);
    SetMessageBoxAnswerer([](const QString& text, QMessageBox::StandardButtons) {
        Messages.append(text);
        return QMessageBox::Ok;
    });

    bool met = BenchSQLite();
    met = BenchPostgres() && met;
    met = BenchProfiles() && met;
    SetMessageBoxAnswerer({});
    return met ? 0 : 1;
}
