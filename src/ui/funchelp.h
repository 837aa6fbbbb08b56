#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The hover help of the variable list, read from the help document
// parts/func.html: one anchor per entry and one table per anchor that carries
// name="NAME". A table's cells are separated by ideographic spaces, its rows
// by CR LF.
class FuncHelp
{
public:
    struct Topic
    {
        QString title; // the help text up to its first line break
        QString body;  // the rest
    };

    // Parses the document; a document without anchors gives an empty help.
    static FuncHelp parse(const QString &html);
    // Reads and parses a file; a missing or unreadable file gives an empty help.
    static FuncHelp load(const QString &path);
    // parts/func.html beside the program.
    static QString documentPath();

    bool isEmpty() const { return m_names.isEmpty(); }
    // The anchor names, sorted ignoring letter case.
    QStringList names() const { return m_names; }
    // The whole help text of a list entry ("Left(,)" is looked up as "Left"),
    // ignoring letter case; empty when the document has none.
    QString helpOf(const QString &entry) const;
    Topic topicOf(const QString &entry) const;

    // A fragment of the help document as plain text: <br> becomes CR LF, tags
    // go, and the common character references are decoded.
    static QString HtmlToText(const QString &html);

private:
    QStringList m_names;
    QStringList m_texts;
};
