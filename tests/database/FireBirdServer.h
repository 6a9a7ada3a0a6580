#pragma once

// The FireBird test server as the tests and the benchmark reach it, and a
// second way into it straight through the client library: it creates and
// drops databases, runs dialect 3 statements (the types that dialect 1
// cannot name: BIGINT, DATE, TIME) and looks at BLOBs in ways the database
// interface does not offer.
//
// The server is reached as scripts/start-servers.sh exported it
// (TABLESCOPE_FB_USER, TABLESCOPE_FB_PASSWORD, TABLESCOPE_FB_DIR); failing
// that, as SYSDBA with the password the server package saved, with the
// databases in a scratch folder of this process.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ibase.h>

class CFireBirdServer
{
public:
    CFireBirdServer();
    CFireBirdServer(const CFireBirdServer&) = delete;
    CFireBirdServer& operator=(const CFireBirdServer&) = delete;

    const QString& User() const { return User_; }
    const QString& Password() const { return Password_; }

    // "localhost:" and the path of a database file not used before by this
    // object, named after stem and this process.
    QString NewLocation(const QString& stem);

    // A database of the given SQL dialect.
    bool Create(const QString& location, QString& error, int dialect = 3);
    bool Drop(const QString& location, QString& error);
    // Runs sql in dialect 3 in a transaction of its own.
    bool Run(const QString& location, const QString& sql, QString& error);
    // Runs insert, whose one parameter is a BLOB, with bytes written as a
    // single segment.
    bool InsertOneSegmentBlob(const QString& location, const QString& insert,
                              const QByteArray& bytes, QString& error);
    // The number of segments and the longest segment of the BLOB that the
    // first row of query (one BLOB column) holds.
    bool BlobSegments(const QString& location, const QString& query, int& count, int& longest,
                      QString& error);

private:
    bool Attach(const QString& location, isc_db_handle& attachment, QString& error);

    QTemporaryDir Scratch_;
    QString User_;
    QString Password_;
    QString Folder_; // where the server creates the databases
    int Count_ = 0;  // databases named so far
};
