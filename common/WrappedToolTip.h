#pragma once

#include <QString>

// A tooltip that shows text word-wrapped in a column width pixels wide
// (wider only where a single word is). The text is shown exactly, markup
// characters included.
QString WrappedToolTip(const QString& text, int width);
