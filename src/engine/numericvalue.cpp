#include "engine/numericvalue.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

double NumericValue(const QString &text)
{
    static const QRegularExpression leadingNumber(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    QString compact = text;
    compact.remove(QRegularExpression(QStringLiteral("[ \\t\\r\\n]")));
    const QRegularExpressionMatch match = leadingNumber.match(compact);
    if (!match.hasMatch())
        return 0;
    const double value = match.captured().toDouble();
    return std::isfinite(value) ? value : 0;
}

qint64 WholeValue(const QString &text)
{
    constexpr double limit = 9.2e18;
    const double value = std::nearbyint(NumericValue(text));
    return static_cast<qint64>(std::clamp(value, -limit, limit));
}
