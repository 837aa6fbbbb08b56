#include "tags/clstag.h"

#include "platform/pathtext.h"
#include "platform/showmessage.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");
// Fresh padding when a tag has to grow, so the next few edits fit in place.
constexpr qint64 GrowthPadding = 2048;
constexpr qint64 MaxSyncSafe = 0x0FFFFFFF;

} // namespace

clsTAG::clsTAG(UserChannel *user)
    : m_user(user)
{
}

bool clsTAG::fail(const QString &reason)
{
    m_loadError = reason;
    if (m_user)
        ShowPlainMessage(*m_user, reason + CrLf + CrLf + m_FilePath, QStringLiteral("TAG読込"));
    return false;
}

bool clsTAG::setFilePath(const QString &path)
{
    const TagFile file = m_file; // keeps its journal and writer
    *this = clsTAG(m_user);
    m_file = file;
    m_FilePath = path;
    const QString error = m_file.load(path);
    m_id3.parse(m_file.head());
    m_tag1.read(m_file.tail());
    return error.isEmpty() || fail(error);
}

QString clsTAG::TAG1_DATA(const QString &name) const
{
    if (!Tg1_IsExist())
        return {};
    const QString key = name.toLower();
    if (key == u"path")
        return m_FilePath.trimmed();
    if (key == u"filename")
        return FileNameOf(m_FilePath).trimmed();
    return m_tag1.field(key);
}

void clsTAG::setTAG1_DATA(const QString &name, const QString &value)
{
    if (!m_tag1.setField(name.toLower(), value))
        m_tag1Replaced = true;
}

QString clsTAG::ID3_DATA(const QString &name) const
{
    const QString key = name.toLower();
    if (key == u"path")
        return m_FilePath;
    if (key == u"filename")
        return FileNameOf(m_FilePath);
    return m_id3.text(m_id3.idOf(key));
}

void clsTAG::setID3_DATA(const QString &name, const QString &value)
{
    m_id3.setText(GetID(name), value);
}

QString clsTAG::UpdateTAG1(const QString &path)
{
    if (path.isEmpty() || !Tg1_IsExist() || !tag1Changed())
        return {};
    if (!m_loadError.isEmpty())
        return m_loadError; // only what was read whole is written back
    const QString error = m_tag1.isNew() ? m_file.appendTail(m_tag1.bytes()) : m_file.writeTail(m_tag1.bytes());
    if (error.isEmpty())
        m_tag1.written();
    return error;
}

bool clsTAG::addMissingTags(bool v1, bool v2)
{
    bool made = false;
    if (v1 && !Tg1_IsExist()) {
        m_tag1.create();
        made = true;
    }
    if (v2 && !ID3_IsExist()) {
        m_id3.create();
        made = true;
    }
    return made;
}

QString clsTAG::UpdateID3(const QString &path)
{
    if (path.isEmpty() || !ID3_IsExist() || !id3Changed())
        return {};
    if (!m_loadError.isEmpty())
        return m_loadError;
    if (!id3Refusal().isEmpty())
        return id3Refusal();
    qint64 area = m_id3.area();
    if (m_id3.needed() > area) {
        area = m_id3.needed() + GrowthPadding;
        if (area - 10 > MaxSyncSafe)
            return QStringLiteral("タグが大きすぎるため書き込めません");
    }
    const QString error = m_file.writeHead(m_id3.rebuilt(area));
    if (error.isEmpty())
        m_id3.written(area);
    return error;
}
