#include "common/WrappedToolTip.h"

QString WrappedToolTip(const QString& text, int width)
{
    // Rich text wraps; a table of fixed width sets where.
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
        .arg(width)
        .arg(text.toHtmlEscaped());
}
