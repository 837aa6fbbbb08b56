#pragma once

#include <QComboBox>

#include <functional>

class InputHistory;

// A search or replace box: free text with a drop-down list that is rebuilt
// from the box's history each time it opens. Delete on a highlighted entry of
// the open list removes it from the list and from the history.
class HistoryCombo : public QComboBox
{
    Q_OBJECT

public:
    // regOrder says, when the list opens, whether to sort it ascending.
    HistoryCombo(InputHistory &history, std::function<bool()> regOrder, QWidget *parent = nullptr);

    void showPopup() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void removeHighlighted();

    InputHistory &m_history;
    std::function<bool()> m_regOrder;
};
