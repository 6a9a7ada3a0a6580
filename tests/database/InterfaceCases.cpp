#include "database/InterfaceCases.h"

#include "Utf16LE.h"

#include <QFile>
#include <QTest>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

void CInterfaceCases::initTestCase()
{
    REQUIRE_BACKEND(Fixture);
    QVERIFY(Dir.isValid());
}

void CInterfaceCases::init()
{
    QString error;
    Db = Fixture.Open(error);
    QVERIFY2(Db, qPrintable(error));
}

void CInterfaceCases::cleanup()
{
    Db.reset();
}

void CInterfaceCases::Run(const QString& sql)
{
    QString error;
    QVERIFY2(Db->ExecuteSQL(sql, error), qPrintable(sql + QStringLiteral(": ") + error));
}

void CInterfaceCases::CreateTable()
{
    Run(QStringLiteral("CREATE TABLE t (a INTEGER, b VARCHAR(200), c DOUBLE PRECISION)"));
}

CRecordsetPtr CInterfaceCases::Query(const QString& sql)
{
    QString error;
    CAbstractRecordset* recordset = nullptr;
    const bool ok = Db->OpenRecordset(sql, error, recordset);
    CRecordsetPtr owner(recordset);
    if (!ok) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(error));
        return nullptr;
    }
    return owner;
}

int CInterfaceCases::CountRows(const QString& table)
{
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    if (!recordset || !recordset->MoveNext())
        return -1;
    return recordset->GetInt(0);
}

void CInterfaceCases::errorTextIsKeptOnSuccess()
{
    QString error = QStringLiteral("earlier");
    QVERIFY(Db->ExecuteSQL(QStringLiteral("CREATE TABLE t (a INTEGER)"), error));
    CAbstractRecordset* raw = nullptr;
    QVERIFY(Db->OpenRecordset(QStringLiteral("SELECT a FROM t"), error, raw));
    CRecordsetPtr recordset(raw);
    QStringList names;
    QVERIFY(Db->GetTableNames(names, error));
    QCOMPARE(error, QStringLiteral("earlier"));

    QVERIFY(!Db->ExecuteSQL(QStringLiteral("INSERT INTO no_such_table VALUES (1)"), error));
    QVERIFY(!error.isEmpty());
    QVERIFY(error != QStringLiteral("earlier"));
}

void CInterfaceCases::failedPrepareLeavesNoRecordset()
{
    QString error;
    CAbstractRecordset* recordset = nullptr;
    const bool prepared = Db->Prepare(QStringLiteral("SELEC nonsense FROM"), error, recordset);
    if (prepared && !Fixture.PrepareChecksText()) {
        // The database checks the text when the statement runs.
        CRecordsetPtr owner(recordset);
        QVERIFY(recordset);
        QVERIFY(!Db->Execute(recordset, error));
    } else {
        QVERIFY(!prepared);
        QCOMPARE(recordset, nullptr);
    }
    QVERIFY(!error.isEmpty());

    error.clear();
    recordset = nullptr;
    QVERIFY(!Db->OpenRecordset(QStringLiteral("SELECT x FROM no_such_table"), error, recordset));
    CRecordsetPtr owner(recordset); // a backend may hand one out; the caller closes it
    QVERIFY(!error.isEmpty());
}

void CInterfaceCases::readsRowsInOrder()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (1, 'one', 1.5)"));
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (2, 'two', -2.25)"));
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (3, 'three', 1e10)"));

    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a, b, c FROM t ORDER BY a"));
    QVERIFY(recordset);
    QVERIFY(recordset->IsOpen());
    QCOMPARE(recordset->GetColumnCount(), 3);
    QCOMPARE(recordset->GetColumnName(1).toLower(), QStringLiteral("b"));

    const QStringList texts{"one", "two", "three"};
    const QList<double> doubles{1.5, -2.25, 1e10};
    for (int row = 0; row < 3; ++row) {
        QVERIFY(recordset->MoveNext());
        QCOMPARE(recordset->GetString(0), QString::number(row + 1));
        QCOMPARE(recordset->GetInt(0), row + 1);
        QCOMPARE(recordset->GetString(1), texts[row]);
        QCOMPARE(recordset->GetDouble(2), doubles[row]);
        QCOMPARE(recordset->GetString(QStringLiteral("B")), texts[row]);
        QVERIFY(recordset->IsInteger(0));
        QVERIFY(recordset->IsText(1));
        QVERIFY(recordset->IsFloat(2));
        QVERIFY(!recordset->IsNull(0));
    }
    QVERIFY(!recordset->MoveNext());
    QVERIFY(!recordset->MoveNext());
}

