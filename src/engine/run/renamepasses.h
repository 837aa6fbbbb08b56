#pragma once

#include "engine/run/runjournal.h"
#include "platform/folderhandles.h"

#include <QString>

#include <vector>

class FileSystem;
class UserChannel;

// What became of one item of a two-pass run.
struct MoveResult
{
    enum class Outcome {
        Moved,      // under its target name
        NotParked,  // the first step failed: still under its old name
        PutBack,    // the second step failed: back under its old name
        LeftParked, // the second step failed and so did the way back
        RolledBack, // stopped before the second pass: back under its old name
    };
    Outcome outcome = Outcome::Moved;
    QString error;
};

// Moves items in two passes, so that names may be exchanged or shifted in a
// folder: every item first to its parking name, then every parked item to its
// target. Nothing is ever replaced. The journal holds the plan before the
// first rename. A stop asked for in the first pass takes every parked item
// back; one asked for in the second pass finishes it, so no item stays parked.
class RenamePasses
{
public:
    // Where a stop asked for during the run took effect.
    enum class Stop {
        None,
        FirstPass,  // every parked item went back: nothing changed
        SecondPass, // the pass went on to its end: every change was made
    };

    RenamePasses(FileSystem &files, UserChannel &user, RunJournal &journal, JournalRecord::Kind kind);

    // The error text when the journal could not be written. When that was
    // the plan, nothing moved and results is empty. When it was a later mark,
    // every parked item went back (or, in the second pass, stayed parked
    // where the journal says), and results tells where each lies.
    QString run(const MovePlan &plan, std::vector<MoveResult> *results);
    QString run(const std::vector<JournalItem> &items, std::vector<MoveResult> *results)
    {
        return run(ItemPlan(items), results);
    }
    Stop stop() const { return m_stop; }
    // A recovery runs to its end: rolled back half-way, it would leave items
    // under the interrupted run's temporary names with no journal that knows them.
    void setStoppable(bool on) { m_stoppable = on; }

private:
    bool firstPass(const MovePlan &plan, std::vector<MoveResult> &results);
    void rollBack(const MovePlan &plan, std::vector<MoveResult> &results, size_t reached);
    void secondPass(const MovePlan &plan, std::vector<MoveResult> &results);
    QString move(const JournalItem &item, const QString &from, const QString &to);
    // At a progress step: lets events run and tells whether to stop.
    bool stepAt(size_t index, int base);

    FileSystem &m_files;
    UserChannel &m_user;
    RunJournal &m_journal;
    JournalRecord::Kind m_kind;
    // Opened as the first pass reaches them; both passes work in them.
    FolderHandles m_folders;
    int m_step = 1;
    int m_maximum = 1;
    Stop m_stop = Stop::None;
    bool m_stoppable = true;
    QString m_failure;
};

// The parking name for name: prefix + name + suffix, or, where that is longer
// than a name may be, a shortened one that still begins with prefix and is
// kept apart from every other by tag.
QString ParkName(const QString &prefix, const QString &name, const QString &suffix, int tag);
// The parking name of name while names are put back: name + ParkSuffix().
QString RestoreParkName(const QString &name, int tag);

// "done：N 件（全 total 件中）", and "、failed：M 件" when any failed.
QString RunCounts(const QString &done, const QString &failed, int changed, int failures, int total);
// The counts a two-pass run ends with, for its closing texts: done names what
// moved ("名前を変更した項目"), failed what could not be moved. A stop in the
// second pass is no failure: every change was made.
QString PassesSummary(RenamePasses::Stop stop, const QString &done, const QString &failed, int moved, int failures,
                      int total);
