// The "DB Connection" dialog as the user meets it, under the offscreen
// platform: the layout each type gets, typing, choosing the type with keys,
// OK and Cancel through a real modal run, the tooltips and the tab order.

#include "common/BoldFont.h"
#include "common/ControlName.h"
#include "profiles/ConnectionDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <functional>

namespace {

// Every control of the dialog that has an id, labels included.
const QList<int> AllControls = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                1008, 1009, 1010, 1011, 1012, 1,    2};
const QList<int> AlwaysShown = {1000, 1001, 1011, 1012, 1, 2};

QWidget* Control(const QWidget* dialog, int id)
{
    return FindControl<QWidget>(dialog, id);
}

QLineEdit* Edit(const QWidget* dialog, int id)
{
    return FindControl<QLineEdit>(dialog, id);
}

QComboBox* TypeList(const QWidget* dialog)
{
    return FindControl<QComboBox>(dialog, 1001);
}

QString LabelText(const QWidget* dialog, int id)
{
    return FindControl<QLabel>(dialog, id)->text();
}

CConnection Profile(int type)
{
    CConnection profile;
    profile.Type = type;
    profile.Name = QStringLiteral("Staff");
    profile.Path = QStringLiteral("db.example.com");
    profile.Alias = QStringLiteral("employee");
    profile.Login = QStringLiteral("SYSDBA");
    profile.Password = QStringLiteral("masterkey");
    profile.RememberAuth = true;
    return profile;
}

void CompareProfiles(const CConnection& actual, const CConnection& expected)
{
    QCOMPARE(actual.Type, expected.Type);
    QCOMPARE(actual.Name, expected.Name);
    QCOMPARE(actual.Path, expected.Path);
    QCOMPARE(actual.Alias, expected.Alias);
    QCOMPARE(actual.Login, expected.Login);
    QCOMPARE(actual.Password, expected.Password);
    QCOMPARE(actual.RememberAuth, expected.RememberAuth);
}

// Runs the dialog modally; act does what the user does once it is up. The
// dialog is closed by force if act leaves it open, so a failure cannot hang.
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

// Replaces the text of the focused line edit as a user does: select all, type.
void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

// The text a tooltip shows. The table that sets a tip's width puts line
// breaks before and after the text.
QString ShownText(const QString& toolTip)
{
    QTextDocument shown;
    shown.setHtml(toolTip);
    return shown.toPlainText().trimmed();
}

// The tooltip on the screen, or null.
QLabel* ShownToolTip()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible())
            return qobject_cast<QLabel*>(top);
    return nullptr;
}

// Chooses a type with the keyboard: the list selects the entry whose name
// starts with the letter typed.
void ChooseType(const QWidget* dialog, Qt::Key initial)
{
    QComboBox* list = TypeList(dialog);
    list->setFocus();
    QTest::keyClick(list, initial);
}

} // namespace

class CConnectionDlgTests : public QObject
{
    Q_OBJECT

private slots:
    void layoutForType_data();
    void layoutForType();
    void addingShowsOnlyNameAndType();
    void switchingTypeKeepsHiddenValues();
    void okReadsEveryField_data();
    void okReadsEveryField();
    void cancelLeavesProfile_data();
    void cancelLeavesProfile();
    void toolTips_data();
    void toolTips();
    void longToolTipWraps();
    void tabOrder();
    void texts();
    void boldFontIsShared();
};

void CConnectionDlgTests::layoutForType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("pathLabel");
    QTest::addColumn<QList<int>>("shown");

    const QList<int> none = AlwaysShown;
    QTest::newRow("no type") << -1 << -1 << "Connect String:" << none;
    QTest::newRow("SQLite") << 0 << 0 << "Database File Path:" << none + QList<int>{1006, 1002};
    QTest::newRow("FireBird") << 1 << 1 << "FireBird Server Address:" << AllControls;
    QTest::newRow("ODBC") << 2 << 2 << "ODBC Connect String:"
                          << none + QList<int>{1006, 1002, 1007, 1003, 1008, 1004, 1005};
    QTest::newRow("unknown code") << 7 << -1 << "Connect String:" << none;
}

