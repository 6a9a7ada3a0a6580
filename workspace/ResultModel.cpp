#include "workspace/ResultModel.h"

void CResultModel::InsertColumn(int index, const QString& header, Qt::Alignment alignment,
                                int width)
{
    index = qBound(0, index, ColumnCount());
    beginInsertColumns({}, index, index);
    Columns_.insert(index, CColumn{header, alignment, width});
    for (CRow& row : Rows_)
        if (index < row.Cells.size())
            row.Cells.insert(index, QString());
    endInsertColumns();
}

void CResultModel::DeleteColumn(int index)
{
    if (index < 0 || index >= ColumnCount())
        return;
    beginRemoveColumns({}, index, index);
    Columns_.removeAt(index);
    for (CRow& row : Rows_)
        if (index < row.Cells.size())
            row.Cells.removeAt(index);
    endRemoveColumns();
}

void CResultModel::DeleteAllRows()
{
    beginResetModel();
    Rows_.clear();
    Shown_ = 0;
    endResetModel();
}

void CResultModel::AppendRow(QStringList cells, int image)
{
    Rows_.push_back(CRow{std::move(cells), image});
}

void CResultModel::FlushRows()
{
    if (PendingRowCount() <= 0)
        return;
    beginInsertRows({}, Shown_, RowCount() - 1);
    Shown_ = RowCount();
    endInsertRows();
}

QString CResultModel::Text(int row, int column) const
{
    if (row < 0 || row >= RowCount())
        return {};
    const QStringList& cells = Rows_[size_t(row)].Cells;
    return column >= 0 && column < cells.size() ? cells.at(column) : QString();
}

int CResultModel::Image(int row) const
{
    return row >= 0 && row < RowCount() ? Rows_[size_t(row)].Image : NoResultImage;
}

int CResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Shown_;
}

int CResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Shown_ || index.column() >= ColumnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Columns_.at(index.column()).Alignment | Qt::AlignVCenter);
    case Qt::DecorationRole: {
        // The row's image shows in its first cell, as in a report list.
        const int image = Image(index.row());
        if (index.column() == 0 && image >= 0 && image < Images_.size())
            return Images_.at(image);
        return {};
    }
    default:
        return {};
    }
}

QVariant CResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return Columns_.at(section).Header;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Columns_.at(section).Alignment | Qt::AlignVCenter);
    return {};
}
