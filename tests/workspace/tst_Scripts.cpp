// Scripts as people keep them in files, run through the Execute command's
// engine on every backend: trigger, procedure and function bodies, SET TERM,
// comment-only pieces, queries that do not begin with SELECT, transaction
// statements, and FireBird's two SQL dialects. Every case also looks at what
// the database holds afterwards, through a second run on the same connection.

#include "database/FireBirdDatabase.h"
#include "database/FireBirdServer.h"
#include "workspace/GridText.h"
#include "workspace/QueryExecution.h"
#include "workspace/ResultWriter.h"
#include "workspace/TestDatabases.h"

#include <QTest>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

// What a run shows, without the alignment marks of the headers: a query as
// its headers and rows (the row number first), a log as its rows, each
// after its mark ("+" success, "x" failure, " " none).
QStringList Execute(CAbstractDatabase& database, const QString& script)
{
    CScriptRun run;
    RunScript(database, script, run);
    CResultModel grid;
    ShowScriptRun(run, grid, {}, 500, {});
    QStringList lines = GridText(grid);
    QStringList headers = lines.takeFirst().split(u'|');
    for (QString& header : headers)
        header.chop(1);
    if (headers == QStringList{QString()})
        return lines;      // the log
    headers.removeFirst(); // "#"
    for (QString& line : lines)
        line = line.mid(2).trimmed();
    lines.prepend(headers.join(u'|'));
    return lines;
}

QStringList Log(const QStringList& statements)
{
    QStringList lines;
    for (const QString& statement : statements)
        lines << QStringLiteral("+ ") + statement << QStringLiteral("  - Success");
    return lines;
}

// A log line pair of a statement that failed with error.
QStringList Failed(const QString& statement, const QString& error)
{
    return {QStringLiteral("x ") + statement, QStringLiteral("  - Error: ") + error};
}

} // namespace

class CScriptsTests : public QObject
{
    Q_OBJECT

private slots:
    void scripts_data();
    void scripts();
    void fireBirdDialects_data();
    void fireBirdDialects();
    void unterminatedBodyIsSentAsItIs_data();
    void unterminatedBodyIsSentAsItIs();

private:
    CTestDatabases Databases;
};

