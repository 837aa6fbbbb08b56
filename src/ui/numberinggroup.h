#pragma once

#include "engine/jobs/jobinputs.h"

#include <QWidget>

class JobController;
class QCheckBox;
class QComboBox;
class QLineEdit;
class UserChannel;

// The numbering inputs (frNumbering): base name, start number, digits, step,
// separator and "先頭に付加", with the preview below. The boxes keep their own
// input rules: digits only where a number goes, no characters a file name
// cannot hold in the separator, at most 20 digits.
class NumberingGroup : public QWidget
{
    Q_OBJECT

public:
    NumberingGroup(JobController &controller, UserChannel &user, QWidget *parent = nullptr);

    // Follows the controller's inputs, preview and job set-up.
    void refresh();
    // Gives the focus to the box the last Try rejected.
    void focusInput(NumberingInput input);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindInputs();
    bool isDigitsBox(QObject *watched) const;
    bool isStepBox(QObject *watched) const;
    void checkDigits();

    JobController &m_controller;
    UserChannel &m_user;
    bool m_checkingDigits = false;
    QLineEdit *m_txtFileName;
    QLineEdit *m_txtSample;
    QLineEdit *m_txtStNo;
    QComboBox *m_cmbDigits;
    QComboBox *m_cmbStep;
    QLineEdit *m_txtSeparator;
    QCheckBox *m_chkAddTop;
};
