#include "ui/rowlistmodel.h"

void RowListModel::rowsAboutToBeInserted(int first, int last)
{
    beginInsertRows({}, first - 1, last - 1);
}

void RowListModel::rowsInserted()
{
    endInsertRows();
}

void RowListModel::rowsAboutToBeRemoved(int first, int last)
{
    beginRemoveRows({}, first - 1, last - 1);
}

void RowListModel::rowsRemoved()
{
    endRemoveRows();
}

void RowListModel::aboutToReset()
{
    beginResetModel();
}

void RowListModel::reset()
{
    endResetModel();
}

void RowListModel::rowsChanged(int first, int last)
{
    Q_EMIT dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1));
}
