#include "ui/frmmain.h"

#include "engine/control/jobcontroller.h"
#include "engine/load/fileload.h"
#include "engine/load/listdrop.h"
#include "persist/settingsfile.h"
#include "platform/crlf.h"
#include "platform/showmessage.h"
#include "ui/appicon.h"
#include "ui/commandfiledialogs.h"
#include "ui/frmabout.h"
#include "ui/frmdata.h"
#include "ui/frmsearch.h"
#include "ui/frmtemplate.h"
#include "ui/frmvar.h"
#include "ui/historycombo.h"
#include "ui/listcolumns.h"
#include "ui/livepreview.h"
#include "ui/mainmenus.h"
#include "ui/mp3fieldstrip.h"
#include "ui/mp3templategroup.h"
#include "ui/numberinggroup.h"
#include "ui/qtuserchannel.h"
#include "ui/renamerowdelegate.h"
#include "ui/renamerowmodel.h"
#include "ui/replacegroup.h"
#include "ui/rowlistview.h"
#include "ui/shellopen.h"
#include "ui/tagrowmodel.h"
#include "ui/timestampgroup.h"
#include "ui/windowsettings.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

frmMain::frmMain(JobController &controller, UserChannel &user, SettingsFile &settings, bool debug, QWidget *parent)
    : QMainWindow(parent)
    , m_controller(controller)
    , m_user(user)
    , m_settingsFile(settings)
    , m_settings(settings.settings())
    , m_debug(debug)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(AppIcon());

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);

    auto *top = new QHBoxLayout;
    m_cmbTarget = new QComboBox(central);
    m_cmbTarget->setObjectName(QStringLiteral("cmbTarget"));
    m_cmbTarget->addItems(Jobs::labels());
    m_cmbTarget->setCurrentIndex(Jobs::position(m_controller.job()));
    top->addWidget(m_cmbTarget);
    top->addWidget(buildCommands(central), 1);
    layout->addLayout(top);

    m_numbering = new NumberingGroup(m_controller, m_user, central);
    m_replace = new ReplaceGroup(m_controller, m_user, central);
    m_timeStamp = new TimeStampGroup(m_controller, central);
    layout->addWidget(m_numbering);
    layout->addWidget(m_replace);
    layout->addWidget(m_timeStamp);
    layout->addWidget(buildLists(central), 1);

    layout->addWidget(buildProgress(central));
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    setCentralWidget(central);

    m_commandFiles = std::make_unique<CommandFileDialogs>(*this, m_controller, m_user, m_settings);
    m_menus = new MainMenus(*this, *m_commandFiles, m_controller);
    bindParts();

    auto *ctrlM = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    ctrlM->setContext(Qt::WindowShortcut);
    connect(ctrlM, &QShortcut::activated, this, &frmMain::toggleMenuBar);

    connect(&m_controller, &JobController::changed, this, &frmMain::refresh);
    connect(&m_controller, &JobController::busyChanged, this, &frmMain::setBusy);
    connect(&m_controller, &JobController::countTextChanged, m_lblCnt, &QLabel::setText);
    connect(&m_controller, &JobController::outcomeReported, statusBar(),
            [this](const QString &text) { statusBar()->showMessage(text); });
    m_preview = new LivePreview(m_controller, m_listV, m_model, action(QStringLiteral("mnuLivePreview")),
                                statusBar(), [this] { refreshCommands(); });
    applySettings();
    refresh();
}

frmMain::~frmMain()
{
    if (m_runChannel) {
        m_runChannel->setProgressWidgets(nullptr, nullptr);
        m_runChannel->setStatusBar(nullptr);
    }
}

void frmMain::showRunsIn(QtUserChannel &channel)
{
    m_runChannel = &channel;
    channel.setProgressWidgets(m_frProg, m_prog);
    channel.setStatusBar(statusBar());
}

QAction *frmMain::action(const QString &name) const
{
    return m_menus->action(name);
}