void CConnectionDlgTests::layoutForType()
{
    QFETCH(int, type);
    QFETCH(int, selected);
    QFETCH(QString, pathLabel);
    QFETCH(QList<int>, shown);

    CConnectionDlg dialog;
    dialog.Connection = Profile(type);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(TypeList(&dialog)->currentIndex(), selected);
    QCOMPARE(LabelText(&dialog, 1006), pathLabel);
    for (int id : AllControls)
        QVERIFY2(Control(&dialog, id)->isVisible() == shown.contains(id),
                 qPrintable(QStringLiteral("control %1").arg(id)));
    // Every field holds its value, shown or not.
    QCOMPARE(Edit(&dialog, 1000)->text(), QStringLiteral("Staff"));
    QCOMPARE(Edit(&dialog, 1002)->text(), QStringLiteral("db.example.com"));
    QCOMPARE(Edit(&dialog, 1009)->text(), QStringLiteral("employee"));
    QCOMPARE(Edit(&dialog, 1003)->text(), QStringLiteral("SYSDBA"));
    QCOMPARE(Edit(&dialog, 1004)->text(), QStringLiteral("masterkey"));
    QVERIFY(FindControl<QCheckBox>(&dialog, 1005)->isChecked());
    // Hidden rows leave no holes: the rows shown follow one another.
    if (shown.contains(1002))
        QVERIFY(Control(&dialog, 1002)->y() > Control(&dialog, 1001)->y());
}

void CConnectionDlgTests::addingShowsOnlyNameAndType()
{
    CConnectionDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QVERIFY(Edit(&dialog, 1000)->text().isEmpty());
    QCOMPARE(TypeList(&dialog)->currentIndex(), -1);
    QCOMPARE(TypeList(&dialog)->currentText(), QString());
    for (int id : AllControls)
        QCOMPARE(Control(&dialog, id)->isVisible(), AlwaysShown.contains(id));
    const QSize size = dialog.size();

    ChooseType(&dialog, Qt::Key_F);
    QCOMPARE(TypeList(&dialog)->currentIndex(), 1);
    QCOMPARE(LabelText(&dialog, 1006), QStringLiteral("FireBird Server Address:"));
    for (int id : AllControls)
        QVERIFY2(Control(&dialog, id)->isVisible(), qPrintable(QString::number(id)));
    // The dialog keeps its size whatever the rows shown.
    QCOMPARE(dialog.size(), size);
}

void CConnectionDlgTests::switchingTypeKeepsHiddenValues()
{
    CConnectionDlg dialog;
    dialog.Connection.Type = 1;
    const int result = RunDialog(dialog, [&] {
        Retype(Edit(&dialog, 1000), QStringLiteral("Local"));
        Retype(Edit(&dialog, 1009), QStringLiteral("stock"));
        Retype(Edit(&dialog, 1002), QStringLiteral("/var/db/stock.sqlite"));
        Retype(Edit(&dialog, 1003), QStringLiteral("clerk"));
        Retype(Edit(&dialog, 1004), QStringLiteral("s3cret"));
        QTest::mouseClick(Control(&dialog, 1005), Qt::LeftButton);

        ChooseType(&dialog, Qt::Key_S);
        QCOMPARE(LabelText(&dialog, 1006), QStringLiteral("Database File Path:"));
        for (int id : {1010, 1009, 1007, 1003, 1008, 1004, 1005})
            QVERIFY(!Control(&dialog, id)->isVisible());
        QVERIFY(Control(&dialog, 1002)->isVisible());
        QCOMPARE(Edit(&dialog, 1009)->text(), QStringLiteral("stock"));
        QTest::mouseClick(Control(&dialog, 1), Qt::LeftButton);
    });

    QCOMPARE(result, int(QDialog::Accepted));
    CConnection expected;
    expected.Type = 0;
    expected.Name = QStringLiteral("Local");
    expected.Alias = QStringLiteral("stock");
    expected.Path = QStringLiteral("/var/db/stock.sqlite");
    expected.Login = QStringLiteral("clerk");
    expected.Password = QStringLiteral("s3cret");
    expected.RememberAuth = true;
    CompareProfiles(dialog.Connection, expected);
}