void CInterfaceCases::readsNullAsEmpty()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (NULL, NULL, NULL)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a, b, c FROM t"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    for (int column = 0; column < 3; ++column) {
        QVERIFY(recordset->IsNull(column));
        QCOMPARE(recordset->GetString(column), QString());
        QCOMPARE(recordset->GetInt(column), 0);
        QCOMPARE(recordset->GetDouble(column), 0.0);
    }
}

void CInterfaceCases::findColumn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("exact") << "a" << 0;
    QTest::newRow("other letter case") << "B" << 1;
    QTest::newRow("alias") << "Total" << 2;
    QTest::newRow("duplicate gives the first") << "c" << 3;
    QTest::newRow("no such column") << "zz" << -1;
    QTest::newRow("empty name") << "" << -1;
}

void CInterfaceCases::findColumn()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (7, 'x', 0.5)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a, b, a AS total, c, c FROM t"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    QCOMPARE(recordset->FindColumn(name), index);
}

void CInterfaceCases::readersAnswerBadColumnsWithEmptyValues()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (7, 'x', 0.5)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a, b, c FROM t"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    for (int column : {-1, 3, 1000}) {
        QCOMPARE(recordset->GetString(column), QString());
        QCOMPARE(recordset->GetInt(column), 0);
        QCOMPARE(recordset->GetDouble(column), 0.0);
        QCOMPARE(recordset->GetColumnName(column), QString());
        QVERIFY(!recordset->IsInteger(column));
        QVERIFY(!recordset->IsFloat(column));
        QVERIFY(!recordset->IsText(column));
        unsigned char* data = nullptr;
        int size = 0;
        QVERIFY(!recordset->GetBlob(column, data, size));
        QCOMPARE(data, nullptr);
    }
    // A name that matches nothing reaches the by-index forms as -1.
    QCOMPARE(recordset->GetString(QStringLiteral("missing")), QString());
    QCOMPARE(recordset->GetInt(QStringLiteral("missing")), 0);
    QCOMPARE(recordset->GetDouble(QStringLiteral("missing")), 0.0);
}

void CInterfaceCases::closedRecordsetReadsEmpty()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (7, 'x', 0.5)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a, b, c FROM t"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    recordset->Close();
    QVERIFY(!recordset->IsOpen());
    QCOMPARE(recordset->GetColumnCount(), 0);
    QCOMPARE(recordset->GetString(0), QString());
    QCOMPARE(recordset->GetInt(0), 0);
    QCOMPARE(recordset->FindColumn(QStringLiteral("a")), -1);
    QVERIFY(!recordset->MoveNext());
    recordset->Close(); // a second Close does nothing
}

void CInterfaceCases::isNullOnlyOfAValue()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b, c) VALUES (NULL, NULL, NULL)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a, b, c FROM t"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    QVERIFY(recordset->IsNull(0));
    QVERIFY(recordset->IsNull(2));
    for (int column : {-1, 3, 1000})
        QVERIFY2(!recordset->IsNull(column), qPrintable(QString::number(column)));
    recordset->Close();
    for (int column : {-1, 0, 2, 3})
        QVERIFY2(!recordset->IsNull(column), qPrintable(QString::number(column)));
}

void CInterfaceCases::cleanEndIsNoFetchError()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a) VALUES (1)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT a FROM t"));
    QVERIFY(recordset);
    QString error = QStringLiteral("untouched");
    QVERIFY(!recordset->GetFetchError(error)); // before the first row
    QVERIFY(recordset->MoveNext());
    QVERIFY(!recordset->GetFetchError(error));
    for (int i = 0; i < 3; ++i) { // asking again after the end stays at the end
        QVERIFY(!recordset->MoveNext());
        QVERIFY(!recordset->GetFetchError(error));
    }
    QCOMPARE(error, QStringLiteral("untouched"));

    // A statement that makes no rows ends cleanly too.
    CRecordsetPtr insert = Query(QStringLiteral("INSERT INTO t (a) VALUES (2)"));
    QVERIFY(insert);
    QVERIFY(!insert->MoveNext());
    QVERIFY(!insert->GetFetchError(error));
    insert.reset();
    QCOMPARE(CountRows(QStringLiteral("t")), 2);

    recordset->Close();
    QVERIFY(!recordset->MoveNext());
    QVERIFY(!recordset->GetFetchError(error));
    QCOMPARE(error, QStringLiteral("untouched"));
}

