#include "ui/datetimebox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

DateTimeBox::DateTimeBox(const QString &format, QWidget *parent)
    : QDateTimeEdit(parent)
{
    setDisplayFormat(format);
}

bool DateTimeBox::wholeTextSelected() const
{
    const QLineEdit *edit = lineEdit();
    return sectionCount() > 1 && edit->hasSelectedText() && edit->selectedText().size() == edit->text().size();
}

void DateTimeBox::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const QChar key = typed.size() == 1 ? typed.at(0) : QChar();
    const bool digit = key.isDigit();
    const bool separator = !key.isNull() && !key.isLetterOrNumber() && displayFormat().contains(key);
    if (std::exchange(m_movedOn, false) && separator) {
        event->accept();
        return;
    }
    if (digit && wholeTextSelected())
        setSelectedSection(sectionAt(0));
    const int section = currentSectionIndex();
    QDateTimeEdit::keyPressEvent(event);
    m_movedOn = digit && currentSectionIndex() != section;
}
