// The SQLite backend against real database files in a temporary folder: the
// shared interface cases, then what is particular to SQLite.

#include "database/InterfaceCases.h"
#include "database/SQLiteDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sqlite3.h>

class CSQLiteFixture : public CBackendFixture
{
public:
    QString Name() const override { return QStringLiteral("SQLite"); }
    QString Unavailable() override { return Dir.isValid() ? QString() : Dir.errorString(); }
    // SQLite divides by zero into NULL; abs of the smallest integer fails.
    // Unsorted, so that the rows before it are stepped to first.
    QString FailingQuery() const override
    {
        return QStringLiteral(
            "SELECT CASE WHEN a < 3 THEN a ELSE abs(-9223372036854775807 - 1) END "
            "FROM t");
    }
    CDatabasePtr Open(QString& error) override
    {
        CDatabasePtr database(new CSQLiteDatabase);
        const QString path = Dir.filePath(QStringLiteral("db%1.sqlite").arg(++Count));
        if (!database->Connect(path, {}, {}, error))
            return nullptr;
        return database;
    }

private:
    QTemporaryDir Dir;
    int Count = 0;
};

class CSQLiteTests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fixedMessages_data();
    void fixedMessages();
    void connectCreatesMissingFile();
    void connectAgainClosesTheFirstFile();
    void libraryMessagesReachTheCaller_data();
    void libraryMessagesReachTheCaller();
    void openRecordsetRunsFirstStatementOnly();
    void emptyOrCommentOnlyTextGivesClosedRecordset_data();
    void emptyOrCommentOnlyTextGivesClosedRecordset();
    void paramNames_data();
    void paramNames();
    void paramIndexNeedsTheMarker();
    void setterReportsLibraryMessage();
    void transactionsThroughInterfaceAndAsSql();
    void beginTransactionWithRunsItsStatement();
    void typesArePerValue();
    void blobOfEmptyValue();
    void moveNextStaysAtEndUntilCloseCursor();
    void disconnectWithOpenRecordset();
    void lockedDatabaseFailsTheTableList();

private:
    std::unique_ptr<CSQLiteDatabase> Connected();

    QTemporaryDir Dir;
    std::unique_ptr<CSQLiteDatabase> Db;
};

std::unique_ptr<CSQLiteDatabase> CSQLiteTests::Connected()
{
    auto database = std::make_unique<CSQLiteDatabase>();
    QString error;
    if (!database->Connect(Dir.filePath(QStringLiteral("test.sqlite")), {}, {}, error))
        qWarning("%s", qPrintable(error));
    return database;
}

void CSQLiteTests::init()
{
    QVERIFY(Dir.isValid());
    QFile::remove(Dir.filePath(QStringLiteral("test.sqlite")));
    Db = Connected();
    QVERIFY(Db->IsConnected());
}

void CSQLiteTests::cleanup()
{
    Db.reset();
}

using CCall = std::function<bool(CSQLiteDatabase&, QString& error)>;
Q_DECLARE_METATYPE(CCall)

