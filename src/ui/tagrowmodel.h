#pragma once

#include "engine/tagrowlist.h"

#include <QAbstractTableModel>

// ListV_MP3's view of the MP3 job's rows; like RenameRowModel it only
// translates, so a long list costs no widgets.
class TagRowModel : public QAbstractTableModel, private RowListObserver
{
    Q_OBJECT

public:
    explicit TagRowModel(TagRowList &rows, QObject *parent = nullptr);
    ~TagRowModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The columns that stay out of sight unless Corvane runs with -debug.
    static bool isHiddenColumn(int column);

private:
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void aboutToReset() override;
    void reset() override;
    void rowsChanged(int first, int last) override;

    TagRowList &m_rows;
};
