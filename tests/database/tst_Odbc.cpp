// The ODBC backend through unixODBC against two real drivers: PostgreSQL
// ("PostgreSQL Unicode", in a database of this program's own on the test
// server) and SQLite ("SQLite3", a fresh file per test). Both run the shared
// interface cases and the ODBC cases; what needs no driver runs once.
//
// The data sources are those of scripts/start-servers.sh: ODBCINI and the
// connect strings TABLESCOPE_ODBC_PG_DSN and TABLESCOPE_ODBC_SQLITE_DSN,
// with the same defaults when they are not set.

#include "database/InterfaceCases.h"
#include "database/OdbcDatabase.h"
#include "database/OdbcRecordset.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sql.h>
#include <sqlext.h>

namespace {

const QString NotOpen = QStringLiteral("The recordset is not open");
const QString NoStatement = QStringLiteral("Failed to allocate statement handle");
const QString NotConnected = QStringLiteral("Database must be connected to start a transaction");
const QString AlreadyOpen = QStringLiteral("We already have an open transaction");
const QString NoText = QStringLiteral("The ODBC database did not provide any text for this error");

QString Setting(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

// A text of length characters, mostly outside ASCII.
QString LongText(qsizetype length)
{
    QString text;
    while (text.size() < length)
        text += QString::fromUtf8("Жёлтый-€-abc ");
    text.truncate(length);
    return text;
}

} // namespace

class COdbcFixture : public CBackendFixture
{
public:
    bool PrepareChecksText() const override { return false; }
    bool BlobOfNullReads() const override { return true; }

    QString Unavailable() override
    {
        if (!Tried_) {
            Tried_ = true;
            Why_ = Prepare();
        }
        return Why_;
    }

    CDatabasePtr Open(QString& error) override
    {
        error = Unavailable();
        CDatabasePtr database(new COdbcDatabase);
        Last_ = FreshDatabase();
        if (!error.isEmpty() || !database->Connect(Last_, {}, {}, error) ||
            !database->ExecuteSQL(CleanSql(), error))
            return nullptr;
        return database;
    }

    // A connect string to the database of the next test.
    virtual QString FreshDatabase() = 0;
    // The connect string of the database that Open gave last.
    QString LastDatabase() const { return Last_; }
    // A connect string whose connection the driver refuses.
    virtual QString RefusedConnectString() const = 0;
    // A piece of the driver's message for a statement on no_such_table.
    virtual QString MissingTableMessage() const = 0;
    // Whether the driver keeps characters beyond U+FFFF in wide SQL text.
    virtual bool KeepsSupplementaryCharacters() const { return true; }
    // Whether preparing refuses the markers ':x' (rather than running them).
    virtual bool PrepareRefusesNamedMarkers() const { return false; }

protected:
    // Empty when the data source is ready, otherwise why not.
    virtual QString Prepare() = 0;
    // Run on every new connection: leaves no user tables.
    virtual QString CleanSql() const { return {}; }

private:
    bool Tried_ = false;
    QString Why_;
    QString Last_;
};

// PostgreSQL: a database of this program's own, so that test programs run
// side by side do not drop each other's tables.
class CPostgresFixture : public COdbcFixture
{
public:
    ~CPostgresFixture() override
    {
        QString error;
        if (Admin_.IsConnected() && !Admin_.ExecuteSQL(DropSql(), error))
            qWarning("%s", qPrintable(error));
    }

    QString Name() const override { return QStringLiteral("ODBC PostgreSQL"); }
    QString BlobType() const override { return QStringLiteral("BYTEA"); }
    QString FreshDatabase() override { return Base_ + QStringLiteral(";Database=") + Name_; }
    QString RefusedConnectString() const override
    {
        return Base_ + QStringLiteral(";UID=tablescope;PWD=wrong password");
    }
    QString MissingTableMessage() const override
    {
        return QStringLiteral("relation \"no_such_table\" does not exist");
    }

protected:
    QString Prepare() override
    {
        QString error;
        if (!Admin_.Connect(Base_, {}, {}, error))
            return QStringLiteral("cannot connect with \"%1\" (scripts/start-servers.sh starts "
                                  "the server): %2")
                .arg(Base_, error);
        if (!Admin_.ExecuteSQL(DropSql(), error) ||
            !Admin_.ExecuteSQL(QStringLiteral("CREATE DATABASE ") + Name_, error))
            return QStringLiteral("cannot create a database (scripts/start-servers.sh lets the "
                                  "role do so): %1")
                .arg(error);
        return {};
    }
    QString CleanSql() const override
    {
        return QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public");
    }

private:
    QString DropSql() const
    {
        return QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(Name_);
    }

