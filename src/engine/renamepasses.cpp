#include "engine/renamepasses.h"

#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/userchannel.h"

#include <algorithm>

namespace {

constexpr qsizetype maximumNameBytes = 255;

} // namespace

QString ParkName(const QString &prefix, const QString &name, const QString &suffix, int tag)
{
    const QString full = prefix + name + suffix;
    if (full.toUtf8().size() <= maximumNameBytes)
        return full;
    const QString head = prefix + QString::number(tag) + u'~';
    QString kept = name;
    while (!kept.isEmpty() && (head + kept + suffix).toUtf8().size() > maximumNameBytes) {
        kept.chop(1);
        if (!kept.isEmpty() && kept.back().isHighSurrogate())
            kept.chop(1);
    }
    return head + kept + suffix;
}

RenamePasses::RenamePasses(FileSystem &files, UserChannel &user, RunJournal &journal, JournalRecord::Kind kind)
    : m_files(files)
    , m_user(user)
    , m_journal(journal)
    , m_kind(kind)
    , m_folders(files)
{
}

QString RenamePasses::run(const std::vector<JournalItem> &items, std::vector<MoveResult> *results)
{
    results->assign(items.size(), MoveResult());
    m_stopped = false;
    if (const QString error = m_journal.begin(m_kind, items); !error.isEmpty())
        return error;
    const int count = static_cast<int>(items.size());
    m_step = ProgressStep(count);
    m_maximum = std::max(1, 2 * count);
    m_user.setProgressMaximum(m_maximum);
    m_user.setProgressValue(m_maximum);
    m_user.setProgressVisible(true);
    if (firstPass(items, *results)) {
        // Should the mark not reach the disk, the journal still says "first
        // pass", and a recovery would take parked items back: safe either way.
        m_journal.secondPass();
        secondPass(items, *results);
    }
    m_folders.clear();
    m_journal.complete();
    m_user.setProgressVisible(false);
    return {};
}

QString RenamePasses::move(const JournalItem &item, const QString &from, const QString &to)
{
    return m_files.renameIn(m_folders.of(item.folder), from, to).text();
}

bool RenamePasses::stepAt(size_t index, int base)
{
    const int done = static_cast<int>(index) + 1;
    if (done % m_step != 0)
        return false;
    m_user.setProgressValue(std::max(0, base - done));
    m_user.processEvents();
    return m_user.stopRequested();
}

bool RenamePasses::firstPass(const std::vector<JournalItem> &items, std::vector<MoveResult> &results)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const JournalItem &item = items[i];
        if (item.start == JournalItem::Start::AtFrom) {
            const QString error = move(item, item.from, item.park);
            if (!error.isEmpty()) {
                results[i] = {MoveResult::Outcome::NotParked, error};
                m_journal.failed(static_cast<int>(i), 1);
            }
        }
        if (!m_stopped && stepAt(i, m_maximum)) {
            m_stopped = true;
            rollBack(items, results, i + 1);
            return false;
        }
    }
    return true;
}

void RenamePasses::rollBack(const std::vector<JournalItem> &items, std::vector<MoveResult> &results, size_t reached)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const JournalItem &item = items[i];
        if (item.start == JournalItem::Start::Done || results[i].outcome == MoveResult::Outcome::NotParked)
            continue;
        if (item.start == JournalItem::Start::AtFrom && i >= reached) {
            results[i] = {MoveResult::Outcome::RolledBack, {}};
            continue;
        }
        const QString error = move(item, item.park, item.from);
        results[i] = error.isEmpty() ? MoveResult{MoveResult::Outcome::RolledBack, {}}
                                     : MoveResult{MoveResult::Outcome::LeftParked, error};
    }
}

void RenamePasses::secondPass(const std::vector<JournalItem> &items, std::vector<MoveResult> &results)
{
    const int base = m_maximum / 2;
    for (size_t i = 0; i < items.size(); ++i) {
        const JournalItem &item = items[i];
        if (item.start != JournalItem::Start::Done && results[i].outcome != MoveResult::Outcome::NotParked) {
            const QString error = move(item, item.park, item.to);
            if (!error.isEmpty()) {
                m_journal.failed(static_cast<int>(i), 2);
                const bool back = move(item, item.park, item.from).isEmpty();
                results[i] = {back ? MoveResult::Outcome::PutBack : MoveResult::Outcome::LeftParked, error};
            }
        }
        // A stop here finishes the pass: taking the moved items back could
        // collide with names the pass has already given.
        if (!m_stopped && stepAt(i, base))
            m_stopped = true;
    }
}
