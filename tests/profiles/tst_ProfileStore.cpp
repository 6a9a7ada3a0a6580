// The profile store against real files in a temporary configuration folder:
// what LoadConnections and SaveConnections read and write, byte for byte,
// how every save failure is reported and leaves the stored profiles as they
// were, and the registry wrapper's own rules.

#include "Utf16LE.h"
#include "profiles/Connection.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/Registry.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString ProfileKey = QStringLiteral("Software\\Brevan\\Tablescope\\Connections\\Connection ");
const QByteArray Header = "Windows Registry Editor Version 5.00\n";
const QByteArray Sections = Header +
                            "\n[HKEY_CURRENT_USER\\Software]\n"
                            "\n[HKEY_CURRENT_USER\\Software\\Brevan]\n"
                            "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope]\n"
                            "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections]\n";

CConnection Profile(const QString& name, int type = 0, const QString& path = {},
                    const QString& login = {}, const QString& password = {}, bool remember = false)
{
    CConnection profile;
    profile.Name = name;
    profile.Type = type;
    profile.Path = path;
    profile.Login = login;
    profile.Password = password;
    profile.RememberAuth = remember;
    return profile;
}

// Every file and folder below root with its bytes and mode.
QMap<QString, QByteArray> Snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info;
        ::stat(QFile::encodeName(path).constData(), &info);
        QFile file(path);
        QByteArray entry = QByteArray::number(info.st_mode, 8) + ':';
        if (S_ISREG(info.st_mode) && file.open(QIODevice::ReadOnly))
            entry += file.readAll();
        files.insert(path.mid(root.size()), entry);
    }
    return files;
}

int Mode(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

using CSetup = std::function<void(const QString& store, CConnectionsWnd& window)>;
Q_DECLARE_METATYPE(CSetup)

class CProfileStoreTests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartLoadsNothing();
    void emptySaveLeavesAnEmptyKey();
    void storedBytesAreExactAndReadBack();
    void rememberAuthFollowsStoredCredentials_data();
    void rememberAuthFollowsStoredCredentials();
    void twelveProfilesKeepTheirOrder();
    void handMadeSubKeyLoadsAndIsRenumbered();
    void missingTypeReadsAsMinusOne();
    void textReadsTheSameWithOrWithoutNul_data();
    void textReadsTheSameWithOrWithoutNul();
    void failedSaveReportsAndKeepsTheStore_data();
    void failedSaveReportsAndKeepsTheStore();
    void unwritableFolderForOtherUsers();
    void unreadableStoreIsKeptAside();
    void storeIsPrivate();
    void fullDiskKeepsTheStore();

private:
    QString StoreFile() const { return CHive::CurrentUserFileName(); }
    void WriteStore(const QByteArray& text);
    QByteArray ReadStore() const;
    bool Save(QString& error) { return SaveConnections(*Window_, error); }
    void SaveOrFail(const QList<CConnection>& profiles);
    void Reload();

    std::unique_ptr<QTemporaryDir> Config_;
    std::unique_ptr<CConnectionsWnd> Window_;
};

void CProfileStoreTests::init()
{
    Config_ = std::make_unique<QTemporaryDir>();
    QVERIFY(Config_->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config_->path()));
    Window_ = std::make_unique<CConnectionsWnd>();
}

void CProfileStoreTests::cleanup()
{
    Window_.reset();
    // Folders a test made read-only must still be removed.
    QDirIterator it(Config_->path(), QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), 0700);
    Config_.reset();
}

