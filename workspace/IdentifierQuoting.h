#pragma once

// How a name read from a database is written in SQL for that database: as
// it is when the database would read it back unchanged, otherwise between
// the database's identifier quotes, each quote inside doubled. A name needs
// quotes when it is not a plain word (letters, digits and underscores, not
// starting with a digit), when it is an SQL keyword, or when the database
// folds unquoted names to one case and the name has letters of the other.
// QtCore only; the rules of a connection are what its database says of
// itself.

class CAbstractDatabase;

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

    // An empty quote: the database has no quoted names, and every name is
    // written as it is.
    CIdentifierQuoting(QString quote, EFolding folding);

    // The rules of a connected database, as it states them
    // (GetIdentifierQuote, GetIdentifierCase): an ODBC driver's own
    // answers, whatever database is behind it.
    static CIdentifierQuoting ForDatabase(const CAbstractDatabase& database);
    // The SQL standard's: double quotes, unquoted names in upper case.
    static CIdentifierQuoting Standard();

    bool NeedsQuotes(const QString& name) const;
    // name, quoted when it needs quotes.
    QString Quote(const QString& name) const;
    // Whether word (in any case) is a reserved word of SQL.
    static bool IsKeyword(const QString& word);

private:
    QString Quote_;
    EFolding Folding_;
};
