#include "workspace/ResultExport.h"

#include "workspace/QueryExecution.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {

// The text export's value: quotes doubled, then CR and LF as \r and \n.
QString TextValue(const QString& text)
{
    QString value = text;
    value.replace(u'"', QStringLiteral("\"\""));
    value.replace(u'\r', QStringLiteral("\\r"));
    value.replace(u'\n', QStringLiteral("\\n"));
    return u'"' + value + u'"';
}

QByteArray Utf16Bytes(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// One line of the file for the recordset's current row.
QByteArray Line(CAbstractRecordset& recordset, const CExportOptions& options)
{
    const int columns = recordset.GetColumnCount();
    QStringList fields;
    fields.reserve(columns);
    for (int i = 0; i < columns; ++i) {
        if (options.Format == EExportFormat::Csv)
            fields.append(recordset.IsNull(i) ? QString() : CsvField(recordset.GetString(i)));
        else
            fields.append(TextValue(recordset.GetString(i)));
    }
    if (options.Format == EExportFormat::Csv)
        return fields.join(u',').toUtf8() + options.LineEnd;
    return Utf16Bytes(fields.join(options.Delimiter));
}

} // namespace

QString CsvField(const QString& text)
{
    const bool plain = !text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
                       !text.contains(u'\n') &&
                       (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()));
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool ExportQuery(CAbstractDatabase& database, const QString& query, const QString& file,
                 const CExportOptions& options, CRunControl* control, QString& error)
{
    const auto stopping = [control] { return control && control->Stopping(); };
    CAbstractRecordset* opened = nullptr;
    const bool ran = database.OpenRecordset(query, error, opened);
    CRecordsetPtr recordset(opened);
    if (!ran)
        return false;

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Cannot write \"%1\": %2").arg(file, out.errorString());
        return false;
    }
    const auto fail = [&out, &error, &file](const QString& why) {
        out.cancelWriting();
        error = why.isEmpty()
                    ? QStringLiteral("Cannot write \"%1\": %2").arg(file, out.errorString())
                    : why;
        return false;
    };
    if (options.Format == EExportFormat::Csv) {
        QStringList headers;
        for (int i = 0; i < recordset->GetColumnCount(); ++i)
            headers.append(CsvField(recordset->GetColumnName(i)));
        if (out.write(headers.join(u',').toUtf8() + options.LineEnd) < 0)
            return fail({});
    }
    const QByteArray textBreak = Utf16Bytes(QStringLiteral("\r\n"));
    int rows = 0;
    while (!stopping() && recordset->MoveNext()) {
        QByteArray line = Line(*recordset, options);
        if (options.Format == EExportFormat::Utf16Text && rows > 0)
            line.prepend(textBreak);
        if (out.write(line) != line.size())
            return fail({});
        ++rows;
        if (control)
            control->RowsRead = rows;
    }
    if (stopping())
        return fail(QStringLiteral("Stopped"));
    QString fetchError;
    if (recordset->GetFetchError(fetchError))
        return fail(fetchError);
    recordset.reset();
    if (!out.commit())
        return fail({});
    return true;
}
