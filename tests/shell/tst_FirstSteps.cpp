// The first steps of a new user, under the offscreen platform with real keys
// and clicks: the empty first start and its two ways in, a database file
// dropped on the window, the layout kept from one start to the next, a
// double click on a profile connecting it, and names from the table tree
// into the editor, quoted as each database needs, on SQLite, FireBird and
// PostgreSQL through ODBC.

// Mouse events take the platform's path, which makes double clicks as a
// real mouse does.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/ControlName.h"
#include "profiles/ConnectionDlg.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/DatabaseFileDialog.h"
#include "profiles/LoginDlg.h"
#include "resources/ConnectionDialog.h"
#include "resources/MainMenu.h"
#include "shell/ConnectionTest.h"
#include "shell/MainFrame.h"
#include "shell/StartHint.h"
#include "shell/TablescopeApp.h"
#include "shell/WindowLayout.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/IdentifierQuoting.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultGrid.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/TestDatabases.h"
#include "workspace/WaitForRun.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ETestBackend)
Q_DECLARE_METATYPE(CIdentifierQuoting::EFolding)

namespace {

// Chooses the action named name in the next pop-up menu once it shows.
void ChooseInNextMenu(const QString& name)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->deleteLater();
        auto* action = menu->findChild<QAction*>(name);
        if (action && action->isEnabled())
            menu->setActiveAction(action);
        QTest::keyClick(menu, action ? Qt::Key_Return : Qt::Key_Escape);
    });
    timer->start(10);
}

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

// Answers the next login dialog with user and password.
void OnNextLogin(const QString& user, const QString& password, int* asked)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto* login = qobject_cast<CLoginDlg*>(QApplication::activeModalWidget());
        if (!login)
            return;
        timer->deleteLater();
        ++*asked;
        for (const auto& [id, text] : {std::pair{1003, user}, std::pair{1004, password}}) {
            auto* edit = FindControl<QLineEdit>(login, id);
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(FindControl<QPushButton>(login, 1), Qt::LeftButton);
    });
    timer->start(10);
}

// A port on 127.0.0.1 that takes connections into its backlog and never
// accepts them: a server that does not answer. 0 when none could be had.
class CSilentPort
{
public:
    CSilentPort()
    {
        Socket_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (Socket_ < 0 || bind(Socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(Socket_, 4) != 0 ||
            getsockname(Socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        Port = ntohs(address.sin_port);
    }
    ~CSilentPort()
    {
        if (Socket_ >= 0)
            ::close(Socket_);
    }
    CSilentPort(const CSilentPort&) = delete;
    CSilentPort& operator=(const CSilentPort&) = delete;

    quint16 Port = 0;

private:
    int Socket_ = -1;
};

// Drops files on widget as a file manager does; true when it was taken.
bool DropFiles(QWidget* widget, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    const QPoint at = widget->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &drop);
    return drop.isAccepted();
}

QPoint ItemCentre(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    return tree->visualItemRect(item).center();
}

} // namespace

class CFirstStepsTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void quoting_data();
    void quoting();
    void firstStartNewConnection();
    void firstStartOpenFile();
    void testConnection_data();
    void testConnection();
    void testConnectionStopped();
    void dropFiles_data();
    void dropFiles();
    void layoutKept();
    void layoutOffEveryScreen();
    void doubleClickConnectsThenShows();
    void namesFromTheTree_data();
    void namesFromTheTree();

private:
    bool Idle(int milliseconds = 60000) const;
    QString NewSQLiteFile(const QString& name, const QStringList& statements);

    QTemporaryDir Config;
    QTemporaryDir Files;
    std::unique_ptr<CMainFrame> Frame;
    QStringList Messages;
    CTestDatabases Databases;
};

void CFirstStepsTests::initTestCase()
{
    CTablescopeApp::SetUp();
}

void CFirstStepsTests::init()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config.path()));
    QFile::remove(Config.filePath(QStringLiteral("Brevan/Tablescope.reg")));
    Messages.clear();
    SetMessageBoxAnswerer([this](const QString& text, QMessageBox::StandardButtons buttons) {
        Messages.append(text);
        return buttons & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok;
    });
    Frame = std::make_unique<CMainFrame>();
    Frame->resize(1000, 700);
    Frame->show();
    QApplication::setActiveWindow(Frame.get());
    QVERIFY(QTest::qWaitForWindowExposed(Frame.get()));
    // On an X server without a window manager nothing becomes active.
    if (!QTest::qWaitForWindowActive(Frame.get()))
        qWarning("The main window did not become active");
}

