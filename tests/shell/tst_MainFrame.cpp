// The main window as a user meets it, under the offscreen platform: profiles
// added through the dialog, connected (through the login dialog where one is
// asked for), tables browsed, scripts typed and run with Ctrl+F5, profiles
// edited and deleted, and the program quit and started again, on SQLite,
// FireBird and PostgreSQL through ODBC. Every message box is answered by the
// test.

#include "common/ControlName.h"
#include "database/SQLiteDatabase.h"
#include "profiles/ConnectionsWnd.h"
#include "resources/ConnectionDialog.h"
#include "resources/MainMenu.h"
#include "shell/MainFrame.h"
#include "shell/OpenConnection.h"
#include "shell/TablescopeApp.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/GridText.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultGrid.h"
#include "workspace/ResultWriter.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/TestDatabases.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

// Acts on the next modal dialog once its modal loop runs.
void OnNextDialog(std::function<void(QDialog*)> action)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->deleteLater();
        action(dialog);
    });
    timer->start(10);
}

void TypeInto(QDialog* dialog, int id, const QString& text)
{
    auto* edit = FindControl<QLineEdit>(dialog, id);
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void ClickOk(QDialog* dialog)
{
    auto* ok = FindControl<QPushButton>(dialog, 1);
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

// The tables tree as "table: column, column" lines.
QStringList TreeText(const QTreeWidget* tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* table = tree->topLevelItem(i);
        QStringList columns;
        for (int c = 0; c < table->childCount(); ++c)
            columns.append(table->child(c)->text(0));
        lines.append(table->text(0) + QStringLiteral(": ") + columns.join(QStringLiteral(", ")));
    }
    return lines;
}

QList<int> EnabledCommands(const CMainFrame& frame)
{
    QList<int> enabled;
    for (const CMainCommand& command : MainCommands)
        if (command.Command != 0 && frame.Action(command.Command)->isEnabled())
            enabled.append(command.Command);
    return enabled;
}

} // namespace

class CMainFrameTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menusToolbarAndPrompts();
    void enablingRules_data();
    void enablingRules();
    void noProfilesOnlyAddIsEnabled();
    void databaseStrings_data();
    void databaseStrings();

    void endToEnd_data();
    void endToEnd();
    void tablesInExactOrderAndEmptyDatabase();
    void loginRules();
    void deleteKeepsASelection();
    void deletingAConnectedProfileClosesIt();
    void propertiesOfAConnectedProfile();
    void pasteAndUndoFollowTheEditor();
    void clipboardCommandsReachTheShownEditor();
    void quitSavesThenClosesEveryConnection();
    void busyWindowHoldsOffWhatWouldDestroyIt();
    void focusMovesBetweenPanes();
    void openingADatabaseFile();
    void storeFaultsAreShown();
    void helpAndAbout();
    void tableNamesAreNeverRunAsSql_data();
    void tableNamesAreNeverRunAsSql();
    void tablesOfThisDatabaseOnly_data();
    void tablesOfThisDatabaseOnly();
    void unreadableTableIsMarked_data();
    void unreadableTableIsMarked();
    void typedCredentialsReachTheDriver_data();
    void typedCredentialsReachTheDriver();

private:
    std::unique_ptr<CMainFrame> NewFrame();
    int AddProfile(const CConnection& profile);
    void Connect(int index);
    // Waits until no profile connects or runs a script.
    bool Idle(int milliseconds = 60000) const;
    CConnectionWnd* Window(int index) const;
    // A profile of an SQLite file in this test's folder.
    CConnection SQLiteProfile(const QString& name, const QString& file) const;

    QTemporaryDir Config;
    QTemporaryDir Files;
    std::unique_ptr<CMainFrame> Frame;
    QStringList Messages;
    QMessageBox::StandardButton Answer = QMessageBox::Yes;
    CTestDatabases Databases;
};

void CMainFrameTests::initTestCase()
{
    CTablescopeApp::SetUp();
}

void CMainFrameTests::init()
{
    // A store of this test's own, empty at the start of every test.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config.path()));
    QFile::remove(Config.filePath(QStringLiteral("Brevan/Tablescope.reg")));
    QDir(Config.filePath(QStringLiteral("Brevan/Drafts"))).removeRecursively();
    Messages.clear();
    Answer = QMessageBox::Yes;
    SetMessageBoxAnswerer([this](const QString& text, QMessageBox::StandardButtons) {
        Messages.append(text);
        return Answer;
    });
    Frame = NewFrame();
}

void CMainFrameTests::cleanup()
{
    Frame.reset();
    SetMessageBoxAnswerer({});
}

std::unique_ptr<CMainFrame> CMainFrameTests::NewFrame()
{
    auto frame = std::make_unique<CMainFrame>();
    frame->resize(1200, 900);
    frame->show();
    QApplication::setActiveWindow(frame.get());
    if (!QTest::qWaitForWindowActive(frame.get()))
        qWarning("The main window did not become active");
    return frame;
}

int CMainFrameTests::AddProfile(const CConnection& profile)
{
    const int index = Frame->Connections->AddConnection(profile);
    Frame->Connections->SelectConnection(index);
    return index;
}

void CMainFrameTests::Connect(int index)
{
    Frame->Connections->SelectConnection(index);
    Frame->Action(CommandConnect)->trigger();
    QVERIFY(Idle());
}

bool CMainFrameTests::Idle(int milliseconds) const
{
    return QTest::qWaitFor([this] { return !Frame->IsAnyBusy(); }, milliseconds);
}

CConnection CMainFrameTests::SQLiteProfile(const QString& name, const QString& file) const
{
    CConnection profile;
    profile.Name = name;
    profile.Type = DatabaseTypeSQLite;
    profile.Path = Files.filePath(file);
    return profile;
}

CConnectionWnd* CMainFrameTests::Window(int index) const
{
    const CConnection* profile = Frame->Connections->GetConnection(index);
    return profile ? profile->Window : nullptr;
}

