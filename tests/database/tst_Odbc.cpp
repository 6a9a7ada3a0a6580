// The ODBC backend through unixODBC against two real drivers: PostgreSQL
// (its "PostgreSQL Unicode" driver, a database of this program's own on the
// test server) and SQLite (its "SQLite3" driver, a fresh file per test). Both
// run the shared interface cases and the ODBC cases; what needs no driver
// (the connect string check, the parameter-name scanner, the messages of a
// disconnected object) runs once.
//
// The data sources come from scripts/start-servers.sh: ODBCINI and the
// connect strings TABLESCOPE_ODBC_PG_DSN and TABLESCOPE_ODBC_SQLITE_DSN, with
// the same defaults when they are not set.

#include "database/InterfaceCases.h"
#include "database/OdbcDatabase.h"
#include "database/OdbcRecordset.h"

#include <QCoreApplication>
#include <QFile>
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
const QString NoText = QStringLiteral("The ODBC database did not provide any text for this error");

QString Setting(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

// A text of length characters, mostly outside ASCII.
QString LongText(qsizetype length)
{
    const QString pattern = QString::fromUtf8("Жёлтый-€-abc ");
    QString text;
    while (text.size() < length)
        text += pattern;
    text.truncate(length);
    return text;
}

} // namespace

// What both ODBC fixtures share: a connect string per test database.
class COdbcFixture : public CBackendFixture
{
public:
    bool PrepareChecksText() const override { return false; }
    bool BlobOfNullReads() const override { return true; }

    CDatabasePtr Open(QString& error) override
    {
        const QString why = Unavailable();
        if (!why.isEmpty()) {
            error = why;
            return nullptr;
        }
        auto* database = new COdbcDatabase;
        CDatabasePtr owner(database);
        if (!database->Connect(FreshDatabase(), {}, {}, error) || !Clean(*database, error))
            return nullptr;
        return owner;
    }

    // A connect string to the database of the next test, without user tables.
    virtual QString FreshDatabase() = 0;
    // A connect string whose connection the driver refuses.
    virtual QString RefusedConnectString() const = 0;
    // Part of the driver's message for a statement on a missing table.
    virtual QString MissingTableMessage() const = 0;
    // Whether the driver keeps characters beyond U+FFFF in wide SQL text.
    virtual bool KeepsSupplementaryCharacters() const { return true; }

protected:
    virtual bool Clean(COdbcDatabase&, QString&) { return true; }
};

// PostgreSQL: a database of this program's own, so that test programs run
// side by side do not drop each other's tables; every test starts from an
// empty public schema.
class CPostgresFixture : public COdbcFixture
{
public:
    ~CPostgresFixture() override
    {
        if (!Admin_.IsConnected())
            return;
        QString error;
        if (!Admin_.ExecuteSQL(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(DatabaseName_),
                error))
            qWarning("dropping %s: %s", qPrintable(DatabaseName_), qPrintable(error));
        Admin_.Disconnect();
    }

    QString Name() const override { return QStringLiteral("ODBC PostgreSQL"); }
    QString BlobType() const override { return QStringLiteral("BYTEA"); }

    QString Unavailable() override
    {
        if (Tried_)
            return Why_;
        Tried_ = true;
        QString error;
        if (!Admin_.Connect(Base_, {}, {}, error)) {
            Why_ = QStringLiteral("cannot connect with \"%1\" (is the server up? "
                                  "scripts/start-servers.sh starts it): %2")
                       .arg(Base_, error);
            return Why_;
        }
        if (!Admin_.ExecuteSQL(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(DatabaseName_),
                error) ||
            !Admin_.ExecuteSQL(QStringLiteral("CREATE DATABASE %1").arg(DatabaseName_), error)) {
            Why_ = QStringLiteral("cannot create the database %1 (the role needs CREATEDB, "
                                  "see scripts/start-servers.sh): %2")
                       .arg(DatabaseName_, error);
            Admin_.Disconnect();
        }
        return Why_;
    }

    QString FreshDatabase() override
    {
        return Base_ + QStringLiteral(";Database=") + DatabaseName_;
    }
    QString RefusedConnectString() const override
    {
        return Base_ + QStringLiteral(";Database=") + DatabaseName_ +
               QStringLiteral(";UID=tablescope;PWD=wrong password");
    }
    QString MissingTableMessage() const override
    {
        return QStringLiteral("relation \"no_such_table\" does not exist");
    }

protected:
    bool Clean(COdbcDatabase& database, QString& error) override
    {
        return database.ExecuteSQL(
            QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"), error);
    }

private:
    const QString Base_ =
        Setting("TABLESCOPE_ODBC_PG_DSN", "DSN=TablescopePG;UID=tablescope;PWD=tablescope");
    const QString DatabaseName_ =
        QStringLiteral("tablescope_odbc_%1").arg(QCoreApplication::applicationPid());
    COdbcDatabase Admin_; // creates and finally drops the test database
    bool Tried_ = false;
    QString Why_;
};

// SQLite: a new file for every test, named in the connect string.
class CSQLiteOdbcFixture : public COdbcFixture
{
public:
    QString Name() const override { return QStringLiteral("ODBC SQLite"); }

