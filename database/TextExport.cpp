#include "database/TextExport.h"

#include "database/AbstractDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

QByteArray ToUtf16LE(const QString& text)
{
    QByteArray bytes(text.size() * qsizetype(sizeof(char16_t)), Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

} // namespace

QString EscapeExportValue(const QString& value)
{
    QString escaped = value;
    escaped.replace(u'"', QStringLiteral("\"\""));
    escaped.replace(u'\r', QStringLiteral("\\r"));
    escaped.replace(u'\n', QStringLiteral("\\n"));
    return escaped;
}

bool AppendLine(const QString& fileName, const QString& text)
{
    const bool exists = QFileInfo::exists(fileName);
    QFile file(fileName);
    if (!file.open(exists ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = ToUtf16LE(exists ? QStringLiteral("\r\n") + text : text);
    const bool written = file.write(bytes) == bytes.size();
    // Each row is on disk before the next one is fetched.
    return file.flush() && written;
}

bool CAbstractDatabase::ExportToTextFile(const QString& sql, QString& error,
                                         const QString& fileName, const QString& delimiter)
{
    CAbstractRecordset* opened = nullptr;
    const bool ok = OpenRecordset(sql, error, opened);
    CRecordsetPtr recordset(opened);
    if (!ok)
        return false;

    QFile::remove(fileName);
    while (recordset->MoveNext()) {
        QString line;
        for (int column = 0; column < recordset->GetColumnCount(); ++column) {
            if (column > 0)
                line += delimiter;
            line += u'"';
            line += EscapeExportValue(recordset->GetString(column));
            line += u'"';
        }
        if (!AppendLine(fileName, line)) {
            error = QStringLiteral("Failed to write test string to the file: \"") + fileName + u'"';
            return false;
        }
    }
    // Rows that could not be read are no end of the rows: the lines written
    // so far stay, as after a failed write.
    return !recordset->GetFetchError(error);
}
