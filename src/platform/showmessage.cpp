#include "platform/showmessage.h"

#include "platform/userchannel.h"

#include <algorithm>

QString ApplicationTitle()
{
    return QStringLiteral("Corvane");
}

QPoint PlaceAtPointer(QSize screen, QSize box, QPoint pointer)
{
    const int left = std::min(screen.width() - box.width(), std::max(0, pointer.x() - box.width() / 2));
    const int top = std::min(screen.height() - box.height(), std::max(0, pointer.y() - box.height() / 2));
    return {left, top};
}

int ShowMessage(UserChannel &user, const QString &prompt, int buttons, QString &title, int &x, int &y)
{
    if (title.isEmpty())
        title = ApplicationTitle();
    MessageRequest request;
    request.prompt = prompt;
    request.title = title;
    request.style = buttons;
    request.atPointer = x == -1 && y == -1;
    return user.message(request);
}

int ShowMessage(UserChannel &user, const QString &prompt, int buttons, const QString &title, bool atPointer)
{
    QString shownTitle = title;
    int x = atPointer ? -1 : 0;
    int y = x;
    return ShowMessage(user, prompt, buttons, shownTitle, x, y);
}

int ShowPlainMessage(UserChannel &user, const QString &prompt, const QString &title, int buttons)
{
    MessageRequest request;
    request.prompt = prompt;
    request.title = title.isEmpty() ? ApplicationTitle() : title;
    request.style = buttons;
    request.plain = true;
    return user.message(request);
}
