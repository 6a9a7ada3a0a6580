#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    QApplication::setApplicationName(QStringLiteral("Tablescope"));
    QApplication::setApplicationVersion(QStringLiteral(TABLESCOPE_VERSION));

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Brevan Tablescope"));
    frame.showMaximized();
    return app.exec();
}
