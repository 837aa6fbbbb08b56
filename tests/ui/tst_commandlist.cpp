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

// The command-file list window, and the text side of the shell openers.
class TestCommandList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsCommandFiles();
    void deletesInListedFolder();
    void cancelledDeleteKeepsFile();
    void failedDeleteIsReported();
    void doubleClickChooses();
    void closesWhenAnotherWindowComesToFront();
    void chooseWaitsForTheWindow();
    void programOf_data();
    void programOf();

private:
    void touch(const QString &path);
    QStringList listed(const frmList &list) const;
};

void TestCommandList::touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Com=ファイル名置換\r\n");
}

QStringList TestCommandList::listed(const frmList &list) const
{
    QStringList names;
    for (int row = 0; row < list.lstList()->count(); ++row)
        names << list.lstList()->item(row)->text();
    return names;
}

void TestCommandList::listsCommandFiles()
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("b.dat")));
    touch(folder.filePath(QStringLiteral("写真.dat")));
    touch(folder.filePath(QStringLiteral("A.DAT")));
    touch(folder.filePath(QStringLiteral("notes.txt")));
    QDir(folder.path()).mkdir(QStringLiteral("sub.dat"));
    LinuxFileSystem files;
    ScriptedUserChannel user;
    frmList list(files, user, folder.path());
    QCOMPARE(list.txtPath()->text(), folder.path());
    QVERIFY(CommandFileNames(QString()).isEmpty());
    QCOMPARE(listed(list), (QStringList{QStringLiteral("A.DAT"), QStringLiteral("b.dat"), QStringLiteral("写真.dat")}));
}

void TestCommandList::deletesInListedFolder()
{
    // The listed folder is not the current folder: the file there goes, the
    // one of the same name in the current folder stays.
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    touch(folder.filePath(QStringLiteral("job.dat")));
    touch(folder.filePath(QStringLiteral("keep.dat")));
    touch(elsewhere.filePath(QStringLiteral("job.dat")));
    const QString current = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    LinuxFileSystem files;
    ScriptedUserChannel user;
    frmList list(files, user, folder.path());
    list.show();
    list.lstList()->setCurrentRow(0);
    QTest::keyClick(list.lstList(), Qt::Key_Delete);
    QDir::setCurrent(current);

    QCOMPARE(user.lastPrompt(), QStringLiteral("job.dat を削除してよろしいですか？"));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("job.dat"))));
    QVERIFY(QFile::exists(elsewhere.filePath(QStringLiteral("job.dat"))));
    QCOMPARE(listed(list), QStringList{QStringLiteral("keep.dat")});
}

void TestCommandList::cancelledDeleteKeepsFile()
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("job.dat")));
    LinuxFileSystem files;
    ScriptedUserChannel user;
    user.answers << MessageAnswer::Cancel;
    frmList list(files, user, folder.path());
    list.deleteRow(0);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("job.dat"))));
    QCOMPARE(listed(list), QStringList{QStringLiteral("job.dat")});
}

void TestCommandList::failedDeleteIsReported()
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("job.dat")));
    LinuxFileSystem files;
    ScriptedUserChannel user;
    frmList list(files, user, folder.path());
    QFile::remove(folder.filePath(QStringLiteral("job.dat")));
    list.deleteRow(0);
    QCOMPARE(user.messages.size(), 2);
    QVERIFY(user.lastPrompt().startsWith(QStringLiteral("2 ")));
    QVERIFY(listed(list).isEmpty());
}

void TestCommandList::doubleClickChooses()
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("job.dat")));
    LinuxFileSystem files;
    ScriptedUserChannel user;
    frmList list(files, user, folder.path());
    QSignalSpy chosen(&list, &frmList::chosen);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QRect item = list.lstList()->visualItemRect(list.lstList()->item(0));
    QTest::mouseClick(list.lstList()->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(list.lstList()->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toString(), folder.filePath(QStringLiteral("job.dat")));
    QVERIFY(!list.isVisible());
}

void TestCommandList::closesWhenAnotherWindowComesToFront()
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("job.dat")));
    LinuxFileSystem files;
    ScriptedUserChannel user;
    frmList list(files, user, folder.path());
    QSignalSpy chosen(&list, &frmList::chosen);
    list.show();
    QApplication::setActiveWindow(&list);
    QTRY_VERIFY(list.isActiveWindow());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!list.isVisible());
    QCOMPARE(chosen.size(), 0);
}

void TestCommandList::chooseWaitsForTheWindow()
{
    QTemporaryDir folder;
    touch(folder.filePath(QStringLiteral("job.dat")));
    LinuxFileSystem files;
    ScriptedUserChannel user;
    const auto pick = [](int row) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *list = qobject_cast<frmList *>(window); list && list->isVisible()) {
                if (row < 0)
                    list->close();
                else
                    list->chooseRow(row);
            }
        }
    };
    QTimer::singleShot(0, this, [pick] { pick(0); });
    QCOMPARE(frmList::choose(files, user, folder.path()), folder.filePath(QStringLiteral("job.dat")));
    QTimer::singleShot(0, this, [pick] { pick(-1); });
    QCOMPARE(frmList::choose(files, user, folder.path()), QString());
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
