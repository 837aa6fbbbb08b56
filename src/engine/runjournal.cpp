#include "engine/runjournal.h"

#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"
#include "platform/systempaths.h"

namespace {

const QByteArray magic = QByteArrayLiteral("CORVANE JOURNAL 1\n");
const QByteArray executeKind = QByteArrayLiteral("execute\n");
const QByteArray restoreKind = QByteArrayLiteral("restore\n");

// Names hold no NUL, so NUL ends every field.
void field(QByteArray *out, char tag, const QString &text)
{
    out->append(tag);
    out->append(text.toUtf8());
    out->append('\0');
}

} // namespace

QString RunJournal::begin(JournalRecord::Kind kind, const std::vector<JournalItem> &items)
{
    if (!keeps())
        return {};
    if (!m_recovering) {
        if (unfinished(m_path))
            return QStringLiteral("前回の名前の変更が途中で終わったままです。corvane -undo で元に戻すか、"
                                  "Corvane を起動して最後まで実行してから、もう一度実行してください。\r\n")
                   + m_path;
    }
    if (const QString error = m_file.create(m_path); !error.isEmpty())
        return error;
    // Handed on a piece at a time, so a large plan is never held whole in memory.
    constexpr qsizetype piece = 64 * 1024;
    QByteArray bytes = magic + (kind == JournalRecord::Kind::Execute ? executeKind : restoreKind);
    bytes.reserve(piece + 4096);
    const QString *folder = nullptr;
    for (const JournalItem &item : items) {
        if (!folder || *folder != item.folder) {
            field(&bytes, 'F', item.folder);
            folder = &item.folder;
        }
        field(&bytes, static_cast<char>(item.start), item.from);
        field(&bytes, '-', item.park);
        field(&bytes, '-', item.to);
        if (bytes.size() >= piece) {
            m_file.append(bytes);
            bytes.resize(0);
        }
    }
    // The plan counts only once it is whole: a run killed while writing it
    // had not renamed anything yet.
    bytes.append("B\0", 2);
    m_file.append(bytes);
    return m_file.sync();
}

QString RunJournal::secondPass()
{
    if (!m_file.isOpen())
        return {};
    m_file.append(QByteArray("P\0", 2));
    return m_file.sync();
}

void RunJournal::failed(int index, int pass)
{
    if (!m_file.isOpen())
        return;
    m_file.append('X' + QByteArray::number(pass) + ' ' + QByteArray::number(index) + '\0');
    if (pass == 2)
        m_file.sync();
}

void RunJournal::complete()
{
    if (!m_file.isOpen())
        return;
    m_file.append(QByteArray("C\0", 2));
    m_file.sync();
    m_file.close();
}

bool RunJournal::unfinished(const QString &path)
{
    const QByteArray end = QByteArray("\0C\0", 3);
    bool busy = false;
    QString error;
    // A finished run, the usual case, shows in the last bytes alone.
    if (JournalFile::read(path, &busy, &error, end.size()) == end)
        return false;
    const QByteArray bytes = JournalFile::read(path, &busy, &error);
    // Every field ends in NUL and begins with a letter of its own, so these
    // three bytes stand only for the marks of a whole plan and of the end.
    return !busy && bytes.startsWith(magic) && bytes.contains(QByteArray("\0B\0", 3)) && !bytes.endsWith(end);
}

bool RunJournal::planned(const QString &path, JournalRecord::Kind *kind, bool *complete)
{
    bool busy = false;
    QString error;
    const QByteArray bytes = JournalFile::read(path, &busy, &error);
    const qsizetype kindEnd = bytes.indexOf('\n', magic.size());
    if (busy || !bytes.startsWith(magic) || kindEnd < 0)
        return false;
    *kind = bytes.mid(magic.size(), kindEnd + 1 - magic.size()) == restoreKind ? JournalRecord::Kind::Restore
                                                                               : JournalRecord::Kind::Execute;
    *complete = bytes.endsWith(QByteArray("\0C\0", 3));
    // A plan of no items has its mark right after the kind; else the mark follows a field's NUL.
    return kindEnd + 1 < bytes.size() && bytes.at(kindEnd + 1) != 'B' && bytes.contains(QByteArray("\0B\0", 3));
}

QString RunJournal::defaultPath()
{
    return JoinPath(SystemPaths::settingsFolder(), QStringLiteral("Journal.dat"));
}

JournalRecord RunJournal::load(const QString &path, bool *busy, QString *error)
{
    JournalRecord record;
    const QByteArray bytes = JournalFile::read(path, busy, error);
    if (bytes.isEmpty())
        return record;
    if (!bytes.startsWith(magic)) {
        *error = QStringLiteral("記録ファイルの形式が違います\r\n") + path;
        return record;
    }
    qsizetype at = magic.size();
    const qsizetype kindEnd = bytes.indexOf('\n', at);
    if (kindEnd < 0)
        return record;
    record.kind = bytes.mid(at, kindEnd + 1 - at) == restoreKind ? JournalRecord::Kind::Restore
                                                                  : JournalRecord::Kind::Execute;
    at = kindEnd + 1;
    const auto next = [&](QByteArray *token) {
        const qsizetype end = bytes.indexOf('\0', at);
        if (end < 0)
            return false; // a record cut short by a crash counts as never written
        *token = bytes.mid(at, end - at);
        at = end + 1;
        return true;
    };
    QString folder;
    QByteArray token;
    QByteArray park;
    QByteArray to;
    while (next(&token) && !token.isEmpty()) {
        const char tag = token.at(0);
        const QByteArray rest = token.mid(1);
        if (tag == 'F') {
            folder = QString::fromUtf8(rest);
        } else if (tag == 'I' || tag == 'J' || tag == 'K') {
            if (!next(&park) || !next(&to))
                break;
            record.items.push_back({folder, QString::fromUtf8(rest), QString::fromUtf8(park.mid(1)),
                                    QString::fromUtf8(to.mid(1)), static_cast<JournalItem::Start>(tag)});
        } else if (tag == 'P') {
            record.secondPass = true;
        } else if (tag == 'X') {
            const QList<QByteArray> parts = rest.split(' ');
            const int index = parts.value(1).toInt();
            if (record.failedIn.size() < record.items.size())
                record.failedIn.resize(record.items.size(), 0);
            if (index >= 0 && index < int(record.items.size()))
                record.failedIn[index] = static_cast<char>(parts.value(0).toInt());
        } else if (tag == 'B') {
            record.exists = true;
        } else if (tag == 'C') {
            record.complete = true;
        }
    }
    record.failedIn.resize(record.items.size(), 0);
    return record;
}

JournalItem::Place JournalRecord::locate(const FileSystem &files, FolderHandles &folders, int index) const
{
    using Place = JournalItem::Place;
    const JournalItem &item = items[index];
    const auto there = [&](Place place) {
        const QString &name = place == Place::From ? item.from : place == Place::Park ? item.park : item.to;
        return files.existsIn(folders.of(item.folder), name) ? place : Place::Missing;
    };
    if (item.start == JournalItem::Start::Done)
        return there(Place::To);
    // A parking name that was taken before the run is not this item's.
    if (failedIn[index] == 1)
        return there(Place::From);
    if (there(Place::Park) == Place::Park)
        return Place::Park;
    if (failedIn[index] == 2 || !secondPass)
        return there(Place::From);
    return there(Place::To);
}
