// The "Database Login" dialog through real modal runs under the offscreen
// platform: what it shows, what typing, OK and Cancel hand back.

#include "common/ControlName.h"
#include "profiles/LoginDlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

enum EClose
{
    CloseByOk,
    CloseByEnter,
    CloseByCancel,
    CloseByEscape,
};

QLineEdit* Edit(const QWidget* dialog, int id)
{
    return FindControl<QLineEdit>(dialog, id);
}

// Runs the dialog modally; act does what the user does once it is up. The
// dialog is closed by force if act leaves it open, so a failure cannot hang.
int RunDialog(CLoginDlg& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, [&] {
        if (QTest::qWaitForWindowActive(&dialog))
            act();
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return dialog.exec();
}

// Types text into widget key by key, letters outside ASCII included.
void Type(QWidget* widget, const QString& text)
{
    for (QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

void Close(const CLoginDlg& dialog, EClose close)
{
    QWidget* focus = QApplication::focusWidget();
    switch (close) {
    case CloseByOk:
        QTest::mouseClick(FindControl<QPushButton>(&dialog, 1), Qt::LeftButton);
        break;
    case CloseByEnter:
        QTest::keyClick(focus, Qt::Key_Return);
        break;
    case CloseByCancel:
        QTest::mouseClick(FindControl<QPushButton>(&dialog, 2), Qt::LeftButton);
        break;
    case CloseByEscape:
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    }
}

} // namespace

class CLoginDlgTests : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
    void texts();
};

void CLoginDlgTests::run_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typedName");     // null: the field is left alone
    QTest::addColumn<QString>("typedPassword"); // null: the field is left alone
    QTest::addColumn<int>("close");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("resultName");
    QTest::addColumn<QString>("resultPassword");

    const QString none;
    const QString sysdba = QStringLiteral("SYSDBA");
    const QString key = QStringLiteral("masterkey");
    QTest::newRow("stored login, OK") << sysdba << key << none << none << int(CloseByOk)
                                      << int(QDialog::Accepted) << sysdba << key;
    QTest::newRow("stored login, Enter") << sysdba << key << none << none << int(CloseByEnter)
                                         << int(QDialog::Accepted) << sysdba << key;
    QTest::newRow("both empty, OK") << QString() << QString() << none << none << int(CloseByOk)
                                    << int(QDialog::Accepted) << QString() << QString();
    QTest::newRow("typed, OK") << QString() << QString() << QStringLiteral("clerk")
                               << QStringLiteral("p\u00e4ss w") << int(CloseByOk)
                               << int(QDialog::Accepted) << QStringLiteral("clerk")
                               << QStringLiteral("p\u00e4ss w");
    QTest::newRow("typed, Cancel")
        << sysdba << key << QStringLiteral("clerk") << QStringLiteral("other") << int(CloseByCancel)
        << int(QDialog::Rejected) << sysdba << key;
    QTest::newRow("typed, Escape")
        << sysdba << key << QStringLiteral("clerk") << QStringLiteral("other") << int(CloseByEscape)
        << int(QDialog::Rejected) << sysdba << key;
}

void CLoginDlgTests::run()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, typedName);
    QFETCH(QString, typedPassword);
    QFETCH(int, close);
    QFETCH(int, result);
    QFETCH(QString, resultName);
    QFETCH(QString, resultPassword);

    CLoginDlg dialog;
    dialog.UserName = name;
    dialog.UserPassword = password;
    const int outcome = RunDialog(dialog, [&] {
        QLineEdit* nameEdit = Edit(&dialog, 1003);
        QLineEdit* passwordEdit = Edit(&dialog, 1004);
        QVERIFY(nameEdit->hasFocus());
        QCOMPARE(nameEdit->text(), name);
        QCOMPARE(passwordEdit->text(), password);
        // The password shows only masking characters.
        QCOMPARE(passwordEdit->echoMode(), QLineEdit::Password);
        if (!password.isEmpty())
            QVERIFY(!passwordEdit->displayText().contains(password));
        for (auto [edit, text] :
             {std::pair{nameEdit, typedName}, std::pair{passwordEdit, typedPassword}}) {
            if (text.isNull())
                continue;
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            Type(edit, text);
        }
        Close(dialog, EClose(close));
    });

    QCOMPARE(outcome, result);
    QCOMPARE(dialog.UserName, resultName);
    QCOMPARE(dialog.UserPassword, resultPassword);
}

void CLoginDlgTests::texts()
{
    CLoginDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Database Login"));
    QStringList texts;
    const QLabel* picture = nullptr;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts.append(label->text());
        if (!label->pixmap().isNull())
            picture = label;
    }
    QVERIFY(texts.contains(QStringLiteral("Please sppecify user name and password the program "
                                          "will use to log you in the database:")));
    QVERIFY(texts.contains(QStringLiteral("User name:")));
    QVERIFY(texts.contains(QStringLiteral("Password:")));
    QCOMPARE(FindControl<QPushButton>(&dialog, 1)->text(), QStringLiteral("OK"));
    QVERIFY(FindControl<QPushButton>(&dialog, 1)->isDefault());
    QCOMPARE(FindControl<QPushButton>(&dialog, 2)->text(), QStringLiteral("Cancel"));

    // The keys: at least 48 by 48, drawn in gold and in silver.
    QVERIFY(picture);
    const QImage keys = picture->pixmap().toImage();
    QVERIFY(keys.deviceIndependentSize().width() >= 48);
    QCOMPARE(keys.width(), keys.height());
    bool gold = false;
    bool silver = false;
    for (int y = 0; y < keys.height(); ++y)
        for (int x = 0; x < keys.width(); ++x) {
            const QColor colour = keys.pixelColor(x, y);
            if (colour.alpha() < 255)
                continue;
            gold = gold || (colour.red() > 180 && colour.green() > 120 && colour.blue() < 100);
            silver = silver || (colour.red() > 150 && qAbs(colour.red() - colour.blue()) < 20);
        }
    QVERIFY(gold);
    QVERIFY(silver);
}

QTEST_MAIN(CLoginDlgTests)
#include "tst_LoginDlg.moc"
