// The About box and its link under the offscreen platform: the texts, the
// version, the link's cursor across real mouse moves, and what a click opens
// or tells. Opening goes to a URL handler of the test's own, so no browser
// starts.

// Mouse events take the platform's path, which sends enter and leave events
// as a real mouse does.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/ControlName.h"
#include "shell/AboutDlg.h"
#include "shell/HyperlinkStatic.h"
#include "shell/ProductVersion.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

// Takes the place of the desktop's browser.
class CUrlRecorder : public QObject
{
    Q_OBJECT

public slots:
    void Open(const QUrl& url) { Opened.append(url); }

public:
    QList<QUrl> Opened;
};

// Records the link clicks its watched object is told of.
class CClickRecorder : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == CHyperlinkStatic::CClickedEvent::Type())
            Ids.append(static_cast<CHyperlinkStatic::CClickedEvent*>(event)->ControlId);
        return QObject::eventFilter(watched, event);
    }

    QList<int> Ids;
};

} // namespace

class CAboutDlgTests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void productVersionText_data();
    void productVersionText();
    void texts();
    void linkLooks();
    void cursorFollowsText();
    void click_data();
    void click();

private:
    CUrlRecorder Browser_;
};

void CAboutDlgTests::initTestCase()
{
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &Browser_, "Open");
}

void CAboutDlgTests::cleanupTestCase()
{
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void CAboutDlgTests::productVersionText_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("text");

    QTest::newRow("four parts") << "1.0.3.0"
                                << "1.0.3";
    QTest::newRow("fourth part dropped") << "2.5.17.9"
                                         << "2.5.17";
    QTest::newRow("three parts") << "1.2.3"
                                 << "1.2.3";
    QTest::newRow("one part") << "7"
                              << "7.0.0";
    QTest::newRow("largest") << "65535.65535.65535.65535"
                             << "65535.65535.65535";
    QTest::newRow("leading zeros") << "01.002.0003"
                                   << "1.2.3";
    QTest::newRow("none") << ""
                          << "0.0.0";
    QTest::newRow("too large") << "1.65536.0"
                               << "0.0.0";
    QTest::newRow("five parts") << "1.2.3.4.5"
                                << "0.0.0";
    QTest::newRow("not a number") << "1.x.3"
                                  << "0.0.0";
    QTest::newRow("empty part") << "1..3"
                                << "0.0.0";
    QTest::newRow("negative") << "-1.0.0"
                              << "0.0.0";
    QTest::newRow("blank") << " 1.0.0"
                           << "0.0.0";
}

void CAboutDlgTests::productVersionText()
{
    QFETCH(QString, version);
    QFETCH(QString, text);
    QCOMPARE(ProductVersionText(version), text);
}

void CAboutDlgTests::texts()
{
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tablescope"));
    auto* product = FindControl<QLabel>(&dialog, 1000);
    QCOMPARE(product->text(), QStringLiteral("Brevan Tablescope"));
    QCOMPARE(product->font().weight(), QFont::Bold);
    QCOMPARE(FindControl<QLabel>(&dialog, 1015)->text(),
             QStringLiteral("Version ") + ProductVersionText(QStringLiteral(TABLESCOPE_VERSION)));
    QCOMPARE(ProductVersionText(), ProductVersionText(QStringLiteral(TABLESCOPE_VERSION)));
    auto* ok = FindControl<QPushButton>(&dialog, 1);
    QCOMPARE(ok->text(), QString::fromUtf16(u"\u041E\u041A"));
    QVERIFY(ok->isDefault());

    auto* link = FindControl<CHyperlinkStatic>(&dialog, 1016);
    QCOMPARE(link, dialog.Link());
    QCOMPARE(link->Id(), 1016);
    const QUrl url(link->Url);
    QVERIFY(url.isValid());
    QVERIFY(url.host() == QLatin1String("example.com") ||
            url.host().endsWith(QLatin1String(".example.com")));
    QVERIFY(!link->GetText().isEmpty());

    int pictures = 0;
    int lines = 0;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        pictures += !label->pixmap().isNull();
        lines += !label->text().isEmpty();
    }
    QCOMPARE(pictures, 1); // the application icon
    QCOMPARE(lines, 3);    // name, version and the line about the maker

    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void CAboutDlgTests::linkLooks()
{
    CAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    CHyperlinkStatic* link = dialog.Link();
    const QSize text = link->TextSize();
    QVERIFY(text.width() > 0 && text.height() > 0);
    QVERIFY2(link->width() > text.width() + 10, "room to the right of the text");

    // Pure blue, from the top-left corner, nowhere beyond the text; the
    // underline makes a blue row across the text's width.
    const QImage image = link->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = image.devicePixelRatio();
    int widestRow = 0;
    for (int y = 0; y < image.height(); ++y) {
        int row = 0;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 255)) {
                ++row;
                QVERIFY(x / ratio < text.width() + 1);
                QVERIFY(y / ratio < text.height() + 1);
            }
        widestRow = qMax(widestRow, row);
    }
    QVERIFY(widestRow >= text.width() * ratio * 0.9);
}

