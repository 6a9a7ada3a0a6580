// The store file's text: what hand-made and damaged files read as, and a
// property test over thousands of generated and mutated files: any bytes give
// a tree or an error naming a line, and every tree the writer writes reads
// back the same.

#include "Utf16LE.h"
#include "profiles/HiveText.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray Dword(quint32 number)
{
    QByteArray data;
    for (int shift = 0; shift < 32; shift += 8)
        data.append(char(number >> shift));
    return data;
}

const QByteArray Header = "Windows Registry Editor Version 5.00\n";

// Names drawn from characters that stress the syntax: quotes, backslashes in
// values, brackets, blanks, letters beyond Latin-1 and beyond the BMP.
QString RandomText(QRandomGenerator& random, int maxLength, bool forKey)
{
    static const QString pool = QStringLiteral("abcXYZ019 \"[]=@;-,:()\\\u00e9\u0416\u4e2d");
    const int length = random.bounded(forKey ? 1 : 0, maxLength + 1);
    QString text;
    while (text.size() < length) {
        const int pick = random.bounded(pool.size() + 2);
        if (pick == pool.size())
            text += QString::fromUcs4(U"\U0001F600", 1);
        else if (pick == pool.size() + 1)
            text += QChar(char16_t(random.bounded(0x20, 0xd800)));
        else
            text += pool[pick];
    }
    if (forKey)
        text.replace(u'\\', u'/');
    // Names are plain text; the data of text values need not be.
    if (!CHiveKey::IsPlainText(text))
        return RandomText(random, maxLength, forKey);
    return text;
}

QByteArray RandomData(QRandomGenerator& random, quint32& type)
{
    switch (random.bounded(6)) {
    case 0: // quotable text
        type = 1;
        return Utf16LE(RandomText(random, 20, false));
    case 1: // text the quotes cannot carry: control characters, NUL, odd size
    {
        type = 1;
        QByteArray data = Utf16LE(RandomText(random, 6, false));
        data.insert(random.bounded(data.size() + 1),
                    random.bounded(2) ? QByteArray(2, '\0') : QByteArray("\n\0", 2));
        if (random.bounded(3) == 0)
            data.chop(1);
        return data;
    }
    case 2:
        type = 4;
        return Dword(random.generate());
    case 3: // a number of the wrong size
        type = 4;
        return QByteArray(random.bounded(9), char(random.bounded(256)));
    default: {
        type = random.bounded(2) ? 3 : random.generate();
        QByteArray data(random.bounded(random.bounded(10) ? 40 : 300), Qt::Uninitialized);
        for (char& byte : data)
            byte = char(random.bounded(256));
        return data;
    }
    }
}

void FillRandom(QRandomGenerator& random, CHiveKey& key, int depth)
{
    const int values = random.bounded(4);
    for (int i = 0; i < values; ++i) {
        quint32 type = 0;
        const QByteArray data = RandomData(random, type);
        key.SetValue(RandomText(random, 12, false), type, data);
    }
    if (depth > 3)
        return;
    const int subKeys = random.bounded(depth == 0 ? 5 : 3);
    for (int i = 0; i < subKeys; ++i) {
        const QString name = RandomText(random, 10, true);
        if (!key.FindSubKey(name))
            FillRandom(random, *key.AddSubKey(name), depth + 1);
    }
}

QByteArray Mutated(QRandomGenerator& random, QByteArray text)
{
    static const char specials[] = "\n\r\\\"[]=@,:;-\xff\xc3\x80";
    const int edits = random.bounded(1, 5);
    for (int i = 0; i < edits && !text.isEmpty(); ++i) {
        const qsizetype at = random.bounded(text.size());
        switch (random.bounded(6)) {
        case 0:
            text[at] = char(random.bounded(256));
            break;
        case 1:
            text[at] = specials[random.bounded(int(sizeof specials) - 1)];
            break;
        case 2:
            text.insert(at, specials[random.bounded(int(sizeof specials) - 1)]);
            break;
        case 3:
            text.remove(at, random.bounded(1, 20));
            break;
        case 4:
            text.truncate(at);
            break;
        default: // a line repeated elsewhere
        {
            const qsizetype start = text.lastIndexOf('\n', at) + 1;
            const qsizetype end = text.indexOf('\n', at);
            const QByteArray line = text.mid(start, end < 0 ? -1 : end - start + 1);
            text.insert(random.bounded(text.size() + 1), line);
        }
        }
    }
    return text;
}

