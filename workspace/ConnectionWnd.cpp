#include "workspace/ConnectionWnd.h"

#include "common/PumpMessages.h"
#include "resources/EditMenu.h"
#include "workspace/ClipboardHandler.h"
#include "workspace/ResultGrid.h"
#include "workspace/ResultWriter.h"
#include "workspace/SQLSyntaxParser.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QSplitter>

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
    ResultList = new CResultGrid(Splitter);
    Splitter->addWidget(Editor);
    Splitter->addWidget(ResultList);
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

bool CConnectionWnd::ShowScriptRun(CScriptRun& run)
{
    QPointer<CConnectionWnd> self(this);
    StopRequested_ = false;
    SetBusy(true);
    CResultGrid* grid = ResultList;
    const bool finished = ::ShowScriptRun(
        run, grid->Model(), [grid](const QString& text) { return grid->MeasureText(text); },
        grid->ClientWidth(),
        [self] {
            PumpMessages();
            return self && !self->StopRequested_;
        });
    run.Recordset.reset(); // a stopped fill leaves it open
    if (self) {
        grid->Model().FlushRows();
        SetBusy(false);
    }
    return finished;
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
    emit BusyChanged(busy);
}
