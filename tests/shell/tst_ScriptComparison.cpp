// Long scripts written the way they are kept in files, run twice on two
// fresh databases of the same server: once by the database's own
// command-line tool (isql-fb, psql) and once by `tablescope --execute`. Both
// must succeed, and the two databases must then hold the same objects and
// the same rows, as the server's own tools describe them (isql-fb -x,
// pg_dump) and as their rows read.
//
// The scripts are the files under tests/scripts/. The tools are part of the
// test servers' packages; without a server or a tool the case is skipped,
// or fails under TABLESCOPE_REQUIRE_SERVERS=1.

#include "database/FireBirdDatabase.h"
#include "database/FireBirdServer.h"
#include "database/OdbcDatabase.h"
#include "profiles/Connection.h"
#include "profiles/Registry.h"
#include "workspace/TestDatabases.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

const QString ConnectionsKey = QStringLiteral("Software\\Brevan\\Tablescope\\Connections");
const QString ProfileName = QStringLiteral("Comparison");

QString ScriptPath(const QString& name)
{
    return QStringLiteral(TABLESCOPE_SCRIPTS_DIR "/") + name;
}

// The one profile of the store, credentials remembered.
bool StoreProfile(const CConnection& profile)
{
    CRegistry registry(CHive::CurrentUser());
    registry.DeleteKeyTree(ConnectionsKey);
    const bool stored =
        registry.CreateKey(ConnectionsKey + QStringLiteral("\\Connection 1")) &&
        registry.WriteString(QStringLiteral("Name"), ProfileName) &&
        registry.WriteString(QStringLiteral("Path"), profile.Path) &&
        registry.WriteString(QStringLiteral("Alias"), profile.Alias) &&
        registry.WriteDword(QStringLiteral("Type"), profile.Type) &&
        registry.WriteString(QStringLiteral("Login"), profile.Login) &&
        registry.WriteString(QStringLiteral("Password"), profile.Password);
    registry.Close();
    return stored;
}

struct CProcessResult
{
    int ExitCode = -1;
    QByteArray Output;
    QByteArray Errors;
};

// Runs a program to its end (at most five minutes).
CProcessResult RunProgram(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment)
{
    CProcessResult result;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(30000)) {
        result.Errors = process.errorString().toUtf8();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        result.Errors = "did not finish in five minutes";
        return result;
    }
    result.Output = process.readAllStandardOutput();
    result.Errors = process.readAllStandardError();
    result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

QStringList Lines(const QByteArray& text)
{
    QStringList lines = QString::fromUtf8(text).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

// Every row of query, each as its cells joined by "|" ("<null>" for NULL).
bool ReadRows(CAbstractDatabase& database, const QString& query, QStringList& rows,
              QString& error)
{
    CAbstractRecordset* opened = nullptr;
    const bool ok = database.OpenRecordset(query, error, opened);
    std::unique_ptr<CAbstractRecordset> recordset(opened);
    if (!ok)
        return false;
    while (recordset->MoveNext()) {
        QStringList cells;
        for (int i = 0; i < recordset->GetColumnCount(); ++i)
            cells << (recordset->IsNull(i) ? QStringLiteral("<null>") : recordset->GetString(i));
        rows << cells.join(u'|');
    }
    recordset->Close();
    return true;
}

// The rows of every table and view and the value of every generator of a
// FireBird database, sorted within each.
bool FireBirdContents(CFireBirdDatabase& database, QStringList& contents, QString& error)
{
    QStringList relations;
    if (!ReadRows(database,
                  QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                 "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"),
                  relations, error))
        return false;
    for (const QString& relation : std::as_const(relations)) {
        QStringList rows;
        const QString quoted = u'"' + QString(relation).replace(u'"', QStringLiteral("\"\"")) + u'"';
        if (!ReadRows(database, QStringLiteral("SELECT * FROM ") + quoted, rows, error))
            return false;
        rows.sort();
        contents << QStringLiteral("== %1: %2 rows").arg(relation).arg(rows.size()) << rows;
    }
    QStringList generators;
    if (!ReadRows(database,
                  QStringLiteral("SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS "
                                 "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"),
                  generators, error))
        return false;
    for (const QString& generator : std::as_const(generators)) {
        QStringList value;
        if (!ReadRows(database,
                      QStringLiteral("SELECT GEN_ID(\"%1\", 0) FROM RDB$DATABASE").arg(generator),
                      value, error))
            return false;
        contents << QStringLiteral("== generator %1 = %2").arg(generator, value.value(0));
    }
    return true;
}

