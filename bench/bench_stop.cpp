// Long work in a connection window, offscreen: how late a 10 ms timer of the
// interface thread fires while a long statement runs on the connection's
// thread, and how long Stop takes to leave the window idle, on SQLite,
// FireBird and PostgreSQL through ODBC (the servers as the tests start them;
// a backend that cannot be had is reported and skipped).

#include "BenchTable.h"
#include "database/DatabaseThread.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/TestDatabases.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {

struct CBackendCase
{
    ETestBackend Backend;
    const char* Slow; // runs for many seconds; not a query
    double Target;    // seconds from Stop to an idle window
};

const CBackendCase Cases[] = {
    {ETestBackend::SQLite,
     "CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
     "WHERE x < 1000000000) SELECT count(*) AS n FROM c",
     0.5},
    {ETestBackend::FireBird,
     "EXECUTE BLOCK AS BEGIN WHILE ((SELECT count(*) FROM rdb$types a, rdb$types b, rdb$types c, "
     "rdb$types d) < 0) DO BEGIN END END",
     1.0},
    {ETestBackend::OdbcPostgres, "CREATE TABLE slept AS SELECT 1 AS n FROM pg_sleep(600)", 0.5},
};

// Events run for milliseconds; returns the worst lateness of a 10 ms timer.
double WorstTimerLateness(int milliseconds)
{
    QElapsedTimer since;
    since.start();
    qint64 last = 0;
    qint64 worst = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = since.nsecsElapsed();
        worst = qMax(worst, now - last - 10'000'000);
        last = now;
    });
    ticker.start(10);
    while (since.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return double(worst) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CTestDatabases databases;
    CBenchTable table("Long work in a connection window, offscreen");
    for (const CBackendCase& test : Cases) {
        const std::string name = CTestDatabases::Name(test.Backend).toStdString();
        QString why;
        CConnection profile;
        profile.Database = databases.Open(test.Backend, why);
        if (!profile.Database) {
            table.Note(name, "skipped: " + why.toStdString());
            continue;
        }
        CSubstrate host;
        host.resize(1000, 800);
        host.show();
        auto* window = new CConnectionWnd;
        window->Create(&host, host.rect());
        window->Database = profile.Database.get();
        profile.Window = window;
        window->Editor->setPlainText(QString::fromUtf8(test.Slow));
        ExecuteQuery(profile);
        const double lateness = WorstTimerLateness(2000);
        if (!window->IsBusy())
            table.Note(name, "the statement ended by itself: no stop measured");
        QElapsedTimer stopping;
        stopping.start();
        window->Stop();
        while (window->IsBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        const double stopped = double(stopping.nsecsElapsed()) / 1e9;
        table.Row(name + ": worst lateness of a 10 ms timer while it runs", lateness, "ms",
                  "< 50 ms");
        table.Row(name + ": Stop to an idle window", stopped * 1e3, "ms",
                  "< " + std::to_string(int(test.Target * 1000)) + " ms");
        window->Database = nullptr;
        profile.Window = nullptr;
        delete window;
        profile.CloseDatabase();
        CDatabaseThread::WaitForEndedThreads(60000);
    }
    return 0;
}
