// The FireBird backend against the real FireBird 3 server: the shared
// interface cases, then what is particular to FireBird. Every test gets a
// database of its own, created on the server through "localhost:" and a
// path, and dropped again afterwards.

#include "database/FireBirdDatabase.h"
#include "database/FireBirdRecordset.h"
#include "database/FireBirdServer.h"
#include "database/InterfaceCases.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ibase.h>
#include <memory>

class CFireBirdFixture : public CBackendFixture
{
public:
    ~CFireBirdFixture() override { DropCreated(); }

    QString Name() const override { return QStringLiteral("FireBird"); }

    QString Unavailable() override
    {
        if (!Checked) {
            Checked = true;
            QString error;
            const QString location = CreateDatabase(error);
            if (location.isEmpty())
                Why = QStringLiteral("cannot create a database on the server at localhost (is "
                                     "it running?): ") +
                      error;
            else
                Server_.Drop(location, error);
        }
        return Why;
    }

    CDatabasePtr Open(QString& error) override
    {
        DropCreated(); // the previous test's connection has gone by now
        const QString location = CreateDatabase(error);
        if (location.isEmpty())
            return nullptr;
        Created.append(location);
        CDatabasePtr database(new CFireBirdDatabase);
        if (!database->Connect(location, Server_.User(), Server_.Password(), error))
            return nullptr;
        return database;
    }

    int BlobExtraBytes() const override { return 1; }
    // Straight through the client library, apart from the interface under test.
    bool RunQuoted(CAbstractDatabase&, const QString& sql, QString& error) override
    {
        return !Created.isEmpty() && Server_.Run(Created.last(), sql, error);
    }

    // A new empty database; its "localhost:" location, or empty with error set.
    QString CreateDatabase(QString& error)
    {
        const QString location = Server_.NewLocation(QStringLiteral("tst_firebird"));
        return Server_.Create(location, error) ? location : QString();
    }

    CFireBirdServer& Server() { return Server_; }

private:
    void DropCreated()
    {
        for (const QString& location : std::as_const(Created)) {
            QString error;
            if (!Server_.Drop(location, error))
                qWarning("Could not drop %s: %s", qPrintable(location), qPrintable(error));
        }
        Created.clear();
    }

    CFireBirdServer Server_;
    QStringList Created;
    QString Why;
    bool Checked = false;
};

namespace {

const QString TableUnknown = QStringLiteral(
    "Dynamic SQL Error; SQL error code = -204; Table unknown; NO_SUCH_TABLE; At line 1, column 13");
const QString InternalBlobError =
    QStringLiteral("Внутренняя ошибка программы (FireBird): количество формальных параметров "
                   "SQL-запроса больше количества фактических");

CRecordsetPtr Prepared(CFireBirdDatabase& db, const QString& sql)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    if (!db.Prepare(sql, error, raw))
        qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return CRecordsetPtr(raw);
}

QByteArray Pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 % 256);
    return bytes;
}

} // namespace

class CFireBirdTests : public QObject
{
    Q_OBJECT

public:
    explicit CFireBirdTests(CFireBirdFixture& fixture) : Fixture(fixture) {}

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fixedMessages_data();
    void fixedMessages();
    void serverMessagesAreJoined_data();
    void serverMessagesAreJoined();
    void statusTextIsBounded();
    void connectFailures();
    void scriptStopsAtFailingStatement_data();
    void scriptStopsAtFailingStatement();
    void emptyScriptCommits_data();
    void emptyScriptCommits();
    void quotedSemicolonsDoNotSplit();
    void scriptRunsQueriesAndDropsTheirRows();
    void failedCommitIsReported();
    void disconnectRefusesWhileTransactionOpen();
    void beginTransactionWithReadsCommittedChanges();
    void destructorRollsBackAndDetaches();
    void conversions_data();
    void conversions();
    void dialect1ReadsDoubleQuotesAsText();
    void emptyResultStillDescribesColumns();
    void byNameGettersMatchColumnThenAlias();
    void closeCommitsOwnedTransactionOnce();
    void failedPrepareOrExecute();
    void parameters();
    void executeWithBlob_data();
    void executeWithBlob();
    void executeWithBlobOfNoBytes();
    void blobWithWrongMarkerCountLeavesNothing();
    void blobInOneLongSegment();
    void tableNamesLoseTrailingBlanks();
    void columnNamesInADialect1Database();
    void statementsWithoutCursorEndCleanly();

private:
    bool Run(const QString& sql);
    bool RunDialect3(const QString& sql);
    CRecordsetPtr Query(const QString& sql);
    int CountRows(CFireBirdDatabase& db, const QString& table);
    int CountRows(const QString& table) { return CountRows(*Db, table); }
    // Whether the connection holds a transaction; leaves it as it was.
    bool TransactionOpen();
    std::unique_ptr<CFireBirdDatabase> Connect();

    CFireBirdFixture& Fixture;
    QString Location; // this test's database
    std::unique_ptr<CFireBirdDatabase> Db;
};

void CFireBirdTests::initTestCase()
{
    REQUIRE_BACKEND(Fixture);
}

std::unique_ptr<CFireBirdDatabase> CFireBirdTests::Connect()
{
    auto database = std::make_unique<CFireBirdDatabase>();
    QString error;
    if (!database->Connect(Location, Fixture.Server().User(), Fixture.Server().Password(), error))
        qWarning("%s", qPrintable(error));
    return database;
}

void CFireBirdTests::init()
{
    QString error;
    Location = Fixture.CreateDatabase(error);
    QVERIFY2(!Location.isEmpty(), qPrintable(error));
    Db = Connect();
    QVERIFY(Db->IsConnected());
}

void CFireBirdTests::cleanup()
{
    Db.reset();
    // Fails when a connection of the test is still attached.
    QString error;
    QVERIFY2(Location.isEmpty() || Fixture.Server().Drop(Location, error), qPrintable(error));
    Location.clear();
}

bool CFireBirdTests::Run(const QString& sql)
{
    QString error;
    if (Db->ExecuteSQL(sql, error))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return false;
}

bool CFireBirdTests::RunDialect3(const QString& sql)
{
    QString error;
    if (Fixture.Server().Run(Location, sql, error))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return false;
}

CRecordsetPtr CFireBirdTests::Query(const QString& sql)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool ok = Db->OpenRecordset(sql, error, raw);
    CRecordsetPtr recordset(raw);
    if (ok)
        return recordset;
    qWarning("%s: %s", qPrintable(sql), qPrintable(error));
    return nullptr;
}

