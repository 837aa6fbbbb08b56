#include "tags/tagjournal.h"

#include "platform/crlf.h"
#include "platform/filewriter.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/uniquefd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <sys/stat.h>

namespace {

const QByteArray Magic = QByteArrayLiteral("CORVANE TAG JOURNAL 1\n");
const QString CopyMark = QStringLiteral(".corvane-");

void field(QByteArray *out, const QByteArray &bytes)
{
    out->append(bytes);
    out->append('\0');
}

// A planted or damaged record must not make a start write anywhere: the file
// is named by a clean absolute path and its copy lies beside it.
bool trusted(const TagJournal::Rewrite &rewrite)
{
    return QDir::isAbsolutePath(rewrite.path) && QDir::cleanPath(rewrite.path) == rewrite.path
        && FolderOf(rewrite.copy) == FolderOf(rewrite.path) && FileNameOf(rewrite.copy).startsWith(u'.')
        && FileNameOf(rewrite.copy).contains(CopyMark) && rewrite.oldSize >= 0 && rewrite.newSize > rewrite.oldSize;
}

// The rewrites of a journal's bytes by id, each at the last step recorded.
std::map<int, TagJournal::Rewrite> parse(const QByteArray &bytes)
{
    std::map<int, TagJournal::Rewrite> rewrites;
    const QList<QByteArray> fields = bytes.mid(Magic.size()).split('\0');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray &head = fields[i];
        if (head.isEmpty())
            continue;
        const auto step = TagJournal::Step(head[0]);
        const int id = head.mid(1).toInt();
        if (step == TagJournal::Step::Copying && i + 6 < fields.size()) {
            TagJournal::Rewrite rewrite{QString::fromUtf8(fields[i + 1]), QString::fromUtf8(fields[i + 2]),
                                        fields[i + 3].toULongLong(), fields[i + 4].toULongLong(),
                                        fields[i + 5].toLongLong(), fields[i + 6].toLongLong(), id, step};
            rewrites[id] = rewrite;
            i += 6;
        } else if (rewrites.count(id)) {
            rewrites[id].step = step;
        }
    }
    return rewrites;
}

bool sameFile(int fd, const TagJournal::Rewrite &rewrite, struct stat *st)
{
    return ::fstat(fd, st) == 0 && S_ISREG(st->st_mode) && quint64(st->st_dev) == rewrite.device
        && quint64(st->st_ino) == rewrite.inode;
}

bool removeCopy(const TagJournal::Rewrite &rewrite)
{
    return ::unlink(QFile::encodeName(rewrite.copy).constData()) == 0;
}

// The file back to its old bytes: what the rewrite added past its old end goes.
QString undo(const TagJournal::Rewrite &rewrite)
{
    const UniqueFd file = UniqueFd::open(rewrite.path, O_RDWR | O_NOFOLLOW);
    struct stat st;
    if (file.ok() && sameFile(file.get(), rewrite, &st) && st.st_size > rewrite.oldSize
        && st.st_size <= rewrite.newSize) {
        if (::ftruncate(file.get(), rewrite.oldSize) != 0 || ::fsync(file.get()) != 0)
            return FsStatus::fromErrno(errno).text();
    }
    removeCopy(rewrite);
    return {};
}

// The file on to its new content, from the whole copy beside it.
QString finish(const TagJournal::Rewrite &rewrite)
{
    const UniqueFd copy = UniqueFd::open(rewrite.copy, O_RDONLY | O_NOFOLLOW);
    const UniqueFd file = UniqueFd::open(rewrite.path, O_RDWR | O_NOFOLLOW);
    struct stat st;
    if (!copy.ok() || !file.ok())
        return FsStatus::fromErrno(errno).text();
    if (!sameFile(file.get(), rewrite, &st) || ::fstat(copy.get(), &st) != 0 || st.st_size != rewrite.newSize)
        return QStringLiteral("ファイルが置き換えられています");
    FileWriter &writer = FileWriter::system();
    if (::ftruncate(file.get(), rewrite.newSize) != 0
        || !writer.copyRange(copy.get(), 0, file.get(), 0, rewrite.newSize) || ::fsync(file.get()) != 0)
        return FsStatus::fromErrno(errno).text();
    removeCopy(rewrite);
    return {};
}