void CScriptsTests::scripts_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QStringList>("holds");

    const QString trigger = QStringLiteral(
        "CREATE TABLE t (a INTEGER, k TEXT);\n"
        "CREATE TABLE log (x TEXT);\n"
        "BEGIN TRANSACTION;\n"
        "CREATE TRIGGER tr AFTER INSERT ON t BEGIN\n"
        "  UPDATE t SET k = CASE WHEN new.a > 0 THEN 'pos' ELSE 'neg' END WHERE a = new.a;\n"
        "  INSERT INTO log VALUES ('a;' || new.a);\n"
        "END;\n"
        "COMMIT;\n"
        "INSERT INTO t (a) VALUES (1), (-2);\n"
        "SELECT a, k FROM t ORDER BY a;\n"
        "-- done\n");
    const QString documentation = QStringLiteral(
        "CREATE TABLE t1 (a); CREATE TABLE t2 (b);\n"
        "CREATE TRIGGER t1r1 UPDATE ON t1 BEGIN INSERT INTO t2 VALUES (old.a); END;\n"
        "INSERT INTO t1 VALUES (5); UPDATE t1 SET a = 6;\n"
        "/* the trigger saw 5 */ SELECT b FROM t2");
    const QString transactions =
        QStringLiteral("CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);\n"
                       "BEGIN; INSERT INTO t VALUES (2); ROLLBACK;\n"
                       "BEGIN TRANSACTION; INSERT INTO t VALUES (3); END TRANSACTION;\n"
                       "SELECT a FROM t ORDER BY a;");
    const QString queries = QStringLiteral("CREATE TABLE t (a INTEGER, b TEXT);\n"
                                           "PRAGMA table_info(t);");
    const QStringList tableInfo{"cid|name|type|notnull|dflt_value|pk", "1|0|a|INTEGER|0||0",
                                "2|1|b|TEXT|0||0"};
    for (ETestBackend backend : {ETestBackend::SQLite, ETestBackend::OdbcSQLite}) {
        const QByteArray name = CTestDatabases::Name(backend).toUtf8();
        QTest::newRow(name + ": trigger with CASE inside a transaction")
            << backend << trigger << QStringList{"a|k", "1|-2|neg", "2|1|pos"}
            << "SELECT x FROM log ORDER BY x" << QStringList{"x", "1|a;-2", "2|a;1"};
        QTest::newRow(name + ": SQLite's own trigger example")
            << backend << documentation << QStringList{"b", "1|5"} << "SELECT a FROM t1"
            << QStringList{"a", "1|6"};
        QTest::newRow(name + ": BEGIN, ROLLBACK, END TRANSACTION")
            << backend << transactions << QStringList{"a", "1|1", "2|3"}
            << "SELECT count(*) AS n FROM t" << QStringList{"n", "1|2"};
        // The ODBC driver takes only a text that begins with SELECT or PRAGMA
        // for one returning rows.
        QTest::newRow(name + ": PRAGMA returns rows")
            << backend << queries << tableInfo
            << (backend == ETestBackend::SQLite ? "values (1, 'x')" : "select 1, 'x'")
            << (backend == ETestBackend::SQLite ? QStringList{"column1|column2", "1|1|x"}
                                                : QStringList{"1|'x'", "1|1|x"});
        QTest::newRow(name + ": PRAGMA without rows shows the log")
            << backend << "-- keys\npragma foreign_keys = ON"
            << Log({"-- keys\npragma foreign_keys = ON"}) << "PRAGMA foreign_keys"
            << QStringList{"foreign_keys", "1|1"};
        QTest::newRow(name + ": EXPLAIN QUERY PLAN")
            << backend << "CREATE TABLE t (a); EXPLAIN QUERY PLAN SELECT * FROM t"
            << QStringList{"id|parent|notused|detail", "1|2|0|0|SCAN t"}
            << "SELECT count(*) AS n FROM t" << QStringList{"n", "1|0"};
    }

    const QString psql =
        QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(20));\n"
                       "CREATE TABLE log (x VARCHAR(40));\n"
                       "SET TERM ^ ;\n"
                       "CREATE PROCEDURE p (n INTEGER) RETURNS (v INTEGER) AS\n"
                       "DECLARE VARIABLE i INTEGER = 0;\n"
                       "BEGIN\n"
                       "  WHILE (i < n) DO BEGIN i = i + 1; v = i * 10; SUSPEND; END\n"
                       "END^\n"
                       "CREATE TRIGGER tr FOR t BEFORE INSERT AS\n"
                       "BEGIN\n"
                       "  new.b = CASE WHEN new.a > 0 THEN 'pos' ELSE 'neg' END;\n"
                       "  INSERT INTO log VALUES ('a;' || new.a);\n"
                       "END^\n"
                       "set term ; ^\n"
                       "EXECUTE BLOCK AS DECLARE k INTEGER = 1; BEGIN\n"
                       "  WHILE (k <= 2) DO BEGIN INSERT INTO t (a) VALUES (:k); k = k + 1; END\n"
                       "END;\n"
                       "INSERT INTO t (a) VALUES (-1);\n"
                       "SELECT v FROM p(3);\n"
                       "-- done\n");
    QTest::newRow("FireBird: SET TERM, procedure, trigger, EXECUTE BLOCK")
        << ETestBackend::FireBird << psql << QStringList{"V", "1|10", "2|20", "3|30"}
        << "SELECT a, b, (SELECT COUNT(*) FROM log) AS n FROM t ORDER BY a"
        << QStringList{"A|B|N", "1|-1|neg|3", "2|1|pos|3", "3|2|pos|3"};
    QTest::newRow("FireBird: bodies without SET TERM")
        << ETestBackend::FireBird
        << "CREATE OR ALTER PROCEDURE p RETURNS (v INTEGER) AS BEGIN v = 1; SUSPEND; v = 2; "
           "SUSPEND; END;\n"
           "RECREATE TABLE t (a INTEGER);\n"
           "CREATE TRIGGER tr FOR t BEFORE INSERT AS BEGIN IF (new.a IS NULL) THEN new.a = 7; "
           "END;\n"
           "INSERT INTO t VALUES (NULL);\n"
           "EXECUTE BLOCK AS BEGIN INSERT INTO t SELECT v FROM p; END;\n"
           "SELECT SUM(a) AS s FROM t"
        << QStringList{"S", "1|10"} << "SELECT a FROM t ORDER BY a"
        << QStringList{"A", "1|1", "2|2", "3|7"};
    QTest::newRow("FireBird: COMMIT and ROLLBACK in the middle")
        << ETestBackend::FireBird
        << "CREATE TABLE t (a INTEGER); CREATE TABLE u (a INTEGER);\n"
           "INSERT INTO t VALUES (1); COMMIT;\n"
           "INSERT INTO t VALUES (2); ROLLBACK WORK;\n"
           "INSERT INTO t VALUES (3); COMMIT WORK;\n"
           "INSERT INTO t VALUES (4); rollback;\n"
           "SELECT a FROM t ORDER BY a;\n"
           "INSERT INTO u VALUES (5); commit;\n"
           "INSERT INTO u VALUES (6); ROLLBACK"
        << QStringList{"A", "1|1", "2|3"} << "SELECT (SELECT COUNT(*) FROM t), a FROM u"
        << QStringList{"COUNT|A", "1|2|5"};
    QTest::newRow("FireBird: trailing comment after the query")
        << ETestBackend::FireBird << "select 1 as x from rdb$database;\n-- done\n/* really */"
        << QStringList{"X", "1|1"} << "select 2 as y from rdb$database" << QStringList{"Y", "1|2"};

    // FireBird's isql reads some statements itself: they are carried out
    // as isql would, or refused by name, never sent to the server.
    QTest::newRow("FireBird: isql's settings, SET TRANSACTION, SET AUTODDL OFF")
        << ETestBackend::FireBird
        << "SET NAMES UTF8; SET SQL DIALECT 3; SET LIST ON; SET ECHO; SET STATS ON; set count "
           "on; SET HEADING OFF; SET BAIL OFF; SET WARNINGS ON; SET;\n"
           "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);\n"
           "SET TRANSACTION ISOLATION LEVEL SNAPSHOT; INSERT INTO t VALUES (2); ROLLBACK;\n"
           "INSERT INTO t VALUES (3);\n"
           "SET AUTODDL OFF; CREATE TABLE u (a INTEGER); ROLLBACK; SET AUTO ON;\n"
           "SET TRANSACTION READ ONLY; SELECT a FROM t; COMMIT;\n"
           "INSERT INTO t VALUES (4)"
        << QStringList{"A", "1|1"}
        << "SELECT (SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'U') AS u, "
           "LIST(a) AS a FROM t"
        << QStringList{"U|A", "1|0|1,4"};
    QTest::newRow("FireBird: isql's commands are refused by name")
        << ETestBackend::FireBird
        << "CREATE TABLE t (a INTEGER);\n"
           "SET TRANSACTION READ ONLY; INSERT INTO t VALUES (1); COMMIT;\n"
           "INSERT INTO t VALUES (2);\n"
           "SHOW TABLES; in 'more.sql'; CONNECT 'other.fdb'; CREATE DATABASE 'x.fdb';\n"
           "SET SQL DIALECT 1; SET PLANONLY; SET AUTODDL MAYBE"
        << (Log({"CREATE TABLE t (a INTEGER)", "SET TRANSACTION READ ONLY"}) +
            Failed("INSERT INTO t VALUES (1)", "attempted update during read-only transaction") +
            Log({"COMMIT", "INSERT INTO t VALUES (2)"}) +
            Failed("SHOW TABLES", "SHOW is a command of FireBird's isql, not SQL, and is not run") +
            Failed("in 'more.sql'",
                   "INPUT is a command of FireBird's isql, not SQL, and is not run") +
            Failed("CONNECT 'other.fdb'", "CONNECT is a command of FireBird's isql and is not "
                                          "run: the script runs on the database of this "
                                          "connection") +
            Failed("CREATE DATABASE 'x.fdb'",
                   "CREATE DATABASE is a command of FireBird's isql and is not run: the script "
                   "runs on the database of this connection") +
            Failed("SET SQL DIALECT 1", "SET SQL DIALECT 1 is not run: the database is of SQL "
                                        "dialect 3, which every statement here uses") +
            Failed("SET PLANONLY",
                   "SET PLANONLY is a command of FireBird's isql, not SQL, and is not run") +
            Failed("SET AUTODDL MAYBE", "SET AUTODDL takes ON or OFF"))
        << "SELECT a FROM t" << QStringList{"A", "1|2"};
    QTest::newRow("FireBird: SET BAIL ends the script and undoes its work")
        << ETestBackend::FireBird
        << "CREATE TABLE t (a INTEGER); SET BAIL ON; INSERT INTO t VALUES (1);\n"
           "INSERT INTO nowhere VALUES (2); INSERT INTO t VALUES (3); SELECT a FROM t"
        << (Log({"CREATE TABLE t (a INTEGER)", "SET BAIL ON", "INSERT INTO t VALUES (1)"}) +
            Failed("INSERT INTO nowhere VALUES (2)",
                   "Dynamic SQL Error; SQL error code = -204; Table unknown; NOWHERE; At line "
                   "1, column 13") +
            Failed("INSERT INTO t VALUES (3)",
                   "Not run: SET BAIL ended the script at the statement that failed, and its "
                   "work was rolled back") +
            Failed("SELECT a FROM t",
                   "Not run: SET BAIL ended the script at the statement that failed, and its "
                   "work was rolled back"))
        << "SELECT COUNT(*) AS n FROM t" << QStringList{"N", "1|0"};
    QTest::newRow("FireBird: EXIT commits and ends the script")
        << ETestBackend::FireBird
        << "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1); EXIT;\n"
           "INSERT INTO t VALUES (2);\n-- the end\n"
        << (Log({"CREATE TABLE t (a INTEGER)", "INSERT INTO t VALUES (1)", "EXIT"}) +
            Failed("INSERT INTO t VALUES (2)", "Not run: the script ended at EXIT") +
            QStringList{"+ -- the end", "  - Success"})
        << "SELECT a FROM t" << QStringList{"A", "1|1"};
    QTest::newRow("FireBird: QUIT rolls back")
        << ETestBackend::FireBird
        << "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1); QUIT"
        << Log({"CREATE TABLE t (a INTEGER)", "INSERT INTO t VALUES (1)", "QUIT"})
        << "SELECT COUNT(*) AS n FROM t" << QStringList{"N", "1|0"};

    const QString dollars = QStringLiteral(
        "CREATE TABLE t (a INTEGER, k TEXT);\n"
        "CREATE FUNCTION sign_of(x integer) RETURNS text LANGUAGE plpgsql AS $$\n"
        "BEGIN\n"
        "  IF x > 0 THEN RETURN 'pos'; ELSE RETURN 'neg'; END IF;\n"
        "END $$;\n"
        "CREATE FUNCTION t_fill() RETURNS trigger LANGUAGE plpgsql AS $body$\n"
        "BEGIN\n"
        "  NEW.k := sign_of(NEW.a) || ';$$';\n"
        "  RETURN NEW;\n"
        "END\n"
        "$body$;\n"
        "CREATE TRIGGER t_fill BEFORE INSERT ON t FOR EACH ROW EXECUTE FUNCTION t_fill();\n"
        "DO $do$ BEGIN FOR i IN 1..2 LOOP INSERT INTO t (a) VALUES (i); END LOOP; END $do$;\n"
        "PREPARE ins AS INSERT INTO t (a) VALUES ($1); EXECUTE ins(-1);\n"
        "SELECT a, k FROM t ORDER BY a;\n"
        "-- done\n");
    QTest::newRow("PostgreSQL: $$ and $tag$ bodies, DO block, $1")
        << ETestBackend::OdbcPostgres << dollars
        << QStringList{"a|k", "1|-1|neg;$$", "2|1|pos;$$", "3|2|pos;$$"}
        << "SELECT sign_of(-5) AS s" << QStringList{"s", "1|neg"};
    QTest::newRow("PostgreSQL: E'' strings and BEGIN ATOMIC bodies")
        << ETestBackend::OdbcPostgres
        << "CREATE TABLE t (a INTEGER, k TEXT);\n"
           "INSERT INTO t VALUES (1, E'it\\'s; here'), (2, E'back\\\\slash;');\n"
           "CREATE FUNCTION sign_of(x integer) RETURNS text LANGUAGE sql\n"
           "BEGIN ATOMIC\n"
           "  SELECT CASE WHEN x > 0 THEN 'pos;' ELSE E'neg\\';' END;\n"
           "END;\n"
           "CREATE PROCEDURE add_row(x integer) LANGUAGE sql\n"
           "BEGIN ATOMIC\n"
           "  INSERT INTO t VALUES (x, sign_of(x));\n"
           "  INSERT INTO t VALUES (x * 10, sign_of(x));\n"
           "END;\n"
           "CALL add_row(-3);\n"
           "SELECT a, k FROM t ORDER BY a"
        << QStringList{"a|k", "1|-30|neg';", "2|-3|neg';", "3|1|it's; here", "4|2|back\\slash;"}
        << "SELECT sign_of(5) AS s" << QStringList{"s", "1|pos;"};
    QTest::newRow("MariaDB: backslash escapes, # comments, DELIMITER")
        << ETestBackend::OdbcMariaDB
        << "CREATE TABLE t (a INTEGER, k VARCHAR(20)); # don't; stop\n"
           "INSERT INTO t VALUES (1, 'it\\'s; here'), (2, \"say \\\"hi;\\\"\");\n"
           "DELIMITER //\n"
           "CREATE PROCEDURE add_row(x INTEGER)\n"
           "BEGIN\n"
           "  INSERT INTO t VALUES (x, 'a;b');\n"
           "  INSERT INTO t VALUES (x * 10, 'c\\\\');\n"
           "END //\n"
           "DELIMITER ;\n"
           "CALL add_row(3);\n"
           "SELECT a, k FROM t ORDER BY a;\n"
           "# done\n"
        << QStringList{"a|k", "1|1|it's; here", "2|2|say \"hi;\"", "3|3|a;b", "4|30|c\\"}
        << "SELECT COUNT(*) AS n FROM t" << QStringList{"n", "1|4"};
    QTest::newRow("PostgreSQL: BEGIN, ROLLBACK, START TRANSACTION, COMMIT")
        << ETestBackend::OdbcPostgres
        << "CREATE TABLE u (a INTEGER);\n"
           "BEGIN; INSERT INTO u VALUES (1); ROLLBACK;\n"
           "START TRANSACTION; INSERT INTO u VALUES (2); COMMIT;\n"
           "TABLE u"
        << QStringList{"a", "1|2"} << "VALUES (1, 'x')" << QStringList{"column1|column2", "1|1|x"};
    QTest::newRow("MariaDB: backquoted names holding ; and a `")
        << ETestBackend::OdbcMariaDB
        << "CREATE TABLE `semi;colon` (`a;b` INTEGER, `it``s` VARCHAR(5));\n"
           "INSERT INTO `semi;colon` VALUES (1, 'x;y'), (2, '`');\n"
           "SELECT `a;b`, `it``s` FROM `semi;colon` ORDER BY 1 LIMIT 5"
        << QStringList{"a;b|it`s", "1|1|x;y", "2|2|`"} << "SELECT COUNT(*) AS n FROM `semi;colon`"
        << QStringList{"n", "1|2"};
    QTest::newRow("PostgreSQL: SHOW and a trailing comment")
        << ETestBackend::OdbcPostgres << "show standard_conforming_strings; /* done */"
        << QStringList{"standard_conforming_strings", "1|on"} << "explain select 1"
        << QStringList{"QUERY PLAN", "1|Result  (cost=0.00..0.01 rows=1 width=4)"};
}

