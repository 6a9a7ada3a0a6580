#pragma once

// What the shared interface cases need to know of a backend: how to reach a
// clean database and the few spots where the SQL dialects differ. Each
// backend's test program supplies one.

#include "database/AbstractDatabase.h"

#include <QString>
#include <memory>

// Owner for a connected database object: disconnects, then deletes.
struct CDatabaseCloser
{
    void operator()(CAbstractDatabase* database) const;
};
using CDatabasePtr = std::unique_ptr<CAbstractDatabase, CDatabaseCloser>;

class CBackendFixture
{
public:
    virtual ~CBackendFixture() = default;

    virtual QString Name() const = 0;
    // Empty when the backend can be reached; otherwise why it cannot (no
    // server, no driver), shown when the tests skip or fail.
    virtual QString Unavailable() = 0;
    // A new database object connected to a database without user tables;
    // null, with error set, when that cannot be had.
    virtual CDatabasePtr Open(QString& error) = 0;

    virtual QString BlobType() const { return QStringLiteral("BLOB"); }
    // Bytes that GetBlob hands out after the value itself (FireBird adds a
    // terminating zero byte).
    virtual int BlobExtraBytes() const { return 0; }
    // Whether Prepare itself refuses a text the database cannot run; an
    // ODBC driver may leave checking it until the statement is executed.
    virtual bool PrepareChecksText() const { return true; }
    // Whether GetBlob of a NULL value succeeds, delivering no data, rather
    // than fails.
    virtual bool BlobOfNullReads() const { return false; }
    // Runs sql, which names tables in double quotes, on db's database.
    virtual bool RunQuoted(CAbstractDatabase& db, const QString& sql, QString& error)
    {
        return db.ExecuteSQL(sql, error);
    }
    // A query over t (a INTEGER, ...) holding the rows a = 1, 2, 3 that
    // fails on the row a = 3 while the rows are read.
    virtual QString FailingQuery() const
    {
        return QStringLiteral("SELECT 10 / (a - 3) FROM t ORDER BY a");
    }
};

// True when a missing server must fail the tests instead of skipping them:
// the project's test command sets TABLESCOPE_REQUIRE_SERVERS=1.
bool ServersRequired();

// In a test function: skips, or fails when servers are required, unless the
// fixture's backend can be reached.
#define REQUIRE_BACKEND(fixture)                                                                   \
    do {                                                                                           \
        const QString why_ = (fixture).Unavailable();                                              \
        if (!why_.isEmpty()) {                                                                     \
            const QByteArray text_ = ((fixture).Name() + QStringLiteral(": ") + why_).toUtf8();    \
            if (ServersRequired())                                                                 \
                QFAIL(text_.constData());                                                          \
            QSKIP(text_.constData());                                                              \
        }                                                                                          \
    } while (false)

// In a test function: skips, or fails when servers are required, when why
// (the reason a server cannot be had) is not empty.
#define REQUIRE_AVAILABLE(why)                                                                     \
    do {                                                                                           \
        const QString reason_ = (why);                                                             \
        if (!reason_.isEmpty()) {                                                                  \
            if (ServersRequired())                                                                 \
                QFAIL(qPrintable(reason_));                                                        \
            QSKIP(qPrintable(reason_));                                                            \
        }                                                                                          \
    } while (false)
