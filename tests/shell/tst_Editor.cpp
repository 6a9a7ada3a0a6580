// The editor's commands through the real main window and its keys: SQL files
// opened, edited and saved; drafts that outlive a closed window, a restart
// and a killed process; find and replace with undo and redo; the statement
// under the caret run on SQLite and a server; and the small editing comforts.

#include "profiles/ConnectionsWnd.h"
#include "resources/MainMenu.h"
#include "shell/CommandLine.h"
#include "shell/EditorCommands.h"
#include "shell/MainFrame.h"
#include "shell/TablescopeApp.h"
#include "workspace/ConnectionWnd.h"
#include "workspace/DraftStore.h"
#include "workspace/EditorDocument.h"
#include "workspace/FileDialog.h"
#include "workspace/FindBar.h"
#include "workspace/GridText.h"
#include "workspace/MessageBox.h"
#include "workspace/ResultGrid.h"
#include "workspace/SyntaxRichEditCtrl.h"
#include "workspace/TestDatabases.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QUrl>
#include <csignal>

Q_DECLARE_METATYPE(ETestBackend)

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const char* ChildVariable = "TST_EDITOR_CHILD";
const QString ChildText = QStringLiteral("select 'typed before the kill';");

} // namespace

class CEditorTests : public QObject
{
    Q_OBJECT

public:
    // The process the kill test starts: a main window with the profile
    // connected, into whose editor ChildText is typed.
    static int RunChild(int argc, char** argv);

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filesThroughTheWindow();
    void draftAndFileKeepApart();
    void twoProfilesKeepTwoDrafts();
    void draftSurvivesAKilledProcess();
    void findReplaceUndoRedo_data();
    void findReplaceUndoRedo();
    void executeCurrentStatement_data();
    void executeCurrentStatement();
    void editingComforts();
    void scriptsOnTheCommandLine_data();
    void scriptsOnTheCommandLine();

private:
    std::unique_ptr<CMainFrame> NewFrame();
    int AddSQLiteProfile(const QString& name);
    bool Connect(int index);
    bool Idle() const;
    CConnectionWnd* Shown() const;
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void SetText(const QString& text);

    QTemporaryDir Config;
    QTemporaryDir Files;
    std::unique_ptr<CMainFrame> Frame;
    QStringList Messages;
    QMessageBox::StandardButton Answer = QMessageBox::Yes;
    QString FileAnswer;
    CTestDatabases Databases;
};

void CEditorTests::initTestCase()
{
    CTablescopeApp::SetUp();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config.path()));
}

void CEditorTests::init()
{
    QDir(Config.path()).removeRecursively();
    QDir().mkpath(Config.path());
    Messages.clear();
    Answer = QMessageBox::Yes;
    SetMessageBoxAnswerer([this](const QString& text, QMessageBox::StandardButtons) {
        Messages.append(text);
        return Answer;
    });
    SetDialogAnswerer({[this](bool, const QString&) { return FileAnswer; },
                       [](int, int last) { return last - 1; }});
    Frame = NewFrame();
}

void CEditorTests::cleanup()
{
    Frame.reset();
    SetMessageBoxAnswerer({});
    SetDialogAnswerer({});
}

std::unique_ptr<CMainFrame> CEditorTests::NewFrame()
{
    auto frame = std::make_unique<CMainFrame>();
    frame->resize(1200, 900);
    frame->show();
    QApplication::setActiveWindow(frame.get());
    if (!QTest::qWaitForWindowActive(frame.get()))
        qWarning("The main window did not become active");
    return frame;
}

int CEditorTests::AddSQLiteProfile(const QString& name)
{
    CConnection profile;
    profile.Name = name;
    profile.Type = DatabaseTypeSQLite;
    profile.Path = Files.filePath(name + QStringLiteral(".db"));
    const int index = Frame->Connections->AddConnection(profile);
    Frame->Connections->SelectConnection(index);
    return index;
}

bool CEditorTests::Idle() const
{
    return QTest::qWaitFor([this] { return !Frame->IsAnyBusy(); }, 60000);
}

bool CEditorTests::Connect(int index)
{
    Frame->Connections->SelectConnection(index);
    Frame->Action(CommandConnect)->trigger();
    return Idle() && Shown() != nullptr;
}

