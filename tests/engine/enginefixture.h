#pragma once

#include "engine/desktopservices.h"
#include "engine/jobcontext.h"
#include "faultyfilesystem.h"
#include "scripteduserchannel.h"
#include "text/textengine.h"

#include <QFile>
#include <QTemporaryDir>

// Records the folders the executor would open and keeps the desktop in a
// folder of the test's own.
class RecordingDesktop : public DesktopServices
{
public:
    QString folder;
    QStringList opened;

    QString desktopFolder() const override { return folder; }
    void openFolder(const QString &path) override { opened << path; }
};

// One job's world: a list, a scripted user, a fault-injecting file system and
// a temporary folder to work in.
struct EngineFixture
{
    QTemporaryDir dir;
    QTemporaryDir desktopDir;
    RenameRowList rows;
    JobInputs inputs;
    RunOptions options;
    ScriptedUserChannel user;
    FaultyFileSystem files;
    TextEngine text{user, files};
    CommandStates states;
    RecordingDesktop desktop;
    JobContext context{rows, JobKind::FileNameReplace, inputs, options, user, files, text, states};

    EngineFixture()
    {
        desktop.folder = desktopDir.path();
        context.desktop = &desktop;
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    void write(const QString &name, const QByteArray &content)
    {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A file of the work folder holding its own name, listed to become newName.
    void addFile(const QString &name, const QString &newName)
    {
        write(name, name.toUtf8());
        addRow(name, newName);
    }

    // A listed file of the work folder, planned to become newName.
    void addRow(const QString &name, const QString &newName)
    {
        RenameRow row;
        row[RenameField::NewName] = newName;
        row[RenameField::CurrentName] = name;
        row[RenameField::Folder] = dir.path();
        row[RenameField::Path] = path(name);
        row.selected = newName != name;
        rows.append(row);
    }
};
