#pragma once

#include "platform/userchannel.h"

#include <cstdio>

// The user channel of unattended runs: every message, status text and error
// list goes to stderr, and every question gets its safe answer (Cancel or No).
class ConsoleUserChannel : public UserChannel
{
public:
    explicit ConsoleUserChannel(std::FILE *out = stderr) : m_out(out) {}

    int message(const MessageRequest &request) override;
    void showStatus(const QString &text, int displayMs, bool modal) override;
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setProgressVisible(bool) override {}
    void showErrorList(const QString &title, const QString &text) override;
    void processEvents() override {}
    bool stopRequested() const override;

    // Ctrl+C and SIGTERM ask the run to stop instead of killing it at once:
    // a rename stopped half-way then leaves no item under a temporary name.
    // The request stays, so whatever start-up meant to run next stops too.
    static void stopOnSignals();
    int declinedQuestions() const override { return m_declined; }

private:
    void print(const QString &text);

    std::FILE *m_out;
    int m_declined = 0;
};
