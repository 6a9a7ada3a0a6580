// Remembered passwords through the real main window and the script runner:
// a profile that remembers its password is added, the program quits and
// starts again, and the profile connects to FireBird or to PostgreSQL
// through ODBC without asking for the login; the script runner connects with
// it too. Run through keyring-session.sh: with a keyring the password lives
// there and the store file holds none; without a session bus it stays in
// the file and the status bar says so.

#include "profiles/Connection.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/Hive.h"
#include "resources/MainMenu.h"
#include "shell/MainFrame.h"
#include "shell/TablescopeApp.h"
#include "workspace/MessageBox.h"
#include "workspace/TestDatabases.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(ETestBackend)

class CRememberedPasswordsTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rememberedPasswordNeedsNoLogin_data();
    void rememberedPasswordNeedsNoLogin();
    void scriptRunnerTakesTheRememberedPassword();

private:
    std::unique_ptr<CMainFrame> NewFrame();
    // Waits until no profile connects or runs a script.
    bool Idle(const CMainFrame& frame) const;

    QString Mode_;
    CTestDatabases Databases_;
};

void CRememberedPasswordsTests::initTestCase()
{
    Mode_ = qEnvironmentVariable("TABLESCOPE_KEYRING_TEST");
    if (Mode_.isEmpty())
        QSKIP("needs a session of its own: run it through keyring-session.sh");
    CTablescopeApp::SetUp();
}

std::unique_ptr<CMainFrame> CRememberedPasswordsTests::NewFrame()
{
    auto frame = std::make_unique<CMainFrame>();
    frame->resize(1000, 700);
    frame->show();
    return frame;
}

bool CRememberedPasswordsTests::Idle(const CMainFrame& frame) const
{
    return QTest::qWaitFor([&frame] { return !frame.IsAnyBusy(); }, 60000);
}

void CRememberedPasswordsTests::rememberedPasswordNeedsNoLogin_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::newRow("FireBird") << ETestBackend::FireBird;
    QTest::newRow("PostgreSQL through ODBC") << ETestBackend::OdbcPostgres;
}

void CRememberedPasswordsTests::rememberedPasswordNeedsNoLogin()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases_, backend);
    const bool keyring = Mode_ == QLatin1String("keyring");

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QStringList messages;
    SetMessageBoxAnswerer([&messages](const QString& text, QMessageBox::StandardButtons) {
        messages.append(text);
        return QMessageBox::Ok;
    });
    CConnection profile;
    QString why;
    QVERIFY2(Databases_.NewProfile(backend, profile, why), qPrintable(why));
    profile.Name = QStringLiteral("Remembered");
    // The ODBC test profile carries its credentials in the connect string;
    // here they are remembered instead, and reach the driver from there.
    if (profile.Password.isEmpty()) {
        profile.Path = CTestDatabases::WithoutCredentials(profile.Path);
        profile.Login = QStringLiteral("tablescope");
        profile.Password = QStringLiteral("tablescope");
    }
    QVERIFY(profile.RememberAuth);

    // Added, then the program quits: the profile is saved.
    NewFrame()->Connections->AddConnection(profile);
    QFile store(CHive::CurrentUserFileName());
    QVERIFY(store.open(QIODevice::ReadOnly));
    const QByteArray stored = store.readAll();
    QVERIFY(stored.contains("\"Remembered\""));
    QCOMPARE(stored.contains("\"Password\""), !keyring);
    if (keyring) {
        QProcess lookup;
        lookup.start(QStringLiteral("secret-tool"),
                     {QStringLiteral("lookup"), QStringLiteral("server"),
                      QStringLiteral("Tablescope: Remembered"), QStringLiteral("user"),
                      profile.Login});
        QVERIFY(lookup.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(lookup.readAllStandardOutput()), profile.Password);
    }

    // Started again: it connects without a login dialog.
    const std::unique_ptr<CMainFrame> frame = NewFrame();
    QCOMPARE(frame->Connections->GetConnectionCount(), 1);
    QCOMPARE(frame->Connections->GetConnection(0)->Password, profile.Password);
    // Without a keyring the status bar tells where the password went.
    QCOMPARE(frame->statusBar()->currentMessage().contains(CHive::CurrentUserFileName()), !keyring);
    int dialogs = 0;
    QTimer refuser;
    connect(&refuser, &QTimer::timeout, &refuser, [&dialogs] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    refuser.start(10);
    frame->Connections->SelectConnection(0);
    frame->Action(CommandConnect)->trigger();
    QVERIFY(Idle(*frame));
    QCOMPARE(dialogs, 0);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
    QVERIFY(frame->Connections->GetConnection(0)->Database);
    SetMessageBoxAnswerer({});
}

void CRememberedPasswordsTests::scriptRunnerTakesTheRememberedPassword()
{
    REQUIRE_TEST_BACKEND(Databases_, ETestBackend::FireBird);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    CConnection profile;
    QString why;
    QVERIFY2(Databases_.NewProfile(ETestBackend::FireBird, profile, why), qPrintable(why));
    profile.Name = QStringLiteral("Nightly");
    {
        CConnectionsWnd window;
        window.AddConnection(profile);
        QString error;
        QVERIFY2(SaveConnections(window, error), qPrintable(error));
    }

    // No TABLESCOPE_PASSWORD: the profile remembers its own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TABLESCOPE_PASSWORD"));
    environment.remove(QStringLiteral("TABLESCOPE_USER"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TABLESCOPE_BINARY),
                  {QStringLiteral("--execute"), QStringLiteral("-"), QStringLiteral("--profile"),
                   profile.Name});
    process.write("SELECT 7 AS N FROM RDB$DATABASE");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    const QByteArray errors = process.readAllStandardError();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             errors.constData());
    QCOMPARE(process.readAllStandardOutput(), QByteArray("#\tN\n1\t7\n"));
}

QTEST_MAIN(CRememberedPasswordsTests)
#include "tst_RememberedPasswords.moc"
