#pragma once

// Empty databases of every kind the program talks to, for the tests of the
// layers above the database interface: an SQLite file, a FireBird database
// on the test server, and PostgreSQL, SQLite and MariaDB through their ODBC
// drivers.
// Each comes as the settings of a connection profile (Type, Path, Alias,
// Login, Password), so that a test can connect through the program's own
// code, or as a connected database object.
//
// The servers are reached as scripts/start-servers.sh left them; a backend
// that cannot be had is reported by Unavailable, and the tests skip (or fail,
// under TABLESCOPE_REQUIRE_SERVERS=1) with that reason.

#include "database/AbstractDatabase.h"
#include "profiles/Connection.h"

#include <QTemporaryDir>
#include <memory>

class CFireBirdServer;

enum class ETestBackend
{
    SQLite,
    FireBird,
    OdbcPostgres,
    OdbcSQLite,
    OdbcMariaDB,
};

class CTestDatabases
{
public:
    CTestDatabases();
    ~CTestDatabases(); // drops the server databases made

    static QString Name(ETestBackend backend);

    // Empty when the backend can be reached, otherwise why not.
    QString Unavailable(ETestBackend backend);
    // Fills profile's connection settings for a new database without user
    // tables (credentials remembered). False with why set when impossible.
    bool NewProfile(ETestBackend backend, CConnection& profile, QString& why);
    // Runs sql on the database of a profile made by NewProfile, as its
    // owner would: FireBird statements in dialect 3, where double quotes
    // name things.
    bool Run(const CConnection& profile, const QString& sql, QString& error);
    // A database object connected to a new empty database.
    std::unique_ptr<CAbstractDatabase> Open(ETestBackend backend, QString& why);

    // connect without its UID and PWD attributes.
    static QString WithoutCredentials(const QString& connect);
    // The MariaDB login that reads only what it is granted, and its
    // password (which holds ";", "}" and a blank).
    static QString MariaDBLimitedUser();
    static QString MariaDBLimitedPassword();

private:
    QString PostgresDatabase(QString& why);
    // A new, empty MariaDB database of this program's own; empty with why
    // set when it cannot be made.
    QString MariaDBDatabase(QString& why);

    QTemporaryDir Dir_;
    int Count_ = 0;
    std::unique_ptr<CFireBirdServer> FireBird_;
    QStringList FireBirdCreated_;
    QString PostgresName_;     // this program's own database, made on first use
    QStringList MariaDBNames_; // the MariaDB databases made, dropped at the end
};

// True when a missing server must fail the tests instead of skipping them.
bool ServersRequired();

// In a test function: skips, or fails when servers are required, unless the
// backend can be reached.
#define REQUIRE_TEST_BACKEND(databases, backend)                                                   \
    do {                                                                                           \
        const QString why_ = (databases).Unavailable(backend);                                     \
        if (!why_.isEmpty()) {                                                                     \
            const QByteArray text_ =                                                               \
                (CTestDatabases::Name(backend) + QStringLiteral(": ") + why_).toUtf8();            \
            if (ServersRequired())                                                                 \
                QFAIL(text_.constData());                                                          \
            QSKIP(text_.constData());                                                              \
        }                                                                                          \
    } while (false)
