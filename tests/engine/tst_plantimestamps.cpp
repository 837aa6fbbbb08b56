#include "planfixture.h"

#include <QTest>

class TestPlanTimeStamps : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void sequence_data()
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

    void sequence()
    {
        QFETCH(QString, step);
        PlanFixture f;
        f.addRows({u"a"_qs, u"b"_qs, u"c"_qs});
        f.inputs.baseDate = QDate(2020, 1, 1);
        f.inputs.baseTime = QTime(10, 0);
        f.inputs.stepMinutes = step;
        QCOMPARE(f.plan(JobKind::CreatedDate, false), TryResult::Planned);
        QTEST(f.column(RenameField::Created), "planned");
    }

    void plansOnlyTheJobsColumn()
    {
        PlanFixture f;
        f.addRows({u"a"_qs, u"b"_qs});
        f.rows.setSelected(1, true);
        f.inputs.baseDate = QDate(2024, 2, 29);
        f.inputs.baseTime = QTime(23, 59, 58);
        f.inputs.stepMinutes = u"1"_qs;
        const QStringList created = f.column(RenameField::Created);
        const QStringList names = f.column(RenameField::NewName);

        QCOMPARE(f.plan(JobKind::ModifiedDate, false), TryResult::Planned);
        QCOMPARE(f.column(RenameField::Modified), (QStringList{u"2024/02/29 23:59:58"_qs, u"2024/03/01 00:00:58"_qs}));
        QCOMPARE(f.column(RenameField::Created), created);
        QCOMPARE(f.column(RenameField::NewName), names);
        // No name changes, so no row is picked out; the hint to execute still shows.
        QVERIFY(f.selectedRows().isEmpty());
        QVERIFY(f.user.lastPrompt().startsWith(u"試行完了！"_qs));
        QCOMPARE(f.commands(), u"011"_qs);
    }

    void refusedPlans()
    {
        PlanFixture f;
        f.addRows({u"a"_qs, u"b"_qs, u"a"_qs});
        QCOMPARE(f.plan(JobKind::CreatedDate), TryResult::Invalid); // no base date
        QCOMPARE(f.column(RenameField::Created).first(), u"2019/05/05 05:05:05"_qs);
        QVERIFY(!f.states.executeEnabled);

        // The same file twice would get two stamps.
        f.inputs.baseDate = QDate(2020, 1, 1);
        QCOMPARE(f.plan(JobKind::CreatedDate), TryResult::Duplicate);
        QCOMPARE(f.selectedRows(), (QList<int>{1, 3}));
        QCOMPARE(f.commands(), u"001"_qs);
    }
};

QTEST_GUILESS_MAIN(TestPlanTimeStamps)
#include "tst_plantimestamps.moc"
