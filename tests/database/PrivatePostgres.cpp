#include "database/PrivatePostgres.h"

#include "database/FreePort.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Binaries = QStringLiteral("/usr/lib/postgresql/15/bin/");
const char* const ServiceUser = "postgres";
const QString Superuser = QStringLiteral("tablescope");

bool AsRoot()
{
    return geteuid() == 0;
}

// The postmaster's process id and whether it accepts connections, from the
// file it keeps in the cluster's folder.
bool ReadStatus(const QString& data, qint64& pid, bool& ready)
{
    QFile file(data + QStringLiteral("/postmaster.pid"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    pid = lines.value(0).trimmed().toLongLong();
    ready = lines.size() > 7 && lines[7].trimmed() == "ready";
    return pid > 0;
}

} // namespace

CPrivatePostgres::~CPrivatePostgres()
{
    if (Server_.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(Postmaster_), SIGINT); // fast shutdown
    if (!Server_.waitForFinished(30000)) {
        ::kill(pid_t(Postmaster_), SIGKILL);
        Server_.waitForFinished(10000);
    }
}

QString CPrivatePostgres::Unavailable()
{
    for (const char* program : {"initdb", "postgres"})
        if (!QFileInfo(Binaries + QString::fromLatin1(program)).isExecutable())
            return Binaries + QString::fromLatin1(program) +
                   QStringLiteral(" is missing (package postgresql-15)");
    if (AsRoot() && !getpwnam(ServiceUser))
        return QStringLiteral("running as root, and there is no user \"postgres\" to run "
                              "PostgreSQL as");
    return {};
}

void CPrivatePostgres::Launch(QProcess& process, const QString& program,
                              const QStringList& arguments) const
{
    if (AsRoot())
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QString::fromLatin1(ServiceUser),
                                  QStringLiteral("--"), Binaries + program} +
                          arguments);
    else
        process.start(Binaries + program, arguments);
}

bool CPrivatePostgres::Initialise(QString& error)
{
    if (!Scratch_.isValid()) {
        error = Scratch_.errorString();
        return false;
    }
    Data_ = Scratch_.filePath(QStringLiteral("data"));
    if (AsRoot()) {
        // The postgres user must reach into the scratch folder and own the
        // cluster's folder.
        const passwd* owner = getpwnam(ServiceUser);
        if (!owner || !QDir().mkdir(Data_) ||
            ::chown(QFile::encodeName(Data_).constData(), owner->pw_uid, owner->pw_gid) != 0 ||
            ::chmod(QFile::encodeName(Scratch_.path()).constData(), 0755) != 0) {
            error = QStringLiteral("cannot give %1 to the postgres user").arg(Data_);
            return false;
        }
    }
    Port_ = FreePort();
    if (Port_ == 0) {
        error = QStringLiteral("no free port");
        return false;
    }
    QProcess initdb;
    initdb.setProcessChannelMode(QProcess::MergedChannels);
    Launch(initdb, QStringLiteral("initdb"),
           {QStringLiteral("-D"), Data_, QStringLiteral("-U"), Superuser, QStringLiteral("-A"),
            QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
            QStringLiteral("--no-sync")});
    if (!initdb.waitForFinished(300000) || initdb.exitStatus() != QProcess::NormalExit ||
        initdb.exitCode() != 0) {
        error = QStringLiteral("initdb failed: ") + initdb.errorString() + u' ' +
                QString::fromLocal8Bit(initdb.readAll());
        return false;
    }
    Initialised_ = true;
    return true;
}

bool CPrivatePostgres::Start(QString& error)
{
    if (!Initialised_ && !Initialise(error))
        return false;
    Server_.setProcessChannelMode(QProcess::MergedChannels);
    Server_.setStandardOutputFile(Scratch_.filePath(QStringLiteral("server.log")),
                                  QIODevice::Append);
    Launch(Server_, QStringLiteral("postgres"),
           {QStringLiteral("-D"), Data_, QStringLiteral("-p"), QString::number(Port_),
            QStringLiteral("-k"), Data_, QStringLiteral("-c"),
            QStringLiteral("listen_addresses=127.0.0.1"), QStringLiteral("-c"),
            QStringLiteral("fsync=off"), QStringLiteral("-c"),
            QStringLiteral("max_connections=20")});
    if (!Server_.waitForStarted(10000)) {
        error = QStringLiteral("postgres: ") + Server_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(60000);
    for (;;) {
        bool ready = false;
        if (ReadStatus(Data_, Postmaster_, ready) && ready && PortAnswers(Port_))
            return true;
        if (Server_.state() != QProcess::Running || deadline.hasExpired())
            break;
        QThread::msleep(20);
    }
    error = QStringLiteral("the private PostgreSQL server did not start; see ") +
            Scratch_.filePath(QStringLiteral("server.log"));
    Scratch_.setAutoRemove(false);
    Stop();
    return false;
}

void CPrivatePostgres::Stop()
{
    if (Server_.state() == QProcess::NotRunning)
        return;
    if (Postmaster_ > 0)
        ::kill(pid_t(Postmaster_), SIGQUIT);
    if (!Server_.waitForFinished(30000)) {
        if (Postmaster_ > 0)
            ::kill(pid_t(Postmaster_), SIGKILL);
        Server_.kill();
        Server_.waitForFinished(10000);
    }
    Postmaster_ = 0;
}

qint64 CPrivatePostgres::ProcessId() const
{
    return Postmaster_;
}

QString CPrivatePostgres::ConnectString(const QString& extra) const
{
    return ConnectStringAs(Superuser, extra);
}

QString CPrivatePostgres::ConnectStringAs(const QString& role, const QString& extra) const
{
    // The DSN names the driver; every setting that matters is given here.
    QString dsn = qEnvironmentVariable("TABLESCOPE_ODBC_PG_DSN", QStringLiteral("DSN=TablescopePG"))
                      .section(u';', 0, 0);
    QString text = dsn + QStringLiteral(";Servername=127.0.0.1;Port=%1;Database=postgres;"
                                        "Username=%2;Password=none")
                             .arg(Port_)
                             .arg(role);
    if (!extra.isEmpty())
        text += u';' + extra;
    return text;
}
