#include "ui/mp3templategroup.h"

#include "engine/control/jobcontroller.h"
#include "platform/showmessage.h"
#include "ui/clicklabel.h"
#include "ui/frminput.h"
#include "ui/inputboxes.h"
#include "ui/mp3fieldstrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

Mp3TemplateGroup::Mp3TemplateGroup(JobController &controller, UserChannel &user, QTableView *list, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_user(user)
{
    auto *lblReplaceTag = new ClickLabel(QStringLiteral(" ↓MP3タグ置換文字列 ↓"), this);
    lblReplaceTag->setObjectName(QStringLiteral("lblReplaceTag"));
    lblReplaceTag->setToolTip(QStringLiteral("ダブルクリックでフィールド文字列初期化"));
    connect(lblReplaceTag, &ClickLabel::doubleClicked, this, &Mp3TemplateGroup::resetTemplates);
    m_fieldStrip = new Mp3FieldStrip(list, TagRow::FieldCount, this);

    auto *fields = new QVBoxLayout(this);
    fields->setContentsMargins(0, 2, 0, 2);
    fields->setSpacing(1);
    // The MP3 job's own choices sit on the label's line, where the row has room.
    auto *heading = new QHBoxLayout;
    heading->addWidget(lblReplaceTag);
    heading->addStretch(1);
    heading->addWidget(buildTarget());
    heading->addWidget(buildVersions());
    fields->addLayout(heading);
    fields->addWidget(m_fieldStrip);
    bindInputs();
}

QWidget *Mp3TemplateGroup::buildTarget()
{
    auto *frTarget = new QWidget(this);
    // Listed among the MP3 job's controls but never shown: nothing reads it.
    frTarget->hide();
    auto *target = new QHBoxLayout(frTarget);
    target->setContentsMargins(0, 0, 0, 0);
    m_cmbReplaceTarget = new QComboBox(frTarget);
    m_cmbReplaceTarget->setObjectName(QStringLiteral("cmbReplaceTarget"));
    for (int column = 0; column < TagRow::FieldCount; ++column)
        m_cmbReplaceTarget->addItem(TagRow::header(column));
    m_cmbReplaceTarget->setCurrentIndex(-1);
    target->addWidget(new QLabel(QStringLiteral("置換対象タグ名"), frTarget));
    target->addWidget(m_cmbReplaceTarget);
    return frTarget;
}

QGroupBox *Mp3TemplateGroup::buildVersions()
{
    m_frID3 = new QGroupBox(this);
    m_frID3->setObjectName(QStringLiteral("frID3"));
    auto *id3 = new QHBoxLayout(m_frID3);
    id3->setContentsMargins(4, 0, 4, 0);
    m_chkID3v1 = new QCheckBox(QStringLiteral("ID3v1"), m_frID3);
    m_chkID3v1->setObjectName(QStringLiteral("ChkID3(0)"));
    m_chkID3v1->setToolTip(QStringLiteral("v1.xをRead/Write"));
    m_chkID3v2 = new QCheckBox(QStringLiteral("ID3v2"), m_frID3);
    m_chkID3v2->setObjectName(QStringLiteral("ChkID3(1)"));
    m_chkID3v2->setToolTip(QStringLiteral("v2.xをRead/Write"));
    id3->addWidget(m_chkID3v1);
    id3->addWidget(m_chkID3v2);
    return m_frID3;
}

void Mp3TemplateGroup::bindInputs()
{
    connect(m_chkID3v1, &QCheckBox::clicked, this, [this](bool on) { m_controller.SetTagV1(on); });
    connect(m_chkID3v2, &QCheckBox::clicked, this, [this](bool on) { m_controller.SetTagV2(on); });
    connect(m_fieldStrip, &Mp3FieldStrip::fieldEdited, this, [this](int column, const QString &text) {
        m_controller.SetTagTemplate(column, text);
        Q_EMIT commandsChanged();
    });
    connect(m_fieldStrip, &Mp3FieldStrip::fieldFocused, this, &Mp3TemplateGroup::textBoxFocused);
    connect(m_fieldStrip, &Mp3FieldStrip::fieldDoubleClicked, this,
            [this](int column) { frmInput::edit(m_user, m_fieldStrip->field(column), 0, window()); });
    connect(m_cmbReplaceTarget, &QComboBox::activated, this, [this] {
        m_controller.ChooseReplaceTarget(m_cmbReplaceTarget->currentText());
        Q_EMIT commandsChanged();
    });
}

void Mp3TemplateGroup::refresh()
{
    setVisible(m_controller.setup().mp3FieldGroup);
    m_frID3->setVisible(m_controller.setup().id3Group);
    const Mp3TagJob &tags = m_controller.tagJob();
    m_chkID3v1->setChecked(tags.TagV1);
    m_chkID3v2->setChecked(tags.TagV2);
    for (int column = 0; column < m_fieldStrip->fieldCount(); ++column)
        InputBoxes::setText(m_fieldStrip->field(column), tags.txtField[column]);
}

void Mp3TemplateGroup::resetTemplates()
{
    const int answer = ShowMessage(m_user, QStringLiteral("ID3フィル度文字列を初期化します。よろしいですか？"), 1,
                                   QStringLiteral("初期化"));
    if (answer != MessageAnswer::Ok)
        return;
    m_controller.ResetTagTemplates();
    refresh();
}
