#pragma once

#include <QString>

class TextEngine;

// The column a list was last sorted by and its order. Clicking the same
// column again flips the order; another column starts ascending.
class SortState
{
public:
    // Records a click on column and returns whether the new order is descending.
    bool click(int column);

    int column() const { return m_column; }
    bool descending() const { return m_descending; }
    // Moving rows by hand leaves the list unsorted.
    void forget() { m_column = -1; m_descending = false; }

    // The key a cell sorts by: digit runs padded to 11 digits, so 2 sorts
    // before 10; other columns lose their thousands separators first, so sizes
    // and dates sort by value.
    static QString sortKey(TextEngine &text, const QString &cell, bool firstColumn);

private:
    int m_column = -1;
    bool m_descending = false;
};
