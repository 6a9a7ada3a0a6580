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
    case CommandExecuteCurrent:
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
    case CommandOpenFile:
    case CommandSaveFile:
    case CommandSaveFileAs:
    case CommandRecentFile1:
    case CommandRecentFile1 + 1:
    case CommandRecentFile1 + 2:
    case CommandRecentFile1 + 3:
    case CommandFind:
    case CommandFindNext:
    case CommandFindPrevious:
    case CommandReplace:
    case CommandGoToLine:
    case CommandToggleComment:
        return state.HasWindow;
    case CommandRedo:
        return state.HasWindow && state.CanRedo;
    case CommandPaste:
        return state.HasWindow && state.CanPaste;
    case CommandUndo:
        return state.HasWindow && state.CanUndo;
    default:
        return true;
    }
}
