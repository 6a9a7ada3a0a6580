// Remembered passwords in the desktop's keyring: a real GNOME keyring
// reached through the Secret Service, real store files in a temporary
// configuration folder. Run through keyring-session.sh, which gives the test
// a session bus and a keyring of its own, or no session bus at all
// (--no-bus); each case runs in the session it needs and skips in the other.
//
// What the keyring holds is read back with secret-tool, as the user would.

#include "profiles/Connection.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/PasswordStore.h"
#include "profiles/Registry.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/stat.h>

namespace {

const QByteArray Sections = "Windows Registry Editor Version 5.00\n"
                            "\n[HKEY_CURRENT_USER\\Software]\n"
                            "\n[HKEY_CURRENT_USER\\Software\\Brevan]\n"
                            "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope]\n"
                            "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections]\n";

CConnection Profile(const QString& name, int type, const QString& login, const QString& password,
                    bool remember = true)
{
    CConnection profile;
    profile.Name = name;
    profile.Type = type;
    profile.Path = QStringLiteral("localhost");
    profile.Login = login;
    profile.Password = password;
    profile.RememberAuth = remember;
    return profile;
}

// One entry of the keyring as secret-tool shows it.
struct CSecret
{
    QString Label;
    QString User;
    QString Secret;

    bool operator==(const CSecret&) const = default;
    bool operator<(const CSecret& other) const { return Label < other.Label; }
};

char* toString(const CSecret& secret)
{
    return QTest::toString(
        QStringLiteral("{%1, %2, %3}").arg(secret.Label, secret.User, secret.Secret));
}

QProcess::ExitStatus Run(const QString& program, const QStringList& arguments,
                         const QByteArray& input, QByteArray* output = nullptr,
                         int* exitCode = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // secret-tool prints labels and attributes in the locale's character
    // set: without a UTF-8 locale every letter outside ASCII becomes '?'.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    if (output)
        *output = process.readAll();
    if (exitCode)
        *exitCode = process.exitCode();
    return process.exitStatus();
}

// Every password QtKeychain has stored, sorted by label.
QList<CSecret> KeyringEntries()
{
    QByteArray text;
    Run(QStringLiteral("secret-tool"),
        {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--unlock"),
         QStringLiteral("type"), QStringLiteral("plaintext")},
        {}, &text);
    QList<CSecret> entries;
    for (const QString& line : QString::fromUtf8(text).split(u'\n')) {
        if (line.startsWith(u'['))
            entries.append(CSecret{});
        else if (entries.isEmpty())
            continue;
        else if (line.startsWith(QStringLiteral("label = ")))
            entries.last().Label = line.mid(8);
        else if (line.startsWith(QStringLiteral("secret = ")))
            entries.last().Secret = line.mid(9);
        else if (line.startsWith(QStringLiteral("attribute.user = ")))
            entries.last().User = line.mid(17);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The password secret-tool finds for a label and a login, as the user would
// look it up; empty when there is none.
QString Lookup(const QString& label, const QString& login)
{
    QByteArray secret;
    Run(QStringLiteral("secret-tool"),
        {QStringLiteral("lookup"), QStringLiteral("server"), label, QStringLiteral("user"), login},
        {}, &secret);
    return QString::fromUtf8(secret);
}

// A secret as the Secret Service passes it: (session, parameters, value,
// content type).
struct CDBusSecret
{
    QDBusObjectPath Session;
    QByteArray Parameters;
    QByteArray Value;
    QString ContentType;
};

QDBusArgument& operator<<(QDBusArgument& argument, const CDBusSecret& secret)
{
    argument.beginStructure();
    argument << secret.Session << secret.Parameters << secret.Value << secret.ContentType;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, CDBusSecret& secret)
{
    argument.beginStructure();
    argument >> secret.Session >> secret.Parameters >> secret.Value >> secret.ContentType;
    argument.endStructure();
    return argument;
}

const QString LoginCollection = QStringLiteral("/org/freedesktop/secrets/collection/login");

// The process id of the keyring daemon of this session.
qint64 KeyringDaemon()
{
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(
        QStringLiteral("org.freedesktop.secrets"));
    return pid.isValid() ? qint64(pid.value()) : -1;
}

int Mode(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

using CChange = std::function<void(CConnectionsWnd& window)>;
Q_DECLARE_METATYPE(CChange)
Q_DECLARE_METATYPE(CDBusSecret)

class CPasswordStoreTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rememberedPasswordsLiveInTheKeyring_data();
    void rememberedPasswordsLiveInTheKeyring();
    void earlierStoreMovesToTheKeyring();
    void keyringFollowsTheProfiles_data();
    void keyringFollowsTheProfiles();
    void failedKeyringWriteKeepsTheOldPassword();
    void failedFileWritePutsTheKeyringBack();
    void passwordsNotReadAreKept();
    void keyringThatCannotBeReadTakesNothing_data();
    void keyringThatCannotBeReadTakesNothing();
    void noSessionBusKeepsPasswordsInTheFile();

private:
    bool InKeyringSession() const { return Mode_ == QLatin1String("keyring"); }
    QString StoreFile() const { return CHive::CurrentUserFileName(); }
    QByteArray ReadStore() const;
    void WriteStore(const QByteArray& text);
    void Save(const QList<CConnection>& profiles);
    QList<CConnection> Reload();
    // A new keyring daemon on the same keyring files, unlocked again.
    void RestartKeyring();
    void LockKeyring();
    // With the password, as the unlock prompt would.
    void UnlockKeyring();

    QString Mode_;
    std::unique_ptr<QTemporaryDir> Config_;
    std::unique_ptr<CConnectionsWnd> Window_;
    bool KeyringLocked_ = false; // a case locked the keyring
    bool KeyringBroken_ = false; // a case stopped or killed the keyring daemon
};

void CPasswordStoreTests::initTestCase()
{
    Mode_ = qEnvironmentVariable("TABLESCOPE_KEYRING_TEST");
    if (Mode_.isEmpty())
        QSKIP("needs a session of its own: run it through keyring-session.sh");
}

void CPasswordStoreTests::init()
{
    Config_ = std::make_unique<QTemporaryDir>();
    QVERIFY(Config_->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config_->path()));
    Window_ = std::make_unique<CConnectionsWnd>();
    CPasswordStore::Instance().SetTimeout(30000);
    CPasswordStore::Instance().TakeNotice();
    if (InKeyringSession())
        Run(QStringLiteral("secret-tool"),
            {QStringLiteral("clear"), QStringLiteral("type"), QStringLiteral("plaintext")}, {});
}

void CPasswordStoreTests::cleanup()
{
    Window_.reset();
    Config_.reset();
    if (KeyringLocked_) {
        KeyringLocked_ = false;
        UnlockKeyring();
    }
    if (KeyringBroken_)
        RestartKeyring();
}

QByteArray CPasswordStoreTests::ReadStore() const
{
    QFile file(StoreFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void CPasswordStoreTests::WriteStore(const QByteArray& text)
{
    QDir().mkpath(QFileInfo(StoreFile()).path());
    QFile file(StoreFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void CPasswordStoreTests::Save(const QList<CConnection>& profiles)
{
    Window_->DeleteAllConnections();
    for (const CConnection& profile : profiles)
        Window_->AddConnection(profile);
    QString error;
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
}

QList<CConnection> CPasswordStoreTests::Reload()
{
    QString error;
    if (!LoadConnections(*Window_, error))
        qWarning("LoadConnections: %s", qPrintable(error));
    QList<CConnection> profiles;
    for (int i = 0; i < Window_->GetConnectionCount(); ++i)
        profiles.append(*Window_->GetConnection(i));
    return profiles;
}

void CPasswordStoreTests::RestartKeyring()
{
    KeyringBroken_ = false;
    const qint64 stopped = KeyringDaemon();
    if (stopped > 0)
        ::kill(pid_t(stopped), SIGCONT);
    int exitCode = -1;
    QByteArray output;
    Run(QStringLiteral("gnome-keyring-daemon"),
        {QStringLiteral("--replace"), QStringLiteral("--unlock"),
         QStringLiteral("--components=secrets")},
        qgetenv("TABLESCOPE_KEYRING_PASSWORD"), &output, &exitCode);
    QVERIFY2(exitCode == 0, output.constData());
    // The new daemon answers once it owns the name.
    QTRY_VERIFY_WITH_TIMEOUT(KeyringDaemon() > 0 && KeyringDaemon() != stopped, 20000);
    QString password, reason;
    QTRY_VERIFY_WITH_TIMEOUT(
        CPasswordStore::Instance().ReadPassword(QStringLiteral("probe"), {}, password, reason) !=
            CPasswordStore::KeyringFailed,
        60000);
}

void CPasswordStoreTests::LockKeyring()
{
    QDBusInterface service(QStringLiteral("org.freedesktop.secrets"),
                           QStringLiteral("/org/freedesktop/secrets"),
                           QStringLiteral("org.freedesktop.Secret.Service"));
    const QList<QDBusObjectPath> collections = {QDBusObjectPath(LoginCollection)};
    const QDBusMessage reply =
        service.call(QStringLiteral("Lock"), QVariant::fromValue(collections));
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
}

void CPasswordStoreTests::UnlockKeyring()
{
    qDBusRegisterMetaType<CDBusSecret>();
    const QString root = QStringLiteral("/org/freedesktop/secrets");
    QDBusInterface service(QStringLiteral("org.freedesktop.secrets"), root,
                           QStringLiteral("org.freedesktop.Secret.Service"));
    const QDBusMessage session =
        service.call(QStringLiteral("OpenSession"), QStringLiteral("plain"),
                     QVariant::fromValue(QDBusVariant(QString())));
    QVERIFY2(session.type() == QDBusMessage::ReplyMessage, qPrintable(session.errorMessage()));
    const CDBusSecret password = {session.arguments().value(1).value<QDBusObjectPath>(),
                                  {},
                                  qgetenv("TABLESCOPE_KEYRING_PASSWORD"),
                                  QStringLiteral("text/plain")};
    // gnome-keyring's own way in, for tools that hold the password already.
    QDBusInterface keyring(
        QStringLiteral("org.freedesktop.secrets"), root,
        QStringLiteral("org.gnome.keyring.InternalUnsupportedGuiltRiddenInterface"));
    const QDBusMessage reply = keyring.call(QStringLiteral("UnlockWithMasterPassword"),
                                            QVariant::fromValue(QDBusObjectPath(LoginCollection)),
                                            QVariant::fromValue(password));
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
}

void CPasswordStoreTests::rememberedPasswordsLiveInTheKeyring_data()
{
    QTest::addColumn<QList<CConnection>>("profiles");
    QTest::addColumn<QList<CSecret>>("secrets");

    QTest::newRow("FireBird") << QList<CConnection>{Profile(QStringLiteral("Sales"), 1,
                                                            QStringLiteral("SYSDBA"),
                                                            QStringLiteral("masterkey"))}
                              << QList<CSecret>{{QStringLiteral("Tablescope: Sales"),
                                                 QStringLiteral("SYSDBA"),
                                                 QStringLiteral("masterkey")}};
    // Nothing but the keyring's entry makes it remember its credentials.
    QTest::newRow("password without a login")
        << QList<CConnection>{Profile(QStringLiteral("Reports"), 2, {}, QStringLiteral("p w"))}
        << QList<CSecret>{{QStringLiteral("Tablescope: Reports"), {}, QStringLiteral("p w")}};
    QTest::newRow("text outside ASCII")
        << QList<CConnection>{Profile(QStringLiteral("Склад \"север\""), 1,
                                      QStringLiteral("кладовщик"), QStringLiteral("пароль \u00fc"))}
        << QList<CSecret>{{QStringLiteral("Tablescope: Склад \"север\""),
                           QStringLiteral("кладовщик"), QStringLiteral("пароль \u00fc")}};
    QTest::newRow("one name twice")
        << QList<CConnection>{Profile(QStringLiteral("Twin"), 1, QStringLiteral("u"),
                                      QStringLiteral("first")),
                              Profile(QStringLiteral("Twin"), 1, QStringLiteral("u"),
                                      QStringLiteral("second"))}
        << QList<CSecret>{
               {QStringLiteral("Tablescope: Twin"), QStringLiteral("u"), QStringLiteral("first")},
               {QStringLiteral("Tablescope: Twin (2)"), QStringLiteral("u"),
                QStringLiteral("second")}};
    QTest::newRow("not remembered, or no password")
        << QList<CConnection>{Profile(QStringLiteral("Typed"), 1, QStringLiteral("u"),
                                      QStringLiteral("typed at connect"), false),
                              Profile(QStringLiteral("Login only"), 1, QStringLiteral("u"), {})}
        << QList<CSecret>{};
}

void CPasswordStoreTests::rememberedPasswordsLiveInTheKeyring()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    QFETCH(QList<CConnection>, profiles);
    QFETCH(QList<CSecret>, secrets);

    QSignalSpy notices(&CPasswordStore::Instance(), &CPasswordStore::NoticeGiven);
    Save(profiles);
    const QByteArray stored = ReadStore();
    QVERIFY2(!stored.contains("\"Password\""), stored.constData());
    QCOMPARE(KeyringEntries(), secrets);
    for (const CSecret& secret : secrets)
        QCOMPARE(Lookup(secret.Label, secret.User), secret.Secret);

    // The window and the script runner read them back alike.
    QList<CConnection> read;
    QString error;
    QVERIFY2(ReadConnections(read, error), qPrintable(error));
    const QList<CConnection> loaded = Reload();
    QCOMPARE(loaded.size(), profiles.size());
    QCOMPARE(read.size(), profiles.size());
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        CConnection expected = profiles[i];
        if (!expected.RememberAuth) {
            expected.Login.clear();
            expected.Password.clear();
        }
        for (const CConnection& back : {loaded[i], read[i]}) {
            QVERIFY(CConnection::SameConnectionSettings(back, expected));
            QCOMPARE(back.RememberAuth, expected.RememberAuth);
            QCOMPARE(back.Name, expected.Name);
        }
    }
    // Saving again changes nothing.
    Save(loaded);
    QCOMPARE(ReadStore(), stored);
    QCOMPARE(KeyringEntries(), secrets);
    QCOMPARE(notices.count(), 0);
}

void CPasswordStoreTests::earlierStoreMovesToTheKeyring()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    const QByteArray earlier =
        Sections +
        "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 1]\n"
        "\"Name\"=\"Live\"\n\"Path\"=\"localhost\"\n\"Alias\"=\"db\"\n\"Type\"=dword:00000001\n"
        "\"Login\"=\"SYSDBA\"\n\"Password\"=\"from the file\"\n"
        "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 2]\n"
        "\"Name\"=\"Password only\"\n\"Type\"=dword:00000002\n\"Password\"=\"p2\"\n";
    WriteStore(earlier);
    QSignalSpy notices(&CPasswordStore::Instance(), &CPasswordStore::NoticeGiven);

    QList<CConnection> loaded = Reload();
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[0].Password, QStringLiteral("from the file"));
    QCOMPARE(loaded[1].Password, QStringLiteral("p2"));
    QVERIFY(loaded[1].RememberAuth);
    // Loading alone moves nothing.
    QCOMPARE(ReadStore(), earlier);
    QCOMPARE(KeyringEntries(), QList<CSecret>{});

    QString error;
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    QVERIFY(!ReadStore().contains("\"Password\""));
    QVERIFY(ReadStore().contains("\"Login\"=\"SYSDBA\""));
    QCOMPARE(
        KeyringEntries(),
        (QList<CSecret>{{QStringLiteral("Tablescope: Live"), QStringLiteral("SYSDBA"),
                         QStringLiteral("from the file")},
                        {QStringLiteral("Tablescope: Password only"), {}, QStringLiteral("p2")}}));
    loaded = Reload();
    QCOMPARE(loaded[0].Password, QStringLiteral("from the file"));
    QCOMPARE(loaded[1].Password, QStringLiteral("p2"));
    QVERIFY(loaded[1].RememberAuth);
    QCOMPARE(notices.count(), 0);
}

void CPasswordStoreTests::keyringFollowsTheProfiles_data()
{
    QTest::addColumn<CChange>("change");
    QTest::addColumn<QList<CSecret>>("secrets");

    const CSecret a = {QStringLiteral("Tablescope: A"), QStringLiteral("ua"), QStringLiteral("pa")};
    const CSecret b = {QStringLiteral("Tablescope: B"), QStringLiteral("ub"), QStringLiteral("pb")};
    QTest::newRow("rename") << CChange([](CConnectionsWnd& window) {
        window.GetConnection(0)->Name = QStringLiteral("A renamed");
    }) << QList<CSecret>{{QStringLiteral("Tablescope: A renamed"), a.User, a.Secret}, b};
    QTest::newRow("delete") << CChange([](CConnectionsWnd& window) { window.DeleteConnection(0); })
                            << QList<CSecret>{b};
    QTest::newRow("forget") << CChange([](CConnectionsWnd& window) {
        window.GetConnection(1)->RememberAuth = false;
    }) << QList<CSecret>{a};
    QTest::newRow("other login") << CChange([](CConnectionsWnd& window) {
        window.GetConnection(0)->Login = QStringLiteral("new login");
    }) << QList<CSecret>{{a.Label, QStringLiteral("new login"), a.Secret}, b};
    QTest::newRow("other password") << CChange([](CConnectionsWnd& window) {
        window.GetConnection(0)->Password = QStringLiteral("changed");
    }) << QList<CSecret>{{a.Label, a.User, QStringLiteral("changed")}, b};
    QTest::newRow("password emptied")
        << CChange([](CConnectionsWnd& window) { window.GetConnection(0)->Password.clear(); })
        << QList<CSecret>{b};
    // The second profile's entry was "A (2)"; now it is the only A.
    QTest::newRow("names swap places") << CChange([](CConnectionsWnd& window) {
        window.GetConnection(1)->Name = QStringLiteral("A");
        window.DeleteConnection(0);
    }) << QList<CSecret>{{a.Label, b.User, b.Secret}};
    QTest::newRow("everything deleted")
        << CChange([](CConnectionsWnd& window) { window.DeleteAllConnections(); })
        << QList<CSecret>{};
}

void CPasswordStoreTests::keyringFollowsTheProfiles()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    QFETCH(CChange, change);
    QFETCH(QList<CSecret>, secrets);

    Save({Profile(QStringLiteral("A"), 1, QStringLiteral("ua"), QStringLiteral("pa")),
          Profile(QStringLiteral("B"), 2, QStringLiteral("ub"), QStringLiteral("pb"))});
    QCOMPARE(KeyringEntries().size(), 2);
    // As the application does it: load, change in memory, save at the end.
    Reload();
    change(*Window_);
    QList<CConnection> expected;
    for (int i = 0; i < Window_->GetConnectionCount(); ++i)
        expected.append(*Window_->GetConnection(i));
    QString error;
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    QCOMPARE(KeyringEntries(), secrets);
    QVERIFY(!ReadStore().contains("\"Password\""));

    const QList<CConnection> loaded = Reload();
    QCOMPARE(loaded.size(), expected.size());
    for (qsizetype i = 0; i < loaded.size(); ++i) {
        QCOMPARE(loaded[i].Name, expected[i].Name);
        QCOMPARE(loaded[i].Password, expected[i].RememberAuth ? expected[i].Password : QString());
    }
}

void CPasswordStoreTests::failedKeyringWriteKeepsTheOldPassword()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    // Written by an earlier version: the password is in the file, and the
    // keyring has no entry to read, but takes none either while locked.
    const QByteArray earlier =
        Sections +
        "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 1]\n"
        "\"Name\"=\"Live\"\n\"Type\"=dword:00000001\n\"Login\"=\"u\"\n\"Password\"=\"old\"\n";
    WriteStore(earlier);
    QCOMPARE(Reload().value(0).Password, QStringLiteral("old"));
    Window_->GetConnection(0)->Password = QStringLiteral("new");
    KeyringLocked_ = true;
    LockKeyring();