int CFireBirdTests::CountRows(CFireBirdDatabase& db, const QString& table)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool ok = db.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM ") + table, error, raw);
    CRecordsetPtr recordset(raw);
    return ok && recordset->MoveNext() ? recordset->GetInt(0) : -1;
}

bool CFireBirdTests::TransactionOpen()
{
    QString error;
    if (Db->BeginTransaction(error))
        return !Db->RollbackTransaction(error);
    return error == QStringLiteral("Transaction already started");
}

// Fixed messages.

using CCall = std::function<bool(CFireBirdDatabase&, QString& error)>;
Q_DECLARE_METATYPE(CCall)

void CFireBirdTests::fixedMessages_data()
{
    QTest::addColumn<CCall>("call");
    QTest::addColumn<QString>("message");

    const QString noParameters =
        QStringLiteral("The query was not prepared or does not require any parameters");
    const QString notPrepared = QStringLiteral("The statement was not prepared on this connection");
    const QString twoParameters = QStringLiteral("SELECT a FROM t WHERE a = ? AND c = ?");
    using CSetter = std::function<bool(CFireBirdDatabase&, CAbstractRecordset*, int, QString&)>;
    const QList<std::pair<const char*, CSetter>> setters{
        {"double", [](CFireBirdDatabase& db, CAbstractRecordset* r, int i,
                      QString& e) { return db.SetParamDouble(r, i, 1.5, e); }},
        {"string", [](CFireBirdDatabase& db, CAbstractRecordset* r, int i,
                      QString& e) { return db.SetParamString(r, i, QStringLiteral("x"), e); }},
        {"int", [](CFireBirdDatabase& db, CAbstractRecordset* r, int i,
                   QString& e) { return db.SetParamInt(r, i, 1, e); }},
    };
    for (const auto& [kind, set] : setters) {
        QTest::addRow("%s into a query without markers", kind)
            << CCall([set](CFireBirdDatabase& db, QString& e) {
                   CRecordsetPtr r = Prepared(db, QStringLiteral("SELECT a FROM t"));
                   return set(db, r.get(), 0, e);
               })
            << noParameters;
        QTest::addRow("%s into no statement", kind)
            << CCall([set](CFireBirdDatabase& db, QString& e) { return set(db, nullptr, 0, e); })
            << noParameters;
        QTest::addRow("%s into a closed statement", kind)
            << CCall([set, twoParameters](CFireBirdDatabase& db, QString& e) {
                   CRecordsetPtr r = Prepared(db, twoParameters);
                   r->Close();
                   return set(db, r.get(), 0, e);
               })
            << noParameters;
        for (int index : {2, 3, -1})
            QTest::addRow("%s at index %d of two", kind, index)
                << CCall([set, index, twoParameters](CFireBirdDatabase& db, QString& e) {
                       CRecordsetPtr r = Prepared(db, twoParameters);
                       return set(db, r.get(), index, e);
                   })
                << "Parameter index must be between 0 and 1";
    }

    // Setters whose value does not fit the parameter's described type.
    const QList<std::tuple<const char*, const char*, int, const char*>> misfits{
        {"double into INTEGER", "a", 0, "Parameter 0 is not of type DOUBLE PRECISION"},
        {"double into VARCHAR", "b", 0, "Parameter 0 is not of type DOUBLE PRECISION"},
        {"int into DOUBLE PRECISION", "c", 2, "Parameter 0 is not of type INTEGER"},
        {"int into VARCHAR", "b", 2, "Parameter 0 is not of type INTEGER"},
        {"int into NUMERIC(9,2)", "n", 2, "Parameter 0 is not of type INTEGER"},
        {"int into SMALLINT", "s", 2, "Parameter 0 is not of type INTEGER"},
    };
    for (const auto& [name, column, setter, message] : misfits)
        QTest::newRow(name) << CCall([column, setter, setters](CFireBirdDatabase& db, QString& e) {
            CRecordsetPtr r =
                Prepared(db, QStringLiteral("SELECT a FROM t WHERE %1 = ?").arg(column));
            return setters[setter].second(db, r.get(), 0, e);
        }) << message;

    QTest::newRow("text over 32767 bytes") << CCall([](CFireBirdDatabase& db, QString& e) {
        CRecordsetPtr r = Prepared(db, QStringLiteral("SELECT a FROM t WHERE b = ?"));
        return db.SetParamString(r.get(), 0, QString(16384, QChar(0x0436)), e); // 2 bytes each
    }) << "The text for parameter 0 is longer than 32767 bytes";
    QTest::newRow("execute before a text parameter is set") << CCall([](CFireBirdDatabase& db,
                                                                        QString& e) {
        CRecordsetPtr r = Prepared(db, QStringLiteral("SELECT a FROM t WHERE a = ? AND b = ?"));
        return db.SetParamInt(r.get(), 0, 1, e) && db.Execute(r.get(), e);
    }) << "Parameter 1 has no value";
    QTest::newRow("64-bit parameter") << CCall([twoParameters](CFireBirdDatabase& db, QString& e) {
        CRecordsetPtr r = Prepared(db, twoParameters);
        return db.SetParamInt64(r.get(), 0, 1, e);
    }) << "64-bit integer parameters are not supported in FireBird";
    QTest::newRow("index of the unnamed parameter")
        << CCall([twoParameters](CFireBirdDatabase& db, QString& e) {
               CRecordsetPtr r = Prepared(db, twoParameters);
               int index = 0;
               return db.GetParamIndex(r.get(), QString(), index, e);
           })
        << "Cannot find the index of the unnamed parameter when searching by name";
    QTest::newRow("index of a name that no parameter has")
        << CCall([twoParameters](CFireBirdDatabase& db, QString& e) {
               CRecordsetPtr r = Prepared(db, twoParameters);
               int index = 0;
               return db.GetParamIndex(r.get(), QStringLiteral("a"), index, e);
           })
        << "Not found";
    for (int index : {2, -1})
        QTest::addRow("name of parameter %d of two", index)
            << CCall([index, twoParameters](CFireBirdDatabase& db, QString& e) {
                   CRecordsetPtr r = Prepared(db, twoParameters);
                   QString name;
                   return db.GetParamName(r.get(), index, name, e);
               })
            << "Not found";
    QTest::newRow("name of a parameter of a query without markers")
        << CCall([](CFireBirdDatabase& db, QString& e) {
               CRecordsetPtr r = Prepared(db, QStringLiteral("SELECT a FROM t"));
               QString name;
               return db.GetParamName(r.get(), 0, name, e);
           })
        << "Not found";
    QTest::newRow("execute no statement")
        << CCall([](CFireBirdDatabase& db, QString& e) { return db.Execute(nullptr, e); })
        << notPrepared;
    QTest::newRow("close the cursor of no statement")
        << CCall([](CFireBirdDatabase& db, QString& e) { return db.CloseCursor(nullptr, e); })
        << notPrepared;
    QTest::newRow("execute a statement of another connection")
        << CCall([this](CFireBirdDatabase& db, QString& e) {
               std::unique_ptr<CFireBirdDatabase> other = Connect();
               CRecordsetPtr r = Prepared(*other, QStringLiteral("SELECT a FROM t"));
               const bool ok = db.Execute(r.get(), e);
               r.reset();
               return ok;
           })
        << notPrepared;
    QTest::newRow("begin twice") << CCall([](CFireBirdDatabase& db, QString& e) {
        return db.BeginTransaction(e) && db.BeginTransaction(e);
    }) << "Transaction already started";
    QTest::newRow("begin with a statement while a transaction is open")
        << CCall([](CFireBirdDatabase& db, QString& e) {
               return db.BeginTransaction(e) && db.BeginTransactionWith(QString(), e);
           })
        << "We already have an active database transaction";
    QTest::newRow("BLOB of no data") << CCall([](CFireBirdDatabase& db, QString& e) {
        return db.ExecuteWithBlob(QStringLiteral("INSERT INTO t (b) VALUES (?)"), nullptr, 5, e);
    }) << "No BLOB data was given";
    QTest::newRow("BLOB when not connected")
        << CCall([](CFireBirdDatabase&, QString& e) {
               return CFireBirdDatabase().ExecuteWithBlob(
                   QStringLiteral("INSERT INTO t (b) VALUES (?)"), "x", 1, e);
           })
        << QString::fromUtf8("Не удалось создать SQL statement: invalid database handle (no "
                             "active connection)");
    QTest::newRow("connect when connected") << CCall([this](CFireBirdDatabase& db, QString& e) {
        return db.Connect(Location, Fixture.Server().User(), Fixture.Server().Password(), e);
    }) << "Already connected to a database";
    for (const auto& [userBytes, passwordBytes] :
         {std::pair{251, 1}, std::pair{1, 251}, std::pair{126, 126}})
        QTest::addRow("user of %d and password of %d bytes", userBytes, passwordBytes)
            << CCall([this, userBytes, passwordBytes](CFireBirdDatabase&, QString& e) {
                   CFireBirdDatabase other;
                   const bool ok = other.Connect(Location, QString(userBytes, u'u'),
                                                 QString(passwordBytes, u'p'), e);
                   return ok || other.IsConnected();
               })
            << "The user name and password are too long: together they may take at most 251 bytes";
}

