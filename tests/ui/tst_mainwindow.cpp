#include "engine/jobcontroller.h"
#include "id3builder.h"
#include "persist/conffile.h"
#include "persist/settings.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "ui/frmmain.h"
#include "ui/frmsplash.h"
#include "ui/historycombo.h"
#include "ui/mp3fieldstrip.h"
#include "ui/qtuserchannel.h"
#include "ui/renamerowmodel.h"
#include "ui/rowlistview.h"
#include "ui/tagrowmodel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QUrl>

namespace {

// A window over a controller whose questions are answered from a script.
struct Window
{
    ScriptedUserChannel user;
    LinuxFileSystem files;
    JobController controller{user, files};
    frmMain window{controller, user, false};

    Window()
    {
        controller.applySettings(Settings::defaults(QSize(1280, 1024)));
        window.resize(900, 600);
        window.show();
    }

    template <class T>
    T *get(const QString &name) const
    {
        T *widget = window.control<T>(name);
        Q_ASSERT(widget);
        return widget;
    }
    QPushButton *button(const QString &name) const { return get<QPushButton>(name); }
    QLineEdit *box(const QString &name) const
    {
        if (auto *combo = window.control<QComboBox>(name))
            return combo->lineEdit();
        return get<QLineEdit>(name);
    }
    void type(const QString &name, const QString &text) const
    {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void chooseJob(JobKind job) const
    {
        auto *selector = get<QComboBox>(QStringLiteral("cmbTarget"));
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
    QString states() const
    {
        const auto mark = [](QPushButton *b) { return b->isEnabled() ? u'1' : u'0'; };
        return QString(mark(button(QStringLiteral("cmdSetInf")))) + mark(button(QStringLiteral("cmdSetFile")))
             + mark(button(QStringLiteral("cmd元に戻す")));
    }
};

void makeFiles(const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        QFile file(folder + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
}

QStringList onDisk(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firstWindow();
    void hiddenColumnsShowInDebug();
    void replaceJob();
    void restoreReturnsTheList();
    void numberingJob();
    void digitsAboveTwenty();
    void timeStampJob();
    void mp3Job();
    void folderJob();
    void oneStepMode();
    void jobSwitches();
    void fieldBoxesFollowColumns();
    void sortByHeaderTwice();
    void moveAndDrop();
    void deleteKeyEmptiesTheList();
    void historyDropDown();
    void menuBarHidden();
    void saveCommandFile();
    void settingsPersist();
    void folderHeaders();
    void statusWindow();

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
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(w.window.windowTitle().startsWith(QStringLiteral("Corvane ")));
    auto *selector = w.get<QComboBox>(QStringLiteral("cmbTarget"));
    QCOMPARE(selector->count(), 6);
    QCOMPARE(selector->currentText(), QStringLiteral("ファイル名置換"));
    QCOMPARE(w.button(QStringLiteral("cmdSetInf"))->text(), QStringLiteral("試行"));
    QCOMPARE(w.button(QStringLiteral("cmd元に戻す"))->text(), QStringLiteral("元に戻す"));
    QCOMPARE(w.states(), QStringLiteral("000"));
    for (int column = 0; column < RenameRow::FieldCount; ++column)
        QCOMPARE(w.window.listV()->isColumnHidden(column), column >= 6);
    for (const char16_t *key : {u"bt_close", u"bt_load", u"bt_files", u"bt_new", u"bt_com_list", u"bt_open", u"bt_save",
                                u"bt_all_save", u"bt_disptop", u"bt_dispmenu", u"bt_up", u"bt_down", u"bt_clear",
                                u"bt_clearall", u"bt_help", u"bt_version"})
        QVERIFY2(w.window.action(QString::fromUtf16(key)), qPrintable(QString::fromUtf16(key)));
    QStringList menus;
    for (QAction *menu : w.window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, QStringList({QStringLiteral("ファイル"), QStringLiteral("表示"), QStringLiteral("編集"),
                                 QStringLiteral("オプション"), QStringLiteral("ヘルプ")}));
    // No Conf.txt: the menu bar starts hidden, without a word.
    QVERIFY(!w.window.menuBar()->isVisible());
    QVERIFY(w.user.messages.isEmpty());
}

void TestMainWindow::hiddenColumnsShowInDebug()
{
    ScriptedUserChannel user;
    LinuxFileSystem files;
    JobController controller(user, files);
    frmMain window(controller, user, true);
    for (int column = 0; column < RenameRow::FieldCount; ++column)
        QVERIFY(!window.listV()->isColumnHidden(column));
    QVERIFY(!window.listVMp3()->isColumnHidden(static_cast<int>(TagField::Path)));
}

void TestMainWindow::replaceJob()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a1.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.txt")});
    Window w;
    w.window.loadFolder(dir.path());
    QCOMPARE(w.window.listModel()->rowCount(), 3);
    QCOMPARE(w.get<QLabel>(QStringLiteral("lblCnt"))->text(), QStringLiteral("3"));
    QVERIFY(w.window.windowTitle().endsWith(u" - " + dir.path()));
    QCOMPARE(w.states(), QStringLiteral("000")); // no search text yet

    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("a(\\d)"));
    w.type(QStringLiteral("cmb置換(1)"), QStringLiteral("x$1"));
    QCOMPARE(w.controller.inputs().replaceText, QStringLiteral("x$1"));
    QCOMPARE(w.states(), QStringLiteral("100"));

    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QStringList planned = w.column(0);
    planned.sort();
    QCOMPARE(planned, QStringList({QStringLiteral("b.txt"), QStringLiteral("x1.txt"), QStringLiteral("x2.txt")}));
    QCOMPARE(w.selectedRows().size(), 2);
    QCOMPARE(w.states(), QStringLiteral("111"));
    QCOMPARE(onDisk(dir.path()), QStringList({QStringLiteral("a1.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.txt")}));

    QTest::mouseClick(w.button(QStringLiteral("cmdSetFile")), Qt::LeftButton);
    QCOMPARE(onDisk(dir.path()), QStringList({QStringLiteral("b.txt"), QStringLiteral("x1.txt"), QStringLiteral("x2.txt")}));
    QVERIFY(!w.button(QStringLiteral("cmdSetFile"))->isEnabled());
    QVERIFY(w.window.action(QStringLiteral("mnuRestoreFileName"))->isEnabled());

    w.window.action(QStringLiteral("mnuRestoreFileName"))->trigger();
    QCOMPARE(onDisk(dir.path()), QStringList({QStringLiteral("a1.txt"), QStringLiteral("a2.txt"), QStringLiteral("b.txt")}));
    QVERIFY(!w.window.action(QStringLiteral("mnuRestoreFileName"))->isEnabled());
}

void TestMainWindow::restoreReturnsTheList()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a1.txt"), QStringLiteral("a2.txt")});
    Window w;
    w.window.loadFolder(dir.path());
    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("a"));
    w.type(QStringLiteral("cmb置換(1)"), QStringLiteral("c"));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QVERIFY(w.column(0) != w.column(1));
    QTest::mouseClick(w.button(QStringLiteral("cmd元に戻す")), Qt::LeftButton);
    QCOMPARE(w.column(0), w.column(1));
    QVERIFY(w.selectedRows().isEmpty());
    QCOMPARE(w.states(), QStringLiteral("100"));
}

