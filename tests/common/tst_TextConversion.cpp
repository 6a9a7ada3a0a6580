#include "common/SaturatedInt.h"
#include "common/TextConversion.h"

#include <QTest>
#include <clocale>
#include <cmath>
#include <limits>

class CTextConversionTests : public QObject
{
    Q_OBJECT

private slots:
    void textToInt_data();
    void textToInt();
    void textToDouble_data();
    void textToDouble();
    void textToDoubleIgnoresLocale();
    void utf8ToText();
    void intToText();
    void saturatedInt();
};

void CTextConversionTests::textToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "42" << 42;
    QTest::newRow("leading blanks") << " \t\n 42" << 42;
    QTest::newRow("sign") << "-17" << -17;
    QTest::newRow("plus") << "+17" << 17;
    QTest::newRow("stops at other") << "12abc" << 12;
    QTest::newRow("stops at point") << "12.9" << 12;
    QTest::newRow("no digits") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("sign alone") << "-" << 0;
    QTest::newRow("blank after sign") << "- 5" << 0;
    QTest::newRow("trailing blanks") << "7   " << 7;
    QTest::newRow("largest") << "2147483647" << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << "-2147483648" << std::numeric_limits<int>::min();
    QTest::newRow("too large saturates")
        << "99999999999999999999" << std::numeric_limits<int>::max();
    QTest::newRow("too small saturates")
        << "-99999999999999999999" << std::numeric_limits<int>::min();
    QTest::newRow("non-ASCII digit stops") << QString::fromUtf8("1٣") << 1;
}

void CTextConversionTests::textToInt()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(TextToInt(text), value);
}

void CTextConversionTests::textToDouble_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "42" << 42.0;
    QTest::newRow("fraction") << "  -2.5" << -2.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "1." << 1.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("signed exponent") << "2.5E-2" << 0.025;
    QTest::newRow("exponent without digits") << "3e" << 3.0;
    QTest::newRow("exponent sign without digits") << "3e+x" << 3.0;
    QTest::newRow("stops at other") << "7.25kg" << 7.25;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no hex") << "0x1F" << 0.0;
    QTest::newRow("no inf") << "inf" << 0.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
}

void CTextConversionTests::textToDouble()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(TextToDouble(text), value);
}

void CTextConversionTests::textToDoubleIgnoresLocale()
{
    // A locale whose decimal separator is the comma, when the machine has one.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const QByteArray saved(old ? old : "C");
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
        QSKIP("no locale with a decimal comma is installed");
    const double value = TextToDouble(QStringLiteral("1.5"));
    std::setlocale(LC_NUMERIC, saved.constData());
    QCOMPARE(value, 1.5);
}

void CTextConversionTests::utf8ToText()
{
    QCOMPARE(Utf8ToText(nullptr), QString());
    QCOMPARE(Utf8ToText("abc"), QStringLiteral("abc"));
    QCOMPARE(Utf8ToText("\xd0\x96x", 2), QString::fromUtf8("Ж"));
    QCOMPARE(AnsiToWide(nullptr), QString());
    QCOMPARE(AnsiToWide("plain"), QStringLiteral("plain"));
}

void CTextConversionTests::intToText()
{
    QCOMPARE(IntToText(0), QStringLiteral("0"));
    QCOMPARE(IntToText(-12), QStringLiteral("-12"));
    QCOMPARE(IntToText(std::numeric_limits<int>::min()), QStringLiteral("-2147483648"));
}

void CTextConversionTests::saturatedInt()
{
    constexpr int largest = std::numeric_limits<int>::max();
    constexpr int smallest = std::numeric_limits<int>::min();
    QCOMPARE(SaturatedInt(-2.7), -2);
    QCOMPARE(SaturatedInt(3e9), largest);
    QCOMPARE(SaturatedInt(-3e9), smallest);
    QCOMPARE(SaturatedInt(std::numeric_limits<double>::infinity()), largest);
    QCOMPARE(SaturatedInt(std::nan("")), 0);
    QCOMPARE(SaturatedInt(qint64(5000000000)), largest);
    QCOMPARE(SaturatedInt(qint64(-5000000000)), smallest);
}

QTEST_GUILESS_MAIN(CTextConversionTests)
#include "tst_TextConversion.moc"