void CMainFrameTests::menusToolbarAndPrompts()
{
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope"));
    QStringList menus;
    for (QAction* popup : Frame->menuBar()->actions()) {
        QStringList items;
        for (QAction* item : popup->menu()->actions())
            items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
        menus.append(popup->text() + QStringLiteral(": ") + items.join(QStringLiteral(" | ")));
    }
    QCOMPARE(
        menus,
        (QStringList{
            "&File: &Open SQL File...\tCtrl+O | &Save SQL File\tCtrl+S | "
            "Save SQL File &As...\tCtrl+Shift+S | - | 1 | 2 | 3 | 4 | - | &Exit",
            "&Edit: &Cut\tCtrl+X | &Copy\tCtrl+C | &Paste\tCtrl+V | - | Undo\tCtrl+Z | "
            "Redo\tCtrl+Y | - | &Find...\tCtrl+F | Find &Next\tF3 | Find Pre&vious\tShift+F3 | "
            "&Replace...\tCtrl+H | - | &Go to Line...\tCtrl+G | "
            "Co&mment/Uncomment Lines\tCtrl+/",
            "&Connection: New Database Connection... | Delete Database Connection... | "
            "Database Connection Properties... | - | Connect Database... | Disconnect Database",
            "Query: Execute\tCtrl+F5 | Execute Current Statement\tCtrl+Enter | Stop\tEsc | - | "
            "Fetch All Rows | Row Limit: 1,000 | Row Limit: 10,000 | Row Limit: 100,000 | Row "
            "Limit: No Limit | - | Export Result...",
            "&View: &Toolbar | &Status Bar | &Line Numbers",
            "&Help: &About Brevan Tablescope..."}));
    QStringList buttons;
    for (QAction* action : Frame->ToolBar->actions())
        buttons.append(action->objectName());
    QCOMPARE(buttons, (QStringList{"command-57635", "command-57634", "command-57637",
                                   "command-32788", "command-32789"}));
    for (QAction* action : Frame->ToolBar->actions())
        QVERIFY(!action->icon().isNull());
    QCOMPARE(Frame->toolBarArea(Frame->ToolBar), Qt::TopToolBarArea);
    QCOMPARE(Frame->ToolBar->allowedAreas(), Qt::AllToolBarAreas);
    QVERIFY(Frame->ToolBar->isMovable());

    QCOMPARE(Frame->Action(CommandUndo)->statusTip(), QStringLiteral("Отмена последнего действия"));
    QCOMPARE(Frame->Action(CommandUndo)->toolTip(), QStringLiteral("Отменить"));
    QCOMPARE(Frame->Action(CommandNewConnection)->statusTip(),
             QStringLiteral("Creates a new database connection and puts int into the left-upper "
                            "side of the windows"));
    QCOMPARE(Frame->Action(CommandDeleteConnection)->toolTip(),
             QStringLiteral("Delete database Connection"));
    QCOMPARE(Frame->Action(CommandExecute)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_F5), QKeySequence(Qt::Key_F5)}));
    QCOMPARE(Frame->Action(CommandCut)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_X),
                                  QKeySequence(Qt::SHIFT | Qt::Key_Delete)}));
    QCOMPARE(Frame->Action(CommandUndo)->shortcuts().value(1),
             QKeySequence(Qt::ALT | Qt::Key_Backspace));
    QCOMPARE(Frame->Action(CommandPreviousPane)->shortcuts().value(0),
             QKeySequence(Qt::SHIFT | Qt::Key_F6));
    for (const char* name : {"CAP", "NUM", "SCRL"})
        QVERIFY(Frame->statusBar()->findChild<QLabel*>(QString::fromLatin1(name)));

    // The View menu hides and shows the toolbar and the status bar.
    Frame->Action(CommandViewToolbar)->trigger();
    QVERIFY(!Frame->ToolBar->isVisible());
    Frame->Action(CommandViewToolbar)->trigger();
    QVERIFY(Frame->ToolBar->isVisible());
    Frame->Action(CommandViewStatusBar)->trigger();
    QVERIFY(!Frame->statusBar()->isVisible());

    // The layout: the left column, the connections over the tree.
    QCOMPARE(Frame->OuterSplitter->sizes().value(0), CMainFrame::LeftColumnWidth);
    QCOMPARE(Frame->InnerSplitter->sizes().value(0), CMainFrame::ConnectionsHeight);
    QCOMPARE(Frame->OuterSplitter->widget(1), static_cast<QWidget*>(Frame->Workspace));
}

void CMainFrameTests::enablingRules_data()
{
    QTest::addColumn<CCommandState>("state");
    QTest::addColumn<QList<int>>("disabled");
    const QList<int> perItem{CommandDeleteConnection, CommandConnectionProperties, CommandConnect,
                             CommandDisconnect};
    const QList<int> limits{CommandRowLimit1000, CommandRowLimit10000, CommandRowLimit100000,
                            CommandRowLimitNone};
    const QList<int> rows{CommandFetchAll, CommandExportResult};
    const QList<int> perWindow{CommandCut,
                               CommandCopy,
                               CommandPaste,
                               CommandUndo,
                               CommandExecute,
                               CommandRedo,
                               CommandOpenFile,
                               CommandSaveFile,
                               CommandSaveFileAs,
                               CommandRecentFile1,
                               CommandRecentFile1 + 1,
                               CommandRecentFile1 + 2,
                               CommandRecentFile1 + 3,
                               CommandFind,
                               CommandFindNext,
                               CommandFindPrevious,
                               CommandReplace,
                               CommandGoToLine,
                               CommandToggleComment,
                               CommandExecuteCurrent};
    const QList<int> stop{CommandStop};
    QTest::newRow("nothing") << CCommandState{} << perItem + perWindow + stop + limits + rows;
    QTest::newRow("a disconnected item")
        << CCommandState{true, false, true, true, false} << perWindow + stop + rows;
    QTest::newRow("a connected item")
        << CCommandState{true, true, false, false, false}
        << QList<int>{CommandPaste, CommandUndo, CommandStop, CommandRedo} + rows;
    QTest::newRow("something to paste and undo")
        << CCommandState{true, true, true, true, false} << stop + rows + QList<int>{CommandRedo};
    QTest::newRow("something to redo")
        << CCommandState{true, true, true, true, false, true} << stop + rows;
    QTest::newRow("rows shown, more to fetch")
        << CCommandState{true, true, false, false, false, false, true, true}
        << QList<int>{CommandPaste, CommandUndo, CommandStop, CommandRedo};
    QTest::newRow("connecting") << CCommandState{true, false, false, false, true}
                                << perItem + perWindow + rows;
    QTest::newRow("running") << CCommandState{true, true, true, true, true, false, true, true}
                             << perItem + rows +
                                    QList<int>{CommandExecute, CommandExecuteCurrent, CommandRedo};
}