void CInterfaceCases::failedFetchStaysFailed()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a) VALUES (1)"));
    Run(QStringLiteral("INSERT INTO t (a) VALUES (2)"));
    Run(QStringLiteral("INSERT INTO t (a) VALUES (3)"));
    QString error;
    CAbstractRecordset* raw = nullptr;
    const bool opened = Db->OpenRecordset(Fixture.FailingQuery(), error, raw);
    CRecordsetPtr recordset(raw);
    if (!opened) { // a database that computes every row when the query runs
        QVERIFY(!error.isEmpty());
        return;
    }
    int rows = 0;
    while (rows < 10 && recordset->MoveNext())
        ++rows;
    QVERIFY2(rows < 3, "the failing row was handed out");
    QVERIFY(recordset->GetFetchError(error));
    QVERIFY(!error.isEmpty());
    const QString message = error;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!recordset->MoveNext());
        error.clear();
        QVERIFY(recordset->GetFetchError(error));
        QCOMPARE(error, message);
    }
    QString exportError;
    QVERIFY(!Db->ExportToTextFile(Fixture.FailingQuery(), exportError,
                                  Dir.filePath(QStringLiteral("failing.txt")),
                                  QStringLiteral(",")));
    QVERIFY(!exportError.isEmpty());
}

void CInterfaceCases::columnNamesOfAnyTableName()
{
    // A reserved word, blanks, both quote marks, a semicolon, and names that
    // would run a second statement if they were spliced into SQL as they
    // are, or quoted without doubling the quote marks inside them.
    const QStringList names{
        QStringLiteral("order"),
        QStringLiteral("with space"),
        QStringLiteral("it's"),
        QStringLiteral("say \"hi\""),
        QStringLiteral("semi;colon"),
        QStringLiteral("x; DROP TABLE victim"),
        QStringLiteral("q\"; DROP TABLE victim; --"),
    };
    Run(QStringLiteral("CREATE TABLE victim (a INTEGER)"));
    Run(QStringLiteral("INSERT INTO victim (a) VALUES (1)"));
    QString error;
    for (const QString& name : names) {
        QString quoted = name;
        quoted.replace(u'"', QStringLiteral("\"\""));
        const QString create =
            QStringLiteral("CREATE TABLE \"%1\" (first_one INTEGER, other_one VARCHAR(10))")
                .arg(quoted);
        QVERIFY2(Fixture.RunQuoted(*Db, create, error), qPrintable(create + u' ' + error));
    }
    // The names as the database lists them, as the connection code takes them.
    QStringList tables;
    QVERIFY(Db->GetTableNames(tables, error));
    QCOMPARE(tables.size(), names.size() + 1);
    for (const QString& table : std::as_const(tables)) {
        QStringList columns{QStringLiteral("kept")};
        QVERIFY2(Db->GetColumnNames(table, columns, error), qPrintable(table + u' ' + error));
        QCOMPARE(columns.value(0), QStringLiteral("kept"));
        if (table.compare(QStringLiteral("victim"), Qt::CaseInsensitive) == 0) {
            QCOMPARE(columns.size(), 2);
            QCOMPARE(columns[1].toLower(), QStringLiteral("a"));
            continue;
        }
        QCOMPARE(columns.size(), 3);
        QCOMPARE(columns[1].toLower(), QStringLiteral("first_one"));
        QCOMPARE(columns[2].toLower(), QStringLiteral("other_one"));
    }

    // Nothing else ran: the victim keeps its row, no table came or went.
    QCOMPARE(CountRows(QStringLiteral("victim")), 1);
    tables.clear();
    QVERIFY(Db->GetTableNames(tables, error));
    QStringList expected = names;
    expected.append(QStringLiteral("victim"));
    for (QString& table : tables)
        table = table.trimmed().toLower();
    for (QString& table : expected)
        table = table.toLower();
    tables.sort();
    expected.sort();
    QCOMPARE(tables, expected);

    QStringList columns;
    error.clear();
    QVERIFY(!Db->GetColumnNames(QStringLiteral("no such table"), columns, error));

    QVERIFY(!error.isEmpty());
    QVERIFY(columns.isEmpty());
}