    const QString Base_ =
        Setting("TABLESCOPE_ODBC_PG_DSN", "DSN=TablescopePG;UID=tablescope;PWD=tablescope");
    const QString Name_ =
        QStringLiteral("tablescope_odbc_%1").arg(QCoreApplication::applicationPid());
    COdbcDatabase Admin_; // creates and finally drops the test database
};

// SQLite: a new file for every test, named in the connect string.
class CSQLiteOdbcFixture : public COdbcFixture
{
public:
    QString Name() const override { return QStringLiteral("ODBC SQLite"); }
    QString FreshDatabase() override
    {
        return Base_ + QStringLiteral(";Database=") +
               Dir_.filePath(QStringLiteral("db%1.sqlite").arg(++Count_));
    }
    // The driver creates no folders.
    QString RefusedConnectString() const override
    {
        return Base_ + QStringLiteral(";Database=") + Dir_.filePath("no/such/folder/x.sqlite");
    }
    QString MissingTableMessage() const override
    {
        return QStringLiteral("no such table: no_such_table");
    }
    // Its conversion of wide SQL text to UTF-8 garbles surrogate pairs.
    bool KeepsSupplementaryCharacters() const override { return false; }
    bool PrepareRefusesNamedMarkers() const override { return true; }
    // SQLite divides by zero into NULL; abs of the smallest integer fails.
    // Unsorted, so that the rows before it are stepped to first.
    QString FailingQuery() const override
    {
        return QStringLiteral(
            "SELECT CASE WHEN a < 3 THEN a ELSE abs(-9223372036854775807 - 1) END "
            "FROM t");
    }

protected:
    QString Prepare() override
    {
        if (!Dir_.isValid())
            return Dir_.errorString();
        COdbcDatabase probe;
        QString error;
        if (!probe.Connect(FreshDatabase(), {}, {}, error))
            return QStringLiteral("cannot connect with \"%1\" (scripts/install-deps.sh --test "
                                  "installs the driver): %2")
                .arg(Base_, error);
        return {};
    }

private:
    // A locked file is reported after a second, not after the driver's 100.
    const QString Base_ = Setting("TABLESCOPE_ODBC_SQLITE_DSN", "DSN=TablescopeSQLite") +
                          QStringLiteral(";Timeout=1000");
    QTemporaryDir Dir_;
    int Count_ = 0;
};

// MariaDB: a new database of this program's own for every test, made and
// finally dropped by the test login, which may make databases named
// tablescope_...
class CMariaDBFixture : public COdbcFixture
{
public:
    ~CMariaDBFixture() override
    {
        QString error;
        for (const QString& name : std::as_const(Made_))
            if (Admin_.IsConnected() &&
                !Admin_.ExecuteSQL(QStringLiteral("DROP DATABASE IF EXISTS ") + name, error))
                qWarning("%s", qPrintable(error));
    }

    QString Name() const override { return QStringLiteral("ODBC MariaDB"); }
    QString BlobType() const override { return QStringLiteral("LONGBLOB"); }
    QString FreshDatabase() override
    {
        const QString name = QStringLiteral("tablescope_odbc_%1_%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(Made_.size() + 1);
        QString error;
        if (!Admin_.ExecuteSQL(QStringLiteral("CREATE DATABASE ") + name, error))
            qWarning("%s", qPrintable(error));
        Made_.append(name);
        return Base_ + QStringLiteral(";Database=") + name;
    }
    QString RefusedConnectString() const override
    {
        return Base_ + QStringLiteral(";UID=tablescope;PWD=wrong password");
    }
    QString MissingTableMessage() const override
    {
        return QStringLiteral("no_such_table' doesn't exist");
    }
    bool PrepareRefusesNamedMarkers() const override { return true; }
    // MariaDB divides by zero into NULL and hands the client the whole
    // result at once: the query fails when it runs.
    QString FailingQuery() const override
    {
        return QStringLiteral("SELECT a, (SELECT a FROM t) FROM t ORDER BY a");
    }

protected:
    // The cases name tables in double quotes, which MariaDB reads as names
    // only in the ANSI_QUOTES mode; the names the backend quotes itself
    // are in the driver's backquotes all the same.
    QString CleanSql() const override
    {
        return QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',ANSI_QUOTES')");
    }
    QString Prepare() override
    {
        QString error;
        if (!Admin_.Connect(Base_, {}, {}, error))
            return QStringLiteral("cannot connect with \"%1\" (scripts/start-servers.sh starts "
                                  "the server): %2")
                .arg(Base_, error);
        return {};
    }

private:
    const QString Base_ =
        Setting("TABLESCOPE_ODBC_MARIADB_DSN", "DSN=TablescopeMariaDB;Server=127.0.0.1;Port=3307;"
                                               "UID=tablescope;PWD=tablescope");
    COdbcDatabase Admin_; // makes and finally drops the test databases
    QStringList Made_;
};

// What needs no data source.
class COdbcTextCases : public QObject
{
    Q_OBJECT

private slots:
    void connectStringFormat_data();
    void connectStringFormat();
    void connectStringWithCredentials_data();
    void connectStringWithCredentials();
    void disconnectedMessages_data();
    void disconnectedMessages();
    void scanParamNames_data();
    void scanParamNames();
    void paramRecords();
};

void COdbcTextCases::connectStringFormat_data()
{
    QTest::addColumn<QString>("connect");
    QTest::addColumn<bool>("formatOk");
    QTest::newRow("driver and server") << "Driver={X};Server=y" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank before the equals sign") << "DSN =x" << false;
    QTest::newRow("FILEDSN contains dsn=") << "FILEDSN=x.dsn" << true;
    QTest::newRow("any letter case, anywhere") << "UID=a;dSn=NoSuchSource" << true;
}

void COdbcTextCases::connectStringFormat()
{
    QFETCH(QString, connect);
    QFETCH(bool, formatOk);
    COdbcDatabase db;
    QString error;
    QVERIFY(!db.Connect(connect, QStringLiteral("user"), QStringLiteral("password"), error));
    QVERIFY(!db.IsConnected());
    if (formatOk) // past the check the driver manager finds no such source
        QVERIFY2(error.startsWith(QStringLiteral("[unixODBC][Driver Manager]")), qPrintable(error));
    else
        QCOMPARE(error, QStringLiteral("Wrong format of the ODBC connect string. Should be: "
                                       "\"DSN=database[[;OPTION=value];OPTION=value]...\" "
                                       "instead of \"") +
                            connect + u'"');
}

void COdbcTextCases::connectStringWithCredentials_data()
{
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("result");
    QTest::newRow("added") << "DSN=x"
                           << "kim"
                           << "secret"
                           << "DSN=x;UID=kim;PWD=secret";
    QTest::newRow("the string's own give way, in any letter case")
        << "uid=a;DSN=x; Pwd =b;Port=1"
        << "kim"
        << "secret"
        << "DSN=x;Port=1;UID=kim;PWD=secret";
    QTest::newRow("braced values of the string stay whole")
        << "DSN=x;Opt={a;PWD=b}};c};PWD={p;w}"
        << "kim"
        << ""
        << "DSN=x;Opt={a;PWD=b}};c};UID=kim;PWD=";
    QTest::newRow("semicolon, brace and blank are quoted") << "DSN=x;"
                                                           << "a b"
                                                           << "p;w}d{"
                                                           << "DSN=x;UID={a b};PWD={p;w}}d{}";
    QTest::newRow("an equals sign needs no quoting") << "DSN=x"
                                                     << "k=m"
                                                     << "="
                                                     << "DSN=x;UID=k=m;PWD==";
}

void COdbcTextCases::connectStringWithCredentials()
{
    QFETCH(QString, connect);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, result);
    QCOMPARE(COdbcDatabase::ConnectStringWith(connect, user, password), result);
}