void CMainFrameTests::enablingRules()
{
    QFETCH(CCommandState, state);
    QFETCH(QList<int>, disabled);
    for (const CMainCommand& command : MainCommands)
        if (command.Command != 0)
            QCOMPARE(IsCommandEnabled(command.Command, state), !disabled.contains(command.Command));
}

void CMainFrameTests::noProfilesOnlyAddIsEnabled()
{
    const QList<int> enabled = EnabledCommands(*Frame);
    for (int command :
         {int(CommandDeleteConnection), int(CommandConnectionProperties), int(CommandConnect),
          int(CommandDisconnect), int(CommandExecute), int(CommandCopy)})
        QVERIFY2(!enabled.contains(command), qPrintable(QString::number(command)));
    QVERIFY(enabled.contains(CommandNewConnection));
    // A disabled command does not run from its key either.
    QTest::keyClick(Frame.get(), Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(Messages.isEmpty());
}

void CMainFrameTests::databaseStrings_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("database");
    QTest::newRow("SQLite file") << 0 << "/data/a.db"
                                 << "x"
                                 << "/data/a.db";
    QTest::newRow("FireBird server and alias") << 1 << "db.example"
                                               << "sales"
                                               << "db.example:sales";
    QTest::newRow("FireBird without a server") << 1 << ""
                                               << "sales"
                                               << "localhost:sales";
    QTest::newRow("ODBC connect string") << 2 << "DSN=x;UID=a"
                                         << ""
                                         << "DSN=x;UID=a";
}

void CMainFrameTests::databaseStrings()
{
    QFETCH(int, type);
    QFETCH(QString, path);
    QFETCH(QString, alias);
    QFETCH(QString, database);
    CConnection profile;
    profile.Type = type;
    profile.Path = path;
    profile.Alias = alias;
    QCOMPARE(DatabaseString(profile), database);
}

void CMainFrameTests::endToEnd_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QStringList>("grid");
    QTest::newRow("SQLite") << ETestBackend::SQLite
                            << QStringList{"#>|n>|word<", "  1|1|one", "  2|2|two"};
    QTest::newRow("FireBird") << ETestBackend::FireBird
                              << QStringList{"#>|N>|WORD<", "  1|1|one", "  2|2|two"};
    QTest::newRow("ODBC PostgreSQL")
        << ETestBackend::OdbcPostgres << QStringList{"#>|n>|word<", "  1|1|one", "  2|2|two"};
    QTest::newRow("ODBC MariaDB") << ETestBackend::OdbcMariaDB
                                  << QStringList{"#>|n>|word<", "  1|1|one", "  2|2|two"};
}