int CInterfaceCases::BackendColumn() const
{
    static const QStringList names{"SQLite", "FireBird", "ODBC PostgreSQL", "ODBC SQLite",
                                   "ODBC MariaDB"};
    return int(names.indexOf(Fixture.Name()));
}

void CInterfaceCases::viewsAndDeclaredTypes_data()
{
    QTest::addColumn<QString>("declared"); // as the column is created
    QTest::addColumn<QString>("shown");    // its type as GetColumns gives it
    const int backend = BackendColumn();
    if (backend < 0)
        QFAIL(qPrintable(QStringLiteral("no column for ") + Fixture.Name()));
    // Each list: SQLite, FireBird, and through ODBC PostgreSQL, SQLite, MariaDB.
    const auto row = [backend](const char* name, const QStringList& declared,
                               const QStringList& shown) {
        QTest::newRow(name) << declared.at(backend) << shown.at(backend);
    };
    const auto same = [](const char* text) { return QStringList(5, QString::fromLatin1(text)); };
    row("integer", same("INTEGER"), {"INTEGER", "INTEGER", "int4", "INTEGER", "INT"});
    row("varchar(n)", same("VARCHAR(100)"),
        {"VARCHAR(100)", "VARCHAR(100)", "varchar(100)", "VARCHAR(100)", "VARCHAR(100)"});
    row("numeric(p,s)", same("NUMERIC(10,2)"),
        {"NUMERIC(10,2)", "NUMERIC(10,2)", "numeric(10,2)", "NUMERIC(10,2)", "DECIMAL(10,2)"});
    row("date", same("DATE"), {"DATE", "DATE", "date", "DATE", "DATE"});
    row("timestamp", same("TIMESTAMP"),
        {"TIMESTAMP", "TIMESTAMP", "timestamp", "TIMESTAMP", "TIMESTAMP"});
    row("blob", {"BLOB", "BLOB", "BYTEA", "BLOB", "LONGBLOB"},
        {"BLOB", "BLOB", "bytea", "BLOB", "LONGBLOB"});
    row("text", {"TEXT", "BLOB SUB_TYPE TEXT", "TEXT", "TEXT", "TEXT"},
        {"TEXT", "BLOB SUB_TYPE TEXT", "text", "TEXT", "TEXT"});
}

// A view is listed apart from the tables; the columns of both come with
// their declared types, the view's as the table declares them.
void CInterfaceCases::viewsAndDeclaredTypes()
{
    QFETCH(QString, declared);
    QFETCH(QString, shown);
    Run(QStringLiteral("CREATE TABLE typed (v %1, k INTEGER)").arg(declared));
    Run(QStringLiteral("CREATE VIEW typed_view AS SELECT k, v FROM typed"));
    const auto lowered = [](QStringList names) {
        for (QString& name : names)
            name = name.trimmed().toLower();
        return names;
    };
    const QString integer =
        QStringList{"INTEGER", "INTEGER", "int4", "INTEGER", "INT"}.at(BackendColumn());

    // A table read by its name alone, before any listing.
    QString error = QStringLiteral("earlier");
    QStringList unlisted;
    QStringList unlistedTypes;
    const QString typed = BackendColumn() == 1 ? QStringLiteral("TYPED") : QStringLiteral("typed");
    QVERIFY2(Db->GetColumns(typed, unlisted, unlistedTypes, error), qPrintable(error));
    QCOMPARE(lowered(unlisted), (QStringList{"v", "k"}));
    QCOMPARE(unlistedTypes, (QStringList{shown, integer}));

    QStringList tables;
    QVERIFY2(Db->GetTableNames(tables, error), qPrintable(error));
    QCOMPARE(lowered(tables), QStringList{"typed"});
    QStringList views{QStringLiteral("kept")};
    QVERIFY2(Db->GetViewNames(views, error), qPrintable(error));
    QCOMPARE(lowered(views), (QStringList{"kept", "typed_view"}));

    const struct
    {
        QString Name;
        QStringList Columns;
        QStringList Types;
    } relations[] = {{tables.first(), {"v", "k"}, {shown, integer}},
                     {views.last(), {"k", "v"}, {integer, shown}}};
    for (const auto& relation : relations) {
        QStringList names;
        QVERIFY2(Db->GetColumnNames(relation.Name, names, error), qPrintable(error));
        QStringList columns{QStringLiteral("kept")};
        QStringList types{QStringLiteral("kept")};
        QVERIFY2(Db->GetColumns(relation.Name, columns, types, error), qPrintable(error));
        QCOMPARE(columns, QStringList{"kept"} + names);
        QCOMPARE(lowered(names), relation.Columns);
        QCOMPARE(types, QStringList{"kept"} + relation.Types);
    }
    QCOMPARE(error, QStringLiteral("earlier"));

    // The view reads as a table does.
    Run(QStringLiteral("INSERT INTO typed (k) VALUES (42)"));
    QCOMPARE(CountRows(views.last()), 1);

    QStringList columns;
    QStringList types;
    QVERIFY(!Db->GetColumns(QStringLiteral("no_such_table"), columns, types, error));
    QVERIFY(error != QStringLiteral("earlier"));
    QVERIFY(columns.isEmpty());
    QVERIFY(types.isEmpty());
}

