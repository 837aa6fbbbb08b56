#include "ui/frmmain.h"

#include "engine/jobkind.h"
#include "platform/showmessage.h"
#include "ui/qtuserchannel.h"
#include "ui/renamerowmodel.h"
#include "persist/settings.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int visibleColumnTwips[] = {3200, 3200, 2200, 2200, 1500, 8000};
constexpr int debugColumnTwips = 5000;

} // namespace

frmMain::frmMain(RenameRowList &rows, QtUserChannel &user, bool debug, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(caption());

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    m_cmbTarget = new QComboBox(central);
    m_cmbTarget->setObjectName(QStringLiteral("cmbTarget"));
    m_cmbTarget->addItems(Jobs::labels());
    m_cmbTarget->setCurrentIndex(Jobs::position(Jobs::Default));
    layout->addWidget(m_cmbTarget, 0, Qt::AlignLeft);

    buildList(rows, debug);
    layout->addWidget(m_listV, 1);

    m_frProg = new QFrame(central);
    m_frProg->setObjectName(QStringLiteral("frProg"));
    auto *progressLayout = new QHBoxLayout(m_frProg);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    m_prog = new QProgressBar(m_frProg);
    m_prog->setObjectName(QStringLiteral("Prog"));
    progressLayout->addWidget(m_prog);
    m_frProg->hide();
    layout->addWidget(m_frProg);
    user.setProgressWidgets(m_frProg, m_prog);

    layout->addWidget(buildCommands());
    setCentralWidget(central);
    resize(800, 500);
}

QString frmMain::caption()
{
    return ApplicationTitle() + u' ' + QStringLiteral(CORVANE_VERSION);
}

void frmMain::buildList(RenameRowList &rows, bool debug)
{
    m_listV = new QTableView(this);
    m_listV->setObjectName(QStringLiteral("ListV"));
    m_model = new RenameRowModel(rows, m_listV);
    m_listV->setModel(m_model);
    m_listV->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listV->setWordWrap(false);
    m_listV->verticalHeader()->hide();
    m_listV->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_listV->verticalHeader()->setDefaultSectionSize(m_listV->fontMetrics().height() + 4);
    m_listV->horizontalHeader()->setHighlightSections(false);

    const double dpi = logicalDpiX();
    for (int column = 0; column < RenameRow::FieldCount; ++column) {
        const auto field = static_cast<RenameField>(column);
        if (!RenameRowModel::isHiddenField(field)) {
            m_listV->setColumnWidth(column, PixelsFromTwips(visibleColumnTwips[column], dpi));
        } else if (debug) {
            m_listV->setColumnWidth(column, PixelsFromTwips(debugColumnTwips, dpi));
        } else {
            m_listV->setColumnHidden(column, true);
        }
    }
}

QWidget *frmMain::buildCommands()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);

    m_cmdSetInf = new QPushButton(QStringLiteral("試行"), bar);
    m_cmdSetInf->setObjectName(QStringLiteral("cmdSetInf"));
    m_cmdSetInf->setToolTip(QStringLiteral(
        "リスト上の情報のみ変更。実際には、まだ変更されません。右の「実行」で、実際にファイル情報が変更されます。"
        "「元に戻す」で最初の状態に戻ります。"));

    m_cmdSetFile = new QPushButton(QStringLiteral("実行"), bar);
    m_cmdSetFile->setObjectName(QStringLiteral("cmdSetFile"));
    m_cmdSetFile->setToolTip(QStringLiteral("ファイル情報を実際に変更します。実行後は元に戻せません。"));

    m_cmdRestore = new QPushButton(QStringLiteral("元に戻す"), bar);
    m_cmdRestore->setObjectName(QStringLiteral("cmd元に戻す"));
    m_cmdRestore->setToolTip(QStringLiteral("ファイルを読み込んだ時の状態に戻します。"));

    for (QPushButton *button : {m_cmdSetInf, m_cmdSetFile, m_cmdRestore}) {
        button->setEnabled(false);
        layout->addWidget(button);
    }
    return bar;
}
