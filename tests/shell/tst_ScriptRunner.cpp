// Running a script from a shell: the runner called in-process on every
// backend, and the built program started as a process without a display,
// without a terminal, and on a pseudo-terminal where the password is typed.
// Every run checks that the profile store was left exactly as it was.

#include "profiles/Registry.h"
#include "shell/ScriptRunner.h"
#include "workspace/TestDatabases.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

const QString ConnectionsKey = QStringLiteral("Software\\Brevan\\Tablescope\\Connections");
const QString ProfileName = QStringLiteral("Проба \"one\"");

// Writes profiles to the current user's store as the program saves them:
// the login and password only when RememberAuth is true.
bool StoreProfiles(const QList<CConnection>& profiles)
{
    CRegistry registry(CHive::CurrentUser());
    registry.DeleteKeyTree(ConnectionsKey);
    for (int i = 0; i < profiles.size(); ++i) {
        const CConnection& profile = profiles.at(i);
        if (!registry.CreateKey(ConnectionsKey + QStringLiteral("\\Connection %1").arg(i + 1)) ||
            !registry.WriteString(QStringLiteral("Name"), profile.Name) ||
            !registry.WriteString(QStringLiteral("Path"), profile.Path) ||
            !registry.WriteString(QStringLiteral("Alias"), profile.Alias) ||
            !registry.WriteDword(QStringLiteral("Type"), profile.Type))
            return false;
        if (profile.RememberAuth &&
            (!registry.WriteString(QStringLiteral("Login"), profile.Login) ||
             !registry.WriteString(QStringLiteral("Password"), profile.Password)))
            return false;
    }
    registry.Close();
    return true;
}

// Every file under the configuration folder with its contents and time.
QStringList Snapshot(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray contents;
        if (file.open(QIODevice::ReadOnly))
            contents = file.readAll();
        files.append(path + u' ' +
                     QString::number(it.fileInfo().lastModified().toMSecsSinceEpoch()) + u' ' +
                     QString::fromLatin1(contents.toBase64()));
    }
    files.sort();
    return files;
}

// Lines of output; a trailing line break ends the last line.
QStringList Lines(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Compares lines with what a test expects; an expected line ending in "*"
// only has to begin with what stands before it (database messages differ).
bool Matches(QStringList actual, const QStringList& expected, QString& why)
{
    // FireBird names unquoted columns in capitals (and its test databases
    // know no quoted names): headers compare without regard to case.
    if (!actual.isEmpty() && !expected.isEmpty() && expected.first().startsWith(u'#'))
        actual.first() = actual.first().toLower();
    for (qsizetype i = 0; i < qMax(actual.size(), expected.size()); ++i) {
        const QString got = i < actual.size() ? actual.at(i) : QStringLiteral("<none>");
        const QString want = i < expected.size() ? expected.at(i) : QStringLiteral("<none>");
        const bool same = want.endsWith(u'*') ? got.startsWith(want.chopped(1)) : got == want;
        if (!same) {
            why = QStringLiteral("line %1: got \"%2\", expected \"%3\"").arg(i + 1).arg(got, want);
            return false;
        }
    }
    return true;
}

// Rows 1 and 2 read, row 3 fails; the table t (a integer) is there.
QString FailingQuery(ETestBackend backend)
{
    const QString rows = QStringLiteral("insert into t values (1);\n"
                                        "insert into t values (2);\n"
                                        "insert into t values (3);\n");
    if (backend == ETestBackend::FireBird)
        return rows + QStringLiteral("select 10 / (a - 3) as v from t order by a");
    // SQLite computes every row before sorting: no order, rows as inserted.
    return rows + QStringLiteral("select case when a < 3 then a else "
                                 "abs(-9223372036854775807 - 1) end as v from t");
}

// The environment of the program: no display of any kind.
QProcessEnvironment Displayless(const QString& configFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "TABLESCOPE_USER",
                             "TABLESCOPE_PASSWORD"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    return environment;
}

} // namespace

class CScriptRunnerTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void scripts_data();
    void scripts();
    void credentialsFromEnvironment_data();
    void credentialsFromEnvironment();
    void cannotRun_data();
    void cannotRun();
    void escapeField_data();
    void escapeField();

    void programWithoutDisplay();
    void programWithoutTerminal();
    void ctrlCStopsTheRunningStatement();
    void rowsFormatAndNull_data();
    void rowsFormatAndNull();
    void passwordTypedAtTerminal_data();
    void passwordTypedAtTerminal();

