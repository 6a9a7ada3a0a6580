#include "workspace/LineNumberArea.h"

#include "workspace/SyntaxRichEditCtrl.h"

CLineNumberArea::CLineNumberArea(CSyntaxRichEditCtrl& editor) : QWidget(&editor), Editor_(editor)
{
    setObjectName(QStringLiteral("line-numbers"));
}

QSize CLineNumberArea::sizeHint() const
{
    return QSize(Editor_.LineNumberWidth(), 0);
}

void CLineNumberArea::paintEvent(QPaintEvent* event)
{
    Editor_.PaintLineNumbers(*event);
}
