#pragma once

#include "platform/userchannel.h"

// The user channel the controller hands its runs: it passes everything on
// and knows when window events are running inside a run (at a progress step
// or behind a message box), so that a command arriving then is refused.
class GuardedUserChannel : public UserChannel
{
public:
    explicit GuardedUserChannel(UserChannel &user) : m_user(user) {}

    bool pumping() const { return m_pumping > 0; }

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
    struct Pump
    {
        explicit Pump(int &depth) : m_depth(depth) { ++m_depth; }
        ~Pump() { --m_depth; }
        int &m_depth;
    };

    UserChannel &m_user;
    int m_pumping = 0;
};
