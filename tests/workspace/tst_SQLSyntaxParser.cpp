#include "ColourLetters.h"
#include "workspace/SQLSyntaxParser.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// The colour of every character: the class of the last block that starts at
// or before it.
QString ColoursOf(const QList<ColourBlock>& blocks, qsizetype length)
{
    QString colours;
    for (qsizetype c = 0; c < length; ++c) {
        QChar letter = u'.';
        for (const ColourBlock& block : blocks)
            if (block.Start <= c)
                letter = ColourLetter(block.ColourIndex);
        colours += letter;
    }
    return colours;
}

// "<state> |<text>|": the text lies between the first and the last bar.
bool ReadCaseLine(const QString& text, quint32& state, QString& between)
{
    const qsizetype first = text.indexOf(u'|');
    const qsizetype last = text.lastIndexOf(u'|');
    bool ok = false;
    state = text.left(first).trimmed().toUInt(&ok);
    between = text.mid(first + 1, last - first - 1);
    return ok && first >= 0 && last > first;
}

// Random text weighted towards what the scanner reacts to, with words it
// knows, non-ASCII characters and now and then any UTF-16 unit at all.
QString RandomLine(QRandomGenerator& random)
{
    static const QString Alphabet = QStringLiteral("\"\"''//**\\\\..((  \t\r\x0b"
                                                   "aeSELECTfromx_09xXeE+-,;=<>\u00e9\u0416\u007f");
    static const QStringList Words = {"select", "varchar", "count(", "0x1F",
                                      "1e+5",   "/*/",     "*/",     "'it\\'s'"};
    const int length = random.bounded(0, 40);
    QString line;
    while (line.size() < length) {
        if (random.bounded(8) == 0)
            line += Words[random.bounded(int(Words.size()))];
        else if (random.bounded(40) == 0)
            line += QChar(char16_t(random.bounded(1, 0x10000))); // lone surrogates too
        else
            line += Alphabet[random.bounded(int(Alphabet.size()))];
    }
    return line;
}

} // namespace

class CSQLSyntaxParserTests : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void blocksBeforeTheLastAreDropped();
    void randomLines();
};

void CSQLSyntaxParserTests::golden_data()
{
    QTest::addColumn<quint32>("incoming");
    QTest::addColumn<QString>("line");
    QTest::addColumn<quint32>("returned");
    QTest::addColumn<QString>("colours");

    QFile file(QFINDTESTDATA("scanner_golden.txt"));
    QVERIFY2(file.open(QIODevice::ReadOnly), "scanner_golden.txt not found");
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QString name;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines[k].startsWith(u'#'))
            name = lines[k].mid(1).trimmed();
        if (lines[k].trimmed().isEmpty() || lines[k].startsWith(u'#'))
            continue;
        quint32 incoming = 0, returned = 0;
        QString line, colours;
        QVERIFY2(k + 1 < lines.size() && ReadCaseLine(lines[k], incoming, line) &&
                     ReadCaseLine(lines[k + 1], returned, colours) && colours.size() == line.size(),
                 qPrintable(QStringLiteral("malformed case at line %1").arg(k + 1)));
        QTest::addRow("%s (line %d)", qPrintable(name), int(k + 1))
            << incoming << line << returned << colours;
        ++k;
    }
}

void CSQLSyntaxParserTests::golden()
{
    QFETCH(quint32, incoming);
    QFETCH(QString, line);
    QFETCH(quint32, returned);
    QFETCH(QString, colours);

    const CSQLSyntaxParser parser;
    QList<ColourBlock> blocks{{0, CSyntaxParser::PlainText}};
    QCOMPARE(parser.ScanLine(incoming, line, &blocks), returned);
    QCOMPARE(ColoursOf(blocks, line.size()), colours);
    QCOMPARE(parser.ScanLine(incoming, line, nullptr), returned); // state only: the same
}

// A block starting before the list's last block is dropped; later ones are
// appended after it.
void CSQLSyntaxParserTests::blocksBeforeTheLastAreDropped()
{
    const CSQLSyntaxParser parser;
    QList<ColourBlock> blocks{{0, CSyntaxParser::PlainText}, {6, CSyntaxParser::TypeName}};
    parser.ScanLine(0, u"select a", &blocks);
    QCOMPARE(ColoursOf(blocks, 8), QStringLiteral("PPPPPPOP"));
    QCOMPARE(blocks.size(), 4);

    QList<ColourBlock> beyond{{0, CSyntaxParser::PlainText}, {100, CSyntaxParser::Comment}};
    parser.ScanLine(0, u"select a from t", &beyond);
    QCOMPARE(beyond.size(), 2);
}

// Any line in any incoming state: the blocks stay in order, inside the line
// and within three per character, every class is one of the eight, and the
// state holds only the bits a line may pass on.
void CSQLSyntaxParserTests::randomLines()
{
    const CSQLSyntaxParser parser;
    QRandomGenerator random(20240611);
    QList<ColourBlock> blocks;
    for (int round = 0; round < 4000; ++round) {
        const QString line = RandomLine(random);
        for (quint32 incoming = 0; incoming < 32; ++incoming) {
            blocks = {{0, CSyntaxParser::PlainText}};
            const quint32 state = parser.ScanLine(incoming, line, &blocks);
            const auto where = [&] {
                return QStringLiteral("line \"%1\", state %2").arg(line).arg(incoming).toUtf8();
            };
            QVERIFY2((state & ~CSyntaxParser::LineStateBits) == 0, where().constData());
            if (!line.endsWith(u'\\') || line.size() <= 1)
                QVERIFY2((state & ~quint32(CSyntaxParser::BlockComment)) == 0, where().constData());
            QCOMPARE(parser.ScanLine(incoming, line, nullptr), state);

            QVERIFY2(blocks.size() <= qMax(1, 3 * line.size()), where().constData());
            QVERIFY2(blocks[0].Start == 0 && blocks[0].ColourIndex == CSyntaxParser::PlainText,
                     where().constData());
            for (qsizetype b = 0; b < blocks.size(); ++b) {
                const bool ordered = b == 0 || blocks[b].Start >= blocks[b - 1].Start;
                QVERIFY2(ordered && blocks[b].Start >= 0 && blocks[b].Start <= line.size() &&
                             ColourLetter(blocks[b].ColourIndex) != u'?',
                         where().constData());
            }
        }
    }
}

QTEST_GUILESS_MAIN(CSQLSyntaxParserTests)
#include "tst_SQLSyntaxParser.moc"
