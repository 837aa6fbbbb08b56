#include "engine/renamerowlist.h"
#include "ui/frmmain.h"
#include "ui/frmsplash.h"
#include "ui/qtuserchannel.h"
#include "ui/renamerowmodel.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstWindow();
    void hiddenColumnsShowInDebug();
    void listFollowsRows();
    void folderHeaders();
    void statusWindow();
};

void TestMainWindow::firstWindow()
{
    RenameRowList rows;
    QtUserChannel user;
    frmMain window(rows, user, false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.windowTitle().startsWith(QStringLiteral("Corvane ")));
    QCOMPARE(window.cmbTarget()->count(), 6);
    QCOMPARE(window.cmbTarget()->currentText(), QStringLiteral("ファイル名置換"));
    QCOMPARE(window.cmdSetInf()->text(), QStringLiteral("試行"));
    QCOMPARE(window.cmdSetFile()->text(), QStringLiteral("実行"));
    QCOMPARE(window.cmdRestore()->text(), QStringLiteral("元に戻す"));
    QCOMPARE(window.cmdRestore()->objectName(), QStringLiteral("cmd元に戻す"));
    QVERIFY(!window.cmdSetFile()->toolTip().isEmpty());
    for (int column = 0; column < RenameRow::FieldCount; ++column)
        QCOMPARE(window.listV()->isColumnHidden(column), column >= 6);
    QCOMPARE(window.listModel()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("サイズ(Byte)"));
    window.close();
}

void TestMainWindow::hiddenColumnsShowInDebug()
{
    RenameRowList rows;
    QtUserChannel user;
    frmMain window(rows, user, true);
    for (int column = 0; column < RenameRow::FieldCount; ++column)
        QVERIFY(!window.listV()->isColumnHidden(column));
    QCOMPARE(window.listModel()->headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("オリジナルファイル名"));
}

void TestMainWindow::listFollowsRows()
{
    RenameRowList rows;
    QtUserChannel user;
    frmMain window(rows, user, false);
    RenameRow row;
    row[RenameField::NewName] = QStringLiteral("写真.jpg");
    row[RenameField::CurrentName] = QStringLiteral("写真.jpg");
    for (int at = 0; at < 1000; ++at)
        rows.append(row);
    QCOMPARE(window.listModel()->rowCount(), 1000);
    rows.setField(500, RenameField::NewName, QStringLiteral("新.jpg"));
    QCOMPARE(window.listModel()->index(499, 0).data().toString(), QStringLiteral("新.jpg"));
    rows.remove(1);
    QCOMPARE(window.listModel()->rowCount(), 999);
    rows.clear();
    QCOMPARE(window.listModel()->rowCount(), 0);
}

void TestMainWindow::folderHeaders()
{
    RenameRowList rows;
    RenameRowModel model(rows);
    model.setFolderHeaders(true);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("変更後のフォルダ名"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("元のフォルダ名"));
    model.setFolderHeaders(false);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("変更後のファイル名"));
}

void TestMainWindow::statusWindow()
{
    // Two line breaks: three lines of 500 twips below the label, plus 50.
    QCOMPARE(frmSplash::heightTwips(120, QStringLiteral("a\r\nb\r\nc")), 120 + 1500 + 50);
    QCOMPARE(frmSplash::heightTwips(120, QStringLiteral("one line")), 120 + 500 + 50);

    QtUserChannel user;
    user.showStatus(QStringLiteral("上書き保存しました！\r\nx.dat"), 200, false);
    QVERIFY(user.statusOpen());
    QCOMPARE(user.statusText(), QStringLiteral("上書き保存しました！\nx.dat"));
    QTRY_VERIFY_WITH_TIMEOUT(!user.statusOpen(), 3000);

    user.showStatus(QStringLiteral("ファイル処理中"), 0, false);
    QVERIFY(user.statusOpen());
    user.showStatus(QString(), 0, false);
    QVERIFY(!user.statusOpen());
    user.showStatus(QString(), 0, false);
    QVERIFY(!user.statusOpen());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
