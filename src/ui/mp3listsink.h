#pragma once

#include "engine/loaderstate.h"

class Mp3TagJob;

// The MP3 list as the loaders fill it: every .mp3 path goes through the tag
// job's row reader.
class Mp3ListSink : public TagRowSink
{
public:
    explicit Mp3ListSink(Mp3TagJob &job) : m_job(job) {}

    void clear() override;
    void add(const QStringList &paths, int position, const std::function<void(int)> &done) override;
    int count() const override;
    QStringList paths() const override;

private:
    Mp3TagJob &m_job;
};
