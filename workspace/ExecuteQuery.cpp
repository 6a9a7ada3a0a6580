#include "workspace/ExecuteQuery.h"

#include "database/DatabaseThread.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/MessageBox.h"
#include "workspace/QueryExecution.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QTextCursor>

namespace {

// The window of a profile that can run a script now, or null (with the
// message when there is no database).
CConnectionWnd* ReadyWindow(const CConnection& profile)
{
    CConnectionWnd* window = profile.Window;
    if (!profile.Database) {
        ShowMessageBox(window, QStringLiteral("Please connect to the database first"));
        return nullptr;
    }
    if (!window || !window->Editor || !window->ResultList || window->IsBusy())
        return nullptr;
    return window;
}

void Run(CConnection& profile, CConnectionWnd& window, const QString& script)
{
    if (!profile.Thread)
        profile.Thread = CDatabaseThread::Start();
    window.RunScript(script, *profile.Thread);
}

} // namespace

void ExecuteQuery(CConnection& profile)
{
    CConnectionWnd* window = ReadyWindow(profile);
    if (!window)
        return;
    const QTextCursor selection = window->Editor->textCursor();
    Run(profile, *window,
        ScriptToRun(window->Editor->toPlainText(), selection.selectionStart(),
                    selection.selectionEnd()));
}

void ExecuteCurrentStatement(CConnection& profile)
{
    CConnectionWnd* window = ReadyWindow(profile);
    if (!window)
        return;
    // The dialect is fixed for the life of the database and safe to read here.
    const QString statement =
        StatementAt(window->Editor->toPlainText(), window->Editor->textCursor().position(),
                    profile.Database->GetScriptDialect());
    if (!statement.isEmpty())
        Run(profile, *window, statement);
}

void FetchAllRows(CConnection& profile)
{
    CConnectionWnd* window = profile.Window;
    if (!profile.Database || !profile.Thread || !window || !window->HasMoreRows())
        return;
    window->FetchAllRows(*profile.Thread);
}
