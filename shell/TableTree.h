#pragma once

// The tables of the shown connection with their columns, below the
// connections list, followed by its views. A column shows its declared type
// after its name, a view the word "view", both in the dimmer colour of
// placeholder text. Besides showing them it hands their names to the SQL
// editor: a double click or Enter on a table or column puts its name at the
// editor's cursor, quoted as the database needs; dragging it into the editor
// does the same. Its context menu offers "SELECT * FROM this table", run in
// the connection window under the row limit, and "Copy Name".

#include <QTreeWidget>
#include <functional>

class CConnection;

class CTableTree : public QTreeWidget
{
    Q_OBJECT

public:
    // What an item shows after its name: a column's declared type, "view"
    // for a view; the item's text stays the bare name.
    static constexpr int DetailRole = Qt::UserRole + 1;

    explicit CTableTree(QWidget* parent = nullptr);

    // The profile whose tables are shown, or null; asked at every use, so
    // that the tree never keeps a profile that may be gone.
    std::function<CConnection*()> ShownProfile;

    // Shows the tables and columns of profile; null shows nothing.
    void ShowTables(const CConnection* profile);
    // The name of item as it goes into SQL for the shown connection, quoted
    // by the rules its database states.
    QString QuotedName(const QTreeWidgetItem* item) const;
    // What the tree shows of item: its name and, after two blanks, its
    // detail when it has one.
    static QString ShownText(const QTreeWidgetItem* item);
    // Puts the name of item at the cursor of the shown connection's editor
    // and gives the editor the focus. False when there is no editor.
    bool InsertName(const QTreeWidgetItem* item);
    // Runs SELECT * FROM the table of item in the connection window, under
    // its row limit. False while the window is busy or there is none.
    bool SelectFromTable(const QTreeWidgetItem* item);

protected:
    void updateGeometries() override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
};