// Add a profile through the dialog, connect, browse, run a script with
// Ctrl+F5, disconnect, quit, start again: the profile is there as it was.
void CMainFrameTests::endToEnd()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QStringList, grid);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection settings;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, settings, why), qPrintable(why));

    OnNextDialog([&](QDialog* dialog) {
        TypeInto(dialog, IdcConnectionName, QStringLiteral("Sales"));
        auto* types = FindControl<QComboBox>(dialog, IdcConnectionType);
        types->setFocus();
        for (int i = 0; i <= settings.Type; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        TypeInto(dialog, IdcConnectionPath, settings.Path);
        if (settings.Type == DatabaseTypeFireBird)
            TypeInto(dialog, IdcConnectionAlias, settings.Alias);
        ClickOk(dialog);
    });
    Frame->Action(CommandNewConnection)->trigger();
    QCOMPARE(Frame->Connections->GetConnectionCount(), 1);
    QCOMPARE(Frame->Connections->GetCurrentConnection(), 0);
    const CConnection* profile = Frame->Connections->GetConnection(0);
    QCOMPARE(profile->Name, QStringLiteral("Sales"));
    QCOMPARE(profile->Type, settings.Type);
    QVERIFY(!profile->RememberAuth);

    // A table made behind the program's back, to be found in the tree.
    {
        CConnection maker = settings;
        QString error;
        QVERIFY2(OpenConnection(maker, error), qPrintable(error));
        QVERIFY2(maker.Database->ExecuteSQL(
                     QStringLiteral("CREATE TABLE words (n INTEGER, word VARCHAR(10))"), error),
                 qPrintable(error));
    }

    // Connect: FireBird and ODBC ask for the login.
    int logins = 0;
    if (settings.Type != DatabaseTypeSQLite)
        OnNextDialog([&](QDialog* dialog) {
            ++logins;
            TypeInto(dialog, 1003, settings.Login);
            TypeInto(dialog, 1004, settings.Password);
            ClickOk(dialog);
        });
    Frame->Action(CommandConnect)->trigger();
    QVERIFY(Idle());
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    QCOMPARE(logins, settings.Type != DatabaseTypeSQLite ? 1 : 0);
    CConnectionWnd* window = Window(0);
    QVERIFY(window);
    QCOMPARE(Frame->Connections->GetConnectionImage(0), 0);
    QCOMPARE(TreeText(Frame->TableTree).size(), 1);
    QCOMPARE(TreeText(Frame->TableTree).first().toLower(), QStringLiteral("words: n, word"));
    QCOMPARE(window->parentWidget(), static_cast<QWidget*>(Frame->Workspace));
    QCOMPARE(window->geometry(), Frame->Workspace->rect());
    // The editor has the focus within the window (a modal dialog has just
    // taken the window's activation away).
    QCOMPARE(Frame->focusWidget(), static_cast<QWidget*>(window->Editor));

    // Type a script and run it with Ctrl+F5.
    QApplication::setActiveWindow(Frame.get());
    QVERIFY(QTest::qWaitForWindowActive(Frame.get()));
    QTest::keyClicks(window->Editor, QStringLiteral("INSERT INTO words VALUES (1, 'one');"));
    QTest::keyClick(window->Editor, Qt::Key_Return);
    QTest::keyClicks(window->Editor, QStringLiteral("INSERT INTO words VALUES (2, 'two');"));
    QTest::keyClick(window->Editor, Qt::Key_Return);
    QTest::keyClicks(window->Editor, QStringLiteral("SELECT n, word FROM words ORDER BY n"));
    QTest::keyClick(window->Editor, Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(Idle());
    QCOMPARE(GridText(window->ResultList->Model()), grid);

    // Disconnect, quit, start again.
    Frame->Action(CommandDisconnect)->trigger();
    QVERIFY(!Window(0));
    QCOMPARE(Frame->Connections->GetConnectionImage(0), -1);
    QCOMPARE(Frame->TableTree->topLevelItemCount(), 0);
    Frame->close();
    Frame = NewFrame();
    QCOMPARE(Frame->Connections->GetConnectionCount(), 1);
    const CConnection* again = Frame->Connections->GetConnection(0);
    QCOMPARE(again->Name, QStringLiteral("Sales"));
    QCOMPARE(again->Type, settings.Type);
    QCOMPARE(again->Path, settings.Path);
    QCOMPARE(again->Alias, settings.Alias);
    QVERIFY(again->Login.isEmpty()); // not remembered
}

void CMainFrameTests::tablesInExactOrderAndEmptyDatabase()
{
    const QString file = Files.filePath(QStringLiteral("order.db"));
    {
        CSQLiteDatabase maker;
        QString error;
        QVERIFY(maker.Connect(file, {}, {}, error));
        QVERIFY(maker.ExecuteSQL(QStringLiteral("CREATE TABLE b (y); CREATE TABLE a (x, z); "
                                                "CREATE TABLE C (w)"),
                                 error));
    }
    CConnection profile;
    profile.Name = QStringLiteral("ordered");
    profile.Type = DatabaseTypeSQLite;
    profile.Path = file;
    Connect(AddProfile(profile));
    QCOMPARE(TreeText(Frame->TableTree), (QStringList{"C: w", "a: x, z", "b: y"}));
    // Connect again on a connected profile: nothing happens, nothing is said.
    CConnectionWnd* window = Window(0);
    Frame->Action(CommandConnect)->trigger();
    QVERIFY(Idle());
    QCOMPARE(Window(0), window);
    QVERIFY(Messages.isEmpty());

    profile.Name = QStringLiteral("empty");
    profile.Path = Files.filePath(QStringLiteral("empty.db"));
    const int empty = AddProfile(profile);
    Connect(empty);
    QVERIFY(Window(empty));
    QCOMPARE(Frame->TableTree->topLevelItemCount(), 0);
    // Only the selected profile's window is shown; the tree follows the selection.
    QVERIFY(Window(empty)->isVisible());
    QVERIFY(!Window(0)->isVisible());
    Frame->Connections->SelectConnection(0);
    QVERIFY(Window(0)->isVisible());
    QVERIFY(!Window(empty)->isVisible());
    QCOMPARE(Frame->TableTree->topLevelItemCount(), 3);
}

void CMainFrameTests::loginRules()
{
    // SQLite never asks, whatever RememberAuth says.
    CConnection profile = SQLiteProfile(QStringLiteral("file"), QStringLiteral("login.db"));
    profile.RememberAuth = false;
    int dialogs = 0;
    auto* watch = new QTimer(Frame.get());
    connect(watch, &QTimer::timeout, this, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    watch->start(5);
    Connect(AddProfile(profile));
    QCOMPARE(dialogs, 0);
    QVERIFY(Window(0));
    delete watch;

    // An unset type asks, then fails with its message; the values typed are
    // offered again next time.
    CConnection unset;
    unset.Name = QStringLiteral("unset");
    const int index = AddProfile(unset);
    QString offered;
    OnNextDialog([&](QDialog* dialog) {
        TypeInto(dialog, 1003, QStringLiteral("kim"));
        TypeInto(dialog, 1004, QStringLiteral("secret"));
        ClickOk(dialog);
    });
    Connect(index);
    QCOMPARE(Messages, QStringList{"Wrong database type or database type not specified"});
    OnNextDialog([&](QDialog* dialog) {
        offered = FindControl<QLineEdit>(dialog, 1003)->text() + u'/' +
                  FindControl<QLineEdit>(dialog, 1004)->text();
        QCOMPARE(FindControl<QLineEdit>(dialog, 1004)->echoMode(), QLineEdit::Password);
        dialog->reject(); // Cancel abandons the connection
    });
    Connect(index);
    QCOMPARE(offered, QStringLiteral("kim/secret"));
    QCOMPARE(Messages.size(), 1);
    QVERIFY(!Window(index));

    // No current item.
    Frame->Connections->SelectConnection(-1);
    Messages.clear();
    Frame->RunConnectionCommand(CommandConnect); // disabled: nothing runs
    QVERIFY(Messages.isEmpty());
}

void CMainFrameTests::deleteKeepsASelection()
{
    for (const char* name : {"one", "two", "three"}) {
        CConnection profile;
        profile.Name = QString::fromLatin1(name);
        AddProfile(profile);
    }
    Answer = QMessageBox::No;
    Frame->Action(CommandDeleteConnection)->trigger();
    QCOMPARE(Messages, QStringList{"Do you really want to delete the selected connection?"});
    QCOMPARE(Frame->Connections->GetConnectionCount(), 3);

    Answer = QMessageBox::Yes;
    Frame->Action(CommandDeleteConnection)->trigger(); // the last of three
    QCOMPARE(Frame->Connections->GetConnectionCount(), 2);
    QCOMPARE(Frame->Connections->GetCurrentConnection(), 1);
    QCOMPARE(Frame->Connections->GetConnectionText(1), QStringLiteral("two"));

    Frame->Connections->SelectConnection(0); // the first
    Frame->Action(CommandDeleteConnection)->trigger();
    QCOMPARE(Frame->Connections->GetConnectionCount(), 1);
    QCOMPARE(Frame->Connections->GetCurrentConnection(), 0);
    QCOMPARE(Frame->Connections->GetConnectionText(0), QStringLiteral("two"));

    Frame->Action(CommandDeleteConnection)->trigger();
    QCOMPARE(Frame->Connections->GetConnectionCount(), 0);
    QVERIFY(!Frame->Action(CommandDeleteConnection)->isEnabled());
}

void CMainFrameTests::deletingAConnectedProfileClosesIt()
{
    CConnection profile = SQLiteProfile(QStringLiteral("connected"), QStringLiteral("delete.db"));
    Connect(AddProfile(profile));
    QPointer<CConnectionWnd> window = Window(0);
    QVERIFY(window);
    Frame->Action(CommandDeleteConnection)->trigger();
    QVERIFY(!window);
    QCOMPARE(Frame->Connections->GetConnectionCount(), 0);
    QVERIFY(Frame->Workspace->findChildren<CConnectionWnd*>().isEmpty());
}

void CMainFrameTests::propertiesOfAConnectedProfile()
{
    CConnection profile = SQLiteProfile(QStringLiteral("props"), QStringLiteral("props.db"));
    Connect(AddProfile(profile));
    const auto edit = [](const QString& name, const QString& path) {
        OnNextDialog([name, path](QDialog* dialog) {
            TypeInto(dialog, IdcConnectionName, name);
            TypeInto(dialog, IdcConnectionPath, path);
            ClickOk(dialog);
        });
    };
    const QString otherPath = Files.filePath(QStringLiteral("other.db"));

    // A new name alone: applied at once, still connected, no question.
    edit(QStringLiteral("renamed"), profile.Path);
    Frame->Action(CommandConnectionProperties)->trigger();
    QVERIFY(Messages.isEmpty());
    QCOMPARE(Frame->Connections->GetConnectionText(0), QStringLiteral("renamed"));
    QVERIFY(Window(0));

    // A new path, answered No: nothing changes.
    Answer = QMessageBox::No;
    edit(QStringLiteral("moved"), otherPath);
    Frame->Action(CommandConnectionProperties)->trigger();
    QCOMPARE(Messages.size(), 1);
    QVERIFY(Messages.first().startsWith(
        QStringLiteral("Database connection properties has changed. To you wish to closer the "
                       "connectiopn that was made with the old connection properties?\r\n\r\n"
                       "Answering \"No\" will mean")));
    QCOMPARE(Frame->Connections->GetConnection(0)->Path, profile.Path);
    QCOMPARE(Frame->Connections->GetConnectionText(0), QStringLiteral("renamed"));
    QVERIFY(Window(0));

    // Answered Yes: disconnected, the new values stored, no tables kept.
    Answer = QMessageBox::Yes;
    edit(QStringLiteral("moved"), otherPath);
    Frame->Action(CommandConnectionProperties)->trigger();
    const CConnection* changed = Frame->Connections->GetConnection(0);
    QCOMPARE(changed->Path, otherPath);
    QCOMPARE(changed->Name, QStringLiteral("moved"));
    QVERIFY(!changed->Database);
    QVERIFY(!Window(0));
    QVERIFY(changed->Tables.isEmpty());
}

void CMainFrameTests::pasteAndUndoFollowTheEditor()
{
    CConnection profile = SQLiteProfile(QStringLiteral("editing"), QStringLiteral("edit.db"));
    Connect(AddProfile(profile));
    CConnectionWnd* window = Window(0);
    QApplication::clipboard()->clear();
    QTest::qWait(10);
    QVERIFY(!Frame->Action(CommandPaste)->isEnabled());
    QVERIFY(!Frame->Action(CommandUndo)->isEnabled());
    QVERIFY(Frame->Action(CommandCopy)->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("SELECT 5"));
    QTRY_VERIFY(Frame->Action(CommandPaste)->isEnabled());
    QTest::keyClicks(window->Editor, QStringLiteral("x"));
    QVERIFY(Frame->Action(CommandUndo)->isEnabled());
    Frame->Action(CommandUndo)->trigger();
    QVERIFY(window->Editor->toPlainText().isEmpty());
    QVERIFY(!Frame->Action(CommandUndo)->isEnabled());
    // An image is nothing the editor accepts.
    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(image);
    QTRY_VERIFY(!Frame->Action(CommandPaste)->isEnabled());
}

void CMainFrameTests::clipboardCommandsReachTheShownEditor()
{
    CConnection profile = SQLiteProfile(QStringLiteral("clip"), QStringLiteral("clip.db"));
    Connect(AddProfile(profile));
    CConnectionWnd* window = Window(0);
    window->Editor->setPlainText(QStringLiteral("SELECT 1"));
    window->Editor->selectAll();
    Frame->Connections->setFocus(); // the command works from any pane
    Frame->Action(CommandCopy)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("SELECT 1"));
    Frame->Action(CommandCut)->trigger();
    QVERIFY(window->Editor->toPlainText().isEmpty());
    Frame->Action(CommandPaste)->trigger();
    Frame->Action(CommandPaste)->trigger();
    QCOMPARE(window->Editor->toPlainText(), QStringLiteral("SELECT 1SELECT 1"));
    // The splitter bar's menu reaches the frame's handler as well.
    window->Editor->selectAll();
    Frame->RunClipboardCommand(CommandCut);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("SELECT 1SELECT 1"));
    QCOMPARE(window->ClipboardHandler, static_cast<CClipboardHandler*>(Frame.get()));
}

