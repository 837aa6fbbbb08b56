#include "engine/numberingplanner.h"
#include "engine/planjob.h"
#include "planfixture.h"

#include <QTest>

namespace {

const QString inputError = QStringLiteral("入力エラー");
const QString tooNarrow = QStringLiteral("桁数が不足です。\r\n桁数を大きくするか、開始番号を小さくして下さい。");

} // namespace

class TestPlanNumbering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { ProcessFlags::setNoConfirm(false); }
    void names_data();
    void names();
    void inputChecks_data();
    void inputChecks();
    void successSelectsEveryRow();
    void unusableBaseNameIsRejected();
    void secondTryNumbersTheNumberedNames();
    void preview_data();
    void preview();
};

void TestPlanNumbering::names_data()
{
    QTest::addColumn<QStringList>("current");
    // Base name, start number, digits, step, separator.
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<bool>("addTop");
    QTest::addColumn<QStringList>("planned");

    const QStringList three{"a.jpg", "b.png", "c"};
    QTest::newRow("suffix") << three << QStringList{"photo", "1", "3", "1", "_"} << false
                            << QStringList{"photo_001.jpg", "photo_002.png", "photo_003"};
    QTest::newRow("top") << three << QStringList{"photo", "1", "3", "1", "_"} << true
                         << QStringList{"001_photo.jpg", "002_photo.png", "003_photo"};
    QTest::newRow("own names, padded inputs") << three << QStringList{"", " 1", " 2", "  1", "-"} << false
                                              << QStringList{"a-01.jpg", "b-02.png", "c-03"};
    QTest::newRow("base with extension gives its stem") << three << QStringList{"holiday.gif", "5", "1", "2", ""}
        << false << QStringList{"holiday5.jpg", "holiday7.png", "holiday9"};
    QTest::newRow("asterisk is the row's stem") << QStringList{"beach.jpg", "hill.x.png"}
                                                << QStringList{"IMG_*_*", "1", "2", "1", " "} << false
                                                << QStringList{"IMG_beach_beach 01.jpg", "IMG_hill.x_hill.x 02.png"};
    QTest::newRow("five-letter extension is part of the stem") << QStringList{"x.jpeg2"}
        << QStringList{"", "1", "2", "1", "_"} << false << QStringList{"x.jpeg2_01"};
    QTest::newRow("start 0 without padding") << QStringList{"a.txt"} << QStringList{"n", "0", "0", "1", ""} << true
                                             << QStringList{"0n.txt"};
    QTest::newRow("width above 20 pads to 20") << QStringList{"a.txt"} << QStringList{"n", "7", "25", "1", ""}
                                               << true << QStringList{"00000000000000000007n.txt"};
}

void TestPlanNumbering::names()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, inputs);
    QFETCH(bool, addTop);
    PlanFixture f;
    f.addRows(current);
    f.inputs = {};
    f.inputs.baseName = inputs[0];
    f.inputs.startNo = inputs[1];
    f.inputs.digits = inputs[2];
    f.inputs.step = inputs[3];
    f.inputs.separator = inputs[4];
    f.inputs.addTop = addTop;

    auto context = f.context(JobKind::Numbering);
    QCOMPARE(PlanJob(context, true), TryResult::Planned);
    QTEST(f.column(RenameField::NewName), "planned");
    QCOMPARE(f.column(RenameField::CurrentName), current);
}

void TestPlanNumbering::inputChecks_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("startNo");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message");

    const int none = int(NumberingInput::None);
    QTest::newRow("start missing, step bad too") << 1 << QString() << "0" << "0" << int(NumberingInput::StartNo)
        << "開始番号が入力されていません！";
    QTest::newRow("step 0, digits bad too") << 3 << "98" << "0" << "0" << int(NumberingInput::Step)
        << "連番増分値は１以上を指定して下さい。。\r\n";
    QTest::newRow("98 + 2 rows") << 3 << "98" << "2" << "1" << int(NumberingInput::Digits) << tooNarrow;
    QTest::newRow("fits exactly") << 2 << "98" << "2" << "1" << none << QString();
    QTest::newRow("digits 0") << 1 << "1" << "0" << "1" << int(NumberingInput::Digits) << tooNarrow;
    QTest::newRow("start 0 digits 0") << 1 << "0" << "0" << "1" << none << QString();
    QTest::newRow("beyond counting") << 2 << "99999999999999999999" << "30"
                                     << "1" << int(NumberingInput::Digits) << tooNarrow;
}

