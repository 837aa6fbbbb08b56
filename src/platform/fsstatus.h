#pragma once

#include <QString>

// The outcome of one file-system call: 0 on success, otherwise the system's
// error number and its description.
struct FsStatus
{
    int code = 0;
    QString description;

    bool ok() const { return code == 0; }
    // "2 No such file or directory": the number, a blank and the description.
    QString text() const { return ok() ? QString() : QString::number(code) + u' ' + description; }

    static FsStatus fromErrno(int error);
};