CConnectionWnd* CEditorTests::Shown() const
{
    const CConnection* profile =
        Frame->Connections->GetConnection(Frame->Connections->GetCurrentConnection());
    return profile ? profile->Window : nullptr;
}

// A key as the user presses it, to whatever has the focus in the window.
void CEditorTests::Key(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : Frame.get(), Qt::Key(key), modifiers);
}

void CEditorTests::SetText(const QString& text)
{
    Shown()->Editor->setFocus();
    Shown()->Editor->selectAll();
    Shown()->Editor->insertPlainText(text);
}

void CEditorTests::filesThroughTheWindow()
{
    QVERIFY(Connect(AddSQLiteProfile(QStringLiteral("files"))));
    CSyntaxRichEditCtrl* editor = Shown()->Editor;
    const QString path = Files.filePath(QStringLiteral("crlf.sql"));
    QVERIFY(Put(path, "\xEF\xBB\xBFselect 1;\r\nselect 'Ж';\r\n"));

    // Ctrl+O: the file opens, its name in the caption.
    FileAnswer = path;
    editor->setFocus();
    Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(editor->toPlainText(), QStringLiteral("select 1;\nselect 'Ж';\n"));
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - crlf.sql"));
    QTest::keyClicks(editor, QStringLiteral("--"));
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - crlf.sql*"));

    // Ctrl+S: saved in the file's own form, the mark and CRLF kept.
    Key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Contents(path), QByteArray("\xEF\xBB\xBF--select 1;\r\nselect 'Ж';\r\n"));
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - crlf.sql"));

    // Text that is not UTF-8 is refused; the editor keeps what it had.
    const QString latin1 = Files.filePath(QStringLiteral("latin1.sql"));
    QVERIFY(Put(latin1, "select 'caf\xE9';"));
    FileAnswer = latin1;
    Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Messages.size(), 1);
    QVERIFY(Messages.constLast().contains(QStringLiteral("is not UTF-8 text")));
    QCOMPARE(editor->toPlainText(), QStringLiteral("--select 1;\nselect 'Ж';\n"));
    QCOMPARE(Contents(latin1), QByteArray("select 'caf\xE9';"));

    // Ctrl+Shift+S: a new file, which heads the recent files.
    const QString copy = Files.filePath(QStringLiteral("copy.sql"));
    FileAnswer = copy;
    QTest::keyClicks(editor, QStringLiteral("x"));
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Contents(copy), QByteArray("\xEF\xBB\xBF--xselect 1;\r\nselect 'Ж';\r\n"));
    QCOMPARE(Contents(path), QByteArray("\xEF\xBB\xBF--select 1;\r\nselect 'Ж';\r\n"));
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - copy.sql"));
    QVERIFY(Frame->Action(CommandRecentFile1)->isVisible());
    QCOMPARE(Frame->Action(CommandRecentFile1)->text(), QStringLiteral("&1 copy.sql"));
    QCOMPARE(Frame->Action(CommandRecentFile1 + 1)->text(), QStringLiteral("&2 crlf.sql"));
    QVERIFY(!Frame->Action(CommandRecentFile1 + 2)->isVisible());
    Frame->Action(CommandRecentFile1 + 1)->trigger();
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - crlf.sql"));

    // Closing with unsaved changes asks; Cancel keeps the window, Discard
    // closes it without touching the file.
    QTest::keyClicks(editor, QStringLiteral("y"));
    Messages.clear();
    Answer = QMessageBox::Cancel;
    Frame->Action(CommandDisconnect)->trigger();
    QCOMPARE(Messages.size(), 1);
    QVERIFY(Messages.constFirst().contains(QStringLiteral("\"crlf.sql\" has changes")));
    QVERIFY(Shown());
    Answer = QMessageBox::Discard;
    Frame->Action(CommandDisconnect)->trigger();
    QVERIFY(!Shown());
    QCOMPARE(Contents(path), QByteArray("\xEF\xBB\xBF--select 1;\r\nselect 'Ж';\r\n"));
    // Reconnected, the file as it is on disk comes back.
    QVERIFY(Connect(Frame->Connections->GetCurrentConnection()));
    QCOMPARE(Shown()->Editor->toPlainText(), QStringLiteral("--select 1;\nselect 'Ж';\n"));
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - crlf.sql"));

    // A file dropped on the editor opens in it: the drag enters, then drops,
    // as the desktop delivers them to the widget under the mouse.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(copy)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Shown()->Editor->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Shown()->Editor->viewport(), &drop);
    QCOMPARE(Shown()->Editor->toPlainText(), QStringLiteral("--xselect 1;\nselect 'Ж';\n"));
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - copy.sql"));
}

