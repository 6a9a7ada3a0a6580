#include "database/OdbcDatabase.h"

#include "common/Utf8Locale.h"
#include "database/OdbcRecordset.h"

#include <QSet>
#include <algorithm>
#include <memory>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
#include <utility>

namespace {

const QString NoStatementHandle = QStringLiteral("Failed to allocate statement handle");
const QString NotConnected = QStringLiteral("Database must be connected to start a transaction");
const QString NoRecordset = QStringLiteral("The recordset is not open");

// Wide text as the W entry points take it. They do not write to it.
SQLWCHAR* Wide(const QString& text)
{
    return const_cast<SQLWCHAR*>(text.utf16());
}

SQLINTEGER WideLength(const QString& text)
{
    return SQLINTEGER(text.size());
}

// Running a statement also succeeds with SQL_NO_DATA: an UPDATE or DELETE
// that matched no row.
bool Ran(SQLRETURN result)
{
    return SQL_SUCCEEDED(result) || result == SQL_NO_DATA;
}

// A connect-string attribute value as ODBC reads it back.
QString AttributeValue(const QString& value)
{
    if (!value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') &&
        !value.contains(u' '))
        return value;
    QString doubled = value;
    doubled.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + doubled + u'}';
}

// The attributes of a connect string as they are written, cut at the
// semicolons that stand outside braces.
QStringList Attributes(const QString& connect)
{
    QStringList attributes;
    QString current;
    bool braced = false;
    for (qsizetype i = 0; i < connect.size(); ++i) {
        const QChar c = connect.at(i);
        if (braced && c == u'}') {
            if (i + 1 < connect.size() && connect.at(i + 1) == u'}') {
                current += QStringLiteral("}}");
                ++i;
                continue;
            }
            braced = false;
        } else if (!braced && c == u'{') {
            braced = true;
        } else if (!braced && c == u';') {
            attributes.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    attributes.append(current);
    return attributes;
}

// The text SQLGetInfoW or SQLGetConnectAttrW wrote: length bytes of wide
// characters, at most capacity characters.
QString WideAnswer(const SQLWCHAR* text, qsizetype length, qsizetype capacity)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text),
                              std::clamp<qsizetype>(length / 2, 0, capacity - 1));
}

} // namespace

QStringList COdbcDatabase::GetDataSourceNames()
{
    COdbcHandle environment;
    if (!SQL_SUCCEEDED(environment.Allocate(SQL_HANDLE_ENV, SQL_NULL_HANDLE)) ||
        !SQL_SUCCEEDED(SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)))
        return {};
    QStringList names;
    SQLWCHAR name[256] = {}; // past SQL_MAX_DSN_LENGTH, which some managers exceed
    SQLWCHAR description[512] = {};
    SQLSMALLINT nameLength = 0;        // in characters
    SQLSMALLINT descriptionLength = 0; // in characters
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSourcesW(
        environment.Get(), direction, name, SQLSMALLINT(std::size(name)), &nameLength, description,
        SQLSMALLINT(std::size(description)), &descriptionLength))) {
        names.append(QString::fromUtf16(
            reinterpret_cast<const char16_t*>(name),
            std::clamp<qsizetype>(nameLength, 0, qsizetype(std::size(name)) - 1)));
        direction = SQL_FETCH_NEXT;
    }
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    return names;
}

COdbcDatabase::~COdbcDatabase()
{
    Disconnect();
}

QString COdbcDatabase::GetDiagnosticText(void* statement) const
{
    return statement ? DiagnosticText(SQL_HANDLE_STMT, statement)
                     : DiagnosticText(SQL_HANDLE_DBC, Connection_.Get());
}

QString COdbcDatabase::DiagnosticText(short type, void* handle)
{
    QString text;
    for (SQLSMALLINT number = 1;; ++number) {
        SQLWCHAR state[6] = {};
        SQLWCHAR message[1000] = {};
        SQLINTEGER native = 0;
        // A message too long for the buffer comes back truncated, with
        // SQL_SUCCESS_WITH_INFO, and ends the records like any other result.
        if (SQLGetDiagRecW(type, handle, number, state, &native, message, 1000, nullptr) !=
            SQL_SUCCESS)
            break;
        if (QString::fromUtf16(reinterpret_cast<const char16_t*>(state), 5) == u"01004")
            continue;
        text +=
            QStringLiteral("; ") + QString::fromUtf16(reinterpret_cast<const char16_t*>(message));
    }
    text.remove(0, 2);
    if (text.isEmpty())
        text = QStringLiteral("The ODBC database did not provide any text for this error");
    return text;
}

