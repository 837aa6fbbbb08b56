#include "text/cp932bytes.h"

#include "platform/codepage.h"

#include <QList>

#include <utility>

namespace Cp932Bytes {

namespace {

// The characters of a text (a surrogate pair as one) with their width in code
// page 932 bytes. A character the code page lacks counts as two, like the
// double-byte characters, so that byte counts never lose or split it.
QList<std::pair<QString, int>> measuredCharacters(const QString &text)
{
    QList<std::pair<QString, int>> characters;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        bool lossless = true;
        const QByteArray bytes = CodePage::toCp932(character, &lossless);
        characters.append({character, lossless ? int(bytes.size()) : 2});
        i += length;
    }
    return characters;
}

} // namespace

qint64 length(const QString &text)
{
    qint64 total = 0;
    for (const auto &character : measuredCharacters(text))
        total += character.second;
    return total;
}

QString slice(const QString &text, qint64 from, qint64 count)
{
    QString kept;
    qint64 at = 0;
    for (const auto &[character, length] : measuredCharacters(text)) {
        if (at >= from && at + length <= from + count)
            kept += character;
        at += length;
    }
    return kept;
}

std::optional<QString> characterOf(qint64 code)
{
    const quint16 value = quint16(code);
    QByteArray bytes;
    if (value > 0xFF)
        bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
    bool lossless = false;
    const QString character = CodePage::fromCp932(bytes);
    if (character.isEmpty() || CodePage::toCp932(character, &lossless) != bytes || !lossless)
        return std::nullopt;
    for (const QChar c : character) {
        if (c.category() == QChar::Other_Control || c.unicode() == 0xFFFD)
            return std::nullopt;
    }
    return character;
}

} // namespace Cp932Bytes
