#pragma once

// Which commands of the main window may run, decided in one place from a
// few named conditions. The main frame gathers the conditions whenever one of
// them may have changed and sets every action's enabled state from them; a
// disabled action runs neither from the menu, nor the toolbar, nor a key.

struct CCommandState
{
    bool HasCurrentItem = false; // the connections list has a current item
    bool HasWindow = false;      // ... and its profile has a connection window
    bool CanPaste = false;       // that window's editor accepts the clipboard's content
    bool CanUndo = false;        // that window's editor has something to undo
    // The current item's profile is connecting or running a script: what
    // would destroy its database or its window waits until that ends, and
    // Stop is what the user can do.
    bool Busy = false;
    bool HasMoreRows = false; // the shown grid's query had rows past the limit
    bool ShowsRows = false;   // the shown grid holds a query's rows
};

bool IsCommandEnabled(int command, const CCommandState& state);