void TestMainWindow::numberingJob()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("p1.jpg"), QStringLiteral("p2.jpg")});
    Window w;
    w.chooseJob(JobKind::Numbering);
    QVERIFY(w.get<QWidget>(QStringLiteral("frNumbering"))->isVisibleTo(&w.window));
    QVERIFY(!w.get<QWidget>(QStringLiteral("frReplace"))->isVisibleTo(&w.window));
    w.window.loadFolder(dir.path());

    w.type(QStringLiteral("txtFileName"), QStringLiteral("photo.jpg"));
    w.type(QStringLiteral("txtStNo"), QStringLiteral("7x"));
    w.type(QStringLiteral("cmb桁数"), QStringLiteral("3a"));
    w.type(QStringLiteral("txtSeparator"), QStringLiteral("_/"));
    QCOMPARE(w.box(QStringLiteral("txtStNo"))->text(), QStringLiteral("7"));
    QCOMPARE(w.box(QStringLiteral("cmb桁数"))->text(), QStringLiteral("3"));
    QCOMPARE(w.box(QStringLiteral("txtSeparator"))->text(), QStringLiteral("_"));
    QCOMPARE(w.box(QStringLiteral("txtSample"))->text(), QStringLiteral("007_photo.jpg"));
    QTest::mouseClick(w.get<QCheckBox>(QStringLiteral("chkAddTop")), Qt::LeftButton);
    QCOMPARE(w.box(QStringLiteral("txtSample"))->text(), QStringLiteral("photo_007.jpg"));

    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QCOMPARE(w.selectedRows(), QList<int>({1, 2}));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetFile")), Qt::LeftButton);
    QCOMPARE(onDisk(dir.path()), QStringList({QStringLiteral("photo_007.jpg"), QStringLiteral("photo_008.jpg")}));
}