    QString error;
    QVERIFY(!SaveConnections(*Window_, error));
    QVERIFY2(error.startsWith(QStringLiteral("Failed to save the password of \"Live\" in the "
                                             "keyring: ")) &&
                 error.endsWith(QStringLiteral(" The saved connections and their passwords were "
                                               "left as they were.")),
             qPrintable(error));
    QCOMPARE(ReadStore(), earlier);
    QCOMPARE(Window_->GetConnection(0)->Password, QStringLiteral("new"));

    KeyringLocked_ = false;
    UnlockKeyring();
    QCOMPARE(KeyringEntries(), QList<CSecret>{});
    QCOMPARE(Reload().value(0).Password, QStringLiteral("old"));
}

void CPasswordStoreTests::failedFileWritePutsTheKeyringBack()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    Save({Profile(QStringLiteral("A"), 1, QStringLiteral("u"), QStringLiteral("old")),
          Profile(QStringLiteral("Gone"), 1, QStringLiteral("g"), QStringLiteral("kept"))});
    const QByteArray stored = ReadStore();
    const QList<CSecret> before = KeyringEntries();
    QCOMPARE(before.size(), 2);

    // The keyring takes the change; the file then cannot take its size.
    Reload();
    Window_->GetConnection(0)->Password = QStringLiteral("new");
    Window_->DeleteConnection(1);
    for (int i = 0; i < 6; ++i) {
        CConnection big = Profile(QString::number(i), 0, {}, {}, false);
        big.Path = QString(500000, u'\t');
        Window_->AddConnection(big);
    }
    QString error;
    QVERIFY(!SaveConnections(*Window_, error));
    QVERIFY2(error.contains(QStringLiteral("larger than 16 MB")), qPrintable(error));
    QCOMPARE(ReadStore(), stored);
    QCOMPARE(KeyringEntries(), before);
}

