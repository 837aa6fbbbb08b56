#pragma once

#include <QFile>
#include <QString>

#include <utility>

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
    UniqueFd(UniqueFd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }

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
