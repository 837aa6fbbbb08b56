#pragma once

#include <QDateTimeEdit>

// A date or a time box that takes a whole value typed over it, such as
// "2024/08/15" or "10:00:00". Qt's editor types into one section at a time:
// over a fully selected text it keeps only the last sections, and a separator
// typed after a section that filled up (and so moved on by itself) skips the
// next section. Here typing over the whole text starts in the first section,
// and that separator only confirms the move.
class DateTimeBox : public QDateTimeEdit
{
    Q_OBJECT

public:
    DateTimeBox(const QString &format, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool wholeTextSelected() const;

    bool m_movedOn = false;
};
