#include "text/asciitext.h"

namespace AsciiText {

namespace {

char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

}

qsizetype indexOf(const QString &text, QStringView needle, qsizetype from)
{
    const qsizetype last = text.size() - needle.size();
    for (qsizetype i = std::max<qsizetype>(from, 0); i <= last; ++i) {
        qsizetype j = 0;
        while (j < needle.size() && lower(text[i + j].unicode()) == lower(needle[j].unicode()))
            ++j;
        if (j == needle.size())
            return i;
    }
    return -1;
}

bool contains(const QString &text, QStringView needle)
{
    return indexOf(text, needle) >= 0;
}

void replaceAll(QString &text, QStringView needle, const QString &value)
{
    if (needle.isEmpty())
        return;
    for (qsizetype at = indexOf(text, needle); at >= 0; at = indexOf(text, needle, at + value.size()))
        text.replace(at, needle.size(), value);
}

}
