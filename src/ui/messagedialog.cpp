#include "ui/messagedialog.h"

#include "platform/crlf.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <vector>

namespace {

using Button = QDialogButtonBox::StandardButton;

// The buttons of a set, in the order the style word counts its default button.
std::vector<Button> buttonsOf(int style)
{
    switch (MessageStyle::buttons(style)) {
    case MessageStyle::OkCancel:
        return {QDialogButtonBox::Ok, QDialogButtonBox::Cancel};
    case MessageStyle::AbortRetryIgnore:
        return {QDialogButtonBox::Abort, QDialogButtonBox::Retry, QDialogButtonBox::Ignore};
    case MessageStyle::YesNoCancel:
        return {QDialogButtonBox::Yes, QDialogButtonBox::No, QDialogButtonBox::Cancel};
    case MessageStyle::YesNo:
        return {QDialogButtonBox::Yes, QDialogButtonBox::No};
    case MessageStyle::RetryCancel:
        return {QDialogButtonBox::Retry, QDialogButtonBox::Cancel};
    default:
        return {QDialogButtonBox::Ok};
    }
}

QStyle::StandardPixmap iconOf(int style)
{
    switch (MessageStyle::icon(style)) {
    case MessageStyle::Critical:
        return QStyle::SP_MessageBoxCritical;
    case MessageStyle::Question:
        return QStyle::SP_MessageBoxQuestion;
    case MessageStyle::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case MessageStyle::Information:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_CustomBase;
    }
}

int answerOf(Button button)
{
    switch (button) {
    case QDialogButtonBox::Ok:
        return MessageAnswer::Ok;
    case QDialogButtonBox::Abort:
        return MessageAnswer::Abort;
    case QDialogButtonBox::Retry:
        return MessageAnswer::Retry;
    case QDialogButtonBox::Ignore:
        return MessageAnswer::Ignore;
    case QDialogButtonBox::Yes:
        return MessageAnswer::Yes;
    case QDialogButtonBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

} // namespace

MessageDialog::MessageDialog(const MessageRequest &request, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(request.title);
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    if (const QStyle::StandardPixmap icon = iconOf(request.style); icon != QStyle::SP_CustomBase) {
        auto *picture = new QLabel(this);
        const int extent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        picture->setPixmap(style()->standardIcon(icon, nullptr, this).pixmap(extent, extent));
        picture->setAlignment(Qt::AlignTop);
        row->addWidget(picture);
    }
    QString prompt = request.prompt;
    prompt.replace(CrLf, QStringLiteral("\n"));
    auto *text = new QLabel(prompt);
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_area = new QScrollArea(this);
    m_area->setWidget(text);
    m_area->setWidgetResizable(true);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize wanted = text->sizeHint();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_area->setMinimumSize(std::min(wanted.width() + scrollBar, screen.width() * 3 / 4),
                           std::min(wanted.height(), screen.height() * 3 / 5));
    row->addWidget(m_area, 1);
    layout->addLayout(row);

    m_buttons = new QDialogButtonBox(this);
    const std::vector<Button> buttons = buttonsOf(request.style);
    for (const Button button : buttons)
        m_buttons->addButton(button);
    const std::size_t wantedDefault = std::size_t(MessageStyle::defaultButton(request.style) >> 8);
    m_buttons->button(buttons[wantedDefault < buttons.size() ? wantedDefault : 0])->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::clicked, this, [this](QAbstractButton *button) {
        m_answer = m_buttons->standardButton(button);
        accept();
    });
    layout->addWidget(m_buttons);
    // Escape and the close box answer Cancel, or the only button of an OK box.
    m_answer = buttons.size() == 1 ? buttons.front() : QDialogButtonBox::Cancel;
}

int MessageDialog::ask()
{
    const Button closed = m_answer;
    if (exec() != QDialog::Accepted)
        m_answer = closed;
    return answerOf(m_answer);
}
