#pragma once

// A FireBird 3 server of the test's own: its own root folder (configuration,
// lock and temporary folders, a security database holding SYSDBA with a
// password of its own) and its own port, started as a child process of the
// test so that the test may kill it and start it again. It runs as the
// user who runs the test; the shared test server is never touched.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class CPrivateFireBird
{
public:
    CPrivateFireBird() = default;
    ~CPrivateFireBird(); // kills the server
    CPrivateFireBird(const CPrivateFireBird&) = delete;
    CPrivateFireBird& operator=(const CPrivateFireBird&) = delete;

    // Why no server can be had here (a missing program), or empty.
    static QString Unavailable();

    // The first call builds the root and picks the port; every call starts
    // the server on them and waits until it answers.
    bool Start(QString& error);
    // SIGKILL to the server's process id, then waits for it to be gone.
    void Kill();
    qint64 ProcessId() const;

    QString User() const { return QStringLiteral("SYSDBA"); }
    const QString& Password() const { return Password_; }
    // The database string of a file in the server's root.
    QString Location(const QString& file) const;
    // Runs an isql script (dialect 3) on location as SYSDBA; a script of
    // "CREATE DATABASE" must name the location itself.
    bool RunScript(const QString& location, const QString& script, QString& error);

private:
    bool Build(QString& error);
    bool RunIsql(const QStringList& arguments, const QString& script, QString& error);
    QProcessEnvironment Environment() const;

    QTemporaryDir Root_;
    bool Built_ = false;
    quint16 Port_ = 0;
    QString Password_;
    QProcess Server_;
};
