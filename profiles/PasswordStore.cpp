#include "profiles/PasswordStore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

// The job's own message, or one for its error code when it gives none.
QString Reason(const QKeychain::Job& job)
{
    if (!job.errorString().isEmpty())
        return job.errorString();
    switch (job.error()) {
    case QKeychain::AccessDeniedByUser:
    case QKeychain::AccessDenied:
        return QStringLiteral("access to the keyring was denied");
    case QKeychain::NoBackendAvailable:
        return QStringLiteral("no keyring service is available");
    default:
        return QStringLiteral("the keyring reported error %1").arg(int(job.error()));
    }
}

// Whether the Secret Service holds the entry in a locked collection. The
// keyring's library reports such an entry as missing when the user declines
// to unlock it, and a save must not take it for one never stored. The
// attributes are those QtKeychain gives its entries in the Secret Service.
bool LockedEntry(const QString& service, const QString& key, int timeout)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("SearchItems"));
    const QMap<QString, QString> attributes = {{QStringLiteral("server"), service},
                                               {QStringLiteral("user"), key}};
    call << QVariant::fromValue(attributes);
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
        return false;
    return !qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().at(1)).isEmpty();
}

} // namespace

CPasswordStore::CPasswordStore(QObject* parent) : QObject(parent) {}

CPasswordStore& CPasswordStore::Instance()
{
    static QPointer<CPasswordStore> store;
    if (!store)
        store = new CPasswordStore(QCoreApplication::instance());
    return *store;
}

bool CPasswordStore::Run(std::unique_ptr<QKeychain::Job>& job, QString& reason)
{
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        reason = QStringLiteral("the keyring needs the application object");
        return false;
    }
    if (QThread::currentThread() != application->thread()) {
        reason = QStringLiteral("the keyring is asked on the interface thread only");
        return false;
    }
    // The wait below dispatches events: whatever they start must not ask again.
    if (Waiting_) {
        reason = QStringLiteral("another request to the keyring is still waiting");
        return false;
    }
    // QtKeychain runs one request at a time: a new one would queue behind it.
    if (Pending_) {
        reason = QStringLiteral("the keyring has not answered an earlier request");
        return false;
    }

    job->setAutoDelete(false);
    bool finished = false;
    QEventLoop loop;
    connect(job.get(), &QKeychain::Job::finished, &loop, [&finished, &loop] {
        finished = true;
        loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(Timeout_);
    Waiting_ = true;
    job->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    Waiting_ = false;

    if (!finished) {
        // The keyring's library still holds the job and will call it back:
        // it must live until then, and goes by itself when it finishes.
        job->setAutoDelete(true);
        Pending_ = job.release();
        reason = QStringLiteral("the keyring did not answer within %1 seconds")
                     .arg(double(Timeout_) / 1000.0);
        return false;
    }
    return true;
}

CPasswordStore::EReadResult CPasswordStore::ReadPassword(const QString& service, const QString& key,
                                                         QString& password, QString& reason)
{
    password.clear();
    auto* read = new QKeychain::ReadPasswordJob(service);
    std::unique_ptr<QKeychain::Job> job(read);
    job->setKey(key);
    if (!Run(job, reason)) {
        MarkUnread(service, key);
        return KeyringFailed;
    }
    switch (job->error()) {
    case QKeychain::NoError:
        Unread_.remove(service + QChar(0) + key);
        password = read->textData();
        return PasswordFound;
    case QKeychain::EntryNotFound:
        if (LockedEntry(service, key, Timeout_)) {
            MarkUnread(service, key);
            reason = QStringLiteral("the keyring is locked");
            return KeyringFailed;
        }
        Unread_.remove(service + QChar(0) + key);
        return PasswordMissing;
    default:
        MarkUnread(service, key);
        reason = Reason(*job);
        return KeyringFailed;
    }
}

void CPasswordStore::MarkUnread(const QString& service, const QString& key)
{
    Unread_.insert(service + QChar(0) + key);
}

bool CPasswordStore::IsUnread(const QString& service, const QString& key) const
{
    return Unread_.contains(service + QChar(0) + key);
}

bool CPasswordStore::WritePassword(const QString& service, const QString& key,
                                   const QString& password, QString& reason)
{
    auto* write = new QKeychain::WritePasswordJob(service);
    std::unique_ptr<QKeychain::Job> job(write);
    job->setKey(key);
    write->setTextData(password);
    if (!Run(job, reason))
        return false;
    if (job->error() != QKeychain::NoError) {
        reason = Reason(*job);
        return false;
    }
    return true;
}

bool CPasswordStore::DeletePassword(const QString& service, const QString& key, QString& reason)
{
    std::unique_ptr<QKeychain::Job> job(new QKeychain::DeletePasswordJob(service));
    job->setKey(key);
    if (!Run(job, reason))
        return false;
    if (job->error() != QKeychain::NoError && job->error() != QKeychain::EntryNotFound) {
        reason = Reason(*job);
        return false;
    }
    return true;
}

void CPasswordStore::Tell(const QString& notice)
{
    Notice_ = notice;
    emit NoticeGiven();
}

QString CPasswordStore::TakeNotice()
{
    return std::exchange(Notice_, QString());
}
