#include "ui/namedifference.h"

#include <algorithm>

NameDifference NameDifference::between(const QString &current, const QString &planned)
{
    const int shorter = int(std::min(current.size(), planned.size()));
    int prefix = 0;
    while (prefix < shorter && current.at(prefix) == planned.at(prefix))
        ++prefix;
    // Equal high surrogates followed by different low ones: the whole character differs.
    if (prefix > 0 && prefix < shorter && current.at(prefix - 1).isHighSurrogate())
        --prefix;

    int suffix = 0;
    while (suffix < shorter - prefix
           && current.at(current.size() - 1 - suffix) == planned.at(planned.size() - 1 - suffix))
        ++suffix;
    // The shared end begins with a low surrogate whose high half differs.
    if (suffix > 0 && planned.at(planned.size() - suffix).isLowSurrogate())
        --suffix;

    return {prefix, int(current.size()) - prefix - suffix, int(planned.size()) - prefix - suffix};
}
