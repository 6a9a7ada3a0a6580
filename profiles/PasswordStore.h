#pragma once

// The desktop's keyring (the Secret Service: GNOME Keyring, KWallet) through
// QtKeychain, with a synchronous face for the profile store's load and save.
//
// An entry is named by a service and a key; the Secret Service shows the
// service as the entry's label. Every call waits for its answer in a local
// event loop that leaves user input alone, for at most Timeout milliseconds,
// so that a keyring that never answers costs one wait and no more: while a
// request that timed out is still pending, later calls fail at once. Calls are
// made on the application's thread only; on another thread, or without an
// application object, every call fails with the reason.
//
// The store also carries the notice the user is given about where
// remembered passwords went when no keyring could take them.

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <memory>

namespace QKeychain {
class Job;
}

class CPasswordStore : public QObject
{
    Q_OBJECT

public:
    enum EReadResult
    {
        PasswordFound,
        PasswordMissing, // the keyring answered: no such entry
        KeyringFailed,   // the keyring could not be asked; reason says why
    };

    // The store of this process, owned by the application object.
    static CPasswordStore& Instance();

    EReadResult ReadPassword(const QString& service, const QString& key, QString& password,
                             QString& reason);
    // Creates the entry or replaces its password.
    bool WritePassword(const QString& service, const QString& key, const QString& password,
                       QString& reason);
    // Succeeds also when there is no such entry.
    bool DeletePassword(const QString& service, const QString& key, QString& reason);

    // The entries that could not be read in this process, so that a save
    // does not take their empty passwords for forgotten ones. A read that
    // gets an answer takes the entry off the list.
    void MarkUnread(const QString& service, const QString& key);
    bool IsUnread(const QString& service, const QString& key) const;

    int Timeout() const { return Timeout_; }
    void SetTimeout(int milliseconds) { Timeout_ = milliseconds; }

    // Gives a notice for the user: it is kept until taken, and NoticeGiven
    // tells that there is one.
    void Tell(const QString& notice);
    // The notice not yet shown, emptied by taking it.
    QString TakeNotice();

signals:
    void NoticeGiven();

private:
    explicit CPasswordStore(QObject* parent);

    // Starts job and waits for it to finish, with or without an error.
    // False with reason when it cannot run here or did not answer in time;
    // a job still pending is then taken from the caller, to go when it ends.
    bool Run(std::unique_ptr<QKeychain::Job>& job, QString& reason);

    int Timeout_ = 30000;
    QPointer<QKeychain::Job> Pending_; // a request that timed out and has not finished yet
    bool Waiting_ = false;             // a call is waiting in its local event loop
    QSet<QString> Unread_;             // service and key, a NUL between them
    QString Notice_;
};
