// Long work through the real main window, on SQLite, FireBird and
// PostgreSQL through ODBC: a statement that would run for a long time is
// started with Ctrl+F5 and stopped with Esc while the interface goes on; two
// connections work at once; a connect to a server that never answers is
// abandoned. Every message box is answered by the test.

#include "profiles/ConnectionsWnd.h"
#include "resources/MainMenu.h"
#include "shell/MainFrame.h"
#include "shell/TablescopeApp.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/GridText.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultGrid.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/TestDatabases.h"
#include "workspace/WaitForRun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

// A port on 127.0.0.1 that takes connections into its backlog and never
// accepts them: a server that does not answer. 0 when none could be had.
class CSilentPort
{
public:
    CSilentPort()
    {
        Socket_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (Socket_ < 0 || bind(Socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(Socket_, 4) != 0 ||
            getsockname(Socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        Port = ntohs(address.sin_port);
    }
    ~CSilentPort() { Close(); }
    // Whoever waits on the port hears that it is gone.
    void Close()
    {
        if (Socket_ >= 0)
            ::close(Socket_);
        Socket_ = -1;
    }

    quint16 Port = 0;

private:
    int Socket_ = -1;
};

} // namespace

class CLongWorkTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void escStopsALongStatement_data();
    void escStopsALongStatement();
    void twoConnectionsAtOnce();
    void aConnectNobodyAnswersIsAbandoned();

private:
    int AddConnected(const CConnection& profile);
    bool Idle(int milliseconds = 60000) const;

    QTemporaryDir Config;
    std::unique_ptr<CMainFrame> Frame;
    QStringList Messages;
    CTestDatabases Databases;
};

void CLongWorkTests::initTestCase()
{
    CTablescopeApp::SetUp();
}

void CLongWorkTests::init()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config.path()));
    QFile::remove(Config.filePath(QStringLiteral("Brevan/Tablescope.reg")));
    Messages.clear();
    SetMessageBoxAnswerer([this](const QString& text, QMessageBox::StandardButtons) {
        Messages.append(text);
        return QMessageBox::Yes;
    });
    Frame = std::make_unique<CMainFrame>();
    Frame->resize(1200, 900);
    Frame->show();
    QApplication::setActiveWindow(Frame.get());
    QVERIFY(QTest::qWaitForWindowActive(Frame.get()));
}

void CLongWorkTests::cleanup()
{
    Frame.reset();
    SetMessageBoxAnswerer({});
    QVERIFY(CDatabaseThread::WaitForEndedThreads(60000));
}

bool CLongWorkTests::Idle(int milliseconds) const
{
    return QTest::qWaitFor([this] { return !Frame->IsAnyBusy(); }, milliseconds);
}

int CLongWorkTests::AddConnected(const CConnection& profile)
{
    const int index = Frame->Connections->AddConnection(profile);
    Frame->Connections->SelectConnection(index);
    Frame->Action(CommandConnect)->trigger();
    if (!Idle())
        return -1;
    return Frame->Connections->GetConnection(index)->Window ? index : -1;
}

void CLongWorkTests::escStopsALongStatement_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("slow");    // runs for many seconds, and is not a query
    QTest::addColumn<QString>("message"); // a word of what the backend says when stopped
    QTest::newRow("SQLite")
        << ETestBackend::SQLite
        << QStringLiteral("CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                          "SELECT x + 1 FROM c WHERE x < 1000000000) SELECT count(*) AS n FROM c")
        << QStringLiteral("interrupted");
    QTest::newRow("FireBird") << ETestBackend::FireBird
                              << QStringLiteral(
                                     "EXECUTE BLOCK AS BEGIN WHILE ((SELECT count(*) FROM "
                                     "rdb$types a, rdb$types b, rdb$types c, rdb$types d) < 0) DO "
                                     "BEGIN END END")
                              << QStringLiteral("cancelled");
    QTest::newRow("ODBC PostgreSQL")
        << ETestBackend::OdbcPostgres
        << QStringLiteral("CREATE TABLE slept AS SELECT 1 AS n FROM pg_sleep(600)")
        << QStringLiteral("cancel");
    QTest::newRow("ODBC MariaDB") << ETestBackend::OdbcMariaDB
                                  << QStringLiteral("CREATE TABLE slept AS SELECT SLEEP(600) AS n")
                                  << QStringLiteral("interrupted");
}

