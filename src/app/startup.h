#pragma once

#include <QString>

#include <optional>

class CommandLine;
class JobController;

// What happens between the launch and the first user event: the switches are
// applied, a folder read, and a job or a queue of command files run
// unattended. The caller has loaded the settings into the controller and, in
// a windowed run, shows the window when showWindow() says so.
class StartUp
{
public:
    enum class Outcome {
        Continue,         // the window stays for the user
        CommandLineError, // an unpaired search or pattern, a missing command file
        Failed,           // the unattended run failed
        Quit,             // the unattended run succeeded and -quit was given
    };

    StartUp(JobController &controller, const CommandLine &line);

    // Runs start-up; showWindow is called once, where the window must appear
    // (never in a run with both -auto and -quit).
    template <class ShowWindow>
    Outcome run(ShowWindow showWindow)
    {
        recoverInterruptedRun();
        const Outcome early = applySwitches();
        if (early != Outcome::Continue) {
            endEarly();
            showWindow();
            return early;
        }
        if (!(m_unattended && m_quit))
            showWindow();
        return runJobs();
    }

    // The exit status of a run that ends without a window.
    static int exitCode(Outcome outcome);

private:
    void recoverInterruptedRun();
    Outcome applySwitches();
    // Start-up ended before its jobs: the window takes over, asking again.
    void endEarly();
    Outcome runJobs();
    Outcome runQueue();
    bool loadCommandFile(const QString &path);
    bool runOneJob(bool loadFailed);
    QString resolve(const QString &path) const;
    bool reportMissing(const QString &path);
    void migrateTemplate();

    JobController &m_controller;
    const CommandLine &m_line;
    bool m_unattended = false;
    bool m_quit = false;
    // The folder -folder gave, made absolute; empty when none.
    QString m_folder;
    // How the first queued command file loaded before the window showed; the
    // queue starts with that load instead of reading its folder again.
    std::optional<bool> m_firstLoad;
};
