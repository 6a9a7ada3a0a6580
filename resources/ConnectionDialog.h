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
    // Beside the path: an SQLite file picked or made, an ODBC data source
    // picked; under it, why a new file could not be made.
    IdcConnectionBrowse = 1013,
    IdcConnectionNewFile = 1014,
    IdcConnectionDataSources = 1015,
    IdcConnectionFileError = 1016,
    // Tries the settings; what came of it shows above the buttons.
    IdcConnectionTest = 1017,
    IdcConnectionTestResult = 1018,
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

inline constexpr const char* ConnectionBrowseText = "Browse...";
inline constexpr const char* ConnectionNewFileText = "New...";
inline constexpr const char* ConnectionDataSourcesText = "Data Sources";
inline constexpr const char* ConnectionBrowseTip = "Choose an existing SQLite database file";
inline constexpr const char* ConnectionNewFileTip = "Create a new, empty SQLite database file";
inline constexpr const char* ConnectionDataSourcesTip =
    "Choose one of the ODBC data sources this system knows";
inline constexpr const char* ConnectionTestText = "Test Connection";
inline constexpr const char* ConnectionStopTestText = "Stop";
inline constexpr const char* ConnectionTestTip =
    "Connect with these settings, then disconnect, and say how it went";