// PostgreSQL settings from the test data source's connect string.
QString PostgresBase()
{
    const QString value = qEnvironmentVariable("TABLESCOPE_ODBC_PG_DSN");
    return value.isEmpty() ? QStringLiteral("DSN=TablescopePG;UID=tablescope;PWD=tablescope")
                           : value;
}

QString Attribute(const QString& connect, const QString& name, const QString& fallback)
{
    for (const QString& attribute : connect.split(u';')) {
        const qsizetype equals = attribute.indexOf(u'=');
        if (equals > 0 && attribute.left(equals).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return attribute.mid(equals + 1).trimmed();
    }
    return fallback;
}

} // namespace

class CScriptComparisonTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void sameDatabaseAsTheTool_data();
    void sameDatabaseAsTheTool();

private:
    // Runs the script through `tablescope --execute` on the stored profile;
    // a profile without a password gets an empty one.
    void RunTablescope(const QString& script, bool password);
    void CompareFireBird(const QString& script);
    void ComparePostgreSQL(const QString& script);
    // Skips, or fails when servers are required.
    bool Unavailable(const QString& why);
    QString Tool(const QString& name);
    QProcessEnvironment Environment() const;

    QTemporaryDir Config_;
    CTestDatabases Databases_;
    std::unique_ptr<CFireBirdServer> FireBird_;
    QStringList FireBirdMade_;
    QStringList PostgresMade_;
};

void CScriptComparisonTests::initTestCase()
{
    QVERIFY(Config_.isValid());
    qputenv("XDG_CONFIG_HOME", Config_.path().toUtf8());
}

void CScriptComparisonTests::cleanup()
{
    QString error;
    for (const QString& location : std::as_const(FireBirdMade_))
        if (!FireBird_->Drop(location, error))
            qWarning("Could not drop %s: %s", qPrintable(location), qPrintable(error));
    FireBirdMade_.clear();
    if (!PostgresMade_.isEmpty()) {
        COdbcDatabase admin;
        if (admin.Connect(PostgresBase(), {}, {}, error))
            for (const QString& name : std::as_const(PostgresMade_))
                if (!admin.ExecuteSQL(
                        QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name), error))
                    qWarning("Could not drop %s: %s", qPrintable(name), qPrintable(error));
        PostgresMade_.clear();
    }
}

bool CScriptComparisonTests::Unavailable(const QString& why)
{
    if (ServersRequired())
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    else
        QTest::qSkip(qPrintable(why), __FILE__, __LINE__);
    return true;
}

QString CScriptComparisonTests::Tool(const QString& name)
{
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        Unavailable(name + QStringLiteral(" is not installed (scripts/install-deps.sh --test "
                                          "installs it)"));
    return path;
}

QProcessEnvironment CScriptComparisonTests::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "TABLESCOPE_USER",
                             "TABLESCOPE_PASSWORD", "ISC_USER", "ISC_PASSWORD"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Config_.path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
}

