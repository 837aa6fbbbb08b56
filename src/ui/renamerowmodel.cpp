#include "ui/renamerowmodel.h"

RenameRowModel::RenameRowModel(const RenameRowList &rows, QObject *parent)
    : RowListModel(parent)
    , m_rows(rows)
{
    m_rows.setObserver(this);
}

RenameRowModel::~RenameRowModel()
{
    if (m_rows.observer() == this)
        m_rows.setObserver(nullptr);
}

QString RenameRowModel::header(RenameField field, bool folders)
{
    switch (field) {
    case RenameField::NewName:
        return folders ? QStringLiteral("変更後のフォルダ名") : QStringLiteral("変更後のファイル名");
    case RenameField::CurrentName:
        return folders ? QStringLiteral("元のフォルダ名") : QStringLiteral("元のファイル名");
    case RenameField::Created:
        return QStringLiteral("作成日");
    case RenameField::Modified:
        return QStringLiteral("更新日");
    case RenameField::Size:
        return QStringLiteral("サイズ(Byte)");
    case RenameField::Folder:
        return QStringLiteral("フォルダ名");
    case RenameField::Path:
        return QStringLiteral("パス");
    case RenameField::TempName:
        return QStringLiteral("仮ファイル名");
    case RenameField::SortKey:
        return QStringLiteral("並べ替え用");
    case RenameField::OriginalName:
        return QStringLiteral("オリジナルファイル名");
    }
    return {};
}

bool RenameRowModel::isHiddenField(RenameField field)
{
    return static_cast<int>(field) >= static_cast<int>(RenameField::Path);
}

int RenameRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.count();
}

int RenameRowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RenameRow::FieldCount;
}

QVariant RenameRowModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const auto field = static_cast<RenameField>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_rows.field(index.row() + 1, field);
    case Qt::TextAlignmentRole:
        if (field == RenameField::Size)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant RenameRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return header(static_cast<RenameField>(section), m_folderHeaders);
}

Qt::ItemFlags RenameRowModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

void RenameRowModel::setFolderHeaders(bool folders)
{
    if (m_folderHeaders == folders)
        return;
    m_folderHeaders = folders;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 1);
}