void CProfileStoreTests::WriteStore(const QByteArray& text)
{
    QDir().mkpath(QFileInfo(StoreFile()).path());
    QFile file(StoreFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray CProfileStoreTests::ReadStore() const
{
    QFile file(StoreFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void CProfileStoreTests::SaveOrFail(const QList<CConnection>& profiles)
{
    Window_->DeleteAllConnections();
    for (const CConnection& profile : profiles)
        Window_->AddConnection(profile);
    QString error;
    QVERIFY2(Save(error), qPrintable(error));
}

void CProfileStoreTests::Reload()
{
    QString error = QStringLiteral("untouched");
    QVERIFY2(LoadConnections(*Window_, error), qPrintable(error));
    QCOMPARE(error, QStringLiteral("untouched"));
}

void CProfileStoreTests::firstStartLoadsNothing()
{
    Window_->AddConnection(Profile(QStringLiteral("left over")));
    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 0);
    QVERIFY(!QFile::exists(StoreFile()));
}

void CProfileStoreTests::emptySaveLeavesAnEmptyKey()
{
    SaveOrFail({});
    QCOMPARE(ReadStore(), Sections);
    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 0);
}

void CProfileStoreTests::storedBytesAreExactAndReadBack()
{
    CConnection odbc =
        Profile(QStringLiteral("Warehouse \u0416 \"quoted\""), 2, QStringLiteral("DSN=dw;UID=a\\b"),
                QStringLiteral("sa"), QStringLiteral("p\u00e4ss"), true);
    odbc.Alias = QStringLiteral("alias");
    const QList<CConnection> saved = {
        Profile(QStringLiteral("Local"), 0, QStringLiteral("/tmp/x.db")),
        Profile(QString(), -1, {}, QStringLiteral("kept in memory only")), odbc};
    SaveOrFail(saved);

    const QByteArray first = Sections + "\n[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\"
                                        "Connections\\Connection 1]\n"
                                        "\"Name\"=\"Local\"\n"
                                        "\"Path\"=\"/tmp/x.db\"\n"
                                        "\"Alias\"=\"\"\n"
                                        "\"Type\"=dword:00000000\n";
    QCOMPARE(ReadStore().left(first.size()), first);

    using CValues = std::vector<CHiveKey::CValue>;
    const auto text = [](const char* name, const QString& value) {
        return CHiveKey::CValue{QString::fromLatin1(name), 1, Utf16LE(value)};
    };
    const auto number = [](const char* name, const char* bytes) {
        return CHiveKey::CValue{QString::fromLatin1(name), 4, QByteArray(bytes, 4)};
    };
    const QList<CValues> expected = {
        {text("Name", QStringLiteral("Local")), text("Path", QStringLiteral("/tmp/x.db")),
         text("Alias", {}), number("Type", "\0\0\0\0")},
        {text("Name", {}), text("Path", {}), text("Alias", {}), number("Type", "\xff\xff\xff\xff")},
        {text("Name", odbc.Name), text("Path", odbc.Path), text("Alias", QStringLiteral("alias")),
         number("Type", "\x02\0\0\0"), text("Login", QStringLiteral("sa")),
         text("Password", QStringLiteral("p\u00e4ss"))},
    };
    const std::shared_ptr<CHive> hive = CHive::CurrentUser();
    for (int i = 0; i < expected.size(); ++i) {
        CHiveHandle key;
        QVERIFY(hive->OpenKey(ProfileKey + QString::number(i + 1), key));
        QVERIFY(key.lock()->Values() == expected[i]);
    }
    QCOMPARE(Utf16LE(QStringLiteral("p\u00e4ss")), QByteArray("p\0\xe4\0s\0s\0", 8));

    Reload();
    QCOMPARE(Window_->GetConnectionCount(), saved.size());
    QCOMPARE(Window_->GetCurrentConnection(), 0);
    for (int i = 0; i < saved.size(); ++i) {
        CConnection expect = saved[i];
        if (!expect.RememberAuth)
            expect.Login.clear();
        const CConnection& loaded = *Window_->GetConnection(i);
        QVERIFY(CConnection::SameConnectionSettings(loaded, expect));
        QCOMPARE(loaded.Name, expect.Name);
        QCOMPARE(loaded.RememberAuth, expect.RememberAuth);
        QCOMPARE(Window_->GetConnectionText(i), expect.Name);
    }
}

void CProfileStoreTests::rememberAuthFollowsStoredCredentials_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("login");

    QTest::newRow("neither") << QByteArray() << false << QString();
    QTest::newRow("login only") << QByteArray("\"Login\"=\"u\"\n") << true << "u";
    QTest::newRow("password only") << QByteArray("\"Password\"=\"p\"\n") << true << QString();
    QTest::newRow("both empty") << QByteArray("\"Login\"=\"\"\n\"Password\"=\"\"\n") << false
                                << QString();
}

void CProfileStoreTests::rememberAuthFollowsStoredCredentials()
{
    QFETCH(QByteArray, values);
    QFETCH(bool, remember);
    QFETCH(QString, login);

    WriteStore(Sections + "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\C]\n" +
               values);
    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 1);
    QCOMPARE(Window_->GetConnection(0)->RememberAuth, remember);
    QCOMPARE(Window_->GetConnection(0)->Login, login);

    // Remembered but empty credentials come back as not remembered.
    SaveOrFail({Profile(QStringLiteral("x"), 1, {}, {}, {}, true)});
    Reload();
    QCOMPARE(Window_->GetConnection(0)->RememberAuth, false);
}

