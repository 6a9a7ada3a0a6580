#include "profiles/HiveText.h"

#include <QStringDecoder>

const QString HiveRootName = QStringLiteral("HKEY_CURRENT_USER");

namespace {

const QString Header = QStringLiteral("Windows Registry Editor Version 5.00");
constexpr qsizetype WrapColumn = 78; // hex lines are wrapped like the platform's editor does

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimRight(QStringView text)
{
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

QStringView TrimLeft(QStringView text)
{
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.mid(1);
    return text;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads 1 to maxDigits hex digits at text[pos]; false when there are none or
// more follow.
bool ReadHexNumber(QStringView text, qsizetype& pos, int maxDigits, quint32& number)
{
    number = 0;
    int digits = 0;
    while (pos < text.size() && HexDigit(text[pos]) >= 0) {
        if (++digits > maxDigits)
            return false;
        number = number * 16 + quint32(HexDigit(text[pos++]));
    }
    return digits > 0;
}

// The lines of a store file, one at a time, decoded from UTF-8.
class CHiveReader
{
public:
    CHiveReader(const QByteArray& bytes, CHiveKey& root) : Bytes_(bytes), Root_(root) {}

    bool Read();

    int Line = 0; // of the last line taken
    QString Reason;

private:
    bool Fail(const QString& reason);
    // The next line without its line break; false at the end of the bytes
    // or, with Reason set, when the line is not UTF-8.
    bool NextLine(QString& text);
    bool ReadHeader();
    bool ReadSection(QStringView text);
    bool ReadValue(QStringView text);
    bool ReadQuoted(QStringView text, qsizetype& pos, QString& out);
    bool ReadData(QStringView text, quint32& type, QByteArray& data);
    bool ReadHexBytes(QStringView text, QByteArray& data);

    const QByteArray& Bytes_;
    qsizetype Next_ = 0; // where the next line starts
    CHiveKey& Root_;
    CHiveKey* Current_ = nullptr; // the key of the last section; null before the first
    qsizetype KeyCount_ = 0;      // keys made so far, the root not counted
    qsizetype ValueCount_ = 0;
};

bool CHiveReader::Fail(const QString& reason)
{
    Reason = reason;
    return false;
}

bool CHiveReader::NextLine(QString& text)
{
    if (Next_ >= Bytes_.size())
        return false;
    qsizetype end = Bytes_.indexOf('\n', Next_);
    if (end < 0)
        end = Bytes_.size();
    QByteArrayView bytes(Bytes_.constData() + Next_, end - Next_);
    Next_ = end + 1;
    ++Line;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    if (decoder.hasError()) {
        Reason = QStringLiteral("the line is not valid UTF-8 text");
        return false;
    }
    return true;
}

bool CHiveReader::ReadHeader()
{
    if (Bytes_.startsWith("\xff\xfe") || Bytes_.startsWith("\xfe\xff")) {
        Line = 1;
        return Fail(QStringLiteral("the file is UTF-16 text; it must be saved as UTF-8"));
    }
    if (Bytes_.startsWith("\xef\xbb\xbf"))
        Next_ = 3;
    QString text;
    if (!NextLine(text)) {
        Line = 1;
        if (Reason.isEmpty())
            Reason = QStringLiteral("the file is empty");
        return false;
    }
    if (TrimRight(text) != Header)
        return Fail(QStringLiteral("the file must begin with the line \"%1\"").arg(Header));
    return true;
}

bool CHiveReader::Read()
{
    if (!ReadHeader())
        return false;
    QString line;
    while (NextLine(line)) {
        const QStringView text = TrimLeft(line);
        if (text.isEmpty() || text.front() == u';')
            continue;
        if (text.front() == u'[') {
            if (!ReadSection(text))
                return false;
        } else if (text.front() == u'"' || text.front() == u'@') {
            if (!ReadValue(text))
                return false;
        } else {
            return Fail(QStringLiteral("the line is neither a [key], a value nor a ; comment"));
        }
    }
    return Reason.isEmpty();
}

bool CHiveReader::ReadSection(QStringView text)
{
    text = TrimRight(text);
    if (text.startsWith(u"[-"))
        return Fail(QStringLiteral("deleting keys is not possible in a store file"));
    if (text.size() < 2 || text.back() != u']')
        return Fail(QStringLiteral("a [key] line must end with ]"));
    const QList<QStringView> names = text.mid(1, text.size() - 2).split(u'\\');
    if (names.front().compare(HiveRootName, Qt::CaseInsensitive) != 0)
        return Fail(QStringLiteral("every key must lie below %1").arg(HiveRootName));
    if (names.size() - 1 > CHiveKey::MaxDepth)
        return Fail(
            QStringLiteral("the key lies more than %1 levels deep").arg(CHiveKey::MaxDepth));
    CHiveKey* key = &Root_;
    for (qsizetype i = 1; i < names.size(); ++i) {
        const QString name = names[i].toString();
        if (!CHiveKey::IsValidKeyName(name))
            return Fail(QStringLiteral("\"%1\" is not a valid key name").arg(name));
        if (const std::shared_ptr<CHiveKey> sub = key->FindSubKey(name)) {
            key = sub.get();
            continue;
        }
        if (++KeyCount_ > CHiveKey::MaxKeyCount)
            return Fail(
                QStringLiteral("the store holds more than %1 keys").arg(CHiveKey::MaxKeyCount));
        key = key->AddSubKey(name).get();
    }
    Current_ = key;
    return true;
}

bool CHiveReader::ReadQuoted(QStringView text, qsizetype& pos, QString& out)
{
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'"') {
            ++pos;
            return true;
        }
        if (c == u'\\') {
            if (pos + 1 == text.size() || (text[pos + 1] != u'\\' && text[pos + 1] != u'"'))
                return Fail(QStringLiteral("only \\\\ and \\\" may follow a backslash in quotes"));
            ++pos;
        }
        out.append(text[pos]);
    }
    return Fail(QStringLiteral("the closing quotation mark is missing"));
}

bool CHiveReader::ReadValue(QStringView text)
{
    if (!Current_)
        return Fail(QStringLiteral("a value must follow a [key] line"));
    QString name;
    qsizetype pos = 0;
    if (text.front() == u'@')
        pos = 1;
    else if (!ReadQuoted(text, pos, name))
        return false;
    if (!CHiveKey::IsValidValueName(name))
        return Fail(QStringLiteral("the value name is too long or holds control characters"));
    text = TrimLeft(text.mid(pos));
    if (!text.startsWith(u'='))
        return Fail(QStringLiteral("= must follow the value name"));
    quint32 type = 0;
    QByteArray data;
    if (!ReadData(TrimLeft(text.mid(1)), type, data))
        return false;
    if (data.size() > CHiveKey::MaxValueSize)
        return Fail(QStringLiteral("the value holds more than 1 MB"));
    if (Current_->SetValue(name, type, data) && ++ValueCount_ > CHiveKey::MaxValueCount)
        return Fail(
            QStringLiteral("the store holds more than %1 values").arg(CHiveKey::MaxValueCount));
    return true;
}

bool CHiveReader::ReadData(QStringView text, quint32& type, QByteArray& data)
{
    if (text.startsWith(u'"')) {
        QString value;
        qsizetype pos = 0;
        if (!ReadQuoted(text, pos, value))
            return false;
        if (!TrimRight(text.mid(pos)).isEmpty())
            return Fail(QStringLiteral("nothing may follow the closing quotation mark"));
        type = HiveTypeString;
        data = HiveStringData(value);
        return true;
    }
    if (text.startsWith(u"dword:", Qt::CaseInsensitive)) {
        qsizetype pos = 6;
        quint32 number = 0;
        if (!ReadHexNumber(text, pos, 8, number) || !TrimRight(text.mid(pos)).isEmpty())
            return Fail(QStringLiteral("dword: must be followed by 1 to 8 hex digits"));
        type = HiveTypeDword;
        for (int shift = 0; shift < 32; shift += 8)
            data.append(char((number >> shift) & 0xff));
        return true;
    }
    if (text.startsWith(u"hex:", Qt::CaseInsensitive)) {
        type = HiveTypeBinary;
        return ReadHexBytes(text.mid(4), data);
    }
    if (text.startsWith(u"hex(", Qt::CaseInsensitive)) {
        qsizetype pos = 4;
        if (!ReadHexNumber(text, pos, 8, type) || !text.mid(pos).startsWith(u"):"))
            return Fail(QStringLiteral("hex( must be followed by 1 to 8 hex digits and ):"));
        return ReadHexBytes(text.mid(pos + 2), data);
    }
    if (text.startsWith(u'-'))
        return Fail(QStringLiteral("deleting values is not possible in a store file"));
    return Fail(QStringLiteral("the value must be \"text\", dword:, hex: or hex(type):"));
}

// Bytes as two-digit hex numbers separated by commas; a line that ends with
// a backslash goes on in the next one.
bool CHiveReader::ReadHexBytes(QStringView text, QByteArray& data)
{
    bool afterByte = false; // a byte was read and no comma after it yet
    QString next;
    for (;;) {
        text = TrimRight(text);
        const bool goesOn = text.endsWith(u'\\');
        if (goesOn)
            text.chop(1);
        for (qsizetype pos = 0; pos < text.size();) {
            if (IsBlank(text[pos])) {
                ++pos;
            } else if (text[pos] == u',') {
                if (!afterByte)
                    return Fail(QStringLiteral("a byte is missing before a comma"));
                afterByte = false;
                ++pos;
            } else {
                quint32 byte = 0;
                if (afterByte || !ReadHexNumber(text, pos, 2, byte))
                    return Fail(QStringLiteral("bytes must be hex numbers of two digits "
                                               "separated by commas"));
                data.append(char(byte));
                afterByte = true;
            }
        }
        if (!goesOn)
            break;
        if (!NextLine(next))
            return Fail(Reason.isEmpty()
                            ? QStringLiteral("the value goes on past the end of the file")
                            : Reason);
        text = TrimLeft(next);
    }
    return true; // a comma may end the list
}

// Writing

QString Quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out.append(u'"');
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out.append(u'\\');
        out.append(c);
    }
    out.append(u'"');
    return out;
}

