#include "engine/planjob.h"
#include "engine/timestampplanner.h"
#include "planfixture.h"

#include <QTest>

class TestPlanTimeStamps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { ProcessFlags::setNoConfirm(false); }
    void sequence_data();
    void sequence();
    void plansOnlyTheJobsColumn();
    void sameFileTwiceCollides();
    void missingBaseDateChangesNothing();
};

void TestPlanTimeStamps::sequence_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("planned");

    QTest::newRow("30 minutes") << "30"
        << QStringList{"2020/01/01 10:00:00", "2020/01/01 10:30:00", "2020/01/01 11:00:00"};
    QTest::newRow("negative") << "-45"
        << QStringList{"2020/01/01 10:00:00", "2020/01/01 09:15:00", "2020/01/01 08:30:00"};
    QTest::newRow("back over a year") << "-600"
        << QStringList{"2020/01/01 10:00:00", "2020/01/01 00:00:00", "2019/12/31 14:00:00"};
}

void TestPlanTimeStamps::sequence()
{
    QFETCH(QString, step);
    QFETCH(QStringList, planned);
    PlanFixture f;
    f.addRows({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    f.inputs.baseDate = QDate(2020, 1, 1);
    f.inputs.baseTime = QTime(10, 0);
    f.inputs.stepMinutes = step;
    auto context = f.context(JobKind::CreatedDate);
    QCOMPARE(PlanJob(context, false), TryResult::Planned);
    QCOMPARE(f.column(RenameField::Created), planned);
}

void TestPlanTimeStamps::plansOnlyTheJobsColumn()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a"), QStringLiteral("b")});
    f.rows.setSelected(1, true);
    f.inputs.baseDate = QDate(2024, 2, 29);
    f.inputs.baseTime = QTime(23, 59, 58);
    f.inputs.stepMinutes = QStringLiteral("1");
    const QStringList created = f.column(RenameField::Created);
    const QStringList names = f.column(RenameField::NewName);

    auto context = f.context(JobKind::ModifiedDate);
    QCOMPARE(PlanJob(context, false), TryResult::Planned);
    QCOMPARE(f.column(RenameField::Modified),
             (QStringList{QStringLiteral("2024/02/29 23:59:58"), QStringLiteral("2024/03/01 00:00:58")}));
    QCOMPARE(f.column(RenameField::Created), created);
    QCOMPARE(f.column(RenameField::NewName), names);
    // No name changes, so no row is picked out; the hint to execute still shows.
    QVERIFY(f.selectedRows().isEmpty());
    QVERIFY(f.user.lastPrompt().startsWith(QStringLiteral("試行完了！")));
    QVERIFY(f.states.executeEnabled);

    f.user.clear();
    f.inputs.baseDate = QDate(2030, 7, 1);
    QCOMPARE(PlanJob(context, true), TryResult::Planned);
    QCOMPARE(f.column(RenameField::Modified).first(), QStringLiteral("2030/07/01 23:59:58"));
    QVERIFY(f.user.messages.isEmpty());
}

void TestPlanTimeStamps::sameFileTwiceCollides()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a")});
    f.inputs.baseDate = QDate(2020, 1, 1);
    auto context = f.context(JobKind::CreatedDate);
    QCOMPARE(PlanJob(context, true), TryResult::Duplicate);
    QCOMPARE(f.selectedRows(), (QList<int>{1, 3}));
    QVERIFY(f.user.lastPrompt().startsWith(QStringLiteral("ファイル名重複・・変更不可！")));
    QVERIFY(!f.states.executeEnabled && f.states.restoreEnabled);
}

void TestPlanTimeStamps::missingBaseDateChangesNothing()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a")});
    auto context = f.context(JobKind::CreatedDate);
    QCOMPARE(PlanJob(context, true), TryResult::Invalid);
    QCOMPARE(f.column(RenameField::Created), QStringList{QStringLiteral("2019/05/05 05:05:05")});
    QVERIFY(!f.states.executeEnabled);
}

QTEST_GUILESS_MAIN(TestPlanTimeStamps)
#include "tst_plantimestamps.moc"
