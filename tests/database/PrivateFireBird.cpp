#include "database/PrivateFireBird.h"

#include "database/FreePort.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>

namespace {

const QString Installed = QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
const QString ServerProgram = QStringLiteral("/usr/sbin/firebird");
const QString IsqlProgram = QStringLiteral("isql-fb");

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

CPrivateFireBird::~CPrivateFireBird()
{
    Kill();
}

QString CPrivateFireBird::Unavailable()
{
    if (!QFileInfo(ServerProgram).isExecutable())
        return ServerProgram + QStringLiteral(" is missing (package firebird3.0-server)");
    if (!QFileInfo::exists(Installed + QStringLiteral("/plugins/libEngine12.so")))
        return QStringLiteral("the FireBird engine is missing (package firebird3.0-server-core)");
    QProcess probe;
    probe.start(IsqlProgram, {QStringLiteral("-z")});
    if (!probe.waitForStarted(10000))
        return IsqlProgram + QStringLiteral(" is missing (package firebird3.0-utils)");
    probe.closeWriteChannel();
    if (!probe.waitForFinished(10000))
        probe.kill();
    probe.waitForFinished();
    return {};
}

QProcessEnvironment CPrivateFireBird::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD"), Root_.path());
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), Root_.filePath(QStringLiteral("lock")));
    environment.insert(QStringLiteral("FIREBIRD_TMP"), Root_.filePath(QStringLiteral("tmp")));
    environment.remove(QStringLiteral("ISC_USER"));
    environment.remove(QStringLiteral("ISC_PASSWORD"));
    return environment;
}

bool CPrivateFireBird::RunIsql(const QStringList& arguments, const QString& script, QString& error)
{
    QProcess isql;
    isql.setProcessEnvironment(Environment());
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(IsqlProgram, QStringList{QStringLiteral("-q"), QStringLiteral("-b")} + arguments);
    if (!isql.waitForStarted(10000)) {
        error = IsqlProgram + QStringLiteral(": ") + isql.errorString();
        return false;
    }
    isql.write(script.toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(300000)) {
        isql.kill();
        isql.waitForFinished();
        error = IsqlProgram + QStringLiteral(" did not finish");
        return false;
    }
    const QString output = QString::fromUtf8(isql.readAll());
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0) {
        error = IsqlProgram + QStringLiteral(" failed: ") + output;
        return false;
    }
    return true;
}

bool CPrivateFireBird::Build(QString& error)
{
    if (!Root_.isValid()) {
        error = Root_.errorString();
        return false;
    }
    Port_ = FreePort();
    if (Port_ == 0) {
        error = QStringLiteral("no free port");
        return false;
    }
    const QDir root(Root_.path());
    for (const char* folder : {"lock", "tmp"})
        if (!root.mkpath(QString::fromLatin1(folder))) {
            error = QStringLiteral("cannot make ") + root.filePath(QString::fromLatin1(folder));
            return false;
        }
    // What the server reads from its root, taken from the installed one.
    for (const char* entry : {"plugins", "intl", "UDF", "firebird.msg"})
        QFile::link(Installed + u'/' + QString::fromLatin1(entry),
                    root.filePath(QString::fromLatin1(entry)));
    const QString security = root.filePath(QStringLiteral("security3.fdb"));
    const QByteArray config = QStringLiteral("RemoteServicePort = %1\n"
                                             "RemoteBindAddress = 127.0.0.1\n"
                                             "SecurityDatabase = %2\n"
                                             "ServerMode = Super\n"
                                             "UdfAccess = None\n")
                                  .arg(Port_)
                                  .arg(security)
                                  .toUtf8();
    const QByteArray plugins = "Plugin = UDR {\n\tModule = $(dir_plugins)/udr_engine\n"
                               "\tConfig = UDR_config\n}\n"
                               "Config = UDR_config {\n\tpath = $(dir_plugins)/udr\n}\n";
    if (!WriteFile(root.filePath(QStringLiteral("firebird.conf")), config) ||
        !WriteFile(root.filePath(QStringLiteral("databases.conf")), {}) ||
        !WriteFile(root.filePath(QStringLiteral("plugins.conf")), plugins)) {
        error = QStringLiteral("cannot write the configuration in ") + Root_.path();
        return false;
    }
    Password_ = QStringLiteral("p%1").arg(QRandomGenerator::global()->bounded(1000000, 9999999));
    // The security database is made and filled through the embedded engine,
    // which needs no login.
    if (!RunIsql({QStringLiteral("-user"), QStringLiteral("SYSDBA")},
                 QStringLiteral("CREATE DATABASE '%1';\n").arg(security), error) ||
        !RunIsql({QStringLiteral("-user"), QStringLiteral("SYSDBA"), security},
                 QStringLiteral("CREATE USER SYSDBA PASSWORD '%1' USING PLUGIN Srp;\nCOMMIT;\n")
                     .arg(Password_),
                 error))
        return false;
    Built_ = true;
    return true;
}

bool CPrivateFireBird::Start(QString& error)
{
    if (!Built_ && !Build(error))
        return false;
    Server_.setProcessEnvironment(Environment());
    Server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    Server_.setStandardOutputFile(QProcess::nullDevice());
    Server_.start(ServerProgram, {});
    if (!Server_.waitForStarted(10000)) {
        error = ServerProgram + QStringLiteral(": ") + Server_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(30000);
    while (!PortAnswers(Port_)) {
        if (Server_.state() != QProcess::Running || deadline.hasExpired()) {
            Kill();
            error =
                QStringLiteral("the private FireBird server did not listen on port %1").arg(Port_);
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

void CPrivateFireBird::Kill()
{
    if (Server_.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(Server_.processId()), SIGKILL);
    Server_.waitForFinished(30000);
}

qint64 CPrivateFireBird::ProcessId() const
{
    return Server_.processId();
}

QString CPrivateFireBird::Location(const QString& file) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(Port_).arg(Root_.filePath(file));
}

bool CPrivateFireBird::RunScript(const QString& location, const QString& script, QString& error)
{
    QStringList arguments{QStringLiteral("-user"), User(), QStringLiteral("-password"), Password_};
    if (!location.isEmpty())
        arguments.append(location);
    return RunIsql(arguments, script, error);
}
