// Speed of the FireBird backend against the real server: reading rows
// through the interface against isql-fb printing the same query in the same
// run, and writing and reading a large BLOB.
//
// Reaches the server as the tests do: TABLESCOPE_FB_USER, _PASSWORD and _DIR
// (scripts/start-servers.sh writes them), else SYSDBA with the password the
// server package saved.

#include "BenchTable.h"
#include "database/FireBirdDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ibase.h>
#include <unistd.h>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;
constexpr int BlobBytes = 10 * 1024 * 1024;

struct CSettings
{
    QString User;
    QString Password;
    QString Location; // "localhost:" and the benchmark database's path
};

QString StatusMessage(const ISC_STATUS* status)
{
    QStringList messages;
    const ISC_STATUS* cursor = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        messages.append(QString::fromUtf8(buffer));
    return messages.join(QStringLiteral("; "));
}

QString SavedPassword()
{
    QFile file(QStringLiteral("/etc/firebird/3.0/SYSDBA.password"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression line(QStringLiteral("^ISC_PASSWORD=\"?([^\"\\n]*)\"?$"),
                                         QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(file.readAll())).captured(1);
}

// Runs sql in dialect 3 on a fresh attachment: CREATE DATABASE when the
// attachment handle starts at zero and create is set, anything else in a
// transaction of its own.
bool RunRaw(const CSettings& settings, const QString& sql, QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    const QByteArray user = settings.User.toUtf8();
    const QByteArray password = settings.Password.toUtf8();
    QByteArray block(1, char(isc_dpb_version1));
    block += char(isc_dpb_user_name) + QByteArray(1, char(user.size())) + user;
    block += char(isc_dpb_password) + QByteArray(1, char(password.size())) + password;
    bool ok =
        !isc_attach_database(status, 0, settings.Location.toUtf8().constData(), &db,
                             short(block.size()), block.constData()) &&
        !isc_start_transaction(status, &tr, 1, &db, 0, nullptr) &&
        !isc_dsql_execute_immediate(status, &db, &tr, 0, sql.toUtf8().constData(), 3, nullptr) &&
        !isc_commit_transaction(status, &tr);
    if (!ok)
        error = StatusMessage(status);
    if (tr)
        isc_rollback_transaction(status, &tr);
    if (db)
        isc_detach_database(status, &db);
    return ok;
}

bool CreateDatabase(const CSettings& settings, QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    const QByteArray sql = QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3'")
                               .arg(settings.Location, settings.User, settings.Password)
                               .toUtf8();
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, sql.constData(), 3, nullptr)) {
        error = StatusMessage(status);
        return false;
    }
    isc_detach_database(status, &db);
    return true;
}

void DropDatabase(const CSettings& settings)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_db_handle db = 0;
    const QByteArray user = settings.User.toUtf8();
    const QByteArray password = settings.Password.toUtf8();
    QByteArray block(1, char(isc_dpb_version1));
    block += char(isc_dpb_user_name) + QByteArray(1, char(user.size())) + user;
    block += char(isc_dpb_password) + QByteArray(1, char(password.size())) + password;
    if (!isc_attach_database(status, 0, settings.Location.toUtf8().constData(), &db,
                             short(block.size()), block.constData()))
        isc_drop_database(status, &db);
}

// Ten columns of mixed types, filled on the server by one block.
bool Fill(CFireBirdDatabase& db, const CSettings& settings, QString& error)
{
    if (!db.ExecuteSQL(QStringLiteral("CREATE TABLE t (c0 INTEGER, c1 VARCHAR(40), "
                                      "c2 DOUBLE PRECISION, c3 CHAR(10), c4 SMALLINT, "
                                      "c5 NUMERIC(9,2), c6 TIMESTAMP, c7 VARCHAR(40), "
                                      "c8 INTEGER, c9 DOUBLE PRECISION)"),
                       error))
        return false;
    return RunRaw(settings,
                  QStringLiteral(
                      "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                      "INSERT INTO t VALUES (:i, 'value ' || :i, :i * 1.5, 'c' || MOD(:i, 1000), "
                      "MOD(:i, 30000), :i / 100.0, TIMESTAMP '2024-01-01 00:00:00' + :i / 86400.0, "
                      "'row ' || :i || ' of the table', -:i, :i / 7.0); i = i + 1; END END")
                      .arg(Rows),
                  error);
}

// Connects, reads every cell of the query as text, disconnects.
std::size_t ReadThroughInterface(const CSettings& settings)
{
    CFireBirdDatabase db;
    QString error;
    if (!db.Connect(settings.Location, settings.User, settings.Password, error))
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
bool ReadWithIsql(const CSettings& settings, const QString& script)
{
    QProcess isql;
    isql.setStandardOutputFile(QProcess::nullDevice());
    isql.setStandardErrorFile(QProcess::nullDevice());
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), settings.User,
                QStringLiteral("-password"), settings.Password, QStringLiteral("-i"), script,
                settings.Location});
    return isql.waitForFinished(-1) && isql.exitStatus() == QProcess::NormalExit &&
           isql.exitCode() == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    CSettings settings;
    settings.User = qEnvironmentVariable("TABLESCOPE_FB_USER", QStringLiteral("SYSDBA"));
    settings.Password = qEnvironmentVariable("TABLESCOPE_FB_PASSWORD");
    if (settings.Password.isEmpty())
        settings.Password = SavedPassword();
    QString folder = qEnvironmentVariable("TABLESCOPE_FB_DIR");
    if (folder.isEmpty()) {
        // The server runs as a user of its own and must write here.
        QFile::setPermissions(scratch.path(), QFileDevice::Permissions(0x7777));
        folder = scratch.path();
    }
    settings.Location =
        QStringLiteral("localhost:%1/bench_firebird_%2.fdb").arg(folder).arg(qint64(getpid()));

    QString error;
    if (!CreateDatabase(settings, error)) {
        std::fprintf(stderr, "cannot create the benchmark database: %s\n", qPrintable(error));
        return 1;
    }
    int result = 0;
    {
        CFireBirdDatabase db;
        if (!db.Connect(settings.Location, settings.User, settings.Password, error) ||
            !Fill(db, settings, error)) {
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
                BestSeconds(3, [&] { sink += ReadThroughInterface(settings); });
            const double viaIsql =
                BestSeconds(3, [&] { isqlRan = ReadWithIsql(settings, script) && isqlRan; });
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
    DropDatabase(settings);
    return result;
}