// Either a tree that writes and reads back the same, or an error on a line
// of the file.
void CheckAnyBytes(const QByteArray& bytes)
{
    CHiveKey root;
    int line = 0;
    QString reason;
    if (ReadHiveText(bytes, root, line, reason)) {
        const QByteArray again = WriteHiveText(root);
        CHiveKey reread;
        QVERIFY2(ReadHiveText(again, reread, line, reason), qPrintable(reason));
        QVERIFY(reread == root);
        return;
    }
    QVERIFY(!reason.isEmpty());
    QVERIFY2(line >= 1 && line <= bytes.count('\n') + 1, qPrintable(QString::number(line)));
}

} // namespace

class CHiveTextTests : public QObject
{
    Q_OBJECT

private slots:
    void writesTheLayoutOfExportFiles();
    void readsHandMadeFiles_data();
    void readsHandMadeFiles();
    void errorsNameTheLine_data();
    void errorsNameTheLine();
    void limitsAreKept();
    void writtenTreesReadBack();
    void damagedAndRandomBytesNeverCrash();
};

void CHiveTextTests::writesTheLayoutOfExportFiles()
{
    CHiveKey root;
    CHiveKey& key = *root.AddSubKey(QStringLiteral("Software"))->AddSubKey(QStringLiteral("A b"));
    key.SetValue(QStringLiteral("Name"), 1, Utf16LE(QStringLiteral("C:\\x \"y\"")));
    key.SetValue(QStringLiteral("Type"), 4, Dword(0xffffffff));
    key.SetValue(QStringLiteral("Empty"), 1, QByteArray());
    key.SetValue(QStringLiteral("Nul"), 1, Utf16LE(QStringLiteral("a")) + QByteArray(2, '\0'));
    key.SetValue(QString(), 3, QByteArray(30, '\x5a'));
    key.SetValue(QStringLiteral("Multi"), 7, QByteArray("A\0", 2));
    root.AddSubKey(QStringLiteral("Empty key"));

    QCOMPARE(
        WriteHiveText(root),
        Header +
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\A b]\n"
            "\"Name\"=\"C:\\\\x \\\"y\\\"\"\n"
            "\"Type\"=dword:ffffffff\n"
            "\"Empty\"=\"\"\n"
            "\"Nul\"=hex(1):61,00,00,00\n"
            "@=hex:5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,5a,\\\n"
            "  5a,5a,5a,5a,5a,5a\n"
            "\"Multi\"=hex(7):41,00\n"
            "\n[HKEY_CURRENT_USER\\Empty key]\n");
}

void CHiveTextTests::readsHandMadeFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");

    const QByteArray section = "[HKEY_CURRENT_USER\\Software\\Test]\n";
    QTest::newRow("quoted text") << Header + section + "\"V\"=\"x\\\\y\"\n"
                                 << "V" << 1u << Utf16LE(QStringLiteral("x\\y"));
    QTest::newRow("CR LF, BOM, comments, blank lines and indentation")
        << "\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n\r\n; note\r\n  " +
               section.chopped(1) + "  \r\n\t\"V\" = dword:2a \r\n"
        << "V" << 4u << Dword(42);
    QTest::newRow("hex over several lines")
        << Header + section + "\"V\"=hex:01,02,\\\n   03 ,04,\\\n\n"
        << "V" << 3u << QByteArray("\x01\x02\x03\x04");
    QTest::newRow("hex ends with a comma") << Header + section + "\"V\"=hex:01,\n"
                                           << "V" << 3u << QByteArray("\x01");
    QTest::newRow("empty hex") << Header + section + "\"V\"=hex(b):\n"
                               << "V" << 11u << QByteArray();
    QTest::newRow("text with its NUL") << Header + section + "\"V\"=hex(1):61,00,00,00\n"
                                       << "V" << 1u << QByteArray("a\0\0\0", 4);
    QTest::newRow("default value") << Header + section + "@=\"d\"\n"
                                   << "" << 1u << Utf16LE(QStringLiteral("d"));
    QTest::newRow("later value replaces earlier, names ignore case")
        << Header + section + "\"v\"=\"1\"\n[hkey_current_user\\SOFTWARE\\test]\n\"V\"=\"2\"\n"
        << "v" << 1u << Utf16LE(QStringLiteral("2"));
    QTest::newRow("UTF-8 text") << Header + section + "\"V\"=\"\xd0\x96\xf0\x9f\x98\x80\"\n"
                                << "V" << 1u << Utf16LE(QStringLiteral("\u0416\U0001F600"));
}

