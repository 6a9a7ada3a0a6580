#include "shell/TableTree.h"

#include "database/AbstractDatabase.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/IdentifierQuoting.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

const QString DetailGap = QStringLiteral("  ");

const QTreeWidgetItem* TableOf(const QTreeWidgetItem* item)
{
    return item && item->parent() ? item->parent() : item;
}

// Paints an item's detail (a column's type, "view") after its name, dimmer
// than the name, and makes room for it.
class CDetailDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QString detail = index.data(CTableTree::DetailRole).toString();
        if (detail.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString name = item.text;
        item.text.clear(); // background, icon and focus only; the texts follow
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                         .adjusted(margin, 0, -margin, 0);
        const bool selected = item.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled)
                                               ? QPalette::Disabled
                                           : item.state & QStyle::State_Active ? QPalette::Normal
                                                                               : QPalette::Inactive;
        const QColor nameColour =
            item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        QColor detailColour = nameColour;
        if (!selected)
            detailColour = item.palette.color(group, QPalette::PlaceholderText);
        const QFontMetrics metrics(item.font);
        painter->save();
        painter->setFont(item.font);
        painter->setPen(nameColour);
        const QString shownName = metrics.elidedText(name, Qt::ElideRight, text.width());
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName);
        text.setLeft(text.left() + metrics.horizontalAdvance(shownName + DetailGap));
        if (text.width() > 0) {
            painter->setPen(detailColour);
            painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              metrics.elidedText(detail, Qt::ElideRight, text.width()));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString detail = index.data(CTableTree::DetailRole).toString();
        if (!detail.isEmpty()) {
            QStyleOptionViewItem item(option);
            initStyleOption(&item, index);
            size.rwidth() += QFontMetrics(item.font).horizontalAdvance(DetailGap + detail);
        }
        return size;
    }
};

} // namespace

CTableTree::CTableTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(true); // buttons and lines at the root
    setUniformRowHeights(true);
    setFocusPolicy(Qt::StrongFocus);
    // A double click inserts the name; the button beside it expands.
    setExpandsOnDoubleClick(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setItemDelegate(new CDetailDelegate(this));
    // Sized by updateGeometries.
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { InsertName(item); });
}

// The one column is as wide as the pane, or as the longest name with its
// type where that is wider, scrolled sideways then: nothing is cut off, and
// a selected row is marked across the pane.
void CTableTree::updateGeometries()
{
    const int width = std::max(viewport()->width(), sizeHintForColumn(0));
    if (header()->sectionSize(0) != width)
        header()->resizeSection(0, width);
    QTreeWidget::updateGeometries();
}

void CTableTree::ShowTables(const CConnection* profile)
{
    clear();
    if (!profile)
        return;
    QList<QTreeWidgetItem*> tables;
    tables.reserve(profile->Tables.size());
    const auto setDetail = [](QTreeWidgetItem* item, const QString& detail) {
        if (detail.isEmpty())
            return;
        item->setData(0, DetailRole, detail);
        item->setData(0, Qt::AccessibleTextRole, ShownText(item));
    };
    for (const CConnection::CTable& table : profile->Tables) {
        auto* tableItem = new QTreeWidgetItem(QStringList{table.Name});
        if (table.IsView)
            setDetail(tableItem, QStringLiteral("view"));
        if (!table.Error.isEmpty()) { // its columns could not be read: say why
            tableItem->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
            tableItem->setToolTip(0, table.Error);
        }
        for (qsizetype i = 0; i < table.Columns.size(); ++i)
            setDetail(new QTreeWidgetItem(tableItem, QStringList{table.Columns.at(i)}),
                      table.ColumnTypes.value(i));
        tables.append(tableItem);
    }
    addTopLevelItems(tables);
}

QString CTableTree::QuotedName(const QTreeWidgetItem* item) const
{
    const CConnection* profile = ShownProfile ? ShownProfile() : nullptr;
    if (!item)
        return {};
    // The rules are fixed once connected and safe to ask on this thread.
    const CIdentifierQuoting quoting = profile && profile->Database
                                           ? CIdentifierQuoting::ForDatabase(*profile->Database)
                                           : CIdentifierQuoting::Standard();
    return quoting.Quote(item->text(0));
}

QString CTableTree::ShownText(const QTreeWidgetItem* item)
{
    if (!item)
        return {};
    const QString detail = item->data(0, DetailRole).toString();
    return detail.isEmpty() ? item->text(0) : item->text(0) + DetailGap + detail;
}

bool CTableTree::InsertName(const QTreeWidgetItem* item)
{
    const CConnection* profile = ShownProfile ? ShownProfile() : nullptr;
    if (!item || !profile || !profile->Window || !profile->Window->Editor)
        return false;
    CSyntaxRichEditCtrl* editor = profile->Window->Editor;
    editor->insertPlainText(QuotedName(item));
    editor->setFocus(Qt::OtherFocusReason);
    return true;
}

bool CTableTree::SelectFromTable(const QTreeWidgetItem* item)
{
    CConnection* profile = ShownProfile ? ShownProfile() : nullptr;
    const QTreeWidgetItem* table = TableOf(item);
    if (!table || !profile || !profile->Window || !profile->Thread || profile->Window->IsBusy())
        return false;
    return profile->Window->RunScript(QStringLiteral("SELECT * FROM ") + QuotedName(table),
                                      *profile->Thread);
}

void CTableTree::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && currentItem()) {
        InsertName(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CTableTree::contextMenuEvent(QContextMenuEvent* event)
{
    QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!item)
        return;
    setCurrentItem(item);
    const CConnection* profile = ShownProfile ? ShownProfile() : nullptr;
    QMenu menu(this);
    QAction* select = menu.addAction(QStringLiteral("SELECT * FROM this table"));
    select->setObjectName(QStringLiteral("select-from-table"));
    select->setEnabled(profile && profile->Window && !profile->Window->IsBusy());
    QAction* copy = menu.addAction(QStringLiteral("Copy Name"));
    copy->setObjectName(QStringLiteral("copy-name"));
    const QAction* chosen = menu.exec(event->globalPos());
    if (chosen == select)
        SelectFromTable(item);
    else if (chosen == copy)
        QApplication::clipboard()->setText(QuotedName(item));
}

QStringList CTableTree::mimeTypes() const
{
    return {QStringLiteral("text/plain")};
}

// A dragged name reaches the editor as text, already quoted.
QMimeData* CTableTree::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    QStringList names;
    for (const QTreeWidgetItem* item : items)
        names.append(QuotedName(item));
    auto* data = new QMimeData;
    data->setText(names.join(QStringLiteral(", ")));
    return data;
}