// The text that data holds when it can be written between quotes and read
// back to the same bytes.
bool QuotableText(const QByteArray& data, QString& text)
{
    if (data.size() % 2)
        return false;
    text = HiveDataString(data);
    return CHiveKey::IsPlainText(text);
}

void WriteHexBytes(const QByteArray& data, qsizetype column, QString& out)
{
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const bool last = i + 1 == data.size();
        if (column + (last ? 2 : 3) > WrapColumn) {
            out.append(u"\\\n  ");
            column = 2;
        }
        out.append(QChar(digits[uchar(data[i]) >> 4]));
        out.append(QChar(digits[uchar(data[i]) & 15]));
        if (!last)
            out.append(u',');
        column += last ? 2 : 3;
    }
}

void WriteValue(const CHiveKey::CValue& value, QString& out)
{
    const qsizetype lineStart = out.size();
    out.append(value.Name.isEmpty() ? QStringLiteral("@") : Quoted(value.Name));
    out.append(u'=');
    QString text;
    if (value.Type == HiveTypeString && QuotableText(value.Data, text)) {
        out.append(Quoted(text));
    } else if (value.Type == HiveTypeDword && value.Data.size() == 4) {
        quint32 number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | uchar(value.Data[i]);
        out.append(QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0')));
    } else {
        out.append(value.Type == HiveTypeBinary
                       ? QStringLiteral("hex:")
                       : QStringLiteral("hex(%1):").arg(value.Type, 0, 16));
        WriteHexBytes(value.Data, out.size() - lineStart, out);
    }
    out.append(u'\n');
}

// The sections of key and of every key below it. Every section names the
// root, which needs one of its own only for values of its own.
void WriteKey(const CHiveKey& key, const QString& path, QString& out)
{
    if (path != HiveRootName || !key.Values().empty()) {
        out.append(u"\n[");
        out.append(path);
        out.append(u"]\n");
        for (const CHiveKey::CValue& value : key.Values())
            WriteValue(value, out);
    }
    for (qsizetype i = 0; i < key.SubKeyCount(); ++i) {
        const CHiveKey& sub = *key.SubKey(i);
        WriteKey(sub, path + u'\\' + sub.Name(), out);
    }
}

} // namespace

bool ReadHiveText(const QByteArray& bytes, CHiveKey& root, int& line, QString& reason)
{
    CHiveReader reader(bytes, root);
    if (bytes.size() > MaxHiveTextSize) {
        reader.Line = 1;
        reader.Reason = QStringLiteral("the file is larger than 16 MB");
    } else if (reader.Read()) {
        return true;
    }
    line = reader.Line;
    reason = reader.Reason;
    return false;
}

QByteArray WriteHiveText(const CHiveKey& root)
{
    QString out = Header + u'\n';
    WriteKey(root, HiveRootName, out);
    return out.toUtf8();
}
