#pragma once

// The cells of one result row in a single block, so that a grid of a million
// rows holds a million blocks and not ten million strings. Each cell is its
// length in bytes, as a variable-length number whose lowest bit marks NULL,
// followed by its text in UTF-8. QtCore only.

#include <QByteArray>
#include <QString>
#include <QStringView>

class CResultRow
{
public:
    CResultRow() = default;
    // A row of cells none of which is NULL.
    static CResultRow FromTexts(const QStringList& cells);

    void Append(QStringView text);
    void AppendUtf8(QByteArrayView utf8);
    void AppendNull();
    // Room for bytes of cells, so that a row read cell by cell grows once.
    void Reserve(qsizetype bytes) { Data_.reserve(bytes); }
    // The bytes the row takes.
    qsizetype Size() const { return Data_.size(); }

    int Count() const;
    // The cell's text; empty for NULL and for a cell past the end.
    QString Text(int cell) const;
    bool IsNull(int cell) const;
    // The length in bytes of the cell's UTF-8 text, read without decoding it.
    int Bytes(int cell) const;
    // Bytes of the first count cells, in one walk over the row (0 for NULL
    // and for cells past the end).
    void CellBytes(int* sizes, int count) const;

private:
    // Where cell's text starts, its length and whether it is NULL; false past
    // the end.
    bool Find(int cell, int& start, int& length, bool& null) const;

    QByteArray Data_;
};