using CDbCall = std::function<bool(COdbcDatabase&, QString& error)>;
Q_DECLARE_METATYPE(CDbCall)

void COdbcTextCases::disconnectedMessages_data()
{
    QTest::addColumn<CDbCall>("call");
    QTest::addColumn<QString>("message");
    const QString sql = QStringLiteral("INSERT INTO b VALUES (?)");
    QTest::newRow("ExecuteSQL") << CDbCall([=](COdbcDatabase& db, QString& e) {
        return db.ExecuteSQL(sql, e);
    }) << NoStatement;
    QTest::newRow("ExecuteSQL of nothing runs nothing")
        << CDbCall([](COdbcDatabase& db, QString& e) { return !db.ExecuteSQL(" ;\n ;", e); })
        << "untouched";
    QTest::newRow("OpenRecordset") << CDbCall([=](COdbcDatabase& db, QString& e) {
        CAbstractRecordset* raw = reinterpret_cast<CAbstractRecordset*>(&db);
        return db.OpenRecordset(sql, e, raw) || raw;
    }) << NoStatement;
    QTest::newRow("GetTableNames") << CDbCall([](COdbcDatabase& db, QString& e) {
        QStringList names;
        return db.GetTableNames(names, e);
    }) << NoStatement;
    QTest::newRow("ExecuteWithBlob") << CDbCall([=](COdbcDatabase& db, QString& e) {
        return db.ExecuteWithBlob(sql, "a", 1, e);
    }) << NoStatement;
    QTest::newRow("GetColumnNames") << CDbCall([](COdbcDatabase& db, QString& e) {
        QStringList columns;
        return db.GetColumnNames(QStringLiteral("t"), columns, e) || !columns.isEmpty();
    }) << NoStatement;
    QTest::newRow("ExecuteWithBlob, negative size") << CDbCall([=](COdbcDatabase& db, QString& e) {
        return db.ExecuteWithBlob(sql, "ab", -2, e);
    }) << "Wrong size of the binary data: (-2)";
    QTest::newRow("BeginTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.BeginTransaction(e); })
        << NotConnected;
    QTest::newRow("EndTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.EndTransaction(true, e); })
        << NotConnected;
    QTest::newRow("RollbackTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.RollbackTransaction(e); })
        << NotConnected;
    QTest::newRow("Disconnect changes nothing")
        << CDbCall([](COdbcDatabase& db, QString&) { return !db.Disconnect() || db.IsConnected(); })
        << "untouched";
}

void COdbcTextCases::disconnectedMessages()
{
    QFETCH(CDbCall, call);
    QFETCH(QString, message);
    COdbcDatabase db;
    QString error = QStringLiteral("untouched");
    QVERIFY(!call(db, error));
    QCOMPARE(error, message);
    QCOMPARE(db.GetDatabaseType(), 2);
}

void COdbcTextCases::scanParamNames_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("colon and at") << "SELECT * FROM t WHERE a = :x AND b = @y"
                                  << QStringList{"x", "y"};
    QTest::newRow("dollar, line break") << "SELECT $cost\nFROM t" << QStringList{"cost"};
    QTest::newRow("colon name last") << "WHERE a = :b" << QStringList{"b"};
    QTest::newRow("marker last") << "WHERE a = ?" << QStringList{""};
    QTest::newRow("marker before a blank") << "WHERE a = ? AND b = 1" << QStringList{""};
    QTest::newRow("only white space ends a name")
        << "INSERT INTO t VALUES (?, ?)" << QStringList{",", ")"};
    QTest::newRow("a second marker replaces the first") << "WHERE a=:x,b=:y" << QStringList{"y"};
    QTest::newRow("tab and carriage return") << "a = :x\tb = :y\r\n" << QStringList{"x", "y"};
    QTest::newRow("inside apostrophes and quotation marks")
        << "SELECT ':x' AS \"@y\" FROM t" << QStringList{};
    QTest::newRow("apostrophe inside quotation marks")
        << "SELECT \"it's\" FROM t WHERE a = :a" << QStringList{"a"};
    QTest::newRow("quotation mark inside apostrophes")
        << "WHERE 'say \"hi' = :b" << QStringList{"b"};
    QTest::newRow("unclosed apostrophe") << "WHERE a = 'x :y" << QStringList{};
    QTest::newRow("empty text") << "" << QStringList{};
}

void COdbcTextCases::scanParamNames()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, names);
    COdbcRecordset recordset;
    recordset.ParamNames = QStringList{QStringLiteral("stale")};
    recordset.ScanParamNames(sql);
    QCOMPARE(recordset.ParamNames, names);
}

