// The connection window and the workspace as the user meets them, under the
// offscreen platform: scripts typed and executed, the grid as it is drawn, the
// splitter bar's menu, the grey host pane, and what happens when the user acts
// while rows are still coming in.

// Mouse events take the platform's path, so that a right click makes a
// context-menu event as a real mouse does.
#define QTEST_QPA_MOUSE_HANDLING

#include "database/SQLiteDatabase.h"
#include "profiles/Connection.h"
#include "resources/EditMenu.h"
#include "workspace/ClipboardHandler.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/GridText.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultGrid.h"
#include "workspace/ResultWriter.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/WaitForRun.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

class CRecordingHandler : public CClipboardHandler
{
public:
    void RunClipboardCommand(int command) override { Commands.append(command); }
    QList<int> Commands;
};

// About a second of work for SQLite, and more on a slow machine; not a query,
// so that it runs among the statements, before any row is read.
const QString SlowStatement =
    QStringLiteral("CREATE TABLE counted AS WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT "
                   "i + 1 FROM s WHERE i < 5000000) SELECT count(*) AS n FROM s");

const QString ThousandsOfRows =
    QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1500) "
                   "SELECT x, 'row ' || x AS label FROM c");

} // namespace

class CConnectionWndTests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editorAboveGrid();
    void gridAsShown();
    void logAsShown();
    void exactlyTheSelectionRuns();
    void noDatabase();
    void hostKeepsConnectionWindowsAtItsSize();
    void hostIsGreyWithAnOutline();
    void splitterBarOffersTheEditMenu();
    void userActsWhileRowsLoad();
    void windowDestroyedWhileRowsLoad();
    void stopEndsTheRunAndKeepsWhatRan_data();
    void stopEndsTheRunAndKeepsWhatRan();

private:
    void Type(const QString& script);
    // Execute, and wait for the outcome.
    void Execute();

    QTemporaryDir Dir;
    std::unique_ptr<CSubstrate> Host;
    CConnection Profile;
    CConnectionWnd* Window = nullptr;
    QStringList Messages;
};

void CConnectionWndTests::init()
{
    Host = std::make_unique<CSubstrate>();
    Host->resize(900, 1000);
    Host->show();
    Profile.Database = std::make_unique<CSQLiteDatabase>();
    QString error;
    QVERIFY2(Profile.Database->Connect(Dir.filePath(QStringLiteral("w.db")), {}, {}, error),
             qPrintable(error));
    Window = new CConnectionWnd;
    Window->Database = Profile.Database.get();
    QVERIFY(Window->Create(Host.get(), Host->rect()));
    Profile.Window = Window;
    Messages.clear();
    SetMessageBoxAnswerer([this](const QString& text, QMessageBox::StandardButtons) {
        Messages.append(text);
        return QMessageBox::Ok;
    });
}

void CConnectionWndTests::cleanup()
{
    SetMessageBoxAnswerer({});
    Host.reset();
    Profile.Window = nullptr;
    Profile.CloseDatabase();
    QVERIFY(CDatabaseThread::WaitForEndedThreads(60000));
    QFile::remove(Dir.filePath(QStringLiteral("w.db")));
}

void CConnectionWndTests::Type(const QString& script)
{
    Window->Editor->clear();
    Window->Editor->setFocus();
    const QStringList lines = script.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(Window->Editor, Qt::Key_Return);
        QTest::keyClicks(Window->Editor, lines.at(i));
    }
}

void CConnectionWndTests::Execute()
{
    ExecuteQuery(Profile);
    QVERIFY(WaitForRun(Window));
}

