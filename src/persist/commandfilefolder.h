#pragma once

#include <QString>
#include <QStringList>

// Where command files are kept: the folder of the "init dir" setting when it
// exists, otherwise the folder Corvane keeps its own files in.
QString CommandFileFolder(const QString &initDir);

// The names of the command files (*.dat, any letter case) in folder, by name.
QStringList CommandFileNames(const QString &folder);