void CMainFrameTests::quitSavesThenClosesEveryConnection()
{
    for (const char* name : {"first", "second"}) {
        CConnection profile;
        profile.Name = QString::fromLatin1(name);
        profile.Type = DatabaseTypeSQLite;
        profile.Path = Files.filePath(QString::fromLatin1(name) + QStringLiteral(".db"));
        Connect(AddProfile(profile));
    }
    QPointer<CConnectionWnd> first = Window(0);
    QPointer<CConnectionWnd> second = Window(1);
    QVERIFY(first && second);
    // Quitting from the File menu.
    Frame->Action(CommandExit)->trigger();
    QVERIFY(!first && !second);
    QVERIFY(!Frame->Connections->GetConnection(0)->Database);
    QVERIFY(!Frame->Connections->GetConnection(1)->Database);
    QVERIFY(Messages.isEmpty());
    Frame = NewFrame();
    QCOMPARE(Frame->Connections->GetConnectionCount(), 2);
    QCOMPARE(Frame->Connections->GetConnectionText(1), QStringLiteral("second"));
}

// While a profile runs a script, what would destroy its database or window
// waits: Delete, Disconnect, Properties and Execute are disabled, Stop is
// enabled. Quitting asks first: "No" keeps the program and the run, "Yes"
// stops the run, saves the profiles and quits.
void CMainFrameTests::busyWindowHoldsOffWhatWouldDestroyIt()
{
    CConnection profile = SQLiteProfile(QStringLiteral("busy"), QStringLiteral("busy.db"));
    Connect(AddProfile(profile));
    CConnection idle = SQLiteProfile(QStringLiteral("idle"), QStringLiteral("idle.db"));
    AddProfile(idle);
    Frame->Connections->SelectConnection(0);
    CConnectionWnd* window = Window(0);
    window->Editor->setPlainText(QStringLiteral(
        "CREATE TABLE counted AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
        "WHERE x < 100000000) SELECT count(*) AS n FROM c"));
    Frame->Action(CommandExecute)->trigger();
    QVERIFY(window->IsBusy());
    const QList<int> enabled = EnabledCommands(*Frame);
    for (int command : {int(CommandDeleteConnection), int(CommandConnectionProperties),
                        int(CommandDisconnect), int(CommandExecute), int(CommandConnect)})
        QVERIFY2(!enabled.contains(command), qPrintable(QString::number(command)));
    QVERIFY(enabled.contains(CommandStop));
    QVERIFY(enabled.contains(CommandCopy));
    Frame->RunConnectionCommand(CommandDisconnect);
    Frame->RunConnectionCommand(CommandDeleteConnection);
    QVERIFY(Messages.isEmpty());
    // The other profile is not held up.
    Frame->Connections->SelectConnection(1);
    QVERIFY(EnabledCommands(*Frame).contains(CommandDeleteConnection));
    QVERIFY(!EnabledCommands(*Frame).contains(CommandStop));
    Frame->Connections->SelectConnection(0);

    Answer = QMessageBox::No;
    QVERIFY(!Frame->close());
    QCOMPARE(Messages, QStringList{"A statement is still running on \"busy\". Stop it and quit?"});
    QVERIFY(Frame->isVisible());
    QVERIFY(window->IsBusy());

    Answer = QMessageBox::Yes;
    QElapsedTimer quitting;
    quitting.start();
    QVERIFY(Frame->close());
    QVERIFY(quitting.elapsed() < CMainFrame::QuitWaitMilliseconds);
    QVERIFY(!Frame->isVisible());
    QVERIFY(!Frame->Connections->GetConnection(0)->Database);
    QCOMPARE(Messages.size(), 2);
    Frame = NewFrame();
    QCOMPARE(Frame->Connections->GetConnectionCount(), 2);
    QCOMPARE(Frame->Connections->GetConnectionText(0), QStringLiteral("busy"));
}