// The file changed on disk after it was opened here: saving asks, and the
// draft, not the file, brings back the user's own text after a restart.
void CEditorTests::draftAndFileKeepApart()
{
    QVERIFY(Connect(AddSQLiteProfile(QStringLiteral("apart"))));
    const QString path = Files.filePath(QStringLiteral("shared.sql"));
    QVERIFY(Put(path, "select 1;"));
    QVERIFY(Shown()->Document->Open(path));
    QTest::keyClicks(Shown()->Editor, QStringLiteral("-- mine "));
    QVERIFY(Put(path, "select 'saved elsewhere';"));

    Answer = QMessageBox::No;
    Frame->Action(CommandSaveFile)->trigger();
    QCOMPARE(Messages.size(), 1);
    QVERIFY(Messages.constFirst().contains(QStringLiteral("was changed on disk")));
    QCOMPARE(Contents(path), QByteArray("select 'saved elsewhere';"));

    // Quitting: the window asks about the file; Cancel stops the quit.
    Answer = QMessageBox::Cancel;
    QVERIFY(!Frame->close());
    Answer = QMessageBox::Discard;
    Shown()->Document->WriteDraft(); // as the timer would
    Frame.reset();                   // a quit without the question: the draft is what is left
    QCOMPARE(Contents(path), QByteArray("select 'saved elsewhere';"));

    Frame = NewFrame();
    QVERIFY(Connect(0));
    QCOMPARE(Shown()->Editor->toPlainText(), QStringLiteral("-- mine select 1;"));
    QVERIFY(Shown()->Document->IsModified());
    QCOMPARE(Frame->windowTitle(), QStringLiteral("Brevan Tablescope - shared.sql*"));
    // Yes replaces the file with the editor's text.
    Answer = QMessageBox::Yes;
    Frame->Action(CommandSaveFile)->trigger();
    QCOMPARE(Contents(path), QByteArray("-- mine select 1;"));
}

void CEditorTests::twoProfilesKeepTwoDrafts()
{
    const int first = AddSQLiteProfile(QStringLiteral("first"));
    const int second = AddSQLiteProfile(QStringLiteral("second"));
    QVERIFY(Connect(first));
    QTest::keyClicks(Shown()->Editor, QStringLiteral("select 'first';"));
    QVERIFY(Connect(second));
    QTest::keyClicks(Shown()->Editor, QStringLiteral("select 'second';"));
    // Disconnecting keeps the text; no file, so nothing is asked.
    Frame->Action(CommandDisconnect)->trigger();
    QVERIFY(Messages.isEmpty());
    Frame.reset();

    Frame = NewFrame();
    QVERIFY(Connect(1));
    QCOMPARE(Shown()->Editor->toPlainText(), QStringLiteral("select 'second';"));
    QVERIFY(Connect(0));
    QCOMPARE(Shown()->Editor->toPlainText(), QStringLiteral("select 'first';"));
    // Undo does not reach back past the restored text.
    QVERIFY(!Shown()->Editor->document()->isUndoAvailable());

    // A deleted profile's draft goes with it: a new profile of that name
    // starts empty.
    QVERIFY(CDraftStore::Read(QStringLiteral("second"), *std::make_unique<CDraft>()));
    Frame->Connections->SelectConnection(1);
    Frame->Action(CommandDeleteConnection)->trigger();
    QVERIFY(!CDraftStore::Read(QStringLiteral("second"), *std::make_unique<CDraft>()));
    QVERIFY(Connect(AddSQLiteProfile(QStringLiteral("second"))));
    QCOMPARE(Shown()->Editor->toPlainText(), QString());
}

