#include "database/FireBirdDatabase.h"

#include "common/TextConversion.h"
#include "database/FireBirdBlob.h"
#include "database/FireBirdDescriptor.h"
#include "database/FireBirdRecordset.h"
#include "database/FireBirdStatement.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

constexpr int BlobChunk = 1024;
constexpr std::size_t MessageBufferSize = 256;
constexpr int ParameterBlockSize = 256;
constexpr int MaxTextParameterBytes = 32767; // sqllen is a 16-bit field

// Write, read committed, record version, no wait.
const char TransactionWithBlock[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                                     isc_tpb_rec_version, isc_tpb_nowait};

// A script's transaction: read committed, so that what its metadata
// statements commit on their own is seen by the statements after them.
const char ScriptBlock[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                            isc_tpb_rec_version, isc_tpb_wait};

const char* const TableQuery = "select RDB$RELATION_NAME from RDB$RELATIONS where "
                               "(RDB$SYSTEM_FLAG = 0) AND (RDB$RELATION_TYPE = 0)";

QString NotFound()
{
    return QStringLiteral("Not found");
}

QString NoParameters()
{
    return QStringLiteral("The query was not prepared or does not require any parameters");
}

QString NotPrepared()
{
    return QStringLiteral("The statement was not prepared on this connection");
}

QString OutOfMemory()
{
    return QStringLiteral("Out of memory");
}

// A parameter's name: its sqlname_length bytes (at most the field holds), in
// the narrow code page.
QString ParameterName(const XSQLVAR& parameter)
{
    const int length = std::clamp<int>(parameter.sqlname_length, 0, sizeof parameter.sqlname);
    return AnsiToWide(parameter.sqlname, length);
}

// The words of a statement, upper case, up to its first n (comments and
// strings end the reading: no statement this looks for has them).
QStringList LeadingWords(const QString& statement, int n)
{
    QStringList words;
    const QStringView text = SkipSpaceAndComments(statement);
    qsizetype i = 0;
    while (words.size() < n) {
        while (i < text.size() && text.at(i).isSpace())
            ++i;
        const qsizetype start = i;
        while (i < text.size() && (text.at(i).isLetterOrNumber() || text.at(i) == u'_'))
            ++i;
        if (i == start)
            break;
        words.append(text.sliced(start, i - start).toString().toUpper());
    }
    if (i < text.size() && !text.sliced(i).trimmed().isEmpty())
        words.append(QString()); // more follows
    return words;
}

// Whether a statement defines or changes metadata, which FireBird applies
// only when its transaction commits: isql runs it in a transaction of its
// own, committed at once, so that later statements can use what it made.
bool IsDefinition(const QString& statement)
{
    static const QStringList verbs = {QStringLiteral("CREATE"),  QStringLiteral("ALTER"),
                                      QStringLiteral("DROP"),    QStringLiteral("RECREATE"),
                                      QStringLiteral("DECLARE"), QStringLiteral("COMMENT"),
                                      QStringLiteral("GRANT"),   QStringLiteral("REVOKE")};
    const QStringList words = LeadingWords(statement, 2);
    if (words.isEmpty())
        return false;
    if (verbs.contains(words.at(0)))
        return true;
    return words.size() > 1 && words.at(0) == u"SET" &&
           (words.at(1) == u"GENERATOR" || words.at(1) == u"STATISTICS");
}

// What FireBird's isql makes of a statement of a script. isql reads some
// statements itself and never sends them to the server: its commands
// (CONNECT, INPUT, SHOW, EXIT ...) and its SET options. Those a kept script
// commonly holds are carried out here as isql would carry them out on an
// open connection; those that change only how isql prints its output have
// nothing to do; the rest are refused with a message that names them,
// rather than sent to the server to fail there.
enum class EIsqlCommand
{
    Sql,            // not isql's: for the server
    Display,        // changes only isql's output (SET LIST, SET ECHO ...): nothing to do
    Names,          // SET NAMES: the character set of a later CONNECT
    AutoDdl,        // SET AUTODDL [ON|OFF]
    Bail,           // SET BAIL [ON|OFF]
    SqlDialect,     // SET SQL DIALECT n
    SetTransaction, // SET TRANSACTION ...: SQL, but only for starting a transaction
    Exit,           // EXIT: commit and stop reading
    Quit,           // QUIT: roll back and stop reading
    OtherDatabase,  // CONNECT, CREATE DATABASE, DROP DATABASE
    Refused,        // every other command of isql
};

struct CIsqlCommand
{
    EIsqlCommand Kind = EIsqlCommand::Sql;
    QString Name;     // the command as isql lists it: "INPUT", "SET PLANONLY"
    QString Argument; // the word after a SET option, upper case; empty when none
};

// Whether word is name or an abbreviation of it that isql takes: at least
// its first shortest letters.
bool Abbreviates(const QString& word, QLatin1String name, int shortest)
{
    return word.size() >= shortest && word.size() <= name.size() &&
           QLatin1String(name).startsWith(word);
}

