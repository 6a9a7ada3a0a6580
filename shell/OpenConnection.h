#pragma once

// Turning a saved profile into a live connection: the backend that the
// profile's type names, connected with the profile's database string and
// credentials, and the database's tables with their columns read into the
// profile. No window is involved, so that the command-line runner connects
// exactly as the Connect command does.

#include "profiles/Connection.h"

#include <memory>

// A new, unconnected backend for a type code; null for any other code.
std::unique_ptr<CAbstractDatabase> CreateBackend(int type);

// What the profile's backend connects to: the SQLite file, the FireBird
// "server:alias" ("localhost:" and the alias when no server is given), or the
// ODBC connect string.
QString DatabaseString(const CConnection& profile);

// Creates and connects the profile's backend with its Login and Password,
// and fills Tables with every table, sorted by exact comparison of their
// characters (upper-case letters before lower-case ones), with its columns.
// On failure error holds the message and the profile has no database.
bool OpenConnection(CConnection& profile, QString& error);