void CScriptComparisonTests::sameDatabaseAsTheTool_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected"); // what each database must hold, among the rest
    QTest::newRow("FireBird shop: isql-fb") << ETestBackend::FireBird << "firebird-shop.sql"
                                            << QStringList{"== CUSTOMER: 220 rows",
                                                           "== PRODUCT: 60 rows",
                                                           "== Order: 80 rows",
                                                           "== generator GEN_ORDER_ID = 1080",
                                                           "ALTER PROCEDURE PLACE_ORDER "
                                                           "(CUST INTEGER,",
                                                           "COMMENT ON TABLE        CUSTOMER IS "
                                                           "'People who buy; the \"Name\" is "
                                                           "as they wrote it';"};
    QTest::newRow("PostgreSQL shop: psql")
        << ETestBackend::OdbcPostgres << "postgresql-shop.sql"
        << QStringList{"CREATE PROCEDURE public.place_order(IN cust integer, IN prod integer, IN "
                       "quantity integer, IN at timestamp without time zone)",
                       "SELECT pg_catalog.setval('public.order_id', 1079, true);",
                       "COPY public.customer (id, \"Name\", email, born, credit, note, city) FROM "
                       "stdin;"};
}

void CScriptComparisonTests::sameDatabaseAsTheTool()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, script);
    const QString why = Databases_.Unavailable(backend);
    if (!why.isEmpty()) {
        Unavailable(CTestDatabases::Name(backend) + QStringLiteral(": ") + why);
        return;
    }
    QVERIFY2(QFile::exists(ScriptPath(script)), qPrintable(ScriptPath(script)));
    if (backend == ETestBackend::FireBird)
        CompareFireBird(ScriptPath(script));
    else
        ComparePostgreSQL(ScriptPath(script));
}

void CScriptComparisonTests::RunTablescope(const QString& script, bool password)
{
    QProcessEnvironment environment = Environment();
    if (!password) // the connect string holds the credentials
        environment.insert(QStringLiteral("TABLESCOPE_PASSWORD"), QString());
    const CProcessResult run = RunProgram(
        QStringLiteral(TABLESCOPE_BINARY),
        {QStringLiteral("--execute"), script, QStringLiteral("--profile"), ProfileName},
        environment);
    // Every statement succeeded: the last query's rows, no log, no message.
    QVERIFY2(run.ExitCode == 0, (run.Errors + run.Output).constData());
    QVERIFY2(run.Errors.isEmpty(), run.Errors.constData());
}

void CScriptComparisonTests::CompareFireBird(const QString& script)
{
    const QString isql = Tool(QStringLiteral("isql-fb"));
    if (isql.isEmpty())
        return;
    if (!FireBird_)
        FireBird_ = std::make_unique<CFireBirdServer>();
    QString error;
    QStringList locations;
    for (int i = 0; i < 2; ++i) {
        const QString location = FireBird_->NewLocation(QStringLiteral("comparison"));
        QVERIFY2(FireBird_->Create(location, error), qPrintable(error));
        FireBirdMade_ << location;
        locations << location;
    }
    const QStringList credentials{QStringLiteral("-user"), FireBird_->User(),
                                  QStringLiteral("-password"), FireBird_->Password()};

    // The tool on the first.
    const CProcessResult tool =
        RunProgram(isql, QStringList{QStringLiteral("-q")} + credentials +
                             QStringList{locations.at(0), QStringLiteral("-i"), script},
                   Environment());
    QVERIFY2(tool.ExitCode == 0 && tool.Errors.isEmpty(), tool.Errors.constData());

    // The program on the second.
    CConnection profile;
    const qsizetype colon = locations.at(1).indexOf(u':');
    profile.Type = DatabaseTypeFireBird;
    profile.Path = locations.at(1).left(colon);
    profile.Alias = locations.at(1).mid(colon + 1);
    profile.Login = FireBird_->User();
    profile.Password = FireBird_->Password();
    QVERIFY(StoreProfile(profile));
    RunTablescope(script, true);
    if (QTest::currentTestFailed())
        return;

    // What each holds: the metadata as isql extracts it, then the rows.
    QList<QStringList> described;
    for (const QString& location : std::as_const(locations)) {
        const CProcessResult extract =
            RunProgram(isql, QStringList{QStringLiteral("-x")} + credentials + QStringList{location},
                       Environment());
        QVERIFY2(extract.ExitCode == 0, extract.Errors.constData());
        QStringList lines = Lines(extract.Output);
        lines.replaceInStrings(location, QStringLiteral("DATABASE"));
        CFireBirdDatabase database;
        QVERIFY2(database.Connect(location, FireBird_->User(), FireBird_->Password(), error),
                 qPrintable(error));
        QVERIFY2(FireBirdContents(database, lines, error), qPrintable(error));
        QVERIFY(database.Disconnect());
        described << lines;
    }
    QFETCH(QStringList, expected);
    for (const QString& line : std::as_const(expected))
        QVERIFY2(described.at(0).contains(line), qPrintable(line));
    QCOMPARE(described.at(1), described.at(0));
}