void CPasswordStoreTests::passwordsNotReadAreKept()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    Save({Profile(QStringLiteral("A"), 1, QStringLiteral("u"), QStringLiteral("kept"))});
    const QList<CSecret> stored = KeyringEntries();

    // Locked at start-up: the profile comes without its password, and the
    // user is told why.
    KeyringLocked_ = true;
    LockKeyring();
    QSignalSpy notices(&CPasswordStore::Instance(), &CPasswordStore::NoticeGiven);
    QList<CConnection> loaded = Reload();
    QCOMPARE(loaded.size(), 1);
    QVERIFY(loaded[0].RememberAuth);
    QVERIFY(loaded[0].Password.isEmpty());
    QCOMPARE(notices.count(), 1);
    const QString notice = CPasswordStore::Instance().TakeNotice();
    QVERIFY2(notice.endsWith(QStringLiteral("the remembered passwords kept there could not be "
                                            "read.")),
             qPrintable(notice));

    // Unlocked by the time the program quits: the empty password is not
    // taken for a forgotten one.
    KeyringLocked_ = false;
    UnlockKeyring();
    QString error;
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    QCOMPARE(KeyringEntries(), stored);
    loaded = Reload();
    QCOMPARE(loaded.value(0).Password, QStringLiteral("kept"));
}

