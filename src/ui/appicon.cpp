#include "ui/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A blue tile with a white sheet and an arrow: files that change name.
QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x6d, 0xb5));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(14, 12, 26, 34), 3, 3);
    painter.setBrush(QColor(0x2f, 0x6d, 0xb5));
    for (int line = 0; line < 3; ++line)
        painter.drawRect(QRectF(19, 20 + line * 8, 16, 3));
    QPainterPath arrow;
    arrow.moveTo(34, 40);
    arrow.lineTo(46, 40);
    arrow.lineTo(46, 34);
    arrow.lineTo(56, 45);
    arrow.lineTo(46, 56);
    arrow.lineTo(46, 50);
    arrow.lineTo(34, 50);
    arrow.closeSubpath();
    painter.setBrush(QColor(0xff, 0xc1, 0x2e));
    painter.drawPath(arrow);
    return pixmap;
}

} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawIcon(size));
    return icon;
}
