// The database layer when its server goes away in the middle of a query:
// the recordset reports the failed fetch and stays at its end, an export
// fails with that message and keeps the lines it wrote, and the connection
// can be closed and opened again once the server is back. Each backend gets
// a server of its own for this (never the shared test servers), stopped by
// its process id.

#include "database/BackendFixture.h"
#include "database/FireBirdDatabase.h"
#include "database/OdbcDatabase.h"
#include "database/PrivateFireBird.h"
#include "database/PrivatePostgres.h"
#include "database/Watchdog.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

namespace {

constexpr int RowCount = 200000;
constexpr int RowsBeforeTheStop = 1000;
constexpr int WatchdogSeconds = 300;
const QString Query = QStringLiteral("SELECT id, txt FROM t ORDER BY id");

// Signals a process; the caller waits for it to be gone.
std::function<void()> Signal(qint64 pid, int signal)
{
    return [pid, signal] { ::kill(pid_t(pid), signal); };
}

// The lines of an export file (UTF-16LE, CR LF between lines).
QStringList ExportLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    return text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
}

QString ExpectedLine(int id)
{
    return QStringLiteral("\"%1\",\"row %1\"").arg(id);
}

} // namespace

class CLostServerTests : public QObject
{
    Q_OBJECT

private slots:
    void fireBird();
    void postgresThroughOdbc();

private:
    // The rows of Query, all of them, each checked; fails the test otherwise.
    void ReadEverything(CAbstractDatabase& db);
    // Exports Query while stop ends the server once the file holds a
    // thousand lines: the export fails with the fetch error and keeps them.
    void ExportWhileTheServerStops(CAbstractDatabase& db, const std::function<void()>& stop,
                                   const std::function<void()>& waitForTheEnd);
    // Reads a thousand rows, stops the server, reads on to the failure.
    void FetchWhileTheServerStops(CAbstractDatabase& db, const std::function<void()>& stop);

    QTemporaryDir Dir_;
};

void CLostServerTests::ReadEverything(CAbstractDatabase& db)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool opened = db.OpenRecordset(Query, error, raw);
    CRecordsetPtr recordset(raw);
    QVERIFY2(opened, qPrintable(error));
    int rows = 0;
    while (recordset->MoveNext()) {
        if (recordset->GetInt(0) != rows)
            QFAIL(
                qPrintable(QStringLiteral("row %1 reads %2").arg(rows).arg(recordset->GetInt(0))));
        ++rows;
    }
    QVERIFY(!recordset->GetFetchError(error));
    QCOMPARE(rows, RowCount);
}

void CLostServerTests::ExportWhileTheServerStops(CAbstractDatabase& db,
                                                 const std::function<void()>& stop,
                                                 const std::function<void()>& waitForTheEnd)
{
    const QString path = Dir_.filePath(QStringLiteral("export.txt"));
    QFile::remove(path);
    // The first thousand lines take at most 34 bytes each (UTF-16, CR LF).
    std::atomic<bool> exporting = true;
    std::thread stopper([&] {
        while (exporting && QFileInfo(path).size() < 34 * RowsBeforeTheStop)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (exporting)
            stop();
    });
    QString error;
    const bool exported = db.ExportToTextFile(Query, error, path, QStringLiteral(","));
    exporting = false;
    stopper.join();
    waitForTheEnd();
    QVERIFY2(!exported, "the export reported success after the server had gone");
    QVERIFY(!error.isEmpty());
    qInfo("export: %s", qPrintable(error));

    const QStringList lines = ExportLines(path);
    QVERIFY2(lines.size() >= RowsBeforeTheStop, qPrintable(QString::number(lines.size())));
    QVERIFY(lines.size() < RowCount);
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i] != ExpectedLine(i))
            QFAIL(qPrintable(QStringLiteral("line %1: %2").arg(i).arg(lines[i])));
}

void CLostServerTests::FetchWhileTheServerStops(CAbstractDatabase& db,
                                                const std::function<void()>& stop)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool opened = db.OpenRecordset(Query, error, raw);
    CRecordsetPtr recordset(raw);
    QVERIFY2(opened, qPrintable(error));
    int rows = 0;
    for (; rows < RowsBeforeTheStop; ++rows) {
        QVERIFY(recordset->MoveNext());
        QCOMPARE(recordset->GetInt(0), rows);
    }
    stop();
    // What the client still holds comes out, in order, then the failure.
    while (rows < RowCount && recordset->MoveNext()) {
        QCOMPARE(recordset->GetInt(0), rows);
        ++rows;
    }
    QVERIFY2(rows < RowCount, "every row was read after the server had gone");
    error.clear();
    QVERIFY(recordset->GetFetchError(error));
    QVERIFY(!error.isEmpty());
    qInfo("fetch after %d rows: %s", rows, qPrintable(error));
    const QString message = error;
    for (int i = 0; i < 20; ++i) {
        QVERIFY2(!recordset->MoveNext(), "a row was read after the failed fetch");
        QVERIFY(recordset->GetFetchError(error));
        QCOMPARE(error, message);
    }
    recordset.reset(); // its transaction cannot be committed any more
}

