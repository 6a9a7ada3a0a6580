// Speed of the SQL scanner and the colouring editor: scanning a large script,
// colouring a long script from scratch, one keystroke inside a word near the
// end of it, and opening a block comment on its first line, which re-colours
// every line below.
//
// Then the script as a file: opened into a coloured editor, every place of a
// word found, and saved again.
//
// The scripts hold no "*/", so that a comment opened at the top runs to the
// end, and no line ends in a backslash.

#include "BenchTable.h"
#include "workspace/FindBar.h"
#include "workspace/SQLSyntaxParser.h"
#include "workspace/SqlFile.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace {

QString ScriptLine(int i)
{
    switch (i % 6) {
    case 0:
        return QStringLiteral("SELECT c.id, count(o.total) AS n, 'it\\'s' FROM customer c "
                              "LEFT OUTER JOIN orders o ON o.cid = c.id -- %1")
            .arg(i);
    case 1:
        return QStringLiteral("  WHERE o.created > '2024-01-01' AND o.total >= 12.5e3 "
                              "GROUP BY c.id ORDER BY n;");
    case 2:
        return QStringLiteral("INSERT INTO log (id, note, amount) VALUES (%1, \"line %1\", 0x1F);")
            .arg(i);
    case 3:
        return QStringLiteral("UPDATE t SET name = upper(name), flags = flags + 1 "
                              "WHERE id IN (1, 2, 3); // changed by hand");
    case 4:
        return QStringLiteral("CREATE TABLE t%1 (id INTEGER, name VARCHAR(40), born DATE, "
                              "score DOUBLE);")
            .arg(i);
    default:
        return QString();
    }
}

QStringList ScriptLines(int lines)
{
    QStringList script;
    script.reserve(lines);
    for (int i = 0; i < lines; ++i)
        script += ScriptLine(i);
    return script;
}

// Lines of the script up to the given number of characters, line breaks counted.
QStringList ScriptOfSize(qsizetype characters)
{
    QStringList script;
    qsizetype size = 0;
    for (int i = 0; size < characters; ++i) {
        script += ScriptLine(i);
        size += script.constLast().size() + 1;
    }
    return script;
}

double ScannerMegabytesPerSecond(const QStringList& script)
{
    const CSQLSyntaxParser parser;
    QList<ColourBlock> blocks;
    qsizetype bytes = 0;
    for (const QString& line : script)
        bytes += line.toUtf8().size() + 1;
    quint32 sink = 0;
    const double seconds = BestSeconds(5, [&] {
        quint32 state = 0;
        for (const QString& line : script) {
            blocks.clear();
            blocks.append(ColourBlock{0, CSyntaxParser::PlainText});
            state = parser.ScanLine(state, line, &blocks);
            sink += quint32(blocks.size());
        }
        sink += state;
    });
    if (sink == 0)
        std::printf("(no blocks)\n");
    return double(bytes) / 1e6 / seconds;
}

void SendKey(QWidget& widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// An editor shown on screen, holding the script, not yet coloured.
std::unique_ptr<CSyntaxRichEditCtrl> UncolouredEditor(const QString& text)
{
    auto editor = std::make_unique<CSyntaxRichEditCtrl>();
    editor->resize(800, 600);
    editor->show();
    editor->setPlainText(text);
    QApplication::processEvents();
    return editor;
}

// The best of three: an editor whose text was never coloured gets a scanner
// and colours all of it. First: until the editor answers again (every line
// scanned, the lines in view painted); second: until every line is painted.
std::pair<double, double> ColourFromScratchSeconds(const QString& text,
                                                   const CSyntaxParser& parser)
{
    double answers = 1e300;
    double painted = 1e300;
    for (int run = 0; run < 3; ++run) {
        const auto editor = UncolouredEditor(text);
        editor->Parser = &parser;
        QElapsedTimer timer;
        timer.start();
        editor->RecolourAll();
        answers = std::min(answers, double(timer.nsecsElapsed()) / 1e9);
        editor->FinishColouring();
        painted = std::min(painted, double(timer.nsecsElapsed()) / 1e9);
    }
    return {answers, painted};
}

// The best of three: the text set into an editor that has its scanner, which
// loads and colours it in one go.
double LoadAndColourSeconds(const QString& text, const CSyntaxParser& parser)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        CSyntaxRichEditCtrl editor;
        editor.Parser = &parser;
        editor.resize(800, 600);
        editor.show();
        QApplication::processEvents();
        best = std::min(best, SecondsOf([&] { editor.setPlainText(text); }));
    }
    return best;
}