void CScriptsTests::scripts()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, script);
    QFETCH(QStringList, shown);
    QFETCH(QString, check);
    QFETCH(QStringList, holds);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    std::unique_ptr<CAbstractDatabase> database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    // As text, so that a failure shows the whole log.
    QCOMPARE(Execute(*database, script).join(u'\n'), shown.join(u'\n'));
    QCOMPARE(Execute(*database, check).join(u'\n'), holds.join(u'\n'));
}

void CScriptsTests::fireBirdDialects_data()
{
    QTest::addColumn<int>("dialect");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("shown");
    // What isql-fb shows, but for dialect 1's DATE (a timestamp): isql hides
    // its time of day; and a whole second without isql's ".0000".
    QTest::newRow("dialect 3")
        << 3
        << "CREATE DOMAIN salary AS NUMERIC(10,2);\n"
           "CREATE TABLE \"Staff\" (id INTEGER, pay salary, rate NUMERIC(18,4), born DATE, "
           "seen TIMESTAMP, \"Name\" VARCHAR(10));\n"
           "INSERT INTO \"Staff\" VALUES (1, 1234.5, 3.25, '2024-01-15', '2024-01-15 10:30:00', "
           "'Ann');\n"
           "INSERT INTO \"Staff\" VALUES (2, -0.05, 123456789.0001, '1999-12-31', "
           "'1999-12-31 23:59:59.1234', 'Bob');\n"
           "SELECT * FROM \"Staff\" ORDER BY id"
        << QStringList{"ID|PAY|RATE|BORN|SEEN|Name",
                       "1|1|1234.50|3.2500|2024-01-15|2024-01-15 10:30:00|Ann",
                       "2|2|-0.05|123456789.0001|1999-12-31|1999-12-31 23:59:59.1234|Bob"};
    QTest::newRow("dialect 1")
        << 1
        << "CREATE DOMAIN salary AS NUMERIC(10,2);\n"
           "CREATE TABLE staff (id INTEGER, pay salary, rate NUMERIC(18,4), born DATE, "
           "name VARCHAR(10));\n"
           "INSERT INTO staff VALUES (1, 1234.5, 3.25, '2024-01-15 10:30:00', \"Ann\");\n"
           "INSERT INTO staff VALUES (2, -0.05, 123456789.0001, '1999-12-31', \"Bob\");\n"
           "SELECT * FROM staff ORDER BY id"
        << QStringList{"ID|PAY|RATE|BORN|NAME", "1|1|1234.50|3.2500|2024-01-15 10:30:00|Ann",
                       "2|2|-0.05|123456789.0001|1999-12-31 00:00:00|Bob"};
}

