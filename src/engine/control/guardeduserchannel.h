#pragma once

#include "platform/userchannel.h"

#include <functional>

// The user channel the controller hands its runs, and the one owner of
// "busy": it passes everything on, knows when a long run is on, and when
// window events are running inside it (at a progress step or behind a
// message box), so that a command arriving then is refused.
class GuardedUserChannel : public UserChannel
{
public:
    explicit GuardedUserChannel(UserChannel &user) : m_user(user) {}

    // Marks a long run from its start to its end; runs started inside it add to it.
    class Run
    {
    public:
        explicit Run(GuardedUserChannel &channel) : m_channel(channel) { m_channel.enterRun(); }
        ~Run() { m_channel.leaveRun(); }
        Run(const Run &) = delete;
        Run &operator=(const Run &) = delete;

    private:
        GuardedUserChannel &m_channel;
    };

    // From the start to the end of every long run.
    bool busy() const { return m_runs > 0; }
    // A command arriving now comes from window events let through by a run
    // or by a message box, and must not run.
    bool refuses() const { return m_pumping > 0; }
    // Hears when busy() changes.
    std::function<void(bool)> busyChanged;

    int message(const MessageRequest &request) override
    {
        const Pump pump(m_pumping);
        return m_user.message(request);
    }
    void showStatus(const QString &text, int displayMs = 0, bool modal = false) override
    {
        const Pump pump(m_pumping);
        m_user.showStatus(text, displayMs, modal);
    }
    void setProgressMaximum(int maximum) override { m_user.setProgressMaximum(maximum); }
    void setProgressValue(int value) override { m_user.setProgressValue(value); }
    void setProgressVisible(bool visible) override { m_user.setProgressVisible(visible); }
    void showErrorList(const QString &title, const QString &text) override
    {
        const Pump pump(m_pumping);
        m_user.showErrorList(title, text);
    }
    void processEvents() override
    {
        const Pump pump(m_pumping);
        m_user.processEvents();
    }
    void setRunning(bool running) override { m_user.setRunning(running); }
    bool stopRequested() const override { return m_user.stopRequested(); }
    void requestStop() override { m_user.requestStop(); }
    int declinedQuestions() const override { return m_user.declinedQuestions(); }

private:
    void enterRun()
    {
        if (m_runs++ == 0)
            tellRunning(true);
    }
    void leaveRun()
    {
        if (--m_runs == 0)
            tellRunning(false);
    }
    void tellRunning(bool running)
    {
        m_user.setRunning(running);
        if (busyChanged)
            busyChanged(running);
    }

    struct Pump
    {
        explicit Pump(int &depth) : m_depth(depth) { ++m_depth; }
        ~Pump() { --m_depth; }
        int &m_depth;
    };

    UserChannel &m_user;
    int m_pumping = 0;
    int m_runs = 0;
};
