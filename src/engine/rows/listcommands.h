#pragma once

#include "engine/rows/rowlist.h"
#include "platform/crlf.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

// The list editing commands, on either list (the main list or the MP3 list).
// They change only the rows, never the disk.
namespace ListCommands {

template <class Row>
void selectAll(RowList<Row> &rows)
{
    for (int index = 1; index <= rows.count(); ++index)
        rows.editRow(index).selected = true;
    if (!rows.isEmpty())
        rows.changed(1, rows.count());
}

// The first selected row, 0 when none is.
template <class Row>
int firstSelected(const RowList<Row> &rows)
{
    for (int index = 1; index <= rows.count(); ++index) {
        if (rows.isSelected(index))
            return index;
    }
    return 0;
}

template <class Row>
std::vector<int> selectedIndexes(const RowList<Row> &rows)
{
    std::vector<int> indexes;
    for (int index = 1; index <= rows.count(); ++index) {
        if (rows.isSelected(index))
            indexes.push_back(index);
    }
    return indexes;
}

// Moves every selected row one place up (step -1) or down (step +1). Rows are
// taken nearest the edge first; the first one that cannot move stops the rest,
// so a block at the edge stays together. Returns whether anything moved.
template <class Row>
bool moveSelected(RowList<Row> &rows, int step)
{
    std::vector<int> indexes = selectedIndexes(rows);
    if (step > 0)
        std::reverse(indexes.begin(), indexes.end());
    bool moved = false;
    for (int index : indexes) {
        const int target = index + step;
        if (target < 1 || target > rows.count())
            break;
        rows.editRow(index).swapFields(rows.editRow(target));
        rows.editRow(index).selected = false;
        rows.editRow(target).selected = true;
        rows.changed(std::min(index, target), std::max(index, target));
        moved = true;
    }
    return moved;
}

// Removes the selected rows; returns how many went.
template <class Row>
int deleteSelected(RowList<Row> &rows)
{
    const int before = rows.count();
    std::vector<Row> kept;
    kept.reserve(rows.rows().size());
    for (const Row &row : rows.rows()) {
        if (!row.selected)
            kept.push_back(row);
    }
    if (static_cast<int>(kept.size()) != before)
        rows.replaceAll(std::move(kept));
    return before - rows.count();
}

// The clipboard text: a header line and one line per selected row, each cell
// followed by a tab, each line by CR LF.
template <class Row>
QString copyText(const RowList<Row> &rows, const QStringList &headers, int columns)
{
    QString text;
    for (int column = 0; column < columns; ++column)
        text += headers.value(column) + u'\t';
    text += CrLf;
    for (const Row &row : rows.rows()) {
        if (!row.selected)
            continue;
        for (int column = 0; column < columns; ++column)
            text += row[column] + u'\t';
        text += CrLf;
    }
    return text;
}

// Sorts by the texts in keyColumn, ignoring letter case, keeping the order of
// equal keys.
template <class Row>
void sortByKey(RowList<Row> &rows, int keyColumn, bool descending)
{
    std::vector<Row> sorted = rows.rows();
    std::stable_sort(sorted.begin(), sorted.end(), [keyColumn, descending](const Row &a, const Row &b) {
        const int order = a[keyColumn].compare(b[keyColumn], Qt::CaseInsensitive);
        return descending ? order > 0 : order < 0;
    });
    rows.replaceAll(std::move(sorted));
}

} // namespace ListCommands
