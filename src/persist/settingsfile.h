#pragma once

#include "persist/settings.h"

#include <QString>

class UserChannel;

// Conf.txt for one run of Corvane: read once at start-up over the defaults and
// written once when the main window closes. settings() is the one copy kept in
// between: the controller takes its inputs and options from it at start-up and
// gives them back before the save, and the window keeps its own keys in it.
class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    // Reads the file over defaults. A damaged file is shown to the user; the
    // settings not read keep their defaults.
    void load(const Settings &defaults, UserChannel &user);
    // Writes settings() as a whole new file; a failure is shown to the user.
    void save(UserChannel &user) const;

    Settings &settings() { return m_settings; }
    const Settings &settings() const { return m_settings; }

private:
    QString m_path;
    Settings m_settings = Settings::defaults(QSize(1024, 768));
};
