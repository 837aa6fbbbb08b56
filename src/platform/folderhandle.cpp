#include "platform/folderhandle.h"

#include <unistd.h>
#include <utility>

FolderHandle::FolderHandle(QString path, int descriptor, FsStatus status)
    : m_path(std::move(path))
    , m_descriptor(descriptor)
    , m_status(std::move(status))
{
}

FolderHandle::FolderHandle(FolderHandle &&other) noexcept
    : m_path(std::move(other.m_path))
    , m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_status(std::move(other.m_status))
    , m_refusals(other.m_refusals)
{
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_path = std::move(other.m_path);
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_status = std::move(other.m_status);
        m_refusals = other.m_refusals;
    }
    return *this;
}

FolderHandle::~FolderHandle()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}
