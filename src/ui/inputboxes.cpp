#include "ui/inputboxes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace InputBoxes {

void setText(QLineEdit *box, const QString &text)
{
    if (box->text() == text)
        return;
    const QSignalBlocker blocker(box);
    box->setText(text);
}

void setText(QComboBox *box, const QString &text)
{
    if (box->currentText() == text)
        return;
    const QSignalBlocker blocker(box);
    box->setEditText(text);
}

QComboBox *numberCombo(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setMinimumContentsLength(4);
    return box;
}

} // namespace InputBoxes
