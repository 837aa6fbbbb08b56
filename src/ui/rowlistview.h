#pragma once

#include <QTableView>

#include <functional>

// A list over a row list (ListV, ListV_MP3). The rows' selected flags are the
// truth: what the user selects is written into them at once, and after the
// engine has changed them the view follows (syncSelection). Drops report the
// 1-based row under the pointer, 0 below the last row.
class RowListView : public QTableView
{
    Q_OBJECT

public:
    struct RowFlags
    {
        std::function<int()> count;
        std::function<bool(int)> isSelected;
        std::function<void(int, bool)> setSelected;
    };

    explicit RowListView(QWidget *parent = nullptr);

    // rowMoves: rows may be dragged to another place of the list.
    void bindRows(QAbstractItemModel *model, RowFlags flags, bool rowMoves);
    void syncSelection();
    // The 1-based row a drop at a point of the viewport goes to; 0 below the last row.
    int dropRowAt(QPoint viewportPoint) const;

    static QString rowMoveFormat();
    // What an empty list shows in its middle: how to fill it.
    void setEmptyHint(const QString &hint);
    QString emptyHint() const { return m_emptyHint; }

Q_SIGNALS:
    void pathsDropped(const QStringList &paths, int row);
    void rowMoveStarted();
    void rowsDropped(int row);
    void deletePressed();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void writeSelection(const QItemSelection &selected, const QItemSelection &deselected);
    void scheduleSync();
    bool acceptable(const QMimeData *data) const;

    RowFlags m_flags;
    QString m_emptyHint;
    bool m_rowMoves = false;
    bool m_syncing = false;
    bool m_structural = false;
    bool m_syncPending = false;
};
