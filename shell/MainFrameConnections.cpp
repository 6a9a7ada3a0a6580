// The main window's connections: connecting a profile on its own thread,
// showing a connection's tables and window, stopping and closing it.

#include "database/DatabaseThread.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/LoginDlg.h"
#include "resources/MainMenu.h"
#include "shell/EditorCommands.h"
#include "shell/MainFrame.h"
#include "shell/OpenConnection.h"
#include "shell/TableTree.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/EditorDocument.h"
#include "workspace/MessageBox.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QStatusBar>
#include <QTimer>

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