private:
    // Runs the runner in-process; checks that the store is unchanged.
    int Run(const CScriptRunner& runner, const QByteArray& input, QByteArray& output,
            QByteArray& errors);
    // Stores one profile named ProfileName for the backend; false skips or fails.
    bool StoreProfile(ETestBackend backend, bool rememberAuth, CConnection& profile);
    QString ScriptFile(const QString& script);

    QTemporaryDir Config_;
    QTemporaryDir Work_;
    CTestDatabases Databases_;
    int Scripts_ = 0;
};

void CScriptRunnerTests::initTestCase()
{
    QVERIFY(Config_.isValid() && Work_.isValid());
    qputenv("XDG_CONFIG_HOME", Config_.path().toUtf8());
}

void CScriptRunnerTests::init()
{
    QFile::remove(CHive::CurrentUserFileName());
    qunsetenv("TABLESCOPE_USER");
    qunsetenv("TABLESCOPE_PASSWORD");
}

int CScriptRunnerTests::Run(const CScriptRunner& runner, const QByteArray& input,
                            QByteArray& output, QByteArray& errors)
{
    const QStringList before = Snapshot(Config_.path());
    QBuffer in;
    in.setData(input);
    QBuffer out(&output);
    QBuffer err(&errors);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = runner.Run(in, out, err);
    if (Snapshot(Config_.path()) != before) {
        qWarning("The run changed the profile store");
        return -1;
    }
    return status;
}

bool CScriptRunnerTests::StoreProfile(ETestBackend backend, bool rememberAuth, CConnection& profile)
{
    QString why;
    if (!Databases_.NewProfile(backend, profile, why)) {
        qWarning("%s", qPrintable(why));
        return false;
    }
    profile.Name = ProfileName;
    profile.RememberAuth = rememberAuth;
    CConnection decoy;
    decoy.Name = ProfileName.toUpper(); // names match exactly
    decoy.Type = DatabaseTypeSQLite;
    decoy.Path = Work_.filePath(QStringLiteral("never-made.db"));
    return StoreProfiles({decoy, profile});
}

QString CScriptRunnerTests::ScriptFile(const QString& script)
{
    const QString path = Work_.filePath(QStringLiteral("script%1.sql").arg(++Scripts_));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0)
        return {};
    return path;
}

void CScriptRunnerTests::scripts_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("setup");  // run first, on its own: FireBird uses a table only
                                         // once the statement that made it is committed
    QTest::addColumn<bool>("fromInput"); // the script comes from standard input
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("status");

    QStringList capped{QStringLiteral("#\tn")};
    for (int i = 1; i <= 1000; ++i)
        capped.append(QStringLiteral("%1\t%2").arg(i).arg(i - 1));
    QString digits;
    for (int i = 0; i <= 10; ++i)
        digits += QStringLiteral("insert into d values (%1);\n").arg(i);

    for (const ETestBackend backend :
         {ETestBackend::SQLite, ETestBackend::FireBird, ETestBackend::OdbcPostgres,
          ETestBackend::OdbcSQLite, ETestBackend::OdbcMariaDB}) {
        const QByteArray name = CTestDatabases::Name(backend).toUtf8();
        QTest::addRow("%s: rows", name.constData())
            << backend << QStringLiteral("create table t (a integer, b varchar(20))") << false
            << QStringLiteral("insert into t values (1, 'one');\n"
                              "insert into t values (2, 'two');\n"
                              "select a as a, b as b from t order by a")
            << QStringList{"#\ta\tb", "1\t1\tone", "2\t2\ttwo"} << 0;
        QTest::addRow("%s: the log, from standard input", name.constData())
            << backend << QStringLiteral("create table t (a integer)") << true
            << QStringLiteral("insert into t\r\n values (1);\r\n"
                              "update t set a = 2;")
            << QStringList{"insert into t\\n values (1)", "- Success", "update t set a = 2",
                           "- Success"}
            << 0;
        QTest::addRow("%s: a failing statement", name.constData())
            << backend << QStringLiteral("create table t (a integer)") << false
            << QStringLiteral("insert into missing_table values (1);\n"
                              "insert into t values (2);\n"
                              "select a from t")
            << QStringList{"insert into missing_table values (1)",
                           "- Error: *",
                           "insert into t values (2)",
                           "- Success",
                           "select a from t",
                           "- Success"}
            << 1;
        QTest::addRow("%s: the grid's 1000 rows of 1331", name.constData())
            << backend << QStringLiteral("create table d (x integer)") << true
            << digits + QStringLiteral("select d1.x * 121 + d2.x * 11 + d3.x as n "
                                       "from d d1, d d2, d d3 order by 1")
            << capped << 0;
        // MariaDB reads a backslash in a string as an escape: doubled, it
        // stores one.
        const bool escapes = backend == ETestBackend::OdbcMariaDB;
        QTest::addRow("%s: escaping", name.constData())
            << backend << QStringLiteral("create table t (b varchar(40))") << false
            << QStringLiteral("insert into t values ('tab\tline\nreturn\rslash%1end');\n"
                              "select b as b from t")
                   .arg(escapes ? QStringLiteral("\\\\") : QStringLiteral("\\"))
            << QStringList{"#\tb", "1\ttab\\tline\\nreturn\\rslash\\\\end"} << 0;
        // Both ODBC drivers read every row before the query counts as open.
        if (backend == ETestBackend::SQLite || backend == ETestBackend::FireBird)
            QTest::addRow("%s: rows that stop coming", name.constData())
                << backend << QStringLiteral("create table t (a integer)") << false
                << FailingQuery(backend) << QStringList{"#\tv", "1\t*", "2\t*", "\t- Error: *"}
                << 1;
    }
}