void CFirstStepsTests::cleanup()
{
    Frame.reset();
    SetMessageBoxAnswerer({});
    SetDatabaseFileAnswerer({});
    QFile::remove(CWindowLayout::FileName());
}

// A database file with what the statements make in it.
QString CFirstStepsTests::NewSQLiteFile(const QString& name, const QStringList& statements)
{
    CConnection maker;
    maker.Type = DatabaseTypeSQLite;
    maker.Path = Files.filePath(name);
    QFile::remove(maker.Path);
    for (const QString& sql : statements) {
        QString error;
        if (!Databases.Run(maker, sql, error))
            qWarning("%s", qPrintable(error));
    }
    return maker.Path;
}

bool CFirstStepsTests::Idle(int milliseconds) const
{
    return QTest::qWaitFor(
        [this] {
            for (int i = 0; i < Frame->Connections->GetConnectionCount(); ++i)
                if (Frame->IsBusy(Frame->Connections->GetConnection(i)))
                    return false;
            return true;
        },
        milliseconds);
}

void CFirstStepsTests::quoting_data()
{
    QTest::addColumn<CIdentifierQuoting::EFolding>("folding");
    QTest::addColumn<QString>("quote");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");

    const auto none = CIdentifierQuoting::FoldNone;
    const auto upper = CIdentifierQuoting::FoldUpper;
    const auto lower = CIdentifierQuoting::FoldLower;
    const QString dq = QStringLiteral("\"");
    QTest::newRow("plain") << none << dq << "items"
                           << "items";
    QTest::newRow("mixed case kept") << none << dq << "MixedCase"
                                     << "MixedCase";
    QTest::newRow("blank") << none << dq << "two words"
                           << "\"two words\"";
    QTest::newRow("quote doubled") << none << dq << "say\"hi"
                                   << "\"say\"\"hi\"";
    QTest::newRow("keyword") << none << dq << "Order"
                             << "\"Order\"";
    QTest::newRow("function name") << upper << dq << "UPPER"
                                   << "\"UPPER\"";
    QTest::newRow("leading digit") << none << dq << "1st"
                                   << "\"1st\"";
    QTest::newRow("not ASCII") << none << dq << QStringLiteral("цены")
                               << QStringLiteral("\"цены\"");
    QTest::newRow("upper folds, lower letters") << upper << dq << "items"
                                                << "\"items\"";
    QTest::newRow("upper folds, upper name") << upper << dq << "ITEMS_2"
                                             << "ITEMS_2";
    QTest::newRow("lower folds, upper letters") << lower << dq << "Items"
                                                << "\"Items\"";
    QTest::newRow("lower folds, lower name") << lower << dq << "items"
                                             << "items";
    QTest::newRow("backquotes") << none << "`"
                                << "a`b c"
                                << "`a``b c`";
}

void CFirstStepsTests::quoting()
{
    QFETCH(CIdentifierQuoting::EFolding, folding);
    QFETCH(QString, quote);
    QFETCH(QString, name);
    QFETCH(QString, written);
    QCOMPARE(CIdentifierQuoting(quote, folding).Quote(name), written);
}