void CFireBirdTests::fixedMessages()
{
    QFETCH(CCall, call);
    QFETCH(QString, message);
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(200), c DOUBLE PRECISION, "
                               "n NUMERIC(9,2), s SMALLINT)")));
    QString error;
    QVERIFY(!call(*Db, error));
    QCOMPARE(error, message);
}

void CFireBirdTests::serverMessagesAreJoined_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("query");
    QTest::addColumn<QString>("message");
    QTest::newRow("script") << "INSERT INTO no_such_table VALUES (1)" << false << TableUnknown;
    QTest::newRow("query") << "SELEC 1 FROM RDB$DATABASE" << true
                           << "Dynamic SQL Error; SQL error code = -104; Token unknown - line 1, "
                              "column 1; SELEC";
}

void CFireBirdTests::serverMessagesAreJoined()
{
    QFETCH(QString, sql);
    QFETCH(bool, query);
    QFETCH(QString, message);
    QString error;
    if (query) {
        CAbstractRecordset* raw = nullptr;
        QVERIFY(!Db->OpenRecordset(sql, error, raw));
        QCOMPARE(raw, nullptr);
    } else {
        QVERIFY(!Db->ExecuteSQL(sql, error));
    }
    QCOMPARE(error, message);
    QVERIFY(!TransactionOpen());
}

void CFireBirdTests::statusTextIsBounded()
{
    const QByteArray longText(1000, 'x');
    const char* second = "second";
    const ISC_STATUS two[] = {
        isc_arg_gds, isc_random, isc_arg_string, reinterpret_cast<ISC_STATUS>(longText.constData()),
        isc_arg_gds, isc_random, isc_arg_string, reinterpret_cast<ISC_STATUS>(second),
        isc_arg_end};
    const QString text = Db->GetStatusText(two);
    QVERIFY(text.endsWith(QStringLiteral("; second")));
    // The long message is cut to fit the buffer, and the next one follows.
    const QString first = text.left(text.size() - int(strlen("; second")));
    QVERIFY2(first.size() <= 255, qPrintable(QString::number(first.size())));
    QVERIFY(first.startsWith(QString(200, u'x')));

    for (const ISC_STATUS none : {ISC_STATUS(isc_arg_gds), ISC_STATUS(isc_arg_end)}) {
        const ISC_STATUS vector[] = {none, 0, isc_arg_end};
        QCOMPARE(Db->GetStatusText(vector), QString());
    }
    const char* single = "x";
    const ISC_STATUS one[] = {isc_arg_gds, isc_random, isc_arg_string,
                              reinterpret_cast<ISC_STATUS>(single), isc_arg_end};
    QCOMPARE(Db->GetStatusText(one), QStringLiteral("x"));
}

void CFireBirdTests::connectFailures()
{
    CFireBirdDatabase db;
    QString error;
    QVERIFY(!db.Connect(Location, Fixture.Server().User(),
                        Fixture.Server().Password() + QStringLiteral("wrong"), error));
    QCOMPARE(error, QStringLiteral("Your user name and password are not defined. Ask your "
                                   "database administrator to set up a Firebird login."));
    QVERIFY(!db.IsConnected());

    error.clear();
    QString missing = Location;
    missing.replace(QStringLiteral(".fdb"), QStringLiteral("_missing.fdb"));
    QVERIFY(!db.Connect(missing, Fixture.Server().User(), Fixture.Server().Password(), error));
    QVERIFY2(error.startsWith(QStringLiteral("I/O error")), qPrintable(error));
    QVERIFY(!db.IsConnected());
    QVERIFY(!db.Disconnect());
    QCOMPARE(db.GetDatabaseType(), 1);

    // After the failures the object connects normally.
    QVERIFY2(db.Connect(Location, Fixture.Server().User(), Fixture.Server().Password(), error),
             qPrintable(error));
    QVERIFY(db.Disconnect());
}