CIsqlCommand IsqlCommand(const QString& statement)
{
    const QStringList words = LeadingWords(statement, 4);
    const auto word = [&](int i) { return i < words.size() ? words.at(i) : QString(); };
    const QString first = word(0);
    const auto command = [](EIsqlCommand kind, const QString& name, const QString& argument = {}) {
        return CIsqlCommand{kind, name, argument};
    };
    if (first == u"EXIT" && words.size() == 1)
        return command(EIsqlCommand::Exit, QStringLiteral("EXIT"));
    if (first == u"QUIT" && words.size() == 1)
        return command(EIsqlCommand::Quit, QStringLiteral("QUIT"));
    if (first == u"CONNECT")
        return command(EIsqlCommand::OtherDatabase, first);
    if ((first == u"CREATE" || first == u"DROP") &&
        (word(1) == u"DATABASE" || word(1) == u"SCHEMA"))
        return command(EIsqlCommand::OtherDatabase, first + u' ' + word(1));
    static const std::array<std::pair<QLatin1String, int>, 8> commands = {{
        {QLatin1String("BLOBDUMP"), 8},
        {QLatin1String("BLOBVIEW"), 8},
        {QLatin1String("EDIT"), 4},
        {QLatin1String("HELP"), 4},
        {QLatin1String("INPUT"), 2},
        {QLatin1String("OUTPUT"), 3},
        {QLatin1String("SHELL"), 5},
        {QLatin1String("SHOW"), 4},
    }};
    for (const auto& [name, shortest] : commands)
        if (Abbreviates(first, name, shortest))
            return command(EIsqlCommand::Refused, name);
    if (first != u"SET")
        return {};
    const QString option = word(1);
    if (option.isEmpty()) // SET alone lists isql's settings
        return command(EIsqlCommand::Display, QStringLiteral("SET"));
    if (option == u"TRANSACTION")
        return command(EIsqlCommand::SetTransaction, QStringLiteral("SET TRANSACTION"));
    if (option == u"SQL" && word(2) == u"DIALECT")
        return command(EIsqlCommand::SqlDialect, QStringLiteral("SET SQL DIALECT"), word(3));
    if (Abbreviates(option, QLatin1String("AUTODDL"), 4))
        return command(EIsqlCommand::AutoDdl, QStringLiteral("SET AUTODDL"), word(2));
    if (option == u"BAIL")
        return command(EIsqlCommand::Bail, QStringLiteral("SET BAIL"), word(2));
    if (option == u"NAMES")
        return command(EIsqlCommand::Names, QStringLiteral("SET NAMES"), word(2));
    if (option == u"PLANONLY")
        return command(EIsqlCommand::Refused, QStringLiteral("SET PLANONLY"), word(2));
    // How isql prints: the grid shows results its own way. SET TIME ZONE
    // and SET STATISTICS are the server's.
    static const std::array<std::pair<QLatin1String, int>, 15> display = {{
        {QLatin1String("BLOBDISPLAY"), 4},
        {QLatin1String("COUNT"), 5},
        {QLatin1String("MAXROWS"), 7},
        {QLatin1String("ROWCOUNT"), 8},
        {QLatin1String("ECHO"), 4},
        {QLatin1String("EXPLAIN"), 7},
        {QLatin1String("HEADING"), 7},
        {QLatin1String("LIST"), 4},
        {QLatin1String("PLAN"), 4},
        {QLatin1String("STATS"), 4},
        {QLatin1String("TIME"), 4},
        {QLatin1String("WIDTH"), 5},
        {QLatin1String("SQLDA_DISPLAY"), 13},
        {QLatin1String("WARNINGS"), 7},
        {QLatin1String("WNG"), 3},
    }};
    if (option == u"TIME" && word(2) == u"ZONE")
        return {};
    for (const auto& [name, shortest] : display)
        if (Abbreviates(option, name, shortest))
            return command(EIsqlCommand::Display, QStringLiteral("SET ") + name, word(2));
    return {};
}

// A transaction that an operation started for itself: rolled back when the
// guard goes, unless it was committed.
class COwnedTransaction
{
public:
    explicit COwnedTransaction(isc_tr_handle& handle) : Handle_(handle) {}
    ~COwnedTransaction()
    {
        if (!Owned_)
            return;
        ISC_STATUS status[ISC_STATUS_LENGTH];
        isc_rollback_transaction(status, &Handle_);
        Handle_ = 0; // its message is of no use to anyone now
    }
    COwnedTransaction(const COwnedTransaction&) = delete;
    COwnedTransaction& operator=(const COwnedTransaction&) = delete;

    void Own() { Owned_ = true; }
    bool IsOwned() const { return Owned_; }
    // Commits; on failure the vector holds the reason and the transaction
    // is still rolled back when the guard goes.
    bool Commit(ISC_STATUS* status)
    {
        if (isc_commit_transaction(status, &Handle_))
            return false;
        Handle_ = 0;
        Owned_ = false;
        return true;
    }

private:
    isc_tr_handle& Handle_;
    bool Owned_ = false;
};

} // namespace

CFireBirdDatabase::ETransactionStatement
CFireBirdDatabase::TransactionStatement(const QString& statement)
{
    const QStringList words = LeadingWords(statement, 2);
    const bool plain = words.size() == 1 || (words.size() == 2 && words.at(1) == u"WORK");
    if (!plain)
        return ETransactionStatement::Other; // COMMIT RETAIN, ROLLBACK TO SAVEPOINT ...
    if (words.at(0) == u"COMMIT")
        return ETransactionStatement::Commit;
    if (words.at(0) == u"ROLLBACK")
        return ETransactionStatement::Rollback;
    return ETransactionStatement::Other;
}

CFireBirdDatabase::~CFireBirdDatabase()
{
    // Nobody can end the transaction once this object is gone; the server
    // would roll it back when the attachment drops, so do that now.
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (TrHandle_)
        isc_rollback_transaction(status, &TrHandle_);
    if (ParkedTransaction_)
        isc_rollback_transaction(status, &ParkedTransaction_);
    if (DbHandle_)
        isc_detach_database(status, &DbHandle_);
}

bool CFireBirdDatabase::Carries(const ISC_STATUS* status, ISC_STATUS code)
{
    int i = 0;
    while (i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end) {
        if (status[i] == isc_arg_gds && status[i + 1] == code)
            return true;
        i += status[i] == isc_arg_cstring ? 3 : 2; // a counted string has a length and a pointer
    }
    return false;
}

QString CFireBirdDatabase::GetStatusText(const ISC_STATUS* status)
{
    QString result;
    if (status[0] == isc_arg_gds && status[1] == 0)
        return result; // a vector of success carries no message
    const ISC_STATUS* cursor = status;
    char buffer[MessageBufferSize];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0) {
        buffer[sizeof buffer - 1] = 0;
        result += Utf8ToText(buffer, qsizetype(strnlen(buffer, sizeof buffer)));
        result += QStringLiteral("; ");
    }
    if (result.size() > 2)
        result.chop(2);
    return result;
}

// Connection and transactions.

bool CFireBirdDatabase::Connect(const QString& database, const QString& user,
                                const QString& password, QString& error)
{
    if (DbHandle_) {
        error = QStringLiteral("Already connected to a database");
        return false;
    }
    const QByteArray name = database.toUtf8();
    const QByteArray login = user.toUtf8();
    const QByteArray secret = password.toUtf8();
    // Version byte, then an item byte and a length byte before each value.
    if (1 + 2 + login.size() + 2 + secret.size() > ParameterBlockSize) {
        error = QStringLiteral("The user name and password are too long: together they may "
                               "take at most %1 bytes")
                    .arg(ParameterBlockSize - 5);
        return false;
    }
    char block[ParameterBlockSize];
    short length = 0;
    block[length++] = isc_dpb_version1;
    for (const auto& [item, value] :
         {std::pair{char(isc_dpb_user_name), &login}, std::pair{char(isc_dpb_password), &secret}}) {
        block[length++] = item;
        block[length++] = char(value->size());
        std::memcpy(block + length, value->constData(), std::size_t(value->size()));
        length = short(length + value->size());
    }
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_db_handle attached = 0; // the attach may take long: Interrupt must not wait for it
    if (isc_attach_database(status, 0, name.constData(), &attached, length, block)) {
        error = GetStatusText(status);
        return false;
    }
    // Statements speak the database's own dialect: in dialect 3 "Name" is a
    // name and DATE a date, in dialect 1 a string and a timestamp.
    int dialect = 1;
    if (!AttachmentDialect(attached, dialect, error)) {
        isc_detach_database(status, &attached);
        return false;
    }
    Dialect_ = static_cast<unsigned short>(dialect);
    SetDbHandle(attached);
    return true;
}