void CConnectionWndTests::editorAboveGrid()
{
    QCOMPARE(Window->objectName(), QStringLiteral("connection-child"));
    QCOMPARE(Window->geometry(), Host->rect());
    QVERIFY(Window->isVisible());
    QCOMPARE(Window->Splitter->orientation(), Qt::Vertical);
    QCOMPARE(Window->Editor->height(), CConnectionWnd::EditorIdealHeight);
    const auto gridTop = [this] { return Window->ResultList->mapTo(Window, QPoint(0, 0)).y(); };
    QVERIFY(gridTop() > Window->Editor->y());
    // A taller window gives the grid the room; the editor keeps its height.
    Host->resize(900, 1300);
    QCOMPARE(Window->Editor->height(), CConnectionWnd::EditorIdealHeight);
    QCOMPARE(gridTop() + Window->ResultList->height() - 1, Window->height() - 1);
    // A low window leaves the grid a third of its height.
    Host->resize(900, 450);
    QCOMPARE(Window->Editor->height(), 300);
    QVERIFY(Window->ResultList->height() >= 450 / 3 - Window->Splitter->handleWidth());
    // The text is coloured by the shared scanner.
    Type(QStringLiteral("select"));
    QCOMPARE(Window->Editor->LineState(0), 0u);
    QVERIFY(Window->Editor->Parser);
}

void CConnectionWndTests::gridAsShown()
{
    Type(QStringLiteral("SELECT 7 AS number, 'seven' AS word_of_it;"));
    QTest::keyClick(Window->Editor, Qt::Key_F5, Qt::ControlModifier); // nothing bound here
    Execute();
    CResultGrid* grid = Window->ResultList;
    QCOMPARE(GridText(grid->Model()), (QStringList{"#>|number>|word_of_it<", "  1|7|seven"}));
    QHeaderView* header = grid->header();
    QCOMPARE(header->sectionSize(0), NumberColumnWidth);
    QCOMPARE(header->sectionSize(1), grid->fontMetrics().horizontalAdvance("number") + 20);
    QCOMPARE(header->sectionSize(2), grid->fontMetrics().horizontalAdvance("word_of_it") + 20);
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("number"));
    const QModelIndex cell = grid->model()->index(0, 2);
    QCOMPARE(cell.data().toString(), QStringLiteral("seven"));
    QVERIFY(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);
    QVERIFY(grid->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
            Qt::AlignRight);
    QVERIFY(grid->model()->index(0, 0).data(Qt::DecorationRole).isNull());
    QVERIFY(grid->editTriggers() == QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectItems);
    Messages.clear();
    QVERIFY(Messages.isEmpty());
}

void CConnectionWndTests::logAsShown()
{
    Type(QStringLiteral("CREATE TABLE t (a);\nINSERT INTO nowhere VALUES (1)"));
    Execute();
    CResultGrid* grid = Window->ResultList;
    QCOMPARE(GridText(grid->Model()), (QStringList{"<", "+ CREATE TABLE t (a)", "  - Success",
                                                   "x INSERT INTO nowhere VALUES (1)",
                                                   "  - Error: no such table: nowhere"}));
    QCOMPARE(grid->header()->sectionSize(0), grid->viewport()->width());
    // The marks are drawn: red for the failure, green for the success.
    const auto mark = [grid](int row) {
        const QIcon icon = grid->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
        return icon.pixmap(16, 16).toImage().pixelColor(3, 7); // beside the cross
    };
    QVERIFY(mark(0).green() > mark(0).red());
    QVERIFY(mark(2).red() > mark(2).green());
    QCOMPARE(mark(0).alpha(), 255);
    QVERIFY(grid->model()->index(1, 0).data(Qt::DecorationRole).isNull());
    // The magenta corners are transparent.
    const QIcon failure = grid->model()->index(2, 0).data(Qt::DecorationRole).value<QIcon>();
    QCOMPARE(failure.pixmap(16, 16).toImage().pixelColor(0, 0).alpha(), 0);
}

