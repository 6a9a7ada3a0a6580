#pragma once

// SQL script files as the editor opens and saves them. A file is read as
// UTF-8; a byte-order mark for UTF-8 or UTF-16 (either byte order) is
// honoured and taken off. Text that is not valid in its encoding, that holds
// NUL characters, or that is too large to edit is refused with a message:
// nothing is changed or guessed. Line breaks come into the editor as "\n";
// the file's own kind (CRLF when its first line break is one) and its mark
// are remembered and written back, always as UTF-8. Saving is atomic: the
// new text goes to a temporary file beside the old one, which is replaced
// only once every byte is on disk; a failed save leaves the old file whole.

#include <QByteArray>
#include <QString>

class CSqlFile
{
public:
    // Larger files are refused: the editor would hold them, but not usefully.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    QString Text;      // with "\n" line breaks only
    bool Crlf = false; // saved with "\r\n" line breaks
    bool Bom = false;  // saved with a UTF-8 byte-order mark
    QByteArray Stamp;  // what the file held when read or written (a digest)

    // Reads path. False with error set, and nothing else changed, when the
    // file cannot be read or is not text this editor can keep whole.
    bool Read(const QString& path, QString& error);
    // Writes Text to path in the remembered form and updates Stamp. A file
    // that is there and read-only is not replaced. False with error set.
    bool Write(const QString& path, QString& error);

    // The digest of the file at path now, made the way the stamp like was
    // made; empty when it cannot be read.
    static QByteArray StampOf(const QString& path, const QByteArray& like = {});
    // The offset of the first byte that is not part of valid UTF-8, or -1.
    static qsizetype InvalidUtf8Offset(const QByteArray& bytes);
};