void CHiveTextTests::readsHandMadeFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, value);
    QFETCH(uint, type);
    QFETCH(QByteArray, data);

    CHiveKey root;
    int line = 0;
    QString reason;
    QVERIFY2(ReadHiveText(text, root, line, reason), qPrintable(reason));
    QCOMPARE(root.SubKeyCount(), 1);
    const auto key =
        root.FindSubKey(QStringLiteral("software"))->FindSubKey(QStringLiteral("TEST"));
    QVERIFY(key);
    QCOMPARE(key->Values().size(), size_t(1));
    const CHiveKey::CValue* found = key->FindValue(value);
    QVERIFY(found);
    QCOMPARE(found->Type, type);
    QCOMPARE(found->Data, data);
}

void CHiveTextTests::errorsNameTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");

    const QByteArray top = Header + "\n[HKEY_CURRENT_USER\\A]\n"; // values go on line 4
    QTest::newRow("empty file") << QByteArray() << 1 << "the file is empty";
    QTest::newRow("no header") << QByteArray("REGEDIT4\n") << 1 << "must begin with the line";
    QTest::newRow("UTF-16") << QByteArray("\xff\xfeW\0") << 1 << "UTF-16";
    QTest::newRow("bad UTF-8") << top + "\"a\"=\"\xc3\"\n" << 4 << "not valid UTF-8";
    QTest::newRow("value before key") << Header + "\"a\"=\"b\"\n" << 2 << "must follow a [key]";
    QTest::newRow("empty key name") << Header + "[HKEY_CURRENT_USER\\A\\\\B]\n"
                                    << 2 << "not a valid key name";
    QTest::newRow("deleted key") << Header + "[-HKEY_CURRENT_USER\\A]\n" << 2 << "deleting keys";
    QTest::newRow("deleted value") << top + "\"a\"=-\n" << 4 << "deleting values";
    QTest::newRow("unknown escape") << top + "\"a\"=\"C:\\data\"\n" << 4 << "backslash";
    QTest::newRow("long dword") << top + "\"a\"=dword:123456789\n" << 4 << "dword:";
    QTest::newRow("bad hex byte") << top + "\"a\"=hex:01,2g\n" << 4 << "two digits";
    QTest::newRow("double comma") << top + "\"a\"=hex:01,,02\n" << 4 << "missing before a comma";
    QTest::newRow("bad byte on a later line") << top + "\"a\"=hex:01,\\\n  02,\\\n  zz\n"
                                              << 6 << "two digits";
    QTest::newRow("continues past the end") << top + "\"a\"=hex:01,\\\n"
                                            << 4 << "past the end of the file";
    QTest::newRow("control character in name") << top + "\"a\tb\"=\"c\"\n"
                                               << 4 << "control characters";
}

