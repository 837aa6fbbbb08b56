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

void CentreOnPointer(QWidget *window)
{
    const QPoint pointer = QCursor::pos();
    const QScreen *screen = screenAt(pointer);
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.topLeft() + PlaceAtPointer(area.size(), window->size(), pointer - area.topLeft()));
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
    window->move(dropDown ? DropAtPointer(area, size, pointer) : CornerAtPointer(area, size, pointer));
}
