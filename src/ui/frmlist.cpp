#include "ui/frmlist.h"

#include "persist/commandfilefolder.h"
#include "platform/filesystem.h"
#include "platform/messagerequest.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "ui/windowplacement.h"

#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

frmList::frmList(FileSystem &files, UserChannel &user, const QString &folder, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_files(files)
    , m_user(user)
    , m_folder(folder)
    , m_txtPath(new QLineEdit(folder, this))
    , m_lstList(new QListWidget(this))
    , m_menu(new QMenu(QStringLiteral("リスト編集"), this))
{
    setObjectName(QStringLiteral("frmList"));
    setWindowTitle(QStringLiteral("コマンドファイルリスト"));
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_txtPath->setReadOnly(true);
    m_lstList->setObjectName(QStringLiteral("lstList"));
    m_lstList->setToolTip(QStringLiteral("ダブルクリックで選択／Ｄｅｌキーで削除"));
    m_lstList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_lstList->installEventFilter(this);
    m_menu->addAction(QStringLiteral("選択"), this, [this] { chooseRow(m_lstList->currentRow()); });
    m_menu->addAction(QStringLiteral("削除"), this, [this] { deleteRow(m_lstList->currentRow()); });
    connect(m_lstList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { chooseRow(m_lstList->row(item)); });
    connect(m_lstList, &QListWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_lstList->itemAt(at))
            m_menu->popup(m_lstList->viewport()->mapToGlobal(at));
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_txtPath);
    layout->addWidget(m_lstList);
    resize(320, 300);
    refill();
}

QString frmList::choose(FileSystem &files, UserChannel &user, const QString &folder, QWidget *parent)
{
    QPointer<frmList> list = new frmList(files, user, folder, parent);
    list->setAttribute(Qt::WA_DeleteOnClose);
    QString path;
    QEventLoop wait;
    connect(list, &frmList::chosen, &wait, [&path](const QString &chosen) { path = chosen; });
    connect(list, &QObject::destroyed, &wait, &QEventLoop::quit);
    MoveToPointer(list);
    list->show();
    list->activateWindow();
    wait.exec();
    return path;
}

void frmList::refill()
{
    m_lstList->clear();
    m_lstList->addItems(CommandFileNames(m_folder));
}

void frmList::chooseRow(int row)
{
    const QListWidgetItem *item = m_lstList->item(row);
    if (!item)
        return;
    Q_EMIT chosen(JoinPath(m_folder, item->text()));
    close();
}

void frmList::deleteRow(int row)
{
    const QListWidgetItem *item = m_lstList->item(row);
    if (!item)
        return;
    // The closing on focus loss waits while the question is open.
    m_asking = true;
    const QString title = QStringLiteral("ファイル削除");
    if (ShowMessage(m_user, item->text() + QStringLiteral(" を削除してよろしいですか？"), MessageStyle::OkCancel, title)
        == MessageAnswer::Ok) {
        const FsStatus status = m_files.remove(JoinPath(m_folder, item->text()));
        if (!status.ok())
            ShowMessage(m_user, status.text(), MessageStyle::OkOnly, title);
    }
    refill();
    m_asking = false;
    activateWindow();
}

bool frmList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstList && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteRow(m_lstList->currentRow());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmList::changeEvent(QEvent *event)
{
    // Another window in front ends the list without a choice; not so the
    // question it asks itself.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible() && !m_asking)
        QTimer::singleShot(0, this, [this] {
            if (!isActiveWindow() && !m_asking)
                close();
        });
    QWidget::changeEvent(event);
}