    QString Unavailable() override
    {
        if (!Dir_.isValid())
            return Dir_.errorString();
        COdbcDatabase probe;
        QString error;
        if (!probe.Connect(Base_ + QStringLiteral(";Database=") + Dir_.filePath("probe.sqlite"), {},
                           {}, error))
            return QStringLiteral("cannot connect with \"%1\" (is the SQLite3 ODBC driver "
                                  "installed? scripts/install-deps.sh --test): %2")
                .arg(Base_, error);
        probe.Disconnect();
        return {};
    }

    QString FreshDatabase() override
    {
        return Base_ + QStringLiteral(";Database=") +
               Dir_.filePath(QStringLiteral("db%1.sqlite").arg(++Count_));
    }
    // The driver will not create a file in a folder that does not exist.
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

private:
    const QString Base_ = Setting("TABLESCOPE_ODBC_SQLITE_DSN", "DSN=TablescopeSQLite");
    QTemporaryDir Dir_;
    int Count_ = 0;
};

// What needs no data source: the connect string check, the messages of an
// object that is not connected, the parameter names and records.
class COdbcTextCases : public QObject
{
    Q_OBJECT

private slots:
    void connectStringFormat_data();
    void connectStringFormat();
    void disconnectedMessages_data();
    void disconnectedMessages();
    void scanParamNames_data();
    void scanParamNames();
    void paramNamesAndIndexes();
    void paramRecordsOnAStatementless();
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
    const QString format =
        QStringLiteral("Wrong format of the ODBC connect string. Should be: "
                       "\"DSN=database[[;OPTION=value];OPTION=value]...\" instead of \"") +
        connect + u'"';
    if (formatOk) {
        // Past the check, the driver manager answers: there is no such source.
        QVERIFY(error != format);
        QVERIFY2(error.contains(QStringLiteral("[unixODBC][Driver Manager]")), qPrintable(error));
    } else {
        QCOMPARE(error, format);
    }
}

using CDbCall = std::function<bool(COdbcDatabase&, QString& error)>;
Q_DECLARE_METATYPE(CDbCall)

void COdbcTextCases::disconnectedMessages_data()
{
    QTest::addColumn<CDbCall>("call");
    QTest::addColumn<QString>("message");
    QTest::newRow("ExecuteSQL") << CDbCall([](COdbcDatabase& db, QString& e) {
        return db.ExecuteSQL(QStringLiteral("SELECT 1"), e);
    }) << NoStatement;
    QTest::newRow("ExecuteSQL of nothing runs nothing")
        << CDbCall([](COdbcDatabase& db, QString& e) {
               return !db.ExecuteSQL(QStringLiteral(" ; \n;"), e);
           })
        << "untouched";
    QTest::newRow("OpenRecordset") << CDbCall([](COdbcDatabase& db, QString& e) {
        CAbstractRecordset* raw = reinterpret_cast<CAbstractRecordset*>(&db);
        return db.OpenRecordset(QStringLiteral("SELECT 1"), e, raw) || raw;
    }) << NoStatement;
    QTest::newRow("Prepare") << CDbCall([](COdbcDatabase& db, QString& e) {
        CAbstractRecordset* raw = reinterpret_cast<CAbstractRecordset*>(&db);
        return db.Prepare(QStringLiteral("SELECT 1"), e, raw) || raw;
    }) << NoStatement;
    QTest::newRow("GetTableNames") << CDbCall([](COdbcDatabase& db, QString& e) {
        QStringList names;
        return db.GetTableNames(names, e);
    }) << NoStatement;
    QTest::newRow("ExecuteWithBlob") << CDbCall([](COdbcDatabase& db, QString& e) {
        return db.ExecuteWithBlob(QStringLiteral("INSERT INTO b VALUES (?)"), "ab", 2, e);
    }) << NoStatement;
    QTest::newRow("ExecuteWithBlob, negative size") << CDbCall([](COdbcDatabase& db, QString& e) {
        return db.ExecuteWithBlob(QStringLiteral("INSERT INTO b VALUES (?)"), "ab", -2, e);
    }) << "Wrong size of the binary data: (-2)";
    QTest::newRow("ExecuteWithBlob, no data") << CDbCall([](COdbcDatabase& db, QString& e) {
        return db.ExecuteWithBlob(QStringLiteral("INSERT INTO b VALUES (?)"), nullptr, 3, e);
    }) << "Wrong size of the binary data: (3)";
    QTest::newRow("BeginTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.BeginTransaction(e); })
        << NotConnected;
    QTest::newRow("CommitTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.CommitTransaction(e); })
        << NotConnected;
    QTest::newRow("RollbackTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.RollbackTransaction(e); })
        << NotConnected;
    QTest::newRow("EndTransaction")
        << CDbCall([](COdbcDatabase& db, QString& e) { return db.EndTransaction(true, e); })
        << NotConnected;
    QTest::newRow("BeginTransactionWith") << CDbCall([](COdbcDatabase& db, QString& e) {
        return db.BeginTransactionWith(QStringLiteral("SELECT 1"), e);
    }) << NotConnected;
    QTest::newRow("Disconnect does nothing")
        << CDbCall([](COdbcDatabase& db, QString&) { return !db.Disconnect() || db.IsConnected(); })
        << "untouched";
    QTest::newRow("diagnostics of no connection") << CDbCall([](COdbcDatabase& db, QString& e) {
        e = db.GetDiagnosticText();
        return false;
    }) << NoText;
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
    QTest::newRow("dollar, then a line break") << "SELECT $cost\nFROM t" << QStringList{"cost"};
    QTest::newRow("colon name last") << "WHERE a = :b" << QStringList{"b"};
    QTest::newRow("marker last") << "WHERE a = ?" << QStringList{""};
    QTest::newRow("marker before a blank") << "WHERE a = ? AND b = 1" << QStringList{""};
    QTest::newRow("only white space ends a name")
        << "INSERT INTO t VALUES (?, ?)" << QStringList{",", ")"};
    QTest::newRow("a second marker replaces the first") << "WHERE a=:x,b=:y" << QStringList{"y"};
    QTest::newRow("tab and carriage return end names") << "a = :x\tb = :y\r\n"
                                                       << QStringList{"x", "y"};
    QTest::newRow("inside apostrophes and quotation marks")
        << "SELECT ':x' AS \"@y\" FROM t" << QStringList{};
    QTest::newRow("apostrophe inside quotation marks")
        << "SELECT \"it's\" FROM t WHERE a = :a" << QStringList{"a"};
    QTest::newRow("quotation mark inside apostrophes")
        << "WHERE 'say \"hi' = :b" << QStringList{"b"};
    QTest::newRow("unclosed apostrophe hides the rest") << "WHERE a = 'x :y" << QStringList{};
    QTest::newRow("a cast reads as a marker") << "SELECT a::int FROM t" << QStringList{"int"};
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

void COdbcTextCases::paramNamesAndIndexes()
{
    COdbcDatabase db;
    COdbcRecordset recordset;
    recordset.ScanParamNames(QStringLiteral("SELECT * FROM t WHERE a = :x AND b = @y AND c = :x"));
    QString error = QStringLiteral("untouched");
    int count = -1;
    QVERIFY(db.GetParamCount(&recordset, count, error));
    QCOMPARE(count, 3);
    QString name;
    QVERIFY(db.GetParamName(&recordset, 1, name, error));
    QCOMPARE(name, QStringLiteral("y"));
    int index = -1;
    QVERIFY(db.GetParamIndex(&recordset, QStringLiteral("X"), index, error));
    QCOMPARE(index, 0);
    QVERIFY(db.GetParamIndex(&recordset, QStringLiteral("y"), index, error));
    QCOMPARE(index, 1);
    QVERIFY(!db.GetParamIndex(&recordset, QStringLiteral(":x"), index, error));
    QCOMPARE(error, QStringLiteral("untouched"));

    for (int bad : {-1, 3}) {
        QVERIFY(!db.GetParamName(&recordset, bad, name, error));
        QCOMPARE(error, QStringLiteral("Wrong parameter index: (%1)").arg(bad));
    }
    QVERIFY(!db.GetParamCount(nullptr, count, error));
    QCOMPARE(error, NotOpen);
}

void COdbcTextCases::paramRecordsOnAStatementless()
{
    COdbcDatabase db;
    COdbcRecordset recordset; // holds no statement
    QString error = QStringLiteral("untouched");
    QVERIFY(db.SetParamInt(&recordset, 5, 1, error));
    QVERIFY(db.SetParamInt64(&recordset, 0, 1, error));
    QVERIFY(db.SetParamDouble(&recordset, 5, 1.0, error));
    QVERIFY(db.SetParamString(&recordset, 0, LongText(COdbcParam::MaxTextLength), error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QCOMPARE(recordset.Params.Count(), 2);
    QCOMPARE(recordset.Params.At(0).Index, 5);
    QCOMPARE(recordset.Params.At(0).Kind, int(COdbcParam::KindDouble));
    QCOMPARE(recordset.Params.At(1).Kind, int(COdbcParam::KindText));

    // Too long for the record: refused, the value set before is kept.
    QVERIFY(!db.SetParamString(&recordset, 0, LongText(COdbcParam::MaxTextLength + 1), error));
    QCOMPARE(error, QStringLiteral("The text of parameter 0 is too long: 1024 characters, at "
                                   "most 1023 fit"));
    QVERIFY(!db.SetParamString(&recordset, 7, LongText(5000), error));
    QCOMPARE(recordset.Params.Count(), 2);
    const COdbcParam& kept = recordset.Params.At(1);
    QCOMPARE(QString::fromUtf16(reinterpret_cast<const char16_t*>(kept.Value)),
             LongText(COdbcParam::MaxTextLength));

    for (const auto& call : std::initializer_list<CDbCall>{
             [&](COdbcDatabase&d, QString&e) { return d.Execute(&recordset, e); },
             [&](COdbcDatabase&d, QString&e) { return d.CloseCursor(&recordset, e); },
             [&](COdbcDatabase&d, QString&e) { return d.Execute(nullptr, e); },
             [&](COdbcDatabase&d, QString&e) { return d.SetParamInt(nullptr, 0, 1, e); },
             [&](COdbcDatabase&d, QString&e) {
                 QString n;
                 return d.GetParamName(nullptr, 0, n, e);
             },
         }) {
        error.clear();
        QVERIFY(!call(db, error));
        QCOMPARE(error, NotOpen);
    }
    recordset.Close(); // holds no statement: does nothing
    QCOMPARE(recordset.Params.Count(), 2);
}

// The ODBC behaviour that both drivers share, run with each fixture.
class COdbcCases : public QObject
{
    Q_OBJECT

public:
    explicit COdbcCases(COdbcFixture& fixture) : Fixture(fixture) {}

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectTwice();
    void refusedConnectLeavesDisconnected();
    void executeSqlScript();
    void executeSqlStopsAtFirstFailure();
    void statementsMatchingNoRowSucceed();
    void driverMessages();
    void truncationRecordsAreLeftOut();
    void paramNamesThroughPrepare();
    void paramsBoundInOrderOfFirstSet();
    void paramKindsRoundTrip();
    void executeReportsMissingParameter();
    void columnClasses_data();
    void columnClasses();
    void valuesReadAgainInAnyOrder();
    void longAndForeignText();
    void rowlessStatements();
    void closeTwice();
    void tablesWithoutViews();
    void transactions();
    void beginTransactionWith();
    void disconnectRollsBackOpenTransaction();
    void blobPiecesAndAppending();
    void blobOfEmptyValue();

private:
    void Run(const QString& sql);
    CRecordsetPtr Query(const QString& sql);
    int Count(const QString& table);
    COdbcDatabase& Odbc() { return static_cast<COdbcDatabase&>(*Db); }

    COdbcFixture& Fixture;
    CDatabasePtr Db;
};

void COdbcCases::initTestCase()
{
    REQUIRE_BACKEND(Fixture);
}

void COdbcCases::init()
{
    QString error;
    Db = Fixture.Open(error);
    QVERIFY2(Db, qPrintable(error));
}

void COdbcCases::cleanup()
{
    Db.reset();
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
    const bool ok = Db->OpenRecordset(sql, error, raw);
    CRecordsetPtr recordset(raw);
    if (!ok)
        qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return recordset;
}

int COdbcCases::Count(const QString& table)
{
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    if (!recordset || !recordset->MoveNext())
        return -1;
    return recordset->GetInt(0);
}

void COdbcCases::connectTwice()
{
    QString error;
    QVERIFY(!Db->Connect(Fixture.FreshDatabase(), {}, {}, error));
    QCOMPARE(error, QStringLiteral("cannot connect to a database: already connected"));
    QVERIFY(Db->IsConnected());
    Run(QStringLiteral("CREATE TABLE still_usable (a INTEGER)"));

    // Once disconnected, the same object connects again.
    QVERIFY(Db->Disconnect());
    QVERIFY(Db->Disconnect());
    QVERIFY(!Db->IsConnected());
    QVERIFY2(Db->Connect(Fixture.FreshDatabase(), {}, {}, error), qPrintable(error));
    QVERIFY(Db->IsConnected());
}

void COdbcCases::refusedConnectLeavesDisconnected()
{
    COdbcDatabase db;
    QString error;
    QVERIFY(!db.Connect(Fixture.RefusedConnectString(), {}, {}, error));
    QVERIFY(!db.IsConnected());
    QVERIFY(!error.isEmpty());
    QVERIFY(error != NoText);
    qInfo("%s", qPrintable(error));

    QVERIFY(!db.ExecuteSQL(QStringLiteral("SELECT 1"), error));
    QCOMPARE(error, NoStatement);
    QVERIFY(!db.BeginTransaction(error));
    QCOMPARE(error, NotConnected);
    QVERIFY2(db.Connect(Fixture.FreshDatabase(), {}, {}, error), qPrintable(error));
}

void COdbcCases::executeSqlScript()
{
    QString error = QStringLiteral("untouched");
    QVERIFY2(
        Db->ExecuteSQL(QStringLiteral("create table a(x int); ; insert into a values(1);"), error),
        qPrintable(error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QCOMPARE(Count(QStringLiteral("a")), 1);

    // Pieces are trimmed; a ';' between quotation marks does not split; rows
    // of a query are dropped.
    Run(QStringLiteral("\n  CREATE TABLE \"odd;name\" (x INTEGER)  \n;\t\nSELECT x FROM a;"));
    Run(QStringLiteral("INSERT INTO \"odd;name\" VALUES (7)"));
    QCOMPARE(Count(QStringLiteral("\"odd;name\"")), 1);
}

void COdbcCases::executeSqlStopsAtFirstFailure()
{
    Run(QStringLiteral("CREATE TABLE a (x INTEGER)"));
    QString error;
    QVERIFY(!Db->ExecuteSQL(QStringLiteral("INSERT INTO a VALUES (1); "
                                           "INSERT INTO no_such_table VALUES (2); "
                                           "INSERT INTO a VALUES (3)"),
                            error));
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT x FROM a"));
    QVERIFY(rows);
    QVERIFY(rows->MoveNext());
    QCOMPARE(rows->GetInt(0), 1);
    QVERIFY(!rows->MoveNext());
}

void COdbcCases::statementsMatchingNoRowSucceed()
{
    Run(QStringLiteral("CREATE TABLE a (x INTEGER); CREATE TABLE b (id INTEGER, data %1)")
            .arg(Fixture.BlobType()));
    QString error = QStringLiteral("untouched");
    QVERIFY2(
        Db->ExecuteSQL(QStringLiteral("DELETE FROM a; UPDATE a SET x = 1 WHERE x = 99"), error),
        qPrintable(error));
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->OpenRecordset(QStringLiteral("DELETE FROM a"), error, raw), qPrintable(error));
    CRecordsetPtr deleted(raw);
    QVERIFY(!deleted->MoveNext());

    raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("UPDATE a SET x = ? WHERE x = 99"), error, raw),
             qPrintable(error));
    CRecordsetPtr update(raw);
    QVERIFY(Db->SetParamInt(raw, 0, 5, error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QVERIFY2(
        Db->ExecuteWithBlob(QStringLiteral("UPDATE b SET data = ? WHERE id = 42"), "ab", 2, error),
        qPrintable(error));
    QCOMPARE(error, QStringLiteral("untouched"));
}

void COdbcCases::driverMessages()
{
    QString error;
    CAbstractRecordset* raw = reinterpret_cast<CAbstractRecordset*>(this);
    QVERIFY(!Db->OpenRecordset(QStringLiteral("SELECT x FROM no_such_table"), error, raw));
    QCOMPARE(raw, nullptr);
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));
    QVERIFY(!error.startsWith(QStringLiteral("; ")));

    // A prepared statement that cannot run reports the driver's text at the
    // latest when executed.
    error.clear();
    raw = nullptr;
    if (Db->Prepare(QStringLiteral("SELECT x FROM no_such_table"), error, raw)) {
        CRecordsetPtr statement(raw);
        QVERIFY(!Db->Execute(raw, error));
    }
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));

    error.clear();
    QVERIFY(!Db->ExecuteWithBlob(QStringLiteral("INSERT INTO no_such_table VALUES (?)"), "x", 1,
                                 error));
    QVERIFY(!error.isEmpty());
}

void COdbcCases::truncationRecordsAreLeftOut()
{
    // A read into a buffer that is too small leaves only a record of state
    // 01004 on the statement.
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT 'abcdefgh' AS t"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    auto* odbc = static_cast<COdbcRecordset*>(recordset.get());
    char small[4];
    SQLLEN indicator = 0;
    QCOMPARE(SQLGetData(odbc->Statement(), 1, SQL_C_CHAR, small, sizeof small, &indicator),
             SQLRETURN(SQL_SUCCESS_WITH_INFO));
    SQLCHAR state[6] = {};
    SQLCHAR message[1000] = {};
    QCOMPARE(SQLGetDiagRec(SQL_HANDLE_STMT, odbc->Statement(), 1, state, nullptr, message,
                           sizeof message, nullptr),
             SQLRETURN(SQL_SUCCESS));
    QCOMPARE(reinterpret_cast<const char*>(state), "01004");
    QCOMPARE(Odbc().GetDiagnosticText(odbc->Statement()), NoText);
}

void COdbcCases::paramNamesThroughPrepare()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(20))"));
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("INSERT INTO t VALUES (?, ?)"), error, raw),
             qPrintable(error));
    CRecordsetPtr statement(raw);
    int count = 0;
    QVERIFY(Db->GetParamCount(raw, count, error));
    QCOMPARE(count, 2);
    QString name;
    QVERIFY(Db->GetParamName(raw, 0, name, error));
    QCOMPARE(name, QStringLiteral(","));
    QVERIFY(Db->GetParamName(raw, 1, name, error));
    QCOMPARE(name, QStringLiteral(")"));

