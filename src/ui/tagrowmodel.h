#pragma once

#include "engine/rows/tagrowlist.h"
#include "ui/rowlistmodel.h"

// ListV_MP3's view of the MP3 job's rows; like RenameRowModel it only
// translates, so a long list costs no widgets.
class TagRowModel : public RowListModel
{
    Q_OBJECT

public:
    explicit TagRowModel(const TagRowList &rows, QObject *parent = nullptr);
    ~TagRowModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The columns that stay out of sight unless Corvane runs with -debug.
    static bool isHiddenColumn(int column);

private:
    const TagRowList &m_rows;
};
