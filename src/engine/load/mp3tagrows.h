#pragma once

#include "engine/jobs/mp3tagjob.h"
#include "engine/load/loaderstate.h"

// The MP3 list as the loaders fill it: each .mp3 path becomes a tag row.
class Mp3TagRows : public TagRowSink
{
public:
    explicit Mp3TagRows(Mp3TagJob &job) : m_job(job) {}

    void clear() override { m_job.rows().clear(); }
    void add(const QStringList &paths, int position, const std::function<void(int)> &done) override
    {
        m_job.AddTagRows(paths, position, done);
    }
    int count() const override { return m_job.rows().count(); }
    QStringList paths() const override
    {
        QStringList all;
        for (const TagRow &row : m_job.rows().rows())
            all << row[TagField::Path];
        return all;
    }

private:
    Mp3TagJob &m_job;
};
