#include "ui/commandfiledialogs.h"

#include "engine/control/jobcontroller.h"
#include "persist/commandfilefolder.h"
#include "persist/settings.h"
#include "platform/crlf.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "ui/frmlist.h"
#include "ui/frmmain.h"

#include <QFileDialog>
#include <QFileInfo>

CommandFileDialogs::CommandFileDialogs(frmMain &window, JobController &controller, UserChannel &user,
                                       Settings &settings)
    : m_window(window)
    , m_controller(controller)
    , m_user(user)
    , m_settings(settings)
{
}

QString CommandFileDialogs::folder() const
{
    return CommandFileFolder(m_settings.commandFileFolder);
}

void CommandFileDialogs::newFile()
{
    m_controller.NewCommandFile();
    m_window.forgetSortOrder();
}

void CommandFileDialogs::open()
{
    const QString path = QFileDialog::getOpenFileName(
        &m_window, QStringLiteral("コマンドファイルを開く"), folder(),
        QStringLiteral("コマンドファイル(*.Dat) (*.dat *.Dat *.DAT);;すべてのファイル(*.*) (*)"));
    if (!path.isEmpty())
        m_controller.CommandFileLoad(path);
}

void CommandFileDialogs::save()
{
    const QString path = m_controller.commandFilePath();
    if (path.isEmpty()) {
        saveAs();
        return;
    }
    // A failed save has shown its reason.
    if (!m_controller.CommandFileSave(path))
        m_user.showStatus(u"上書き保存しました！" + CrLf + u"「" + FileNameOf(path) + u"」", 2000, false);
}

void CommandFileDialogs::saveAs()
{
    const QString path = QFileDialog::getSaveFileName(&m_window, QStringLiteral("名前を付けて保存"), folder(),
                                                      QStringLiteral("データファイル(*.dat) (*.dat);;すべてのファイル(*.*) (*)"));
    if (path.isEmpty())
        return;
    if (m_controller.CommandFileSave(path))
        return;
    m_settings.commandFileFolder = FolderOf(path);
}

void CommandFileDialogs::list()
{
    QString chosen = folder();
    if (CommandFileNames(chosen).isEmpty()) {
        chosen = QFileDialog::getExistingDirectory(&m_window, QStringLiteral("コマンドファイルの場所"), chosen);
        if (chosen.isEmpty())
            return;
    }
    const QString path = frmList::choose(m_controller.files(), m_user, chosen, &m_window);
    if (!path.isEmpty() && QFileInfo::exists(path))
        m_controller.CommandFileLoad(path);
    m_window.refresh();
}
