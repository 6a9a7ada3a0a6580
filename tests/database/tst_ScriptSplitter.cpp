#include "database/ScriptSplitter.h"
#include "database/SplitDelimited.h"

#include <QTest>

Q_DECLARE_METATYPE(EScriptDialect)

class CScriptSplitterTests : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void textWithoutBodiesSplitsAsSplitDelimited_data();
    void textWithoutBodiesSplitsAsSplitDelimited();
    void containsSql_data();
    void containsSql();
};

namespace {

const EScriptDialect SQLite = ScriptDialectSQLite;
const EScriptDialect FireBird = ScriptDialectFireBird;
const EScriptDialect Dollar = ScriptDialectDollarQuotes;
const EScriptDialect Standard = ScriptDialectStandard;
const EScriptDialect PostgreSQL = ScriptDialectPostgreSQL;
// MariaDB as its default sql_mode leaves it: backslash escapes in both quotes.
const EScriptDialect MariaDB = ScriptDialectMySQL | ScriptDialectBackslashEscapes |
                               ScriptDialectBackslashEscapesInDoubleQuotes;
const EScriptDialect MariaDBNoBackslashes = ScriptDialectMySQL;

} // namespace

void CScriptSplitterTests::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<EScriptDialect>("dialect");
    QTest::addColumn<QStringList>("pieces");

    // SQLite triggers.
    QTest::newRow("trigger from SQLite's documentation")
        << "CREATE TRIGGER t1r1 UPDATE ON t1 BEGIN SELECT 1; END; SELECT 2" << SQLite
        << QStringList{"CREATE TRIGGER t1r1 UPDATE ON t1 BEGIN SELECT 1; END", " SELECT 2"};
    QTest::newRow("temp trigger with CASE ... END inside")
        << "create temp trigger tr after insert on t begin update t set k = case when new.a > 0 "
           "then 'p' else 'n' end; insert into log values(1); end;\nselect 1"
        << SQLite
        << QStringList{"create temp trigger tr after insert on t begin update t set k = case when "
                       "new.a > 0 then 'p' else 'n' end; insert into log values(1); end",
                       "\nselect 1"};
    QTest::newRow("CASE in the WHEN clause")
        << "CREATE TEMPORARY TRIGGER x BEFORE DELETE ON t WHEN CASE old.a WHEN 1 THEN 1 END "
           "BEGIN DELETE FROM u; END;x"
        << SQLite
        << QStringList{"CREATE TEMPORARY TRIGGER x BEFORE DELETE ON t WHEN CASE old.a WHEN 1 THEN "
                       "1 END BEGIN DELETE FROM u; END",
                       "x"};
    QTest::newRow("transaction statements stay statements")
        << "BEGIN; BEGIN TRANSACTION; END; END TRANSACTION; COMMIT; select case 1 when 1 then 2 "
           "end; x"
        << SQLite << QStringList{"BEGIN",   " BEGIN TRANSACTION",
                                 " END",    " END TRANSACTION",
                                 " COMMIT", " select case 1 when 1 then 2 end",
                                 " x"};
    QTest::newRow("trigger inside a transaction")
        << "BEGIN TRANSACTION;\nCREATE TRIGGER a AFTER INSERT ON t BEGIN INSERT INTO u "
           "VALUES(new.x); END;\nCOMMIT;"
        << SQLite
        << QStringList{"BEGIN TRANSACTION",
                       "\nCREATE TRIGGER a AFTER INSERT ON t BEGIN INSERT INTO u VALUES(new.x); "
                       "END",
                       "\nCOMMIT"};
    QTest::newRow("semicolon in a string inside a body")
        << "CREATE TRIGGER a AFTER INSERT ON t BEGIN INSERT INTO u VALUES('x; end; y'); END;b"
        << SQLite
        << QStringList{"CREATE TRIGGER a AFTER INSERT ON t BEGIN INSERT INTO u VALUES('x; end; "
                       "y'); END",
                       "b"};
    QTest::newRow("words in comments and quotes do not count")
        << "CREATE TRIGGER a AFTER INSERT ON t BEGIN -- end;\n UPDATE \"end\" SET x = 1 /* END; "
           "*/; END;b"
        << SQLite
        << QStringList{"CREATE TRIGGER a AFTER INSERT ON t BEGIN -- end;\n UPDATE \"end\" SET x = "
                       "1 /* END; */; END",
                       "b"};
    QTest::newRow("names that start with a keyword")
        << "CREATE TRIGGER a AFTER INSERT ON t BEGIN UPDATE t SET end_date = begin_date; END;b"
        << SQLite
        << QStringList{"CREATE TRIGGER a AFTER INSERT ON t BEGIN UPDATE t SET end_date = "
                       "begin_date; END",
                       "b"};
    QTest::newRow("unterminated trigger takes the rest")
        << "select 1; CREATE TRIGGER a AFTER INSERT ON t BEGIN SELECT 1; SELECT 2;" << SQLite
        << QStringList{"select 1", " CREATE TRIGGER a AFTER INSERT ON t BEGIN SELECT 1; SELECT 2;"};
    QTest::newRow("triggers are SQLite's only")
        << "CREATE TRIGGER a BEGIN SELECT 1; END;" << Dollar
        << QStringList{"CREATE TRIGGER a BEGIN SELECT 1", " END"};

    // FireBird modules.
    QTest::newRow("procedure with declarations")
        << "CREATE PROCEDURE p (a INTEGER) RETURNS (b INTEGER) AS DECLARE VARIABLE x INTEGER; "
           "BEGIN x = a; IF (x > 0) THEN BEGIN b = x; SUSPEND; END END;\nEXECUTE PROCEDURE p(1);"
        << FireBird
        << QStringList{"CREATE PROCEDURE p (a INTEGER) RETURNS (b INTEGER) AS DECLARE VARIABLE x "
                       "INTEGER; BEGIN x = a; IF (x > 0) THEN BEGIN b = x; SUSPEND; END END",
                       "\nEXECUTE PROCEDURE p(1)"};
    QTest::newRow("every way to create or change a module")
        << "create or alter procedure a as begin end; recreate function f returns int as begin "
           "return 1; end; alter trigger t as begin new.x = 1; end; create package k as begin "
           "procedure a; end; create package body k as begin procedure a as begin end end;"
        << FireBird
        << QStringList{"create or alter procedure a as begin end",
                       " recreate function f returns int as begin return 1; end",
                       " alter trigger t as begin new.x = 1; end",
                       " create package k as begin procedure a; end",
                       " create package body k as begin procedure a as begin end end"};
    QTest::newRow("execute block with CASE and nested blocks")
        << "EXECUTE BLOCK RETURNS (n INT) AS DECLARE i INT = 0; BEGIN WHILE (i < 3) DO BEGIN i = "
           "i + 1; n = CASE WHEN i = 2 THEN 20 ELSE i END; SUSPEND; END END; SELECT 1 FROM "
           "RDB$DATABASE"
        << FireBird
        << QStringList{"EXECUTE BLOCK RETURNS (n INT) AS DECLARE i INT = 0; BEGIN WHILE (i < 3) "
                       "DO BEGIN i = i + 1; n = CASE WHEN i = 2 THEN 20 ELSE i END; SUSPEND; END "
                       "END",
                       " SELECT 1 FROM RDB$DATABASE"};
    QTest::newRow("sub-routine does not close the module")
        << "CREATE PROCEDURE p AS DECLARE PROCEDURE s AS BEGIN EXIT; END DECLARE x INT; BEGIN "
           "EXECUTE PROCEDURE s; END; x"
        << FireBird
        << QStringList{"CREATE PROCEDURE p AS DECLARE PROCEDURE s AS BEGIN EXIT; END DECLARE x "
                       "INT; BEGIN EXECUTE PROCEDURE s; END",
                       " x"};
    QTest::newRow("module statements without a body")
        << "ALTER TRIGGER t INACTIVE; CREATE FUNCTION f (x INT) RETURNS INT EXTERNAL NAME 'u!f' "
           "ENGINE udr; x"
        << FireBird
        << QStringList{"ALTER TRIGGER t INACTIVE",
                       " CREATE FUNCTION f (x INT) RETURNS INT EXTERNAL NAME 'u!f' ENGINE udr",
                       " x"};
    QTest::newRow("AS inside parentheses is no body")
        << "CREATE PROCEDURE p (a INT = CAST(1 AS INT)) AS BEGIN END; x" << FireBird
        << QStringList{"CREATE PROCEDURE p (a INT = CAST(1 AS INT)) AS BEGIN END", " x"};
    QTest::newRow("trigger with a string holding a semicolon and END")
        << "CREATE TRIGGER t FOR x BEFORE INSERT AS BEGIN new.s = 'a; END; b'; END;y" << FireBird
        << QStringList{"CREATE TRIGGER t FOR x BEFORE INSERT AS BEGIN new.s = 'a; END; b'; END",
                       "y"};
    QTest::newRow("unterminated block takes the rest")
        << "select 1; execute block as begin insert into t values(1); " << FireBird
        << QStringList{"select 1", " execute block as begin insert into t values(1); "};
    QTest::newRow("modules are FireBird's only")
        << "CREATE PROCEDURE p AS BEGIN x; END;" << SQLite
        << QStringList{"CREATE PROCEDURE p AS BEGIN x", " END"};

    // SET TERM.
    QTest::newRow("SET TERM around a procedure")
        << "SET TERM ^ ;\nCREATE PROCEDURE p AS BEGIN EXIT; END^\nSET TERM ; ^\nSELECT 1;"
        << FireBird << QStringList{"\nCREATE PROCEDURE p AS BEGIN EXIT; END", "\nSELECT 1"};
    QTest::newRow("SET TERM in any case, a long terminator, every backend")
        << "set term !! ;\nselect 1; select 2!!\nSet Terminator ; !!select 3;" << Standard
        << QStringList{"\nselect 1; select 2", "select 3"};
    QTest::newRow("SET TERM with no space before the old terminator")
        << "SET TERM #;a;b#SET TERM ;#c" << SQLite << QStringList{"a;b", "c"};
    QTest::newRow("SET TERM in a string or comment is text")
        << "select 'SET TERM ^ ;'; -- SET TERM ^ ;\nselect 2; /* SET TERM ^ ; */ select 3"
        << FireBird
        << QStringList{"select 'SET TERM ^ ;'", " -- SET TERM ^ ;\nselect 2",
                       " /* SET TERM ^ ; */ select 3"};
    QTest::newRow("SET TERM after a comment, at the end without terminator")
        << "-- procedures\nSET TERM ^ ;x;y^SET TERM ; ^" << FireBird << QStringList{"x;y"};
    QTest::newRow("a terminator inside quotes stays")
        << "SET TERM ^ ;select '^' from t^x" << FireBird << QStringList{"select '^' from t", "x"};
    QTest::newRow("SET TERM without a terminator is a statement")
        << "SET TERM ; select 1" << FireBird << QStringList{"SET TERM ", " select 1"};
    QTest::newRow("SET TERMINAL is not the directive")
        << "SET TERMINAL x; y" << FireBird << QStringList{"SET TERMINAL x", " y"};

    // Dollar quotes.
    QTest::newRow("function in $$")
        << "CREATE FUNCTION f() RETURNS int LANGUAGE plpgsql AS $$ BEGIN RETURN 1; END $$; "
           "SELECT f()"
        << Dollar
        << QStringList{"CREATE FUNCTION f() RETURNS int LANGUAGE plpgsql AS $$ BEGIN RETURN 1; "
                       "END $$",
                       " SELECT f()"};
    QTest::newRow("DO block in $tag$ holding $$")
        << "DO $body$ BEGIN PERFORM '$$;'; RAISE NOTICE 'x;'; END $body$;x" << Dollar
        << QStringList{"DO $body$ BEGIN PERFORM '$$;'; RAISE NOTICE 'x;'; END $body$", "x"};
    QTest::newRow("a different tag does not close")
        << "select $a$ ; $b$ ; $a$; x" << Dollar << QStringList{"select $a$ ; $b$ ; $a$", " x"};
    QTest::newRow("$1 is a parameter")
        << "select $1; select $2" << Dollar << QStringList{"select $1", " select $2"};
    QTest::newRow("a$b is a name") << "select a$b; select c$$d; x" << Dollar
                                   << QStringList{"select a$b", " select c$$d", " x"};
    QTest::newRow("dollar quote in a string or comment is text")
        << "select '$$'; -- $$\nselect 2" << Dollar
        << QStringList{"select '$$'", " -- $$\nselect 2"};
    QTest::newRow("unterminated dollar quote takes the rest")
        << "select 1; select $$ a; b" << Dollar << QStringList{"select 1", " select $$ a; b"};
    QTest::newRow("dollar quotes are ODBC's only")
        << "select $$ a; b $$" << FireBird << QStringList{"select $$ a", " b $$"};
    // Backquoted names.
    QTest::newRow("backquoted name holding the terminator")
        << "CREATE TABLE `a;b` (`x``;` INT); select '`'; x"
        << (ScriptDialectDollarQuotes | ScriptDialectBackquotes)
        << QStringList{"CREATE TABLE `a;b` (`x``;` INT)", " select '`'", " x"};
    QTest::newRow("backquotes are text elsewhere")
        << "select `a; b`" << Dollar << QStringList{"select `a", " b`"};
    QTest::newRow("SQLite rules with dollar quotes")
        << "CREATE TRIGGER a AFTER INSERT ON t BEGIN SELECT $$;$$; END;b"
        << (ScriptDialectSQLite | ScriptDialectDollarQuotes)
        << QStringList{"CREATE TRIGGER a AFTER INSERT ON t BEGIN SELECT $$;$$; END", "b"};
    // PostgreSQL's E'' strings and BEGIN ATOMIC bodies.
    QTest::newRow("E'' string with an escaped quote")
        << "select E'it\\'s; here', e'\\\\'; select 'a\\'; b'" << PostgreSQL
        << QStringList{"select E'it\\'s; here', e'\\\\'", " select 'a\\'", " b'"};
    QTest::newRow("E'' needs the dialect")
        << "select E'a\\'; b'" << Dollar << QStringList{"select E'a\\'", " b'"};
    QTest::newRow("E'' needs a word of its own")
        << "select namE'a\\'; b'" << PostgreSQL << QStringList{"select namE'a\\'", " b'"};
    QTest::newRow("BEGIN ATOMIC function with CASE")
        << "CREATE OR REPLACE FUNCTION f(a int) RETURNS int LANGUAGE sql BEGIN ATOMIC SELECT "
           "CASE WHEN a > 0 THEN 1 END; SELECT 2; END;\nselect f(1)"
        << PostgreSQL
        << QStringList{"CREATE OR REPLACE FUNCTION f(a int) RETURNS int LANGUAGE sql BEGIN "
                       "ATOMIC SELECT CASE WHEN a > 0 THEN 1 END; SELECT 2; END",
                       "\nselect f(1)"};
    QTest::newRow("procedure with BEGIN ATOMIC; a plain function; BEGIN and END")
        << "create procedure p() begin atomic insert into t values (1); end; "
           "create function g() returns int as $$ select 1; $$ language sql; begin; end;"
        << PostgreSQL
        << QStringList{"create procedure p() begin atomic insert into t values (1); end",
                       " create function g() returns int as $$ select 1; $$ language sql",
                       " begin", " end"};
    QTest::newRow("CASE outside a body counts for nothing")
        << "create function h(x int default case 1 when 1 then 2 end) returns int language sql "
           "return x; select 1"
        << PostgreSQL
        << QStringList{"create function h(x int default case 1 when 1 then 2 end) returns int "
                       "language sql return x",
                       " select 1"};
    // MariaDB: backslash escapes, # comments and DELIMITER.
    QTest::newRow("backslash escapes in both quotes")
        << "insert into t values ('it\\'s; here', \"a\\\";b\", '\\\\'); select 1" << MariaDB
        << QStringList{"insert into t values ('it\\'s; here', \"a\\\";b\", '\\\\')",
                       " select 1"};
    QTest::newRow("no backslash escapes under NO_BACKSLASH_ESCAPES")
        << "select 'a\\'; select 'b'" << MariaDBNoBackslashes
        << QStringList{"select 'a\\'", " select 'b'"};
    QTest::newRow("# comment holding a quote and a terminator")
        << "select 1; # don't; stop\nselect 2;\n# done\n" << MariaDB
        << QStringList{"select 1", " # don't; stop\nselect 2", "\n# done\n"};
    QTest::newRow("DELIMITER around a procedure")
        << "CREATE TABLE t (a INT);\nDELIMITER //\nCREATE PROCEDURE p()\nBEGIN\n  INSERT "
           "INTO t VALUES (1);\n  SELECT 1;\nEND //\ndelimiter ;\nCALL p();\n"
        << MariaDB
        << QStringList{"CREATE TABLE t (a INT)",
                       "CREATE PROCEDURE p()\nBEGIN\n  INSERT INTO t VALUES (1);\n  SELECT 1;\nEND ",
                       "CALL p()", "\n"};
    QTest::newRow("DELIMITER of two characters, a comment before it, one in a string")
        << "select 'DELIMITER x';\n-- next\nDelimiter $$ trailing words\nselect 1; select 2$$\n"
           "DELIMITER ;\nselect 3"
        << MariaDB
        << QStringList{"select 'DELIMITER x'", "select 1; select 2", "select 3"};
    QTest::newRow("DELIMITER $$ right after names and numbers")
        << "DELIMITER $$\nCREATE PROCEDURE p() BEGIN SELECT 1; END$$\nSELECT 2$$\nDELIMITER ;"
        << MariaDB << QStringList{"CREATE PROCEDURE p() BEGIN SELECT 1; END", "\nSELECT 2"};
    QTest::newRow("DELIMITER without a terminator")
        << "DELIMITER\n; DELIMITER //\nselect 1;" << MariaDB
        << QStringList{"DELIMITER\n", "select 1;"}
        ;
    QTest::newRow("DELIMITER is text to PostgreSQL")
        << "DELIMITER //\nselect 1; x" << PostgreSQL
        << QStringList{"DELIMITER //\nselect 1", " x"};
}

