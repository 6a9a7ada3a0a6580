#include "profiles/ProfilePasswords.h"

#include "profiles/PasswordStore.h"

#include <QSet>

namespace {

const QString LabelPrefix = QStringLiteral("Tablescope: ");

QString Identity(const CProfilePasswords::CEntry& entry)
{
    return entry.Service + QChar(0) + entry.Key;
}

} // namespace

QList<CProfilePasswords::CEntry> CProfilePasswords::Entries(const QList<CConnection>& profiles)
{
    QList<CEntry> entries;
    QSet<QString> taken;
    for (const CConnection& profile : profiles) {
        QString service = LabelPrefix + profile.Name;
        for (int n = 2; taken.contains(service); ++n)
            service = LabelPrefix + profile.Name + QStringLiteral(" (%1)").arg(n);
        taken.insert(service);
        entries.append({service, profile.Login, profile.Name});
    }
    return entries;
}

bool CProfilePasswords::Read(QList<CConnection>& profiles, QString& reason)
{
    const QList<CEntry> entries = Entries(profiles);
    bool answered = true;
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        CConnection& profile = profiles[i];
        if (!profile.Password.isEmpty())
            continue;
        const CEntry& entry = entries[i];
        // One failure is enough: the others would only wait for the same.
        if (!answered) {
            Store_.MarkUnread(entry.Service, entry.Key);
            continue;
        }
        QString password;
        switch (Store_.ReadPassword(entry.Service, entry.Key, password, reason)) {
        case CPasswordStore::PasswordFound:
            profile.Password = password;
            profile.RememberAuth = profile.RememberAuth || !password.isEmpty();
            break;
        case CPasswordStore::PasswordMissing:
            break;
        case CPasswordStore::KeyringFailed:
            answered = false;
            break;
        }
    }
    return answered;
}

bool CProfilePasswords::Answers(const QList<CConnection>& profiles, QString& reason)
{
    const QList<CEntry> entries = Entries(profiles.mid(0, 1));
    const CEntry entry = entries.isEmpty() ? CEntry{LabelPrefix, {}, {}} : entries.first();
    QString password;
    return Store_.ReadPassword(entry.Service, entry.Key, password, reason) !=
           CPasswordStore::KeyringFailed;
}

bool CProfilePasswords::Check(const QList<CConnection>& before, const QList<CConnection>& profiles,
                              QString& reason)
{
    Changes_.clear();
    Applied_ = 0;
    QSet<QString> seen;
    const QList<CEntry> entries = Entries(profiles);
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        const CConnection& profile = profiles[i];
        const CEntry& entry = entries[i];
        seen.insert(Identity(entry));
        std::optional<QString> wanted;
        if (profile.RememberAuth && !profile.Password.isEmpty())
            wanted = profile.Password;
        else if (profile.RememberAuth && Store_.IsUnread(entry.Service, entry.Key))
            continue; // its password was never known here: the entry stays as it is
        Changes_.append({entry, wanted, {}});
    }
    for (const CEntry& entry : Entries(before)) {
        // An entry never read here holds a password nobody has seen: keep it.
        if (!seen.contains(Identity(entry)) && !Store_.IsUnread(entry.Service, entry.Key)) {
            seen.insert(Identity(entry));
            Changes_.append({entry, {}, {}});
        }
    }
    for (CChange& change : Changes_) {
        QString password;
        switch (Store_.ReadPassword(change.Entry.Service, change.Entry.Key, password, reason)) {
        case CPasswordStore::PasswordFound:
            change.Before = password;
            break;
        case CPasswordStore::PasswordMissing:
            break;
        case CPasswordStore::KeyringFailed:
            Changes_.clear();
            return false;
        }
    }
    return true;
}

bool CProfilePasswords::Set(const CEntry& entry, const std::optional<QString>& password,
                            QString& reason)
{
    return password ? Store_.WritePassword(entry.Service, entry.Key, *password, reason)
                    : Store_.DeletePassword(entry.Service, entry.Key, reason);
}

bool CProfilePasswords::Apply(QString& error)
{
    for (Applied_ = 0; Applied_ < Changes_.size(); ++Applied_) {
        const CChange& change = Changes_[Applied_];
        if (change.Wanted == change.Before)
            continue;
        QString reason;
        if (Set(change.Entry, change.Wanted, reason))
            continue;
        error = change.Wanted
                    ? QStringLiteral("Failed to save the password of \"%1\" in the keyring: %2.")
                    : QStringLiteral("Failed to remove the password of \"%1\" from the keyring: "
                                     "%2.");
        error = error.arg(change.Entry.Name, reason);
        QString undone;
        if (Undo(undone))
            error += QStringLiteral(" The saved connections and their passwords were left as "
                                    "they were.");
        else
            error += QStringLiteral(" The saved connections were left as they were, but the "
                                    "keyring could not be put back: %1.")
                         .arg(undone);
        return false;
    }
    return true;
}

bool CProfilePasswords::Undo(QString& reason)
{
    bool undone = true;
    // Back to front, so that an entry changed twice ends as it began.
    while (Applied_ > 0) {
        const CChange& change = Changes_[--Applied_];
        if (change.Wanted == change.Before)
            continue;
        QString why;
        if (!Set(change.Entry, change.Before, why) && undone) {
            undone = false;
            reason = why;
        }
    }
    return undone;
}
