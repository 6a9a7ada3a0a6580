#include "common/SvgPicture.h"
#include "resources/AboutDialog.h"
#include "shell/CommandLine.h"
#include "shell/ScriptRunner.h"

#include <QApplication>
#include <QMainWindow>

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

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    QApplication::setApplicationName(QStringLiteral("Tablescope"));
    QApplication::setApplicationVersion(QStringLiteral(TABLESCOPE_VERSION));
    // Matches the installed desktop entry, so that the desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tablescope"));

    // Qt has taken its own options (-platform, -style) out of the arguments by now.
    const CCommandLine commandLine =
        CCommandLine::Parse(QCoreApplication::arguments(), CCommandLine::PassFull);
    if (commandLine.Finished)
        return commandLine.Report();

    Q_INIT_RESOURCE(shell);
    QApplication::setWindowIcon(SvgIcon(QString::fromUtf8(ApplicationIconFile)));

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Brevan Tablescope"));
    frame.showMaximized();
    return app.exec();
}
