#include "platform/systempaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

class TestSystemPaths : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        qputenv("HOME", QFile::encodeName(m_home->path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->filePath(QStringLiteral("config"))));
        // A user's own settings folder must not decide these tests.
        qunsetenv("CORVANE_SETTINGS_DIR");
        QDir(m_home->path()).mkpath(QStringLiteral("config"));
    }

    // The home folder, its Desktop when there is one, and the one user-dirs.dirs names.
    void desktopFolder()
    {
        QCOMPARE(SystemPaths::desktopFolder(), QDir::cleanPath(m_home->path()));
        QDir(m_home->path()).mkpath(QStringLiteral("Desktop"));
        QCOMPARE(SystemPaths::desktopFolder(), m_home->filePath(QStringLiteral("Desktop")));
        QDir(m_home->path()).mkpath(QStringLiteral("デスクトップ"));
        QFile dirs(m_home->filePath(QStringLiteral("config/user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
                   "XDG_DESKTOP_DIR=\"$HOME/\xE3\x83\x87\xE3\x82\xB9\xE3\x82\xAF\xE3\x83\x88\xE3\x83\x83\xE3\x83\x97\"\n");
        dirs.close();
        QCOMPARE(SystemPaths::desktopFolder(), m_home->filePath(QStringLiteral("デスクトップ")));
    }

    void settingsBesideProgramOrInConfig()
    {
        // A portable copy, in a folder of the user's own that nobody else may
        // write to, keeps them beside it; never so for root.
        const QString program = m_home->filePath(QStringLiteral("bin"));
        const QString config = m_home->filePath(QStringLiteral("config/corvane"));
        QDir().mkpath(program);
        QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        SystemPaths::setProgramFolder(program);
        QCOMPARE(SystemPaths::settingsFolder(), ::geteuid() == 0 ? config : program);
        QVERIFY(QFileInfo(config).isDir() == (::geteuid() == 0));

        // A folder others may write to, or one that is gone, sends them to the user's config folder.
        QVERIFY(QFile::setPermissions(program, QFileInfo(program).permissions() | QFileDevice::WriteGroup));
        QCOMPARE(SystemPaths::settingsFolder(), config);
        QCOMPARE(QFileInfo(config).permissions() & 0x0077, QFileDevice::Permissions());
        SystemPaths::setProgramFolder(m_home->filePath(QStringLiteral("gone")));
        QCOMPARE(SystemPaths::settingsFolder(), config);

        qputenv("CORVANE_SETTINGS_DIR", QFile::encodeName(m_home->filePath(QStringLiteral("own"))));
        QCOMPARE(SystemPaths::settingsFolder(), m_home->filePath(QStringLiteral("own")));
        qunsetenv("CORVANE_SETTINGS_DIR");
    }

    // The build tree keeps parts/ beside the program; an installed copy finds it
    // in the data folder beside bin/, wherever the copy was installed.
    void partsBesideProgramOrInstalled()
    {
        const QString program = m_home->filePath(QStringLiteral("usr/bin"));
        QDir().mkpath(program);
        SystemPaths::setProgramFolder(program);
        QCOMPARE(SystemPaths::partsFolder(), m_home->filePath(QStringLiteral("usr/share/corvane/parts")));
        QDir(program).mkpath(QStringLiteral("parts"));
        QCOMPARE(SystemPaths::partsFolder(), program + QStringLiteral("/parts"));
    }
};

QTEST_GUILESS_MAIN(TestSystemPaths)
#include "tst_systempaths.moc"
