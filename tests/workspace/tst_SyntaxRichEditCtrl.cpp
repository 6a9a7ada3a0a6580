#include "ColourLetters.h"
#include "workspace/SQLSyntaxParser.h"
#include "workspace/SyntaxRichEditCtrl.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QFontInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {

const CSQLSyntaxParser SharedParser;

// What line shows, one letter per character: the class whose format the
// character is painted with, '.' when it is not painted, '?' for a format
// that belongs to no class.
QString ShownColours(const CSyntaxRichEditCtrl& editor, int line)
{
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    const QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
    QString shown;
    for (int c = 0; c < block.length() - 1; ++c) {
        QChar letter = u'.';
        for (const QTextLayout::FormatRange& range : ranges) {
            if (c < range.start || c >= range.start + range.length)
                continue;
            letter = u'?';
            for (qint32 colourIndex = 0; colourIndex < 16; ++colourIndex)
                if (ColourLetter(colourIndex) != u'?' &&
                    range.format == editor.ClassFormat(colourIndex))
                    letter = ColourLetter(colourIndex);
        }
        shown += letter;
    }
    return shown;
}

QStringList AllShownColours(const CSyntaxRichEditCtrl& editor)
{
    QStringList shown;
    for (int line = 0; line < editor.document()->blockCount(); ++line)
        shown += ShownColours(editor, line);
    return shown;
}

// The caret at column of line; a column of -1 is the end of the line.
void PutCaret(CSyntaxRichEditCtrl& editor, int line, int column)
{
    QTextCursor cursor(editor.document()->findBlockByNumber(line));
    if (column < 0)
        cursor.movePosition(QTextCursor::EndOfBlock);
    else
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    editor.setTextCursor(cursor);
}

// count lines made from pattern, its %1 (if any) replaced by the line's number.
QString Lines(int count, const QString& pattern)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines += pattern.contains(u"%1") ? pattern.arg(i) : pattern;
    return lines.join(u'\n');
}

} // namespace

class CSyntaxRichEditCtrlTests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fixedPitchFont();
    void colourTable();
    void typingAKeyword();
    void blockCommentRecoloursFollowingLines();
    void painting_data();
    void painting();
    void wholeTextReplacementRecoloursEveryLine();
    void caretAndSelectionStay();
    void undoRestoresTextWithoutColourSteps();
    void editInsideAWordColoursOnlyThatLine();
    void nothingIsColouredWithoutParser();
    void longTextIsPaintedInViewFirst();

private:
    std::unique_ptr<CSyntaxRichEditCtrl> Editor_;
};

void CSyntaxRichEditCtrlTests::init()
{
    Editor_ = std::make_unique<CSyntaxRichEditCtrl>();
    Editor_->Parser = &SharedParser;
    Editor_->RecolourAll();
    Editor_->resize(600, 400);
    Editor_->show();
    Editor_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Editor_.get()));
}

void CSyntaxRichEditCtrlTests::cleanup()
{
    Editor_.reset();
}

void CSyntaxRichEditCtrlTests::fixedPitchFont()
{
    const QFontInfo font(Editor_->font());
    if (QFontDatabase::hasFamily(QStringLiteral("Courier New")))
        QCOMPARE(font.family(), QStringLiteral("Courier New"));
    QVERIFY(font.fixedPitch());
    QCOMPARE(font.pointSize(), 10);
    QVERIFY(!font.bold());
}

