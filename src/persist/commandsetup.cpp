#include "persist/commandsetup.h"

QString UntouchedTagTemplate(const QString &header)
{
    QString name = header;
    name.remove(u'.');
    return u'<' + name + u'>';
}

void ResetCommandSetup(CommandSetup *setup, const QStringList &mp3Headers)
{
    setup->folderPath.clear();
    setup->searchText.clear();
    setup->replaceText.clear();
    setup->baseName.clear();
    setup->startNo.clear();
    setup->digits.clear();
    setup->separator.clear();
    setup->addTop = true;
    setup->stepMinutes = QStringLiteral("  0");
    setup->replaceScope = 0;
    setup->useExifTime = false;
    setup->tagTemplates.clear();
    for (const QString &header : mp3Headers)
        setup->tagTemplates << UntouchedTagTemplate(header);
}