void CFireBirdDatabase::SetDbHandle(isc_db_handle handle)
{
    const std::lock_guard lock(DbHandleLock_);
    DbHandle_ = handle;
}

void CFireBirdDatabase::Interrupt()
{
    const std::lock_guard lock(DbHandleLock_);
    if (!DbHandle_)
        return;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_db_handle handle = DbHandle_;
    fb_cancel_operation(status, &handle, fb_cancel_raise); // nothing running: nothing to say
}

bool CFireBirdDatabase::IsReachable()
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    return fb_ping(status, &DbHandle_) == 0;
}

bool CFireBirdDatabase::Disconnect()
{
    if (!DbHandle_)
        return false;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (TrHandle_) {
        if (IsReachable())
            return false; // the caller's transaction is the caller's to end
        // The server is gone and the transaction with it: let the client
        // library drop both, and report the failure by the result.
        if (isc_rollback_transaction(status, &TrHandle_))
            fb_disconnect_transaction(status, &TrHandle_);
        TrHandle_ = 0;
        isc_db_handle detached = DbHandle_;
        isc_detach_database(status, &detached);
        SetDbHandle(0);
        return false;
    }
    isc_db_handle detached = DbHandle_;
    if (isc_detach_database(status, &detached)) {
        if (IsReachable())
            return false;
        SetDbHandle(0); // a lost attachment is closed as far as it can be
        return false;
    }
    SetDbHandle(0);
    return true;
}

bool CFireBirdDatabase::IsConnected()
{
    return DbHandle_ != 0;
}

int CFireBirdDatabase::GetDatabaseType()
{
    return DatabaseTypeFireBird;
}

EScriptDialect CFireBirdDatabase::GetScriptDialect() const
{
    return ScriptDialectFireBird;
}

bool CFireBirdDatabase::StartTransaction(const char* block, short length, QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    // The library reads the block length as an int from its variable arguments.
    if (isc_start_transaction(status, &TrHandle_, 1, &DbHandle_, int(length), block)) {
        error = GetStatusText(status);
        TrHandle_ = 0;
        return false;
    }
    return true;
}

bool CFireBirdDatabase::BeginTransaction(QString& error)
{
    if (TrHandle_) {
        error = QStringLiteral("Transaction already started");
        return false;
    }
    return StartTransaction(nullptr, 0, error);
}

bool CFireBirdDatabase::CommitTransaction(QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_commit_transaction(status, &TrHandle_)) {
        error = GetStatusText(status);
        return false;
    }
    TrHandle_ = 0;
    return true;
}

bool CFireBirdDatabase::RollbackTransaction(QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_rollback_transaction(status, &TrHandle_)) {
        error = GetStatusText(status);
        return false;
    }
    TrHandle_ = 0;
    return true;
}

bool CFireBirdDatabase::BeginTransactionWith(const QString& sql, QString& error)
{
    if (TrHandle_) {
        error = QStringLiteral("We already have an active database transaction");
        return false;
    }
    if (!StartTransaction(TransactionWithBlock, short(sizeof TransactionWithBlock), error))
        return false;
    if (sql.isNull() || ExecuteSQL(sql, error))
        return true;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_rollback_transaction(status, &TrHandle_); // error keeps the script's message
    TrHandle_ = 0;
    return false;
}

// Scripts.

bool CFireBirdDatabase::RunStatement(const QByteArray& sql, isc_tr_handle& transaction,
                                     QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (!isc_dsql_execute_immediate(status, &DbHandle_, &transaction, 0, sql.constData(), Dialect_,
                                    nullptr))
        return true;
    if (!Carries(status, isc_dsql_no_output_sqlda)) {
        error = GetStatusText(status);
        return false;
    }
    // The statement returns rows, which an immediate execution has nowhere to
    // put: run it through a statement of its own and drop the rows.
    CFireBirdStatement statement;
    if (isc_dsql_allocate_statement(status, &DbHandle_, statement.Handle()) ||
        isc_dsql_prepare(status, &transaction, statement.Handle(), 0, sql.constData(), Dialect_,
                         nullptr) ||
        isc_dsql_execute(status, &transaction, statement.Handle(), SQLDA_VERSION1, nullptr)) {
        error = GetStatusText(status);
        return false;
    }
    return true;
}

bool CFireBirdDatabase::RunDefinition(const QByteArray& sql, QString& error)
{
    isc_tr_handle definition = 0;
    COwnedTransaction transaction(definition); // rolled back unless committed
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_start_transaction(status, &definition, 1, &DbHandle_, 0, nullptr)) {
        error = GetStatusText(status);
        return false;
    }
    transaction.Own();
    if (!RunStatement(sql, definition, error))
        return false;
    if (!transaction.Commit(status)) {
        error = GetStatusText(status);
        return false;
    }
    return true;
}

bool CFireBirdDatabase::RunScriptStatement(const QString& statement, bool ownsTransaction,
                                           QString& error)
{
    if (!Ended_.isEmpty()) {
        error = Ended_;
        return false;
    }
    switch (TransactionStatement(statement)) {
    case ETransactionStatement::Commit:
        return EndWork(true, ownsTransaction, error);
    case ETransactionStatement::Rollback:
        return EndWork(false, ownsTransaction, error);
    case ETransactionStatement::Other:
        break;
    }
    const CIsqlCommand command = IsqlCommand(statement);
    switch (command.Kind) {
    case EIsqlCommand::Sql:
        break;
    case EIsqlCommand::Display:
        return true;
    case EIsqlCommand::Names:
        // isql takes the character set for the next CONNECT; this
        // connection's was settled when it was made, and no CONNECT follows.
        return true;
    case EIsqlCommand::AutoDdl:
        return SetSwitch(command.Name, command.Argument, AutoDdl_, error);
    case EIsqlCommand::Bail:
        return SetSwitch(command.Name, command.Argument, Bail_, error);
    case EIsqlCommand::SqlDialect:
        if (command.Argument == QString::number(Dialect_))
            return true;
        error = QStringLiteral("SET SQL DIALECT %1 is not run: the database is of SQL dialect %2, "
                               "which every statement here uses")
                    .arg(command.Argument, QString::number(Dialect_));
        return false;
    case EIsqlCommand::SetTransaction:
        return SetTransaction(statement.toUtf8(), ownsTransaction, error);
    case EIsqlCommand::Exit:
    case EIsqlCommand::Quit: {
        const bool exit = command.Kind == EIsqlCommand::Exit;
        if (!EndWork(exit, ownsTransaction, error))
            return false;
        Ended_ = exit ? QStringLiteral("Not run: the script ended at EXIT")
                      : QStringLiteral("Not run: the script ended at QUIT, which rolled back "
                                       "its work");
        return true;
    }
    case EIsqlCommand::OtherDatabase:
        error = QStringLiteral("%1 is a command of FireBird's isql and is not run: the script "
                               "runs on the database of this connection")
                    .arg(command.Name);
        return false;
    case EIsqlCommand::Refused:
        error = QStringLiteral("%1 is a command of FireBird's isql, not SQL, and is not run")
                    .arg(command.Name);
        return false;
    }
    if (InScript_ && AutoDdl_ && IsDefinition(statement))
        return RunDefinition(statement.toUtf8(), error);
    return RunStatement(statement.toUtf8(), TrHandle_, error);
}

