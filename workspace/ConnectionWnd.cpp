#include "workspace/ConnectionWnd.h"

#include "database/DatabaseThread.h"
#include "resources/EditMenu.h"
#include "workspace/ClipboardHandler.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultExport.h"
#include "workspace/ResultGrid.h"
#include "workspace/ResultWriter.h"
#include "workspace/SQLSyntaxParser.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// One scanner serves every editor for the life of the process.
const CSQLSyntaxParser& SharedSQLSyntaxParser()
{
    static const CSQLSyntaxParser parser;
    return parser;
}

} // namespace

const QString CConnectionWnd::WindowName = QStringLiteral("connection-child");

CConnectionWnd::CConnectionWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(WindowName);
}

CConnectionWnd::~CConnectionWnd() = default;

bool CConnectionWnd::Create(QWidget* host, const QRect& rect)
{
    setParent(host);
    setGeometry(rect);

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setChildrenCollapsible(true);
    Editor = new CSyntaxRichEditCtrl(Splitter);
    // The grid with the bar that tells of rows left unread below it.
    auto* results = new QWidget(Splitter);
    auto* layout = new QVBoxLayout(results);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ResultList = new CResultGrid(results);
    MoreRowsBar = new QLabel(results);
    MoreRowsBar->setObjectName(QStringLiteral("more-rows"));
    MoreRowsBar->setContentsMargins(6, 3, 6, 3);
    MoreRowsBar->setTextFormat(Qt::RichText);
    MoreRowsBar->setAutoFillBackground(true);
    MoreRowsBar->setBackgroundRole(QPalette::ToolTipBase);
    MoreRowsBar->setForegroundRole(QPalette::ToolTipText);
    MoreRowsBar->hide();
    connect(MoreRowsBar, &QLabel::linkActivated, this, &CConnectionWnd::FetchAllRequested);
    layout->addWidget(ResultList, 1);
    layout->addWidget(MoreRowsBar);
    Splitter->addWidget(Editor);
    Splitter->addWidget(results);
    // The editor keeps its height when the window grows; the grid takes the
    // rest.
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setGeometry(QRect(QPoint(0, 0), rect.size()));
    LayOutSplitter();
    Splitter->handle(1)->installEventFilter(this);
    connect(Splitter, &QSplitter::splitterMoved, this, [this] { BarMoved_ = true; });

    Editor->Parser = &SharedSQLSyntaxParser();
    Editor->RecolourAll();

    show();
    return Splitter && Editor && ResultList;
}

bool CConnectionWnd::RunScript(const QString& script, CDatabaseThread& thread)
{
    return StartRun(script, thread, RowLimit);
}

bool CConnectionWnd::FetchAllRows(CDatabaseThread& thread)
{
    return HasMoreRows() && StartRun(LastQuery_, thread, 0);
}

bool CConnectionWnd::ExportResult(CDatabaseThread& thread, const QString& file,
                                  const CExportOptions& options)
{
    if (Busy_ || !Database || !ShowsRows() || LastQuery_.isEmpty())
        return false;
    Control_ = std::make_shared<CRunControl>();
    Control_->ReadingRows = true;
    ExportFile_ = file;
    RunTime_.start();
    SetBusy(true);
    const std::shared_ptr<CRunControl> control = Control_;
    CAbstractDatabase* database = Database;
    const QPointer<QObject> self(this);
    thread.Post([database, control, self, query = LastQuery_, file, options] {
        QString error;
        const bool exported = ExportQuery(*database, query, file, options, control.get(), error);
        CDatabaseThread::Deliver(self, [self, exported, error] {
            static_cast<CConnectionWnd*>(self.data())->FinishExport(exported, error);
        });
    });
    return true;
}

void CConnectionWnd::FinishExport(bool exported, const QString& error)
{
    if (InterruptTimer_)
        InterruptTimer_->stop();
    const QString file = std::exchange(ExportFile_, QString());
    const double seconds = double(RunTime_.elapsed()) / 1000;
    QString outcome;
    if (exported)
        outcome = QStringLiteral("%1 rows exported to \"%2\" in %3 s")
                      .arg(CountText(Control_->RowsRead), QFileInfo(file).fileName(),
                           QString::number(seconds, 'f', 2));
    else if (Control_->Stopping())
        outcome = QStringLiteral("Stopped after %1 s; no file was written")
                      .arg(QString::number(seconds, 'f', 1));
    SetBusy(false);
    if (!exported && !Control_->Stopping())
        ShowMessageBox(this,
                       QStringLiteral("Cannot export the result to \"%1\": %2").arg(file, error),
                       QMessageBox::Ok, QMessageBox::Warning);
    emit RunFinished(outcome);
}

bool CConnectionWnd::ShowsRows() const
{
    return ResultList && ResultList->Model().IsNumbered();
}

bool CConnectionWnd::StartRun(const QString& script, CDatabaseThread& thread, int rowLimit)
{
    if (Busy_ || !Database || !ResultList)
        return false;
    Control_ = std::make_shared<CRunControl>();
    Control_->RowLimit = rowLimit;
    MoreRows_ = false;
    MoreRowsBar->hide();
    RunTime_.start();
    SetBusy(true);

    // Everything the job needs it holds itself: the window may go while it runs.
    const std::shared_ptr<CRunControl> control = Control_;
    CAbstractDatabase* database = Database;
    const QPointer<QObject> self(this);
    thread.Post([script, control, database, self] {
        auto run = std::make_shared<CScriptRun>();
        ::RunScript(*database, script, *run, control.get());
        const bool showsRows = run->Recordset != nullptr;
        if (showsRows) {
            control->ReadingRows = true;
            ReadResultRows(
                *run->Recordset,
                [self](CResultPiece&& read) {
                    auto piece = std::make_shared<CResultPiece>(std::move(read));
                    CDatabaseThread::Deliver(self, [self, piece] {
                        static_cast<CConnectionWnd*>(self.data())->AddPiece(*piece);
                    });
                },
                control.get());
            run->Recordset.reset(); // closed here, on the connection's thread
        }
        CDatabaseThread::Deliver(self, [self, run, showsRows] {
            static_cast<CConnectionWnd*>(self.data())->FinishRun(*run, showsRows);
        });
    });
    return true;
}

