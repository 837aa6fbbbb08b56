// How the secondary windows cope with a list of 100,000 rows: opening the data
// editor, applying it, replacing all in its text, and reading the help document.
#include "platform/silentuserchannel.h"
#include "platform/messagerequest.h"
#include "platform/systempaths.h"
#include "platform/userchannel.h"
#include "ui/frmdata.h"
#include "ui/frmsearch.h"
#include "ui/funchelp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextStream>

namespace {

void report(const char *what, qint64 ms)
{
    QTextStream(stdout) << what << ": " << ms << " ms\n";
}

}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
    SilentUserChannel user;
    constexpr int Rows = 100000;
    QStringList values;
    values.reserve(Rows);
    for (int row = 1; row <= Rows; ++row)
        values << QStringLiteral("IMG_%1 旅行の写真.jpg").arg(row, 6, 10, QLatin1Char('0'));

    QElapsedTimer timer;
    timer.start();
    frmData editor(user, QStringLiteral("変更後のファイル名"), values, Rows / 2, true);
    editor.show();
    QCoreApplication::processEvents();
    report("open the data editor with 100,000 rows", timer.restart());

    frmSearch search(user, editor.editBox());
    search.searchBox()->setText(QStringLiteral("img"));
    search.replaceBox()->setText(QStringLiteral("写真"));
    search.findNext();
    report("find next (loose comparison)", timer.restart());
    search.replaceAll();
    report("replace all 100,000 hits (loose comparison)", timer.restart());

    editor.accept();
    report("apply 100,000 lines", timer.restart());
    QTextStream(stdout) << "rows applied: " << editor.values().size() << "\n";

    for (int round = 0; round < 10; ++round)
        FuncHelp::load(FuncHelp::documentPath());
    report("read the help document 10 times", timer.restart());
    return 0;
}