void CLostServerTests::fireBird()
{
    REQUIRE_AVAILABLE(CPrivateFireBird::Unavailable());
    CPrivateFireBird server;
    CWatchdog watchdog(WatchdogSeconds, QStringLiteral("FireBird with a lost server"),
                       [&server] { ::kill(pid_t(server.ProcessId()), SIGKILL); });
    QString error;
    QVERIFY2(server.Start(error), qPrintable(error));
    const QString location = server.Location(QStringLiteral("lost.fdb"));
    QVERIFY2(server.RunScript({},
                              QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3';\n"
                                             "CREATE TABLE t (id INTEGER NOT NULL PRIMARY KEY, "
                                             "txt VARCHAR(40));\n"
                                             "COMMIT;\n"
                                             "SET TERM ^ ;\n"
                                             "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN "
                                             "WHILE (i < %4) DO BEGIN "
                                             "INSERT INTO t VALUES (:i, 'row ' || :i); "
                                             "i = i + 1; END END^\n"
                                             "SET TERM ; ^\n"
                                             "COMMIT;\n")
                                  .arg(location, server.User(), server.Password())
                                  .arg(RowCount),
                              error),
             qPrintable(error));

    CFireBirdDatabase db;
    QVERIFY2(db.Connect(location, server.User(), server.Password(), error), qPrintable(error));
    ReadEverything(db);
    if (QTest::currentTestFailed())
        return;

    const qint64 first = server.ProcessId();
    ExportWhileTheServerStops(db, Signal(first, SIGKILL), [&server] { server.Kill(); });
    if (QTest::currentTestFailed())
        return;
    // The recordset's commit failed: a transaction handle is left over.
    QVERIFY(!db.Disconnect());
    QVERIFY(!db.IsConnected());

    QVERIFY2(server.Start(error), qPrintable(error));
    QVERIFY2(db.Connect(location, server.User(), server.Password(), error), qPrintable(error));
    ReadEverything(db);
    if (QTest::currentTestFailed())
        return;

    FetchWhileTheServerStops(db, [&server] { server.Kill(); });
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!db.Disconnect());
    QVERIFY(!db.IsConnected());
    QVERIFY(!db.Disconnect()); // nothing is left to close

    QVERIFY2(server.Start(error), qPrintable(error));
    QVERIFY2(db.Connect(location, server.User(), server.Password(), error), qPrintable(error));
    ReadEverything(db);
    if (QTest::currentTestFailed())
        return;

    // Lost while idle, without a transaction: the client library counts the
    // detach of a lost attachment as done or as failed; either way the
    // connection is closed.
    server.Kill();
    db.Disconnect();
    QVERIFY(!db.IsConnected());
    QVERIFY2(server.Start(error), qPrintable(error));
    QVERIFY2(db.Connect(location, server.User(), server.Password(), error), qPrintable(error));
    QVERIFY(db.Disconnect());
    QVERIFY(!db.IsConnected());
}

void CLostServerTests::postgresThroughOdbc()
{
    REQUIRE_AVAILABLE(CPrivatePostgres::Unavailable());
    CPrivatePostgres server;
    CWatchdog watchdog(WatchdogSeconds, QStringLiteral("PostgreSQL with a lost server"),
                       [&server] { ::kill(pid_t(server.ProcessId()), SIGKILL); });
    QString error;
    QVERIFY2(server.Start(error), qPrintable(error));
    {
        COdbcDatabase setup;
        QVERIFY2(setup.Connect(server.ConnectString(), {}, {}, error), qPrintable(error));
        QVERIFY2(setup.ExecuteSQL(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, "
                                                 "txt VARCHAR(40)); "
                                                 "INSERT INTO t SELECT g, 'row ' || g FROM "
                                                 "generate_series(0, %1) g")
                                      .arg(RowCount - 1),
                                  error),
                 qPrintable(error));
        QVERIFY(setup.Disconnect());
    }
    // Rows come from the server a hundred at a time, so that it stops in
    // the middle of the fetch.
    const QString batched = server.ConnectString(QStringLiteral("UseDeclareFetch=1;Fetch=100"));

    COdbcDatabase db;
    QVERIFY2(db.Connect(batched, {}, {}, error), qPrintable(error));
    ReadEverything(db);
    if (QTest::currentTestFailed())
        return;

    ExportWhileTheServerStops(db, Signal(server.ProcessId(), SIGQUIT),
                              [&server] { server.Stop(); });
    if (QTest::currentTestFailed())
        return;
    QVERIFY(db.Disconnect());
    QVERIFY(!db.IsConnected());

    QVERIFY2(server.Start(error), qPrintable(error));
    QVERIFY2(db.Connect(batched, {}, {}, error), qPrintable(error));
    ReadEverything(db);
    if (QTest::currentTestFailed())
        return;

    FetchWhileTheServerStops(db, [&server] { server.Stop(); });
    if (QTest::currentTestFailed())
        return;
    QVERIFY(db.Disconnect());
    QVERIFY(!db.IsConnected());

    QVERIFY2(server.Start(error), qPrintable(error));
    QVERIFY2(db.Connect(batched, {}, {}, error), qPrintable(error));
    ReadEverything(db);
    if (QTest::currentTestFailed())
        return;

    server.Stop(); // lost while idle
    QVERIFY(db.Disconnect());
    QVERIFY(!db.IsConnected());
    QVERIFY2(server.Start(error), qPrintable(error));
    QVERIFY2(db.Connect(batched, {}, {}, error), qPrintable(error));
    QVERIFY(db.Disconnect());
}

QTEST_GUILESS_MAIN(CLostServerTests)
#include "tst_LostServer.moc"
