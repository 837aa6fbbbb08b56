#pragma once

#include <QWidget>

class FileSystem;
class QLineEdit;
class QListWidget;
class QMenu;
class UserChannel;

// The command-file list: every "*.dat" file of a folder. Double-click or
// "選択" chooses one (the window hands back its path and closes); the Delete
// key or "削除" deletes one after a question. It closes without a choice as
// soon as another window comes to the front.
//
// Opening from a window: const QString path = frmList::choose(files, user, CommandFileFolder, this);
// (empty when nothing was chosen), or create one, connect chosen() and show it.
class frmList : public QWidget
{
    Q_OBJECT

public:
    frmList(FileSystem &files, UserChannel &user, const QString &folder, QWidget *parent = nullptr);

    // Opens the list at the pointer, waits until it closes and returns the
    // chosen file's path, or an empty text.
    static QString choose(FileSystem &files, UserChannel &user, const QString &folder, QWidget *parent = nullptr);

    // The names of the "*.dat" files in a folder, sorted ignoring letter case.

    QLineEdit *txtPath() const { return m_txtPath; }
    QListWidget *lstList() const { return m_lstList; }
    QString folder() const { return m_folder; }

    void refill();
    void chooseRow(int row);
    // Asks, deletes the file of that list row and fills the list again.
    void deleteRow(int row);

Q_SIGNALS:
    void chosen(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    FileSystem &m_files;
    UserChannel &m_user;
    QString m_folder;
    QLineEdit *m_txtPath;
    QListWidget *m_lstList;
    QMenu *m_menu;
    bool m_asking = false;
};