void CProfileStoreTests::twelveProfilesKeepTheirOrder()
{
    QList<CConnection> saved;
    for (int i = 1; i <= 12; ++i)
        saved.append(Profile(QStringLiteral("profile %1").arg(i), i % 3));
    SaveOrFail(saved);

    CRegistry registry(CHive::CurrentUser(),
                       QStringLiteral("Software\\Brevan\\Tablescope\\Connections"));
    QStringList names;
    QVERIFY(registry.EnumSubKeys(names));
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected.append(QStringLiteral("Connection %1").arg(i));
    QCOMPARE(names, expected);

    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 12);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(Window_->GetConnection(i)->Name, saved[i].Name);
}

void CProfileStoreTests::handMadeSubKeyLoadsAndIsRenumbered()
{
    WriteStore(Sections +
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\My server]\n"
               "\"Name\"=\"by hand\"\n\"Type\"=dword:1\n"
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 1]\n"
               "\"Name\"=\"saved\"\n");
    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 2);
    QCOMPARE(Window_->GetConnection(0)->Name, QStringLiteral("by hand"));
    QCOMPARE(Window_->GetConnection(0)->Type, 1);

    QString error;
    QVERIFY(Save(error));
    const QByteArray text = ReadStore();
    QVERIFY(!text.contains("My server"));
    QVERIFY(text.contains("Connection 1]\n\"Name\"=\"by hand\""));
    QVERIFY(text.contains("Connection 2]\n\"Name\"=\"saved\""));
}

void CProfileStoreTests::missingTypeReadsAsMinusOne()
{
    WriteStore(Sections +
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 1]\n"
               "\"Type\"=dword:00000002\n"
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 2]\n"
               "\"Name\"=\"untyped\"\n"
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 3]\n"
               "\"Type\"=dword:ffffffff\n"
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 4]\n"
               "\"Type\"=hex(4):02,00\n");
    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 4);
    QCOMPARE(Window_->GetConnection(0)->Type, 2);
    QCOMPARE(Window_->GetConnection(1)->Type, -1);
    QCOMPARE(Window_->GetConnection(2)->Type, -1);
    QCOMPARE(Window_->GetConnection(3)->Type, -1); // shorter than a number
}

void CProfileStoreTests::textReadsTheSameWithOrWithoutNul_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("name");

    QTest::newRow("quoted") << QByteArray("\"ab\"") << "ab";
    QTest::newRow("without NUL") << QByteArray("hex(1):61,00,62,00") << "ab";
    QTest::newRow("with NUL") << QByteArray("hex(1):61,00,62,00,00,00") << "ab";
    QTest::newRow("ends at the first NUL") << QByteArray("hex(1):61,00,00,00,62,00") << "a";
    QTest::newRow("odd last byte ignored") << QByteArray("hex(1):61,00,62") << "a";
    QTest::newRow("size 0") << QByteArray("hex(1):") << "";
    QTest::newRow("other type") << QByteArray("hex:61,00") << "a";
}

void CProfileStoreTests::textReadsTheSameWithOrWithoutNul()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, name);

    WriteStore(Sections +
               "[HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope\\Connections\\Connection 1]\n"
               "\"Name\"=" +
               data + "\n");
    Reload();
    QCOMPARE(Window_->GetConnection(0)->Name, name);
}