void CAboutDlgTests::cursorFollowsText()
{
    CAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    CHyperlinkStatic* link = dialog.Link();
    const QSize text = link->TextSize();
    const QPoint inside(text.width() / 2, text.height() / 2);
    const QPoint corner(0, 0);
    const QPoint lastInside(text.width() - 1, text.height() - 1);
    const QPoint rightOfText(text.width(), text.height() / 2);
    QWidget* ok = FindControl<QWidget>(&dialog, 1);
    auto shape = [link] { return link->cursor().shape(); };

    QTest::mouseMove(ok, QPoint(2, 2));
    QTest::mouseMove(link, inside);
    QCOMPARE(shape(), Qt::ArrowCursor); // the first move only starts tracking
    QTest::mouseMove(link, corner);
    QCOMPARE(shape(), Qt::PointingHandCursor);
    QTest::mouseMove(link, rightOfText);
    QCOMPARE(shape(), Qt::ArrowCursor);
    QTest::mouseMove(link, lastInside);
    QCOMPARE(shape(), Qt::PointingHandCursor);

    QTest::mouseMove(ok, QPoint(2, 2)); // leaving restores the arrow
    QCOMPARE(shape(), Qt::ArrowCursor);
    QTest::mouseMove(link, inside);
    QCOMPARE(shape(), Qt::ArrowCursor);
    QTest::mouseMove(link, lastInside);
    QCOMPARE(shape(), Qt::PointingHandCursor);
}

void CAboutDlgTests::click_data()
{
    QTest::addColumn<bool>("withUrl");
    QTest::addColumn<int>("where"); // 0 on the text, 1 just right of it, 2 below it
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("opened");
    QTest::addColumn<int>("told");

    QTest::newRow("on the text") << true << 0 << int(Qt::LeftButton) << 1 << 0;
    QTest::newRow("right of the text") << true << 1 << int(Qt::LeftButton) << 0 << 0;
    QTest::newRow("below the text") << true << 2 << int(Qt::LeftButton) << 0 << 0;
    QTest::newRow("right button") << true << 0 << int(Qt::RightButton) << 0 << 0;
    QTest::newRow("no address, on the text") << false << 0 << int(Qt::LeftButton) << 0 << 1;
    QTest::newRow("no address, right of the text") << false << 1 << int(Qt::LeftButton) << 0 << 0;
}

void CAboutDlgTests::click()
{
    QFETCH(bool, withUrl);
    QFETCH(int, where);
    QFETCH(int, button);
    QFETCH(int, opened);
    QFETCH(int, told);

    CAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    CHyperlinkStatic* link = dialog.Link();
    const QString url = link->Url;
    if (!withUrl)
        link->Url.clear();
    link->setMinimumHeight(link->TextSize().height() * 2);
    QTRY_VERIFY(link->height() >= link->TextSize().height() * 2);
    CClickRecorder parent;
    dialog.installEventFilter(&parent);
    Browser_.Opened.clear();

    const QSize text = link->TextSize();
    const QPoint points[] = {QPoint(1, 1), QPoint(text.width() + 2, text.height() / 2),
                             QPoint(2, text.height() + 1)};
    QTest::mouseClick(link, Qt::MouseButton(button), {}, points[where]);

    QCOMPARE(Browser_.Opened.size(), opened);
    if (opened)
        QCOMPARE(Browser_.Opened.first(), QUrl(url));
    QCOMPARE(parent.Ids, told ? QList<int>{1016} : QList<int>{});
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(CAboutDlgTests)
#include "tst_AboutDlg.moc"
