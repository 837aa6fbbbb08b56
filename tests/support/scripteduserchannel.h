#pragma once

#include "platform/userchannel.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// The user channel of tests: records everything shown and answers questions
// from a queue. When the queue is empty a question gets its affirmative
// answer (OK or Yes), or its safe one when answerSafely is set.
class ScriptedUserChannel : public UserChannel
{
public:
    int message(const MessageRequest &request) override;
    void showStatus(const QString &text, int displayMs = 0, bool modal = false) override;
    void setProgressMaximum(int maximum) override { progressMaximum = maximum; }
    void setProgressValue(int value) override { progressValues << value; }
    void setProgressVisible(bool visible) override { progressVisible = visible; }
    void showErrorList(const QString &title, const QString &text) override;
    void processEvents() override
    {
        ++eventPumps;
        if (onEvents)
            onEvents();
    }
    bool stopRequested() const override { return stop; }
    void requestStop() override { stop = true; }

    // The prompts of every message box, in order.
    QStringList prompts() const;
    // The last message box's prompt; empty when none was shown.
    QString lastPrompt() const;
    void clear();

    QQueue<int> answers;
    bool answerSafely = false;

    QList<MessageRequest> messages;
    QStringList statusTexts;
    QList<QPair<QString, QString>> errorLists;
    QList<int> progressValues;
    int progressMaximum = 0;
    bool progressVisible = false;
    int eventPumps = 0;
    // Runs where window events would: what a user could do mid-run.
    std::function<void()> onEvents;
    // Runs as each message box is shown: what the window shows behind it.
    std::function<void()> onMessage;
    bool stop = false;
};