// Scripts and transactions.

void CFireBirdTests::scriptStopsAtFailingStatement_data()
{
    QTest::addColumn<bool>("callersTransaction");
    QTest::newRow("no transaction open") << false;
    QTest::newRow("after BeginTransaction") << true;
}

void CFireBirdTests::scriptStopsAtFailingStatement()
{
    QFETCH(bool, callersTransaction);
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    QString error;
    if (callersTransaction)
        QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    QVERIFY(!Db->ExecuteSQL(QStringLiteral("INSERT INTO t (a) VALUES (1);\n"
                                           "INSERT INTO no_such_table VALUES (2);\n"
                                           "INSERT INTO t (a) VALUES (3)"),
                            error));
    QCOMPARE(error, TableUnknown);
    if (callersTransaction) {
        QVERIFY(TransactionOpen());
        QCOMPARE(CountRows(QStringLiteral("t")), 1); // the first ran, the third did not
        QVERIFY(!Db->Disconnect());
        QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    }
    QVERIFY(!TransactionOpen());
    QCOMPARE(CountRows(QStringLiteral("t")), 0);
}

void CFireBirdTests::emptyScriptCommits_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << " \n\t ";
    QTest::newRow("semicolons and blanks") << " ; ;\n; ";
}

void CFireBirdTests::emptyScriptCommits()
{
    QFETCH(QString, sql);
    QString error = QStringLiteral("untouched");
    QVERIFY(Db->ExecuteSQL(sql, error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QVERIFY(!TransactionOpen());
}

void CFireBirdTests::quotedSemicolonsDoNotSplit()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (b VARCHAR(40))")));
    QVERIFY(Run(QStringLiteral("INSERT INTO t (b) VALUES ('a;b')")));
    // A name in double quotes (the database's dialect 3) holding a semicolon.
    QVERIFY(Run(QStringLiteral("INSERT INTO t (b) SELECT 'c;d' AS \"x;y\" FROM RDB$DATABASE")));
    // Data and comments that look like statements are not run as such.
    QVERIFY(Run(QStringLiteral("INSERT INTO t (b) VALUES ('e; DELETE FROM t; --')")));
    QVERIFY(Run(QStringLiteral("-- it's a note; DELETE FROM t\nINSERT INTO t (b) VALUES ('f');"
                               "/* DELETE FROM t; */ INSERT INTO t (b) VALUES ('g')")));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT b FROM t"));
    QStringList values;
    while (recordset && recordset->MoveNext())
        values.append(recordset->GetString(0));
    QCOMPARE(values, (QStringList{"a;b", "c;d", "e; DELETE FROM t; --", "f", "g"}));
}

void CFireBirdTests::scriptRunsQueriesAndDropsTheirRows()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    QVERIFY(Run(QStringLiteral("INSERT INTO t (a) VALUES (1); SELECT a FROM t; "
                               "SELECT a FROM t WHERE a = 5; INSERT INTO t (a) VALUES (2)")));
    QCOMPARE(CountRows(QStringLiteral("t")), 2);
    QVERIFY(!TransactionOpen());
}

void CFireBirdTests::failedCommitIsReported()
{
    // FireBird builds an index when the transaction commits.
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    QVERIFY(Run(QStringLiteral("INSERT INTO t (a) VALUES (1); INSERT INTO t (a) VALUES (1)")));
    QString error;
    QVERIFY(!Db->ExecuteSQL(QStringLiteral("CREATE UNIQUE INDEX t_a ON t (a)"), error));
    QVERIFY2(error.startsWith(QStringLiteral("attempt to store duplicate value")),
             qPrintable(error));
    QVERIFY(!TransactionOpen());
    QVERIFY(Run(QStringLiteral("INSERT INTO t (a) VALUES (1)"))); // no index came of it
}

void CFireBirdTests::disconnectRefusesWhileTransactionOpen()
{
    QString error;
    QVERIFY(Db->BeginTransaction(error));
    QVERIFY(!Db->Disconnect());
    QVERIFY(Db->IsConnected());
    QVERIFY(Db->RollbackTransaction(error));
    QVERIFY(Db->Disconnect());
    QVERIFY(!Db->IsConnected());
    QVERIFY(!Db->Disconnect());

    // Ending a transaction that is not there is the server's to refuse.
    QVERIFY(Db->Connect(Location, Fixture.Server().User(), Fixture.Server().Password(), error));
    QVERIFY(!Db->CommitTransaction(error));
    QCOMPARE(error,
             QStringLiteral("invalid transaction handle (expecting explicit transaction start)"));
}

void CFireBirdTests::beginTransactionWithReadsCommittedChanges()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    QString error;
    QVERIFY2(Db->BeginTransactionWith(QStringLiteral("INSERT INTO t (a) VALUES (1)"), error),
             qPrintable(error));
    QVERIFY(TransactionOpen());
    QCOMPARE(CountRows(QStringLiteral("t")), 1);
    // Read committed: a change that another connection commits meanwhile is seen.
    QVERIFY(RunDialect3(QStringLiteral("INSERT INTO t (a) VALUES (2)")));
    QCOMPARE(CountRows(QStringLiteral("t")), 2);
    QVERIFY(Db->RollbackTransaction(error));
    QCOMPARE(CountRows(QStringLiteral("t")), 1);

    // A plain BeginTransaction keeps the server's default: a snapshot.
    QVERIFY(Db->BeginTransaction(error));
    QCOMPARE(CountRows(QStringLiteral("t")), 1);
    QVERIFY(RunDialect3(QStringLiteral("INSERT INTO t (a) VALUES (3)")));
    QCOMPARE(CountRows(QStringLiteral("t")), 1);
    QVERIFY(Db->CommitTransaction(error));

    QVERIFY(Db->BeginTransactionWith(QString(), error)); // runs nothing
    QVERIFY(TransactionOpen());
    QVERIFY(Db->CommitTransaction(error));

    QVERIFY(!Db->BeginTransactionWith(QStringLiteral("INSERT INTO t (a) VALUES (4); "
                                                     "INSERT INTO no_such_table VALUES (1)"),
                                      error));
    QCOMPARE(error, TableUnknown);
    QVERIFY(!TransactionOpen());
    QCOMPARE(CountRows(QStringLiteral("t")), 2);
}

