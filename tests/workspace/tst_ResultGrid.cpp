// The result grid as the user meets it, offscreen, and what it hands out:
// widths that follow the content, NULL apart from empty text, the row limit
// told and raised, selection and copy, export to CSV and to the UTF-16 text
// format on SQLite, FireBird and PostgreSQL through ODBC.

#include "database/SQLiteDatabase.h"
#include "profiles/Connection.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/ExecuteQuery.h"
#include "workspace/GridText.h"
#include "workspace/MessageBox.h"
#include "workspace/QueryExecution.h"
#include "workspace/ResultExport.h"
#include "workspace/ResultGrid.h"
#include "workspace/ResultWriter.h"
#include "workspace/Substrate.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/TestDatabases.h"
#include "workspace/WaitForRun.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

// count rows of three columns: a number, a text that may hold anything, and
// NULL for every third row.
QString Rows(int count)
{
    return QStringLiteral(
               "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) "
               "SELECT x AS n, 'row ' || x AS label, CASE WHEN x % 3 = 0 THEN NULL ELSE x END "
               "AS maybe FROM c")
        .arg(count);
}

} // namespace

class CResultGridTests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void widthsFollowTheContent();
    void nullIsNotEmptyText();
    void theRowLimitIsToldAndRaised_data();
    void theRowLimitIsToldAndRaised();
    void selectionAndCopy();
    void exportRoundTrip_data();
    void exportRoundTrip();
    void textExportIsTheTextFormat();
    void failedExportsLeaveNoFile();
    void exportThroughTheWindow();

private:
    void Execute(const QString& script);

    QTemporaryDir Dir;
    std::unique_ptr<CSubstrate> Host;
    CConnection Profile;
    CConnectionWnd* Window = nullptr;
    QStringList Messages;
    CTestDatabases Databases;
};

void CResultGridTests::init()
{
    Host = std::make_unique<CSubstrate>();
    Host->resize(900, 700);
    Host->show();
    Profile.Database = std::make_unique<CSQLiteDatabase>();
    QString error;
    QVERIFY2(Profile.Database->Connect(Dir.filePath(QStringLiteral("g.db")), {}, {}, error),
             qPrintable(error));
    Window = new CConnectionWnd;
    Window->Database = Profile.Database.get();
    QVERIFY(Window->Create(Host.get(), Host->rect()));
    Profile.Window = Window;
    Messages.clear();
    SetMessageBoxAnswerer([this](const QString& text, QMessageBox::StandardButtons) {
        Messages.append(text);
        return QMessageBox::Ok;
    });
}

void CResultGridTests::cleanup()
{
    SetMessageBoxAnswerer({});
    Host.reset();
    Profile.Window = nullptr;
    Profile.CloseDatabase();
    QVERIFY(CDatabaseThread::WaitForEndedThreads(60000));
    QFile::remove(Dir.filePath(QStringLiteral("g.db")));
}

void CResultGridTests::Execute(const QString& script)
{
    Window->Editor->setPlainText(script);
    ExecuteQuery(Profile);
    QVERIFY(WaitForRun(Window));
}

