#include "profiles/Connection.h"

#include "common/TextConversion.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/Registry.h"

namespace {

const QString ProductKey = QStringLiteral("Software\\Brevan\\Tablescope");
const QString ConnectionsKey = QStringLiteral("Software\\Brevan\\Tablescope\\Connections");

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
    return true;
}

bool ReadConnections(QList<CConnection>& profiles, QString& error)
{
    profiles.clear();
    CRegistry registry(CHive::CurrentUser(), ConnectionsKey);
    const QString problem = registry.Root()->LoadProblem();
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

bool LoadConnections(CConnectionsWnd& window, QString& error)
{
    window.DeleteAllConnections();
    QList<CConnection> profiles;
    if (!ReadConnections(profiles, error))
        return false;
    if (profiles.isEmpty())
        return true;
    for (const CConnection& profile : std::as_const(profiles))
        window.AddConnection(profile);
    window.SelectConnection(0);
    return true;
}

namespace {

bool WriteProfile(CRegistry& registry, const CConnection& profile, const QString& path,
                  QString& error)
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
        !registry.WriteDword(QStringLiteral("Type"), profile.Type)) {
        error = QStringLiteral("Failed to write connection properties to the registry: ") + path;
        return false;
    }
    if (profile.RememberAuth &&
        (!registry.WriteString(QStringLiteral("Login"), profile.Login) ||
         !registry.WriteString(QStringLiteral("Password"), profile.Password))) {
        error = QStringLiteral("Failed to write authentication property to the registry: ") + path;
        return false;
    }
    return true;
}

} // namespace

bool SaveConnections(CConnectionsWnd& window, QString& error)
{
    const std::shared_ptr<CHive> hive = CHive::CurrentUser();
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
    for (int i = 0; i < window.GetConnectionCount(); ++i) {
        const QString path = ConnectionsKey + QStringLiteral("\\Connection ") + IntToText(i + 1);
        if (!WriteProfile(registry, *window.GetConnection(i), path, error))
            return false;
    }
    registry.Close();
    QString reason;
    if (!batch.Commit(reason)) {
        error = QStringLiteral("Failed to save the database connections to \"%1\": %2")
                    .arg(hive->FileName(), reason);
        return false;
    }
    return true;
}
