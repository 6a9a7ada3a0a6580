#include "profiles/ConnectionsWnd.h"

#include "profiles/ConnectionsFrame.h"
#include "resources/ConnectionsMenu.h"

#include <QBitmap>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>

namespace {

constexpr int ConnectionItemType = QTreeWidgetItem::UserType + 1;

// A list item that owns its profile.
class CConnectionItem : public QTreeWidgetItem
{
public:
    explicit CConnectionItem(std::unique_ptr<CConnection> profile)
        : QTreeWidgetItem(ConnectionItemType), Profile(std::move(profile))
    {
    }

    std::unique_ptr<CConnection> Profile;
    int Image = -1;
};

CConnectionItem* AsConnectionItem(QTreeWidgetItem* item)
{
    return item && item->type() == ConnectionItemType ? static_cast<CConnectionItem*>(item)
                                                      : nullptr;
}

QIcon LoadConnectionIcon()
{
    QPixmap bitmap(QString::fromLatin1(ConnectionIconFile));
    if (bitmap.isNull())
        return {};
    bitmap.setMask(bitmap.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    return QIcon(bitmap);
}

} // namespace

CConnectionsWnd::CConnectionsWnd(QWidget* parent) : QTreeWidget(parent)
{
    Q_INIT_RESOURCE(profiles);
    Images_.append(LoadConnectionIcon());
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    NoImage_ = QIcon(blank);

    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Name")});
    headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    setColumnWidth(0, 100);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays as plain to see when the list loses the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CConnectionsWnd::OnCurrentChanged);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CConnectionsWnd::ActivateItem);
}

CConnectionsWnd::~CConnectionsWnd()
{
    // The items and their profiles go while this object is still whole.
    disconnect(selectionModel(), nullptr, this, nullptr);
    Frame_ = nullptr;
    Removing_ = true;
    clear();
}

void CConnectionsWnd::DeleteAllConnections()
{
    while (topLevelItemCount() > 0)
        DeleteConnection(0);
}

int CConnectionsWnd::AddConnection(CConnection profile)
{
    auto item = new CConnectionItem(std::make_unique<CConnection>(profile));
    item->setText(0, item->Profile->Name);
    item->setIcon(0, NoImage_);
    addTopLevelItem(item);
    return topLevelItemCount() - 1;
}

int CConnectionsWnd::SelectConnection(int index)
{
    const int count = topLevelItemCount();
    if (index < 0 || index >= count) {
        selectionModel()->clear();
        return count;
    }
    QTreeWidgetItem* item = topLevelItem(index);
    const bool stillFocused = currentItem() == item;
    const bool wasSelected = item->isSelected();
    selectionModel()->setCurrentIndex(indexFromItem(item), QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    // A new focus shows the profile by itself; the item that keeps the focus
    // and only becomes selected changes state all the same.
    if (stillFocused && !wasSelected && Frame_)
        Frame_->ShowConnection(index);
    return count;
}

CConnection* CConnectionsWnd::GetConnection(int index) const
{
    const CConnectionItem* item = AsConnectionItem(topLevelItem(index));
    return item ? item->Profile.get() : nullptr;
}

void CConnectionsWnd::DeleteConnection(int index)
{
    QTreeWidgetItem* item = topLevelItem(index);
    if (!item)
        return;
    Removing_ = true;
    // Without this the view would hand the focus to a neighbour.
    if (currentItem() == item)
        selectionModel()->clearCurrentIndex();
    delete takeTopLevelItem(index);
    Removing_ = false;
}

int CConnectionsWnd::GetCurrentConnection() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (!selected.isEmpty())
        return selected.front().row();
    const QModelIndex focused = currentIndex();
    return focused.isValid() ? focused.row() : -1;
}

int CConnectionsWnd::GetConnectionImage(int index) const
{
    const CConnectionItem* item = AsConnectionItem(topLevelItem(index));
    return item ? item->Image : -1;
}

void CConnectionsWnd::SetConnectionImage(int index, int image)
{
    CConnectionItem* item = AsConnectionItem(topLevelItem(index));
    if (!item)
        return;
    item->Image = image;
    item->setIcon(0, image >= 0 && image < Images_.size() ? Images_[image] : NoImage_);
}

QString CConnectionsWnd::GetConnectionText(int index) const
{
    const QTreeWidgetItem* item = topLevelItem(index);
    return item ? item->text(0) : QString();
}

void CConnectionsWnd::SetConnectionText(int index, const QString& text)
{
    if (QTreeWidgetItem* item = topLevelItem(index))
        item->setText(0, text);
}

void CConnectionsWnd::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    setColumnWidth(0, viewport()->width());
}

// The view has already done its own handling of the button, which selects
// and focuses the item under the pointer.
void CConnectionsWnd::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(QString::fromUtf8(ConnectionsMenuTitle), this);
    for (const CMenuEntry& entry : ConnectionsMenu) {
        if (entry.Command == 0)
            menu.addSeparator();
        else
            menu.addAction(QString::fromUtf8(entry.Text))->setData(entry.Command);
    }
    const QAction* chosen = menu.exec(event->globalPos());
    if (chosen && Frame_)
        Frame_->RunConnectionCommand(chosen->data().toInt());
}

void CConnectionsWnd::OnCurrentChanged(const QModelIndex& current)
{
    if (!Removing_ && current.isValid() && Frame_)
        Frame_->ShowConnection(current.row());
}

void CConnectionsWnd::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && currentItem()) {
        ActivateItem(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// Disconnecting stays on the menu: a double click that closed a connection
// would lose its results to a slip of the finger.
void CConnectionsWnd::ActivateItem(QTreeWidgetItem* item)
{
    const CConnectionItem* connection = AsConnectionItem(item);
    if (!connection || !Frame_)
        return;
    if (connection->Profile->Database)
        Frame_->ShowConnectionWindow(indexOfTopLevelItem(item));
    else
        Frame_->RunConnectionCommand(CommandConnect);
}
