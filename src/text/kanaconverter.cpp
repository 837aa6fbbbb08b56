#include "text/kanaconverter.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace KanaConverter {

namespace {

QString transliterate(const char *id, const QString &text)
{
    // One transliterator per conversion for the whole run; building one is costly.
    struct Cache
    {
        std::unique_ptr<icu::Transliterator> wide, narrow, katakana, hiragana;
    };
    static Cache cache;
    std::unique_ptr<icu::Transliterator> *slot = nullptr;
    const QLatin1StringView name(id);
    if (name == QLatin1StringView("Halfwidth-Fullwidth"))
        slot = &cache.wide;
    else if (name == QLatin1StringView("Fullwidth-Halfwidth"))
        slot = &cache.narrow;
    else if (name == QLatin1StringView("Hiragana-Katakana"))
        slot = &cache.katakana;
    else
        slot = &cache.hiragana;
    if (!*slot) {
        UErrorCode status = U_ZERO_ERROR;
        slot->reset(icu::Transliterator::createInstance(icu::UnicodeString(id), UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            slot->reset();
    }
    if (!*slot)
        return text;
    icu::UnicodeString buffer(reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
    (*slot)->transliterate(buffer);
    return QString(reinterpret_cast<const QChar *>(buffer.getBuffer()), buffer.length());
}

}

QString toWide(const QString &text)
{
    return transliterate("Halfwidth-Fullwidth", text);
}

QString toNarrow(const QString &text)
{
    return transliterate("Fullwidth-Halfwidth", text);
}

QString toKatakana(const QString &text)
{
    return transliterate("Hiragana-Katakana", text);
}

QString toHiragana(const QString &text)
{
    return transliterate("Katakana-Hiragana", text);
}

}
