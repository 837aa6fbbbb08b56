#pragma once

#include "engine/jobs/jobinputs.h"
#include "engine/jobs/runoptions.h"

#include <QList>

class InputHistory;
class Mp3TagJob;
struct CommandSetup;
struct Settings;

// Where Conf.txt and the command files meet what the jobs read: each pairing
// of a stored value with an input is written once and serves both reading
// and writing. The job itself and the folder stay with the caller, since
// choosing them runs the job switch and a load.
struct SetupMapping
{
    JobInputs &inputs;
    RunOptions &options;
    Mp3TagJob &tagJob;
    bool &showId3;
    InputHistory &searchHistory;
    InputHistory &replaceHistory;
    // The MP3 list's column widths, twips (0: leave as is): Conf.txt and
    // command files bring them, command files keep them.
    QList<int> &mp3ColumnWidths;

    void load(const Settings &settings) const;
    void store(Settings *settings) const;
    // A command file's values over the inputs; the job and folder are the caller's.
    void apply(const CommandSetup &setup) const;
    void fill(CommandSetup *setup, bool debug) const;
};
