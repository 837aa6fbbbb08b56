#pragma once

#include "platform/userchannel.h"

#include <QDeadlineTimer>
#include <QPointer>

class QProgressBar;
class QStatusBar;
class QWidget;
class frmSplash;

// The user channel of the windowed program: message boxes, the status window,
// the main window's progress frame and the error list window.
class QtUserChannel : public UserChannel
{
public:
    QtUserChannel();
    ~QtUserChannel() override;

    // The main window's progress frame and its bar.
    void setProgressWidgets(QWidget *frame, QProgressBar *bar);
    // The main window's status bar, which repeats what a run is doing.
    void setStatusBar(QStatusBar *bar);

    int message(const MessageRequest &request) override;
    void showStatus(const QString &text, int displayMs, bool modal) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setProgressVisible(bool visible) override;
    void showErrorList(const QString &title, const QString &text) override;
    void processEvents() override;
    void setRunning(bool running) override;
    bool stopRequested() const override { return m_stopRequested; }
    // The Stop button, Escape, or closing the window during a run.
    void requestStop() override { m_stopRequested = true; }

    bool statusOpen() const;
    QString statusText() const;

private:
    void pumpEvents();

    frmSplash *m_splash = nullptr;
    QPointer<QWidget> m_progressFrame;
    QPointer<QProgressBar> m_progressBar;
    QPointer<QStatusBar> m_statusBar;
    bool m_stopRequested = false;
    // When the next event pump may go through: at once after a question, an
    // interval after the last pump, a while after a run starts.
    QDeadlineTimer m_nextPump{0};
};
