#pragma once

#include "platform/messagerequest.h"

#include <QDialog>
#include <QDialogButtonBox>

class QScrollArea;

// The message box of the windowed program. The text sits in a scrolling area
// no taller than most of the screen, so a long error log never pushes the
// buttons out of reach; the default button is the one the style word names,
// counted in the order the button set lists them.
class MessageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MessageDialog(const MessageRequest &request, QWidget *parent = nullptr);

    // Shows the box and returns the answer (MessageAnswer); closing it counts as Cancel.
    int ask();

    QDialogButtonBox *buttonBox() const { return m_buttons; }
    QScrollArea *textArea() const { return m_area; }

private:
    QDialogButtonBox *m_buttons = nullptr;
    QScrollArea *m_area = nullptr;
    QDialogButtonBox::StandardButton m_answer = QDialogButtonBox::Cancel;
};
