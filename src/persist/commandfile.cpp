#include "persist/commandfile.h"

#include "persist/joblabels.h"
#include "persist/storednumber.h"
#include "platform/codepage.h"
#include "platform/crlf.h"
#include "platform/leadingnumber.h"
#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <variant>

namespace {

// Separates the items of the Tag and TagWidth values; the text before the
// first one is not an item.
constexpr QChar itemSeparator = QChar(0x0001);

// Jobs by selector position, as bits.
constexpr unsigned Numbering = 1u << 0, Replace = 1u << 1, Created = 1u << 2, Modified = 1u << 3, Mp3 = 1u << 4,
                   Folder = 1u << 5, Every = 0x3F;

enum class Form {
    Text,
    Flag,   // AddTop: 0 or 1
    Number, // ReplaceScope: a whole number
    Step,   // the date step, written back as the number it reads as
    Items,  // Tag: one text per MP3 template box
    Widths, // TagWidth: one width per MP3 column
};

using Member = std::variant<QString CommandSetup::*, bool CommandSetup::*, int CommandSetup::*,
                            QStringList CommandSetup::*, QList<int> CommandSetup::*>;

struct Entry
{
    const char *key;
    Form form;
    Member member;
    unsigned jobs; // written for these jobs
};

// In the order they are written. The folder job keeps its search and replace
// too, so that running the file again renames the same way.
const Entry entries[] = {
    {"Com", Form::Text, &CommandSetup::jobLabel, Every},
    {"FolderPath", Form::Text, &CommandSetup::folderPath, Every},
    {"Search", Form::Text, &CommandSetup::searchText, Replace | Folder | Mp3},
    {"Replace", Form::Text, &CommandSetup::replaceText, Replace | Folder},
    {"ReplaceScope", Form::Number, &CommandSetup::replaceScope, Replace},
    {"Tag", Form::Items, &CommandSetup::tagTemplates, Mp3},
    {"TagWidth", Form::Widths, &CommandSetup::tagColumnWidths, Mp3},
    {"BaseName", Form::Text, &CommandSetup::baseName, Numbering},
    {"StNo", Form::Text, &CommandSetup::startNo, Numbering},
    {"Cols", Form::Text, &CommandSetup::digits, Numbering},
    {"AddTop", Form::Flag, &CommandSetup::addTop, Numbering},
    {"Separator", Form::Text, &CommandSetup::separator, Numbering},
    {"Step", Form::Step, &CommandSetup::stepMinutes, Created | Modified},
    {"UseExifTime", Form::Flag, &CommandSetup::useExifTime, Created | Modified},
};

unsigned jobBit(const QString &label)
{
    const int position = JobLabels::positionOf(label);
    return position < 0 ? 0 : 1u << position;
}

const Entry *findEntry(const QString &key)
{
    const auto found = std::find_if(std::begin(entries), std::end(entries),
                                    [&](const Entry &entry) { return key == QLatin1String(entry.key); });
    return found == std::end(entries) ? nullptr : found;
}

// The items 1, 2, … of a Tag or TagWidth value. The writer ends every item
// with the separator, so the empty text after the last one is no item: a file
// with fewer templates than there are boxes leaves the other boxes alone.
QStringList items(const QString &value)
{
    QStringList parts = value.split(itemSeparator);
    parts.removeFirst();
    if (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts;
}

QString itemsValue(const QStringList &parts)
{
    QString value = itemSeparator;
    for (const QString &part : parts)
        value += part + itemSeparator;
    return value;
}

// A TagWidth item that sets its column: a number above 0 that fits in 32 bits.
std::optional<int> columnWidth(const QString &item)
{
    if (!StoredNumber::isNumeric(item))
        return std::nullopt;
    bool fits = false;
    const int twips = StoredNumber::roundToInt32(LeadingNumber::ofStoredValue(item), &fits);
    if (!fits || twips <= 0)
        return std::nullopt;
    return twips;
}

void apply(const Entry &entry, const QString &value, CommandSetup *setup)
{
    switch (entry.form) {
    case Form::Text:
        setup->*std::get<QString CommandSetup::*>(entry.member) = value;
        break;
    case Form::Flag:
        setup->*std::get<bool CommandSetup::*>(entry.member) = LeadingNumber::ofStoredValue(value) != 0;
        break;
    case Form::Number: {
        bool fits = false;
        const int number = StoredNumber::roundToInt32(LeadingNumber::ofStoredValue(value), &fits);
        if (fits)
            setup->*std::get<int CommandSetup::*>(entry.member) = number;
        break;
    }
    case Form::Step:
        // "007" and " 7" both give "7".
        if (const double minutes = LeadingNumber::ofStoredValue(value); std::isfinite(minutes))
            setup->*std::get<QString CommandSetup::*>(entry.member) = StoredNumber::format(minutes);
        break;
    case Form::Items: {
        QStringList &boxes = setup->*std::get<QStringList CommandSetup::*>(entry.member);
        const QStringList read = items(value);
        for (qsizetype i = 0; i < std::min(read.size(), boxes.size()); ++i)
            boxes[i] = read.at(i);
        break;
    }
    case Form::Widths: {
        QList<int> &widths = setup->*std::get<QList<int> CommandSetup::*>(entry.member);
        const QStringList read = items(value);
        for (qsizetype i = 0; i < std::min(read.size(), widths.size()); ++i) {
            if (const std::optional<int> twips = columnWidth(read.at(i)))
                widths[i] = *twips;
        }
        break;
    }
    }
}

QString valueOf(const Entry &entry, const CommandSetup &setup)
{
    switch (entry.form) {
    case Form::Text:
    case Form::Step:
        return setup.*std::get<QString CommandSetup::*>(entry.member);
    case Form::Flag:
        return setup.*std::get<bool CommandSetup::*>(entry.member) ? QStringLiteral("1") : QStringLiteral("0");
    case Form::Number:
        return QString::number(setup.*std::get<int CommandSetup::*>(entry.member));
    case Form::Items:
        return itemsValue(setup.*std::get<QStringList CommandSetup::*>(entry.member));
    case Form::Widths: {
        QStringList widths;
        for (const int twips : setup.*std::get<QList<int> CommandSetup::*>(entry.member))
            widths << QString::number(twips);
        return itemsValue(widths);
    }
    }
    return {};
}

QString withPath(const QString &reason, const QString &path)
{
    return reason + CrLf + CrLf + path;
}

} // namespace

CommandFile CommandFile::parse(const QString &text)
{
    // Line breaks separate entries in the tab-separated form too, so the line
    // break that ends such a one-line file is not part of its last value.
    static const QRegularExpression separators(QStringLiteral("\t|\r\n|\n"));
    CommandFile file;
    for (const QString &piece : text.split(separators)) {
        const qsizetype equals = piece.indexOf(u'=');
        if (equals < 0 || !findEntry(piece.left(equals)))
            continue;
        file.values.insert(piece.left(equals), piece.mid(equals + 1));
    }
    if (file.values.contains(QStringLiteral("Com")))
        file.jobLabel = file.values.value(QStringLiteral("Com"));
    return file;
}

void CommandFile::applyTo(CommandSetup *setup) const
{
    // Files of these jobs written before the entries existed meant the whole
    // name and the base-and-step time-stamps.
    const unsigned job = jobLabel ? jobBit(*jobLabel) : 0;
    if ((job & Replace) && !values.contains(QStringLiteral("ReplaceScope")))
        setup->replaceScope = 0;
    if ((job & (Created | Modified)) && !values.contains(QStringLiteral("UseExifTime")))
        setup->useExifTime = false;
    for (const Entry &entry : entries) {
        const auto found = values.constFind(QLatin1String(entry.key));
        if (found != values.cend())
            apply(entry, *found, setup);
    }
}

QString CommandFileText(const CommandSetup &setup)
{
    const unsigned job = jobBit(setup.jobLabel);
    QString text;
    for (const Entry &entry : entries) {
        if (entry.jobs == Every || (entry.jobs & job))
            text += QLatin1String(entry.key) + u'=' + valueOf(entry, setup) + CrLf;
    }
    return text;
}

CommandFile CommandFileLoad(const QString &path, QString *error)
{
    QString reason;
    CommandFile file;
    if (QFileInfo::exists(path)) {
        QFile input(path);
        if (!input.open(QIODevice::ReadOnly)) {
            reason = withPath(input.errorString(), path);
        } else {
            const QByteArray bytes = input.readAll();
            file = CommandFile::parse(CodePage::decodeText(bytes));
            if (bytes.contains('\0'))
                reason = withPath(QStringLiteral("コマンドファイルではありません（テキストではありません）"), path);
            else if (file.isEmpty())
                reason = withPath(QStringLiteral("コマンドファイルに設定が一つもありません"), path);
            else if (file.jobLabel && JobLabels::positionOf(*file.jobLabel) < 0)
                reason = withPath(QStringLiteral("Com=%1 という作業はありません").arg(*file.jobLabel), path);
        }
    }
    if (error)
        *error = reason;
    return reason.isEmpty() ? file : CommandFile();
}

QString CommandFileSave(const QString &path, const CommandSetup &setup)
{
    if (path.isEmpty())
        return {};
    return TextFile::write(path, CommandFileText(setup));
}
