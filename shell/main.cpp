#include "shell/CommandLine.h"
#include "shell/MainFrame.h"
#include "shell/ScriptRunner.h"
#include "shell/TablescopeApp.h"

int main(int argc, char* argv[])
{
    // --help and --version answer before the application object would need a display.
    const CCommandLine early =
        CCommandLine::Parse(CCommandLine::FromArgv(argc, argv), CCommandLine::PassEarly);
    if (early.Finished)
        return early.Report();
    // A script run from a shell makes no window and needs no display.
    if (early.Execute)
        return CScriptRunner::Main(argc, argv);

    CTablescopeApp app(argc, argv);
    // Qt has taken its own options (-platform, -style) out of the arguments by now.
    const CCommandLine commandLine =
        CCommandLine::Parse(QCoreApplication::arguments(), CCommandLine::PassFull);
    if (commandLine.Finished)
        return commandLine.Report();

    CMainFrame frame;
    if (frame.RestoreLayout())
        frame.show();
    else
        frame.showMaximized();
    if (!commandLine.FilePath.isEmpty())
        frame.OpenDatabaseFile(commandLine.FilePath);
    if (!commandLine.SqlFilePath.isEmpty())
        frame.OpenSqlFile(commandLine.SqlFilePath);
    return app.exec();
}
