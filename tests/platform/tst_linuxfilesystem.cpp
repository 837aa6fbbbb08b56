#include "platform/linuxfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The file system service on a real folder.
class TestLinuxFileSystem : public QObject
{
    Q_OBJECT

    LinuxFileSystem m_fs;
    // A fresh folder for every test.
    std::unique_ptr<QTemporaryDir> m_dir;

    QString write(const QString &name, const QByteArray &content = {})
    {
        QFile file(m_dir->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static struct stat statOf(const QString &path)
    {
        struct stat st = {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        return st;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void renameNeverReplacesAndMovesItems()
    {
        const QString a = write(QStringLiteral("a.txt"), "A");
        const QString b = write(QStringLiteral("b.txt"), "B");
        const QString folder = m_dir->filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkdir(folder));
        QCOMPARE(m_fs.rename(a, b).code, EEXIST);
        // Where letter case counts, another spelling is another item.
        const QString upper = write(QStringLiteral("A.TXT"), "U");
        QCOMPARE(m_fs.rename(a, upper).code, EEXIST);
        QVERIFY(m_fs.remove(upper).ok());
        QVERIFY(!m_fs.rename(a, folder).ok());
        QVERIFY(!m_fs.rename(folder, b).ok());
        QCOMPARE(read(a) + read(b), QByteArray("AB"));

        const QString renamed = m_dir->filePath(QStringLiteral("名前 with blanks.txt"));
        QVERIFY(m_fs.rename(a, renamed).ok());
        QCOMPARE(read(renamed), QByteArray("A"));
        QCOMPARE(m_fs.rename(a, m_dir->filePath(QStringLiteral("x"))).code, ENOENT);
        QVERIFY(m_fs.remove(renamed).ok());
        QCOMPARE(m_fs.remove(renamed).code, ENOENT);
        QVERIFY(m_fs.remove(folder).ok() && !m_fs.exists(folder));
    }

    void attributes()
    {
        const QString file = write(QStringLiteral(".hidden"), QByteArray(1234, 'x'));
        const QDateTime stamp(QDate(2020, 5, 17), QTime(8, 30, 15));
        QFile handle(file);
        QVERIFY(handle.open(QIODevice::ReadWrite));
        QVERIFY(handle.setFileTime(stamp, QFileDevice::FileModificationTime));
        handle.close();
        ::chmod(QFile::encodeName(file).constData(), 0444);
        const FileInfo info = m_fs.info(file);
        QVERIFY(info.isHidden && info.isReadOnly);
        QCOMPARE(info.size, 1234);
        QCOMPARE(info.modified(), stamp);
        QVERIFY(m_fs.info(m_dir->path()).isFolder);
        QVERIFY(!m_fs.info(m_dir->filePath(QStringLiteral("missing"))).exists);
        // Times of an item the owner may not write are refused, not forced.
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
        QCOMPARE(m_fs.setModifiedTime(file, when).code, EACCES);
        QCOMPARE(m_fs.setCreatedTime(file, when).code, EACCES);
        QCOMPARE(m_fs.info(file).modified(), stamp);
    }

    void folderSize()
    {
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("a/b")));
        write(QStringLiteral("one"), QByteArray(100, 'x'));
        write(QStringLiteral("a/two"), QByteArray(20, 'x'));
        write(QStringLiteral("a/b/three"), QByteArray(3, 'x'));
        // A link back up must neither loop nor be counted twice.
        QVERIFY(QFile::link(m_dir->path(), m_dir->filePath(QStringLiteral("a/b/up"))));
        QCOMPARE(m_fs.folderSize(m_dir->path()), 123);
        QCOMPARE(m_fs.folderSize(m_dir->filePath(QStringLiteral("a"))), 23);
    }

    void listsRawNamesAndKinds()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_qs));
        write(u"plain"_qs);
        QVERIFY(QFile::link(m_dir->filePath(u"sub"_qs), m_dir->filePath(u"link"_qs)));
        QVERIFY(::mkfifo(QFile::encodeName(m_dir->filePath(u"fifo"_qs)).constData(), 0644) == 0);
        QVERIFY(m_fs.info(m_dir->filePath(u"fifo"_qs)).isSystem);
        QCOMPARE(::close(::open(QByteArray(QFile::encodeName(m_dir->path()) + "/\xff raw").constData(), O_CREAT | O_WRONLY, 0644)), 0);
        std::vector<FolderEntry> entries;
        QVERIFY(m_fs.listFolder(m_dir->path(), &entries));
        std::sort(entries.begin(), entries.end(), [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
        QList<QPair<QByteArray, FolderEntry::Kind>> listed;
        for (const FolderEntry &entry : entries)
            listed << qMakePair(entry.name, entry.kind);
        using Kind = FolderEntry::Kind;
        QCOMPARE(listed, (QList<QPair<QByteArray, Kind>>{{"fifo", Kind::System}, {"link", Kind::SymLink}, {"plain", Kind::File},
                                                         {"sub", Kind::Folder}, {"\xff raw", Kind::File}}));
        // A missing folder or a file lists nothing and fails.
        QVERIFY(!m_fs.listFolder(m_dir->filePath(u"missing"_qs), &entries));
        QVERIFY(entries.empty());
        QVERIFY(!m_fs.listFolder(m_dir->filePath(u"plain"_qs), &entries));
    }

    void symbolicLinkIsItsOwnItem()
    {
        const QString target = write(u"target"_qs);
        const QString link = m_dir->filePath(u"link"_qs);
        QVERIFY(QFile::link(target, link));
        const struct stat before = statOf(target);
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
        QVERIFY(m_fs.setModifiedTime(link, when).ok());
        QCOMPARE(qint64(statOf(link).st_mtim.tv_sec), qint64(1000000000));
        QCOMPARE(statOf(link).st_mtim.tv_nsec, 0L);
        QCOMPARE(statOf(target).st_mtim.tv_sec, before.st_mtim.tv_sec);
        QCOMPARE(m_fs.info(link).modified(), when);
        QVERIFY(m_fs.info(link).isSymLink && !m_fs.info(link).isFolder);

        // A dangling link still exists as an item.
        const QString dangling = m_dir->filePath(QStringLiteral("dangling"));
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("nowhere")), dangling));
        QVERIFY(m_fs.exists(dangling));
        QVERIFY(m_fs.rename(dangling, m_dir->filePath(QStringLiteral("moved"))).ok());
        QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("moved"))).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestLinuxFileSystem)
#include "tst_linuxfilesystem.moc"