// What each database says of how its names are written.
void CInterfaceCases::identifierRules()
{
    const int backend = BackendColumn();
    QVERIFY(backend >= 0);
    const QStringList quotes{"\"", "\"", "\"", "\"", "`"};
    const QList<EIdentifierCase> folding{IdentifierCaseKept, IdentifierCaseUpper,
                                         IdentifierCaseLower, IdentifierCaseKept,
                                         IdentifierCaseKept};
    QCOMPARE(Db->GetIdentifierQuote(), quotes.at(backend));
    QCOMPARE(Db->GetIdentifierCase(), folding.at(backend));
}

void CInterfaceCases::listsUserTables()
{
    QString error;
    QStringList names{QStringLiteral("kept")};
    QVERIFY2(Db->GetTableNames(names, error), qPrintable(error));
    QCOMPARE(names, QStringList{QStringLiteral("kept")});

    Run(QStringLiteral("CREATE TABLE first_table (a INTEGER)"));
    Run(QStringLiteral("CREATE TABLE second_table (a INTEGER)"));
    QVERIFY2(Db->GetTableNames(names, error), qPrintable(error));
    QCOMPARE(names.size(), 3);
    QCOMPARE(names.first(), QStringLiteral("kept"));
    QStringList found;
    for (const QString& name : names.sliced(1))
        found.append(name.trimmed().toLower());
    found.sort();
    QCOMPARE(found, (QStringList{"first_table", "second_table"}));
}

void CInterfaceCases::endTransactionMatchesCommitAndRollback_data()
{
    QTest::addColumn<bool>("commit");
    QTest::newRow("commit") << true;
    QTest::newRow("rollback") << false;
}

void CInterfaceCases::endTransactionMatchesCommitAndRollback()
{
    QFETCH(bool, commit);
    // With no transaction open: the same result and message.
    QString direct = QStringLiteral("untouched");
    QString shared = QStringLiteral("untouched");
    const bool directOk = commit ? Db->CommitTransaction(direct) : Db->RollbackTransaction(direct);
    const bool sharedOk = Db->EndTransaction(commit, shared);
    QCOMPARE(sharedOk, directOk);
    QCOMPARE(shared, direct);

    // With one open: the change is kept or dropped.
    CreateTable();
    QString error;
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    Run(QStringLiteral("INSERT INTO t (a) VALUES (1)"));
    QVERIFY2(Db->EndTransaction(commit, error), qPrintable(error));
    QCOMPARE(CountRows(QStringLiteral("t")), commit ? 1 : 0);
}

void CInterfaceCases::transactionCanBeRolledBack()
{
    CreateTable();
    QString error;
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    Run(QStringLiteral("INSERT INTO t (a) VALUES (1)"));
    QVERIFY2(Db->RollbackTransaction(error), qPrintable(error));
    QCOMPARE(CountRows(QStringLiteral("t")), 0);

    // A transaction can be begun again once the last one has ended.
    QVERIFY2(Db->BeginTransaction(error), qPrintable(error));
    Run(QStringLiteral("INSERT INTO t (a) VALUES (2)"));
    QVERIFY2(Db->CommitTransaction(error), qPrintable(error));
    QCOMPARE(CountRows(QStringLiteral("t")), 1);
}