// Median time of typing a letter inside a word ten lines from the end; each
// letter is taken back with Backspace before the next, outside the timing.
double KeystrokeMedianSeconds(CSyntaxRichEditCtrl& editor, int& colouredLines)
{
    QTextCursor cursor(editor.document()->findBlockByNumber(editor.blockCount() - 10));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3); // "SEL|ECT"
    editor.setTextCursor(cursor);
    std::vector<double> times;
    colouredLines = 0;
    for (int k = 0; k < 201; ++k) {
        editor.ResetColouredLineCount();
        times.push_back(SecondsOf([&] { SendKey(editor, Qt::Key_Z, QStringLiteral("z")); }));
        colouredLines = std::max(colouredLines, editor.ColouredLineCount());
        SendKey(editor, Qt::Key_Backspace, QString());
        QApplication::processEvents();
    }
    std::nth_element(times.begin(), times.begin() + 100, times.end());
    return times[100];
}

// Typing "/*" at the start of the first line: the '*' re-colours every line.
double OpenCommentSeconds(CSyntaxRichEditCtrl& editor, int& colouredLines)
{
    editor.moveCursor(QTextCursor::Start);
    SendKey(editor, Qt::Key_Slash, QStringLiteral("/"));
    editor.ResetColouredLineCount();
    const double seconds =
        SecondsOf([&] { SendKey(editor, Qt::Key_Asterisk, QStringLiteral("*")); });
    colouredLines = editor.ColouredLineCount();
    SendKey(editor, Qt::Key_Backspace, QString());
    SendKey(editor, Qt::Key_Backspace, QString());
    return seconds;
}

// The best of three: the file read, its text set into a shown editor with
// its scanner, coloured and laid out, and painted once.
double OpenFileSeconds(const QString& path, const CSyntaxParser& parser)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        CSyntaxRichEditCtrl editor;
        editor.Parser = &parser;
        editor.resize(800, 600);
        editor.show();
        QApplication::processEvents();
        best = std::min(best, SecondsOf([&] {
                            CSqlFile file;
                            QString error;
                            if (!file.Read(path, error))
                                std::printf("%s\n", qPrintable(error));
                            editor.setPlainText(file.Text);
                            editor.repaint();
                        }));
    }
    return best;
}

QString Count(int lines)
{
    return QLocale::c().toString(lines);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const CSQLSyntaxParser parser;
    CBenchTable table("SQL scanner and colouring editor");

    const QStringList big = ScriptOfSize(2 * 1000 * 1000);
    table.Row("scanner throughput, 2 MB script with blocks", ScannerMegabytesPerSecond(big), "MB/s",
              ">= 50 MB/s");

    const int longLines = 50000;
    const QString longScript = ScriptLines(longLines).join(u'\n');
    const auto [answers, painted] = ColourFromScratchSeconds(longScript, parser);
    table.Row("colour a " + Count(longLines).toStdString() + "-line script from scratch",
              answers, "s", "< 1 s; the lines in view painted");
    table.Row("  every line painted", painted, "s", "(the rest is painted while idle)");
    table.Row("  the same, text loaded and coloured in one go",
              LoadAndColourSeconds(longScript, parser), "s", "(reference)");

    for (const int lines : {5000, longLines}) {
        const auto editor = UncolouredEditor(ScriptLines(lines).join(u'\n'));
        editor->Parser = &parser;
        editor->RecolourAll();
        editor->FinishColouring();
        int coloured = 0;
        const double median = KeystrokeMedianSeconds(*editor, coloured);
        table.Row("keystroke inside a word near the end, " + Count(lines).toStdString() +
                      " lines (median)",
                  median * 1000, "ms",
                  "< 2 ms, independent of length (" + std::to_string(coloured) + " line coloured)");
    }

    const auto editor = UncolouredEditor(longScript);
    editor->Parser = &parser;
    editor->RecolourAll();
    editor->FinishColouring();
    int coloured = 0;
    const double open = OpenCommentSeconds(*editor, coloured);
    table.Row("type \"/*\" on line 1 of " + Count(longLines).toStdString() + " lines", open, "s",
              "none; every line re-coloured (" + std::to_string(coloured) + " lines)");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.sql"));
    CSqlFile file;
    file.Text = longScript;
    QString error;
    if (!file.Write(path, error))
        std::printf("%s\n", qPrintable(error));
    table.Row("open a " + Count(longLines).toStdString() + "-line file into a coloured editor",
              OpenFileSeconds(path, parser), "s", "< 0.5 s");

    const auto found = UncolouredEditor(longScript);
    found->Parser = &parser;
    found->RecolourAll();
    qsizetype matches = 0;
    const double find = BestSeconds(5, [&] {
        matches =
            CFindBar::FindAll(found->toPlainText(), QStringLiteral("total"), false, true).size();
    });
    table.Row("find every \"total\" in it (" + std::to_string(matches) + " places)", find * 1000,
              "ms", "< 50 ms");
    const double save = BestSeconds(5, [&] {
        CSqlFile saved;
        saved.Text = found->toPlainText();
        if (!saved.Write(path, error))
            std::printf("%s\n", qPrintable(error));
    });
    table.Row("save it", save * 1000, "ms", "< 50 ms");
    return 0;
}
