#include "workspace/TestDatabases.h"

#include "database/FireBirdServer.h"
#include "database/OdbcDatabase.h"
#include "shell/OpenConnection.h"

#include <QCoreApplication>

namespace {

QString Setting(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

QString PostgresBase()
{
    return Setting("TABLESCOPE_ODBC_PG_DSN", "DSN=TablescopePG;UID=tablescope;PWD=tablescope");
}

QString SQLiteOdbcBase()
{
    return Setting("TABLESCOPE_ODBC_SQLITE_DSN", "DSN=TablescopeSQLite");
}

QString MariaDBBase()
{
    return Setting(
        "TABLESCOPE_ODBC_MARIADB_DSN",
        "DSN=TablescopeMariaDB;Server=127.0.0.1;Port=3307;UID=tablescope;PWD=tablescope");
}

} // namespace

CTestDatabases::CTestDatabases() = default;

QString CTestDatabases::WithoutCredentials(const QString& connect)
{
    QStringList kept;
    for (const QString& attribute : connect.split(u';'))
        if (!attribute.startsWith(QLatin1String("UID="), Qt::CaseInsensitive) &&
            !attribute.startsWith(QLatin1String("PWD="), Qt::CaseInsensitive))
            kept.append(attribute);
    return kept.join(u';');
}

QString CTestDatabases::MariaDBLimitedUser()
{
    return Setting("TABLESCOPE_MARIADB_LIMITED_USER", "tablescope_limited");
}

QString CTestDatabases::MariaDBLimitedPassword()
{
    return Setting("TABLESCOPE_MARIADB_LIMITED_PASSWORD", "lim;it}ed pass");
}

CTestDatabases::~CTestDatabases()
{
    QString error;
    for (const QString& location : std::as_const(FireBirdCreated_))
        if (!FireBird_->Drop(location, error))
            qWarning("Could not drop %s: %s", qPrintable(location), qPrintable(error));
    if (!PostgresName_.isEmpty()) {
        COdbcDatabase admin;
        if (!admin.Connect(PostgresBase(), {}, {}, error) ||
            !admin.ExecuteSQL(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(PostgresName_),
                error))
            qWarning("Could not drop %s: %s", qPrintable(PostgresName_), qPrintable(error));
    }
    if (!MariaDBNames_.isEmpty()) {
        COdbcDatabase admin;
        if (!admin.Connect(MariaDBBase(), {}, {}, error))
            qWarning("Could not drop the MariaDB databases: %s", qPrintable(error));
        for (const QString& name : std::as_const(MariaDBNames_))
            if (admin.IsConnected() &&
                !admin.ExecuteSQL(QStringLiteral("DROP DATABASE IF EXISTS ") + name, error))
                qWarning("Could not drop %s: %s", qPrintable(name), qPrintable(error));
    }
}

QString CTestDatabases::Name(ETestBackend backend)
{
    switch (backend) {
    case ETestBackend::SQLite:
        return QStringLiteral("SQLite");
    case ETestBackend::FireBird:
        return QStringLiteral("FireBird");
    case ETestBackend::OdbcPostgres:
        return QStringLiteral("ODBC PostgreSQL");
    case ETestBackend::OdbcSQLite:
        return QStringLiteral("ODBC SQLite");
    case ETestBackend::OdbcMariaDB:
        return QStringLiteral("ODBC MariaDB");
    }
    return {};
}

QString CTestDatabases::Unavailable(ETestBackend backend)
{
    QString why;
    return Open(backend, why) ? QString() : why;
}

bool CTestDatabases::NewProfile(ETestBackend backend, CConnection& profile, QString& why)
{
    if (!Dir_.isValid()) {
        why = Dir_.errorString();
        return false;
    }
    const QString file = Dir_.filePath(QStringLiteral("db%1.sqlite").arg(++Count_));
    profile.Alias.clear();
    profile.Login.clear();
    profile.Password.clear();
    profile.RememberAuth = true;
    switch (backend) {
    case ETestBackend::SQLite:
        profile.Type = DatabaseTypeSQLite;
        profile.Path = file;
        return true;
    case ETestBackend::FireBird: {
        if (!FireBird_)
            FireBird_ = std::make_unique<CFireBirdServer>();
        const QString location = FireBird_->NewLocation(QStringLiteral("workspace"));
        if (!FireBird_->Create(location, why)) {
            why = QStringLiteral("cannot create a database on the server at localhost (is it "
                                 "running?): ") +
                  why;
            return false;
        }
        FireBirdCreated_.append(location);
        // "localhost:/path" is the server's address and the database's alias.
        const qsizetype colon = location.indexOf(u':');
        profile.Type = DatabaseTypeFireBird;
        profile.Path = location.left(colon);
        profile.Alias = location.mid(colon + 1);
        profile.Login = FireBird_->User();
        profile.Password = FireBird_->Password();
        return true;
    }
    case ETestBackend::OdbcPostgres: {
        const QString database = PostgresDatabase(why);
        if (database.isEmpty())
            return false;
        profile.Type = DatabaseTypeOdbc;
        profile.Path = PostgresBase() + QStringLiteral(";Database=") + database;
        // Every profile starts from an empty public schema and no other of
        // its own.
        COdbcDatabase cleaner;
        if (!cleaner.Connect(profile.Path, {}, {}, why) ||
            !cleaner.ExecuteSQL(
                QStringLiteral(
                    "DO $$ DECLARE s text; BEGIN FOR s IN SELECT nspname FROM pg_namespace "
                    "WHERE nspowner = (SELECT oid FROM pg_roles WHERE rolname = current_user) "
                    "AND nspname <> 'public' LOOP EXECUTE format('DROP SCHEMA %I CASCADE', s); "
                    "END LOOP; END $$; DROP SCHEMA public CASCADE; CREATE SCHEMA public"),
                why))
            return false;
        return true;
    }
    case ETestBackend::OdbcSQLite:
        profile.Type = DatabaseTypeOdbc;
        profile.Path = SQLiteOdbcBase() + QStringLiteral(";Database=") + file;
        return true;
    case ETestBackend::OdbcMariaDB: {
        const QString database = MariaDBDatabase(why);
        if (database.isEmpty())
            return false;
        profile.Type = DatabaseTypeOdbc;
        profile.Path = MariaDBBase() + QStringLiteral(";Database=") + database;
        return true;
    }
    }
    return false;
}

bool CTestDatabases::Run(const CConnection& profile, const QString& sql, QString& error)
{
    if (profile.Type == DatabaseTypeFireBird && FireBird_)
        return FireBird_->Run(DatabaseString(profile), sql, error);
    auto database = CreateBackend(profile.Type);
    // MariaDB reads double quotes as strings unless told to read them as
    // names, the way the tests write them.
    const bool mariadb = profile.Path.startsWith(WithoutCredentials(MariaDBBase()));
    return database && database->Connect(profile.Path, profile.Login, profile.Password, error) &&
           (!mariadb ||
            database->ExecuteSQL(
                QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',ANSI_QUOTES')"),
                error)) &&
           database->ExecuteSQL(sql, error);
}