void CScriptRunnerTests::scripts()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, setup);
    QFETCH(bool, fromInput);
    QFETCH(QString, script);
    QFETCH(QStringList, expected);
    QFETCH(int, status);
    REQUIRE_TEST_BACKEND(Databases_, backend);

    CConnection profile;
    QVERIFY(StoreProfile(backend, true, profile));
    // Profiles whose connect string holds the credentials store none, and
    // so ask for them: an empty password answers.
    qputenv("TABLESCOPE_PASSWORD", "");

    CScriptRunner runner;
    runner.ProfileName = ProfileName;
    QByteArray output;
    QByteArray errors;
    runner.ScriptPath = ScriptFile(setup);
    QCOMPARE(Run(runner, {}, output, errors), 0);
    runner.ScriptPath = fromInput ? QStringLiteral("-") : ScriptFile(script);
    output.clear();
    const int got = Run(runner, fromInput ? script.toUtf8() : QByteArray(), output, errors);
    QVERIFY2(got == status, output.constData());
    QCOMPARE(QString::fromUtf8(errors), QString());
    QString why;
    QVERIFY2(Matches(Lines(output), expected, why), qPrintable(why));

    // The SQLite file itself, named on the command line, gives the same.
    if (backend == ETestBackend::SQLite) {
        CConnection fresh;
        QVERIFY(Databases_.NewProfile(backend, fresh, why));
        QFile file(fresh.Path);
        QVERIFY(file.open(QIODevice::WriteOnly)); // an empty file is an empty database
        file.close();
        runner.ProfileName.clear();
        runner.SQLitePath = fresh.Path;
        runner.ScriptPath = ScriptFile(setup);
        QCOMPARE(Run(runner, {}, output, errors), 0);
        runner.ScriptPath = fromInput ? QStringLiteral("-") : ScriptFile(script);
        output.clear();
        QCOMPARE(Run(runner, fromInput ? script.toUtf8() : QByteArray(), output, errors), status);
        QVERIFY2(Matches(Lines(output), expected, why), qPrintable(why));
    }
    QVERIFY(!QFile::exists(Work_.filePath(QStringLiteral("never-made.db"))));
}

void CScriptRunnerTests::credentialsFromEnvironment_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<bool>("right"); // the password given is the right one

    QTest::newRow("FireBird") << ETestBackend::FireBird << true;
    QTest::newRow("FireBird, a wrong password") << ETestBackend::FireBird << false;
    QTest::newRow("ODBC SQLite") << ETestBackend::OdbcSQLite << true;
}

