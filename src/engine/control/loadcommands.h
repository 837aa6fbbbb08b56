#pragma once

#include "engine/jobs/jobcontext.h"

#include <QStringList>

#include <functional>

class FileSystem;
class GuardedUserChannel;
class InputCommands;
class JobSwitch;
class Mp3TagJob;
struct JobInputs;
struct LoaderState;
struct RunOptions;

// The commands that fill the lists from the disk: a folder, the chosen files,
// paths and rows dropped on the list. Each refuses while a run lets window
// events through, and reports the rows read through listChanged.
class LoadCommands
{
public:
    struct Parts
    {
        GuardedUserChannel &user;
        FileSystem &files;
        LoaderState &loader;
        JobSwitch &jobSwitch;
        Mp3TagJob &tagJob;
        JobInputs &inputs;
        const RunOptions &options;
        InputCommands &inputCommands;
        // The folder the caption shows and the next command file reads.
        QString &currentFolder;
        std::function<JobContext()> context;
        // The MP3 list shows every tag column.
        std::function<bool()> allTagColumns;
        std::function<void()> listChanged;
    };

    explicit LoadCommands(Parts parts) : m_parts(std::move(parts)) {}

    // Returns failed, as do load and LoadStartFolder.
    bool LoadFolder(const QString &folder);
    // LoadFolder inside a run that is already on.
    bool load(const QString &folder);
    bool LoadStartFolder(const QString &folder);
    void ReadFiles(const QStringList &paths);
    void OpenFolder(const QString &folder);
    void CancelLoad();
    void DropPaths(const QStringList &paths, int row);
    void StartRowMove();
    void DropRows(int row);
    void SetCurrentFolder(const QString &folder);

private:
    bool refused() const;
    bool onTagRows() const;
    // The folder read becomes the current folder when it is one.
    void noteFolder(const QString &folder);

    Parts m_parts;
};