void CConnectionDlgTests::okReadsEveryField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("byEnter");

    // Nothing is checked: an empty name and no type are taken as they are.
    QTest::newRow("empty name, OK clicked") << QString() << false;
    QTest::newRow("name, OK clicked") << QStringLiteral("Orders") << false;
    QTest::newRow("name, Enter pressed") << QStringLiteral("Orders") << true;
}

void CConnectionDlgTests::okReadsEveryField()
{
    QFETCH(QString, name);
    QFETCH(bool, byEnter);

    CConnectionDlg dialog;
    const int result = RunDialog(dialog, [&] {
        QVERIFY(Edit(&dialog, 1000)->hasFocus());
        QTest::keyClicks(Edit(&dialog, 1000), name);
        if (byEnter)
            QTest::keyClick(Edit(&dialog, 1000), Qt::Key_Return);
        else
            QTest::mouseClick(Control(&dialog, 1), Qt::LeftButton);
    });

    QCOMPARE(result, int(QDialog::Accepted));
    CConnection expected;
    expected.Name = name;
    CompareProfiles(dialog.Connection, expected);
    QCOMPARE(dialog.Connection.Type, -1);
}

void CConnectionDlgTests::cancelLeavesProfile_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Cancel clicked") << false;
    QTest::newRow("Escape pressed") << true;
}

void CConnectionDlgTests::cancelLeavesProfile()
{
    QFETCH(bool, byEscape);

    const CConnection original = Profile(2);
    CConnectionDlg dialog;
    dialog.Connection = original;
    const int result = RunDialog(dialog, [&] {
        for (int id : {1000, 1002, 1003, 1004})
            Retype(Edit(&dialog, id), QStringLiteral("changed"));
        QTest::mouseClick(Control(&dialog, 1005), Qt::LeftButton);
        ChooseType(&dialog, Qt::Key_F);
        Retype(Edit(&dialog, 1009), QStringLiteral("changed"));
        if (byEscape)
            QTest::keyClick(Edit(&dialog, 1009), Qt::Key_Escape);
        else
            QTest::mouseClick(Control(&dialog, 2), Qt::LeftButton);
    });

    QCOMPARE(result, int(QDialog::Rejected));
    CompareProfiles(dialog.Connection, original);
}

void CConnectionDlgTests::toolTips_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");

    QTest::newRow("name") << 1000
                          << "The program will show this name on the screen among other database "
                             "connections";
    QTest::newRow("type") << 1001
                          << "Connection type explains the program what interface functions it "
                             "should use to connect to the database";
    QTest::newRow("alias") << 1009
                           << "FireBird database alias FireBird uses to address the database";
    QTest::newRow("path") << 1002
                          << "The path to the database file for SQLite databases, FireBird server "
                             "name in literal or dotted notation for FireBird databases or the "
                             "string that will be used to ODBC driver to connect to database, e.g. "
                             "\"DSN=YourDsnName;\"";
    QTest::newRow("login") << 1003 << "User name that will be used to log into the database";
    QTest::newRow("password") << 1004 << "Password that will be used to log into the database";
    QTest::newRow("remember") << 1005
                              << "Please click this option if you wish the program to save "
                                 "authentication information when exiting and restore it when "
                                 "launching";
}

void CConnectionDlgTests::toolTips()
{
    QFETCH(int, id);
    QFETCH(QString, text);

    CConnectionDlg dialog;
    QCOMPARE(ShownText(Control(&dialog, id)->toolTip()), text);
}

