#include "persist/storednumber.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace StoredNumber {

int roundToInt32(double value, bool *fits)
{
    const double rounded = std::nearbyint(value);
    *fits = std::isfinite(rounded) && rounded >= std::numeric_limits<int>::min()
            && rounded <= std::numeric_limits<int>::max();
    return *fits ? static_cast<int>(rounded) : 0;
}

bool isNumeric(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

QString format(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace StoredNumber
