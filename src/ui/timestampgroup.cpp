#include "ui/timestampgroup.h"

#include "engine/control/jobcontroller.h"
#include "ui/datetimebox.h"
#include "ui/inputboxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

TimeStampGroup::TimeStampGroup(JobController &controller, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_lblTimeStamp(new QLabel(this))
    , m_dtpDate(new DateTimeBox(QStringLiteral("yyyy/MM/dd"), this))
    , m_dtpTime(new DateTimeBox(QStringLiteral("HH:mm:ss"), this))
    , m_cmbMinutes(InputBoxes::numberCombo(QStringLiteral("cmb増分"),
                                           {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("5"),
                                            QStringLiteral("10"), QStringLiteral("30"), QStringLiteral("60"),
                                            QStringLiteral("1440")},
                                           this))
    , m_chkExifTime(new QCheckBox(QStringLiteral("撮影日時（EXIF）を使う"), this))
{
    setObjectName(QStringLiteral("frTimeStamp"));
    m_lblTimeStamp->setObjectName(QStringLiteral("lblTimeStamp"));
    m_dtpDate->setObjectName(QStringLiteral("DTP(0)"));
    m_dtpDate->setCalendarPopup(true);
    m_dtpTime->setObjectName(QStringLiteral("DTP(1)"));
    m_cmbMinutes->setToolTip(QStringLiteral("連番時刻の増分値を指定(分)"));
    m_chkExifTime->setObjectName(QStringLiteral("chkExifTime"));
    m_chkExifTime->setToolTip(QStringLiteral("各ファイルの撮影日時（EXIF）を設定します。撮影日時の無いファイルはそのままです。"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_lblTimeStamp);
    layout->addWidget(m_dtpDate);
    layout->addWidget(m_dtpTime);
    layout->addSpacing(12);
    layout->addWidget(new QLabel(QStringLiteral("増分(分)"), this));
    layout->addWidget(m_cmbMinutes);
    layout->addSpacing(12);
    layout->addWidget(m_chkExifTime);
    layout->addStretch(1);

    connect(m_dtpDate, &QDateTimeEdit::dateChanged, this, [this](QDate date) { m_controller.SetInput(&JobInputs::baseDate, date); });
    connect(m_dtpTime, &QDateTimeEdit::timeChanged, this, [this](QTime time) { m_controller.SetInput(&JobInputs::baseTime, time); });
    connect(m_cmbMinutes, &QComboBox::editTextChanged, this,
            [this](const QString &text) { m_controller.SetInput(&JobInputs::stepMinutes, text); });
    connect(m_chkExifTime, &QCheckBox::clicked, this, [this](bool on) {
        m_controller.SetInput(&JobInputs::useExifTime, on);
        m_controller.OfferTry();
        refresh();
        Q_EMIT commandsChanged();
    });
}

void TimeStampGroup::refresh()
{
    const JobInputs &in = m_controller.inputs();
    setVisible(m_controller.setup().timeStampGroup);
    m_lblTimeStamp->setText(m_controller.setup().timeStampCaption);
    InputBoxes::setText(m_cmbMinutes, in.stepMinutes);
    m_chkExifTime->setChecked(in.useExifTime);
    // The base and the step count for nothing while each file brings its own moment.
    for (QWidget *box : {static_cast<QWidget *>(m_dtpDate), static_cast<QWidget *>(m_dtpTime),
                         static_cast<QWidget *>(m_cmbMinutes)})
        box->setEnabled(!in.useExifTime);
    const QSignalBlocker blockDate(m_dtpDate);
    const QSignalBlocker blockTime(m_dtpTime);
    if (in.baseDate.isValid())
        m_dtpDate->setDate(in.baseDate);
    if (in.baseTime.isValid())
        m_dtpTime->setTime(in.baseTime);
}
