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
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<QString>("startNo");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("addTop");
    QTest::addColumn<QStringList>("planned");

    const QStringList three{QStringLiteral("a.jpg"), QStringLiteral("b.png"), QStringLiteral("c")};
    QTest::newRow("suffix") << three << QStringLiteral("photo") << QStringLiteral("1") << QStringLiteral("3")
                            << QStringLiteral("1") << QStringLiteral("_") << false
                            << QStringList{QStringLiteral("photo_001.jpg"), QStringLiteral("photo_002.png"),
                                           QStringLiteral("photo_003")};
    QTest::newRow("top") << three << QStringLiteral("photo") << QStringLiteral("1") << QStringLiteral("3")
                         << QStringLiteral("1") << QStringLiteral("_") << true
                         << QStringList{QStringLiteral("001_photo.jpg"), QStringLiteral("002_photo.png"),
                                        QStringLiteral("003_photo")};
    QTest::newRow("own names") << three << QString() << QStringLiteral(" 1") << QStringLiteral(" 2")
                               << QStringLiteral("  1") << QStringLiteral("-") << false
                               << QStringList{QStringLiteral("a-01.jpg"), QStringLiteral("b-02.png"),
                                              QStringLiteral("c-03")};
    QTest::newRow("base with extension gives its stem")
        << three << QStringLiteral("holiday.gif") << QStringLiteral("5") << QStringLiteral("1")
        << QStringLiteral("2") << QString() << false
        << QStringList{QStringLiteral("holiday5.jpg"), QStringLiteral("holiday7.png"), QStringLiteral("holiday9")};
    QTest::newRow("asterisk is the row's stem")
        << QStringList{QStringLiteral("beach.jpg"), QStringLiteral("hill.x.png")} << QStringLiteral("IMG_*_*")
        << QStringLiteral("1") << QStringLiteral("2") << QStringLiteral("1") << QStringLiteral(" ") << false
        << QStringList{QStringLiteral("IMG_beach_beach 01.jpg"), QStringLiteral("IMG_hill.x_hill.x 02.png")};
    QTest::newRow("five-letter extension is part of the stem")
        << QStringList{QStringLiteral("x.jpeg2")} << QString() << QStringLiteral("1") << QStringLiteral("2")
        << QStringLiteral("1") << QStringLiteral("_") << false << QStringList{QStringLiteral("x.jpeg2_01")};
    QTest::newRow("start 0 without padding")
        << QStringList{QStringLiteral("a.txt")} << QStringLiteral("n") << QStringLiteral("0") << QStringLiteral("0")
        << QStringLiteral("1") << QString() << true << QStringList{QStringLiteral("0n.txt")};
    QTest::newRow("width above 20 pads to 20")
        << QStringList{QStringLiteral("a.txt")} << QStringLiteral("n") << QStringLiteral("7") << QStringLiteral("25")
        << QStringLiteral("1") << QString() << true << QStringList{QStringLiteral("00000000000000000007n.txt")};
}

void TestPlanNumbering::names()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, planned);
    PlanFixture f;
    f.addRows(current);
    QFETCH(QString, baseName);
    QFETCH(QString, startNo);
    QFETCH(QString, digits);
    QFETCH(QString, step);
    QFETCH(QString, separator);
    QFETCH(bool, addTop);
    f.inputs = {};
    f.inputs.baseName = baseName;
    f.inputs.startNo = startNo;
    f.inputs.digits = digits;
    f.inputs.step = step;
    f.inputs.separator = separator;
    f.inputs.addTop = addTop;

    auto context = f.context(JobKind::Numbering);
    QCOMPARE(PlanJob(context, true), TryResult::Planned);
    QCOMPARE(f.column(RenameField::NewName), planned);
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
    QTest::newRow("start missing, step bad too")
        << 1 << QString() << QStringLiteral("0") << QStringLiteral("0") << int(NumberingInput::StartNo)
        << QStringLiteral("開始番号が入力されていません！");
    QTest::newRow("step 0, digits bad too")
        << 3 << QStringLiteral("98") << QStringLiteral("0") << QStringLiteral("0") << int(NumberingInput::Step)
        << QStringLiteral("連番増分値は１以上を指定して下さい。。\r\n");
    QTest::newRow("98 + 2 rows") << 3 << QStringLiteral("98") << QStringLiteral("2") << QStringLiteral("1")
                                 << int(NumberingInput::Digits) << tooNarrow;
    QTest::newRow("fits exactly") << 2 << QStringLiteral("98") << QStringLiteral("2") << QStringLiteral("1") << none
                                  << QString();
    QTest::newRow("digits 0") << 1 << QStringLiteral("1") << QStringLiteral("0") << QStringLiteral("1")
                              << int(NumberingInput::Digits) << tooNarrow;
    QTest::newRow("start 0 digits 0") << 1 << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("1")
                                      << none << QString();
    QTest::newRow("beyond counting") << 2 << QStringLiteral("99999999999999999999") << QStringLiteral("30")
                                     << QStringLiteral("1") << int(NumberingInput::Digits) << tooNarrow;
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

    QTest::newRow("first row") << QStringLiteral("photo.jpg") << QStringLiteral("1") << 0
                               << QStringLiteral("photo_05.jpg");
    QTest::newRow("third row") << QStringLiteral("photo.jpg") << QStringLiteral("10") << 3
                               << QStringLiteral("photo_25.jpg");
    QTest::newRow("no base name") << QString() << QStringLiteral("1") << 1 << QString();
    QTest::newRow("step below 1") << QStringLiteral("photo") << QStringLiteral("0") << 1 << QString();
    QTest::newRow("asterisk") << QStringLiteral("x*") << QStringLiteral("1") << 2 << QStringLiteral("xsea_06");
    QTest::newRow("row past the end") << QStringLiteral("x*") << QStringLiteral("1") << 4 << QStringLiteral("x*_08");
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
