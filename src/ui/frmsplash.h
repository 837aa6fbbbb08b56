#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

class QLabel;

// The small borderless status window near the mouse pointer. It shows one
// message, can close itself after a given time, and is dragged by its text.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Shows message; displayMs > 0 closes the window after that time.
    void showMessage(const QString &message, int displayMs);
    QString message() const;

    // The height in twips for a message: the label's top, 500 twips per line, and 50.
    static int heightTwips(int labelTopTwips, const QString &message);

    static constexpr int LabelTopTwips = 120;

Q_SIGNALS:
    void closed();

protected:
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_lblMsg;
    QTimer m_timer1;
    QPoint m_dragOffset;
};
