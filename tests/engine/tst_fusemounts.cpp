#include "engine/run/executerename.h"
#include "engine/run/restore.h"

#include "enginefixture.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A fresh file-system image mounted through FUSE on a folder while it lives,
// by a shell command given $IMAGE and $FOLDER; unmounted, and the image's
// loop device freed, however the test ends.
class FuseMount
{
public:
    FuseMount(const QString &command, const QString &folder)
        : m_folder(folder)
    {
        mounted = shell(u"truncate -s 16M \"$IMAGE\" && "_qs + command);
    }

    ~FuseMount() { shell(u"umount -l \"$FOLDER\"; losetup -n -O NAME -j \"$IMAGE\" | xargs -r losetup -d"_qs); }

    bool mounted = false;

private:
    // A FUSE daemon the command leaves behind keeps writing, so output goes
    // nowhere rather than to a pipe.
    bool shell(const QString &command) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"IMAGE"_qs, m_image.filePath(u"image"_qs));
        environment.insert(u"FOLDER"_qs, m_folder);
        environment.insert(u"PATH"_qs, environment.value(u"PATH"_qs) + u":/usr/sbin:/sbin"_qs);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(u"sh"_qs, {u"-c"_qs, command});
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QTemporaryDir m_image;
    QString m_folder;
};

} // namespace

// Renames on FAT, NTFS and exFAT images mounted through FUSE, which refuse
// RENAME_NOREPLACE, and on FAT and exFAT hard links too.
class TestFuseMounts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renamesOnFuseMounts_data()
    {
        QTest::addColumn<QString>("mount");
        QTest::addColumn<bool>("renamesFolders");
        // fusefat 0.1a itself loses what a folder holds when it renames one,
        // so folders there keep their names and their contents.
        QTest::newRow("FAT, fusefat") << u"mkfs.vfat \"$IMAGE\" && fusefat -o rw+ \"$IMAGE\" \"$FOLDER\""_qs << false;
        QTest::newRow("NTFS, ntfs-3g") << u"mkntfs -F -Q -q \"$IMAGE\" && ntfs-3g \"$IMAGE\" \"$FOLDER\""_qs << true;
        QTest::newRow("exFAT, exfat-fuse")
            << u"mkfs.exfat \"$IMAGE\" && mount.exfat-fuse \"$(losetup -f --show \"$IMAGE\")\" \"$FOLDER\""_qs << true;
    }

    // Files and folders exchanged, the files put back, a taken name refused, and a
    // change of letter case alone in one step, which on a file system that
    // ignores case finds the item itself under its new name.
    void renamesOnFuseMounts()
    {
        QFETCH(QString, mount);
        QFETCH(bool, renamesFolders);
        const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (::geteuid() != 0 || fuse < 0)
            QSKIP("FUSE images are mounted only as root with /dev/fuse");
        ::close(fuse);
        EngineFixture f;
        const FuseMount mounted(mount, f.dir.path());
        if (!mounted.mounted)
            QSKIP(qPrintable(u"cannot mount here (are its tools installed?): "_qs + mount));

        f.addFile(u"a.txt"_qs, u"b.txt"_qs);
        f.addFile(u"b.txt"_qs, u"a.txt"_qs);
        for (const QString &name : {u"d1"_qs, u"d2"_qs})
            QVERIFY(QDir(f.dir.path()).mkpath(name + u"/in"_qs + name));
        f.addRow(u"d1"_qs, u"d2"_qs);
        f.addRow(u"d2"_qs, u"d1"_qs);
        f.write(u"taken"_qs, "T");
        f.addFile(u"c.txt"_qs, u"taken"_qs);
        f.user.answers << MessageAnswer::No << MessageAnswer::Ok; // no error log; names back

        QVERIFY(f.execute(true));
        QCOMPARE(f.read(u"a.txt"_qs) + f.read(u"b.txt"_qs) + f.read(u"taken"_qs), "b.txta.txtT");
        const QStringList folders = renamesFolders ? QStringList{u"d2"_qs, u"d1"_qs} : QStringList{u"d1"_qs, u"d2"_qs};
        QCOMPARE(f.column(RenameField::CurrentName).mid(2, 2), folders);
        QCOMPARE(QDir(f.path(u"d2"_qs)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{renamesFolders ? u"ind1"_qs : u"ind2"_qs});
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
