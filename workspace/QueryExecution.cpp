#include "workspace/QueryExecution.h"

#include "database/SplitDelimited.h"

bool CScriptRun::Succeeded() const
{
    for (const QString& outcome : Outcomes)
        if (!outcome.isEmpty())
            return false;
    return true;
}

QString ToLogLine(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\t', u' ');
    return line.trimmed();
}

namespace {

// The statement without the white space and comments that lead it.
QString SkipLeadingComments(const QString& statement)
{
    qsizetype i = 0;
    const qsizetype length = statement.size();
    for (;;) {
        while (i < length && statement.at(i).isSpace())
            ++i;
        if (statement.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = statement.indexOf(u'\n', i);
            i = end < 0 ? length : end + 1;
        } else if (statement.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = statement.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? length : end + 2;
        } else {
            return statement.sliced(i);
        }
    }
}

} // namespace

bool IsQueryStatement(const QString& statement)
{
    const QString text = SkipLeadingComments(statement).toLower().trimmed();
    if (text.startsWith(QStringLiteral("select")))
        return true;
    if (!text.startsWith(QStringLiteral("with")) || text.size() == 4)
        return false;
    const QChar after = text.at(4);
    return after.isSpace() || after == u'(';
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

void RunScript(CAbstractDatabase& database, const QString& script, CScriptRun& run)
{
    run.Statements.clear();
    run.Outcomes.clear();
    run.Recordset.reset();
    SplitDelimited(script, run.Statements, u';');
    run.SelectIndex = FindSelectIndex(run.Statements);

    QString error;
    for (int i = 0; i < run.Statements.size(); ++i) {
        bool ok;
        if (i == run.SelectIndex) {
            CAbstractRecordset* recordset = nullptr;
            ok = database.OpenRecordset(run.Statements.at(i), error, recordset);
            // A recordset that was prepared but failed to execute is ours too.
            run.Recordset.reset(recordset);
        } else {
            ok = database.ExecuteSQL(run.Statements.at(i), error);
        }
        run.Outcomes.append(ok ? QString() : error);
    }
    if (!run.Succeeded())
        run.Recordset.reset();
}
