// The Execute command's engine and the grid it writes, without a window:
// scripts run against real SQLite files, and a shared script on every
// backend the program talks to.

#include "database/SQLiteDatabase.h"
#include "workspace/GridText.h"
#include "workspace/QueryExecution.h"
#include "workspace/ResultWriter.h"
#include "workspace/TestDatabases.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

// Runs script on database and returns the grid as text.
QStringList Execute(CAbstractDatabase& database, const QString& script)
{
    CScriptRun run;
    RunScript(database, script, run);
    CResultModel grid;
    ShowScriptRun(run, grid, {}, 500, {});
    return GridText(grid);
}

QStringList Rows(const QString& header, int first, int last)
{
    QStringList lines{header};
    for (int i = first; i <= last; ++i)
        lines.append(QStringLiteral("  %1|%1").arg(i));
    return lines;
}

} // namespace

class CQueryExecutionTests : public QObject
{
    Q_OBJECT

private slots:
    void toLogLine_data();
    void toLogLine();
    void queryStatements_data();
    void queryStatements();
    void scriptToRun_data();
    void scriptToRun();

    void scripts_data();
    void scripts();
    void runReportsEveryStatement();
    void failedFetchIsShownAfterTheRows();
    void slowPumpDoesNotFlushEveryRow();

    void sharedScript_data();
    void sharedScript();
    void dataThatLooksLikeStatements_data();
    void dataThatLooksLikeStatements();

private:
    QTemporaryDir Dir;
    int Files = 0;
    CTestDatabases Databases;
};

void CQueryExecutionTests::toLogLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("CR LF, CR and tab become blanks") << "a\r\nb\rc\td"
                                                     << "a b c d";
    QTest::newRow("line feeds stay") << "a\nb"
                                     << "a\nb";
    QTest::newRow("trimmed") << " \t a \r\n"
                             << "a";
    QTest::newRow("empty") << ""
                           << "";
}

void CQueryExecutionTests::toLogLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(ToLogLine(text), line);
}

void CQueryExecutionTests::queryStatements_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("query");
    QTest::newRow("select") << "select 1" << true;
    QTest::newRow("upper case after blanks") << " \n\t SELECT 1" << true;
    QTest::newRow("with and a blank") << "WITH t AS (SELECT 1) SELECT * FROM t" << true;
    QTest::newRow("with and a line break") << "with\nt as (select 1) select * from t" << true;
    QTest::newRow("with and a parenthesis") << "with(x) as" << true;
    QTest::newRow("a word that begins with with") << "without_rowid" << false;
    QTest::newRow("with alone") << "with" << false;
    QTest::newRow("with and blanks only") << "WITH \t\n" << false;
    QTest::newRow("mixed case") << "SeLeCt 1" << true;
    QTest::newRow("insert") << "insert into t select 1" << false;
    QTest::newRow("comments first") << "-- note\n /* a\nb */ select 1" << true;
    QTest::newRow("comment right before") << "/*x*/select 1" << true;
    QTest::newRow("only a comment") << "-- select 1" << false;
    QTest::newRow("unclosed comment") << "/* select 1" << false;
}

void CQueryExecutionTests::queryStatements()
{
    QFETCH(QString, statement);
    QFETCH(bool, query);
    QCOMPARE(IsQueryStatement(statement), query);
    QCOMPARE(FindSelectIndex({QStringLiteral("insert"), statement}), query ? 1 : 2);
}

void CQueryExecutionTests::scriptToRun_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("script");
    QTest::newRow("no selection") << "select 1;\nselect 2" << 3 << 3 << "select 1;\nselect 2";
    QTest::newRow("exactly the selection") << "select 1;\nselect 2" << 10 << 16 << "select";
    QTest::newRow("selection to the end") << "select 1;\nselect 2" << 10 << 18 << "select 2";
    QTest::newRow("line breaks count once") << "a\r\nselect 3" << 2 << 10 << "select 3";
    QTest::newRow("reversed range") << "abc" << 2 << 1 << "abc";
    QTest::newRow("no caret") << "abc" << -1 << -1 << "abc";
    QTest::newRow("past the end") << "abc" << 1 << 9 << "abc";
}

void CQueryExecutionTests::scriptToRun()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, script);
    QCOMPARE(ScriptToRun(text, start, end), script);
}

