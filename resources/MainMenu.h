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

inline constexpr const char* MainWindowCaption = "Brevan Tablescope"; // string 128
inline constexpr const char* ApplicationName = "Tablescope";          // string 57344
// The status bar's indicators after its message pane.
inline constexpr const char* StatusIndicators[] = {"CAP", "NUM", "SCRL"};