void CProfileStoreTests::failedSaveReportsAndKeepsTheStore_data()
{
    QTest::addColumn<CSetup>("setup");
    QTest::addColumn<QString>("error");

    const auto store = [](const QList<CConnection>& profiles, mode_t mode) {
        return [profiles, mode](const QString& file, CConnectionsWnd& window) {
            for (const CConnection& profile : profiles)
                window.AddConnection(profile);
            QString error;
            QVERIFY(SaveConnections(window, error));
            window.DeleteAllConnections();
            QCOMPARE(::chmod(QFile::encodeName(file).constData(), mode), 0);
        };
    };
    const QString product = QStringLiteral("Failed to open or create registry key "
                                           "HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope");
    QTest::newRow("no folder can hold the store")
        << CSetup([](const QString& file, CConnectionsWnd& window) {
               QFile blocker(QFileInfo(file).path());
               QVERIFY(blocker.open(QIODevice::WriteOnly));
               blocker.write("a file where the folder belongs");
               window.AddConnection(Profile(QStringLiteral("a")));
           })
        << product;
    QTest::newRow("the store is a folder")
        << CSetup([](const QString& file, CConnectionsWnd& window) {
               QVERIFY(QDir().mkpath(file));
               window.AddConnection(Profile(QStringLiteral("a")));
           })
        << product;
    QTest::newRow("read-only store without the profile's key")
        << CSetup([store](const QString& file, CConnectionsWnd& window) {
               store({}, 0400)(file, window);
               window.AddConnection(Profile(QStringLiteral("a")));
           })
        << QStringLiteral("Failed to create registry subkey used to store database connection "
                          "properties: ") +
               ProfileKey + u'1';
    QTest::newRow("read-only store with the profile's key")
        << CSetup([store](const QString& file, CConnectionsWnd& window) {
               store({Profile(QStringLiteral("old"))}, 0444)(file, window);
               window.AddConnection(Profile(QStringLiteral("new")));
           })
        << QStringLiteral("Failed to write connection properties to the registry: ") + ProfileKey +
               u'1';
    QTest::newRow("path larger than a value may be")
        << CSetup([store](const QString& file, CConnectionsWnd& window) {
               store({Profile(QStringLiteral("old"))}, 0600)(file, window);
               window.AddConnection(Profile(QStringLiteral("fine")));
               window.AddConnection(Profile(QStringLiteral("big"), 0, QString(600000, u'x')));
           })
        << QStringLiteral("Failed to write connection properties to the registry: ") + ProfileKey +
               u'2';
    QTest::newRow("password larger than a value may be")
        << CSetup([store](const QString& file, CConnectionsWnd& window) {
               store({Profile(QStringLiteral("old"))}, 0600)(file, window);
               window.AddConnection(Profile(QStringLiteral("big"), 1, {}, QStringLiteral("u"),
                                            QString(600000, u'p'), true));
           })
        << QStringLiteral("Failed to write authentication property to the registry: ") +
               ProfileKey + u'1';
    // Every profile was written, but the file cannot take them.
    QTest::newRow("read-only store, empty list")
        << CSetup(store({Profile(QStringLiteral("old"))}, 0400))
        << QStringLiteral("Failed to save the database connections to \"%1\": the file \"%1\" is "
                          "read-only");
    QTest::newRow("store larger than a file may be")
        << CSetup([store](const QString& file, CConnectionsWnd& window) {
               store({Profile(QStringLiteral("old"))}, 0600)(file, window);
               // A tab makes each path hex text, three bytes of file per byte.
               for (int i = 0; i < 6; ++i)
                   window.AddConnection(Profile(QString::number(i), 0, QString(500000, u'\t')));
           })
        << QStringLiteral("Failed to save the database connections to \"%1\": the store would be "
                          "larger than 16 MB");
    QTest::newRow("more keys than a store may hold")
        << CSetup([store](const QString& file, CConnectionsWnd& window) {
               store({Profile(QStringLiteral("old"))}, 0600)(file, window);
               for (int i = 0; i < CHiveKey::MaxKeyCount; ++i)
                   window.AddConnection(Profile(QString::number(i)));
           })
        << QStringLiteral("Failed to save the database connections to \"%1\": the store would "
                          "hold more than 16384 keys");
}

void CProfileStoreTests::failedSaveReportsAndKeepsTheStore()
{
    QFETCH(CSetup, setup);
    QFETCH(QString, error);

    setup(StoreFile(), *Window_);
    if (QTest::currentTestFailed())
        return;
    const auto before = Snapshot(Config_->path());
    QList<CConnection> profiles;
    for (int i = 0; i < Window_->GetConnectionCount(); ++i)
        profiles.append(*Window_->GetConnection(i));

    QString message;
    QVERIFY(!Save(message));
    QCOMPARE(message, error.arg(StoreFile()));
    QVERIFY(Snapshot(Config_->path()) == before);
    QCOMPARE(Window_->GetConnectionCount(), profiles.size());
    for (int i = 0; i < profiles.size(); ++i) {
        QVERIFY(CConnection::SameConnectionSettings(*Window_->GetConnection(i), profiles[i]));
        QCOMPARE(Window_->GetConnection(i)->Name, profiles[i].Name);
    }
}