    statement->Close();
    QVERIFY(Db->GetParamCount(raw, count, error));
    QCOMPARE(count, 0);
}

void COdbcCases::paramsBoundInOrderOfFirstSet()
{
    Run(QStringLiteral("CREATE TABLE p (a INTEGER, b VARCHAR(20))"));
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("INSERT INTO p (a, b) VALUES (?, ?)"), error, raw),
             qPrintable(error));
    CRecordsetPtr insert(raw);
    // Index 5 was set first, so it is parameter 1; setting it again
    // replaces its value in place.
    QVERIFY(Db->SetParamInt(raw, 5, 10, error));
    QVERIFY(Db->SetParamString(raw, 0, QStringLiteral("zero"), error));
    QVERIFY(Db->SetParamInt(raw, 5, 11, error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    // The values stay bound: the statement runs again as it is.
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));

    CRecordsetPtr rows = Query(QStringLiteral("SELECT a, b FROM p"));
    QVERIFY(rows);
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
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("INSERT INTO k VALUES (?, ?, ?, ?)"), error, raw),
             qPrintable(error));
    CRecordsetPtr insert(raw);
    const QString longest = LongText(COdbcParam::MaxTextLength);
    QVERIFY(Db->SetParamInt(raw, 0, -2147483647 - 1, error));
    QVERIFY(Db->SetParamInt64(raw, 1, 9000000000123LL, error));
    QVERIFY(Db->SetParamDouble(raw, 2, -2.5e-3, error));
    QVERIFY(Db->SetParamString(raw, 3, longest, error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));

    // A text too long for the record is refused; the one set before is what runs.
    QVERIFY(!Db->SetParamString(raw, 3, longest + u'x', error));
    QVERIFY(Db->SetParamInt(raw, 0, 2, error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QVERIFY(Db->SetParamString(raw, 3, QString(), error));
    QVERIFY(Db->SetParamInt(raw, 0, 3, error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));

    CRecordsetPtr rows = Query(QStringLiteral("SELECT i, l, d, s FROM k ORDER BY i"));
    QVERIFY(rows);
    QVERIFY(rows->MoveNext());
    QCOMPARE(rows->GetInt(0), -2147483647 - 1);
    QCOMPARE(rows->GetString(1), QStringLiteral("9000000000123"));
    QCOMPARE(rows->GetDouble(2), -2.5e-3);
    QCOMPARE(rows->GetString(3), longest);
    QVERIFY(rows->MoveNext());
    QCOMPARE(rows->GetInt(0), 2);
    QCOMPARE(rows->GetString(3), longest);
    QVERIFY(rows->MoveNext());
    QCOMPARE(rows->GetInt(0), 3);
    QCOMPARE(rows->GetString(3), QString());
    QVERIFY(!rows->MoveNext());
}

void COdbcCases::executeReportsMissingParameter()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER, b INTEGER)"));
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("SELECT a FROM t WHERE a = ? AND b = ?"), error, raw),
             qPrintable(error));
    CRecordsetPtr statement(raw);
    QVERIFY(Db->SetParamInt(raw, 0, 1, error));
    error.clear();
    QVERIFY(!Db->Execute(raw, error));
    QVERIFY(!error.isEmpty());
    QVERIFY(error != NoText);

    // Once the second value is set, the same statement runs.
    QVERIFY(Db->SetParamInt(raw, 1, 1, error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QVERIFY(!statement->MoveNext());
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
                             << "42"
                             << "42" << 42 << 42.0 << "i";
    QTest::newRow("negative integer") << "INTEGER"
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

void COdbcCases::columnClasses()
{
    QFETCH(QString, type);
    QFETCH(QString, literal);
    QFETCH(QString, text);
    QFETCH(int, integer);
    QFETCH(double, real);
    QFETCH(QString, cls);
    Run(QStringLiteral("CREATE TABLE v (k INTEGER, x %1)").arg(type));
    Run(QStringLiteral("INSERT INTO v VALUES (1, %1)").arg(literal));
    Run(QStringLiteral("INSERT INTO v VALUES (2, NULL)"));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT x FROM v ORDER BY k"));
    QVERIFY(rows);
    QCOMPARE(rows->GetColumnCount(), 1);
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
    Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(20), c DOUBLE PRECISION)"));
    Run(QStringLiteral("INSERT INTO t VALUES (5, 'five', 5.5)"));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT a, b, c FROM t"));
    QVERIFY(rows);
    QVERIFY(rows->MoveNext());
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(rows->GetDouble(2), 5.5);
        QCOMPARE(rows->GetString(1), QStringLiteral("five"));
        QCOMPARE(rows->GetString(0), QStringLiteral("5"));
        QCOMPARE(rows->GetInt(0), 5);
        QCOMPARE(rows->GetString(2), QStringLiteral("5.500000"));
        QVERIFY(!rows->IsNull(1));
        QCOMPARE(rows->GetString(1), QStringLiteral("five"));
    }
}

