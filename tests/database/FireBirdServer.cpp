#include "database/FireBirdServer.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <unistd.h>

namespace {

QString StatusMessage(const ISC_STATUS* status)
{
    QStringList messages;
    const ISC_STATUS* cursor = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        messages.append(QString::fromUtf8(buffer));
    return messages.join(QStringLiteral("; "));
}

// SYSDBA's password as the server package saved it.
QString SavedPassword()
{
    QFile file(QStringLiteral("/etc/firebird/3.0/SYSDBA.password"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression line(QStringLiteral("^ISC_PASSWORD=\"?([^\"\\n]*)\"?$"),
                                         QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(file.readAll())).captured(1);
}

// Attachment and transaction of the raw calls below, released on every path.
struct CRawAttachment
{
    isc_db_handle Handle = 0;
    ~CRawAttachment()
    {
        ISC_STATUS status[ISC_STATUS_LENGTH];
        if (Handle)
            isc_detach_database(status, &Handle);
    }
};

struct CRawTransaction
{
    isc_tr_handle Handle = 0;
    ~CRawTransaction()
    {
        ISC_STATUS status[ISC_STATUS_LENGTH];
        if (Handle)
            isc_rollback_transaction(status, &Handle);
    }
};

bool Start(CRawAttachment& attachment, CRawTransaction& transaction, QString& error)
{
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_start_transaction(status, &transaction.Handle, 1, &attachment.Handle, 0, nullptr)) {
        error = StatusMessage(status);
        return false;
    }
    return true;
}

} // namespace

CFireBirdServer::CFireBirdServer()
{
    User_ = qEnvironmentVariable("TABLESCOPE_FB_USER", QStringLiteral("SYSDBA"));
    Password_ = qEnvironmentVariable("TABLESCOPE_FB_PASSWORD");
    if (Password_.isEmpty())
        Password_ = SavedPassword();
    Folder_ = qEnvironmentVariable("TABLESCOPE_FB_DIR");
    if (Folder_.isEmpty() && Scratch_.isValid()) {
        // The server runs as a user of its own and must write here.
        QFile::setPermissions(Scratch_.path(), QFileDevice::Permissions(0x7777));
        Folder_ = Scratch_.path();
    }
}

QString CFireBirdServer::NewLocation(const QString& stem)
{
    return QStringLiteral("localhost:%1/%2_%3_%4.fdb")
        .arg(Folder_, stem)
        .arg(qint64(getpid()))
        .arg(++Count_);
}

bool CFireBirdServer::Create(const QString& location, QString& error, int dialect)
{
    QString escaped = Password_;
    escaped.replace(u'\'', QStringLiteral("''"));
    const QByteArray sql = QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3'")
                               .arg(location, User_, escaped)
                               .toUtf8();
    ISC_STATUS status[ISC_STATUS_LENGTH];
    CRawAttachment attachment;
    isc_tr_handle none = 0;
    if (isc_dsql_execute_immediate(status, &attachment.Handle, &none, 0, sql.constData(),
                                   static_cast<unsigned short>(dialect), nullptr)) {
        error = StatusMessage(status);
        return false;
    }
    return true;
}

bool CFireBirdServer::Drop(const QString& location, QString& error)
{
    CRawAttachment attachment;
    if (!Attach(location, attachment.Handle, error))
        return false;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_drop_database(status, &attachment.Handle)) {
        error = StatusMessage(status);
        return false;
    }
    attachment.Handle = 0;
    return true;
}

bool CFireBirdServer::Run(const QString& location, const QString& sql, QString& error)
{
    CRawAttachment attachment;
    CRawTransaction transaction;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (!Attach(location, attachment.Handle, error) || !Start(attachment, transaction, error))
        return false;
    if (isc_dsql_execute_immediate(status, &attachment.Handle, &transaction.Handle, 0,
                                   sql.toUtf8().constData(), 3, nullptr) ||
        isc_commit_transaction(status, &transaction.Handle)) {
        error = StatusMessage(status);
        return false;
    }
    return true;
}

