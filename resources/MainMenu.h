#pragma once

// The main window's commands (menu, accelerators, toolbar and string table
// 128): every command's id, menu item text, keys, status-bar prompt and
// tooltip, toolbar place and icon. The main frame builds its actions, menus
// and toolbar from these tables alone.

#include "resources/ConnectionsMenu.h"
#include "resources/EditMenu.h"

enum EMainCommand : int
{
    CommandExecute = 32788,
    CommandStop = 32789,
    CommandFetchAll = 32790,
    CommandRowLimit1000 = 32791,
    CommandRowLimit10000 = 32792,
    CommandRowLimit100000 = 32793,
    CommandRowLimitNone = 32794,
    CommandExportResult = 32795,
    CommandAbout = 57664,
    CommandExit = 57665,
    CommandContextHelp = 57669,
    CommandHelp = 57670,
    CommandNextPane = 57680,
    CommandPreviousPane = 57681,
    CommandViewToolbar = 59392,
    CommandViewStatusBar = 59393,
};

// The pop-ups of the menu bar, in order.
enum EMainMenuPopup : int
{
    PopupFile,
    PopupEdit,
    PopupConnection,
    PopupQuery,
    PopupView,
    PopupHelp,
    PopupNone, // a command reached by its keys alone
};
inline constexpr const char* MainMenuPopups[] = {"&File", "&Edit", "&Connection",
                                                 "Query", "&View", "&Help"};

struct CMainCommand
{
    int Command;         // 0 for a separator in Popup
    int Popup;           // EMainMenuPopup
    const char* Text;    // the menu item text, UTF-8; "\t" sets off the keys shown
    const char* Keys;    // shortcuts in portable text, "; " between them
    const char* Prompt;  // UTF-8: the status-bar prompt, "\n", the tooltip
    int ToolbarPlace;    // 1-based place on the toolbar, 0 for none
    const char* Icon;    // icon theme name of the toolbar button
    const char* OwnIcon; // our own art where the theme has none
};

// In menu order within each pop-up.
inline constexpr CMainCommand MainCommands[] = {
    {CommandExit, PopupFile, "&Exit", "", "Closes the application\nExit", 0, "", ""},

    {CommandCut, PopupEdit, "&Cut\tCtrl+X", "Ctrl+X; Shift+Del", "Cut selection to clipboard\nCut",
     1, "edit-cut", ":/toolbar/cut"},
    {CommandCopy, PopupEdit, "&Copy\tCtrl+C", "Ctrl+C; Ctrl+Ins",
     "Copy selection to clipboard\nCopy", 2, "edit-copy", ":/toolbar/copy"},
    {CommandPaste, PopupEdit, "&Paste\tCtrl+V", "Ctrl+V; Shift+Ins",
     "Paste clipboard to SQL window\nPaste", 3, "edit-paste", ":/toolbar/paste"},
    {0, PopupEdit, nullptr, "", "", 0, "", ""},
    {CommandUndo, PopupEdit, "Undo\tCtrl+Z", "Ctrl+Z; Alt+Backspace",
     "Отмена последнего действия\nОтменить", 0, "", ""},

    {CommandNewConnection, PopupConnection, "New Database Connection...", "",
     "Creates a new database connection and puts int into the left-upper side of the "
     "windows\nNew Database Connection",
     0, "", ""},
    {CommandDeleteConnection, PopupConnection, "Delete Database Connection...", "",
     "Deletes the selected database connection\nDelete database Connection", 0, "", ""},
    {CommandConnectionProperties, PopupConnection, "Database Connection Properties...", "",
     "Opens the database connection window allowing you to change it's properties\nDatabase "
     "Connection Properties",
     0, "", ""},
    {0, PopupConnection, nullptr, "", "", 0, "", ""},
    {CommandConnect, PopupConnection, "Connect Database...", "",
     "Connects to the database using the selected database connection and allows you to launch "
     "SQL queries\nConnect Database",
     0, "", ""},
    {CommandDisconnect, PopupConnection, "Disconnect Database", "",
     "Closes the open database connection\nDisconnect Database", 0, "", ""},

    {CommandExecute, PopupQuery, "Execute\tCtrl+F5", "Ctrl+F5",
     "Runs the SQL query or selected text in the SQL query window against the selected "
     "database\nExecute",
     4, "system-run", ":/toolbar/execute"},
    {CommandStop, PopupQuery, "Stop\tEsc", "Esc",
     "Stops the running statement or the connection attempt of the selected database\nStop", 5,
     "process-stop", ":/toolbar/stop"},
    {0, PopupQuery, nullptr, "", "", 0, "", ""},
    {CommandFetchAll, PopupQuery, "Fetch All Rows", "",
     "Runs the query of the last execution again and reads every row\nFetch All Rows", 0, "", ""},
    {CommandRowLimit1000, PopupQuery, "Row Limit: 1,000", "",
     "Reads at most 1,000 rows of a query of this connection\nRow Limit", 0, "", ""},
    {CommandRowLimit10000, PopupQuery, "Row Limit: 10,000", "",
     "Reads at most 10,000 rows of a query of this connection\nRow Limit", 0, "", ""},
    {CommandRowLimit100000, PopupQuery, "Row Limit: 100,000", "",
     "Reads at most 100,000 rows of a query of this connection\nRow Limit", 0, "", ""},
    {CommandRowLimitNone, PopupQuery, "Row Limit: No Limit", "",
     "Reads every row of a query of this connection\nNo Row Limit", 0, "", ""},
    {0, PopupQuery, nullptr, "", "", 0, "", ""},
    {CommandExportResult, PopupQuery, "Export Result...", "",
     "Writes every row of the shown query's result to a CSV or text file\nExport Result", 0, "",
     ""},

    {CommandViewToolbar, PopupView, "&Toolbar", "", "Shows or hides toolbar on the screen\nToolbar",
     0, "", ""},
    {CommandViewStatusBar, PopupView, "&Status Bar", "",
     "Shows or hides status bar on the screen\nStatus Bar", 0, "", ""},

    {CommandAbout, PopupHelp, "&About Brevan Tablescope...", "",
     "Shows product version and developer copyrights\nAbout Brevan Tablescope", 0, "", ""},

    {CommandHelp, PopupNone, "Help", "F1", "", 0, "", ""},
    {CommandContextHelp, PopupNone, "Context Help", "Shift+F1", "", 0, "", ""},
    {CommandNextPane, PopupNone, "Next Pane", "F6", "", 0, "", ""},
    {CommandPreviousPane, PopupNone, "Previous Pane", "Shift+F6", "", 0, "", ""},
};

// The row limits that the Row Limit commands set, in their order; 0 for none.
inline constexpr int RowLimitCommands[][2] = {{CommandRowLimit1000, 1000},
                                              {CommandRowLimit10000, 10000},
                                              {CommandRowLimit100000, 100000},
                                              {CommandRowLimitNone, 0}};

inline constexpr const char* MainWindowCaption = "Brevan Tablescope"; // string 128
inline constexpr const char* ApplicationName = "Tablescope";          // string 57344
// The status bar's indicators after its message pane.
inline constexpr const char* StatusIndicators[] = {"CAP", "NUM", "SCRL"};