void COdbcCases::longAndForeignText()
{
    Run(QStringLiteral("CREATE TABLE t (k INTEGER, s TEXT)"));
    QStringList values{QString::fromUtf8("Привет, мир €"), LongText(10000), LongText(1023),
                       LongText(1024), QStringLiteral("x")};
    if (Fixture.KeepsSupplementaryCharacters())
        values.append(QString::fromUtf8("𝄞 clef, 😀 face"));
    for (int k = 0; k < values.size(); ++k) {
        QString quoted = values[k];
        quoted.replace(u'\'', QStringLiteral("''"));
        Run(QStringLiteral("INSERT INTO t VALUES (%1, '%2')").arg(k).arg(quoted));
    }
    CRecordsetPtr rows = Query(QStringLiteral("SELECT s, k FROM t ORDER BY k"));
    QVERIFY(rows);
    for (const QString& value : values) {
        QVERIFY(rows->MoveNext());
        QCOMPARE(rows->GetString(0).size(), value.size());
        QCOMPARE(rows->GetString(0), value);
    }
    QVERIFY(!rows->MoveNext());

    // A bound text parameter finds the row, whatever its characters.
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("SELECT k FROM t WHERE s = ?"), error, raw),
             qPrintable(error));
    CRecordsetPtr byText(raw);
    QVERIFY(Db->SetParamString(raw, 0, values[0], error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QVERIFY(byText->MoveNext());
    QCOMPARE(byText->GetInt(0), 0);
}

void COdbcCases::rowlessStatements()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    CRecordsetPtr none = Query(QStringLiteral("SELECT a FROM t"));
    QVERIFY(none);
    QCOMPARE(none->GetColumnCount(), 1);
    QVERIFY(!none->MoveNext());
    QCOMPARE(none->GetString(0), QString());
    QVERIFY(!none->IsNull(0));

    CRecordsetPtr insert = Query(QStringLiteral("INSERT INTO t VALUES (1)"));
    QVERIFY(insert);
    QVERIFY(insert->IsOpen());
    QCOMPARE(insert->GetColumnCount(), 0);
    QCOMPARE(insert->GetColumnName(0), QString());
    QVERIFY(!insert->MoveNext());
    QCOMPARE(Count(QStringLiteral("t")), 1);
}

