#include "engine/run/runjournal.h"

#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"
#include "platform/systempaths.h"

#include <QByteArrayView>
#include <QDir>

namespace {

const QByteArray magic = QByteArrayLiteral("CORVANE JOURNAL 1\n");
const QByteArray executeKind = QByteArrayLiteral("execute\n");
const QByteArray restoreKind = QByteArrayLiteral("restore\n");
const QByteArray endMark = QByteArray("\0C\0", 3);
constexpr qsizetype maximumNameBytes = 255;

// Names hold no NUL, so NUL ends every field.
void field(QByteArray *out, char tag, const QString &text)
{
    // Written straight into the buffer while the text is ASCII, the usual case.
    const qsizetype at = out->size();
    const qsizetype size = text.size();
    out->resize(at + size + 2);
    char *bytes = out->data() + at;
    *bytes++ = tag;
    // Copied first and checked once, in a loop without exits.
    const auto *units = text.utf16();
    char16_t all = 0;
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = char(units[i]);
        all |= units[i];
    }
    bytes[size] = '\0';
    if (all >= 0x80) {
        out->resize(at + 1);
        out->append(text.toUtf8());
        out->append('\0');
    }
}

bool isOneName(QByteArrayView name)
{
    return !name.isEmpty() && name.size() <= maximumNameBytes && name != "." && name != ".." && !name.contains('/');
}

// Absolute, without empty, "." or ".." parts and without a trailing "/".
bool isCleanFolder(QByteArrayView folder)
{
    if (!folder.startsWith('/'))
        return false;
    if (folder.size() == 1)
        return true;
    for (qsizetype at = 1; at <= folder.size();) {
        qsizetype end = folder.indexOf('/', at);
        if (end < 0)
            end = folder.size();
        const QByteArrayView part = folder.sliced(at, end - at);
        if (part.isEmpty() || part == "." || part == "..")
            return false;
        at = end + 1;
    }
    return true;
}

// "tmp", five or more digits and "_": the prefix an execution parks under.
qsizetype runPrefixLength(QByteArrayView park)
{
    qsizetype at = 3;
    while (at < park.size() && park.at(at) >= '0' && park.at(at) <= '9')
        ++at;
    return park.startsWith("tmp") && at >= 8 && at < park.size() && park.at(at) == '_' ? at + 1 : -1;
}

// Reads a journal's bytes once, field by field, and checks them whole: the
// record it builds is one nobody needs to doubt before acting on it. The
// bytes may come in pieces, so a large journal need not be held whole.
class JournalParser
{
public:
    JournalParser(JournalRecord *record, bool withItems)
        : m_record(*record)
        , m_withItems(withItems)
    {
    }

    // Takes the next piece of the file; last marks its end. Why the journal
    // cannot be used, as soon as that is known; empty while it can.
    QString feed(const QByteArray &piece, bool last);

private:
    enum class Stage { Header, Plan, Run, Ended };

    QString header();
    QString record();
    // The last place a record may start and still find an item's three
    // fields in the bytes at hand; -1 when there is none.
    qsizetype lastItemStart() const;

    // The next whole field; false at the end, where a field cut short by a
    // crash counts as never written.
    bool next(QByteArrayView *token);
    QString item(char start, QByteArrayView from);
    QString failure(QByteArrayView rest);
    QString checkPark(QByteArrayView park);
    static QString text(QByteArrayView bytes) { return QString::fromUtf8(bytes); }
    static QString shown(QByteArrayView bytes) { return EscapedText(text(bytes)); }

    QByteArray m_bytes;
    JournalRecord &m_record;
    bool m_withItems;
    qsizetype m_at = 0;
    Stage m_stage = Stage::Header;
    QByteArray m_folder;
    QString m_folderText;
    QByteArray m_prefix;
};

bool JournalParser::next(QByteArrayView *token)
{
    const qsizetype end = m_bytes.indexOf('\0', m_at);
    if (end < 0)
        return false;
    *token = QByteArrayView(m_bytes).sliced(m_at, end - m_at);
    m_at = end + 1;
    return true;
}

QString JournalParser::feed(const QByteArray &piece, bool last)
{
    if (m_at == m_bytes.size()) {
        m_bytes = piece;
    } else {
        QByteArray joined;
        joined.reserve(m_bytes.size() - m_at + piece.size());
        joined.append(QByteArrayView(m_bytes).sliced(m_at));
        joined.append(piece);
        m_bytes = std::move(joined);
    }
    m_at = 0;
    if (m_stage == Stage::Header) {
        if (!last && m_bytes.size() < magic.size() + executeKind.size())
            return {};
        if (const QString why = header(); !why.isEmpty())
            return why;
    }
    // Until the last piece, a record is read only once all of it is there:
    // from where it starts on, the bytes hold an item's three fields.
    const qsizetype itemStart = last ? m_bytes.size() : lastItemStart();
    while ((last || m_at <= itemStart) && m_at < m_bytes.size()) {
        const qsizetype at = m_at;
        if (const QString why = record(); !why.isEmpty())
            return why;
        if (m_at == at)
            break;
    }
    if (!last)
        return {};
    if (m_stage == Stage::Ended && m_at != m_bytes.size())
        return QStringLiteral("終わりの後に続きがあります");
    m_record.failedIn.resize(m_record.count, 0);
    return {};
}