void CMainFrameTests::focusMovesBetweenPanes()
{
    CConnection profile = SQLiteProfile(QStringLiteral("panes"), QStringLiteral("panes.db"));
    Connect(AddProfile(profile));
    CConnectionWnd* window = Window(0);
    QApplication::setActiveWindow(Frame.get());
    Frame->Connections->setFocus();
    QWidget* expected[] = {Frame->TableTree, window->Editor, window->ResultList,
                           Frame->Connections};
    for (QWidget* pane : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), pane);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window->ResultList));
}

// A database file given on the command line: a new profile named after it,
// or the saved profile of the same file however its path is written; a
// missing file or one that is not a database is refused and left alone.
void CMainFrameTests::openingADatabaseFile()
{
    QDir folder(Files.path());
    folder.mkpath(QStringLiteral("open/sub"));
    const QString file = folder.filePath(QStringLiteral("open/shop.db"));
    {
        CSQLiteDatabase maker;
        QString error;
        QVERIFY(maker.Connect(file, {}, {}, error));
        QVERIFY(maker.ExecuteSQL(QStringLiteral("CREATE TABLE items (a)"), error));
    }
    Frame->OpenDatabaseFile(file);
    QVERIFY(Idle());
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    QCOMPARE(Frame->Connections->GetConnectionCount(), 1);
    QCOMPARE(Frame->Connections->GetConnectionText(0), QStringLiteral("shop.db"));
    QVERIFY(Window(0));
    QCOMPARE(TreeText(Frame->TableTree), QStringList{"items: a"});

    // The same file, written another way, after a disconnect: the same profile.
    Frame->Action(CommandDisconnect)->trigger();
    CConnection other;
    other.Name = QStringLiteral("other");
    AddProfile(other);
    Frame->OpenDatabaseFile(folder.filePath(QStringLiteral("open/sub/../shop.db")));
    QVERIFY(Idle());
    QCOMPARE(Frame->Connections->GetConnectionCount(), 2);
    QCOMPARE(Frame->Connections->GetCurrentConnection(), 0);
    QVERIFY(Window(0));
    QVERIFY(QFile::link(file, folder.filePath(QStringLiteral("link.db"))));
    Frame->OpenDatabaseFile(folder.filePath(QStringLiteral("link.db")));
    QCOMPARE(Frame->Connections->GetConnectionCount(), 2);

    // Refused: nothing is added, created or changed.
    const QString missing = folder.filePath(QStringLiteral("open/missing.db"));
    Frame->OpenDatabaseFile(missing);
    QCOMPARE(Messages.size(), 1);
    QVERIFY(Messages.last().contains(QStringLiteral("there is no such file")));
    QVERIFY(!QFile::exists(missing));
    const QString text = folder.filePath(QStringLiteral("notes.txt"));
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a database at all, but a note\n");
    notes.close();
    Frame->OpenDatabaseFile(text);
    QCOMPARE(Messages.size(), 2);
    QVERIFY(Messages.last().contains(QStringLiteral("is not an SQLite database")));
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(notes.readAll(), QByteArray("not a database at all, but a note\n"));
    QCOMPARE(Frame->Connections->GetConnectionCount(), 2);
}