QString COdbcDatabase::ConnectStringWith(const QString& connect, const QString& user,
                                         const QString& password)
{
    QStringList kept;
    for (const QString& attribute : Attributes(connect)) {
        const QString key = attribute.section(u'=', 0, 0).trimmed();
        if (key.compare(u"UID", Qt::CaseInsensitive) == 0 ||
            key.compare(u"PWD", Qt::CaseInsensitive) == 0 || attribute.trimmed().isEmpty())
            continue;
        kept.append(attribute);
    }
    kept.append(QStringLiteral("UID=") + AttributeValue(user));
    kept.append(QStringLiteral("PWD=") + AttributeValue(password));
    return kept.join(u';');
}

bool COdbcDatabase::Connect(const QString& database, const QString& user, const QString& password,
                            QString& error)
{
    // Drivers convert text with the C library's locale from the first
    // connection on; under "C" they would mangle everything outside ASCII.
    EnsureUtf8Locale();
    if (IsConnected()) {
        error = QStringLiteral("cannot connect to a database: already connected");
        return false;
    }
    if (!database.toLower().contains(u"dsn=")) {
        error =
            QStringLiteral("Wrong format of the ODBC connect string. Should be: "
                           "\"DSN=database[[;OPTION=value];OPTION=value]...\" instead of \"%1\"")
                .arg(database);
        return false;
    }
    if (!SQL_SUCCEEDED(Environment_.Allocate(SQL_HANDLE_ENV, SQL_NULL_HANDLE))) {
        Environment_.Reset();
        error = QStringLiteral("Unable to allocate an environment handle");
        return false;
    }
    if (!SQL_SUCCEEDED(SQLSetEnvAttr(Environment_.Get(), SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
        Environment_.Reset();
        error = QStringLiteral("Failed to set environment attribute to ODBC ver.3");
        return false;
    }
    if (!SQL_SUCCEEDED(Connection_.Allocate(SQL_HANDLE_DBC, Environment_.Get()))) {
        Connection_.Reset();
        Environment_.Reset();
        error = QStringLiteral("Failed to allocate a database connection statement");
        return false;
    }
    // Typed credentials win over those the data source or the string holds;
    // none typed leaves the string's own at work.
    const QString connect = user.isEmpty() && password.isEmpty()
                                ? database
                                : ConnectStringWith(database, user, password);
    // No window to prompt from: whatever the connect string lacks, the
    // driver does without. Asked to complete, a driver that would prompt on
    // a refused login (MariaDB's) reports its failed dialog instead of the
    // server's reason, so it is told never to prompt.
    const SQLRETURN result = SQLDriverConnectW(Connection_.Get(), nullptr, Wide(connect), SQL_NTS,
                                               nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (SQL_SUCCEEDED(result)) {
        ReadScriptDialect();
        ReadIdentifierRules();
        return true;
    }
    error = GetDiagnosticText();
    // A driver that quotes the connect string back must not show the
    // password; one of a few characters could be any word of the message.
    if (password.size() >= 4)
        error.replace(password, QStringLiteral("********"));
    Connection_.Reset();
    Environment_.Reset();
    return false;
}

bool COdbcDatabase::Disconnect()
{
    if (!IsConnected())
        return true;
    // Some drivers will not leave a transaction open; closing the connection
    // would end it the same way.
    if (!SQL_SUCCEEDED(SQLDisconnect(Connection_.Get()))) {
        SQLEndTran(SQL_HANDLE_DBC, Connection_.Get(), SQL_ROLLBACK);
        SQLDisconnect(Connection_.Get());
    }
    Connection_.Reset();
    Environment_.Reset();
    Listed_.clear();
    return true;
}

COdbcDatabase::CRunning::CRunning(COdbcDatabase& database, void* statement) : Database_(database)
{
    const std::lock_guard lock(Database_.RunningLock_);
    Database_.Running_ = statement;
}

COdbcDatabase::CRunning::~CRunning()
{
    const std::lock_guard lock(Database_.RunningLock_);
    Database_.Running_ = nullptr;
}

void COdbcDatabase::Interrupt()
{
    const std::lock_guard lock(RunningLock_);
    if (Running_)
        SQLCancel(Running_);
}

bool COdbcDatabase::IsConnected()
{
    return bool(Connection_);
}

bool COdbcDatabase::ExecuteSQL(const QString& sql, QString& error)
{
    // Cut as the engine cuts a script, so that a body it kept whole stays
    // whole; a statement the engine cut is not cut again.
    const QStringList pieces = InScript_ ? QStringList{sql} : SplitScript(sql, GetScriptDialect());
    for (const QString& piece : pieces) {
        if (!ContainsSql(piece, GetScriptDialect()))
            continue; // a driver would refuse a statement of comments alone
        const QString statementText = piece.trimmed();
        COdbcHandle statement;
        if (!SQL_SUCCEEDED(statement.Allocate(SQL_HANDLE_STMT, Connection_.Get()))) {
            error = NoStatementHandle;
            return false;
        }
        const CRunning running(*this, statement.Get());
        if (!Ran(SQLExecDirectW(statement.Get(), Wide(statementText), WideLength(statementText)))) {
            error = GetDiagnosticText(statement.Get());
            return false;
        }
    }
    return true;
}

bool COdbcDatabase::BeginScript(QString&)
{
    InScript_ = true;
    return true;
}

bool COdbcDatabase::EndScript(CAbstractRecordset*, QString&)
{
    InScript_ = false;
    return true;
}

bool COdbcDatabase::OpenRecordset(const QString& sql, QString& error,
                                  CAbstractRecordset*& recordset)
{
    recordset = nullptr;
    auto opened = std::make_unique<COdbcRecordset>();
    if (!SQL_SUCCEEDED(opened->AllocateStatement(Connection_.Get()))) {
        error = NoStatementHandle;
        return false;
    }
    const CRunning running(*this, opened->Statement());
    if (!Ran(SQLExecDirectW(opened->Statement(), Wide(sql), WideLength(sql)))) {
        error = GetDiagnosticText(opened->Statement());
        return false;
    }
    recordset = opened.release();
    return true;
}

bool COdbcDatabase::Prepare(const QString& sql, QString& error, CAbstractRecordset*& stmt)
{
    stmt = nullptr;
    auto prepared = std::make_unique<COdbcRecordset>();
    if (prepared->AllocateStatement(Connection_.Get()) != SQL_SUCCESS) {
        error = NoStatementHandle;
        return false;
    }
    if (!SQL_SUCCEEDED(SQLPrepareW(prepared->Statement(), Wide(sql), WideLength(sql)))) {
        error = GetDiagnosticText(prepared->Statement());
        return false;
    }
    prepared->ScanParamNames(sql);
    stmt = prepared.release();
    return true;
}

bool COdbcDatabase::Execute(CAbstractRecordset* stmt, QString& error)
{
    COdbcRecordset* recordset = OpenStatement(stmt, error);
    if (!recordset)
        return false;
    recordset->ResultChanged();
    recordset->RanWithoutResult = false;
    for (int position = 0; position < recordset->Params.Count(); ++position) {
        const SQLRETURN bound =
            recordset->Params.At(position).Bind(recordset->Statement(), SQLUSMALLINT(position + 1));
        if (!SQL_SUCCEEDED(bound)) {
            error = GetDiagnosticText(recordset->Statement());
            return false;
        }
    }
    const SQLRETURN result = [&] {
        const CRunning running(*this, recordset->Statement());
        return SQLExecute(recordset->Statement());
    }();
    if (result == SQL_NEED_DATA) {
        // Leave the statement ready to run again rather than waiting for data.
        SQLCancel(recordset->Statement());
        error = QStringLiteral("No data was supplied to the SQL query parameters");
        return false;
    }
    if (!Ran(result)) {
        error = GetDiagnosticText(recordset->Statement());
        return false;
    }
    SQLSMALLINT columns = -1;
    recordset->RanWithoutResult =
        SQL_SUCCEEDED(SQLNumResultCols(recordset->Statement(), &columns)) && columns == 0;
    return true;
}

bool COdbcDatabase::CloseCursor(CAbstractRecordset* stmt, QString& error)
{
    COdbcRecordset* recordset = OpenStatement(stmt, error);
    if (!recordset)
        return false;
    recordset->ResultChanged();
    // A run without a result (an INSERT) left no cursor and the statement is
    // ready to run again; some drivers call closing it "invalid cursor state".
    if (std::exchange(recordset->RanWithoutResult, false))
        return true;
    if (!SQL_SUCCEEDED(SQLCloseCursor(recordset->Statement()))) {
        error = GetDiagnosticText(recordset->Statement());
        return false;
    }
    return true;
}

QString COdbcDatabase::InfoText(unsigned short type) const
{
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0; // in bytes
    if (!SQL_SUCCEEDED(SQLGetInfoW(Connection_.Get(), type, text, sizeof text, &length)))
        return {};
    return WideAnswer(text, length, 256);
}

unsigned COdbcDatabase::InfoBits(unsigned short type) const
{
    SQLUINTEGER bits = 0;
    return SQL_SUCCEEDED(SQLGetInfoW(Connection_.Get(), type, &bits, sizeof bits, nullptr)) ? bits
                                                                                            : 0;
}

bool COdbcDatabase::ListTables(const QString& catalog, const QString& schema, const QString& type,
                               QList<QPair<QString, QString>>& tables, QString& error)
{
    COdbcRecordset listing;
    if (listing.AllocateStatement(Connection_.Get()) != SQL_SUCCESS) {
        error = NoStatementHandle;
        return false;
    }
    const QString pattern = QStringLiteral("%");
    // Only a clean answer counts: a catalog call that comes back with
    // warnings is reported with them rather than trusted as the list.
    if (SQLTablesW(listing.Statement(), catalog.isNull() ? nullptr : Wide(catalog),
                   catalog.isNull() ? 0 : SQL_NTS, schema.isNull() ? nullptr : Wide(schema),
                   schema.isNull() ? 0 : SQL_NTS, Wide(pattern), SQL_NTS, Wide(type),
                   SQL_NTS) != SQL_SUCCESS) {
        error = GetDiagnosticText(listing.Statement());
        return false;
    }
    // TABLE_CAT, TABLE_SCHEM and TABLE_NAME: the first three columns.
    while (listing.MoveNext()) {
        // A driver that ignores the catalog must not bring in another database.
        const QString rowCatalog = listing.GetString(0);
        if (!catalog.isEmpty() && !rowCatalog.isEmpty() &&
            rowCatalog.compare(catalog, Qt::CaseInsensitive) != 0)
            continue;
        tables.append({listing.GetString(1), listing.GetString(2)});
    }
    return !listing.GetFetchError(error);
}

QString COdbcDatabase::CurrentCatalog() const
{
    // Without a catalog some drivers (MariaDB, MySQL) list every database
    // on the server: ask for the one this connection works in.
    QString catalog;
    if (InfoBits(SQL_CATALOG_USAGE) & SQL_CU_DML_STATEMENTS) {
        SQLWCHAR text[256] = {};
        SQLINTEGER length = 0;
        if (SQL_SUCCEEDED(SQLGetConnectAttrW(Connection_.Get(), SQL_ATTR_CURRENT_CATALOG, text,
                                             sizeof text, &length)))
            catalog = WideAnswer(text, length, 256);
        if (catalog.isEmpty())
            catalog = InfoText(SQL_DATABASE_NAME);
    }
    if (catalog.isEmpty())
        catalog = QString(); // null: no catalog argument at all
    return catalog;
}

bool COdbcDatabase::ListRelations(const QString& type, QStringList& names,
                                  QHash<QString, QPair<QString, QString>>& listed, QString& error)
{
    if (!IsConnected()) {
        error = NoStatementHandle; // what every statement answers then
        return false;
    }
    const QString catalog = CurrentCatalog();
    // The driver's default listing holds what bare names reach (PostgreSQL:
    // its search path); where there are schemas, every one the user can see
    // is listed besides.
    QList<QPair<QString, QString>> reached;
    if (!ListTables(catalog, QString(), type, reached, error))
        return false;
    QList<QPair<QString, QString>> tables = reached;
    if (InfoBits(SQL_SCHEMA_USAGE) & SQL_SU_DML_STATEMENTS) {
        tables.clear();
        if (!ListTables(catalog, QStringLiteral("%"), type, tables, error))
            return false;
    }
    QHash<QString, int> bare; // how many reached tables a bare name stands for
    QSet<QPair<QString, QString>> reachable;
    for (const auto& table : std::as_const(reached)) {
        ++bare[table.second];
        reachable.insert(table);
    }
    listed.clear();
    for (const auto& table : std::as_const(tables)) {
        const bool byBareName =
            table.first.isEmpty() || (reachable.contains(table) && bare.value(table.second) == 1);
        const QString name = byBareName ? table.second : table.first + u'.' + table.second;
        if (listed.contains(name))
            continue; // the driver named it twice
        listed.insert(name, table);
        names.append(name);
    }
    return true;
}

bool COdbcDatabase::GetTableNames(QStringList& names, QString& error)
{
    DeclaredRead_ = false; // read again for what is listed now
    Declared_.clear();
    return ListRelations(QStringLiteral("TABLE"), names, Listed_, error);
}

bool COdbcDatabase::GetViewNames(QStringList& names, QString& error)
{
    DeclaredRead_ = false; // read again for what is listed now
    Declared_.clear();
    return ListRelations(QStringLiteral("VIEW"), names, ListedViews_, error);
}

QPair<QString, QString> COdbcDatabase::Relation(const QString& table) const
{
    for (const auto* listed : {&Listed_, &ListedViews_}) {
        const auto found = listed->constFind(table);
        if (found != listed->cend())
            return *found;
    }
    return {QString(), table};
}

bool COdbcDatabase::ExecuteWithBlob(const QString& sql, const void* data, int size, QString& error)
{
    if (size < 0 || (!data && size > 0)) {
        error = QStringLiteral("Wrong size of the binary data: (%1)").arg(size);
        return false;
    }
    COdbcHandle statement;
    if (statement.Allocate(SQL_HANDLE_STMT, Connection_.Get()) != SQL_SUCCESS) {
        error = NoStatementHandle;
        return false;
    }
    if (!SQL_SUCCEEDED(SQLPrepareW(statement.Get(), Wide(sql), WideLength(sql)))) {
        error = QStringLiteral("Failed to prepare the query");
        return false;
    }
    SQLLEN indicator = size; // stays in place until SQLExecute has returned
    const CRunning running(*this, statement.Get());
    if (!SQL_SUCCEEDED(SQLBindParameter(statement.Get(), 1, SQL_PARAM_INPUT, SQL_C_BINARY,
                                        SQL_BINARY, 0, 0, const_cast<void*>(data), size,
                                        &indicator)) ||
        !Ran(SQLExecute(statement.Get()))) {
        error = GetDiagnosticText(statement.Get());
        return false;
    }
    return true;
}

bool COdbcDatabase::GetColumnNames(const QString& table, QStringList& columns, QString& error)
{
    if (!IsConnected()) {
        error = NoStatementHandle; // what every statement answers then
        return false;
    }
    SQLWCHAR quote[8] = {};
    SQLSMALLINT length = 0; // in bytes
    if (!SQL_SUCCEEDED(SQLGetInfoW(Connection_.Get(), SQL_IDENTIFIER_QUOTE_CHAR, quote,
                                   sizeof quote, &length))) {
        error = GetDiagnosticText();
        return false;
    }
    const QString mark = WideAnswer(quote, length, 8).trimmed();
    if (mark.isEmpty()) { // the driver says it has no quotes
        error = QStringLiteral("The ODBC driver cannot quote the table name \"%1\"").arg(table);
        return false;
    }
    // A listed table is read in its own schema, whatever it is shown as.
    const auto [schema, name] = Relation(table);
    const QString quoted = schema.isEmpty()
                               ? QuoteIdentifier(name, mark)
                               : QuoteIdentifier(schema, mark) + u'.' + QuoteIdentifier(name, mark);
    CAbstractRecordset* opened = nullptr;
    const bool ok = OpenRecordset(
        QStringLiteral("SELECT * FROM ") + quoted + QStringLiteral(" WHERE 1 = 0"), error, opened);
    CRecordsetPtr recordset(opened);
    if (!ok)
        return false;
    const int count = recordset->GetColumnCount();
    for (int column = 0; column < count; ++column)
        columns.append(recordset->GetColumnName(column));
    return true;
}

namespace {

// text with the catalogue's pattern characters taken literally.
QString LiteralPattern(const QString& text, const QString& escape)
{
    if (escape.isEmpty())
        return text; // the rows are checked by name all the same
    QString escaped;
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || QStringView(escape) == QStringView(&c, 1))
            escaped += escape;
        escaped += c;
    }
    return escaped;
}

// A column's type as SQL writes it, from its SQLColumns row: the lengths of
// character and binary types, the precision and scale of exact numbers. A
// driver whose type name already holds them (SQLite's) is taken at its word.
QString OdbcTypeText(int type, const QString& name, int size, bool hasDigits, int digits)
{
    if (name.isEmpty() || name.contains(u'(') || size <= 0)
        return name;
    switch (type) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_BINARY:
    case SQL_VARBINARY:
        return QStringLiteral("%1(%2)").arg(name).arg(size);
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return hasDigits ? QStringLiteral("%1(%2,%3)").arg(name).arg(size).arg(digits)
                         : QStringLiteral("%1(%2)").arg(name).arg(size);
    default:
        return name;
    }
}

} // namespace

