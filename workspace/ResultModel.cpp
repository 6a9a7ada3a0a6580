#include "workspace/ResultModel.h"

const QString CResultModel::NullText = QStringLiteral("NULL");

// Columns change only while the grid has no rows: every filler clears the
// rows first, so cells never have to move between columns.
void CResultModel::InsertColumn(int index, const QString& header, Qt::Alignment alignment,
                                int width)
{
    index = qBound(0, index, ColumnCount());
    beginInsertColumns({}, index, index);
    Columns_.insert(index, CColumn{header, alignment, width});
    endInsertColumns();
}

void CResultModel::DeleteColumn(int index)
{
    if (index < 0 || index >= ColumnCount())
        return;
    beginRemoveColumns({}, index, index);
    Columns_.removeAt(index);
    endRemoveColumns();
}

void CResultModel::SetColumnWidth(int index, int width)
{
    if (index < 0 || index >= ColumnCount() || Columns_.at(index).Width == width)
        return;
    Columns_[index].Width = width;
    emit ColumnWidthChanged(index);
}

void CResultModel::DeleteAllRows()
{
    beginResetModel();
    Rows_.clear();
    Shown_ = 0;
    Numbered_ = false;
    endResetModel();
}

void CResultModel::AppendRow(const QStringList& cells, int image)
{
    Rows_.push_back(CRow{CResultRow::FromTexts(cells), image});
}

void CResultModel::AppendRow(CResultRow cells, int image)
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

int CResultModel::StoredCell(int row, int column) const
{
    if (!Numbered_)
        return column;
    if (column == 0)
        return Rows_[size_t(row)].Image == NoResultImage ? NumberCell : NoCell;
    return column - 1;
}

QString CResultModel::Text(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return {};
    const int cell = StoredCell(row, column);
    if (cell == NumberCell)
        return QString::number(row + 1);
    return Rows_[size_t(row)].Cells.Text(cell);
}

bool CResultModel::IsNull(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return false;
    const int cell = StoredCell(row, column);
    return cell >= 0 && Rows_[size_t(row)].Cells.IsNull(cell);
}

int CResultModel::Bytes(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return 0;
    const int cell = StoredCell(row, column);
    if (cell == NumberCell)
        return int(QString::number(row + 1).size());
    return Rows_[size_t(row)].Cells.Bytes(cell);
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
        return IsNull(index.row(), index.column()) ? NullText : Text(index.row(), index.column());
    case NullRole:
        return IsNull(index.row(), index.column());
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
