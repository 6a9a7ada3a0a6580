// The main window's commands: the menus, keys and toolbar built from the
// command table, each command run, and the enabled states kept.

#include "common/SvgPicture.h"
#include "profiles/ConnectionsWnd.h"
#include "resources/MainMenu.h"
#include "shell/EditorCommands.h"
#include "shell/HelpPage.h"
#include "shell/MainFrame.h"
#include "shell/StartHint.h"
#include "shell/TablescopeApp.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/ExportDialog.h"
#include "workspace/ResultGrid.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

QList<QKeySequence> Shortcuts(const char* keys)
{
    QList<QKeySequence> shortcuts;
    for (const QString& key :
         QString::fromLatin1(keys).split(QStringLiteral("; "), Qt::SkipEmptyParts))
        shortcuts.append(QKeySequence(key, QKeySequence::PortableText));
    return shortcuts;
}

QIcon ToolbarIcon(const CMainCommand& command)
{
    const QString own = QString::fromLatin1(command.OwnIcon);
    return QIcon::fromTheme(QString::fromLatin1(command.Icon), SvgIcon(own));
}

} // namespace

void CMainFrame::BuildCommands()
{
    QList<QMenu*> popups;
    for (const char* title : MainMenuPopups)
        popups.append(menuBar()->addMenu(QString::fromUtf8(title)));

    ToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    ToolBar->setObjectName(QStringLiteral("toolbar"));
    ToolBar->setMovable(true);
    ToolBar->setFloatable(true);
    ToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    ToolBar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, ToolBar);
    QMap<int, QAction*> toolbarPlaces;

    for (const CMainCommand& command : MainCommands) {
        if (command.Command == 0) {
            popups.at(command.Popup)->addSeparator();
            continue;
        }
        auto* action = new QAction(QString::fromUtf8(command.Text), this);
        action->setObjectName(QStringLiteral("command-%1").arg(command.Command));
        action->setShortcuts(Shortcuts(command.Keys));
        const QStringList prompt = QString::fromUtf8(command.Prompt).split(u'\n');
        action->setStatusTip(prompt.value(0));
        action->setToolTip(prompt.value(1));
        if (command.ToolbarPlace > 0) {
            action->setIcon(ToolbarIcon(command));
            toolbarPlaces.insert(command.ToolbarPlace, action);
        }
        const int id = command.Command;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        if (command.Popup == PopupNone)
            addAction(action); // keys only
        else
            popups.at(command.Popup)->addAction(action);
        Actions_.insert(id, action);
    }
    for (QAction* action : std::as_const(toolbarPlaces))
        ToolBar->addAction(action);

    for (const auto& [command, limit] : RowLimitCommands)
        Action(command)->setCheckable(true);

    QAction* viewToolbar = Action(CommandViewToolbar);
    viewToolbar->setCheckable(true);
    viewToolbar->setChecked(true);
    connect(ToolBar, &QToolBar::visibilityChanged, viewToolbar, &QAction::setChecked);
    Action(CommandViewStatusBar)->setCheckable(true);
    Action(CommandViewStatusBar)->setChecked(true);
}

void CMainFrame::RunCommand(int command)
{
    QAction* action = Action(command);
    if (action && !action->isEnabled())
        return;
    if (CEditorCommands::Handles(command)) {
        EditorCommands->Run(command);
        UpdateCommands();
        return;
    }
    switch (command) {
    case CommandExit:
        close();
        break;
    case CommandCut:
    case CommandCopy:
    case CommandPaste:
    case CommandUndo:
        RunClipboardCommand(command);
        break;
    case CommandNewConnection:
        OnNewConnection();
        break;
    case CommandDeleteConnection:
        OnDeleteConnection();
        break;
    case CommandConnectionProperties:
        OnConnectionProperties();
        break;
    case CommandConnect:
        OnConnect();
        break;
    case CommandDisconnect:
        OnDisconnect();
        break;
    case CommandExecute:
        OnExecute();
        break;
    case CommandStop:
        OnStop();
        break;
    case CommandFetchAll:
        if (CConnection* profile = CurrentProfile())
            FetchAllRows(*profile);
        break;
    case CommandRowLimit1000:
    case CommandRowLimit10000:
    case CommandRowLimit100000:
    case CommandRowLimitNone:
        SetRowLimit(command);
        break;
    case CommandExportResult:
        OnExportResult();
        break;
    case CommandViewToolbar:
        ToolBar->setVisible(action->isChecked());
        break;
    case CommandViewStatusBar:
        statusBar()->setVisible(action->isChecked());
        break;
    case CommandAbout:
        CTablescopeApp::RunAboutBox(this);
        break;
    case CommandHelp:
    case CommandContextHelp:
        ShowHelpPage(this);
        break;
    case CommandNextPane:
        MoveFocusToPane(1);
        break;
    case CommandPreviousPane:
        MoveFocusToPane(-1);
        break;
    }
    UpdateCommands();
}