// No profiles: the workspace says how to start. Its first button leads to
// the connection dialog, where the file is chosen with Browse, not typed;
// then a double click shows the rows.
void CFirstStepsTests::firstStartNewConnection()
{
    const QString file =
        NewSQLiteFile(QStringLiteral("shop.db"), {QStringLiteral("CREATE TABLE items (n INTEGER)"),
                                                  QStringLiteral("INSERT INTO items VALUES (7)")});
    QVERIFY(Frame->StartHint->isVisible());
    SetDatabaseFileAnswerer([&](bool create, const QString&) { return create ? QString() : file; });
    OnNextDialog([](QDialog* dialog) {
        QTest::keyClicks(FindControl<QLineEdit>(dialog, IdcConnectionName), QStringLiteral("Shop"));
        auto* types = FindControl<QComboBox>(dialog, IdcConnectionType);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_S);
        QTest::mouseClick(FindControl<QPushButton>(dialog, IdcConnectionBrowse), Qt::LeftButton);
        QVERIFY(FindControl<QPushButton>(dialog, IdcConnectionTest)->isVisible());
        QTest::mouseClick(FindControl<QPushButton>(dialog, IdcConnectionOk), Qt::LeftButton);
    });
    QTest::mouseClick(Frame->StartHint->NewConnectionButton, Qt::LeftButton);
    QCOMPARE(Frame->Connections->GetConnectionCount(), 1);
    QCOMPARE(Frame->Connections->GetConnection(0)->Path, file);
    QVERIFY(!Frame->StartHint->isVisible());

    CConnectionsWnd* list = Frame->Connections;
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       ItemCentre(list, list->topLevelItem(0)));
    QVERIFY(Idle());
    CTableTree* tree = Frame->TableTree;
    QTreeWidgetItem* table = tree->topLevelItem(0);
    QVERIFY(table);
    ChooseInNextMenu(QStringLiteral("select-from-table"));
    const QPoint at = ItemCentre(tree, table);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &menuEvent);
    CConnectionWnd* window = list->GetConnection(0)->Window;
    QVERIFY(WaitForRun(window));
    QCOMPARE(window->ResultList->Model().RowCount(), 1);
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    Messages.clear();

    // Deleting the last profile brings the hint back.
    Frame->Action(CommandDeleteConnection)->trigger();
    QCOMPARE(Messages, QStringList{"Do you really want to delete the selected connection?"});
    QCOMPARE(Frame->Connections->GetConnectionCount(), 0);
    QVERIFY(Frame->StartHint->isVisible());
}

// The hint's second button opens a chosen database file as
// "tablescope FILE" does; cancelling the file dialog does nothing.
void CFirstStepsTests::firstStartOpenFile()
{
    const QString file =
        NewSQLiteFile(QStringLiteral("opened.db"), {QStringLiteral("CREATE TABLE t (a INTEGER)")});
    QString answer;
    SetDatabaseFileAnswerer([&](bool, const QString&) { return answer; });
    QTest::mouseClick(Frame->StartHint->OpenFileButton, Qt::LeftButton);
    QCOMPARE(Frame->Connections->GetConnectionCount(), 0);
    answer = file;
    QTest::mouseClick(Frame->StartHint->OpenFileButton, Qt::LeftButton);
    QVERIFY(Idle());
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    QCOMPARE(Frame->Connections->GetConnectionCount(), 1);
    QCOMPARE(Frame->Connections->GetConnectionText(0), QStringLiteral("opened.db"));
    QVERIFY(Frame->Connections->GetConnection(0)->Window);
    QVERIFY(!Frame->StartHint->isVisible());
}

void CFirstStepsTests::testConnection_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QString>("breaking"); // what goes wrong: "" nothing, or the field spoiled
    QTest::addColumn<bool>("login");       // credentials not remembered: asked for first

    QTest::newRow("SQLite") << ETestBackend::SQLite << "" << false;
    QTest::newRow("SQLite, no such folder") << ETestBackend::SQLite << "path" << false;
    QTest::newRow("FireBird") << ETestBackend::FireBird << "" << true;
    QTest::newRow("FireBird, wrong password") << ETestBackend::FireBird << "password" << true;
    QTest::newRow("PostgreSQL through ODBC") << ETestBackend::OdbcPostgres << "" << false;
    QTest::newRow("PostgreSQL through ODBC, no such database")
        << ETestBackend::OdbcPostgres << "path" << false;
}