// Painting sets colour, bold (for keywords only) and italic, never face or
// size; the system colours follow the palette, and an index outside the
// table gets the colour of the indices above 14.
void CSyntaxRichEditCtrlTests::colourTable()
{
    for (const int index : {-1, 2, 6, 8, 15, 1000}) {
        const QTextCharFormat& format = Editor_->ClassFormat(index);
        QCOMPARE(format.fontWeight(), index == 6 ? int(QFont::Bold) : int(QFont::Normal));
        QVERIFY(format.hasProperty(QTextFormat::FontItalic) && !format.fontItalic());
        QVERIFY(!format.hasProperty(QTextFormat::FontFamilies) &&
                !format.hasProperty(QTextFormat::FontPointSize));
        if (index < 0 || index > 14)
            QCOMPARE(format.foreground().color(), QColor(128, 0, 0));
    }

    QPalette palette = Editor_->palette();
    palette.setColor(QPalette::Text, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    Editor_->setPalette(palette);
    QCOMPARE(Editor_->Colour(0), QColor(4, 5, 6));
    QCOMPARE(Editor_->ClassFormat(CSyntaxParser::PlainText).foreground().color(), QColor(1, 2, 3));
}

void CSyntaxRichEditCtrlTests::typingAKeyword()
{
    QTest::keyClicks(Editor_.get(), QStringLiteral("select"));
    QCOMPARE(ShownColours(*Editor_, 0), QStringLiteral("KKKKKK"));
    const QTextBlock block = Editor_->document()->firstBlock();
    const QTextCharFormat shown = block.layout()->formats().constFirst().format;
    QCOMPARE(shown.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(shown.fontWeight(), int(QFont::Bold));

    QTest::keyClick(Editor_.get(), Qt::Key_X);
    QCOMPARE(Editor_->toPlainText(), QStringLiteral("selectx"));
    QCOMPARE(ShownColours(*Editor_, 0), QStringLiteral("PPPPPPP"));
    QCOMPARE(Editor_->textCursor().position(), 7);
}

void CSyntaxRichEditCtrlTests::blockCommentRecoloursFollowingLines()
{
    const QString plainLine = QStringLiteral("KKKKKKOPOKKKKOP");
    Editor_->setPlainText(Lines(50, QStringLiteral("select a from t")));

    PutCaret(*Editor_, 1, -1);
    QTest::keyClick(Editor_.get(), Qt::Key_Slash);
    Editor_->ResetColouredLineCount();
    QTest::keyClick(Editor_.get(), Qt::Key_Asterisk);
    QCOMPARE(Editor_->ColouredLineCount(), 49); // lines 1 to 49
    QStringList shown = AllShownColours(*Editor_);
    QCOMPARE(shown[0], plainLine);
    QCOMPARE(shown[1], plainLine + QStringLiteral("CC"));
    for (int line = 2; line < 50; ++line) {
        QCOMPARE(shown[line], QString(15, u'C'));
        QCOMPARE(Editor_->LineState(line), quint32(CSyntaxParser::BlockComment));
    }

    PutCaret(*Editor_, 3, -1);
    QTest::keyClick(Editor_.get(), Qt::Key_Asterisk);
    Editor_->ResetColouredLineCount();
    QTest::keyClick(Editor_.get(), Qt::Key_Slash);
    QCOMPARE(Editor_->ColouredLineCount(), 47); // lines 3 to 49
    shown = AllShownColours(*Editor_);
    QCOMPARE(shown[2], QString(15, u'C'));
    QCOMPARE(shown[3], QString(17, u'C'));
    QCOMPARE(Editor_->LineState(3), 0u);
    for (int line = 4; line < 50; ++line) {
        QCOMPARE(shown[line], plainLine);
        QCOMPARE(Editor_->LineState(line), 0u);
    }
}

void CSyntaxRichEditCtrlTests::painting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QList<quint32>>("states");

    QTest::newRow("words, operators, a trailing operator")
        << "select a, count(b) from t," << QStringList{"KKKKKKOPOOFFFFFOPOOKKKKOPO"}
        << QList<quint32>{0};
    QTest::newRow("a one-character line inside a block comment is plain")
        << "/* a\n*\n*/ b" << QStringList{"CCCC", "P", "CCOP"} << QList<quint32>{4, 4, 0};
    QTest::newRow("an empty line passes the string state on")
        << "x = \"abc\\\n\ndef\" y" << QStringList{"POOOSSSSS", "", "SSSSOP"}
        << QList<quint32>{8, 8, 0};
    QTest::newRow("a line comment carried on by a backslash")
        << "a // b\\\nselect\nselect" << QStringList{"POCCCCC", "CCCCCC", "KKKKKK"}
        << QList<quint32>{1, 0, 0};
}

void CSyntaxRichEditCtrlTests::painting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, colours);
    QFETCH(QList<quint32>, states);
    Editor_->setPlainText(text);
    QCOMPARE(AllShownColours(*Editor_), colours);
    for (int line = 0; line < states.size(); ++line)
        QCOMPARE(Editor_->LineState(line), states[line]);
}

