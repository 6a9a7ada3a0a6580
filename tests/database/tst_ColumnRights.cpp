// Reading a table's column names is subject to the right to read the table:
// a user who may not read it gets the server's refusal, as a query of the
// table would, and the names of a table the user may read. Runs on servers
// of the test's own, where it may make users.

#include "database/BackendFixture.h"
#include "database/FireBirdDatabase.h"
#include "database/OdbcDatabase.h"
#include "database/PrivateFireBird.h"
#include "database/PrivatePostgres.h"
#include "database/Watchdog.h"

#include <QTest>
#include <csignal>

namespace {

constexpr int WatchdogSeconds = 300;

// The message of running "SELECT * FROM" table, which must fail.
QString QueryMessage(CAbstractDatabase& db, const QString& table)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool opened = db.OpenRecordset(QStringLiteral("SELECT * FROM ") + table, error, raw);
    CRecordsetPtr recordset(raw);
    if (opened && recordset->MoveNext())
        return QStringLiteral("(the query read a row)");
    return error;
}

} // namespace

class CColumnRightsTests : public QObject
{
    Q_OBJECT

private slots:
    void fireBird();
    void postgresThroughOdbc();
};

void CColumnRightsTests::fireBird()
{
    REQUIRE_AVAILABLE(CPrivateFireBird::Unavailable());
    CPrivateFireBird server;
    CWatchdog watchdog(WatchdogSeconds, QStringLiteral("FireBird rights"),
                       [&server] { ::kill(pid_t(server.ProcessId()), SIGKILL); });
    QString error;
    QVERIFY2(server.Start(error), qPrintable(error));
    const QString location = server.Location(QStringLiteral("rights.fdb"));
    QVERIFY2(server.RunScript({},
                              QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3';\n"
                                             "CREATE USER reader PASSWORD 'reader';\n"
                                             "CREATE TABLE secret (a INTEGER, b INTEGER);\n"
                                             "CREATE TABLE \"open one\" (a INTEGER, b INTEGER);\n"
                                             "INSERT INTO secret VALUES (1, 2);\n"
                                             "GRANT SELECT ON \"open one\" TO reader;\n"
                                             "COMMIT;\n")
                                  .arg(location, server.User(), server.Password()),
                              error),
             qPrintable(error));

    CFireBirdDatabase db;
    QVERIFY2(db.Connect(location, QStringLiteral("READER"), QStringLiteral("reader"), error),
             qPrintable(error));
    QStringList columns;
    QVERIFY2(db.GetColumnNames(QStringLiteral("open one"), columns, error), qPrintable(error));
    QCOMPARE(columns, QStringList({"A", "B"}));

    columns.clear();
    error.clear();
    QVERIFY(!db.GetColumnNames(QStringLiteral("SECRET"), columns, error));
    QVERIFY(columns.isEmpty());
    qInfo("%s", qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("no permission for SELECT access to TABLE SECRET")),
             qPrintable(error));
    QVERIFY2(QueryMessage(db, QStringLiteral("SECRET"))
                 .contains(QStringLiteral("no permission for SELECT access to TABLE SECRET")),
             qPrintable(QueryMessage(db, QStringLiteral("SECRET"))));
    QVERIFY(db.Disconnect());
}

void CColumnRightsTests::postgresThroughOdbc()
{
    REQUIRE_AVAILABLE(CPrivatePostgres::Unavailable());
    CPrivatePostgres server;
    CWatchdog watchdog(WatchdogSeconds, QStringLiteral("PostgreSQL rights"),
                       [&server] { ::kill(pid_t(server.ProcessId()), SIGKILL); });
    QString error;
    QVERIFY2(server.Start(error), qPrintable(error));
    {
        COdbcDatabase setup;
        QVERIFY2(setup.Connect(server.ConnectString(), {}, {}, error), qPrintable(error));
        QVERIFY2(
            setup.ExecuteSQL(QStringLiteral("CREATE ROLE reader LOGIN; "
                                            "CREATE TABLE secret (a INTEGER, b INTEGER); "
                                            "CREATE TABLE \"open one\" (a INTEGER, b INTEGER); "
                                            "INSERT INTO secret VALUES (1, 2); "
                                            "GRANT SELECT ON \"open one\" TO reader"),
                             error),
            qPrintable(error));
        QVERIFY(setup.Disconnect());
    }
    COdbcDatabase db;
    QVERIFY2(db.Connect(server.ConnectStringAs(QStringLiteral("reader")), {}, {}, error),
             qPrintable(error));
    QStringList columns;
    QVERIFY2(db.GetColumnNames(QStringLiteral("open one"), columns, error), qPrintable(error));
    QCOMPARE(columns, QStringList({"a", "b"}));

    columns.clear();
    error.clear();
    QVERIFY(!db.GetColumnNames(QStringLiteral("secret"), columns, error));
    QVERIFY(columns.isEmpty());
    qInfo("%s", qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("permission denied for table secret")),
             qPrintable(error));
    QCOMPARE(QueryMessage(db, QStringLiteral("secret")), error);
    QVERIFY(db.Disconnect());
}

QTEST_GUILESS_MAIN(CColumnRightsTests)
#include "tst_ColumnRights.moc"
