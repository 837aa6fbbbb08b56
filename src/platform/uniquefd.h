#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

// An open file descriptor, closed on every way out.
class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    // Opens path close-on-exec; mode counts when flags create the file.
    static UniqueFd open(const QString &path, int flags, mode_t mode = 0600)
    {
        return UniqueFd(::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, mode));
    }

    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }

private:
    int m_fd;
};
