#pragma once

#include "engine/control/commandstates.h"
#include "engine/control/desktopservices.h"
#include "engine/control/outcomenotice.h"
#include "engine/jobs/job.h"
#include "engine/jobs/jobcontext.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/run/restore.h"
#include "exifjpeg.h"
#include "faultyfilesystem.h"
#include "scripteduserchannel.h"
#include "text/textengine.h"

#include <QFile>
#include <QTemporaryDir>

// A listed file as a folder read leaves it: named alike on disk and in the plan.
inline RenameRow listedRow(const QString &name, const QString &folder = QStringLiteral("/data"))
{
    RenameRow row;
    row.set(RenameField::NewName, name);
    row.set(RenameField::CurrentName, name);
    row.set(RenameField::Folder, folder);
    row.set(RenameField::Path, folder + u'/' + name);
    row.set(RenameField::Created, QStringLiteral("2019/05/05 05:05:05"));
    row.set(RenameField::Modified, QStringLiteral("2019/06/06 06:06:06"));
    return row;
}

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
    Mp3TagJob tags{user, files, text};
    JobContext context{rows, JobKind::FileNameReplace, inputs, options, user, files, text};
    PlanOutcome lastPlan;

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
        RenameRow row = listedRow(name, dir.path());
        row.set(RenameField::NewName, newName);
        row.selected = newName != name;
        rows.append(row);
    }

    // Photos a.jpg to d.jpg with every EXIF field, with some, with none, and
    // e.jpg, which is no JPEG at all, listed.
    void addPhotos()
    {
        const ExifJpeg photos[] = {
            {"Canon", "EOS 5D", "2020:01:01 00:00:00", "2024:08:15 10:30:00", "2024:08:15 10:30:01"},
            // A camera whose clock was never set writes zeros: no moment.
            {"NIKON", {}, {}, "0000:00:00 00:00:00", "2022:12:31 23:59:59"},
            {{}, {}, "2021:02:03 04:05:06"},
            {}};
        for (int i = 0; i < 5; ++i) {
            const QString name = QChar(u'a' + i) + QStringLiteral(".jpg");
            write(name, i < 4 ? photos[i].bytes() : QByteArray("no photo"));
            addRow(name, name);
        }
    }

    // Rows the planners see, named alike on disk and in the plan, in folder.
    void addRows(const QStringList &names, const QString &folder = QStringLiteral("/data"))
    {
        for (const QString &name : names)
            rows.append(listedRow(name, folder));
    }

    // A row as an earlier Try left it: its planned name beside its current one.
    void addPlannedRow(const QString &current, const QString &planned, const QString &folder = QStringLiteral("/data"))
    {
        addRows({current}, folder);
        rows.editRow(rows.count()).set(RenameField::NewName, planned);
    }

    // Try, as the Try button runs it.
    TryResult plan(JobKind job, bool quiet = true, bool unattended = false)
    {
        context.job = job;
        context.unattended = unattended;
        lastPlan = MakeJob(job, tags)->plan(context);
        OutcomeNotice::showPlan(user, lastPlan, quiet || unattended);
        states.planned(lastPlan);
        return lastPlan.result;
    }

    // Execute of the job in the context, as the Execute button runs it; returns failed.
    bool execute(bool quiet)
    {
        const RunOutcome outcome = MakeJob(context.job, tags)->execute(context, quiet);
        OutcomeNotice::showRun(user, context.desktop, outcome, quiet || context.unattended);
        states.ran(outcome);
        return outcome.failed();
    }

    void restoreNames() { states.undone(RestoreNames(context)); }
    void restoreList()
    {
        MakeJob(context.job, tags)->restoreList(context);
        states.restored();
    }
    // Commands as a clean plan leaves them.
    void presetPlan() { states.planned({TryResult::Planned, 1, 0, 1}); }

    // The numbering inputs as "base name|start number|digits|step|separator".
    void setNumbering(const QString &given)
    {
        const QStringList parts = given.split(u'|');
        inputs.baseName = parts.value(0);
        inputs.startNo = parts.value(1);
        inputs.digits = parts.value(2);
        inputs.step = parts.value(3);
        inputs.separator = parts.value(4);
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
    // What the three commands offer, as the window shows them: Try, Execute, Restore.
    QString commands() const
    {
        const auto mark = [](bool on) { return on ? u'1' : u'0'; };
        return QString(mark(states.tryEnabled())) + mark(states.executeEnabled()) + mark(states.restoreEnabled());
    }
};
