#include "app/commandline.h"
#include "app/startup.h"
#include "engine/control/jobcontroller.h"
#include "engine/run/runjournal.h"
#include "id3builder.h"
#include "persist/conffile.h"
#include "persist/settings.h"
#include "persist/settingsfile.h"
#include "platform/displaytext.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "ui/frmabout.h"
#include "ui/frmmain.h"
#include "ui/frmsplash.h"
#include "ui/historycombo.h"
#include "ui/messagedialog.h"
#include "ui/mp3fieldstrip.h"
#include "ui/qtuserchannel.h"
#include "ui/renamerowmodel.h"
#include "ui/rowlistview.h"
#include "ui/tagrowmodel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

// A window over a controller whose questions are answered from a script,
// with a folder of its own to work in.
struct Window
{
    QTemporaryDir dir;
    ScriptedUserChannel user;
    LinuxFileSystem files;
    JobController controller{user, files};
    SettingsFile settings{ConfPath()};
    frmMain window;

    explicit Window(bool debug = false)
        : window(controller, user, settings, debug)
    {
        controller.applySettings(Settings::defaults(QSize(1280, 1024)));
        window.resize(900, 600);
        window.show();
    }

    // Makes the files and folders in the test's folder and loads it.
    void load(const QStringList &fileNames, const QStringList &folders = {})
    {
        for (const QString &name : folders)
            QDir(dir.path()).mkdir(name);
        for (const QString &name : fileNames) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        window.loadFolder(dir.path());
    }
    QStringList onDisk(QDir::Filters filters = QDir::Files) const
    {
        return QDir(dir.path()).entryList(filters | QDir::NoDotAndDotDot, QDir::Name);
    }

