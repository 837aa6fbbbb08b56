#pragma once

#include <QStyledItemDelegate>

// Draws the main list's cells: the part of a planned name that differs from
// the current name in bold, refused rows in the error colour (selected ones
// on an error background), and tool-tips only where they add something: the
// reason of a refused row, or the whole text of an elided cell.
class RenameRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