// Names and records live in the recordset; none of this reaches a driver.
void COdbcTextCases::paramRecords()
{
    COdbcDatabase db;
    COdbcRecordset recordset; // holds no statement
    recordset.ScanParamNames(QStringLiteral("WHERE a = :x AND b = @y AND c = :x"));
    QString error = QStringLiteral("untouched");
    int value = -1;
    QVERIFY(db.GetParamCount(&recordset, value, error));
    QCOMPARE(value, 3);
    QVERIFY(db.GetParamIndex(&recordset, QStringLiteral("X"), value, error));
    QCOMPARE(value, 0);
    QVERIFY(!db.GetParamIndex(&recordset, QStringLiteral(":y"), value, error));
    QString name;
    QVERIFY(db.GetParamName(&recordset, 1, name, error));
    QCOMPARE(name, QStringLiteral("y"));
    QCOMPARE(error, QStringLiteral("untouched"));
    QVERIFY(!db.GetParamName(&recordset, 3, name, error));
    QCOMPARE(error, QStringLiteral("Wrong parameter index: (3)"));

    // Index 5 first, then 0; setting 5 again changes its record in place.
    QVERIFY(db.SetParamInt(&recordset, 5, 1, error));
    QVERIFY(db.SetParamString(&recordset, 0, LongText(COdbcParam::MaxTextLength), error));
    QVERIFY(db.SetParamDouble(&recordset, 5, 1.0, error));
    QCOMPARE(recordset.Params.Count(), 2);
    QCOMPARE(recordset.Params.At(0).Kind, int(COdbcParam::KindDouble));

    // Too long for the record: refused, the value set before is kept.
    QVERIFY(!db.SetParamString(&recordset, 0, LongText(COdbcParam::MaxTextLength + 1), error));
    QCOMPARE(error, QStringLiteral(
                        "The text of parameter 0 is too long: 1024 characters, at most 1023 fit"));
    QVERIFY(!db.SetParamString(&recordset, 7, LongText(5000), error));
    QCOMPARE(recordset.Params.Count(), 2);
    QCOMPARE(QString::fromUtf16(reinterpret_cast<const char16_t*>(recordset.Params.At(1).Value)),
             LongText(COdbcParam::MaxTextLength));

    // What needs a statement says that there is none.
    error.clear();
    QVERIFY(!db.Execute(&recordset, error));
    QCOMPARE(error, NotOpen);
    error.clear();
    QVERIFY(!db.SetParamInt(nullptr, 0, 1, error));
    QCOMPARE(error, NotOpen);
}

// The ODBC behaviour that both drivers share, run with each fixture.
class COdbcCases : public QObject
{
    Q_OBJECT

public:
    explicit COdbcCases(COdbcFixture& fixture) : Fixture(fixture) {}

private slots:
    void initTestCase() { REQUIRE_BACKEND(Fixture); }
    void init();
    void cleanup() { Db.reset(); }

    void connectTwiceAndAgain();
    void executeSqlScripts();
    void driverMessages();
    void paramsBoundInOrderOfFirstSet();
    void paramKindsRoundTrip();
    void columnClasses_data();
    void columnClasses();
    void valuesReadAgainInAnyOrder();
    void longAndForeignText();
    void rowlessStatementsAndClose();
    void tablesWithoutViews();
    void transactions();
    void disconnectRollsBackOpenTransaction();
    void blobs();

private:
    void Run(const QString& sql);
    CRecordsetPtr Query(const QString& sql);
    CRecordsetPtr Prepared(const QString& sql);
    int Count(const QString& table);

    COdbcFixture& Fixture;
    CDatabasePtr Db;
};

void COdbcCases::init()
{
    QString error;
    Db = Fixture.Open(error);
    QVERIFY2(Db, qPrintable(error));
}

void COdbcCases::Run(const QString& sql)
{
    QString error;
    QVERIFY2(Db->ExecuteSQL(sql, error), qPrintable(sql + QStringLiteral(": ") + error));
}

CRecordsetPtr COdbcCases::Query(const QString& sql)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    if (!Db->OpenRecordset(sql, error, raw))
        qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return CRecordsetPtr(raw);
}