void COdbcDatabase::ReadDeclaredTypes(const QString& schemaPattern, const QString& namePattern,
                                      const QSet<QPair<QString, QString>>& wanted,
                                      CDeclaredTypes& declared)
{
    COdbcRecordset listing;
    const QString catalog = CurrentCatalog();
    const QString anyColumn = QStringLiteral("%");
    if (listing.AllocateStatement(Connection_.Get()) != SQL_SUCCESS ||
        !SQL_SUCCEEDED(SQLColumnsW(listing.Statement(), catalog.isNull() ? nullptr : Wide(catalog),
                                   catalog.isNull() ? 0 : SQL_NTS,
                                   schemaPattern.isNull() ? nullptr : Wide(schemaPattern),
                                   schemaPattern.isNull() ? 0 : SQL_NTS, Wide(namePattern), SQL_NTS,
                                   Wide(anyColumn), SQL_NTS)))
        return;
    // TABLE_SCHEM, TABLE_NAME, COLUMN_NAME, DATA_TYPE, TYPE_NAME,
    // COLUMN_SIZE, BUFFER_LENGTH, DECIMAL_DIGITS: columns 2 to 9.
    while (listing.MoveNext()) {
        // Without a schema pattern a name in no schema stands for itself in
        // any schema.
        QPair<QString, QString> relation{listing.GetString(1), listing.GetString(2)};
        if (!wanted.contains(relation) && schemaPattern.isNull())
            relation.first.clear();
        if (!wanted.contains(relation))
            continue; // another relation, or a driver that ignored the escapes
        const QString column = listing.GetString(3);
        const int type = listing.GetInt(4);
        const QString typeName = listing.GetString(5);
        const int size = listing.GetInt(6);
        const bool hasDigits = !listing.IsNull(8);
        const int digits = listing.GetInt(8);
        QHash<QString, QString>& columns = declared[relation];
        if (!columns.contains(column))
            columns.insert(column, OdbcTypeText(type, typeName, size, hasDigits, digits));
    }
}