// Columns are as wide as their widest cell, within the header's width and a
// third of the grid; a width the user dragged stays until the next result;
// a cut cell tells its whole text as its tooltip.
void CResultGridTests::widthsFollowTheContent()
{
    const QString longText = QString(300, u'w');
    Execute(
        QStringLiteral("SELECT 'Whole Lotta Love' AS name, '%1' AS long, 7 AS n").arg(longText));
    CResultGrid* grid = Window->ResultList;
    QHeaderView* header = grid->header();
    const int wholeLotta = grid->MeasureText(QStringLiteral("Whole Lotta Love")) + CellPadding;
    QCOMPARE(header->sectionSize(1), wholeLotta);
    QCOMPARE(header->sectionSize(2), grid->MaxColumnWidth());
    QCOMPARE(header->sectionSize(3), grid->MeasureText(QStringLiteral("n")) + HeaderPadding);

    // The long cell is cut: its tooltip is the whole text; the short one has none.
    const auto tooltip = [grid](int column) {
        QToolTip::hideText();
        const QRect cell = grid->visualRect(grid->model()->index(0, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tooltip(1), QString());
    QCOMPARE(tooltip(2), longText);

    // The user's drag stays while the result stands, a new result fits anew.
    header->resizeSection(1, 30);
    QCOMPARE(header->sectionSize(1), 30);
    Window->ResultList->Model().SetColumnWidth(1, 200);
    QCOMPARE(header->sectionSize(1), 30);
    Execute(QStringLiteral("SELECT 'Whole Lotta Love' AS name"));
    QCOMPARE(header->sectionSize(1), wholeLotta);
    // Double-clicking the edge fits the column to every row.
    header->resizeSection(1, 30);
    emit header->sectionHandleDoubleClicked(1);
    QCOMPARE(header->sectionSize(1), wholeLotta);

    // The number column grows with the numbers.
    Window->RowLimit = 0;
    Execute(Rows(200000));
    QCOMPARE(header->sectionSize(0),
             qMax(NumberColumnWidth, grid->MeasureText(QStringLiteral("200000")) + CellPadding));
}

void CResultGridTests::nullIsNotEmptyText()
{
    Execute(QStringLiteral("SELECT NULL AS a, '' AS b, 'NULL' AS c"));
    const CResultModel& model = Window->ResultList->Model();
    QVERIFY(model.IsNull(0, 1));
    QVERIFY(!model.IsNull(0, 2));
    QVERIFY(!model.IsNull(0, 3));
    const QAbstractItemModel* shown = Window->ResultList->model();
    QCOMPARE(shown->index(0, 1).data().toString(), QStringLiteral("NULL"));
    QCOMPARE(shown->index(0, 1).data(CResultModel::NullRole).toBool(), true);
    QCOMPARE(shown->index(0, 2).data().toString(), QString());
    QCOMPARE(shown->index(0, 3).data().toString(), QStringLiteral("NULL"));
    QCOMPARE(shown->index(0, 3).data(CResultModel::NullRole).toBool(), false);
    // Drawn apart: the NULL cell is not drawn as the text "NULL" is.
    const QImage picture = Window->ResultList->viewport()->grab().toImage();
    const QRect nullCell = Window->ResultList->visualRect(shown->index(0, 1));
    const QRect textCell = Window->ResultList->visualRect(shown->index(0, 3));
    QVERIFY(picture.copy(nullCell.adjusted(0, 0, textCell.width() - nullCell.width(), 0)) !=
            picture.copy(textCell));
    // Copied as an empty field.
    Window->ResultList->selectAll();
    QCOMPARE(Window->ResultList->SelectionText(false), QStringLiteral("\t\tNULL\n"));
}

void CResultGridTests::theRowLimitIsToldAndRaised_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("more");
    QTest::newRow("fewer than the limit") << 49 << false;
    QTest::newRow("as many as the limit") << 50 << false;
    QTest::newRow("one more than the limit") << 51 << true;
    QTest::newRow("far more") << 5000 << true;
}

// The bar under the grid and the outcome tell of rows past the limit exactly
// when there are any; Fetch All reads every one.
void CResultGridTests::theRowLimitIsToldAndRaised()
{
    QFETCH(int, rows);
    QFETCH(bool, more);
    Window->RowLimit = 50;
    QSignalSpy finished(Window, &CConnectionWnd::RunFinished);
    Execute(Rows(rows));
    const CResultModel& model = Window->ResultList->Model();
    QCOMPARE(model.RowCount(), qMin(rows, 50));
    QCOMPARE(Window->MoreRowsBar->isVisible(), more);
    QCOMPARE(Window->HasMoreRows(), more);
    const QString outcome = finished.last().first().toString();
    QVERIFY2(outcome.startsWith(more ? QStringLiteral("first 50 rows in ")
                                     : QStringLiteral("%1 rows in ").arg(rows)),
             qPrintable(outcome));
    if (!more)
        return;
    QVERIFY(Window->MoreRowsBar->text().startsWith(QStringLiteral("Showing the first 50 rows.")));
    QSignalSpy asked(Window, &CConnectionWnd::FetchAllRequested);
    emit Window->MoreRowsBar->linkActivated(QStringLiteral("fetch-all"));
    QCOMPARE(asked.size(), 1);
    FetchAllRows(Profile);
    QVERIFY(WaitForRun(Window));
    QCOMPARE(model.RowCount(), rows);
    QCOMPARE(model.Text(rows - 1, 0), QString::number(rows));
    QVERIFY(!Window->MoreRowsBar->isVisible());
    QVERIFY(!Window->HasMoreRows());
}

// Blocks, whole rows and whole columns copy as tab-separated lines; a value
// with a tab, a line break or a quote is quoted with its quotes doubled.
void CResultGridTests::selectionAndCopy()
{
    Execute(QStringLiteral(
        "SELECT 1 AS a, 'plain' AS b, 'tab\there' AS c UNION ALL "
        "SELECT 2, 'say \"hi\"', 'two' || char(10) || 'lines' UNION ALL SELECT 3, NULL, 'x'"));
    CResultGrid* grid = Window->ResultList;
    QItemSelectionModel* selection = grid->selectionModel();
    const QAbstractItemModel* model = grid->model();
    // A block: rows 1-2, columns b-c.
    selection->select(QItemSelection(model->index(0, 2), model->index(1, 3)),
                      QItemSelectionModel::ClearAndSelect);
    QCOMPARE(grid->SelectionText(false),
             QStringLiteral("plain\t\"tab\there\"\n\"say \"\"hi\"\"\"\t\"two\nlines\"\n"));
    QCOMPARE(grid->SelectionText(true).section(u'\n', 0, 0), QStringLiteral("b\tc"));
    // A row through its number; the number itself is not copied.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(model->index(2, 0)).center());
    QCOMPARE(grid->SelectionText(true), QStringLiteral("a\tb\tc\n3\t\tx\n"));
    // A column through its header; everything through the "#" header.
    QTest::mouseClick(grid->header()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->header()->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(grid->SelectionText(false), QStringLiteral("1\n2\n3\n"));
    QTest::mouseClick(grid->header()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(grid->SelectionText(false).count(u'\n'), 4); // three rows, one holds a line break
    // Ctrl+C puts it on the clipboard.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), grid->SelectionText(false));
    // The log copies its lines as they are.
    Execute(QStringLiteral("CREATE TABLE t (a)"));
    grid->selectAll();
    QCOMPARE(grid->SelectionText(true), QStringLiteral("CREATE TABLE t (a)\n- Success\n"));
}

void CResultGridTests::exportRoundTrip_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::newRow("SQLite") << ETestBackend::SQLite;
    QTest::newRow("FireBird") << ETestBackend::FireBird;
    QTest::newRow("ODBC PostgreSQL") << ETestBackend::OdbcPostgres;
}

// 100,000 rows with NULLs, quotes, commas, line breaks and text beyond ASCII
// go to CSV and come back whole through Python's csv module.
void CResultGridTests::exportRoundTrip()
{
    QFETCH(ETestBackend, backend);
    REQUIRE_TEST_BACKEND(Databases, backend);
    QString why;
    std::unique_ptr<CAbstractDatabase> database = Databases.Open(backend, why);
    QVERIFY2(database, qPrintable(why));
    QString error;
    QVERIFY2(
        database->ExecuteSQL(QStringLiteral("CREATE TABLE odd (n INTEGER, t VARCHAR(40))"), error),
        qPrintable(error));
    const QStringList values{QStringLiteral("plain"),      QStringLiteral("a, \"quoted\" one"),
                             QStringLiteral("two\nlines"), QStringLiteral("Größe ☃"),
                             QStringLiteral(" padded"),    QString()};
    for (int i = 0; i < values.size(); ++i)
        QVERIFY2(database->ExecuteSQL(QStringLiteral("INSERT INTO odd VALUES (%1, '%2')")
                                          .arg(i)
                                          .arg(QString(values.at(i)).replace(u'\'', "''")),
                                      error),
                 qPrintable(error));
    QVERIFY(database->ExecuteSQL(
        QStringLiteral("INSERT INTO odd VALUES (%1, NULL)").arg(values.size()), error));
    // Many rows: the first table crossed with itself, thrice.
    const QString query =
        QStringLiteral("SELECT a.n AS n, a.t AS t, b.n AS b, c.n AS c, d.n AS d, e.n AS e, "
                       "f.n AS f FROM odd a, odd b, odd c, odd d, odd e, odd f ORDER BY 3, 4, 5, "
                       "6, 7, 1");
    const QString file = Dir.filePath(QStringLiteral("odd.csv"));
    CRunControl control;
    QVERIFY2(ExportQuery(*database, query, file, CExportOptions(), &control, error),
             qPrintable(error));
    const int rows = 7 * 7 * 7 * 7 * 7 * 7; // 117,649
    QCOMPARE(int(control.RowsRead), rows);

    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import csv,sys,json\n"
                        "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8',newline='')))\n"
                        "print(json.dumps({'count':len(rows),'head':rows[0],"
                        "'texts':sorted(set(r[1] for r in rows[1:]))}))"),
         file});
    QVERIFY(python.waitForFinished(120000));
    QCOMPARE(python.exitCode(), 0);
    const QString seen = QString::fromUtf8(python.readAllStandardOutput());
    QVERIFY2(seen.contains(QStringLiteral("\"count\": %1").arg(rows + 1)),
             qPrintable(seen.left(300)));
    QVERIFY2(
        seen.contains(QStringLiteral("\"head\": [\"n\", \"t\", \"b\", \"c\", \"d\", \"e\", \"f\"]"),
                      Qt::CaseInsensitive),
        qPrintable(seen.left(300)));
    // NULL and empty text are both the empty field; every other value whole.
    QVERIFY2(seen.contains(QStringLiteral("\"texts\": [\"\", \" padded\", \"Gr\\u00f6\\u00dfe "
                                          "\\u2603\", \"a, \\\"quoted\\\" one\", \"plain\", "
                                          "\"two\\nlines\"]")),
             qPrintable(seen.right(300)));
}

