// Speed of the FireBird backend against the real server: reading rows
// through the interface against isql-fb printing the same query in the same
// run, and writing and reading a large BLOB.
//
// Reaches the server as the tests do (CFireBirdServer).

#include "BenchTable.h"
#include "database/FireBirdDatabase.h"
#include "database/FireBirdServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;
constexpr int BlobBytes = 10 * 1024 * 1024;

// Ten columns of mixed types, filled on the server by one block.
bool Fill(CFireBirdDatabase& db, CFireBirdServer& server, const QString& location, QString& error)
{
    if (!db.ExecuteSQL(QStringLiteral("CREATE TABLE t (c0 INTEGER, c1 VARCHAR(40), "
                                      "c2 DOUBLE PRECISION, c3 CHAR(10), c4 SMALLINT, "
                                      "c5 NUMERIC(9,2), c6 TIMESTAMP, c7 VARCHAR(40), "
                                      "c8 INTEGER, c9 DOUBLE PRECISION)"),
                       error))
        return false;
    return server.Run(
        location,
        QStringLiteral(
            "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
            "INSERT INTO t VALUES (:i, 'value ' || :i, :i * 1.5, 'c' || MOD(:i, 1000), "
            "MOD(:i, 30000), :i / 100.0, TIMESTAMP '2024-01-01 00:00:00' + :i / 86400.0, "
            "'row ' || :i || ' of the table', -:i, :i / 7.0); i = i + 1; END END")
            .arg(Rows),
        error);
}

// Connects, reads every cell of the query as text, disconnects.
std::size_t ReadThroughInterface(const CFireBirdServer& server, const QString& location)
{
    CFireBirdDatabase db;
    QString error;
    if (!db.Connect(location, server.User(), server.Password(), error))
        return 0;
    std::size_t characters = 0;
    {
        CAbstractRecordset* raw = nullptr;
        db.OpenRecordset(QStringLiteral("SELECT * FROM t"), error, raw);
        CRecordsetPtr recordset(raw);
        while (recordset && recordset->MoveNext())
            for (int c = 0; c < Columns; ++c)
                characters += std::size_t(recordset->GetString(c).size());
    }
    db.Disconnect();
    return characters;
}

// isql-fb printing the same query to /dev/null, start-up and attachment included.
bool ReadWithIsql(const CFireBirdServer& server, const QString& location, const QString& script)
{
    QProcess isql;
    isql.setStandardOutputFile(QProcess::nullDevice());
    isql.setStandardErrorFile(QProcess::nullDevice());
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), server.User(),
                QStringLiteral("-password"), server.Password(), QStringLiteral("-i"), script,
                location});
    return isql.waitForFinished(-1) && isql.exitStatus() == QProcess::NormalExit &&
           isql.exitCode() == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    CFireBirdServer server;
    const QString location = server.NewLocation(QStringLiteral("bench_firebird"));

    QString error;
    if (!server.Create(location, error)) {
        std::fprintf(stderr, "cannot create the benchmark database: %s\n", qPrintable(error));
        return 1;
    }
    int result = 0;
    {
        CFireBirdDatabase db;
        if (!db.Connect(location, server.User(), server.Password(), error) ||
            !Fill(db, server, location, error)) {
            std::fprintf(stderr, "cannot fill the benchmark database: %s\n", qPrintable(error));
            result = 1;
        } else {
            const QString script = scratch.filePath(QStringLiteral("query.sql"));
            QFile file(script);
            if (file.open(QIODevice::WriteOnly))
                file.write("SET SQL DIALECT 1;\nSELECT * FROM t;\n");
            file.close();

            CBenchTable table("Database layer, FireBird 3 on localhost");
            std::size_t sink = 0;
            bool isqlRan = true;
            const double viaInterface =
                BestSeconds(3, [&] { sink += ReadThroughInterface(server, location); });
            const double viaIsql = BestSeconds(
                3, [&] { isqlRan = ReadWithIsql(server, location, script) && isqlRan; });
            table.Row("read 100,000 x 10 through the interface (connect included)",
                      viaInterface * 1000, "ms", "");
            table.Row("isql-fb printing the same query to /dev/null", viaIsql * 1000, "ms",
                      isqlRan ? "" : "isql-fb failed");
            table.Row("interface / isql-fb", viaInterface / viaIsql, "ratio", "<= 1.0");

            QByteArray blob(BlobBytes, Qt::Uninitialized);
            for (int i = 0; i < BlobBytes; ++i)
                blob[i] = char(i * 31 % 251);
            db.ExecuteSQL(QStringLiteral("CREATE TABLE b (data BLOB)"), error);
            const double written = BestSeconds(1, [&] {
                db.ExecuteWithBlob(QStringLiteral("INSERT INTO b (data) VALUES (?)"),
                                   blob.constData(), BlobBytes, error);
            });
            const double read = BestSeconds(3, [&] {
                CAbstractRecordset* raw = nullptr;
                db.OpenRecordset(QStringLiteral("SELECT data FROM b"), error, raw);
                CRecordsetPtr recordset(raw);
                unsigned char* data = nullptr;
                int size = 0;
                if (recordset && recordset->MoveNext() && recordset->GetBlob(0, data, size))
                    sink += std::size_t(size);
                std::free(data);
            });
            table.Row("write a 10 MB BLOB with ExecuteWithBlob", 10.0 / written, "MB/s", "");
            table.Row("read a 10 MB BLOB with GetBlob", 10.0 / read, "MB/s", "");
            result = sink == 0;
        }
        db.Disconnect();
    }
    server.Drop(location, error);
    return result;
}
