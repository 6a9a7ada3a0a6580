// What the connection dialog offers so that no path or connect string need
// be typed, under the offscreen platform with real keys and clicks: an
// SQLite file chosen or made through the file dialog (answered by the
// test), a relative path made absolute, and the ODBC data sources of a
// private odbc.ini.

#include "common/ControlName.h"
#include "profiles/ConnectionDlg.h"
#include "profiles/DatabaseFileDialog.h"
#include "resources/ConnectionDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

int RunDialog(CConnectionDlg& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, [&] {
        if (QTest::qWaitForWindowActive(&dialog))
            act();
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return dialog.exec();
}

QLineEdit* PathEdit(const QWidget* dialog)
{
    return FindControl<QLineEdit>(dialog, IdcConnectionPath);
}

void Click(const QWidget* dialog, int id)
{
    auto* button = FindControl<QPushButton>(dialog, id);
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

// The entries of the next pop-up menu; the one whose text is choice is
// chosen with the keys, or the menu is closed with Escape.
void AnswerNextMenu(QStringList& entries, const QString& choice)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &entries, choice] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->deleteLater();
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            entries.append(action->text());
            if (action->text() == choice)
                chosen = action;
        }
        if (chosen)
            menu->setActiveAction(chosen);
        QTest::keyClick(menu, chosen ? Qt::Key_Return : Qt::Key_Escape);
    });
    timer->start(10);
}

} // namespace

class CConnectionChoicesTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void buttonsFollowTheType_data();
    void buttonsFollowTheType();
    void browseFillsThePath();
    void newFileIsMadeEmpty_data();
    void newFileIsMadeEmpty();
    void relativePathBecomesAbsolute_data();
    void relativePathBecomesAbsolute();
    void dataSourcesOfOdbcIni();

private:
    QTemporaryDir Dir;
    QList<std::pair<bool, QString>> Asked; // what the file dialogs were asked
};

void CConnectionChoicesTests::initTestCase()
{
    // The driver manager reads this test's user and system odbc.ini only.
    QVERIFY(QDir(Dir.path()).mkpath(QStringLiteral("system")));
    QFile user(Dir.filePath(QStringLiteral("odbc.ini")));
    QVERIFY(user.open(QIODevice::WriteOnly));
    user.write("[Sales Ledger]\nDriver=SQLite3\nDatabase=/tmp/a.db\n\n"
               "[archive]\nDriver=SQLite3\nDatabase=/tmp/b.db\n");
    user.close();
    QFile system(Dir.filePath(QStringLiteral("system/odbc.ini")));
    QVERIFY(system.open(QIODevice::WriteOnly));
    system.write("[Warehouse]\nDriver=SQLite3\nDatabase=/tmp/c.db\n");
    system.close();
    qputenv("ODBCINI", QFile::encodeName(user.fileName()));
    qputenv("ODBCSYSINI", QFile::encodeName(Dir.filePath(QStringLiteral("system"))));
}

void CConnectionChoicesTests::cleanup()
{
    SetDatabaseFileAnswerer({});
    Asked.clear();
}

void CConnectionChoicesTests::buttonsFollowTheType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("none") << -1 << QList<int>();
    QTest::newRow("SQLite") << 0 << QList<int>{IdcConnectionBrowse, IdcConnectionNewFile};
    QTest::newRow("FireBird") << 1 << QList<int>();
    QTest::newRow("ODBC") << 2 << QList<int>{IdcConnectionDataSources};
}

void CConnectionChoicesTests::buttonsFollowTheType()
{
    QFETCH(int, type);
    QFETCH(QList<int>, shown);
    CConnectionDlg dialog;
    dialog.Connection.Type = type;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int id : {IdcConnectionBrowse, IdcConnectionNewFile, IdcConnectionDataSources})
        QCOMPARE(FindControl<QWidget>(&dialog, id)->isVisible(), shown.contains(id));
    QVERIFY(!FindControl<QWidget>(&dialog, IdcConnectionFileError)->isVisible());
    // ODBC alone completes the field with data sources.
    QCOMPARE(PathEdit(&dialog)->completer() != nullptr, type == 2);
}