// The text format is the one the interface's own export writes, byte for
// byte, but written in one go.
void CResultGridTests::textExportIsTheTextFormat()
{
    QString error;
    const QString query = QStringLiteral(
        "SELECT 12 AS n, 'O\"Brien' AS name, 'a' || char(10) || 'b' || char(13) AS two UNION ALL "
        "SELECT 13, '', NULL");
    const QString ours = Dir.filePath(QStringLiteral("ours.txt"));
    const QString theirs = Dir.filePath(QStringLiteral("theirs.txt"));
    CExportOptions options;
    options.Format = EExportFormat::Utf16Text;
    options.Delimiter = QStringLiteral("; ");
    QVERIFY2(ExportQuery(*Profile.Database, query, ours, options, nullptr, error),
             qPrintable(error));
    QVERIFY2(Profile.Database->ExportToTextFile(query, error, theirs, QStringLiteral("; ")),
             qPrintable(error));
    QFile a(ours);
    QFile b(theirs);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
}

// Stopped, cut short by a full disk, or aimed at a folder that cannot be
// written: no file, the old one whole, and a message.
void CResultGridTests::failedExportsLeaveNoFile()
{
    const QString file = Dir.filePath(QStringLiteral("kept.csv"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the old file\n");
    old.close();
    QString error;

    // Stopped.
    CRunControl control;
    control.StopRequested = true;
    QVERIFY(!ExportQuery(*Profile.Database, Rows(1000), file, CExportOptions(), &control, error));
    QCOMPARE(error, QStringLiteral("Stopped"));

    // A disk that fills: writes past 64 KiB fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written =
        ExportQuery(*Profile.Database, Rows(100000), file, CExportOptions(), nullptr, error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);
    QVERIFY(!written);
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write \"") + file), qPrintable(error));

    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the old file\n"));
    QCOMPARE(QDir(Dir.path()).entryList({QStringLiteral("kept*")}, QDir::Files),
             QStringList{"kept.csv"});

    // A folder that is not there.
    QVERIFY(!ExportQuery(*Profile.Database, Rows(10), Dir.filePath(QStringLiteral("no/such.csv")),
                         CExportOptions(), nullptr, error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write \"")), qPrintable(error));
}

