#pragma once

#include "platform/userchannel.h"

// A user channel that shows nothing and answers every question with OK: for
// work done on the side, such as a preview, and for benchmarks.
class SilentUserChannel : public UserChannel
{
public:
    int message(const MessageRequest &) override { return MessageAnswer::Ok; }
    void showStatus(const QString &, int, bool) override {}
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setProgressVisible(bool) override {}
    void showErrorList(const QString &, const QString &) override {}
    void processEvents() override {}
};