QFrame *frmMain::buildProgress(QWidget *parent)
{
    m_frProg = new QFrame(parent);
    m_frProg->setObjectName(QStringLiteral("frProg"));
    auto *layout = new QHBoxLayout(m_frProg);
    layout->setContentsMargins(0, 0, 0, 0);
    m_prog = new QProgressBar(m_frProg);
    m_prog->setObjectName(QStringLiteral("Prog"));
    layout->addWidget(m_prog);
    m_cmdStop = new QPushButton(QStringLiteral("中止"), m_frProg);
    m_cmdStop->setObjectName(QStringLiteral("cmdStop"));
    m_cmdStop->setToolTip(QStringLiteral("処理を中止します (Esc)"));
    m_cmdStop->hide();
    layout->addWidget(m_cmdStop);
    connect(m_cmdStop, &QPushButton::clicked, this, &frmMain::requestStop);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_controller.busy())
            requestStop();
    });
    m_frProg->hide();
    return m_frProg;
}

QWidget *frmMain::buildCommands(QWidget *parent)
{
    auto *bar = new QWidget(parent);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);

    m_cmdAllSelect = new QPushButton(QStringLiteral("全て選択"), bar);
    m_cmdAllSelect->setObjectName(QStringLiteral("cmdAllSelect"));
    m_cmdAllSelect->setToolTip(QStringLiteral("ファイルを全て選択します"));
    connect(m_cmdAllSelect, &QPushButton::clicked, this, [this] {
        selectAll();
        m_controller.OfferTry();
        refreshCommands();
    });
    auto *up = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), QString(), bar);
    up->setObjectName(QStringLiteral("cmdUp"));
    up->setToolTip(QStringLiteral("選択行を上方に移動"));
    connect(up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    auto *down = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), QString(), bar);
    down->setObjectName(QStringLiteral("cmdDown"));
    down->setToolTip(QStringLiteral("選択行を下方に移動"));
    connect(down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    m_lblCnt = new QLabel(bar);
    m_lblCnt->setObjectName(QStringLiteral("lblCnt"));
    m_lblCnt->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    m_lblCnt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    layout->addWidget(m_cmdAllSelect);
    layout->addWidget(up);
    layout->addWidget(down);
    layout->addWidget(m_lblCnt);
    layout->addStretch(1);

    m_cmdSetInf = new QPushButton(QStringLiteral("試行"), bar);
    m_cmdSetInf->setObjectName(QStringLiteral("cmdSetInf"));
    m_cmdSetInf->setToolTip(QStringLiteral(
        "リスト上の情報のみ変更。実際には、まだ変更されません。右の「実行」で、実際にファイル情報が変更されます。"
        "「元に戻す」で最初の状態に戻ります。"));
    connect(m_cmdSetInf, &QPushButton::clicked, this, &frmMain::tryCommand);
    m_cmdSetFile = new QPushButton(QStringLiteral("実行"), bar);
    m_cmdSetFile->setObjectName(QStringLiteral("cmdSetFile"));
    m_cmdSetFile->setToolTip(QStringLiteral("ファイル情報を実際に変更します。実行後は元に戻せません。"));
    connect(m_cmdSetFile, &QPushButton::clicked, this, &frmMain::executeCommand);
    m_cmdRestore = new QPushButton(QStringLiteral("元に戻す"), bar);
    m_cmdRestore->setObjectName(QStringLiteral("cmd元に戻す"));
    m_cmdRestore->setToolTip(QStringLiteral("ファイルを読み込んだ時の状態に戻します。"));
    connect(m_cmdRestore, &QPushButton::clicked, this, &frmMain::restoreCommand);
    for (QPushButton *button : {m_cmdSetInf, m_cmdSetFile, m_cmdRestore})
        layout->addWidget(button);
    return bar;
}

