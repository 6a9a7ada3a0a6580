// The hand-over between the interface thread and a connection's thread,
// without any widget, on SQLite, FireBird and PostgreSQL through ODBC: runs
// that are stopped half-way, rows that come back in batches, connects that
// are abandoned, and deliveries to receivers that have gone. This is the
// test that the thread sanitizer tree runs.

#include "database/DatabaseThread.h"
#include "shell/OpenConnection.h"
#include "workspace/GridText.h"
#include "workspace/QueryExecution.h"
#include "workspace/ResultWriter.h"
#include "workspace/TestDatabases.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

// Runs for many seconds on each backend, and is not a query.
QString SlowStatement(ETestBackend backend)
{
    switch (backend) {
    case ETestBackend::FireBird:
        return QStringLiteral("EXECUTE BLOCK AS BEGIN WHILE ((SELECT count(*) FROM rdb$types a, "
                              "rdb$types b, rdb$types c, rdb$types d) < 0) DO BEGIN END END");
    case ETestBackend::OdbcPostgres:
        return QStringLiteral("CREATE TABLE slept AS SELECT 1 AS n FROM pg_sleep(600)");
    default:
        return QStringLiteral("CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION "
                              "ALL SELECT x + 1 FROM c WHERE x < 1000000000) SELECT count(*) "
                              "AS n FROM c");
    }
}

// A thousand rows and more on each backend.
QString ManyRows(ETestBackend backend)
{
    if (backend == ETestBackend::FireBird)
        return QStringLiteral("SELECT a.rdb$type AS t, a.rdb$field_name AS f FROM rdb$types a, "
                              "rdb$types b");
    return QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE "
                          "x < 1500) SELECT x, 'row ' || x AS label FROM c");
}

} // namespace

class CThreadsTests : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void backends_data();
    void stopAStatement_data() { backends_data(); }
    void stopAStatement();
    void rowsComeInBatches_data() { backends_data(); }
    void rowsComeInBatches();
    void abandonedConnects_data() { backends_data(); }
    void abandonedConnects();
    void deliveriesToAReceiverThatHasGone();

private:
    CTestDatabases Databases;
};

void CThreadsTests::cleanup()
{
    QVERIFY(CDatabaseThread::WaitForEndedThreads(60000));
}

void CThreadsTests::backends_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::newRow("SQLite") << ETestBackend::SQLite;
    QTest::newRow("FireBird") << ETestBackend::FireBird;
    QTest::newRow("ODBC PostgreSQL") << ETestBackend::OdbcPostgres;
}

// Stopped from this thread while the connection's thread runs a statement:
// the statement ends with the backend's message, the next does not run, and
// the database works on afterwards on its thread.
void CThreadsTests::stopAStatement()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    std::shared_ptr<CAbstractDatabase> database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    std::shared_ptr<CDatabaseThread> thread = CDatabaseThread::Start();
    auto control = std::make_shared<CRunControl>();
    auto run = std::make_shared<CScriptRun>();
    QObject receiver;
    bool delivered = false;
    const QString script =
        QStringLiteral("SELECT 1 AS one FROM (SELECT 1 AS x) t WHERE 1 = 0;\n")
            .replace(QStringLiteral(" FROM (SELECT 1 AS x) t"),
                     backend == ETestBackend::FireBird ? QStringLiteral(" FROM rdb$database")
                                                       : QString()) +
        SlowStatement(backend) + QStringLiteral(";\nSELECT 2 AS two");
    thread->Post([database, control, run, script, &receiver, &delivered] {
        RunScript(*database, script, *run, control.get());
        run->Recordset.reset();
        CDatabaseThread::Deliver(&receiver, [&delivered] { delivered = true; });
    });
    QTRY_VERIFY(control->Statement == 2);
    QTest::qWait(200);
    QVERIFY(!delivered);
    control->StopRequested = true;
    // As the window does: again until the run is over.
    QVERIFY(QTest::qWaitFor(
        [&] {
            database->Interrupt();
            return delivered;
        },
        10000));
    QVERIFY(run->Stopped);
    QCOMPARE(run->Outcomes.size(), 2);
    QVERIFY(run->Outcomes.at(0).isEmpty());
    QVERIFY(!run->Outcomes.at(1).isEmpty());

    std::atomic<bool> works{false};
    thread->Post([database, &works] {
        CAbstractRecordset* recordset = nullptr;
        QString error;
        works = database->OpenRecordset(QStringLiteral("SELECT 3 AS three") +
                                            (database->GetDatabaseType() == DatabaseTypeFireBird
                                                 ? QStringLiteral(" FROM rdb$database")
                                                 : QString()),
                                        error, recordset);
        CRecordsetPtr owned(recordset);
        database->Disconnect();
    });
    // The database goes on the thread, after the jobs before.
    thread->Post([closing = std::move(database)] {});
    thread.reset();
    QVERIFY(CDatabaseThread::WaitForEndedThreads(60000));
    QVERIFY(works);
}

