#include "workspace/SqlFile.h"

#include "common/TextConversion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A digest tells whether a file still holds what was read or written here;
// it guards against no attacker, so the quickest of Qt's will do. Stamps of
// SHA-256's size come from earlier drafts and are checked with SHA-256.
constexpr qsizetype Sha256Size = 32;

QByteArray Digest(const QByteArray& bytes, qsizetype like = 0)
{
    return QCryptographicHash::hash(bytes, like == Sha256Size ? QCryptographicHash::Sha256
                                                              : QCryptographicHash::Sha1);
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Decodes UTF-16 after its mark; false on an odd length or a lone surrogate.
bool DecodeUtf16(const QByteArray& bytes, bool bigEndian, QString& text)
{
    if (bytes.size() % 2 != 0)
        return false;
    text.resize(bytes.size() / 2);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned first = data[2 * i];
        const unsigned second = data[2 * i + 1];
        text[i] = QChar(char16_t(bigEndian ? first << 8 | second : second << 8 | first));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

qsizetype CSqlFile::InvalidUtf8Offset(const QByteArray& bytes)
{
    return ::InvalidUtf8Offset(bytes.constData(), bytes.size());
}

bool CSqlFile::Read(const QString& path, QString& error)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open \"%1\": %2")
                    .arg(Shown(path), QFileInfo(path).isDir() ? QStringLiteral("it is a folder")
                                                              : file.errorString());
        return false;
    }
    if (file.size() > MaxFileSize) {
        error = QStringLiteral("Cannot open \"%1\": the file is larger than %2 MB")
                    .arg(Shown(path))
                    .arg(MaxFileSize / 1024 / 1024);
        return false;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize) {
        error = QStringLiteral("Cannot read \"%1\": %2").arg(Shown(path), file.errorString());
        return false;
    }

    QString text;
    bool bom = true;
    bool valid = true;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        valid = InvalidUtf8Offset(bytes.sliced(3)) < 0;
        text = QString::fromUtf8(bytes.sliced(3));
    } else if (bytes.startsWith("\xFF\xFE")) {
        valid = DecodeUtf16(bytes.sliced(2), false, text);
    } else if (bytes.startsWith("\xFE\xFF")) {
        valid = DecodeUtf16(bytes.sliced(2), true, text);
    } else {
        bom = false;
        const qsizetype bad = InvalidUtf8Offset(bytes);
        if (bad >= 0) {
            error = QStringLiteral("\"%1\" is not UTF-8 text: the byte at offset %2 is not "
                                   "valid. The file was not opened, so that nothing in it is "
                                   "changed.")
                        .arg(Shown(path))
                        .arg(bad);
            return false;
        }
        text = QString::fromUtf8(bytes);
    }
    if (!valid) {
        error = QStringLiteral("\"%1\" is not valid text in the encoding its byte-order mark "
                               "names. The file was not opened.")
                    .arg(Shown(path));
        return false;
    }
    if (text.contains(QChar(0))) {
        error = QStringLiteral("\"%1\" holds NUL characters: it is not an SQL script. The file "
                               "was not opened.")
                    .arg(Shown(path));
        return false;
    }
    const qsizetype firstBreak = text.indexOf(u'\n');
    Crlf = firstBreak > 0 && text.at(firstBreak - 1) == u'\r';
    Bom = bom;
    // A lone "\r" (old Macintosh files) breaks a line too.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    Text = std::move(text);
    Stamp = Digest(bytes);
    return true;
}

bool CSqlFile::Write(const QString& path, QString& error)
{
    const QFileInfo info(path);
    // Replacing the file would succeed in a writable folder, but the user
    // made it read-only for a reason; root, whom access() lets write
    // anything, is told so too when the file has no write permission at all.
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite))) {
        error = QStringLiteral("Cannot save \"%1\": the file is read-only").arg(Shown(path));
        return false;
    }
    QByteArray bytes;
    bytes.reserve(Text.size() * 11 / 10 + 3);
    if (Bom)
        bytes.append("\xEF\xBB\xBF");
    bytes.append(Crlf ? QString(Text).replace(u'\n', QStringLiteral("\r\n")).toUtf8()
                      : Text.toUtf8());
    QSaveFile file(path);
    // Unbuffered: a short write (a full disk, a size limit) shows in what
    // write returns. Buffered, QSaveFile would commit the cut file as a success.
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        reason = file.errorString();
    else if (file.write(bytes) != bytes.size())
        reason = QStringLiteral("not all of it could be written (is the disk full?)");
    else if (!file.commit())
        reason = file.errorString();
    if (!reason.isEmpty()) {
        file.cancelWriting();
        error = QStringLiteral("Cannot save \"%1\": %2. The file on disk is as it was.")
                    .arg(Shown(path), reason);
        return false;
    }
    Stamp = Digest(bytes);
    return true;
}

QByteArray CSqlFile::StampOf(const QString& path, const QByteArray& like)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return {};
    return Digest(file.readAll(), like.size());
}
