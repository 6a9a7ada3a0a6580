#include "workspace/ExportDialog.h"

#include <QFileDialog>

namespace {

CExportFileAnswerer& Answerer()
{
    static CExportFileAnswerer answerer;
    return answerer;
}

const QString CsvType = QStringLiteral("CSV, UTF-8 (*.csv)");
const QString CsvCrLfType = QStringLiteral("CSV, UTF-8, CR LF line ends (*.csv)");
const QString TextType = QStringLiteral("Text, UTF-16, every value quoted (*.txt)");

} // namespace

bool AskExportFile(QWidget* parent, QString& file, CExportOptions& options)
{
    if (Answerer())
        return Answerer()(file, options);
    QFileDialog dialog(parent, QStringLiteral("Export Result"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({CsvType, CsvCrLfType, TextType});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& type) {
                         dialog.setDefaultSuffix(type == TextType ? QStringLiteral("txt")
                                                                  : QStringLiteral("csv"));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    file = dialog.selectedFiles().first();
    const QString type = dialog.selectedNameFilter();
    options = CExportOptions();
    if (type == TextType)
        options.Format = EExportFormat::Utf16Text;
    else if (type == CsvCrLfType)
        options.LineEnd = "\r\n";
    return true;
}

void SetExportFileAnswerer(CExportFileAnswerer answerer)
{
    Answerer() = std::move(answerer);
}
