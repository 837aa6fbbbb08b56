#include "ui/numberinggroup.h"

#include "engine/control/jobcontroller.h"
#include "platform/showmessage.h"
#include "ui/frminput.h"
#include "ui/inputboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// Characters a file name cannot hold: the separator box drops them as they are typed.
const QString forbiddenInNames = QStringLiteral("/:*?\\|<>\"");

bool isDigitKey(const QKeyEvent *key)
{
    return key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9 && key->text().size() == 1;
}

// Keys that move around or edit without typing.
bool isEditingKey(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return key->modifiers() & Qt::ControlModifier;
    }
}

} // namespace

NumberingGroup::NumberingGroup(JobController &controller, UserChannel &user, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_user(user)
    , m_txtFileName(new QLineEdit(this))
    , m_txtSample(new QLineEdit(this))
    , m_txtStNo(new QLineEdit(this))
    , m_cmbDigits(InputBoxes::numberCombo(QStringLiteral("cmb桁数"),
                                          {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                           QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")},
                                          this))
    , m_cmbStep(InputBoxes::numberCombo(QStringLiteral("cmb連番増分"),
                                        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5"),
                                         QStringLiteral("10"), QStringLiteral("100")},
                                        this))
    , m_txtSeparator(new QLineEdit(this))
    , m_chkAddTop(new QCheckBox(QStringLiteral("先頭に付加"), this))
{
    setObjectName(QStringLiteral("frNumbering"));
    m_txtFileName->setObjectName(QStringLiteral("txtFileName"));
    m_txtSample->setObjectName(QStringLiteral("txtSample"));
    m_txtSample->setReadOnly(true);
    m_txtSample->setFocusPolicy(Qt::NoFocus);
    m_txtStNo->setObjectName(QStringLiteral("txtStNo"));
    m_txtStNo->setToolTip(QStringLiteral("連番開始番号を指定。数字以外の文字は入力不可"));
    m_txtStNo->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    m_txtSeparator->setObjectName(QStringLiteral("txtSeparator"));
    m_txtSeparator->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    m_txtSeparator->setToolTip(frmInput::openHint());
    m_chkAddTop->setObjectName(QStringLiteral("chkAddTop"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral(" 基準ファイル名 - 空白：元のファイル名に付加"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("開始番号"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("桁数"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("増分"), this), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("区切り"), this), 0, 4);
    grid->addWidget(m_txtFileName, 1, 0);
    grid->addWidget(m_txtStNo, 1, 1);
    grid->addWidget(m_cmbDigits, 1, 2);
    grid->addWidget(m_cmbStep, 1, 3);
    grid->addWidget(m_txtSeparator, 1, 4);
    grid->addWidget(m_chkAddTop, 1, 5);
    grid->addWidget(m_txtSample, 2, 0);
    grid->setColumnStretch(0, 1);
    // An editable combo box takes the focus and the keys itself, so the
    // rules watch the boxes and their line edits alike.
    for (QWidget *box : {static_cast<QWidget *>(m_txtStNo), static_cast<QWidget *>(m_cmbDigits),
                         static_cast<QWidget *>(m_cmbDigits->lineEdit()), static_cast<QWidget *>(m_cmbStep),
                         static_cast<QWidget *>(m_cmbStep->lineEdit()), static_cast<QWidget *>(m_txtSeparator)})
        box->installEventFilter(this);
    bindInputs();
}

void NumberingGroup::bindInputs()
{
    const auto numbering = [this](QString JobInputs::*field) {
        return [this, field](const QString &text) { m_controller.SetNumberingInput(field, text); };
    };
    connect(m_txtFileName, &QLineEdit::textEdited, this, numbering(&JobInputs::baseName));
    connect(m_txtStNo, &QLineEdit::textEdited, this, numbering(&JobInputs::startNo));
    connect(m_cmbDigits, &QComboBox::editTextChanged, this, numbering(&JobInputs::digits));
    connect(m_cmbStep, &QComboBox::editTextChanged, this, numbering(&JobInputs::step));
    connect(m_txtSeparator, &QLineEdit::textChanged, this, numbering(&JobInputs::separator));
    connect(m_chkAddTop, &QCheckBox::clicked, this, [this](bool on) { m_controller.SetAddTop(on); });
}

void NumberingGroup::refresh()
{
    const JobInputs &in = m_controller.inputs();
    setVisible(m_controller.setup().numberingGroup);
    m_txtSample->setVisible(m_controller.setup().preview);
    InputBoxes::setText(m_txtFileName, in.baseName);
    InputBoxes::setText(m_txtStNo, in.startNo);
    InputBoxes::setText(m_cmbDigits, in.digits);
    InputBoxes::setText(m_cmbStep, in.step);
    InputBoxes::setText(m_txtSeparator, in.separator);
    InputBoxes::setText(m_txtSample, m_controller.preview());
    m_chkAddTop->setChecked(in.addTop);
}

void NumberingGroup::focusInput(NumberingInput input)
{
    switch (input) {
    case NumberingInput::StartNo:
        m_txtStNo->setFocus();
        break;
    case NumberingInput::Step:
        m_cmbStep->setFocus();
        break;
    case NumberingInput::Digits:
        m_cmbDigits->setFocus();
        break;
    case NumberingInput::None:
        break;
    }
}

bool NumberingGroup::isDigitsBox(QObject *watched) const
{
    return watched == m_cmbDigits || watched == m_cmbDigits->lineEdit();
}

bool NumberingGroup::isStepBox(QObject *watched) const
{
    return watched == m_cmbStep || watched == m_cmbStep->lineEdit();
}

bool NumberingGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && isDigitsBox(watched))
        QTimer::singleShot(0, this, &NumberingGroup::checkDigits);
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_txtSeparator) {
        frmInput::edit(m_user, m_txtSeparator, 0, window());
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_txtStNo) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_cmbDigits->setFocus();
            return true;
        }
        if (isDigitKey(key) || isEditingKey(key) || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        QApplication::beep();
        return true;
    }
    if (isDigitsBox(watched) || isStepBox(watched))
        return !(isDigitKey(key) || isEditingKey(key) || key->text().isEmpty());
    if (watched == m_txtSeparator)
        return !key->text().isEmpty() && forbiddenInNames.contains(key->text().front());
    return QWidget::eventFilter(watched, event);
}

void NumberingGroup::checkDigits()
{
    if (m_checkingDigits || m_cmbDigits->currentText().trimmed().toInt() <= 20)
        return;
    m_checkingDigits = true;
    ShowPlainMessage(m_user, QStringLiteral("桁数は 20 以下にして下さい。"), QStringLiteral("桁数オーバー"));
    m_cmbDigits->setFocus();
    m_checkingDigits = false;
}