// Test Connection with the settings as entered, through real clicks: it
// says how long connecting took, or gives the backend's message; the
// profile being edited is not touched, and nothing stays connected.
void CFirstStepsTests::testConnection()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QString, breaking);
    QFETCH(bool, login);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection settings;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, settings, why), qPrintable(why));
    if (breaking.isEmpty()) { // one table and a view, which is not counted
        for (const char* sql : {"CREATE TABLE counted (a INTEGER)",
                                "CREATE VIEW not_counted AS SELECT a FROM counted"})
            QVERIFY2(Databases.Run(settings, QString::fromLatin1(sql), why), qPrintable(why));
    }
    if (breaking == u"path")
        settings.Path = backend == ETestBackend::SQLite
                            ? Files.filePath(QStringLiteral("no/such/folder/x.db"))
                            : settings.Path.replace(QStringLiteral("Database="),
                                                    QStringLiteral("Database=nosuchdb"));
    const QString password = breaking == u"password" ? QStringLiteral("wrong") : settings.Password;
    if (login) {
        settings.RememberAuth = false;
        settings.Password.clear();
    }

    CConnectionDlg dialog;
    dialog.SetTester(new CConnectionTest);
    dialog.Connection = settings;
    const CConnection before = settings;
    int asked = 0;
    QString result;
    QTimer::singleShot(0, &dialog, [&] {
        if (login)
            OnNextLogin(settings.Login, password, &asked);
        auto* test = FindControl<QPushButton>(&dialog, IdcConnectionTest);
        QVERIFY(test->isVisible());
        QTest::mouseClick(test, Qt::LeftButton);
        auto* label = FindControl<QLabel>(&dialog, IdcConnectionTestResult);
        QVERIFY(QTest::qWaitFor(
            [&] { return !label->text().isEmpty() && label->text() != u"Connecting..."; }, 60000));
        result = label->text();
        QCOMPARE(test->text(), QStringLiteral("Test Connection"));
        dialog.reject();
    });
    dialog.exec();
    QCOMPARE(asked, login ? 1 : 0);
    if (breaking.isEmpty())
        QVERIFY2(result.startsWith(QStringLiteral("Connected in ")) &&
                     result.contains(QStringLiteral("(tables: 1)")),
                 qPrintable(result));
    else
        QVERIFY2(!result.startsWith(QStringLiteral("Connected")) && result.size() > 10,
                 qPrintable(result));
    QVERIFY(dialog.Connection.Password == before.Password);
    QVERIFY(!dialog.Connection.Database);
}

// A test that waits on a server that never answers is stopped with the same
// button; the dialog stays alive meanwhile.
void CFirstStepsTests::testConnectionStopped()
{
    CSilentPort silent;
    QVERIFY(silent.Port != 0);
    CConnectionDlg dialog;
    dialog.SetTester(new CConnectionTest);
    dialog.Connection.Type = DatabaseTypeFireBird;
    dialog.Connection.Path = QStringLiteral("127.0.0.1/%1").arg(silent.Port);
    dialog.Connection.Alias = QStringLiteral("nothing.fdb");
    dialog.Connection.Login = QStringLiteral("SYSDBA");
    dialog.Connection.Password = QStringLiteral("none");
    dialog.Connection.RememberAuth = true;
    QString result;
    QTimer::singleShot(0, &dialog, [&] {
        auto* test = FindControl<QPushButton>(&dialog, IdcConnectionTest);
        auto* label = FindControl<QLabel>(&dialog, IdcConnectionTestResult);
        QTest::mouseClick(test, Qt::LeftButton);
        QCOMPARE(label->text(), QStringLiteral("Connecting..."));
        QCOMPARE(test->text(), QStringLiteral("Stop"));
        QTest::qWait(300); // the interface answers meanwhile
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(test, Qt::LeftButton);
        result = label->text();
        QCOMPARE(test->text(), QStringLiteral("Test Connection"));
        dialog.reject();
    });
    dialog.exec();
    QVERIFY2(result.startsWith(QStringLiteral("The test was stopped after ")), qPrintable(result));
}

void CFirstStepsTests::dropFiles_data()
{
    QTest::addColumn<QByteArray>("content"); // of the dropped file
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("message");

    QTest::newRow("SQLite database") << QByteArray() << true << QString();
    QTest::newRow("text file") << QByteArray("just some text, long enough to have a header\n")
                               << false << "Cannot open \"%1\": the file is not an SQLite database";
}