bool COdbcDatabase::GetColumns(const QString& table, QStringList& columns, QStringList& types,
                               QString& error)
{
    QStringList names;
    if (!GetColumnNames(table, names, error))
        return false;
    // The names were read, so the table is there and may be read; the
    // catalogue only adds the types, and a driver that cannot describe
    // them leaves them empty.
    const QPair<QString, QString> relation = Relation(table);
    const bool listed = Listed_.contains(table) || ListedViews_.contains(table);
    if (listed && !DeclaredRead_) {
        // The first table read after a listing: one catalogue call for all
        // that was listed, rather than one round trip per table.
        QSet<QPair<QString, QString>> wanted;
        for (const auto* listing : {&Listed_, &ListedViews_})
            for (const auto& each : *listing)
                wanted.insert(each);
        Declared_.clear();
        ReadDeclaredTypes(QString(), QStringLiteral("%"), wanted, Declared_);
        DeclaredRead_ = true;
    }
    // A relation the listing's call did not describe (a driver that takes
    // no patterns, or that gave up on another relation) is asked alone.
    const bool described = listed && Declared_.contains(relation);
    CDeclaredTypes own;
    if (!described) {
        const QString escape = InfoText(SQL_SEARCH_PATTERN_ESCAPE);
        ReadDeclaredTypes(relation.first.isEmpty() ? QString()
                                                   : LiteralPattern(relation.first, escape),
                          LiteralPattern(relation.second, escape), {relation}, own);
    }
    const QHash<QString, QString> declared =
        described ? Declared_.value(relation) : own.value(relation);
    columns += names;
    for (const QString& column : std::as_const(names))
        types.append(declared.value(column));
    return true;
}

