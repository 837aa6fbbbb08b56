// The floor for an unattended rename: a bare two-pass loop that lists a
// folder, reads each file's facts (one statx, as a load that shows dates
// does), pads the first digit run of every name to six digits, and renames
// each changed file through a temporary name.
// With -1, each file straight to its target: the floor of any tool that
// renames a file once, such as perl's rename.
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <vector>

int main(int argc, char **argv)
{
    const bool onePass = argc == 3 && std::strcmp(argv[1], "-1") == 0;
    if (argc != 2 && !onePass) {
        std::fprintf(stderr, "usage: renameloop [-1] FOLDER\n");
        return 2;
    }
    const std::string folder = argv[argc - 1];
    std::vector<std::string> names;
    DIR *dir = ::opendir(folder.c_str());
    while (const dirent *entry = dir ? ::readdir(dir) : nullptr) {
        if (entry->d_name[0] == '.')
            continue;
        struct statx st;
        const std::string path = folder + '/' + entry->d_name;
        ::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st);
        names.push_back(entry->d_name);
    }
    if (dir)
        ::closedir(dir);

    std::vector<std::string> targets;
    for (const std::string &name : names) {
        const std::size_t start = name.find_first_of("0123456789");
        std::string target = name;
        if (start != std::string::npos) {
            const std::size_t end = name.find_first_not_of("0123456789", start);
            const std::string digits = name.substr(start, end - start);
            target = name.substr(0, start) + std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits
                + name.substr(end == std::string::npos ? name.size() : end);
        }
        targets.push_back(target);
    }
    for (std::size_t at = 0; onePass && at < names.size(); ++at) {
        const std::string from = folder + '/' + names[at];
        const std::string to = folder + '/' + targets[at];
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    }
    for (std::size_t at = 0; !onePass && at < names.size(); ++at) {
        const std::string from = folder + '/' + names[at];
        const std::string temporary = folder + "/tmp12345_" + names[at];
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, temporary.c_str(), RENAME_NOREPLACE);
    }
    for (std::size_t at = 0; !onePass && at < names.size(); ++at) {
        const std::string temporary = folder + "/tmp12345_" + names[at];
        const std::string to = folder + '/' + targets[at];
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    }
    std::printf("%zu files renamed\n", names.size());
    return 0;
}