// A statement that would run for minutes, started with Ctrl+F5: the
// interface's timers keep firing, the status bar counts the time, Esc stops
// the statement at once; the log lists what ran, the stopped statement with
// the backend's message and the next one as not run; the connection works on.
void CLongWorkTests::escStopsALongStatement()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, slow);
    QFETCH(QString, message);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection profile;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    profile.Name = QStringLiteral("Chinook");
    const int index = AddConnected(profile);
    QVERIFY2(index >= 0, qPrintable(Messages.join(u'\n')));
    CConnectionWnd* window = Frame->Connections->GetConnection(index)->Window;

    const QString script = QStringLiteral("CREATE TABLE kept (a INTEGER);\n%1;\n"
                                          "CREATE TABLE never (a INTEGER)")
                               .arg(slow);
    window->Editor->setPlainText(script);
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
    ticker.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::keyClick(window->Editor, Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(window->IsBusy());
    QTest::qWait(600);
    QVERIFY(window->IsBusy());
    QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
    QVERIFY2(Frame->statusBar()->currentMessage().startsWith(
                 QStringLiteral("Executing statement 2 of 3 on \"Chinook\"... ")),
             qPrintable(Frame->statusBar()->currentMessage()));
    QVERIFY(Frame->Action(CommandStop)->isEnabled());
    QTest::keyClick(window->Editor, Qt::Key_Escape);
    QVERIFY(WaitForRun(window, 10000));
    QVERIFY2(elapsed.elapsed() < 10000, "the stop did not end the statement");

    const QStringList grid = GridText(window->ResultList->Model());
    QCOMPARE(grid.size(), 7);
    QCOMPARE(grid.at(1), QStringLiteral("+ CREATE TABLE kept (a INTEGER)"));
    QCOMPARE(grid.at(3), QStringLiteral("x ") + slow);
    QVERIFY2(grid.at(4).startsWith(QStringLiteral("  - Error: ")) &&
                 grid.at(4).contains(message, Qt::CaseInsensitive),
             qPrintable(grid.at(4)));
    QCOMPARE(grid.at(5), QStringLiteral("  CREATE TABLE never (a INTEGER)"));
    QCOMPARE(grid.at(6), QStringLiteral("  - Not run: stopped"));
    QVERIFY2(Frame->statusBar()->currentMessage().startsWith(QStringLiteral("Stopped after ")),
             qPrintable(Frame->statusBar()->currentMessage()));
    QVERIFY(!Frame->Action(CommandStop)->isEnabled());

    // The connection works on: what ran before the stop is there, the rest is not.
    window->Editor->setPlainText(QStringLiteral("SELECT count(*) AS n FROM kept"));
    QTest::keyClick(window->Editor, Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(WaitForRun(window));
    QCOMPARE(GridText(window->ResultList->Model()).mid(1), QStringList{"  1|0"});
    QVERIFY2(Frame->statusBar()->currentMessage().startsWith(QStringLiteral("1 row in ")),
             qPrintable(Frame->statusBar()->currentMessage()));
    window->Editor->setPlainText(QStringLiteral("SELECT a FROM never"));
    QTest::keyClick(window->Editor, Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(WaitForRun(window));
    QCOMPARE(GridText(window->ResultList->Model()).value(1).left(2), QStringLiteral("x "));
}

// One connection busy for a long time; the other executes and shows its
// rows meanwhile.
void CLongWorkTests::twoConnectionsAtOnce()
{
    CConnection slow;
    QString why;
    QVERIFY2(Databases.NewProfile(ETestBackend::SQLite, slow, why), qPrintable(why));
    slow.Name = QStringLiteral("slow");
    CConnection quick = slow;
    QVERIFY2(Databases.NewProfile(ETestBackend::SQLite, quick, why), qPrintable(why));
    quick.Name = QStringLiteral("quick");
    const int first = AddConnected(slow);
    const int second = AddConnected(quick);
    QVERIFY(first >= 0 && second >= 0);
    CConnectionWnd* busy = Frame->Connections->GetConnection(first)->Window;
    CConnectionWnd* other = Frame->Connections->GetConnection(second)->Window;

    Frame->Connections->SelectConnection(first);
    busy->Editor->setPlainText(
        QStringLiteral("CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                       "SELECT x + 1 FROM c WHERE x < 1000000000) SELECT count(*) AS n FROM c"));
    Frame->Action(CommandExecute)->trigger();
    QVERIFY(busy->IsBusy());

    Frame->Connections->SelectConnection(second);
    QVERIFY(other->isVisible() && !busy->isVisible());
    QVERIFY(Frame->Action(CommandExecute)->isEnabled());
    other->Editor->setPlainText(QStringLiteral("SELECT 'meanwhile' AS word"));
    Frame->Action(CommandExecute)->trigger();
    QVERIFY(WaitForRun(other));
    QCOMPARE(GridText(other->ResultList->Model()), (QStringList{"#>|word<", "  1|meanwhile"}));
    QVERIFY(busy->IsBusy());

    Frame->Connections->SelectConnection(first);
    Frame->Action(CommandStop)->trigger();
    QVERIFY(WaitForRun(busy, 10000));
}

// A FireBird server address where nothing answers: the profile shows that it
// is connecting, the window stays usable, Esc abandons the attempt and the
// profile stays disconnected; the attempt's end is thrown away.
void CLongWorkTests::aConnectNobodyAnswersIsAbandoned()
{
    CSilentPort silent;
    QVERIFY(silent.Port != 0);
    CConnection profile;
    profile.Name = QStringLiteral("nobody");
    profile.Type = DatabaseTypeFireBird;
    profile.Path = QStringLiteral("127.0.0.1/%1").arg(silent.Port);
    profile.Alias = QStringLiteral("nothing.fdb");
    profile.Login = QStringLiteral("SYSDBA");
    profile.Password = QStringLiteral("none");
    profile.RememberAuth = true;
    const int index = Frame->Connections->AddConnection(profile);
    Frame->Connections->SelectConnection(index);
    Frame->Action(CommandConnect)->trigger();
    const CConnection* connecting = Frame->Connections->GetConnection(index);
    QVERIFY(Frame->IsBusy(connecting));
    QTest::qWait(300);
    QVERIFY(Frame->IsBusy(connecting));
    QCOMPARE(Frame->Connections->GetConnectionText(index),
             QStringLiteral("nobody (connecting...)"));
    QVERIFY(Frame->statusBar()->currentMessage().startsWith(
        QStringLiteral("Connecting to \"nobody\"... ")));
    QVERIFY(!Frame->Action(CommandConnect)->isEnabled());
    QVERIFY(!Frame->Action(CommandDeleteConnection)->isEnabled());
    QVERIFY(Frame->Action(CommandNewConnection)->isEnabled());

    QTest::keyClick(Frame->Connections, Qt::Key_Escape);
    QVERIFY(!Frame->IsBusy(connecting));
    QCOMPARE(Frame->Connections->GetConnectionText(index), QStringLiteral("nobody"));
    QVERIFY(!connecting->Database);
    QVERIFY(!connecting->Window);
    QVERIFY(Frame->Action(CommandConnect)->isEnabled());
    QVERIFY(Frame->statusBar()->currentMessage().startsWith(
        QStringLiteral("Connecting to \"nobody\" was stopped")));

    // The server goes away; the abandoned attempt ends by itself, unheard.
    silent.Close();
    QVERIFY(CDatabaseThread::WaitForEndedThreads(60000));
    QTest::qWait(20);
    QVERIFY(Messages.isEmpty());
    QVERIFY(!connecting->Database);
}

QTEST_MAIN(CLongWorkTests)
#include "tst_LongWork.moc"