void CQueryExecutionTests::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("grid");

    QTest::newRow("empty editor") << "" << QStringList{"<"};
    QTest::newRow("one select with a semicolon")
        << "SELECT 1 AS one;" << QStringList{"#>|one>", "  1|1"};
    QTest::newRow("create, insert, select")
        << "CREATE TABLE t (a INTEGER, b TEXT);\nINSERT INTO t VALUES (7, 'x');\n"
           "SELECT a, b FROM t"
        << QStringList{"#>|a>|b<", "  1|7|x"};
    QTest::newRow("rows are read after a later insert ran")
        << "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);"
           " SELECT a FROM t; INSERT INTO t VALUES (2)"
        << QStringList{"#>|a>", "  1|1", "  2|2"};
    QTest::newRow("of two queries the later fills the grid")
        << "SELECT 1 AS first; SELECT 2 AS second" << QStringList{"#>|second>", "  1|2"};
    QTest::newRow("upper case after blanks")
        << "  \n  SELECT 'a' AS t" << QStringList{"#>|t<", "  1|a"};
    QTest::newRow("a query with WITH fills the grid")
        << "WITH t(x) AS (SELECT 5) SELECT x FROM t" << QStringList{"#>|x>", "  1|5"};
    QTest::newRow("an empty result is right-aligned")
        << "SELECT 'a' AS t, 1 AS n WHERE 0" << QStringList{"#>|t>|n>"};
    QTest::newRow("a failing statement in the middle")
        << "CREATE TABLE t (a);\nINSERT INTO missing\tVALUES (1);\nSELECT a FROM t"
        << QStringList{"<",
                       "+ CREATE TABLE t (a)",
                       "  - Success",
                       "x INSERT INTO missing VALUES (1)",
                       "  - Error: no such table: missing",
                       "+ SELECT a FROM t",
                       "  - Success"};
    QTest::newRow("a semicolon in double quotes")
        << "SELECT 1 AS \"a;b\"" << QStringList{"#>|a;b>", "  1|1"};
    QTest::newRow("a semicolon in apostrophes")
        << "SELECT 'x;y' AS v" << QStringList{"#>|v<", "  1|x;y"};
    QTest::newRow("a white-space-only last statement")
        << "CREATE TABLE t (a);\n"
        << QStringList{"<", "+ CREATE TABLE t (a)", "  - Success", "+ ", "  - Success"};
    QTest::newRow("at most 1000 rows")
        << "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1500)"
           " SELECT x FROM c"
        << Rows(QStringLiteral("#>|x>"), 1, 1000);
    QTest::newRow("a query after a comment fills the grid")
        << "-- the answer\nSELECT 42 AS a" << QStringList{"#>|a>", "  1|42"};
    QTest::newRow("NULL is empty text")
        << "SELECT NULL AS n, 2.5 AS d" << QStringList{"#>|n>|d>", "  1||2.5"};
}

void CQueryExecutionTests::scripts()
{
    QFETCH(QString, script);
    QFETCH(QStringList, grid);
    CSQLiteDatabase database;
    QString error;
    QVERIFY2(database.Connect(Dir.filePath(QStringLiteral("s%1.db").arg(++Files)), {}, {}, error),
             qPrintable(error));
    const QStringList shown = Execute(database, script);
    if (grid.size() > 20) { // the long ones: compare the size and the ends
        QCOMPARE(shown.size(), grid.size());
        QCOMPARE(shown.last(), grid.last());
    }
    QCOMPARE(shown, grid);
}

void CQueryExecutionTests::runReportsEveryStatement()
{
    CSQLiteDatabase database;
    QString error;
    QVERIFY(database.Connect(Dir.filePath(QStringLiteral("run.db")), {}, {}, error));
    CScriptRun run;
    RunScript(database, QStringLiteral("SELECT 1; SELECT x; SELECT 2"), run);
    QCOMPARE(run.Statements.size(), 3);
    QCOMPARE(run.SelectIndex, 2);
    QCOMPARE(run.Outcomes, (QStringList{"", "no such column: x", ""}));
    QVERIFY(!run.Succeeded());
    QVERIFY(!run.Recordset); // closed unread: the log is shown instead
    RunScript(database, QStringLiteral("SELECT 1"), run);
    QVERIFY(run.Succeeded());
    QVERIFY(run.Recordset && run.Recordset->IsOpen());
}

// Reading rows fails after the third: the three rows stay, and the last row
// says why the rest is missing.
void CQueryExecutionTests::failedFetchIsShownAfterTheRows()
{
    CSQLiteDatabase database;
    QString error;
    QVERIFY(database.Connect(Dir.filePath(QStringLiteral("fetch.db")), {}, {}, error));
    const QStringList shown = Execute(
        database, QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                                 "WHERE x < 9) SELECT CASE WHEN x > 3 THEN "
                                 "abs(-9223372036854775807 - 1) ELSE x END AS v FROM c"));
    QCOMPARE(shown,
             (QStringList{"#>|v>", "  1|1", "  2|2", "  3|3", "x |- Error: integer overflow"}));
}

