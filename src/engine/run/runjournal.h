#pragma once

#include "platform/journalfile.h"

#include <QString>

#include <memory>
#include <vector>

class FileSystem;
class FolderHandles;

// One item a run moves in two steps: from its name to a parking name, then to
// its target name, all in one folder.
struct JournalItem
{
    // Where the item stands when the run begins.
    enum class Start : char { AtFrom = 'I', Parked = 'J', Done = 'K' };
    enum class Place { From, Park, To, Missing };

    QString folder;
    QString from;
    QString park;
    QString to;
    Start start = Start::AtFrom;
};

// The items of a run, read one at a time: a run over the rows of a list
// reads them from the rows instead of holding a copy of each.
class MovePlan
{
public:
    virtual ~MovePlan() = default;
    virtual std::size_t size() const = 0;
    virtual JournalItem item(std::size_t index) const = 0;
};

// A plan held as a list of items.
class ItemPlan : public MovePlan
{
public:
    explicit ItemPlan(const std::vector<JournalItem> &items) : m_items(items) {}
    std::size_t size() const override { return m_items.size(); }
    JournalItem item(std::size_t index) const override { return m_items[index]; }

private:
    const std::vector<JournalItem> &m_items;
};

// What one journal file says: the plan of a run and how far it got.
struct JournalRecord
{
    enum class Kind { Execute, Restore };

    bool exists = false;
    Kind kind = Kind::Execute;
    // The plan, unless it was read for its marks alone; count is its size either way.
    std::vector<JournalItem> items;
    qsizetype count = 0;
    // Per item: 0, or the pass (1 or 2) in which its rename failed.
    std::vector<char> failedIn;
    bool secondPass = false;
    bool complete = false;

    // Where item index lies now, found from which of its names exists and
    // how far the run got; folders holds the run's folders, opened once.
    JournalItem::Place locate(const FileSystem &files, FolderHandles &folders, int index) const;
};

// The crash-safe journal of a two-pass run: the plan is on disk before the
// first rename, the start of the second pass and every failure of that pass
// before anything else is done about them, and the end of the run last. A
// journal with no path keeps nothing.
class RunJournal
{
public:
    // A journal refuses to begin over the journal of an interrupted run,
    // unless it is the run that recovers it. file, when given, is written
    // instead of a plain JournalFile.
    explicit RunJournal(QString path = {}, bool recovering = false, std::unique_ptr<JournalFile> file = {});

    bool keeps() const { return !m_path.isEmpty(); }
    // Writes the plan and syncs it; the error text when it could not be
    // written, and then the run must not begin.
    QString begin(JournalRecord::Kind kind, const MovePlan &plan);
    QString begin(JournalRecord::Kind kind, const std::vector<JournalItem> &items)
    {
        return begin(kind, ItemPlan(items));
    }
    // Each of these marks returns the error text when it did not reach the disk.
    QString secondPass();
    // A rename of item index failed; pass 2 failures are synced at once, as
    // the item is put back next.
    QString failed(int index, int pass);
    QString complete();

    // The journal at path belongs to a run that died before its end.
    static bool unfinished(const QString &path);
    // "Journal.dat" in the settings folder.
    static QString defaultPath();
    // The journal at path holds the whole plan of at least one item, and no
    // live run holds it: of which kind, and whether that run reached its end.
    // Read without building the items.
    static bool planned(const QString &path, JournalRecord::Kind *kind, bool *complete);
    // The journal at path, checked whole before anyone acts on it: every
    // folder absolute and clean, every name one path component of at most 255
    // bytes, parking names of the run's shape, marks in order. Anything else
    // sets *error, naming the file and why. busy when a live run holds it.
    static JournalRecord load(const QString &path, bool *busy, QString *error);

private:
    static JournalRecord read(const QString &path, bool *busy, QString *error, bool withItems);

    QString m_path;
    bool m_recovering;
    std::unique_ptr<JournalFile> m_file;
};

// The suffix of a parking name while names are put back: the earlier name followed by it.
QString ParkSuffix();