void CScriptComparisonTests::ComparePostgreSQL(const QString& script)
{
    const QString psql = Tool(QStringLiteral("psql"));
    const QString pgDump = psql.isEmpty() ? QString() : Tool(QStringLiteral("pg_dump"));
    if (pgDump.isEmpty())
        return;
    QString error;
    COdbcDatabase admin;
    QVERIFY2(admin.Connect(PostgresBase(), {}, {}, error), qPrintable(error));
    QStringList names;
    for (int i = 1; i <= 2; ++i) {
        const QString name = QStringLiteral("tablescope_cmp_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(i);
        QVERIFY2(admin.ExecuteSQL(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                                      .arg(name),
                                  error) &&
                     admin.ExecuteSQL(QStringLiteral("CREATE DATABASE ") + name, error),
                 qPrintable(error));
        PostgresMade_ << name;
        names << name;
    }
    admin.Disconnect();

    // The tools reach the server as the data source does.
    const QString base = PostgresBase();
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("PGHOST"),
                       Attribute(base, QStringLiteral("Servername"), QStringLiteral("127.0.0.1")));
    environment.insert(QStringLiteral("PGPORT"),
                       Attribute(base, QStringLiteral("Port"), QStringLiteral("5432")));
    environment.insert(QStringLiteral("PGUSER"),
                       Attribute(base, QStringLiteral("UID"), QStringLiteral("tablescope")));
    environment.insert(QStringLiteral("PGPASSWORD"),
                       Attribute(base, QStringLiteral("PWD"), QStringLiteral("tablescope")));

    const CProcessResult tool = RunProgram(
        psql,
        {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
         QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"), names.at(0),
         QStringLiteral("-f"), script},
        environment);
    QVERIFY2(tool.ExitCode == 0 && tool.Errors.isEmpty(), tool.Errors.constData());

    CConnection profile;
    profile.Type = DatabaseTypeOdbc;
    profile.Path = base + QStringLiteral(";Database=") + names.at(1);
    QVERIFY(StoreProfile(profile));
    RunTablescope(script, false);
    if (QTest::currentTestFailed())
        return;

    // The schema as pg_dump writes it, then the data with its lines sorted
    // (rows keep no order).
    QList<QStringList> described;
    for (const QString& name : std::as_const(names)) {
        const CProcessResult schema = RunProgram(
            pgDump, {QStringLiteral("--schema-only"), QStringLiteral("-d"), name}, environment);
        QVERIFY2(schema.ExitCode == 0, schema.Errors.constData());
        const CProcessResult data = RunProgram(
            pgDump, {QStringLiteral("--data-only"), QStringLiteral("-d"), name}, environment);
        QVERIFY2(data.ExitCode == 0, data.Errors.constData());
        QStringList rows = Lines(data.Output);
        rows.sort();
        QStringList lines = Lines(schema.Output) + rows;
        // Newer pg_dump fences its output with a random key.
        lines.removeIf([](const QString& line) {
            return line.startsWith(QLatin1String("\\restrict ")) ||
                   line.startsWith(QLatin1String("\\unrestrict "));
        });
        described << lines;
    }
    QFETCH(QStringList, expected);
    for (const QString& line : std::as_const(expected))
        QVERIFY2(described.at(0).contains(line), qPrintable(line));
    QCOMPARE(described.at(1), described.at(0));
}

QTEST_GUILESS_MAIN(CScriptComparisonTests)
#include "tst_ScriptComparison.moc"
