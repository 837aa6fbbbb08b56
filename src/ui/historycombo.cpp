#include "ui/historycombo.h"

#include "engine/inputhistory.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

HistoryCombo::HistoryCombo(InputHistory &history, std::function<bool()> regOrder, QWidget *parent)
    : QComboBox(parent)
    , m_history(history)
    , m_regOrder(std::move(regOrder))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The box holds what the user typed; the list only offers texts.
    setCompleter(nullptr);
    view()->installEventFilter(this);
}

void HistoryCombo::showPopup()
{
    const QString text = currentText();
    const int caret = lineEdit()->cursorPosition();
    {
        const QSignalBlocker blocker(this);
        clear();
        addItems(m_history.rebuildDropDown(m_regOrder && m_regOrder()));
        setCurrentIndex(-1);
        setEditText(text);
        lineEdit()->setCursorPosition(caret);
    }
    QComboBox::showPopup();
}

bool HistoryCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        removeHighlighted();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void HistoryCombo::removeHighlighted()
{
    const QModelIndex current = view()->currentIndex();
    if (!current.isValid())
        return;
    const QString text = current.data().toString();
    const QString kept = currentText();
    m_history.removeFromDropDown(text);
    const QSignalBlocker blocker(this);
    removeItem(current.row());
    setEditText(kept);
}
