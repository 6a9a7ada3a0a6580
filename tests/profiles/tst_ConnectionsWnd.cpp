// The connections window as the user meets it, under the offscreen platform:
// keys, clicks, double clicks and the pop-up menu, with a frame of the test's
// own that records what the window asks of it.

// Mouse events take the platform's path, which makes double clicks and
// context-menu events as a real mouse does.
#define QTEST_QPA_MOUSE_HANDLING

#include "database/SQLiteDatabase.h"
#include "profiles/ConnectionsFrame.h"
#include "profiles/ConnectionsWnd.h"
#include "resources/ConnectionsMenu.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

class CRecordingFrame : public CConnectionsFrame
{
public:
    void RunConnectionCommand(int command) override
    {
        Commands.append(command);
        if (OnCommand)
            OnCommand(command);
    }
    void ShowConnection(int item) override { Shown.append(item); }
    void ShowConnectionWindow(int item) override { ShownWindows.append(item); }

    QList<int> Commands;
    QList<int> Shown;
    QList<int> ShownWindows;
    std::function<void(int)> OnCommand;
};

CConnection Profile(const QString& name)
{
    CConnection profile;
    profile.Name = name;
    return profile;
}

// Whether the item shows an image: any pixel of its icon that is not clear.
bool ShowsImage(const QTreeWidgetItem* item)
{
    const QImage image = item->icon(0).pixmap(16, 16).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

bool CanLock(const QString& path)
{
    CSQLiteDatabase other;
    QString error;
    return other.Connect(path, {}, {}, error) &&
           other.ExecuteSQL(QStringLiteral("BEGIN EXCLUSIVE; ROLLBACK"), error);
}

std::unique_ptr<CAbstractDatabase> Connected(const QString& path, bool locked = false)
{
    auto database = std::make_unique<CSQLiteDatabase>();
    QString error;
    database->Connect(path, {}, {}, error);
    if (locked)
        database->ExecuteSQL(QStringLiteral("BEGIN EXCLUSIVE"), error);
    return database;
}

} // namespace

class CConnectionsWndTests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addSelectDeleteAndClear();
    void addedItemHoldsItsOwnCopy();
    void currentItemRule();
    void focusChangeAsksToShowTheProfile();
    void deletingTheFocusedItemShowsNothing();
    void doubleClick_data();
    void doubleClick();
    void columnFillsTheWindow();
    void menuCommands_data();
    void menuCommands();
    void menuOnEmptyList();
    void connectionIcon();

private:
    void AddNames(int count);
    QPoint ItemCentre(int index) const;
    // Right-clicks at pos; while the menu is up, look runs with it.
    void RightClick(QPoint pos, const std::function<void(QMenu&)>& look);

    QTemporaryDir Dir;
    std::unique_ptr<CConnectionsWnd> Window;
    CRecordingFrame Frame;
};

void CConnectionsWndTests::init()
{
    Frame = {};
    Window = std::make_unique<CConnectionsWnd>();
    Window->SetFrame(&Frame);
    Window->resize(200, 300);
}

void CConnectionsWndTests::cleanup()
{
    Window.reset();
}

void CConnectionsWndTests::AddNames(int count)
{
    for (int i = 0; i < count; ++i)
        QCOMPARE(Window->AddConnection(Profile(QStringLiteral("profile %1").arg(i))), i);
}

QPoint CConnectionsWndTests::ItemCentre(int index) const
{
    return Window->visualItemRect(Window->topLevelItem(index)).center();
}

void CConnectionsWndTests::RightClick(QPoint pos, const std::function<void(QMenu&)>& look)
{
    bool seen = false;
    QTimer::singleShot(0, Window.get(), [&] {
        auto menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        seen = true;
        look(*menu);
        if (menu->isVisible())
            menu->close();
    });
    QTest::mouseClick(Window->viewport(), Qt::RightButton, {}, pos);
    QVERIFY2(seen, "no pop-up menu was shown");
}

