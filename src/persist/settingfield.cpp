#include "persist/settingfield.h"

namespace {

using namespace Qt::StringLiterals;

constexpr quint64 columns(int first, int last)
{
    quint64 bits = 0;
    for (int column = first; column <= last; ++column)
        bits |= quint64(1) << column;
    return bits;
}

const QList<SettingField> &fields()
{
    // Widths past the fifth list column are written for the record only; of
    // the MP3 list's, 10, 11, 13, 14 and 15 name columns that keep their own.
    static const QList<SettingField> table = {
        {"form left"_L1, SettingKind::Number, &Settings::formLeft, 0},
        {"form top"_L1, SettingKind::Number, &Settings::formTop, 0},
        {"form right"_L1, SettingKind::Number, &Settings::formRight, 800},
        {"form bottom"_L1, SettingKind::Number, &Settings::formBottom, 300},
        {"op"_L1, SettingKind::Number, &Settings::jobPosition, 1},
        {"disptop"_L1, SettingKind::Switch, &Settings::stayOnTop, false},
        {"transparent"_L1, SettingKind::Switch, &Settings::semiTransparent, false},
        {"transparency"_L1, SettingKind::Number, &Settings::opacity, 150},
        {"init dir"_L1, SettingKind::Text, &Settings::commandFileFolder, QString()},
        {"disp menu"_L1, SettingKind::Switch, &Settings::menuBarShown, false},
        {"stno"_L1, SettingKind::Number2, &Settings::startNo, u" 1"_s},
        {"degits"_L1, SettingKind::Number2, &Settings::digits, u" 2"_s},
        {"increment"_L1, SettingKind::Number3, &Settings::step, u"  1"_s},
        {"increment date"_L1, SettingKind::Number3, &Settings::stepMinutes, u"  0"_s},
        {"add top"_L1, SettingKind::Switch, &Settings::addTop, true},
        {"separator"_L1, SettingKind::Text, &Settings::separator, QString()},
        {"id3 disp"_L1, SettingKind::Switch, &Settings::showId3Choice, false},
        {"id3 v1.x"_L1, SettingKind::Switch, &Settings::tagV1, true},
        {"id3 v2.x"_L1, SettingKind::Switch, &Settings::tagV2, true},
        {"column width"_L1, SettingKind::Widths, &Settings::listColumnWidths,
         QList<int>{3200, 3200, 2200, 2200, 1500, 8000, 0, 0, 0, 0}, SettingWriting::Spaced, nullptr, columns(1, 5)},
        {"font name"_L1, SettingKind::Text, &Settings::listFontName, QString()},
        {"font size"_L1, SettingKind::Fraction, &Settings::listFontSize, 0.0},
        {"list height"_L1, SettingKind::Number, &Settings::dataEditorHeight, 6000},
        {"list width"_L1, SettingKind::Number, &Settings::dataEditorWidth, 7000},
        {"only top folder"_L1, SettingKind::Flag, &Settings::onlyTopFolder, false, SettingWriting::Tight},
        {"no try"_L1, SettingKind::Flag, &Settings::noTry, false, SettingWriting::Tight},
        {"no confirm"_L1, SettingKind::Flag, &Settings::noConfirm, false, SettingWriting::Tight},
        {"error continue"_L1, SettingKind::Flag, &Settings::errorContinue, false, SettingWriting::Tight},
        {"ignore case"_L1, SettingKind::Flag, &Settings::ignoreCase, false},
        {"reg order"_L1, SettingKind::Flag, &Settings::regOrder, false, SettingWriting::Tight},
        {"reg search str"_L1, SettingKind::Text, &Settings::searchHistory, QString()},
        {"reg replace str"_L1, SettingKind::Text, &Settings::replaceHistory, QString()},
        {"template left"_L1, SettingKind::Number, &Settings::templateLeft, 2100},
        {"template top"_L1, SettingKind::Number, &Settings::templateTop, 2100},
        {"template width"_L1, SettingKind::Number, &Settings::templateWidth, 11250},
        {"template height"_L1, SettingKind::Number, &Settings::templateHeight, 7500},
        {"live preview"_L1, SettingKind::Switch, &Settings::livePreview, true},
        {"replace scope"_L1, SettingKind::Number, &Settings::replaceScope, 0},
        {"use exif time"_L1, SettingKind::Switch, &Settings::useExifTime, false},
        {"column mp3 width"_L1, SettingKind::Widths, &Settings::mp3ColumnWidths,
         QList<int>{2000, 2200, 1800, 1600, 1000, 1000, 1000, 800, 1200, 0, 0, 3100, 0}, SettingWriting::Never,
         nullptr, columns(1, 9) | columns(12, 12), 15},
        {"only go"_L1, SettingKind::Flag, &Settings::noTry, {}, SettingWriting::Never, &Settings::noConfirm},
    };
    return table;
}

} // namespace

void SettingField::reset(Settings *settings) const
{
    std::visit(
        [&](auto Settings::*target) {
            using Value = std::remove_reference_t<decltype(settings->*target)>;
            if (const Value *value = std::get_if<Value>(&defaultValue))
                settings->*target = *value;
        },
        member);
}

std::span<const SettingField> SettingFields()
{
    return fields();
}
