#pragma once

// How a name read from a database is written in SQL for that database: as
// it is when the database would read it back unchanged, otherwise between
// the database's identifier quotes, each quote inside doubled. A name needs
// quotes when it is not a plain word (letters, digits and underscores, not
// starting with a digit), when it is an SQL keyword, or when the database
// folds unquoted names to one case and the name has letters of the other.
// QtCore only; nothing here asks the database anything.

#include "database/ScriptSplitter.h"

#include <QString>

class CIdentifierQuoting
{
public:
    enum EFolding
    {
        FoldNone,  // unquoted names keep their case (SQLite, MySQL, MariaDB)
        FoldUpper, // FireBird and the SQL standard
        FoldLower, // PostgreSQL
    };

    CIdentifierQuoting(QString quote, EFolding folding);

    // The rules of a connection, from its profile's type code and its
    // database's script dialect (which tells an ODBC source's database).
    // An ODBC source that is none of SQLite, FireBird, MySQL or MariaDB is
    // taken to fold to lower case, as PostgreSQL does.
    static CIdentifierQuoting ForDatabase(int databaseType, EScriptDialect dialect);

    bool NeedsQuotes(const QString& name) const;
    // name, quoted when it needs quotes.
    QString Quote(const QString& name) const;
    // Whether word (in any case) is a reserved word of SQL.
    static bool IsKeyword(const QString& word);

private:
    QString Quote_;
    EFolding Folding_;
};
