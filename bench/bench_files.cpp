// Loading and renaming 100,000 empty files in a folder under /dev/shm,
// each against a bare loop making the same system calls, and the memory the
// loaded list takes. Prints its figures; run by hand:
//   bench_files [file count]
#include "engine/jobs/jobcontext.h"
#include "engine/load/fileload.h"
#include "engine/load/loaderstate.h"
#include "engine/run/executerename.h"
#include "platform/linuxfilesystem.h"
#include "platform/silentuserchannel.h"
#include "platform/userchannel.h"
#include "text/textengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

long statusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::strlen(key)));
    }
    return -1;
}

// readdir through the tree and statx every entry, as the loader does.
long bareListing(const std::string &folder)
{
    long items = 0;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        const std::string path = folder + '/' + entry->d_name;
        struct statx st;
        if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
            continue;
        ++items;
        if (S_ISDIR(st.stx_mode))
            items += bareListing(path);
    }
    ::closedir(dir);
    return items;
}

// Two passes of renameat2 through temporary names.
void bareRename(const std::string &folder, const std::vector<std::string> &from, const std::vector<std::string> &to)
{
    char source[4096];
    char target[4096];
    for (std::size_t i = 0; i < from.size(); ++i) {
        std::snprintf(source, sizeof source, "%s/%s", folder.c_str(), from[i].c_str());
        std::snprintf(target, sizeof target, "%s/tmp00001_%s", folder.c_str(), from[i].c_str());
        ::renameat2(AT_FDCWD, source, AT_FDCWD, target, RENAME_NOREPLACE);
    }
    for (std::size_t i = 0; i < from.size(); ++i) {
        std::snprintf(source, sizeof source, "%s/tmp00001_%s", folder.c_str(), from[i].c_str());
        std::snprintf(target, sizeof target, "%s/%s", folder.c_str(), to[i].c_str());
        ::renameat2(AT_FDCWD, source, AT_FDCWD, target, RENAME_NOREPLACE);
    }
}

std::string nameOf(int i, const char *suffix)
{
    char name[64];
    std::snprintf(name, sizeof name, "photo_%06d%s.jpg", i, suffix);
    return name;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir work(QStringLiteral("/dev/shm/corvane-bench-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot create a folder under /dev/shm\n");
        return 1;
    }
    const std::string folder = QFile::encodeName(work.path()).toStdString();
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + '/' + nameOf(i, "");
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    std::printf("%d empty files in %s\n", count, folder.c_str());

    RenameRowList rows;
    JobInputs inputs;
    RunOptions options;
    SilentUserChannel user;
    LinuxFileSystem files;
    TextEngine text(user, files);
    JobContext context{rows, JobKind::FileNameReplace, inputs, options, user, files, text};
    LoaderState loader;

    // (a) and (c): the load against the bare listing, best of three.
    double bestBare = 1e9;
    double bestLoad = 1e9;
    long rowsKb = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        const long listed = bareListing(folder);
        bestBare = std::min(bestBare, timer.nsecsElapsed() / 1e6);
        if (listed != count)
            std::printf("bare listing saw %ld items\n", listed);

        rows.clear();
        const long before = statusKb("VmRSS:");
        timer.restart();
        LoadFromFolder(context, loader, work.path(), false);
        bestLoad = std::min(bestLoad, timer.nsecsElapsed() / 1e6);
        if (round == 0)
            rowsKb = statusKb("VmRSS:") - before;
    }
    std::printf("(a) load: %.1f ms, bare listing with stat: %.1f ms, ratio %.2f (target <= 1.5)\n", bestLoad,
                bestBare, bestLoad / bestBare);
    std::printf("(c) %d loaded rows: %.1f MB resident for the list, peak resident %.1f MB (target <= 150)\n",
                rows.count(), rowsKb / 1024.0, statusKb("VmHWM:") / 1024.0);

    // (b): every name changes, against a bare two-pass loop; best of three
    // each, every round renaming the files once by each. Executions alternate
    // with and without the crash-safe journal, kept in the temporary folder
    // (a real disk where /tmp is one), to show what the journal costs.
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(nameOf(i, ""));
    const QTemporaryDir journalDir;
    const QString journal = journalDir.filePath(QStringLiteral("Journal.dat"));
    double bestBareRename = 1e9;
    double bestExecute[2] = {1e9, 1e9};
    bool failed = false;
    for (int round = 0; round < 6; ++round) {
        const std::string bareSuffix = "_" + std::to_string(2 * round + 1);
        std::vector<std::string> renamed;
        for (int i = 0; i < count; ++i)
            renamed.push_back(nameOf(i, bareSuffix.c_str()));
        QElapsedTimer timer;
        timer.start();
        bareRename(folder, names, renamed);
        bestBareRename = std::min(bestBareRename, timer.nsecsElapsed() / 1e6);

        LoadFromFolder(context, loader, work.path(), false);
        const QString from = QString::fromStdString(bareSuffix) + u".jpg";
        const QString to = u'_' + QString::number(2 * round + 2) + u".jpg";
        for (int i = 1; i <= rows.count(); ++i) {
            RenameRow &row = rows.editRow(i);
            row.set(RenameField::NewName, QString(row.currentName()).replace(from, to));
        }
        const int journaled = round % 2;
        context.journalPath = journaled ? journal : QString();
        timer.restart();
        failed = RenameItems(context, true).failed() || failed;
        bestExecute[journaled] = std::min(bestExecute[journaled], timer.nsecsElapsed() / 1e6);
        names.clear();
        for (int i = 0; i < count; ++i)
            names.push_back(nameOf(i, ("_" + std::to_string(2 * round + 2)).c_str()));
    }
    std::printf("(b) execute: %.1f ms%s, bare two-pass loop: %.1f ms, ratio %.2f (target <= 1.3)\n", bestExecute[1],
                failed ? " (with failures!)" : "", bestBareRename, bestExecute[1] / bestBareRename);
    std::printf("    without the journal: %.1f ms; the journal costs %.1f%% (target <= 10%%)\n", bestExecute[0],
                100.0 * (bestExecute[1] / bestExecute[0] - 1.0));
    return 0;
}
