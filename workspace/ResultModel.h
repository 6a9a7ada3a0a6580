#pragma once

// The rows of a result grid: columns with a header, an alignment and a
// width, and rows of text cells with an optional image each. QtCore only; the
// grid view draws it, the command-line runner prints it.
//
// Rows are appended to the model at once but views hear of them in batches,
// at FlushRows: a view told of every row separately lays itself out a
// thousand times for a thousand rows.

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

    using QAbstractTableModel::QAbstractTableModel;

    void InsertColumn(int index, const QString& header, Qt::Alignment alignment, int width);
    void DeleteColumn(int index);
    void DeleteAllRows();
    // Appends a row of cells (missing cells are empty) with an image of the
    // image list, or NoResultImage.
    void AppendRow(QStringList cells, int image = NoResultImage);
    // Tells the views of the rows appended since the last flush.
    void FlushRows();
    // Rows appended since the last flush.
    int PendingRowCount() const { return int(Rows_.size()) - Shown_; }

    // What the grid holds, announced to the views or not.
    int ColumnCount() const { return int(Columns_.size()); }
    int RowCount() const { return int(Rows_.size()); }
    const CColumn& Column(int index) const { return Columns_.at(index); }
    QString Text(int row, int column) const;
    int Image(int row) const;

    // What DecorationRole gives for each image index: icons, set by the view.
    void SetImages(QList<QVariant> images) { Images_ = std::move(images); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct CRow
    {
        QStringList Cells;
        int Image = NoResultImage;
    };

    QList<CColumn> Columns_;
    std::vector<CRow> Rows_;
    int Shown_ = 0; // rows the views have been told of
    QList<QVariant> Images_;
};