void COdbcCases::closeTwice()
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("SELECT ?"), error, raw), qPrintable(error));
    CRecordsetPtr statement(raw);
    QVERIFY(Db->SetParamInt(raw, 0, 1, error));
    QVERIFY(statement->Close());
    QVERIFY(!statement->IsOpen());
    auto* odbc = static_cast<COdbcRecordset*>(raw);
    QCOMPARE(odbc->Params.Count(), 0);
    QVERIFY(odbc->ParamNames.isEmpty());
    QVERIFY(statement->Close());
    error.clear();
    QVERIFY(!Db->Execute(raw, error));
    QCOMPARE(error, NotOpen);
    QVERIFY(!Db->CloseCursor(raw, error));
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
    QCOMPARE(error, QStringLiteral("We already have an open transaction"));
    Run(QStringLiteral("INSERT INTO t VALUES (1)"));
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 0);

    // Ended, so it can be begun again.
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    Run(QStringLiteral("INSERT INTO t VALUES (2)"));
    QVERIFY2(Db->CommitTransaction(error), qPrintable(error));
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    QVERIFY2(Db->EndTransaction(true, error), qPrintable(error));

    // Auto-commit is on again: a rollback takes back nothing.
    Run(QStringLiteral("INSERT INTO t VALUES (3)"));
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 2);
}