void CFirstStepsTests::dropFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, opened);
    QFETCH(QString, message);
    QString file;
    if (content.isEmpty()) {
        file = NewSQLiteFile(QStringLiteral("dropped.db"), {QStringLiteral("CREATE TABLE d (x)")});
    } else {
        file = Files.filePath(QStringLiteral("dropped.txt"));
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(content);
    }
    QVERIFY(DropFiles(Frame.get(), {file}));
    QVERIFY(Idle());
    QCOMPARE(Frame->Connections->GetConnectionCount(), opened ? 1 : 0);
    QCOMPARE(Messages, message.isEmpty() ? QStringList() : QStringList{message.arg(file)});
    if (opened)
        QVERIFY(Frame->Connections->GetConnection(0)->Window);
    // What carries no file is not taken.
    QMimeData text;
    text.setText(QStringLiteral("SELECT 1"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(Frame.get(), &enter);
    QVERIFY(!enter.isAccepted());
}

// Sizes, splitters, toolbar and status bar as they were at the last close;
// without a saved layout, four fifths of the screen.
void CFirstStepsTests::layoutKept()
{
    Frame.reset();
    Frame = std::make_unique<CMainFrame>();
    QVERIFY(!Frame->RestoreLayout());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(Frame->size(), area.size() * 4 / 5);
    Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(Frame.get()));

    Frame->setGeometry(QRect(QPoint(40, 30), QSize(900, 640)));
    Frame->OuterSplitter->setSizes({222, 600});
    Frame->InnerSplitter->setSizes({111, 400});
    Frame->Action(CommandViewToolbar)->trigger();
    Frame->Action(CommandViewStatusBar)->trigger();
    QVERIFY(Frame->ToolBar->isHidden());
    QVERIFY(Frame->statusBar()->isHidden());
    QCoreApplication::processEvents();
    const QRect geometry = Frame->geometry();
    const QList<int> outer = Frame->OuterSplitter->sizes();
    const QList<int> inner = Frame->InnerSplitter->sizes();
    QVERIFY(Frame->close());
    QVERIFY(QFile::exists(CWindowLayout::FileName()));

    Frame = std::make_unique<CMainFrame>();
    QVERIFY(Frame->RestoreLayout());
    Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(Frame.get()));
    QCOMPARE(Frame->geometry(), geometry);
    QCOMPARE(Frame->OuterSplitter->sizes(), outer);
    QCOMPARE(Frame->InnerSplitter->sizes(), inner);
    QVERIFY(Frame->ToolBar->isHidden());
    QVERIFY(Frame->statusBar()->isHidden());
    QVERIFY(!Frame->Action(CommandViewToolbar)->isChecked());
    QVERIFY(!Frame->Action(CommandViewStatusBar)->isChecked());

    // Maximized is kept too.
    Frame->showMaximized();
    QVERIFY(QTest::qWaitFor([this] { return Frame->isMaximized(); }));
    QVERIFY(Frame->close());
    Frame = std::make_unique<CMainFrame>();
    QVERIFY(Frame->RestoreLayout());
    QVERIFY(Frame->windowState() & Qt::WindowMaximized);
}

// A window left where no screen is now comes back on one.
void CFirstStepsTests::layoutOffEveryScreen()
{
    Frame->setGeometry(QRect(QPoint(30000, 20000), QSize(700, 500)));
    QVERIFY(Frame->close());
    Frame = std::make_unique<CMainFrame>();
    QVERIFY(Frame->RestoreLayout());
    Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(Frame.get()));
    QVERIFY(QGuiApplication::screenAt(Frame->geometry().center()));
    QCOMPARE(Frame->size(), QSize(700, 500));
}

