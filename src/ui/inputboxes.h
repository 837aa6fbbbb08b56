#pragma once

#include <QStringList>

class QComboBox;
class QLineEdit;
class QWidget;

// Small helpers the main window's input groups share.
namespace InputBoxes {

// Shows text without the box reporting it as an edit.
void setText(QLineEdit *box, const QString &text);
void setText(QComboBox *box, const QString &text);
// An editable combo box of numbers to pick from or type.
QComboBox *numberCombo(const QString &name, const QStringList &items, QWidget *parent);

} // namespace InputBoxes
