#include "shell/MainFrame.h"

#include "common/SvgPicture.h"
#include "database/DatabaseThread.h"
#include "profiles/ConnectionDlg.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/LoginDlg.h"
#include "profiles/PasswordStore.h"
#include "resources/MainMenu.h"
#include "shell/ConnectionTest.h"
#include "shell/EditorCommands.h"
#include "shell/FileDropTarget.h"
#include "shell/HelpPage.h"
#include "shell/LockKeys.h"
#include "shell/OpenConnection.h"
#include "shell/StartHint.h"
#include "shell/TableTree.h"
#include "shell/TablescopeApp.h"
#include "shell/WindowLayout.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/EditorDocument.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/ExportDialog.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultGrid.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

const QString PropertiesQuestion = QStringLiteral(
    "Database connection properties has changed. To you wish to closer the connectiopn that was "
    "made with the old connection properties?\r\n\r\nAnswering \"No\" will mean that all changes "
    "you've recently made to the connection properties will be lost");

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

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    Q_INIT_RESOURCE(shell);
    setWindowTitle(QString::fromUtf8(MainWindowCaption));
    BuildLayout();
    BuildCommands();
    BuildFirstSteps();

    Connections->SetFrame(this);
    QString error;
    if (!LoadConnections(*Connections, error))
        ShowMessageBox(this, error, QMessageBox::Ok, QMessageBox::Warning);
    // The toolbar and the status bar stand even when the profiles could not
    // be loaded: the window is no less usable without them.
    BuildStatusBar();
    EditorCommands = new CEditorCommands(
        *this, [this] { return CurrentProfile(); }, [this](int id) { return Action(id); });
    EditorCommands->SetUp();
    connect(EditorCommands, &CEditorCommands::Changed, this, &CMainFrame::UpdateCommands);

    // Where remembered passwords went, when no keyring could take them.
    const auto showPasswordNotice = [this] {
        const QString notice = CPasswordStore::Instance().TakeNotice();
        if (!notice.isEmpty())
            statusBar()->showMessage(notice);
    };
    connect(&CPasswordStore::Instance(), &CPasswordStore::NoticeGiven, this, showPasswordNotice);
    showPasswordNotice();

    connect(Connections->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CMainFrame::UpdateCommands);
    connect(Connections->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMainFrame::UpdateCommands);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
}

