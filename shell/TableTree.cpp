#include "shell/TableTree.h"

#include "database/AbstractDatabase.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/IdentifierQuoting.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>

namespace {

const QTreeWidgetItem* TableOf(const QTreeWidgetItem* item)
{
    return item && item->parent() ? item->parent() : item;
}

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
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { InsertName(item); });
}

void CTableTree::ShowTables(const CConnection* profile)
{
    clear();
    if (!profile)
        return;
    QList<QTreeWidgetItem*> tables;
    tables.reserve(profile->Tables.size());
    for (const CConnection::CTable& table : profile->Tables) {
        auto* tableItem = new QTreeWidgetItem(QStringList{table.Name});
        if (!table.Error.isEmpty()) { // its columns could not be read: say why
            tableItem->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
            tableItem->setToolTip(0, table.Error);
        }
        for (const QString& column : table.Columns)
            new QTreeWidgetItem(tableItem, QStringList{column});
        tables.append(tableItem);
    }
    addTopLevelItems(tables);
}

QString CTableTree::QuotedName(const QTreeWidgetItem* item) const
{
    const CConnection* profile = ShownProfile ? ShownProfile() : nullptr;
    if (!item)
        return {};
    // The dialect is fixed once connected and safe to ask on this thread.
    const EScriptDialect dialect = profile && profile->Database
                                       ? profile->Database->GetScriptDialect()
                                       : ScriptDialectStandard;
    return CIdentifierQuoting::ForDatabase(profile ? profile->Type : -1, dialect)
        .Quote(item->text(0));
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
