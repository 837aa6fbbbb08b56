#include "engine/listcommands.h"
#include "engine/renamerowlist.h"
#include "engine/sortstate.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/textengine.h"

#include <QTest>

namespace {

RenameRowList listOf(const QStringList &names)
{
    RenameRowList rows;
    for (const QString &name : names) {
        RenameRow row;
        row[RenameField::NewName] = name;
        row[RenameField::CurrentName] = name;
        row[RenameField::Size] = QString::number(name.size());
        rows.append(row);
    }
    return rows;
}

QStringList namesOf(const RenameRowList &rows)
{
    QStringList names;
    for (const RenameRow &row : rows.rows())
        names << row[RenameField::CurrentName];
    return names;
}

QList<int> selectionOf(const RenameRowList &rows)
{
    QList<int> selected;
    for (int index = 1; index <= rows.count(); ++index) {
        if (rows.isSelected(index))
            selected << index;
    }
    return selected;
}

} // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data();
    void move();
    void copyText();
    void sortOrderToggles();
    void sortKeys();
};

void TestListCommands::move_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::newRow("first row stops the rest") << -1 << QList<int>{1, 3} << QStringList{"a", "b", "c", "d"}
                                              << QList<int>{1, 3};
    QTest::newRow("block moves up") << -1 << QList<int>{2, 3} << QStringList{"b", "c", "a", "d"} << QList<int>{1, 2};
    QTest::newRow("block moves down") << +1 << QList<int>{1, 2} << QStringList{"c", "a", "b", "d"} << QList<int>{2, 3};
    QTest::newRow("last row stops") << +1 << QList<int>{4} << QStringList{"a", "b", "c", "d"} << QList<int>{4};
}

void TestListCommands::move()
{
    QFETCH(int, step);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, order);
    QFETCH(QList<int>, selectedAfter);
    RenameRowList rows = listOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    for (int index : selected)
        rows.setSelected(index, true);
    const bool moves = order != QStringList{"a", "b", "c", "d"};
    QCOMPARE(ListCommands::moveSelected(rows, step), moves);
    QCOMPARE(namesOf(rows), order);
    QCOMPARE(selectionOf(rows), selectedAfter);
}

void TestListCommands::copyText()
{
    RenameRowList rows = listOf({QStringLiteral("a"), QStringLiteral("b")});
    const QStringList headers = {QStringLiteral("H0"), QStringLiteral("H1"), QStringLiteral("H2")};
    QCOMPARE(ListCommands::copyText(rows, headers, 3), QStringLiteral("H0\tH1\tH2\t\r\n"));
    rows.setSelected(2, true);
    QCOMPARE(ListCommands::copyText(rows, headers, 3), QStringLiteral("H0\tH1\tH2\t\r\nb\tb\t\t\r\n"));
}

void TestListCommands::sortOrderToggles()
{
    SortState state;
    // A second click on the same column sorts descending; another column starts ascending.
    QVERIFY(!state.click(0));
    QVERIFY(state.click(0));
    QVERIFY(!state.click(3));
    state.forget();
    QVERIFY(!state.click(3));

    RenameRowList rows = listOf({QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c")});
    for (int index = 1; index <= rows.count(); ++index)
        rows.editRow(index)[RenameField::SortKey] = rows.field(index, RenameField::CurrentName);
    ListCommands::sortByKey(rows, static_cast<int>(RenameField::SortKey), false);
    QCOMPARE(namesOf(rows), QStringList({QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")}));
    ListCommands::sortByKey(rows, static_cast<int>(RenameField::SortKey), true);
    QCOMPARE(namesOf(rows), QStringList({QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("A")}));
}

void TestListCommands::sortKeys()
{
    ScriptedUserChannel user;
    LinuxFileSystem files;
    TextEngine text(user, files);
    QCOMPARE(SortState::sortKey(text, QStringLiteral("a9"), true), QStringLiteral("a00000000009"));
    QVERIFY(SortState::sortKey(text, QStringLiteral("a9"), true) < SortState::sortKey(text, QStringLiteral("a10"), true));
    QCOMPARE(SortState::sortKey(text, QStringLiteral("1,234,567"), false), QStringLiteral("00001234567"));
    QVERIFY(user.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestListCommands)
#include "tst_listcommands.moc"
