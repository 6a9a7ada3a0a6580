#pragma once

// Cuts a script into the statements a database receives one at a time, the
// way each database's own command-line tool reads a script file. A
// statement ends at a terminator (";" unless the script changed it) that
// stands in the SQL itself: not inside a string in apostrophes or double
// quotes, a "--" or "/* */" comment, a dollar-quoted string, or the body of
// a trigger, procedure or block, whose inner statements end with ";" too.
//
// Which bodies and quotes a text has depends on the database's SQL:
//
// - SQLite: CREATE [TEMP|TEMPORARY] TRIGGER ... BEGIN ... END. The trigger
//   ends at the first ";" after the END that closes its BEGIN; a CASE ...
//   END inside counts as a pair. Elsewhere BEGIN and END are statements of
//   their own (BEGIN TRANSACTION; ... END TRANSACTION;).
// - FireBird: CREATE, ALTER, RECREATE and CREATE OR ALTER of a PROCEDURE,
//   FUNCTION, TRIGGER or PACKAGE [BODY], and EXECUTE BLOCK. From the AS
//   that starts the module's declarations (outside parentheses) the
//   statement goes on to the END that closes its body's BEGIN, nested
//   BEGIN ... END and CASE ... END included; the BEGIN ... END of a DECLARE
//   PROCEDURE or DECLARE FUNCTION (a sub-routine) does not close it. Without
//   an AS (ALTER TRIGGER t INACTIVE, an external routine) it ends at ";".
// - PostgreSQL and every other ODBC source but MySQL and MariaDB: $$ ... $$
//   and $tag$ ... $tag$ are strings, as in PostgreSQL. A "$" that follows a
//   letter, digit or "_" (a$b), or that is not followed by a tag and "$"
//   ($1), opens nothing.
//   PostgreSQL's E'...' strings take backslash escapes (E'it\'s' is one
//   string). CREATE [OR REPLACE] FUNCTION or PROCEDURE with a body in the
//   SQL standard's words (BEGIN ATOMIC ... END) ends at the first ";" after
//   the END that closes its BEGIN, as psql reads it: outside parentheses,
//   BEGIN opens, END closes, and a CASE inside counts as a pair.
// - An ODBC source whose driver quotes names in backquotes (MySQL, MariaDB):
//   `...` is a name, a doubled backquote inside it included. Unless the
//   server's sql_mode holds NO_BACKSLASH_ESCAPES, a backslash escapes the
//   next character in '...' (and, without ANSI_QUOTES, in "..."), so that
//   'it\'s' is one string. As the mysql client reads a script, "#" opens a
//   comment to the end of the line, and a line "DELIMITER new" (any letter
//   case) at the start of a statement is a directive like SET TERM below,
//   which ends at the end of its line: "DELIMITER //" ... "END //"
//   "DELIMITER ;".
//
// On every database "SET TERM new old" (any letter case, TERMINATOR too),
// as FireBird's isql reads it, is a directive of the script: it ends at the
// current terminator, makes new (one or more characters) the terminator of
// what follows, and is not a statement. While the terminator is not ";",
// bodies need no rule: only the terminator ends a statement. Inside strings
// and comments it is just text.
//
// A string, comment or body left open at the end of the text runs to the
// end: the rest is one statement, which the database then refuses with its
// own message.

#include <QString>
#include <QStringList>
#include <QStringView>

// The body and quoting rules of a database's SQL, as flags.
enum EScriptDialect : unsigned
{
    ScriptDialectStandard = 0,      // strings and comments only
    ScriptDialectTriggerBodies = 1, // SQLite's CREATE TRIGGER ... BEGIN ... END
    ScriptDialectModuleBodies = 2,  // FireBird's PSQL modules and EXECUTE BLOCK
    ScriptDialectDollarQuotes = 4,  // PostgreSQL's $tag$ strings
    ScriptDialectBackquotes = 8,    // MySQL's and MariaDB's `names`
    ScriptDialectEscapeStrings = 16, // PostgreSQL's E'...' with backslash escapes
    ScriptDialectAtomicBodies = 32,  // PostgreSQL's BEGIN ATOMIC ... END routines
    ScriptDialectBackslashEscapes = 64,            // backslash escapes in every '...'
    ScriptDialectBackslashEscapesInDoubleQuotes = 128, // and in "..."
    ScriptDialectMySQLClient = 256,                // DELIMITER lines and # comments
    ScriptDialectSQLite = ScriptDialectTriggerBodies,
    ScriptDialectFireBird = ScriptDialectModuleBodies,
    ScriptDialectPostgreSQL =
        ScriptDialectDollarQuotes | ScriptDialectEscapeStrings | ScriptDialectAtomicBodies,
    // MySQL and MariaDB; the backslash escapes follow the server's sql_mode.
    ScriptDialectMySQL = ScriptDialectBackquotes | ScriptDialectMySQLClient,
};

