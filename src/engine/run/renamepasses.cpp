#include "engine/run/renamepasses.h"

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
    // A UTF-16 unit takes at most three bytes in UTF-8.
    if (full.size() * 3 <= maximumNameBytes || full.toUtf8().size() <= maximumNameBytes)
        return full;
    const QString head = prefix + QString::number(tag) + u'~';
    // The longest start of name that fits, counted in one walk, never
    // splitting a character.
    qsizetype room = maximumNameBytes - head.toUtf8().size() - suffix.toUtf8().size();
    qsizetype kept = 0;
    while (kept < name.size()) {
        const bool pair = name.at(kept).isHighSurrogate() && kept + 1 < name.size();
        const char32_t code = pair ? QChar::surrogateToUcs4(name.at(kept), name.at(kept + 1)) : name.at(kept).unicode();
        const qsizetype bytes = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (bytes > room)
            break;
        room -= bytes;
        kept += pair ? 2 : 1;
    }
    return head + name.first(kept) + suffix;
}

QString RunCounts(const QString &done, const QString &failed, int changed, int failures, int total)
{
    return done + u"：" + SizeText(changed) + u" 件（全 " + SizeText(total) + u" 件中）"
           + (failures > 0 ? u"、" + failed + u"：" + SizeText(failures) + u" 件" : QString());
}

QString PassesSummary(RenamePasses::Stop stop, const QString &done, const QString &failed, int moved, int failures,
                      int total)
{
    const QString counts = RunCounts(done, failed, moved, failures, total);
    switch (stop) {
    case RenamePasses::Stop::None:
        break;
    case RenamePasses::Stop::FirstPass:
        return u"中止しました。" + counts;
    case RenamePasses::Stop::SecondPass:
        if (failures == 0)
            return u"中止が指示されましたが、第2段階に入っていたため全 " + SizeText(moved) + u" 件の変更を完了しました";
        return u"中止が指示されましたが、第2段階に入っていたため最後まで処理しました。" + counts;
    }
    return counts;
}

QString RestoreParkName(const QString &name, int tag)
{
    return ParkName({}, name, ParkSuffix(), tag);
}

RenamePasses::RenamePasses(FileSystem &files, UserChannel &user, RunJournal &journal, JournalRecord::Kind kind)
    : m_files(files)
    , m_user(user)
    , m_journal(journal)
    , m_kind(kind)
    , m_folders(files)
{
}

QString RenamePasses::run(const MovePlan &plan, std::vector<MoveResult> *results)
{
    results->clear();
    m_stop = Stop::None;
    if (const QString error = m_journal.begin(m_kind, plan); !error.isEmpty())
        return error;
    results->assign(plan.size(), MoveResult());
    m_failure.clear();
    const int count = static_cast<int>(plan.size());
    m_step = ProgressStep(count);
    m_maximum = std::max(1, 2 * count);
    m_user.setProgressMaximum(m_maximum);
    m_user.setProgressValue(m_maximum);
    m_user.setProgressVisible(true);
    if (firstPass(plan, *results)) {
        // Without the mark on disk a recovery would look for moved items under
        // their old names, which others may hold by then: the run goes no further.
        m_failure = m_journal.secondPass();
        if (m_failure.isEmpty())
            secondPass(plan, *results);
        else
            rollBack(plan, *results, plan.size());
    }
    m_folders.clear();
    if (const QString error = m_journal.complete(); m_failure.isEmpty())
        m_failure = error;
    m_user.setProgressVisible(false);
    return m_failure;
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
    return m_stoppable && m_user.stopRequested();
}

bool RenamePasses::firstPass(const MovePlan &plan, std::vector<MoveResult> &results)
{
    for (size_t i = 0; i < plan.size(); ++i) {
        const JournalItem item = plan.item(i);
        if (item.start == JournalItem::Start::AtFrom) {
            const QString error = move(item, item.from, item.park);
            if (!error.isEmpty()) {
                results[i] = {MoveResult::Outcome::NotParked, error};
                m_journal.failed(static_cast<int>(i), 1);
            }
        }
        if (m_stop == Stop::None && stepAt(i, m_maximum)) {
            m_stop = Stop::FirstPass;
            rollBack(plan, results, i + 1);
            return false;
        }
    }
    return true;
}

void RenamePasses::rollBack(const MovePlan &plan, std::vector<MoveResult> &results, size_t reached)
{
    for (size_t i = 0; i < plan.size(); ++i) {
        const JournalItem item = plan.item(i);
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

void RenamePasses::secondPass(const MovePlan &plan, std::vector<MoveResult> &results)
{
    const int base = m_maximum / 2;
    for (size_t i = 0; i < plan.size(); ++i) {
        const JournalItem item = plan.item(i);
        if (item.start != JournalItem::Start::Done && results[i].outcome != MoveResult::Outcome::NotParked) {
            const QString error = move(item, item.park, item.to);
            if (!error.isEmpty()) {
                // Unless the journal knows of the failure, the item stays where it says.
                const QString unmarked = m_journal.failed(static_cast<int>(i), 2);
                if (m_failure.isEmpty())
                    m_failure = unmarked;
                const bool back = unmarked.isEmpty() && move(item, item.park, item.from).isEmpty();
                results[i] = {back ? MoveResult::Outcome::PutBack : MoveResult::Outcome::LeftParked, error};
            }
        }
        // A stop here finishes the pass: taking the moved items back could
        // collide with names the pass has already given.
        if (m_stop == Stop::None && stepAt(i, base))
            m_stop = Stop::SecondPass;
    }
}
