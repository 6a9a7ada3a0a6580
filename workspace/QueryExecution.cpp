#include "workspace/QueryExecution.h"

#include "database/SplitDelimited.h"

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

namespace {

// The statement without the white space and comments that lead it. A view:
// the test runs for every statement of a script, so it copies nothing.
QStringView SkipLeadingComments(QStringView statement)
{
    for (;;) {
        qsizetype i = 0;
        while (i < statement.size() && statement.at(i).isSpace())
            ++i;
        statement = statement.sliced(i);
        if (statement.startsWith(u"--")) {
            const qsizetype end = statement.indexOf(u'\n');
            statement = end < 0 ? QStringView() : statement.sliced(end + 1);
        } else if (statement.startsWith(u"/*")) {
            const qsizetype end = statement.indexOf(u"*/", 2);
            statement = end < 0 ? QStringView() : statement.sliced(end + 2);
        } else {
            return statement;
        }
    }
}

} // namespace

bool IsQueryStatement(const QString& statement)
{
    const QStringView text = SkipLeadingComments(statement).trimmed();
    // Lowering never shortens a text and works character by character, so the
    // lowered head is the head of the lowered text.
    const QString head = text.first(qMin(text.size(), qsizetype(6))).toString().toLower();
    if (head.startsWith(QLatin1String("select")))
        return true;
    if (!head.startsWith(QLatin1String("with")) || text.size() == 4)
        return false;
    const QChar after = head.at(4);
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

void RunScript(CAbstractDatabase& database, const QString& script, CScriptRun& run,
               CRunControl* control)
{
    run.Statements.clear();
    run.Outcomes.clear();
    run.Recordset.reset();
    run.Stopped = false;
    SplitDelimited(script, run.Statements, u';');
    run.SelectIndex = FindSelectIndex(run.Statements);
    if (control)
        control->StatementCount = int(run.Statements.size());

    QString error;
    for (int i = 0; i < run.Statements.size(); ++i) {
        if (control) {
            if (control->Stopping()) {
                run.Stopped = true;
                break;
            }
            control->Statement = i + 1;
        }
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
        // The statement that a stop interrupted is the last to run.
        if (control && control->Stopping() && i + 1 < run.Statements.size()) {
            run.Stopped = true;
            break;
        }
    }
    if (!run.Succeeded())
        run.Recordset.reset();
}
