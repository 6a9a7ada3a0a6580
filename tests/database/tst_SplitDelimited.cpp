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
    QTest::newRow("apostrophes protect") << "select 'a;b'; x"
                                         << ";" << QStringList{"select 'a;b'", " x"};
    QTest::newRow("data that looks like a script")
        << "INSERT INTO notes VALUES ('a; DELETE FROM notes; --'); SELECT 1"
        << ";" << QStringList{"INSERT INTO notes VALUES ('a; DELETE FROM notes; --')", " SELECT 1"};
    QTest::newRow("doubled apostrophe stays inside") << "'it''s;here';b"
                                                     << ";" << QStringList{"'it''s;here'", "b"};
    QTest::newRow("double quote inside apostrophes") << "'\";';b\"'"
                                                     << ";" << QStringList{"'\";'", "b\"'"};
    QTest::newRow("apostrophe inside double quotes") << "\"it's;\";b"
                                                     << ";" << QStringList{"\"it's;\"", "b"};
    QTest::newRow("line comment to its end") << "a -- don't; stop\n;b"
                                             << ";" << QStringList{"a -- don't; stop\n", "b"};
    QTest::newRow("apostrophe in a comment before two statements")
        << "-- it's a note\nselect 1; select 2"
        << ";" << QStringList{"-- it's a note\nselect 1", " select 2"};
    QTest::newRow("block comment") << "a /* x; 'y */; b"
                                   << ";" << QStringList{"a /* x; 'y */", " b"};
    QTest::newRow("block comment over lines") << "/*\n;\n*/a;b"
                                              << ";" << QStringList{"/*\n;\n*/a", "b"};
    QTest::newRow("a lone hyphen and slash are code") << "a-b;c/d;e"
                                                      << ";" << QStringList{"a-b", "c/d", "e"};
    QTest::newRow("unclosed comment protects the rest") << "a;/* b;c"
                                                        << ";" << QStringList{"a", "/* b;c"};
    QTest::newRow("hyphens inside a string are data") << "'--';b"
                                                      << ";" << QStringList{"'--'", "b"};
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
