#pragma once

// Sizes given in dialog units, turned into pixels of a widget's font: a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height. Sizes kept this way grow with the
// font, as the dialog layouts intend.

#include <QFontMetrics>
#include <QWidget>

inline int DialogUnitsX(const QWidget* widget, int units)
{
    return (units * QFontMetrics(widget->font()).averageCharWidth() + 2) / 4;
}

inline int DialogUnitsY(const QWidget* widget, int units)
{
    return (units * QFontMetrics(widget->font()).height() + 4) / 8;
}