void TestMainWindow::digitsAboveTwenty()
{
    Window w;
    w.chooseJob(JobKind::Numbering);
    w.type(QStringLiteral("cmb桁数"), QStringLiteral("25"));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w.box(QStringLiteral("cmb桁数")), &leave);
    QTRY_COMPARE(w.user.lastPrompt(), QStringLiteral("桁数は 20 以下にして下さい。"));
    QCOMPARE(w.user.messages.last().title, QStringLiteral("桁数オーバー"));

    // Keys reach the combo box itself, which hands them to its line edit:
    // the rule must hold there as well.
    auto *step = w.window.control<QComboBox>(QStringLiteral("cmb連番増分"));
    step->lineEdit()->clear();
    step->setFocus();
    QTest::keyClicks(step, QStringLiteral("2x5"));
    QCOMPARE(step->currentText(), QStringLiteral("25"));

    // Text the input dialog writes into the separator box reaches the inputs.
    w.box(QStringLiteral("txtSeparator"))->setText(QStringLiteral("#"));
    QCOMPARE(w.controller.inputs().separator, QStringLiteral("#"));
}

void TestMainWindow::timeStampJob()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    Window w;
    w.chooseJob(JobKind::ModifiedDate);
    QCOMPARE(w.get<QLabel>(QStringLiteral("lblTimeStamp"))->text(), QStringLiteral("基準にする更新日時を入力"));
    w.window.loadFolder(dir.path());
    w.clickRow(2);
    const QDateTime stamp = QFileInfo(dir.filePath(w.column(1).at(1))).lastModified();
    QCOMPARE(w.get<QDateEdit>(QStringLiteral("DTP(0)"))->date(), stamp.date());

    const QDateTime base(QDate(2020, 5, 17), QTime(8, 30, 0));
    w.get<QDateEdit>(QStringLiteral("DTP(0)"))->setDate(base.date());
    w.get<QTimeEdit>(QStringLiteral("DTP(1)"))->setTime(base.time());
    w.type(QStringLiteral("cmb増分"), QStringLiteral("10"));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QTest::mouseClick(w.button(QStringLiteral("cmdSetFile")), Qt::LeftButton);
    const QStringList names = w.column(1);
    QCOMPARE(QFileInfo(dir.filePath(names.at(0))).lastModified(), base);
    QCOMPARE(QFileInfo(dir.filePath(names.at(1))).lastModified(), base.addSecs(600));
}

void TestMainWindow::mp3Job()
{
    QTemporaryDir dir;
    for (const QString &name : {QStringLiteral("01 Intro.mp3"), QStringLiteral("02 Outro.mp3")})
        QVERIFY(Id3::write(dir.filePath(name), Id3::audio(2000) + Id3::v1("old")));
    Window w;
    w.chooseJob(JobKind::Mp3TagEdit);
    w.window.loadFolder(dir.path());
    QCOMPARE(w.window.mp3Model()->rowCount(), 2);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("old"), QStringLiteral("old")}));

    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("^(\\d+) (.+)\\.mp3$"));
    QLineEdit *title = w.window.fieldStrip()->field(1);
    title->clear();
    QTest::keyClicks(title, QStringLiteral("$2"));
    QCOMPARE(w.controller.tagJob().txtField[1], QStringLiteral("$2"));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QStringList titles = w.column(1);
    titles.sort();
    QCOMPARE(titles, QStringList({QStringLiteral("Intro"), QStringLiteral("Outro")}));
    QCOMPARE(w.selectedRows(), QList<int>({1, 2}));
    QCOMPARE(w.states(), QStringLiteral("111"));

    // Restore reads the tags back from the files.
    QTest::mouseClick(w.button(QStringLiteral("cmd元に戻す")), Qt::LeftButton);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("old"), QStringLiteral("old")}));
    QCOMPARE(w.states(), QStringLiteral("100"));

    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QTest::mouseClick(w.button(QStringLiteral("cmdSetFile")), Qt::LeftButton);
    QVERIFY(Id3::read(dir.filePath(QStringLiteral("01 Intro.mp3"))).right(128).startsWith("TAGIntro"));
    QVERIFY(Id3::read(dir.filePath(QStringLiteral("02 Outro.mp3"))).right(128).startsWith("TAGOutro"));
    QCOMPARE(w.states(), QStringLiteral("000"));
}