void CSQLiteTests::fixedMessages_data()
{
    QTest::addColumn<CCall>("call");
    QTest::addColumn<QString>("message");

    const auto closed = [](CSQLiteDatabase& db,
                           const std::function<bool(CAbstractRecordset*, QString&)>& op,
                           QString& error) {
        CAbstractRecordset* raw = nullptr;
        db.Prepare(QStringLiteral("SELECT ?"), error, raw);
        CRecordsetPtr recordset(raw);
        recordset->Close();
        return op(raw, error);
    };

    QTest::newRow("open a folder") << CCall([this](CSQLiteDatabase&, QString& e) {
        CSQLiteDatabase other;
        return other.Connect(Dir.path(), {}, {}, e);
    }) << "Failed to open database";
    QTest::newRow("open in a missing folder") << CCall([this](CSQLiteDatabase&, QString& e) {
        CSQLiteDatabase other;
        const bool ok = other.Connect(Dir.filePath(QStringLiteral("no/such/x.db")), {}, {}, e);
        return ok || other.IsConnected();
    }) << "Failed to open database";
    QTest::newRow("begin when not connected")
        << CCall([](CSQLiteDatabase&, QString& e) { return CSQLiteDatabase().BeginTransaction(e); })
        << "Not connected to the database";
    QTest::newRow("commit when not connected") << CCall([](CSQLiteDatabase&, QString& e) {
        return CSQLiteDatabase().CommitTransaction(e);
    }) << "Not connected to the database";
    QTest::newRow("rollback when not connected") << CCall([](CSQLiteDatabase&, QString& e) {
        return CSQLiteDatabase().RollbackTransaction(e);
    }) << "Not connected to the database";
    QTest::newRow("query when not connected") << CCall([](CSQLiteDatabase&, QString& e) {
        CAbstractRecordset* raw = nullptr;
        return CSQLiteDatabase().OpenRecordset(QStringLiteral("SELECT 1"), e, raw) || raw;
    }) << "Not connected to the database";
    QTest::newRow("commit right after connect")
        << CCall([](CSQLiteDatabase& db, QString& e) { return db.CommitTransaction(e); })
        << "No transaction started";
    QTest::newRow("rollback right after connect")
        << CCall([](CSQLiteDatabase& db, QString& e) { return db.RollbackTransaction(e); })
        << "No transaction started";
    QTest::newRow("param count of a closed recordset")
        << CCall([closed](CSQLiteDatabase& db, QString& e) {
               return closed(
                   db,
                   [&](CAbstractRecordset* r, QString& e2) {
                       int count = 0;
                       return db.GetParamCount(r, count, e2);
                   },
                   e);
           })
        << "The recordset is not prepared";
    QTest::newRow("param count of no recordset") << CCall([](CSQLiteDatabase& db, QString& e) {
        int count = 0;
        return db.GetParamCount(nullptr, count, e);
    }) << "The recordset is not prepared";
    QTest::newRow("close cursor of a closed recordset") << CCall([closed](CSQLiteDatabase& db,
                                                                          QString& e) {
        return closed(
            db, [&](CAbstractRecordset* r, QString& e2) { return db.CloseCursor(r, e2); }, e);
    }) << "The recordset is not open";
    QTest::newRow("set a parameter of a closed recordset") << CCall([closed](CSQLiteDatabase& db,
                                                                             QString& e) {
        return closed(
            db, [&](CAbstractRecordset* r, QString& e2) { return db.SetParamInt(r, 0, 1, e2); }, e);
    }) << "The recordset is closed";
    QTest::newRow("name a parameter of a closed recordset")
        << CCall([closed](CSQLiteDatabase& db, QString& e) {
               return closed(
                   db,
                   [&](CAbstractRecordset* r, QString& e2) {
                       QString name;
                       return db.GetParamName(r, 0, name, e2);
                   },
                   e);
           })
        << "The recordset is closed";
    QTest::newRow("index a parameter of a closed recordset")
        << CCall([closed](CSQLiteDatabase& db, QString& e) {
               return closed(
                   db,
                   [&](CAbstractRecordset* r, QString& e2) {
                       int index = 0;
                       return db.GetParamIndex(r, QStringLiteral("x"), index, e2);
                   },
                   e);
           })
        << "The recordset is closed";
    for (const char* setter : {"double", "string", "int64", "int", "name"}) {
        QTest::newRow(qPrintable(QStringLiteral("index -1, ") + setter))
            << CCall([setter](CSQLiteDatabase& db, QString& e) {
                   CAbstractRecordset* raw = nullptr;
                   db.Prepare(QStringLiteral("SELECT ?"), e, raw);
                   CRecordsetPtr recordset(raw);
                   const QByteArray kind(setter);
                   QString name;
                   if (kind == "double")
                       return db.SetParamDouble(raw, -1, 1.0, e);
                   if (kind == "string")
                       return db.SetParamString(raw, -1, QStringLiteral("x"), e);
                   if (kind == "int64")
                       return db.SetParamInt64(raw, -1, 1, e);
                   if (kind == "int")
                       return db.SetParamInt(raw, -1, 1, e);
                   return db.GetParamName(raw, -1, name, e);
               })
            << "Wrong parameter index: (-1)";
    }
    QTest::newRow("index -1 comes before the closed check")
        << CCall([](CSQLiteDatabase& db, QString& e) { return db.SetParamInt(nullptr, -1, 1, e); })
        << "Wrong parameter index: (-1)";
    QTest::newRow("index of the unnamed parameter") << CCall([](CSQLiteDatabase& db, QString& e) {
        CAbstractRecordset* raw = nullptr;
        db.Prepare(QStringLiteral("SELECT ?"), e, raw);
        CRecordsetPtr recordset(raw);
        int index = 0;
        return db.GetParamIndex(raw, QString(), index, e);
    }) << "Cannot find the index of the unnamed parameter when searching by name";
}

