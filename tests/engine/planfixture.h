#pragma once

#include "engine/jobcontext.h"
#include "engine/runoptions.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/textengine.h"

#include <QStringList>

// One list, its inputs and everything a planner run needs, for planner tests.
struct PlanFixture
{
    RenameRowList rows;
    JobInputs inputs;
    RunOptions options;
    ScriptedUserChannel user;
    LinuxFileSystem files;
    TextEngine text{user, files};
    CommandStates states;

    JobContext context(JobKind job, bool unattended = false)
    {
        return JobContext{rows, job, inputs, options, user, files, text, states, unattended};
    }

    // One row per name, named alike on disk and in the plan, in folder.
    void addRows(const QStringList &names, const QString &folder = QStringLiteral("/data"))
    {
        for (const QString &name : names) {
            RenameRow row;
            row[RenameField::NewName] = name;
            row[RenameField::CurrentName] = name;
            row[RenameField::Folder] = folder;
            row[RenameField::Path] = folder + u'/' + name;
            row[RenameField::Created] = QStringLiteral("2019/05/05 05:05:05");
            row[RenameField::Modified] = QStringLiteral("2019/06/06 06:06:06");
            rows.append(row);
        }
    }

    QStringList column(RenameField field) const
    {
        QStringList texts;
        for (const RenameRow &row : rows.rows())
            texts << row[field];
        return texts;
    }

    QList<int> selectedRows() const
    {
        QList<int> selected;
        for (int index = 1; index <= rows.count(); ++index) {
            if (rows.isSelected(index))
                selected << index;
        }
        return selected;
    }
};