void CHiveTextTests::errorsNameTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, reason);

    CHiveKey root;
    int errorLine = 0;
    QString why;
    QVERIFY(!ReadHiveText(text, root, errorLine, why));
    QCOMPARE(errorLine, line);
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void CHiveTextTests::limitsAreKept()
{
    int line = 0;
    QString reason;
    CHiveKey root;
    QByteArray deep = Header + "[HKEY_CURRENT_USER";
    for (int i = 0; i < CHiveKey::MaxDepth; ++i)
        deep += "\\k";
    QVERIFY2(ReadHiveText(deep + "]\n", root, line, reason), qPrintable(reason));
    CHiveKey tooDeep;
    QVERIFY(!ReadHiveText(deep + "\\k]\n", tooDeep, line, reason));
    QVERIFY(reason.contains(QStringLiteral("levels deep")));

    const QByteArray key = Header + "[HKEY_CURRENT_USER\\" + QByteArray(255, 'n');
    CHiveKey longName;
    QVERIFY(ReadHiveText(key + "]\n", longName, line, reason));
    QVERIFY(!ReadHiveText(key + "n]\n", longName, line, reason));

    QByteArray big = Header + "[HKEY_CURRENT_USER\\A]\n\"a\"=hex:";
    for (int i = 0; i < CHiveKey::MaxValueSize; ++i)
        big += "00,\\\n";
    CHiveKey full;
    QVERIFY(ReadHiveText(big + "\n", full, line, reason));
    CHiveKey overfull;
    QVERIFY(!ReadHiveText(big + "00\n", overfull, line, reason));
    QVERIFY(reason.contains(QStringLiteral("more than 1 MB")));

    // One section line names every key on its path: 512 new keys each.
    QByteArray keys = Header;
    for (int i = 0; i < CHiveKey::MaxKeyCount / CHiveKey::MaxDepth; ++i) {
        keys += "[HKEY_CURRENT_USER\\" + QByteArray::number(i);
        keys += QByteArray("\\k").repeated(CHiveKey::MaxDepth - 1) + "]\n";
    }
    CHiveKey mostKeys;
    QVERIFY2(ReadHiveText(keys, mostKeys, line, reason), qPrintable(reason));
    keys += "[HKEY_CURRENT_USER\\0\\k\\other]\n";
    CHiveKey tooManyKeys;
    QVERIFY(!ReadHiveText(keys, tooManyKeys, line, reason));
    QCOMPARE(reason, QStringLiteral("the store holds more than 16384 keys"));
    QCOMPARE(line, 1 + CHiveKey::MaxKeyCount / CHiveKey::MaxDepth + 1);

    QByteArray values = Header + "[HKEY_CURRENT_USER\\A]\n";
    for (int i = 0; i < CHiveKey::MaxValueCount; ++i)
        values += '"' + QByteArray::number(i) + "\"=\"\"\n";
    values += "\"0\"=\"again\"\n"; // a value set again is not counted twice
    CHiveKey mostValues;
    QVERIFY2(ReadHiveText(values, mostValues, line, reason), qPrintable(reason));
    values += "[HKEY_CURRENT_USER\\B]\n@=\"\"\n";
    CHiveKey tooManyValues;
    QVERIFY(!ReadHiveText(values, tooManyValues, line, reason));
    QCOMPARE(reason, QStringLiteral("the store holds more than 131072 values"));

    QByteArray huge = Header;
    huge.resize(MaxHiveTextSize + 1, ';');
    CHiveKey none;
    QVERIFY(!ReadHiveText(huge, none, line, reason));
    QCOMPARE(line, 1);
}

void CHiveTextTests::writtenTreesReadBack()
{
    QRandomGenerator random(20240501);
    for (int round = 0; round < 2000; ++round) {
        CHiveKey root;
        FillRandom(random, root, 0);
        const QByteArray text = WriteHiveText(root);
        CHiveKey reread;
        int line = 0;
        QString reason;
        QVERIFY2(
            ReadHiveText(text, reread, line, reason),
            qPrintable(QStringLiteral("round %1, line %2: %3").arg(round).arg(line).arg(reason)));
        QVERIFY2(reread == root, qPrintable(QStringLiteral("round %1").arg(round)));
        QCOMPARE(WriteHiveText(reread), text);
    }
}

void CHiveTextTests::damagedAndRandomBytesNeverCrash()
{
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        CHiveKey root;
        FillRandom(random, root, 0);
        CheckAnyBytes(Mutated(random, WriteHiveText(root)));
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("round %1").arg(round)));
    }
    for (int round = 0; round < 1000; ++round) {
        QByteArray bytes(random.bounded(200), Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        if (round % 2)
            bytes.prepend(Header + "[HKEY_CURRENT_USER\\A]\n");
        CheckAnyBytes(bytes);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("random round %1").arg(round)));
    }
}

QTEST_GUILESS_MAIN(CHiveTextTests)
#include "tst_HiveText.moc"
