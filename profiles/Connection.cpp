#include "profiles/Connection.h"

#include "common/TextConversion.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/PasswordStore.h"
#include "profiles/ProfilePasswords.h"
#include "profiles/Registry.h"

#include <algorithm>

namespace {

const QString ProductKey = QStringLiteral("Software\\Brevan\\Tablescope");
const QString ConnectionsKey = QStringLiteral("Software\\Brevan\\Tablescope\\Connections");

// Set while the store is read or written. Waiting for the keyring dispatches
// events, and whatever they start must not read or write the store again.
bool StoreBusy = false;

const QString BusyMessage =
    QStringLiteral("The saved database connections are being read or written already.");

class CStoreGuard
{
public:
    CStoreGuard() : Entered_(!StoreBusy) { StoreBusy = true; }
    ~CStoreGuard()
    {
        if (Entered_)
            StoreBusy = false;
    }
    CStoreGuard(const CStoreGuard&) = delete;
    CStoreGuard& operator=(const CStoreGuard&) = delete;

    // False when the store was busy already.
    bool Entered() const { return Entered_; }

private:
    bool Entered_;
};

bool AnyRemembered(const QList<CConnection>& profiles)
{
    return std::any_of(profiles.begin(), profiles.end(), [](const CConnection& profile) {
        return profile.RememberAuth && !profile.Password.isEmpty();
    });
}

// The store file whose user has been told where the passwords went since it
// was last loaded.
QString ToldFor;

// Tells the user, once from one load to the next however often the profiles
// are saved in between, why the keyring does not hold the passwords: those
// remembered stay in the store file, or, when the file holds none, those in
// the keyring could not be read.
void TellKeyringProblem(const QString& reason, bool passwordsInFile)
{
    const QString file = CHive::CurrentUserFileName();
    if (ToldFor == file)
        return;
    ToldFor = file;
    CPasswordStore::Instance().Tell(
        passwordsInFile
            ? QStringLiteral("No keyring could be reached (%1): remembered passwords are kept in "
                             "\"%2\", readable by you alone.")
                  .arg(reason, file)
            : QStringLiteral("No keyring could be reached (%1): the remembered passwords kept "
                             "there could not be read.")
                  .arg(reason));
}

} // namespace

CConnection::CConnection(const CConnection& other)
{
    *this = other;
}

CConnection& CConnection::operator=(const CConnection& other)
{
    Type = other.Type;
    Name = other.Name;
    Path = other.Path;
    Alias = other.Alias;
    Login = other.Login;
    Password = other.Password;
    RememberAuth = other.RememberAuth;
    RowLimit = other.RowLimit;
    Tables = other.Tables;
    return *this;
}

CConnection::~CConnection()
{
    CloseDatabase();
}

void CConnection::CloseDatabase()
{
    if (Database) {
        if (Thread) {
            // Whatever still runs there ends first; the database goes after it.
            std::shared_ptr<CAbstractDatabase> closing(std::move(Database));
            Thread->Post([closing] { closing->Disconnect(); });
        } else {
            Database->Disconnect();
        }
        Database.reset();
        Tables.clear();
    }
    Thread.reset();
}

bool CConnection::SameConnectionSettings(const CConnection& first, const CConnection& second)
{
    return first.Type == second.Type && first.Path == second.Path && first.Alias == second.Alias &&
           first.Login == second.Login && first.Password == second.Password;
}

bool ReadConnection(CRegistry& registry, const QString& path, CConnection& profile)
{
    if (!registry.Open(path))
        return false;
    profile = CConnection();
    registry.ReadString(QStringLiteral("Login"), profile.Login);
    registry.ReadString(QStringLiteral("Password"), profile.Password);
    registry.ReadString(QStringLiteral("Name"), profile.Name);
    registry.ReadString(QStringLiteral("Path"), profile.Path);
    registry.ReadString(QStringLiteral("Alias"), profile.Alias);
    qint32 type = DatabaseTypeNone;
    registry.ReadDword(QStringLiteral("Type"), type);
    profile.Type = type;
    profile.RememberAuth = !profile.Login.isEmpty() || !profile.Password.isEmpty();
    qint32 limit = CConnection::DefaultRowLimit;
    if (registry.ReadDword(QStringLiteral("RowLimit"), limit) && limit >= 0)
        profile.RowLimit = limit;
    return true;
}

namespace {

// The profiles as the store file holds them, passwords of earlier versions
// included; the keyring is not asked.
bool ReadStoredProfiles(const std::shared_ptr<CHive>& hive, QList<CConnection>& profiles,
                        QString& error)
{
    profiles.clear();
    CRegistry registry(hive, ConnectionsKey);
    const QString problem = hive->LoadProblem();
    if (!problem.isEmpty()) {
        error = QStringLiteral("The saved database connections could not be loaded. ") + problem;
        return false;
    }
    QStringList names;
    if (!registry.EnumSubKeys(names))
        return true;
    for (const QString& name : std::as_const(names)) {
        const QString path = ConnectionsKey + u'\\' + name;
        CConnection profile;
        if (!ReadConnection(registry, path, profile)) {
            error = QStringLiteral("Failed to open registry subkey used to store database "
                                   "connection properties: ") +
                    path;
            profiles.clear();
            return false;
        }
        profiles.append(profile);
    }
    return true;
}

// ReadConnections; keyringProblem says why the keyring could not be asked
// for the passwords that the file does not hold, and is empty otherwise.
bool ReadProfiles(QList<CConnection>& profiles, QString& error, QString& keyringProblem)
{
    keyringProblem.clear();
    if (!ReadStoredProfiles(CHive::CurrentUser(), profiles, error))
        return false;
    CProfilePasswords(CPasswordStore::Instance()).Read(profiles, keyringProblem);
    return true;
}

} // namespace

