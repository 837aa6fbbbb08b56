#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class JobController;
class QAction;
class QStatusBar;
class RenameRowModel;
class RowListView;

// The live preview of the rows in view: shortly after each edit of an input,
// while its option (a menu entry and its tool bar button) is on, the planned
// names of those rows are shown over them. It never touches the disk, the
// rows or their selection.
class LivePreview : public QObject
{
    Q_OBJECT

public:
    // commandsChanged: the window refreshes its buttons, as a preview withdraws Execute.
    LivePreview(JobController &controller, RowListView *list, RenameRowModel *model, QAction *option,
                QStatusBar *status, std::function<void()> commandsChanged);

    // Previews the rows in view now.
    void show();
    // Takes the preview away; the rows show their own names again.
    void drop();

private:
    JobController &m_controller;
    RowListView *m_list;
    RenameRowModel *m_model;
    QAction *m_option;
    QStatusBar *m_status;
    std::function<void()> m_commandsChanged;
    QTimer m_timer;
};