void COdbcCases::beginTransactionWith()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    QString error;
    QVERIFY2(Db->BeginTransactionWith(QStringLiteral("INSERT INTO t VALUES (1); INSERT INTO t "
                                                     "VALUES (2)"),
                                      error),
             qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 2);
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 0);

    QVERIFY2(Db->BeginTransactionWith(QString(), error), qPrintable(error)); // runs nothing
    QVERIFY(!Db->BeginTransaction(error));
    QVERIFY2(Db->CommitTransaction(error), qPrintable(error));

    // A failing script leaves the transaction open for the caller.
    QVERIFY(!Db->BeginTransactionWith(QStringLiteral("INSERT INTO t VALUES (1); "
                                                     "INSERT INTO no_such_table VALUES (2)"),
                                      error));
    QVERIFY2(error.contains(Fixture.MissingTableMessage()), qPrintable(error));
    QVERIFY(!Db->BeginTransaction(error));
    QCOMPARE(error, QStringLiteral("We already have an open transaction"));
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(Count(QStringLiteral("t")), 0);
}

void COdbcCases::disconnectRollsBackOpenTransaction()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    const QString where = Fixture.FreshDatabase(); // the next test's, reused here
    CDatabasePtr other(new COdbcDatabase);
    QString error;
    QVERIFY2(other->Connect(where, {}, {}, error), qPrintable(error));
    QVERIFY2(other->ExecuteSQL(QStringLiteral("CREATE TABLE IF NOT EXISTS u (a INTEGER)"), error),
             qPrintable(error));
    QVERIFY2(other->BeginTransaction(error), qPrintable(error));
    QVERIFY2(other->ExecuteSQL(QStringLiteral("INSERT INTO u VALUES (1)"), error),
             qPrintable(error));
    QVERIFY(other->Disconnect());
    QVERIFY(!other->IsConnected());

    QVERIFY2(other->Connect(where, {}, {}, error), qPrintable(error));
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(other->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM u"), error, raw),
             qPrintable(error));
    CRecordsetPtr count(raw);
    QVERIFY(count->MoveNext());
    QCOMPARE(count->GetInt(0), 0);
    count.reset();
    QVERIFY(other->ExecuteSQL(QStringLiteral("DROP TABLE u"), error));
}