bool ReadConnections(QList<CConnection>& profiles, QString& error)
{
    const CStoreGuard guard;
    if (!guard.Entered()) {
        profiles.clear();
        error = BusyMessage;
        return false;
    }
    QString keyringProblem;
    return ReadProfiles(profiles, error, keyringProblem);
}

bool LoadConnections(CConnectionsWnd& window, QString& error)
{
    const CStoreGuard guard;
    if (!guard.Entered()) {
        error = BusyMessage;
        return false;
    }
    window.DeleteAllConnections();
    ToldFor.clear();
    QList<CConnection> profiles;
    QString keyringProblem;
    if (!ReadProfiles(profiles, error, keyringProblem))
        return false;
    // Passwords that the file holds move to the keyring at the next save,
    // when there is one to take them.
    if (keyringProblem.isEmpty() && AnyRemembered(profiles))
        CProfilePasswords(CPasswordStore::Instance()).Answers(profiles, keyringProblem);
    const bool remembering =
        std::any_of(profiles.begin(), profiles.end(),
                    [](const CConnection& profile) { return profile.RememberAuth; });
    if (!keyringProblem.isEmpty() && remembering)
        TellKeyringProblem(keyringProblem, AnyRemembered(profiles));
    if (profiles.isEmpty())
        return true;
    for (const CConnection& profile : std::as_const(profiles))
        window.AddConnection(profile);
    window.SelectConnection(0);
    return true;
}

namespace {

// Writes one profile; its password only when withPassword is true.
bool WriteProfile(CRegistry& registry, const CConnection& profile, const QString& path,
                  bool withPassword, QString& error)
{
    if (!registry.CreateKey(path)) {
        error = QStringLiteral("Failed to create registry subkey used to store database "
                               "connection properties: ") +
                path;
        return false;
    }
    if (!registry.WriteString(QStringLiteral("Name"), profile.Name) ||
        !registry.WriteString(QStringLiteral("Path"), profile.Path) ||
        !registry.WriteString(QStringLiteral("Alias"), profile.Alias) ||
        !registry.WriteDword(QStringLiteral("Type"), profile.Type) ||
        // Written only when it is not the default: a store without it reads as before.
        (profile.RowLimit != CConnection::DefaultRowLimit &&
         !registry.WriteDword(QStringLiteral("RowLimit"), profile.RowLimit))) {
        error = QStringLiteral("Failed to write connection properties to the registry: ") + path;
        return false;
    }
    if (profile.RememberAuth &&
        (!registry.WriteString(QStringLiteral("Login"), profile.Login) ||
         (withPassword && !registry.WriteString(QStringLiteral("Password"), profile.Password)))) {
        error = QStringLiteral("Failed to write authentication property to the registry: ") + path;
        return false;
    }
    return true;
}

} // namespace

bool SaveConnections(CConnectionsWnd& window, QString& error)
{
    const CStoreGuard guard;
    if (!guard.Entered()) {
        error = BusyMessage;
        return false;
    }
    // Copies: the keyring's answers are awaited with events running.
    QList<CConnection> profiles;
    for (int i = 0; i < window.GetConnectionCount(); ++i)
        profiles.append(*window.GetConnection(i));

    const std::shared_ptr<CHive> hive = CHive::CurrentUser();
    // The entries of the profiles stored now are replaced as well; a file
    // that cannot be read has none to offer.
    QList<CConnection> before;
    QString ignored;
    ReadStoredProfiles(hive, before, ignored);
    CProfilePasswords passwords(CPasswordStore::Instance());
    QString keyringProblem;
    const bool inKeyring = passwords.Check(before, profiles, keyringProblem);

    // Nothing reaches the file before every profile has been written, so a
    // failure part way leaves the stored profiles as they were.
    CHive::CBatch batch(hive);
    CRegistry registry(hive);
    if (!registry.Open(ProductKey) && !registry.CreateKey(ProductKey)) {
        error = QStringLiteral("Failed to open or create registry key "
                               "HKEY_CURRENT_USER\\Software\\Brevan\\Tablescope");
        return false;
    }
    // On the first save there is nothing to delete; a key that cannot be
    // created shows itself at the first profile.
    registry.DeleteKeyTree(ConnectionsKey);
    registry.CreateKey(ConnectionsKey);
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        const QString path =
            ConnectionsKey + QStringLiteral("\\Connection ") + IntToText(int(i + 1));
        if (!WriteProfile(registry, profiles[i], path, !inKeyring, error))
            return false;
    }
    registry.Close();
    // The keyring changes only once the file's new content is complete, and
    // goes back when the file cannot take it.
    if (inKeyring && !passwords.Apply(error))
        return false;
    QString reason;
    if (!batch.Commit(reason)) {
        error = QStringLiteral("Failed to save the database connections to \"%1\": %2")
                    .arg(hive->FileName(), reason);
        QString undone;
        if (inKeyring && !passwords.Undo(undone))
            error += QStringLiteral(" The keyring could not be put back either: %1.").arg(undone);
        return false;
    }
    if (!inKeyring && AnyRemembered(profiles))
        TellKeyringProblem(keyringProblem, true);
    return true;
}
