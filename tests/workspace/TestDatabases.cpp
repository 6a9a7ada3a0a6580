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

} // namespace

CTestDatabases::CTestDatabases() = default;

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
        // Every profile starts from an empty schema.
        COdbcDatabase cleaner;
        if (!cleaner.Connect(profile.Path, {}, {}, why) ||
            !cleaner.ExecuteSQL(QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"),
                                why))
            return false;
        return true;
    }
    case ETestBackend::OdbcSQLite:
        profile.Type = DatabaseTypeOdbc;
        profile.Path = SQLiteOdbcBase() + QStringLiteral(";Database=") + file;
        return true;
    }
    return false;
}

bool CTestDatabases::Run(const CConnection& profile, const QString& sql, QString& error)
{
    if (profile.Type == DatabaseTypeFireBird && FireBird_)
        return FireBird_->Run(DatabaseString(profile), sql, error);
    auto database = CreateBackend(profile.Type);
    return database && database->Connect(profile.Path, profile.Login, profile.Password, error) &&
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
