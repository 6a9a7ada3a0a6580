#include "workspace/FileDialog.h"

#include <QFileDialog>
#include <QInputDialog>

namespace {

CDialogAnswerer& Answerer()
{
    static CDialogAnswerer answerer;
    return answerer;
}

const QString SqlFilter = QStringLiteral("SQL files (*.sql);;All files (*)");

} // namespace

QString AskOpenSqlFile(QWidget* parent, const QString& folder)
{
    if (Answerer().File)
        return Answerer().File(false, folder);
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open SQL File"), folder, SqlFilter);
}

QString AskSaveSqlFile(QWidget* parent, const QString& suggested)
{
    if (Answerer().File)
        return Answerer().File(true, suggested);
    QFileDialog dialog(parent, QStringLiteral("Save SQL File As"), suggested, SqlFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("sql"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int AskLineNumber(QWidget* parent, int current, int last)
{
    if (Answerer().Line)
        return Answerer().Line(current, last);
    bool ok = false;
    const int line = QInputDialog::getInt(parent, QStringLiteral("Go to Line"),
                                          QStringLiteral("Line number (1 - %1):").arg(last),
                                          current, 1, last, 1, &ok);
    return ok ? line : 0;
}

void SetDialogAnswerer(CDialogAnswerer answerer)
{
    Answerer() = std::move(answerer);
}