CMainFrame::~CMainFrame()
{
    Shutdown();
    // The children about to go still send signals; nothing here answers them.
    Destroying_ = true;
    Connections->SetFrame(nullptr);
    // The connections list clears its selection as it goes, after this part
    // of the object has gone: its signals must not reach a slot of it.
    disconnect(Connections->selectionModel(), nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
}

void CMainFrame::BuildLayout()
{
    OuterSplitter = new QSplitter(Qt::Horizontal, this);
    InnerSplitter = new QSplitter(Qt::Vertical, OuterSplitter);
    Workspace = new CSubstrate(OuterSplitter);
    Connections = new CConnectionsWnd(InnerSplitter);
    TableTree = new CTableTree(InnerSplitter);
    TableTree->ShownProfile = [this] { return CurrentProfile(); };

    OuterSplitter->setStretchFactor(0, 0);
    OuterSplitter->setStretchFactor(1, 1);
    OuterSplitter->setSizes({LeftColumnWidth, 10000});
    InnerSplitter->setStretchFactor(0, 0);
    InnerSplitter->setStretchFactor(1, 1);
    InnerSplitter->setSizes({ConnectionsHeight, 10000});
    setCentralWidget(OuterSplitter);
}

void CMainFrame::BuildFirstSteps()
{
    StartHint = new CStartHint(Workspace);
    auto* centre = new QGridLayout(Workspace); // the connection windows stay outside it
    centre->addWidget(StartHint, 0, 0, Qt::AlignCenter);
    connect(StartHint, &CStartHint::NewConnectionRequested, this,
            [this] { RunCommand(CommandNewConnection); });
    connect(StartHint, &CStartHint::FileChosen, this, &CMainFrame::OpenDatabaseFile);
    auto* drops = new CFileDropTarget(this);
    connect(drops, &CFileDropTarget::FilesDropped, this, [this](const QStringList& files) {
        for (const QString& file : files)
            OpenDatabaseFile(file);
    });
}

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

void CMainFrame::BuildStatusBar()
{
    for (const char* name : StatusIndicators) {
        auto* indicator = new QLabel(this);
        indicator->setObjectName(QString::fromLatin1(name));
        indicator->setAlignment(Qt::AlignCenter);
        // As wide as its text, so that the bar does not move when it shows.
        indicator->setMinimumWidth(
            indicator->fontMetrics().horizontalAdvance(QString::fromLatin1(name)) + 12);
        statusBar()->addPermanentWidget(indicator);
        Indicators_.append(indicator);
    }
    statusBar()->showMessage(QString());
    ProgressTimer_ = new QTimer(this);
    ProgressTimer_->setInterval(250);
    connect(ProgressTimer_, &QTimer::timeout, this, &CMainFrame::ShowProgress);
    // Each indicator shows its name while its lock key is on, where the
    // desktop tells the keys' state; elsewhere they stay blank.
    auto* lockKeys = new CLockKeys(this);
    connect(lockKeys, &CLockKeys::Changed, this, [this](CLockKeys::CState state) {
        const bool on[] = {state.Caps, state.Num, state.Scroll};
        for (qsizetype i = 0; i < Indicators_.size() && i < qsizetype(std::size(on)); ++i)
            Indicators_.at(i)->setText(on[i] ? QString::fromLatin1(StatusIndicators[i])
                                             : QString());
    });
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

CConnection* CMainFrame::CurrentProfile() const
{
    return Connections->GetConnection(Connections->GetCurrentConnection());
}

CConnectionWnd* CMainFrame::CurrentWindow() const
{
    const CConnection* profile = CurrentProfile();
    return profile ? profile->Window : nullptr;
}

bool CMainFrame::IsBusy(const CConnection* profile) const
{
    return profile &&
           (Attempts_.contains(profile) || (profile->Window && profile->Window->IsBusy()));
}

const CConnection* CMainFrame::FirstBusyProfile() const
{
    for (int i = 0; i < Connections->GetConnectionCount(); ++i)
        if (IsBusy(Connections->GetConnection(i)))
            return Connections->GetConnection(i);
    return nullptr;
}

int CMainFrame::IndexOf(const CConnection* profile) const
{
    for (int i = 0; i < Connections->GetConnectionCount(); ++i)
        if (Connections->GetConnection(i) == profile)
            return i;
    return -1;
}

void CMainFrame::ShowConnection(int item)
{
    TableTree->ShowTables(nullptr);
    const int index = item == -1 ? Connections->GetCurrentConnection() : item;
    const CConnection* shown = Connections->GetConnection(index);
    if (!shown) {
        if (EditorCommands)
            EditorCommands->ShowCurrent();
        UpdateCommands();
        return;
    }
    TableTree->ShowTables(shown);

    for (int i = 0; i < Connections->GetConnectionCount(); ++i) {
        const CConnection* profile = Connections->GetConnection(i);
        if (profile->Window && profile != shown)
            profile->Window->hide();
    }
    if (shown->Window)
        shown->Window->show();
    if (EditorCommands)
        EditorCommands->ShowCurrent();
    UpdateCommands();
}

void CMainFrame::ShowConnectionWindow(int item)
{
    ShowConnection(item);
    if (const CConnection* profile = Connections->GetConnection(item);
        profile && profile->Window && profile->Window->Editor)
        profile->Window->Editor->setFocus(Qt::OtherFocusReason);
}

bool CMainFrame::CreateConnectionWindow(CConnection& profile)
{
    auto* window = new CConnectionWnd;
    window->Database = profile.Database.get();
    window->ClipboardHandler = this;
    const bool created = window->Create(Workspace, Workspace->rect());
    profile.Window = window;
    window->ConnectionName = profile.Name;
    window->RowLimit = profile.RowLimit;
    connect(window, &CConnectionWnd::FetchAllRequested, this,
            [this] { RunCommand(CommandFetchAll); });
    connect(window, &CConnectionWnd::BusyChanged, this, [this](bool busy) {
        UpdateCommands();
        if (busy)
            ShowProgress();
    });
    connect(window, &CConnectionWnd::RunFinished, this, [this, window](const QString& outcome) {
        if (window == CurrentWindow())
            statusBar()->showMessage(outcome);
    });
    if (window->Editor) {
        connect(window->Editor, &QPlainTextEdit::undoAvailable, this, &CMainFrame::UpdateCommands);
        connect(window->Editor, &QPlainTextEdit::copyAvailable, this, &CMainFrame::UpdateCommands);
        window->Editor->setFocus();
    }
    EditorCommands->AttachWindow(*window, profile);
    return created;
}

void CMainFrame::OnConnect()
{
    const int index = Connections->GetCurrentConnection();
    CConnection* profile = Connections->GetConnection(index);
    if (!profile) {
        ShowMessageBox(this, QStringLiteral("Please select a connection to connect"));
        return;
    }
    if (profile->Database || Attempts_.contains(profile))
        return;
    if (!profile->RememberAuth && profile->Type != DatabaseTypeSQLite) {
        CLoginDlg login(this);
        login.UserName = profile->Login;
        login.UserPassword = profile->Password;
        if (login.exec() != QDialog::Accepted)
            return;
        profile->Login = login.UserName;
        profile->Password = login.UserPassword;
    }
    profile->Thread = CDatabaseThread::Start("connection");
    // The attempt is known to its callback by its address alone: a later
    // attempt of the same profile is another one.
    auto self = std::make_shared<const CConnectionAttempt*>(nullptr);
    const std::shared_ptr<CConnectionAttempt> attempt = CConnectionAttempt::Start(
        *profile, *profile->Thread, this, [this, profile, self] { OnConnected(profile, *self); });
    *self = attempt.get();
    Attempts_.insert(profile, attempt);
    AttemptTimes_[profile].start();
    Connections->SetConnectionText(index, profile->Name + QStringLiteral(" (connecting...)"));
    ShowProgress();
    UpdateCommands();
}

void CMainFrame::OnConnected(CConnection* profile, const CConnectionAttempt* attempt)
{
    const std::shared_ptr<CConnectionAttempt> ended = Attempts_.value(profile);
    if (!ended || ended.get() != attempt)
        return; // abandoned
    Attempts_.remove(profile);
    const qint64 took = AttemptTimes_.take(profile).elapsed();
    const int index = IndexOf(profile);
    Connections->SetConnectionText(index, profile->Name);
    QString error;
    if (!ended->Take(*profile, error)) {
        profile->Thread.reset();
        statusBar()->showMessage(QString());
        UpdateCommands();
        ShowMessageBox(this, error, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Connected to \"%1\" in %2 s")
                                 .arg(profile->Name, QString::number(double(took) / 1000, 'f', 2)));
    Connections->SetConnectionImage(index, 0);
    ShowConnection(index);
    if (!CreateConnectionWindow(*profile))
        ShowMessageBox(
            this, QStringLiteral("Internal program error: the SQL query window was not created"),
            QMessageBox::Ok, QMessageBox::Critical);
    UpdateCommands();
}

void CMainFrame::OnStop()
{
    CConnection* profile = CurrentProfile();
    if (!profile)
        return;
    if (const std::shared_ptr<CConnectionAttempt> attempt = Attempts_.take(profile)) {
        attempt->Abandon(*profile->Thread);
        profile->Thread.reset();
        const qint64 took = AttemptTimes_.take(profile).elapsed();
        Connections->SetConnectionText(IndexOf(profile), profile->Name);
        statusBar()->showMessage(
            QStringLiteral("Connecting to \"%1\" was stopped after %2 s")
                .arg(profile->Name, QString::number(double(took) / 1000, 'f', 1)));
    } else if (profile->Window) {
        profile->Window->Stop();
        ShowProgress();
    }
    UpdateCommands();
}

void CMainFrame::ShowProgress()
{
    const CConnection* profile = CurrentProfile();
    QString text;
    if (profile && Attempts_.contains(profile))
        text = QStringLiteral("Connecting to \"%1\"... %2 s")
                   .arg(profile->Name,
                        QString::number(double(AttemptTimes_.value(profile).elapsed()) / 1000, 'f',
                                        1));
    else if (profile && profile->Window && profile->Window->IsBusy())
        text = profile->Window->ProgressText();
    if (!text.isEmpty())
        statusBar()->showMessage(text);
    const bool anyBusy = FirstBusyProfile() != nullptr;
    if (anyBusy && !ProgressTimer_->isActive())
        ProgressTimer_->start();
    else if (!anyBusy)
        ProgressTimer_->stop();
}

void CMainFrame::OnDisconnect()
{
    const int index = Connections->GetCurrentConnection();
    if (index < 0) {
        ShowMessageBox(this, QStringLiteral("Please select a connection to disconnect"));
        return;
    }
    CloseConnection(index);
}

bool CMainFrame::CloseConnection(int item)
{
    CConnection* profile = Connections->GetConnection(item);
    if (!profile || !profile->Database)
        return true;
    if (IsBusy(profile))
        return false;
    // A file with unsaved changes is asked about first; Cancel keeps it open.
    if (profile->Window && !EditorCommands->MayClose(*profile->Window))
        return false;
    CloseConnectionNow(item);
    return true;
}

void CMainFrame::CloseConnectionNow(int item)
{
    CConnection* profile = Connections->GetConnection(item);
    // A run still on the thread ends before the database closes there, and
    // what it sends back finds its window gone.
    profile->CloseDatabase();
    if (CConnectionWnd* window = profile->Window) {
        if (window->Document)
            window->Document->WriteDraft();
        window->Database = nullptr;
        profile->Window = nullptr;
        delete window;
    }
    Connections->SetConnectionImage(item, -1);
    ShowConnection(item);
    update();
}

void CMainFrame::OnNewConnection()
{
    CConnectionDlg dialog(this);
    dialog.SetTester(new CConnectionTest);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Connections->SelectConnection(Connections->AddConnection(dialog.Connection));
}

void CMainFrame::OnDeleteConnection()
{
    const int index = Connections->GetCurrentConnection();
    if (index < 0) {
        ShowMessageBox(this, QStringLiteral("Please select a connection to delete"));
        return;
    }
    if (ShowMessageBox(
            this, QStringLiteral("Do you really want to delete the selected connection?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) != QMessageBox::Yes)
        return;
    if (!CloseConnection(index))
        return;
    EditorCommands->ProfileGone(Connections->GetConnection(index)->Name);
    Connections->DeleteConnection(index);
    const int lastIndex = Connections->GetConnectionCount() - 1;
    Connections->SelectConnection(index >= lastIndex ? lastIndex : index);
}

void CMainFrame::OnConnectionProperties()
{
    const int index = Connections->GetCurrentConnection();
    CConnection* profile = Connections->GetConnection(index);
    if (!profile) {
        ShowMessageBox(this, QStringLiteral("Please select a connection to edit"));
        return;
    }
    CConnectionDlg dialog(this);
    dialog.SetTester(new CConnectionTest);
    dialog.Connection = *profile;
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool closed = false;
    if (profile->Database && !CConnection::SameConnectionSettings(*profile, dialog.Connection)) {
        if (ShowMessageBox(this, PropertiesQuestion, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Question) != QMessageBox::Yes)
            return;
        if (!CloseConnection(index))
            return;
        closed = true;
    }
    const QString oldName = profile->Name;
    *profile = dialog.Connection;
    if (profile->Name != oldName)
        EditorCommands->ProfileRenamed(oldName, *profile);
    if (closed) // the closed connection's tables are not carried back
        profile->Tables.clear();
    Connections->SetConnectionText(index, profile->Name);
}

namespace {

// Why file cannot be opened as an SQLite database, or empty when it can. An
// empty file is an empty database to SQLite.
QString NotAnSQLiteDatabase(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return QStringLiteral("Cannot open \"%1\": there is no such file").arg(file);
    QFile database(file);
    if (info.isDir() || !database.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot open \"%1\": the file cannot be read").arg(file);
    const QByteArray header = database.read(16);
    if (info.size() != 0 && header != QByteArray("SQLite format 3", 16))
        return QStringLiteral("Cannot open \"%1\": the file is not an SQLite database").arg(file);
    return {};
}

} // namespace

void CMainFrame::OpenDatabaseFile(const QString& file)
{
    const QString why = NotAnSQLiteDatabase(file);
    if (!why.isEmpty()) {
        ShowMessageBox(this, why, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    const QString canonical = QFileInfo(file).canonicalFilePath();
    int index = -1;
    for (int i = 0; i < Connections->GetConnectionCount() && index < 0; ++i) {
        const CConnection* profile = Connections->GetConnection(i);
        if (profile->Type == DatabaseTypeSQLite && !profile->Path.isEmpty() &&
            QFileInfo(profile->Path).canonicalFilePath() == canonical)
            index = i;
    }
    if (index < 0) {
        CConnection profile;
        profile.Name = QFileInfo(canonical).fileName();
        profile.Type = DatabaseTypeSQLite;
        profile.Path = canonical;
        index = Connections->AddConnection(profile);
    }
    Connections->SelectConnection(index);
    RunConnectionCommand(CommandConnect);
}

bool CMainFrame::RestoreLayout()
{
    const bool restored = CWindowLayout::Restore(*this, {OuterSplitter, InnerSplitter});
    // Neither bar has been shown yet, so neither has told its command.
    Action(CommandViewToolbar)->setChecked(!ToolBar->isHidden());
    Action(CommandViewStatusBar)->setChecked(!statusBar()->isHidden());
    return restored;
}

void CMainFrame::OpenSqlFile(const QString& file)
{
    EditorCommands->OpenFile(file);
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

void CMainFrame::closeEvent(QCloseEvent* event)
{
    for (int i = 0; i < Connections->GetConnectionCount(); ++i) {
        if (CConnectionWnd* window = Connections->GetConnection(i)->Window;
            window && !EditorCommands->MayClose(*window)) {
            event->ignore();
            return;
        }
    }
    if (const CConnection* busy = FirstBusyProfile()) {
        const QString question =
            QStringLiteral("A statement is still running on \"%1\". Stop it and quit?")
                .arg(busy->Name);
        if (ShowMessageBox(this, question, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Question) != QMessageBox::Yes) {
            event->ignore();
            return;
        }
        StopEverything(QuitWaitMilliseconds);
    }
    CWindowLayout::Save(*this, {OuterSplitter, InnerSplitter});
    Shutdown();
    QMainWindow::closeEvent(event);
}

bool CMainFrame::StopEverything(int milliseconds)
{
    for (int i = 0; i < Connections->GetConnectionCount(); ++i) {
        CConnection* profile = Connections->GetConnection(i);
        if (const std::shared_ptr<CConnectionAttempt> attempt = Attempts_.take(profile)) {
            attempt->Abandon(*profile->Thread);
            profile->Thread.reset();
            AttemptTimes_.remove(profile);
            Connections->SetConnectionText(i, profile->Name);
        } else if (profile->Window) {
            profile->Window->Stop();
        }
    }
    QElapsedTimer waited;
    waited.start();
    while (FirstBusyProfile() && waited.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return FirstBusyProfile() == nullptr;
}

void CMainFrame::Shutdown()
{
    if (ShutDown_)
        return;
    ShutDown_ = true;
    QString error;
    if (!SaveConnections(*Connections, error))
        ShowMessageBox(this, error, QMessageBox::Ok, QMessageBox::Warning);
    // Whatever still runs is stopped, not waited for: its connection closes
    // on its thread once the run has ended.
    StopEverything(0);
    for (int i = 0; i < Connections->GetConnectionCount(); ++i)
        if (Connections->GetConnection(i)->Database)
            CloseConnectionNow(i);
    // Each connection closes on its own thread; let them finish, but never
    // hang on a server that does not answer.
    CDatabaseThread::WaitForEndedThreads(QuitWaitMilliseconds);
}
