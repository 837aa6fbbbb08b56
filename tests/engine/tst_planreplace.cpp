#include "engine/planjob.h"
#include "planfixture.h"

#include <QTest>

namespace {

// Rows as an earlier Try left them: each row's planned name beside its current one.
void addPlannedRows(PlanFixture &f, const QList<QPair<QString, QString>> &currentAndPlanned,
                    const QString &folder = QStringLiteral("/data"))
{
    for (const auto &[current, planned] : currentAndPlanned) {
        f.addRows({current}, folder);
        f.rows.editRow(f.rows.count())[RenameField::NewName] = planned;
    }
}

const QString duplicateMessage = QStringLiteral("ファイル名重複・・変更不可！\r\n\r\n-- リストの反転表示行 --\r\n\r\n"
                                                "「元に戻す」をクリック後、条件を再設定して下さい。");

} // namespace

class TestPlanReplace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { ProcessFlags::setNoConfirm(false); }
    void nothingToChange();
    void faultsAreListedTogether();
    void collisions_data();
    void collisions();
    void plannedRunSelectsChangedRows();
    void failureStopsTheRun_data();
    void failureStopsTheRun();

    void lineBreakFaultsItsRowOnly();
    void replaces_data();
    void replaces();
};

void TestPlanReplace::nothingToChange()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    f.states.executeEnabled = f.states.restoreEnabled = true;
    auto context = f.context(JobKind::FileNameReplace);
    QCOMPARE(PlanJob(context, true), TryResult::NothingToChange);
    QCOMPARE(f.user.prompts(), QStringList{QStringLiteral("置換できるファイルはありませんでした。")});
    QCOMPARE(f.user.messages.first().title, QStringLiteral("置換無し"));
    QVERIFY(f.states.tryEnabled && !f.states.executeEnabled && !f.states.restoreEnabled);

    // Under no-confirm nothing is said.
    f.user.clear();
    ProcessFlags::setNoConfirm(true);
    auto folders = f.context(JobKind::FolderRename);
    QCOMPARE(PlanJob(folders, false), TryResult::NothingToChange);
    QVERIFY(f.user.messages.isEmpty());
}

void TestPlanReplace::faultsAreListedTogether()
{
    PlanFixture f;
    addPlannedRows(f, {{QStringLiteral("ok.txt"), QStringLiteral("new.txt")},
                       {QStringLiteral("b.txt"), QString()},
                       {QStringLiteral("c.txt"), QStringLiteral("..")},
                       {QStringLiteral("d.txt"), QStringLiteral("d.txt")},
                       {QStringLiteral("e.txt"), QStringLiteral("10:30.txt")}});
    f.rows.setSelected(4, true);
    auto context = f.context(JobKind::FileNameReplace);
    QCOMPARE(PlanJob(context, true), TryResult::Invalid);
    QCOMPARE(f.selectedRows(), (QList<int>{2, 3, 5}));
    QCOMPARE(f.user.messages.size(), 1);
    QVERIFY(f.user.messages.first().plain);
    QCOMPARE(f.user.lastPrompt(),
             QStringLiteral("2 　置換後のファイル名が空白になります！\r\n\r\n"
                            "3 　「.」 のみは使用できません。\r\n\r\n"
                            "5 /data/10:30.txt\r\n"
                            "　　置換後の文字列にファイル名として使用できない文字が含まれます！\r\n"
                            "　　使用できない文字 ： /:*?\\|<>\"\r\n\r\n\r\n"));
    QVERIFY(!f.states.tryEnabled && !f.states.executeEnabled && f.states.restoreEnabled);
}

void TestPlanReplace::collisions_data()
{
    QTest::addColumn<QStringList>("planned");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<TryResult>("result");

    const QString data = QStringLiteral("/data");
    QTest::newRow("A a A") << QStringList{"A", "a", "A"}
                           << QStringList{data, data, data} << QList<int>{1, 3} << TryResult::Duplicate;
    QTest::newRow("case only") << QStringList{"A", "a"} << QStringList{data, data}
                               << QList<int>{1, 2} << TryResult::Planned;
    QTest::newRow("other folders") << QStringList{"x", "x"} << QStringList{data, "/data/sub"} << QList<int>{1, 2}
        << TryResult::Planned;
    // An unchanged row keeps its name, and another row may not take it.
    QTest::newRow("onto an unchanged row") << QStringList{"r2", "r2"}
                                           << QStringList{data, data} << QList<int>{1, 2} << TryResult::Duplicate;
}

