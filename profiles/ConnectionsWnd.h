#pragma once

// The list of saved connection profiles in the upper left of the main
// window. It owns the profiles: each item holds its own heap CConnection, and
// the item order is the order in which they are saved. Connected profiles
// show the connection icon. A right click offers the connection commands, a
// double click or Enter connects a profile or, when it is connected, brings
// its window forward, and a change of the focused item asks the main frame
// to show that profile.
//
// The current item, on which the connection commands act, is the selected
// item; when none is selected, the focused item; otherwise there is none.

#include "profiles/Connection.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>

class CConnectionsFrame;

class CConnectionsWnd : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CConnectionsWnd(QWidget* parent = nullptr);
    ~CConnectionsWnd() override;

    // Where the commands and ShowConnection go; null sends them nowhere.
    void SetFrame(CConnectionsFrame* frame) { Frame_ = frame; }

    // Removes every item, first to last, destroying each profile (an open
    // database is disconnected and deleted).
    void DeleteAllConnections();
    // Appends an item showing profile.Name, without an image, holding a copy
    // of profile that has no database and no window. Returns its index.
    int AddConnection(CConnection profile);
    // Selects and focuses the item at index, and clears every other one; an
    // index outside the list clears them all. Returns the number of items.
    int SelectConnection(int index);

    int GetConnectionCount() const { return topLevelItemCount(); }
    // The profile of the item at index; null outside the list.
    CConnection* GetConnection(int index) const;
    // Removes the item at index and destroys its profile. When it was the
    // focused item, no item is focused afterwards.
    void DeleteConnection(int index);
    // The index of the current item, or -1 when there is none.
    int GetCurrentConnection() const;
    // Image 0 is the connection icon; -1 shows none.
    int GetConnectionImage(int index) const;
    void SetConnectionImage(int index, int image);
    QString GetConnectionText(int index) const;
    void SetConnectionText(int index, const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnCurrentChanged(const QModelIndex& current);
    // Connects the item's profile, or shows its window when connected.
    void ActivateItem(QTreeWidgetItem* item);

    QList<QIcon> Images_; // the image list: index 0 is the connection icon
    QIcon NoImage_;       // keeps the names of all items in line
    CConnectionsFrame* Frame_ = nullptr;
    bool Removing_ = false; // focus moves while items are removed show nothing
};
