#include "tags/id3v1block.h"

#include "tags/genretable.h"
#include "tags/tagtext.h"

#include <cmath>

namespace {

struct FixedField
{
    const char16_t *name;
    int offset;
    int length;
};

constexpr FixedField Fields[] = {
    {u"title", 3, 30}, {u"artist", 33, 30}, {u"album", 63, 30}, {u"year", 93, 4}, {u"comment", 97, 28},
};

constexpr int GenreOffset = 127;
constexpr int NoGenre = 255;

const FixedField *fixedField(const QString &name)
{
    for (const FixedField &field : Fields) {
        if (name == QStringView(field.name))
            return &field;
    }
    return nullptr;
}

} // namespace

bool Id3v1Block::read(const QByteArray &block)
{
    if (block.size() != Length || !block.startsWith("TAG"))
        return false;
    m_block = block;
    m_asRead = block;
    m_new = false;
    return true;
}

void Id3v1Block::create()
{
    m_block = QByteArray("TAG") + QByteArray(Length - 3, '\0');
    m_block[GenreOffset] = char(NoGenre);
    m_asRead = m_block;
    m_new = true;
}

QString Id3v1Block::field(const QString &name) const
{
    if (!exists())
        return {};
    if (name == u"genre") {
        const int genre = uchar(m_block[GenreOffset]);
        return genre == NoGenre ? QString() : GenreName(genre).trimmed();
    }
    const FixedField *field = fixedField(name);
    if (!field)
        return {};
    QByteArray bytes = m_block.mid(field->offset, field->length);
    bytes.replace('\0', QByteArray());
    return TagText::decodeV1(bytes).trimmed();
}

bool Id3v1Block::setField(const QString &name, const QString &value)
{
    if (!exists() || value == field(name))
        return true;
    if (name == u"genre") {
        setGenre(value);
        return true;
    }
    const FixedField *field = fixedField(name);
    if (!field)
        return true;
    bool lossless = true;
    QByteArray bytes = TagText::encodeV1(value, field->length, &lossless);
    bytes.append(field->length - bytes.size(), '\0');
    m_block.replace(field->offset, field->length, bytes);
    return lossless;
}

void Id3v1Block::setGenre(const QString &value)
{
    QString number = value.trimmed();
    // "(200)" is how an unnamed genre number is shown; it stands for that number.
    if (number.startsWith(u'(') && number.endsWith(u')'))
        number = number.mid(1, number.size() - 2);
    bool isNumber = false;
    const double numeric = number.toDouble(&isNumber);
    int genre = -1;
    if (value.trimmed().isEmpty())
        genre = NoGenre;
    else if (isNumber && numeric >= 0 && numeric <= 255)
        genre = int(std::nearbyint(numeric));
    else
        genre = GenreNo(value);
    if (genre >= 0)
        m_block[GenreOffset] = char(genre);
}