QWidget *frmMain::buildLists(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_listV = new RowListView(box);
    m_listV->setObjectName(QStringLiteral("ListV"));
    m_model = new RenameRowModel(m_controller.rows(), m_listV);
    m_model->setFactReader([this](int row) { m_controller.ReadRowFacts(row); });
    m_listV->setItemDelegate(new RenameRowDelegate(m_listV));
    const RenameRowList &rows = m_controller.rows();
    m_listV->bindRows(m_model,
                      {[&rows] { return rows.count(); }, [&rows](int i) { return rows.isSelected(i); },
                       [this](int i, bool on) { m_controller.SetRowSelected(i, on); }},
                      true);

    m_listVMp3 = new RowListView(box);
    m_listVMp3->setObjectName(QStringLiteral("ListV_MP3"));
    m_mp3Model = new TagRowModel(m_controller.tagJob().rows(), m_listVMp3);
    const TagRowList &tagRows = m_controller.tagJob().rows();
    m_listVMp3->bindRows(m_mp3Model,
                         {[&tagRows] { return tagRows.count(); }, [&tagRows](int i) { return tagRows.isSelected(i); },
                          [this](int i, bool on) { m_controller.SetTagRowSelected(i, on); }},
                         false);

    m_listVMp3->setEmptyHint(
        QStringLiteral("「ファイル名一括読込」でフォルダを開くか、ここに MP3 ファイルやフォルダをドロップしてください"));
    m_mp3Templates = new Mp3TemplateGroup(m_controller, m_user, m_listVMp3, box);
    m_columns = std::make_unique<ListColumns>(m_listV, m_listVMp3, m_debug);
    m_windowSettings = std::make_unique<WindowSettings>(*this, *m_columns, m_settings);

    layout->addWidget(m_mp3Templates);
    layout->addWidget(m_listV, 1);
    layout->addWidget(m_listVMp3, 1);

    for (RowListView *list : {m_listV, m_listVMp3}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](QPoint at) {
            if (list->model()->rowCount() > 0)
                m_menus->editMenu()->exec(list->viewport()->mapToGlobal(at));
        });
        connect(list, &QAbstractItemView::clicked, this, &frmMain::rowClicked);
        connect(list, &QAbstractItemView::doubleClicked, this, &frmMain::editDirectData);
        connect(list, &RowListView::deletePressed, this, &frmMain::deleteSelected);
        connect(list, &RowListView::pathsDropped, this, &frmMain::dropPaths);
        connect(list->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmMain::sortByColumn);
    }
    connect(m_listV, &RowListView::rowMoveStarted, this, [this] { m_controller.StartRowMove(); });
    connect(m_listV, &RowListView::rowsDropped, this, &frmMain::dropRows);
    // A command file of the MP3 job keeps the widths the user gave the columns.
    connect(m_listVMp3->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { m_controller.SetMp3ColumnWidths(m_columns->mp3Twips()); });
    return box;
}

void frmMain::bindParts()
{
    connect(m_cmbTarget, &QComboBox::activated, this, &frmMain::jobChosen);
    connect(m_replace, &ReplaceGroup::regExpHelpRequested, this, [this] { openWebPage(OpenRegExpPage); });
    connect(m_replace, &ReplaceGroup::varListRequested, this, &frmMain::openVarList);
    connect(m_replace, &ReplaceGroup::templateRequested, this, &frmMain::openTemplate);
    connect(m_replace, &ReplaceGroup::textBoxFocused, this, &frmMain::rememberTextBox);
    connect(m_mp3Templates, &Mp3TemplateGroup::textBoxFocused, this, &frmMain::rememberTextBox);
    connect(m_mp3Templates, &Mp3TemplateGroup::commandsChanged, this, &frmMain::refreshCommands);
    connect(m_timeStamp, &TimeStampGroup::commandsChanged, this, &frmMain::refreshCommands);
}

// ---- following the controller ---------------------------------------------

void frmMain::refresh()
{
    setWindowTitle(m_controller.caption());
    refreshSetup();
    m_numbering->refresh();
    m_replace->refresh();
    m_timeStamp->refresh();
    m_mp3Templates->refresh();
    m_menus->refreshOptions(m_controller.options());
    refreshCommands();
    // The controller keeps the MP3 widths; the list follows what a command file brought.
    if (m_controller.mp3ColumnWidths() != m_columns->mp3Twips())
        applyMp3Columns(m_controller.mp3ColumnWidths());
    activeList()->syncSelection();
}

