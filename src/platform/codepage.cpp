#include "platform/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char cp932Name[] = "windows-31j";
const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

} // namespace

QString CodePage::fromCp932(const QByteArray &bytes)
{
    QStringDecoder decoder(cp932Name);
    return decoder.decode(bytes);
}

QByteArray CodePage::toCp932(const QString &text, bool *lossless)
{
    QStringEncoder encoder(cp932Name);
    QByteArray bytes = encoder.encode(text);
    if (lossless)
        *lossless = !encoder.hasError();
    return bytes;
}

bool CodePage::holds(const QString &text)
{
    bool lossless = false;
    toCp932(text, &lossless);
    return lossless;
}

bool CodePage::isValidUtf8(const QByteArray &bytes)
{
    // Stateless, so that a sequence cut off at the end counts as an error.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

namespace {

bool readsAsUtf8(const QByteArray &bytes)
{
    const bool hasHighBytes = std::any_of(bytes.cbegin(), bytes.cend(),
                                          [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return hasHighBytes && CodePage::isValidUtf8(bytes);
}

} // namespace

QString CodePage::decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Bom))
        return QString::fromUtf8(bytes.mid(utf8Bom.size()));
    if (readsAsUtf8(bytes))
        return QString::fromUtf8(bytes);
    return fromCp932(bytes);
}

QByteArray CodePage::encodeText(const QString &text)
{
    bool lossless = false;
    QByteArray bytes = toCp932(text, &lossless);
    // Some code page 932 texts (half-width katakana pairs) are also valid UTF-8
    // and would read back wrongly; those get the byte-order mark as well.
    if (lossless && !readsAsUtf8(bytes))
        return bytes;
    return utf8Bom + text.toUtf8();
}