void CInterfaceCases::parametersRunAgainAfterCloseCursor()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b) VALUES (2, 'two')"));
    Run(QStringLiteral("INSERT INTO t (a, b) VALUES (3, 'three')"));

    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("SELECT b FROM t WHERE a = ?"), error, raw),
             qPrintable(error));
    CRecordsetPtr statement(raw);
    int count = -1;
    QVERIFY2(Db->GetParamCount(raw, count, error), qPrintable(error));
    QCOMPARE(count, 1);

    for (int key : {2, 3}) {
        QVERIFY2(Db->SetParamInt(raw, 0, key, error), qPrintable(error));
        QVERIFY2(Db->Execute(raw, error), qPrintable(error));
        QVERIFY(statement->MoveNext());
        QCOMPARE(statement->GetString(0),
                 key == 2 ? QStringLiteral("two") : QStringLiteral("three"));
        QVERIFY(!statement->MoveNext());
        QVERIFY2(Db->CloseCursor(raw, error), qPrintable(error));
    }

    raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("SELECT a FROM t WHERE b = ?"), error, raw),
             qPrintable(error));
    CRecordsetPtr byText(raw);
    QVERIFY2(Db->SetParamString(raw, 0, QStringLiteral("three"), error), qPrintable(error));
    QVERIFY2(Db->Execute(raw, error), qPrintable(error));
    QVERIFY(byText->MoveNext());
    QCOMPARE(byText->GetInt(0), 3);
}

void CInterfaceCases::blobRoundTrip()
{
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    QByteArray bytes(2500, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 % 256);
    QString error;
    QVERIFY2(Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (id, data) VALUES (1, ?)"),
                                 bytes.constData(), int(bytes.size()), error),
             qPrintable(error));

    CRecordsetPtr recordset = Query(QStringLiteral("SELECT data FROM b"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    unsigned char* data = nullptr;
    int size = 0;
    QVERIFY(recordset->GetBlob(QStringLiteral("DATA"), data, size));
    QVERIFY(data);
    QCOMPARE(size, int(bytes.size()) + Fixture.BlobExtraBytes());
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), bytes.size()), bytes);
    std::free(data);
}

void CInterfaceCases::blobOfNullGivesNoData()
{
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    Run(QStringLiteral("INSERT INTO b (id, data) VALUES (1, NULL)"));
    CRecordsetPtr recordset = Query(QStringLiteral("SELECT data FROM b"));
    QVERIFY(recordset);
    QVERIFY(recordset->MoveNext());
    unsigned char* data = nullptr;
    int size = 0;
    QCOMPARE(recordset->GetBlob(0, data, size), Fixture.BlobOfNullReads());
    QCOMPARE(data, nullptr);
    QCOMPARE(size, 0);
}

void CInterfaceCases::blobOfBadSizeIsRefused_data()
{
    QTest::addColumn<bool>("withData");
    QTest::addColumn<int>("size");
    QTest::newRow("negative size") << true << -2;
    QTest::newRow("smallest int") << true << int(INT_MIN);
    QTest::newRow("no data, positive size") << false << 5;
}

void CInterfaceCases::blobOfBadSizeIsRefused()
{
    QFETCH(bool, withData);
    QFETCH(int, size);
    Run(QStringLiteral("CREATE TABLE b (id INTEGER, data %1)").arg(Fixture.BlobType()));
    // Bytes without a zero among them and no zero after them: a size taken
    // as "up to the first zero" would read past the block.
    auto* bytes = static_cast<char*>(std::malloc(16));
    QVERIFY(bytes);
    std::memset(bytes, 'x', 16);
    QString error;
    const bool ran = Db->ExecuteWithBlob(QStringLiteral("INSERT INTO b (data) VALUES (?)"),
                                         withData ? bytes : nullptr, size, error);
    std::free(bytes);
    QVERIFY(!ran);
    QVERIFY(!error.isEmpty());
    QCOMPARE(CountRows(QStringLiteral("b")), 0);
}

void CInterfaceCases::disconnect()
{
    QVERIFY(Db->IsConnected());
    QVERIFY(Db->Disconnect());
    QVERIFY(!Db->IsConnected());
    Db->Disconnect(); // on a disconnected object: changes nothing
    QVERIFY(!Db->IsConnected());
}

// Export. Rows are inserted with a key k so that they come back in order.

