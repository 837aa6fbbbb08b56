#include "platform/fsstatus.h"

#include <cstring>

FsStatus FsStatus::fromErrno(int error)
{
    if (error == 0)
        return {};
    return {error, QString::fromLocal8Bit(std::strerror(error))};
}
