#include "common/Utf8Locale.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    EnsureUtf8Locale(); // after Qt has applied the environment's locale
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    QApplication::setApplicationName(QStringLiteral("Tablescope"));
    QApplication::setApplicationVersion(QStringLiteral(TABLESCOPE_VERSION));

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Brevan Tablescope"));
    frame.showMaximized();
    return app.exec();
}
