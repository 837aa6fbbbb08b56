#include "planfixture.h"

#include <QTest>

class TestPlanReplace : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void nothingToChange()
    {
        PlanFixture f;
        f.addRows({u"a.txt"_qs, u"b.txt"_qs});
        f.states.executeEnabled = f.states.restoreEnabled = true;
        QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::NothingToChange);
        QCOMPARE(f.user.prompts(), QStringList{u"置換できるファイルはありませんでした。"_qs});
        QCOMPARE(f.user.messages.first().title, u"置換無し"_qs);
        QCOMPARE(f.commands(), u"100"_qs);

        // Under no-confirm nothing is said.
        f.user.clear();
        f.options.noConfirm = true;
        QCOMPARE(f.plan(JobKind::FolderRename, false), TryResult::NothingToChange);
        QVERIFY(f.user.messages.isEmpty());
    }

    void faultsAreListedTogether()
    {
        PlanFixture f;
        f.addPlannedRow(u"ok.txt"_qs, u"new.txt"_qs);
        f.addPlannedRow(u"b.txt"_qs, QString());
        f.addPlannedRow(u"c.txt"_qs, u".."_qs);
        f.addPlannedRow(u"d.txt"_qs, u"d.txt"_qs);
        f.addPlannedRow(u"e.txt"_qs, u"10:30.txt"_qs);
        f.rows.setSelected(4, true);
        QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::Invalid);
        QCOMPARE(f.selectedRows(), (QList<int>{2, 3, 5}));
        QCOMPARE(f.user.messages.size(), 1);
        QVERIFY(f.user.messages.first().plain);
        QCOMPARE(f.user.lastPrompt(), u"2 　置換後のファイル名が空白になります！\r\n\r\n"
                                      "3 　「.」 のみは使用できません。\r\n\r\n"
                                      "5 /data/10:30.txt\r\n"
                                      "　　置換後の文字列にファイル名として使用できない文字が含まれます！\r\n"
                                      "　　使用できない文字 ： /:*?\\|<>\"\r\n\r\n\r\n"_qs);
        QCOMPARE(f.commands(), u"001"_qs);
    }

    void collisions_data()
    {
        QTest::addColumn<QStringList>("planned");
        QTest::addColumn<QString>("secondFolder");
        QTest::addColumn<QList<int>>("selected");

        QTest::newRow("case differs") << QStringList{"A", "a"} << "/data" << QList<int>{};
        // Case variants sorting between two equal paths must not hide them.
        QTest::newRow("A a A") << QStringList{"A", "a", "A"} << "/data" << QList<int>{1, 3};
        QTest::newRow("a A b a") << QStringList{"a", "A", "b", "a"} << "/data" << QList<int>{1, 4};
        QTest::newRow("two groups") << QStringList{"x", "X", "X", "x", "x"} << "/data" << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("other folders") << QStringList{"x", "x"} << "/data/sub" << QList<int>{};
        // An unchanged row keeps its name, and another row may not take it.
        QTest::newRow("onto an unchanged row") << QStringList{"r2", "r2"} << "/data" << QList<int>{1, 2};
    }

    void collisions()
    {
        QFETCH(QStringList, planned);
        QFETCH(QString, secondFolder);
        QFETCH(QList<int>, selected);
        PlanFixture f;
        for (int at = 0; at < planned.size(); ++at)
            f.addPlannedRow(u"r%1"_qs.arg(at + 1), planned[at], at == 1 ? secondFolder : u"/data"_qs);

        if (selected.isEmpty()) {
            QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::Planned);
            QVERIFY(f.user.messages.isEmpty());
            return;
        }
        QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::Duplicate);
        QCOMPARE(f.selectedRows(), selected);
        QCOMPARE(f.user.lastPrompt(), u"ファイル名重複・・変更不可！\r\n\r\n-- リストの反転表示行 --\r\n\r\n"
                                      "「元に戻す」をクリック後、条件を再設定して下さい。"_qs);
        QCOMPARE(f.commands(), u"001"_qs);
    }

    void plannedRunSelectsChangedRows()
    {
        for (const bool unattended : {false, true}) {
            PlanFixture f;
            f.addPlannedRow(u"a.txt"_qs, u"a.txt"_qs);
            f.addPlannedRow(u"b.txt"_qs, u"B.txt"_qs);
            f.addPlannedRow(u"c.txt"_qs, u"c.txt"_qs);
            f.rows.setSelected(1, true);
            QCOMPARE(f.plan(JobKind::FileNameReplace, false, unattended), TryResult::Planned);
            QCOMPARE(f.selectedRows(), QList<int>{2});
            QCOMPARE(f.commands(), u"011"_qs);
            if (unattended)
                QVERIFY(f.user.messages.isEmpty());
            else
                QVERIFY(f.user.lastPrompt().startsWith(u"試行完了！\r\n\r\n"_qs));
        }
    }

    // A replace text that failed to expand, or a search the engine rejects,
    // stops the run and leaves the earlier plan as it was.
    void failureStopsTheRun_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<int>("messages");
        QTest::newRow("replace text failed") << "a" << ErrorMarker << 0;
        QTest::newRow("pattern rejected") << "(" << "x" << 1;
        QTest::newRow("function failed") << "a" << "MOD(7,0)" << 1;
    }

    void failureStopsTheRun()
    {
        PlanFixture f;
        f.addPlannedRow(u"a.txt"_qs, u"earlier-a"_qs);
        f.addPlannedRow(u"b.txt"_qs, u"earlier-b"_qs);
        QFETCH(QString, search);
        QFETCH(QString, replace);
        f.inputs.searchText = search;
        f.inputs.replaceText = replace;
        QCOMPARE(f.plan(JobKind::FileNameReplace, false), TryResult::Invalid);
        QCOMPARE(f.column(RenameField::NewName), (QStringList{u"earlier-a"_qs, u"earlier-b"_qs}));
        QTEST(int(f.user.messages.size()), "messages");
        QCOMPARE(f.commands(), u"001"_qs);
    }

    void lineBreakFaultsItsRowOnly()
    {
        PlanFixture f;
        f.addRows({u"a\nb.txt"_qs, u"c.txt"_qs});
        f.inputs.searchText = u"c"_qs;
        f.inputs.replaceText = u"d"_qs;
        QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::Invalid);
        QCOMPARE(f.selectedRows(), QList<int>{1});
        QCOMPARE(f.column(RenameField::NewName), (QStringList{u"a\nb.txt"_qs, u"d.txt"_qs}));
        QCOMPARE(f.user.lastPrompt(), u"1 　ファイル名に改行が含まれるため置換できません。\r\n\r\n"_qs);
    }

    void replaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<QString>("planned");

        QTest::newRow("case kept") << "abc.txt" << "B" << "x" << false << "abc.txt";
        QTest::newRow("case ignored") << "abc.txt" << "B" << "x" << true << "axc.txt";
        // The capture comes from the first match found ignoring case ("Xa"), the
        // replace from the first exact one ("xb").
        QTest::newRow("capture ignores case") << "Xa_xb" << "x(.)" << "[$1]" << false << "Xa_[a]";
        QTest::newRow("FileName any case") << "a.txt" << "^.*$" << "<FILENAME>-<fileName>" << false << "a.txt-a.txt";
        QTest::newRow("row number") << "a.txt" << "^" << "Row()_" << false << "1_a.txt";
        // Names are data: no escapes, no $-tokens, whatever they hold.
        QTest::newRow("backslash in a group") << "a\\x41.txt" << "^(.*)\\.txt$" << "$1.doc" << false << "a\\x41.doc";
        QTest::newRow("dollar in a group") << "a$&b.txt" << "^(.*)\\.txt$" << "$1.doc" << false << "a$&b.doc";
        QTest::newRow("backslash in FileName") << "x\\u0009y" << "^.*$" << "<FileName>.bak" << false << "x\\u0009y.bak";
    }

    void replaces()
    {
        PlanFixture f;
        QFETCH(QString, name);
        QFETCH(QString, search);
        QFETCH(QString, replace);
        QFETCH(bool, ignoreCase);
        QFETCH(QString, planned);
        f.addRows({name});
        f.inputs.searchText = search;
        f.inputs.replaceText = replace;
        f.options.ignoreCase = ignoreCase;
        const TryResult result = f.plan(JobKind::FileNameReplace);
        QCOMPARE(f.rows.field(1, RenameField::NewName), planned);
        // A backslash reaches the name as it stood, where the name check refuses it.
        QCOMPARE(result, planned.contains(u'\\') ? TryResult::Invalid
                         : planned == name      ? TryResult::NothingToChange
                                                : TryResult::Planned);
    }
};

QTEST_GUILESS_MAIN(TestPlanReplace)
#include "tst_planreplace.moc"
