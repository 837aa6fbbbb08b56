#pragma once

#include "engine/control/setupmapping.h"
#include "engine/jobs/jobkind.h"

#include <QString>

#include <functional>

class FileSystem;
class GuardedUserChannel;
class InputCommands;
class JobSwitch;
class ListEditing;
class LoadCommands;

// The set-up of a job as Conf.txt and the command files store it: reading
// and writing command files, "新規", and the settings at start and end.
// Choosing the job and loading the folder go through the controller's parts.
class CommandFileCommands
{
public:
    struct Parts
    {
        GuardedUserChannel &user;
        FileSystem &files;
        SetupMapping mapping;
        const JobSwitch &jobSwitch;
        InputCommands &inputCommands;
        LoadCommands &loading;
        ListEditing &listEditing;
        bool &startedFromCommandLine;
        const bool &debug;
        QString &currentFolder;
        QString &commandFilePath;
        // The job switch inside a run that is already on, or at start.
        std::function<void(JobKind)> selectJob;
        std::function<void()> changed;
    };

    explicit CommandFileCommands(Parts parts) : m_parts(std::move(parts)) {}

    void applySettings(const Settings &settings);
    void storeSettings(Settings *settings);
    // See JobController.
    bool CommandFileLoad(const QString &path);
    bool CommandFileSave(const QString &path);
    void NewCommandFile();
    CommandSetup currentSetup();

private:
    bool refused() const;
    JobKind job() const;
    void applySetup(const CommandSetup &setup);
    // The folder a command file names, loaded; returns failed.
    bool loadFolderOfFile();

    Parts m_parts;
};