void CScriptRunnerTests::credentialsFromEnvironment()
{
    QFETCH(ETestBackend, backend);
    QFETCH(bool, right);
    REQUIRE_TEST_BACKEND(Databases_, backend);

    CConnection profile;
    QVERIFY(StoreProfile(backend, false, profile));
    qputenv("TABLESCOPE_USER", profile.Login.toUtf8());
    qputenv("TABLESCOPE_PASSWORD", right ? profile.Password.toUtf8() : QByteArray("wrong"));

    CScriptRunner runner;
    runner.ProfileName = ProfileName;
    runner.ScriptPath = QStringLiteral("-");
    QByteArray output;
    QByteArray errors;
    const QByteArray query =
        backend == ETestBackend::FireBird ? "select 1 as a from rdb$database" : "select 1 as a";
    const int status = Run(runner, query, output, errors);
    if (right) {
        QVERIFY2(status == 0, output.constData());
        QCOMPARE(QString::fromUtf8(errors), QString());
        QCOMPARE(status, 0);
        QString why;
        QVERIFY2(Matches(Lines(output), {"#\ta", "1\t1"}, why), qPrintable(why));
    } else {
        QCOMPARE(status, 2);
        QCOMPARE(output, QByteArray());
        const QString message = QString::fromUtf8(errors);
        QVERIFY2(message.startsWith(QStringLiteral("tablescope: Cannot connect to \"") +
                                    ProfileName + QStringLiteral("\": ")),
                 qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("wrong")), qPrintable(message));
    }
}

void CScriptRunnerTests::cannotRun_data()
{
    QTest::addColumn<QString>("target");   // "profile:NAME" or "sqlite:FILE" under the work folder
    QTest::addColumn<QString>("script");   // "file:NAME" under the work folder, or the text
    QTest::addColumn<QByteArray>("store"); // the store file's contents; empty for a valid one
    QTest::addColumn<QString>("message");

    const QString script = QStringLiteral("select 1");
    QTest::newRow("a missing profile") << "profile:nobody" << script << QByteArray()
                                       << "No saved connection profile is named \"nobody\".";
    QTest::newRow("no store at all") << "profile:nobody" << script << QByteArray("-")
                                     << "No saved connection profile is named \"nobody\".";
    QTest::newRow("a store that cannot be read")
        << "profile:" + ProfileName << script << QByteArray("not a registry file\n")
        << "The saved database connections could not be loaded. *";
    QTest::newRow("a missing database file")
        << "sqlite:missing.db" << script << QByteArray() << "The database file \"*";
    QTest::newRow("a folder for a database file")
        << "sqlite:." << script << QByteArray()
        << "\"" + Work_.filePath(QStringLiteral(".")) + "\" is not a database file.";
    QTest::newRow("a file that is not a database")
        << "sqlite:text.txt" << script << QByteArray() << "Cannot connect to \"text.txt\": *";
    QTest::newRow("a missing script") << "profile:" + ProfileName << "file:missing.sql"
                                      << QByteArray() << "Cannot read the script \"*";
    QTest::newRow("a folder for a script")
        << "profile:" + ProfileName << "file:." << QByteArray() << "Cannot read the script \"*";
    QTest::newRow("a script that is not UTF-8")
        << "profile:" + ProfileName << QStringLiteral("select '\xff'") << QByteArray()
        << "The script in standard input is not UTF-8 text.";
}

