#include "shell/EditorCommands.h"

#include "profiles/Connection.h"
#include "resources/MainMenu.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/DraftStore.h"
#include "workspace/EditorDocument.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/FileDialog.h"
#include "workspace/FindBar.h"
#include "workspace/MessageBox.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTextBlock>

CEditorCommands::CEditorCommands(QMainWindow& frame, std::function<CConnection*()> currentProfile,
                                 std::function<QAction*(int)> action)
    : QObject(&frame), Frame_(frame), CurrentProfile_(std::move(currentProfile)),
      Action_(std::move(action))
{
}

bool CEditorCommands::Handles(int command)
{
    switch (command) {
    case CommandOpenFile:
    case CommandSaveFile:
    case CommandSaveFileAs:
    case CommandFind:
    case CommandFindNext:
    case CommandFindPrevious:
    case CommandReplace:
    case CommandGoToLine:
    case CommandToggleComment:
    case CommandLineNumbers:
    case CommandExecuteCurrent:
    case CommandRedo:
        return true;
    default:
        return command >= CommandRecentFile1 &&
               command < CommandRecentFile1 + CDraftStore::RecentFileCount;
    }
}

void CEditorCommands::SetUp()
{
    CaptionBase_ = Frame_.windowTitle();
    Position = new QLabel(&Frame_);
    Position->setObjectName(QStringLiteral("caret-position"));
    Position->setAlignment(Qt::AlignCenter);
    // Room for "Ln 99999, Col 999", so that the bar does not move while typing.
    Position->setMinimumWidth(
        Position->fontMetrics().horizontalAdvance(QStringLiteral("Ln 99999, Col 999")) + 12);
    Frame_.statusBar()->insertPermanentWidget(0, Position);
    if (QAction* lineNumbers = Action_(CommandLineNumbers)) {
        lineNumbers->setCheckable(true);
        lineNumbers->setChecked(LineNumbersShown_);
    }
    UpdateRecentFiles();
    ShowCurrent();
}

CConnectionWnd* CEditorCommands::CurrentWindow() const
{
    const CConnection* profile = CurrentProfile_();
    return profile ? profile->Window : nullptr;
}

void CEditorCommands::Run(int command)
{
    CConnectionWnd* window = CurrentWindow();
    if (command == CommandLineNumbers) {
        LineNumbersShown_ = Action_(command)->isChecked();
        for (CConnectionWnd* each : Frame_.findChildren<CConnectionWnd*>())
            if (each->Editor)
                each->Editor->SetLineNumbersShown(LineNumbersShown_);
        return;
    }
    if (!window || !window->Editor || !window->Document)
        return;
    CSyntaxRichEditCtrl& editor = *window->Editor;
    switch (command) {
    case CommandOpenFile:
        window->Document->OpenAsked();
        break;
    case CommandSaveFile:
        window->Document->Save();
        break;
    case CommandSaveFileAs:
        window->Document->SaveAs();
        break;
    case CommandFind:
    case CommandReplace:
        window->FindBar->ShowFind(command == CommandReplace);
        break;
    case CommandFindNext:
    case CommandFindPrevious:
        if (window->FindBar->isHidden() && window->FindBar->FindText->text().isEmpty())
            window->FindBar->ShowFind(false);
        else
            window->FindBar->FindNext(command == CommandFindPrevious);
        break;
    case CommandGoToLine:
        if (const int line =
                AskLineNumber(window, editor.textCursor().blockNumber() + 1, editor.blockCount());
            line > 0)
            editor.GoToLine(line);
        editor.setFocus();
        break;
    case CommandToggleComment:
        editor.ToggleLineComments();
        break;
    case CommandRedo:
        editor.redo();
        break;
    case CommandExecuteCurrent:
        if (CConnection* profile = CurrentProfile_())
            ExecuteCurrentStatement(*profile);
        break;
    default:
        OpenRecent(command - CommandRecentFile1);
        break;
    }
    UpdateRecentFiles();
}