void CSQLiteTests::fixedMessages()
{
    QFETCH(CCall, call);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!call(*Db, error));
    QCOMPARE(error, message);
}

void CSQLiteTests::connectCreatesMissingFile()
{
    const QString path = Dir.filePath(QStringLiteral("created.sqlite"));
    QFile::remove(path);
    CSQLiteDatabase db;
    QString error;
    QVERIFY2(db.Connect(path, QStringLiteral("ignored"), QStringLiteral("ignored"), error),
             qPrintable(error));
    QVERIFY(db.IsConnected());
    QStringList names;
    QVERIFY(db.GetTableNames(names, error));
    QVERIFY(names.isEmpty());
    QVERIFY(db.ExecuteSQL(QStringLiteral("CREATE TABLE x (a)"), error));
    QVERIFY(QFile::exists(path));
    QCOMPARE(db.GetDatabaseType(), 0);
}

void CSQLiteTests::connectAgainClosesTheFirstFile()
{
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE in_first (a)"), error));
    QVERIFY(Db->Connect(Dir.filePath(QStringLiteral("second.sqlite")), {}, {}, error));
    QStringList names;
    QVERIFY(Db->GetTableNames(names, error));
    QVERIFY(names.isEmpty());
}

void CSQLiteTests::libraryMessagesReachTheCaller_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("query");
    QTest::addColumn<QString>("message");
    QTest::newRow("exec, no such table")
        << "INSERT INTO missing_table VALUES (1)" << false << "no such table: missing_table";
    QTest::newRow("exec, syntax") << "SELEC 1" << false << "near \"SELEC\": syntax error";
    QTest::newRow("prepare, syntax") << "SELEC 1" << true << "near \"SELEC\": syntax error";
    QTest::newRow("prepare, no such column") << "SELECT nope" << true << "no such column: nope";
}

void CSQLiteTests::libraryMessagesReachTheCaller()
{
    QFETCH(QString, sql);
    QFETCH(bool, query);
    QFETCH(QString, message);
    QString error;
    if (query) {
        CAbstractRecordset* recordset = nullptr;
        QVERIFY(!Db->OpenRecordset(sql, error, recordset));
        QCOMPARE(recordset, nullptr);
    } else {
        QVERIFY(!Db->ExecuteSQL(sql, error));
    }
    QCOMPARE(error, message);
}

