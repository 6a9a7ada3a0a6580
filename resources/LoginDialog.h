#pragma once

// Dialog 315, "Database Login", and its picture (bitmap 316: two keys, one
// silver and one gold, on a ring; 48x48).

inline constexpr int LoginDialogId = 315;
inline constexpr const char* LoginDialogCaption = "Database Login";

enum ELoginDialogControl : int
{
    IdcLoginOk = 1,
    IdcLoginCancel = 2,
    IdcLoginUserName = 1003,
    IdcLoginPassword = 1004,
};

inline constexpr const char* LoginDialogText =
    "Please sppecify user name and password the program will use to log you in the database:";
inline constexpr const char* LoginUserNameLabel = "User name:";
inline constexpr const char* LoginPasswordLabel = "Password:";

inline constexpr int KeysBitmapId = 316;
inline constexpr const char* KeysBitmapFile = ":/bitmaps/316";
inline constexpr int KeysBitmapSize = 48;
