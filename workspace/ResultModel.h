#pragma once

// The rows of a result grid: columns with a header, an alignment and a
// width, and rows of text cells with an optional image each. QtCore only; the
// grid view draws it, the command-line runner prints it.
//
// Rows are appended to the model at once but views hear of them in batches,
// at FlushRows: a view told of every row separately lays itself out a
// thousand times for a thousand rows.
//
// A row keeps its cells in one block (CResultRow). In a numbered grid the
// first column is not stored: it shows each row's number, except in a row
// with an image, which is a note about the rows rather than one of them.
// A NULL cell shows "NULL" and answers NullRole, so that the view can set
// it apart from any text.

#include "workspace/ResultRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <vector>

// Images of the grid's image list.
enum EResultImage : int
{
    NoResultImage = -1,
    FailureImage = 0, // a statement that failed
    SuccessImage = 1, // a statement that succeeded
};

class CResultModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct CColumn
    {
        QString Header;
        Qt::Alignment Alignment;
        int Width = 0; // pixels
    };

    // True for a NULL cell.
    static constexpr int NullRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void InsertColumn(int index, const QString& header, Qt::Alignment alignment, int width);
    void DeleteColumn(int index);
    void DeleteAllRows();
    // Appends a row of cells (missing cells are empty) with an image of the
    // image list, or NoResultImage. In a numbered grid the cells start at the
    // second column.
    void AppendRow(const QStringList& cells, int image = NoResultImage);
    void AppendRow(CResultRow cells, int image = NoResultImage);
    // Whether the first column shows the row numbers; set while the grid has
    // no rows. Deleting every row sets it back to false.
    void SetNumbered(bool numbered) { Numbered_ = numbered; }
    bool IsNumbered() const { return Numbered_; }
    // A column's width as the views should show it; they hear of it by
    // ColumnWidthChanged.
    void SetColumnWidth(int index, int width);
    // Tells the views of the rows appended since the last flush.
    void FlushRows();
    // Rows appended since the last flush.
    int PendingRowCount() const { return int(Rows_.size()) - Shown_; }

    // What the grid holds, announced to the views or not.
    int ColumnCount() const { return int(Columns_.size()); }
    int RowCount() const { return int(Rows_.size()); }
    const CColumn& Column(int index) const { return Columns_.at(index); }
    QString Text(int row, int column) const;
    bool IsNull(int row, int column) const;
    // The length in bytes of a stored cell's text, read without decoding it:
    // how a measure finds the widest cells quickly.
    int Bytes(int row, int column) const;
    int Image(int row) const;

    // What DecorationRole gives for each image index: icons, set by the view.
    void SetImages(QList<QVariant> images) { Images_ = std::move(images); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a NULL cell shows.
    static const QString NullText;

signals:
    void ColumnWidthChanged(int index);

private:
    struct CRow
    {
        CResultRow Cells;
        int Image = NoResultImage;
    };

    // Where a column's cell is stored in a row, or one of these.
    static constexpr int NumberCell = -1; // the row's number
    static constexpr int NoCell = -2;     // nothing: the number column of a note row
    int StoredCell(int row, int column) const;

    QList<CColumn> Columns_;
    std::vector<CRow> Rows_;
    int Shown_ = 0; // rows the views have been told of
    bool Numbered_ = false;
    QList<QVariant> Images_;
};
