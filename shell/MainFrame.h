#pragma once

// The application's one main window. On the left the connections list above
// the table tree of the shown connection; on the right the workspace in
// which every open connection has its window, only the selected one shown.
// It owns the menus, the toolbar and the status bar, runs every command, and
// keeps the commands' enabled states by the rules of CommandState.h.
//
// Profiles are loaded when the window is made and saved when it is closed,
// before every connection is closed.
//
// Its definitions are kept by concern: MainFrame.cpp makes, lays out and
// closes the window; MainFrameCommands.cpp builds and runs the commands;
// MainFrameConnections.cpp connects, shows and closes connections;
// MainFrameProfiles.cpp adds, deletes and edits profiles and opens files.

#include "profiles/ConnectionsFrame.h"
#include "shell/CommandState.h"
#include "shell/TableTree.h"
#include "workspace/ClipboardHandler.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <memory>

class CConnection;
class CConnectionAttempt;
class CConnectionWnd;
class CConnectionsWnd;
class CEditorCommands;
class CStartHint;
class CSubstrate;
class QAction;
class QLabel;
class QSplitter;
class QTimer;
class QToolBar;

class CMainFrame : public QMainWindow, public CConnectionsFrame, public CClipboardHandler
{
    Q_OBJECT

public:
    static constexpr int LeftColumnWidth = 300;   // pixels
    static constexpr int ConnectionsHeight = 300; // pixels
    // How long quitting waits for stopped runs and closing connections.
    static constexpr int QuitWaitMilliseconds = 5000;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The action of a command id (EMainCommand, EEditCommand,
    // EConnectionCommand); its object name is "command-" and the id.
    QAction* Action(int command) const { return Actions_.value(command); }

    // Shows the profile of a list item (-1: the current item): its tables
    // and columns in the tree, its connection window above the others.
    void ShowConnection(int item) override;
    // ShowConnection, then the focus to that connection window's editor.
    void ShowConnectionWindow(int item) override;
    // Runs a connection command as its menu item does, if it is enabled.
    void RunConnectionCommand(int command) override;
    // Sends copy, cut, paste or undo to the current connection's editor.
    void RunClipboardCommand(int command) override;

    // Disconnects an item's profile (on its thread) and destroys its window.
    // False, and nothing done, while that profile is busy.
    bool CloseConnection(int item);
    // Whether a profile is connecting or running a script.
    bool IsBusy(const CConnection* profile) const;
    // Whether any profile is.
    bool IsAnyBusy() const { return FirstBusyProfile() != nullptr; }

    // Connects the SQLite database in file: the saved profile of that file
    // (however its path is written) or a new one named after it is selected
    // and connected. A missing file, or one that is not an SQLite database,
    // gets a message; nothing is then created or changed.
    void OpenDatabaseFile(const QString& file);

    // Opens an SQL file in the shown connection window, or in the next
    // connection window made when none is shown.
    void OpenSqlFile(const QString& file);

    // Puts the window, its splitters, toolbar and status bar as they were
    // when it was last closed; false, with a useful size, when nothing was
    // saved. Call before showing the window.
    bool RestoreLayout();

    // The conditions of the enabling rules as they stand now.
    CCommandState CommandState() const;

    CConnectionsWnd* Connections = nullptr;
    CTableTree* TableTree = nullptr;
    CSubstrate* Workspace = nullptr;
    CStartHint* StartHint = nullptr; // in the workspace while there are no profiles
    QSplitter* OuterSplitter = nullptr;
    QSplitter* InnerSplitter = nullptr;
    QToolBar* ToolBar = nullptr;
    CEditorCommands* EditorCommands = nullptr; // the commands on the shown editor

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildCommands();
    void BuildStatusBar();
    // The start hint's buttons and files dropped on the window.
    void BuildFirstSteps();
    void RunCommand(int command);
    void UpdateCommands();

    void OnNewConnection();
    void OnDeleteConnection();
    void OnConnectionProperties();
    void OnConnect();
    void OnDisconnect();
    void OnExecute();
    void OnStop();
    void SetRowLimit(int command);
    void OnExportResult();
    // CloseConnection, busy or not: a run still on the thread finishes there
    // before the database closes, and its window is gone.
    void CloseConnectionNow(int item);
    void OnConnected(CConnection* profile, const CConnectionAttempt* attempt);
    void MoveFocusToPane(int step);
    int IndexOf(const CConnection* profile) const;
    // Stops every run and abandons every connection attempt; waits at most
    // milliseconds for the runs to end. True when nothing runs any more.
    bool StopEverything(int milliseconds);
    // The status bar's message while something runs, refreshed by a timer.
    void ShowProgress();

    CConnection* CurrentProfile() const;
    CConnectionWnd* CurrentWindow() const;
    bool CreateConnectionWindow(CConnection& profile);
    const CConnection* FirstBusyProfile() const;
    // Saves the profiles, then closes every connection; once.
    void Shutdown();

    QHash<int, QAction*> Actions_;
    QList<QLabel*> Indicators_; // CAP, NUM, SCRL
    bool ShutDown_ = false;
    bool Destroying_ = false;
    // The connections being opened, by profile.
    QHash<const CConnection*, std::shared_ptr<CConnectionAttempt>> Attempts_;
    QHash<const CConnection*, QElapsedTimer> AttemptTimes_;
    QTimer* ProgressTimer_ = nullptr;
};
