#include "ui/renamerowdelegate.h"

#include "engine/rows/renamerow.h"
#include "ui/namedifference.h"
#include "ui/renamerowmodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>

namespace {

bool isNewName(const QModelIndex &index)
{
    return index.column() == static_cast<int>(RenameField::NewName);
}

} // namespace

void RenameRowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(RenameRowModel::RejectedRole).toBool()) {
        // The selection shows the refused rows after a Try: they keep their colour there too.
        option->palette.setColor(QPalette::Highlight, QColor(0xc0, 0x20, 0x20));
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }
}

void RenameRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!isNewName(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const NameDifference difference =
        NameDifference::between(index.data(RenameRowModel::CurrentNameRole).toString(), opt.text);
    if (difference.plannedLength == 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    paintMarked(painter, opt, difference.start, difference.plannedLength);
}

void RenameRowDelegate::paintMarked(QPainter *painter, QStyleOptionViewItem option, int start, int length) const
{
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QString text = option.text;
    option.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);

    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget)
                           .adjusted(style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1, 0,
                                     -style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) - 1, 0);
    const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, area.width());
    // An elided name marks only the part still shown; the ellipsis stays plain.
    const int visible = shown == text ? int(text.size()) : int(shown.size()) - 1;
    const int end = std::min(start + length, visible);

    QTextLayout layout(shown, option.font);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(textOption);
    if (start < end) {
        QTextCharFormat marked;
        marked.setFontWeight(QFont::Bold);
        QTextLayout::FormatRange range{start, end - start, marked};
        layout.setFormats({range});
    }
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(area.width());
    layout.endLayout();

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setClipRect(area);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const int top = area.top() + (area.height() - int(line.height())) / 2;
    layout.draw(painter, QPointF(area.left(), top));
    painter->restore();
}

bool RenameRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                  const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool rejected = index.data(RenameRowModel::RejectedRole).toBool();
    const bool elided = opt.fontMetrics.horizontalAdvance(opt.text) > opt.rect.width() - 8;
    if (!rejected && !elided) {
        QToolTip::hideText();
        return true;
    }
    QString tip = index.data(Qt::ToolTipRole).toString();
    if (rejected && elided)
        tip += u'\n' + opt.text;
    QToolTip::showText(event->globalPos(), tip, view->viewport(), opt.rect);
    return true;
}
