#pragma once

// A connection profile: one saved database connection (a name, the kind of
// database interface, where the database is, optionally the credentials),
// together with the run-time state of its connection, which is never stored.

#include "database/AbstractDatabase.h"
#include "database/DatabaseThread.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class CConnectionWnd;
class CConnectionsWnd;

class CConnection
{
public:
    // One table (or view) of the open database with its column names in
    // column order.
    struct CTable
    {
        QString Name;
        QStringList Columns;
        // Why the columns could not be read (the database's message); empty
        // when they were.
        QString Error{};
        // The declared type of each column, as SQL writes it, in the order
        // of Columns; empty where the database declares none.
        QStringList ColumnTypes{};
        bool IsView = false;
    };

    CConnection() = default;
    // The copy has no database and no window.
    CConnection(const CConnection& other);
    // Copies the settings and the table list; Database and Window of this
    // record stay as they are.
    CConnection& operator=(const CConnection& other);
    // Closes the database (CloseDatabase). The window is not touched.
    ~CConnection();

    // Disconnects and deletes the database, if any, and lets its thread go:
    // on that thread, after whatever runs there, when it has one; at once
    // otherwise. Tables are cleared with it.
    void CloseDatabase();

    // True when the two records connect the same way: Type, Path, Alias,
    // Login and Password equal, letter case included.
    static bool SameConnectionSettings(const CConnection& first, const CConnection& second);

    QList<CTable> Tables;                        // filled while connected, empty otherwise
    std::unique_ptr<CAbstractDatabase> Database; // non-null exactly while connected
    // The thread on which every call to Database runs, when it has one; the
    // interface thread itself only ever calls Database->Interrupt.
    std::shared_ptr<CDatabaseThread> Thread;
    CConnectionWnd* Window = nullptr; // the connection's window while connected; not owned
    int Type = DatabaseTypeNone;      // EDatabaseType
    QString Name;
    QString Path;  // SQLite file, FireBird server address or ODBC connect string
    QString Alias; // FireBird database alias
    QString Login;
    QString Password; // plain text in memory; stored in the keyring when one answers
    // Login and Password are stored only when true; otherwise they live in
    // memory until the application exits.
    bool RememberAuth = false;
    // Rows of a query that the grid reads at most; 0 for every row. Stored
    // as "RowLimit" when it is not DefaultRowLimit.
    int RowLimit = DefaultRowLimit;
    static constexpr int DefaultRowLimit = 1000;
};

class CRegistry;

// Reads the profile stored under the key path (relative to the store's root)
// into profile, which is reset first; RememberAuth is true exactly when a
// login or a password is stored. False when the key cannot be opened.
bool ReadConnection(CRegistry& registry, const QString& path, CConnection& profile);

// The profiles stored for the current user, in the order the store hands
// them out, read without any window and without writing to the store. A
// password that the store file does not hold comes from the desktop's
// keyring; when no keyring answers, such passwords stay empty. A store that
// has no profiles yet gives none and succeeds. On failure profiles is empty
// and error holds the message for the user.
bool ReadConnections(QList<CConnection>& profiles, QString& error);

// Fills window with the profiles stored for the current user (as
// ReadConnections reads them), in the order the store hands them out, and
// selects the first. A store that has no profiles yet leaves the window empty
// and succeeds. On failure the window is empty and error holds the message
// for the user. When remembered passwords stay in the store file because no
// keyring answers, the password store's notice says so (CPasswordStore).
bool LoadConnections(CConnectionsWnd& window, QString& error);

// Replaces the stored profiles with the window's items, in item order. When
// the desktop's keyring answers, remembered passwords go there and not into
// the store file (CProfilePasswords); otherwise they go into the file, and
// the password store's notice says so. The store and the keyring change only
// when every profile has been written; on failure both are left as they were
// and error holds the message for the user. The profiles in memory are never
// changed.
bool SaveConnections(CConnectionsWnd& window, QString& error);
