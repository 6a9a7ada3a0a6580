#include "profiles/DatabaseFileDialog.h"

#include <QFileDialog>

namespace {

CDatabaseFileAnswerer& Answerer()
{
    static CDatabaseFileAnswerer answerer;
    return answerer;
}

const QString DatabaseFilter =
    QStringLiteral("SQLite databases (*.db *.sqlite *.sqlite3 *.db3);;All files (*)");

} // namespace

QString AskDatabaseFile(QWidget* parent, const QString& suggested)
{
    if (Answerer())
        return Answerer()(false, suggested);
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open SQLite Database"), suggested,
                                        DatabaseFilter);
}

QString AskNewDatabaseFile(QWidget* parent, const QString& suggested)
{
    if (Answerer())
        return Answerer()(true, suggested);
    QFileDialog dialog(parent, QStringLiteral("New SQLite Database"), suggested, DatabaseFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("db"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SetDatabaseFileAnswerer(CDatabaseFileAnswerer answerer)
{
    Answerer() = std::move(answerer);
}