void CSQLiteTests::openRecordsetRunsFirstStatementOnly()
{
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE t (a)"), error));
    const QString twoStatements =
        QStringLiteral("INSERT INTO t VALUES (1); INSERT INTO t VALUES (2)");
    QVERIFY(Db->ExecuteSQL(twoStatements, error));

    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(
        QStringLiteral("SELECT a FROM t WHERE a = 1; SELECT a FROM t WHERE a = 2"), error, raw));
    CRecordsetPtr recordset(raw);
    QVERIFY(recordset->MoveNext());
    QCOMPARE(recordset->GetInt(0), 1);
    QVERIFY(!recordset->MoveNext());

    raw = nullptr;
    QVERIFY(Db->OpenRecordset(twoStatements, error, raw)); // the insert of 1 runs once stepped
    CRecordsetPtr insert(raw);
    QVERIFY(!insert->MoveNext());
    insert.reset();
    raw = nullptr;
    QVERIFY(Db->OpenRecordset(QStringLiteral("SELECT group_concat(a) FROM t"), error, raw));
    CRecordsetPtr all(raw);
    QVERIFY(all->MoveNext());
    QCOMPARE(all->GetString(0), QStringLiteral("1,2,1"));
}

void CSQLiteTests::emptyOrCommentOnlyTextGivesClosedRecordset_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "  \n\t";
    QTest::newRow("line comment") << "-- nothing here";
    QTest::newRow("block comment") << "/* nothing */";
}

void CSQLiteTests::emptyOrCommentOnlyTextGivesClosedRecordset()
{
    QFETCH(QString, sql);
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(sql, error, raw));
    CRecordsetPtr recordset(raw);
    QVERIFY(recordset);
    QVERIFY(!recordset->IsOpen());
    QCOMPARE(recordset->GetColumnCount(), 0);
    QVERIFY(!recordset->MoveNext());
    QVERIFY(Db->ExecuteSQL(sql, error));
}

void CSQLiteTests::paramNames_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("colon") << "SELECT :id" << 0 << "id";
    QTest::newRow("bare question mark") << "SELECT ?" << 0 << "";
    QTest::newRow("question mark and digit") << "SELECT ?1" << 0 << "1";
    QTest::newRow("at") << "SELECT @who" << 0 << "who";
    QTest::newRow("dollar") << "SELECT $cost" << 0 << "cost";
    QTest::newRow("second of two") << "SELECT :a, :b" << 1 << "b";
    QTest::newRow("beyond the last") << "SELECT :a" << 5 << "";
}

void CSQLiteTests::paramNames()
{
    QFETCH(QString, sql);
    QFETCH(int, index);
    QFETCH(QString, name);
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->Prepare(sql, error, raw));
    CRecordsetPtr statement(raw);
    QString found = QStringLiteral("stale");
    error = QStringLiteral("stale");
    QVERIFY(Db->GetParamName(raw, index, found, error));
    QCOMPARE(found, name);
    QCOMPARE(error, QString()); // emptied on entry
}

void CSQLiteTests::paramIndexNeedsTheMarker()
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->Prepare(QStringLiteral("SELECT :id, :other"), error, raw));
    CRecordsetPtr statement(raw);
    int count = 0;
    QVERIFY(Db->GetParamCount(raw, count, error));
    QCOMPARE(count, 2);

    int index = 99;
    QVERIFY(Db->GetParamIndex(raw, QStringLiteral(":other"), index, error));
    QCOMPARE(index, 1);
    QVERIFY(Db->GetParamIndex(raw, QStringLiteral(":id"), index, error));
    QCOMPARE(index, 0);

    error = QStringLiteral("as it was");
    QVERIFY(!Db->GetParamIndex(raw, QStringLiteral("id"), index, error));
    QCOMPARE(index, -1);
    QCOMPARE(error, QStringLiteral("as it was"));
}

void CSQLiteTests::setterReportsLibraryMessage()
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->Prepare(QStringLiteral("SELECT ?"), error, raw));
    CRecordsetPtr statement(raw);
    QVERIFY(!Db->SetParamInt(raw, 1, 5, error));
    QCOMPARE(error, QStringLiteral("column index out of range"));

    // Text with a NUL in it is bound whole.
    const QString text = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QVERIFY(Db->SetParamString(raw, 0, text, error));
    QVERIFY(statement->MoveNext());
    QCOMPARE(statement->GetString(0), text);
}

