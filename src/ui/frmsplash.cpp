#include "ui/frmsplash.h"

#include "persist/settings.h"
#include "platform/crlf.h"
#include "ui/windowplacement.h"

#include <QLabel>
#include <QMouseEvent>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_lblMsg(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("frmSplash { background: #fffbe6; border: 1px solid #8a7a3a; }"));
    m_lblMsg->setObjectName(QStringLiteral("lblMsg"));
    m_lblMsg->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblMsg->installEventFilter(this);
    m_timer1.setSingleShot(true);
    connect(&m_timer1, &QTimer::timeout, this, &QWidget::close);
}

int frmSplash::heightTwips(int labelTopTwips, const QString &message)
{
    const int lines = static_cast<int>(message.count(QLatin1Char('\n'))) + 1;
    return labelTopTwips + lines * 500 + 50;
}

QString frmSplash::message() const
{
    return m_lblMsg->text();
}

void frmSplash::showMessage(const QString &message, int displayMs)
{
    QString text = message;
    text.replace(CrLf, QStringLiteral("\n"));
    m_lblMsg->setText(text);

    const double dpi = logicalDpiY();
    const int height = PixelsFromTwips(heightTwips(LabelTopTwips, text), dpi);
    const int width = std::max(PixelsFromTwips(4800, logicalDpiX()), m_lblMsg->sizeHint().width() + 40);
    resize(width, height);
    m_lblMsg->setGeometry(10, PixelsFromTwips(LabelTopTwips, dpi), width - 20, height - PixelsFromTwips(LabelTopTwips, dpi));

    m_timer1.stop();
    if (displayMs > 0)
        m_timer1.start(displayMs);

    CentreOnPointer(this);
    show();
    raise();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lblMsg) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton)
                m_dragOffset = mouse->globalPosition().toPoint() - pos();
        } else if (event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() & Qt::LeftButton)
                move(mouse->globalPosition().toPoint() - m_dragOffset);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::hideEvent(QHideEvent *event)
{
    m_timer1.stop();
    QWidget::hideEvent(event);
    Q_EMIT closed();
}
