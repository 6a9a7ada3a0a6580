#pragma once

// Makes the C library's character type UTF-8 when the environment left it
// anything else (no LANG at all gives "C", that is ASCII), keeping every other
// locale category as it is. ODBC drivers convert between their wide and narrow
// text with the C library's locale; under "C" they turn every character
// outside ASCII into its low byte. Cheap and harmless to call again; call it
// before any driver converts text. Returns false only when the C library
// knows no UTF-8 locale at all.
bool EnsureUtf8Locale();