QString COdbcDatabase::GetIdentifierQuote() const
{
    const char16_t quote = IdentifierQuote_;
    return quote ? QString(QChar(quote)) : QString();
}

EIdentifierCase COdbcDatabase::GetIdentifierCase() const
{
    return EIdentifierCase(IdentifierCase_.load());
}

void COdbcDatabase::ReadIdentifierRules()
{
    // A blank answer means the driver has no identifier quotes.
    const QString quote = InfoText(SQL_IDENTIFIER_QUOTE_CHAR).trimmed();
    IdentifierQuote_ = quote.size() == 1 ? quote.front().unicode() : u'\0';
    SQLUSMALLINT folding = 0;
    if (!SQL_SUCCEEDED(
            SQLGetInfoW(Connection_.Get(), SQL_IDENTIFIER_CASE, &folding, sizeof folding, nullptr)))
        folding = SQL_IC_UPPER; // as the standard has it
    switch (folding) {
    case SQL_IC_LOWER:
        IdentifierCase_ = IdentifierCaseLower;
        break;
    case SQL_IC_SENSITIVE: // matched as written
    case SQL_IC_MIXED:     // matched in any case
        IdentifierCase_ = IdentifierCaseKept;
        break;
    default:
        IdentifierCase_ = IdentifierCaseUpper;
        break;
    }
}

