// The status bar's CAP, NUM and SCRL indicators of the real main window.
// Under the offscreen platform, which cannot tell the lock keys' state, they
// stay blank through presses of the lock keys. On an X server (the test run
// a second time under Xvfb with the xcb platform) each shows its name while
// its lock is on, the lock set and cleared through XKB as a key would.

#include "shell/LockKeys.h"
#include "shell/MainFrame.h"
#include "shell/TablescopeApp.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#if defined(TABLESCOPE_HAVE_XKB) && QT_CONFIG(xcb)
#define TABLESCOPE_TEST_XKB 1
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

class CLockKeysTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void indicatorsStayBlankWhereUnknown();
    void indicatorsFollowLocks_data();
    void indicatorsFollowLocks();

private:
    QString Text(const char* indicator) const;
    bool OnX11() const { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

    QTemporaryDir Config;
    std::unique_ptr<CMainFrame> Frame;
};

void CLockKeysTests::initTestCase()
{
    CTablescopeApp::SetUp();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config.path()));
}

void CLockKeysTests::init()
{
    Frame = std::make_unique<CMainFrame>();
    Frame->resize(900, 600);
    Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(Frame.get()));
}

void CLockKeysTests::cleanup()
{
    Frame.reset();
}

QString CLockKeysTests::Text(const char* indicator) const
{
    const auto* label = Frame->statusBar()->findChild<QLabel*>(QString::fromLatin1(indicator));
    return label ? label->text() : QStringLiteral("(no %1 indicator)").arg(indicator);
}

void CLockKeysTests::indicatorsStayBlankWhereUnknown()
{
    if (OnX11())
        QSKIP("an X server tells the lock keys' state");
    QVERIFY(!CLockKeys::Read());
    for (const Qt::Key key : {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock, Qt::Key_A}) {
        QTest::keyClick(Frame.get(), key);
        QTest::qWait(20);
        QCOMPARE(Text("CAP"), QString());
        QCOMPARE(Text("NUM"), QString());
        QCOMPARE(Text("SCRL"), QString());
    }
}

void CLockKeysTests::indicatorsFollowLocks_data()
{
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<int>("keysym");
    QTest::addColumn<QStringList>("others");
#ifdef TABLESCOPE_TEST_XKB
    QTest::newRow("Caps Lock") << QStringLiteral("CAP") << int(XK_Caps_Lock)
                               << QStringList{"NUM", "SCRL"};
    QTest::newRow("Num Lock") << QStringLiteral("NUM") << int(XK_Num_Lock)
                              << QStringList{"CAP", "SCRL"};
#endif
}

void CLockKeysTests::indicatorsFollowLocks()
{
#ifdef TABLESCOPE_TEST_XKB
    if (!OnX11())
        QSKIP("only an X server tells the lock keys' state");
    QFETCH(QString, indicator);
    QFETCH(int, keysym);
    QFETCH(QStringList, others);
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    QVERIFY(display);
    const unsigned int mask =
        keysym == XK_Caps_Lock ? LockMask : XkbKeysymToModifiers(display, KeySym(keysym));
    QVERIFY(mask != 0);
    const QByteArray name = indicator.toLatin1();

    for (const bool on : {true, false, true, false}) {
        QVERIFY(XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0));
        XSync(display, False);
        QTest::keyClick(Frame.get(), Qt::Key_Shift); // the key event that makes it look
        QTRY_COMPARE(Text(name.constData()), on ? indicator : QString());
        for (const QString& other : std::as_const(others))
            QCOMPARE(Text(other.toLatin1().constData()), QString());
    }
    const std::optional<CLockKeys::CState> state = CLockKeys::Read();
    QVERIFY(state);
    QCOMPARE(*state, CLockKeys::CState{});
#else
    QSKIP("built without XKB: the indicators stay blank everywhere");
#endif
}

QTEST_MAIN(CLockKeysTests)
#include "tst_LockKeys.moc"
