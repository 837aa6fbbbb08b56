#include "platform/linuxfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FolderEntry::Kind kindOf(const std::vector<FolderEntry> &entries, const QByteArray &name)
{
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const FolderEntry &entry) { return entry.name == name; });
    return found == entries.end() ? FolderEntry::Kind::System : found->kind;
}

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

// Listing a folder's entries and setting times, on a real folder.
class TestFolderEntries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsRawNamesAndKinds();
    void unreadableFolder();
    void modifiedTimeOfTheLinkItself();
    void timesOfItemsTheOwnerMayNotWrite();
};

void TestFolderEntries::listsRawNamesAndKinds()
{
    QTemporaryDir dir;
    LinuxFileSystem files;
    QVERIFY(QDir(dir.path()).mkdir(u"sub"_qs));
    QFile(dir.filePath(u"plain"_qs)).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(dir.filePath(u"sub"_qs), dir.filePath(u"link"_qs)));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(u"fifo"_qs)).constData(), 0644) == 0);
    const QByteArray raw = QFile::encodeName(dir.path()) + "/\xff raw";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);

    std::vector<FolderEntry> entries;
    QVERIFY(files.listFolder(dir.path(), &entries));
    QCOMPARE(entries.size(), std::size_t(5));
    QCOMPARE(kindOf(entries, "sub"), FolderEntry::Kind::Folder);
    QCOMPARE(kindOf(entries, "plain"), FolderEntry::Kind::File);
    QCOMPARE(kindOf(entries, "link"), FolderEntry::Kind::SymLink);
    QCOMPARE(kindOf(entries, "\xff raw"), FolderEntry::Kind::File);
    QVERIFY(std::any_of(entries.begin(), entries.end(), [](const FolderEntry &entry) {
        return entry.name == "fifo" && entry.kind == FolderEntry::Kind::System;
    }));
}

void TestFolderEntries::unreadableFolder()
{
    QTemporaryDir dir;
    LinuxFileSystem files;
    std::vector<FolderEntry> entries{FolderEntry{}};
    QVERIFY(!files.listFolder(dir.filePath(u"missing"_qs), &entries));
    QVERIFY(entries.empty());
    QFile(dir.filePath(u"file"_qs)).open(QIODevice::WriteOnly);
    QVERIFY(!files.listFolder(dir.filePath(u"file"_qs), &entries));
}

void TestFolderEntries::modifiedTimeOfTheLinkItself()
{
    QTemporaryDir dir;
    LinuxFileSystem files;
    const QString target = dir.filePath(u"target"_qs);
    const QString link = dir.filePath(u"link"_qs);
    QFile(target).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(target, link));
    const struct stat before = statOf(target);
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);

    QVERIFY(files.setModifiedTime(link, when).ok());
    QCOMPARE(qint64(statOf(link).st_mtim.tv_sec), qint64(1000000000));
    QCOMPARE(statOf(link).st_mtim.tv_nsec, 0L);
    QCOMPARE(statOf(target).st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(files.info(link).modified, when);
}

void TestFolderEntries::timesOfItemsTheOwnerMayNotWrite()
{
    QTemporaryDir dir;
    LinuxFileSystem files;
    const QString locked = dir.filePath(u"locked"_qs);
    QFile(locked).open(QIODevice::WriteOnly);
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
    QCOMPARE(files.setModifiedTime(locked, when).code, EACCES);
    QCOMPARE(files.setCreatedTime(locked, when).code, EACCES);
    QVERIFY(files.info(locked).modified != when);
}

QTEST_GUILESS_MAIN(TestFolderEntries)
#include "tst_folderentries.moc"
