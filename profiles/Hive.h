#pragma once

// The current user's registry on a platform that has none: a tree of keys
// with typed values (CHiveKey), kept in one file in the syntax of registry
// export files (HiveText.h). It offers the few registry calls that CRegistry
// makes. Paths are relative to the hive's root, with backslashes between the
// key names; the empty path names the root.
//
// The file is read on first use. Changes live in memory until a key is
// flushed, which writes the whole file in one atomic replacement, with mode
// 0600 in a folder of mode 0700; while a CBatch is open, flushing waits for
// the batch to commit. A file that exists but cannot be parsed is kept beside
// the new one under another name before it is first replaced. A file without
// its owner's write permission, one that cannot be read, or a folder that
// cannot be written makes the hive read-only: keys and values can be read,
// and creating keys, setting values and deleting keys fail.

#include "profiles/HiveKey.h"

#include <QString>
#include <QStringList>
#include <memory>

// An open key. It does not keep its key alive: the handle of a key that has
// been deleted, or of a hive whose changes were dropped, no longer works.
using CHiveHandle = std::weak_ptr<CHiveKey>;

class CHive
{
public:
    explicit CHive(QString fileName);
    // Writes changes that were never flushed, unless a batch dropped them.
    ~CHive();

    CHive(const CHive&) = delete;
    CHive& operator=(const CHive&) = delete;

    // The hive of the current user, kept in
    // $XDG_CONFIG_HOME/Brevan/Tablescope.reg (~/.config when unset). While
    // anyone holds it, every caller gets the same object; once nobody does,
    // the next caller gets a new one that reads the file afresh.
    static std::shared_ptr<CHive> CurrentUser();
    static QString CurrentUserFileName();

    const QString& FileName() const { return FileName_; }
    // Empty when the file was read or does not exist yet; otherwise the
    // message for the user: which file could not be read, where (the line)
    // and why, and what will become of it.
    QString LoadProblem();

    // Opens an existing key.
    bool OpenKey(const QString& path, CHiveHandle& key);
    // Opens a key, creating it and every missing key on its path.
    bool CreateKey(const QString& path, CHiveHandle& key);
    // Writes the file if anything changed since it was last written.
    bool FlushKey(const CHiveHandle& key);
    void CloseKey(CHiveHandle& key);
    bool QuerySubKeyCount(const CHiveHandle& key, quint32& count);
    // The name of the sub-key at index, in creation order; false when index
    // is past the end or the name and its terminating NUL need more than
    // capacity characters.
    bool EnumKey(const CHiveHandle& key, quint32 index, QString& name, quint32 capacity);
    // With data null: size receives the size of the value's data. Otherwise
    // copies the data when size is large enough (false otherwise) and sets
    // size to the data's size. type, when not null, receives the type.
    bool QueryValue(const CHiveHandle& key, const QString& name, quint32* type, char* data,
                    quint32& size);
    bool SetValue(const CHiveHandle& key, const QString& name, quint32 type,
                  const QByteArray& data);
    // Deletes a key that has no sub-keys.
    bool DeleteKey(const QString& path);

    // Holds back the writing of the file: changes reach it only through
    // Commit, all at once. A batch that ends without a successful Commit
    // drops every change made while it was open, and the hive reads the file
    // afresh when it is next used.
    class CBatch
    {
    public:
        explicit CBatch(std::shared_ptr<CHive> hive);
        ~CBatch();

        CBatch(const CBatch&) = delete;
        CBatch& operator=(const CBatch&) = delete;

        // Writes the changes; false with reason set when the file cannot be
        // written, in which case it is left as it was.
        bool Commit(QString& reason);

    private:
        std::shared_ptr<CHive> Hive_;
        bool Committed_ = false;
    };

private:
    CHiveKey& Root();
    void Load();
    QString WhyNotWritable() const;
    QString WhyNotCreatable() const;
    bool Writable() const { return ReadOnlyReason_.isEmpty(); }
    QString FreeAsideName() const;
    bool Write(QString& reason);
    bool MakeFolder(QString& reason) const;
    // The key at the end of the names below the root; null when one is missing.
    std::shared_ptr<CHiveKey> Find(const QStringList& names);

    QString FileName_;
    std::shared_ptr<CHiveKey> Root_; // null until the file is read
    bool Dirty_ = false;             // the tree holds changes the file does not
    int Batches_ = 0;                // open batches
    QString ReadOnlyReason_;         // why the hive is read-only; empty when it is not
    QString Problem_;                // LoadProblem
    QString AsideName_;              // where the unparseable file is kept before it is replaced
};
