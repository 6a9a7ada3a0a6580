#include "shell/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseExecute_data();
    void parseExecute();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("pass");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("onStandardError");
    QTest::addColumn<QString>("messageStart"); // empty: no message at all
    QTest::addColumn<QString>("filePath");

    const int early = CCommandLine::PassEarly;
    const int full = CCommandLine::PassFull;
    const QString version = QStringLiteral("Tablescope " TABLESCOPE_EXPECTED_VERSION "\n");
    const QString usage = QStringLiteral("Usage: tablescope [options] [file]\n");
    const QString path = QStringLiteral("/tmp/базы данных/it's here.db");

    QTest::newRow("nothing") << QStringList{"tablescope"} << full << false << 0 << false
                             << QString() << QString();
    QTest::newRow("no arguments at all, not even a name")
        << QStringList{} << full << false << 0 << false << QString() << QString();
    QTest::newRow("a file") << QStringList{"tablescope", path} << full << false << 0 << false
                            << QString() << path;
    QTest::newRow("the early pass leaves the file alone")
        << QStringList{"tablescope", path} << early << false << 0 << false << QString()
        << QString();
    QTest::newRow("a file named like an option after --")
        << QStringList{"tablescope", "--", "-v"} << full << false << 0 << false << QString()
        << QStringLiteral("-v");

    for (const int pass : {early, full}) {
        const char* name = pass == early ? "early" : "full";
        QTest::addRow("--help, %s", name) << QStringList{"/usr/bin/tablescope", "--help"} << pass
                                          << true << 0 << false << usage << QString();
        QTest::addRow("-h, %s", name)
            << QStringList{"tablescope", "-h"} << pass << true << 0 << false << usage << QString();
        QTest::addRow("--version, %s", name) << QStringList{"tablescope", "--version"} << pass
                                             << true << 0 << false << version << QString();
        QTest::addRow("-v, %s", name) << QStringList{"tablescope", "-v", path} << pass << true << 0
                                      << false << version << QString();
        // Before the application object has taken its options, Qt's own
        // options are unknown: help must still answer.
        QTest::addRow("help after an option of Qt's own, %s", name)
            << QStringList{"tablescope", "-platform", "offscreen", "--help"} << pass << true << 0
            << false << usage << QString();
    }

    QTest::newRow("an option of Qt's own waits for the full pass")
        << QStringList{"tablescope", "-reverse", "-style", "fusion"} << early << false << 0 << false
        << QString() << QString();
    QTest::newRow("unknown option")
        << QStringList{"tablescope", "--bogus"} << full << true << 2 << true
        << QStringLiteral("tablescope: Unknown option 'bogus'.\nTry 'tablescope --help'")
        << QString();
    QTest::newRow("unknown option before a file")
        << QStringList{"tablescope", "-x", path} << full << true << 2 << true
        << QStringLiteral("tablescope: Unknown option 'x'.") << QString();
    QTest::newRow("two files") << QStringList{"tablescope", "a.db", "b.db"} << full << true << 2
                               << true
                               << QStringLiteral("tablescope: Only one file can be opened; 2 were")
                               << QString();
    QTest::newRow("an empty file name")
        << QStringList{"tablescope", ""} << full << true << 2 << true
        << QStringLiteral("tablescope: The file name is empty.") << QString();
    QTest::newRow("help wins over a mistake")
        << QStringList{"tablescope", "--bogus", "a.db", "b.db", "--help"} << early << true << 0
        << false << usage << QString();
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, pass);
    QFETCH(bool, finished);
    QFETCH(int, exitCode);
    QFETCH(bool, onStandardError);
    QFETCH(QString, messageStart);
    QFETCH(QString, filePath);

    const CCommandLine result =
        CCommandLine::Parse(arguments, static_cast<CCommandLine::EPass>(pass));
    QCOMPARE(result.Finished, finished);
    QCOMPARE(result.ExitCode, exitCode);
    QCOMPARE(result.MessageIsError, onStandardError);
    if (messageStart.isEmpty()) {
        QCOMPARE(result.Message, QString());
    } else {
        QVERIFY2(result.Message.startsWith(messageStart), qPrintable(result.Message));
        QVERIFY(result.Message.endsWith(QLatin1Char('\n')));
    }
    QCOMPARE(result.FilePath, filePath);
}

