#include "common/SvgPicture.h"
#include "resources/AboutDialog.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    QApplication::setApplicationName(QStringLiteral("Tablescope"));
    QApplication::setApplicationVersion(QStringLiteral(TABLESCOPE_VERSION));
    Q_INIT_RESOURCE(shell);
    QApplication::setWindowIcon(SvgIcon(QString::fromUtf8(ApplicationIconFile)));

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Brevan Tablescope"));
    frame.showMaximized();
    return app.exec();
}
