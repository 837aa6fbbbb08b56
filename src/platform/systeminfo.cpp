#include "platform/systeminfo.h"

#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

QString SystemInfo::computerName()
{
    return QSysInfo::machineHostName();
}

QString SystemInfo::userName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}