void TestPlanReplace::collisions()
{
    QFETCH(QStringList, planned);
    QFETCH(QStringList, folders);
    PlanFixture f;
    for (int at = 0; at < planned.size(); ++at)
        addPlannedRows(f, {{QStringLiteral("r%1").arg(at + 1), planned[at]}}, folders[at]);

    auto context = f.context(JobKind::FileNameReplace);
    QFETCH(TryResult, result);
    QCOMPARE(PlanJob(context, true), result);
    QTEST(f.selectedRows(), "selected");
    if (result == TryResult::Duplicate) {
        QCOMPARE(f.user.lastPrompt(), duplicateMessage);
        QVERIFY(!f.states.executeEnabled);
        QVERIFY(f.states.restoreEnabled);
    } else {
        QVERIFY(f.user.messages.isEmpty());
    }
}

void TestPlanReplace::plannedRunSelectsChangedRows()
{
    for (const bool unattended : {false, true}) {
        PlanFixture f;
        addPlannedRows(f, {{QStringLiteral("a.txt"), QStringLiteral("a.txt")},
                           {QStringLiteral("b.txt"), QStringLiteral("B.txt")},
                           {QStringLiteral("c.txt"), QStringLiteral("c.txt")}});
        f.rows.setSelected(1, true);
        auto context = f.context(JobKind::FileNameReplace, unattended);
        QCOMPARE(PlanJob(context, false), TryResult::Planned);
        QCOMPARE(f.selectedRows(), QList<int>{2});
        QVERIFY(!f.states.tryEnabled && f.states.executeEnabled && f.states.restoreEnabled);
        if (unattended)
            QVERIFY(f.user.messages.isEmpty());
        else
            QVERIFY(f.user.lastPrompt().startsWith(QStringLiteral("試行完了！\r\n\r\n")));
    }
}

// A replace text that failed to expand, or a search the engine rejects,
// stops the run and leaves the earlier plan as it was.
void TestPlanReplace::failureStopsTheRun_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<int>("messages");
    QTest::newRow("replace text failed") << "a" << ErrorMarker << 0;
    QTest::newRow("pattern rejected") << "(" << "x" << 1;
    QTest::newRow("overflow") << "a" << "1E308*10" << 1;
    QTest::newRow("unbalanced expression") << "a" << "(1" << 1;
    QTest::newRow("function failed") << "a" << "MOD(7,0)" << 1;
}

void TestPlanReplace::failureStopsTheRun()
{
    PlanFixture f;
    addPlannedRows(f, {{QStringLiteral("a.txt"), QStringLiteral("earlier-a")},
                       {QStringLiteral("b.txt"), QStringLiteral("earlier-b")}});
    QFETCH(QString, search);
    QFETCH(QString, replace);
    f.inputs.searchText = search;
    f.inputs.replaceText = replace;
    auto context = f.context(JobKind::FileNameReplace);
    QCOMPARE(PlanJob(context, false), TryResult::Invalid);
    QCOMPARE(f.column(RenameField::NewName), (QStringList{QStringLiteral("earlier-a"), QStringLiteral("earlier-b")}));
    QTEST(int(f.user.messages.size()), "messages");
    QVERIFY(!f.states.executeEnabled && f.states.restoreEnabled);
}

void TestPlanReplace::lineBreakFaultsItsRowOnly()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a\nb.txt"), QStringLiteral("c.txt")});
    f.inputs.searchText = QStringLiteral("c");
    f.inputs.replaceText = QStringLiteral("d");
    auto context = f.context(JobKind::FileNameReplace);
    QCOMPARE(PlanJob(context, true), TryResult::Invalid);
    QCOMPARE(f.selectedRows(), QList<int>{1});
    QCOMPARE(f.column(RenameField::NewName), (QStringList{QStringLiteral("a\nb.txt"), QStringLiteral("d.txt")}));
    QCOMPARE(f.user.lastPrompt(), QStringLiteral("1 　ファイル名に改行が含まれるため置換できません。\r\n\r\n"));
}

void TestPlanReplace::replaces_data()
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

void TestPlanReplace::replaces()
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
    auto context = f.context(JobKind::FileNameReplace);
    const TryResult result = PlanJob(context, true);
    QCOMPARE(f.rows.field(1, RenameField::NewName), planned);
    // A backslash reaches the name as it stood, where the name check refuses it.
    QCOMPARE(result, planned.contains(u'\\') ? TryResult::Invalid
                     : planned == name      ? TryResult::NothingToChange
                                            : TryResult::Planned);
}

QTEST_GUILESS_MAIN(TestPlanReplace)
#include "tst_planreplace.moc"
