#pragma once

// What a connection window's editor holds, kept safe: the SQL file it shows
// (if any), whether the text differs from that file, and the profile's
// draft on disk. The draft is written a little after the first change that
// is not yet in it, so that a crash or a kill loses at most DraftDelay of
// typing; it is written at once when the window closes, and read back when
// the profile's window opens again.
//
// A draft never replaces a file: saving is the user's command alone, and it
// asks before replacing a file that changed on disk since it was read or
// saved here (the user saved it elsewhere).

#include "workspace/SqlFile.h"

#include <QObject>
#include <QString>

class CSyntaxRichEditCtrl;
class QTimer;
class QWidget;

class CEditorDocument : public QObject
{
    Q_OBJECT

public:
    static constexpr int DraftDelay = 2000; // milliseconds

    CEditorDocument(CSyntaxRichEditCtrl& editor, QWidget& window);
    ~CEditorDocument() override;

    // Takes profileName's draft, if there is one, into the editor; the draft
    // is kept under that name from now on.
    void Restore(const QString& profileName);
    // The profile was renamed: its draft is kept under name from now on.
    void SetProfileName(const QString& name) { ProfileName_ = name; }
    // Writes the draft now, if it is behind the editor.
    void WriteDraft();

    // The commands. Each asks first where its answer is needed, shows its
    // failures, and returns whether it did what was asked.
    bool Open(const QString& path);
    bool OpenAsked();
    bool Save();
    bool SaveAs();
    // Before the window closes: asks Save, Discard or Cancel when the text
    // differs from its file. False when the user cancels or saving fails.
    bool MayClose();

    QString FilePath() const { return HasFile_ ? Path_ : QString(); }
    bool IsModified() const;
    // "name.sql" for a file ("*" after it while modified), empty without one.
    QString Title() const;

signals:
    // The file or its modified state changed.
    void TitleChanged();

private:
    // Asks whether to save changes before they would be dropped; true when
    // the caller may go on.
    bool MaySaveChanges(bool untitledToo);
    bool WriteTo(const QString& path);
    void SetText(const QString& text, bool modified);
    void OnContentsChange(int position, int removed, int added);

    CSyntaxRichEditCtrl& Editor_;
    QWidget& Window_;
    QString ProfileName_; // whose draft this is; empty before Restore
    QString Path_;        // the file's path
    CSqlFile File_;       // its form and stamp; File_.Text is not kept up to date
    bool HasFile_ = false;
    QTimer* DraftTimer_ = nullptr;
    bool DraftBehind_ = false;
};