// Transactions.

bool COdbcDatabase::IsInTransaction() const
{
    if (!Connection_)
        return false;
    SQLULEN value = 0; // wide enough whether the driver writes 32 or 64 bits
    SQLINTEGER length = sizeof(SQLUINTEGER);
    return SQL_SUCCEEDED(SQLGetConnectAttrW(Connection_.Get(), SQL_ATTR_AUTOCOMMIT, &value,
                                            sizeof value, &length)) &&
           value == SQL_AUTOCOMMIT_OFF;
}

bool COdbcDatabase::SetAutoCommit(bool on, QString& error)
{
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (SQL_SUCCEEDED(SQLSetConnectAttrW(Connection_.Get(), SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER)))
        return true;
    error = GetDiagnosticText();
    return false;
}

bool COdbcDatabase::BeginTransaction(QString& error)
{
    if (!IsConnected()) {
        error = NotConnected;
        return false;
    }
    if (IsInTransaction()) {
        error = QStringLiteral("We already have an open transaction");
        return false;
    }
    return SetAutoCommit(false, error);
}

bool COdbcDatabase::EndTransactionWith(short completion, QString& error)
{
    if (!IsConnected()) {
        error = NotConnected;
        return false;
    }
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, Connection_.Get(), completion))) {
        error = GetDiagnosticText();
        return false;
    }
    return SetAutoCommit(true, error);
}

