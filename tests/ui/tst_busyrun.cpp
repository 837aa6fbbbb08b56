#include "engine/control/jobcontroller.h"
#include "persist/conffile.h"
#include "persist/settingsfile.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "ui/frmmain.h"
#include "ui/rowlistview.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// What a user might click, press or type while a Try or an Execute lets
// window events through: none of it may reach the rows, the job or the plan.
class TestBusyRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void commandsDuringARunChangeNothing();
    void closingDuringARunWaitsForASafePoint();
    void aStoppedTryKeepsNoPlan();

private:
    void meddle();
    QStringList namesOnDisk() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedUserChannel> m_user;
    std::unique_ptr<LinuxFileSystem> m_files;
    std::unique_ptr<JobController> m_controller;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<frmMain> m_window;
    int m_meddled = 0;
    static constexpr int fileCount = 400;
};

void TestBusyRun::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    for (int i = 0; i < fileCount; ++i) {
        QFile file(m_dir->filePath(QStringLiteral("f%1.txt").arg(i)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(i));
    }
    m_user = std::make_unique<ScriptedUserChannel>();
    m_files = std::make_unique<LinuxFileSystem>();
    m_controller = std::make_unique<JobController>(*m_user, *m_files);
    m_settings = std::make_unique<SettingsFile>(ConfPath());
    m_window = std::make_unique<frmMain>(*m_controller, *m_user, *m_settings, false);
    m_controller->applySettings(Settings::defaults(QSize(1280, 1024)));
    m_window->show();
    m_controller->LoadFolder(m_dir->path());
    m_window->control<QComboBox>(QStringLiteral("cmb置換(0)"))->setEditText(QStringLiteral("^f"));
    m_window->control<QComboBox>(QStringLiteral("cmb置換(1)"))->setEditText(QStringLiteral("g"));
    m_meddled = 0;
}

void TestBusyRun::cleanup()
{
    m_window.reset();
    m_controller.reset();
}

void TestBusyRun::meddle()
{
    ++m_meddled;
    // The window disables its actions and lists during a run, so what they
    // stand for is called directly: the window's slots, then the controller.
    auto *job = m_window->control<QComboBox>(QStringLiteral("cmbTarget"));
    Q_EMIT job->activated(Jobs::position(JobKind::Numbering));
    Q_EMIT m_window->listV()->deletePressed();
    m_window->control<QComboBox>(QStringLiteral("cmb置換(0)"))->setEditText(QStringLiteral("zzz"));
    m_controller->DeleteAllRows();
    m_controller->DeleteSelectedRows();
    m_controller->SelectJob(JobKind::FolderRename);
    m_controller->DropPaths({m_dir->path()}, 0);
}

QStringList TestBusyRun::namesOnDisk() const
{
    return QDir(m_dir->path()).entryList(QDir::Files, QDir::Name);
}

void TestBusyRun::commandsDuringARunChangeNothing()
{
    m_user->onEvents = [this] { meddle(); };
    m_window->control<QPushButton>(QStringLiteral("cmdSetInf"))->click();
    QVERIFY(m_meddled > 0);
    QCOMPARE(m_controller->job(), JobKind::FileNameReplace);
    QCOMPARE(m_controller->rows().count(), fileCount);
    for (int i = 1; i <= fileCount; ++i) {
        const RenameRow &row = m_controller->rows().row(i);
        QCOMPARE(row[RenameField::NewName], u'g' + row[RenameField::CurrentName].mid(1));
    }
    // The box was typed into during the run; the plan kept what Try started with.
    m_window->control<QComboBox>(QStringLiteral("cmb置換(0)"))->setEditText(QStringLiteral("^f"));

    m_meddled = 0;
    m_window->control<QPushButton>(QStringLiteral("cmdSetFile"))->click();
    QVERIFY(m_meddled > 0);
    QCOMPARE(m_controller->rows().count(), fileCount);
    const QStringList names = namesOnDisk();
    QCOMPARE(names.size(), fileCount);
    for (const QString &name : names)
        QVERIFY2(name.startsWith(u'g'), qPrintable(name));
    QVERIFY(!m_controller->busy());
    QVERIFY(m_window->findChild<QAction *>(QStringLiteral("mnuClearAll"))->isEnabled());
}

void TestBusyRun::closingDuringARunWaitsForASafePoint()
{
    m_window->control<QPushButton>(QStringLiteral("cmdSetInf"))->click();
    m_user->onEvents = [this] { m_window->close(); };
    m_window->control<QPushButton>(QStringLiteral("cmdSetFile"))->click();
    // The close asked for a stop in the first pass: every file is back.
    const QStringList names = namesOnDisk();
    QCOMPARE(names.size(), fileCount);
    for (const QString &name : names)
        QVERIFY2(name.startsWith(u'f'), qPrintable(name));
    QTRY_VERIFY(!m_window->isVisible());
}

void TestBusyRun::aStoppedTryKeepsNoPlan()
{
    m_user->onEvents = [this] { m_window->findChild<QPushButton *>(QStringLiteral("cmdStop"))->click(); };
    m_window->control<QPushButton>(QStringLiteral("cmdSetInf"))->click();
    for (int i = 1; i <= fileCount; ++i) {
        const RenameRow &row = m_controller->rows().row(i);
        QCOMPARE(row[RenameField::NewName], row[RenameField::CurrentName]);
    }
    QVERIFY(!m_controller->states().executeEnabled());
}

QTEST_MAIN(TestBusyRun)
#include "tst_busyrun.moc"
