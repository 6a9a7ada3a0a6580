#pragma once

// The window of one open connection: the SQL editor above the result grid,
// split by a bar the user can drag. Every connection window lives in the
// workspace (CSubstrate), which finds them by their object name
// "connection-child"; only the selected connection's window is shown.
//
// The window refers to its connection's database but does not own it. While
// the grid fills with rows it is busy: it dispatches pending events between
// rows, and until the fill ends nothing may run another execution on it or
// destroy it, its database or the recordset being read. Callers ask IsBusy
// (and hear BusyChanged); a close request is refused while busy.

#include <QWidget>

class CAbstractDatabase;
class CClipboardHandler;
class CResultGrid;
class CSyntaxRichEditCtrl;
class QSplitter;
struct CScriptRun;

class CConnectionWnd : public QWidget
{
    Q_OBJECT

public:
    // The object name by which the workspace knows its connection windows.
    static const QString WindowName;
    // The editor's height in pixels; the grid takes the rest, but never less
    // than a third of the window.
    static constexpr int EditorIdealHeight = 600;

    explicit CConnectionWnd(QWidget* parent = nullptr);
    ~CConnectionWnd() override;

    // Builds the window as a visible child of host covering rect: the
    // splitter, the editor (coloured by the program's one SQL scanner) and the
    // result grid. False when a child could not be made; the window then
    // exists without it.
    bool Create(QWidget* host, const QRect& rect);

    // Shows the outcome of an execution in the grid: the query's rows, which
    // are read with events dispatched between them, or the log. The recordset
    // is closed before this returns. Returns false when the fill was stopped
    // early (RequestStop, or the window went away).
    bool ShowScriptRun(CScriptRun& run);

    bool IsBusy() const { return Busy_; }
    // Ends a fill in progress after its current row.
    void RequestStop() { StopRequested_ = true; }

    QSplitter* Splitter = nullptr;
    CSyntaxRichEditCtrl* Editor = nullptr;
    CResultGrid* ResultList = nullptr;
    CAbstractDatabase* Database = nullptr; // the connection's; not owned
    // Where the splitter bar's Edit menu sends its commands; null sends them
    // nowhere.
    CClipboardHandler* ClipboardHandler = nullptr;

signals:
    void BusyChanged(bool busy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowEditMenu(const QPoint& globalPosition);
    void SetBusy(bool busy);
    void LayOutSplitter();

    bool Busy_ = false;
    bool StopRequested_ = false;
    bool BarMoved_ = false; // the user has dragged the splitter bar
};
