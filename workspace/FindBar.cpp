#include "workspace/FindBar.h"

#include "workspace/SyntaxRichEditCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>

namespace {

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

CFindBar::CFindBar(CSyntaxRichEditCtrl& editor, QWidget* parent) : QWidget(parent), Editor_(editor)
{
    setObjectName(QStringLiteral("find-bar"));
    FindText = new QLineEdit(this);
    FindText->setObjectName(QStringLiteral("find-text"));
    FindText->setPlaceholderText(QStringLiteral("Find"));
    FindText->setClearButtonEnabled(true);
    MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    MatchCase->setObjectName(QStringLiteral("match-case"));
    WholeWords = new QCheckBox(QStringLiteral("&Whole words"), this);
    WholeWords->setObjectName(QStringLiteral("whole-words"));
    Wrap = new QCheckBox(QStringLiteral("Wra&p around"), this);
    Wrap->setObjectName(QStringLiteral("wrap"));
    Wrap->setChecked(true);
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("find-note"));
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("find-close"));
    close->setText(QStringLiteral("\u00D7"));
    close->setToolTip(QStringLiteral("Close (Esc)"));
    close->setAutoRaise(true);

    QPushButton* next = Button(QStringLiteral("&Next"), "find-next", this);
    QPushButton* previous = Button(QStringLiteral("Pre&vious"), "find-previous", this);

    ReplaceRow_ = new QWidget(this);
    ReplaceText = new QLineEdit(ReplaceRow_);
    ReplaceText->setObjectName(QStringLiteral("replace-text"));
    ReplaceText->setPlaceholderText(QStringLiteral("Replace with"));
    QPushButton* replace = Button(QStringLiteral("&Replace"), "replace", ReplaceRow_);
    QPushButton* replaceAll = Button(QStringLiteral("Replace &All"), "replace-all", ReplaceRow_);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(FindText, 1);
    findRow->addWidget(next);
    findRow->addWidget(previous);
    findRow->addWidget(MatchCase);
    findRow->addWidget(WholeWords);
    findRow->addWidget(Wrap);
    findRow->addWidget(Note, 1);
    findRow->addWidget(close);
    auto* replaceRow = new QHBoxLayout(ReplaceRow_);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceRow->addWidget(ReplaceText, 1);
    replaceRow->addWidget(replace);
    replaceRow->addWidget(replaceAll);
    replaceRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addLayout(findRow);
    layout->addWidget(ReplaceRow_);

    connect(FindText, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(ReplaceText, &QLineEdit::returnPressed, this, [this] { ReplaceNext(); });
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(replace, &QPushButton::clicked, this, [this] { ReplaceNext(); });
    connect(replaceAll, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(FindText, &QLineEdit::textChanged, Note, &QLabel::clear);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        Editor_.setFocus();
    });
    hide();
}

void CFindBar::SetReplaceShown(bool shown)
{
    ReplaceRow_->setVisible(shown);
}

void CFindBar::ShowFind(bool replace)
{
    const QString selected = Editor_.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        FindText->setText(selected);
    SetReplaceShown(replace);
    Note->clear();
    show();
    FindText->setFocus(Qt::ShortcutFocusReason);
    FindText->selectAll();
}

QList<CFindBar::CMatch> CFindBar::FindAll(const QString& text, const QString& what, bool matchCase,
                                          bool wholeWords)
{
    QList<CMatch> matches;
    if (what.isEmpty())
        return matches;
    const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = text.indexOf(what, 0, sensitivity); at >= 0;) {
        const qsizetype end = at + what.size();
        const bool whole = !wholeWords || ((at == 0 || !IsWordCharacter(text.at(at - 1))) &&
                                           (end == text.size() || !IsWordCharacter(text.at(end))));
        if (whole) {
            matches.append(CMatch{at, what.size()});
            at = text.indexOf(what, end, sensitivity);
        } else {
            at = text.indexOf(what, at + 1, sensitivity);
        }
    }
    return matches;
}

QList<CFindBar::CMatch> CFindBar::Matches() const
{
    return FindAll(Editor_.toPlainText(), FindText->text(), MatchCase->isChecked(),
                   WholeWords->isChecked());
}

bool CFindBar::FindNext(bool backward)
{
    const QList<CMatch> matches = Matches();
    const QTextCursor cursor = Editor_.textCursor();
    qsizetype chosen = -1;
    if (!backward) {
        for (qsizetype i = 0; i < matches.size() && chosen < 0; ++i)
            if (matches.at(i).Start >= cursor.selectionEnd())
                chosen = i;
        if (chosen < 0 && Wrap->isChecked() && !matches.isEmpty())
            chosen = 0;
    } else {
        for (qsizetype i = matches.size() - 1; i >= 0 && chosen < 0; --i)
            if (matches.at(i).Start + matches.at(i).Length <= cursor.selectionStart())
                chosen = i;
        if (chosen < 0 && Wrap->isChecked() && !matches.isEmpty())
            chosen = matches.size() - 1;
    }
    if (chosen < 0) {
        Note->setText(matches.isEmpty() ? QStringLiteral("Not found")
                                        : QStringLiteral("No more matches"));
        return false;
    }
    const CMatch& match = matches.at(chosen);
    QTextCursor select(Editor_.document());
    select.setPosition(int(match.Start));
    select.setPosition(int(match.Start + match.Length), QTextCursor::KeepAnchor);
    Editor_.setTextCursor(select);
    Editor_.ensureCursorVisible();
    Note->setText(QStringLiteral("%1 of %2").arg(chosen + 1).arg(matches.size()));
    return true;
}

bool CFindBar::ReplaceNext()
{
    const QTextCursor cursor = Editor_.textCursor();
    bool replaced = false;
    if (cursor.hasSelection()) {
        for (const CMatch& match : Matches()) {
            if (match.Start == cursor.selectionStart() &&
                match.Start + match.Length == cursor.selectionEnd()) {
                QTextCursor edit = cursor;
                edit.insertText(ReplaceText->text());
                Editor_.setTextCursor(edit);
                replaced = true;
                break;
            }
        }
    }
    FindNext();
    return replaced;
}

int CFindBar::ReplaceAll()
{
    const QList<CMatch> matches = Matches();
    if (matches.isEmpty()) {
        Note->setText(QStringLiteral("Not found"));
        return 0;
    }
    const QString replacement = ReplaceText->text();
    QTextCursor edit(Editor_.document());
    edit.beginEditBlock();
    // From the end, so that the places still to come do not move.
    for (qsizetype i = matches.size() - 1; i >= 0; --i) {
        edit.setPosition(int(matches.at(i).Start));
        edit.setPosition(int(matches.at(i).Start + matches.at(i).Length), QTextCursor::KeepAnchor);
        edit.insertText(replacement);
    }
    edit.endEditBlock();
    const int count = int(matches.size());
    Note->setText(count == 1 ? QStringLiteral("1 replaced")
                             : QStringLiteral("%1 replaced").arg(count));
    return count;
}

void CFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        Editor_.setFocus();
        return;
    }
    QWidget::keyPressEvent(event);
}
