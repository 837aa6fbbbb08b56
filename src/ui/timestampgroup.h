#pragma once

#include <QWidget>

class JobController;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;

// The time-stamp inputs (frTimeStamp): the first date and time, and the
// minutes each following row adds.
class TimeStampGroup : public QWidget
{
    Q_OBJECT

public:
    explicit TimeStampGroup(JobController &controller, QWidget *parent = nullptr);

    // Follows the controller's inputs and job set-up.
    void refresh();

Q_SIGNALS:
    // Try became available: the EXIF choice changed what a Try would plan.
    void commandsChanged();

private:
    JobController &m_controller;
    QLabel *m_lblTimeStamp;
    QDateTimeEdit *m_dtpDate;
    QDateTimeEdit *m_dtpTime;
    QComboBox *m_cmbMinutes;
    QCheckBox *m_chkExifTime;
};
