#pragma once

#include "engine/rows/rowlistobserver.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

// The rows of one list, the single source of truth for what the list shows.
// Rows are addressed by their 1-based RowIndex. A view over the list watches
// it through a RowListObserver; callers never keep references to rows across
// a Try or an Execute.
template <class Row>
class RowList
{
public:
    int count() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    const Row &row(int index) const { return m_rows[checked(index)]; }

    // Direct access for bulk edits; call changed() afterwards so views follow.
    Row &editRow(int index) { return m_rows[checked(index)]; }

    template <class Key>
    QString field(int index, Key key) const { return row(index)[key]; }

    template <class Key>
    void setField(int index, Key key, QString text)
    {
        m_rows[checked(index)].set(key, std::move(text));
        changed(index, index);
    }

    // Replaces a whole row, keeping its selected flag.
    void setRow(int index, Row row)
    {
        row.selected = m_rows[checked(index)].selected;
        m_rows[checked(index)] = std::move(row);
        changed(index, index);
    }

    bool isSelected(int index) const { return row(index).selected; }
    void setSelected(int index, bool selected)
    {
        Row &target = m_rows[checked(index)];
        if (target.selected == selected)
            return;
        target.selected = selected;
        changed(index, index);
    }

    void clearSelection()
    {
        for (Row &r : m_rows)
            r.selected = false;
        if (!m_rows.empty())
            changed(1, count());
    }

    int selectedCount() const
    {
        return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(),
                                              [](const Row &r) { return r.selected; }));
    }

    void clear()
    {
        if (m_observer)
            m_observer->aboutToReset();
        m_rows.clear();
        m_rows.shrink_to_fit();
        if (m_observer)
            m_observer->reset();
    }

    void append(Row row) { insert(count() + 1, std::move(row)); }

    // Inserts at index; an index past the end appends.
    int insert(int index, Row row)
    {
        const int at = std::clamp(index, 1, count() + 1);
        if (m_observer)
            m_observer->rowsAboutToBeInserted(at, at);
        m_rows.insert(m_rows.begin() + (at - 1), std::move(row));
        if (m_observer)
            m_observer->rowsInserted();
        return at;
    }

    // Inserts a block of rows, in their order, at index (past the end appends):
    // one move of the rows after it and one notice for the views.
    int insertBlock(int index, std::vector<Row> block)
    {
        const int at = std::clamp(index, 1, count() + 1);
        if (block.empty())
            return at;
        if (m_observer)
            m_observer->rowsAboutToBeInserted(at, at + static_cast<int>(block.size()) - 1);
        m_rows.insert(m_rows.begin() + (at - 1), std::make_move_iterator(block.begin()),
                      std::make_move_iterator(block.end()));
        if (m_observer)
            m_observer->rowsInserted();
        return at;
    }

    void remove(int index)
    {
        checked(index);
        if (m_observer)
            m_observer->rowsAboutToBeRemoved(index, index);
        m_rows.erase(m_rows.begin() + (index - 1));
        if (m_observer)
            m_observer->rowsRemoved();
    }

    // Replaces every row at once (sorting, bulk loads): one reset for the views.
    void replaceAll(std::vector<Row> rows)
    {
        if (m_observer)
            m_observer->aboutToReset();
        m_rows = std::move(rows);
        if (m_observer)
            m_observer->reset();
    }

    const std::vector<Row> &rows() const { return m_rows; }

    // Tells the views that rows first..last changed after a batch of direct edits.
    void changed(int first, int last)
    {
        if (m_observer)
            m_observer->rowsChanged(first, last);
    }

    // A view attaches to a list it only reads.
    void setObserver(RowListObserver *observer) const { m_observer = observer; }
    RowListObserver *observer() const { return m_observer; }

private:
    std::size_t checked(int index) const
    {
        Q_ASSERT(index >= 1 && index <= count());
        return static_cast<std::size_t>(index - 1);
    }

    std::vector<Row> m_rows;
    mutable RowListObserver *m_observer = nullptr;
};
