#pragma once

// Where a connection window sends the Edit commands of its splitter bar's
// menu: the main frame, which runs them on the editor of the connection
// selected in the connections list, as its own Edit menu does.

class CClipboardHandler
{
public:
    // command is an EEditCommand: copy, cut, paste or undo.
    virtual void RunClipboardCommand(int command) = 0;

protected:
    ~CClipboardHandler() = default;
};
