#include "workspace/QueryExecution.h"

#include "database/ScriptSplitter.h"

#include <array>

bool CScriptRun::Succeeded() const
{
    if (Stopped || Outcomes.size() != Statements.size())
        return false;
    for (const QString& outcome : Outcomes)
        if (!outcome.isEmpty())
            return false;
    return true;
}

QString ToLogLine(const QString& text)
{
    // The usual statement has neither; the log asks for one line per statement.
    if (!text.contains(u'\r') && !text.contains(u'\t'))
        return text.trimmed();
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\t', u' ');
    return line.trimmed();
}

bool IsQueryStatement(const QString& statement)
{
    // The words that begin a statement returning rows in one database or
    // another: PRAGMA and EXPLAIN (SQLite), VALUES and TABLE (SQLite,
    // PostgreSQL), SHOW (PostgreSQL, MySQL).
    static const std::array<QLatin1String, 7> words = {
        QLatin1String("select"), QLatin1String("with"),    QLatin1String("values"),
        QLatin1String("pragma"), QLatin1String("explain"), QLatin1String("show"),
        QLatin1String("table")};
    const QStringView text = SkipSpaceAndComments(statement);
    qsizetype length = 0;
    while (length < text.size() && (text.at(length).isLetterOrNumber() || text.at(length) == u'_'))
        ++length;
    const QStringView first = text.first(length); // a whole word: "selection" is none of them
    for (const QLatin1String& word : words)
        if (first.compare(word, Qt::CaseInsensitive) == 0)
            // "with" alone is no query, only the start of one
            return word != QLatin1String("with") || !text.sliced(length).trimmed().isEmpty();
    return false;
}

int FindSelectIndex(const QStringList& statements)
{
    for (qsizetype i = statements.size() - 1; i >= 0; --i)
        if (IsQueryStatement(statements.at(i)))
            return int(i);
    return int(statements.size());
}

QString ScriptToRun(const QString& text, int start, int end)
{
    QString script = text;
    script.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (start >= 0 && start < end && end <= script.size())
        return script.sliced(start, end - start);
    return script;
}

namespace {

// A statement opened as the query that has no result columns (PRAGMA
// foreign_keys = ON) is run to its end, and the run is shown as the log.
void ShowColumnlessQueryAsLog(CScriptRun& run)
{
    if (!run.Recordset || run.Recordset->GetColumnCount() > 0)
        return;
    run.Recordset->MoveNext(); // a statement that was only prepared runs now
    QString error;
    if (run.Recordset->GetFetchError(error))
        run.Outcomes[run.SelectIndex] = error;
    run.Recordset.reset();
}

void ReportOnLastStatement(CScriptRun& run, const QString& error)
{
    if (run.Outcomes.isEmpty()) {
        if (run.Statements.isEmpty())
            run.Statements.append(QString());
        run.Outcomes.append(QString());
    }
    QString& outcome = run.Outcomes.last();
    outcome = outcome.isEmpty() ? error : outcome + QStringLiteral("; ") + error;
}

} // namespace

void RunScript(CAbstractDatabase& database, const QString& script, CScriptRun& run,
               CRunControl* control)
{
    run.Statements.clear();
    run.Outcomes.clear();
    run.Recordset.reset();
    run.Stopped = false;
    const EScriptDialect dialect = database.GetScriptDialect();
    run.Statements = SplitScript(script, dialect);
    run.SelectIndex = FindSelectIndex(run.Statements);
    if (control)
        control->StatementCount = int(run.Statements.size());

    QString error;
    QString scriptError; // a failure to begin or end the script's own work
    const bool began = database.BeginScript(scriptError);
    for (int i = 0; i < run.Statements.size(); ++i) {
        if (control) {
            if (control->Stopping()) {
                run.Stopped = true;
                break;
            }
            control->Statement = i + 1;
        }
        bool ok;
        if (!ContainsSql(run.Statements.at(i), dialect)) {
            ok = true; // white space and comments: nothing for the database
        } else if (i == run.SelectIndex) {
            CAbstractRecordset* recordset = nullptr;
            ok = database.OpenRecordset(run.Statements.at(i), error, recordset);
            // A recordset that was prepared but failed to execute is ours too.
            run.Recordset.reset(recordset);
        } else {
            ok = database.ExecuteSQL(run.Statements.at(i), error);
        }
        run.Outcomes.append(ok ? QString() : error);
        // The statement that a stop interrupted is the last to run.
        if (control && control->Stopping() && i + 1 < run.Statements.size()) {
            run.Stopped = true;
            break;
        }
    }
    ShowColumnlessQueryAsLog(run);
    if (began && !database.EndScript(run.Recordset.get(), scriptError))
        run.Recordset.reset();
    if (!scriptError.isEmpty()) // reported on the last statement, so the log shows it
        ReportOnLastStatement(run, scriptError);
    if (!run.Succeeded())
        run.Recordset.reset();
}

QString StatementAt(const QString& text, int position, EScriptDialect dialect)
{
    const QList<CStatementSpan> spans = SplitScriptSpans(text, dialect);
    qsizetype at = 0;
    while (at < spans.size() - 1 && position > spans.at(at).End)
        ++at;
    const auto holdsSql = [&](qsizetype index) {
        const CStatementSpan& span = spans.at(index);
        return ContainsSql(QStringView(text).sliced(span.Start, span.Length));
    };
    // Space and comments alone: the statement before them, else the one after.
    qsizetype chosen = -1;
    for (qsizetype i = at; i >= 0 && chosen < 0; --i)
        if (holdsSql(i))
            chosen = i;
    for (qsizetype i = at + 1; i < spans.size() && chosen < 0; ++i)
        if (holdsSql(i))
            chosen = i;
    if (chosen < 0)
        return {};
    return text.sliced(spans.at(chosen).Start, spans.at(chosen).Length);
}