void TestMainWindow::folderJob()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("x1"));
    QDir(dir.path()).mkdir(QStringLiteral("x2"));
    makeFiles(dir.path(), {QStringLiteral("x3.txt")});
    Window w;
    w.chooseJob(JobKind::FolderRename);
    w.window.loadFolder(dir.path());
    QCOMPARE(w.window.listModel()->rowCount(), 2);
    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("x"));
    w.type(QStringLiteral("cmb置換(1)"), QStringLiteral("y"));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QCOMPARE(w.selectedRows(), QList<int>({1, 2}));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetFile")), Qt::LeftButton);
    const auto folders = [&dir] { return QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); };
    QCOMPARE(folders(), QStringList({QStringLiteral("y1"), QStringLiteral("y2")}));
    w.window.action(QStringLiteral("mnuRestoreFileName"))->trigger();
    QCOMPARE(folders(), QStringList({QStringLiteral("x1"), QStringLiteral("x2")}));
    QCOMPARE(onDisk(dir.path()), QStringList({QStringLiteral("x3.txt")}));
}

void TestMainWindow::oneStepMode()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a1.txt")});
    Window w;
    w.window.action(QStringLiteral("mnuNoTry"))->trigger();
    QVERIFY(w.controller.options().noTry);
    QCOMPARE(w.button(QStringLiteral("cmdSetInf"))->text(), QStringLiteral("実行"));
    QCOMPARE(w.window.action(QStringLiteral("mnuTry"))->text(), QStringLiteral("実行"));
    QVERIFY(!w.button(QStringLiteral("cmdSetFile"))->isVisibleTo(&w.window));
    w.window.loadFolder(dir.path());
    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("a"));
    w.type(QStringLiteral("cmb置換(1)"), QStringLiteral("z"));
    QTest::mouseClick(w.button(QStringLiteral("cmdSetInf")), Qt::LeftButton);
    QCOMPARE(onDisk(dir.path()), QStringList({QStringLiteral("z1.txt")}));
    QVERIFY(!w.user.prompts().join(u'\n').contains(QStringLiteral("試行完了！")));
}

void TestMainWindow::jobSwitches()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("song.MP3"), QStringLiteral("memo.txt")});
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    Window w;
    w.window.loadFolder(dir.path());
    QCOMPARE(w.window.listModel()->rowCount(), 2);

    w.chooseJob(JobKind::Mp3TagEdit);
    QVERIFY(w.window.listVMp3()->isVisibleTo(&w.window));
    QVERIFY(!w.window.listV()->isVisibleTo(&w.window));
    QCOMPARE(w.column(0), QStringList({QStringLiteral("song.MP3")}));
    QVERIFY(w.window.fieldStrip()->isVisibleTo(&w.window));
    QCOMPARE(w.window.fieldStrip()->field(1)->text(), QStringLiteral("<Title>"));
    QCOMPARE(w.states().mid(1), QStringLiteral("00"));

    w.chooseJob(JobKind::FileNameReplace);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("song.MP3")}));

    w.chooseJob(JobKind::FolderRename);
    QCOMPARE(w.window.listModel()->rowCount(), 0);
    QCOMPARE(w.window.listModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("変更後のフォルダ名"));
    w.window.loadFolder(dir.path());
    QCOMPARE(w.column(1), QStringList({QStringLiteral("sub")}));
    w.chooseJob(JobKind::Numbering);
    QCOMPARE(w.window.listModel()->rowCount(), 0);
    QCOMPARE(w.states(), QStringLiteral("000"));
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
    w.controller.mp3ColumnWidths = widths;
    w.controller.RefreshJobInputs();
    QCOMPARE(list->columnWidth(1), PixelsFromTwips(3000, w.window.logicalDpiX()));
    QCOMPARE(list->columnWidth(2), artist);
    QCOMPARE(strip->field(1)->width(), list->columnWidth(1));
}