void CSyntaxRichEditCtrlTests::wholeTextReplacementRecoloursEveryLine()
{
    Editor_->setPlainText(QStringLiteral("/* everything below is comment\n") +
                          Lines(30, QStringLiteral("select %1")));
    QCOMPARE(ShownColours(*Editor_, 30), QStringLiteral("CCCCCCCCC"));

    Editor_->ResetColouredLineCount();
    Editor_->setPlainText(Lines(40, QStringLiteral("select %1 from t")));
    QVERIFY(Editor_->ColouredLineCount() >= 40);
    const QStringList shown = AllShownColours(*Editor_);
    QCOMPARE(shown.size(), 40);
    QCOMPARE(shown[0], QStringLiteral("KKKKKKONOKKKKOP"));
    QCOMPARE(shown[39], QStringLiteral("KKKKKKONNOKKKKOP"));
    for (int line = 0; line < 40; ++line)
        QCOMPARE(Editor_->LineState(line), 0u);
}

void CSyntaxRichEditCtrlTests::caretAndSelectionStay()
{
    Editor_->setPlainText(Lines(20, QStringLiteral("select a%1 from t")));
    QTextCursor selection(Editor_->document());
    selection.setPosition(40);
    selection.setPosition(75, QTextCursor::KeepAnchor);
    Editor_->setTextCursor(selection);
    const QString selected = Editor_->textCursor().selectedText();

    Editor_->RecolourAll();
    QCOMPARE(Editor_->textCursor().anchor(), 40);
    QCOMPARE(Editor_->textCursor().position(), 75);

    // An edit elsewhere that re-colours every line moves the selection with
    // its text, and no further.
    QTextCursor(Editor_->document()).insertText(QStringLiteral("/*"));
    QCOMPARE(ShownColours(*Editor_, 19), QString(17, u'C'));
    QCOMPARE(Editor_->textCursor().anchor(), 42);
    QCOMPARE(Editor_->textCursor().position(), 77);
    QCOMPARE(Editor_->textCursor().selectedText(), selected);
}

// Colouring creates no undo step: an editor that colours and one that does
// not take the same number of undo steps back to the empty text.
void CSyntaxRichEditCtrlTests::undoRestoresTextWithoutColourSteps()
{
    CSyntaxRichEditCtrl plain;
    const auto type = [](CSyntaxRichEditCtrl& editor) {
        QTest::keyClicks(&editor, QStringLiteral("select a"));
        QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, QStringLiteral("/* from t"));
        QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, QStringLiteral("*/ where"));
    };
    type(*Editor_);
    type(plain);
    QCOMPARE(Editor_->toPlainText(), plain.toPlainText());
    QCOMPARE(ShownColours(*Editor_, 2), QStringLiteral("CCOKKKKK"));
    QCOMPARE(Editor_->document()->availableUndoSteps(), plain.document()->availableUndoSteps());

    int undos = 0;
    while (Editor_->document()->isUndoAvailable() && undos < 100) {
        QTest::keyClick(Editor_.get(), Qt::Key_Z, Qt::ControlModifier);
        ++undos;
    }
    QCOMPARE(Editor_->toPlainText(), QString());
    QCOMPARE(undos, plain.document()->availableUndoSteps());

    // Colouring a whole text afresh leaves nothing to undo and no change.
    Editor_->setPlainText(QStringLiteral("select 1\n/* x */ y"));
    Editor_->RecolourAll();
    QVERIFY(!Editor_->document()->isUndoAvailable());
    QVERIFY(!Editor_->document()->isModified());
    QCOMPARE(ShownColours(*Editor_, 1), QStringLiteral("CCCCCCCOP"));
}

void CSyntaxRichEditCtrlTests::editInsideAWordColoursOnlyThatLine()
{
    Editor_->setPlainText(Lines(200, QStringLiteral("select col_%1 from t where x = 'a'")));
    PutCaret(*Editor_, 10, 9); // "select co|l_10"
    Editor_->ResetColouredLineCount();
    QTest::keyClick(Editor_.get(), Qt::Key_Z);
    QCOMPARE(Editor_->ColouredLineCount(), 1);
    QCOMPARE(Editor_->document()->findBlockByNumber(10).text(),
             QStringLiteral("select cozl_10 from t where x = 'a'"));
    QCOMPARE(ShownColours(*Editor_, 10), QStringLiteral("KKKKKKOPPPPPPPOKKKKOPOKKKKKOPOOOSSS"));
}

