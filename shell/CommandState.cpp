#include "shell/CommandState.h"

#include "resources/MainMenu.h"

bool IsCommandEnabled(int command, const CCommandState& state)
{
    switch (command) {
    case CommandDeleteConnection:
    case CommandConnectionProperties:
    case CommandConnect:
    case CommandDisconnect:
        return state.HasCurrentItem && !state.Busy;
    case CommandExecute:
        return state.HasWindow && !state.Busy;
    case CommandStop:
        return state.HasCurrentItem && state.Busy;
    case CommandFetchAll:
        return state.HasWindow && !state.Busy && state.HasMoreRows;
    case CommandExportResult:
        return state.HasWindow && !state.Busy && state.ShowsRows;
    case CommandRowLimit1000:
    case CommandRowLimit10000:
    case CommandRowLimit100000:
    case CommandRowLimitNone:
        return state.HasCurrentItem;
    case CommandCopy:
    case CommandCut:
        return state.HasWindow;
    case CommandPaste:
        return state.HasWindow && state.CanPaste;
    case CommandUndo:
        return state.HasWindow && state.CanUndo;
    default:
        return true;
    }
}
