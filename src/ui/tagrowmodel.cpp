#include "ui/tagrowmodel.h"

TagRowModel::TagRowModel(const TagRowList &rows, QObject *parent)
    : RowListModel(parent)
    , m_rows(rows)
{
    m_rows.setObserver(this);
}

TagRowModel::~TagRowModel()
{
    if (m_rows.observer() == this)
        m_rows.setObserver(nullptr);
}

bool TagRowModel::isHiddenColumn(int column)
{
    const auto field = static_cast<TagField>(column);
    return field == TagField::Path || field == TagField::SortKey || field == TagField::Save;
}

int TagRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.count();
}

int TagRowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TagRow::FieldCount;
}

QVariant TagRowModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return m_rows.row(index.row() + 1)[index.column()];
}

QVariant TagRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return TagRow::header(section);
}