bool CFireBirdDatabase::SetSwitch(const QString& name, const QString& argument, bool& setting,
                                  QString& error)
{
    if (argument.isEmpty()) // isql's SET BAIL alone turns it over
        setting = !setting;
    else if (argument == u"ON" || argument == u"OFF")
        setting = argument == u"ON";
    else {
        error = QStringLiteral("%1 takes ON or OFF").arg(name);
        return false;
    }
    return true;
}

bool CFireBirdDatabase::EndWork(bool commit, bool ownsTransaction, QString& error)
{
    if (!TransactionSet_ || !ownsTransaction) {
        // Retaining: the work is committed or undone and what follows runs in
        // a new transaction of the same kind, while a query opened earlier in
        // the script keeps its rows for the grid.
        ISC_STATUS status[ISC_STATUS_LENGTH];
        if (commit ? isc_commit_retaining(status, &TrHandle_)
                   : isc_rollback_retaining(status, &TrHandle_)) {
            error = GetStatusText(status);
            return false;
        }
        return true;
    }
    // A transaction of SET TRANSACTION ends for good; what follows runs in
    // the usual kind again, as in isql.
    return FinishTransaction(commit, error) && StartWorkTransaction(error);
}

bool CFireBirdDatabase::FinishTransaction(bool commit, QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (InScript_ && ScriptQueryOpen_ && !ParkedTransaction_) {
        // The script's query reads from this transaction: its work ends, the
        // transaction stays for the rows until the script ends.
        if (commit ? isc_commit_retaining(status, &TrHandle_)
                   : isc_rollback_retaining(status, &TrHandle_)) {
            error = GetStatusText(status);
            return false;
        }
        ParkedTransaction_ = TrHandle_;
        ScriptQueryOpen_ = false;
    } else if (commit ? isc_commit_transaction(status, &TrHandle_)
                      : isc_rollback_transaction(status, &TrHandle_)) {
        error = GetStatusText(status);
        return false;
    }
    TrHandle_ = 0;
    TransactionSet_ = false;
    return true;
}

bool CFireBirdDatabase::StartWorkTransaction(QString& error)
{
    return InScript_ ? StartTransaction(ScriptBlock, short(sizeof ScriptBlock), error)
                     : StartTransaction(nullptr, 0, error);
}

bool CFireBirdDatabase::SetTransaction(const QByteArray& sql, bool ownsTransaction,
                                       QString& error)
{
    if (!ownsTransaction) {
        error = QStringLiteral("SET TRANSACTION is not run: a transaction begun outside the "
                               "script is open");
        return false;
    }
    // isql commits the work so far, then starts the transaction the
    // statement describes; the server reads the statement for that.
    if (TrHandle_ && !FinishTransaction(true, error))
        return false;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_dsql_execute_immediate(status, &DbHandle_, &TrHandle_, 0, sql.constData(), Dialect_,
                                   nullptr)) {
        error = GetStatusText(status);
        TrHandle_ = 0;
        QString ignored; // what follows runs in the usual kind, as in isql
        StartWorkTransaction(ignored);
        return false;
    }
    TransactionSet_ = true;
    return true;
}

void CFireBirdDatabase::ScriptStatementFailed(bool ownsTransaction)
{
    if (!InScript_ || !Bail_ || !Ended_.isEmpty())
        return;
    // isql stops at the failure and its work so far is undone.
    QString ignored;
    if (ownsTransaction)
        EndWork(false, true, ignored);
    Ended_ = QStringLiteral("Not run: SET BAIL ended the script at the statement that failed, "
                            "and its work was rolled back");
}

void CFireBirdDatabase::ResetScriptSettings()
{
    AutoDdl_ = true;
    Bail_ = false;
    TransactionSet_ = false;
    ScriptQueryOpen_ = false;
    Ended_.clear();
}

bool CFireBirdDatabase::BeginScript(QString& error)
{
    InScript_ = true;
    ResetScriptSettings();
    ScriptOwnsTransaction_ = false;
    if (TrHandle_)
        return true; // the caller's transaction, which the caller ends
    if (!StartTransaction(ScriptBlock, short(sizeof ScriptBlock), error))
        return false;
    ScriptOwnsTransaction_ = true;
    return true;
}

bool CFireBirdDatabase::EndScript(CAbstractRecordset* query, QString& error)
{
    InScript_ = false;
    const bool owned = ScriptOwnsTransaction_;
    ScriptOwnsTransaction_ = false;
    ResetScriptSettings();
    CFireBirdRecordset* recordset = Own(query);
    const bool queryOpen = recordset && recordset->IsOpen();
    bool ended = true;
    if (ParkedTransaction_) {
        // The query reads from a transaction whose work a statement after it
        // ended: the script's last transaction is committed, and the query's
        // takes its place.
        if (TrHandle_ && !CommitTransaction(error)) {
            ISC_STATUS status[ISC_STATUS_LENGTH];
            isc_rollback_transaction(status, &TrHandle_);
            ended = false;
        }
        TrHandle_ = ParkedTransaction_;
        ParkedTransaction_ = 0;
    } else if (!owned || !TrHandle_) {
        return true;
    }
    // A query still to be read keeps the transaction, and its Close commits it.
    if (queryOpen) {
        recordset->OwnsTransaction_ = true;
        return ended;
    }
    if (!ended) {
        QString ignored;
        CommitTransaction(ignored);
        return false;
    }
    return CommitTransaction(error);
}

