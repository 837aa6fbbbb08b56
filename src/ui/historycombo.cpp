#include "ui/historycombo.h"

#include "engine/control/jobcontroller.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

HistoryCombo::HistoryCombo(JobController &controller, QString JobInputs::*field, QWidget *parent)
    : QComboBox(parent)
    , m_controller(controller)
    , m_field(field)
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
        addItems(m_controller.DropDownFor(m_field));
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
    m_controller.RemoveFromDropDown(m_field, text);
    const QSignalBlocker blocker(this);
    removeItem(current.row());
    setEditText(kept);
}
