#include "engine/run/journalrecovery.h"

#include "engine/run/renamepasses.h"
#include "platform/displaytext.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"

namespace {

QString missingText(const JournalRecord &record, int index)
{
    const JournalItem &item = record.items[index];
    return EscapedText(JoinPath(item.folder, item.from)) + QStringLiteral(": 見つかりません (") + EscapedText(item.park)
           + QStringLiteral(", ") + EscapedText(item.to) + u')';
}

} // namespace

JournalRecovery::JournalRecovery(FileSystem &files, UserChannel &user, QString journalPath)
    : m_files(files)
    , m_user(user)
    , m_path(std::move(journalPath))
{
}

JournalRecord JournalRecovery::load(bool *busy, QString *error) const
{
    return RunJournal::load(m_path, busy, error);
}

bool JournalRecovery::interrupted(const QString &path)
{
    return RunJournal::unfinished(path);
}

bool JournalRecovery::undoable(const QString &path)
{
    JournalRecord::Kind kind = JournalRecord::Kind::Execute;
    bool complete = false;
    return RunJournal::planned(path, &kind, &complete) && (kind == JournalRecord::Kind::Execute || !complete);
}

JournalRecovery::Outcome JournalRecovery::putBack(const JournalRecord &record)
{
    m_failures.clear();
    FolderHandles folders(m_files);
    std::vector<JournalItem> items;
    for (int i = 0; i < int(record.items.size()); ++i) {
        const JournalItem &item = record.items[i];
        const JournalItem::Place place = record.locate(m_files, folders, i);
        if (place == JournalItem::Place::Missing) {
            m_failures << missingText(record, i);
        } else if (place != JournalItem::Place::From) {
            const QString now = place == JournalItem::Place::Park ? item.park : item.to;
            items.push_back({item.folder, now, RestoreParkName(item.from, i), item.from});
        }
    }
    return run(JournalRecord::Kind::Restore, items);
}

JournalRecovery::Outcome JournalRecovery::finish(const JournalRecord &record)
{
    m_failures.clear();
    FolderHandles folders(m_files);
    std::vector<JournalItem> items;
    for (int i = 0; i < int(record.items.size()); ++i) {
        JournalItem item = record.items[i];
        switch (record.locate(m_files, folders, i)) {
        case JournalItem::Place::Missing:
            m_failures << missingText(record, i);
            continue;
        case JournalItem::Place::From:
            item.start = JournalItem::Start::AtFrom;
            break;
        case JournalItem::Place::Park:
            item.start = JournalItem::Start::Parked;
            break;
        case JournalItem::Place::To:
            item.start = JournalItem::Start::Done;
            break;
        }
        items.push_back(item);
    }
    return run(record.kind, items);
}

JournalRecovery::Outcome JournalRecovery::undo()
{
    m_failures.clear();
    bool busy = false;
    QString error;
    const JournalRecord record = load(&busy, &error);
    if (busy) {
        m_failures << QStringLiteral("他の Corvane が名前を変更しています: ") + m_path;
        return Outcome::Partly;
    }
    if (!error.isEmpty()) {
        m_failures << error;
        return Outcome::Partly;
    }
    if (!record.exists || (record.kind == JournalRecord::Kind::Restore && record.complete))
        return Outcome::Nothing;
    return record.kind == JournalRecord::Kind::Execute ? putBack(record) : finish(record);
}

JournalRecovery::Outcome JournalRecovery::run(JournalRecord::Kind kind, const std::vector<JournalItem> &items)
{
    m_moved.clear();
    // Even with nothing to move, the new journal closes the old one.
    RunJournal journal(m_path, true);
    RenamePasses passes(m_files, m_user, journal, kind);
    passes.setStoppable(false);
    std::vector<MoveResult> results;
    if (const QString error = passes.run(items, &results); !error.isEmpty())
        m_failures << error;
    for (size_t k = 0; k < results.size(); ++k) {
        const JournalItem &item = items[k];
        const MoveResult &result = results[k];
        if (result.outcome == MoveResult::Outcome::Moved) {
            if (item.start != JournalItem::Start::Done)
                m_moved.insert(JoinPath(item.folder, item.from), JoinPath(item.folder, item.to));
            continue;
        }
        const QString lies = result.outcome == MoveResult::Outcome::LeftParked ? item.park : item.from;
        m_failures << EscapedText(JoinPath(item.folder, item.to)) + QStringLiteral(": ")
                          + EscapedText(JoinPath(item.folder, lies))
                          + QStringLiteral(" のまま (") + (result.error.isEmpty() ? QStringLiteral("中止") : result.error)
                          + u')';
    }
    return m_failures.isEmpty() ? Outcome::Done : Outcome::Partly;
}
