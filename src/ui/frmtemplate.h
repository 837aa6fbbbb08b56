#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

class QPlainTextEdit;
class UserChannel;

// The regular-expression template: the user's crib sheet of patterns and
// replace strings in TAB-separated columns. It shows "マイテンプレート.txt"
// from the settings folder, or the shipped parts/テンプレート.txt until the
// user has one; a double-click copies one cell to the clipboard. Changes are
// saved to the user's file on closing, after a question.
//
// Opening from a window: auto *w = new frmTemplate(user, onTop, this);
// w->applyGeometry(saved); connect(w, &frmTemplate::geometryToStore, …); w->show();
class frmTemplate : public QWidget
{
    Q_OBJECT

public:
    frmTemplate(UserChannel &user, bool onTop, QWidget *parent = nullptr);

    static QString userFilePath();
    static QString defaultFilePath();
    // The tab stops (dialog units) of the last "#tabstop = a,b,…" line, at most six.
    static QList<int> tabStopsOf(const QString &text);
    // The cell around a caret position: the text between the nearest TAB or
    // line break before it and the nearest one after it, as [start, end).
    static QPair<int, int> cellAt(const QString &text, int position);

    // Left, top, width and height from the settings, with lower limits 0, 0, 150, 100.
    void applyGeometry(const QRect &saved);

    QPlainTextEdit *textArea() const { return m_text; }
    QString loadedFrom() const { return m_loadedFrom; }
    bool isDirty() const { return m_dirty; }
    QList<int> tabStops() const { return m_tabStops; }
    // Selects the cell around a caret position and copies it to the clipboard.
    QString copyCellAt(int position);

Q_SIGNALS:
    // Emitted on closing with the window's geometry, for the settings.
    void geometryToStore(const QRect &geometry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
    void applyTabStops(const QList<int> &stops);

    UserChannel &m_user;
    QPlainTextEdit *m_text;
    QString m_loadedFrom;
    QList<int> m_tabStops;
    bool m_dirty = false;
};