void CConnectionWndTests::exactlyTheSelectionRuns()
{
    Type(QStringLiteral("SELECT 1 AS first;\nSELECT 2 AS second"));
    // Select "SELECT 1 AS first" with the keyboard: home, then shift+right.
    QTest::keyClick(Window->Editor, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 17; ++i)
        QTest::keyClick(Window->Editor, Qt::Key_Right, Qt::ShiftModifier);
    Execute();
    QCOMPARE(GridText(Window->ResultList->Model()), (QStringList{"#>|first>", "  1|1"}));
    // A selection that ends before the end of the text takes no more.
    QTest::keyClick(Window->Editor, Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(Window->Editor, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(Window->Editor->textCursor().selectedText(), QStringLiteral("cond"));
    Execute();
    QCOMPARE(GridText(Window->ResultList->Model()).mid(1),
             (QStringList{"x cond", "  - Error: near \"cond\": syntax error"}));
}

void CConnectionWndTests::noDatabase()
{
    Type(QStringLiteral("SELECT 1"));
    Profile.Database->Disconnect();
    auto database = std::move(Profile.Database);
    ExecuteQuery(Profile);
    QCOMPARE(Messages, QStringList{"Please connect to the database first"});
    QCOMPARE(Window->ResultList->Model().ColumnCount(), 0);
    Profile.Database = std::move(database);
}

void CConnectionWndTests::hostKeepsConnectionWindowsAtItsSize()
{
    auto* hidden = new CConnectionWnd;
    QVERIFY(hidden->Create(Host.get(), Host->rect()));
    hidden->hide();
    auto* other = new QWidget(Host.get());
    other->setObjectName(QStringLiteral("Connection-child")); // letter case differs
    other->setGeometry(5, 5, 50, 50);
    auto* longer = new QWidget(Host.get());
    longer->setObjectName(QStringLiteral("connection-child2"));
    longer->setGeometry(5, 5, 50, 50);
    auto* nested = new QWidget(other); // below the host, not its child
    nested->setObjectName(QStringLiteral("connection-child"));

    Host->resize(640, 480);
    for (QWidget* window : {static_cast<QWidget*>(Window), static_cast<QWidget*>(hidden), nested})
        QCOMPARE(window->geometry(), QRect(0, 0, 640, 480));
    QCOMPARE(other->geometry(), QRect(5, 5, 50, 50));
    QCOMPARE(longer->geometry(), QRect(5, 5, 50, 50));
    QVERIFY(!hidden->isVisible());
    QCOMPARE(Window->Splitter->geometry(), QRect(0, 0, 640, 480));
}

void CConnectionWndTests::hostIsGreyWithAnOutline()
{
    CSubstrate empty;
    empty.resize(200, 120);
    const QImage picture = empty.grab().toImage();
    const QColor grey(128, 128, 128);
    QCOMPARE(picture.pixelColor(100, 60), grey);
    QCOMPARE(picture.pixelColor(1, 1), grey);
    for (const QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 119), QPoint(199, 119),
                                QPoint(100, 0), QPoint(0, 60)})
        QCOMPARE(picture.pixelColor(corner), QColor(Qt::black));
}