bool CFireBirdDatabase::ExecuteSQL(const QString& sql, QString& error)
{
    // Cut as the engine cuts a script, so that a body it kept whole stays
    // whole; a statement the engine cut (under SET TERM, say) is not cut again.
    const QStringList pieces = InScript_ ? QStringList{sql} : SplitScript(sql, GetScriptDialect());
    COwnedTransaction transaction(TrHandle_);
    if (!TrHandle_) {
        if (!StartTransaction(nullptr, 0, error))
            return false;
        transaction.Own();
    }
    if (!InScript_)
        ResetScriptSettings(); // isql's settings last as long as the text
    const bool owns = InScript_ ? ScriptOwnsTransaction_ : transaction.IsOwned();
    for (const QString& piece : pieces) {
        // The server refuses a statement of comments alone.
        if (ContainsSql(piece) && !RunScriptStatement(piece.trimmed(), owns, error)) {
            ScriptStatementFailed(owns);
            return false; // an owned transaction is rolled back; one of the caller's stays open
        }
    }
    if (!InScript_)
        ResetScriptSettings();
    if (!transaction.IsOwned())
        return true;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (!transaction.Commit(status)) {
        error = GetStatusText(status);
        return false;
    }
    return true;
}

// Statements.

bool CFireBirdDatabase::Prepare(const QString& sql, QString& error, CAbstractRecordset*& stmt)
{
    stmt = nullptr;
    // On every failure below the recordset goes with all it holds, committing
    // the transaction if it had to start one.
    auto recordset = std::make_unique<CFireBirdRecordset>(this);
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_dsql_allocate_statement(status, &DbHandle_, recordset->StmtHandle_.Handle())) {
        error = GetStatusText(status);
        return false;
    }
    if (!TrHandle_) {
        if (!StartTransaction(nullptr, 0, error))
            return false;
        recordset->OwnsTransaction_ = true;
    }
    if (!DescribeColumns(*recordset, sql.toUtf8(), error) || !DescribeParameters(*recordset, error))
        return false;
    stmt = recordset.release();
    return true;
}

std::unique_ptr<CFireBirdDescriptor>
CFireBirdDatabase::Describe(const CDescribeCall& first, const CDescribeCall& again, QString& error)
{
    auto descriptor = CFireBirdDescriptor::Create(1);
    if (!descriptor) {
        error = OutOfMemory();
        return nullptr;
    }
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (first(status, descriptor->Get())) {
        error = GetStatusText(status);
        return nullptr;
    }
    if (descriptor->Count() <= descriptor->Room())
        return descriptor;
    descriptor = CFireBirdDescriptor::Create(descriptor->Count());
    if (!descriptor) {
        error = OutOfMemory();
        return nullptr;
    }
    if (again(status, descriptor->Get())) {
        error = GetStatusText(status);
        return nullptr;
    }
    return descriptor;
}

bool CFireBirdDatabase::DescribeColumns(CFireBirdRecordset& recordset, const QByteArray& sql,
                                        QString& error)
{
    isc_stmt_handle* handle = recordset.StmtHandle_.Handle();
    auto output = Describe(
        [&](ISC_STATUS* status, XSQLDA* sqlda) {
            return isc_dsql_prepare(status, &TrHandle_, handle, 0, sql.constData(), Dialect_,
                                    sqlda);
        },
        [&](ISC_STATUS* status, XSQLDA* sqlda) {
            return isc_dsql_describe(status, handle, SQLDA_VERSION1, sqlda);
        },
        error);
    if (!output)
        return false;
    for (int i = 0; i < output->Count(); ++i) {
        XSQLVAR& column = *output->Variable(i);
        const int nullable = column.sqltype & 1;
        std::size_t bytes = std::size_t(std::max<int>(column.sqllen, 0));
        switch (column.sqltype & ~1) {
        case SQL_VARYING: // fetched blank-padded, like CHAR, with room for a zero after it
            column.sqltype = ISC_SHORT(SQL_TEXT | nullable);
            bytes += 2;
            break;
        case SQL_TEXT:
            bytes += 2;
            break;
        case SQL_BLOB: // the BLOB id
            column.sqllen = sizeof(ISC_QUAD);
            bytes = sizeof(ISC_QUAD);
            break;
        default:
            break;
        }
        if (!output->AllocateData(i, bytes) || (nullable && !output->AllocateIndicator(i))) {
            error = OutOfMemory();
            return false;
        }
    }
    recordset.OutputDescriptor_ = std::move(output);
    return true;
}

bool CFireBirdDatabase::DescribeParameters(CFireBirdRecordset& recordset, QString& error)
{
    isc_stmt_handle* handle = recordset.StmtHandle_.Handle();
    const auto bind = [handle](ISC_STATUS* status, XSQLDA* sqlda) {
        return isc_dsql_describe_bind(status, handle, SQLDA_VERSION1, sqlda);
    };
    auto input = Describe(bind, bind, error);
    if (!input)
        return false;
    if (input->Count() == 0)
        return true;
    for (int i = 0; i < input->Count(); ++i) {
        XSQLVAR& parameter = *input->Variable(i);
        bool allocated = true;
        switch (parameter.sqltype & ~1) {
        case SQL_VARYING: // bound as text by SetParamString
            parameter.sqltype = SQL_TEXT;
            break;
        case SQL_TEXT:
            break;
        case SQL_LONG:
            parameter.sqltype = SQL_LONG;
            allocated = input->AllocateData(i, sizeof(ISC_LONG));
            break;
        case SQL_BLOB:
            parameter.sqllen = sizeof(ISC_QUAD);
            allocated = input->AllocateData(i, sizeof(ISC_QUAD));
            break;
        default:
            allocated = input->AllocateData(i, std::size_t(std::max<int>(parameter.sqllen, 0)));
            break;
        }
        if (!allocated || ((parameter.sqltype & 1) && !input->AllocateIndicator(i))) {
            error = OutOfMemory();
            return false;
        }
    }
    recordset.InputDescriptor_ = std::move(input);
    return true;
}

CFireBirdRecordset* CFireBirdDatabase::Own(CAbstractRecordset* stmt) const
{
    auto* recordset = dynamic_cast<CFireBirdRecordset*>(stmt);
    return recordset && recordset->Owner_ == this ? recordset : nullptr;
}