// A store that cannot be read is reported and leaves an empty list with the
// toolbar and the status bar standing; a store that cannot be written is
// reported when the window closes.
void CMainFrameTests::storeFaultsAreShown()
{
    Frame.reset();
    const QString store = Config.filePath(QStringLiteral("Brevan/Tablescope.reg"));
    QDir().mkpath(QFileInfo(store).path());
    QFile broken(store);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("this is no registry file\n");
    broken.close();
    Frame = NewFrame();
    QCOMPARE(Messages.size(), 1);
    QCOMPARE(Frame->Connections->GetConnectionCount(), 0);
    QVERIFY(Frame->ToolBar->isVisible());
    QVERIFY(Frame->statusBar()->isVisible());
    Frame.reset();
    QFile::remove(store);

    Messages.clear();
    Frame = NewFrame();
    CConnection profile;
    profile.Name = QStringLiteral("kept in memory");
    AddProfile(profile);
    // A folder where the store file should be: it cannot be replaced.
    QDir().mkpath(store);
    Frame->close();
    QCOMPARE(Messages.size(), 1);
    QDir(store).removeRecursively();
}

void CMainFrameTests::helpAndAbout()
{
    QString helpText;
    OnNextDialog([&](QDialog* dialog) {
        helpText = dialog->findChild<QTextBrowser*>()->toPlainText();
        dialog->reject();
    });
    QTest::keyClick(Frame.get(), Qt::Key_F1);
    QVERIFY(helpText.contains(QStringLiteral("Ctrl+F5")));
    QVERIFY(helpText.contains(QStringLiteral("Connect Database")));
    QString caption;
    OnNextDialog([&](QDialog* dialog) {
        caption = dialog->windowTitle();
        dialog->reject();
    });
    Frame->Action(CommandAbout)->trigger();
    QCOMPARE(caption, QStringLiteral("About Tablescope"));
}

void CMainFrameTests::tableNamesAreNeverRunAsSql_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::newRow("SQLite") << ETestBackend::SQLite;
    QTest::newRow("FireBird") << ETestBackend::FireBird;
    QTest::newRow("ODBC PostgreSQL") << ETestBackend::OdbcPostgres;
    QTest::newRow("ODBC MariaDB") << ETestBackend::OdbcMariaDB;
}

// Tables whose names need quoting, one of them made to run a second
// statement if its name were spliced into SQL: every table lists its
// columns, and the victim table is still there.
void CMainFrameTests::tableNamesAreNeverRunAsSql()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection profile;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    profile.Name = QStringLiteral("quoting");
    const QStringList names{"order", "with space", "it's", "semi;colon",
                            "x\"; DROP TABLE victim; --"};
    QString error;
    QVERIFY2(Databases.Run(profile, QStringLiteral("CREATE TABLE victim (v INTEGER)"), error),
             qPrintable(error));
    for (const QString& name : names) {
        QString quoted = name;
        quoted.replace(u'"', QStringLiteral("\"\""));
        QVERIFY2(Databases.Run(
                     profile,
                     QStringLiteral("CREATE TABLE \"%1\" (c1 INTEGER, c2 INTEGER)").arg(quoted),
                     error),
                 qPrintable(error));
    }
    Connect(AddProfile(profile));
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    QStringList tree = TreeText(Frame->TableTree);
    for (QString& line : tree)
        line = line.toLower();
    for (const QString& name : names)
        QVERIFY2(tree.contains(name.toLower() + QStringLiteral(": c1, c2")),
                 qPrintable(tree.join(u'\n')));
    QVERIFY2(tree.contains(QStringLiteral("victim: v")), qPrintable(tree.join(u'\n')));
    QCOMPARE(tree.size(), names.size() + 1);
}

void CMainFrameTests::tablesOfThisDatabaseOnly_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("setup");     // run on the profile's database
    QTest::addColumn<QString>("elsewhere"); // run on another database of the same server
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("query"); // run in the connection's window
    QTest::addColumn<QStringList>("grid");
    const QString otherTables =
        QStringLiteral("CREATE TABLE orders (a INTEGER); CREATE TABLE accounts (b INTEGER)");
    QTest::newRow("MariaDB: an empty database beside a full one")
        << ETestBackend::OdbcMariaDB << QString() << otherTables << QStringList{}
        << "SELECT 1 AS one" << QStringList{"#>|one>", "  1|1"};
    QTest::newRow("MariaDB: the same names in another database")
        << ETestBackend::OdbcMariaDB << "CREATE TABLE orders (mine INTEGER)" << otherTables
        << QStringList{"orders: mine"} << "SELECT mine FROM orders" << QStringList{"#>|mine>"};
    QTest::newRow("PostgreSQL: a second schema, one name in both")
        << ETestBackend::OdbcPostgres
        << "DROP SCHEMA IF EXISTS sales CASCADE; CREATE SCHEMA sales; "
           "CREATE TABLE orders (a INTEGER); CREATE TABLE sales.orders (b INTEGER); "
           "CREATE TABLE sales.\"odd.\"\"name\" (c INTEGER); INSERT INTO sales.orders VALUES (7)"
        << QString() << QStringList{"orders: a", "sales.odd.\"name: c", "sales.orders: b"}
        << "SELECT b FROM sales.orders" << QStringList{"#>|b>", "  1|7"};
}

// The tree lists the tables of the database the profile names, each table
// of another schema by its qualified name, and reads each one's columns
// where it is.
void CMainFrameTests::tablesOfThisDatabaseOnly()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, setup);
    QFETCH(QString, elsewhere);
    QFETCH(QStringList, tree);
    QFETCH(QString, query);
    QFETCH(QStringList, grid);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection profile;
    CConnection other;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    QString error;
    if (!setup.isEmpty())
        QVERIFY2(Databases.Run(profile, setup, error), qPrintable(error));
    if (!elsewhere.isEmpty()) {
        QVERIFY2(Databases.NewProfile(backend, other, why), qPrintable(why));
        QVERIFY2(Databases.Run(other, elsewhere, error), qPrintable(error));
    }
    profile.Name = QStringLiteral("this one");
    Connect(AddProfile(profile));
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    QCOMPARE(TreeText(Frame->TableTree), tree);

    CConnectionWnd* window = Window(0);
    QVERIFY(window);
    window->Editor->setPlainText(query);
    Frame->Action(CommandExecute)->trigger();
    QVERIFY(Idle());
    QCOMPARE(GridText(window->ResultList->Model()), grid);
}

