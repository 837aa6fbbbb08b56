#pragma once

#include <QWidget>

#include <vector>

class QLineEdit;
class QTableView;

// The template boxes txtField of the MP3 job, one under each column of the
// MP3 list: each stays as wide as its column and follows it as the list
// scrolls sideways and its columns are resized.
class Mp3FieldStrip : public QWidget
{
    Q_OBJECT

public:
    Mp3FieldStrip(QTableView *list, int columns, QWidget *parent = nullptr);

    QLineEdit *field(int column) const { return m_fields.at(column); }
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    void align();

Q_SIGNALS:
    void fieldEdited(int column, const QString &text);
    void fieldDoubleClicked(int column);
    void fieldFocused(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QTableView *m_list;
    std::vector<QLineEdit *> m_fields;
};