void CScriptSplitterTests::split()
{
    QFETCH(QString, text);
    QFETCH(EScriptDialect, dialect);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitScript(text, dialect), pieces);
}

void CScriptSplitterTests::textWithoutBodiesSplitsAsSplitDelimited_data()
{
    QTest::addColumn<QString>("text");
    const char* const texts[] = {
        "",
        "select 1",
        " a ; b ",
        "a;;b",
        ";a",
        "a;",
        ";",
        "a;\n",
        "select \"a;b\"; x",
        "INSERT INTO notes VALUES ('a; DELETE FROM notes; --'); SELECT 1",
        "'it''s;here';b",
        "'\";';b\"'",
        "\"it's;\";b",
        "a -- don't; stop\n;b",
        "-- it's a note\nselect 1; select 2",
        "a /* x; 'y */; b",
        "/*\n;\n*/a;b",
        "a-b;c/d;e",
        "a;/* b;c",
        "'--';b",
        "a;\"b;c",
        "\"a\"\";\";b",
        "a\r\n;b",
        "begin; end; case; create table t(a); create trigger",
    };
    for (const char* text : texts)
        QTest::newRow(text) << QString::fromUtf8(text);
}

void CScriptSplitterTests::textWithoutBodiesSplitsAsSplitDelimited()
{
    QFETCH(QString, text);
    QStringList expected;
    SplitDelimited(text, expected, u';');
    for (EScriptDialect dialect : {Standard, SQLite, FireBird, Dollar, PostgreSQL, MariaDB})
        QCOMPARE(SplitScript(text, dialect), expected);
}

void CScriptSplitterTests::containsSql_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<bool>("sql");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("white space") << " \n\t" << false;
    QTest::newRow("line comment") << "\n-- done" << false;
    QTest::newRow("block comments") << "/* a */ /* b\n*/ " << false;
    QTest::newRow("unclosed comment") << "/* a" << false;
    QTest::newRow("statement after comment") << "-- x\nselect 1" << true;
    QTest::newRow("one character") << " x " << true;
    QTest::newRow("# comment, MySQL's") << "\n# done\n" << false;
}

void CScriptSplitterTests::containsSql()
{
    QFETCH(QString, piece);
    QFETCH(bool, sql);
    QCOMPARE(ContainsSql(piece, MariaDB), sql);
    // "#" is SQL elsewhere (an operator in PostgreSQL).
    QCOMPARE(ContainsSql(piece), sql || piece.contains(u'#'));
}

QTEST_GUILESS_MAIN(CScriptSplitterTests)
#include "tst_ScriptSplitter.moc"
