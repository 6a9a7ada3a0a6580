#pragma once

// The main window's commands on the shown connection's editor: SQL files
// (open, save, save as, the recent files), find and replace, redo, go to
// line, comments, line numbers and running the statement under the caret;
// and what the frame shows of the editor: the file's name in the caption
// and the caret's line and column in the status bar. The frame routes these
// commands here and tells this class when a window appears, is shown or is
// about to close.

#include <QObject>
#include <QString>
#include <functional>

class CConnection;
class CConnectionWnd;
class QAction;
class QLabel;
class QMainWindow;

class CEditorCommands : public QObject
{
    Q_OBJECT

public:
    // currentProfile gives the profile of the connections list's current
    // item, or null; action gives the action of a command id.
    CEditorCommands(QMainWindow& frame, std::function<CConnection*()> currentProfile,
                    std::function<QAction*(int)> action);

    // Whether command is one of these; Run does nothing for any other.
    static bool Handles(int command);
    void Run(int command);

    // Adds the status bar's line and column pane; sets up the recent files
    // and the line numbers items. Once, after the actions exist.
    void SetUp();

    // A connection window was made for profile: its draft comes back, and a
    // file waiting to be opened opens in it.
    void AttachWindow(CConnectionWnd& window, const CConnection& profile);
    // The shown window may have changed: caption and position follow it.
    void ShowCurrent();
    // Before window closes: asks about a file with unsaved changes and writes
    // the draft. False when the user cancels.
    bool MayClose(CConnectionWnd& window);
    // A deleted profile's draft goes with it; a renamed one's follows it.
    void ProfileGone(const QString& name);
    void ProfileRenamed(const QString& oldName, const CConnection& profile);
    // Opens path in the shown connection window, or in the next one made.
    void OpenFile(const QString& path);

    QLabel* Position = nullptr; // "Ln 1, Col 1"

signals:
    // Something the enabling rules read may have changed.
    void Changed();

private:
    CConnectionWnd* CurrentWindow() const;
    void UpdateRecentFiles();
    void UpdateCaption();
    void UpdatePosition();
    void OpenRecent(int index);

    QMainWindow& Frame_;
    std::function<CConnection*()> CurrentProfile_;
    std::function<QAction*(int)> Action_;
    QString CaptionBase_;
    QString PendingFile_; // to open in the next window made
    bool LineNumbersShown_ = true;
};