void CSyntaxRichEditCtrlTests::nothingIsColouredWithoutParser()
{
    CSyntaxRichEditCtrl editor;
    editor.setPlainText(QStringLiteral("select a\n/* b"));
    editor.RecolourAll();
    QCOMPARE(AllShownColours(editor), (QStringList{"........", "...."}));
    QCOMPARE(editor.LineState(1), 0u);

    // A scanner set later colours the text once it is re-coloured.
    editor.Parser = &SharedParser;
    editor.RecolourAll();
    QCOMPARE(AllShownColours(editor), (QStringList{"KKKKKKOP", "CCCC"}));
    QCOMPARE(editor.LineState(1), quint32(CSyntaxParser::BlockComment));
    QCOMPARE(editor.LineState(2), 0u); // no such line
}

// A change of thousands of lines: every state is right at once, the lines in
// view and the first lines of the change are painted at once, the others
// while the program is idle, and a line scrolled into view before it is
// shown. No line ever shows colours that belong to other characters.
void CSyntaxRichEditCtrlTests::longTextIsPaintedInViewFirst()
{
    const int count = 3000;
    const auto plain = [](int line) {
        return QStringLiteral("KKKKKKO") + QString(QString::number(line).size(), u'N') +
               QStringLiteral("OKKKKOP");
    };
    const auto unpainted = [](int line) {
        return QString(QStringLiteral("select %1 from t").arg(line).size(), u'.');
    };
    Editor_->setPlainText(Lines(count, QStringLiteral("select %1 from t")));
    QVERIFY(Editor_->HasUncolouredLines());
    QCOMPARE(ShownColours(*Editor_, 0), plain(0));
    const int atOnce = 500; // the first lines of a change are painted at once
    QCOMPARE(ShownColours(*Editor_, atOnce - 1), plain(atOnce - 1));
    QCOMPARE(ShownColours(*Editor_, count - 1), unpainted(count - 1));

    // Scrolled to the end: the last line has its colours before it is drawn.
    Editor_->verticalScrollBar()->setValue(Editor_->verticalScrollBar()->maximum());
    QCOMPARE(ShownColours(*Editor_, count - 1), plain(count - 1));
    QCOMPARE(ShownColours(*Editor_, count / 2), unpainted(count / 2));

    // A comment opened on the first line: every state follows at once.
    PutCaret(*Editor_, 0, 0);
    QTest::keyClicks(Editor_.get(), QStringLiteral("/*"));
    for (const int line : {1, count / 2, count - 1})
        QCOMPARE(Editor_->LineState(line), quint32(CSyntaxParser::BlockComment));
    QCOMPARE(ShownColours(*Editor_, 1), QString(15, u'C'));
    QTRY_VERIFY(!Editor_->HasUncolouredLines());
    QStringList shown = AllShownColours(*Editor_);
    for (int line = 1; line < count; ++line)
        QCOMPARE(shown[line], QString(unpainted(line).size(), u'C'));

    // One edit that changes every line: lines that wait lose their old
    // colours at once, and get the right ones soon.
    PutCaret(*Editor_, 0, 0);
    QTest::keyClick(Editor_.get(), Qt::Key_Delete);
    QTest::keyClick(Editor_.get(), Qt::Key_Delete);
    QTRY_VERIFY(!Editor_->HasUncolouredLines());
    Editor_->verticalScrollBar()->setValue(0);
    QTextCursor cursor(Editor_->document());
    cursor.beginEditBlock();
    for (int line = 0; line < count; ++line) {
        cursor.setPosition(Editor_->document()->findBlockByNumber(line).position());
        cursor.insertText(QStringLiteral("x"));
    }
    cursor.endEditBlock();
    const auto changed = [](int line) {
        return QStringLiteral("PPPPPPPO") + QString(QString::number(line).size(), u'N') +
               QStringLiteral("OKKKKOP");
    };
    QCOMPARE(ShownColours(*Editor_, 0), changed(0));
    QCOMPARE(ShownColours(*Editor_, count / 2), QString(unpainted(count / 2).size() + 1, u'.'));
    QTRY_VERIFY(!Editor_->HasUncolouredLines());
    shown = AllShownColours(*Editor_);
    for (int line = 0; line < count; ++line)
        QCOMPARE(shown[line], changed(line));

    // Undone in one step, and coloured as before.
    Editor_->undo();
    Editor_->FinishColouring();
    QVERIFY(!Editor_->HasUncolouredLines());
    QCOMPARE(AllShownColours(*Editor_).constLast(), plain(count - 1));
}

QTEST_MAIN(CSyntaxRichEditCtrlTests)
#include "tst_SyntaxRichEditCtrl.moc"