void frmMain::refreshSetup()
{
    const JobSetup &setup = m_controller.setup();
    if (m_cmbTarget->currentIndex() != Jobs::position(m_controller.job())) {
        const QSignalBlocker blocker(m_cmbTarget);
        m_cmbTarget->setCurrentIndex(Jobs::position(m_controller.job()));
    }
    action(QStringLiteral("mnuDirect"))->setEnabled(setup.directDataMenu);
    m_model->setFolderHeaders(setup.folderHeaders);
    m_listV->setEmptyHint(setup.folderHeaders
                              ? QStringLiteral("「ファイル名一括読込」で名前を変えるフォルダの親フォルダを開くか、"
                                               "ここにフォルダをドロップしてください")
                              : QStringLiteral("「ファイル名一括読込」でフォルダを開くか、"
                                               "ここにファイルやフォルダをドロップしてください"));
    m_listV->setVisible(!setup.mp3List);
    m_listVMp3->setVisible(setup.mp3List);
}

void frmMain::refreshCommands()
{
    const CommandStates &states = m_controller.states();
    m_cmdSetInf->setText(m_controller.tryCaption());
    action(QStringLiteral("mnuTry"))->setText(m_controller.tryCaption());
    m_cmdSetInf->setEnabled(states.tryEnabled());
    action(QStringLiteral("mnuTry"))->setEnabled(states.tryEnabled());
    m_cmdSetFile->setVisible(m_controller.executeVisible());
    m_cmdSetFile->setEnabled(states.executeEnabled());
    m_cmdRestore->setEnabled(states.restoreEnabled());
    action(QStringLiteral("mnuRestore"))->setEnabled(states.restoreEnabled());
    action(QStringLiteral("mnuRestoreFileName"))->setEnabled(states.restoreFileNameEnabled());
    m_cmdAllSelect->setEnabled(m_controller.activeRowCount() > 0);
    m_lblCnt->setText(m_controller.countText());
}

Mp3FieldStrip *frmMain::fieldStrip() const
{
    return m_mp3Templates->fieldStrip();
}

RowListView *frmMain::activeList() const
{
    return m_controller.job() == JobKind::Mp3TagEdit ? m_listVMp3 : m_listV;
}

// ---- the commands ----------------------------------------------------------

void frmMain::tryCommand()
{
    m_cmdSetInf->setEnabled(false);
    m_preview->drop();
    labelProgress(m_controller.tryCaption() + u'中');
    const PlanOutcome outcome = m_controller.TryCommand();
    m_numbering->focusInput(outcome.wrongInput);
}

void frmMain::executeCommand()
{
    m_preview->drop();
    labelProgress(QStringLiteral("実行中"));
    m_controller.ExecuteCommand();
}

// What the progress frame says while the command it is about runs: it shows
// only once the run works, after any question.
void frmMain::labelProgress(const QString &doing)
{
    m_prog->setFormat(doing + u" %p%");
}

// While a run lets events through, only Stop is offered; what the run left
// enabled shows once it ends.
void frmMain::setBusy(bool busy)
{
    // Disabling the window moves the focus on; it comes back when the run
    // ends, so that the arrow keys go on stepping through the jobs.
    if (busy)
        m_focusBeforeRun = QApplication::focusWidget();
    for (QWidget *part : centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (part != m_frProg)
            part->setEnabled(!busy);
    }
    m_menus->setEnabled(!busy);
    m_cmdStop->setVisible(busy);
    // The run's outcome replaces what the status bar said before it; the
    // progress frame shows once the run reports progress.
    if (busy) {
        statusBar()->clearMessage();
        return;
    }
    m_frProg->hide();
    m_prog->resetFormat();
    refresh();
    if (m_focusBeforeRun && m_focusBeforeRun->isEnabled())
        m_focusBeforeRun->setFocus();
    if (m_closeAfterRun)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmMain::requestStop()
{
    m_user.requestStop();
}

void frmMain::restoreCommand()
{
    m_preview->drop();
    m_controller.RestoreCommand();
}

void frmMain::restoreFileNames()
{
    m_preview->drop();
    labelProgress(QStringLiteral("元のファイル名に戻しています"));
    m_controller.RestoreFileNames();
}

void frmMain::jobChosen(int position)
{
    // Choosing the job already shown runs the switch as well: its plan is dropped.
    m_preview->drop();
    statusBar()->clearMessage();
    m_controller.SelectJob(Jobs::fromPosition(position));
    forgetSortOrder();
}

void frmMain::rowClicked(const QModelIndex &index)
{
    if (activeList() == m_listVMp3)
        m_mp3Column = index.column() + 1;
    m_controller.SeedInputsFromRow(index.row() + 1);
}

void frmMain::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("ファイルの場所"), startFolder());
    if (folder.isEmpty())
        return;
    m_lastFolder = folder;
    loadFolder(folder);
}

