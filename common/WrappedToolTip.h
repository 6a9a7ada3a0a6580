#pragma once

#include <QString>

// A tooltip that shows text word-wrapped at width pixels. The text is shown
// exactly, markup characters included.
QString WrappedToolTip(const QString& text, int width);
