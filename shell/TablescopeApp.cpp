#include "shell/TablescopeApp.h"

#include "common/SvgPicture.h"
#include "common/Utf8Locale.h"
#include "resources/AboutDialog.h"
#include "resources/MainMenu.h"
#include "shell/AboutDlg.h"

CTablescopeApp::CTablescopeApp(int& argc, char** argv) : QApplication(argc, argv)
{
    EnsureUtf8Locale(); // after Qt has applied the environment's locale
    SetUp();
}

void CTablescopeApp::SetUp()
{
    Q_INIT_RESOURCE(shell);
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    QApplication::setApplicationName(QString::fromUtf8(ApplicationName));
    QApplication::setApplicationVersion(QStringLiteral(TABLESCOPE_VERSION));
    // Matches the installed desktop entry, so that the desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tablescope"));
    QApplication::setWindowIcon(SvgIcon(QString::fromUtf8(ApplicationIconFile)));
}

void CTablescopeApp::RunAboutBox(QWidget* parent)
{
    CAboutDlg about(parent);
    about.exec();
}