void CEditorCommands::OpenRecent(int index)
{
    const QStringList files = CDraftStore::RecentFiles();
    if (index < 0 || index >= files.size())
        return;
    const QString path = files.at(index);
    if (!QFileInfo(path).isFile()) {
        ShowMessageBox(&Frame_,
                       QStringLiteral("\"%1\" is not there any more; it leaves the list of "
                                      "recent files.")
                           .arg(QDir::toNativeSeparators(path)),
                       QMessageBox::Ok, QMessageBox::Warning);
        CDraftStore::RemoveRecentFile(path);
        return;
    }
    if (CConnectionWnd* window = CurrentWindow())
        window->Document->Open(path);
}

void CEditorCommands::UpdateRecentFiles()
{
    const QStringList files = CDraftStore::RecentFiles();
    for (int i = 0; i < CDraftStore::RecentFileCount; ++i) {
        QAction* action = Action_(CommandRecentFile1 + i);
        if (!action)
            continue;
        action->setVisible(i < files.size());
        if (i < files.size()) {
            // "&1 name.sql  (folder)": an ampersand in a name is no mnemonic.
            QString name = QFileInfo(files.at(i)).fileName();
            name.replace(u'&', QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
            action->setStatusTip(QDir::toNativeSeparators(files.at(i)));
        }
    }
}

void CEditorCommands::AttachWindow(CConnectionWnd& window, const CConnection& profile)
{
    if (!window.Editor || !window.Document)
        return;
    window.Editor->SetLineNumbersShown(LineNumbersShown_);
    window.Document->Restore(profile.Name);
    connect(window.Document, &CEditorDocument::TitleChanged, this, [this] {
        UpdateCaption();
        UpdateRecentFiles();
    });
    connect(window.Editor, &QPlainTextEdit::cursorPositionChanged, this,
            &CEditorCommands::UpdatePosition);
    connect(window.Editor, &QPlainTextEdit::redoAvailable, this, &CEditorCommands::Changed);
    if (!PendingFile_.isEmpty())
        window.Document->Open(std::exchange(PendingFile_, QString()));
    ShowCurrent();
}

void CEditorCommands::ShowCurrent()
{
    UpdateCaption();
    UpdatePosition();
}

void CEditorCommands::UpdateCaption()
{
    const CConnectionWnd* window = CurrentWindow();
    const QString title = window && window->Document ? window->Document->Title() : QString();
    Frame_.setWindowTitle(title.isEmpty() ? CaptionBase_
                                          : CaptionBase_ + QStringLiteral(" - ") + title);
}

void CEditorCommands::UpdatePosition()
{
    if (!Position)
        return;
    const CConnectionWnd* window = CurrentWindow();
    if (!window || !window->Editor) {
        Position->clear();
        return;
    }
    const QTextCursor cursor = window->Editor->textCursor();
    Position->setText(QStringLiteral("Ln %1, Col %2")
                          .arg(cursor.blockNumber() + 1)
                          .arg(cursor.positionInBlock() + 1));
}

bool CEditorCommands::MayClose(CConnectionWnd& window)
{
    return !window.Document || window.Document->MayClose();
}

void CEditorCommands::OpenFile(const QString& path)
{
    if (CConnectionWnd* window = CurrentWindow())
        window->Document->Open(path);
    else
        PendingFile_ = path;
}

void CEditorCommands::ProfileGone(const QString& name)
{
    CDraftStore::Remove(name);
}

void CEditorCommands::ProfileRenamed(const QString& oldName, const CConnection& profile)
{
    CDraft draft;
    QString error;
    if (CDraftStore::Read(oldName, draft) && CDraftStore::Write(profile.Name, draft, error))
        CDraftStore::Remove(oldName);
    if (profile.Window && profile.Window->Document)
        profile.Window->Document->SetProfileName(profile.Name);
}
