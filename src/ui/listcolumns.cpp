#include "ui/listcolumns.h"

#include "engine/rows/renamerow.h"
#include "engine/rows/tagrow.h"
#include "persist/settings.h"
#include "ui/renamerowmodel.h"
#include "ui/rowlistview.h"
#include "ui/tagrowmodel.h"

#include <QFontMetrics>
#include <QHeaderView>

ListColumns::ListColumns(RowListView *main, RowListView *mp3, bool debug)
    : m_main(main)
    , m_mp3(mp3)
    , m_debug(debug)
{
}

int ListColumns::pixels(int twips) const
{
    return PixelsFromTwips(twips, m_main->logicalDpiX());
}

int ListColumns::twips(int pixels) const
{
    return TwipsFromPixels(pixels, m_main->logicalDpiX());
}

void ListColumns::applyMain(const QList<int> &widths)
{
    constexpr int folderTwips = 8000;
    constexpr int debugTwips = 5000;
    for (int column = 0; column < RenameRow::FieldCount; ++column) {
        if (RenameRowModel::isHiddenField(static_cast<RenameField>(column))) {
            m_main->setColumnHidden(column, !m_debug);
            if (m_debug)
                m_main->setColumnWidth(column, pixels(debugTwips));
        } else {
            const int width = column < 5 ? widths.value(column, Settings::defaultListColumnWidths().value(column))
                                         : folderTwips;
            m_main->setColumnWidth(column, pixels(width));
        }
    }
}

QList<int> ListColumns::mainTwips() const
{
    QList<int> widths;
    for (int column = 0; column < RenameRow::FieldCount; ++column)
        widths << (m_main->isColumnHidden(column) ? 0 : twips(m_main->columnWidth(column)));
    return widths;
}

void ListColumns::applyMp3(const QList<int> &widths)
{
    for (int column = 0; column < TagRow::FieldCount; ++column) {
        const bool hidden = TagRowModel::isHiddenColumn(column);
        m_mp3->setColumnHidden(column, hidden && !m_debug);
        if (hidden) {
            if (m_debug)
                m_mp3->setColumnWidth(column, pixels(TagRow::defaultWidth(column, true)));
        } else if (widths.value(column) > 0) {
            m_mp3->setColumnWidth(column, pixels(widths.value(column)));
        }
    }
}

QList<int> ListColumns::mp3Twips() const
{
    QList<int> widths;
    for (int column = 0; column < TagRow::FieldCount; ++column)
        widths << (m_mp3->isColumnHidden(column) ? 0 : twips(m_mp3->columnWidth(column)));
    return widths;
}

void ListColumns::setFont(const QFont &font)
{
    for (RowListView *list : {m_main, m_mp3}) {
        list->setFont(font);
        list->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    }
}