void CScriptsTests::fireBirdDialects()
{
    QFETCH(int, dialect);
    QFETCH(QString, script);
    QFETCH(QStringList, shown);
    REQUIRE_TEST_BACKEND(Databases, ETestBackend::FireBird);
    CFireBirdServer server;
    const QString location = server.NewLocation(QStringLiteral("scripts"));
    QString error;
    QVERIFY2(server.Create(location, error, dialect), qPrintable(error));
    {
        CFireBirdDatabase database;
        QVERIFY2(database.Connect(location, server.User(), server.Password(), error),
                 qPrintable(error));
        QCOMPARE(Execute(database, script).join(u'\n'), shown.join(u'\n'));
        // The table's name as it was created: quoted in dialect 3.
        const QString table = dialect == 3 ? QStringLiteral("Staff") : QStringLiteral("STAFF");
        QStringList columns;
        QVERIFY2(database.GetColumnNames(table, columns, error), qPrintable(error));
        QCOMPARE(columns.join(u'|'), shown.first());
        QVERIFY(database.Disconnect());
    }
    QVERIFY2(server.Drop(location, error), qPrintable(error));
}

void CScriptsTests::unterminatedBodyIsSentAsItIs_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("script");
    QTest::newRow("SQLite trigger")
        << ETestBackend::SQLite
        << "CREATE TABLE t (a); CREATE TRIGGER tr AFTER INSERT ON t BEGIN SELECT 1; SELECT 2;";
    QTest::newRow("FireBird block")
        << ETestBackend::FireBird
        << "SELECT 1 FROM RDB$DATABASE; EXECUTE BLOCK AS BEGIN IF (1 = 1) THEN EXIT; ";
    QTest::newRow("PostgreSQL dollar quote")
        << ETestBackend::OdbcPostgres << "SELECT 1; DO $$ BEGIN PERFORM 1; END;";
}

void CScriptsTests::unterminatedBodyIsSentAsItIs()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, script);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    std::unique_ptr<CAbstractDatabase> database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    CScriptRun run;
    RunScript(*database, script, run);
    QCOMPARE(run.Statements.size(), 2);
    QVERIFY(script.endsWith(run.Statements.last()));
    QCOMPARE(run.Outcomes.first(), QString());
    QVERIFY2(!run.Outcomes.last().isEmpty(), "the database refuses the rest of the text");
    QVERIFY(!run.Recordset);
}

QTEST_MAIN(CScriptsTests)
#include "tst_Scripts.moc"
