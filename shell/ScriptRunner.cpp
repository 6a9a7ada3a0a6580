#include "shell/ScriptRunner.h"

#include "shell/CommandLine.h"
#include "shell/OpenConnection.h"
#include "workspace/QueryExecution.h"
#include "workspace/ResultExport.h"
#include "workspace/ResultWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

const char UserVariable[] = "TABLESCOPE_USER";
const char PasswordVariable[] = "TABLESCOPE_PASSWORD";

// A line typed at the terminal longer than this is refused, not cut.
constexpr qsizetype MaxTypedLine = 4096;

// The terminal's settings while echo is off, for the signal handler that
// puts them back when the user interrupts the password prompt.
int EchoOffTerminal = -1;
termios EchoOnSettings{};

extern "C" void RestoreEchoAndRaise(int signal)
{
    tcsetattr(EchoOffTerminal, TCSANOW, &EchoOnSettings);
    raise(signal); // the handler was reset on entry: this ends the process as the signal would
}

// Set by SIGINT while the script runs; lock-free, so the handler may set it.
std::atomic<bool> InterruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RequestInterrupt(int)
{
    InterruptRequested = true;
}

// While it exists, Ctrl+C (SIGINT) stops the run instead of ending the
// process: a watcher asks control to stop and interrupts database until the
// run is over.
class CInterruptWatch
{
public:
    CInterruptWatch(CAbstractDatabase& database, CRunControl& control)
    {
        InterruptRequested = false;
        struct sigaction action
        {
        };
        action.sa_handler = RequestInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &Previous_);
        Watcher_ = std::thread([this, &database, &control] {
            std::unique_lock lock(Lock_);
            while (!Done_) {
                if (InterruptRequested) {
                    control.StopRequested = true;
                    database.Interrupt(); // again and again: a call may start after the first
                }
                Wake_.wait_for(lock, std::chrono::milliseconds(50));
            }
        });
    }
    ~CInterruptWatch()
    {
        {
            const std::lock_guard lock(Lock_);
            Done_ = true;
        }
        Wake_.notify_one();
        Watcher_.join();
        sigaction(SIGINT, &Previous_, nullptr);
    }
    CInterruptWatch(const CInterruptWatch&) = delete;
    CInterruptWatch& operator=(const CInterruptWatch&) = delete;

private:
    struct sigaction Previous_
    {
    };
    std::mutex Lock_;
    std::condition_variable Wake_;
    bool Done_ = false;
    std::thread Watcher_;
};

// The controlling terminal, apart from standard input, which may carry the
// script.
class CTerminal
{
public:
    CTerminal() : Fd_(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~CTerminal()
    {
        if (Fd_ >= 0)
            close(Fd_);
    }
    CTerminal(const CTerminal&) = delete;
    CTerminal& operator=(const CTerminal&) = delete;

    bool IsOpen() const { return Fd_ >= 0; }

    // Shows prompt and reads one line, without its line break. With echo
    // false the typed characters are not shown. False at the end of input
    // (the user pressed Ctrl+D) or on an error, with error set.
    bool ReadLine(const QString& prompt, bool echo, QString& line, QString& error)
    {
        termios settings{};
        const bool hideEcho = !echo && tcgetattr(Fd_, &settings) == 0;
        struct sigaction previous[4];
        const int interrupts[4] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
        if (hideEcho) {
            EchoOffTerminal = Fd_;
            EchoOnSettings = settings;
            struct sigaction restore = {};
            restore.sa_handler = RestoreEchoAndRaise;
            restore.sa_flags = SA_RESETHAND;
            sigemptyset(&restore.sa_mask);
            for (int i = 0; i < 4; ++i)
                sigaction(interrupts[i], &restore, &previous[i]);
            termios silent = settings;
            silent.c_lflag &= tcflag_t(~ECHO);
            silent.c_lflag |= ECHONL; // the Enter key still moves to the next line
            // Echo goes off before the prompt shows, so nothing typed after
            // the prompt can be echoed.
            tcsetattr(Fd_, TCSAFLUSH, &silent);
        }
        const QByteArray promptBytes = prompt.toLocal8Bit();
        WriteAll(promptBytes);
        QByteArray bytes;
        bool ended = false;
        int failure = 0; // errno of a failed read
        for (;;) {
            char c = 0;
            const ssize_t got = read(Fd_, &c, 1);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                failure = errno;
                break;
            }
            if (got == 0) {
                ended = true;
                break;
            }
            if (c == '\n')
                break;
            if (bytes.size() < MaxTypedLine + 1)
                bytes.append(c);
        }
        if (hideEcho) {
            tcsetattr(Fd_, TCSAFLUSH, &settings);
            for (int i = 0; i < 4; ++i)
                sigaction(interrupts[i], &previous[i], nullptr);
            EchoOffTerminal = -1;
            if (ended)
                WriteAll("\n");
        }
        if (failure != 0 || ended) {
            error = failure != 0
                        ? QStringLiteral("Cannot read from the terminal: ") +
                              QString::fromLocal8Bit(strerror(failure))
                        : QStringLiteral("Nothing was typed; the connection was abandoned.");
            return false;
        }
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (bytes.size() > MaxTypedLine) {
            error = QStringLiteral("The line typed is longer than %1 bytes.").arg(MaxTypedLine);
            return false;
        }
        line = QString::fromLocal8Bit(bytes);
        return true;
    }

private:
    void WriteAll(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t written =
                write(Fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return;
            done += written;
        }
    }

