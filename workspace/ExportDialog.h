#pragma once

// Asking where to export a result and in which format: the platform's save
// dialog, whose file types name the formats. It asks before replacing an
// existing file. Tests answer it through the answerer instead.

#include "workspace/ResultExport.h"

#include <functional>

class QWidget;

// False when the user cancelled.
bool AskExportFile(QWidget* parent, QString& file, CExportOptions& options);

// While set, AskExportFile shows nothing and returns what the answerer gives.
using CExportFileAnswerer = std::function<bool(QString& file, CExportOptions& options)>;
void SetExportFileAnswerer(CExportFileAnswerer answerer);