// What a start did about one unfinished rewrite: empty when nothing was left
// to do; failed tells that the copy stays for the next start.
QString mend(const TagJournal::Rewrite &rewrite, bool *failed)
{
    *failed = false;
    if (!trusted(rewrite))
        return rewrite.path + QStringLiteral(": 記録が不正なため何もしていません");
    const bool copyThere = QFileInfo::exists(rewrite.copy);
    switch (rewrite.step) {
    case TagJournal::Step::Copying:
        if (!copyThere)
            return {};
        if (!removeCopy(rewrite)) {
            *failed = true;
            return rewrite.copy + QStringLiteral(": 一時ファイルを削除できませんでした (")
                 + FsStatus::fromErrno(errno).text() + u')';
        }
        return rewrite.path + QStringLiteral(": タグの書き換え前のままです。一時ファイル ") + rewrite.copy
             + QStringLiteral(" を削除しました");
    case TagJournal::Step::Reserving:
        if (const QString error = undo(rewrite); !error.isEmpty()) {
            *failed = true;
            return rewrite.path + QStringLiteral(": 元に戻せませんでした (") + error + u')';
        }
        return rewrite.path + QStringLiteral(": 途中で終わったタグの書き換えを取り消し、元の内容に戻しました");
    case TagJournal::Step::Writing:
        if (!copyThere)
            return {}; // the copy goes only after the file holds its content
        if (const QString error = finish(rewrite); !error.isEmpty()) {
            *failed = true;
            return rewrite.path + QStringLiteral(": タグの書き換えを完了できませんでした (") + error
                 + QStringLiteral(")。書き換え後の内容は ") + rewrite.copy + QStringLiteral(" にあります");
        }
        return rewrite.path + QStringLiteral(": 途中で終わったタグの書き換えを最後まで行いました");
    case TagJournal::Step::Ended:
        break;
    }
    return {};
}

QByteArray stepRecord(const TagJournal::Rewrite &rewrite)
{
    QByteArray bytes;
    field(&bytes, char(rewrite.step) + QByteArray::number(rewrite.id));
    return bytes;
}

QByteArray startRecord(const TagJournal::Rewrite &rewrite)
{
    QByteArray bytes;
    field(&bytes, char(TagJournal::Step::Copying) + QByteArray::number(rewrite.id));
    for (const QByteArray &text : {rewrite.path.toUtf8(), rewrite.copy.toUtf8(), QByteArray::number(rewrite.device),
                                   QByteArray::number(rewrite.inode), QByteArray::number(rewrite.oldSize),
                                   QByteArray::number(rewrite.newSize)})
        field(&bytes, text);
    return bytes;
}

std::vector<TagJournal::Rewrite> unfinished(const QByteArray &bytes)
{
    std::vector<TagJournal::Rewrite> left;
    if (!bytes.startsWith(Magic))
        return left;
    for (const auto &[id, rewrite] : parse(bytes)) {
        if (rewrite.step != TagJournal::Step::Ended)
            left.push_back(rewrite);
    }
    return left;
}

} // namespace

TagJournal::TagJournal(QString path)
    : m_path(std::move(path))
{
}

TagJournal::~TagJournal()
{
    if (!m_file.isOpen())
        return;
    if (m_unfinished > 0)
        m_file.sync();
    m_file.close();
    if (m_unfinished == 0)
        QFile::remove(m_path);
}

QString TagJournal::open(const std::vector<Rewrite> &carried)
{
    if (const QString error = m_file.create(m_path); !error.isEmpty())
        return error;
    m_file.append(Magic);
    for (Rewrite rewrite : carried) {
        rewrite.id = m_nextId++;
        m_file.append(startRecord(rewrite));
        if (rewrite.step != Step::Copying)
            m_file.append(stepRecord(rewrite));
        ++m_unfinished;
    }
    return m_file.sync();
}

QString TagJournal::begin(Rewrite *rewrite)
{
    if (m_path.isEmpty())
        return {};
    if (!m_file.isOpen()) {
        bool busy = false;
        QString error;
        const QByteArray old = JournalFile::read(m_path, &busy, &error);
        if (busy)
            return u"他の Corvane がタグを書き換えています" + CrLf + m_path;
        if (!error.isEmpty())
            return error;
        if (error = open(unfinished(old)); !error.isEmpty())
            return error;
    }
    rewrite->id = m_nextId++;
    rewrite->step = Step::Copying;
    ++m_unfinished;
    m_file.append(startRecord(*rewrite));
    return m_file.sync();
}

QString TagJournal::step(Rewrite *rewrite, Step step)
{
    rewrite->step = step;
    if (!m_file.isOpen())
        return {};
    m_file.append(stepRecord(*rewrite));
    if (step != Step::Ended)
        return m_file.sync();
    --m_unfinished; // an end needs no sync: without its copy a rewrite is over
    return {};
}

QStringList TagJournal::recover(const QString &path)
{
    bool busy = false;
    QString error;
    const QByteArray bytes = JournalFile::read(path, &busy, &error);
    if (busy || bytes.isEmpty())
        return error.isEmpty() ? QStringList() : QStringList{error};
    const std::vector<Rewrite> left = unfinished(bytes);
    if (left.empty()) {
        if (bytes.startsWith(Magic))
            QFile::remove(path);
        return {};
    }
    // The records move into a journal this process holds, so that a second
    // start cannot mend the same files at once and a kill now loses nothing.
    TagJournal journal(path);
    if (error = journal.open(left); !error.isEmpty())
        return {error};
    QStringList lines;
    for (int i = 0; i < int(left.size()); ++i) {
        Rewrite rewrite = left[std::size_t(i)];
        rewrite.id = i + 1;
        bool failed = false;
        if (const QString line = mend(rewrite, &failed); !line.isEmpty())
            lines << line;
        if (!failed)
            journal.step(&rewrite, Step::Ended);
    }
    return lines;
}
