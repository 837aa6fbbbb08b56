#include "platform/linuxfilesystem.h"
#include "platform/messagerequest.h"
#include "scripteduserchannel.h"
#include "persist/commandfilefolder.h"
#include "ui/frmlist.h"
#include "ui/shellopen.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Writes the command files and gives the folder they are in.
QString writeCommandFiles(const QTemporaryDir &folder, const QStringList &names)
{
    for (const QString &name : names) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write("Com=ファイル名置換\r\n");
    }
    return folder.path();
}

// The list window over a folder of command files of its own.
struct Listing
{
    QTemporaryDir folder;
    LinuxFileSystem files;
    ScriptedUserChannel user;
    frmList list;

    explicit Listing(const QStringList &names = {"job.dat"})
        : list(files, user, writeCommandFiles(folder, names))
    {
    }
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < list.lstList()->count(); ++row)
            names << list.lstList()->item(row)->text();
        return names;
    }
};

} // namespace

// The command-file list window, and the text side of the shell openers.
class TestCommandList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsCommandFiles();
    void deletesInListedFolder();
    void cancelledOrFailedDelete();
    void doubleClickChoosesAndLeavingCloses();
    void chooseWaitsForTheWindow();
    void programOf_data();
    void programOf();
};

void TestCommandList::listsCommandFiles()
{
    Listing l({"b.dat", "写真.dat", "A.DAT", "notes.txt"});
    QVERIFY(QDir(l.folder.path()).mkdir("sub.dat"));
    l.list.refill();
    QCOMPARE(l.list.txtPath()->text(), l.folder.path());
    QVERIFY(CommandFileNames(QString()).isEmpty());
    QCOMPARE(l.listed(), QStringList({"A.DAT", "b.dat", "写真.dat"}));
}

void TestCommandList::deletesInListedFolder()
{
    // The listed folder is not the current folder: the file there goes, the
    // one of the same name in the current folder stays.
    Listing l({"job.dat", "keep.dat"});
    QTemporaryDir elsewhere;
    writeCommandFiles(elsewhere, {"job.dat"});
    const QString current = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    l.list.show();
    l.list.lstList()->setCurrentRow(0);
    QTest::keyClick(l.list.lstList(), Qt::Key_Delete);
    QDir::setCurrent(current);

    QCOMPARE(l.user.lastPrompt(), "job.dat を削除してよろしいですか？");
    QVERIFY(!QFile::exists(l.folder.filePath("job.dat")));
    QVERIFY(QFile::exists(elsewhere.filePath("job.dat")));
    QCOMPARE(l.listed(), QStringList{"keep.dat"});
}

void TestCommandList::cancelledOrFailedDelete()
{
    Listing cancelled;
    cancelled.user.answers << MessageAnswer::Cancel;
    cancelled.list.deleteRow(0);
    QVERIFY(QFile::exists(cancelled.folder.filePath("job.dat")));
    QCOMPARE(cancelled.listed(), QStringList{"job.dat"});

    // The file went behind the list's back: the error is shown, the row goes.
    Listing failed;
    QFile::remove(failed.folder.filePath("job.dat"));
    failed.list.deleteRow(0);
    QCOMPARE(failed.user.messages.size(), 2);
    QVERIFY(failed.user.lastPrompt().startsWith("2 "));
    QVERIFY(failed.listed().isEmpty());
}

void TestCommandList::doubleClickChoosesAndLeavingCloses()
{
    Listing l;
    QSignalSpy chosen(&l.list, &frmList::chosen);
    l.list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&l.list));
    const QRect item = l.list.lstList()->visualItemRect(l.list.lstList()->item(0));
    QTest::mouseClick(l.list.lstList()->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(l.list.lstList()->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toString(), l.folder.filePath("job.dat"));
    QVERIFY(!l.list.isVisible());

    // Another window coming to the front closes the list, choosing nothing.
    l.list.show();
    QApplication::setActiveWindow(&l.list);
    QTRY_VERIFY(l.list.isActiveWindow());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!l.list.isVisible());
    QCOMPARE(chosen.size(), 1);
}

void TestCommandList::chooseWaitsForTheWindow()
{
    Listing l;
    const auto pick = [](int row) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *list = qobject_cast<frmList *>(window); list && list->isVisible())
                row < 0 ? void(list->close()) : list->chooseRow(row);
        }
    };
    QTimer::singleShot(0, this, [pick] { pick(0); });
    QCOMPARE(frmList::choose(l.files, l.user, l.folder.path()), l.folder.filePath("job.dat"));
    QTimer::singleShot(0, this, [pick] { pick(-1); });
    QCOMPARE(frmList::choose(l.files, l.user, l.folder.path()), QString());
}

void TestCommandList::programOf_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<QString>("program");
    QTest::newRow("quoted, kept") << " \"/opt/my app/run\" \"%1\"" << false << "\"/opt/my app/run\"";
    QTest::newRow("quoted, stripped") << "\"/opt/my app/run\" \"%1\"" << true << "/opt/my app/run";
    QTest::newRow("unclosed quote") << "\"/opt/run" << true << "/opt/run";
    QTest::newRow("empty") << "  " << false << "";
}

void TestCommandList::programOf()
{
    QFETCH(QString, command);
    QFETCH(bool, strip);
    QFETCH(QString, program);
    QCOMPARE(ProgramOf(command, strip), program);
}

QTEST_MAIN(TestCommandList)
#include "tst_commandlist.moc"
