#include "ui/renamerowdelegate.h"
#include "ui/renamerowmodel.h"

#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class TestRenameRowDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellsLookAsTheStyleDrawsThem();
};

// The list draws its cells' text itself, laid out once; a cell with nothing
// to mark must look exactly as the style draws it: placed, aligned, elided,
// coloured, in its font, selected and focused alike.
void TestRenameRowDelegate::cellsLookAsTheStyleDrawsThem()
{
    QStandardItemModel model(4, 3);
    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("写真_2024_0001.jpg"),
                            QStringLiteral("a very long name that cannot fit into its column at all.txt"),
                            QStringLiteral("ملف 12 (نسخة).txt")};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            auto *item = new QStandardItem(names[(row + column) % 4]);
            item->setData(item->text(), RenameRowModel::CurrentNameRole);
            if (column == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row == column)
                item->setForeground(QColor(0xc0, 0x20, 0x20));
            if (row == 2 && column == 0) {
                QFont italic;
                italic.setItalic(true);
                item->setFont(italic);
            }
            model.setItem(row, column, item);
        }
    }
    QTableView view;
    view.setModel(&model);
    view.setWordWrap(false);
    view.setAlternatingRowColors(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.resize(420, 200);
    view.selectRow(1);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Where the list's drawing differs from the style's.
    const auto differences = [&view] {
        view.setItemDelegate(new QStyledItemDelegate(&view));
        const QImage byStyle = view.viewport()->grab().toImage();
        view.setItemDelegate(new RenameRowDelegate(&view));
        const QImage byList = view.viewport()->grab().toImage();
        QRect where;
        for (int y = 0; y < byStyle.height(); ++y) {
            for (int x = 0; x < byStyle.width(); ++x) {
                if (byList.pixel(x, y) != byStyle.pixel(x, y))
                    where |= QRect(x, y, 1, 1);
            }
        }
        return where;
    };
    QCOMPARE(differences(), QRect());
    // A run disables the list.
    view.setEnabled(false);
    QCOMPARE(differences(), QRect());
    view.setEnabled(true);
    view.setLayoutDirection(Qt::RightToLeft);
    QCOMPARE(differences(), QRect());
    view.setLayoutDirection(Qt::LeftToRight);

    // A planned name is marked in its own cell, and nowhere else.
    model.item(0, 0)->setData(QStringLiteral("b.txt"), RenameRowModel::CurrentNameRole);
    const QRect marked = differences();
    QVERIFY(!marked.isEmpty());
    QVERIFY(view.visualRect(model.index(0, 0)).contains(marked));
}

QTEST_MAIN(TestRenameRowDelegate)
#include "tst_renamerowdelegate.moc"
