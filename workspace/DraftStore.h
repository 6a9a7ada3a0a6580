#pragma once

// Where the program keeps what the user typed, so that no quit, crash or
// kill loses it: one draft per connection profile (by its name), holding the
// editor's text and the SQL file it belongs to, and the list of recently
// used SQL files. Everything lives in $XDG_CONFIG_HOME/Brevan/Drafts (the
// folder of the profile store), mode 0700, each file mode 0600 and replaced
// atomically. A draft is only ever read back into an editor: it is never
// written over an SQL file.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct CDraft
{
    QString Text;
    QString FilePath;      // the SQL file the text belongs to; empty for none
    bool Modified = false; // the text differs from that file as it was saved
    QByteArray Stamp;      // the file's digest when it was last read or saved
    bool Crlf = false;     // the file's form, for saving it again
    bool Bom = false;
};

class CDraftStore
{
public:
    // How many recently used files the list keeps.
    static constexpr int RecentFileCount = 4;

    // The folder of the drafts and the recent files list.
    static QString Folder();
    // The file that holds profileName's draft.
    static QString DraftFileName(const QString& profileName);

    static bool Write(const QString& profileName, const CDraft& draft, QString& error);
    // False when there is no readable draft for profileName.
    static bool Read(const QString& profileName, CDraft& draft);
    static void Remove(const QString& profileName);

    // Most recent first; files that are gone stay until the user picks them.
    static QStringList RecentFiles();
    static void AddRecentFile(const QString& path);
    static void RemoveRecentFile(const QString& path);

private:
    static bool MakeFolder(QString& error);
    static bool WriteFile(const QString& fileName, const QByteArray& bytes, QString& error);
};
