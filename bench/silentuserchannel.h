#pragma once

#include "platform/userchannel.h"

// The user channel of benchmarks: shows nothing and answers every question
// with OK, so only the measured work runs.
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
