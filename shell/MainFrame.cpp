#include "shell/MainFrame.h"

#include "database/DatabaseThread.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/PasswordStore.h"
#include "resources/MainMenu.h"
#include "shell/EditorCommands.h"
#include "shell/FileDropTarget.h"
#include "shell/LockKeys.h"
#include "shell/OpenConnection.h"
#include "shell/StartHint.h"
#include "shell/TableTree.h"
#include "shell/WindowLayout.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/MessageBox.h"
#include "workspace/Substrate.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

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

bool CMainFrame::RestoreLayout()
{
    const bool restored = CWindowLayout::Restore(*this, {OuterSplitter, InnerSplitter});
    // Neither bar has been shown yet, so neither has told its command.
    Action(CommandViewToolbar)->setChecked(!ToolBar->isHidden());
    Action(CommandViewStatusBar)->setChecked(!statusBar()->isHidden());
    return restored;
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
