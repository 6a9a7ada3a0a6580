#pragma once

// Dialog 310, "DB Connection": the ids of its controls and its fixed texts.

inline constexpr int ConnectionDialogId = 310;
inline constexpr const char* ConnectionDialogCaption = "DB Connection";

enum EConnectionDialogControl : int
{
    IdcConnectionOk = 1,
    IdcConnectionCancel = 2,
    IdcConnectionName = 1000,
    IdcConnectionType = 1001,
    IdcConnectionPath = 1002,
    IdcConnectionLogin = 1003,
    IdcConnectionPassword = 1004,
    IdcConnectionRemember = 1005,
    IdcConnectionPathLabel = 1006,
    IdcConnectionLoginLabel = 1007,
    IdcConnectionPasswordLabel = 1008,
    IdcConnectionAlias = 1009,
    IdcConnectionAliasLabel = 1010,
    IdcConnectionNameLabel = 1011,
    IdcConnectionTypeLabel = 1012,
};

inline constexpr const char* ConnectionDialogIntro =
    "This window allows you to specify the database connection properties:";
inline constexpr const char* ConnectionNameLabel = "Connection Name:";
inline constexpr const char* ConnectionTypeLabel = "Connection Type:";
inline constexpr const char* ConnectionAliasLabel = "Database Alias:";
inline constexpr const char* ConnectionPathLabel = "Connect String:"; // replaced by the type's own
inline constexpr const char* ConnectionLoginLabel = "Login:";
inline constexpr const char* ConnectionPasswordLabel = "Password:";
inline constexpr const char* ConnectionRememberText = "Remember authentication info permanently";

// The type list, in the order of the type codes.
inline constexpr const char* ConnectionTypeNames[] = {"SQLite", "FireBird", "ODBC"};
