#include "engine/rows/renamerow.h"

#include "platform/displaytext.h"
#include "platform/pathtext.h"

#include <optional>

namespace {

// A number whose text did not read back as one: the text is kept as it is.
constexpr qint64 oddText = RenameRow::Unset + 1;

// Whether path is JoinPath(folder, name), without building it.
bool isJoined(QStringView path, const QString &folder, QStringView name)
{
    if (folder.isEmpty())
        return path.isEmpty();
    const bool slash = !folder.endsWith(u'/');
    return path.size() == folder.size() + slash + name.size() && path.startsWith(folder)
           && (!slash || path.at(folder.size()) == u'/') && path.endsWith(name);
}

} // namespace

struct RenameRow::Extra
{
    QString sortKey;
    std::optional<QString> path;
    QString created;
    QString modified;
    QString size;
};

RenameRow::RenameRow(const RenameRow &other)
    : m_newName(other.m_newName)
    , m_currentName(other.m_currentName)
    , m_folder(other.m_folder)
    , m_originalName(other.m_originalName)
    , m_park(other.m_park)
    , m_extra(other.m_extra ? std::make_unique<Extra>(*other.m_extra) : nullptr)
    , m_created(other.m_created)
    , m_modified(other.m_modified)
    , m_size(other.m_size)
    , selected(other.selected)
    , rejection(other.rejection)
    , m_parkIsPath(other.m_parkIsPath)
    , m_factsPending(other.m_factsPending)
{
}

RenameRow &RenameRow::operator=(const RenameRow &other)
{
    if (this != &other)
        *this = RenameRow(other);
    return *this;
}

RenameRow::RenameRow(RenameRow &&other) noexcept = default;
RenameRow &RenameRow::operator=(RenameRow &&other) noexcept = default;
RenameRow::~RenameRow() = default;
RenameRow::RenameRow() = default;

RenameRow RenameRow::listed(const QString &folder, const QString &name, qint64 created, qint64 modified,
                            qint64 size)
{
    RenameRow row;
    row.m_newName = name;
    row.m_currentName = name;
    row.m_folder = folder;
    row.setFacts(created, modified, size);
    return row;
}

RenameRow RenameRow::listedWithoutFacts(const QString &folder, const QString &name)
{
    RenameRow row = listed(folder, name, Unset, Unset, Unset);
    row.m_factsPending = true;
    return row;
}

void RenameRow::setFacts(qint64 created, qint64 modified, qint64 size)
{
    m_created = created;
    m_modified = modified;
    m_size = size;
    m_factsPending = false;
}

const QString RenameRow::operator[](RenameField field) const
{
    switch (field) {
    case RenameField::NewName:
        return m_newName;
    case RenameField::CurrentName:
        return m_currentName;
    case RenameField::Created:
    case RenameField::Modified:
    case RenameField::Size:
        return numberText(field);
    case RenameField::Folder:
        return m_folder;
    case RenameField::Path:
        return m_extra && m_extra->path ? *m_extra->path : derivedPath();
    case RenameField::TempName:
        return m_parkIsPath || m_park.isEmpty() ? m_park : JoinPath(m_folder, m_park);
    case RenameField::SortKey:
        return m_extra ? m_extra->sortKey : QString();
    case RenameField::OriginalName:
        return m_originalName;
    }
    return {};
}

void RenameRow::set(RenameField field, QString text)
{
    switch (field) {
    case RenameField::NewName:
        // A planned name built piece by piece keeps room it no longer needs.
        if (text.capacity() > text.size() + 8)
            text.squeeze();
        m_newName = std::move(text);
        break;
    case RenameField::CurrentName:
        m_currentName = std::move(text);
        break;
    case RenameField::Created:
    case RenameField::Modified:
    case RenameField::Size:
        setNumber(field, std::move(text));
        break;
    case RenameField::Folder:
        m_folder = std::move(text);
        break;
    case RenameField::Path:
        if (isJoined(text, m_folder, m_currentName)) {
            if (m_extra)
                m_extra->path.reset();
        } else {
            extra().path = std::move(text);
        }
        break;
    case RenameField::TempName: {
        const QStringView name = QStringView(text).sliced(text.lastIndexOf(u'/') + 1);
        m_parkIsPath = !isJoined(text, m_folder, name);
        m_park = m_parkIsPath ? std::move(text) : name.toString();
        break;
    }
    case RenameField::SortKey:
        extra().sortKey = std::move(text);
        break;
    case RenameField::OriginalName:
        m_originalName = std::move(text);
        break;
    }
}

void RenameRow::setNameOnDisk(const QString &name)
{
    m_currentName = name;
    if (m_extra)
        m_extra->path.reset();
}

void RenameRow::setParkName(const QString &name)
{
    m_park = name;
    m_parkIsPath = false;
}

void RenameRow::swapFields(RenameRow &other) noexcept
{
    std::swap(selected, other.selected);
    std::swap(rejection, other.rejection);
    std::swap(*this, other);
}

RenameRow::Extra &RenameRow::extra()
{
    if (!m_extra)
        m_extra = std::make_unique<Extra>();
    return *m_extra;
}

QString RenameRow::derivedPath() const
{
    return JoinPath(m_folder, m_currentName);
}

qint64 RenameRow::*RenameRow::numberOf(RenameField field)
{
    return field == RenameField::Created    ? &RenameRow::m_created
           : field == RenameField::Modified ? &RenameRow::m_modified
                                            : &RenameRow::m_size;
}

QString RenameRow::Extra::*RenameRow::oddTextOf(RenameField field)
{
    return field == RenameField::Created    ? &Extra::created
           : field == RenameField::Modified ? &Extra::modified
                                            : &Extra::size;
}

QString RenameRow::numberText(RenameField field) const
{
    const qint64 value = this->*numberOf(field);
    if (value == Unset)
        return {};
    if (value == oddText)
        return (*m_extra).*oddTextOf(field);
    return field == RenameField::Size ? SizeText(value) : DateText(value);
}

void RenameRow::setNumber(RenameField field, QString text)
{
    qint64 &value = this->*numberOf(field);
    if (text.isEmpty()) {
        value = Unset;
        return;
    }
    const qint64 read = field == RenameField::Size ? ParseSizeText(text) : ParseDateText(text).toSecsSinceEpoch();
    const bool exact = read != Unset && read != oddText
                       && (field == RenameField::Size ? SizeText(read) : DateText(read)) == text;
    value = exact ? read : oddText;
    if (exact)
        return;
    extra().*oddTextOf(field) = std::move(text);
}
