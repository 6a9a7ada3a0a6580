#include "common/BoldFont.h"

#include <QFont>
#include <QWidget>

void SetBoldFont(QWidget* window)
{
    // Never destroyed: it must outlive every window that uses it, and font
    // objects may not be released once the application object is gone.
    static QFont* const Bold = [window] {
        auto* font = new QFont(window->font());
        font->setWeight(QFont::Bold);
        return font;
    }();
    window->setFont(*Bold);
}