void CConnectionsWndTests::addSelectDeleteAndClear()
{
    AddNames(3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(Window->GetConnectionText(i), QStringLiteral("profile %1").arg(i));
        QCOMPARE(Window->GetConnectionImage(i), -1);
        QVERIFY(!ShowsImage(Window->topLevelItem(i)));
        Window->GetConnection(i)->Database =
            Connected(Dir.filePath(QStringLiteral("%1.db").arg(i)), true);
    }
    QCOMPARE(Window->SelectConnection(1), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(Window->topLevelItem(i)->isSelected(), i == 1);
        QCOMPARE(Window->currentItem() == Window->topLevelItem(i), i == 1);
    }
    QCOMPARE(Window->SelectConnection(3), 3);
    QVERIFY(Window->selectedItems().isEmpty());
    QCOMPARE(Window->GetCurrentConnection(), -1);

    Window->DeleteConnection(1);
    QVERIFY(CanLock(Dir.filePath(QStringLiteral("1.db"))));
    QVERIFY(!CanLock(Dir.filePath(QStringLiteral("2.db"))));
    QCOMPARE(Window->GetConnectionCount(), 2);
    QCOMPARE(Window->GetConnection(1)->Name, QStringLiteral("profile 2"));
    QVERIFY(!Window->GetConnection(2));

    // The last item after a deletion: selected and focused, nothing else.
    QCOMPARE(Window->SelectConnection(0), 2);
    QCOMPARE(Window->SelectConnection(1), 2);
    QVERIFY(!Window->topLevelItem(0)->isSelected());
    QVERIFY(Window->topLevelItem(1)->isSelected());
    QCOMPARE(Window->currentItem(), Window->topLevelItem(1));

    Window->DeleteAllConnections();
    QCOMPARE(Window->GetConnectionCount(), 0);
    QVERIFY(CanLock(Dir.filePath(QStringLiteral("0.db"))));
    QVERIFY(CanLock(Dir.filePath(QStringLiteral("2.db"))));

    // Records still in the list when the window goes are freed with it.
    AddNames(2);
    Window->GetConnection(1)->Database = Connected(Dir.filePath(QStringLiteral("last.db")), true);
    Window.reset();
    QVERIFY(CanLock(Dir.filePath(QStringLiteral("last.db"))));
}

void CConnectionsWndTests::addedItemHoldsItsOwnCopy()
{
    CConnection profile = Profile(QStringLiteral("original"));
    profile.Database = Connected(Dir.filePath(QStringLiteral("own.db")));
    profile.Tables = {{QStringLiteral("t"), {QStringLiteral("c")}}};
    Window->AddConnection(profile);
    const CConnection* copy = Window->GetConnection(0);
    QVERIFY(copy != &profile);
    QVERIFY(!copy->Database);
    QCOMPARE(copy->Tables.size(), 1);
    QVERIFY(profile.Database);
    profile.Name = QStringLiteral("changed");
    QCOMPARE(Window->GetConnectionText(0), QStringLiteral("original"));
}

void CConnectionsWndTests::currentItemRule()
{
    QCOMPARE(Window->GetCurrentConnection(), -1);
    AddNames(3);
    QCOMPARE(Window->GetCurrentConnection(), -1);
    Window->selectionModel()->setCurrentIndex(Window->model()->index(2, 0),
                                              QItemSelectionModel::NoUpdate);
    QCOMPARE(Window->GetCurrentConnection(), 2); // focused only
    Window->topLevelItem(0)->setSelected(true);
    QCOMPARE(Window->GetCurrentConnection(), 0); // the selection goes first
    Window->SelectConnection(1);
    QCOMPARE(Window->GetCurrentConnection(), 1);
}