qsizetype JournalParser::lastItemStart() const
{
    qsizetype at = m_bytes.size();
    for (int field = 0; field < 3 && at >= 0; ++field)
        at = at == 0 ? -1 : m_bytes.lastIndexOf('\0', at - 1);
    return at;
}

QString JournalParser::header()
{
    if (!m_bytes.startsWith(magic))
        return QStringLiteral("Corvane の記録ではありません");
    const QByteArrayView kind = QByteArrayView(m_bytes).sliced(magic.size()).first(
        std::min(executeKind.size(), m_bytes.size() - magic.size()));
    if (kind != executeKind && kind != restoreKind)
        return QStringLiteral("処理の種類が読めません");
    m_record.kind = kind == restoreKind ? JournalRecord::Kind::Restore : JournalRecord::Kind::Execute;
    m_at = magic.size() + kind.size();
    m_stage = Stage::Plan;
    return {};
}

QString JournalParser::record()
{
    QByteArrayView token;
    if (!next(&token))
        return {};
    {
        const char tag = token.isEmpty() ? '\0' : token.front();
        const QByteArrayView rest = token.sliced(std::min<qsizetype>(1, token.size()));
        QString why;
        if (tag == 'F' && m_stage == Stage::Plan) {
            if (!isCleanFolder(rest))
                return u"フォルダが絶対パスではありません: " + shown(rest);
            m_folder = rest.toByteArray();
            m_folderText = m_withItems ? text(rest) : QString();
        } else if ((tag == 'I' || tag == 'J' || tag == 'K') && m_stage == Stage::Plan) {
            why = item(tag, rest);
        } else if (tag == 'B' && rest.isEmpty() && m_stage == Stage::Plan) {
            m_stage = Stage::Run;
            m_record.exists = true;
        } else if (tag == 'P' && rest.isEmpty() && m_stage == Stage::Run && !m_record.secondPass) {
            m_record.secondPass = true;
        } else if (tag == 'X' && m_stage == Stage::Run) {
            why = failure(rest);
        } else if (tag == 'C' && rest.isEmpty() && m_stage == Stage::Run) {
            m_stage = Stage::Ended;
            m_record.complete = true;
        } else {
            why = QStringLiteral("記録の順序が違います");
        }
        return why;
    }
}

QString JournalParser::item(char start, QByteArrayView from)
{
    QByteArrayView park;
    QByteArrayView to;
    if (!next(&park) || !next(&to))
        return {}; // the plan was cut short, so the run never began
    if (m_folder.isNull() || !park.startsWith('-') || !to.startsWith('-'))
        return QStringLiteral("項目が欠けています");
    park = park.sliced(1);
    to = to.sliced(1);
    for (const QByteArrayView name : {from, park, to}) {
        if (!isOneName(name))
            return u"一つのファイル名ではありません: " + shown(name);
    }
    if (const QString why = checkPark(park); !why.isEmpty())
        return why;
    ++m_record.count;
    if (m_withItems)
        m_record.items.push_back({m_folderText, text(from), text(park), text(to), static_cast<JournalItem::Start>(start)});
    return {};
}

QString JournalParser::checkPark(QByteArrayView park)
{
    if (m_record.kind == JournalRecord::Kind::Restore) {
        if (!park.endsWith(ParkSuffix().toUtf8()))
            return u"一時的な名前の形が違います: " + shown(park);
        return {};
    }
    if (m_prefix.isNull()) {
        const qsizetype length = runPrefixLength(park);
        if (length < 0)
            return u"一時的な名前の形が違います: " + shown(park);
        m_prefix = park.first(length).toByteArray();
    }
    if (!park.startsWith(m_prefix))
        return u"一時的な名前の形が違います: " + shown(park);
    return {};
}

// "X", the pass, a blank and the index of an item of the plan; a first-pass
// failure comes before the second pass, a second-pass one after it.
QString JournalParser::failure(QByteArrayView rest)
{
    const qsizetype blank = rest.indexOf(' ');
    bool passRead = false;
    bool indexRead = false;
    const int pass = blank < 0 ? 0 : rest.first(blank).toInt(&passRead);
    const qlonglong index = blank < 0 ? -1 : rest.sliced(blank + 1).toLongLong(&indexRead);
    if (!passRead || !indexRead || index < 0 || index >= m_record.count || pass != (m_record.secondPass ? 2 : 1))
        return QStringLiteral("失敗の記録が計画と合いません");
    m_record.failedIn.resize(m_record.count, 0);
    m_record.failedIn[index] = static_cast<char>(pass);
    return {};
}

} // namespace

