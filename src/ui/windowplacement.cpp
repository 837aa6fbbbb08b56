#include "ui/windowplacement.h"

#include "platform/showmessage.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

int keepLeft(const QRect &screen, int width, int x)
{
    return std::max(screen.left(), std::min(x, screen.left() + screen.width() - width));
}

}

QRect KeepOnScreen(const QRect &window, const QRect &screen)
{
    const QSize size = window.size().boundedTo(screen.size());
    const int left = std::clamp(window.left(), screen.left(), screen.left() + screen.width() - size.width());
    const int top = std::clamp(window.top(), screen.top(), screen.top() + screen.height() - size.height());
    return {QPoint(left, top), size};
}

QPoint CornerAtPointer(const QRect &screen, QSize window, QPoint pointer)
{
    const int top = std::max(screen.top(), std::min(pointer.y(), screen.top() + screen.height() - window.height()));
    return {keepLeft(screen, window.width(), pointer.x()), top};
}

QPoint DropAtPointer(const QRect &screen, QSize window, QPoint pointer)
{
    int top = pointer.y();
    if (top + window.height() > screen.top() + screen.height())
        top = std::max(screen.top(), pointer.y() - window.height());
    return {keepLeft(screen, window.width(), pointer.x()), top};
}

namespace {

const QScreen *screenAt(QPoint pointer)
{
    const QScreen *screen = QGuiApplication::screenAt(pointer);
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

QRect AvailableAreaFor(const QRect &rect)
{
    const QScreen *best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (!best)
        best = screenAt(rect.center());
    return best ? best->availableGeometry() : QRect();
}

void CentreOnPointer(QWidget *window)
{
    const QPoint pointer = QCursor::pos();
    const QScreen *screen = screenAt(pointer);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    const QPoint corner = area.topLeft() + PlaceAtPointer(area.size(), size, pointer - area.topLeft());
    const QRect placed = KeepOnScreen(QRect(corner, size), area);
    if (placed.size() != size)
        window->resize(window->size() - (size - placed.size()));
    window->move(placed.topLeft());
}

void MoveToPointer(QWidget *window, bool dropDown)
{
    const QPoint pointer = QCursor::pos();
    const QScreen *screen = screenAt(pointer);
    if (!screen)
        return;
    window->ensurePolished();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    const QRect area = screen->availableGeometry();
    const QPoint corner = dropDown ? DropAtPointer(area, size, pointer) : CornerAtPointer(area, size, pointer);
    const QRect placed = KeepOnScreen(QRect(corner, size), area);
    if (placed.size() != size)
        window->resize(window->size() - (size - placed.size()));
    window->move(placed.topLeft());
}