    int Fd_;
};

// Fills the login and password of a profile that does not remember them, as
// the login dialog does in the window: from the environment when
// TABLESCOPE_PASSWORD is set, otherwise from the terminal.
bool AskCredentials(CConnection& profile, QString& error)
{
    const bool hasUser = qEnvironmentVariableIsSet(UserVariable);
    if (profile.Login.isEmpty() && hasUser)
        profile.Login = qEnvironmentVariable(UserVariable);
    if (qEnvironmentVariableIsSet(PasswordVariable)) {
        profile.Password = qEnvironmentVariable(PasswordVariable);
        return true;
    }
    CTerminal terminal;
    if (!terminal.IsOpen()) {
        error =
            QStringLiteral("The profile \"%1\" does not remember its password, and there is no "
                           "terminal to ask for it on: set %2 (and %3 for the login).")
                .arg(profile.Name, QLatin1String(PasswordVariable), QLatin1String(UserVariable));
        return false;
    }
    if (profile.Login.isEmpty() && !hasUser &&
        !terminal.ReadLine(QStringLiteral("Login for \"%1\": ").arg(profile.Name), true,
                           profile.Login, error))
        return false;
    return terminal.ReadLine(QStringLiteral("Password for \"%1\": ").arg(profile.Name), false,
                             profile.Password, error);
}

// The script as text: UTF-8, with or without a byte order mark.
bool ReadScript(const QString& path, QIODevice& input, QString& script, QString& error)
{
    QByteArray bytes;
    const bool fromInput = path == QStringLiteral("-");
    const QString name = fromInput ? QStringLiteral("standard input") : u'"' + path + u'"';
    if (fromInput) {
        bytes = input.readAll();
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("Cannot read the script %1: %2").arg(name, file.errorString());
            return false;
        }
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            error = QStringLiteral("Cannot read the script %1: %2").arg(name, file.errorString());
            return false;
        }
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    script = decoder(bytes);
    if (decoder.hasError()) {
        error = QStringLiteral("The script in %1 is not UTF-8 text.").arg(name);
        return false;
    }
    return true;
}

// The profile to connect: the saved one of that name, or one made up for
// the SQLite file.
bool FindProfile(const CScriptRunner& runner, CConnection& profile, QString& error)
{
    if (runner.ProfileName.isEmpty()) {
        const QFileInfo file(runner.SQLitePath);
        // SQLite would make an empty database of a missing file: a mistyped
        // name must not leave one behind.
        if (!file.exists()) {
            error =
                QStringLiteral("The database file \"%1\" does not exist.").arg(runner.SQLitePath);
            return false;
        }
        if (!file.isFile()) {
            error = QStringLiteral("\"%1\" is not a database file.").arg(runner.SQLitePath);
            return false;
        }
        profile.Type = DatabaseTypeSQLite;
        profile.Name = file.fileName();
        profile.Path = runner.SQLitePath;
        return true;
    }
    QList<CConnection> profiles;
    if (!ReadConnections(profiles, error))
        return false;
    for (const CConnection& saved : std::as_const(profiles)) {
        if (saved.Name == runner.ProfileName) {
            profile = saved;
            return true;
        }
    }
    error = QStringLiteral("No saved connection profile is named \"%1\".").arg(runner.ProfileName);
    return false;
}

