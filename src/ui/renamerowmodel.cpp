#include "ui/renamerowmodel.h"

#include "engine/jobs/namecheck.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

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
    const int row = index.row() + 1;
    const auto field = static_cast<RenameField>(index.column());
    // A refusal belongs to the names the Try made, not to a preview over them.
    const RowRejection rejection = previewed(row) ? RowRejection::None : m_rows.row(row).rejection;
    switch (role) {
    case Qt::DisplayRole:
        return shown(row, field);
    case Qt::ToolTipRole:
        if (rejection != RowRejection::None)
            return rejectionText(rejection);
        return shown(row, field);
    case Qt::ForegroundRole:
        if (rejection != RowRejection::None)
            return errorColour(QGuiApplication::palette());
        return {};
    case Qt::FontRole:
        if (field == RenameField::NewName && previewed(row)) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (field == RenameField::Size)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case CurrentNameRole:
        return m_rows.field(row, RenameField::CurrentName);
    case PreviewRole:
        return previewed(row);
    case RejectedRole:
        return rejection != RowRejection::None;
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

QString RenameRowModel::rejectionText(RowRejection reason)
{
    switch (reason) {
    case RowRejection::None:
        break;
    case RowRejection::EmptyName:
        return QStringLiteral("変更後の名前が空白になります。");
    case RowRejection::DotsOnly:
        return QStringLiteral("「.」のみの名前は使用できません。");
    case RowRejection::ForbiddenCharacter:
        return QStringLiteral("名前に使用できない文字が含まれます（") + ForbiddenNameCharacters() + u'）';
    case RowRejection::ControlCharacter:
        return QStringLiteral("変更後の名前に改行などの制御文字が含まれます。");
    case RowRejection::LineBreak:
        return QStringLiteral("名前に改行が含まれるため置換できません。");
    case RowRejection::DuplicateTarget:
        return QStringLiteral("変更後の名前が他の行と重複します。");
    case RowRejection::CreationTimeUnsupported:
        return QStringLiteral("このフォルダのファイルシステムでは作成日を変更できません。");
    case RowRejection::NoExifTime:
        return QStringLiteral("撮影日時（EXIF）が無いため、日時はそのままです。");
    }
    return {};
}

QColor RenameRowModel::errorColour(const QPalette &palette)
{
    // Dark red on a light base, a light red on a dark one.
    return palette.color(QPalette::Base).lightness() < 128 ? QColor(0xff, 0x80, 0x80) : QColor(0xc0, 0x00, 0x00);
}

QString RenameRowModel::shown(int row, RenameField field) const
{
    if (field == RenameField::NewName)
        return newName(row);
    if (RenameRow::isFact(field) && m_readFacts && m_rows.row(row).factsPending())
        m_readFacts(row);
    return m_rows.field(row, field);
}

QString RenameRowModel::newName(int row) const
{
    return previewed(row) ? m_preview.at(row - m_previewFirst) : m_rows.field(row, RenameField::NewName);
}

bool RenameRowModel::previewed(int row) const
{
    return row >= m_previewFirst && row < m_previewFirst + m_preview.size();
}

void RenameRowModel::setPreview(int firstRow, const QStringList &names)
{
    previewChanged();
    m_previewFirst = firstRow;
    m_preview = names;
    previewChanged();
}

void RenameRowModel::clearPreview()
{
    if (m_preview.isEmpty())
        return;
    previewChanged();
    m_preview.clear();
}

void RenameRowModel::previewChanged()
{
    if (m_preview.isEmpty())
        return;
    const int last = std::min<int>(m_previewFirst + m_preview.size() - 1, m_rows.count());
    if (last >= m_previewFirst)
        Q_EMIT dataChanged(index(m_previewFirst - 1, 0), index(last - 1, 0));
}

void RenameRowModel::rowsAboutToBeInserted(int first, int last)
{
    m_preview.clear();
    RowListModel::rowsAboutToBeInserted(first, last);
}

void RenameRowModel::rowsAboutToBeRemoved(int first, int last)
{
    m_preview.clear();
    RowListModel::rowsAboutToBeRemoved(first, last);
}

void RenameRowModel::aboutToReset()
{
    m_preview.clear();
    RowListModel::aboutToReset();
}