CRecordsetPtr COdbcCases::Prepared(const QString& sql)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    if (!Db->Prepare(sql, error, raw))
        qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return CRecordsetPtr(raw);
}

int COdbcCases::Count(const QString& table)
{
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return recordset && recordset->MoveNext() ? recordset->GetInt(0) : -1;
}

void COdbcCases::connectTwiceAndAgain()
{
    QString error;
    QVERIFY(!Db->Connect(Fixture.FreshDatabase(), {}, {}, error));
    QCOMPARE(error, QStringLiteral("cannot connect to a database: already connected"));
    Run(QStringLiteral("CREATE TABLE still_usable (a INTEGER)"));

    // A refused connect leaves the object disconnected, with the driver's
    // text, and free to connect again.
    COdbcDatabase db;
    QVERIFY(!db.Connect(Fixture.RefusedConnectString(), {}, {}, error));
    QVERIFY(!db.IsConnected());
    QVERIFY2(!error.isEmpty() && error != NoText, qPrintable(error));
    QVERIFY(!db.ExecuteSQL(QStringLiteral("SELECT 1"), error));
    QCOMPARE(error, NoStatement);
    QVERIFY2(db.Connect(Fixture.FreshDatabase(), {}, {}, error), qPrintable(error));
    QVERIFY(db.Disconnect());
    QVERIFY2(db.Connect(Fixture.FreshDatabase(), {}, {}, error), qPrintable(error));
}

void COdbcCases::executeSqlScripts()
{
    // Pieces are trimmed and empty ones skipped; a ';' between quotation
    // marks does not split; rows of a query are dropped.
    QString error = QStringLiteral("untouched");
    QVERIFY(
        Db->ExecuteSQL(QStringLiteral("create table a(x int); ; insert into a values(1);"), error));
    Run(QStringLiteral("\n CREATE TABLE \"odd;name\" (x INTEGER) \n;\t\nSELECT x FROM a;"));
    QCOMPARE(Count(QStringLiteral("a")), 1);
    QCOMPARE(Count(QStringLiteral("\"odd;name\"")), 0);

    // An UPDATE or DELETE that matches no row succeeds, however it is run.
    QVERIFY(Db->ExecuteSQL(
        QStringLiteral("DELETE FROM \"odd;name\"; UPDATE a SET x = 2 WHERE x = 9"), error));
    CRecordsetPtr deleted = Query(QStringLiteral("DELETE FROM \"odd;name\""));
    QVERIFY(deleted);
    CRecordsetPtr update = Prepared(QStringLiteral("UPDATE a SET x = ? WHERE x = 9"));
    QVERIFY(Db->SetParamInt(update.get(), 0, 5, error));
    QVERIFY(Db->Execute(update.get(), error));
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    QVERIFY(
        Db->ExecuteWithBlob(QStringLiteral("UPDATE b SET data = ? WHERE id = 9"), "", 0, error));
    QCOMPARE(error, QStringLiteral("untouched"));

    // The first failure stops the script; what ran before it stays.
    QVERIFY(!Db->ExecuteSQL(QStringLiteral("INSERT INTO a VALUES (2); INSERT INTO no_such_table "
                                           "VALUES (3); INSERT INTO a VALUES (4)"),
                            error));
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT SUM(x) FROM a"));
    QVERIFY(rows && rows->MoveNext());
    QCOMPARE(rows->GetInt(0), 3);
}

void COdbcCases::driverMessages()
{
    QString error;
    auto* raw = reinterpret_cast<CAbstractRecordset*>(this);
    QVERIFY(!Db->OpenRecordset(QStringLiteral("SELECT x FROM no_such_table"), error, raw));
    QCOMPARE(raw, nullptr);
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));
    QVERIFY(!error.startsWith(QStringLiteral("; ")));

    // A prepared statement reports the driver's text when it runs, if not before.
    error.clear();
    raw = nullptr;
    if (Db->Prepare(QStringLiteral("SELECT x FROM no_such_table"), error, raw))
        QVERIFY(!Db->Execute(CRecordsetPtr(raw).get(), error));
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));

    // Where preparing fails, there is no recordset, and ExecuteWithBlob
    // says so in its own words.
    raw = reinterpret_cast<CAbstractRecordset*>(this);
    const bool prepared = Db->Prepare(QStringLiteral("SELECT :x"), error, raw);
    CRecordsetPtr owner(raw);
    QCOMPARE(prepared, !Fixture.PrepareRefusesNamedMarkers());
    if (!prepared) {
        QCOMPARE(raw, nullptr);
        QVERIFY(!Db->ExecuteWithBlob(QStringLiteral("SELECT :x"), "a", 1, error));
        QCOMPARE(error, QStringLiteral("Failed to prepare the query"));
    }

    // A parameter left unset is the driver's to report.
    Run(QStringLiteral("CREATE TABLE t (a INTEGER, b INTEGER)"));
    CRecordsetPtr statement = Prepared(QStringLiteral("SELECT a FROM t WHERE a = ? AND b = ?"));
    QVERIFY(Db->SetParamInt(statement.get(), 0, 1, error));
    error.clear();
    QVERIFY(!Db->Execute(statement.get(), error));
    QVERIFY2(!error.isEmpty() && error != NoText, qPrintable(error));

    // Records of state 01004 (a truncated read) are left out, which here
    // leaves nothing.
    CRecordsetPtr rows = Query(QStringLiteral("SELECT 'abcdefgh' AS t"));
    QVERIFY(rows && rows->MoveNext());
    void* handle = static_cast<COdbcRecordset*>(rows.get())->Statement();
    char small[4];
    SQLLEN indicator = 0;
    QCOMPARE(SQLGetData(handle, 1, SQL_C_CHAR, small, sizeof small, &indicator),
             SQLRETURN(SQL_SUCCESS_WITH_INFO));
    SQLCHAR state[6] = {};
    SQLCHAR message[1000] = {};
    SQLGetDiagRec(SQL_HANDLE_STMT, handle, 1, state, nullptr, message, sizeof message, nullptr);
    QCOMPARE(reinterpret_cast<const char*>(state), "01004");
    QCOMPARE(static_cast<COdbcDatabase&>(*Db).GetDiagnosticText(handle), NoText);
}