void CInterfaceCases::exportWritesExactBytes_data()
{
    QTest::addColumn<QStringList>("values"); // column b of successive rows
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("three rows, CR LF between, none after")
        << QStringList{"x", "y", "z"} << ";"
        << "\"1\";\"x\"\r\n\"2\";\"y\"\r\n\"3\";\"z\"";
    QTest::newRow("quote doubled, CR and LF as two characters")
        << QStringList{"O\"Brien", "a\r\nb"} << ";"
        << "\"1\";\"O\"\"Brien\"\r\n\"2\";\"a\\r\\nb\"";
    QTest::newRow("backslash, tab and delimiter kept") << QStringList{"c:\\t\t;x"} << ";"
                                                       << "\"1\";\"c:\\t\t;x\"";
    QTest::newRow("empty text") << QStringList{""} << ";"
                                << "\"1\";\"\"";
    QTest::newRow("delimiter of several characters") << QStringList{"x"} << ", "
                                                     << "\"1\", \"x\"";
    QTest::newRow("no delimiter") << QStringList{"x"} << ""
                                  << "\"1\"\"x\"";
    QTest::newRow("non-ASCII") << QStringList{QString::fromUtf8("Привет, мир €")} << ";"
                               << QString::fromUtf8("\"1\";\"Привет, мир €\"");
}

void CInterfaceCases::exportWritesExactBytes()
{
    QFETCH(QStringList, values);
    QFETCH(QString, delimiter);
    QFETCH(QString, expected);
    CreateTable();
    QString error;
    CAbstractRecordset* raw = nullptr;
    QVERIFY2(Db->Prepare(QStringLiteral("INSERT INTO t (a, b) VALUES (?, ?)"), error, raw),
             qPrintable(error));
    CRecordsetPtr insert(raw);
    for (int row = 0; row < values.size(); ++row) {
        QVERIFY2(Db->SetParamInt(raw, 0, row + 1, error), qPrintable(error));
        QVERIFY2(Db->SetParamString(raw, 1, values[row], error), qPrintable(error));
        QVERIFY2(Db->Execute(raw, error), qPrintable(error));
        insert->MoveNext(); // runs the statement where Execute only prepares the run
        QVERIFY2(Db->CloseCursor(raw, error), qPrintable(error));
    }
    insert.reset();
    QCOMPARE(CountRows(QStringLiteral("t")), int(values.size()));

    const QString path = Dir.filePath(QStringLiteral("export.txt"));
    QVERIFY2(Db->ExportToTextFile(QStringLiteral("SELECT a, b FROM t ORDER BY a"), error, path,
                                  delimiter),
             qPrintable(error));
    QCOMPARE(ReadFile(path), Utf16LE(expected));
}

void CInterfaceCases::exportReplacesExistingFile()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b) VALUES (1, 'new')"));
    const QString path = Dir.filePath(QStringLiteral("replaced.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content that is longer than the new one");
    }
    QString error;
    QVERIFY2(Db->ExportToTextFile(QStringLiteral("SELECT b FROM t"), error, path, ";"),
             qPrintable(error));
    QCOMPARE(ReadFile(path), Utf16LE(QStringLiteral("\"new\"")));
}

void CInterfaceCases::exportOfNoRowsRemovesFile()
{
    CreateTable();
    const QString path = Dir.filePath(QStringLiteral("empty.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QString error = QStringLiteral("untouched");
    QVERIFY(Db->ExportToTextFile(QStringLiteral("SELECT b FROM t"), error, path, ";"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(error, QStringLiteral("untouched"));
}

void CInterfaceCases::exportReportsUnwritableFile()
{
    CreateTable();
    Run(QStringLiteral("INSERT INTO t (a, b) VALUES (1, 'x')"));
    const QString path = Dir.filePath(QStringLiteral("no/such/folder/out.txt"));
    QString error;
    QVERIFY(!Db->ExportToTextFile(QStringLiteral("SELECT b FROM t"), error, path, ";"));
    QCOMPARE(error, QStringLiteral("Failed to write test string to the file: \"") + path + "\"");
}

void CInterfaceCases::exportReportsBadQuery()
{
    const QString path = Dir.filePath(QStringLiteral("untouched.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QString error;
    QVERIFY(!Db->ExportToTextFile(QStringLiteral("SELECT x FROM no_such_table"), error, path, ";"));
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReadFile(path), QByteArray("old"));
}