bool CFireBirdDatabase::CheckTextParameters(CFireBirdRecordset& recordset, QString& error)
{
    if (!recordset.InputDescriptor_)
        return true;
    for (int i = 0; i < recordset.InputDescriptor_->Count(); ++i) {
        const XSQLVAR* parameter = recordset.InputDescriptor_->Variable(i);
        if (parameter && !parameter->sqldata) {
            error = QStringLiteral("Parameter %1 has no value").arg(i);
            return false;
        }
    }
    return true;
}

bool CFireBirdDatabase::Execute(CAbstractRecordset* stmt, QString& error)
{
    CFireBirdRecordset* recordset = Own(stmt);
    if (!recordset) {
        error = NotPrepared();
        return false;
    }
    if (!CheckTextParameters(*recordset, error))
        return false;
    recordset->Rewind();
    ISC_STATUS status[ISC_STATUS_LENGTH];
    XSQLDA* input = recordset->InputDescriptor_ ? recordset->InputDescriptor_->Get() : nullptr;
    if (isc_dsql_execute(status, &TrHandle_, recordset->StmtHandle_.Handle(), SQLDA_VERSION1,
                         input)) {
        error = GetStatusText(status);
        return false;
    }
    return true;
}

bool CFireBirdDatabase::CloseCursor(CAbstractRecordset* stmt, QString& error)
{
    CFireBirdRecordset* recordset = Own(stmt);
    if (!recordset) {
        error = NotPrepared();
        return false;
    }
    recordset->Rewind();
    ISC_STATUS status[ISC_STATUS_LENGTH];
    // A statement without an open cursor (an INSERT, or a query not run yet)
    // is already where closing would put it.
    if (isc_dsql_free_statement(status, recordset->StmtHandle_.Handle(), DSQL_close) &&
        !Carries(status, isc_dsql_cursor_close_err)) {
        error = GetStatusText(status);
        return false;
    }
    return true;
}

bool CFireBirdDatabase::OpenRecordset(const QString& sql, QString& error,
                                      CAbstractRecordset*& recordset)
{
    if (InScript_) {
        // SHOW and the like reach here as queries; after EXIT nothing runs.
        if (!Ended_.isEmpty() || IsqlCommand(sql).Kind != EIsqlCommand::Sql) {
            recordset = nullptr;
            if (RunScriptStatement(sql.trimmed(), ScriptOwnsTransaction_, error))
                return true;
            ScriptStatementFailed(ScriptOwnsTransaction_);
            return false;
        }
    }
    // A recordset that was prepared but failed to run is handed out too.
    const bool opened = Prepare(sql, error, recordset) && Execute(recordset, error);
    if (InScript_) {
        if (opened)
            ScriptQueryOpen_ = true;
        else
            ScriptStatementFailed(ScriptOwnsTransaction_);
    }
    return opened;
}

bool CFireBirdDatabase::GetTableNames(QStringList& names, QString& error)
{
    return GetTableNamesByQuery(QString::fromLatin1(TableQuery), names, error);
}

bool CFireBirdDatabase::AttachmentDialect(isc_db_handle& attachment, int& dialect, QString& error)
{
    const char items[] = {isc_info_db_sql_dialect, isc_info_end};
    char answer[32] = {};
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_database_info(status, &attachment, short(sizeof items), items, short(sizeof answer),
                          answer)) {
        error = GetStatusText(status);
        return false;
    }
    dialect = 1; // a database too old to say is of dialect 1
    for (int i = 0; i + 3 <= int(sizeof answer) && answer[i] != isc_info_end;) {
        const int length = int(isc_vax_integer(answer + i + 1, 2));
        if (length < 0 || i + 3 + length > int(sizeof answer))
            break;
        if (answer[i] == isc_info_db_sql_dialect)
            dialect = int(isc_vax_integer(answer + i + 3, short(length)));
        i += 3 + length;
    }
    return true;
}

bool CFireBirdDatabase::GetColumnNames(const QString& table, QStringList& columns, QString& error)
{
    if (Dialect_ < 3)
        return GetColumnNamesFromCatalogue(table, columns, error);

    const QByteArray sql =
        (QStringLiteral("SELECT * FROM ") + QuoteIdentifier(table, QStringLiteral("\""))).toUtf8();
    ISC_STATUS status[ISC_STATUS_LENGTH];
    CFireBirdStatement statement;
    if (isc_dsql_allocate_statement(status, &DbHandle_, statement.Handle())) {
        error = GetStatusText(status);
        return false;
    }
    // Declared after the statement: an owned transaction is rolled back
    // before the statement is released. It only served the preparation.
    COwnedTransaction transaction(TrHandle_);
    if (!TrHandle_) {
        if (!StartTransaction(nullptr, 0, error))
            return false;
        transaction.Own();
    }
    auto output = Describe(
        [&](ISC_STATUS* status, XSQLDA* sqlda) {
            return isc_dsql_prepare(status, &TrHandle_, statement.Handle(), 0, sql.constData(),
                                    Dialect_, sqlda);
        },
        [&](ISC_STATUS* status, XSQLDA* sqlda) {
            return isc_dsql_describe(status, statement.Handle(), SQLDA_VERSION1, sqlda);
        },
        error);
    if (!output)
        return false;
    for (int i = 0; i < output->Count(); ++i) {
        const XSQLVAR& column = *output->Variable(i);
        const int length =
            std::clamp<int>(column.aliasname_length, 0, int(sizeof column.aliasname));
        columns.append(Utf8ToText(column.aliasname, length));
    }
    return true;
}

bool CFireBirdDatabase::GetColumnNamesFromCatalogue(const QString& table, QStringList& columns,
                                                    QString& error)
{
    CAbstractRecordset* prepared = nullptr;
    const bool ok = Prepare(QStringLiteral("SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS "
                                           "WHERE RDB$RELATION_NAME = ? "
                                           "ORDER BY RDB$FIELD_POSITION"),
                            error, prepared);
    CRecordsetPtr recordset(prepared);
    if (!ok || !SetParamString(prepared, 0, table, error) || !Execute(prepared, error))
        return false;
    QStringList found;
    while (recordset->MoveNext())
        found.append(recordset->GetString(0));
    if (recordset->GetFetchError(error))
        return false;
    if (found.isEmpty()) { // every table has a column
        error = QStringLiteral("Table unknown: %1").arg(table);
        return false;
    }
    columns += found;
    return true;
}

bool CFireBirdDatabase::GetViewNames(QStringList& names, QString& error)
{
    return GetTableNamesByQuery(
        QStringLiteral("select RDB$RELATION_NAME from RDB$RELATIONS where "
                       "(RDB$SYSTEM_FLAG = 0) AND (RDB$VIEW_BLR IS NOT NULL)"),
        names, error);
}