void COdbcCases::paramsBoundInOrderOfFirstSet()
{
    Run(QStringLiteral("CREATE TABLE p (a INTEGER, b VARCHAR(20))"));
    CRecordsetPtr insert = Prepared(QStringLiteral("INSERT INTO p (a, b) VALUES (?, ?)"));
    QString error;
    int count = 0;
    QVERIFY(Db->GetParamCount(insert.get(), count, error));
    QCOMPARE(count, 2);
    // Index 5 was set first, so it is parameter 1, whatever its index.
    QVERIFY(Db->SetParamInt(insert.get(), 5, 10, error));
    QVERIFY(Db->SetParamString(insert.get(), 0, QStringLiteral("zero"), error));
    QVERIFY(Db->SetParamInt(insert.get(), 5, 11, error));
    QVERIFY2(Db->Execute(insert.get(), error), qPrintable(error));
    QVERIFY2(Db->Execute(insert.get(), error), qPrintable(error)); // values stay bound

    CRecordsetPtr rows = Query(QStringLiteral("SELECT a, b FROM p"));
    for (int row = 0; row < 2; ++row) {
        QVERIFY(rows->MoveNext());
        QCOMPARE(rows->GetInt(0), 11);
        QCOMPARE(rows->GetString(1), QStringLiteral("zero"));
    }
    QVERIFY(!rows->MoveNext());
}

void COdbcCases::paramKindsRoundTrip()
{
    Run(QStringLiteral(
        "CREATE TABLE k (i INTEGER, l BIGINT, d DOUBLE PRECISION, s VARCHAR(2000))"));
    CRecordsetPtr insert = Prepared(QStringLiteral("INSERT INTO k VALUES (?, ?, ?, ?)"));
    QString error;
    QString longest = LongText(COdbcParam::MaxTextLength);
    if (Fixture.KeepsSupplementaryCharacters())
        longest.replace(0, 2, QString::fromUtf8("𝄞"));
    QVERIFY(Db->SetParamInt(insert.get(), 0, -2147483647 - 1, error));
    QVERIFY(Db->SetParamInt64(insert.get(), 1, 9000000000123LL, error));
    QVERIFY(Db->SetParamDouble(insert.get(), 2, -2.5e-3, error));
    QVERIFY(Db->SetParamString(insert.get(), 3, longest, error));
    QVERIFY2(Db->Execute(insert.get(), error), qPrintable(error));
    QVERIFY(Db->SetParamInt(insert.get(), 0, 2, error));
    QVERIFY(Db->SetParamString(insert.get(), 3, QString(), error));
    QVERIFY2(Db->Execute(insert.get(), error), qPrintable(error));

    CRecordsetPtr rows = Query(QStringLiteral("SELECT i, l, d, s FROM k ORDER BY i"));
    QVERIFY(rows->MoveNext());
    QCOMPARE(rows->GetInt(0), -2147483647 - 1);
    QCOMPARE(rows->GetString(1), QStringLiteral("9000000000123"));
    QCOMPARE(rows->GetDouble(2), -2.5e-3);
    QCOMPARE(rows->GetString(3), longest);
    QVERIFY(rows->MoveNext());
    QCOMPARE(rows->GetString(3), QString());
}

void COdbcCases::columnClasses_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integer");
    QTest::addColumn<double>("real");
    QTest::addColumn<QString>("cls"); // i, f, t, or - for none of the three

    QTest::newRow("integer") << "INTEGER"
                             << "-7"
                             << "-7" << -7 << -7.0 << "i";
    QTest::newRow("big integer in full") << "BIGINT"
                                         << "9000000000"
                                         << "9000000000" << 0 << 9e9 << "i";
    QTest::newRow("small big integer") << "BIGINT"
                                       << "-5"
                                       << "-5" << -5 << -5.0 << "i";
    QTest::newRow("double") << "DOUBLE PRECISION"
                            << "2.5"
                            << "2.500000" << 2 << 2.5 << "f";
    QTest::newRow("negative double") << "DOUBLE PRECISION"
                                     << "-2.5"
                                     << "-2.500000" << -2 << -2.5 << "f";
    QTest::newRow("numeric") << "NUMERIC(10,2)"
                             << "12.5"
                             << "12.500000" << 12 << 12.5 << "f";
    QTest::newRow("text of a number") << "VARCHAR(20)"
                                      << "'42abc'"
                                      << "42abc" << 42 << 42.0 << "t";
    QTest::newRow("text of a fraction") << "VARCHAR(20)"
                                        << "' 2.5'"
                                        << " 2.5" << 2 << 2.5 << "t";
    QTest::newRow("text") << "VARCHAR(20)"
                          << "'abc'"
                          << "abc" << 0 << 0.0 << "t";
    QTest::newRow("timestamp") << "TIMESTAMP"
                               << "'2020-01-02 03:04:05'"
                               << "2020-01-02 03:04:05" << 0 << 0.0 << "-";
    QTest::newRow("date") << "DATE"
                          << "'2020-01-02'"
                          << "2020-01-02" << 0 << 0.0 << "-";
    QTest::newRow("time") << "TIME"
                          << "'12:34:56'"
                          << "12:34:56" << 0 << 0.0 << "-";
}

