#include "workspace/EditorDocument.h"

#include "workspace/DraftStore.h"
#include "workspace/FileDialog.h"
#include "workspace/MessageBox.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

CEditorDocument::CEditorDocument(CSyntaxRichEditCtrl& editor, QWidget& window)
    : QObject(&window), Editor_(editor), Window_(window)
{
    DraftTimer_ = new QTimer(this);
    DraftTimer_->setSingleShot(true);
    DraftTimer_->setInterval(DraftDelay);
    connect(DraftTimer_, &QTimer::timeout, this, &CEditorDocument::WriteDraft);
    connect(Editor_.document(), &QTextDocument::contentsChange, this,
            &CEditorDocument::OnContentsChange);
    connect(Editor_.document(), &QTextDocument::modificationChanged, this,
            &CEditorDocument::TitleChanged);
    connect(&Editor_, &CSyntaxRichEditCtrl::FileDropped, this,
            [this](const QString& path) { Open(path); });
}

CEditorDocument::~CEditorDocument() = default;

void CEditorDocument::OnContentsChange(int, int removed, int added)
{
    if (removed == 0 && added == 0)
        return; // colouring, not an edit
    DraftBehind_ = true;
    // Not restarted by later changes: steady typing is saved every DraftDelay.
    if (!DraftTimer_->isActive() && !ProfileName_.isEmpty())
        DraftTimer_->start();
}

bool CEditorDocument::IsModified() const
{
    return Editor_.document()->isModified();
}

QString CEditorDocument::Title() const
{
    if (!HasFile_)
        return {};
    return QFileInfo(Path_).fileName() + (IsModified() ? QStringLiteral("*") : QString());
}

void CEditorDocument::SetText(const QString& text, bool modified)
{
    Editor_.setPlainText(text); // a new text: the undo history starts again
    Editor_.document()->setModified(modified);
    emit TitleChanged();
}

void CEditorDocument::Restore(const QString& profileName)
{
    ProfileName_ = profileName;
    CDraft draft;
    if (!CDraftStore::Read(profileName, draft))
        return;
    File_ = CSqlFile();
    File_.Crlf = draft.Crlf;
    File_.Bom = draft.Bom;
    File_.Stamp = draft.Stamp;
    Path_ = draft.FilePath;
    HasFile_ = !Path_.isEmpty();
    QString error;
    if (HasFile_ && !draft.Modified && File_.Read(Path_, error)) {
        // Nothing of the user's own was pending: the file as it is now.
        SetText(File_.Text, false);
    } else {
        // The draft is the user's work: it wins over whatever the file holds.
        SetText(draft.Text, draft.Modified || (!HasFile_ && !draft.Text.isEmpty()));
    }
    File_.Text.clear();
    DraftBehind_ = false;
}

void CEditorDocument::WriteDraft()
{
    DraftTimer_->stop();
    if (ProfileName_.isEmpty() || !DraftBehind_)
        return;
    CDraft draft;
    draft.Text = Editor_.toPlainText();
    draft.FilePath = FilePath();
    draft.Modified = IsModified();
    draft.Stamp = File_.Stamp;
    draft.Crlf = File_.Crlf;
    draft.Bom = File_.Bom;
    QString error;
    if (draft.Text.isEmpty() && draft.FilePath.isEmpty()) {
        CDraftStore::Remove(ProfileName_);
        DraftBehind_ = false;
    } else if (CDraftStore::Write(ProfileName_, draft, error)) {
        DraftBehind_ = false;
    } else {
        // Kept behind: the next change or the window's close tries again.
        qWarning("The draft of \"%s\" could not be written: %s", qUtf8Printable(ProfileName_),
                 qUtf8Printable(error));
    }
}

bool CEditorDocument::MaySaveChanges(bool untitledToo)
{
    if (!IsModified() || (!HasFile_ && (!untitledToo || Editor_.document()->isEmpty())))
        return true;
    const QString question =
        HasFile_ ? QStringLiteral("\"%1\" has changes that are not saved. Save them?")
                       .arg(QFileInfo(Path_).fileName())
                 : QStringLiteral("The SQL text is not saved in a file. Save it?");
    switch (ShowMessageBox(&Window_, question,
                           QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                           QMessageBox::Question)) {
    case QMessageBox::Save:
        return Save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool CEditorDocument::MayClose()
{
    if (!MaySaveChanges(false))
        return false;
    if (HasFile_ && IsModified()) {
        // Discarded: next time the file opens as it is on disk.
        Editor_.document()->setModified(false);
        DraftBehind_ = true;
    }
    WriteDraft();
    return true;
}

bool CEditorDocument::Open(const QString& path)
{
    if (!MaySaveChanges(true))
        return false;
    CSqlFile file;
    QString error;
    if (!file.Read(path, error)) {
        ShowMessageBox(&Window_, error, QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    Path_ = QFileInfo(path).absoluteFilePath();
    HasFile_ = true;
    File_ = std::move(file);
    SetText(File_.Text, false);
    File_.Text.clear();
    CDraftStore::AddRecentFile(Path_);
    DraftBehind_ = true;
    WriteDraft();
    return true;
}

bool CEditorDocument::OpenAsked()
{
    const QString folder = HasFile_ ? QFileInfo(Path_).absolutePath() : QDir::homePath();
    const QString path = AskOpenSqlFile(&Window_, folder);
    return !path.isEmpty() && Open(path);
}

bool CEditorDocument::Save()
{
    if (!HasFile_)
        return SaveAs();
    // Someone saved the file since it was read or saved here: replacing it
    // would lose their work without a word.
    const QByteArray onDisk = CSqlFile::StampOf(Path_, File_.Stamp);
    if (!onDisk.isEmpty() && onDisk != File_.Stamp &&
        ShowMessageBox(&Window_,
                       QStringLiteral("\"%1\" was changed on disk after it was opened here. "
                                      "Replace it with the text of this window?")
                           .arg(QDir::toNativeSeparators(Path_)),
                       QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::Question) != QMessageBox::Yes)
        return false;
    return WriteTo(Path_);
}

bool CEditorDocument::SaveAs()
{
    const QString suggested =
        HasFile_ ? Path_ : QDir::homePath() + u'/' + ProfileName_ + QStringLiteral(".sql");
    const QString path = AskSaveSqlFile(&Window_, suggested);
    return !path.isEmpty() && WriteTo(path);
}

bool CEditorDocument::WriteTo(const QString& path)
{
    File_.Text = Editor_.toPlainText();
    QString error;
    const bool written = File_.Write(path, error);
    File_.Text.clear();
    if (!written) {
        ShowMessageBox(&Window_, error, QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    Path_ = QFileInfo(path).absoluteFilePath();
    HasFile_ = true;
    Editor_.document()->setModified(false);
    emit TitleChanged();
    CDraftStore::AddRecentFile(Path_);
    DraftBehind_ = true;
    WriteDraft();
    return true;
}
