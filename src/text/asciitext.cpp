#include "text/asciitext.h"

namespace AsciiText {

namespace {

char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

}

bool matchesAt(const QString &text, qsizetype at, QStringView needle)
{
    if (at < 0 || at + needle.size() > text.size())
        return false;
    for (qsizetype j = 0; j < needle.size(); ++j) {
        if (lower(text[at + j].unicode()) != lower(needle[j].unicode()))
            return false;
    }
    return true;
}

qsizetype indexOf(const QString &text, QStringView needle, qsizetype from)
{
    if (needle.isEmpty())
        return from <= text.size() ? std::max<qsizetype>(from, 0) : -1;
    const qsizetype last = text.size() - needle.size();
    const char16_t first = needle[0].unicode();
    if (lower(first) == first && !(first >= u'a' && first <= u'z')) {
        // A first character without case ("<" of a placeholder) is found by
        // Qt's fast search; only its places are compared further.
        for (qsizetype i = text.indexOf(QChar(first), std::max<qsizetype>(from, 0)); i >= 0 && i <= last;
             i = text.indexOf(QChar(first), i + 1)) {
            if (matchesAt(text, i, needle))
                return i;
        }
        return -1;
    }
    for (qsizetype i = std::max<qsizetype>(from, 0); i <= last; ++i) {
        if (matchesAt(text, i, needle))
            return i;
    }
    return -1;
}

qsizetype indexOfCall(const QString &text, QStringView opening, qsizetype from)
{
    // Every match ends at a "(", and a text holds few of them: look there only.
    const qsizetype nameLength = opening.size() - 1;
    for (qsizetype paren = text.indexOf(u'(', std::max<qsizetype>(from, 0) + nameLength); paren >= 0;
         paren = text.indexOf(u'(', paren + 1)) {
        if (matchesAt(text, paren - nameLength, opening))
            return paren - nameLength;
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
