#include "database/ScriptSplitter.h"

#include <QRegularExpression>

namespace {

bool IsWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

// "$" belongs to names in FireBird (RDB$RELATIONS), SQLite and PostgreSQL.
bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

bool IsTagStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c.unicode() > 127;
}

bool IsTagChar(QChar c)
{
    return IsTagStart(c) || (c >= u'0' && c <= u'9');
}

// A piece that is the directive "SET TERM new": new, otherwise empty.
QString TerminatorDirective(QStringView piece)
{
    static const QRegularExpression directive(QStringLiteral("\\ASET\\s+TERM(?:INATOR)?\\s+(\\S+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QStringView text = SkipSpaceAndComments(piece);
    const QRegularExpressionMatch match = directive.match(text);
    if (!match.hasMatch() || ContainsSql(text.sliced(match.capturedEnd())))
        return {};
    return match.captured(1);
}

} // namespace

QStringView SkipSpaceAndComments(QStringView text, EScriptDialect dialect)
{
    for (;;) {
        qsizetype i = 0;
        while (i < text.size() && text.at(i).isSpace())
            ++i;
        text = text.sliced(i);
        if (text.startsWith(u"--") ||
            ((dialect & ScriptDialectMySQLClient) && text.startsWith(u'#'))) {
            const qsizetype end = text.indexOf(u'\n');
            text = end < 0 ? QStringView() : text.sliced(end + 1);
        } else if (text.startsWith(u"/*")) {
            const qsizetype end = text.indexOf(u"*/", 2);
            text = end < 0 ? QStringView() : text.sliced(end + 2);
        } else {
            return text;
        }
    }
}

bool ContainsSql(QStringView piece, EScriptDialect dialect)
{
    return !SkipSpaceAndComments(piece, dialect).isEmpty();
}

QStringList SplitScript(const QString& script, EScriptDialect dialect)
{
    return CScriptSplitter(script, dialect).Split();
}

QList<CStatementSpan> SplitScriptSpans(const QString& script, EScriptDialect dialect)
{
    CScriptSplitter splitter(script, dialect);
    splitter.Split();
    return splitter.Spans();
}

CScriptSplitter::CScriptSplitter(const QString& script, EScriptDialect dialect)
    : Text_(script), Dialect_(dialect)
{
}

QStringList CScriptSplitter::Split()
{
    const qsizetype length = Text_.size();
    while (Pos_ < length) {
        const QChar c = Text_.at(Pos_);
        const QChar next = Pos_ + 1 < length ? Text_.at(Pos_ + 1) : QChar();
        switch (State_) {
        case EState::Code:
            ScanCode();
            break;
        case EState::DoubleQuoted: // a doubled quote leaves and re-enters
            if (c == u'\\' && Backslashes_)
                ++Pos_;
            else if (c == u'"')
                State_ = EState::Code;
            ++Pos_;
            SkipUntil(u'"', Backslashes_ ? u'\\' : u'"');
            break;
        case EState::SingleQuoted:
            if (c == u'\\' && Backslashes_)
                ++Pos_; // the escaped character, a quote or a backslash included
            else if (c == u'\'')
                State_ = EState::Code;
            ++Pos_;
            SkipUntil(u'\'', Backslashes_ ? u'\\' : u'\'');
            break;
        case EState::BackQuoted: // as with double quotes, doubling needs no rule
            if (c == u'`')
                State_ = EState::Code;
            ++Pos_;
            SkipUntil(u'`', u'`');
            break;
        case EState::LineComment:
            if (c == u'\n')
                State_ = EState::Code;
            ++Pos_;
            SkipUntil(u'\n', u'\n');
            break;
        case EState::BlockComment:
            if (c == u'*' && next == u'/') {
                State_ = EState::Code;
                ++Pos_;
            }
            ++Pos_;
            break;
        case EState::DollarQuoted:
            if (c == u'$' && QStringView(Text_).sliced(Pos_).startsWith(DollarTag_)) {
                State_ = EState::Code;
                Pos_ += DollarTag_.size();
            } else {
                ++Pos_;
            }
            break;
        }
    }
    Pos_ = qMin(Pos_, length); // an escape at the very end
    if (PieceStart_ < length)
        EndPiece(length);
    return std::move(Pieces_);
}

// Inside a string or a comment nothing matters but the characters that may
// end it: the scan jumps to the next of a or b (which are not consumed).
void CScriptSplitter::SkipUntil(char16_t a, char16_t b)
{
    if (State_ == EState::Code)
        return;
    const char16_t* text = reinterpret_cast<const char16_t*>(Text_.constData());
    const qsizetype length = Text_.size();
    qsizetype at = Pos_;
    while (at < length && text[at] != a && text[at] != b)
        ++at;
    Pos_ = at;
}

void CScriptSplitter::ScanCode()
{
    const qsizetype length = Text_.size();
    const QChar c = Text_.at(Pos_);
    const QChar next = Pos_ + 1 < length ? Text_.at(Pos_ + 1) : QChar();
    if (c == Terminator_.at(0) && QStringView(Text_).sliced(Pos_).startsWith(Terminator_) &&
        EndsHere()) {
        const qsizetype end = Pos_;
        Pos_ += Terminator_.size(); // before a directive in the piece changes it
        EndPiece(end);
        PieceStart_ = Pos_;
        return;
    }
    // A terminator made of name characters ends a name ("END$$").
    const QChar terminatorStart = Terminator_.at(0);
    const auto inWord = [&](qsizetype at) {
        const QChar character = Text_.at(at);
        return IsWordChar(character) && (character != terminatorStart ||
                                         !QStringView(Text_).sliced(at).startsWith(Terminator_));
    };
    if (IsWordStart(c)) {
        qsizetype end = Pos_ + 1;
        while (end < length && inWord(end))
            ++end;
        if ((Dialect_ & ScriptDialectEscapeStrings) && end == Pos_ + 1 &&
            (c == u'E' || c == u'e') && end < length && Text_.at(end) == u'\'') {
            State_ = EState::SingleQuoted; // E'...'
            Backslashes_ = true;
            Pos_ = end + 1;
            return;
        }
        if ((Dialect_ & ScriptDialectMySQLClient) && DelimiterDirective(end))
            return;
        Word(QStringView(Text_).sliced(Pos_, end - Pos_));
        Pos_ = end;
        return;
    }
    if (c.isDigit()) { // a number, with whatever letters follow it (1e5, 0x1F)
        ++Pos_;
        while (Pos_ < length && inWord(Pos_))
            ++Pos_;
        return;
    }
    ++Pos_;
    if (c == u'"') {
        State_ = EState::DoubleQuoted;
        Backslashes_ = (Dialect_ & ScriptDialectBackslashEscapesInDoubleQuotes) != 0;
    } else if (c == u'\'') {
        State_ = EState::SingleQuoted;
        Backslashes_ = (Dialect_ & ScriptDialectBackslashEscapes) != 0;
    } else if (c == u'`' && (Dialect_ & ScriptDialectBackquotes)) {
        State_ = EState::BackQuoted;
    } else if (c == u'#' && (Dialect_ & ScriptDialectMySQLClient)) {
        State_ = EState::LineComment;
    } else if (c == u'-' && next == u'-') {
        State_ = EState::LineComment;
        ++Pos_;
    } else if (c == u'/' && next == u'*') {
        State_ = EState::BlockComment;
        ++Pos_;
    } else if (c == u'(') {
        ++Parentheses_;
    } else if (c == u')') {
        Parentheses_ = qMax(0, Parentheses_ - 1);
    } else if (c == u'$' && (Dialect_ & ScriptDialectDollarQuotes)) {
        --Pos_;
        const qsizetype tag = DollarTagLength();
        if (tag > 0) {
            DollarTag_ = Text_.sliced(Pos_, tag);
            State_ = EState::DollarQuoted;
            Pos_ += tag;
        } else {
            ++Pos_;
        }
    }
}

qsizetype CScriptSplitter::DollarTagLength() const
{
    // Words are read whole, so this "$" does not follow a name's character.
    const qsizetype length = Text_.size();
    qsizetype end = Pos_ + 1;
    if (end < length && IsTagStart(Text_.at(end))) {
        while (end < length && IsTagChar(Text_.at(end)))
            ++end;
    }
    return end < length && Text_.at(end) == u'$' ? end + 1 - Pos_ : 0;
}

bool CScriptSplitter::DelimiterDirective(qsizetype wordEnd)
{
    if (wordEnd - Pos_ != 9 ||
        QStringView(Text_).sliced(Pos_, 9).compare(u"delimiter", Qt::CaseInsensitive) != 0 ||
        ContainsSql(QStringView(Text_).sliced(PieceStart_, Pos_ - PieceStart_), Dialect_))
        return false;
    // The mysql client's reading: the first word after DELIMITER on its line
    // is the new terminator; the rest of the line goes with the directive.
    const qsizetype length = Text_.size();
    qsizetype start = wordEnd;
    while (start < length && (Text_.at(start) == u' ' || Text_.at(start) == u'\t'))
        ++start;
    qsizetype end = start;
    while (end < length && !Text_.at(end).isSpace())
        ++end;
    if (end == start)
        return false; // no terminator given: the server will say what it makes of it
    qsizetype lineEnd = Text_.indexOf(u'\n', end);
    lineEnd = lineEnd < 0 ? length : lineEnd + 1;
    Terminator_ = Text_.sliced(start, end - start);
    Pos_ = lineEnd;
    PieceStart_ = lineEnd;
    ResetStatement();
    return true;
}

void CScriptSplitter::Word(QStringView word)
{
    // Bodies matter only while ";" ends statements: after SET TERM the
    // script marks its ends itself.
    if (Terminator_ != u";" || Kind_ == EKind::Plain)
        return;
    const QString upper = word.toString().toUpper();
    if (Kind_ == EKind::Undecided) {
        ReadHead(upper);
        return;
    }
    if (Kind_ == EKind::Routine) { // psql's reading of BEGIN ATOMIC bodies
        if (Parentheses_ > 0)
            return;
        if (upper == u"BEGIN" || (upper == u"CASE" && !Blocks_.isEmpty()))
            Blocks_.append(upper == u"BEGIN" ? u'B' : u'C');
        else if (upper == u"END" && !Blocks_.isEmpty())
            Blocks_.chop(1);
        return;
    }
    if (upper == u"BEGIN" || upper == u"CASE") {
        Blocks_.append(upper == u"BEGIN" ? u'B' : u'C');
    } else if (upper == u"END") {
        if (Blocks_.isEmpty())
            return;
        const bool block = Blocks_.back() == u'B';
        Blocks_.chop(1);
        if (Kind_ == EKind::Module && block && Blocks_.isEmpty() && SeenAs_) {
            if (PendingSubroutines_ > 0)
                --PendingSubroutines_;
            else
                BodyDone_ = true;
        }
    } else if (Kind_ == EKind::Module && Blocks_.isEmpty() && Parentheses_ == 0) {
        if (upper == u"AS" && !SeenAs_)
            SeenAs_ = true;
        else if (SeenAs_ && AfterDeclare_ && (upper == u"PROCEDURE" || upper == u"FUNCTION"))
            ++PendingSubroutines_;
    }
    AfterDeclare_ = upper == u"DECLARE";
}

void CScriptSplitter::ReadHead(const QString& word)
{
    Head_.append(word);
    const QString head = Head_.join(u' ');
    if (Dialect_ & ScriptDialectTriggerBodies) {
        if (head == u"CREATE TRIGGER" || head == u"CREATE TEMP TRIGGER" ||
            head == u"CREATE TEMPORARY TRIGGER") {
            Kind_ = EKind::Trigger;
            return;
        }
        if (head == u"CREATE" || head == u"CREATE TEMP" || head == u"CREATE TEMPORARY")
            return;
    }
    if (Dialect_ & ScriptDialectAtomicBodies) {
        static const QRegularExpression routine(
            QStringLiteral("\\ACREATE (?:OR REPLACE )?(?:FUNCTION|PROCEDURE)\\z"));
        static const QRegularExpression routineStart(
            QStringLiteral("\\A(?:CREATE|CREATE OR|CREATE OR REPLACE)\\z"));
        if (routine.match(head).hasMatch()) {
            Kind_ = EKind::Routine;
            return;
        }
        if (routineStart.match(head).hasMatch())
            return;
    }
    if (Dialect_ & ScriptDialectModuleBodies) {
        static const QRegularExpression module(
            QStringLiteral("\\A(?:CREATE|ALTER|RECREATE|CREATE OR ALTER) "
                           "(?:PROCEDURE|FUNCTION|TRIGGER|PACKAGE)\\z|\\AEXECUTE BLOCK\\z"));
        static const QRegularExpression moduleStart(
            QStringLiteral("\\A(?:CREATE|ALTER|RECREATE|CREATE OR|CREATE OR ALTER|EXECUTE)\\z"));
        if (module.match(head).hasMatch()) {
            Kind_ = EKind::Module;
            return;
        }
        if (moduleStart.match(head).hasMatch())
            return;
    }
    Kind_ = EKind::Plain;
}

bool CScriptSplitter::EndsHere() const
{
    if (Terminator_ != u";")
        return true;
    switch (Kind_) {
    case EKind::Trigger:
    case EKind::Routine:
        return Blocks_.isEmpty();
    case EKind::Module:
        return Blocks_.isEmpty() && (!SeenAs_ || BodyDone_);
    default:
        return true;
    }
}

void CScriptSplitter::EndPiece(qsizetype end)
{
    const QString piece = Text_.sliced(PieceStart_, end - PieceStart_);
    const QString terminator = TerminatorDirective(piece);
    if (terminator.isEmpty()) {
        Pieces_.append(piece);
        // Pos_ is already past the terminator, or at the text's end.
        Spans_.append(CStatementSpan{PieceStart_, end - PieceStart_, Pos_});
    } else
        Terminator_ = terminator;
    ResetStatement();
}

void CScriptSplitter::ResetStatement()
{
    Kind_ = EKind::Undecided;
    Head_.clear();
    Blocks_.clear();
    Parentheses_ = 0;
    SeenAs_ = false;
    BodyDone_ = false;
    AfterDeclare_ = false;
    PendingSubroutines_ = 0;
}