void CConnectionsWndTests::focusChangeAsksToShowTheProfile()
{
    AddNames(4);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Window->setFocus();
    Frame.Shown.clear(); // the view may have focused its first item on getting the focus
    Window->SelectConnection(0);
    QCOMPARE(Frame.Shown, QList<int>({0}));
    Window->SelectConnection(0); // nothing changes, nothing to show
    QCOMPARE(Frame.Shown, QList<int>({0}));

    Frame.Shown.clear();
    QTest::keyClick(Window.get(), Qt::Key_Down);
    QCOMPARE(Window->GetCurrentConnection(), 1);
    QCOMPARE(Frame.Shown, QList<int>({1}));
    QTest::keyClick(Window.get(), Qt::Key_End);
    QCOMPARE(Frame.Shown, QList<int>({1, 3}));

    Frame.Shown.clear();
    QTest::mouseClick(Window->viewport(), Qt::LeftButton, {}, ItemCentre(2));
    QCOMPARE(Window->GetCurrentConnection(), 2);
    QCOMPARE(Frame.Shown, QList<int>({2}));

    // Focused but not selected, then selected: the item's state changed.
    Frame.Shown.clear();
    Window->clearSelection();
    QCOMPARE(Window->SelectConnection(2), 4);
    QCOMPARE(Frame.Shown, QList<int>({2}));
}

void CConnectionsWndTests::deletingTheFocusedItemShowsNothing()
{
    AddNames(3);
    Window->SelectConnection(0);
    Frame.Shown.clear();
    Window->DeleteConnection(0);
    Window->DeleteAllConnections();
    QVERIFY(Frame.Shown.isEmpty());

    AddNames(3);
    Window->SelectConnection(1);
    Window->DeleteConnection(1);
    QCOMPARE(Window->GetCurrentConnection(), -1);
    Frame.Shown.clear();
    Window->SelectConnection(1); // the item that moved into its place
    QCOMPARE(Frame.Shown, QList<int>({1}));
    QCOMPARE(Window->GetConnectionText(1), QStringLiteral("profile 2"));
}

void CConnectionsWndTests::doubleClick_data()
{
    QTest::addColumn<int>("item"); // -1: the empty space below the items
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("enterKey"); // Enter on the focused item instead
    QTest::addColumn<QList<int>>("commands");
    QTest::addColumn<QList<int>>("windows"); // items whose window was brought forward

    // A connected profile stays connected: its window comes forward.
    QTest::newRow("connected") << 1 << true << false << QList<int>() << QList<int>({1});
    QTest::newRow("disconnected") << 1 << false << false << QList<int>({CommandConnect})
                                  << QList<int>();
    QTest::newRow("empty space") << -1 << false << false << QList<int>() << QList<int>();
    QTest::newRow("Enter, connected") << 1 << true << true << QList<int>() << QList<int>({1});
    QTest::newRow("Enter, disconnected")
        << 1 << false << true << QList<int>({CommandConnect}) << QList<int>();
}

void CConnectionsWndTests::doubleClick()
{
    QFETCH(int, item);
    QFETCH(bool, connected);
    QFETCH(bool, enterKey);
    QFETCH(QList<int>, commands);
    QFETCH(QList<int>, windows);

    AddNames(2);
    // What the main frame does for the two commands.
    Frame.OnCommand = [this](int command) {
        const int current = Window->GetCurrentConnection();
        CConnection* profile = Window->GetConnection(current);
        if (command == CommandConnect) {
            profile->Database = Connected(Dir.filePath(QStringLiteral("double.db")));
            Window->SetConnectionImage(current, 0);
        } else if (command == CommandDisconnect) {
            profile->Database.reset();
            Window->SetConnectionImage(current, -1);
        }
    };
    if (connected) {
        Window->GetConnection(1)->Database = Connected(Dir.filePath(QStringLiteral("double.db")));
        Window->SetConnectionImage(1, 0);
    }
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));

    const QPoint pos = item >= 0 ? ItemCentre(item) : QPoint(20, Window->viewport()->height() - 5);
    if (enterKey) {
        Window->SelectConnection(item);
        QTest::keyClick(Window.get(), Qt::Key_Return);
    } else {
        QTest::mouseDClick(Window->viewport(), Qt::LeftButton, {}, pos);
    }
    QCOMPARE(Frame.Commands, commands);
    QCOMPARE(Frame.ShownWindows, windows);
    if (item >= 0) {
        QVERIFY(Window->GetConnection(item)->Database);
        QVERIFY(ShowsImage(Window->topLevelItem(item)));
    }
    QVERIFY(!ShowsImage(Window->topLevelItem(0)));
}

