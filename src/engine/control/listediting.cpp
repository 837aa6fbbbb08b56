#include "engine/control/listediting.h"

#include "engine/control/commandstates.h"
#include "engine/control/guardeduserchannel.h"
#include "engine/control/inputcommands.h"
#include "engine/control/jobswitch.h"
#include "engine/jobs/jobinputs.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/rows/listcommands.h"
#include "engine/rows/sortstate.h"
#include "platform/pathtext.h"

bool ListEditing::refused() const
{
    return m_parts.user.refuses();
}

bool ListEditing::onTagRows() const
{
    return Jobs::editsTags(m_parts.jobSwitch.job());
}

template <class Edit>
void ListEditing::onActiveList(Edit edit)
{
    if (onTagRows())
        edit(m_parts.tagJob.rows());
    else
        edit(m_parts.rows);
}

void ListEditing::ClearLists()
{
    if (refused())
        return;
    m_parts.rows.clear();
    m_parts.tagJob.rows().clear();
    m_parts.listChanged();
}

void ListEditing::DeleteAllRows()
{
    if (refused())
        return;
    onActiveList([](auto &rows) { rows.clear(); });
    m_parts.currentFolder.clear();
    m_parts.commandFilePath.clear();
    m_parts.inputCommands.SeedInputsFromRow(0);
    m_parts.listChanged();
}

void ListEditing::SelectAllRows()
{
    if (!refused())
        onActiveList([](auto &rows) { ListCommands::selectAll(rows); });
}

void ListEditing::MoveSelectedRows(int step)
{
    if (!refused())
        onActiveList([step](auto &rows) { ListCommands::moveSelected(rows, step); });
}

void ListEditing::DeleteSelectedRows()
{
    if (refused())
        return;
    onActiveList([](auto &rows) { ListCommands::deleteSelected(rows); });
    m_parts.inputCommands.SeedInputsFromRow(0);
    m_parts.listChanged();
}

void ListEditing::SortActiveList(int column, bool descending)
{
    if (refused())
        return;
    if (!onTagRows() && RenameRow::isFact(static_cast<RenameField>(column)))
        m_parts.readPendingFacts();
    onActiveList([this, column, descending](auto &rows) {
        using Row = std::decay_t<decltype(rows.row(1))>;
        const int key = static_cast<int>(Row::Field::SortKey);
        for (int i = 1; i <= rows.count(); ++i)
            rows.editRow(i).set(key, SortState::sortKey(m_parts.text, rows.row(i)[column], column == 0));
        ListCommands::sortByKey(rows, key, descending);
    });
}

void ListEditing::SetRowSelected(int row, bool on)
{
    if (!refused())
        m_parts.rows.editRow(row).selected = on;
}

void ListEditing::SetTagRowSelected(int row, bool on)
{
    if (!refused())
        m_parts.tagJob.rows().editRow(row).selected = on;
}

QString ListEditing::ActiveListText(const QStringList &mainHeaders)
{
    if (!onTagRows()) {
        m_parts.readPendingFacts();
        return ListCommands::copyText(m_parts.rows, mainHeaders, 6);
    }
    return ListCommands::copyText(m_parts.tagJob.rows(), TagRow::headers(), 10);
}

QStringList ListEditing::ActiveColumn(int column) const
{
    const bool mp3 = onTagRows();
    const int count = m_parts.jobSwitch.activeRowCount();
    QStringList values;
    values.reserve(count);
    for (int i = 1; i <= count; ++i)
        values << (mp3 ? m_parts.tagJob.rows().row(i)[column - 1] : m_parts.rows.row(i)[RenameField::NewName]);
    return values;
}

void ListEditing::ApplyDirectData(int column, const QStringList &values)
{
    if (refused())
        return;
    if (onTagRows())
        applyToTagRows(column, values);
    else
        applyToMainRows(values);
    m_parts.inputs.ChkManual = true;
    m_parts.states.offerTry();
}

void ListEditing::applyToTagRows(int column, const QStringList &values)
{
    TagRowList &rows = m_parts.tagJob.rows();
    for (int i = 1; i <= rows.count(); ++i) {
        rows.editRow(i).selected = false;
        rows.editRow(i).set(column - 1, values.value(i - 1));
    }
    rows.changed(1, rows.count());
}

void ListEditing::applyToMainRows(const QStringList &values)
{
    RenameRowList &rows = m_parts.rows;
    for (int i = 1; i <= rows.count(); ++i) {
        RenameRow &row = rows.editRow(i);
        row.selected = false;
        row.rejection = RowRejection::None;
        row.set(RenameField::NewName, values.value(i - 1));
        row.set(RenameField::Path, JoinPath(row.folder(), values.value(i - 1)));
    }
    rows.changed(1, rows.count());
}