void COdbcCases::blobPiecesAndAppending()
{
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    QByteArray bytes(3000, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i % 3 ? i % 256 : 0);
    QString error;
    QVERIFY2(Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (id, data) VALUES (1, ?)"),
                                 bytes.constData(), int(bytes.size()), error),
             qPrintable(error));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT data, id FROM b"));
    QVERIFY(rows);
    QVERIFY(rows->MoveNext());

    // Appended to what the caller already holds.
    auto* data = static_cast<unsigned char*>(std::malloc(2));
    std::memcpy(data, "AB", 2);
    int size = 2;
    QVERIFY(rows->GetBlob(0, data, size));
    QCOMPARE(size, 2 + int(bytes.size()));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), size), QByteArray("AB") + bytes);
    std::free(data);

    // Read again from the same row, and once more by name.
    data = nullptr;
    size = 0;
    QVERIFY(rows->GetBlob(QStringLiteral("data"), data, size));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), size), bytes);
    std::free(data);
    QVERIFY(!rows->IsNull(0));
}

void COdbcCases::blobOfEmptyValue()
{
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    QString error;
    QVERIFY2(
        Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (id, data) VALUES (1, ?)"), "", 0, error),
        qPrintable(error));
    CRecordsetPtr rows = Query(QStringLiteral("SELECT data FROM b"));
    QVERIFY(rows);
    QVERIFY(rows->MoveNext());
    unsigned char* data = nullptr;
    int size = 0;
    QVERIFY(rows->GetBlob(0, data, size));
    QCOMPARE(data, nullptr);
    QCOMPARE(size, 0);
    QVERIFY(!rows->IsNull(0));
    QVERIFY(!rows->MoveNext());
    QVERIFY(!rows->GetBlob(0, data, size)); // no row to read from
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("ODBCINI"))
        qputenv("ODBCINI", "/tmp/tablescope-test/odbc.ini");

    int failed = 0;
    COdbcTextCases text;
    failed += QTest::qExec(&text, argc, argv);

    CPostgresFixture postgres;
    CSQLiteOdbcFixture sqlite;
    for (COdbcFixture* fixture : std::initializer_list<COdbcFixture*>{&postgres, &sqlite}) {
        CInterfaceCases shared(*fixture);
        COdbcCases own(*fixture);
        failed += QTest::qExec(&shared, argc, argv);
        failed += QTest::qExec(&own, argc, argv);
    }
    return failed;
}

#include "tst_Odbc.moc"
