#include "shell/WindowLayout.h"

#include "profiles/Hive.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>

namespace {

const QString GeometryKey = QStringLiteral("Window/Geometry");
const QString StateKey = QStringLiteral("Window/State"); // the toolbar's place and visibility
const QString StatusBarKey = QStringLiteral("Window/StatusBar");
const QString SplitterKey = QStringLiteral("Splitters/%1");
constexpr int LayoutVersion = 1; // of the window state, as restoreState checks it

} // namespace

QString CWindowLayout::FileName()
{
    return QFileInfo(CHive::CurrentUserFileName()).absolutePath() + QStringLiteral("/Layout.ini");
}

bool CWindowLayout::Save(const QMainWindow& window, const QList<const QSplitter*>& splitters)
{
    QSettings settings(FileName(), QSettings::IniFormat);
    settings.setValue(GeometryKey, window.saveGeometry());
    settings.setValue(StateKey, window.saveState(LayoutVersion));
    // The status bar's own visibility, not whether the window is shown.
    settings.setValue(StatusBarKey, !window.statusBar()->isHidden());
    for (int i = 0; i < splitters.size(); ++i)
        settings.setValue(SplitterKey.arg(i), splitters.at(i)->saveState());
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool CWindowLayout::Restore(QMainWindow& window, const QList<QSplitter*>& splitters)
{
    QSettings settings(FileName(), QSettings::IniFormat);
    const QByteArray geometry = settings.value(GeometryKey).toByteArray();
    if (settings.status() != QSettings::NoError || geometry.isEmpty() ||
        !window.restoreGeometry(geometry)) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window.resize(area.size() * 4 / 5);
            window.move(area.center() - window.rect().center());
        }
        return false;
    }
    window.restoreState(settings.value(StateKey).toByteArray(), LayoutVersion);
    window.statusBar()->setVisible(settings.value(StatusBarKey, true).toBool());
    for (int i = 0; i < splitters.size(); ++i)
        splitters.at(i)->restoreState(settings.value(SplitterKey.arg(i)).toByteArray());
    KeepOnScreen(window);
    return true;
}

void CWindowLayout::KeepOnScreen(QMainWindow& window)
{
    const QRect frame = window.isMaximized() ? window.normalGeometry() : window.geometry();
    if (QGuiApplication::screenAt(frame.center()))
        return;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect area = primary->availableGeometry();
    const QSize size = frame.size().boundedTo(area.size());
    window.setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}
