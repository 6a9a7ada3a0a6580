#include "shell/OpenConnection.h"

#include "database/FireBirdDatabase.h"
#include "database/OdbcDatabase.h"
#include "database/SQLiteDatabase.h"

#include <algorithm>

std::unique_ptr<CAbstractDatabase> CreateBackend(int type)
{
    switch (type) {
    case DatabaseTypeSQLite:
        return std::make_unique<CSQLiteDatabase>();
    case DatabaseTypeFireBird:
        return std::make_unique<CFireBirdDatabase>();
    case DatabaseTypeOdbc:
        return std::make_unique<COdbcDatabase>();
    default:
        return nullptr;
    }
}

QString DatabaseString(const CConnection& profile)
{
    if (profile.Type != DatabaseTypeFireBird)
        return profile.Path;
    const QString server = profile.Path.isEmpty() ? QStringLiteral("localhost") : profile.Path;
    return server + u':' + profile.Alias;
}

namespace {

// Reads every table's columns; false at the first table that fails.
bool ReadTables(CAbstractDatabase& database, QList<CConnection::CTable>& tables, QString& error)
{
    QStringList names;
    if (!database.GetTableNames(names, error))
        return false;
    std::sort(names.begin(), names.end()); // QString compares its UTF-16 units exactly
    tables.reserve(names.size());
    for (const QString& name : std::as_const(names)) {
        CConnection::CTable table{name, {}};
        if (!database.GetColumnNames(name, table.Columns, error))
            return false;
        tables.append(std::move(table));
    }
    return true;
}

} // namespace

bool OpenConnection(CConnection& profile, QString& error)
{
    if (profile.Database) {
        error = QStringLiteral("Database already connected");
        return false;
    }
    std::unique_ptr<CAbstractDatabase> database = CreateBackend(profile.Type);
    if (!database) {
        error = QStringLiteral("Wrong database type or database type not specified");
        return false;
    }
    if (!database->Connect(DatabaseString(profile), profile.Login, profile.Password, error))
        return false;
    QList<CConnection::CTable> tables;
    if (!ReadTables(*database, tables, error)) {
        database->Disconnect();
        return false;
    }
    profile.Database = std::move(database);
    profile.Tables = std::move(tables);
    return true;
}