// Export Result from the window: the whole result, not the rows shown.
void CResultGridTests::exportThroughTheWindow()
{
    Window->RowLimit = 10;
    Execute(Rows(2500));
    QVERIFY(Window->ShowsRows());
    const QString file = Dir.filePath(QStringLiteral("all.csv"));
    CExportOptions options;
    options.LineEnd = "\r\n";
    QSignalSpy finished(Window, &CConnectionWnd::RunFinished);
    QVERIFY(Window->ExportResult(*Profile.Thread, file, options));
    QVERIFY(Window->IsBusy());
    QVERIFY(WaitForRun(Window));
    QVERIFY2(finished.last().first().toString().startsWith(
                 QStringLiteral("2,500 rows exported to \"all.csv\" in ")),
             qPrintable(finished.last().first().toString()));
    QFile exported(file);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = exported.readAll().split('\n');
    QCOMPARE(lines.size(), 2502); // header, rows, and the empty tail after the last break
    QCOMPARE(lines.at(0), QByteArray("n,label,maybe\r"));
    QCOMPARE(lines.at(3), QByteArray("3,row 3,\r"));
    QCOMPARE(Window->ResultList->Model().RowCount(), 10); // the grid as it was
    // A folder that cannot be written: a message, no file.
    QVERIFY(
        Window->ExportResult(*Profile.Thread, Dir.filePath(QStringLiteral("none/x.csv")), options));
    QVERIFY(WaitForRun(Window));
    QCOMPARE(Messages.size(), 1);
    QVERIFY2(Messages.first().startsWith(QStringLiteral("Cannot export the result to \"")),
             qPrintable(Messages.first()));
}

QTEST_MAIN(CResultGridTests)
#include "tst_ResultGrid.moc"
