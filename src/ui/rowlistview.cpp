#include "ui/rowlistview.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QUrl>

RowListView::RowListView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
}

QString RowListView::rowMoveFormat()
{
    return QStringLiteral("application/x-corvane-rows");
}

void RowListView::setEmptyHint(const QString &hint)
{
    if (hint == m_emptyHint)
        return;
    m_emptyHint = hint;
    viewport()->update();
}

void RowListView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_emptyHint.isEmpty() || !model() || model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().height();
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignCenter | Qt::TextWordWrap, m_emptyHint);
}

void RowListView::bindRows(QAbstractItemModel *model, RowFlags flags, bool rowMoves)
{
    m_flags = std::move(flags);
    m_rowMoves = rowMoves;
    // Structural changes come before the selection model hears of them, so
    // the selection model's own clean-up never reaches the rows.
    const auto begin = [this] { m_structural = true; };
    const auto end = [this] {
        m_structural = false;
        scheduleSync();
    };
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, begin);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, begin);
    connect(model, &QAbstractItemModel::rowsInserted, this, end);
    connect(model, &QAbstractItemModel::rowsRemoved, this, end);
    connect(model, &QAbstractItemModel::modelReset, this, end);
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { scheduleSync(); });
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &RowListView::writeSelection);
}

void RowListView::writeSelection(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_syncing || m_structural || !m_flags.count)
        return;
    const int count = m_flags.count();
    const auto write = [&](const QItemSelection &ranges, bool on) {
        for (const QItemSelectionRange &range : ranges) {
            for (int row = range.top(); row <= range.bottom() && row < count; ++row)
                m_flags.setSelected(row + 1, on);
        }
    };
    write(deselected, false);
    write(selected, true);
}

void RowListView::scheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_syncPending)
            syncSelection();
    });
}

void RowListView::syncSelection()
{
    m_syncPending = false;
    if (!m_flags.count || !model())
        return;
    const int count = std::min(m_flags.count(), model()->rowCount());
    const int lastColumn = model()->columnCount() - 1;
    QItemSelection selection;
    int top = -1;
    for (int row = 0; row <= count; ++row) {
        const bool on = row < count && m_flags.isSelected(row + 1);
        if (on && top < 0)
            top = row;
        if (!on && top >= 0) {
            selection.select(model()->index(top, 0), model()->index(row - 1, lastColumn));
            top = -1;
        }
    }
    m_syncing = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

int RowListView::dropRowAt(QPoint viewportPoint) const
{
    const QModelIndex index = indexAt(viewportPoint);
    return index.isValid() ? index.row() + 1 : 0;
}

void RowListView::startDrag(Qt::DropActions)
{
    if (!m_rowMoves || selectionModel()->selectedRows().isEmpty())
        return;
    Q_EMIT rowMoveStarted();
    auto *data = new QMimeData;
    data->setData(rowMoveFormat(), QByteArray());
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

bool RowListView::acceptable(const QMimeData *data) const
{
    return data->hasUrls() || (m_rowMoves && data->hasFormat(rowMoveFormat()));
}

void RowListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptable(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void RowListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptable(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void RowListView::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    const int row = dropRowAt(event->position().toPoint());
    if (m_rowMoves && data->hasFormat(rowMoveFormat()) && event->source() == this) {
        event->acceptProposedAction();
        Q_EMIT rowsDropped(row);
        return;
    }
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT pathsDropped(paths, row);
}

void RowListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        Q_EMIT deletePressed();
        return;
    }
    QTableView::keyPressEvent(event);
}
