// Speed of the ODBC backend against PostgreSQL: reading 100,000 rows of 10
// columns of mixed types through the interface (OpenRecordset, MoveNext,
// GetString of every cell), set against unixODBC's own isql printing the
// same query to /dev/null in the same run. Both connect, run the query and
// read every row; the figure that matters is their ratio.
//
// Then the column names of a table of 1,000,000 rows against those of the
// same table emptied: connecting and reading a table's columns must not
// depend on its rows.
//
// The data source is the one the tests use: TABLESCOPE_ODBC_PG_DSN and
// ODBCINI as scripts/start-servers.sh writes them, with the same defaults.

#include "BenchTable.h"
#include "database/OdbcDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;

QString Setting(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

// Ten columns of the kinds a table usually holds.
bool Fill(CAbstractDatabase& db, const QString& table, QString& error)
{
    return db.ExecuteSQL(
        QStringLiteral("DROP TABLE IF EXISTS %1;"
                       "CREATE TABLE %1 (id INTEGER, big BIGINT, ratio DOUBLE PRECISION, "
                       "amount NUMERIC(12,2), name VARCHAR(40), note TEXT, day DATE, "
                       "stamp TIMESTAMP, small SMALLINT, flag BOOLEAN);"
                       "INSERT INTO %1 SELECT i, i * 100003::bigint, i / 7.0, i % 100000 / 100.0, "
                       "'name ' || i, 'a note about row ' || i || ' and what it holds', "
                       "DATE '2020-01-01' + i % 3650, TIMESTAMP '2020-01-01' + i * INTERVAL "
                       "'1 minute', i % 30000, i % 2 = 0 FROM generate_series(1, %2) AS i")
            .arg(table)
            .arg(Rows),
        error);
}

// Connects, reads every cell of every row as text, disconnects. Returns
// the number of characters read, or -1 on a failure.
qint64 ReadThroughInterface(const QString& connect, const QString& query)
{
    COdbcDatabase db;
    QString error;
    if (!db.Connect(connect, {}, {}, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    CAbstractRecordset* raw = nullptr;
    const bool ok = db.OpenRecordset(query, error, raw);
    CRecordsetPtr recordset(raw);
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    qint64 characters = 0;
    int rows = 0;
    while (recordset->MoveNext()) {
        ++rows;
        for (int c = 0; c < Columns; ++c)
            characters += recordset->GetString(c).size();
    }
    recordset.reset();
    db.Disconnect();
    return rows == Rows ? characters : -1;
}

// isql in batch mode with the connect string, the query on its standard
// input, its output to outputFile. False when it cannot be run or fails.
bool RunIsql(const QString& isql, const QString& connect, const QString& query,
             const QString& outputFile)
{
    QProcess process;
    process.setProgram(isql);
    process.setArguments({QStringLiteral("-k"), connect, QStringLiteral("-b")});
    process.setStandardOutputFile(outputFile);
    process.start();
    if (!process.waitForStarted())
        return false;
    process.write((query + u'\n').toUtf8());
    process.closeWriteChannel();
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

constexpr int BigRows = 1000000;

// Connects, reads table's column names, disconnects: what opening a
// connection does for each table. False on a failure.
bool ConnectAndReadColumns(const QString& connect, const QString& table)
{
    COdbcDatabase db;
    QString error;
    QStringList columns;
    const bool ok = db.Connect(connect, {}, {}, error) && db.GetColumnNames(table, columns, error);
    if (!ok)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    db.Disconnect();
    return ok && columns.size() == 3;
}

// Connects and runs "SELECT * FROM" table without reading a row: the
// driver's execute alone.
bool ConnectAndExecute(const QString& connect, const QString& table)
{
    COdbcDatabase db;
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool ok = db.Connect(connect, {}, {}, error) &&
                    db.OpenRecordset(QStringLiteral("SELECT * FROM ") + table, error, raw);
    CRecordsetPtr recordset(raw);
    if (!ok)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    recordset.reset();
    db.Disconnect();
    return ok;
}

// The column names of a table of a million rows against those of the same
// table empty; the rows must not count.
int MeasureColumnNames(COdbcDatabase& db, const QString& connect, const QString& table)
{
    QString error;
    if (!db.ExecuteSQL(
            QStringLiteral("DROP TABLE IF EXISTS %1;"
                           "CREATE TABLE %1 (id INTEGER, name VARCHAR(40), note TEXT);"
                           "INSERT INTO %1 SELECT i, 'name ' || i, 'a note on row ' || i "
                           "FROM generate_series(1, %2) AS i")
                .arg(table)
                .arg(BigRows),
            error)) {
        std::fprintf(stderr, "cannot fill %s: %s\n", qPrintable(table), qPrintable(error));
        return 1;
    }
    CBenchTable bench("ODBC backend over PostgreSQL: a table's column names, 1,000,000 rows vs "
                      "none");
    bool ok = true;
    const double full = BestSeconds(5, [&] { ok = ConnectAndReadColumns(connect, table) && ok; });
    const double executed = BestSeconds(1, [&] { ok = ConnectAndExecute(connect, table) && ok; });
    if (!db.ExecuteSQL(QStringLiteral("TRUNCATE %1").arg(table), error)) {
        std::fprintf(stderr, "cannot empty %s: %s\n", qPrintable(table), qPrintable(error));
        return 1;
    }
    const double empty = BestSeconds(5, [&] { ok = ConnectAndReadColumns(connect, table) && ok; });
    bench.Row("connect + GetColumnNames, 1,000,000 rows", full, "s", "under 1");
    bench.Row("connect + GetColumnNames, empty table", empty, "s", "(reference)");
    bench.Row("ratio 1,000,000 rows / empty", full / empty, "", "at most 1.5");
    bench.Row("connect + execute SELECT * (not used), 1,000,000 rows", executed, "s",
              "(what reading the columns must avoid)");
    db.ExecuteSQL(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table), error);
    return ok && full < 1.0 && full / empty <= 1.5 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("ODBCINI"))
        qputenv("ODBCINI", "/tmp/tablescope-test/odbc.ini");
    const QString connect =
        Setting("TABLESCOPE_ODBC_PG_DSN", "DSN=TablescopePG;UID=tablescope;PWD=tablescope");
    const QString table = QStringLiteral("tablescope_bench_%1").arg(app.applicationPid());
    const QString query = QStringLiteral("SELECT * FROM %1").arg(table);

    COdbcDatabase db;
    QString error;
    if (!db.Connect(connect, {}, {}, error) || !Fill(db, table, error)) {
        std::fprintf(stderr, "cannot prepare the table through \"%s\": %s\n", qPrintable(connect),
                     qPrintable(error));
        return 1;
    }

    CBenchTable bench("ODBC backend over PostgreSQL: 100,000 rows x 10 mixed columns");
    int failed = 0;
    qint64 characters = 0;
    const double interface =
        BestSeconds(3, [&] { characters = ReadThroughInterface(connect, query); });
    if (characters < 0)
        failed = 1;
    bench.Row("interface: connect, OpenRecordset, MoveNext, GetString", interface, "s",
              "(reference)");
    bench.Row("interface: cells read per second", Rows * Columns / interface, "cells/s", "");

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql"));
    if (isql.isEmpty()) {
        bench.Note("unixODBC isql", "not found: no ratio");
    } else {
        bool ran = true;
        const double printed = BestSeconds(
            3, [&] { ran = RunIsql(isql, connect, query, QStringLiteral("/dev/null")) && ran; });
        if (ran) {
            bench.Row("isql -b: the same query printed to /dev/null", printed, "s", "(reference)");
            bench.Row("ratio interface / isql", interface / printed, "", "at most 1.0");
        } else {
            bench.Note("unixODBC isql", "failed to run the query: no ratio");
            failed = 1;
        }
    }
    bench.Note("characters read through the interface", std::to_string(characters));

    db.ExecuteSQL(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table), error);

    if (MeasureColumnNames(db, connect, table + QStringLiteral("_columns")) != 0)
        failed = 1;
    db.Disconnect();
    return failed;
}
