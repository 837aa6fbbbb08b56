#pragma once

#include "platform/messagerequest.h"

#include <QString>

// Everything the engine shows to the user or asks of the user goes through
// this interface: the Qt windows implement it, so does a console version for
// unattended runs and a scripted one for tests. The engine never shows a window itself.
class UserChannel
{
public:
    virtual ~UserChannel() = default;

    // Shows a message box and returns the answer (MessageAnswer).
    virtual int message(const MessageRequest &request) = 0;

    // Shows the status window with text; an empty text closes it. displayMs > 0
    // closes it after that time; modal waits until it has closed.
    virtual void showStatus(const QString &text, int displayMs = 0, bool modal = false) = 0;

    // 0: the amount of work is not known yet.
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setProgressVisible(bool visible) = 0;

    // The list of files a run could not handle, in a window of its own.
    virtual void showErrorList(const QString &title, const QString &text) = 0;

    // Lets pending window events run; long loops call it at their progress steps.
    virtual void processEvents() = 0;

    // A long run begins (true) or ends: the channel offers a way to stop it.
    virtual void setRunning(bool running) { (void)running; }
    // The user asked the running run to stop; long loops look at their
    // progress steps and then end consistently.
    virtual bool stopRequested() const { return false; }
    // The window asks the running run to stop (Stop, Escape, closing it).
    virtual void requestStop() {}
    // How many questions the channel has answered Cancel by itself, with
    // nobody there to ask: an unattended run that counts one did not do its job.
    virtual int declinedQuestions() const { return 0; }
};
