#pragma once

// Turning a saved profile into a live connection: the backend that the
// profile's type names, connected with the profile's database string and
// credentials, and the database's tables with their columns read into the
// profile. No window is involved, so that the command-line runner connects
// exactly as the Connect command does.

#include "profiles/Connection.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <mutex>

// A new, unconnected backend for a type code; null for any other code.
std::unique_ptr<CAbstractDatabase> CreateBackend(int type);

// What the profile's backend connects to: the SQLite file, the FireBird
// "server:alias" ("localhost:" and the alias when no server is given), or the
// ODBC connect string.
QString DatabaseString(const CConnection& profile);

// Creates and connects the profile's backend with its Login and Password,
// and fills Tables with every table, sorted by exact comparison of their
// characters (upper-case letters before lower-case ones), with its columns
// and their declared types, followed by every view, sorted the same way.
// A table whose columns cannot be read comes without them and with the
// database's message (CTable::Error); only a failure to connect or to list
// the tables and views fails. On failure error holds the message and the profile has
// no database.
bool OpenConnection(CConnection& profile, QString& error);

// One attempt to open a profile's connection on the connection's own thread,
// so that a server that takes its time, or never answers, holds up nothing.
// The attempt can be abandoned at any time: its late result is then
// disconnected and freed on that thread, and nobody hears of it.
class CConnectionAttempt
{
public:
    // Starts OpenConnection for a copy of profile's settings on thread. When
    // it has ended, done runs on the interface thread, unless receiver has
    // gone or the attempt was abandoned by then.
    static std::shared_ptr<CConnectionAttempt> Start(const CConnection& profile,
                                                     CDatabaseThread& thread,
                                                     const QPointer<QObject>& receiver,
                                                     std::function<void()> done);

    // Moves the open database and its tables into profile, whose Thread must
    // be the thread of the attempt, or gives the message of the failure.
    bool Take(CConnection& profile, QString& error);
    // Drops the attempt: whatever it opens is closed on thread, the thread it
    // was started on.
    void Abandon(CDatabaseThread& thread);

private:
    bool IsAbandoned();

    std::mutex Lock_;
    bool Ended_ = false; // the connect job has handed over its result
    bool Abandoned_ = false;
    bool Opened_ = false;
    std::unique_ptr<CAbstractDatabase> Database_;
    QList<CConnection::CTable> Tables_;
    QString Error_;
};