namespace {

// A column's type as a CREATE TABLE writes it, from its RDB$FIELDS row.
// Integers with a scale are the NUMERIC and DECIMAL columns; dialect 1 keeps
// those with many digits in a double and calls its timestamps DATE.
QString FireBirdTypeText(CAbstractRecordset& field, int dialect)
{
    enum // RDB$FIELDS columns of the query below
    {
        Type = 1,
        SubType,
        Length,
        CharacterLength,
        Precision,
        Scale,
    };
    const int type = field.GetInt(Type);
    const int subType = field.GetInt(SubType);
    const int scale = field.GetInt(Scale);
    const int characters =
        field.IsNull(CharacterLength) ? field.GetInt(Length) : field.GetInt(CharacterLength);
    const auto scaled = [&](const char* plain, int digits) {
        if (scale >= 0 && subType == 0)
            return QString::fromLatin1(plain);
        const int precision = field.GetInt(Precision) > 0 ? field.GetInt(Precision) : digits;
        return QStringLiteral("%1(%2,%3)")
            .arg(subType == 2 ? QStringLiteral("DECIMAL") : QStringLiteral("NUMERIC"))
            .arg(precision)
            .arg(-scale);
    };
    switch (type) {
    case 7:
        return scaled("SMALLINT", 4);
    case 8:
        return scaled("INTEGER", 9);
    case 16:
        return scaled("BIGINT", 18);
    case 26:
        return scaled("INT128", 38);
    case 27:
        return scale < 0 ? scaled("DOUBLE PRECISION", 15) : QStringLiteral("DOUBLE PRECISION");
    case 10:
    case 11:
        return QStringLiteral("FLOAT");
    case 12:
        return QStringLiteral("DATE");
    case 13:
        return QStringLiteral("TIME");
    case 28:
        return QStringLiteral("TIME WITH TIME ZONE");
    case 35:
        return dialect < 3 ? QStringLiteral("DATE") : QStringLiteral("TIMESTAMP");
    case 29:
        return QStringLiteral("TIMESTAMP WITH TIME ZONE");
    case 14:
        return QStringLiteral("CHAR(%1)").arg(characters);
    case 37:
        return QStringLiteral("VARCHAR(%1)").arg(characters);
    case 40:
        return QStringLiteral("CSTRING(%1)").arg(characters);
    case 23:
        return QStringLiteral("BOOLEAN");
    case 24:
        return QStringLiteral("DECFLOAT(16)");
    case 25:
        return QStringLiteral("DECFLOAT(34)");
    case 261:
        if (subType == 0)
            return QStringLiteral("BLOB");
        if (subType == 1)
            return QStringLiteral("BLOB SUB_TYPE TEXT");
        return QStringLiteral("BLOB SUB_TYPE %1").arg(subType);
    case 9:
        return QStringLiteral("QUAD");
    default:
        return {};
    }
}

} // namespace

