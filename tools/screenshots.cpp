// Draws the program's windows under the offscreen platform and saves them
// as PNG files, for the README and for looking at them as a user would:
//
//   screenshots OUTPUT-FOLDER
//
// The main window holds a connected SQLite database with a few tables, a
// script in the editor and its result in the grid. Run it with
// QT_SCALE_FACTOR=2 for the pictures at 200%.

#include "common/ControlName.h"
#include "database/SQLiteDatabase.h"
#include "profiles/ConnectionDlg.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/LoginDlg.h"
#include "resources/ConnectionDialog.h"
#include "resources/MainMenu.h"
#include "shell/AboutDlg.h"
#include "shell/ConnectionTest.h"
#include "shell/MainFrame.h"
#include "shell/TablescopeApp.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name)
{
    widget.show();
    QCoreApplication::processEvents();
    const QString file = folder.filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(file)) {
        QTextStream(stderr) << "Could not write " << file << '\n';
        return false;
    }
    QTextStream(stdout) << file << '\n';
    return true;
}

bool MakeDatabase(const QString& file)
{
    CSQLiteDatabase database;
    QString error;
    return database.Connect(file, {}, {}, error) &&
           database.ExecuteSQL(
               QStringLiteral("CREATE TABLE customers (id INTEGER PRIMARY KEY, name VARCHAR(100), "
                              "city VARCHAR(60));"
                              "CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER, "
                              "placed DATE, total NUMERIC(10,2), note TEXT);"
                              "CREATE VIEW large_orders AS SELECT id, placed, total FROM orders "
                              "WHERE total > 100;"
                              "INSERT INTO customers VALUES (1, 'Ada Lovelace', 'London'), "
                              "(2, 'Grace Hopper', 'Arlington'), (3, 'Edsger Dijkstra', 'Nuenen');"
                              "INSERT INTO orders (id, customer_id, placed, total) VALUES (1, 1, "
                              "'2026-11-02', 120.50), "
                              "(2, 2, '2026-11-15', 80), (3, 1, '2026-12-01', 42.25), "
                              "(4, 3, '2026-12-03', 310)"),
               error);
}

// Lets events run until no profile connects or runs a script.
void WaitUntilIdle(const CMainFrame& frame)
{
    while (frame.IsAnyBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path()));
    CTablescopeApp app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: screenshots OUTPUT-FOLDER\n";
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));
    const QString file = scratch.filePath(QStringLiteral("shop.db"));
    if (!MakeDatabase(file))
        return 1;

    bool saved = true;
    {
        // No profiles yet: what a new user meets.
        CMainFrame empty;
        empty.resize(1100, 700);
        saved = Save(empty, folder, QStringLiteral("first-start"));
        empty.close();
    }

    CMainFrame frame;
    frame.resize(1100, 700);
    CConnection shop;
    shop.Name = QStringLiteral("Shop (SQLite)");
    shop.Type = DatabaseTypeSQLite;
    shop.Path = file;
    CConnection server;
    server.Name = QStringLiteral("Warehouse (FireBird)");
    server.Type = DatabaseTypeFireBird;
    server.Alias = QStringLiteral("warehouse");
    frame.Connections->AddConnection(server);
    frame.Connections->SelectConnection(frame.Connections->AddConnection(shop));
    frame.RunConnectionCommand(CommandConnect);
    WaitUntilIdle(frame);
    CConnection* profile = frame.Connections->GetConnection(1);
    if (!profile || !profile->Window)
        return 1;
    frame.TableTree->expandAll();
    profile->Window->Editor->setPlainText(
        QStringLiteral("-- the best customers\n"
                       "SELECT c.name, c.city, COUNT(*) AS orders, SUM(o.total) AS spent\n"
                       "FROM customers c JOIN orders o ON o.customer_id = c.id\n"
                       "GROUP BY c.id ORDER BY spent DESC;"));
    ExecuteQuery(*profile);
    WaitUntilIdle(frame);
    saved = Save(frame, folder, QStringLiteral("main-window")) && saved;
    // The tree by itself, at the width the window gives it, with a column
    // selected.
    if (QTreeWidgetItem* customers = frame.TableTree->topLevelItem(0))
        frame.TableTree->setCurrentItem(customers->child(1));
    if (QPixmap tree = frame.TableTree->grab(); !tree.isNull()) {
        const QString name = folder.filePath(QStringLiteral("table-tree.png"));
        saved = tree.save(name) && saved;
        QTextStream(stdout) << name << '\n';
    }

    profile->Window->Editor->setPlainText(
        QStringLiteral("UPDATE orders SET total = total * 1.1 WHERE placed >= '2026-12-01';\n"
                       "DELETE FROM nowhere;\nSELECT COUNT(*) FROM orders"));
    ExecuteQuery(*profile);
    WaitUntilIdle(frame);
    saved = Save(frame, folder, QStringLiteral("main-window-log")) && saved;

    // A statement that takes its time: the status bar counts, Stop is there.
    profile->Window->Editor->setPlainText(
        QStringLiteral("CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL\n"
                       "  SELECT x + 1 FROM c WHERE x < 1000000000) SELECT count(*) FROM c;\n"
                       "SELECT COUNT(*) FROM orders"));
    ExecuteQuery(*profile);
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < 1300)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    saved = Save(frame, folder, QStringLiteral("main-window-running")) && saved;
    frame.RunConnectionCommand(CommandStop);
    WaitUntilIdle(frame);
    saved = Save(frame, folder, QStringLiteral("main-window-stopped")) && saved;

    CConnectionDlg connection;
    connection.Connection = server;
    saved = Save(connection, folder, QStringLiteral("connection-dialog")) && saved;
    CConnectionDlg sqlite;
    sqlite.Connection = shop;
    sqlite.SetTester(new CConnectionTest);
    saved = Save(sqlite, folder, QStringLiteral("connection-dialog-sqlite")) && saved;
    // After Test Connection.
    if (auto* test = sqlite.findChild<QPushButton*>(ControlName(IdcConnectionTest))) {
        test->click();
        QElapsedTimer testing;
        testing.start();
        while (test->text() != QLatin1String(ConnectionTestText) && testing.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    saved = Save(sqlite, folder, QStringLiteral("connection-dialog-tested")) && saved;
    CConnectionDlg odbc;
    odbc.Connection.Type = DatabaseTypeOdbc;
    odbc.Connection.Path = QStringLiteral("DSN=");
    saved = Save(odbc, folder, QStringLiteral("connection-dialog-odbc")) && saved;
    CLoginDlg login;
    login.UserName = QStringLiteral("SYSDBA");
    saved = Save(login, folder, QStringLiteral("login-dialog")) && saved;
    CAboutDlg about;
    saved = Save(about, folder, QStringLiteral("about-box")) && saved;
    return saved ? 0 : 1;
}
