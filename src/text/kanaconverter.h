#pragma once

#include <QString>

// Width and kana conversions of STRCONV through ICU transliteration. Half-width
// katakana with a voiced mark become one full-width character, and back.
namespace KanaConverter {

QString toWide(const QString &text);
QString toNarrow(const QString &text);
QString toKatakana(const QString &text);
QString toHiragana(const QString &text);

}
