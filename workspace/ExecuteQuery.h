#pragma once

// The Execute command: runs the SQL of a connection's editor, the selection
// or else the whole text, statement by statement, and shows the rows of the
// last query or the log of every statement in the connection's grid.

class CConnection;

// Shows "Please connect to the database first" when the profile has no
// database; does nothing while its window is busy with an earlier run. The
// run goes to the profile's thread (started here when it has none) and this
// returns at once; the window shows the outcome when it comes.
void ExecuteQuery(CConnection& profile);

// Runs the query of the profile's last execution again, alone, and reads
// every row (Fetch All Rows). Nothing happens unless its window says rows
// were left unread.
void FetchAllRows(CConnection& profile);