int CEditorTests::RunChild(int argc, char** argv)
{
    QApplication application(argc, argv);
    CTablescopeApp::SetUp();
    CMainFrame frame;
    frame.show();
    frame.Connections->SelectConnection(0);
    frame.Action(CommandConnect)->trigger();
    if (!QTest::qWaitFor([&frame] { return frame.Connections->GetConnection(0)->Window; }, 30000))
        return 1;
    CSyntaxRichEditCtrl* editor = frame.Connections->GetConnection(0)->Window->Editor;
    editor->setFocus();
    QTest::keyClicks(editor, ChildText);
    std::printf("typed\n");
    std::fflush(stdout);
    return application.exec(); // until killed
}

// Typed into a main window whose process is then killed: the text is there
// when the profile's window opens again.
void CEditorTests::draftSurvivesAKilledProcess()
{
    AddSQLiteProfile(QStringLiteral("killed"));
    Frame.reset(); // the profile is saved for the child
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QVERIFY(QTest::qWaitFor([&child] { return child.readAllStandardOutput().contains("typed"); },
                            30000));
    // Long enough for the draft to be written, then no chance to write more.
    QTest::qWait(CEditorDocument::DraftDelay + 1500);
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    Frame = NewFrame();
    QVERIFY(Connect(0));
    QCOMPARE(Shown()->Editor->toPlainText(), ChildText);
}

void CEditorTests::findReplaceUndoRedo_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("replaced");
    QTest::newRow("any case, any part")
        << false << false << 4 << QStringLiteral("select k, k_x, k from t where k = 1;");
    QTest::newRow("case matters") << true << false << 2
                                  << QStringLiteral("select Id, k_x, ID from t where k = 1;");
    QTest::newRow("whole words") << false << true << 3
                                 << QStringLiteral("select k, id_x, k from t where k = 1;");
    QTest::newRow("both") << true << true << 1
                          << QStringLiteral("select Id, id_x, ID from t where k = 1;");
}

void CEditorTests::findReplaceUndoRedo()
{
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(int, found);
    QFETCH(QString, replaced);
    const QString text = QStringLiteral("select Id, id_x, ID from t where id = 1;");
    QVERIFY(Connect(AddSQLiteProfile(QStringLiteral("find"))));
    SetText(text);
    CFindBar* bar = Shown()->FindBar;
    Shown()->Editor->moveCursor(QTextCursor::Start);

    Key(Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar->FindText));
    QTest::keyClicks(bar->FindText, QStringLiteral("id"));
    bar->MatchCase->setChecked(matchCase);
    bar->WholeWords->setChecked(wholeWords);
    const QList<CFindBar::CMatch> all =
        CFindBar::FindAll(text, QStringLiteral("id"), matchCase, wholeWords);
    QCOMPARE(all.size(), found);

    // F3 walks forward through every match and wraps; Shift+F3 goes back.
    for (int i = 0; i <= found; ++i) {
        Key(Qt::Key_F3);
        QCOMPARE(Shown()->Editor->textCursor().selectionStart(), int(all.at(i % found).Start));
    }
    Key(Qt::Key_F3, Qt::ShiftModifier); // from the first match, round to the last
    QCOMPARE(Shown()->Editor->textCursor().selectionStart(), int(all.at(found - 1).Start));
    QCOMPARE(bar->Note->text(), QStringLiteral("%1 of %1").arg(found));

    // Ctrl+H and Replace All: one step to undo, one to redo.
    Key(Qt::Key_H, Qt::ControlModifier);
    QVERIFY(bar->ReplaceText->isVisible());
    bar->ReplaceText->setText(QStringLiteral("k"));
    QTest::mouseClick(bar->findChild<QPushButton*>(QStringLiteral("replace-all")), Qt::LeftButton);
    QCOMPARE(Shown()->Editor->toPlainText(), replaced);
    QVERIFY(Frame->Action(CommandUndo)->isEnabled());
    Frame->Action(CommandUndo)->trigger();
    QCOMPARE(Shown()->Editor->toPlainText(), text);
    QVERIFY(Frame->Action(CommandRedo)->isEnabled());
    Shown()->Editor->setFocus();
    Key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Shown()->Editor->toPlainText(), replaced);
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Shown()->Editor->toPlainText(), text);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Shown()->Editor->toPlainText(), replaced);

    // Replace one at a time: the selected match, then on to the next.
    Frame->Action(CommandUndo)->trigger();
    Shown()->Editor->moveCursor(QTextCursor::Start);
    bar->FindNext();
    QVERIFY(bar->ReplaceNext());
    QCOMPARE(Shown()->Editor->toPlainText().count(QStringLiteral("k")), 1);

    // Esc closes the bar and gives the editor the focus back.
    bar->FindText->setFocus();
    Key(Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Shown()->Editor));
    bar->FindText->setText(QStringLiteral("nowhere"));
    QVERIFY(!bar->FindNext());
    QCOMPARE(bar->Note->text(), QStringLiteral("Not found"));
}

