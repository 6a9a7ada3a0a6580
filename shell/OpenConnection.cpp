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

// Reads the columns of every table or view in names, sorted.
void ReadColumns(CAbstractDatabase& database, QStringList names, bool views,
                 QList<CConnection::CTable>& tables)
{
    std::sort(names.begin(), names.end()); // QString compares its UTF-16 units exactly
    for (const QString& name : std::as_const(names)) {
        CConnection::CTable table{name, {}, {}};
        table.IsView = views;
        if (!database.GetColumns(name, table.Columns, table.ColumnTypes, table.Error)) {
            table.Columns.clear();
            table.ColumnTypes.clear();
            if (table.Error.isEmpty()) // a backend that gave no reason still failed
                table.Error = QStringLiteral("The columns of the table could not be read");
        }
        tables.append(std::move(table));
    }
}

// Reads every table's columns, then every view's. Only the lists can fail: a
// table whose columns cannot be read (no right to read it, a name the driver
// rejects, a view over a table that is gone) is kept with the message
// instead, so that one table does not cost the whole database.
bool ReadTables(CAbstractDatabase& database, QList<CConnection::CTable>& tables, QString& error)
{
    QStringList names;
    QStringList views;
    if (!database.GetTableNames(names, error) || !database.GetViewNames(views, error))
        return false;
    tables.reserve(names.size() + views.size());
    ReadColumns(database, names, false, tables);
    ReadColumns(database, views, true, tables);
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

std::shared_ptr<CConnectionAttempt> CConnectionAttempt::Start(const CConnection& profile,
                                                              CDatabaseThread& thread,
                                                              const QPointer<QObject>& receiver,
                                                              std::function<void()> done)
{
    auto attempt = std::make_shared<CConnectionAttempt>();
    auto settings = std::make_shared<CConnection>(profile); // a copy has no database
    thread.Post([attempt, settings, receiver, done] {
        QString error;
        const bool opened = OpenConnection(*settings, error);
        {
            const std::lock_guard lock(attempt->Lock_);
            if (attempt->Abandoned_)
                return; // settings, and the database with it, go here, on this thread
            attempt->Ended_ = true;
            attempt->Opened_ = opened;
            attempt->Database_ = std::move(settings->Database);
            attempt->Tables_ = std::move(settings->Tables);
            attempt->Error_ = error;
        }
        // Heard only while not abandoned: it may be given up on the way, too.
        CDatabaseThread::Deliver(receiver, [attempt, done] {
            if (!attempt->IsAbandoned())
                done();
        });
    });
    return attempt;
}

bool CConnectionAttempt::Take(CConnection& profile, QString& error)
{
    const std::lock_guard lock(Lock_);
    if (!Ended_ || Abandoned_) {
        error = QStringLiteral("The connection attempt has not ended");
        return false;
    }
    if (!Opened_) {
        error = Error_;
        return false;
    }
    profile.Database = std::move(Database_);
    profile.Tables = std::move(Tables_);
    Opened_ = false;
    return true;
}

bool CConnectionAttempt::IsAbandoned()
{
    const std::lock_guard lock(Lock_);
    return Abandoned_;
}

void CConnectionAttempt::Abandon(CDatabaseThread& thread)
{
    const std::lock_guard lock(Lock_);
    Abandoned_ = true;
    if (Database_) {
        // It came back before the user gave up on it: close it where it lives.
        std::shared_ptr<CAbstractDatabase> closing(std::move(Database_));
        thread.Post([closing] { closing->Disconnect(); });
    }
    Tables_.clear();
}
