#pragma once

#include <QString>
#include <QStringList>

class FileSystem;
class UserChannel;

// Where command files are kept: the folder of the "init dir" setting when it
// exists, otherwise the folder Corvane keeps its own files in.
QString CommandFileFolder(const QString &initDir);

// The names of the command files (*.dat, any letter case) in folder, by name.
QStringList CommandFileNames(const QString &folder);

// Asks "<name> を削除してよろしいですか？" and on OK deletes that file of folder.
// A failure is shown to the user. Returns true when the file is gone.
bool DeleteCommandFile(UserChannel &user, FileSystem &files, const QString &folder, const QString &name);
