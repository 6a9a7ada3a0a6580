// The main window's profile commands: adding, deleting and editing a
// profile, and opening an SQLite or SQL file.

#include "profiles/ConnectionDlg.h"
#include "profiles/ConnectionsWnd.h"
#include "resources/MainMenu.h"
#include "shell/ConnectionTest.h"
#include "shell/EditorCommands.h"
#include "shell/MainFrame.h"
#include "workspace/MessageBox.h"

#include <QFileInfo>

namespace {

const QString PropertiesQuestion = QStringLiteral(
    "Database connection properties has changed. To you wish to closer the connectiopn that was "
    "made with the old connection properties?\r\n\r\nAnswering \"No\" will mean that all changes "
    "you've recently made to the connection properties will be lost");

// Why file cannot be opened as an SQLite database, or empty when it can. An
// empty file is an empty database to SQLite.
QString NotAnSQLiteDatabase(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return QStringLiteral("Cannot open \"%1\": there is no such file").arg(file);
    QFile database(file);
    if (info.isDir() || !database.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot open \"%1\": the file cannot be read").arg(file);
    const QByteArray header = database.read(16);
    if (info.size() != 0 && header != QByteArray("SQLite format 3", 16))
        return QStringLiteral("Cannot open \"%1\": the file is not an SQLite database").arg(file);
    return {};
}

} // namespace

void CMainFrame::OnNewConnection()
{
    CConnectionDlg dialog(this);
    dialog.SetTester(new CConnectionTest);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Connections->SelectConnection(Connections->AddConnection(dialog.Connection));
}

void CMainFrame::OnDeleteConnection()
{
    const int index = Connections->GetCurrentConnection();
    if (index < 0) {
        ShowMessageBox(this, QStringLiteral("Please select a connection to delete"));
        return;
    }
    if (ShowMessageBox(
            this, QStringLiteral("Do you really want to delete the selected connection?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) != QMessageBox::Yes)
        return;
    if (!CloseConnection(index))
        return;
    EditorCommands->ProfileGone(Connections->GetConnection(index)->Name);
    Connections->DeleteConnection(index);
    const int lastIndex = Connections->GetConnectionCount() - 1;
    Connections->SelectConnection(index >= lastIndex ? lastIndex : index);
}

void CMainFrame::OnConnectionProperties()
{
    const int index = Connections->GetCurrentConnection();
    CConnection* profile = Connections->GetConnection(index);
    if (!profile) {
        ShowMessageBox(this, QStringLiteral("Please select a connection to edit"));
        return;
    }
    CConnectionDlg dialog(this);
    dialog.SetTester(new CConnectionTest);
    dialog.Connection = *profile;
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool closed = false;
    if (profile->Database && !CConnection::SameConnectionSettings(*profile, dialog.Connection)) {
        if (ShowMessageBox(this, PropertiesQuestion, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Question) != QMessageBox::Yes)
            return;
        if (!CloseConnection(index))
            return;
        closed = true;
    }
    const QString oldName = profile->Name;
    *profile = dialog.Connection;
    if (profile->Name != oldName)
        EditorCommands->ProfileRenamed(oldName, *profile);
    if (closed) // the closed connection's tables are not carried back
        profile->Tables.clear();
    Connections->SetConnectionText(index, profile->Name);
}

void CMainFrame::OpenDatabaseFile(const QString& file)
{
    const QString why = NotAnSQLiteDatabase(file);
    if (!why.isEmpty()) {
        ShowMessageBox(this, why, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    const QString canonical = QFileInfo(file).canonicalFilePath();
    int index = -1;
    for (int i = 0; i < Connections->GetConnectionCount() && index < 0; ++i) {
        const CConnection* profile = Connections->GetConnection(i);
        if (profile->Type == DatabaseTypeSQLite && !profile->Path.isEmpty() &&
            QFileInfo(profile->Path).canonicalFilePath() == canonical)
            index = i;
    }
    if (index < 0) {
        CConnection profile;
        profile.Name = QFileInfo(canonical).fileName();
        profile.Type = DatabaseTypeSQLite;
        profile.Path = canonical;
        index = Connections->AddConnection(profile);
    }
    Connections->SelectConnection(index);
    RunConnectionCommand(CommandConnect);
}

void CMainFrame::OpenSqlFile(const QString& file)
{
    EditorCommands->OpenFile(file);
}