void CMainFrameTests::unreadableTableIsMarked_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message"); // a piece of the database's own
    QTest::newRow("PostgreSQL") << ETestBackend::OdbcPostgres
                                << "CREATE TABLE open_one (a INTEGER); CREATE TABLE secret (s "
                                   "INTEGER); REVOKE ALL ON secret FROM CURRENT_USER"
                                << "permission denied";
    // Connected as the limited login, which may only write to secret.
    const QString limited =
        QStringLiteral("'%1'@'127.0.0.1'").arg(CTestDatabases::MariaDBLimitedUser());
    QTest::newRow("MariaDB") << ETestBackend::OdbcMariaDB
                             << QStringLiteral("CREATE TABLE open_one (a INTEGER); CREATE TABLE "
                                               "secret (s INTEGER); GRANT SELECT ON open_one TO "
                                               "%1; GRANT INSERT ON secret TO %1")
                                    .arg(limited)
                             << "SELECT command denied";
    // A view over a table dropped since: marked as a table is.
    const QString brokenView =
        QStringLiteral("CREATE TABLE open_one (a INTEGER); CREATE TABLE gone (g INTEGER); "
                       "CREATE VIEW secret AS SELECT g FROM gone; DROP TABLE gone");
    QTest::newRow("SQLite: a view without its table")
        << ETestBackend::SQLite << brokenView << "no such table: main.gone";
    QTest::newRow("SQLite through ODBC: a view without its table")
        << ETestBackend::OdbcSQLite << brokenView << "no such table: main.gone";
}

// A table whose columns cannot be read costs that table only: the
// connection opens, the table is marked and says why.
void CMainFrameTests::unreadableTableIsMarked()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, setup);
    QFETCH(QString, message);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection profile;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    QString error;
    QVERIFY2(Databases.Run(profile, setup, error), qPrintable(error));
    profile.Name = QStringLiteral("partly readable");
    if (backend == ETestBackend::OdbcMariaDB) {
        profile.Path = CTestDatabases::WithoutCredentials(profile.Path);
        profile.Login = CTestDatabases::MariaDBLimitedUser();
        profile.Password = CTestDatabases::MariaDBLimitedPassword();
    }
    Connect(AddProfile(profile));
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    QCOMPARE(TreeText(Frame->TableTree), (QStringList{"open_one: a", "secret: "}));
    const QTreeWidgetItem* readable = Frame->TableTree->topLevelItem(0);
    const QTreeWidgetItem* secret = Frame->TableTree->topLevelItem(1);
    QVERIFY(readable->icon(0).isNull());
    QVERIFY(readable->toolTip(0).isEmpty());
    QVERIFY(!secret->icon(0).isNull());
    QVERIFY2(secret->toolTip(0).contains(message), qPrintable(secret->toolTip(0)));
    QVERIFY(Window(0));
}

void CMainFrameTests::typedCredentialsReachTheDriver_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<bool>("ownCredentials"); // the connect string keeps its UID and PWD
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message"); // a piece of the driver's; empty: connects
    const QString denied = QStringLiteral("Access denied");
    QTest::newRow("MariaDB: no credentials in the DSN, the right password")
        << ETestBackend::OdbcMariaDB << false << "tablescope"
        << "tablescope" << QString();
    QTest::newRow("MariaDB: no credentials in the DSN, a wrong password")
        << ETestBackend::OdbcMariaDB << false << "tablescope"
        << "wrong;pass}word" << denied;
    QTest::newRow("MariaDB: a password with ; } and a blank")
        << ETestBackend::OdbcMariaDB << false << CTestDatabases::MariaDBLimitedUser()
        << CTestDatabases::MariaDBLimitedPassword() << QString();
    QTest::newRow("MariaDB: typed credentials win over the string's own")
        << ETestBackend::OdbcMariaDB << true << "tablescope"
        << "not the password" << denied;
    QTest::newRow("MariaDB: the string's own, an empty dialog")
        << ETestBackend::OdbcMariaDB << true << QString() << QString() << QString();
    const QString failed = QStringLiteral("password authentication failed");
    QTest::newRow("PostgreSQL: the right password")
        << ETestBackend::OdbcPostgres << false << "tablescope"
        << "tablescope" << QString();
    QTest::newRow("PostgreSQL: a wrong password wins over the data source's")
        << ETestBackend::OdbcPostgres << false << "tablescope"
        << "wrong;pass}word" << failed;
    QTest::newRow("PostgreSQL: the string's own, an empty dialog")
        << ETestBackend::OdbcPostgres << true << QString() << QString() << QString();
}

// What the user types into the login dialog is what the driver logs in
// with; a refused login shows the driver's message and never the password.
void CMainFrameTests::typedCredentialsReachTheDriver()
{
    QFETCH(ETestBackend, backend);
    QFETCH(bool, ownCredentials);
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(QString, message);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection profile;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    QString error;
    QVERIFY2(Databases.Run(profile, QStringLiteral("CREATE TABLE t (a INTEGER)"), error),
             qPrintable(error));
    if (backend == ETestBackend::OdbcMariaDB)
        QVERIFY2(Databases.Run(profile,
                               QStringLiteral("GRANT SELECT ON t TO '%1'@'127.0.0.1'")
                                   .arg(CTestDatabases::MariaDBLimitedUser()),
                               error),
                 qPrintable(error));
    if (!ownCredentials)
        profile.Path = CTestDatabases::WithoutCredentials(profile.Path);
    profile.Name = QStringLiteral("typed");
    profile.RememberAuth = false;
    const int index = AddProfile(profile);
    int logins = 0;
    OnNextDialog([&](QDialog* dialog) {
        ++logins;
        TypeInto(dialog, 1003, login);
        TypeInto(dialog, 1004, password);
        ClickOk(dialog);
    });
    Connect(index);
    QCOMPARE(logins, 1);
    if (message.isEmpty()) {
        QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
        QVERIFY(Window(index));
        QCOMPARE(TreeText(Frame->TableTree), QStringList{"t: a"});
        return;
    }
    QVERIFY(!Window(index));
    QCOMPARE(Messages.size(), 1);
    QVERIFY2(Messages.first().contains(message), qPrintable(Messages.first()));
    QVERIFY(!Messages.first().contains(password));
    QVERIFY(!Frame->windowTitle().contains(password));
}

QTEST_MAIN(CMainFrameTests)
#include "tst_MainFrame.moc"
