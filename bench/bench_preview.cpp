// The cost of one keystroke in the replace box on a list of 100,000 rows, with
// the live preview on and off: the box's own handling, the preview of the rows
// in view and the repaint of the list. Prints medians and the worst case; the
// target is at most 50 ms per keystroke with the preview on.
#include "benchfolder.h"
#include "engine/control/jobcontroller.h"
#include "persist/conffile.h"
#include "persist/settingsfile.h"
#include "platform/linuxfilesystem.h"
#include "platform/messagerequest.h"
#include "platform/systempaths.h"
#include "ui/frmmain.h"
#include "ui/livepreview.h"
#include "ui/qtuserchannel.h"
#include "ui/renamerowmodel.h"
#include "ui/rowlistview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

class AnsweringUser : public QtUserChannel
{
public:
    int message(const MessageRequest &) override { return MessageAnswer::Ok; }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Types text into box one character at a time; each keystroke is timed from
// the edit to the repainted list.
void typeTimed(frmMain &window, QLineEdit *box, const QString &text, bool preview, const char *label)
{
    box->clear();
    QCoreApplication::processEvents();
    std::vector<double> costs;
    QElapsedTimer timer;
    for (const QChar c : text) {
        timer.start();
        box->insert(QString(c));
        if (preview)
            window.livePreview()->show();
        window.listV()->viewport()->repaint();
        costs.push_back(timer.nsecsElapsed() / 1e6);
    }
    out() << label << ": " << costs.size() << " keystrokes, median " << QString::number(median(costs), 'f', 2)
          << " ms, worst " << QString::number(*std::max_element(costs.begin(), costs.end()), 'f', 2)
          << " ms (target 50 ms)\n";
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
    makeFiles(dir.path(), count);

    AnsweringUser user;
    LinuxFileSystem files;
    JobController controller(user, files);
    SettingsFile conf(ConfPath());
    frmMain window(controller, user, conf, false);
    window.showRunsIn(user);
    controller.applySettings(Settings::defaults(QSize(1280, 1024)));
    window.resize(1000, 700);
    window.show();
    window.loadFolder(dir.path());
    QCoreApplication::processEvents();
    out() << window.listV()->model()->rowCount() << " rows\n";

    auto *search = window.control<QComboBox>(QStringLiteral("cmb置換(0)"))->lineEdit();
    auto *replace = window.control<QComboBox>(QStringLiteral("cmb置換(1)"))->lineEdit();
    search->setText(QStringLiteral("(\\d+)"));
    // A plain text is valid after every keystroke; the formula only once complete.
    const QString plain = QStringLiteral("写真_$1_旅行 summer");
    const QString formula = QStringLiteral("<format($1,\"0000000\")>_写真");

    typeTimed(window, replace, plain, false, "plain text, preview off");
    typeTimed(window, replace, formula, false, "formula,    preview off");
    window.action(QStringLiteral("mnuLivePreview"))->trigger();
    typeTimed(window, replace, plain, true, "plain text, preview on ");
    typeTimed(window, replace, formula, true, "formula,    preview on ");
    const QModelIndex top = window.listModel()->index(window.listV()->rowAt(0), 0);
    out() << "first row in view: " << top.data().toString() << (top.data(RenameRowModel::PreviewRole).toBool()
                                                                     ? " (preview)\n" : " (no preview)\n");
    return 0;
}
