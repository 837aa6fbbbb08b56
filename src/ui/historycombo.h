#pragma once

#include <QComboBox>

#include "engine/jobs/jobinputs.h"

class JobController;

// A search or replace box: free text with a drop-down list that is rebuilt
// from the box's history each time it opens. Delete on a highlighted entry of
// the open list removes it from the list and from the history.
class HistoryCombo : public QComboBox
{
    Q_OBJECT

public:
    // field: the input whose history the box offers.
    HistoryCombo(JobController &controller, QString JobInputs::*field, QWidget *parent = nullptr);

    void showPopup() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void removeHighlighted();

    JobController &m_controller;
    QString JobInputs::*m_field;
};
