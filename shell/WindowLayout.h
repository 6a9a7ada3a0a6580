#pragma once

// The main window's layout as the user left it: size, position and whether
// it was maximized, the splitter positions, the toolbar and the status bar.
// Kept in "Layout.ini" beside the profile store, apart from the profiles so
// that a damaged layout never costs one.

#include <QList>
#include <QString>

class QMainWindow;
class QSplitter;

class CWindowLayout
{
public:
    // $XDG_CONFIG_HOME/Brevan/Layout.ini (~/.config when unset).
    static QString FileName();

    // Writes window's layout; splitters in an order that Restore is given
    // again. False when the file could not be written.
    static bool Save(const QMainWindow& window, const QList<const QSplitter*>& splitters);
    // Applies a saved layout before the window is shown, and returns true;
    // the window is then shown with show(), maximized again when it was.
    // Without one (or with one that cannot be read) the window gets four
    // fifths of the screen, centred, so that it is a useful size where no
    // window manager maximizes it, and false is returned. A position that
    // lies on no screen now is moved onto one.
    static bool Restore(QMainWindow& window, const QList<QSplitter*>& splitters);

    // Moves window onto the primary screen, centred and no larger than it,
    // when no screen holds the centre of its normal geometry.
    static void KeepOnScreen(QMainWindow& window);
};