// A pump slower than the flush interval (painting a large grid, a remote
// display) must not make the views lay out and repaint after every row: only
// the time spent reading rows counts towards a flush. Reading eight rows of
// SQLite takes far less than that interval.
void CQueryExecutionTests::slowPumpDoesNotFlushEveryRow()
{
    CSQLiteDatabase database;
    QString error;
    QVERIFY(database.Connect(Dir.filePath(QStringLiteral("pump.db")), {}, {}, error));
    CScriptRun run;
    RunScript(database,
              QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                             "WHERE x < 8) SELECT x FROM c"),
              run);
    QVERIFY(run.Recordset);
    CResultModel grid;
    QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
    int pumped = 0;
    QVERIFY(ShowScriptRun(run, grid, {}, 500, [&pumped] {
        ++pumped;
        QThread::msleep(60);
        return true;
    }));
    QCOMPARE(pumped, 7); // between rows, not after the last
    QCOMPARE(grid.RowCount(), 8);
    QCOMPARE(inserted.size(), 1);
}

void CQueryExecutionTests::sharedScript_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QStringList>("grid");
    // The same rows as each backend renders them: SQLite keeps what was
    // stored; FireBird keeps the declared scale; the ODBC backend reads
    // decimals as doubles ("%f").
    QTest::newRow("SQLite") << ETestBackend::SQLite
                            << QStringList{"#>|id>|name<|price>|born<", "  1|1|Tea|2.5|2024-02-29",
                                           "  2|2||10|"};
    QTest::newRow("FireBird") << ETestBackend::FireBird
                              << QStringList{"#>|ID>|NAME<|PRICE>|BORN>",
                                             "  1|1|Tea|2.50|2024-02-29 00:00:00", "  2|2||10.00|"};
    QTest::newRow("ODBC PostgreSQL")
        << ETestBackend::OdbcPostgres
        << QStringList{"#>|id>|name<|price>|born>", "  1|1|Tea|2.500000|2024-02-29 00:00:00",
                       "  2|2||10.000000|"};
    QTest::newRow("ODBC SQLite") << ETestBackend::OdbcSQLite
                                 << QStringList{"#>|id>|name<|price>|born>",
                                                "  1|1|Tea|2.500000|2024-02-29",
                                                "  2|2||10.000000|"};
    QTest::newRow("ODBC MariaDB") << ETestBackend::OdbcMariaDB
                                  << QStringList{"#>|id>|name<|price>|born>",
                                                 "  1|1|Tea|2.500000|2024-02-29 00:00:00",
                                                 "  2|2||10.000000|"};
}

void CQueryExecutionTests::sharedScript()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QStringList, grid);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    auto database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    // The table first, on its own: FireBird uses a table only once the
    // statement that made it has been committed.
    QCOMPARE(Execute(*database, QStringLiteral("CREATE TABLE items (id INTEGER, name VARCHAR(20), "
                                               "price NUMERIC(9, 2), born TIMESTAMP)")),
             (QStringList{"<",
                          "+ CREATE TABLE items (id INTEGER, name VARCHAR(20), price "
                          "NUMERIC(9, 2), born TIMESTAMP)",
                          "  - Success"}));
    const QStringList shown =
        Execute(*database, QStringLiteral("INSERT INTO items VALUES (1, 'Tea', 2.50, "
                                          "'2024-02-29');\r\n"
                                          "INSERT INTO items VALUES (2, NULL, 10, NULL);\r\n"
                                          "SELECT id, name, price, born FROM items ORDER BY id"));
    QCOMPARE(shown, grid);
    database->Disconnect();
}

void CQueryExecutionTests::dataThatLooksLikeStatements_data()
{
    QTest::addColumn<ETestBackend>("backend");
    for (const ETestBackend backend :
         {ETestBackend::SQLite, ETestBackend::FireBird, ETestBackend::OdbcPostgres,
          ETestBackend::OdbcSQLite, ETestBackend::OdbcMariaDB})
        QTest::newRow(qPrintable(CTestDatabases::Name(backend))) << backend;
}

// Text inside a string or a comment is never cut into statements: the
// DELETE below is data, and the apostrophes in the comments open nothing.
// (The SQLite ODBC driver refuses a semicolon inside a block comment itself,
// so the block comment here has none.)
void CQueryExecutionTests::dataThatLooksLikeStatements()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    auto database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    QString error;
    QVERIFY2(database->ExecuteSQL(QStringLiteral("CREATE TABLE notes (body VARCHAR(60))"), error),
             qPrintable(error));
    const QStringList shown =
        Execute(*database,
                QStringLiteral("INSERT INTO notes VALUES ('a; DELETE FROM notes; --');\n"
                               "-- it's the second; DELETE FROM notes\n"
                               "INSERT INTO notes VALUES ('b');\n"
                               "/* don't DELETE FROM notes */ SELECT body FROM notes ORDER BY 1"));
    QCOMPARE(shown.mid(1), (QStringList{"  1|a; DELETE FROM notes; --", "  2|b"}));
    database->Disconnect();
}

QTEST_GUILESS_MAIN(CQueryExecutionTests)
#include "tst_QueryExecution.moc"
