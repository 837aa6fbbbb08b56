#pragma once

#include "engine/renamerowlist.h"
#include "ui/rowlistmodel.h"

// ListV's view of the main row list. The list owns the rows; this model only
// translates them, so 100,000 rows cost no widgets.
class RenameRowModel : public RowListModel
{
    Q_OBJECT

public:
    explicit RenameRowModel(const RenameRowList &rows, QObject *parent = nullptr);
    ~RenameRowModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Rows can be dragged to another place of the list.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The folder job names its first two columns after folders.
    void setFolderHeaders(bool folders);

    static QString header(RenameField field, bool folders = false);
    static bool isHiddenField(RenameField field);

private:
    const RenameRowList &m_rows;
    bool m_folderHeaders = false;
};
