#pragma once

#include "engine/rows/renamerowlist.h"
#include "ui/rowlistmodel.h"

#include <QStringList>

#include <functional>

class QPalette;

// ListV's view of the main row list. The list owns the rows; this model only
// translates them, so 100,000 rows cost no widgets.
class RenameRowModel : public RowListModel
{
    Q_OBJECT

public:
    enum Role {
        // The row's current name, against which its planned name is marked.
        CurrentNameRole = Qt::UserRole + 1,
        // True for a planned name that is only a preview, not a checked plan.
        PreviewRole,
        // True for a row the last Try refused.
        RejectedRole,
    };

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
    // Reads a row's dates and size when a load left them out: only the rows
    // the list shows need them.
    void setFactReader(std::function<void(int row)> read) { m_readFacts = std::move(read); }

    // Planned names of the rows from firstRow (1-based) on, shown in place
    // of NewName until cleared; the rows themselves stay as they are.
    void setPreview(int firstRow, const QStringList &names);
    void clearPreview();
    bool hasPreview() const { return !m_preview.isEmpty(); }

    static QString header(RenameField field, bool folders = false);
    static bool isHiddenField(RenameField field);
    static QString rejectionText(RowRejection reason);
    // A text colour for refused rows that stands out on the palette's base.
    static QColor errorColour(const QPalette &palette);

protected:
    // Rows coming or going shift the rows a preview was made for.
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void aboutToReset() override;

private:
    QString newName(int row) const;
    QString shown(int row, RenameField field) const;
    bool previewed(int row) const;
    void previewChanged();

    const RenameRowList &m_rows;
    bool m_folderHeaders = false;
    int m_previewFirst = 0;
    QStringList m_preview;
    std::function<void(int row)> m_readFacts;
};