void CEditorTests::executeCurrentStatement_data()
{
    QTest::addColumn<ETestBackend>("backend");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("SQLite") << ETestBackend::SQLite
                            << QStringList{"create table t (a integer, b text);",
                                           "-- a trigger with statements of its own\n"
                                           "create trigger tr after insert on t begin\n"
                                           "  update t set b = 'x' || new.a where a = new.a;\n"
                                           "  update t set b = b || '!' where a = new.a;\nend;",
                                           "insert into t (a) values (7);", "select a, b from t;"};
    QTest::newRow("FireBird")
        << ETestBackend::FireBird
        << QStringList{"create table t (a integer, b varchar(10));",
                       "-- a trigger with statements of its own\n"
                       "create trigger tr for t before insert as\n"
                       "begin\n  new.b = 'x' || new.a;\n  new.b = new.b || '!';\nend;",
                       "insert into t (a) values (7);", "select a, b from t;"};
}

// Ctrl+Enter with the caret in each statement in turn runs that statement
// alone: the trigger is made whole, fires on the insert, and the query shows
// its row. A caret after the last statement runs the last one.
void CEditorTests::executeCurrentStatement()
{
    QFETCH(ETestBackend, backend);
    QFETCH(QStringList, statements);
    REQUIRE_TEST_BACKEND(Databases, backend);
    CConnection profile;
    QString why;
    QVERIFY2(Databases.NewProfile(backend, profile, why), qPrintable(why));
    profile.Name = QStringLiteral("current");
    const int index = Frame->Connections->AddConnection(profile);
    QVERIFY(Connect(index));
    const QString script = statements.join(QStringLiteral("\n\n")) + QStringLiteral("\n\n");
    SetText(script);
    CSyntaxRichEditCtrl* editor = Shown()->Editor;
    for (const QString& statement : statements) {
        QTextCursor cursor = editor->textCursor();
        // In the statement's last line, just before its terminator.
        cursor.setPosition(int(script.indexOf(statement) + statement.size() - 1));
        editor->setTextCursor(cursor);
        editor->setFocus();
        Key(Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(Idle());
        QCOMPARE(editor->toPlainText(), script); // no line break typed
        const QString outcome = Frame->statusBar()->currentMessage();
        QVERIFY2(!outcome.contains(QStringLiteral("failed")),
                 qPrintable(statement + QStringLiteral(": ") +
                            GridText(Shown()->ResultList->Model()).join(u'\n')));
    }
    QStringList rows = GridText(Shown()->ResultList->Model());
    QCOMPARE(rows.size(), 2);
    QVERIFY2(rows.at(1).endsWith(QStringLiteral("7|x7!")), qPrintable(rows.join(u'\n')));

    // At the very end, in the blank lines after the last statement: the query again.
    editor->moveCursor(QTextCursor::End);
    SetText(script + QStringLiteral("insert into t (a) values (8);  "));
    editor->moveCursor(QTextCursor::End);
    Key(Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(Idle());
    // F5 runs the whole script, as Ctrl+F5 does: the table is there already.
    SetText(QStringLiteral("select count(*) from t;"));
    Key(Qt::Key_F5);
    QVERIFY(Idle());
    rows = GridText(Shown()->ResultList->Model());
    QVERIFY2(rows.value(1).endsWith(QStringLiteral("2")), qPrintable(rows.join(u'\n')));
}

void CEditorTests::editingComforts()
{
    QVERIFY(Connect(AddSQLiteProfile(QStringLiteral("comforts"))));
    CSyntaxRichEditCtrl* editor = Shown()->Editor;
    SetText(QStringLiteral("select a,\n  b\nfrom t;"));
    QLabel* position = Frame->statusBar()->findChild<QLabel*>(QStringLiteral("caret-position"));
    QVERIFY(position);
    QCOMPARE(position->text(), QStringLiteral("Ln 3, Col 8"));

    // Tab and Shift+Tab on the selected lines, each one undo step.
    editor->selectAll();
    Key(Qt::Key_Tab);
    QCOMPARE(editor->toPlainText(), QStringLiteral("\tselect a,\n\t  b\n\tfrom t;"));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(editor->toPlainText(), QStringLiteral("select a,\nb\nfrom t;"));
    editor->undo();
    QCOMPARE(editor->toPlainText(), QStringLiteral("select a,\n  b\nfrom t;"));

    // Ctrl+/ comments the lines out and back.
    editor->selectAll();
    Key(Qt::Key_Slash, Qt::ControlModifier);
    QCOMPARE(editor->toPlainText(), QStringLiteral("-- select a,\n--   b\n-- from t;"));
    Key(Qt::Key_Slash, Qt::ControlModifier);
    QCOMPARE(editor->toPlainText(), QStringLiteral("select a,\n  b\nfrom t;"));

    // Ctrl+G: the answer is the next to last line.
    Key(Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(editor->textCursor().blockNumber(), 1);
    QCOMPARE(position->text(), QStringLiteral("Ln 2, Col 1"));

    // The line numbers margin, on by default, goes with the View menu item.
    QWidget* margin = editor->findChild<QWidget*>(QStringLiteral("line-numbers"));
    QVERIFY(margin && margin->isVisible() && margin->width() > 0);
    Frame->Action(CommandLineNumbers)->trigger();
    QVERIFY(!margin->isVisible());
    QCOMPARE(editor->viewport()->geometry().left(), editor->contentsRect().left());
    Frame->Action(CommandLineNumbers)->trigger();
    QVERIFY(margin->isVisible());
}

void CEditorTests::scriptsOnTheCommandLine_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("error");
    QTest::newRow("a script") << QStringList{"a.sql"} << ""
                              << "a.sql" << false;
    QTest::newRow("a database and a script, either order") << QStringList{"q.SQL", "x.db"} << "x.db"
                                                           << "q.SQL" << false;
    QTest::newRow("a database named .sql") << QStringList{"db.sql"} << "db.sql"
                                           << "" << false;
    QTest::newRow("two scripts") << QStringList{"a.sql", "b.sql"} << ""
                                 << "" << true;
    QTest::newRow("three files") << QStringList{"a.sql", "b.db", "c.sql"} << ""
                                 << "" << true;
}

void CEditorTests::scriptsOnTheCommandLine()
{
    QFETCH(QStringList, files);
    QFETCH(QString, database);
    QFETCH(QString, script);
    QFETCH(bool, error);
    QVERIFY(Put(Files.filePath(QStringLiteral("db.sql")), QByteArray("SQLite format 3\0", 16)));
    QStringList arguments{QStringLiteral("tablescope")};
    for (const QString& file : files)
        arguments.append(Files.filePath(file));
    const CCommandLine line = CCommandLine::Parse(arguments, CCommandLine::PassFull);
    QCOMPARE(line.Finished, error);
    if (error)
        return;
    QCOMPARE(line.FilePath, database.isEmpty() ? QString() : Files.filePath(database));
    QCOMPARE(line.SqlFilePath, script.isEmpty() ? QString() : Files.filePath(script));

    // A script given alone opens in the first connection window made.
    if (database.isEmpty()) {
        QVERIFY(Put(Files.filePath(script), "select 'from the command line';"));
        Frame->OpenSqlFile(line.SqlFilePath);
        QVERIFY(Connect(AddSQLiteProfile(QStringLiteral("later"))));
        QCOMPARE(Shown()->Editor->toPlainText(), QStringLiteral("select 'from the command line';"));
    }
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(ChildVariable))
        return CEditorTests::RunChild(argc, argv);
    QApplication application(argc, argv);
    CEditorTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_Editor.moc"
