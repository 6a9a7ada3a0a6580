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

bool IsAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Appends value as CsvField writes it, working on the UTF-8 bytes: every
// character that decides the quoting is ASCII. A value that begins or ends
// with a character outside ASCII goes through CsvField, which knows every
// kind of blank.
void AppendCsvField(QByteArray& line, QByteArrayView value)
{
    if (!value.isEmpty() && (quint8(value.front()) >= 0x80 || quint8(value.back()) >= 0x80)) {
        line.append(CsvField(QString::fromUtf8(value)).toUtf8());
        return;
    }
    bool plain = value.isEmpty() || (!IsAsciiSpace(value.front()) && !IsAsciiSpace(value.back()));
    for (qsizetype i = 0; plain && i < value.size(); ++i) {
        const char c = value[i];
        plain = c != ',' && c != '"' && c != '\r' && c != '\n';
    }
    if (plain) {
        line.append(value);
        return;
    }
    line.append('"');
    for (const char c : value) {
        if (c == '"')
            line.append('"');
        line.append(c);
    }
    line.append('"');
}

// One line of the file for the recordset's current row, left in line.
void Line(CAbstractRecordset& recordset, const CExportOptions& options, QByteArray& line,
          QByteArray& scratch)
{
    const int columns = recordset.GetColumnCount();
    line.resize(0);
    if (options.Format == EExportFormat::Csv) {
        for (int i = 0; i < columns; ++i) {
            if (i > 0)
                line.append(',');
            if (!recordset.IsNull(i))
                AppendCsvField(line, recordset.GetUtf8(i, scratch));
        }
        line.append(options.LineEnd);
        return;
    }
    QStringList fields;
    fields.reserve(columns);
    for (int i = 0; i < columns; ++i)
        fields.append(TextValue(recordset.GetString(i)));
    line = Utf16Bytes(fields.join(options.Delimiter));
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
    QByteArray line;
    QByteArray scratch;
    while (!stopping() && recordset->MoveNext()) {
        Line(*recordset, options, line, scratch);
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