void CScriptRunnerTests::cannotRun()
{
    QFETCH(QString, target);
    QFETCH(QString, script);
    QFETCH(QByteArray, store);
    QFETCH(QString, message);

    CConnection profile;
    QVERIFY(StoreProfile(ETestBackend::SQLite, true, profile));
    if (store == "-") {
        QVERIFY(QFile::remove(CHive::CurrentUserFileName()));
    } else if (!store.isEmpty()) {
        QFile file(CHive::CurrentUserFileName());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(store);
    }
    QFile text(Work_.filePath(QStringLiteral("text.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    const QByteArray notADatabase(4096, 'x');
    text.write(notADatabase);
    text.close();

    CScriptRunner runner;
    if (target.startsWith(QStringLiteral("profile:")))
        runner.ProfileName = target.mid(8);
    else
        runner.SQLitePath = Work_.filePath(target.mid(7));
    runner.ScriptPath =
        script.startsWith(QStringLiteral("file:")) ? Work_.filePath(script.mid(5)) : "-";
    // Not UTF-8: the row's text stands for its Latin-1 bytes.
    const QByteArray input = script.toLatin1();
    QByteArray output;
    QByteArray errors;
    QCOMPARE(Run(runner, input, output, errors), 2);
    QCOMPARE(output, QByteArray());
    QString why;
    QVERIFY2(Matches(Lines(errors), {QStringLiteral("tablescope: ") + message}, why),
             qPrintable(why));
    // Nothing is made or changed on disk.
    QVERIFY(!QFile::exists(Work_.filePath(QStringLiteral("missing.db"))));
    QVERIFY(text.open(QIODevice::ReadOnly));
    QCOMPARE(text.readAll(), notADatabase);
}

void CScriptRunnerTests::escapeField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("plain") << "plain текст"
                           << "plain текст";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("controls") << "a\tb\nc\rd"
                              << "a\\tb\\nc\\rd";
    QTest::newRow("a backslash before a letter") << "C:\\new"
                                                 << "C:\\\\new";
    QTest::newRow("an escape's text stays apart from the escape") << "\\t\t"
                                                                  << "\\\\t\\t";
}

void CScriptRunnerTests::escapeField()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(CScriptRunner::EscapeField(text), escaped);
}

// The built program, as a shell starts it on a machine without a desktop.
void CScriptRunnerTests::programWithoutDisplay()
{
    CConnection profile;
    QVERIFY(StoreProfile(ETestBackend::SQLite, true, profile));
    const QStringList before = Snapshot(Config_.path());

    struct CCase
    {
        QStringList Arguments;
        QByteArray Input;
        int Status;
        QStringList Output;
        QString Errors;
    };
    const QString failing = ScriptFile(QStringLiteral("create table u (a integer);\n"
                                                      "select * from nowhere"));
    const QList<CCase> cases{
        {{"--execute", "-", "--profile", ProfileName},
         "create table t (a integer, b text);\ninsert into t values (1, 'x\ty');\n"
         "select a as a, b as b from t",
         0,
         {"#\ta\tb", "1\t1\tx\\ty"},
         {}},
        {{"--execute", failing, "--profile", ProfileName},
         {},
         1,
         {"create table u (a integer)", "- Success", "select * from nowhere", "- Error: *"},
         {}},
        {{"--execute", "-", "--profile", "nobody"},
         "select 1",
         2,
         {},
         "tablescope: No saved connection profile is named \"nobody\".\n"},
        {{"--profile", ProfileName}, {}, 2, {}, "tablescope: --profile belongs with --execute.\n*"},
        {{"--execute", "-", "--sqlite", profile.Path, "--bogus"},
         {},
         2,
         {},
         "tablescope: Unknown option 'bogus'.\n*"},
    };
    for (const CCase& run : cases) {
        QProcess process;
        process.setProcessEnvironment(Displayless(Config_.path()));
        process.start(QStringLiteral(TABLESCOPE_BINARY), run.Arguments);
        QVERIFY(process.waitForStarted());
        process.write(run.Input);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        const QByteArray errors = process.readAllStandardError();
        QString why;
        QVERIFY2(process.exitStatus() == QProcess::NormalExit, errors.constData());
        QVERIFY2(process.exitCode() == run.Status,
                 qPrintable(run.Arguments.join(u' ') + QStringLiteral(": ") +
                            QString::number(process.exitCode()) + u' ' +
                            QString::fromUtf8(errors)));
        QVERIFY2(Matches(Lines(process.readAllStandardOutput()), run.Output, why), qPrintable(why));
        QVERIFY2(run.Errors.endsWith(u'*')
                     ? QString::fromUtf8(errors).startsWith(run.Errors.chopped(1))
                     : QString::fromUtf8(errors) == run.Errors,
                 errors.constData());
    }
    QCOMPARE(Snapshot(Config_.path()), before);
}

// A profile without its password, no TABLESCOPE_PASSWORD and no terminal:
// the run ends with a message instead of waiting for input.
void CScriptRunnerTests::programWithoutTerminal()
{
    REQUIRE_TEST_BACKEND(Databases_, ETestBackend::FireBird);
    CConnection profile;
    QVERIFY(StoreProfile(ETestBackend::FireBird, false, profile));

    QProcess process;
    process.setProcessEnvironment(Displayless(Config_.path()));
    process.setChildProcessModifier([] { setsid(); }); // leaves the controlling terminal behind
    process.start(QStringLiteral(TABLESCOPE_BINARY),
                  {QStringLiteral("--execute"), QStringLiteral("-"), QStringLiteral("--profile"),
                   ProfileName});
    QVERIFY(process.waitForStarted());
    process.write("select 1");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.startsWith(QStringLiteral("tablescope: The profile \"") + ProfileName +
                               QStringLiteral("\" does not remember its password")),
             qPrintable(errors));
    QVERIFY2(errors.contains(QStringLiteral("TABLESCOPE_PASSWORD")), qPrintable(errors));
}