void TestPlanNumbering::inputChecks()
{
    QFETCH(int, rows);
    QFETCH(int, fault);
    QFETCH(QString, message);
    PlanFixture f;
    for (int row = 1; row <= rows; ++row)
        f.addRows({QStringLiteral("f%1.txt").arg(row)});
    QFETCH(QString, startNo);
    QFETCH(QString, digits);
    QFETCH(QString, step);
    f.inputs.baseName = QStringLiteral("n");
    f.inputs.startNo = startNo;
    f.inputs.digits = digits;
    f.inputs.step = step;
    const QStringList before = f.column(RenameField::NewName);

    auto context = f.context(JobKind::Numbering);
    QCOMPARE(int(CheckNumberingInputs(context)), fault);
    if (fault == int(NumberingInput::None)) {
        QVERIFY(f.user.messages.isEmpty());
        return;
    }
    QCOMPARE(f.user.prompts(), QStringList{message});
    QCOMPARE(f.user.messages.first().title, inputError);

    f.user.clear();
    f.states.executeEnabled = true;
    QCOMPARE(PlanJob(context, false), TryResult::Invalid);
    QCOMPARE(f.user.prompts(), QStringList{message});
    QCOMPARE(f.column(RenameField::NewName), before);
    QVERIFY(!f.states.executeEnabled);
    QVERIFY(f.states.restoreEnabled);
}

void TestPlanNumbering::successSelectsEveryRow()
{
    PlanFixture f;
    f.addRows({QStringLiteral("n01.txt"), QStringLiteral("x.txt")});
    f.inputs.baseName = QStringLiteral("n");
    f.inputs.addTop = false;
    f.inputs.startNo = QStringLiteral("1");
    f.inputs.digits = QStringLiteral("2");

    auto context = f.context(JobKind::Numbering);
    QCOMPARE(PlanJob(context, false), TryResult::Planned);
    // Row 1 keeps its name and is selected all the same.
    QCOMPARE(f.column(RenameField::NewName), (QStringList{QStringLiteral("n01.txt"), QStringLiteral("n02.txt")}));
    QCOMPARE(f.selectedRows(), (QList<int>{1, 2}));
    QVERIFY(!f.states.tryEnabled && f.states.executeEnabled && f.states.restoreEnabled);
    QCOMPARE(f.user.messages.size(), 1);
    QVERIFY(f.user.messages.first().plain);
    QCOMPARE(f.user.lastPrompt(), QStringLiteral("試行完了！\r\n\r\n"
                                                 "実際にファイル情報を変更するには、右上の「実行」ボタンをクリックして下さい。"));
    QVERIFY(!f.user.progressVisible);
}

void TestPlanNumbering::unusableBaseNameIsRejected()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    f.inputs.baseName = QStringLiteral("../up");
    auto context = f.context(JobKind::Numbering);
    QCOMPARE(PlanJob(context, true), TryResult::Invalid);
    QCOMPARE(f.selectedRows(), (QList<int>{1, 2}));
    QVERIFY(f.user.lastPrompt().startsWith(QStringLiteral("1 /data/01../up.txt\r\n")));
    QVERIFY(f.user.lastPrompt().contains(QStringLiteral("\r\n\r\n2 /data/02../up.txt\r\n")));
    QVERIFY(!f.states.executeEnabled);
}

void TestPlanNumbering::secondTryNumbersTheNumberedNames()
{
    PlanFixture f;
    f.addRows({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    f.inputs.addTop = false;
    f.inputs.separator = QStringLiteral("_");
    auto context = f.context(JobKind::Numbering);
    QCOMPARE(PlanJob(context, true), TryResult::Planned);
    QCOMPARE(PlanJob(context, true), TryResult::Planned);
    QCOMPARE(f.column(RenameField::NewName), (QStringList{QStringLiteral("a_01_01.txt"), QStringLiteral("b_02_02.txt")}));
}

void TestPlanNumbering::preview_data()
{
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("clickedRow");
    QTest::addColumn<QString>("preview");

    QTest::newRow("first row") << "photo.jpg" << "1" << 0 << "photo_05.jpg";
    QTest::newRow("third row") << "photo.jpg" << "10" << 3 << "photo_25.jpg";
    QTest::newRow("no base name") << QString() << "1" << 1 << QString();
    QTest::newRow("step below 1") << "photo" << "0" << 1 << QString();
    QTest::newRow("asterisk") << "x*" << "1" << 2 << "xsea_06";
    QTest::newRow("row past the end") << "x*" << "1" << 4 << "x*_08";
}

void TestPlanNumbering::preview()
{
    QFETCH(QString, baseName);
    QFETCH(QString, step);
    QFETCH(int, clickedRow);
    PlanFixture f;
    f.addRows({QStringLiteral("sky.png"), QStringLiteral("sea.png")});
    f.inputs.baseName = baseName;
    f.inputs.step = step;
    f.inputs.startNo = QStringLiteral("5");
    f.inputs.separator = QStringLiteral("_");
    f.inputs.addTop = false;
    QTEST(NumberingPreview(f.inputs, f.rows, clickedRow), "preview");
}

QTEST_GUILESS_MAIN(TestPlanNumbering)
#include "tst_plannumbering.moc"
