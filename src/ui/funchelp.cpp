#include "ui/funchelp.h"

#include "platform/crlf.h"
#include "platform/pathtext.h"
#include "platform/systempaths.h"
#include "platform/textfile.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QChar CellMarker(3);
const QChar RowMarker(1);

QRegularExpression insensitive(const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
}

QString decodeReferences(QString text)
{
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""), Qt::CaseInsensitive);
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"), Qt::CaseInsensitive);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"), Qt::CaseInsensitive);
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"), Qt::CaseInsensitive);
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "), Qt::CaseInsensitive);
    text.replace(QStringLiteral("&yen;"), QStringLiteral("\\"), Qt::CaseInsensitive);
    return text;
}

QStringList anchorsOf(const QString &html)
{
    static const QRegularExpression anchor = insensitive(QStringLiteral("<a name=(.+?)(?: .+?>|>).+?</a>"));
    QStringList names;
    for (const QRegularExpressionMatch &match : anchor.globalMatch(html))
        names << Unquote(match.captured(1));
    return names;
}

QStringList tablesOf(QString html)
{
    static const QRegularExpression table = insensitive(QStringLiteral("<table[^<>]*>.+?</table>"));
    static const QRegularExpression nested = insensitive(QStringLiteral("<table[ >]"));
    // Line breaks inside a table are layout only; the rows are marked afresh below.
    html.remove(QRegularExpression(QStringLiteral("\\r?\\n")));
    QStringList tables;
    for (const QRegularExpressionMatch &match : table.globalMatch(html)) {
        QString text = match.captured();
        if (text.indexOf(QStringLiteral(" name="), 1) < 0 || nested.match(text, 1).hasMatch())
            continue;
        text.replace(insensitive(QStringLiteral("</tr>")), QStringLiteral("</tr>\r\n"));
        tables << text;
    }
    return tables;
}

QString tableToText(QString table)
{
    table.replace(insensitive(QStringLiteral(">\\s*\\n\\s*<")), QStringLiteral(">") + RowMarker + u'<');
    table.replace(insensitive(QStringLiteral(">\\s+<")), QStringLiteral("><"));
    table.replace(QRegularExpression(QString(CellMarker) + u'+'), QString(CellMarker));
    table.replace(CellMarker, QStringLiteral("\u3000"));
    table.replace(RowMarker, CrLf);
    return FuncHelp::HtmlToText(table);
}

bool lessIgnoringCase(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

}

FuncHelp FuncHelp::parse(const QString &document)
{
    QString html = document;
    html.replace(insensitive(QStringLiteral("</td>")), QString(CellMarker) + QStringLiteral("</TD>"));

    const QStringList anchors = anchorsOf(html);
    const QStringList tables = tablesOf(html);

    QList<QPair<QString, QString>> topics;
    for (const QString &anchor : anchors) {
        const QString key = QStringLiteral("name=\"") + anchor + u'"';
        QString text;
        for (const QString &table : tables) {
            if (table.contains(key, Qt::CaseInsensitive)) {
                text = tableToText(table);
                break;
            }
        }
        // An anchor for "<Title>" is written "&lt;Title&gt;" in the document;
        // the list looks it up by the entry as shown.
        topics.append({decodeReferences(anchor), text});
    }
    std::stable_sort(topics.begin(), topics.end(),
                     [](const auto &a, const auto &b) { return lessIgnoringCase(a.first, b.first); });

    FuncHelp help;
    for (const auto &[name, text] : std::as_const(topics)) {
        help.m_names << name;
        help.m_texts << text;
    }
    return help;
}

FuncHelp FuncHelp::load(const QString &path)
{
    QString html;
    if (!TextFile::read(path, &html))
        return {};
    return parse(html);
}

QString FuncHelp::documentPath()
{
    return SystemPaths::partsFolder() + QStringLiteral("/func.html");
}

QString FuncHelp::helpOf(const QString &entry) const
{
    static const QRegularExpression emptyArguments(QStringLiteral("\\(,*\\)"));
    QString name = entry;
    name.remove(emptyArguments);
    const auto found = std::lower_bound(m_names.cbegin(), m_names.cend(), name, lessIgnoringCase);
    if (found == m_names.cend() || found->compare(name, Qt::CaseInsensitive) != 0)
        return {};
    return m_texts.at(found - m_names.cbegin());
}

FuncHelp::Topic FuncHelp::topicOf(const QString &entry) const
{
    const QString text = helpOf(entry);
    const qsizetype lineEnd = text.indexOf(CrLf);
    if (lineEnd < 0)
        return {text.trimmed(), {}};
    return {text.left(lineEnd).trimmed(), text.mid(lineEnd + 2).trimmed()};
}

QString FuncHelp::HtmlToText(const QString &html)
{
    static const QRegularExpression lineBreak = insensitive(QStringLiteral("<br>"));
    static const QRegularExpression tag = insensitive(QStringLiteral("<(\"[^\"]*\"|'[^']*'|[^'\">])*>"));
    QString text = html;
    text.replace(lineBreak, CrLf);
    text.remove(tag);
    return decodeReferences(text);
}
