#pragma once

// The window of one open connection: the SQL editor above the result grid,
// split by a bar the user can drag. Every connection window lives in the
// workspace (CSubstrate), which finds them by their object name
// "connection-child"; only the selected connection's window is shown.
//
// The window refers to its connection's database but does not own it. A run
// of the editor's script goes to the connection's thread; the window stays
// alive meanwhile and shows what comes back: the query's rows in batches, or
// the log. While a run is on the window is busy: nothing may run another
// execution on it or close its database, and a close request is refused.
// Callers ask IsBusy (and hear BusyChanged); Stop asks the run to end.

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

class CAbstractDatabase;
class CDatabaseThread;
struct CExportOptions;
struct CResultPiece;
struct CRunControl;
class CClipboardHandler;
class CResultGrid;
class CSyntaxRichEditCtrl;
class QLabel;
class QSplitter;
class QTimer;
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

    // Runs script on thread against Database and shows its outcome as it
    // comes, the query's rows up to RowLimit. False, and nothing done, while
    // busy or without a database.
    bool RunScript(const QString& script, CDatabaseThread& thread);
    // Whether the last run's query had rows past the limit.
    bool HasMoreRows() const { return !Busy_ && MoreRows_ && !LastQuery_.isEmpty(); }
    // Runs the last run's query again, alone, and reads every row.
    bool FetchAllRows(CDatabaseThread& thread);
    // Whether the grid shows a query's rows (not the log).
    bool ShowsRows() const;
    // Runs the shown query again on thread and writes all its rows to file;
    // busy meanwhile, and Stop ends it. A failure is shown in a message box.
    bool ExportResult(CDatabaseThread& thread, const QString& file, const CExportOptions& options);
    // The statement whose rows the grid shows, as it ran.
    QString ShownQuery() const { return LastQuery_; }
    // Asks the run in progress to end: the running statement is interrupted
    // (again every little while, until the run has ended) and no other starts.
    void Stop();

    bool IsBusy() const { return Busy_; }
    // What the run in progress is doing and for how long, for the status bar.
    QString ProgressText() const;

    QString ConnectionName; // the profile's name, for the progress text
    int RowLimit = 1000;    // rows of a query to read at most; 0 for all
    QSplitter* Splitter = nullptr;
    CSyntaxRichEditCtrl* Editor = nullptr;
    CResultGrid* ResultList = nullptr;
    // Under the grid while the last query had more rows than the limit.
    QLabel* MoreRowsBar = nullptr;
    CAbstractDatabase* Database = nullptr; // the connection's; not owned
    // Where the splitter bar's Edit menu sends its commands; null sends them
    // nowhere.
    CClipboardHandler* ClipboardHandler = nullptr;

signals:
    void BusyChanged(bool busy);
    // A run has ended; outcome says what came out and how long it took.
    void RunFinished(const QString& outcome);
    // The user asked for every row through the bar under the grid.
    void FetchAllRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowEditMenu(const QPoint& globalPosition);
    void SetBusy(bool busy);
    void LayOutSplitter();
    void AddPiece(CResultPiece& piece);
    bool StartRun(const QString& script, CDatabaseThread& thread, int rowLimit);
    void FinishRun(CScriptRun& run, bool showsRows);
    QString OutcomeText(const CScriptRun& run, bool showsRows) const;
    void FinishExport(bool exported, const QString& error);

    bool Busy_ = false;
    std::shared_ptr<CRunControl> Control_; // of the run in progress, or the last one
    QElapsedTimer RunTime_;
    QString LastQuery_;     // the query of the last run whose rows were shown
    bool MoreRows_ = false; // ... and it had more than were read
    QString ExportFile_;    // the file of the export in progress
    QTimer* InterruptTimer_ = nullptr;
    bool BarMoved_ = false; // the user has dragged the splitter bar
};
