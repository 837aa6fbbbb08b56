#include "ui/mainmenus.h"

#include "engine/control/jobcontroller.h"
#include "ui/commandfiledialogs.h"
#include "ui/frmmain.h"
#include "ui/shellopen.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

MainMenus::MainMenus(frmMain &window, CommandFileDialogs &commandFiles, JobController &controller)
    : QObject(&window)
    , m_window(window)
    , m_controller(controller)
{
    buildMenus(commandFiles);
    buildToolBar();
}

QAction *MainMenus::add(QMenu *menu, const QString &name, const QString &text, std::function<void()> slot)
{
    auto *action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, std::move(slot));
    m_actions.insert(name, action);
    return action;
}

QAction *MainMenus::addOption(QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> slot)
{
    auto *action = menu->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, std::move(slot));
    m_actions.insert(name, action);
    return action;
}

void MainMenus::buildMenus(CommandFileDialogs &commandFiles)
{
    frmMain &w = m_window;
    QMenu *file = w.menuBar()->addMenu(QStringLiteral("ファイル"));
    add(file, QStringLiteral("mnuFileAll"), QStringLiteral("ファイル名一括読込"), [&w] { w.chooseFolder(); });
    add(file, QStringLiteral("mnuFilesOpen"), QStringLiteral("ファイル名読込"), [&w] { w.chooseFiles(); });
    file->addSeparator();
    CommandFileDialogs *c = &commandFiles;
    add(file, QStringLiteral("mnuNew"), QStringLiteral("新規"), [c] { c->newFile(); });
    add(file, QStringLiteral("mnuOpen"), QStringLiteral("コマンドファイルを開く"), [c] { c->open(); });
    add(file, QStringLiteral("mnuSave"), QStringLiteral("上書き保存"), [c] { c->save(); });
    add(file, QStringLiteral("mnuSaveAs"), QStringLiteral("名前を付けて保存"), [c] { c->saveAs(); });
    add(file, QStringLiteral("mnuComList"), QStringLiteral("コマンドファイルリスト"), [c] { c->list(); });
    file->addSeparator();
    add(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる"), [&w] { w.close(); });

    QMenu *view = w.menuBar()->addMenu(QStringLiteral("表示"));
    addOption(view, QStringLiteral("mnuDispMenu"), QStringLiteral("メニューを表示しない"),
              [&w](bool hidden) { w.setMenuBarShown(!hidden, true); });
    addOption(view, QStringLiteral("mnuDispTop"), QStringLiteral("最前面表示"), [&w](bool on) { w.setStayOnTop(on); });
    addOption(view, QStringLiteral("mnuTransparent"), QStringLiteral("半透明"),
              [&w](bool on) { w.setSemiTransparent(on); });
    // The live preview follows this entry's check mark itself.
    addOption(view, QStringLiteral("mnuLivePreview"), QStringLiteral("入力中に結果をプレビュー"), [](bool) {});
    view->addSeparator();
    add(view, QStringLiteral("mnuListFont"), QStringLiteral("リストのフォント"), [&w] { w.chooseListFont(); });

    m_edit = w.menuBar()->addMenu(QStringLiteral("編集"));
    m_edit->setObjectName(QStringLiteral("mnuEdit"));
    add(m_edit, QStringLiteral("mnuTry"), QStringLiteral("試行"), [&w] { w.tryCommand(); });
    add(m_edit, QStringLiteral("mnuRestore"), QStringLiteral("元に戻す"), [&w] { w.restoreCommand(); });
    add(m_edit, QStringLiteral("mnuRestoreFileName"), QStringLiteral("元のファイル名に戻す"), [&w] { w.restoreFileNames(); });
    m_edit->addSeparator();
    add(m_edit, QStringLiteral("mnuSelectAll"), QStringLiteral("全て選択"), [&w] { w.selectAll(); });
    add(m_edit, QStringLiteral("mnuUp"), QStringLiteral("上に移動"), [&w] { w.moveSelected(-1); });
    add(m_edit, QStringLiteral("mnuDown"), QStringLiteral("下に移動"), [&w] { w.moveSelected(1); });
    add(m_edit, QStringLiteral("mnuClear"), QStringLiteral("消去"), [&w] { w.deleteSelected(); });
    add(m_edit, QStringLiteral("mnuClearAll"), QStringLiteral("全て消去"), [&w] { w.deleteAll(); });
    add(m_edit, QStringLiteral("mnuCopy"), QStringLiteral("コピー"), [&w] { w.copyList(); });
    m_edit->addSeparator();
    add(m_edit, QStringLiteral("mnuDirect"), QStringLiteral("直接データ指定"), [&w] { w.editDirectData(); });

    QMenu *options = w.menuBar()->addMenu(QStringLiteral("オプション"));
    const auto option = [this](bool RunOptions::*flag) {
        return [this, flag](bool on) { m_controller.SetOption(flag, on); };
    };
    addOption(options, QStringLiteral("mnuOnlyTopFolder"), QStringLiteral("再帰ファイル検索をしない"),
              option(&RunOptions::onlyTopFolder));
    addOption(options, QStringLiteral("mnuIgnoreCase"), QStringLiteral("大/小文字を区別しない"),
              option(&RunOptions::ignoreCase));
    addOption(options, QStringLiteral("mnuRegOrder"), QStringLiteral("検索/置換履歴を昇順で表示"),
              option(&RunOptions::regOrder));
    addOption(options, QStringLiteral("mnuNoTry"), QStringLiteral("試行せず直接実行"),
              [this](bool on) { m_controller.SetNoTryMode(on); });
    addOption(options, QStringLiteral("mnuErrorContinue"), QStringLiteral("エラー時も続行"),
              option(&RunOptions::errorContinue));

    QMenu *help = w.menuBar()->addMenu(QStringLiteral("ヘルプ"));
    add(help, QStringLiteral("mnuHelpHelp"), QStringLiteral("ヘルプ"), [&w] { w.openWebPage(OpenHomePage); });
    add(help, QStringLiteral("mnuReg"), QStringLiteral("正規表現の使用例"), [&w] { w.openWebPage(OpenRegExpPage); });
    help->addSeparator();
    addOption(help, QStringLiteral("mnuNoConfirm"), QStringLiteral("確認メッセージを表示しない"),
              option(&RunOptions::noConfirm));
    help->addSeparator();
    add(help, QStringLiteral("mnuHelpVersion"), QStringLiteral("バージョン"), [&w] { w.openAbout(); });
}

void MainMenus::buildToolBar()
{
    m_toolBar = m_window.addToolBar(QStringLiteral("ツールバー"));
    m_toolBar->setObjectName(QStringLiteral("Toolbar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(20, 20));
    struct Key
    {
        const char16_t *name;
        const char16_t *twin;
        const char *theme;
        QStyle::StandardPixmap fallback;
    };
    // The left-most button brings a hidden menu bar back, so it comes first.
    static const Key keys[] = {
        {u"bt_dispmenu", u"mnuDispMenu", "open-menu", QStyle::SP_ToolBarVerticalExtensionButton},
        {u"bt_disptop", u"mnuDispTop", "go-top", QStyle::SP_TitleBarShadeButton},
        {nullptr, nullptr, nullptr, {}},
        {u"bt_load", u"mnuFileAll", "folder-open", QStyle::SP_DirOpenIcon},
        {u"bt_files", u"mnuFilesOpen", "document-open", QStyle::SP_FileIcon},
        {nullptr, nullptr, nullptr, {}},
        {u"bt_new", u"mnuNew", "document-new", QStyle::SP_FileDialogNewFolder},
        {u"bt_com_list", u"mnuComList", "view-list-details", QStyle::SP_FileDialogDetailedView},
        {u"bt_open", u"mnuOpen", "document-open-folder", QStyle::SP_DialogOpenButton},
        {u"bt_save", u"mnuSave", "document-save", QStyle::SP_DialogSaveButton},
        {u"bt_all_save", u"mnuSaveAs", "document-save-as", QStyle::SP_DriveFDIcon},
        {nullptr, nullptr, nullptr, {}},
        {u"bt_up", u"mnuUp", "go-up", QStyle::SP_ArrowUp},
        {u"bt_down", u"mnuDown", "go-down", QStyle::SP_ArrowDown},
        {u"bt_clear", u"mnuClear", "edit-delete", QStyle::SP_DialogDiscardButton},
        {u"bt_clearall", u"mnuClearAll", "edit-clear", QStyle::SP_DialogResetButton},
        {nullptr, nullptr, nullptr, {}},
        {u"bt_help", u"mnuHelpHelp", "help-contents", QStyle::SP_DialogHelpButton},
        {u"bt_version", u"mnuHelpVersion", "help-about", QStyle::SP_MessageBoxInformation},
        {u"bt_close", u"mnuClose", "application-exit", QStyle::SP_DialogCloseButton},
    };
    for (const Key &key : keys) {
        if (!key.name) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction *twin = m_actions.value(QString::fromUtf16(key.twin));
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(key.theme), m_window.style()->standardIcon(key.fallback));
        QAction *button = m_toolBar->addAction(icon, twin->text());
        button->setObjectName(QString::fromUtf16(key.name));
        button->setCheckable(twin->isCheckable());
        if (twin->isCheckable()) {
            connect(button, &QAction::triggered, twin, [twin](bool on) {
                twin->setChecked(on);
                Q_EMIT twin->triggered(on);
            });
        } else {
            connect(button, &QAction::triggered, twin, &QAction::trigger);
        }
        m_actions.insert(button->objectName(), button);
        m_buttons.insert(twin->objectName(), button);
    }
}

void MainMenus::setChecked(const QString &menuName, bool on)
{
    m_actions.value(menuName)->setChecked(on);
    if (QAction *button = m_buttons.value(menuName))
        button->setChecked(on);
}

void MainMenus::setEnabled(bool on)
{
    for (QAction *action : std::as_const(m_actions))
        action->setEnabled(on);
    m_toolBar->setEnabled(on);
}

void MainMenus::refreshOptions(const RunOptions &o)
{
    setChecked(QStringLiteral("mnuOnlyTopFolder"), o.onlyTopFolder);
    setChecked(QStringLiteral("mnuIgnoreCase"), o.ignoreCase);
    setChecked(QStringLiteral("mnuRegOrder"), o.regOrder);
    setChecked(QStringLiteral("mnuNoTry"), o.noTry);
    setChecked(QStringLiteral("mnuErrorContinue"), o.errorContinue);
    setChecked(QStringLiteral("mnuNoConfirm"), o.noConfirm);
}