void CConnectionsWndTests::columnFillsTheWindow()
{
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    for (const QSize size : {QSize(250, 300), QSize(90, 40), QSize(640, 480), QSize(1, 1)}) {
        Window->resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(Window->columnWidth(0), Window->viewport()->width());
    }
    Window->resize(200, 100);
    const int wide = Window->viewport()->width();
    AddNames(100); // a vertical scroll bar takes part of the client area
    QTRY_VERIFY(Window->verticalScrollBar()->isVisible());
    QVERIFY(Window->viewport()->width() < wide);
    QCOMPARE(Window->columnWidth(0), Window->viewport()->width());
    QVERIFY(!Window->horizontalScrollBar()->isVisible());
}

void CConnectionsWndTests::menuCommands_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("command");

    QTest::newRow("Add...") << 0 << int(CommandNewConnection);
    QTest::newRow("Delete...") << 1 << int(CommandDeleteConnection);
    QTest::newRow("Properties...") << 2 << int(CommandConnectionProperties);
    QTest::newRow("Connect...") << 4 << int(CommandConnect);
    QTest::newRow("Disconnect") << 5 << int(CommandDisconnect);
}

void CConnectionsWndTests::menuCommands()
{
    QFETCH(int, entry);
    QFETCH(int, command);

    AddNames(3);
    Window->SelectConnection(0);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    int currentWhileShown = -2;
    RightClick(ItemCentre(2), [&](QMenu& menu) {
        currentWhileShown = Window->GetCurrentConnection();
        const QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 6);
        const QStringList texts = {QStringLiteral("Add..."),        QStringLiteral("Delete..."),
                                   QStringLiteral("Properties..."), QString(),
                                   QStringLiteral("Connect..."),    QStringLiteral("Disconnect")};
        for (int i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->isSeparator(), i == 3);
            QCOMPARE(actions[i]->text(), texts[i]);
            QVERIFY(actions[i]->isEnabled());
        }
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(actions[entry]).center());
    });
    // The click selected the item under the pointer before the menu came up.
    QCOMPARE(currentWhileShown, 2);
    QCOMPARE(Frame.Commands, QList<int>({command}));
}

void CConnectionsWndTests::menuOnEmptyList()
{
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    RightClick(QPoint(20, 20), [](QMenu& menu) {
        QCOMPARE(menu.actions().size(), 6);
        QTest::keyClick(&menu, Qt::Key_Escape);
    });
    QVERIFY(Frame.Commands.isEmpty());
}

void CConnectionsWndTests::connectionIcon()
{
    AddNames(2);
    Window->SetConnectionImage(1, 0);
    QCOMPARE(Window->GetConnectionImage(1), 0);
    const QImage image = Window->topLevelItem(1)->icon(0).pixmap(16, 16).toImage();
    QCOMPARE(image.size(), QSize(16, 16));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // magenta is see-through
    const QRgb centre = image.pixel(8, 8);
    QCOMPARE(qAlpha(centre), 255);
    QVERIFY(qGreen(centre) > qRed(centre) && qGreen(centre) > qBlue(centre));
    QVERIFY(!ShowsImage(Window->topLevelItem(0)));

    Window->SetConnectionImage(1, -1);
    QVERIFY(!ShowsImage(Window->topLevelItem(1)));
}

QTEST_MAIN(CConnectionsWndTests)
#include "tst_ConnectionsWnd.moc"