RunJournal::RunJournal(QString path, bool recovering, std::unique_ptr<JournalFile> file)
    : m_path(std::move(path))
    , m_recovering(recovering)
    , m_file(file ? std::move(file) : std::make_unique<JournalFile>())
{
}

QString ParkSuffix()
{
    return QStringLiteral("##");
}

QString RunJournal::begin(JournalRecord::Kind kind, const MovePlan &plan)
{
    if (!keeps())
        return {};
    if (!m_recovering) {
        if (unfinished(m_path))
            return QStringLiteral("前回の名前の変更が途中で終わったままです。corvane -undo で元に戻すか、"
                                  "Corvane を起動して最後まで実行してから、もう一度実行してください。\r\n")
                   + m_path;
    }
    if (const QString error = m_file->create(m_path); !error.isEmpty())
        return error;
    // Handed on a piece at a time, so a large plan is never held whole in memory.
    constexpr qsizetype piece = 64 * 1024;
    QByteArray bytes = magic + (kind == JournalRecord::Kind::Execute ? executeKind : restoreKind);
    bytes.reserve(piece + 4096);
    QString folder;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const JournalItem item = plan.item(i);
        if (i == 0 || folder != item.folder) {
            // Recovery may run from another current folder, and reads only clean absolute ones.
            field(&bytes, 'F', QDir::cleanPath(QDir::current().absoluteFilePath(item.folder)));
            folder = item.folder;
        }
        field(&bytes, static_cast<char>(item.start), item.from);
        field(&bytes, '-', item.park);
        field(&bytes, '-', item.to);
        if (bytes.size() >= piece) {
            m_file->append(bytes);
            bytes.resize(0);
        }
    }
    // The plan counts only once it is whole: a run killed while writing it
    // had not renamed anything yet.
    bytes.append("B\0", 2);
    m_file->append(bytes);
    return m_file->sync();
}

QString RunJournal::secondPass()
{
    if (!m_file->isOpen())
        return {};
    m_file->append(QByteArray("P\0", 2));
    return m_file->sync();
}

QString RunJournal::failed(int index, int pass)
{
    if (!m_file->isOpen())
        return {};
    m_file->append('X' + QByteArray::number(pass) + ' ' + QByteArray::number(index) + '\0');
    return pass == 2 ? m_file->sync() : QString();
}

QString RunJournal::complete()
{
    if (!m_file->isOpen())
        return {};
    m_file->append(QByteArray("C\0", 2));
    const QString error = m_file->sync();
    m_file->close();
    return error;
}

bool RunJournal::unfinished(const QString &path)
{
    bool busy = false;
    QString error;
    // A finished run, the usual case, shows in the last bytes alone.
    if (JournalFile::read(path, &busy, &error, endMark.size()) == endMark)
        return false;
    const JournalRecord record = read(path, &busy, &error, false);
    return !busy && error.isEmpty() && record.exists && !record.complete;
}

bool RunJournal::planned(const QString &path, JournalRecord::Kind *kind, bool *complete)
{
    bool busy = false;
    QString error;
    const JournalRecord record = read(path, &busy, &error, false);
    *kind = record.kind;
    *complete = record.complete;
    return !busy && error.isEmpty() && record.exists && record.count > 0;
}

QString RunJournal::defaultPath()
{
    return JoinPath(SystemPaths::settingsFolder(), QStringLiteral("Journal.dat"));
}

JournalRecord RunJournal::load(const QString &path, bool *busy, QString *error)
{
    return read(path, busy, error, true);
}

JournalRecord RunJournal::read(const QString &path, bool *busy, QString *error, bool withItems)
{
    JournalRecord record;
    JournalParser parser(&record, withItems);
    QString why;
    bool empty = true;
    const auto take = [&](const QByteArray &bytes, bool last) {
        empty = empty && bytes.isEmpty();
        why = parser.feed(bytes, last);
        return why.isEmpty();
    };
    // Read for its marks alone, a journal is taken a piece at a time, so a
    // large one is never held whole.
    if (withItems)
        take(JournalFile::read(path, busy, error), true);
    else
        JournalFile::readPieces(path, busy, error, 256 * 1024, take);
    if (empty || !error->isEmpty())
        return JournalRecord();
    if (!why.isEmpty()) {
        *error = u"記録ファイルを使えません（" + why + u"）\r\n" + path;
        return JournalRecord();
    }
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