void CMainFrame::RunConnectionCommand(int command)
{
    if (QAction* action = Action(command))
        action->trigger(); // nothing happens while it is disabled
}

void CMainFrame::RunClipboardCommand(int command)
{
    CConnectionWnd* window = CurrentWindow();
    if (!window || !window->Editor)
        return;
    switch (command) {
    case CommandCut:
        window->Editor->cut();
        break;
    case CommandCopy:
        // The grid copies its selection when it has the focus.
        if (window->ResultList && window->ResultList->hasFocus())
            window->ResultList->CopySelection(false);
        else
            window->Editor->copy();
        break;
    case CommandPaste:
        window->Editor->paste();
        break;
    case CommandUndo:
        window->Editor->undo();
        break;
    case CommandRedo:
        window->Editor->redo();
        break;
    }
}

CCommandState CMainFrame::CommandState() const
{
    CCommandState state;
    state.HasCurrentItem = Connections->GetCurrentConnection() >= 0;
    const CConnectionWnd* window = CurrentWindow();
    state.HasWindow = window != nullptr;
    if (window && window->Editor) {
        state.CanPaste = window->Editor->canPaste();
        state.CanUndo = window->Editor->document()->isUndoAvailable();
        state.CanRedo = window->Editor->document()->isRedoAvailable();
    }
    state.Busy = IsBusy(CurrentProfile());
    state.HasMoreRows = window && window->HasMoreRows();
    state.ShowsRows = window && window->ShowsRows();
    return state;
}

void CMainFrame::UpdateCommands()
{
    if (Destroying_)
        return;
    const CCommandState state = CommandState();
    for (auto it = Actions_.cbegin(); it != Actions_.cend(); ++it)
        it.value()->setEnabled(IsCommandEnabled(it.key(), state));
    const CConnection* profile = CurrentProfile();
    for (const auto& [command, limit] : RowLimitCommands)
        Action(command)->setChecked(profile && profile->RowLimit == limit);
    StartHint->setVisible(Connections->GetConnectionCount() == 0);
}

void CMainFrame::SetRowLimit(int command)
{
    CConnection* profile = CurrentProfile();
    if (!profile)
        return;
    for (const auto& [id, limit] : RowLimitCommands)
        if (id == command)
            profile->RowLimit = limit;
    if (profile->Window)
        profile->Window->RowLimit = profile->RowLimit;
}

void CMainFrame::OnExportResult()
{
    CConnection* profile = CurrentProfile();
    CConnectionWnd* window = CurrentWindow();
    if (!profile || !window || !profile->Thread || !window->ShowsRows())
        return;
    QString file;
    CExportOptions options;
    if (!AskExportFile(this, file, options))
        return;
    window->ExportResult(*profile->Thread, file, options);
}

void CMainFrame::OnExecute()
{
    if (CConnection* profile = CurrentProfile())
        ExecuteQuery(*profile);
}

void CMainFrame::MoveFocusToPane(int step)
{
    QList<QWidget*> panes{Connections, TableTree};
    if (CConnectionWnd* window = CurrentWindow(); window && window->isVisible()) {
        panes.append(window->Editor);
        panes.append(window->ResultList);
    }
    panes.removeAll(nullptr);
    int at = -1;
    for (int i = 0; i < panes.size(); ++i)
        if (QWidget* focus = QApplication::focusWidget();
            focus && (focus == panes.at(i) || panes.at(i)->isAncestorOf(focus)))
            at = i;
    const int next = at < 0 ? 0 : (at + step + int(panes.size())) % int(panes.size());
    panes.at(next)->setFocus(Qt::ShortcutFocusReason);
}
