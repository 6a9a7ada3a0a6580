#include "shell/ProductVersion.h"

#include <QStringList>

QString ProductVersionText()
{
    return ProductVersionText(QStringLiteral(TABLESCOPE_VERSION));
}

QString ProductVersionText(const QString& version)
{
    // Each part stands for one 16-bit word of a version number.
    int numbers[4] = {};
    const QStringList parts = version.split(QLatin1Char('.'));
    if (version.isEmpty() || parts.size() > 4)
        return QStringLiteral("0.0.0");
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        bool ok = !part.isEmpty() && part.size() <= 5;
        for (QChar c : part)
            ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        numbers[i] = ok ? part.toInt() : -1;
        if (numbers[i] < 0 || numbers[i] > 0xFFFF)
            return QStringLiteral("0.0.0");
    }
    return QStringLiteral("%1.%2.%3").arg(numbers[0]).arg(numbers[1]).arg(numbers[2]);
}
