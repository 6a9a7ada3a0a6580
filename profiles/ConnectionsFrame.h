#pragma once

// What the connections window asks of the main frame. The main frame
// implements it and hands itself to CConnectionsWnd::SetFrame.

class CConnectionsFrame
{
public:
    // Runs one of the connection commands (EConnectionCommand: add, delete,
    // properties, connect, disconnect) exactly as the main menu does; it acts
    // on the connections window's current item.
    virtual void RunConnectionCommand(int command) = 0;
    // Shows the profile of the window's item: its tables in the table tree,
    // its connection window above the others.
    virtual void ShowConnection(int item) = 0;
    // Brings the window of a connected profile's item to the front, ready
    // for typing. By default only ShowConnection.
    virtual void ShowConnectionWindow(int item) { ShowConnection(item); }

protected:
    virtual ~CConnectionsFrame();
};