void CFireBirdTests::destructorRollsBackAndDetaches()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    std::unique_ptr<CFireBirdDatabase> other = Connect();
    QString error;
    QVERIFY(other->BeginTransaction(error));
    QVERIFY(other->ExecuteSQL(QStringLiteral("INSERT INTO t (a) VALUES (1)"), error));
    CRecordsetPtr attachments =
        Query(QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0"));
    QVERIFY(attachments && attachments->MoveNext());
    QCOMPARE(attachments->GetInt(0), 2);
    attachments.reset();

    other.reset();
    QCOMPARE(CountRows(QStringLiteral("t")), 0);
    attachments =
        Query(QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0"));
    QVERIFY(attachments && attachments->MoveNext());
    QCOMPARE(attachments->GetInt(0), 1);
}

// Values.

void CFireBirdTests::conversions_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("dialect3"); // types that dialect 1 cannot name
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integer");
    QTest::addColumn<double>("real");
    QTest::addColumn<QString>("kind"); // which of IsInteger, IsFloat, IsText holds

    const auto row = [](const char* name, const char* type, bool dialect3, const QString& literal,
                        const QString& text, int integer, double real, const char* kind) {
        QTest::newRow(name) << QString::fromLatin1(type) << dialect3 << literal << text << integer
                            << real << QString::fromLatin1(kind);
    };
    row("VARCHAR", "VARCHAR(10)", false, "'abc'", "abc", 0, 0.0, "text");
    row("VARCHAR with blanks", "VARCHAR(10)", false, "' 42 '", " 42", 42, 42.0, "text");
    row("VARCHAR, number then text", "VARCHAR(20)", false, "'3.75xyz'", "3.75xyz", 3, 3.75, "text");
    row("VARCHAR, not ASCII", "VARCHAR(20)", false, QString::fromUtf8("'Привет'"),
        QString::fromUtf8("Привет"), 0, 0.0, "text");
    row("CHAR", "CHAR(31)", false, "'abc'", "abc", 0, 0.0, "text");
    row("DOUBLE PRECISION", "DOUBLE PRECISION", false, "2.25", "2.250000", 2, 2.25, "float");
    row("DOUBLE PRECISION, negative", "DOUBLE PRECISION", false, "-2.75", "-2.750000", -2, -2.75,
        "float");
    row("DOUBLE PRECISION beyond int", "DOUBLE PRECISION", false, "1e20",
        "100000000000000000000.000000", INT_MAX, 1e20, "float");
    row("FLOAT", "FLOAT", false, "1.5", "1.500000", 1, 1.5, "float");
    row("INTEGER", "INTEGER", false, "-7", "-7", -7, -7.0, "integer");
    row("SMALLINT", "SMALLINT", false, "300", "300", 300, 300.0, "integer");
    row("SMALLINT, negative", "SMALLINT", false, "-300", "-300", -300, -300.0, "integer");
    row("NUMERIC(9,2)", "NUMERIC(9,2)", false, "123.45", "123.45", 123, 123.45, "float");
    row("NUMERIC(9,2) below one", "NUMERIC(9,2)", false, "-0.05", "-0.05", 0, -0.05, "float");
    row("NUMERIC(4,2)", "NUMERIC(4,2)", false, "-12.5", "-12.50", -12, -12.5, "float");
    row("DECIMAL(9,3)", "DECIMAL(9,3)", false, "-0.005", "-0.005", 0, -0.005, "float");
    row("NUMERIC(18,2)", "NUMERIC(18,2)", true, "123.45", "123.45", 123, 123.45, "float");
    row("NUMERIC(18,4)", "NUMERIC(18,4)", true, "-98765432101234.5678", "-98765432101234.5678",
        INT_MIN, -98765432101234.5678, "float");
    row("BIGINT", "BIGINT", true, "9000000000", "9000000000", INT_MAX, 9e9, "integer");
    row("BIGINT, smallest", "BIGINT", true, "-9223372036854775808", "-9223372036854775808", INT_MIN,
        -9223372036854775808.0, "integer");
    row("TIMESTAMP", "TIMESTAMP", false, "'2024-01-02 03:04:05'", "2024-01-02 03:04:05", 0, 0.0,
        "none");
    row("TIMESTAMP with a fraction", "TIMESTAMP", false, "'2024-01-02 03:04:05.1234'",
        "2024-01-02 03:04:05.1234", 0, 0.0, "none");
    row("TIMESTAMP with half a second", "TIMESTAMP", false, "'1999-12-31 23:59:59.5'",
        "1999-12-31 23:59:59.5", 0, 0.0, "none");
    row("DATE", "DATE", true, "'2024-02-29'", "2024-02-29", 0, 0.0, "none");
    row("TIME", "TIME", true, "'13:14:15'", "13:14:15", 0, 0.0, "none");
    row("TIME with a fraction", "TIME", true, "'13:14:15.25'", "13:14:15.25", 0, 0.0, "none");
    row("BLOB text", "BLOB SUB_TYPE 1", false, "'hello'", "hello", 0, 0.0, "none");
}

void CFireBirdTests::conversions()
{
    QFETCH(QString, type);
    QFETCH(bool, dialect3);
    QFETCH(QString, literal);
    QFETCH(QString, text);
    QFETCH(int, integer);
    QFETCH(double, real);
    QFETCH(QString, kind);

    // Column n is NOT NULL, column m nullable; the second row holds NULL in m.
    const QString script = QStringLiteral("CREATE TABLE v (k INTEGER, n %1 NOT NULL, m %1);"
                                          "INSERT INTO v (k, n, m) VALUES (1, %2, %2);"
                                          "INSERT INTO v (k, n, m) VALUES (2, %2, NULL)")
                               .arg(type, literal);
    for (const QString& sql : script.split(u';'))
        QVERIFY(dialect3 ? RunDialect3(sql) : Run(sql));

    CRecordsetPtr recordset = Query(QStringLiteral("SELECT n, m FROM v ORDER BY k"));
    QVERIFY(recordset);
    QCOMPARE(recordset->GetColumnCount(), 2);
    auto* fireBird = dynamic_cast<CFireBirdRecordset*>(recordset.get());
    QVERIFY(fireBird);
    QCOMPARE(fireBird->GetColumnType(0) & 1, 0);
    QCOMPARE(fireBird->GetColumnType(1) & 1, 1);
    for (int row = 1; row <= 2; ++row) {
        QVERIFY(recordset->MoveNext());
        for (int column = 0; column < 2; ++column) {
            const bool null = row == 2 && column == 1;
            const QByteArray where =
                QStringLiteral("row %1, column %2").arg(row).arg(column).toUtf8();
            QVERIFY2(recordset->IsNull(column) == null, where.constData());
            QCOMPARE(recordset->GetString(column), null ? QString() : text);
            QCOMPARE(recordset->GetInt(column), null ? 0 : integer);
            QCOMPARE(recordset->GetDouble(column), null ? 0.0 : real);
            QCOMPARE(recordset->IsInteger(column), kind == QStringLiteral("integer"));
            QCOMPARE(recordset->IsFloat(column), kind == QStringLiteral("float"));
            QCOMPARE(recordset->IsText(column), kind == QStringLiteral("text"));
        }
    }
    QVERIFY(!recordset->MoveNext());
}

