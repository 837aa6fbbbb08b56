#include "ui/qtuserchannel.h"

#include "platform/crlf.h"
#include "platform/showmessage.h"
#include "ui/frmsplash.h"
#include "ui/messagedialog.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// Progress steps come far more often than a screen can show them: between two
// pumps this far apart the window is painted once, and Stop is still felt at once.
constexpr qint64 pumpIntervalMs = 40;
// A run over sooner than this never shows its busy look: a load of many
// thousand files would otherwise flash the window grey and back in a blink.
constexpr qint64 firstPumpMs = 200;

} // namespace

QtUserChannel::QtUserChannel() = default;

QtUserChannel::~QtUserChannel()
{
    delete m_splash;
}

void QtUserChannel::setProgressWidgets(QWidget *frame, QProgressBar *bar)
{
    m_progressFrame = frame;
    m_progressBar = bar;
}

int QtUserChannel::message(const MessageRequest &request)
{
    MessageDialog box(request);
    // Qt has no system-modal boxes: application-modal and above every window.
    box.setWindowModality(Qt::ApplicationModal);
    if (!request.plain)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (request.atPointer) {
        box.adjustSize();
        CentreOnPointer(&box);
    }
    const int answer = box.ask();
    // The next pump must go through, so that the box leaves no trace behind it.
    m_nextPump = QDeadlineTimer(0);
    return answer;
}

void QtUserChannel::setStatusBar(QStatusBar *bar)
{
    m_statusBar = bar;
}

void QtUserChannel::showStatus(const QString &text, int displayMs, bool modal)
{
    if (m_statusBar)
        m_statusBar->showMessage(QString(text).replace(CrLf, QStringLiteral(" ")), displayMs);
    // A status pumps events as progress does, at most once an interval: the
    // texts a quick load shows one after the other cost one paint of the
    // window, not one each.
    if (text.isEmpty()) {
        if (m_splash && m_splash->isVisible())
            m_splash->close();
        processEvents();
        return;
    }
    if (!m_splash)
        m_splash = new frmSplash;
    m_splash->showMessage(text, displayMs);
    processEvents();
    if (modal) {
        QEventLoop loop;
        QObject::connect(m_splash, &frmSplash::closed, &loop, &QEventLoop::quit);
        if (m_splash->isVisible())
            loop.exec();
    }
}

bool QtUserChannel::statusOpen() const
{
    return m_splash && m_splash->isVisible();
}

QString QtUserChannel::statusText() const
{
    return m_splash ? m_splash->message() : QString();
}

void QtUserChannel::setProgressMaximum(int maximum)
{
    // 0: the amount of work is not known yet; the bar shows that it is busy.
    if (m_progressBar)
        m_progressBar->setRange(0, std::max(0, maximum));
}

void QtUserChannel::setProgressValue(int value)
{
    if (!m_progressBar)
        return;
    // QProgressBar repaints at once, and with it all of the window that waits
    // for paint; the next event pump paints it with the rest instead.
    m_progressBar->setUpdatesEnabled(false);
    m_progressBar->setValue(std::min(value, m_progressBar->maximum()));
    m_progressBar->setUpdatesEnabled(true);
}

void QtUserChannel::setProgressVisible(bool visible)
{
    if (m_progressFrame)
        m_progressFrame->setVisible(visible);
}

void QtUserChannel::showErrorList(const QString &title, const QString &text)
{
    auto *window = new QDialog;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    auto *layout = new QVBoxLayout(window);
    auto *view = new QPlainTextEdit(window);
    QString lines = text;
    lines.replace(CrLf, QStringLiteral("\n"));
    view->setPlainText(lines);
    view->setReadOnly(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    layout->addWidget(view);
    layout->addWidget(buttons);
    window->resize(560, 360);
    window->show();
}

void QtUserChannel::processEvents()
{
    if (m_nextPump.hasExpired())
        pumpEvents();
}

void QtUserChannel::pumpEvents()
{
    QCoreApplication::processEvents();
    m_nextPump.setRemainingTime(pumpIntervalMs);
}

void QtUserChannel::setRunning(bool running)
{
    m_nextPump = QDeadlineTimer(running ? firstPumpMs : 0);
    if (running)
        m_stopRequested = false;
}
