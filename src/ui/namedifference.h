#pragma once

#include <QString>

// The part of a planned name that differs from the current name: what lies
// between the beginning and the end both names share. Counted in UTF-16 code
// units, and never splitting a surrogate pair, so a marked range always holds
// whole characters.
struct NameDifference
{
    // The first code unit that differs, the same in both names.
    int start = 0;
    // How many code units of each name differ (0: nothing inserted, or nothing removed).
    int currentLength = 0;
    int plannedLength = 0;

    static NameDifference between(const QString &current, const QString &planned);

    bool isEmpty() const { return currentLength == 0 && plannedLength == 0; }
    bool operator==(const NameDifference &) const = default;
};
