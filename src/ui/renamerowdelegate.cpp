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

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

QTextLine layOut(QTextLayout &layout, int width)
{
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    layout.endLayout();
    return line;
}

void drawText(QPainter *painter, const QStyleOptionViewItem &option, const QString &text, int start, int length)
{
    if (text.isEmpty())
        return;
    const QWidget *widget = option.widget;
    QStyle *style = styleOf(option);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area =
        style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget).adjusted(margin, 0, -margin, 0);
    QTextOption textOption(QStyle::visualAlignment(option.direction, option.displayAlignment));
    textOption.setTextDirection(option.direction);
    textOption.setWrapMode(QTextOption::NoWrap);
    QTextLayout layout(text, option.font);
    layout.setTextOption(textOption);
    QTextLine line = layOut(layout, area.width());
    int visible = int(text.size());
    if (line.naturalTextWidth() > area.width()) {
        const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, area.width());
        // An elided name marks only the part still shown; the ellipsis stays plain.
        visible = int(shown.size()) - 1;
        layout.setText(shown);
    }
    const int end = std::min(start + length, visible);
    if (start < end) {
        QTextCharFormat marked;
        marked.setFontWeight(QFont::Bold);
        layout.setFormats({QTextLayout::FormatRange{start, end - start, marked}});
    }
    if (start < end || visible < text.size())
        line = layOut(layout, area.width());

    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(area);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const int top = area.top() + (area.height() - int(line.height())) / 2;
    layout.draw(painter, QPointF(area.left(), top));
    painter->restore();
}

void drawFocus(QPainter *painter, const QStyleOptionViewItem &option)
{
    QStyle *style = styleOf(option);
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &option, option.widget);
    focus.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor =
        option.palette.color(group, option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
}

// The style draws the cell without its text, and the text is laid out here
// once: the style's own item painting lays every cell's text out two or three
// times (to size it, to elide it, to draw it), which is most of a page's paint.
void paintText(QPainter *painter, QStyleOptionViewItem option, int start, int length)
{
    const QString text = option.text;
    option.text.clear();
    // The focus frame goes over the text, as the style draws it.
    const bool focused = option.state & QStyle::State_HasFocus;
    option.state &= ~QStyle::State_HasFocus;
    styleOf(option)->drawControl(QStyle::CE_ItemViewItem, &option, painter, option.widget);
    drawText(painter, option, text, start, length);
    if (focused)
        drawFocus(painter, option);
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
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    int start = 0;
    int length = 0;
    if (isNewName(index)) {
        const NameDifference difference =
            NameDifference::between(index.data(RenameRowModel::CurrentNameRole).toString(), opt.text);
        start = difference.start;
        length = difference.plannedLength;
    }
    paintText(painter, opt, start, length);
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