void TestMainWindow::sortByHeaderTwice()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a10.txt"), QStringLiteral("b.txt"), QStringLiteral("a9.txt")});
    Window w;
    w.window.loadFolder(dir.path());
    w.clickHeader(1);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("a9.txt"), QStringLiteral("a10.txt"), QStringLiteral("b.txt")}));
    QHeaderView *header = w.window.listV()->horizontalHeader();
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    w.clickHeader(1);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("b.txt"), QStringLiteral("a10.txt"), QStringLiteral("a9.txt")}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    w.clickHeader(4);
    QCOMPARE(header->sortIndicatorSection(), 4);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

void TestMainWindow::moveAndDrop()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    QTemporaryDir more;
    makeFiles(more.path(), {QStringLiteral("d.txt")});
    Window w;
    w.window.loadFolder(dir.path());
    w.clickHeader(1);
    w.clickRow(3);
    QCOMPARE(w.controller.rows().selectedCount(), 1);
    QTest::mouseClick(w.button(QStringLiteral("cmdUp")), Qt::LeftButton);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("a.txt"), QStringLiteral("c.txt"), QStringLiteral("b.txt")}));
    QCOMPARE(w.selectedRows(), QList<int>({2}));
    QVERIFY(!w.window.listV()->horizontalHeader()->isSortIndicatorShown());

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
    QCOMPARE(w.column(1), QStringList({QStringLiteral("a.txt"), QStringLiteral("d.txt"), QStringLiteral("c.txt"),
                                       QStringLiteral("b.txt")}));
    QCOMPARE(w.selectedRows(), QList<int>({2}));
    // The same folder again adds nothing.
    drop();
    QCOMPARE(w.window.listModel()->rowCount(), 4);

    // Rows dragged inside the list land in front of the row under the pointer.
    w.clickRow(1);
    w.clickRow(2, Qt::ControlModifier);
    Q_EMIT list->rowMoveStarted();
    w.window.dropRows(4);
    QCOMPARE(w.column(1), QStringList({QStringLiteral("c.txt"), QStringLiteral("a.txt"), QStringLiteral("d.txt"),
                                       QStringLiteral("b.txt")}));
    QCOMPARE(w.selectedRows(), QList<int>({2, 3}));
}

void TestMainWindow::deleteKeyEmptiesTheList()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    Window w;
    w.window.loadFolder(dir.path());
    w.clickRow(1);
    QTest::keyClick(w.window.listV(), Qt::Key_Delete);
    QCOMPARE(w.window.listModel()->rowCount(), 1);
    QTest::mouseClick(w.button(QStringLiteral("cmdAllSelect")), Qt::LeftButton);
    QCOMPARE(w.selectedRows(), QList<int>({1}));
    QTest::keyClick(w.window.listV(), Qt::Key_Delete);
    QCOMPARE(w.window.listModel()->rowCount(), 0);
    QCOMPARE(w.states(), QStringLiteral("000"));
    QVERIFY(w.get<QLabel>(QStringLiteral("lblCnt"))->text().isEmpty());
    QVERIFY(!w.button(QStringLiteral("cmdAllSelect"))->isEnabled());
}

void TestMainWindow::historyDropDown()
{
    Window w;
    w.controller.searchHistory().setExecuteHistoryText(QStringLiteral("beta\tAlpha\tgamma"));
    auto *search = w.get<HistoryCombo>(QStringLiteral("cmb置換(0)"));
    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("typed"));
    const auto items = [search] {
        QStringList texts;
        for (int i = 0; i < search->count(); ++i)
            texts << search->itemText(i);
        return texts;
    };
    search->showPopup();
    QCOMPARE(items(), QStringList({QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("gamma")}));
    QCOMPARE(search->currentText(), QStringLiteral("typed"));
    search->view()->setCurrentIndex(search->model()->index(1, 0));
    QTest::keyClick(search->view(), Qt::Key_Delete);
    QCOMPARE(w.controller.searchHistory().executeHistory(), QStringList({QStringLiteral("beta"), QStringLiteral("gamma")}));
    search->hidePopup();
    w.window.action(QStringLiteral("mnuRegOrder"))->trigger();
    w.controller.searchHistory().setExecuteHistoryText(QStringLiteral("beta\tAlpha\tgamma"));
    search->showPopup();
    QCOMPARE(items(), QStringList({QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));
    search->hidePopup();
}

