#include "workspace/ResultGrid.h"

#include "resources/EditMenu.h"

#include <QBitmap>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>

namespace {

QIcon LoadMark(const char* file)
{
    QPixmap bitmap(QString::fromLatin1(file));
    if (bitmap.isNull())
        return {};
    bitmap.setMask(bitmap.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    return QIcon(bitmap);
}

} // namespace

CResultGrid::CResultGrid(QWidget* parent) : QTreeView(parent)
{
    Q_INIT_RESOURCE(profiles);  // bitmap 318
    Q_INIT_RESOURCE(workspace); // bitmap 317
    Model_.SetImages({LoadMark(FailureMarkFile), LoadMark(SuccessMarkFile)});
    setModel(&Model_);

    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // rows are one line each; spares measuring every row
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setAllColumnsShowFocus(true);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);

    // The selection keeps its colour when the grid loses the focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(&Model_, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) { ApplyWidths(first, last); });
}

int CResultGrid::ClientWidth() const
{
    return viewport()->width();
}

int CResultGrid::MeasureText(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

void CResultGrid::ApplyWidths(int first, int last)
{
    for (int i = first; i <= last && i < Model_.ColumnCount(); ++i)
        header()->resizeSection(i, Model_.Column(i).Width);
}