bool CFireBirdDatabase::GetColumnTypes(const QString& table, QHash<QString, QString>& types,
                                       QString& error)
{
    CAbstractRecordset* prepared = nullptr;
    const bool ok =
        Prepare(QStringLiteral("SELECT RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE, "
                               "F.RDB$FIELD_LENGTH, F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_PRECISION, "
                               "F.RDB$FIELD_SCALE "
                               "FROM RDB$RELATION_FIELDS RF "
                               "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                               "WHERE RF.RDB$RELATION_NAME = ?"),
                error, prepared);
    CRecordsetPtr recordset(prepared);
    if (!ok || !SetParamString(prepared, 0, table, error) || !Execute(prepared, error))
        return false;
    while (recordset->MoveNext())
        types.insert(recordset->GetString(0), FireBirdTypeText(*recordset, Dialect_));
    return !recordset->GetFetchError(error);
}

bool CFireBirdDatabase::GetColumns(const QString& table, QStringList& columns, QStringList& types,
                                   QString& error)
{
    QStringList names;
    QHash<QString, QString> declared;
    if (!GetColumnNames(table, names, error) || !GetColumnTypes(table, declared, error))
        return false;
    columns += names;
    for (const QString& name : std::as_const(names))
        types.append(declared.value(name));
    return true;
}

QString CFireBirdDatabase::GetIdentifierQuote() const
{
    // Dialect 1 reads double quotes as string quotes and has no quoted names.
    return Dialect_ < 3 ? QString() : QStringLiteral("\"");
}

EIdentifierCase CFireBirdDatabase::GetIdentifierCase() const
{
    return IdentifierCaseUpper;
}

// Parameters.

CFireBirdDescriptor* CFireBirdDatabase::Parameters(CAbstractRecordset* stmt, int index,
                                                   QString& error) const
{
    CFireBirdRecordset* recordset = Own(stmt);
    if (!recordset || !recordset->InputDescriptor_) {
        error = NoParameters();
        return nullptr;
    }
    const int count = recordset->InputDescriptor_->Count();
    if (index < 0 || index >= count) {
        error = QStringLiteral("Parameter index must be between 0 and %1").arg(count - 1);
        return nullptr;
    }
    return recordset->InputDescriptor_.get();
}

bool CFireBirdDatabase::GetParamCount(CAbstractRecordset* stmt, int& count, QString&)
{
    CFireBirdRecordset* recordset = Own(stmt);
    count = recordset && recordset->InputDescriptor_ ? recordset->InputDescriptor_->Count() : 0;
    return true;
}

bool CFireBirdDatabase::GetParamName(CAbstractRecordset* stmt, int index, QString& name,
                                     QString& error)
{
    CFireBirdRecordset* recordset = Own(stmt);
    const XSQLVAR* parameter = recordset && recordset->InputDescriptor_
                                   ? recordset->InputDescriptor_->Variable(index)
                                   : nullptr;
    if (!parameter) {
        error = NotFound();
        return false;
    }
    name = ParameterName(*parameter);
    return true;
}

bool CFireBirdDatabase::GetParamIndex(CAbstractRecordset* stmt, const QString& name, int& index,
                                      QString& error)
{
    if (name.isEmpty()) {
        error =
            QStringLiteral("Cannot find the index of the unnamed parameter when searching by name");
        return false;
    }
    CFireBirdRecordset* recordset = Own(stmt);
    if (recordset && recordset->InputDescriptor_) {
        const CFireBirdDescriptor& input = *recordset->InputDescriptor_;
        for (int i = 0; i < input.Count(); ++i) {
            const XSQLVAR* parameter = input.Variable(i);
            if (parameter && ParameterName(*parameter).compare(name, Qt::CaseInsensitive) == 0) {
                index = i;
                return true;
            }
        }
    }
    error = NotFound();
    return false;
}

bool CFireBirdDatabase::SetParamDouble(CAbstractRecordset* stmt, int index, double value,
                                       QString& error)
{
    CFireBirdDescriptor* input = Parameters(stmt, index, error);
    if (!input)
        return false;
    XSQLVAR& parameter = *input->Variable(index);
    if ((parameter.sqltype & ~1) != SQL_DOUBLE || !parameter.sqldata ||
        parameter.sqllen < ISC_SHORT(sizeof value)) {
        error = QStringLiteral("Parameter %1 is not of type DOUBLE PRECISION").arg(index);
        return false;
    }
    std::memcpy(parameter.sqldata, &value, sizeof value);
    return true;
}

bool CFireBirdDatabase::SetParamInt(CAbstractRecordset* stmt, int index, int value, QString& error)
{
    CFireBirdDescriptor* input = Parameters(stmt, index, error);
    if (!input)
        return false;
    XSQLVAR& parameter = *input->Variable(index);
    // A scaled INTEGER (NUMERIC, DECIMAL) would take the value as hundredths
    // or the like.
    if ((parameter.sqltype & ~1) != SQL_LONG || parameter.sqlscale != 0 || !parameter.sqldata ||
        parameter.sqllen < ISC_SHORT(sizeof(ISC_LONG))) {
        error = QStringLiteral("Parameter %1 is not of type INTEGER").arg(index);
        return false;
    }
    const ISC_LONG integer = value;
    std::memcpy(parameter.sqldata, &integer, sizeof integer);
    return true;
}

bool CFireBirdDatabase::SetParamInt64(CAbstractRecordset*, int, qint64, QString& error)
{
    error = QStringLiteral("64-bit integer parameters are not supported in FireBird");
    return false;
}

bool CFireBirdDatabase::SetParamString(CAbstractRecordset* stmt, int index, const QString& value,
                                       QString& error)
{
    CFireBirdDescriptor* input = Parameters(stmt, index, error);
    if (!input)
        return false;
    const QByteArray utf8 = value.toUtf8();
    if (utf8.size() > MaxTextParameterBytes) {
        error = QStringLiteral("The text for parameter %1 is longer than %2 bytes")
                    .arg(index)
                    .arg(MaxTextParameterBytes);
        return false;
    }
    if (!input->CopyData(index, utf8.constData(), std::size_t(utf8.size())) ||
        !input->AllocateIndicator(index)) {
        error = OutOfMemory();
        return false;
    }
    XSQLVAR& parameter = *input->Variable(index);
    parameter.sqllen = ISC_SHORT(utf8.size());
    parameter.sqltype = SQL_TEXT | 1;
    *parameter.sqlind = 0;
    return true;
}

// BLOBs.

bool CFireBirdDatabase::WriteBlob(const void* data, int size, ISC_QUAD& id, QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    CFireBirdBlob blob; // closed on every path
    if (isc_create_blob2(status, &DbHandle_, &TrHandle_, blob.Handle(), &id, 0, nullptr)) {
        error = QStringLiteral("Не удалось создать BLOB в базе данных: ") + GetStatusText(status);
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    for (int offset = 0; offset < size; offset += BlobChunk) {
        const auto length = static_cast<unsigned short>(std::min(BlobChunk, size - offset));
        const ISC_STATUS result = isc_put_segment(status, blob.Handle(), length, bytes + offset);
        if (result || (status[0] == isc_arg_gds && status[1] != 0)) {
            error = QStringLiteral("Не удалось записать блок данных при записи BLOB в базу "
                                   "данных: ") +
                    GetStatusText(status);
            return false;
        }
    }
    if (blob.Close(status)) {
        error = QStringLiteral("Не удалось закрыть BLOB в базе данных: ") + GetStatusText(status);
        return false;
    }
    return true;
}

bool CFireBirdDatabase::ExecuteWithBlob(const QString& sql, const void* data, int size,
                                        QString& error)
{
    // A negative size is refused as the other backends refuse it, rather
    // than stored as an empty value and reported as a success.
    if (size < 0) {
        error = QStringLiteral("Wrong size of the binary data: (%1)").arg(size);
        return false;
    }
    if (size == 0) {
        QString text = sql;
        text.replace(u'?', QStringLiteral("NULL"));
        return ExecuteSQL(text, error);
    }
    if (size > 0 && !data) {
        error = QStringLiteral("No BLOB data was given");
        return false;
    }
    ISC_STATUS status[ISC_STATUS_LENGTH];
    CFireBirdStatement statement;
    if (isc_dsql_allocate_statement(status, &DbHandle_, statement.Handle())) {
        error = QStringLiteral("Не удалось создать SQL statement: ") + GetStatusText(status);
        return false;
    }
    // Declared after the statement: an owned transaction is rolled back
    // before the statement is released.
    COwnedTransaction transaction(TrHandle_);
    if (!TrHandle_) {
        if (!StartTransaction(nullptr, 0, error)) {
            error.prepend(QStringLiteral("Не удалось начать транзакцию: "));
            return false;
        }
        transaction.Own();
    }
    ISC_QUAD id{};
    if (!WriteBlob(data, size, id, error))
        return false;

    const QByteArray utf8 = sql.toUtf8();
    auto input = CFireBirdDescriptor::Create(1);
    if (!input) {
        error = OutOfMemory();
        return false;
    }
    // The prepared statement only serves to count the parameters.
    if (isc_dsql_prepare(status, &TrHandle_, statement.Handle(), 0, utf8.constData(), Dialect_,
                         input->Get()) ||
        isc_dsql_describe_bind(status, statement.Handle(), SQLDA_VERSION1, input->Get())) {
        error = GetStatusText(status);
        return false;
    }
    if (input->Count() != 1) {
        error = QStringLiteral("Внутренняя ошибка программы (FireBird): количество формальных "
                               "параметров SQL-запроса больше количества фактических");
        return false;
    }
    if (!input->CopyData(0, reinterpret_cast<const char*>(&id), sizeof id) ||
        !input->AllocateIndicator(0)) {
        error = OutOfMemory();
        return false;
    }
    XSQLVAR& parameter = *input->Variable(0);
    parameter.sqltype = SQL_BLOB | 1;
    parameter.sqllen = sizeof(ISC_QUAD);
    *parameter.sqlind = 0;
    if (isc_dsql_execute_immediate(status, &DbHandle_, &TrHandle_, 0, utf8.constData(), Dialect_,
                                   input->Get())) {
        error = GetStatusText(status);
        return false;
    }
    if (transaction.IsOwned() && !transaction.Commit(status)) {
        error = GetStatusText(status);
        return false;
    }
    return true;
}
