// The profile record: defaults, what copying carries and what it leaves, and
// that destroying a connected record really closes its database file.

#include "database/SQLiteDatabase.h"
#include "profiles/Connection.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A database connected to path that holds the file's exclusive lock.
std::unique_ptr<CAbstractDatabase> LockedDatabase(const QString& path)
{
    auto database = std::make_unique<CSQLiteDatabase>();
    QString error;
    if (!database->Connect(path, {}, {}, error) ||
        !database->ExecuteSQL(QStringLiteral("BEGIN EXCLUSIVE"), error))
        qWarning("%s", qPrintable(error));
    return database;
}

// Whether another connection can take the file's exclusive lock now.
bool CanLock(const QString& path)
{
    CSQLiteDatabase other;
    QString error;
    return other.Connect(path, {}, {}, error) &&
           other.ExecuteSQL(QStringLiteral("BEGIN EXCLUSIVE; ROLLBACK"), error);
}

CConnection Filled()
{
    CConnection profile;
    profile.Type = DatabaseTypeFireBird;
    profile.Name = QStringLiteral("name");
    profile.Path = QStringLiteral("server");
    profile.Alias = QStringLiteral("alias");
    profile.Login = QStringLiteral("login");
    profile.Password = QStringLiteral("password");
    profile.RememberAuth = true;
    profile.Tables = {{QStringLiteral("t1"), {QStringLiteral("a"), QStringLiteral("b")}},
                      {QStringLiteral("t2"), {}}};
    return profile;
}

} // namespace

class CConnectionTests : public QObject
{
    Q_OBJECT

private slots:
    void copyLeavesDatabaseAndWindow();
    void destructionClosesTheDatabase();
    void sameConnectionSettings_data();
    void sameConnectionSettings();

private:
    QTemporaryDir Dir;
};

void CConnectionTests::copyLeavesDatabaseAndWindow()
{
    CConnection source = Filled();
    source.Database = LockedDatabase(Dir.filePath(QStringLiteral("source.db")));
    source.Window = reinterpret_cast<CConnectionWnd*>(&source);

    const CConnection copy(source);
    QVERIFY(!copy.Database);
    QVERIFY(!copy.Window);
    QVERIFY(CConnection::SameConnectionSettings(copy, source));
    QCOMPARE(copy.Name, source.Name);
    QCOMPARE(copy.RememberAuth, true);
    QCOMPARE(copy.Tables.size(), 2);
    QCOMPARE(copy.Tables[0].Columns, QStringList({QStringLiteral("a"), QStringLiteral("b")}));

    CConnection target;
    target.Database = LockedDatabase(Dir.filePath(QStringLiteral("target.db")));
    CAbstractDatabase* kept = target.Database.get();
    target.Tables = {{QStringLiteral("old"), {}}};
    target = source;
    QCOMPARE(target.Database.get(), kept);
    QVERIFY(!target.Window);
    QCOMPARE(target.Tables.size(), 2);
    QCOMPARE(target.Tables[1].Name, QStringLiteral("t2"));

    target = target; // assigning a record to itself keeps its tables
    QCOMPARE(target.Tables.size(), 2);
}

void CConnectionTests::destructionClosesTheDatabase()
{
    const QString path = Dir.filePath(QStringLiteral("closed.db"));
    auto profile = std::make_unique<CConnection>(Filled());
    profile->Database = LockedDatabase(path);
    QVERIFY(!CanLock(path));
    profile.reset();
    QVERIFY(CanLock(path));
}

void CConnectionTests::sameConnectionSettings_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("same");

    // 0 Type, 1 Path, 2 Alias, 3 Login, 4 Password, 5 Name, 6 RememberAuth, 7 Tables
    const char* names[] = {"Type",     "Path", "Alias",        "Login",
                           "Password", "Name", "RememberAuth", "Tables"};
    for (int field = 0; field < 8; ++field)
        QTest::newRow(names[field]) << field << (field >= 5);
}

void CConnectionTests::sameConnectionSettings()
{
    QFETCH(int, field);
    QFETCH(bool, same);

    const CConnection first = Filled();
    CConnection second = Filled();
    switch (field) {
    case 0:
        second.Type = DatabaseTypeOdbc;
        break;
    case 1:
        second.Path = QStringLiteral("SERVER");
        break; // letter case counts
    case 2:
        second.Alias.clear();
        break;
    case 3:
        second.Login = QStringLiteral("Login");
        break;
    case 4:
        second.Password += u' ';
        break;
    case 5:
        second.Name = QStringLiteral("other");
        break;
    case 6:
        second.RememberAuth = false;
        break;
    default:
        second.Tables.clear();
    }
    QCOMPARE(CConnection::SameConnectionSettings(first, second), same);
    QCOMPARE(CConnection::SameConnectionSettings(second, first), same);
}

QTEST_GUILESS_MAIN(CConnectionTests)
#include "tst_Connection.moc"
