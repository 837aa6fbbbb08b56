#pragma once

#include "ui/frmsearch.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;
class UserChannel;

// "データの指定": one column of a list as plain text, one line per row. The
// reference box keeps the values as they were; the edit box is written back
// on "OK", line i to row i (missing lines give empty values, extra lines are
// dropped). In the file-name column, characters a file name cannot hold are
// refused on typing and on applying.
//
// Opening from a window:
//   frmData editor(user, header, values, currentRow, fileNameColumn, this);
//   editor.setSizeTwips(listHeight, listWidth);
//   if (editor.exec() == QDialog::Accepted) { values = editor.values(); … editor.sizeTwips() … }
class frmData : public QDialog
{
    Q_OBJECT

public:
    // The characters no file name may hold; the messages name the first six.
    static const QString ForbiddenCharacters;

    // values: the column's value of every row in list order; currentRow is
    // 1-based; fileNameColumn: the first column of the main list.
    frmData(UserChannel &user, const QString &header, const QStringList &values, int currentRow,
            bool fileNameColumn, QWidget *parent = nullptr);

    // For the MP3 list: the columns "FileName." (1) and "ID3 Ver." (12) cannot
    // be edited here; says so and returns true for them.
    static bool refuseColumn(UserChannel &user, int column, const QString &header);

    // Special characters to their full-width forms.
    static QString toWide(const QString &text);

    void setSizeTwips(int height, int width);
    // The window's height and width when it was closed, for the settings.
    QSize sizeTwips() const { return m_sizeTwips; }
    // The edited values, exactly one per row; valid after "OK".
    QStringList values() const { return m_values; }

    QPlainTextEdit *referenceBox() const { return m_reference; }
    QPlainTextEdit *editBox() const { return m_edit; }
    QPushButton *toWideButton() const { return m_cmdToWide; }
    QPushButton *searchButton() const { return m_cmdSearch; }
    QPushButton *eraseButton() const { return m_cmdErase; }
    frmSearch *searchWindow() const { return m_search; }
    bool isDirty() const { return m_dirty; }

    void accept() override;
    void done(int result) override;
    void replaceWithWide();
    void openSearch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void warnForbidden();
    bool holdsForbidden(const QString &text) const;

    UserChannel &m_user;
    int m_rowCount;
    bool m_fileNameColumn;
    bool m_dirty = false;
    QPlainTextEdit *m_reference;
    QPlainTextEdit *m_edit;
    QPushButton *m_cmdToWide;
    QPushButton *m_cmdSearch;
    QPushButton *m_cmdErase;
    QPointer<frmSearch> m_search;
    QStringList m_values;
    QSize m_sizeTwips;
};