void CConnectionChoicesTests::browseFillsThePath()
{
    SetDatabaseFileAnswerer([this](bool create, const QString& suggested) {
        Asked.append({create, suggested});
        return Dir.filePath(QStringLiteral("chosen.db"));
    });
    CConnectionDlg dialog;
    dialog.Connection.Type = 0;
    dialog.Connection.Path = QStringLiteral("/old/place.db");
    const int result = RunDialog(dialog, [&] {
        Click(&dialog, IdcConnectionBrowse);
        QCOMPARE(PathEdit(&dialog)->text(), Dir.filePath(QStringLiteral("chosen.db")));
        QTest::mouseClick(FindControl<QPushButton>(&dialog, IdcConnectionOk), Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(Asked, (QList<std::pair<bool, QString>>{{false, QStringLiteral("/old/place.db")}}));
    QCOMPARE(dialog.Connection.Path, Dir.filePath(QStringLiteral("chosen.db")));
    // Browsing makes no file.
    QVERIFY(!QFile::exists(Dir.filePath(QStringLiteral("chosen.db"))));

    // Cancelled: the path stays.
    SetDatabaseFileAnswerer([](bool, const QString&) { return QString(); });
    CConnectionDlg again;
    again.Connection.Type = 0;
    again.Connection.Path = QStringLiteral("/old/place.db");
    RunDialog(again, [&] {
        Click(&again, IdcConnectionBrowse);
        QCOMPARE(PathEdit(&again)->text(), QStringLiteral("/old/place.db"));
    });
}

void CConnectionChoicesTests::newFileIsMadeEmpty_data()
{
    QTest::addColumn<QString>("file");        // relative to the test's folder
    QTest::addColumn<QByteArray>("existing"); // null: no file there before
    QTest::addColumn<bool>("made");           // the path is taken

    QTest::newRow("new") << "new.db" << QByteArray() << true;
    QTest::newRow("existing kept whole")
        << "old.db" << QByteArray("SQLite format 3\0rest", 20) << true;
    QTest::newRow("folder missing") << "no/such/folder/x.db" << QByteArray() << false;
}

void CConnectionChoicesTests::newFileIsMadeEmpty()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, existing);
    QFETCH(bool, made);
    const QString path = Dir.filePath(file);
    if (!existing.isNull()) {
        QFile before(path);
        QVERIFY(before.open(QIODevice::WriteOnly));
        before.write(existing);
    }
    SetDatabaseFileAnswerer([this, path](bool create, const QString& suggested) {
        Asked.append({create, suggested});
        return path;
    });
    CConnectionDlg dialog;
    dialog.Connection.Type = 0;
    dialog.Connection.Path = QStringLiteral("kept.db");
    RunDialog(dialog, [&] {
        Click(&dialog, IdcConnectionNewFile);
        auto* error = FindControl<QLabel>(&dialog, IdcConnectionFileError);
        QCOMPARE(error->isVisible(), !made);
        if (made) {
            QCOMPARE(PathEdit(&dialog)->text(), path);
        } else {
            QCOMPARE(PathEdit(&dialog)->text(), QStringLiteral("kept.db"));
            QVERIFY2(error->text().startsWith(QStringLiteral("Cannot create \"%1\": ").arg(path)),
                     qPrintable(error->text()));
        }
    });
    QCOMPARE(Asked.size(), 1);
    QVERIFY(Asked.first().first);
    QCOMPARE(QFile::exists(path), made);
    if (made) {
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), existing.isNull() ? QByteArray("") : existing);
    }
}

void CConnectionChoicesTests::relativePathBecomesAbsolute_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    const QString here = QDir::currentPath();
    QTest::newRow("SQLite, relative") << 0 << "data/shop.db" << here + "/data/shop.db";
    QTest::newRow("SQLite, dot dot") << 0 << "../shop.db" << QDir::cleanPath(here + "/../shop.db");
    QTest::newRow("SQLite, absolute") << 0 << "/srv/shop.db"
                                      << "/srv/shop.db";
    QTest::newRow("SQLite, in memory") << 0 << ":memory:"
                                       << ":memory:";
    QTest::newRow("SQLite, empty") << 0 << ""
                                   << "";
    QTest::newRow("FireBird address") << 1 << "db.example.com"
                                      << "db.example.com";
    QTest::newRow("ODBC string") << 2 << "DSN=shop"
                                 << "DSN=shop";
}

void CConnectionChoicesTests::relativePathBecomesAbsolute()
{
    QFETCH(int, type);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    CConnectionDlg dialog;
    dialog.Connection.Type = type;
    RunDialog(dialog, [&] {
        QLineEdit* edit = PathEdit(&dialog);
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return); // the default button: OK
    });
    QCOMPARE(dialog.Connection.Path, stored);
}

// The user and system data sources, sorted; one picked from the button's
// menu fills "DSN=name", and typing part of a name offers it to complete.
void CConnectionChoicesTests::dataSourcesOfOdbcIni()
{
    CConnectionDlg dialog;
    dialog.Connection.Type = 2;
    QStringList entries;
    RunDialog(dialog, [&] {
        AnswerNextMenu(entries, QStringLiteral("DSN=Sales Ledger"));
        Click(&dialog, IdcConnectionDataSources);
        QCOMPARE(PathEdit(&dialog)->text(), QStringLiteral("DSN=Sales Ledger"));

        QCompleter* completer = PathEdit(&dialog)->completer();
        QVERIFY(completer);
        auto* model = qobject_cast<QStringListModel*>(completer->model());
        QVERIFY(model);
        QCOMPARE(model->stringList(), entries);
        // Free typing stays possible.
        PathEdit(&dialog)->setFocus();
        QTest::keyClick(PathEdit(&dialog), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(PathEdit(&dialog), QStringLiteral("Driver=X;Database=y"));
        QTest::mouseClick(FindControl<QPushButton>(&dialog, IdcConnectionOk), Qt::LeftButton);
    });
    QCOMPARE(entries, (QStringList{"DSN=archive", "DSN=Sales Ledger", "DSN=Warehouse"}));
    QCOMPARE(dialog.Connection.Path, QStringLiteral("Driver=X;Database=y"));
}

QTEST_MAIN(CConnectionChoicesTests)
#include "tst_ConnectionChoices.moc"