std::unique_ptr<CAbstractDatabase> CTestDatabases::Open(ETestBackend backend, QString& why)
{
    CConnection profile;
    if (!NewProfile(backend, profile, why))
        return nullptr;
    auto database = CreateBackend(profile.Type);
    const QString location =
        profile.Type == DatabaseTypeFireBird ? profile.Path + u':' + profile.Alias : profile.Path;
    if (!database->Connect(location, profile.Login, profile.Password, why)) {
        why = QStringLiteral("cannot connect to \"%1\" (scripts/start-servers.sh starts the "
                             "servers and writes the data sources): %2")
                  .arg(location, why);
        return nullptr;
    }
    return database;
}

QString CTestDatabases::PostgresDatabase(QString& why)
{
    if (!PostgresName_.isEmpty())
        return PostgresName_;
    const QString name = QStringLiteral("tablescope_ws_%1").arg(QCoreApplication::applicationPid());
    COdbcDatabase admin;
    if (!admin.Connect(PostgresBase(), {}, {}, why) ||
        !admin.ExecuteSQL(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name),
                          why) ||
        !admin.ExecuteSQL(QStringLiteral("CREATE DATABASE ") + name, why)) {
        why = QStringLiteral("cannot create a database with \"%1\": %2").arg(PostgresBase(), why);
        return {};
    }
    PostgresName_ = name;
    return name;
}

QString CTestDatabases::MariaDBDatabase(QString& why)
{
    const QString name = QStringLiteral("tablescope_ws_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(MariaDBNames_.size() + 1);
    COdbcDatabase admin;
    if (!admin.Connect(MariaDBBase(), {}, {}, why) ||
        !admin.ExecuteSQL(QStringLiteral("DROP DATABASE IF EXISTS ") + name, why) ||
        !admin.ExecuteSQL(QStringLiteral("CREATE DATABASE ") + name, why)) {
        why = QStringLiteral("cannot create a database with \"%1\": %2").arg(MariaDBBase(), why);
        return {};
    }
    MariaDBNames_.append(name);
    return name;
}