// Each class read by every getter, then a NULL of it.
void COdbcCases::columnClasses()
{
    QFETCH(QString, type);
    QFETCH(QString, literal);
    QFETCH(QString, text);
    QFETCH(int, integer);
    QFETCH(double, real);
    QFETCH(QString, cls);
    Run(QStringLiteral("CREATE TABLE v (k INTEGER, x %1); INSERT INTO v VALUES (1, %2); "
                       "INSERT INTO v VALUES (2, NULL)")
            .arg(type, literal));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT x FROM v ORDER BY k"));
    QVERIFY(rows);
    QCOMPARE(rows->IsInteger(0), cls == u"i");
    QCOMPARE(rows->IsFloat(0), cls == u"f");
    QCOMPARE(rows->IsText(0), cls == u"t");

    QVERIFY(rows->MoveNext());
    QVERIFY(!rows->IsNull(0));
    QCOMPARE(rows->GetString(0), text);
    QCOMPARE(rows->GetInt(0), integer);
    QCOMPARE(rows->GetDouble(0), real);

    QVERIFY(rows->MoveNext());
    QVERIFY(rows->IsNull(0));
    QCOMPARE(rows->GetString(0), QString());
    QCOMPARE(rows->GetInt(0), 0);
    QCOMPARE(rows->GetDouble(0), 0.0);
    QVERIFY(!rows->MoveNext());
    QCOMPARE(rows->GetString(0), QString()); // past the last row
}

void COdbcCases::valuesReadAgainInAnyOrder()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(20), c DOUBLE PRECISION); "
                       "INSERT INTO t VALUES (5, 'five', 5.5)"));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT a, b, c FROM t"));
    QVERIFY(rows->MoveNext());
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(rows->GetDouble(2), 5.5);
        QCOMPARE(rows->GetString(1), QStringLiteral("five"));
        QCOMPARE(rows->GetString(0), QStringLiteral("5"));
        QCOMPARE(rows->GetInt(0), 5);
        QCOMPARE(rows->GetString(2), QStringLiteral("5.500000"));
        QVERIFY(!rows->IsNull(1));
    }
}

void COdbcCases::longAndForeignText()
{
    Run(QStringLiteral("CREATE TABLE t (k INTEGER, s TEXT)"));
    QStringList values{QString::fromUtf8("Привет, мир €"), LongText(10000), LongText(1023),
                       LongText(1024), QStringLiteral("x")};
    if (Fixture.KeepsSupplementaryCharacters())
        values.append(QString::fromUtf8("𝄞 clef, 😀 face"));
    for (int k = 0; k < values.size(); ++k)
        Run(QStringLiteral("INSERT INTO t VALUES (%1, '%2')").arg(k).arg(values[k]));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT s, k FROM t ORDER BY k"));
    for (const QString& value : values) {
        QVERIFY(rows->MoveNext());
        QCOMPARE(rows->GetString(0), value);
    }
    QVERIFY(!rows->MoveNext());

    // A bound text parameter finds the row, whatever its characters.
    CRecordsetPtr byText = Prepared(QStringLiteral("SELECT k FROM t WHERE s = ?"));
    QString error;
    QVERIFY(Db->SetParamString(byText.get(), 0, values[0], error));
    QVERIFY2(Db->Execute(byText.get(), error), qPrintable(error));
    QVERIFY(byText->MoveNext());
    QCOMPARE(byText->GetInt(0), 0);
}

void COdbcCases::rowlessStatementsAndClose()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    CRecordsetPtr none = Query(QStringLiteral("SELECT a FROM t"));
    QCOMPARE(none->GetColumnCount(), 1);
    QVERIFY(!none->MoveNext());
    QCOMPARE(none->GetString(0), QString());

    CRecordsetPtr insert = Query(QStringLiteral("INSERT INTO t VALUES (1)"));
    QVERIFY(insert->IsOpen());
    QCOMPARE(insert->GetColumnCount(), 0);
    QCOMPARE(insert->GetColumnName(0), QString());
    QVERIFY(!insert->MoveNext());
    QCOMPARE(Count(QStringLiteral("t")), 1);

    // A cursor closes once; Close forgets the parameters, and a second
    // Close does nothing.
    CRecordsetPtr statement = Prepared(QStringLiteral("SELECT a FROM t WHERE a = ?"));
    QString error;
    QVERIFY(Db->SetParamInt(statement.get(), 0, 1, error));
    QVERIFY2(Db->Execute(statement.get(), error), qPrintable(error));
    QVERIFY(statement->MoveNext());
    QVERIFY(Db->CloseCursor(statement.get(), error));
    QVERIFY(!Db->CloseCursor(statement.get(), error));
    QCOMPARE(error, QStringLiteral("[unixODBC][Driver Manager]Invalid cursor state"));
    QVERIFY(statement->Close());
    auto* odbc = static_cast<COdbcRecordset*>(statement.get());
    QCOMPARE(odbc->Params.Count(), 0);
    QVERIFY(odbc->ParamNames.isEmpty());
    QVERIFY(statement->Close());
    QVERIFY(!Db->CloseCursor(statement.get(), error));
    QCOMPARE(error, NotOpen);
}

