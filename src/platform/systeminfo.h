#pragma once

#include <QString>

// Names of this machine and its user, as the templates show them.
class SystemInfo
{
public:
    static QString computerName();
    static QString userName();
};
