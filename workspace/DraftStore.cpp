#include "workspace/DraftStore.h"

#include "profiles/Hive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

const QByteArray DraftHeader = "Tablescope draft 1\n";

QByteArray Field(const char* name, const QString& value)
{
    return QByteArray(name) + ": " + QUrl::toPercentEncoding(value) + '\n';
}

QString RecentFileName()
{
    return CDraftStore::Folder() + QStringLiteral("/RecentFiles");
}

} // namespace

QString CDraftStore::Folder()
{
    return QFileInfo(CHive::CurrentUserFileName()).absolutePath() + QStringLiteral("/Drafts");
}

QString CDraftStore::DraftFileName(const QString& profileName)
{
    // Any name, slashes and all, gives a plain file name.
    const QByteArray digest =
        QCryptographicHash::hash(profileName.toUtf8(), QCryptographicHash::Sha1).toHex();
    return Folder() + u'/' + QString::fromLatin1(digest.left(20)) + QStringLiteral(".draft");
}

bool CDraftStore::MakeFolder(QString& error)
{
    const QString folder = Folder();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("the folder \"%1\" cannot be created").arg(folder);
        return false;
    }
    // Drafts may hold anything the user typed: nobody else lists or reads them.
    ::chmod(QFile::encodeName(QFileInfo(folder).absolutePath()).constData(), 0700);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return true;
}

bool CDraftStore::WriteFile(const QString& fileName, const QByteArray& bytes, QString& error)
{
    if (!MakeFolder(error))
        return false;
    QSaveFile file(fileName);
    // Unbuffered, so that a short write is seen before the old file goes.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    if (::fchmod(file.handle(), 0600) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool CDraftStore::Write(const QString& profileName, const CDraft& draft, QString& error)
{
    QByteArray bytes = DraftHeader;
    bytes += Field("Profile", profileName);
    bytes += Field("File", draft.FilePath);
    bytes += Field("Modified", draft.Modified ? QStringLiteral("1") : QStringLiteral("0"));
    bytes += Field("Stamp", QString::fromLatin1(draft.Stamp.toHex()));
    bytes += Field("Crlf", draft.Crlf ? QStringLiteral("1") : QStringLiteral("0"));
    bytes += Field("Bom", draft.Bom ? QStringLiteral("1") : QStringLiteral("0"));
    bytes += '\n';
    bytes += draft.Text.toUtf8();
    return WriteFile(DraftFileName(profileName), bytes, error);
}

bool CDraftStore::Read(const QString& profileName, CDraft& draft)
{
    QFile file(DraftFileName(profileName));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith(DraftHeader))
        return false;
    const qsizetype bodyAt = bytes.indexOf("\n\n");
    if (bodyAt < 0)
        return false;
    CDraft read;
    QString storedName;
    for (const QByteArray& line : bytes.first(bodyAt).split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            continue;
        const QByteArray name = line.first(colon);
        const QString value = QUrl::fromPercentEncoding(line.sliced(colon + 2));
        if (name == "Profile")
            storedName = value;
        else if (name == "File")
            read.FilePath = value;
        else if (name == "Modified")
            read.Modified = value == u'1';
        else if (name == "Stamp")
            read.Stamp = QByteArray::fromHex(value.toLatin1());
        else if (name == "Crlf")
            read.Crlf = value == u'1';
        else if (name == "Bom")
            read.Bom = value == u'1';
    }
    if (storedName != profileName) // another name with the same digest
        return false;
    read.Text = QString::fromUtf8(bytes.sliced(bodyAt + 2));
    draft = std::move(read);
    return true;
}

void CDraftStore::Remove(const QString& profileName)
{
    QFile::remove(DraftFileName(profileName));
}

QStringList CDraftStore::RecentFiles()
{
    QFile file(RecentFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList files;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty() && files.size() < RecentFileCount)
            files.append(QString::fromUtf8(line));
    return files;
}

void CDraftStore::AddRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    QString error;
    WriteFile(RecentFileName(), files.mid(0, RecentFileCount).join(u'\n').toUtf8() + '\n', error);
}

void CDraftStore::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    if (files.removeAll(path) == 0)
        return;
    QString error;
    WriteFile(RecentFileName(), files.join(u'\n').toUtf8() + '\n', error);
}
