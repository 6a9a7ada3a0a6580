#pragma once

// Dialog 100, the About box, and the application icon (icon 128) it shows.

inline constexpr int AboutDialogId = 100;
inline constexpr const char* AboutDialogCaption = "About Tablescope";

enum EAboutDialogControl : int
{
    IdcAboutOk = 1,
    IdcAboutProductName = 1000,
    IdcAboutVersion = 1015,
    IdcAboutLink = 1016,
};

inline constexpr const char* AboutProductName = "Brevan Tablescope";
inline constexpr const char* AboutVersionPrefix = "Version ";
inline constexpr const char* AboutMakerLine = "Copyright \u00a9 2026 Brevan";
inline constexpr const char* AboutLinkText = "www.example.com/tablescope";
inline constexpr const char* AboutLinkUrl = "https://www.example.com/tablescope";
inline constexpr const char* AboutOkText = "\u041e\u041a"; // Cyrillic letters, as the button has always read

inline constexpr int ApplicationIconId = 128;
inline constexpr const char* ApplicationIconFile = ":/icons/128";
