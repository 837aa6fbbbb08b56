#include "engine/executerename.h"
#include "engine/restore.h"

#include "enginefixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Runs a tool to its end; false when it is missing or fails. A FUSE daemon
// it leaves behind keeps writing, so its output goes nowhere, not to a pipe.
bool runTool(QStringList command, QByteArray *output = nullptr)
{
    const QString program = QStandardPaths::findExecutable(command.takeFirst(), {u"/usr/sbin"_qs, u"/usr/bin"_qs, u"/sbin"_qs, u"/bin"_qs});
    if (program.isEmpty())
        return false;
    QProcess process;
    if (!output)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, command);
    const bool ran = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return ran;
}

// A fresh file-system image mounted through FUSE on a folder while it lives;
// unmounted, and its loop device freed, however the test ends.
class FuseMount
{
public:
    // In the commands, "IMAGE", "DEVICE" and "FOLDER" stand for those paths.
    FuseMount(const QStringList &make, const QStringList &mount, bool needsDevice, const QString &folder)
        : m_folder(folder)
    {
        QFile image(m_image.filePath(u"image"_qs));
        if (!image.open(QIODevice::WriteOnly) || !image.resize(16 << 20)) {
            failure = u"cannot make an image file"_qs;
            return;
        }
        image.close();
        m_device = image.fileName();
        if (!runTool(filled(make))) {
            failure = make.first() + u" is missing or failed"_qs;
            return;
        }
        QByteArray loop;
        if (needsDevice && !runTool({u"losetup"_qs, u"-f"_qs, u"--show"_qs, m_device}, &loop)) {
            failure = u"no loop device for the image here"_qs;
            return;
        }
        if (needsDevice)
            m_device = m_loop = QString::fromUtf8(loop);
        m_mounted = runTool(filled(mount));
        if (!m_mounted)
            failure = mount.first() + u" is missing or could not mount"_qs;
    }

    ~FuseMount()
    {
        if (m_mounted)
            runTool({u"umount"_qs, u"-l"_qs, m_folder});
        if (!m_loop.isEmpty())
            runTool({u"losetup"_qs, u"-d"_qs, m_loop});
    }

    QString failure;

private:
    QStringList filled(QStringList command) const
    {
        command.replaceInStrings(u"IMAGE"_qs, m_image.filePath(u"image"_qs));
        command.replaceInStrings(u"DEVICE"_qs, m_device);
        return command.replaceInStrings(u"FOLDER"_qs, m_folder);
    }

    QTemporaryDir m_image;
    QString m_folder;
    QString m_device;
    QString m_loop;
    bool m_mounted = false;
};

} // namespace

// Renames on FAT, NTFS and exFAT images mounted through FUSE, as a desktop
// mounts them, where the kernel's RENAME_NOREPLACE and hard links are refused.
class TestFuseMounts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renamesOnFuseMounts_data()
    {
        QTest::addColumn<QStringList>("make");
        QTest::addColumn<QStringList>("mount");
        QTest::addColumn<bool>("needsDevice");
        QTest::addColumn<bool>("keepsFolderContent");
        // fusefat 0.1a itself loses what a folder holds when it renames one.
        QTest::newRow("FAT, fusefat") << QStringList{u"mkfs.vfat"_qs, u"IMAGE"_qs}
                                      << QStringList{u"fusefat"_qs, u"-o"_qs, u"rw+"_qs, u"DEVICE"_qs, u"FOLDER"_qs} << false
                                      << false;
        QTest::newRow("NTFS, ntfs-3g") << QStringList{u"mkntfs"_qs, u"-F"_qs, u"-Q"_qs, u"-q"_qs, u"IMAGE"_qs}
                                       << QStringList{u"ntfs-3g"_qs, u"DEVICE"_qs, u"FOLDER"_qs} << false << true;
        QTest::newRow("exFAT, exfat-fuse") << QStringList{u"mkfs.exfat"_qs, u"IMAGE"_qs}
                                           << QStringList{u"mount.exfat-fuse"_qs, u"DEVICE"_qs, u"FOLDER"_qs} << true << true;
    }

    // Files and folders exchanged, the files put back, a taken name refused, and a
    // change of letter case alone in one step, which on a file system that
    // ignores case finds the item itself under its new name.
    void renamesOnFuseMounts()
    {
        QFETCH(QStringList, make);
        QFETCH(QStringList, mount);
        QFETCH(bool, needsDevice);
        QFETCH(bool, keepsFolderContent);
        const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (::geteuid() != 0 || fuse < 0)
            QSKIP("FUSE images are mounted only as root with /dev/fuse");
        ::close(fuse);
        EngineFixture f;
        const FuseMount mounted(make, mount, needsDevice, f.dir.path());
        if (!mounted.failure.isEmpty())
            QSKIP(qPrintable(mounted.failure));

        f.addFile(u"a.txt"_qs, u"b.txt"_qs);
        f.addFile(u"b.txt"_qs, u"a.txt"_qs);
        for (const QString &name : {u"d1"_qs, u"d2"_qs})
            QVERIFY(QDir(f.dir.path()).mkpath(keepsFolderContent ? name + u"/in"_qs + name : name));
        f.addRow(u"d1"_qs, u"d2"_qs);
        f.addRow(u"d2"_qs, u"d1"_qs);
        f.write(u"taken"_qs, "T");
        f.addFile(u"c.txt"_qs, u"taken"_qs);
        f.user.answers << MessageAnswer::No << MessageAnswer::Ok; // no error log; names back

        QVERIFY(ExecuteRename(f.context, true));
        QCOMPARE(f.read(u"a.txt"_qs) + f.read(u"b.txt"_qs) + f.read(u"taken"_qs), "b.txta.txtT");
        QCOMPARE(f.column(RenameField::CurrentName).mid(2, 2), (QStringList{u"d2"_qs, u"d1"_qs}));
        if (keepsFolderContent)
            QCOMPARE(QDir(f.path(u"d2"_qs)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{u"ind1"_qs});
        QVERIFY(!f.files.replacedSomething);
        RestoreNames(f.context);
        QCOMPARE(f.read(u"a.txt"_qs) + f.read(u"b.txt"_qs), "a.txtb.txt");

        QCOMPARE(f.files.rename(f.path(u"c.txt"_qs), f.path(u"C.TXT"_qs)).text(), QString());
        const QStringList entries = QDir(f.dir.path()).entryList(QDir::Files);
        QVERIFY2(entries.contains(u"C.TXT"_qs) && !entries.contains(u"c.txt"_qs), qPrintable(entries.join(u' ')));
    }
};

QTEST_GUILESS_MAIN(TestFuseMounts)
#include "tst_fusemounts.moc"
