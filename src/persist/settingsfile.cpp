#include "persist/settingsfile.h"

#include "persist/conffile.h"
#include "platform/showmessage.h"

#include <utility>

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{
}

void SettingsFile::load(const Settings &defaults, UserChannel &user)
{
    m_settings = defaults;
    ConfLoad(m_path, &m_settings, user);
}

void SettingsFile::save(UserChannel &user) const
{
    const QString error = ConfSave(m_path, m_settings);
    if (!error.isEmpty())
        ShowPlainMessage(user, error, QStringLiteral("設定値ファイル（Conf.txt）"));
}