void CPasswordStoreTests::keyringThatCannotBeReadTakesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("locked") << "lock";
    QTest::newRow("not answering") << "stop";
    QTest::newRow("killed") << "kill";
}

void CPasswordStoreTests::keyringThatCannotBeReadTakesNothing()
{
    if (!InKeyringSession())
        QSKIP("needs the keyring session");
    QFETCH(QString, how);

    Save({Profile(QStringLiteral("A"), 1, QStringLiteral("u"), QStringLiteral("in the keyring"))});
    const QList<CSecret> before = KeyringEntries();
    QCOMPARE(before.size(), 1);
    QCOMPARE(Reload().size(), 1);
    Window_->GetConnection(0)->Password = QStringLiteral("changed");
    Window_->AddConnection(
        Profile(QStringLiteral("B"), 1, QStringLiteral("u"), QStringLiteral("b")));

    const qint64 daemon = KeyringDaemon();
    QVERIFY(daemon > 0);
    if (how == QLatin1String("lock")) {
        KeyringLocked_ = true;
        LockKeyring();
    } else if (how == QLatin1String("stop")) {
        CPasswordStore::Instance().SetTimeout(2000);
        KeyringBroken_ = true;
        QCOMPARE(::kill(pid_t(daemon), SIGSTOP), 0);
    } else {
        // The bus starts a new daemon, which finds the keyring locked. The
        // keyring's library keeps its session with the one killed for the
        // rest of the process, so this case comes last.
        KeyringBroken_ = true;
        QCOMPARE(::kill(pid_t(daemon), SIGKILL), 0);
    }
    QSignalSpy notices(&CPasswordStore::Instance(), &CPasswordStore::NoticeGiven);
    QString error;
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    // Nothing is lost: the passwords went to the file, and the user is told.
    const QByteArray stored = ReadStore();
    QVERIFY(stored.contains("\"Password\"=\"changed\""));
    QVERIFY(stored.contains("\"Password\"=\"b\""));
    QCOMPARE(Mode(StoreFile()), 0600);
    QCOMPARE(notices.count(), 1);
    const QString notice = CPasswordStore::Instance().TakeNotice();
    QVERIFY2(notice.startsWith(QStringLiteral("No keyring could be reached (")) &&
                 notice.endsWith(QStringLiteral("): remembered passwords are kept in \"%1\", "
                                                "readable by you alone.")
                                     .arg(StoreFile())),
             qPrintable(notice));
    QVERIFY(SaveConnections(*Window_, error));
    QCOMPARE(notices.count(), 1);

    if (how == QLatin1String("lock")) {
        KeyringLocked_ = false;
        UnlockKeyring();
    } else if (how == QLatin1String("stop")) {
        KeyringBroken_ = false;
        QCOMPARE(::kill(pid_t(daemon), SIGCONT), 0);
        // The request that timed out ends, and the keyring is asked again.
        QString password, reason;
        QTRY_VERIFY_WITH_TIMEOUT(CPasswordStore::Instance().ReadPassword(QStringLiteral("probe"),
                                                                         {}, password, reason) !=
                                     CPasswordStore::KeyringFailed,
                                 60000);
    } else {
        return;
    }
    // The file's passwords are the ones loaded, and move at the next save.
    const QList<CConnection> loaded = Reload();
    QCOMPARE(loaded.value(0).Password, QStringLiteral("changed"));
    QCOMPARE(loaded.value(1).Password, QStringLiteral("b"));
    QVERIFY(SaveConnections(*Window_, error));
    QVERIFY(!ReadStore().contains("\"Password\""));
    QCOMPARE(KeyringEntries(),
             (QList<CSecret>{
                 {QStringLiteral("Tablescope: A"), QStringLiteral("u"), QStringLiteral("changed")},
                 {QStringLiteral("Tablescope: B"), QStringLiteral("u"), QStringLiteral("b")}}));
}