bool CFireBirdServer::InsertOneSegmentBlob(const QString& location, const QString& insert,
                                           const QByteArray& bytes, QString& error)
{
    CRawAttachment attachment;
    CRawTransaction transaction;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (!Attach(location, attachment.Handle, error) || !Start(attachment, transaction, error))
        return false;
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    short notNull = 0;
    XSQLDA input{};
    input.version = SQLDA_VERSION1;
    input.sqln = input.sqld = 1;
    input.sqlvar[0].sqltype = SQL_BLOB | 1;
    input.sqlvar[0].sqllen = sizeof id;
    input.sqlvar[0].sqldata = reinterpret_cast<char*>(&id);
    input.sqlvar[0].sqlind = &notNull;
    if (isc_create_blob2(status, &attachment.Handle, &transaction.Handle, &blob, &id, 0, nullptr) ||
        isc_put_segment(status, &blob, static_cast<unsigned short>(bytes.size()),
                        bytes.constData()) ||
        isc_close_blob(status, &blob) ||
        isc_dsql_execute_immediate(status, &attachment.Handle, &transaction.Handle, 0,
                                   insert.toUtf8().constData(), 1, &input) ||
        isc_commit_transaction(status, &transaction.Handle)) {
        error = StatusMessage(status);
        if (blob)
            isc_cancel_blob(status, &blob);
        return false;
    }
    return true;
}

bool CFireBirdServer::BlobSegments(const QString& location, const QString& query, int& count,
                                   int& longest, QString& error)
{
    CRawAttachment attachment;
    CRawTransaction transaction;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (!Attach(location, attachment.Handle, error) || !Start(attachment, transaction, error))
        return false;
    isc_stmt_handle statement = 0;
    ISC_QUAD id{};
    short indicator = 0;
    XSQLDA output{};
    output.version = SQLDA_VERSION1;
    output.sqln = 1;
    isc_blob_handle blob = 0;
    const char items[] = {isc_info_blob_num_segments, isc_info_blob_max_segment};
    char info[64] = {};
    bool ok = !isc_dsql_allocate_statement(status, &attachment.Handle, &statement) &&
              !isc_dsql_prepare(status, &transaction.Handle, &statement, 0,
                                query.toUtf8().constData(), 1, &output);
    if (ok) {
        output.sqlvar[0].sqldata = reinterpret_cast<char*>(&id);
        output.sqlvar[0].sqlind = &indicator;
        ok = !isc_dsql_execute(status, &transaction.Handle, &statement, 1, nullptr) &&
             !isc_dsql_fetch(status, &statement, 1, &output) &&
             !isc_open_blob2(status, &attachment.Handle, &transaction.Handle, &blob, &id, 0,
                             nullptr) &&
             !isc_blob_info(status, &blob, sizeof items, items, sizeof info, info);
    }
    if (!ok)
        error = StatusMessage(status);
    ISC_STATUS ignored[ISC_STATUS_LENGTH];
    if (blob)
        isc_close_blob(ignored, &blob);
    if (statement)
        isc_dsql_free_statement(ignored, &statement, DSQL_drop);
    for (int i = 0; ok && i < int(sizeof info) - 3 && info[i] != isc_info_end;) {
        const short length = short(isc_vax_integer(info + i + 1, 2));
        const int value = int(isc_vax_integer(info + i + 3, length));
        if (info[i] == isc_info_blob_num_segments)
            count = value;
        else if (info[i] == isc_info_blob_max_segment)
            longest = value;
        i += 3 + length;
    }
    return ok;
}

bool CFireBirdServer::Attach(const QString& location, isc_db_handle& attachment, QString& error)
{
    const QByteArray user = User_.toUtf8();
    const QByteArray password = Password_.toUtf8();
    QByteArray block(1, char(isc_dpb_version1));
    block += char(isc_dpb_user_name) + QByteArray(1, char(user.size())) + user;
    block += char(isc_dpb_password) + QByteArray(1, char(password.size())) + password;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    if (isc_attach_database(status, 0, location.toUtf8().constData(), &attachment,
                            short(block.size()), block.constData())) {
        error = StatusMessage(status);
        attachment = 0;
        return false;
    }
    return true;
}
