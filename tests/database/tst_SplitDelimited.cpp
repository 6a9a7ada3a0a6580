#include "database/SplitDelimited.h"

#include <QTest>

class CSplitDelimitedTests : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void appendsToTheList();
};

void CSplitDelimitedTests::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("empty text") << ""
                                << ";" << QStringList{};
    QTest::newRow("no delimiter") << "select 1"
                                  << ";" << QStringList{"select 1"};
    QTest::newRow("pieces are not trimmed") << " a ; b "
                                            << ";" << QStringList{" a ", " b "};
    QTest::newRow("two delimiters in a row") << "a;;b"
                                             << ";" << QStringList{"a", "", "b"};
    QTest::newRow("leading delimiter") << ";a"
                                       << ";" << QStringList{"", "a"};
    QTest::newRow("trailing delimiter gives no empty piece") << "a;"
                                                             << ";" << QStringList{"a"};
    QTest::newRow("only a delimiter") << ";"
                                      << ";" << QStringList{""};
    QTest::newRow("delimiter then line break") << "a;\n"
                                               << ";" << QStringList{"a", "\n"};
    QTest::newRow("double quotes protect") << "select \"a;b\"; x"
                                           << ";" << QStringList{"select \"a;b\"", " x"};
    QTest::newRow("apostrophes do not protect") << "select 'a;b'"
                                                << ";" << QStringList{"select 'a", "b'"};
    QTest::newRow("unclosed quote protects the rest") << "a;\"b;c"
                                                      << ";" << QStringList{"a", "\"b;c"};
    QTest::newRow("doubled quote closes and reopens") << "\"a\"\";\";b"
                                                      << ";" << QStringList{"\"a\"\";\"", "b"};
    QTest::newRow("other delimiter") << "a,b;c"
                                     << "," << QStringList{"a", "b;c"};
    QTest::newRow("CR LF kept") << "a\r\n;b"
                                << ";" << QStringList{"a\r\n", "b"};
}

void CSplitDelimitedTests::split()
{
    QFETCH(QString, text);
    QFETCH(QString, delimiter);
    QFETCH(QStringList, pieces);
    QStringList list;
    SplitDelimited(text, list, delimiter.at(0));
    QCOMPARE(list, pieces);
}

void CSplitDelimitedTests::appendsToTheList()
{
    QStringList list{QStringLiteral("earlier")};
    SplitDelimited(QStringLiteral("a;b"), list, u';');
    QCOMPARE(list, (QStringList{"earlier", "a", "b"}));
}

QTEST_GUILESS_MAIN(CSplitDelimitedTests)
#include "tst_SplitDelimited.moc"