// Ctrl+C (SIGINT) during a long statement: the statement is interrupted,
// the next one does not run, the log of the stopped run is written and the
// program exits with 130.
void CScriptRunnerTests::ctrlCStopsTheRunningStatement()
{
    const QString database = QDir(Config_.path()).filePath(QStringLiteral("interrupted.db"));
    QFile empty(database); // an empty file is an empty database
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QProcess process;
    process.setProcessEnvironment(Displayless(Config_.path()));
    process.start(
        QStringLiteral(TABLESCOPE_BINARY),
        {QStringLiteral("--execute"), QStringLiteral("-"), QStringLiteral("--sqlite"), database});
    QVERIFY(process.waitForStarted());
    const QByteArray slow = "CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                            "SELECT x + 1 FROM c WHERE x < 1000000000) SELECT count(*) FROM c";
    process.write("CREATE TABLE kept (a);\n" + slow + ";\nCREATE TABLE never (a)");
    process.closeWriteChannel();
    QTest::qWait(700);
    QCOMPARE(process.state(), QProcess::Running);
    QElapsedTimer stopping;
    stopping.start();
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(10000));
    QVERIFY(stopping.elapsed() < 10000);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 130);
    QCOMPARE(process.readAllStandardOutput(),
             "CREATE TABLE kept (a)\n- Success\n" + slow +
                 "\n- Error: interrupted\nCREATE TABLE never (a)\n- Not run: stopped\n");
}

void CScriptRunnerTests::rowsFormatAndNull_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("lines");      // lines written, header included
    QTest::addColumn<QString>("header"); // the first line
    QTest::addColumn<QString>("third");  // the line of the third row
    QTest::newRow("as the window: 1,000 rows")
        << QStringList{} << 1001 << QStringLiteral("#\tn\tlabel\tmaybe")
        << QStringLiteral("3\t3\trow, 3\t");
    QTest::newRow("every row") << QStringList{"--max-rows", "0"} << 5001
                               << QStringLiteral("#\tn\tlabel\tmaybe")
                               << QStringLiteral("3\t3\trow, 3\t");
    QTest::newRow("a few rows, NULL spelt out")
        << QStringList{"--max-rows", "3", "--null", "\\N"} << 4
        << QStringLiteral("#\tn\tlabel\tmaybe") << QStringLiteral("3\t3\trow, 3\t\\\\N");
    QTest::newRow("CSV") << QStringList{"--format", "csv", "--max-rows", "0"} << 5001
                         << QStringLiteral("n,label,maybe") << QStringLiteral("3,\"row, 3\",");
}

// --max-rows, --format and --null on a result of 5,000 rows.
void CScriptRunnerTests::rowsFormatAndNull()
{
    QFETCH(QStringList, options);
    QFETCH(int, lines);
    QFETCH(QString, header);
    QFETCH(QString, third);
    const QString database = QDir(Config_.path()).filePath(QStringLiteral("rows.db"));
    QFile empty(database);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QProcess process;
    process.setProcessEnvironment(Displayless(Config_.path()));
    process.start(QStringLiteral(TABLESCOPE_BINARY),
                  QStringList{QStringLiteral("--execute"), QStringLiteral("-"),
                              QStringLiteral("--sqlite"), database} +
                      options);
    QVERIFY(process.waitForStarted());
    process.write("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 5000) "
                  "SELECT x AS n, 'row, ' || x AS label, CASE WHEN x % 3 = 0 THEN NULL ELSE x "
                  "END AS maybe FROM c");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList written =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(written.size(), lines);
    QCOMPARE(written.first(), header);
    QCOMPARE(written.at(3), third);
}

