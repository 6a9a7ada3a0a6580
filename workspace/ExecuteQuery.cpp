#include "workspace/ExecuteQuery.h"

#include "database/DatabaseThread.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/MessageBox.h"
#include "workspace/QueryExecution.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QTextCursor>

void ExecuteQuery(CConnection& profile)
{
    CConnectionWnd* window = profile.Window;
    if (!profile.Database) {
        ShowMessageBox(window, QStringLiteral("Please connect to the database first"));
        return;
    }
    if (!window || !window->Editor || !window->ResultList || window->IsBusy())
        return;

    const QTextCursor selection = window->Editor->textCursor();
    const QString script = ScriptToRun(window->Editor->toPlainText(), selection.selectionStart(),
                                       selection.selectionEnd());
    if (!profile.Thread)
        profile.Thread = CDatabaseThread::Start();
    window->RunScript(script, *profile.Thread);
}

void FetchAllRows(CConnection& profile)
{
    CConnectionWnd* window = profile.Window;
    if (!profile.Database || !profile.Thread || !window || !window->HasMoreRows())
        return;
    window->FetchAllRows(*profile.Thread);
}
