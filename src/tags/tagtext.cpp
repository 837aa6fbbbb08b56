#include "tags/tagtext.h"

#include "platform/codepage.h"

#include <QList>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// The code page 932 reading of bytes, or nothing when they are not text there:
// a broken sequence, or a user-defined character, which Latin-1 bytes such as
// "ö" followed by a letter happen to form.
std::optional<QString> strictCp932(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    const bool odd = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() == 0x1A || c.unicode() == 0xFFFD || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF);
    });
    if (decoder.hasError() || odd)
        return std::nullopt;
    return text;
}

// The characters of text one by one; a surrogate pair stays together.
QStringList characters(const QString &text)
{
    QStringList all;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        all << text.mid(i, width);
        i += width;
    }
    return all;
}

} // namespace

namespace TagText {

bool isUtf16(int encoding)
{
    return encoding == 1 || encoding == 2;
}

int terminatorWidth(int encoding)
{
    return isUtf16(encoding) ? 2 : 1;
}

qsizetype findTerminator(QByteArrayView bytes, qsizetype from, int encoding)
{
    if (!isUtf16(encoding))
        return bytes.indexOf('\0', from);
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    }
    return -1;
}

QString decode(QByteArrayView bytes, int encoding)
{
    switch (encoding) {
    case 1:
        if (bytes.startsWith("\xFE\xFF"))
            return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
        if (bytes.startsWith("\xFF\xFE"))
            return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes);
    case 2:
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes);
    case 3:
        return QString::fromUtf8(bytes);
    default:
        // Most tag text is ASCII, which needs no converter.
        if (isAscii(bytes))
            return QString::fromLatin1(bytes);
        return CodePage::fromCp932(bytes.toByteArray());
    }
}

QString decodeStrings(QByteArrayView bytes, int encoding)
{
    if (findTerminator(bytes, 0, encoding) < 0)
        return decode(bytes, encoding);
    QStringList parts;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype end = findTerminator(bytes, from, encoding);
        if (end < 0) {
            parts << decode(bytes.sliced(from), encoding);
            break;
        }
        parts << decode(bytes.sliced(from, end - from), encoding);
        from = end + terminatorWidth(encoding);
    }
    while (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts.join(u'/');
}

int encodingFor(const QString &text, int version)
{
    if (isAscii(text))
        return 0;
    return version >= 4 ? 3 : 1;
}

QByteArray encode(const QString &text, int encoding)
{
    switch (encoding) {
    case 1: {
        QByteArray bytes("\xFF\xFE", 2);
        for (const QChar c : text)
            bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        return bytes;
    }
    case 3:
        return text.toUtf8();
    default:
        return text.toLatin1();
    }
}

QString decodeV1(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (const std::optional<QString> text = strictCp932(bytes))
        return *text;
    return QString::fromLatin1(bytes);
}

QByteArray encodeV1(const QString &text, int length, bool *lossless)
{
    *lossless = true;
    const bool latin1 = !CodePage::holds(text)
                        && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    QByteArray bytes;
    for (const QString &character : characters(text)) {
        QByteArray one;
        if (latin1) {
            one = character.toLatin1();
        } else {
            bool held = false;
            one = CodePage::toCp932(character, &held);
            if (!held) {
                one = QByteArray("?");
                *lossless = false;
            }
        }
        if (bytes.size() + one.size() > length)
            break;
        bytes += one;
    }
    return bytes;
}

} // namespace TagText