void CFireBirdTests::dialect1ReadsDoubleQuotesAsText()
{
    // The connection speaks the dialect of the database: here dialect 1.
    QString error;
    const QString location = Fixture.Server().NewLocation(QStringLiteral("dialect1text"));
    QVERIFY2(Fixture.Server().Create(location, error, 1), qPrintable(error));
    CFireBirdDatabase db;
    QVERIFY2(db.Connect(location, Fixture.Server().User(), Fixture.Server().Password(), error),
             qPrintable(error));
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(db.OpenRecordset(QStringLiteral("SELECT \"abc\", CURRENT_TIMESTAMP, NULL, "
                                             "CAST('2024-02-29' AS DATE) FROM RDB$DATABASE"),
                              error, raw),
             qPrintable(error));
    CRecordsetPtr recordset(raw);
    QVERIFY(recordset && recordset->MoveNext());
    QCOMPARE(recordset->GetString(0), QStringLiteral("abc"));
    QVERIFY(recordset->IsText(0));
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d(\\.\\d{1,4})?$"));
    QVERIFY2(stamp.match(recordset->GetString(1)).hasMatch(), qPrintable(recordset->GetString(1)));
    QVERIFY(recordset->IsNull(2));
    QCOMPARE(recordset->GetString(2), QString());
    QCOMPARE(recordset->GetString(3), QStringLiteral("2024-02-29 00:00:00")); // DATE is a TIMESTAMP
    recordset.reset();
    QVERIFY(db.Disconnect());
    QVERIFY2(Fixture.Server().Drop(location, error), qPrintable(error));
}

void CFireBirdTests::emptyResultStillDescribesColumns()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(5))")));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a AS first_alias, b FROM t"));
    QVERIFY(recordset);
    QCOMPARE(recordset->GetColumnCount(), 2);
    QCOMPARE(recordset->GetColumnName(0), QStringLiteral("FIRST_ALIAS"));
    QCOMPARE(recordset->GetColumnName(1), QStringLiteral("B"));
    QVERIFY(!recordset->MoveNext());
    QVERIFY(!recordset->MoveNext());
}

void CFireBirdTests::byNameGettersMatchColumnThenAlias()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER, b INTEGER, d BLOB)")));
    QVERIFY(Run(QStringLiteral("INSERT INTO t (a, b, d) VALUES (1, 2, 'blob')")));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a AS x, b AS a, d AS e FROM t"));
    QVERIFY(recordset && recordset->MoveNext());

    // FindColumn knows the aliases only.
    QCOMPARE(recordset->FindColumn(QStringLiteral("a")), 1);
    QCOMPARE(recordset->FindColumn(QStringLiteral("X")), 0);
    QCOMPARE(recordset->FindColumn(QStringLiteral("b")), -1);
    // The getters try each column's own name, then its alias.
    QCOMPARE(recordset->GetInt(QStringLiteral("a")), 1);
    QCOMPARE(recordset->GetString(QStringLiteral("A")), QStringLiteral("1"));
    QCOMPARE(recordset->GetDouble(QStringLiteral("x")), 1.0);
    QCOMPARE(recordset->GetInt(QStringLiteral("b")), 2);
    QCOMPARE(recordset->GetInt(QStringLiteral("nothing")), 0);
    QCOMPARE(recordset->GetString(QStringLiteral("d")), QStringLiteral("blob"));

    // A column that holds no BLOB gives no BLOB.
    unsigned char* data = nullptr;
    int size = -1;
    QVERIFY(!recordset->GetBlob(QStringLiteral("a"), data, size));
    QCOMPARE(data, nullptr);
    QCOMPARE(size, 0);

    auto* fireBird = dynamic_cast<CFireBirdRecordset*>(recordset.get());
    QCOMPARE(fireBird->GetColumnType(5), 0);
    recordset->Close();
    QCOMPARE(fireBird->GetColumnType(0), 0);
    QCOMPARE(recordset->GetString(QStringLiteral("a")), QString());
}

void CFireBirdTests::closeCommitsOwnedTransactionOnce()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    std::unique_ptr<CFireBirdDatabase> other = Connect();
    QString error;

    // Prepare starts the transaction, so the recordset owns it.
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->Prepare(QStringLiteral("INSERT INTO t (a) VALUES (1)"), error, raw));
    CRecordsetPtr insert(raw);
    QVERIFY(TransactionOpen());
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QCOMPARE(CountRows(*other, QStringLiteral("t")), 0);
    QVERIFY(insert->Close());
    QVERIFY(!insert->IsOpen());
    QVERIFY(!TransactionOpen());
    QCOMPARE(CountRows(*other, QStringLiteral("t")), 1);

    // The destructor's second Close commits nothing: the caller's own
    // transaction stays open.
    QVERIFY(Db->BeginTransaction(error));
    QVERIFY(Run(QStringLiteral("INSERT INTO t (a) VALUES (2)")));
    insert.reset();
    QVERIFY(TransactionOpen());

    // A recordset opened inside the caller's transaction leaves it open.
    CRecordsetPtr query = Query(QStringLiteral("SELECT a FROM t"));
    QVERIFY(query);
    query.reset();
    QVERIFY(TransactionOpen());
    QVERIFY(Db->RollbackTransaction(error));
    QCOMPARE(CountRows(QStringLiteral("t")), 1);
}

