#include "workspace/ResultGrid.h"

#include "resources/EditMenu.h"
#include "workspace/ResultWriter.h"

#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

// Tooltips longer than this are cut: a tooltip is for reading, not for data.
constexpr int MaxToolTip = 4000;

QIcon LoadMark(const char* file)
{
    QPixmap bitmap(QString::fromLatin1(file));
    if (bitmap.isNull())
        return {};
    bitmap.setMask(bitmap.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    return QIcon(bitmap);
}

// Draws NULL apart from any text: grey and italic.
class CNullDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.data(CResultModel::NullRole).toBool())
            return;
        option->font.setItalic(true);
        option->palette.setColor(QPalette::Text, QColor(Qt::gray));
        option->palette.setColor(QPalette::HighlightedText, QColor(Qt::lightGray));
    }
};

// A field of copied text, quoted when it would not stay one field.
QString CopiedField(const QString& text)
{
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r') &&
        !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

CResultGrid::CResultGrid(QWidget* parent) : QTreeView(parent)
{
    Q_INIT_RESOURCE(profiles);  // bitmap 318
    Q_INIT_RESOURCE(workspace); // bitmap 317
    Model_.SetImages({LoadMark(FailureMarkFile), LoadMark(SuccessMarkFile)});
    setModel(&Model_);
    setItemDelegate(new CNullDelegate(this));

    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // rows are one line each; spares measuring every row
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectItems);
    setSelectionMode(ExtendedSelection);
    setAllColumnsShowFocus(false);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);

    // The selection keeps its colour when the grid loses the focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(&Model_, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                SizedByUser_.clear(); // a new result: the user's widths were for the last one
                ApplyWidths(first, last);
            });
    connect(&Model_, &CResultModel::ColumnWidthChanged, this, &CResultGrid::ApplyWidth);
    connect(header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!Applying_)
            SizedByUser_.insert(column);
    });
    // Fit to every row loaded, not to the rows in view as the tree view would.
    disconnect(header(), &QHeaderView::sectionHandleDoubleClicked, this,
               &QTreeView::resizeColumnToContents);
    connect(header(), &QHeaderView::sectionHandleDoubleClicked, this, &CResultGrid::FitToEveryRow);
    connect(header(), &QHeaderView::sectionClicked, this, &CResultGrid::SelectColumn);
}

int CResultGrid::ClientWidth() const
{
    return viewport()->width();
}

int CResultGrid::MaxColumnWidth() const
{
    return qMax(NumberColumnWidth * 2, viewport()->width() / 3);
}

int CResultGrid::MeasureText(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

void CResultGrid::ApplyWidths(int first, int last)
{
    for (int i = first; i <= last && i < Model_.ColumnCount(); ++i)
        ApplyWidth(i);
}

void CResultGrid::ApplyWidth(int column)
{
    if (SizedByUser_.contains(column) || column >= Model_.ColumnCount())
        return;
    int width = Model_.Column(column).Width;
    // A result column grows by itself to a third of the grid as it is now,
    // never narrower than its header needs.
    if (Model_.IsNumbered() && column > 0)
        width = qMax(qMin(width, MaxColumnWidth()),
                     MeasureText(Model_.Column(column).Header) + HeaderPadding);
    Applying_ = true;
    header()->resizeSection(column, width);
    Applying_ = false;
}

void CResultGrid::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    ApplyWidths(1, Model_.ColumnCount() - 1); // the third of the grid has changed
}

void CResultGrid::FitToEveryRow(int column)
{
    if (column < 0 || column >= Model_.ColumnCount() || Model_.RowCount() == 0)
        return;
    const int width = FitColumnWidth(Model_, column, 0, Model_.RowCount() - 1,
                                     [this](const QString& text) { return MeasureText(text); });
    SizedByUser_.insert(column);
    header()->resizeSection(column, width);
}

void CResultGrid::SelectColumn(int column)
{
    if (Model_.rowCount() == 0)
        return;
    if (column == 0 && Model_.IsNumbered()) {
        selectAll();
        return;
    }
    const QItemSelection whole(Model_.index(0, column),
                               Model_.index(Model_.rowCount() - 1, column));
    const auto how = QApplication::keyboardModifiers() & Qt::ControlModifier
                         ? QItemSelectionModel::Select
                         : QItemSelectionModel::ClearAndSelect;
    selectionModel()->select(whole, how);
}

void CResultGrid::mousePressEvent(QMouseEvent* event)
{
    QTreeView::mousePressEvent(event);
    // A row's number stands for the row.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at.column() == 0 && Model_.IsNumbered() &&
        Model_.Image(at.row()) == NoResultImage)
        selectionModel()->select(at, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QString CResultGrid::SelectionText(bool withHeaders) const
{
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return {};
    QMap<int, QSet<int>> rows; // row -> columns, in grid order
    QSet<int> used;
    for (const QModelIndex& cell : cells) {
        rows[cell.row()].insert(cell.column());
        used.insert(cell.column());
    }
    QList<int> columns(used.begin(), used.end());
    std::sort(columns.begin(), columns.end());
    if (Model_.IsNumbered() && columns.size() > 1 && columns.first() == 0)
        columns.removeFirst();
    const bool log = !Model_.IsNumbered();

    QStringList lines;
    const auto field = [log](const QString& text) { return log ? text : CopiedField(text); };
    if (withHeaders && !log) {
        QStringList headers;
        for (int column : std::as_const(columns))
            headers.append(field(Model_.Column(column).Header));
        lines.append(headers.join(u'\t'));
    }
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        QStringList fields;
        for (int column : std::as_const(columns))
            fields.append(it.value().contains(column) && !Model_.IsNull(it.key(), column)
                              ? field(Model_.Text(it.key(), column))
                              : QString());
        lines.append(fields.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

void CResultGrid::CopySelection(bool withHeaders)
{
    const QString text = SelectionText(withHeaders);
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void CResultGrid::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        CopySelection(false);
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CResultGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    QAction* withHeaders = menu.addAction(QStringLiteral("Copy with &Headers"));
    QAction* all = menu.addAction(QStringLiteral("Select &All"));
    const bool any = selectionModel()->hasSelection();
    copy->setEnabled(any);
    withHeaders->setEnabled(any && Model_.IsNumbered());
    connect(copy, &QAction::triggered, this, [this] { CopySelection(false); });
    connect(withHeaders, &QAction::triggered, this, [this] { CopySelection(true); });
    connect(all, &QAction::triggered, this, &QTreeView::selectAll);
    menu.exec(event->globalPos());
}

bool CResultGrid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    // Only a cell whose text is cut has a tooltip: its whole text.
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex at = indexAt(help->pos());
    const QString text = at.isValid() ? Model_.Text(at.row(), at.column()) : QString();
    const int room = columnWidth(at.column()) - CellPadding / 2 -
                     (at.column() == 0 && Model_.Image(at.row()) >= 0 ? iconSize().width() : 0);
    if (text.isEmpty() || (MeasureText(text) <= room && !text.contains(u'\n'))) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(),
                       text.size() > MaxToolTip ? text.left(MaxToolTip) + QStringLiteral("...")
                                                : text,
                       viewport(), visualRect(at));
    return true;
}
