#include "persist/commandfile.h"

#include "persist/numbertext.h"
#include "platform/codepage.h"
#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Separates the items of the Tag and TagWidth values; the text before the
// first one is not an item.
constexpr QChar itemSeparator = QChar(0x0001);

const QString numberingJob = QStringLiteral("連番作成");
const QString replaceJob = QStringLiteral("ファイル名置換");
const QString createdJob = QStringLiteral("作成日変更");
const QString modifiedJob = QStringLiteral("更新日変更");
const QString mp3Job = QStringLiteral("ＭＰ３タグ編集");
const QString folderJob = QStringLiteral("フォルダ名変更");

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

QString entry(const QString &key, const QString &value)
{
    return key + u'=' + value + QStringLiteral("\r\n");
}

// A TagWidth item that sets its column: a number above 0 that fits in 32 bits.
std::optional<int> columnWidth(const QString &item)
{
    if (!NumberText::isNumeric(item))
        return std::nullopt;
    bool fits = false;
    const int twips = NumberText::roundToInt32(NumberText::leading(item), &fits);
    if (!fits || twips <= 0)
        return std::nullopt;
    return twips;
}

// The date step as the number it reads as: "007" and " 7" both give "7".
std::optional<QString> stepText(const QString &value)
{
    const double minutes = NumberText::leading(value);
    if (!std::isfinite(minutes))
        return std::nullopt;
    return NumberText::format(minutes);
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
        if (equals < 0)
            continue;
        const QString key = piece.left(equals);
        const QString value = piece.mid(equals + 1);
        if (key == QLatin1String("Com"))
            file.jobLabel = value;
        else if (key == QLatin1String("FolderPath"))
            file.folderPath = value;
        else if (key == QLatin1String("Search"))
            file.searchText = value;
        else if (key == QLatin1String("Replace"))
            file.replaceText = value;
        else if (key == QLatin1String("Tag"))
            file.tagTemplates = items(value);
        else if (key == QLatin1String("TagWidth"))
            file.tagColumnWidths = items(value);
        else if (key == QLatin1String("BaseName"))
            file.baseName = value;
        else if (key == QLatin1String("StNo"))
            file.startNo = value;
        else if (key == QLatin1String("Cols"))
            file.digits = value;
        else if (key == QLatin1String("AddTop"))
            file.addTop = NumberText::leading(value) != 0;
        else if (key == QLatin1String("Separator"))
            file.separator = value;
        else if (key == QLatin1String("Step"))
            file.stepMinutes = stepText(value);
    }
    return file;
}

void CommandFile::applyTo(CommandSetup *setup) const
{
    const auto put = [](const std::optional<QString> &entry, QString &target) {
        if (entry)
            target = *entry;
    };
    put(jobLabel, setup->jobLabel);
    put(folderPath, setup->folderPath);
    put(searchText, setup->searchText);
    put(replaceText, setup->replaceText);
    put(baseName, setup->baseName);
    put(startNo, setup->startNo);
    put(digits, setup->digits);
    put(separator, setup->separator);
    put(stepMinutes, setup->stepMinutes);
    if (addTop)
        setup->addTop = *addTop;
    if (tagTemplates) {
        const qsizetype count = std::min(tagTemplates->size(), setup->tagTemplates.size());
        for (qsizetype i = 0; i < count; ++i)
            setup->tagTemplates[i] = tagTemplates->at(i);
    }
    if (tagColumnWidths) {
        const qsizetype count = std::min(tagColumnWidths->size(), setup->tagColumnWidths.size());
        for (qsizetype i = 0; i < count; ++i) {
            if (const std::optional<int> twips = columnWidth(tagColumnWidths->at(i)))
                setup->tagColumnWidths[i] = *twips;
        }
    }
}

bool CommandFile::isEmpty() const
{
    return !jobLabel && !folderPath && !searchText && !replaceText && !tagTemplates && !tagColumnWidths
           && !baseName && !startNo && !digits && !addTop && !separator && !stepMinutes;
}

QString CommandFileText(const CommandSetup &setup)
{
    const QString &job = setup.jobLabel;
    QString text = entry(QStringLiteral("Com"), job) + entry(QStringLiteral("FolderPath"), setup.folderPath);
    // The folder job keeps its search and replace too, so that running the
    // file again renames the same way.
    if (job == replaceJob || job == folderJob || job == mp3Job)
        text += entry(QStringLiteral("Search"), setup.searchText);
    if (job == replaceJob || job == folderJob)
        text += entry(QStringLiteral("Replace"), setup.replaceText);
    if (job == mp3Job) {
        QStringList widths;
        for (const int twips : setup.tagColumnWidths)
            widths << QString::number(twips);
        text += entry(QStringLiteral("Tag"), itemsValue(setup.tagTemplates));
        text += entry(QStringLiteral("TagWidth"), itemsValue(widths));
    }
    if (job == numberingJob) {
        text += entry(QStringLiteral("BaseName"), setup.baseName);
        text += entry(QStringLiteral("StNo"), setup.startNo);
        text += entry(QStringLiteral("Cols"), setup.digits);
        text += entry(QStringLiteral("AddTop"), setup.addTop ? QStringLiteral("1") : QStringLiteral("0"));
        text += entry(QStringLiteral("Separator"), setup.separator);
    }
    if (job == createdJob || job == modifiedJob)
        text += entry(QStringLiteral("Step"), setup.stepMinutes);
    return text;
}

CommandFile CommandFileLoad(const QString &path, QString *error)
{
    if (error)
        error->clear();
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return CommandFile::parse(CodePage::decodeText(file.readAll()));
}

QString CommandFileSave(const QString &path, const CommandSetup &setup)
{
    if (path.isEmpty())
        return {};
    return TextFile::write(path, CommandFileText(setup));
}