void CConnectionWndTests::splitterBarOffersTheEditMenu()
{
    CRecordingHandler handler;
    Window->ClipboardHandler = &handler;
    QWidget* bar = Window->Splitter->handle(1);
    const QPoint click = bar->rect().center();
    QStringList texts;
    QPoint shownAt;
    QTimer::singleShot(0, this, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        shownAt = menu->pos();
        for (QAction* action : menu->actions())
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("&Copy\tCtrl+C"))
                action->trigger();
        menu->close();
    });
    QTest::mouseClick(bar, Qt::RightButton, {}, click);
    QCOMPARE(texts,
             (QStringList{"&Cut\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "-", "Undo\tCtrl+Z"}));
    QCOMPARE(shownAt, bar->mapToGlobal(click));
    QCOMPARE(handler.Commands, QList<int>{CommandCopy});

    // A right click in the editor is the editor's own business.
    handler.Commands.clear();
    QTimer::singleShot(0, this, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseClick(Window->Editor->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(handler.Commands.isEmpty());
}

// While a run is on, a second Execute and a close request are refused, and
// the first result arrives whole.
void CConnectionWndTests::userActsWhileRowsLoad()
{
    Type(SlowStatement + QStringLiteral(";\n") + ThousandsOfRows);
    QSignalSpy busy(Window, &CConnectionWnd::BusyChanged);
    ExecuteQuery(Profile);
    QVERIFY(Window->IsBusy());
    for (int attempt = 0; attempt < 5 && Window->IsBusy(); ++attempt) {
        Window->Editor->setPlainText(QStringLiteral("SELECT 'again' AS second"));
        ExecuteQuery(Profile);
        QVERIFY(!Window->close());
        QTest::qWait(10); // the interface lives on meanwhile
    }
    QVERIFY(WaitForRun(Window));
    QVERIFY(Window->isVisible());
    QCOMPARE(busy.size(), 2);
    const QStringList shown = GridText(Window->ResultList->Model());
    QCOMPARE(shown.size(), 1 + MaxResultRows);
    QCOMPARE(shown.first(), QStringLiteral("#>|x>|label<"));
    QCOMPARE(shown.last(), QStringLiteral("  1000|1000|row 1000"));
    QCOMPARE(Window->ResultList->model()->rowCount(), MaxResultRows);
}

// The window goes away while its run is on the thread: the run ends there,
// nothing reaches the window that is gone, and the database stays usable.
void CConnectionWndTests::windowDestroyedWhileRowsLoad()
{
    Type(SlowStatement + QStringLiteral(";\n") + ThousandsOfRows);
    ExecuteQuery(Profile);
    QVERIFY(Window->IsBusy());
    delete Window;
    Window = nullptr;
    Profile.Window = nullptr;
    QVERIFY(WaitForThread(*Profile.Thread));
    QTest::qWait(20); // what the run delivered finds no window
    bool created = false;
    QString error;
    Profile.Thread->Post([&] {
        created = Profile.Database->ExecuteSQL(QStringLiteral("CREATE TABLE after (a)"), error);
    });
    QVERIFY(WaitForThread(*Profile.Thread));
    QVERIFY2(created, qPrintable(error));
}

void CConnectionWndTests::stopEndsTheRunAndKeepsWhatRan_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("a statement, then one that does not run")
        << QStringLiteral("CREATE TABLE kept (a);\n%1;\nCREATE TABLE never (a)")
        << QStringList{"<",
                       "+ CREATE TABLE kept (a)",
                       "  - Success",
                       "x %1",
                       "  - Error: interrupted",
                       "  CREATE TABLE never (a)",
                       "  - Not run: stopped"};
    QTest::newRow("rows read, then the stop")
        << QStringLiteral(
               "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < "
               "500) SELECT x, (WITH RECURSIVE s(i) AS (SELECT x UNION ALL SELECT i + 1 "
               "FROM s WHERE i < x + 200000) SELECT count(*) FROM s) AS slow FROM c")
        << QStringList{};
}

// Stop interrupts the running statement at once; what ran before it stays
// done, what follows does not run, and rows read so far stay in the grid.
void CConnectionWndTests::stopEndsTheRunAndKeepsWhatRan()
{
    QFETCH(QString, script);
    QFETCH(QStringList, shown);
    Type(script.contains(u'%') ? script.arg(SlowStatement) : script);
    QSignalSpy finished(Window, &CConnectionWnd::RunFinished);
    ExecuteQuery(Profile);
    QVERIFY(Window->IsBusy());
    QTest::qWait(100);
    QVERIFY(Window->IsBusy());
    QTest::keyClick(Window->Editor, Qt::Key_A); // typing goes on meanwhile
    QVERIFY(Window->ProgressText().startsWith(QStringLiteral("Executing statement ")) ||
            Window->ProgressText().startsWith(QStringLiteral("Reading rows: ")));
    Window->Stop();
    QVERIFY(WaitForRun(Window, 5000));
    QCOMPARE(finished.size(), 1);
    QVERIFY(finished.first().first().toString().startsWith(QStringLiteral("Stopped after ")));
    const QStringList grid = GridText(Window->ResultList->Model());
    if (!shown.isEmpty()) {
        for (QString& line : shown)
            if (line.contains(QLatin1String("%1")))
                line = line.arg(SlowStatement);
        QCOMPARE(grid, shown);
        return;
    }
    // Rows: as many as were read, then the line that says so.
    QVERIFY(grid.size() >= 2);
    QCOMPARE(grid.first(), QStringLiteral("#>|x>|slow>"));
    const int rows = int(grid.size()) - 2;
    QCOMPARE(grid.last(),
             QStringLiteral("x |- Stopped: %1 rows were read before the stop|").arg(rows));
    if (rows > 0) // the rows as read
        QCOMPARE(grid.at(rows), QStringLiteral("  %1|%1|200001").arg(rows));
}

QTEST_MAIN(CConnectionWndTests)
#include "tst_ConnectionWnd.moc"