void CPasswordStoreTests::noSessionBusKeepsPasswordsInTheFile()
{
    if (InKeyringSession())
        QSKIP("needs a session without a bus");
    QSignalSpy notices(&CPasswordStore::Instance(), &CPasswordStore::NoticeGiven);
    const CConnection profile =
        Profile(QStringLiteral("A"), 1, QStringLiteral("u"), QStringLiteral("secret"));
    Save({profile, Profile(QStringLiteral("Not remembered"), 1, QStringLiteral("v"),
                           QStringLiteral("typed"), false)});
    const QByteArray stored = ReadStore();
    QVERIFY(stored.contains("\"Login\"=\"u\"\n\"Password\"=\"secret\""));
    QVERIFY(!stored.contains("typed"));
    QCOMPARE(Mode(StoreFile()), 0600);
    QCOMPARE(notices.count(), 1);
    QVERIFY2(CPasswordStore::Instance().TakeNotice().endsWith(
                 QStringLiteral("): remembered passwords are kept in \"%1\", readable by you "
                                "alone.")
                     .arg(StoreFile())),
             "the notice says where the passwords went");

    QString error;
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    QCOMPARE(notices.count(), 1);

    // Told once a run: the next start tells again, its saves do not.
    const QList<CConnection> loaded = Reload();
    QCOMPARE(loaded.value(0).Password, QStringLiteral("secret"));
    QVERIFY(loaded.value(0).RememberAuth);
    QVERIFY(loaded.value(1).Password.isEmpty());
    QCOMPARE(notices.count(), 2);
    QVERIFY(!CPasswordStore::Instance().TakeNotice().isEmpty());
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    QVERIFY2(SaveConnections(*Window_, error), qPrintable(error));
    QCOMPARE(ReadStore(), stored);
    QCOMPARE(notices.count(), 2);
    QVERIFY(CPasswordStore::Instance().TakeNotice().isEmpty());
}

QTEST_MAIN(CPasswordStoreTests)
#include "tst_PasswordStore.moc"
