#pragma once

// Writing a query's whole result to a file, for Export Result and the
// script runner: the query runs again and its rows stream to the file as they
// are read, so a result of millions of rows never has to fit in memory.
// QtCore only; runs on the connection's thread.
//
// The file appears only when the export succeeded: rows go to a temporary
// file beside it, which replaces it at the end. A failed or stopped export
// leaves no file and the old one, if any, as it was.

#include "database/AbstractDatabase.h"

#include <QByteArray>
#include <QString>

struct CRunControl;

enum class EExportFormat
{
    Csv,       // UTF-8, a header line, RFC 4180 quoting, NULL as an empty field
    Utf16Text, // the text export's format: UTF-16LE, every value quoted, CR LF between lines
};

struct CExportOptions
{
    EExportFormat Format = EExportFormat::Csv;
    QByteArray LineEnd = "\n";               // CSV: "\n" or "\r\n"
    QString Delimiter = QStringLiteral(";"); // the text format's separator
};

// Runs query and writes every row to file. Rows written so far go to
// control's RowsRead; a stop requested there ends the export, which then
// fails with "Stopped". False with error set on any failure.
bool ExportQuery(CAbstractDatabase& database, const QString& query, const QString& file,
                 const CExportOptions& options, CRunControl* control, QString& error);

// One CSV field: in double quotes, its quotes doubled, when it holds a
// comma, a double quote, a carriage return or a line feed, or starts or ends
// with a blank.
QString CsvField(const QString& text);