void frmMain::loadFolder(const QString &folder)
{
    m_controller.OpenFolder(folder);
    forgetSortOrder();
}

// The load dialogs open in the folder the list shows, else in the one used last.
QString frmMain::startFolder() const
{
    for (const QString &folder : {m_controller.currentFolder(), m_lastFolder}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

void frmMain::chooseFiles()
{
    const QStringList paths = QFileDialog::getOpenFileNames(this, QStringLiteral("ファイル名の読込み"), startFolder(),
                                                            QStringLiteral("すべてのファイル(*.*) (*)"));
    if (!paths.isEmpty())
        readFiles(paths);
}

void frmMain::readFiles(const QStringList &paths)
{
    m_controller.ReadFiles(paths);
    forgetSortOrder();
}

void frmMain::dropPaths(const QStringList &paths, int row)
{
    m_controller.DropPaths(paths, row);
    forgetSortOrder();
}

void frmMain::dropRows(int row)
{
    m_controller.DropRows(row);
    forgetSortOrder();
}

void frmMain::sortByColumn(int column)
{
    if (m_controller.activeRowCount() == 0)
        return;
    SortState &state = activeList() == m_listVMp3 ? m_mp3Sort : m_sort;
    m_controller.SortActiveList(column, state.click(column));
    QHeaderView *header = activeList()->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, state.descending() ? Qt::DescendingOrder : Qt::AscendingOrder);
    activeList()->syncSelection();
}

void frmMain::forgetSortOrder()
{
    m_sort.forget();
    m_mp3Sort.forget();
    for (RowListView *list : {m_listV, m_listVMp3})
        list->horizontalHeader()->setSortIndicatorShown(false);
}

void frmMain::selectAll()
{
    m_controller.SelectAllRows();
    activeList()->syncSelection();
}

void frmMain::moveSelected(int step)
{
    m_controller.MoveSelectedRows(step);
    for (RowListView *list : {m_listV, m_listVMp3})
        list->horizontalHeader()->setSortIndicatorShown(false);
    activeList()->syncSelection();
    const QModelIndexList selected = activeList()->selectionModel()->selectedRows();
    if (!selected.isEmpty())
        activeList()->scrollTo(step < 0 ? selected.first() : selected.last());
}

void frmMain::deleteSelected()
{
    m_controller.DeleteSelectedRows();
}

void frmMain::deleteAll()
{
    m_controller.DeleteAllRows();
    forgetSortOrder();
}

void frmMain::copyList()
{
    QStringList headers;
    for (int column = 0; column < RenameRow::FieldCount; ++column)
        headers << m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const QString text = m_controller.ActiveListText(headers);
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(text);
    ShowPlainMessage(m_user, u"リストをクリップボードにコピーしました。" + CrLf + CrLf + u"エクセルなどに貼り付けてご利用下さい。",
                     QStringLiteral("コピー完了"));
}

void frmMain::editDirectData()
{
    // The editor shows and writes back the names in the rows, not a preview over them.
    m_preview->drop();
    const bool mp3 = activeList() == m_listVMp3;
    const int count = m_controller.activeRowCount();
    if (count == 0)
        return;
    const int column = mp3 ? m_mp3Column : 1;
    const QString header = mp3 ? TagRow::header(column - 1)
                               : m_model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
    if (mp3 && frmData::refuseColumn(m_user, column, header))
        return;
    const QStringList values = m_controller.ActiveColumn(column);
    const QModelIndex current = activeList()->currentIndex();
    frmData editor(m_user, header, values, current.isValid() ? current.row() + 1 : 1, !mp3, this);
    editor.setSizeTwips(m_settings.dataEditorHeight, m_settings.dataEditorWidth);
    if (editor.exec() != QDialog::Accepted)
        return;
    m_settings.dataEditorHeight = editor.sizeTwips().height();
    m_settings.dataEditorWidth = editor.sizeTwips().width();
    m_controller.ApplyDirectData(column, editor.values());
    refresh();
}

// ---- display options -------------------------------------------------------

void frmMain::toggleMenuBar()
{
    setMenuBarShown(!menuBar()->isVisible(), true);
}

void frmMain::setMenuBarShown(bool shown, bool tell)
{
    menuBar()->setVisible(shown);
    m_settings.menuBarShown = shown;
    m_menus->setChecked(QStringLiteral("mnuDispMenu"), !shown);
    if (!shown && tell)
        ShowMessage(m_user, QStringLiteral("メニューを表示するには、ツールバーの左端ボタンをクリックして下さい。"), 0,
                    QStringLiteral("メニュー再表示方法"), true);
}

void frmMain::setStayOnTop(bool on)
{
    m_settings.stayOnTop = on;
    m_menus->setChecked(QStringLiteral("mnuDispTop"), on);
    if (on == bool(windowFlags() & Qt::WindowStaysOnTopHint))
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

void frmMain::setSemiTransparent(bool on)
{
    m_settings.semiTransparent = on;
    action(QStringLiteral("mnuTransparent"))->setChecked(on);
    setWindowOpacity(on ? std::clamp(m_settings.opacity, 0, 255) / 255.0 : 1.0);
}

void frmMain::chooseListFont()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_listV->font(), this, QStringLiteral("リストのフォント"));
    if (ok)
        m_columns->setFont(font);
}

