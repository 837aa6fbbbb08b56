#include "text/templateexpander.h"

#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/systeminfo.h"
#include "text/asciitext.h"
#include "text/exifreader.h"
#include "text/formulaevaluator.h"
#include "text/functionlibrary.h"
#include "text/tagreader.h"
#include "text/textengine.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

TemplateExpander::TemplateExpander(const FileSystem &files, FunctionLibrary &functions, FormulaEvaluator &evaluator)
    : m_files(files), m_functions(functions), m_evaluator(evaluator)
{
}

const QStringList &TemplateExpander::tagHeaders()
{
    static const QStringList headers{QStringLiteral("Title"), QStringLiteral("Artist"), QStringLiteral("Album"),
                                     QStringLiteral("Genre"), QStringLiteral("TruckNo"), QStringLiteral("Encode"),
                                     QStringLiteral("Year"), QStringLiteral("Comment")};
    return headers;
}

QString TemplateExpander::ExpandTemplate(const QString &input, int rowIndex, const QString &path)
{
    QString text = input;
    if (text.contains(u'<')) {
        static const QStringList placeholders = [] {
            QStringList all;
            for (const QString &header : tagHeaders())
                all << u'<' + header + u'>';
            return all;
        }();
        for (qsizetype at = 0; at < placeholders.size(); ++at) {
            if (AsciiText::contains(text, placeholders.at(at)))
                AsciiText::replaceAll(text, placeholders.at(at),
                                      m_tags ? m_tags->tagField(path, tagHeaders().at(at)) : QString());
        }
        // One read of the file gives all three fields.
        static const QString exifPlaceholders[] = {QStringLiteral("<ExifDateTime>"), QStringLiteral("<ExifMake>"),
                                                   QStringLiteral("<ExifModel>")};
        if (std::any_of(std::begin(exifPlaceholders), std::end(exifPlaceholders),
                        [&](const QString &placeholder) { return AsciiText::contains(text, placeholder); })) {
            const ExifFields exif = m_exif ? m_exif->exifFields(path) : ExifFields();
            AsciiText::replaceAll(text, exifPlaceholders[0], exif.moment);
            AsciiText::replaceAll(text, exifPlaceholders[1], exif.make);
            AsciiText::replaceAll(text, exifPlaceholders[2], exif.model);
        }
    }
    AsciiText::replaceAll(text, u"Row()", QString::number(rowIndex));
    // The file is read only when its times are asked for.
    if (AsciiText::contains(text, u"GetCreateFileTime()") || AsciiText::contains(text, u"GetModefiedFileTime()")) {
        const FileInfo info = m_files.info(path);
        AsciiText::replaceAll(text, u"GetCreateFileTime()", info.exists ? DateText(info.created()) : QString());
        AsciiText::replaceAll(text, u"GetModefiedFileTime()", info.exists ? DateText(info.modified()) : QString());
    }
    // Each value is asked for afresh on every row, but only when the text holds it.
    if (AsciiText::contains(text, u"<DateTime>"))
        AsciiText::replaceAll(text, u"<DateTime>", DateText(QDateTime::currentDateTime()));
    if (AsciiText::contains(text, u"<PC-Name>"))
        AsciiText::replaceAll(text, u"<PC-Name>", SystemInfo::computerName().left(15));
    if (AsciiText::contains(text, u"<User-Name>"))
        AsciiText::replaceAll(text, u"<User-Name>", SystemInfo::userName().left(256));
    text = m_functions.ExpandFunctions(text);
    return text == ErrorMarker ? text : m_evaluator.EvalFormula(text);
}