void CConnectionDlgTests::longToolTipWraps()
{
    CConnectionDlg dialog;
    dialog.Connection.Type = 2;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    // The tooltip as a hovering mouse asks for it.
    QWidget* path = Control(&dialog, 1002);
    QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), path->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(path, &hover);
    QLabel* tip = nullptr;
    QTRY_VERIFY((tip = ShownToolTip()) != nullptr);
    QVERIFY(ShownText(tip->text()).endsWith(QLatin1String("e.g. \"DSN=YourDsnName;\"")));
    // About 200 pixels wide, so the long text takes several lines.
    const int frame = tip->width() - tip->contentsRect().width();
    QVERIFY2(tip->width() - frame <= 220, qPrintable(QString::number(tip->width())));
    QVERIFY(tip->height() > 4 * tip->fontMetrics().height());
}

void CConnectionDlgTests::tabOrder()
{
    CConnectionDlg dialog;
    dialog.Connection.Type = 1;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order.join(QLatin1Char(' ')),
             QStringLiteral("1000 1001 1009 1002 1003 1004 1005 1 2 1000"));
}

void CConnectionDlgTests::texts()
{
    CConnectionDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("DB Connection"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels.append(label->text());
    QVERIFY(labels.contains(
        QStringLiteral("This window allows you to specify the database connection properties:")));
    QCOMPARE(LabelText(&dialog, 1011), QStringLiteral("Connection Name:"));
    QCOMPARE(LabelText(&dialog, 1012), QStringLiteral("Connection Type:"));
    QCOMPARE(LabelText(&dialog, 1010), QStringLiteral("Database Alias:"));
    QCOMPARE(LabelText(&dialog, 1006), QStringLiteral("Connect String:"));
    QCOMPARE(LabelText(&dialog, 1007), QStringLiteral("Login:"));
    QCOMPARE(LabelText(&dialog, 1008), QStringLiteral("Password:"));
    QCOMPARE(FindControl<QCheckBox>(&dialog, 1005)->text(),
             QStringLiteral("Remember authentication info permanently"));
    QCOMPARE(FindControl<QPushButton>(&dialog, 1)->text(), QStringLiteral("OK"));
    QVERIFY(FindControl<QPushButton>(&dialog, 1)->isDefault());
    QCOMPARE(FindControl<QPushButton>(&dialog, 2)->text(), QStringLiteral("Cancel"));
    QCOMPARE(Edit(&dialog, 1004)->echoMode(), QLineEdit::Password);

    QComboBox* list = TypeList(&dialog);
    QVERIFY(!list->isEditable());
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(0), QStringLiteral("SQLite"));
    QCOMPARE(list->itemText(1), QStringLiteral("FireBird"));
    QCOMPARE(list->itemText(2), QStringLiteral("ODBC"));

    // The name and type rows are bold, the others are not.
    for (int id : {1000, 1001, 1011, 1012})
        QCOMPARE(Control(&dialog, id)->font().weight(), QFont::Bold);
    for (int id : {1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010})
        QVERIFY(Control(&dialog, id)->font().weight() != QFont::Bold);
}

void CConnectionDlgTests::boldFontIsShared()
{
    // Two dialogs, one bold font: the later window's own font does not
    // make another.
    CConnectionDlg first;
    QWidget other;
    QFont large = other.font();
    large.setPointSize(large.pointSize() + 9);
    other.setFont(large);
    SetBoldFont(&other);
    CConnectionDlg second;
    QCOMPARE(other.font(), Control(&first, 1011)->font());
    QCOMPARE(Control(&second, 1000)->font(), Control(&first, 1000)->font());
    QVERIFY(other.font().pointSize() != large.pointSize());
}

QTEST_MAIN(CConnectionDlgTests)
#include "tst_ConnectionDlg.moc"
