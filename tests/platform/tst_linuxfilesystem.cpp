#include "platform/linuxfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestLinuxFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renameNeverReplaces();
    void renameMovesItems();
    void attributes();
    void symbolicLinkIsItsOwnItem();
    void folderSize();

private:
    LinuxFileSystem m_fs;
};

void TestLinuxFileSystem::renameNeverReplaces()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.txt"));
    const QString b = dir.filePath(QStringLiteral("b.txt"));
    const QString folder = dir.filePath(QStringLiteral("sub"));
    writeFile(a, "A");
    writeFile(b, "B");
    QVERIFY(QDir().mkdir(folder));

    const FsStatus ontoFile = m_fs.rename(a, b);
    QVERIFY(!ontoFile.ok());
    QCOMPARE(ontoFile.code, EEXIST);
    QVERIFY(ontoFile.text().startsWith(QString::number(EEXIST) + u' '));
    QVERIFY(!m_fs.rename(a, folder).ok());
    QVERIFY(!m_fs.rename(folder, b).ok());

    QCOMPARE(readFile(a), QByteArray("A"));
    QCOMPARE(readFile(b), QByteArray("B"));
    QVERIFY(QFileInfo(folder).isDir());
}

void TestLinuxFileSystem::renameMovesItems()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.txt"));
    writeFile(a, "A");
    const QString renamed = dir.filePath(QStringLiteral("名前 with blanks.txt"));
    QVERIFY(m_fs.rename(a, renamed).ok());
    QCOMPARE(readFile(renamed), QByteArray("A"));
    QVERIFY(!m_fs.exists(a));

    const QString folder = dir.filePath(QStringLiteral("f"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(m_fs.rename(folder, dir.filePath(QStringLiteral("F"))).ok());
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("F"))).isDir());

    QCOMPARE(m_fs.rename(a, dir.filePath(QStringLiteral("x"))).code, ENOENT);

    QVERIFY(m_fs.remove(renamed).ok());
    QCOMPARE(m_fs.remove(renamed).code, ENOENT);
    QVERIFY(m_fs.remove(dir.filePath(QStringLiteral("F"))).ok());
}

void TestLinuxFileSystem::attributes()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral(".hidden"));
    writeFile(file, QByteArray(1234, 'x'));
    const QDateTime stamp(QDate(2020, 5, 17), QTime(8, 30, 15));
    QFile handle(file);
    QVERIFY(handle.open(QIODevice::ReadWrite));
    QVERIFY(handle.setFileTime(stamp, QFileDevice::FileModificationTime));
    handle.close();
    ::chmod(QFile::encodeName(file).constData(), 0444);

    const FileInfo info = m_fs.info(file);
    QVERIFY(info.isHidden);
    QVERIFY(info.isReadOnly);
    QCOMPARE(info.size, 1234);
    QCOMPARE(info.modified, stamp);

    QVERIFY(m_fs.info(dir.path()).isFolder);
    QVERIFY(!m_fs.info(dir.filePath(QStringLiteral("missing"))).exists);

    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(m_fs.info(fifo).isSystem);
}

void TestLinuxFileSystem::symbolicLinkIsItsOwnItem()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkdir(target));
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(QFile::link(target, link));
    const FileInfo info = m_fs.info(link);
    QVERIFY(info.isSymLink);
    QVERIFY(!info.isFolder);

    // A dangling link still exists as an item.
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), dangling));
    QVERIFY(m_fs.exists(dangling));
    QVERIFY(m_fs.rename(dangling, dir.filePath(QStringLiteral("moved"))).ok());
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("moved"))).isSymLink());
}

void TestLinuxFileSystem::folderSize()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a/b")));
    writeFile(dir.filePath(QStringLiteral("one")), QByteArray(100, 'x'));
    writeFile(dir.filePath(QStringLiteral("a/two")), QByteArray(20, 'x'));
    writeFile(dir.filePath(QStringLiteral("a/b/three")), QByteArray(3, 'x'));
    // A link back up must neither loop nor be counted twice.
    QVERIFY(QFile::link(dir.path(), dir.filePath(QStringLiteral("a/b/up"))));
    QCOMPARE(m_fs.folderSize(dir.path()), 123);
    QCOMPARE(m_fs.folderSize(dir.filePath(QStringLiteral("a"))), 23);
}

QTEST_GUILESS_MAIN(TestLinuxFileSystem)
#include "tst_linuxfilesystem.moc"
