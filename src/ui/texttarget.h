#pragma once

#include <QPointer>
#include <QString>

class QWidget;

// A one-line or multi-line box whose text a secondary window edits: a line
// edit, an editable combo box or a plain-text box. A target that is gone or of
// another kind reads as empty and ignores writes.
class TextTarget
{
public:
    TextTarget() = default;
    explicit TextTarget(QWidget *box);

    bool isValid() const;
    QWidget *widget() const { return m_box; }

    QString text() const;
    void setText(const QString &text);
    int caret() const;
    int selectionLength() const;
    void setCaret(int position);
    // The caret position, a TAB and the selection length, as the variable list takes them.
    QString caretText() const;

private:
    QPointer<QWidget> m_box;
};
