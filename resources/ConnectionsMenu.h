#pragma once

// Resources of the connections list: its pop-up menu (menu 312, whose first
// pop-up "Connections" is shown on a right click) and its connection icon
// (bitmap 318, 16x16, magenta where it is transparent).

// The connection commands; the main menu offers the same ids.
enum EConnectionCommand : int
{
    CommandNewConnection = 32772,
    CommandDeleteConnection = 32774,
    CommandConnectionProperties = 32775,
    CommandConnect = 32780,
    CommandDisconnect = 32783,
};

struct CMenuEntry
{
    int Command;      // 0 for a separator
    const char* Text; // UTF-8
};

inline constexpr int ConnectionsMenuId = 312;
inline constexpr const char* ConnectionsMenuTitle = "Connections";
inline constexpr CMenuEntry ConnectionsMenu[] = {
    {CommandNewConnection, "Add..."},
    {CommandDeleteConnection, "Delete..."},
    {CommandConnectionProperties, "Properties..."},
    {0, nullptr},
    {CommandConnect, "Connect..."},
    {CommandDisconnect, "Disconnect"},
};

inline constexpr int ConnectionIconId = 318;
inline constexpr const char* ConnectionIconFile = ":/bitmaps/318";
