#include "ui/mp3fieldstrip.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

Mp3FieldStrip::Mp3FieldStrip(QTableView *list, int columns, QWidget *parent)
    : QWidget(parent)
    , m_list(list)
{
    for (int column = 0; column < columns; ++column) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtField(%1)").arg(column + 1));
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, column](const QString &text) {
            Q_EMIT fieldEdited(column, text);
        });
        m_fields.push_back(box);
    }
    setFixedHeight(m_fields.front()->sizeHint().height());
    const auto follow = [this] { align(); };
    connect(list->horizontalHeader(), &QHeaderView::sectionResized, this, follow);
    connect(list->horizontalHeader(), &QHeaderView::sectionMoved, this, follow);
    connect(list->horizontalHeader(), &QHeaderView::geometriesChanged, this, follow);
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    list->installEventFilter(this);
}

void Mp3FieldStrip::align()
{
    const QHeaderView *header = m_list->horizontalHeader();
    // The list may sit beside or below the strip: work in the window's coordinates.
    const int origin = m_list->viewport()->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    for (int column = 0; column < fieldCount(); ++column) {
        QLineEdit *box = m_fields[column];
        const int width = header->isSectionHidden(column) ? 0 : header->sectionSize(column);
        box->setVisible(width > 0);
        box->setGeometry(origin + header->sectionViewportPosition(column), 0, width, height());
    }
}

bool Mp3FieldStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show)
            align();
        return false;
    }
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box)
        return false;
    if (event->type() == QEvent::FocusIn) {
        Q_EMIT fieldFocused(box);
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        const auto at = std::find(m_fields.begin(), m_fields.end(), box);
        Q_EMIT fieldDoubleClicked(static_cast<int>(at - m_fields.begin()));
        return true;
    }
    return false;
}

void Mp3FieldStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    align();
}

void Mp3FieldStrip::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    align();
}