void CFireBirdTests::failedPrepareOrExecute()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(5))")));
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(!Db->Prepare(QStringLiteral("SELECT nope FROM t"), error, raw));
    QCOMPARE(raw, nullptr);
    QVERIFY(!TransactionOpen()); // the transaction Prepare started went with the recordset

    // Prepared but failed to run: the recordset is handed out all the same.
    error.clear();
    QVERIFY(!Db->OpenRecordset(QStringLiteral("INSERT INTO t (a) VALUES ('x')"), error, raw));
    QVERIFY(raw);
    QVERIFY2(error.startsWith(QStringLiteral("conversion error")), qPrintable(error));
    CRecordsetPtr handedOut(raw);
    QVERIFY(TransactionOpen());
    handedOut.reset();
    QVERIFY(!TransactionOpen());
}

void CFireBirdTests::parameters()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(40), c DOUBLE PRECISION)")));
    QVERIFY(Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (2, 'two', 2.5);"
                               "INSERT INTO t (a, b, c) VALUES (3, 'three', 3.5)")));
    QString error;
    CRecordsetPtr statement =
        Prepared(*Db, QStringLiteral("SELECT a, b FROM t WHERE c = ? OR b = ?"));
    QVERIFY(statement);
    CAbstractRecordset* raw = statement.get();
    int count = -1;
    QVERIFY(Db->GetParamCount(raw, count, error));
    QCOMPARE(count, 2);
    QString name = QStringLiteral("stale");
    QVERIFY(Db->GetParamName(raw, 1, name, error));
    QCOMPARE(name, QString()); // FireBird does not name "?" markers

    // A cursor that is not open closes without complaint.
    QVERIFY2(Db->CloseCursor(raw, error), qPrintable(error));

    QVERIFY(Db->SetParamDouble(raw, 0, 2.5, error));
    QVERIFY(Db->SetParamString(raw, 1, QStringLiteral("a longer text than the next"), error));
    QVERIFY(Db->SetParamString(raw, 1, QStringLiteral("three"), error)); // replaces the first
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QStringList found;
    while (statement->MoveNext())
        found.append(statement->GetString(1));
    found.sort();
    QCOMPARE(found, (QStringList{"three", "two"}));
    QVERIFY2(Db->CloseCursor(raw, error), qPrintable(error));

    // Text is converted by the server into the parameter's type.
    CRecordsetPtr byKey = Prepared(*Db, QStringLiteral("SELECT b FROM t WHERE a = ?"));
    QVERIFY(Db->SetParamString(byKey.get(), 0, QStringLiteral("3"), error));
    QVERIFY2(Db->Execute(byKey.get(), error), qPrintable(error));
    QVERIFY(byKey->MoveNext());
    QCOMPARE(byKey->GetString(0), QStringLiteral("three"));

    // The longest text that a parameter can carry.
    CRecordsetPtr byText = Prepared(*Db, QStringLiteral("SELECT a FROM t WHERE b = ?"));
    QVERIFY(Db->SetParamString(byText.get(), 0, QString(32767, u'x'), error));
    QVERIFY2(Db->Execute(byText.get(), error), qPrintable(error));
    QVERIFY(!byText->MoveNext());

    // A statement without markers has no parameters.
    CRecordsetPtr plain = Prepared(*Db, QStringLiteral("SELECT a FROM t"));
    QVERIFY(Db->GetParamCount(plain.get(), count, error));
    QCOMPARE(count, 0);

    // A closed statement is the server's to refuse.
    statement->Close();
    error.clear();
    QVERIFY(!Db->Execute(raw, error));
    QVERIFY(!error.isEmpty());
}

// BLOBs.

void CFireBirdTests::executeWithBlob_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("segments");
    QTest::addColumn<bool>("callersTransaction");
    QTest::newRow("one byte") << 1 << 1 << false;
    QTest::newRow("one segment exactly") << 1024 << 1 << false;
    QTest::newRow("one byte more") << 1025 << 2 << false;
    QTest::newRow("2500 bytes") << 2500 << 3 << false;
    QTest::newRow("2500 bytes in the caller's transaction") << 2500 << 3 << true;
}

void CFireBirdTests::executeWithBlob()
{
    QFETCH(int, size);
    QFETCH(int, segments);
    QFETCH(bool, callersTransaction);
    QVERIFY(Run(QStringLiteral("CREATE TABLE b (id INTEGER, data BLOB)")));
    const QByteArray bytes = Pattern(size);
    QString error;
    if (callersTransaction)
        QVERIFY(Db->BeginTransaction(error));
    QVERIFY2(Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (id, data) VALUES (1, ?)"),
                                 bytes.constData(), size, error),
             qPrintable(error));
    QCOMPARE(TransactionOpen(), callersTransaction);
    if (callersTransaction)
        QVERIFY(Db->CommitTransaction(error));

    int count = 0;
    int longest = 0;
    QVERIFY2(Fixture.Server().BlobSegments(Location, QStringLiteral("SELECT data FROM b"), count,
                                           longest, error),
             qPrintable(error));
    QCOMPARE(count, segments);
    QCOMPARE(longest, std::min(size, 1024));

    CRecordsetPtr recordset = Query(QStringLiteral("SELECT data FROM b"));
    QVERIFY(recordset && recordset->MoveNext());
    unsigned char* data = nullptr;
    int read = 0;
    QVERIFY(recordset->GetBlob(0, data, read));
    QCOMPARE(read, size + 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), size), bytes);
    QCOMPARE(data[size], 0);
    std::free(data);
    QVERIFY(!recordset->IsText(0));
    QVERIFY(!recordset->IsNull(0));
}

void CFireBirdTests::executeWithBlobOfNoBytes()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE b (id INTEGER, note VARCHAR(20), data BLOB)")));
    QString error;
    // No bytes: every marker becomes NULL, the one in the literal too.
    QVERIFY2(
        Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (id, note, data) VALUES (1, 'why?', ?)"),
                            "", 0, error),
        qPrintable(error));
    // A negative size is refused and writes nothing.
    QVERIFY(!Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (id, note, data) VALUES (2, "
                                                "'empty', ?)"),
                                 "abc", -1, error));
    QCOMPARE(error, QStringLiteral("Wrong size of the binary data: (-1)"));
    QVERIFY(!TransactionOpen());

    CRecordsetPtr recordset = Query(QStringLiteral("SELECT note, data FROM b ORDER BY id"));
    QVERIFY(recordset && recordset->MoveNext());
    QCOMPARE(recordset->GetString(0), QStringLiteral("whyNULL"));
    QVERIFY(recordset->IsNull(1));
    unsigned char* data = nullptr;
    int size = -1;
    QVERIFY(!recordset->GetBlob(1, data, size));
    QCOMPARE(size, 0);
    QVERIFY(!recordset->MoveNext());
}