void TestCommandLine::parseExecute_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("pass");
    QTest::addColumn<bool>("execute");        // without an error
    QTest::addColumn<QStringList>("targets"); // script, profile, SQLite file
    QTest::addColumn<QString>("error");       // the usage error's start; empty for none

    const int early = CCommandLine::PassEarly;
    const int full = CCommandLine::PassFull;
    const QStringList none{QString(), QString(), QString()};

    QTest::newRow("a profile") << QStringList{"tablescope", "--execute", "a.sql", "--profile",
                                              "Мой профиль"}
                               << full << true << QStringList{"a.sql", "Мой профиль", ""}
                               << QString();
    QTest::newRow("an SQLite file, standard input")
        << QStringList{"tablescope", "--sqlite=/tmp/x.db", "--execute", "-"} << full << true
        << QStringList{"-", "", "/tmp/x.db"} << QString();
    QTest::newRow("the early pass only tells that it is a run")
        << QStringList{"tablescope", "--execute", "a.sql"} << early << true << none << QString();
    QTest::newRow("the early pass ignores the window's options")
        << QStringList{"tablescope", "-platform", "offscreen", "--execute", "a.sql"} << early
        << true << none << QString();
    QTest::newRow("no database") << QStringList{"tablescope", "--execute", "a.sql"} << full << true
                                 << none
                                 << QStringLiteral("tablescope: --execute needs either --profile");
    QTest::newRow("two databases")
        << QStringList{"tablescope", "--execute", "a.sql", "--profile", "p", "--sqlite", "x.db"}
        << full << true << none << QStringLiteral("tablescope: --execute needs either --profile");
    QTest::newRow("no script") << QStringList{"tablescope", "--execute"} << full << false << none
                               << QStringLiteral("tablescope: Missing value after '--execute'.");
    QTest::newRow("an empty script name")
        << QStringList{"tablescope", "--execute", "", "--sqlite", "x.db"} << full << true << none
        << QStringLiteral("tablescope: The script name is empty.");
    QTest::newRow("an empty profile name")
        << QStringList{"tablescope", "--execute", "a.sql", "--profile", ""} << full << true << none
        << QStringLiteral("tablescope: The profile name is empty.");
    QTest::newRow("a file besides the script")
        << QStringList{"tablescope", "--execute", "a.sql", "--profile", "p", "x.db"} << full << true
        << none << QStringLiteral("tablescope: --execute opens no file; use --sqlite x.db");
    QTest::newRow("a window's option without a window")
        << QStringList{"tablescope", "-platform", "offscreen", "--execute",
                       "a.sql",      "--profile", "p"}
        << full << true << none << QStringLiteral("tablescope: Unknown option 'platform'.");
    for (const int pass : {early, full}) {
        QTest::addRow("--profile without --execute, %s", pass == early ? "early" : "full")
            << QStringList{"tablescope", "--profile", "p"} << pass << false << none
            << QStringLiteral("tablescope: --profile belongs with --execute.");
        QTest::addRow("--sqlite without --execute, %s", pass == early ? "early" : "full")
            << QStringList{"tablescope", "--sqlite", "x.db", "x.db"} << pass << false << none
            << QStringLiteral("tablescope: --sqlite belongs with --execute.");
    }
}

void TestCommandLine::parseExecute()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, pass);
    QFETCH(bool, execute);
    QFETCH(QStringList, targets);
    QFETCH(QString, error);

    const CCommandLine result =
        CCommandLine::Parse(arguments, static_cast<CCommandLine::EPass>(pass));
    QCOMPARE(result.Finished, !error.isEmpty());
    if (!error.isEmpty()) {
        QCOMPARE(result.ExitCode, 2);
        QVERIFY(result.MessageIsError);
        QVERIFY2(result.Message.startsWith(error), qPrintable(result.Message));
        return;
    }
    QCOMPARE(result.Execute, execute);
    QCOMPARE(QStringList({result.ScriptPath, result.ProfileName, result.SQLitePath}), targets);
    QCOMPARE(result.FilePath, QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