void CConnectionWnd::AddPiece(CResultPiece& piece)
{
    CResultGrid* grid = ResultList;
    if (piece.Last)
        MoreRows_ = piece.MoreRows;
    AddResultPiece(grid->Model(), std::move(piece),
                   [grid](const QString& text) { return grid->MeasureText(text); });
}

void CConnectionWnd::FinishRun(CScriptRun& run, bool showsRows)
{
    if (!showsRows)
        WriteLog(run, ResultList->Model(), ResultList->ClientWidth());
    LastQuery_ = showsRows ? run.Statements.value(run.SelectIndex) : QString();
    MoreRows_ = MoreRows_ && showsRows;
    if (MoreRows_) {
        MoreRowsBar->setText(
            QStringLiteral("Showing the first %1 rows. <a href=\"fetch-all\">Fetch all</a>")
                .arg(CountText(Control_->RowsRead)));
        MoreRowsBar->show();
    }
    if (InterruptTimer_)
        InterruptTimer_->stop();
    const QString outcome = OutcomeText(run, showsRows);
    SetBusy(false);
    emit RunFinished(outcome);
}

QString CConnectionWnd::OutcomeText(const CScriptRun& run, bool showsRows) const
{
    const double seconds = double(RunTime_.elapsed()) / 1000;
    if (Control_->Stopping())
        return QStringLiteral("Stopped after %1 s").arg(QString::number(seconds, 'f', 1));
    const QString time = QString::number(seconds, 'f', 2);
    if (showsRows) {
        const int rows = Control_->RowsRead;
        const QString first = MoreRows_ ? QStringLiteral("first ") : QString();
        return QStringLiteral("%1%2 %3 in %4 s")
            .arg(first, CountText(rows), rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
                 time);
    }
    const int count = int(run.Statements.size());
    int failed = 0;
    for (const QString& message : run.Outcomes)
        failed += message.isEmpty() ? 0 : 1;
    QString outcome = QStringLiteral("%1 %2").arg(
        CountText(count), count == 1 ? QStringLiteral("statement") : QStringLiteral("statements"));
    if (failed > 0)
        outcome += QStringLiteral(", %1 failed,").arg(CountText(failed));
    return outcome + QStringLiteral(" in %1 s").arg(time);
}

void CConnectionWnd::Stop()
{
    if (!Busy_ || !Control_ || !Database)
        return;
    Control_->StopRequested = true;
    Database->Interrupt();
    // An interrupt that came between two calls found nothing to end; the
    // next call must not run to its end either.
    if (!InterruptTimer_) {
        InterruptTimer_ = new QTimer(this);
        InterruptTimer_->setInterval(100);
        connect(InterruptTimer_, &QTimer::timeout, this, [this] {
            if (Busy_ && Database)
                Database->Interrupt();
        });
    }
    InterruptTimer_->start();
}

QString CConnectionWnd::ProgressText() const
{
    if (!Busy_ || !Control_)
        return {};
    const QString time = QString::number(double(RunTime_.elapsed()) / 1000, 'f', 1);
    if (Control_->Stopping())
        return QStringLiteral("Stopping... %1 s").arg(time);
    if (!ExportFile_.isEmpty())
        return QStringLiteral("Exporting rows: %1... %2 s")
            .arg(CountText(Control_->RowsRead), time);
    if (Control_->ReadingRows)
        return QStringLiteral("Reading rows: %1... %2 s").arg(CountText(Control_->RowsRead), time);
    return QStringLiteral("Executing statement %1 of %2 on \"%3\"... %4 s")
        .arg(CountText(qMax(1, int(Control_->Statement))), CountText(Control_->StatementCount),
             ConnectionName, time);
}

bool CConnectionWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu && Splitter && watched == Splitter->handle(1)) {
        ShowEditMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CConnectionWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!Splitter)
        return;
    Splitter->setGeometry(rect());
    LayOutSplitter();
}

void CConnectionWnd::LayOutSplitter()
{
    // In a window too low for the editor's ideal height, the grid keeps a
    // third of it: results that cannot be seen are no results. Once the user
    // has moved the bar, the editor keeps the height given to it.
    const int limit = height() * 2 / 3;
    const int editor = Splitter->sizes().value(0);
    const int wanted = BarMoved_ ? qMin(editor, limit) : qMin(int(EditorIdealHeight), limit);
    if (wanted != editor)
        Splitter->setSizes({wanted, height() - wanted});
}

void CConnectionWnd::closeEvent(QCloseEvent* event)
{
    if (Busy_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void CConnectionWnd::ShowEditMenu(const QPoint& globalPosition)
{
    QMenu menu(this);
    for (const CMenuEntry& entry : EditMenu) {
        if (entry.Command == 0) {
            menu.addSeparator();
            continue;
        }
        const int command = entry.Command;
        connect(menu.addAction(QString::fromUtf8(entry.Text)), &QAction::triggered, this,
                [this, command] {
                    if (ClipboardHandler)
                        ClipboardHandler->RunClipboardCommand(command);
                });
    }
    menu.exec(globalPosition);
}

void CConnectionWnd::SetBusy(bool busy)
{
    if (Busy_ == busy)
        return;
    Busy_ = busy;
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    emit BusyChanged(busy);
}