void CFireBirdTests::blobWithWrongMarkerCountLeavesNothing()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE b (id INTEGER, data BLOB)")));
    const QByteArray bytes = Pattern(100);
    for (const char* sql :
         {"INSERT INTO b (id, data) VALUES (?, ?)", "INSERT INTO b (id) VALUES (1)"}) {
        QString error;
        QVERIFY(!Db->ExecuteWithBlob(QString::fromLatin1(sql), bytes.constData(), int(bytes.size()),
                                     error));
        QCOMPARE(error, InternalBlobError);
        QVERIFY(!TransactionOpen());
    }
    QCOMPARE(CountRows(QStringLiteral("b")), 0);

    // The server's own message when the statement is wrong.
    QString error;
    QVERIFY(!Db->ExecuteWithBlob(QStringLiteral("INSERT INTO no_such_table VALUES (?)"),
                                 bytes.constData(), int(bytes.size()), error));
    QCOMPARE(error, TableUnknown);
    QVERIFY(!TransactionOpen());
}

void CFireBirdTests::blobInOneLongSegment()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE b (id INTEGER, data BLOB SUB_TYPE 1)")));
    QByteArray bytes(3000, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char('a' + i % 26);
    QString error;
    QVERIFY2(Fixture.Server().InsertOneSegmentBlob(
                 Location, QStringLiteral("INSERT INTO b (id, data) VALUES (1, ?)"), bytes, error),
             qPrintable(error));
    int count = 0;
    int longest = 0;
    QVERIFY(Fixture.Server().BlobSegments(Location, QStringLiteral("SELECT data FROM b"), count,
                                          longest, error));
    QCOMPARE(count, 1);
    QCOMPARE(longest, 3000);

    CRecordsetPtr recordset = Query(QStringLiteral("SELECT data FROM b"));
    QVERIFY(recordset && recordset->MoveNext());
    unsigned char* data = nullptr;
    int size = 0;
    QVERIFY(recordset->GetBlob(0, data, size));
    QCOMPARE(size, 3001);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), 3000), bytes);
    QCOMPARE(data[3000], 0);
    std::free(data);
    QCOMPARE(recordset->GetString(0), QString::fromLatin1(bytes));

    // Text ends at the first zero byte.
    recordset.reset(); // commits the transaction it started
    QVERIFY(Db->ExecuteWithBlob(QStringLiteral("UPDATE b SET data = ?"), "ab\0cd", 5, error));
    recordset = Query(QStringLiteral("SELECT data FROM b"));
    QVERIFY(recordset && recordset->MoveNext());
    QCOMPARE(recordset->GetString(0), QStringLiteral("ab"));
}

void CFireBirdTests::tableNamesLoseTrailingBlanks()
{
    QVERIFY(Run(QStringLiteral("CREATE TABLE first_table (a INTEGER)")));
    QVERIFY(Run(QStringLiteral("CREATE VIEW not_a_table AS SELECT a FROM first_table")));
    QStringList names;
    QString error;
    QVERIFY2(Db->GetTableNames(names, error), qPrintable(error));
    QCOMPARE(names, QStringList{QStringLiteral("FIRST_TABLE")});
    QVERIFY(!TransactionOpen());
}

void CFireBirdTests::columnNamesInADialect1Database()
{
    // Dialect 1 has no quoted names: the columns come from the system
    // tables, the name given as a parameter and matched exactly.
    QString error;
    const QString location = Fixture.Server().NewLocation(QStringLiteral("dialect1"));
    QVERIFY2(Fixture.Server().Create(location, error, 1), qPrintable(error));
    {
        CFireBirdDatabase db;
        QVERIFY2(db.Connect(location, Fixture.Server().User(), Fixture.Server().Password(), error),
                 qPrintable(error));
        QVERIFY2(db.ExecuteSQL(QStringLiteral("CREATE TABLE t1 (a INTEGER, b VARCHAR(10), c "
                                              "DOUBLE PRECISION); CREATE TABLE victim (a INTEGER)"),
                               error),
                 qPrintable(error));
        QVERIFY2(db.ExecuteSQL(QStringLiteral("INSERT INTO victim (a) VALUES (1)"), error),
                 qPrintable(error));
        QStringList columns;
        QVERIFY2(db.GetColumnNames(QStringLiteral("T1"), columns, error), qPrintable(error));
        QCOMPARE(columns, QStringList({"A", "B", "C"}));
        for (const QString& name : {QStringLiteral("t1"), QStringLiteral("x; DROP TABLE victim"),
                                    QStringLiteral("T1' OR 'a' = 'a"), QStringLiteral("it's")}) {
            error.clear();
            QVERIFY2(!db.GetColumnNames(name, columns, error), qPrintable(name));
            QCOMPARE(error, QStringLiteral("Table unknown: ") + name);
        }
        QCOMPARE(columns.size(), 3);
        QVERIFY2(db.BeginTransaction(error), qPrintable(error)); // none was left open
        QVERIFY(db.RollbackTransaction(error));
        CAbstractRecordset* raw = nullptr;
        QVERIFY(db.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM victim"), error, raw));
        CRecordsetPtr count(raw);
        QVERIFY(count->MoveNext());
        QCOMPARE(count->GetInt(0), 1);
        count.reset();
        QVERIFY(db.Disconnect());
    }
    QVERIFY2(Fixture.Server().Drop(location, error), qPrintable(error));
}

void CFireBirdTests::statementsWithoutCursorEndCleanly()
{
    // Rows that a statement never had are no failure to read them.
    QVERIFY(RunDialect3(QStringLiteral("CREATE PROCEDURE twice (x INTEGER) RETURNS (y INTEGER) "
                                       "AS BEGIN y = x * 2; END")));
    QVERIFY(Run(QStringLiteral("CREATE TABLE t (a INTEGER)")));
    for (const QString& sql : {QStringLiteral("EXECUTE PROCEDURE twice 21"),
                               QStringLiteral("INSERT INTO t (a) VALUES (1)")}) {
        CRecordsetPtr recordset = Query(sql);
        QVERIFY2(recordset, qPrintable(sql));
        QVERIFY(!recordset->MoveNext());
        QString error;
        QVERIFY2(!recordset->GetFetchError(error), qPrintable(sql + u' ' + error));
    }
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    CFireBirdFixture fixture;
    CInterfaceCases shared(fixture);
    CFireBirdTests own(fixture);
    int failed = QTest::qExec(&shared, argc, argv);
    failed += QTest::qExec(&own, argc, argv);
    return failed;
}

#include "tst_FireBird.moc"