void CProfileStoreTests::unwritableFolderForOtherUsers()
{
    if (::geteuid() == 0)
        QSKIP("permission bits do not stop root; the read-only cases above cover it");
    const QString folder = QFileInfo(StoreFile()).path();
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0500), 0);
    Window_->AddConnection(Profile(QStringLiteral("a")));
    QString error;
    QVERIFY(!Save(error));
    QCOMPARE(error, QStringLiteral("Failed to open or create registry key "
                                   "HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope"));
}

void CProfileStoreTests::unreadableStoreIsKeptAside()
{
    // The message names the file as it is, even where its name looks like
    // the message's own placeholders.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config_->filePath(QStringLiteral("%2 %1"))));
    const QByteArray broken = Header + "\n[HKEY_CURRENT_USER\\Software]\nName=oops\n";
    WriteStore(broken);
    Window_->AddConnection(Profile(QStringLiteral("from before")));
    QString error;
    QVERIFY(!LoadConnections(*Window_, error));
    QCOMPARE(Window_->GetConnectionCount(), 0);
    const QString aside = StoreFile() + QStringLiteral(".unreadable");
    QVERIFY2(error.contains(u'"' + StoreFile() + u'"') &&
                 error.contains(QStringLiteral("line 4")) && error.contains(u'"' + aside + u'"'),
             qPrintable(error));
    QCOMPARE(ReadStore(), broken);
    QVERIFY(!QFile::exists(aside));

    Window_->AddConnection(Profile(QStringLiteral("new")));
    QVERIFY2(Save(error), qPrintable(error));
    QFile kept(aside);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), broken);
    QCOMPARE(Mode(aside), 0600);
    Reload();
    QCOMPARE(Window_->GetConnectionCount(), 1);

    // A second unreadable file does not replace the first one kept.
    WriteStore("not a store");
    QVERIFY(!LoadConnections(*Window_, error));
    QVERIFY2(error.contains(QStringLiteral("line 1")) &&
                 error.contains(aside + QStringLiteral("-2")),
             qPrintable(error));
    QVERIFY(Save(error));
    QCOMPARE(QFile(aside + QStringLiteral("-2")).size(), qint64(11));
    QCOMPARE(QFile(aside).size(), qint64(broken.size()));
}

void CProfileStoreTests::storeIsPrivate()
{
    // Made by someone else with open modes; the folder of the config home
    // is created as well.
    qputenv("XDG_CONFIG_HOME",
            QFile::encodeName(Config_->filePath(QStringLiteral("deeper/config"))));
    const QString folder = Config_->filePath(QStringLiteral("deeper/config/Brevan"));
    SaveOrFail(
        {Profile(QStringLiteral("a"), 1, {}, QStringLiteral("u"), QStringLiteral("secret"), true)});
    QCOMPARE(Mode(folder), 0700);
    QCOMPARE(Mode(folder + QStringLiteral("/Tablescope.reg")), 0600);

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config_->path()));
    WriteStore(Sections);
    QCOMPARE(::chmod(QFile::encodeName(StoreFile()).constData(), 0644), 0);
    QCOMPARE(::chmod(QFile::encodeName(QFileInfo(StoreFile()).path()).constData(), 0755), 0);
    SaveOrFail({Profile(QStringLiteral("a"))});
    QCOMPARE(Mode(QFileInfo(StoreFile()).path()), 0700);
    QCOMPARE(Mode(StoreFile()), 0600);
}

// A disk that fills up while the store is written (here: a file-size limit
// the new store does not fit in) fails the save and leaves the old store.
void CProfileStoreTests::fullDiskKeepsTheStore()
{
    SaveOrFail({Profile(QStringLiteral("old"))});
    const QByteArray old = ReadStore();
    Window_->AddConnection(Profile(QStringLiteral("new"), 0, QString(100000, u'x')));

    rlimit limit{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit before = limit;
    limit.rlim_cur = 16384;
    const auto signal = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString error;
    const bool saved = Save(error);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, signal);

    QVERIFY(!saved);
    QVERIFY2(error.startsWith(QStringLiteral("Failed to save the database connections to \"%1\": ")
                                  .arg(StoreFile())),
             qPrintable(error));
    QCOMPARE(ReadStore(), old);
    QCOMPARE(QDir(QFileInfo(StoreFile()).path()).entryList(QDir::Files).size(), 1);
}

QTEST_MAIN(CProfileStoreTests)
#include "tst_ProfileStore.moc"
