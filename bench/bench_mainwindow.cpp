// Loading 100,000 files into the main window against the same load without a
// window, scrolling the full list, and Try, Execute and "元のファイル名に戻す"
// in the window against the same commands without one. Prints the figures;
// the target is a window within 1.2 times of headless for the load (the
// median of five rounds, each loading both ways in turn) and the three commands.
#include "benchfolder.h"
#include "engine/control/jobcontroller.h"
#include "persist/conffile.h"
#include "persist/settingsfile.h"
#include "platform/linuxfilesystem.h"
#include "platform/messagerequest.h"
#include "platform/silentuserchannel.h"
#include "platform/systempaths.h"
#include "ui/frmmain.h"
#include "ui/qtuserchannel.h"
#include "ui/rowlistview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The windowed channel with every question answered OK, so nothing waits.
class AnsweringUser : public QtUserChannel
{
public:
    int message(const MessageRequest &) override { return MessageAnswer::Ok; }
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

qint64 headlessLoad(const QString &folder)
{
    SilentUserChannel user;
    LinuxFileSystem files;
    JobController controller(user, files);
    QElapsedTimer timer;
    timer.start();
    controller.LoadFolder(folder);
    const qint64 ms = timer.elapsed();
    out() << "headless load: " << ms << " ms, " << controller.rows().count() << " rows\n";
    return ms;
}

const QString searchText = QStringLiteral("(\\d+)");
const QString replaceText = QStringLiteral("<format($1,\"0000000\")>");

qint64 timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.elapsed();
}

struct CommandTimes
{
    qint64 tryMs = 0;
    qint64 executeMs = 0;
    qint64 restoreMs = 0;
};

// Try, Execute and restore on a loaded controller; the folder ends as it began.
CommandTimes headlessCommands(const QString &folder)
{
    SilentUserChannel user;
    LinuxFileSystem files;
    JobController controller(user, files);
    controller.LoadFolder(folder);
    controller.SetSearchInput(&JobInputs::searchText, searchText);
    controller.SetSearchInput(&JobInputs::replaceText, replaceText);
    CommandTimes times;
    times.tryMs = timed([&] { controller.TryCommand(); });
    times.executeMs = timed([&] { controller.ExecuteCommand(); });
    times.restoreMs = timed([&] { controller.RestoreFileNames(); });
    return times;
}

void printRatio(const char *what, qint64 windowed, qint64 headless)
{
    out() << what << ": window " << windowed << " ms, headless " << headless << " ms; ratio "
          << QString::number(double(windowed) / std::max<qint64>(1, headless), 'f', 2) << " (target 1.20)\n";
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("CORVANE_SETTINGS_DIR", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    makeFiles(dir.path(), count);
    out() << "created " << count << " files in " << timer.elapsed() << " ms\n";

    headlessLoad(dir.path()); // warms the file system's caches
    const qint64 headless = headlessLoad(dir.path());

    AnsweringUser user;
    LinuxFileSystem files;
    JobController controller(user, files);
    SettingsFile conf(ConfPath());
    frmMain window(controller, user, conf, false);
    window.showRunsIn(user);
    controller.applySettings(Settings::defaults(QSize(1280, 1024)));
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();

    PaintCounter windowPaints;
    window.installEventFilter(&windowPaints);
    window.listV()->viewport()->installEventFilter(&windowPaints);
    auto *bar = window.findChild<QProgressBar *>(QStringLiteral("Prog"));
    int progressSteps = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, [&progressSteps] { ++progressSteps; });
    PaintCounter barPaints;
    bar->installEventFilter(&barPaints);

    timer.restart();
    window.loadFolder(dir.path());
    QCoreApplication::processEvents();
    const qint64 windowed = timer.elapsed();
    out() << "windowed load: " << windowed << " ms, " << window.listV()->model()->rowCount() << " rows\n";
    std::vector<double> loadRatios{double(windowed) / std::max<qint64>(1, headless)};
    while (loadRatios.size() < 5) {
        // Each round loads into an empty list, as the headless load does, and
        // each load comes right after 100,000 rows were freed, so that both
        // meet the same heap: a load into freshly freed memory is slower.
        controller.ClearLists();
        QCoreApplication::processEvents();
        const qint64 alone = headlessLoad(dir.path());
        loadRatios.push_back(double(timed([&] {
                                 window.loadFolder(dir.path());
                                 QCoreApplication::processEvents();
                             }))
                             / std::max<qint64>(1, alone));
    }
    std::sort(loadRatios.begin(), loadRatios.end());
    out() << "load, window / headless: median of " << loadRatios.size() << " rounds "
          << QString::number(loadRatios[loadRatios.size() / 2], 'f', 2) << " (target 1.20)\n";
    out() << "during the load: " << progressSteps << " progress steps, " << barPaints.paints
          << " progress-bar paints, " << windowPaints.paints << " window and list paints\n";

    // Scrolling: one page at a time through the whole list, each page painted.
    QScrollBar *scroll = window.listV()->verticalScrollBar();
    const int page = std::max(1, scroll->pageStep());
    int pages = 0;
    qint64 worst = 0;
    timer.restart();
    QElapsedTimer one;
    for (int value = 0; value <= scroll->maximum(); value += page * 10) {
        one.start();
        scroll->setValue(value);
        window.listV()->viewport()->repaint();
        worst = std::max(worst, one.nsecsElapsed() / 1000);
        ++pages;
    }
    const qint64 total = timer.elapsed();
    out() << "scrolling: " << pages << " jumps over the list in " << total << " ms, "
          << QString::number(double(total) / std::max(1, pages), 'f', 2) << " ms per repainted page, worst "
          << QString::number(worst / 1000.0, 'f', 2) << " ms\n";

    timer.restart();
    window.sortByColumn(1);
    out() << "sorting by a header: " << timer.elapsed() << " ms\n";

    const CommandTimes headlessTimes = headlessCommands(dir.path());
    window.loadFolder(dir.path());
    controller.SetSearchInput(&JobInputs::searchText, searchText);
    controller.SetSearchInput(&JobInputs::replaceText, replaceText);
    const auto click = [&window](const char *name) {
        window.findChild<QPushButton *>(QLatin1String(name))->click();
        QCoreApplication::processEvents();
    };
    printRatio("Try", timed([&] { click("cmdSetInf"); }), headlessTimes.tryMs);
    printRatio("Execute", timed([&] { click("cmdSetFile"); }), headlessTimes.executeMs);
    const qint64 restore = timed([&] {
        window.findChild<QAction *>(QStringLiteral("mnuRestoreFileName"))->trigger();
        QCoreApplication::processEvents();
    });
    printRatio("元のファイル名に戻す", restore, headlessTimes.restoreMs);
    return 0;
}
