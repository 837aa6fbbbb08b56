#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One job's set-up as a command file keeps it: the controller fills it from
// the main window before a save and applies it after a load.
struct CommandSetup
{
    QString jobLabel;   // the job's exact label, as the job selector lists it
    QString folderPath; // the folder the list shows; may be empty

    // ファイル名置換, フォルダ名変更 and (search only) ＭＰ３タグ編集
    QString searchText;
    QString replaceText;
    // ファイル名置換: 0 the whole name, 1 the name alone, 2 the extension alone.
    int replaceScope = 0;

    // ＭＰ３タグ編集: template box j and the width of column j (twips) at index j - 1.
    QStringList tagTemplates;
    QList<int> tagColumnWidths;

    // 連番作成
    QString baseName;
    QString startNo;
    QString digits;
    bool addTop = true;
    QString separator;

    // 作成日変更 and 更新日変更
    QString stepMinutes;
    bool useExifTime = false;
};

// The template that leaves an MP3 column alone: "<" + its header without dots + ">".
QString UntouchedTagTemplate(const QString &header);

// The "新規" reset: empties the search and replace texts, the folder and the
// numbering inputs (the number goes first again), sets the date step to
// "  0", the replace to the whole name, the time-stamps to base and step, and every MP3 template to the one that leaves its column alone. The
// job and the column widths stay. The caller also forgets the current command
// file, unticks the direct-data box and clears both lists.
void ResetCommandSetup(CommandSetup *setup, const QStringList &mp3Headers);
