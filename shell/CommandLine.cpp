#include "shell/CommandLine.h"

#include "shell/ProductVersion.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

// The exit status of a command line that cannot be understood.
constexpr int UsageExitCode = 2;

// The program's name as the user typed it, for the usage line.
QString ProgramName(const QStringList& arguments)
{
    const QString name = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return name.isEmpty() ? QStringLiteral("tablescope") : name;
}

// QCommandLineParser names the program after the application object's first
// argument, or with a placeholder before there is one; the usage line should
// name it as the argument list does.
QString HelpText(const QCommandLineParser& parser, const QString& programName)
{
    QString text = parser.helpText();
    QString parserName = QStringLiteral("<executable_name>");
    if (QCoreApplication::instance() && !QCoreApplication::arguments().isEmpty())
        parserName = QCoreApplication::arguments().constFirst();
    const qsizetype at = text.indexOf(parserName);
    if (at >= 0 && at < text.indexOf(QLatin1Char('\n')))
        text.replace(at, parserName.size(), programName);
    return text;
}

CCommandLine UsageError(const QString& programName, const QString& what)
{
    CCommandLine result;
    result.Finished = true;
    result.ExitCode = UsageExitCode;
    result.MessageIsError = true;
    result.Message =
        QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(programName, what);
    return result;
}

} // namespace

CCommandLine CCommandLine::Parse(const QStringList& arguments, EPass pass)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tablescope looks into SQLite, FireBird and ODBC databases and runs SQL "
                       "against them."));
    // Our own help and version options: the parser's built-in ones add
    // --help-all and end the process themselves.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Shows this help and exits."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Shows the version and exits."));
    // Qt's own single-dash options (-platform, -reverse, -style) must stay
    // whole words, or the early pass would read -reverse as -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    const QCommandLineOption executeOption(
        QStringLiteral("execute"),
        QStringLiteral("Runs the SQL script in <script> (\"-\" reads standard input) without the "
                       "window and writes what the result grid would show to standard output."),
        QStringLiteral("script"));
    const QCommandLineOption profileOption(
        QStringLiteral("profile"),
        QStringLiteral("With --execute: the saved connection profile named <name>."),
        QStringLiteral("name"));
    const QCommandLineOption sqliteOption(
        QStringLiteral("sqlite"),
        QStringLiteral("With --execute: the SQLite database file <path>."), QStringLiteral("path"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("With --execute: how rows are written: tsv (tab-separated, escaped; the "
                       "default) or csv (RFC 4180, with a header line)."),
        QStringLiteral("format"));
    const QCommandLineOption maxRowsOption(
        QStringLiteral("max-rows"),
        QStringLiteral("With --execute: the most rows of the query to write; 0 writes every row "
                       "(default 1000, as the window)."),
        QStringLiteral("n"));
    const QCommandLineOption nullOption(
        QStringLiteral("null"),
        QStringLiteral("With --execute: the text written for NULL (default: nothing)."),
        QStringLiteral("text"));
    parser.addOption(executeOption);
    parser.addOption(profileOption);
    parser.addOption(sqliteOption);
    parser.addOption(formatOption);
    parser.addOption(maxRowsOption);
    parser.addOption(nullOption);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("An SQLite database file to open."),
                                 QStringLiteral("[file]"));

    const QString programName = ProgramName(arguments);
    // The parser needs the program's name in front, even when a caller has none.
    const bool parsed = parser.parse(arguments.isEmpty() ? QStringList{programName} : arguments);

    CCommandLine result;
    // Help and version win over anything else on the line, errors included:
    // the early pass cannot tell Qt's own options from mistakes.
    if (parser.isSet(helpOption)) {
        result.Finished = true;
        result.Message = HelpText(parser, programName);
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.Finished = true;
        result.Message = VersionLine() + QLatin1Char('\n');
        return result;
    }
    result.Execute = parser.isSet(executeOption);
    const bool hasProfile = parser.isSet(profileOption);
    const bool hasSQLite = parser.isSet(sqliteOption);
    // Answered by the early pass as well: the window would need a display first.
    if (!result.Execute) {
        for (const QCommandLineOption* option :
             {&profileOption, &sqliteOption, &formatOption, &maxRowsOption, &nullOption})
            if (parser.isSet(*option))
                return UsageError(
                    programName,
                    QStringLiteral("--%1 belongs with --execute.").arg(option->names().first()));
    }
    if (pass == PassEarly)
        return result;

    if (!parsed)
        return UsageError(programName, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (result.Execute) {
        // The last of a repeated option counts, as QCommandLineParser::value gives it.
        result.ScriptPath = parser.value(executeOption);
        result.ProfileName = parser.value(profileOption);
        result.SQLitePath = parser.value(sqliteOption);
        if (parser.isSet(formatOption)) {
            const QString format = parser.value(formatOption).toLower();
            if (format != QLatin1String("tsv") && format != QLatin1String("csv"))
                return UsageError(programName, QStringLiteral("--format is tsv or csv, not \"%1\".")
                                                   .arg(parser.value(formatOption)));
            result.Csv = format == QLatin1String("csv");
        }
        if (parser.isSet(maxRowsOption)) {
            bool number = false;
            result.MaxRows = parser.value(maxRowsOption).toInt(&number);
            if (!number || result.MaxRows < 0)
                return UsageError(programName,
                                  QStringLiteral("--max-rows takes a count of rows, 0 for all, "
                                                 "not \"%1\".")
                                      .arg(parser.value(maxRowsOption)));
        }
        result.NullText = parser.value(nullOption);
        if (!positional.isEmpty())
            return UsageError(programName,
                              QStringLiteral("--execute opens no file; use --sqlite %1 to run the "
                                             "script on it.")
                                  .arg(positional.first()));
        if (result.ScriptPath.isEmpty())
            return UsageError(programName, QStringLiteral("The script name is empty."));
        if (hasProfile == hasSQLite)
            return UsageError(programName,
                              QStringLiteral("--execute needs either --profile or --sqlite."));
        if (hasProfile && result.ProfileName.isEmpty())
            return UsageError(programName, QStringLiteral("The profile name is empty."));
        if (hasSQLite && result.SQLitePath.isEmpty())
            return UsageError(programName, QStringLiteral("The database file name is empty."));
        return result;
    }
    if (positional.size() > 1)
        return UsageError(
            programName,
            QStringLiteral("Only one file can be opened; %1 were given.").arg(positional.size()));
    if (!positional.isEmpty()) {
        if (positional.first().isEmpty())
            return UsageError(programName, QStringLiteral("The file name is empty."));
        result.FilePath = positional.first();
    }
    return result;
}

QStringList CCommandLine::FromArgv(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString CCommandLine::VersionLine()
{
    return QStringLiteral("Tablescope ") + ProductVersionText(); // as the About box shows it
}

int CCommandLine::Report() const
{
    if (!Message.isEmpty()) {
        std::FILE* stream = MessageIsError ? stderr : stdout;
        const QByteArray bytes = Message.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
        std::fflush(stream);
    }
    return ExitCode;
}