// ---- secondary windows -------------------------------------------------------

void frmMain::openWebPage(bool (*open)())
{
    m_user.showStatus(QStringLiteral("ブラウザを起動してＷｅｂページを表示中・・・"), 0, false);
    open();
    m_user.showStatus(QString(), 0, false);
}

void frmMain::openAbout()
{
    frmAbout(this).exec();
}

void frmMain::rememberTextBox(QWidget *box)
{
    m_lastTextBox = box;
}

void frmMain::openVarList()
{
    QWidget *box = m_lastTextBox ? m_lastTextBox.data() : m_replace->replaceBox();
    if (!box->isVisible())
        box = m_replace->searchBox();
    frmVar::open(m_user, box, TextTarget(box).caretText(), this);
}

void frmMain::openTemplate()
{
    auto *window = new frmTemplate(m_user, m_settings.stayOnTop, this);
    const auto pixels = [this](int twips) { return PixelsFromTwips(twips, logicalDpiX()); };
    const auto twips = [this](int pixels) { return TwipsFromPixels(pixels, logicalDpiX()); };
    window->applyGeometry(QRect(pixels(m_settings.templateLeft), pixels(m_settings.templateTop),
                                pixels(m_settings.templateWidth), pixels(m_settings.templateHeight)));
    connect(window, &frmTemplate::geometryToStore, this, [this, twips](const QRect &rect) {
        m_settings.templateLeft = twips(rect.left());
        m_settings.templateTop = twips(rect.top());
        m_settings.templateWidth = twips(rect.width());
        m_settings.templateHeight = twips(rect.height());
    });
    window->show();
}

// ---- settings --------------------------------------------------------------

void frmMain::applyMp3Columns(const QList<int> &twips)
{
    m_columns->applyMp3(twips);
    m_controller.SetMp3ColumnWidths(m_columns->mp3Twips());
    m_mp3Templates->fieldStrip()->align();
}

void frmMain::applySettings()
{
    m_windowSettings->apply();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing mid-run waits for the run to stop where no item is parked.
    if (m_controller.busy()) {
        m_closeAfterRun = true;
        requestStop();
        event->ignore();
        return;
    }
    // A folder read still running stops at its next check.
    m_controller.CancelLoad();
    m_controller.storeSettings(&m_settings);
    m_windowSettings->store();
    m_settingsFile.save(m_user);
    QMainWindow::closeEvent(event);
}