void TestMainWindow::menuBarHidden()
{
    Window w;
    QAction *key = w.window.action(QStringLiteral("bt_dispmenu"));
    key->trigger(); // hidden at start: shows it
    QVERIFY(w.window.menuBar()->isVisible());
    QVERIFY(w.user.messages.isEmpty());
    key->trigger();
    QVERIFY(!w.window.menuBar()->isVisible());
    QVERIFY(key->isChecked());
    QCOMPARE(w.user.lastPrompt(), QStringLiteral("メニューを表示するには、ツールバーの左端ボタンをクリックして下さい。"));
    QCOMPARE(w.user.messages.last().title, QStringLiteral("メニュー再表示方法"));

    // Ctrl+M anywhere in the window toggles it as well.
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(w.window.listV(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(w.window.menuBar()->isVisible());
    QVERIFY(!key->isChecked());

    w.window.action(QStringLiteral("bt_disptop"))->trigger();
    QVERIFY(w.window.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w.window.action(QStringLiteral("mnuDispTop"))->isChecked());

    w.window.action(QStringLiteral("mnuTransparent"))->trigger();
    QCOMPARE(qRound(w.window.windowOpacity() * 255), 150);
    w.window.action(QStringLiteral("mnuTransparent"))->trigger();
    QCOMPARE(w.window.windowOpacity(), 1.0);
}

void TestMainWindow::saveCommandFile()
{
    QTemporaryDir dir;
    Window w;
    const QString path = dir.filePath(QStringLiteral("job.dat"));
    QCOMPARE(w.controller.CommandFileSave(path), QString());
    QVERIFY(w.window.windowTitle().contains(QStringLiteral(" < job.dat > ")));
    w.type(QStringLiteral("cmb置換(0)"), QStringLiteral("(\\d+)"));
    w.window.action(QStringLiteral("bt_save"))->trigger();
    QCOMPARE(w.user.statusTexts.last(), QStringLiteral("上書き保存しました！\r\n「job.dat」"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Search=(\\d+)\r\n"));
}

void TestMainWindow::settingsPersist()
{
    {
        Window w;
        w.window.listV()->setColumnWidth(2, 123);
        w.window.action(QStringLiteral("mnuIgnoreCase"))->trigger();
        w.window.action(QStringLiteral("bt_dispmenu"))->trigger();
        w.chooseJob(JobKind::CreatedDate);
        w.window.close();
    }
    Settings saved;
    QCOMPARE(ConfLoad(ConfPath(), &saved, *std::make_unique<ScriptedUserChannel>()), QString());
    QVERIFY(saved.ignoreCase);
    QVERIFY(saved.menuBarShown);
    QCOMPARE(saved.jobPosition, Jobs::position(JobKind::CreatedDate));
    Window again;
    again.window.applySettings(saved);
    QCOMPARE(again.window.listV()->columnWidth(2), 123);
    QVERIFY(again.window.menuBar()->isVisible());
    QFile::remove(ConfPath());
}

void TestMainWindow::folderHeaders()
{
    RenameRowList rows;
    RenameRowModel model(rows);
    model.setFolderHeaders(true);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("変更後のフォルダ名"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("元のフォルダ名"));
    model.setFolderHeaders(false);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("変更後のファイル名"));
}

void TestMainWindow::statusWindow()
{
    // Two line breaks: three lines of 500 twips below the label, plus 50.
    QCOMPARE(frmSplash::heightTwips(120, QStringLiteral("a\r\nb\r\nc")), 120 + 1500 + 50);
    QCOMPARE(frmSplash::heightTwips(120, QStringLiteral("one line")), 120 + 500 + 50);

    QtUserChannel user;
    user.showStatus(QStringLiteral("上書き保存しました！\r\nx.dat"), 200, false);
    QVERIFY(user.statusOpen());
    QCOMPARE(user.statusText(), QStringLiteral("上書き保存しました！\nx.dat"));
    QTRY_VERIFY_WITH_TIMEOUT(!user.statusOpen(), 3000);

    user.showStatus(QStringLiteral("ファイル処理中"), 0, false);
    QVERIFY(user.statusOpen());
    user.showStatus(QString(), 0, false);
    QVERIFY(!user.statusOpen());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
