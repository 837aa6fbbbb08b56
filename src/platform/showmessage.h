#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class UserChannel;

// The application title every untitled message box gets.
QString ApplicationTitle();

// Shows a confirmation or notice. An empty title becomes the application title
// and is handed back through title. x = y = -1 centres the box on the mouse
// pointer. The box is modal and stays above every window (QtUserChannel).
int ShowMessage(UserChannel &user, const QString &prompt, int buttons, QString &title, int &x, int &y);
int ShowMessage(UserChannel &user, const QString &prompt, int buttons = 0, const QString &title = {},
                bool atPointer = false);

// A plain message box for end-of-run summaries.
int ShowPlainMessage(UserChannel &user, const QString &prompt, const QString &title = {}, int buttons = 0);

// Where a box of the given size goes when centred on the pointer and kept wholly
// on a screen of the given size.
QPoint PlaceAtPointer(QSize screen, QSize box, QPoint pointer);
