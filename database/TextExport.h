#pragma once

// The delimited text file that CAbstractDatabase::ExportToTextFile writes:
// UTF-16LE without a byte-order mark, CR LF between lines and none after the
// last, every value in double quotes.

#include <QString>

// A value as it stands between its quotes: double quotes doubled, then CR and
// LF written as the two characters \r and \n. Nothing else is escaped.
QString EscapeExportValue(const QString& value);

// Writes one line to fileName and closes the file again. A missing file is
// created holding just text; an existing one gets CR LF and text appended.
// False when the file cannot be opened or written.
bool AppendLine(const QString& fileName, const QString& text);