// A pseudo-terminal that a started program takes as its controlling
// terminal, and what it has shown.
class CPseudoTerminal
{
public:
    CPseudoTerminal()
    {
        Master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (Master_ < 0 || grantpt(Master_) != 0 || unlockpt(Master_) != 0)
            return;
        Slave_ = ptsname(Master_);
        // Held open here as well, so that the terminal stays up between the
        // program's openings of it.
        Held_ = open(Slave_.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~CPseudoTerminal()
    {
        if (Held_ >= 0)
            close(Held_);
        if (Master_ >= 0)
            close(Master_);
    }

    bool IsOpen() const { return Held_ >= 0; }

    void Attach(QProcess& process) const
    {
        process.setChildProcessModifier([slave = Slave_] {
            setsid();
            const int fd = open(slave.constData(), O_RDWR);
            if (fd >= 0) {
                ioctl(fd, TIOCSCTTY, 0);
                close(fd);
            }
        });
    }

    // Reads what the terminal shows until it shows expected or time runs out.
    bool WaitFor(const QByteArray& expected, int milliseconds = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!Screen.contains(expected) && timer.elapsed() < milliseconds) {
            pollfd poller{Master_, POLLIN, 0};
            if (poll(&poller, 1, 100) > 0) {
                char buffer[256];
                const ssize_t got = read(Master_, buffer, sizeof buffer);
                if (got <= 0)
                    break;
                Screen.append(buffer, got);
            }
        }
        return Screen.contains(expected);
    }

    bool Type(const QByteArray& keys)
    {
        return write(Master_, keys.constData(), size_t(keys.size())) == keys.size();
    }

    // Whether the terminal echoes what is typed.
    bool Echoes() const
    {
        termios settings{};
        return tcgetattr(Held_, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    }

    QByteArray Screen;

private:
    int Master_ = -1;
    int Held_ = -1;
    QByteArray Slave_;
};

// The login and password typed at the terminal, the script on standard
// input: the login is echoed, the password is not; or the user interrupts
// the password prompt with Ctrl+C, which leaves the terminal echoing again.
void CScriptRunnerTests::passwordTypedAtTerminal_data()
{
    QTest::addColumn<bool>("interrupt");
    QTest::newRow("typed") << false;
    QTest::newRow("interrupted") << true;
}

void CScriptRunnerTests::passwordTypedAtTerminal()
{
    QFETCH(bool, interrupt);
    REQUIRE_TEST_BACKEND(Databases_, ETestBackend::FireBird);
    CConnection profile;
    QVERIFY(StoreProfile(ETestBackend::FireBird, false, profile));
    QVERIFY(!profile.Password.isEmpty());

    CPseudoTerminal terminal;
    QVERIFY(terminal.IsOpen());
    QProcess process;
    process.setProcessEnvironment(Displayless(Config_.path()));
    terminal.Attach(process);
    process.start(QStringLiteral(TABLESCOPE_BINARY),
                  {QStringLiteral("--execute"), QStringLiteral("-"), QStringLiteral("--profile"),
                   ProfileName});
    QVERIFY(process.waitForStarted());
    process.write("select 7 as a from rdb$database");
    // Written now: waiting on the terminal runs no events that would write it.
    QVERIFY(process.waitForBytesWritten(30000));
    process.closeWriteChannel();

    const bool askedLogin = terminal.WaitFor("Login for \"" + ProfileName.toUtf8() + "\": ");
    const bool typedLogin = askedLogin && terminal.Type(profile.Login.toUtf8() + '\n');
    const bool askedPassword =
        typedLogin && terminal.WaitFor("Password for \"" + ProfileName.toUtf8() + "\": ");
    const bool echoedDuringPassword = terminal.Echoes();
    const bool typedPassword =
        askedPassword &&
        terminal.Type(interrupt ? QByteArray("zq7\x03") : profile.Password.toUtf8() + '\n');
    const bool finished = process.waitForFinished(60000);
    terminal.WaitFor("\n\n", 500); // whatever else the terminal showed
    QVERIFY2(typedPassword, terminal.Screen.constData());
    QVERIFY(finished);
    QVERIFY(!echoedDuringPassword);
    QVERIFY(terminal.Echoes());
    QVERIFY2(terminal.Screen.contains(profile.Login.toUtf8()), terminal.Screen.constData());
    QVERIFY2(!terminal.Screen.contains(interrupt ? "zq7" : profile.Password.toUtf8()),
             terminal.Screen.constData());

    if (interrupt) {
        QCOMPARE(process.exitStatus(), QProcess::CrashExit); // ended by the signal
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        return;
    }
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QString why;
    QVERIFY2(Matches(Lines(process.readAllStandardOutput()), {"#\ta", "1\t7"}, why),
             qPrintable(why));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

QTEST_GUILESS_MAIN(CScriptRunnerTests)
#include "tst_ScriptRunner.moc"
