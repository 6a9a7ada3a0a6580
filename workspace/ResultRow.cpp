#include "workspace/ResultRow.h"

#include <QStringList>
#include <cstring>

namespace {

void AppendNumber(QByteArray& data, quint64 value)
{
    do {
        char byte = char(value & 0x7f);
        value >>= 7;
        if (value != 0)
            byte = char(byte | 0x80);
        data.append(byte);
    } while (value != 0);
}

// Reads a number at position; false when the data ends inside it.
bool ReadNumber(const QByteArray& data, int& position, quint64& value)
{
    value = 0;
    for (int shift = 0; position < data.size() && shift < 64; shift += 7) {
        const auto byte = quint8(data.at(position++));
        value |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

} // namespace

CResultRow CResultRow::FromTexts(const QStringList& cells)
{
    CResultRow row;
    for (const QString& cell : cells)
        row.Append(cell);
    return row;
}

void CResultRow::Append(QStringView text)
{
    AppendUtf8(text.toUtf8());
}

void CResultRow::AppendUtf8(QByteArrayView utf8)
{
    // The length's bytes and the text in one step: rows are read by the million.
    char head[10];
    int headSize = 0;
    quint64 value = quint64(utf8.size()) << 1;
    do {
        head[headSize] = char(value & 0x7f);
        value >>= 7;
        if (value != 0)
            head[headSize] = char(head[headSize] | 0x80);
        ++headSize;
    } while (value != 0);
    const qsizetype at = Data_.size();
    Data_.resize(at + headSize + utf8.size());
    char* data = Data_.data() + at;
    std::memcpy(data, head, size_t(headSize));
    if (!utf8.isEmpty())
        std::memcpy(data + headSize, utf8.data(), size_t(utf8.size()));
}

void CResultRow::AppendNull()
{
    AppendNumber(Data_, 1);
}

bool CResultRow::Find(int cell, int& start, int& length, bool& null) const
{
    if (cell < 0)
        return false;
    int position = 0;
    for (int i = 0; position < Data_.size(); ++i) {
        quint64 head = 0;
        if (!ReadNumber(Data_, position, head))
            return false;
        const qint64 size = qint64(head >> 1);
        if (size > Data_.size() - position)
            return false;
        if (i == cell) {
            start = position;
            length = int(size);
            null = head & 1;
            return true;
        }
        position += int(size);
    }
    return false;
}

int CResultRow::Count() const
{
    int count = 0;
    int start = 0;
    int length = 0;
    bool null = false;
    while (Find(count, start, length, null))
        ++count;
    return count;
}

QString CResultRow::Text(int cell) const
{
    int start = 0;
    int length = 0;
    bool null = false;
    if (!Find(cell, start, length, null) || null)
        return {};
    return QString::fromUtf8(Data_.constData() + start, length);
}

bool CResultRow::IsNull(int cell) const
{
    int start = 0;
    int length = 0;
    bool null = false;
    return Find(cell, start, length, null) && null;
}

int CResultRow::Bytes(int cell) const
{
    int start = 0;
    int length = 0;
    bool null = false;
    return Find(cell, start, length, null) ? length : 0;
}

void CResultRow::CellBytes(int* sizes, int count) const
{
    int position = 0;
    int cell = 0;
    for (; cell < count && position < Data_.size(); ++cell) {
        quint64 head = 0;
        if (!ReadNumber(Data_, position, head))
            break;
        const qint64 size = qint64(head >> 1);
        if (size > Data_.size() - position)
            break;
        sizes[cell] = (head & 1) ? 0 : int(size);
        position += int(size);
    }
    for (; cell < count; ++cell)
        sizes[cell] = 0;
}