// Rows read on the connection's thread reach this thread in batches and fill
// a grid exactly as a read on one thread does.
void CThreadsTests::rowsComeInBatches()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    std::shared_ptr<CAbstractDatabase> database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    std::shared_ptr<CDatabaseThread> thread = CDatabaseThread::Start();
    auto control = std::make_shared<CRunControl>();
    QObject receiver;
    CResultModel grid;
    bool ended = false;
    const QString query = ManyRows(backend);
    thread->Post([database, control, query, &receiver, &grid, &ended] {
        CScriptRun run;
        RunScript(*database, query, run, control.get());
        if (run.Recordset)
            ReadResultRows(
                *run.Recordset,
                [&receiver, &grid, &ended](CResultPiece&& read) {
                    auto piece = std::make_shared<CResultPiece>(std::move(read));
                    CDatabaseThread::Deliver(&receiver, [piece, &grid, &ended] {
                        ended = piece->Last;
                        AddResultPiece(grid, std::move(*piece), {});
                    });
                },
                control.get());
    });
    QVERIFY(QTest::qWaitFor([&ended] { return ended; }, 60000));
    QCOMPARE(grid.RowCount(), MaxResultRows);
    QCOMPARE(control->RowsRead, MaxResultRows);
    QCOMPARE(grid.Text(MaxResultRows - 1, 0), QStringLiteral("1000"));

    // The same query read on this thread gives the same grid.
    CResultModel direct;
    std::atomic<bool> read{false};
    thread->Post([database, query, &direct, &read] {
        CScriptRun run;
        RunScript(*database, query, run);
        FillResultGrid(*run.Recordset, direct, {}, {});
        run.Recordset.reset();
        read = true;
    });
    QVERIFY(QTest::qWaitFor([&read] { return read.load(); }, 60000));
    QCOMPARE(GridText(grid), GridText(direct));
    thread->Post([closing = std::move(database)] {});
}

// Connects abandoned at once and half-way: nobody hears of them, and what
// they opened is closed on their thread.
void CThreadsTests::abandonedConnects()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection settings;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, settings, why), qPrintable(why));
    QObject receiver;
    int heard = 0;
    for (int wait : {0, 5, 50}) {
        std::shared_ptr<CDatabaseThread> thread = CDatabaseThread::Start();
        const std::shared_ptr<CConnectionAttempt> attempt =
            CConnectionAttempt::Start(settings, *thread, &receiver, [&heard] { ++heard; });
        QThread::msleep(wait); // the attempt may end meanwhile, but is not heard yet
        attempt->Abandon(*thread);
    }
    // One that is heard.
    std::shared_ptr<CDatabaseThread> thread = CDatabaseThread::Start();
    bool ended = false;
    const std::shared_ptr<CConnectionAttempt> attempt =
        CConnectionAttempt::Start(settings, *thread, &receiver, [&ended] { ended = true; });
    QVERIFY(QTest::qWaitFor([&ended] { return ended; }, 60000));
    QCOMPARE(heard, 0);
    CConnection profile = settings;
    profile.Thread = thread;
    QString error;
    QVERIFY2(attempt->Take(profile, error), qPrintable(error));
    QVERIFY(profile.Database);
    profile.CloseDatabase();
}

void CThreadsTests::deliveriesToAReceiverThatHasGone()
{
    std::shared_ptr<CDatabaseThread> thread = CDatabaseThread::Start();
    auto receiver = std::make_unique<QObject>();
    auto other = std::make_unique<QObject>();
    int done = 0;
    int otherDone = 0;
    auto gone = std::make_shared<std::atomic<bool>>(false);
    thread->Post([target = QPointer<QObject>(receiver.get()), kept = QPointer<QObject>(other.get()),
                  gone, &done, &otherDone] {
        while (!*gone)
            QThread::msleep(1);
        for (int i = 0; i < 100; ++i) {
            CDatabaseThread::Deliver(target, [&done] { ++done; });
            CDatabaseThread::Deliver(kept, [&otherDone] { ++otherDone; });
        }
    });
    receiver.reset();
    *gone = true;
    QVERIFY(QTest::qWaitFor([&otherDone] { return otherDone == 100; }, 10000));
    QCOMPARE(done, 0);
}

QTEST_GUILESS_MAIN(CThreadsTests)
#include "tst_Threads.moc"