bool COdbcDatabase::CommitTransaction(QString& error)
{
    return EndTransactionWith(SQL_COMMIT, error);
}

bool COdbcDatabase::RollbackTransaction(QString& error)
{
    return EndTransactionWith(SQL_ROLLBACK, error);
}

bool COdbcDatabase::BeginTransactionWith(const QString& sql, QString& error)
{
    if (!BeginTransaction(error))
        return false;
    // A failing script leaves the transaction open for the caller to end.
    return sql.isNull() || ExecuteSQL(sql, error);
}

int COdbcDatabase::GetDatabaseType()
{
    return DatabaseTypeOdbc;
}

EScriptDialect COdbcDatabase::GetScriptDialect() const
{
    return EScriptDialect(Dialect_.load());
}

void COdbcDatabase::ReadScriptDialect()
{
    // Every source but MySQL's reads $tag$ as a string, as PostgreSQL does; the rest
    // follows from the database the driver reaches, and for the backslash
    // escapes from the server's settings at connect time.
    EScriptDialect dialect = ScriptDialectDollarQuotes;
    const QString dbms = InfoText(SQL_DBMS_NAME);
    const auto named = [&](const char* name) {
        return dbms.startsWith(QLatin1String(name), Qt::CaseInsensitive);
    };
    if (named("SQLite")) {
        dialect = dialect | ScriptDialectSQLite;
    } else if (named("Firebird")) {
        dialect = dialect | ScriptDialectFireBird;
    } else if (named("PostgreSQL")) {
        dialect = dialect | ScriptDialectPostgreSQL;
        // Off, ordinary strings take backslash escapes too (before 9.1).
        if (QueryText(QStringLiteral("SHOW standard_conforming_strings")) == u"off")
            dialect = dialect | ScriptDialectBackslashEscapes;
    } else if (named("MariaDB") || named("MySQL")) {
        dialect = ScriptDialectMySQL; // "$" quotes nothing there
        const QString mode = QueryText(QStringLiteral("SELECT @@SESSION.sql_mode")).toUpper();
        const QStringList modes = mode.split(u',');
        if (!modes.contains(QLatin1String("NO_BACKSLASH_ESCAPES"))) {
            dialect = dialect | ScriptDialectBackslashEscapes;
            // With ANSI_QUOTES "..." is a name, without escapes.
            if (!modes.contains(QLatin1String("ANSI_QUOTES")))
                dialect = dialect | ScriptDialectBackslashEscapesInDoubleQuotes;
        }
    }
    if (InfoText(SQL_IDENTIFIER_QUOTE_CHAR) == u"`")
        dialect = dialect | ScriptDialectBackquotes;
    Dialect_ = dialect;
}