void CSQLiteTests::transactionsThroughInterfaceAndAsSql()
{
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE t (a)"), error));

    // A BEGIN run as SQL is not a transaction of the interface's.
    QVERIFY(Db->ExecuteSQL(QStringLiteral("BEGIN"), error));
    QVERIFY(!Db->CommitTransaction(error));
    QCOMPARE(error, QStringLiteral("No transaction started"));
    QVERIFY(Db->ExecuteSQL(QStringLiteral("COMMIT"), error));

    QVERIFY(Db->BeginTransaction(error));
    QVERIFY(!Db->BeginTransaction(error));
    QCOMPARE(error, QStringLiteral("cannot start a transaction within a transaction"));
    // The failed second begin leaves the first one open and ours to end.
    QVERIFY(Db->CommitTransaction(error));

    // A failed commit keeps the flag: the transaction is still ours to end.
    QVERIFY(Db->BeginTransaction(error));
    QVERIFY(Db->ExecuteSQL(QStringLiteral("COMMIT"), error));
    QVERIFY(!Db->CommitTransaction(error));
    QCOMPARE(error, QStringLiteral("cannot commit - no transaction is active"));
    QVERIFY(!Db->RollbackTransaction(error));
    QCOMPARE(error, QStringLiteral("cannot rollback - no transaction is active"));

    // Disconnect forgets the transaction.
    QVERIFY(Db->Disconnect());
    QVERIFY(Db->Connect(Dir.filePath(QStringLiteral("test.sqlite")), {}, {}, error));
    QVERIFY(!Db->CommitTransaction(error));
    QCOMPARE(error, QStringLiteral("No transaction started"));
}

void CSQLiteTests::beginTransactionWithRunsItsStatement()
{
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE t (a)"), error));
    QVERIFY(Db->BeginTransactionWith(QStringLiteral("INSERT INTO t VALUES (1)"), error));
    QVERIFY(Db->RollbackTransaction(error));

    QVERIFY(Db->BeginTransactionWith(QString(), error)); // runs nothing
    QVERIFY(Db->CommitTransaction(error));

    error.clear();
    QVERIFY(
        !Db->BeginTransactionWith(QStringLiteral("INSERT INTO missing_table VALUES (1)"), error));
    QCOMPARE(error, QStringLiteral("no such table: missing_table"));
    QVERIFY(Db->RollbackTransaction(error)); // left open for the caller

    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(QStringLiteral("SELECT count(*) FROM t"), error, raw));
    CRecordsetPtr count(raw);
    QVERIFY(count->MoveNext());
    QCOMPARE(count->GetInt(0), 0);
}

void CSQLiteTests::typesArePerValue()
{
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE t (k, v);"
                                          "INSERT INTO t VALUES (1, 42);"
                                          "INSERT INTO t VALUES (2, 'text');"
                                          "INSERT INTO t VALUES (3, x'0001');"
                                          "INSERT INTO t VALUES (4, 2.5);"
                                          "INSERT INTO t VALUES (5, NULL);"),
                           error));
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(QStringLiteral("SELECT v FROM t ORDER BY k"), error, raw));
    CRecordsetPtr recordset(raw);
    QVERIFY(recordset->IsNull(0)); // before the first row
    QVERIFY(!recordset->IsInteger(0));

    struct CExpect
    {
        bool integer, real, text, null;
        QString string;
    };
    const CExpect rows[] = {{true, false, false, false, "42"},
                            {false, false, true, false, "text"},
                            {false, false, true, false, QString::fromLatin1("\0\1", 2)},
                            {false, true, false, false, "2.5"},
                            {false, false, false, true, ""}};
    for (const CExpect& row : rows) {
        QVERIFY(recordset->MoveNext());
        QCOMPARE(recordset->IsInteger(0), row.integer);
        QCOMPARE(recordset->IsFloat(0), row.real);
        QCOMPARE(recordset->IsText(0), row.text);
        QCOMPARE(recordset->IsNull(0), row.null);
        QCOMPARE(recordset->GetString(0), row.string);
    }
    QVERIFY(!recordset->MoveNext());
    QVERIFY(recordset->IsNull(0)); // after the last row
}