    template <class T>
    T *get(const QString &name) const { return window.control<T>(name); }
    QPushButton *button(const QString &name) const { return get<QPushButton>(name); }
    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void trigger(const QString &name) const { window.action(name)->trigger(); }
    QLineEdit *box(const QString &name) const
    {
        auto *combo = window.control<QComboBox>(name);
        return combo ? combo->lineEdit() : get<QLineEdit>(name);
    }
    void type(const QString &name, const QString &text) const
    {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void replace(const QString &search, const QString &replacement) const
    {
        type("cmb置換(0)", search);
        type("cmb置換(1)", replacement);
    }
    void chooseJob(JobKind job) const
    {
        auto *selector = get<QComboBox>("cmbTarget");
        selector->setCurrentIndex(Jobs::position(job));
        Q_EMIT selector->activated(Jobs::position(job));
    }
    QStringList column(int column) const
    {
        QAbstractItemModel *model = window.activeList()->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
    QString header(int column) const
    {
        return window.listModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &index : window.activeList()->selectionModel()->selectedRows())
            rows << index.row() + 1;
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) const
    {
        RowListView *list = window.activeList();
        const QRect cell = list->visualRect(list->model()->index(row - 1, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    void clickHeader(int column) const
    {
        QHeaderView *header = window.activeList()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    // What the three commands offer: Try, Execute, Restore.
    QString status() const { return window.statusBar()->currentMessage(); }
    QString states() const
    {
        QString marks;
        for (const QString &name : QStringList{"cmdSetInf", "cmdSetFile", "cmd元に戻す"})
            marks += button(name)->isEnabled() ? u'1' : u'0';
        return marks;
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firstWindow();
    void replaceJob();
    void oneStepMode();
    void numberingJob();
    void timeStampJob();
    void mp3Job();
    void jobSwitchesAndFolderJob();
    void commandLineSearchStays();
    void interruptedRunIsRecovered();
    void fieldBoxesFollowColumns();
    void listEditing();
    void historyDropDown();
    void menuBarHidden();
    void saveCommandFile();
    void settingsPersist();
    void statusWindow();
    void messageBoxes();
    void refusedRowsAndSummary();
    void livePreview();

private:
    QTemporaryDir m_settings;
};

void TestMainWindow::initTestCase()
{
    qputenv("CORVANE_SETTINGS_DIR", m_settings.path().toLocal8Bit());
}

void TestMainWindow::firstWindow()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QVERIFY(w.window.windowTitle().startsWith("Corvane "));
    // The About box gives the caption's version and a build date in Japanese.
    const QStringList about = frmAbout::versionText().split(u'\n');
    QCOMPARE(about.first(), w.window.windowTitle().section(u' ', 0, 1));
    QVERIFY(QRegularExpression("^ビルド日 \\d{4}年\\d+月\\d+日$").match(about.last()).hasMatch());
    // A keyboard user steps through the jobs: the focus stays in the selector.
    auto *selector = w.get<QComboBox>("cmbTarget");
    selector->setFocus();
    QTest::keyClick(selector, Qt::Key_Down);
    QCOMPARE(w.controller.job(), JobKind::CreatedDate);
    QCOMPARE(QApplication::focusWidget(), selector);
    QTest::keyClick(selector, Qt::Key_Up);
    QCOMPARE(w.get<QComboBox>("cmbTarget")->currentText(), "ファイル名置換");
    QCOMPARE(w.states(), "000");
    // No Conf.txt: the menu bar starts hidden, without a word.
    QVERIFY(!w.window.menuBar()->isVisible());
    QVERIFY(w.user.messages.isEmpty());

    // The debug switch shows the columns kept hidden otherwise.
    Window debug(true);
    for (int column = 0; column < RenameRow::FieldCount; ++column) {
        QCOMPARE(w.window.listV()->isColumnHidden(column), column >= 6);
        QVERIFY(!debug.window.listV()->isColumnHidden(column));
    }
    QVERIFY(!debug.window.listVMp3()->isColumnHidden(static_cast<int>(TagField::Path)));
}

void TestMainWindow::replaceJob()
{
    const QStringList before{"a1.txt", "a2.txt", "b.txt"};
    const QStringList after{"b.txt", "x1.txt", "x2.txt"};
    Window w;
    w.load(before);
    QCOMPARE(w.get<QLabel>("lblCnt")->text(), "3");
    QVERIFY(w.window.windowTitle().endsWith(u" - " + w.dir.path()));
    QCOMPARE(w.states(), "000"); // no search text yet

    w.replace("a(\\d)", "x$1");
    QCOMPARE(w.states(), "100");
    w.click("cmdSetInf");
    QStringList planned = w.column(0);
    planned.sort();
    QCOMPARE(planned, after);
    QCOMPARE(w.selectedRows().size(), 2);
    QCOMPARE(w.states(), "111");
    QCOMPARE(w.onDisk(), before);

    // Restore takes the plan back and leaves the files alone.
    w.click("cmd元に戻す");
    QCOMPARE(w.column(0), w.column(1));
    QVERIFY(w.selectedRows().isEmpty());
    QCOMPARE(w.states(), "100");

    QCOMPARE(w.status(), "試行の結果を取り消し、ファイルの今の状態を表示しました（全 3 件）");

    // Behind each question nothing says the run is on; each run ends with its counts.
    QStringList behindQuestions;
    w.user.onMessage = [&] {
        behindQuestions << w.status() + (w.get<QWidget>("frProg")->isVisible() ? "+progress" : "");
    };
    const QString folder = u"　フォルダ：" + w.dir.path();
    w.click("cmdSetInf");
    w.click("cmdSetFile");
    QCOMPARE(w.onDisk(), after);
    QCOMPARE(w.status(), u"名前を変更した項目：2 件（全 3 件中）" + folder);
    QVERIFY(!w.button("cmdSetFile")->isEnabled());
    QAction *restoreNames = w.window.action("mnuRestoreFileName");
    QVERIFY(restoreNames->isEnabled());
    restoreNames->trigger();
    QCOMPARE(w.onDisk(), before);
    QVERIFY(!restoreNames->isEnabled());
    QCOMPARE(w.user.messages.last().title, "元のファイル名に戻す");
    QCOMPARE(w.user.lastPrompt(), "元のファイル名に戻した項目：2 件（全 2 件中）");
    QCOMPARE(w.status(), w.user.lastPrompt());
    QCOMPARE(behindQuestions, QStringList(5, QString()));
    QCOMPARE(w.get<QProgressBar>("Prog")->format(), "%p%");

    // A stop in the second pass (the third progress step of two items) finishes the run.
    w.replace("a(\\d)", "x$1");
    w.click("cmdSetInf");
    int steps = 0;
    w.user.onEvents = [&] { w.user.stop = ++steps == 3; };
    w.click("cmdSetFile");
    QCOMPARE(w.onDisk(), after);
    QCOMPARE(w.user.messages.last().title, "正常終了");
    QCOMPARE(w.status(), u"中止が指示されましたが、第2段階に入っていたため全 2 件の変更を完了しました" + folder);
}

// An interrupted run found at start-up: the status window shows while its
// items move, and the end says what was done.
void TestMainWindow::interruptedRunIsRecovered()
{
    Window w;
    w.load({"x1", "x2"});
    const QString journal = w.dir.filePath("Journal.dat");
    {
        RunJournal run(journal);
        QCOMPARE(run.begin(JournalRecord::Kind::Execute, {{w.dir.path(), "o1", "tmp00001_o1", "x1"},
                                                          {w.dir.path(), "o2", "tmp00001_o2", "x2"}}),
                 QString());
        QCOMPARE(run.secondPass(), QString());
    }
    w.controller.setJournalPath(journal);
    w.user.answers << MessageAnswer::Yes;
    w.controller.RecoverInterruptedRun();
    QCOMPARE(w.onDisk(), QStringList({"Journal.dat", "o1", "o2"}));
    QVERIFY(w.user.statusTexts.contains("中断された名前の変更を実行前の名前に戻しています（2 件）・・・"));
    QCOMPARE(w.user.messages.last().title, "中断された処理");
    QCOMPARE(w.user.lastPrompt(), "中断された名前の変更を取り消しました。実行前の名前に戻した項目：2 件（全 2 件中）");
    QCOMPARE(w.status(), w.user.lastPrompt());
}

void TestMainWindow::oneStepMode()
{
    Window w;
    w.trigger("mnuNoTry");
    QCOMPARE(w.button("cmdSetInf")->text(), "実行");
    QVERIFY(!w.button("cmdSetFile")->isVisibleTo(&w.window));
    w.trigger("mnuNoTry");
    QCOMPARE(w.button("cmdSetInf")->text(), "試行");
    QVERIFY(w.button("cmdSetFile")->isVisibleTo(&w.window));
}

void TestMainWindow::numberingJob()
{
    Window w;
    w.chooseJob(JobKind::Numbering);
    QVERIFY(w.get<QWidget>("frNumbering")->isVisibleTo(&w.window));
    QVERIFY(!w.get<QWidget>("frReplace")->isVisibleTo(&w.window));
    w.load({"p1.jpg", "p2.jpg"});

    // Each box refuses what cannot go in it, and the sample follows.
    w.type("txtFileName", "photo.jpg");
    w.type("txtStNo", "7x");
    w.type("cmb桁数", "3a");
    w.type("txtSeparator", "_/");
    QCOMPARE(w.box("txtStNo")->text(), "7");
    QCOMPARE(w.box("cmb桁数")->text(), "3");
    QCOMPARE(w.box("txtSeparator")->text(), "_");
    QCOMPARE(w.box("txtSample")->text(), "007_photo.jpg");
    QTest::mouseClick(w.get<QCheckBox>("chkAddTop"), Qt::LeftButton);
    QCOMPARE(w.box("txtSample")->text(), "photo_007.jpg");
    w.click("cmdSetInf");
    w.click("cmdSetFile");
    QCOMPARE(w.onDisk(), QStringList({"photo_007.jpg", "photo_008.jpg"}));

    w.type("cmb桁数", "25");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w.box("cmb桁数"), &leave);
    QTRY_COMPARE(w.user.lastPrompt(), "桁数は 20 以下にして下さい。");
    QCOMPARE(w.user.messages.last().title, "桁数オーバー");

    // Keys reach the combo box itself, which hands them to its line edit:
    // the rule must hold there as well.
    auto *step = w.get<QComboBox>("cmb連番増分");
    step->lineEdit()->clear();
    step->setFocus();
    QTest::keyClicks(step, "2x5");
    QCOMPARE(step->currentText(), "25");

    // Text the input dialog writes into the separator box reaches the inputs.
    w.box("txtSeparator")->setText("#");
    QCOMPARE(w.controller.inputs().separator, "#");
}

void TestMainWindow::timeStampJob()
{
    Window w;
    w.chooseJob(JobKind::ModifiedDate);
    QCOMPARE(w.get<QLabel>("lblTimeStamp")->text(), "基準にする更新日時を入力");
    w.load({"a.txt", "b.txt"});
    const auto stampOf = [&w](int row) { return QFileInfo(w.dir.filePath(w.column(1).at(row - 1))).lastModified(); };
    w.clickRow(2);
    QCOMPARE(w.get<QDateTimeEdit>("DTP(0)")->date(), stampOf(2).date());

    const QDateTime base(QDate(2020, 5, 17), QTime(8, 30, 0));
    // Typed over the whole text, as into any date box.
    for (const auto &[name, typed] : {std::pair("DTP(0)", "2020/05/17"), std::pair("DTP(1)", "08:30:00")}) {
        auto *box = w.get<QDateTimeEdit>(QString::fromLatin1(name));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QString::fromLatin1(typed));
    }
    w.type("cmb増分", "10");
    w.click("cmdSetInf");
    QCOMPARE(w.status(), "試行結果：変更 2 件、変更不可 0 件（全 2 件）");
    w.click("cmdSetFile");
    QCOMPARE(stampOf(1), base);
    QCOMPARE(stampOf(2), base.addSecs(600));
    QCOMPARE(w.status(), u"更新日を変更したファイル：2 件（全 2 件中）　フォルダ：" + w.dir.path());
    // From EXIF: the base and the step are off, and files without it are marked.
    QTest::mouseClick(w.get<QCheckBox>("chkExifTime"), Qt::LeftButton);
    QVERIFY(w.controller.inputs().useExifTime && !w.get<QWidget>("DTP(0)")->isEnabled());
    w.click("cmdSetInf");
    QCOMPARE(w.status(), "試行結果：変更 0 件、変更不可 2 件（全 2 件）");

    // Creation times this file system cannot set: its folder is named at Try,
    // and the rows are refused, not planned.
    w.chooseJob(JobKind::CreatedDate);
    w.click("cmdSetInf");
    QVERIFY(w.user.lastPrompt().contains(w.dir.path()));
    QCOMPARE(w.states(), "101");
    QCOMPARE(w.status(), "試行結果：変更 0 件、変更不可 2 件（全 2 件）");
    QCOMPARE(w.window.listModel()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(),
             RenameRowModel::errorColour(QGuiApplication::palette()));
}

void TestMainWindow::mp3Job()
{
    Window w;
    for (const QString &name : QStringList{"01 Intro.mp3", "02 Outro.mp3"})
        QVERIFY(Id3::write(w.dir.filePath(name), Id3::audio(2000) + Id3::v1("old")));
    const QStringList oldTitles{"old", "old"};
    w.chooseJob(JobKind::Mp3TagEdit);
    w.window.loadFolder(w.dir.path());
    QCOMPARE(w.column(1), oldTitles);

    w.type("cmb置換(0)", "^(\\d+) (.+)\\.mp3$");
    QLineEdit *title = w.window.fieldStrip()->field(1);
    title->clear();
    QTest::keyClicks(title, "$2");
    w.click("cmdSetInf");
    QStringList titles = w.column(1);
    titles.sort();
    QCOMPARE(titles, QStringList({"Intro", "Outro"}));
    QCOMPARE(w.selectedRows(), QList<int>({1, 2}));
    QCOMPARE(w.states(), "111");

    // Restore reads the tags back from the files.
    w.click("cmd元に戻す");
    QCOMPARE(w.column(1), oldTitles);
    QCOMPARE(w.states(), "100");

    w.click("cmdSetInf");
    w.click("cmdSetFile");
    QVERIFY(Id3::read(w.dir.filePath("01 Intro.mp3")).right(128).startsWith("TAGIntro"));
    QVERIFY(Id3::read(w.dir.filePath("02 Outro.mp3")).right(128).startsWith("TAGOutro"));
    QCOMPARE(w.states(), "000");
}

void TestMainWindow::jobSwitchesAndFolderJob()
{
    Window w;
    w.load({"song.MP3", "memo.txt"}, {"x1", "x2"});
    // The part of the name searched is chosen for files alone.
    auto *scope = w.get<QComboBox>("cmbReplaceScope");
    scope->setFocus();
    QTest::keyClick(scope, Qt::Key_Down);
    QCOMPARE(w.controller.inputs().replaceScope, ReplaceScope::NameOnly);
    w.chooseJob(JobKind::Mp3TagEdit);
    QVERIFY(w.window.listVMp3()->isVisibleTo(&w.window));
    QVERIFY(!w.window.listV()->isVisibleTo(&w.window));
    QCOMPARE(w.column(0), QStringList{"song.MP3"});
    QVERIFY(w.window.fieldStrip()->isVisibleTo(&w.window));
    QCOMPARE(w.window.fieldStrip()->field(1)->text(), "<Title>");
    QCOMPARE(w.states().mid(1), "00");

    w.chooseJob(JobKind::FolderRename);
    QVERIFY(!scope->isVisibleTo(&w.window));
    QCOMPARE(w.window.listModel()->rowCount(), 0);
    QCOMPARE(w.header(0), "変更後のフォルダ名");
    QCOMPARE(w.header(1), "元のフォルダ名");
    w.window.loadFolder(w.dir.path());
    w.replace("x", "y");
    w.click("cmdSetInf");
    QCOMPARE(w.selectedRows(), QList<int>({1, 2}));
    w.click("cmdSetFile");
    QCOMPARE(w.onDisk(QDir::Dirs), QStringList({"y1", "y2"}));
    w.trigger("mnuRestoreFileName");
    QCOMPARE(w.onDisk(QDir::Dirs), QStringList({"x1", "x2"}));
    QCOMPARE(w.onDisk(), QStringList({"memo.txt", "song.MP3"}));

    w.chooseJob(JobKind::Numbering);
    QCOMPARE(w.header(0), "変更後のファイル名");
    QCOMPARE(w.states(), "000");
}

void TestMainWindow::commandLineSearchStays()
{
    Window w;
    w.load({"01 a.txt", "02 b.txt"});
    const QString given = "^(\\d+) ";
    const auto start = [&] {
        const CommandLine line = CommandLine::parse({"-folder", w.dir.path(), "-search", given, "-pattern", "$1_"});
        StartUp(w.controller, line).run([] {});
        QCOMPARE(w.box("cmb置換(0)")->text(), given);
    };
    const auto clickKeeps = [&](bool kept) {
        w.clickRow(2);
        QCOMPARE(w.box("cmb置換(0)")->text(), kept ? given : w.column(1).at(1));
        QCOMPARE(w.controller.inputs().baseName, kept ? QString() : w.column(1).at(1));
    };
    start();
    clickKeeps(true);
    w.chooseJob(JobKind::FileNameReplace);
    clickKeeps(true);
    // Editing the search ends it, and so does Restore.
    w.type("cmb置換(0)", "b");
    clickKeeps(false);
    start();
    w.click("cmdSetInf");
    w.click("cmd元に戻す");
    clickKeeps(false);
}

void TestMainWindow::fieldBoxesFollowColumns()
{
    Window w;
    w.chooseJob(JobKind::Mp3TagEdit);
    w.window.resize(400, 500);
    QCoreApplication::processEvents();
    RowListView *list = w.window.listVMp3();
    Mp3FieldStrip *strip = w.window.fieldStrip();
    const auto gap = [&] { return strip->field(2)->x() - strip->field(1)->x(); };
    QCOMPARE(gap(), list->columnWidth(1));
    QCOMPARE(strip->field(3)->width(), list->columnWidth(3));
    list->setColumnWidth(1, list->columnWidth(1) + 40);
    QCOMPARE(gap(), list->columnWidth(1));
    QHeaderView *header = list->horizontalHeader();
    const int origin = strip->field(3)->x() - header->sectionViewportPosition(3);
    list->horizontalScrollBar()->setValue(60);
    QVERIFY(header->offset() > 0);
    QCOMPARE(strip->field(3)->x() - header->sectionViewportPosition(3), origin);
    QVERIFY(!strip->field(static_cast<int>(TagField::Path))->isVisibleTo(strip));

    // Widths a command file brings: a zero leaves its column alone.
    const int artist = list->columnWidth(2);
    QList<int> widths(TagRow::FieldCount, 0);
    widths[1] = 3000;
    w.controller.SetMp3ColumnWidths(widths);
    w.controller.RefreshJobInputs();
    QCOMPARE(list->columnWidth(1), PixelsFromTwips(3000, w.window.logicalDpiX()));
    QCOMPARE(list->columnWidth(2), artist);
    QCOMPARE(strip->field(1)->width(), list->columnWidth(1));
}

void TestMainWindow::listEditing()
{
    QTemporaryDir more;
    QFile extra(more.filePath("d.txt"));
    QVERIFY(extra.open(QIODevice::WriteOnly));
    Window w;
    w.load({"a10.txt", "b.txt", "a9.txt"});
    // Each row shows its item's date and size, read when the row is shown.
    for (const QString &name : w.column(1)) {
        const int row = int(w.column(1).indexOf(name));
        const QFileInfo item(w.dir.filePath(name));
        QCOMPARE(w.column(3).at(row), DateText(item.lastModified()));
        QCOMPARE(w.column(4).at(row), SizeText(item.size()));
    }
    QHeaderView *header = w.window.listV()->horizontalHeader();
    w.clickHeader(1);
    QCOMPARE(w.column(1), QStringList({"a9.txt", "a10.txt", "b.txt"}));
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    w.clickHeader(1);
    QCOMPARE(w.column(1), QStringList({"b.txt", "a10.txt", "a9.txt"}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // Moving a row by hand ends the sorted order.
    w.clickRow(3);
    w.click("cmdUp");
    QCOMPARE(w.column(1), QStringList({"b.txt", "a9.txt", "a10.txt"}));
    QCOMPARE(w.selectedRows(), QList<int>({2}));
    QVERIFY(!header->isSortIndicatorShown());

    // Files from a file manager go in at the row under the pointer, selected.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(more.path())});
    RowListView *list = w.window.listV();
    const QPoint at = list->visualRect(list->model()->index(1, 1)).center();
    const auto drop = [&] {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &dropped);
    };
    drop();
    QCOMPARE(w.column(1), QStringList({"b.txt", "d.txt", "a9.txt", "a10.txt"}));
    QCOMPARE(w.selectedRows(), QList<int>({2}));
    // The same folder again adds nothing.
    drop();
    QCOMPARE(w.window.listModel()->rowCount(), 4);

    // Rows dragged inside the list land in front of the row under the pointer.
    w.clickRow(1);
    w.clickRow(2, Qt::ControlModifier);
    Q_EMIT list->rowMoveStarted();
    w.window.dropRows(4);
    QCOMPARE(w.column(1), QStringList({"a9.txt", "b.txt", "d.txt", "a10.txt"}));
    QCOMPARE(w.selectedRows(), QList<int>({2, 3}));

    // Another column starts ascending, and the selection follows its rows.
    w.clickHeader(4);
    QCOMPARE(header->sortIndicatorSection(), 4);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QTest::keyClick(list, Qt::Key_Delete);
    QStringList left = w.column(1);
    left.sort();
    QCOMPARE(left, QStringList({"a10.txt", "a9.txt"}));
    w.click("cmdAllSelect");
    QCOMPARE(w.selectedRows(), QList<int>({1, 2}));
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(w.window.listModel()->rowCount(), 0);
    QCOMPARE(w.states(), "000");
    QVERIFY(w.get<QLabel>("lblCnt")->text().isEmpty());
    QVERIFY(!w.button("cmdAllSelect")->isEnabled());
}

void TestMainWindow::historyDropDown()
{
    Window w;
    Settings stored = Settings::defaults(QSize(1024, 768));
    stored.searchHistory = "beta\tAlpha\tgamma";
    w.controller.applySettings(stored);
    const InputHistory &history = w.controller.searchHistory();
    auto *search = w.get<HistoryCombo>("cmb置換(0)");
    w.type("cmb置換(0)", "typed");
    const auto shown = [search] {
        QStringList texts;
        for (int i = 0; i < search->count(); ++i)
            texts << search->itemText(i);
        return texts;
    };
    search->showPopup();
    QCOMPARE(shown(), QStringList({"beta", "Alpha", "gamma"}));
    QCOMPARE(search->currentText(), "typed");
    search->view()->setCurrentIndex(search->model()->index(1, 0));
    QTest::keyClick(search->view(), Qt::Key_Delete);
    QCOMPARE(history.executeHistory(), QStringList({"beta", "gamma"}));
    search->hidePopup();
    stored.regOrder = true;
    w.controller.applySettings(stored);
    search->showPopup();
    QCOMPARE(shown(), QStringList({"Alpha", "beta", "gamma"}));
    search->hidePopup();
}

void TestMainWindow::menuBarHidden()
{
    Window w;
    QAction *key = w.window.action("bt_dispmenu");
    key->trigger(); // hidden at start: shows it
    QVERIFY(w.window.menuBar()->isVisible());
    QVERIFY(w.user.messages.isEmpty());
    key->trigger();
    QVERIFY(!w.window.menuBar()->isVisible());
    QVERIFY(key->isChecked());
    QCOMPARE(w.user.lastPrompt(), "メニューを表示するには、ツールバーの左端ボタンをクリックして下さい。");
    QCOMPARE(w.user.messages.last().title, "メニュー再表示方法");

    // Ctrl+M anywhere in the window toggles it as well.
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(w.window.listV(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(w.window.menuBar()->isVisible());
    QVERIFY(!key->isChecked());

    w.trigger("bt_disptop");
    QVERIFY(w.window.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w.window.action("mnuDispTop")->isChecked());
    w.trigger("mnuTransparent");
    QCOMPARE(qRound(w.window.windowOpacity() * 255), 150);
    w.trigger("mnuTransparent");
    QCOMPARE(w.window.windowOpacity(), 1.0);
}

void TestMainWindow::saveCommandFile()
{
    Window w;
    const QString path = w.dir.filePath("job.dat");
    QVERIFY(!w.controller.CommandFileSave(path));
    QVERIFY(w.window.windowTitle().contains(" < job.dat > "));
    w.type("cmb置換(0)", "(\\d+)");
    w.trigger("bt_save");
    QCOMPARE(w.user.statusTexts.last(), "上書き保存しました！\r\n「job.dat」");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Search=(\\d+)\r\n"));
}

void TestMainWindow::settingsPersist()
{
    {
        Window w;
        w.window.listV()->setColumnWidth(2, 123);
        w.trigger("mnuIgnoreCase");
        w.trigger("bt_dispmenu");
        w.trigger("bt_preview");
        w.chooseJob(JobKind::CreatedDate);
        w.window.close();
    }
    Settings saved;
    ScriptedUserChannel user;
    QCOMPARE(ConfLoad(ConfPath(), &saved, user), QString());
    QVERIFY(saved.ignoreCase);
    QVERIFY(saved.menuBarShown && !saved.livePreview);
    QCOMPARE(saved.jobPosition, Jobs::position(JobKind::CreatedDate));
    Window again;
    again.settings.settings() = saved;
    again.window.applySettings();
    QCOMPARE(again.window.listV()->columnWidth(2), 123);
    QVERIFY(again.window.menuBar()->isVisible());
    QVERIFY(!again.window.action("bt_preview")->isChecked());
    // The MP3 list's widths reach it through the controller, which keeps them.
    saved.mp3ColumnWidths[1] = 3000;
    again.controller.applySettings(saved);
    QCOMPARE(again.window.listVMp3()->columnWidth(1), PixelsFromTwips(3000, again.window.logicalDpiX()));
    QFile::remove(ConfPath());
}

void TestMainWindow::statusWindow()
{
    // Two line breaks: three lines of 500 twips below the label, plus 50.
    QCOMPARE(frmSplash::heightTwips(120, "a\r\nb\r\nc"), 120 + 1500 + 50);

    QtUserChannel user;
    user.showStatus("上書き保存しました！\r\nx.dat", 200, false);
    QVERIFY(user.statusOpen());
    QCOMPARE(user.statusText(), "上書き保存しました！\nx.dat");
    QTRY_VERIFY_WITH_TIMEOUT(!user.statusOpen(), 3000);
    user.showStatus("ファイル処理中", 0, false);
    QVERIFY(user.statusOpen());
    user.showStatus(QString(), 0, false);
    QVERIFY(!user.statusOpen());

    // A run pumps events only once it has lasted a moment, so that a quick one
    // never paints its busy look, then at most once an interval; outside a
    // run, and right after a question, a pump goes through at once.
    int delivered = 0;
    const auto pumped = [&] {
        const int before = delivered;
        QMetaObject::invokeMethod(qApp, [&delivered] { ++delivered; }, Qt::QueuedConnection);
        user.processEvents();
        const bool seen = delivered > before;
        QCoreApplication::processEvents();
        return seen;
    };
    user.setRunning(true);
    QVERIFY(!pumped());
    QTest::qSleep(250);
    QVERIFY(pumped());
    QVERIFY(!pumped());
    user.setRunning(false);
    QVERIFY(pumped());
}

// A long error log stays on the screen with its buttons in reach, and the
// default button is the one the style asks for, not the one Qt's roles put first.
void TestMainWindow::messageBoxes()
{
    MessageRequest log;
    log.prompt = QStringLiteral("☆事前処理エラー 1\r\n元の名 = a\r\n").repeated(80);
    log.style = MessageStyle::YesNo | MessageStyle::DefaultButton2;
    MessageDialog box(log);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.frameGeometry().height() <= box.screen()->availableGeometry().height());
    QVERIFY(box.buttonBox()->button(QDialogButtonBox::No)->isDefault());
    QVERIFY(box.buttonBox()->isVisible());

    MessageRequest question;
    question.prompt = QStringLiteral("?");
    question.style = MessageStyle::YesNoCancel | MessageStyle::DefaultButton3;
    MessageDialog three(question);
    QVERIFY(three.buttonBox()->button(QDialogButtonBox::Cancel)->isDefault());
}

void TestMainWindow::refusedRowsAndSummary()
{
    Window w;
    w.load({"a1.txt", "a2.txt", "b.txt"});
    RenameRowModel *model = w.window.listModel();
    const auto tipOf = [&](const QString &current) {
        const int row = int(w.column(1).indexOf(current));
        return model->index(row, 1).data(Qt::ToolTipRole).toString();
    };
    const auto colourOf = [&](const QString &current) {
        return model->index(int(w.column(1).indexOf(current)), 0).data(Qt::ForegroundRole);
    };
    const QColor error = RenameRowModel::errorColour(QGuiApplication::palette());

    w.replace("\\d", ":");
    w.click("cmdSetInf");
    QCOMPARE(colourOf("a1.txt").value<QColor>(), error);
    QCOMPARE(tipOf("a2.txt"), RenameRowModel::rejectionText(RowRejection::ForbiddenCharacter));
    QVERIFY(!colourOf("b.txt").isValid());
    QCOMPARE(tipOf("b.txt"), "b.txt");
    QCOMPARE(w.window.statusBar()->currentMessage(), "試行結果：変更 0 件、変更不可 2 件（全 3 件）");

    w.replace("a\\d", "b");
    w.click("cmdSetInf");
    for (const char *name : {"a1.txt", "a2.txt", "b.txt"})
        QCOMPARE(tipOf(QString::fromUtf8(name)), RenameRowModel::rejectionText(RowRejection::DuplicateTarget));

    // A plan that passes clears the marks of the one before.
    w.replace("a", "x");
    w.click("cmdSetInf");
    QVERIFY(!colourOf("a1.txt").isValid());
    QCOMPARE(w.window.statusBar()->currentMessage(), "試行結果：変更 2 件、変更不可 0 件（全 3 件）");

    // An invalid search shows at its box while it is typed; its Try leaves no plan on screen.
    auto *search = w.get<QComboBox>("cmb置換(0)");
    w.type("cmb置換(0)", "(a");
    QCOMPARE(search->lineEdit()->palette().color(QPalette::Text), RenameRowModel::errorColour(search->palette()));
    QVERIFY(search->toolTip().contains("SyntaxError"));
    w.click("cmdSetInf");
    QCOMPARE(w.user.messages.last().title, "正規表現エラー　－　RegReplace");
    QCOMPARE(w.column(0), w.column(1));
    QVERIFY(w.selectedRows().isEmpty());
    w.type("cmb置換(0)", "a");
    QVERIFY(!search->toolTip().contains("SyntaxError"));
}

void TestMainWindow::livePreview()
{
    Window w;
    w.load({"a1.txt", "a2.txt", "b.txt"});
    RenameRowModel *model = w.window.listModel();
    // On at first start; its tool bar button and menu entry are one switch.
    QVERIFY(w.window.action("mnuLivePreview")->isChecked());
    w.trigger("bt_preview");
    w.replace("a(\\d)", "x$1");
    QTest::qWait(60);
    QVERIFY(!model->hasPreview());

    w.trigger("mnuLivePreview");
    QVERIFY(w.window.action("bt_preview")->isChecked());
    w.type("cmb置換(1)", "y$1");
    QTRY_VERIFY(model->hasPreview());
    QStringList shown = w.column(0);
    shown.sort();
    QCOMPARE(shown, QStringList({"b.txt", "y1.txt", "y2.txt"}));
    QVERIFY(model->index(0, 0).data(RenameRowModel::PreviewRole).toBool());
    // The rows and the selection are the checked plan's alone: the preview offers no Execute.
    for (const RenameRow &row : w.controller.rows().rows())
        QCOMPARE(row[RenameField::NewName], row[RenameField::CurrentName]);
    QVERIFY(w.selectedRows().isEmpty());
    QCOMPARE(w.states(), "100");

    w.click("cmdSetInf");
    QVERIFY(!model->hasPreview());
    QCOMPARE(w.states(), "111");
    // Editing after a Try previews again, and Execute waits for the next Try.
    w.type("cmb置換(1)", "z$1");
    QTRY_VERIFY(model->hasPreview());
    QCOMPARE(w.states(), "101");
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
