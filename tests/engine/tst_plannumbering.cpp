#include "engine/numberingplanner.h"
#include "planfixture.h"

#include <QTest>

class TestPlanNumbering : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void names_data()
    {
        QTest::addColumn<QStringList>("current");
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<bool>("addTop");
        QTest::addColumn<QStringList>("planned");

        const QStringList three{"a.jpg", "b.png", "c"};
        QTest::newRow("suffix") << three << "photo|1|3|1|_" << false
                                << QStringList{"photo_001.jpg", "photo_002.png", "photo_003"};
        QTest::newRow("top") << three << "photo|1|3|1|_" << true
                             << QStringList{"001_photo.jpg", "002_photo.png", "003_photo"};
        QTest::newRow("own names, padded inputs") << three << "| 1| 2|  1|-" << false
                                                  << QStringList{"a-01.jpg", "b-02.png", "c-03"};
        QTest::newRow("base with extension gives its stem") << three << "holiday.gif|5|1|2|" << false
                                                            << QStringList{"holiday5.jpg", "holiday7.png", "holiday9"};
        QTest::newRow("asterisk is the row's stem") << QStringList{"beach.jpg", "hill.x.png"} << "IMG_*_*|1|2|1| "
                                                    << false
                                                    << QStringList{"IMG_beach_beach 01.jpg", "IMG_hill.x_hill.x 02.png"};
        QTest::newRow("five-letter extension is part of the stem") << QStringList{"x.jpeg2"} << "|1|2|1|_" << false
                                                                   << QStringList{"x.jpeg2_01"};
        QTest::newRow("start 0 without padding") << QStringList{"a.txt"} << "n|0|0|1|" << true << QStringList{"0n.txt"};
        QTest::newRow("width above 20 pads to 20") << QStringList{"a.txt"} << "n|7|25|1|" << true
                                                   << QStringList{"00000000000000000007n.txt"};
        // A row that keeps its name is selected all the same.
        QTest::newRow("unchanged row") << QStringList{"n01.txt", "x.txt"} << "n|1|2|1|" << false
                                       << QStringList{"n01.txt", "n02.txt"};
    }

    void names()
    {
        QFETCH(QStringList, current);
        QFETCH(QString, inputs);
        QFETCH(bool, addTop);
        PlanFixture f;
        f.addRows(current);
        f.setNumbering(inputs);
        f.inputs.addTop = addTop;
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Planned);
        QTEST(f.column(RenameField::NewName), "planned");
        QCOMPARE(f.column(RenameField::CurrentName), current);
        QCOMPARE(f.selectedRows().size(), current.size());
        QCOMPARE(f.commands(), u"011"_qs);
    }

    // The first faulty input in the order start number, step, digits is reported.
    void inputChecks_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<NumberingInput>("fault");
        QTest::addColumn<QString>("message");

        const auto digits = NumberingInput::Digits;
        const QString narrow = u"桁数が不足です。\r\n桁数を大きくするか、開始番号を小さくして下さい。"_qs;
        QTest::newRow("start missing, step bad too") << 1 << "n||0|0" << NumberingInput::StartNo << "開始番号が入力されていません！";
        QTest::newRow("step 0, digits bad too") << 3 << "n|98|0|0" << NumberingInput::Step << "連番増分値は１以上を指定して下さい。。\r\n";
        QTest::newRow("98 + 2 rows") << 3 << "n|98|2|1" << digits << narrow;
        QTest::newRow("fits exactly") << 2 << "n|98|2|1" << NumberingInput::None << QString();
        QTest::newRow("digits 0") << 1 << "n|1|0|1" << digits << narrow;
        QTest::newRow("start 0 digits 0") << 1 << "n|0|0|1" << NumberingInput::None << QString();
        QTest::newRow("beyond counting") << 2 << "n|99999999999999999999|30|1" << digits << narrow;
    }

    void inputChecks()
    {
        QFETCH(int, rows);
        QFETCH(QString, inputs);
        QFETCH(NumberingInput, fault);
        QFETCH(QString, message);
        PlanFixture f;
        for (int row = 1; row <= rows; ++row)
            f.addRows({u"f%1.txt"_qs.arg(row)});
        f.setNumbering(inputs);
        const QStringList before = f.column(RenameField::NewName);

        auto context = f.context(JobKind::Numbering);
        QCOMPARE(CheckNumberingInputs(context), fault);
        if (fault == NumberingInput::None) {
            QVERIFY(f.user.messages.isEmpty());
            return;
        }
        QCOMPARE(f.user.prompts(), QStringList{message});
        QCOMPARE(f.user.messages.first().title, u"入力エラー"_qs);

        f.user.clear();
        f.states.executeEnabled = true;
        QCOMPARE(f.plan(JobKind::Numbering, false), TryResult::Invalid);
        QCOMPARE(f.user.prompts(), QStringList{message});
        QCOMPARE(f.column(RenameField::NewName), before);
        QCOMPARE(f.commands(), u"001"_qs);
    }

    void unusableBaseNameIsRejected()
    {
        PlanFixture f;
        f.addRows({u"a.txt"_qs, u"b.txt"_qs});
        f.inputs.baseName = u"../up"_qs;
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Invalid);
        QCOMPARE(f.selectedRows(), (QList<int>{1, 2}));
        QVERIFY(f.user.lastPrompt().startsWith(u"1 /data/01../up.txt\r\n"_qs));
        QVERIFY(f.user.lastPrompt().contains(u"\r\n\r\n2 /data/02../up.txt\r\n"_qs));
        QVERIFY(!f.states.executeEnabled);
    }

    void secondTryNumbersTheNumberedNames()
    {
        PlanFixture f;
        f.addRows({u"a.txt"_qs, u"b.txt"_qs});
        f.inputs.addTop = false;
        f.inputs.separator = u"_"_qs;
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Planned);
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Planned);
        QCOMPARE(f.column(RenameField::NewName), (QStringList{u"a_01_01.txt"_qs, u"b_02_02.txt"_qs}));
    }

    void preview_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<int>("clickedRow");
        QTest::addColumn<QString>("preview");

        QTest::newRow("third row") << "photo.jpg|5|2|10|_" << 3 << "photo_25.jpg";
        QTest::newRow("no base name") << "|5|2|1|_" << 1 << QString();
        QTest::newRow("step below 1") << "photo|5|2|0|_" << 1 << QString();
        QTest::newRow("asterisk") << "x*|5|2|1|_" << 2 << "xsea_06";
        QTest::newRow("row past the end") << "x*|5|2|1|_" << 4 << "x*_08";
    }

    void preview()
    {
        QFETCH(QString, inputs);
        QFETCH(int, clickedRow);
        PlanFixture f;
        f.addRows({u"sky.png"_qs, u"sea.png"_qs});
        f.setNumbering(inputs);
        f.inputs.addTop = false;
        QTEST(NumberingPreview(f.inputs, f.rows, clickedRow), "preview");
    }
};

QTEST_GUILESS_MAIN(TestPlanNumbering)
#include "tst_plannumbering.moc"