constexpr EScriptDialect operator|(EScriptDialect a, EScriptDialect b)
{
    return EScriptDialect(unsigned(a) | unsigned(b));
}

// The statements of script in text order, SET TERM directives left out.
// Pieces are neither trimmed nor dropped when empty or when they hold only
// white space and comments; a text that ends with the terminator gives no
// empty last piece.
QStringList SplitScript(const QString& script, EScriptDialect dialect);

// Where one statement of SplitScript lies in its script: Start and Length
// give exactly the piece SplitScript returns; End is past its terminator (the
// text's end for the last piece).
struct CStatementSpan
{
    qsizetype Start = 0;
    qsizetype Length = 0;
    qsizetype End = 0;
};

// The statements of script as SplitScript cuts them, by their place.
QList<CStatementSpan> SplitScriptSpans(const QString& script, EScriptDialect dialect);

// The text after the white space and comments that lead it (an unclosed
// comment runs to the end); "#" comments too in the dialects that have them.
QStringView SkipSpaceAndComments(QStringView text,
                                 EScriptDialect dialect = ScriptDialectStandard);

// Whether a piece holds SQL: anything beyond white space and comments.
bool ContainsSql(QStringView piece, EScriptDialect dialect = ScriptDialectStandard);

// The one class behind SplitScript: a single pass over the text.
class CScriptSplitter
{
public:
    CScriptSplitter(const QString& script, EScriptDialect dialect);
    QStringList Split();
    // Where each piece of the last Split lies, in the same order.
    const QList<CStatementSpan>& Spans() const { return Spans_; }

private:
    enum class EState
    {
        Code,
        DoubleQuoted,
        SingleQuoted,
        LineComment,
        BlockComment,
        DollarQuoted,
        BackQuoted,
    };
    enum class EKind
    {
        Undecided, // the head of the statement is still being read
        Plain,
        Trigger, // SQLite trigger
        Module,  // FireBird PSQL module or EXECUTE BLOCK
        Routine, // PostgreSQL function or procedure, perhaps with BEGIN ATOMIC
    };

    // Advances past the character (or word, or opener) at Pos_ in code.
    void SkipUntil(char16_t a, char16_t b);
    void ScanCode();
    // The length of the dollar quote opener "$tag$" at Pos_, or 0.
    qsizetype DollarTagLength() const;
    // A DELIMITER line at Pos_, the start of a statement: reads it, changes
    // the terminator and returns true.
    bool DelimiterDirective(qsizetype wordEnd);
    void Word(QStringView word);
    void ReadHead(const QString& word);
    // Whether the terminator at Pos_ ends the statement here.
    bool EndsHere() const;
    void EndPiece(qsizetype end);
    void ResetStatement();

    const QString& Text_;
    const EScriptDialect Dialect_;
    QStringList Pieces_;
    QList<CStatementSpan> Spans_;
    QString Terminator_ = QStringLiteral(";");
    EState State_ = EState::Code;
    QString DollarTag_; // "$tag$" while inside a dollar-quoted string
    bool Backslashes_ = false; // the quoted string being read takes backslash escapes
    qsizetype Pos_ = 0;
    qsizetype PieceStart_ = 0;

    // The statement being read.
    EKind Kind_ = EKind::Undecided;
    QStringList Head_;    // its first words, upper case, until Kind_ is decided
    QString Blocks_;      // open BEGIN ("B") and CASE ("C"), innermost last
    int Parentheses_ = 0; // open "(" outside strings and comments
    bool SeenAs_ = false; // a module's declarations have begun
    bool BodyDone_ = false;
    bool AfterDeclare_ = false;  // the last word was DECLARE
    int PendingSubroutines_ = 0; // DECLARE PROCEDURE/FUNCTION whose body is to come
};
