#include "platform/consoleuserchannel.h"

#include "platform/crlf.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> signalled{false};

void stopOnSignal(int)
{
    signalled.store(true);
}

} // namespace

bool ConsoleUserChannel::stopRequested() const
{
    return signalled.load();
}

void ConsoleUserChannel::stopOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = stopOnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int ConsoleUserChannel::message(const MessageRequest &request)
{
    QString text = QStringLiteral("[%1] %2").arg(request.title, request.prompt);
    const int answer = request.safeAnswer();
    if (MessageStyle::buttons(request.style) != MessageStyle::OkOnly)
        text += answer == MessageAnswer::No ? QStringLiteral(" -> No") : QStringLiteral(" -> Cancel");
    // "Go ahead?" questions offer Cancel; the Yes/No ones ask about extras.
    if (answer == MessageAnswer::Cancel)
        ++m_declined;
    print(text);
    return answer;
}

void ConsoleUserChannel::showStatus(const QString &text, int, bool)
{
    if (!text.isEmpty())
        print(text);
}

void ConsoleUserChannel::showErrorList(const QString &title, const QString &text)
{
    print(QStringLiteral("[%1]\n%2").arg(title, text));
}

void ConsoleUserChannel::print(const QString &text)
{
    QString lines = text;
    lines.replace(CrLf, QStringLiteral("\n"));
    std::fputs(lines.toUtf8().constData(), m_out);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}