QString COdbcDatabase::QueryText(const QString& sql)
{
    CAbstractRecordset* opened = nullptr;
    QString error;
    const bool ok = OpenRecordset(sql, error, opened);
    const std::unique_ptr<CAbstractRecordset> recordset(opened);
    if (!ok || !recordset)
        return {};
    const QString value = recordset->MoveNext() ? recordset->GetString(0) : QString();
    recordset->Close();
    return value;
}

// Parameters: stored in the recordset's records, bound at Execute.

COdbcRecordset* COdbcDatabase::AsOdbc(CAbstractRecordset* stmt, QString& error)
{
    auto* recordset = dynamic_cast<COdbcRecordset*>(stmt);
    if (!recordset)
        error = NoRecordset;
    return recordset;
}

COdbcRecordset* COdbcDatabase::OpenStatement(CAbstractRecordset* stmt, QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (recordset && !recordset->IsOpen()) {
        error = NoRecordset;
        return nullptr;
    }
    return recordset;
}

bool COdbcDatabase::GetParamCount(CAbstractRecordset* stmt, int& count, QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    count = int(recordset->ParamNames.size());
    return true;
}

bool COdbcDatabase::GetParamName(CAbstractRecordset* stmt, int index, QString& name, QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    if (index < 0 || index >= recordset->ParamNames.size()) {
        error = QStringLiteral("Wrong parameter index: (%1)").arg(index);
        return false;
    }
    name = recordset->ParamNames.at(index);
    return true;
}

bool COdbcDatabase::GetParamIndex(CAbstractRecordset* stmt, const QString& name, int& index,
                                  QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    for (int i = 0; i < recordset->ParamNames.size(); ++i) {
        if (recordset->ParamNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            index = i;
            return true;
        }
    }
    index = -1;
    return false;
}

bool COdbcDatabase::SetParamDouble(CAbstractRecordset* stmt, int index, double value,
                                   QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    recordset->Params.Find(index).SetDouble(value);
    return true;
}

bool COdbcDatabase::SetParamString(CAbstractRecordset* stmt, int index, const QString& value,
                                   QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    if (value.size() > COdbcParam::MaxTextLength) {
        error =
            QStringLiteral("The text of parameter %1 is too long: %2 characters, at most %3 fit")
                .arg(index)
                .arg(value.size())
                .arg(COdbcParam::MaxTextLength);
        return false;
    }
    recordset->Params.Find(index).SetText(value);
    return true;
}

bool COdbcDatabase::SetParamInt64(CAbstractRecordset* stmt, int index, qint64 value, QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    recordset->Params.Find(index).SetInt64(value);
    return true;
}

bool COdbcDatabase::SetParamInt(CAbstractRecordset* stmt, int index, int value, QString& error)
{
    COdbcRecordset* recordset = AsOdbc(stmt, error);
    if (!recordset)
        return false;
    recordset->Params.Find(index).SetInt(value);
    return true;
}
