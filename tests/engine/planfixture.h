#pragma once

#include "engine/commandstates.h"
#include "engine/jobcontext.h"
#include "engine/planjob.h"
#include "engine/runoptions.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/textengine.h"

#include <QStringList>

// A listed file as a folder read leaves it: named alike on disk and in the plan.
inline RenameRow listedRow(const QString &name, const QString &folder = QStringLiteral("/data"))
{
    RenameRow row;
    row[RenameField::NewName] = name;
    row[RenameField::CurrentName] = name;
    row[RenameField::Folder] = folder;
    row[RenameField::Path] = folder + u'/' + name;
    row[RenameField::Created] = QStringLiteral("2019/05/05 05:05:05");
    row[RenameField::Modified] = QStringLiteral("2019/06/06 06:06:06");
    return row;
}

inline QStringList columnOf(const RenameRowList &rows, RenameField field)
{
    QStringList texts;
    for (const RenameRow &row : rows.rows())
        texts << row[field];
    return texts;
}

inline QList<int> selectedOf(const RenameRowList &rows)
{
    QList<int> selected;
    for (int index = 1; index <= rows.count(); ++index) {
        if (rows.isSelected(index))
            selected << index;
    }
    return selected;
}

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

    // Try, as the Try button runs it.
    TryResult plan(JobKind job, bool quiet = true, bool unattended = false)
    {
        JobContext run = context(job, unattended);
        return PlanJob(run, quiet);
    }

    // One row per name, named alike on disk and in the plan, in folder.
    void addRows(const QStringList &names, const QString &folder = QStringLiteral("/data"))
    {
        for (const QString &name : names)
            rows.append(listedRow(name, folder));
    }

    // A row as an earlier Try left it: its planned name beside its current one.
    void addPlannedRow(const QString &current, const QString &planned, const QString &folder = QStringLiteral("/data"))
    {
        addRows({current}, folder);
        rows.editRow(rows.count())[RenameField::NewName] = planned;
    }

    // The numbering inputs as "base name|start number|digits|step|separator".
    void setNumbering(const QString &spec)
    {
        const QStringList given = spec.split(u'|');
        inputs.baseName = given.value(0);
        inputs.startNo = given.value(1);
        inputs.digits = given.value(2);
        inputs.step = given.value(3);
        inputs.separator = given.value(4);
    }

    QStringList column(RenameField field) const { return columnOf(rows, field); }
    QList<int> selectedRows() const { return selectedOf(rows); }
    // What the three commands offer, as the window shows them: Try, Execute, Restore.
    QString commands() const
    {
        const auto mark = [](bool on) { return on ? u'1' : u'0'; };
        return QString(mark(states.tryEnabled)) + mark(states.executeEnabled) + mark(states.restoreEnabled);
    }
};
