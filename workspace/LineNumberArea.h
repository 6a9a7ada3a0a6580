#pragma once

// The margin at the editor's left that numbers its lines. The editor gives
// it room in its viewport margins, scrolls it with the text and paints it.

#include <QWidget>

class CSyntaxRichEditCtrl;

class CLineNumberArea : public QWidget
{
public:
    explicit CLineNumberArea(CSyntaxRichEditCtrl& editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CSyntaxRichEditCtrl& Editor_;
};