void COdbcCases::tablesWithoutViews()
{
    Run(QStringLiteral("CREATE TABLE zeta (a INTEGER); CREATE TABLE alpha (a INTEGER); "
                       "CREATE VIEW a_view AS SELECT a FROM alpha"));
    QString error;
    QStringList names;
    QVERIFY2(Db->GetTableNames(names, error), qPrintable(error));
    names.sort();
    QCOMPARE(names, (QStringList{"alpha", "zeta"}));
}

void COdbcCases::transactions()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    QString error;
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    QVERIFY(!Db->BeginTransaction(error));
    QCOMPARE(error, AlreadyOpen);
    Run(QStringLiteral("INSERT INTO t VALUES (1)"));
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 0);

    // Ended, so it can be begun again; after the end auto-commit is on, and
    // a rollback takes back nothing.
    QVERIFY2(Db->BeginTransactionWith(QStringLiteral("INSERT INTO t VALUES (2)"), error),
             qPrintable(error));
    QVERIFY2(Db->CommitTransaction(error), qPrintable(error));
    Run(QStringLiteral("INSERT INTO t VALUES (3)"));
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 2);

    // An absent text runs nothing; a failing one leaves the transaction open.
    QVERIFY2(Db->BeginTransactionWith(QString(), error), qPrintable(error));
    QVERIFY(!Db->BeginTransaction(error));
    QVERIFY2(Db->CommitTransaction(error), qPrintable(error));
    QVERIFY(!Db->BeginTransactionWith(QStringLiteral("INSERT INTO t VALUES (4); "
                                                     "INSERT INTO no_such_table VALUES (5)"),
                                      error));
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));
    QVERIFY(!Db->BeginTransaction(error));
    QCOMPARE(error, AlreadyOpen);
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 2);
}

// Some drivers refuse to disconnect while a transaction is open; the
// transaction is rolled back and the connection closed all the same.
void COdbcCases::disconnectRollsBackOpenTransaction()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    QString error;
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    Run(QStringLiteral("INSERT INTO t VALUES (1)"));
    QVERIFY(Db->Disconnect());
    QVERIFY(!Db->IsConnected());

    // A new connection finds the row gone and the table free to write.
    Db.reset(new COdbcDatabase);
    QVERIFY2(Db->Connect(Fixture.LastDatabase(), {}, {}, error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 0);
    Run(QStringLiteral("INSERT INTO t VALUES (2)"));
    QCOMPARE(Count(QStringLiteral("t")), 1);
}

void COdbcCases::blobs()
{
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    QByteArray bytes(3000, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i % 3 ? i % 256 : 0);
    QString error;
    for (const QByteArray& value : {bytes, QByteArray()})
        QVERIFY2(Db->ExecuteWithBlob(
                     QStringLiteral("INSERT INTO b (id, data) VALUES (%1, ?)").arg(value.size()),
                     value.constData(), int(value.size()), error),
                 qPrintable(error));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT data FROM b ORDER BY id"));

    // The empty value: read, with nothing to add.
    QVERIFY(rows->MoveNext());
    unsigned char* data = nullptr;
    int size = 0;
    QVERIFY(rows->GetBlob(0, data, size));
    QCOMPARE(data, nullptr);
    QCOMPARE(size, 0);
    QVERIFY(!rows->IsNull(0));

    // Appended to what the caller holds, and read again by name.
    QVERIFY(rows->MoveNext());
    data = static_cast<unsigned char*>(std::malloc(2));
    std::memcpy(data, "AB", 2);
    size = 2;
    QVERIFY(rows->GetBlob(0, data, size));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), size), QByteArray("AB") + bytes);
    std::free(data);
    data = nullptr;
    size = 0;
    QVERIFY(rows->GetBlob(QStringLiteral("DATA"), data, size));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), size), bytes);
    std::free(data);

    data = nullptr;
    QVERIFY(!rows->MoveNext());
    QVERIFY(!rows->GetBlob(0, data, size)); // no row to read from
    QCOMPARE(data, nullptr);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("ODBCINI"))
        qputenv("ODBCINI", "/tmp/tablescope-test/odbc.ini");

    COdbcTextCases text;
    int failed = QTest::qExec(&text, argc, argv);
    CPostgresFixture postgres;
    CSQLiteOdbcFixture sqlite;
    CMariaDBFixture mariadb;
    for (COdbcFixture* fixture :
         std::initializer_list<COdbcFixture*>{&postgres, &sqlite, &mariadb}) {
        CInterfaceCases shared(*fixture);
        COdbcCases own(*fixture);
        failed += QTest::qExec(&shared, argc, argv);
        failed += QTest::qExec(&own, argc, argv);
    }
    return failed;
}

#include "tst_Odbc.moc"