void CSQLiteTests::blobOfEmptyValue()
{
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE b (data)"), error));
    QVERIFY(Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b VALUES (?)"), "", 0, error));
    QVERIFY(Db->ExecuteSQL(QStringLiteral("INSERT INTO b VALUES (x'')"), error));
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(QStringLiteral("SELECT data FROM b"), error, raw));
    CRecordsetPtr recordset(raw);
    for (int row = 0; row < 2; ++row) {
        QVERIFY(recordset->MoveNext());
        unsigned char* data = nullptr;
        int size = 0;
        QVERIFY(!recordset->GetBlob(0, data, size));
        QCOMPARE(data, nullptr);
        QCOMPARE(size, 0);
    }

    // A failing step is reported with the library's message.
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE u (data UNIQUE)"), error));
    QVERIFY(Db->ExecuteWithBlob(QStringLiteral("INSERT INTO u VALUES (?)"), "ab", 2, error));
    QVERIFY(!Db->ExecuteWithBlob(QStringLiteral("INSERT INTO u VALUES (?)"), "ab", 2, error));
    QCOMPARE(error, QStringLiteral("UNIQUE constraint failed: u.data"));
}

void CSQLiteTests::moveNextStaysAtEndUntilCloseCursor()
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->Prepare(QStringLiteral("SELECT 1"), error, raw));
    CRecordsetPtr recordset(raw);
    QVERIFY(recordset->MoveNext());
    QVERIFY(!recordset->MoveNext());
    QVERIFY(!recordset->MoveNext()); // does not start over
    QVERIFY(Db->CloseCursor(raw, error));
    QVERIFY(recordset->MoveNext());
}

void CSQLiteTests::disconnectWithOpenRecordset()
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(QStringLiteral("SELECT 1"), error, raw));
    CRecordsetPtr recordset(raw);
    QVERIFY(Db->Disconnect());
    QVERIFY(!Db->IsConnected());
    recordset.reset(); // the last finalize completes the close
}

void CSQLiteTests::lockedDatabaseFailsTheTableList()
{
    // Stepping through the table list fails while another connection holds
    // the file locked: that is an error, not an empty list.
    QString error;
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE t (a INTEGER)"), error));
    QStringList names;
    QVERIFY(Db->GetTableNames(names, error)); // the schema is known from here on
    QCOMPARE(names, QStringList{QStringLiteral("t")});

    std::unique_ptr<CSQLiteDatabase> other = Connected();
    QVERIFY2(
        other->ExecuteSQL(QStringLiteral("BEGIN EXCLUSIVE; INSERT INTO t (a) VALUES (1)"), error),
        qPrintable(error));
    names.clear();
    error.clear();
    QVERIFY(!Db->GetTableNames(names, error));
    QVERIFY2(error.contains(QStringLiteral("locked")), qPrintable(error));

    const QString file = Dir.filePath(QStringLiteral("locked.txt"));
    error.clear();
    QVERIFY(
        !Db->ExportToTextFile(QStringLiteral("SELECT a FROM t"), error, file, QStringLiteral(",")));
    QVERIFY2(error.contains(QStringLiteral("locked")), qPrintable(error));
    QVERIFY(other->ExecuteSQL(QStringLiteral("COMMIT"), error));
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    CSQLiteFixture fixture;
    CInterfaceCases shared(fixture);
    CSQLiteTests own;
    int failed = QTest::qExec(&shared, argc, argv);
    failed += QTest::qExec(&own, argc, argv);
    return failed;
}

#include "tst_SQLite.moc"
