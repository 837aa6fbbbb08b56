#include "ui/mp3listsink.h"

#include "engine/mp3tagjob.h"

void Mp3ListSink::clear()
{
    m_job.rows().clear();
}

void Mp3ListSink::add(const QStringList &paths, int position, const std::function<void(int)> &done)
{
    m_job.AddTagRows(paths, position, done);
}

int Mp3ListSink::count() const
{
    return m_job.rows().count();
}

QStringList Mp3ListSink::paths() const
{
    QStringList paths;
    paths.reserve(m_job.rows().count());
    for (const TagRow &row : m_job.rows().rows())
        paths << row[TagField::Path];
    return paths;
}
