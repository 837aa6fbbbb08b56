#include "ui/frminput.h"

#include "ui/frmvar.h"
#include "ui/windowplacement.h"

#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int StartFontSize = 12;

QLabel *linkLabel(const QString &caption, const QString &toolTip, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setToolTip(toolTip);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: #0645ad; text-decoration: underline;"));
    return label;
}

}

frmInput::frmInput(UserChannel &user, QWidget *target, int index, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_user(user)
    , m_target(target)
    , m_separator(target && target->objectName() == QStringLiteral("txtSeparator"))
    , m_txtInput(new QPlainTextEdit(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("キャンセル"), this))
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
    , m_lblVar(linkLabel(QStringLiteral("変数/関数"), frmVar::linkHint(), this))
    , m_lblComSw(new QLabel(QStringLiteral("コマンドラインスイッチ"), this))
    , m_mnuEdit(new QMenu(QStringLiteral("編集"), this))
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(QStringLiteral("編集"));
    m_txtInput->setObjectName(QStringLiteral("txtInput"));
    m_txtInput->setPlainText(m_target.text());
    m_txtInput->installEventFilter(this);
    QFont font = m_txtInput->font();
    font.setPointSize(StartFontSize);
    m_txtInput->setFont(font);

    m_up->setArrowType(Qt::UpArrow);
    m_up->setToolTip(QStringLiteral("フォントサイズを大きくします"));
    m_down->setArrowType(Qt::DownArrow);
    m_down->setToolTip(QStringLiteral("フォントサイズを小さくします"));
    connect(m_up, &QToolButton::clicked, this, [this] { changeFontSize(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { changeFontSize(-1); });

    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &frmInput::accept);
    connect(m_cancel, &QPushButton::clicked, this, &frmInput::reject);

    m_lblVar->setVisible(index == 1);
    m_lblVar->installEventFilter(this);
    m_lblComSw->setToolTip(QStringLiteral("この欄はコマンドラインのスイッチ（search / pattern）でも指定できます。"));
    m_mnuEdit->addAction(QStringLiteral("フォント"), this, &frmInput::chooseFont);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addWidget(m_lblVar);
    buttons->addStretch();
    buttons->addWidget(m_lblComSw);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_txtInput, 1);
    layout->addLayout(buttons);
    resize(520, 160);
}

bool frmInput::edit(UserChannel &user, QWidget *target, int index, QWidget *parent)
{
    frmInput dialog(user, target, index, parent);
    MoveToPointer(&dialog);
    return dialog.exec() == QDialog::Accepted;
}

int frmInput::fontSize() const
{
    return m_txtInput->font().pointSize();
}

QString frmInput::text() const
{
    // The boxes edited here hold one line; a pasted line break would end up in a file name.
    QString text = m_txtInput->toPlainText();
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

void frmInput::accept()
{
    m_target.setText(text());
    QDialog::accept();
}

void frmInput::changeFontSize(int step)
{
    QFont font = m_txtInput->font();
    font.setPointSize(std::clamp(font.pointSize() + step, MinimumFontSize, MaximumFontSize));
    m_txtInput->setFont(font);
}

void frmInput::chooseFont()
{
    bool chosen = false;
    QFont font = QFontDialog::getFont(&chosen, m_txtInput->font(), this, QStringLiteral("フォント"));
    if (!chosen)
        return;
    font.setPointSize(std::clamp(font.pointSize(), MinimumFontSize, MaximumFontSize));
    m_txtInput->setFont(font);
}

void frmInput::openVarList()
{
    frmVar::open(m_user, m_txtInput, TextTarget(m_txtInput).caretText(), this);
}

bool frmInput::refusesKey(const QKeyEvent *key) const
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return true;
    static const QString forbidden = QStringLiteral("/:*?\\|<>\"");
    return m_separator && !key->text().isEmpty() && forbidden.contains(key->text().at(0));
}

bool frmInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtInput && event->type() == QEvent::KeyPress
        && refusesKey(static_cast<QKeyEvent *>(event)))
        return true;
    if (watched == m_lblVar && event->type() == QEvent::MouseButtonRelease) {
        openVarList();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmInput::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        m_mnuEdit->popup(event->globalPosition().toPoint());
    else if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void frmInput::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}
