#include "platform/textfile.h"

#include "platform/codepage.h"
#include "platform/ownfile.h"

#include <QFile>
#include <QSaveFile>

bool TextFile::read(const QString &path, QString *text)
{
    text->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *text = CodePage::decodeText(file.readAll());
    return true;
}

QString TextFile::write(const QString &path, const QString &text)
{
    // QSaveFile writes beside the target and swaps it in, so a failed write
    // leaves the earlier file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    file.write(CodePage::encodeText(text));
    if (!file.commit())
        return file.errorString();
    return {};
}

bool TextFile::readOwn(const QString &path, QString *text, QString *error)
{
    bool found = false;
    *text = CodePage::decodeText(OwnFile::read(path, error, &found));
    return found;
}

QString TextFile::writeOwn(const QString &path, const QString &text)
{
    return OwnFile::write(path, CodePage::encodeText(text), 0600);
}
