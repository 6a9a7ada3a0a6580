#include "workspace/SQLSyntaxParser.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// One letter per colour class, as the golden file writes them.
QChar ClassLetter(qint32 colourIndex)
{
    switch (colourIndex) {
    case CSyntaxParser::PlainText:
        return u'P';
    case CSyntaxParser::Keyword:
        return u'K';
    case CSyntaxParser::FunctionName:
        return u'F';
    case CSyntaxParser::Comment:
        return u'C';
    case CSyntaxParser::Number:
        return u'N';
    case CSyntaxParser::Operator:
        return u'O';
    case CSyntaxParser::String:
        return u'S';
    case CSyntaxParser::TypeName:
        return u'T';
    default:
        return u'?';
    }
}

// The colour of every character of a line of the given length: the class of
// the last block that starts at or before it.
QString ColoursOf(const QList<ColourBlock>& blocks, qsizetype length)
{
    QString colours;
    for (qsizetype c = 0; c < length; ++c) {
        QChar letter = u'.';
        for (const ColourBlock& block : blocks)
            if (block.Start <= c)
                letter = ClassLetter(block.ColourIndex);
        colours += letter;
    }
    return colours;
}

struct CGoldenCase
{
    QString Name;
    quint32 Incoming = 0;
    QString Line;
    quint32 Returned = 0;
    QString Colours;
};

// "<state> |<text>|": the text lies between the first and the last bar.
bool ReadCaseLine(const QString& text, quint32& state, QString& between)
{
    const qsizetype first = text.indexOf(u'|');
    const qsizetype last = text.lastIndexOf(u'|');
    if (first < 0 || last <= first)
        return false;
    bool ok = false;
    state = text.left(first).trimmed().toUInt(&ok);
    between = text.mid(first + 1, last - first - 1);
    return ok;
}

QList<CGoldenCase> ReadGolden(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("cannot read ") + path;
        return {};
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QList<CGoldenCase> cases;
    QString name;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString& text = lines[k];
        if (text.trimmed().isEmpty())
            continue;
        if (text.startsWith(u'#')) {
            name = text.mid(1).trimmed();
            continue;
        }
        CGoldenCase golden;
        golden.Name = QStringLiteral("%1 (line %2)").arg(name).arg(k + 1);
        if (k + 1 >= lines.size() || !ReadCaseLine(text, golden.Incoming, golden.Line) ||
            !ReadCaseLine(lines[k + 1], golden.Returned, golden.Colours)) {
            error = QStringLiteral("%1: malformed case at line %2").arg(path).arg(k + 1);
            return {};
        }
        cases.append(golden);
        ++k;
    }
    return cases;
}

QString RandomLine(QRandomGenerator& random)
{
    // Weighted towards the characters the scanner reacts to.
    static const QString Alphabet = QStringLiteral("\"\"''//**\\\\..((  \t\r\x0b"
                                                   "aeSELECTfromx_09xXeE+-,;=<>") +
                                    QChar(0xE9) + QChar(0x416) + QChar(0xD83D) + QChar(0xDE00) +
                                    QChar(0xFFFF) + QChar(0x7F) + QChar(0x80);
    static const QStringList Words = {QStringLiteral("select"), QStringLiteral("varchar"),
                                      QStringLiteral("count("), QStringLiteral("0x1F"),
                                      QStringLiteral("1e+5"),   QStringLiteral("/*/"),
                                      QStringLiteral("*/"),     QStringLiteral("'it\\'s'")};
    const int length = random.bounded(0, 40);
    QString line;
    while (line.size() < length) {
        if (random.bounded(8) == 0)
            line += Words[random.bounded(int(Words.size()))];
        else if (random.bounded(40) == 0)
            line += QChar(char16_t(random.bounded(1, 0x10000))); // anything, lone surrogates too
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

    QString error;
    const QList<CGoldenCase> cases = ReadGolden(QFINDTESTDATA("scanner_golden.txt"), error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(cases.size() > 50);
    for (const CGoldenCase& golden : cases)
        QTest::newRow(qPrintable(golden.Name))
            << golden.Incoming << golden.Line << golden.Returned << golden.Colours;
}

void CSQLSyntaxParserTests::golden()
{
    QFETCH(quint32, incoming);
    QFETCH(QString, line);
    QFETCH(quint32, returned);
    QFETCH(QString, colours);
    QCOMPARE(colours.size(), line.size()); // the golden file itself

    const CSQLSyntaxParser parser;
    QList<ColourBlock> blocks{{0, CSyntaxParser::PlainText}};
    QCOMPARE(parser.ScanLine(incoming, line, &blocks), returned);
    QCOMPARE(ColoursOf(blocks, line.size()), colours);
    // Without a block list only the state is worked out: the same state.
    QCOMPARE(parser.ScanLine(incoming, line, nullptr), returned);
}

// The caller's list decides: a block starting before the list's last block
// is dropped, later ones are appended after it.
void CSQLSyntaxParserTests::blocksBeforeTheLastAreDropped()
{
    const CSQLSyntaxParser parser;
    QList<ColourBlock> blocks{{0, CSyntaxParser::PlainText}, {6, CSyntaxParser::TypeName}};
    parser.ScanLine(0, u"select a", &blocks);
    QCOMPARE(blocks.size(), 4);
    QCOMPARE(blocks[1].ColourIndex, CSyntaxParser::TypeName);
    QCOMPARE(blocks[2].Start, 6);
    QCOMPARE(blocks[2].ColourIndex, CSyntaxParser::Operator);
    QCOMPARE(blocks[3].Start, 7);
    QCOMPARE(blocks[3].ColourIndex, CSyntaxParser::PlainText);

    QList<ColourBlock> beyond{{0, CSyntaxParser::PlainText}, {100, CSyntaxParser::Comment}};
    parser.ScanLine(0, u"select a from t", &beyond);
    QCOMPARE(beyond.size(), 2);
}

// Any line in any incoming state: the blocks stay in order and inside the
// line, every class is one of the eight, and the state holds only the bits
// a line may pass on.
void CSQLSyntaxParserTests::randomLines()
{
    const QList<qint32> classes = {CSyntaxParser::PlainText,    CSyntaxParser::Keyword,
                                   CSyntaxParser::FunctionName, CSyntaxParser::Comment,
                                   CSyntaxParser::Number,       CSyntaxParser::Operator,
                                   CSyntaxParser::String,       CSyntaxParser::TypeName};
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
            if (line.size() <= 1 || !line.endsWith(u'\\'))
                QVERIFY2((state & ~quint32(CSyntaxParser::BlockComment)) == 0, where().constData());
            QCOMPARE(parser.ScanLine(incoming, line, nullptr), state);

            QVERIFY2(blocks[0].Start == 0 && blocks[0].ColourIndex == CSyntaxParser::PlainText,
                     where().constData());
            for (qsizetype b = 0; b < blocks.size(); ++b) {
                QVERIFY2(blocks[b].Start >= 0 && blocks[b].Start <= line.size(),
                         where().constData());
                QVERIFY2(classes.contains(blocks[b].ColourIndex), where().constData());
                if (b > 0)
                    QVERIFY2(blocks[b].Start >= blocks[b - 1].Start, where().constData());
            }
            // The editor's list has room for three blocks per character.
            QVERIFY2(blocks.size() <= qMax(1, 3 * line.size()), where().constData());
        }
    }
}

QTEST_GUILESS_MAIN(CSQLSyntaxParserTests)
#include "tst_SQLSyntaxParser.moc"
