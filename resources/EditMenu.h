#pragma once

// The Edit commands (the second pop-up "&Edit" of the main menu 128), which
// the connection window also offers on a right click on its splitter bar.

#include "resources/ConnectionsMenu.h" // CMenuEntry

enum EEditCommand : int
{
    CommandCopy = 57634,
    CommandCut = 57635,
    CommandPaste = 57637,
    CommandUndo = 57643,
    CommandRedo = 57644,
};

inline constexpr const char* EditMenuTitle = "&Edit";
inline constexpr CMenuEntry EditMenu[] = {
    {CommandCut, "&Cut\tCtrl+X"},     {CommandCopy, "&Copy\tCtrl+C"},
    {CommandPaste, "&Paste\tCtrl+V"}, {0, nullptr},
    {CommandUndo, "Undo\tCtrl+Z"},
};

// The result grid's marks, 16x16, magenta where they are transparent: a
// failed statement (bitmap 317) and a successful one (bitmap 318, which is
// also the connections list's icon).
inline constexpr int FailureMarkId = 317;
inline constexpr const char* FailureMarkFile = ":/bitmaps/317";
inline constexpr int SuccessMarkId = 318;
inline constexpr const char* SuccessMarkFile = ":/bitmaps/318";
