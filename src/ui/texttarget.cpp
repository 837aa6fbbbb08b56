#include "ui/texttarget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

QLineEdit *lineEditOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line;
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->lineEdit();
    return nullptr;
}

}

TextTarget::TextTarget(QWidget *box)
    : m_box(box)
{
}

bool TextTarget::isValid() const
{
    return lineEditOf(m_box) || qobject_cast<QPlainTextEdit *>(m_box);
}

QString TextTarget::text() const
{
    if (auto *line = lineEditOf(m_box))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(m_box))
        return plain->toPlainText();
    return {};
}

void TextTarget::setText(const QString &text)
{
    if (auto *line = lineEditOf(m_box))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(m_box))
        plain->setPlainText(text);
}

int TextTarget::caret() const
{
    if (auto *line = lineEditOf(m_box))
        return line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(m_box))
        return plain->textCursor().selectionStart();
    return 0;
}

int TextTarget::selectionLength() const
{
    if (auto *line = lineEditOf(m_box))
        return line->selectedText().size();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(m_box)) {
        const QTextCursor cursor = plain->textCursor();
        return cursor.selectionEnd() - cursor.selectionStart();
    }
    return 0;
}

void TextTarget::setCaret(int position)
{
    if (auto *line = lineEditOf(m_box)) {
        line->setCursorPosition(position);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(m_box)) {
        QTextCursor cursor = plain->textCursor();
        cursor.setPosition(position);
        plain->setTextCursor(cursor);
    }
}

QString TextTarget::caretText() const
{
    return QString::number(caret()) + u'\t' + QString::number(selectionLength());
}
