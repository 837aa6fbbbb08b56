#include "engine/jobs/namecheck.h"
#include "engine/jobs/numberingplanner.h"
#include "enginefixture.h"
#include "tags/exiv2reader.h"

#include <QTest>


class TestPlanJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void nothingToChange()
    {
        EngineFixture f;
        f.addRows({u"a.txt"_qs, u"b.txt"_qs});
        f.presetPlan();
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
        EngineFixture f;
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
        QCOMPARE(f.commands(), u"101"_qs);
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
        EngineFixture f;
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
        QCOMPARE(f.commands(), u"101"_qs);
    }

    // An unattended Try selects the rows that change, and says nothing.
    void plannedRunSelectsChangedRows()
    {
        EngineFixture f;
        f.addPlannedRow(u"a.txt"_qs, u"a.txt"_qs);
        f.addPlannedRow(u"b.txt"_qs, u"B.txt"_qs);
        f.addPlannedRow(u"c.txt"_qs, u"c.txt"_qs);
        f.rows.setSelected(1, true);
        QCOMPARE(f.plan(JobKind::FileNameReplace, false, true), TryResult::Planned);
        QCOMPARE(f.selectedRows(), QList<int>{2});
        QCOMPARE(f.commands(), u"111"_qs);
        QVERIFY(f.user.messages.isEmpty());
    }

    // A replace text that failed to expand stops the run and leaves the
    // earlier plan as it was; a search the engine rejects (with one message,
    // on the first row) leaves no plan on screen at all.
    void failureStopsTheRun_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QStringList>("names");
        const QStringList earlier{"earlier-a", "earlier-b"};
        QTest::newRow("replace text failed") << "a" << ErrorMarker << 0 << earlier;
        QTest::newRow("pattern rejected") << "(" << "x" << 1 << QStringList{"a.txt", "b.txt"};
        QTest::newRow("function failed") << "a" << "MOD(7,0)" << 1 << earlier;
    }

    void failureStopsTheRun()
    {
        EngineFixture f;
        f.addPlannedRow(u"a.txt"_qs, u"earlier-a"_qs);
        f.addPlannedRow(u"b.txt"_qs, u"earlier-b"_qs);
        QFETCH(QString, search);
        QFETCH(QString, replace);
        f.inputs.searchText = search;
        f.inputs.replaceText = replace;
        QCOMPARE(f.plan(JobKind::FileNameReplace, false), TryResult::Invalid);
        QTEST(f.column(RenameField::NewName), "names");
        QTEST(int(f.user.messages.size()), "messages");
        QCOMPARE(f.commands(), u"101"_qs);
    }

    // A name with a line break cannot be replaced; its row is faulty only when
    // the search, as the replace reads it (not line by line), finds it.
    void lineBreakFaultsItsRowOnly_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("search elsewhere") << "c" << QList<int>{2};
        QTest::newRow("anchored, not line by line") << "^[bc]" << QList<int>{2};
        QTest::newRow("search finds it") << "[bc]\\." << QList<int>{1};
    }

    void lineBreakFaultsItsRowOnly()
    {
        EngineFixture f;
        f.addRows({u"a\nb.txt"_qs, u"c.txt"_qs});
        QFETCH(QString, search);
        QFETCH(QList<int>, selected);
        f.inputs.searchText = search;
        f.inputs.replaceText = u"d"_qs;
        const bool refused = selected == QList<int>{1};
        QCOMPARE(f.plan(JobKind::FileNameReplace), refused ? TryResult::Invalid : TryResult::Planned);
        QCOMPARE(f.selectedRows(), selected);
        QCOMPARE(f.rows.field(1, RenameField::NewName), u"a\nb.txt"_qs);
        if (refused)
            QCOMPARE(f.user.lastPrompt(), u"1 　ファイル名に改行が含まれるため置換できません。\r\n\r\n"_qs);
    }

    // A new name may hold no control character, whatever put it there; a row
    // the job leaves as it is is never refused for its name. The message
    // shows the character escaped, never cut.
    void controlCharactersAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<QString>("shown");
        QTest::newRow("escape") << "a.txt" << "^a" << "n\\nl" << "/data/n\\nl.txt";
        QTest::newRow("NUL escape") << "a.txt" << "^a" << "\\x00" << "/data/\\0.txt";
        QTest::newRow("capture") << "x\ty.txt" << "^(.*)\\.txt$" << "$1.doc" << "/data/x\\ty.doc";
    }

    void controlCharactersAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        EngineFixture f;
        f.addRows({name, u"keep\t.dat"_qs});
        QFETCH(QString, search);
        QFETCH(QString, replace);
        f.inputs.searchText = search;
        f.inputs.replaceText = replace;
        QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::Invalid);
        QCOMPARE(f.selectedRows(), QList<int>{1});
        QVERIFY(f.rows.row(1).rejection == RowRejection::ControlCharacter);
        QCOMPARE(f.user.lastPrompt(),
                 u"1 "_qs + shown + u"\r\n　　置換後の文字列に改行などの制御文字が含まれます！\r\n\r\n\r\n"_qs);
    }

    void replaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<QString>("planned");
        QTest::addColumn<int>("scope"); // ReplaceScope; negative: the folder job with that scope

        QTest::newRow("case kept") << "abc.txt" << "B" << "x" << false << "abc.txt" << 0;
        QTest::newRow("case ignored") << "abc.txt" << "B" << "x" << true << "axc.txt" << 0;
        // The capture comes from the first match found ignoring case ("Xa"), the
        // replace from the first exact one ("xb").
        QTest::newRow("capture ignores case") << "Xa_xb" << "x(.)" << "[$1]" << false << "Xa_[a]" << 0;
        QTest::newRow("FileName any case") << "a.txt" << "^.*$" << "<FILENAME>-<fileName>" << false << "a.txt-a.txt" << 0;
        QTest::newRow("row number") << "a.txt" << "^" << "Row()_" << false << "1_a.txt" << 0;
        // Names are data: no escapes, no $-tokens, whatever they hold.
        QTest::newRow("backslash in a group") << "a\\x41.txt" << "^(.*)\\.txt$" << "$1.doc" << false << "a\\x41.doc" << 0;
        QTest::newRow("dollar in a group") << "a$&b.txt" << "^(.*)\\.txt$" << "$1.doc" << false << "a$&b.doc" << 0;
        QTest::newRow("backslash in FileName") << "x\\u0009y" << "^.*$" << "<FileName>.bak" << false << "x\\u0009y.bak" << 0;
        // Characters the name already holds may stay.
        QTest::newRow("colon kept") << "10:30 会議.txt" << "会議" << "定例会議" << false << "10:30 定例会議.txt" << 0;
        // The name alone (1) or the extension alone (2) as ExtensionOf sees it;
        // "<FileName>" is that part too.
        QTest::newRow("name alone") << "foo.boo" << "o" << "0" << false << "f00.boo" << 1;
        QTest::newRow("extension alone") << "foo.boo" << "o" << "0" << false << "foo.b00" << 2;
        QTest::newRow("no extension, name") << "README" << "$" << "_1" << false << "README_1" << 1;
        QTest::newRow("no extension, nothing to replace") << "README" << "^.*$" << "x" << false << "README" << 2;
        QTest::newRow("long extension is none") << "a.markdown" << "^" << "x" << false << "a.markdown" << 2;
        QTest::newRow("several dots, name") << "a.tar.gz" << "\\." << "_" << false << "a_tar.gz" << 1;
        QTest::newRow("leading dot is name") << ".env" << "^\\." << "dot." << false << "dot.env" << 1;
        QTest::newRow("FileName is the part") << "a.jpg" << "^.*$" << "<FileName>_<FileName>" << false << "a_a.jpg" << 1;
        QTest::newRow("folders have no extension") << "v1.2" << "\\d" << "x" << false << "vx.x" << -1;
    }

    void replaces()
    {
        EngineFixture f;
        QFETCH(QString, name);
        QFETCH(QString, search);
        QFETCH(QString, replace);
        QFETCH(bool, ignoreCase);
        QFETCH(QString, planned);
        QFETCH(int, scope);
        f.addRows({name});
        f.inputs.searchText = search;
        f.inputs.replaceText = replace;
        f.inputs.replaceScope = ReplaceScopeOf(std::abs(scope));
        f.options.ignoreCase = ignoreCase;
        const TryResult result = f.plan(scope < 0 ? JobKind::FolderRename : JobKind::FileNameReplace);
        QCOMPARE(f.rows.field(1, RenameField::NewName), planned);
        QCOMPARE(result, planned == name ? TryResult::NothingToChange : TryResult::Planned);
    }

    void numberingNames_data()
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
        // Numbers are read past blanks up to the first letter, and rounded half to even.
        QTest::newRow("blank inside, letters after") << QStringList{"a.txt"} << "n|1 2ab|2|1|" << false
                                                     << QStringList{"n12.txt"};
        QTest::newRow("halves") << QStringList{"a.txt", "b.txt"} << "n|2.5|1|1.5|" << false
                                << QStringList{"n2.txt", "n4.txt"};
        // A row that keeps its name is selected all the same.
        QTest::newRow("unchanged row") << QStringList{"n01.txt", "x.txt"} << "n|1|2|1|" << false
                                       << QStringList{"n01.txt", "n02.txt"};
    }

    void numberingNames()
    {
        QFETCH(QStringList, current);
        QFETCH(QString, inputs);
        QFETCH(bool, addTop);
        EngineFixture f;
        f.addRows(current);
        f.setNumbering(inputs);
        f.inputs.addTop = addTop;
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Planned);
        QTEST(f.column(RenameField::NewName), "planned");
        QCOMPARE(f.column(RenameField::CurrentName), current);
        QCOMPARE(f.selectedRows().size(), current.size());
        QCOMPARE(f.commands(), u"111"_qs);
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
        EngineFixture f;
        for (int row = 1; row <= rows; ++row)
            f.addRows({u"f%1.txt"_qs.arg(row)});
        f.setNumbering(inputs);
        const QStringList before = f.column(RenameField::NewName);
        f.presetPlan();
        const TryResult result = f.plan(JobKind::Numbering);
        QCOMPARE(f.lastPlan.wrongInput, fault);
        if (fault == NumberingInput::None) {
            QCOMPARE(result, TryResult::Planned);
            return;
        }
        QCOMPARE(result, TryResult::Invalid);
        QCOMPARE(f.user.prompts(), QStringList{message});
        QCOMPARE(f.user.messages.first().title, u"入力エラー"_qs);
        QCOMPARE(f.column(RenameField::NewName), before);
        QCOMPARE(f.commands(), u"101"_qs);
    }

    void unusableBaseNameIsRejected()
    {
        EngineFixture f;
        f.addRows({u"a.txt"_qs, u"b.txt"_qs});
        f.inputs.baseName = u"../up"_qs;
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Invalid);
        QCOMPARE(f.selectedRows(), (QList<int>{1, 2}));
        QVERIFY(f.user.lastPrompt().startsWith(u"1 /data/01../up.txt\r\n"_qs));
        QVERIFY(f.user.lastPrompt().contains(u"\r\n\r\n2 /data/02../up.txt\r\n"_qs) && !f.states.executeEnabled());
    }

    void secondTryNumbersTheNumberedNames()
    {
        EngineFixture f;
        f.addRows({u"a.txt"_qs, u"b.txt"_qs});
        f.inputs.addTop = false;
        f.inputs.separator = u"_"_qs;
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Planned);
        QCOMPARE(f.plan(JobKind::Numbering), TryResult::Planned);
        QCOMPARE(f.column(RenameField::NewName), (QStringList{u"a_01_01.txt"_qs, u"b_02_02.txt"_qs}));
    }

    void numberingPreview_data()
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

    void numberingPreview()
    {
        QFETCH(QString, inputs);
        QFETCH(int, clickedRow);
        EngineFixture f;
        f.addRows({u"sky.png"_qs, u"sea.png"_qs});
        f.setNumbering(inputs);
        f.inputs.addTop = false;
        QTEST(NumberingPreview(f.inputs, f.rows, clickedRow), "preview");
    }

    // A file without a field gives an empty text, never another file's value.
    void exifPlaceholders()
    {
        EngineFixture f;
        Exiv2Reader exif;
        f.text.setExifReader(&exif);
        f.addPhotos();
        f.inputs.searchText = u"^(.)\\.jpg$"_qs;
        f.inputs.replaceText = u"$1_format(<exifdatetime>,\"yyyymmdd_hhnnss\")_<EXIFMAKE>_<ExifModel>"_qs;
        QCOMPARE(f.plan(JobKind::FileNameReplace), TryResult::Planned);
        QCOMPARE(f.column(RenameField::NewName), (QStringList{u"a_20240815_103000_Canon_EOS 5D"_qs,
                                                             u"b_20221231_235959_NIKON_"_qs, u"c_20210203_040506__"_qs,
                                                             u"d___"_qs, u"e___"_qs}));
    }

    void timeStampSequence_data()
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

    void timeStampSequence()
    {
        QFETCH(QString, step);
        EngineFixture f;
        f.addRows({u"a"_qs, u"b"_qs, u"c"_qs});
        f.inputs.baseDate = QDate(2020, 1, 1);
        f.inputs.baseTime = QTime(10, 0);
        f.inputs.stepMinutes = step;
        QCOMPARE(f.plan(JobKind::CreatedDate, false), TryResult::Planned);
        QTEST(f.column(RenameField::Created), "planned");
    }

    void timeStampsPlanOnlyTheJobsColumn()
    {
        EngineFixture f;
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
        QVERIFY(f.selectedRows().isEmpty() && f.user.lastPrompt().startsWith(u"試行完了！"_qs));
        QCOMPARE(f.commands(), u"111"_qs);
    }

    void refusedTimeStampPlans()
    {
        EngineFixture f;
        f.addRows({u"a"_qs, u"b"_qs, u"a"_qs});
        QCOMPARE(f.plan(JobKind::CreatedDate), TryResult::Invalid); // no base date
        QCOMPARE(f.column(RenameField::Created).first(), u"2019/05/05 05:05:05"_qs);
        QVERIFY(!f.states.executeEnabled());

        // The same file twice would get two stamps.
        f.inputs.baseDate = QDate(2020, 1, 1);
        QCOMPARE(f.plan(JobKind::CreatedDate), TryResult::Duplicate);
        QCOMPARE(f.selectedRows(), (QList<int>{1, 3}));
        QCOMPARE(f.commands(), u"101"_qs);
    }

    // A forbidden character is refused where the new name holds more of it
    // than the current one; "/" always.
    void nameFaults_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fault");

        const QString dots = QStringLiteral("　「.」 のみは使用できません。");
        const QString forbidden = QStringLiteral("使用できない文字");
        QTest::newRow("ordinary") << "a" << "photo.jpg" << QString();
        QTest::newRow("one dot") << "a" << "." << dots;
        QTest::newRow("letter before dots") << "a" << "a..." << QString();
        QTest::newRow("hidden file") << "a" << ".profile" << QString();
        for (const QChar c : QStringLiteral("/:*?\\|<>\""))
            QTest::newRow(qPrintable(QStringLiteral("char %1").arg(c))) << "ab" << QStringLiteral("a%1b").arg(c) << forbidden;
        QTest::newRow("colon kept") << "10:30 会議.txt" << "10:30 定例会議.txt" << QString();
        QTest::newRow("backslash and colon kept") << "a\\b:.txt" << "b:a\\.txt" << QString();
        QTest::newRow("a second colon") << "10:30 会議.txt" << "10:30:00 会議.txt" << forbidden;
        QTest::newRow("slash kept") << "a/b" << "a/c" << forbidden;
        QTest::newRow("NUL") << "a" << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << QStringLiteral("/data/a\\0b\r\n");
        QTest::newRow("DEL") << "a" << QStringLiteral("a\x7f") << QStringLiteral("制御文字");
    }

    void nameFaults()
    {
        QFETCH(QString, current);
        QFETCH(QString, name);
        QFETCH(QString, fault);
        const QString found = PlannedNameFault(QStringLiteral("/data"), current, name);
        if (fault.isEmpty())
            QVERIFY2(found.isEmpty(), qPrintable(found));
        else
            QVERIFY2(found.contains(fault), qPrintable(found));
    }

    void pathAtTheRoot()
    {
        QCOMPARE(PlannedPath(u"/"_qs, u"a"_qs), u"/a"_qs);
    }
};

QTEST_GUILESS_MAIN(TestPlanJob)
#include "tst_planjob.moc"
