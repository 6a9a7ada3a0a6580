#include "workspace/IdentifierQuoting.h"

#include "database/AbstractDatabase.h"

#include <QSet>

namespace {

// The reserved words that the supported databases share, enough that a
// table named after one is quoted; a missed one only costs an error the
// user can see and fix.
const QSet<QString>& Keywords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char* word : {"ADD",          "ALL",          "ALTER",
                                 "AND",          "ANY",          "AS",
                                 "ASC",          "BETWEEN",      "BY",
                                 "CASE",         "CAST",         "CHECK",
                                 "COLUMN",       "CONSTRAINT",   "CREATE",
                                 "CROSS",        "CURRENT",      "DEFAULT",
                                 "DELETE",       "DESC",         "DISTINCT",
                                 "DROP",         "ELSE",         "END",
                                 "ESCAPE",       "EXCEPT",       "EXISTS",
                                 "FOR",          "FOREIGN",      "FROM",
                                 "FULL",         "GRANT",        "GROUP",
                                 "HAVING",       "IN",           "INDEX",
                                 "INNER",        "INSERT",       "INTERSECT",
                                 "INTO",         "IS",           "JOIN",
                                 "KEY",          "LEFT",         "LIKE",
                                 "LIMIT",        "NATURAL",      "NOT",
                                 "NULL",         "OF",           "OFFSET",
                                 "ON",           "OR",           "ORDER",
                                 "OUTER",        "PRIMARY",      "REFERENCES",
                                 "RIGHT",        "ROWS",         "SELECT",
                                 "SET",          "TABLE",        "THEN",
                                 "TO",           "TRANSACTION",  "TRIGGER",
                                 "UNION",        "UNIQUE",       "UPDATE",
                                 "USER",         "USING",        "VALUES",
                                 "VIEW",         "WHEN",         "WHERE",
                                 "WITH",         "DATE",         "TIME",
                                 "TIMESTAMP",    "VALUE",        "POSITION",
                                 "SIZE",         "ROW",          "UPPER",
                                 "LOWER",        "COUNT",        "SUM",
                                 "MIN",          "MAX",          "AVG",
                                 "CHAR",         "CHARACTER",    "VARCHAR",
                                 "INTEGER",      "INT",          "NUMERIC",
                                 "DECIMAL",      "FLOAT",        "DOUBLE",
                                 "REAL",         "BOOLEAN",      "TRUE",
                                 "FALSE",        "BEGIN",        "COMMIT",
                                 "ROLLBACK",     "RETURNING",    "OVER",
                                 "PARTITION",    "LEADING",      "TRAILING",
                                 "BOTH",         "ONLY",         "SOME",
                                 "EXECUTE",      "PROCEDURE",    "FUNCTION",
                                 "RECURSIVE",    "GLOBAL",       "LOCAL",
                                 "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP",
                                 "CURRENT_USER", "SESSION_USER", "WINDOW"})
            set.insert(QString::fromLatin1(word));
        return set;
    }();
    return words;
}

bool IsPlainWord(const QString& name)
{
    if (name.isEmpty() || name.front().isDigit())
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_')
            return false;
    return true;
}

} // namespace

CIdentifierQuoting::CIdentifierQuoting(QString quote, EFolding folding)
    : Quote_(std::move(quote)), Folding_(folding)
{
}

CIdentifierQuoting CIdentifierQuoting::ForDatabase(const CAbstractDatabase& database)
{
    switch (database.GetIdentifierCase()) {
    case IdentifierCaseKept:
        return {database.GetIdentifierQuote(), FoldNone};
    case IdentifierCaseLower:
        return {database.GetIdentifierQuote(), FoldLower};
    case IdentifierCaseUpper:
        break;
    }
    return {database.GetIdentifierQuote(), FoldUpper};
}

CIdentifierQuoting CIdentifierQuoting::Standard()
{
    return {QStringLiteral("\""), FoldUpper};
}

bool CIdentifierQuoting::NeedsQuotes(const QString& name) const
{
    if (!IsPlainWord(name) || IsKeyword(name))
        return true;
    switch (Folding_) {
    case FoldUpper:
        return name != name.toUpper();
    case FoldLower:
        return name != name.toLower();
    case FoldNone:
        break;
    }
    return false;
}

QString CIdentifierQuoting::Quote(const QString& name) const
{
    if (Quote_.isEmpty() || !NeedsQuotes(name))
        return name;
    QString inner = name;
    inner.replace(Quote_, Quote_ + Quote_);
    return Quote_ + inner + Quote_;
}

bool CIdentifierQuoting::IsKeyword(const QString& word)
{
    return Keywords().contains(word.toUpper());
}