bool Write(QIODevice& device, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

void Complain(QIODevice& errors, const QString& message)
{
    Write(errors, QStringLiteral("tablescope: ") + message + u'\n');
}

// The grid as lines of text: the header line and the rows when it shows a
// query, the rows alone when it shows the log. As tab-separated fields (the
// row number first), or as CSV without the row number, where a last row that
// says why the rows ended goes to errors instead. NULL is written as null.
QString GridLines(const CResultModel& grid, bool withHeader, const CScriptRunner& runner,
                  QIODevice& errors)
{
    QString text;
    QStringList fields;
    const bool csv = runner.Csv;
    const int first = csv && withHeader ? 1 : 0; // CSV leaves the row number out
    const auto field = [csv](const QString& value) {
        return csv ? CsvField(value) : CScriptRunner::EscapeField(value);
    };
    const QChar separator = csv ? u',' : u'\t';
    if (withHeader) {
        for (int c = first; c < grid.ColumnCount(); ++c)
            fields.append(field(grid.Column(c).Header));
        text += fields.join(separator) + u'\n';
    }
    for (int r = 0; r < grid.RowCount(); ++r) {
        if (csv && withHeader && grid.Image(r) != NoResultImage) {
            Write(errors, QStringLiteral("tablescope: ") + grid.Text(r, 1) + u'\n');
            continue;
        }
        fields.clear();
        for (int c = first; c < grid.ColumnCount(); ++c)
            fields.append(grid.IsNull(r, c) ? field(runner.NullText) : field(grid.Text(r, c)));
        text += fields.join(separator) + u'\n';
    }
    return text;
}

} // namespace

QString CScriptRunner::EscapeField(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

int CScriptRunner::Run(QIODevice& input, QIODevice& output, QIODevice& errors) const
{
    QString error;
    QString script;
    if (!ReadScript(ScriptPath, input, script, error)) {
        Complain(errors, error);
        return ExitCannotRun;
    }
    CConnection profile;
    if (!FindProfile(*this, profile, error)) {
        Complain(errors, error);
        return ExitCannotRun;
    }
    if (!profile.RememberAuth && profile.Type != DatabaseTypeSQLite &&
        !AskCredentials(profile, error)) {
        Complain(errors, error);
        return ExitCannotRun;
    }
    if (!OpenConnection(profile, error)) {
        Complain(errors, QStringLiteral("Cannot connect to \"%1\": %2").arg(profile.Name, error));
        return ExitCannotRun;
    }

    CScriptRun run;
    CRunControl control;
    control.RowLimit = MaxRows;
    CResultModel grid;
    bool showsRows = false;
    {
        const CInterruptWatch watch(*profile.Database, control);
        RunScript(*profile.Database, ScriptToRun(script, 0, 0), run, &control);
        showsRows = run.Recordset != nullptr;
        if (showsRows)
            ReadResultRows(
                *run.Recordset,
                [&grid](CResultPiece&& piece) { AddResultPiece(grid, std::move(piece), {}); },
                &control);
        else
            WriteLog(run, grid, 0);
        run.Recordset.reset();
    }
    // A query whose rows stopped coming ends with a row that says so: the
    // output is short, and the run must not pass for a success.
    const bool rowsFailed =
        showsRows && grid.RowCount() > 0 && grid.Image(grid.RowCount() - 1) == FailureImage;

    if (!Write(output, GridLines(grid, showsRows, *this, errors))) {
        Complain(errors, QStringLiteral("Cannot write the result: ") + output.errorString());
        return ExitCannotRun;
    }
    if (control.Stopping())
        return ExitStopped;
    return run.Succeeded() && !rowsFailed ? ExitSucceeded : ExitFailed;
}

int CScriptRunner::Main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brevan"));
    QCoreApplication::setApplicationName(QStringLiteral("Tablescope"));

    const CCommandLine commandLine =
        CCommandLine::Parse(QCoreApplication::arguments(), CCommandLine::PassFull);
    if (commandLine.Finished)
        return commandLine.Report();

    CScriptRunner runner;
    runner.ScriptPath = commandLine.ScriptPath;
    runner.ProfileName = commandLine.ProfileName;
    runner.SQLitePath = commandLine.SQLitePath;
    runner.Csv = commandLine.Csv;
    runner.MaxRows = commandLine.MaxRows;
    runner.NullText = commandLine.NullText;
    QFile input;
    QFile output;
    QFile errors;
    input.open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    output.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
    errors.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                QFileDevice::DontCloseHandle);
    int status = runner.Run(input, output, errors);
    // What is still buffered must reach the reader, or the run did not succeed.
    if (!output.flush() && status != ExitCannotRun) {
        errors.write(QByteArrayLiteral("tablescope: Cannot write the result: ") +
                     output.errorString().toLocal8Bit() + '\n');
        status = ExitCannotRun;
    }
    return status;
}
