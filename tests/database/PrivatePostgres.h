#pragma once

// A PostgreSQL 15 cluster of the test's own: initialised in a scratch folder
// and run on a port of its own as a child process, so that the test may stop
// it by its process id and start it again. PostgreSQL refuses to run as
// root: under root the cluster belongs to and runs as the postgres user,
// otherwise as the user who runs the test. The shared test cluster is never
// touched.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class CPrivatePostgres
{
public:
    CPrivatePostgres() = default;
    ~CPrivatePostgres(); // shuts the server down
    CPrivatePostgres(const CPrivatePostgres&) = delete;
    CPrivatePostgres& operator=(const CPrivatePostgres&) = delete;

    // Why no cluster can be had here (a missing program or user), or empty.
    static QString Unavailable();

    // The first call initialises the cluster and picks the port; every call
    // starts the server and waits until it accepts connections.
    bool Start(QString& error);
    // Immediate shutdown (SIGQUIT to the postmaster's process id): every
    // server process ends at once, as if the server had died. Waits until
    // it is gone.
    void Stop();
    qint64 ProcessId() const;

    // An ODBC connect string to the cluster's database "postgres" as its
    // superuser, through the DSN the tests use for the PostgreSQL driver;
    // extra ("Option=value;...") is appended.
    QString ConnectString(const QString& extra = {}) const;
    // The same for another role of the cluster.
    QString ConnectStringAs(const QString& role, const QString& extra = {}) const;

private:
    bool Initialise(QString& error);
    // program of the server's installation run as the cluster's owner.
    void Launch(QProcess& process, const QString& program, const QStringList& arguments) const;

    QTemporaryDir Scratch_;
    QString Data_; // the cluster's folder inside the scratch folder
    bool Initialised_ = false;
    quint16 Port_ = 0;
    QProcess Server_;
    qint64 Postmaster_ = 0;
};