// A double click connects a profile; on a connected one it only brings its
// window forward, with the editor ready for typing.
void CFirstStepsTests::doubleClickConnectsThenShows()
{
    CConnection profile;
    profile.Name = QStringLiteral("clicked");
    profile.Type = DatabaseTypeSQLite;
    profile.Path = Files.filePath(QStringLiteral("clicked.db"));
    Frame->Connections->AddConnection(profile);
    Frame->Connections->AddConnection(profile);

    CConnectionsWnd* list = Frame->Connections;
    const QPoint centre = ItemCentre(list, list->topLevelItem(1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    QVERIFY(Idle());
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    const CConnection* connected = list->GetConnection(1);
    QVERIFY(connected->Database);
    QVERIFY(connected->Window);

    // Away to the other profile and back with a double click: still the
    // same connection, its window shown and its editor focused.
    CConnectionWnd* window = connected->Window;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      ItemCentre(list, list->topLevelItem(0)));
    QVERIFY(!window->isVisible());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    QVERIFY(Idle());
    QCOMPARE(connected->Window, window);
    QVERIFY(connected->Database);
    QVERIFY(window->isVisible());
    QCOMPARE(Frame->focusWidget(), static_cast<QWidget*>(window->Editor));
    QCOMPARE(list->GetConnectionImage(1), 0);

    // Enter on the first profile connects it too.
    list->setFocus();
    list->SelectConnection(0);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(Idle());
    QVERIFY(list->GetConnection(0)->Database);
}

void CFirstStepsTests::namesFromTheTree_data()
{
    QTest::addColumn<ETestBackend>("backend");
    // Each table name (made with quotes, so exactly so) and how it is
    // written into the editor; every table has the one column "Col"
    // INTEGER. The view "Shelf View" shows the rows of "shelf"; the view
    // "gone" (where the database allows it) those of a table dropped since.
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("view");        // "Shelf View" as written
    QTest::addColumn<QString>("columnShown"); // "Col" and its type, as the tree shows it
    QTest::addColumn<bool>("broken");

    const QStringList tables{"two words", "MixedCase", "shelf", "CRATE", "select", "say\"hi"};
    const QStringList asIs{"\"two words\"", "MixedCase",  "shelf",
                           "CRATE",         "\"select\"", "\"say\"\"hi\""};
    QTest::newRow("SQLite") << ETestBackend::SQLite << tables << asIs << "Col"
                            << "\"Shelf View\""
                            << "Col  INTEGER" << true;
    QTest::newRow("FireBird") << ETestBackend::FireBird << tables
                              << QStringList{"\"two words\"", "\"MixedCase\"", "\"shelf\"",
                                             "CRATE",         "\"select\"",    "\"say\"\"hi\""}
                              << "\"Col\""
                              << "\"Shelf View\""
                              << "Col  INTEGER" << false;
    QTest::newRow("PostgreSQL through ODBC")
        << ETestBackend::OdbcPostgres << tables
        << QStringList{"\"two words\"", "\"MixedCase\"", "shelf",
                       "\"CRATE\"",     "\"select\"",    "\"say\"\"hi\""}
        << "\"Col\""
        << "\"Shelf View\""
        << "Col  int4" << false;
    QTest::newRow("SQLite through ODBC") << ETestBackend::OdbcSQLite << tables << asIs << "Col"
                                         << "\"Shelf View\""
                                         << "Col  INTEGER" << true;
    // The driver quotes with backquotes, which need no ANSI_QUOTES mode.
    QTest::newRow("MariaDB through ODBC")
        << ETestBackend::OdbcMariaDB << tables
        << QStringList{"`two words`", "MixedCase", "shelf", "CRATE", "`select`", "`say\"hi`"}
        << "Col"
        << "`Shelf View`"
        << "Col  INT" << true;
}

// Each table's and view's name goes into the editor by double click, Enter
// or a drag, quoted as the database says it needs; the tree's SELECT of each
// runs (which only a correctly quoted name does) under the row limit; Copy
// Name copies it. The views follow the tables, marked as views, and every
// column shows its type, nothing cut off.
void CFirstStepsTests::namesFromTheTree()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QStringList, tables);
    QFETCH(QStringList, written);
    QFETCH(QString, column);
    QFETCH(QString, view);
    QFETCH(QString, columnShown);
    QFETCH(bool, broken);
    REQUIRE_TEST_BACKEND(Databases, backend);

    CConnection profile;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    profile.Name = QStringLiteral("tree");
    QString error;
    for (const QString& table : tables) {
        QString quoted = table;
        quoted.replace(u'"', QStringLiteral("\"\""));
        QVERIFY2(Databases.Run(profile,
                               QStringLiteral("CREATE TABLE \"%1\" (\"Col\" INTEGER)").arg(quoted),
                               error),
                 qPrintable(error));
        for (int row = 1; row <= 3; ++row)
            QVERIFY2(
                Databases.Run(profile,
                              QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(quoted).arg(row),
                              error),
                qPrintable(error));
    }
    QVERIFY2(Databases.Run(profile,
                           QStringLiteral("CREATE VIEW \"Shelf View\" AS SELECT * FROM \"shelf\""),
                           error),
             qPrintable(error));
    QStringList views{QStringLiteral("Shelf View")};
    if (broken) {
        for (const char* sql :
             {"CREATE TABLE gone_table (\"Col\" INTEGER)",
              "CREATE VIEW \"gone\" AS SELECT * FROM gone_table", "DROP TABLE gone_table"})
            QVERIFY2(Databases.Run(profile, QString::fromLatin1(sql), error), qPrintable(error));
        views.append(QStringLiteral("gone"));
    }
    Frame->Connections->SelectConnection(Frame->Connections->AddConnection(profile));
    Frame->Action(CommandConnect)->trigger();
    QVERIFY(Idle());
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
    CConnection* connected = Frame->Connections->GetConnection(0);
    CConnectionWnd* window = connected->Window;
    QVERIFY(window);
    window->RowLimit = 2;
    CTableTree* tree = Frame->TableTree;

    // The tables, then the views, each sorted; the columns with their types.
    QStringList order = tables;
    order.sort();
    views.sort();
    order += views;
    QStringList shown;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        shown.append(CTableTree::ShownText(tree->topLevelItem(i)));
    QStringList expected = order;
    for (qsizetype i = tables.size(); i < expected.size(); ++i)
        expected[i] += QStringLiteral("  view");
    QCOMPARE(shown, expected);
    tree->expandAll();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->text(0) == u"gone") { // its table is gone: marked, and why
            QCOMPARE(item->childCount(), 0);
            QVERIFY(!item->icon(0).isNull());
            QVERIFY(!item->toolTip(0).isEmpty());
            continue;
        }
        QVERIFY(item->icon(0).isNull());
        QCOMPARE(item->childCount(), 1);
        QCOMPARE(CTableTree::ShownText(item->child(0)), columnShown);
    }
    // Every row has room for all it shows, in a narrow pane too, which then
    // scrolls sideways.
    const int paneWidth = tree->width();
    for (const int width : {paneWidth, 90}) {
        tree->resize(width, tree->height());
        QCoreApplication::processEvents();
        for (QTreeWidgetItemIterator each(tree); *each; ++each) {
            const QString text = CTableTree::ShownText(*each);
            QVERIFY2(tree->visualItemRect(*each).width() >=
                         tree->fontMetrics().horizontalAdvance(text),
                     qPrintable(text + QStringLiteral(" at width %1").arg(width)));
        }
    }
    QVERIFY(tree->horizontalScrollBar()->maximum() > 0);
    tree->resize(paneWidth, tree->height());
    QCoreApplication::processEvents();

    // The view goes into SQL as the tables do.
    tables.append(QStringLiteral("Shelf View"));
    written.append(view);
    for (qsizetype i = 0; i < tables.size(); ++i) {
        const QList<QTreeWidgetItem*> found = tree->findItems(tables.at(i), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTreeWidgetItem* item = found.first();

        // Double click, at the editor's cursor.
        window->Editor->setPlainText(QStringLiteral("SELECT * FROM ;"));
        QTextCursor cursor = window->Editor->textCursor();
        cursor.setPosition(14);
        window->Editor->setTextCursor(cursor);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, ItemCentre(tree, item));
        QCOMPARE(window->Editor->toPlainText(),
                 QStringLiteral("SELECT * FROM %1;").arg(written.at(i)));
        QCOMPARE(Frame->focusWidget(), static_cast<QWidget*>(window->Editor));

        // Enter, on the table's first column.
        window->Editor->clear();
        tree->setFocus();
        tree->setCurrentItem(item->child(0));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(window->Editor->toPlainText(), column);

        // The SELECT of the context menu: the editor's text stays, the rows
        // stop at the limit.
        window->Editor->setPlainText(QStringLiteral("kept"));
        ChooseInNextMenu(QStringLiteral("select-from-table"));
        const QPoint at = ItemCentre(tree, item);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at,
                                    tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &menuEvent);
        QVERIFY(WaitForRun(window));
        QVERIFY2(window->ShowsRows(), qPrintable(tables.at(i)));
        QCOMPARE(window->ResultList->Model().RowCount(), 2);
        QVERIFY(window->HasMoreRows());
        QCOMPARE(window->Editor->toPlainText(), QStringLiteral("kept"));

        // Dragged into the editor.
        const std::unique_ptr<QMimeData> dragged(
            tree->model()->mimeData({tree->model()->index(tree->indexOfTopLevelItem(item), 0)}));
        QCOMPARE(dragged->text(), written.at(i));
        window->Editor->clear();
        QWidget* target = window->Editor->viewport();
        const QPoint into(10, 10);
        QDragEnterEvent enter(into, Qt::CopyAction, dragged.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(into, Qt::CopyAction, dragged.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        QDropEvent drop(QPointF(into), Qt::CopyAction, dragged.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        QCOMPARE(window->Editor->toPlainText(), written.at(i));

        // Copy Name.
        QApplication::clipboard()->clear();
        ChooseInNextMenu(QStringLiteral("copy-name"));
        QApplication::sendEvent(tree->viewport(), &menuEvent);
        QCOMPARE(QApplication::clipboard()->text(), written.at(i));
    }
    QVERIFY2(Messages.isEmpty(), qPrintable(Messages.join(u'\n')));
}

QTEST_MAIN(CFirstStepsTests)
#include "tst_FirstSteps.moc"
