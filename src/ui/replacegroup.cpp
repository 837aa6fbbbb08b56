#include "ui/replacegroup.h"

#include "engine/control/jobcontroller.h"
#include "ui/clicklabel.h"
#include "ui/frminput.h"
#include "ui/frmvar.h"
#include "ui/historycombo.h"
#include "ui/inputboxes.h"
#include "ui/renamerowmodel.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>

namespace {

const QString searchTip = QStringLiteral("検索文字列（正規表現使用可）");

}

ReplaceGroup::ReplaceGroup(JobController &controller, UserChannel &user, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_user(user)
{
    setObjectName(QStringLiteral("frReplace"));
    m_cmbSearch = new HistoryCombo(m_controller, &JobInputs::searchText, this);
    m_cmbSearch->setObjectName(QStringLiteral("cmb置換(0)"));
    m_cmbSearch->setToolTip(searchTip);
    m_cmbReplace = new HistoryCombo(m_controller, &JobInputs::replaceText, this);
    m_cmbReplace->setObjectName(QStringLiteral("cmb置換(1)"));
    m_cmbReplace->setToolTip(QStringLiteral("置換文字列（変数/関数使用可）"));
    for (HistoryCombo *box : {m_cmbSearch, m_cmbReplace}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        box->lineEdit()->installEventFilter(this);
    }

    auto *lblSearch = new ClickLabel(QStringLiteral(" 検索文字列"), this);
    lblSearch->setObjectName(QStringLiteral("lblSearch"));
    m_lblReplace = new ClickLabel(QStringLiteral(" 置換文字列"), this);
    m_lblReplace->setObjectName(QStringLiteral("lblReplace"));
    for (ClickLabel *l : {lblSearch, m_lblReplace})
        l->setToolTip(frmInput::openHint());
    connect(lblSearch, &ClickLabel::doubleClicked, this, [this] { frmInput::edit(m_user, m_cmbSearch, 0, window()); });
    connect(m_lblReplace, &ClickLabel::doubleClicked, this,
            [this] { frmInput::edit(m_user, m_cmbReplace, 1, window()); });

    auto *links = new QHBoxLayout;
    ClickLabel *lblShowReg = link(QStringLiteral("lblShowReg"), QStringLiteral("<u>正規表現の使用例</u>"),
                                  QStringLiteral("正規表現のオンラインヘルプを開きます。"));
    connect(lblShowReg, &ClickLabel::clicked, this, &ReplaceGroup::regExpHelpRequested);
    ClickLabel *lblVar = link(QStringLiteral("lblVar"), QStringLiteral("<u>変数/関数</u>"),
                              frmVar::linkHint());
    connect(lblVar, &ClickLabel::clicked, this, &ReplaceGroup::varListRequested);
    ClickLabel *lblTemplate = link(QStringLiteral("lblTemplate"), QStringLiteral("<u>テンプレート</u>"),
                                   QStringLiteral("テンプレートを表示－自由に変更／追加可"));
    connect(lblTemplate, &ClickLabel::clicked, this, &ReplaceGroup::templateRequested);
    // The part of the name searched, in ReplaceScope's order.
    m_cmbScope = new QComboBox(this);
    m_cmbScope->setObjectName(QStringLiteral("cmbReplaceScope"));
    m_cmbScope->addItems({QStringLiteral("名前と拡張子"), QStringLiteral("名前のみ"), QStringLiteral("拡張子のみ")});
    m_cmbScope->setToolTip(QStringLiteral("検索と置換をファイル名のどの部分に使うか"));
    m_chkManual = new QCheckBox(QStringLiteral("データを直接指定"), this);
    m_chkManual->setObjectName(QStringLiteral("ChkManual"));
    for (QWidget *part : {static_cast<QWidget *>(lblShowReg), static_cast<QWidget *>(lblVar),
                          static_cast<QWidget *>(lblTemplate)})
        links->addWidget(part);
    links->addStretch(1);
    links->addWidget(m_chkManual);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(lblSearch, 0, 0);
    grid->addWidget(m_lblReplace, 0, 1);
    auto *search = new QHBoxLayout;
    search->addWidget(m_cmbSearch, 1);
    search->addWidget(m_cmbScope);
    grid->addLayout(search, 1, 0);
    grid->addWidget(m_cmbReplace, 1, 1);
    grid->addLayout(links, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    bindInputs();
}

ClickLabel *ReplaceGroup::link(const QString &name, const QString &text, const QString &tip)
{
    auto *label = new ClickLabel(text, this);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

void ReplaceGroup::bindInputs()
{
    connect(m_cmbSearch, &QComboBox::editTextChanged, this,
            [this](const QString &text) { m_controller.SetSearchInput(&JobInputs::searchText, text); });
    connect(m_cmbReplace, &QComboBox::editTextChanged, this,
            [this](const QString &text) { m_controller.SetSearchInput(&JobInputs::replaceText, text); });
    connect(m_cmbScope, &QComboBox::activated, this, [this](int index) {
        m_controller.SetInput(&JobInputs::replaceScope, ReplaceScopeOf(index));
        m_controller.SearchTextChanged();
    });
    connect(m_chkManual, &QCheckBox::clicked, this, [this](bool on) { m_controller.SetInput(&JobInputs::ChkManual, on); });
}

void ReplaceGroup::refresh()
{
    const JobSetup &setup = m_controller.setup();
    setVisible(setup.replaceGroup);
    m_chkManual->setVisible(setup.directDataBox);
    m_cmbReplace->setVisible(setup.replaceBox);
    m_lblReplace->setVisible(setup.replaceBox);
    m_cmbScope->setVisible(setup.replaceScope);
    m_cmbScope->setCurrentIndex(static_cast<int>(m_controller.inputs().replaceScope));
    InputBoxes::setText(m_cmbSearch, m_controller.inputs().searchText);
    InputBoxes::setText(m_cmbReplace, m_controller.inputs().replaceText);
    m_chkManual->setChecked(m_controller.inputs().ChkManual);
    markSearch();
}

void ReplaceGroup::markSearch()
{
    const QString fault = m_controller.SearchFault();
    QPalette palette = m_cmbSearch->palette();
    if (!fault.isEmpty())
        palette.setColor(QPalette::Text, RenameRowModel::errorColour(palette));
    m_cmbSearch->lineEdit()->setPalette(palette);
    m_cmbSearch->setToolTip(fault.isEmpty() ? searchTip : QStringLiteral("正規表現の誤り：") + fault);
}

bool ReplaceGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_cmbSearch->lineEdit())
            Q_EMIT textBoxFocused(m_cmbSearch);
        else if (watched == m_cmbReplace->lineEdit())
            Q_EMIT textBoxFocused(m_cmbReplace);
    }
    return QWidget::eventFilter(watched, event);
}
