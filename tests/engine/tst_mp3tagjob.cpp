#include "engine/control/folderopener.h"
#include "engine/control/outcomenotice.h"
#include "engine/jobs/mp3tagjob.h"
#include "id3builder.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/textengine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingOpener : public FolderOpener
{
public:
    void openFolder(const QString &folder) override { folders << folder; }
    QStringList folders;
};

} // namespace

class TestMp3TagJob : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedUserChannel m_user;
    LinuxFileSystem m_files;
    TextEngine m_text{m_user, m_files};
    RecordingOpener m_opener;

    // Execute as the controller runs it: the writes, then the notice that ends them. Returns failed.
    bool execute(Mp3TagJob &job, bool quiet)
    {
        const RunOutcome outcome = job.ExecuteTags(quiet);
        OutcomeNotice::showRun(m_user, &m_opener, outcome, quiet);
        return outcome.failed();
    }

    QString put(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        return Id3::write(path, bytes) ? path : QString();
    }

    // ID3v2.3 with title, artist and encoder, audio, and an ID3v1 block.
    QString bothTags(const QString &name)
    {
        return put(name, Id3::tag(Id3::textFrame("TIT2", "V2 Title") + Id3::textFrame("TPE1", "V2 Artist")
                                      + Id3::textFrame("TENC", "Encoder"),
                                  200)
                             + Id3::audio(3000) + Id3::v1("V1 Title", "V1 Artist", "V1 Album", "2004", "", 17));
    }

private Q_SLOTS:
    void init()
    {
        m_user.clear();
        m_opener.folders.clear();
    }

    void addsRows()
    {
        Mp3TagJob job(m_user, m_files, m_text);
        const QString both = bothTags("both.mp3");
        const QString v1 = put("v1.mp3", Id3::audio(500) + Id3::v1("Only", {}, {}, {}, {}, 146));
        job.AddTagRow(both, 0);
        job.AddTagRow(v1, 1);
        job.AddTagRow(m_dir.filePath("missing.mp3"), 0);
        QCOMPARE(job.rows().count(), 2);
        QCOMPARE(job.rows().row(1)[TagField::FileName], "v1.mp3");
        QCOMPARE(job.rows().row(1)[TagField::Genre], "JPop");
        QCOMPARE(job.rows().row(1)[TagField::ID3Ver], "v1.x");
        QCOMPARE(job.rows().row(2)[TagField::ID3Ver], "v1.x/v2.3");

        // A block goes in whole at its position, in its own order, without the missing file.
        const QString second = bothTags("second.mp3");
        job.AddTagRows({v1, m_dir.filePath("missing.mp3"), second}, 2);
        QStringList names;
        for (const TagRow &row : job.rows().rows())
            names << row[TagField::FileName];
        QCOMPARE(names, (QStringList{"v1.mp3", "v1.mp3", "second.mp3", "both.mp3"}));
    }

    void chooseTags_data()
    {
        QTest::addColumn<bool>("v1");
        QTest::addColumn<bool>("v2");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("album");
        QTest::newRow("both") << true << true << "V2 Title" << "V1 Album";
        QTest::newRow("v1 only") << true << false << "V1 Title" << "V1 Album";
        QTest::newRow("neither") << false << false << QString() << QString();
    }

    void chooseTags()
    {
        QFETCH(bool, v1);
        QFETCH(bool, v2);
        QFETCH(QString, title);
        QFETCH(QString, album);
        Mp3TagJob job(m_user, m_files, m_text);
        job.TagV1 = v1;
        job.TagV2 = v2;
        const QString path = bothTags("choose.mp3");
        job.AddTagRow(path, 0);
        QCOMPARE(job.rows().row(1)[TagField::Title], title);
        QCOMPARE(job.rows().row(1)[TagField::Album], album);
        QCOMPARE(job.tagField(path, "Title"), title);

        // Execute writes nothing that was not there; with both off, nothing at all.
        const QByteArray before = Id3::read(path);
        QVERIFY(!execute(job, true));
        if (!v1 || !v2)
            QCOMPARE(Id3::read(path), before);
    }

    // Columns whose template was changed take its value in the rows whose
    // file name the search matches; only rows that change are selected.
    void tryFillsMatchingRows()
    {
        Mp3TagJob job(m_user, m_files, m_text);
        job.AddTagRow(bothTags("01 Intro.mp3"), 0);
        job.AddTagRow(bothTags("Other.mp3"), 0);
        job.txtField[1] = "$2";        // Title
        job.txtField[2] = "V2 Artist"; // Artist, as it already is
        job.txtField[5] = "$1";        // TruckNo
        job.txtField[9] = "ignored";   // Path. is never a tag field
        const PlanOutcome planned = job.TryTags("^(\\d+) (.+)\\.MP3$", false);
        QCOMPARE(planned.result, TryResult::Planned);
        QVERIFY(m_user.messages.isEmpty());
        const TagRow &row = job.rows().row(1);
        QCOMPARE(row[TagField::Title], "Intro");
        QCOMPARE(row[TagField::TruckNo], "01");
        QCOMPARE(row[TagField::Save], "Intro\tV2 Artist\t01\t");
        QCOMPARE(job.rows().row(2)[TagField::Title], "V2 Title");
        QVERIFY(job.rows().isSelected(1) && !job.rows().isSelected(2) && planned.changing == 1);

        // An invalid search is reported as in the file-name job, though no
        // field uses it; it stops the Try, and the rows show the disk again.
        job.resetTemplates();
        QCOMPARE(job.TryTags("((", false).result, TryResult::Invalid);
        QCOMPARE(m_user.messages.size(), 1);
        QCOMPARE(m_user.messages[0].title, "正規表現エラー　－　RegReplace");
        QVERIFY(job.rows().row(1)[TagField::Title] == "V2 Title" && !job.rows().isSelected(1));
    }

    void executeWritesEveryRow()
    {
        Mp3TagJob job(m_user, m_files, m_text);
        const QString path = bothTags("song.mp3");
        const QString v1Only = put("v1.mp3", Id3::audio(400) + Id3::v1("One"));
        const QByteArray outside = Id3::tag(Id3::textFrame("TIT2", "Private"), 100) + Id3::audio(300);
        const QString link = m_dir.filePath("link.mp3");
        QVERIFY(QFile::link(put("outside.mp3", outside), link));
        job.AddTagRow(path, 0);
        job.AddTagRow(v1Only, 0);
        job.AddTagRow(link, 0);
        job.rows().setField(1, TagField::Title, "New Title");
        job.rows().setField(1, TagField::Year, "2020");
        job.rows().setField(2, TagField::Title, "Two");
        job.rows().setField(3, TagField::Title, "Through the link");
        m_user.answers << MessageAnswer::Ok << MessageAnswer::Yes;
        QVERIFY(!execute(job, false));

        // A link is never written through; the run lists and counts it.
        QCOMPARE(Id3::read(link), outside);
        QCOMPARE(job.skipped(), QStringList{link + " : " + TagFile::linkRefusal()});
        QCOMPARE(m_user.errorLists.value(0).first, "書き込まなかったファイル: 1 件");
        QCOMPARE(m_user.prompts(), (QStringList{"ＭＰ３タグ情報を変更します。\r\nよろしいですか？",
                                                "変換完了\r\n書き換えたファイル: 2 件\r\n書き込まなかったファイル: 1 件\r\n\r\n"
                                                "フォルダを開きますか？"}));
        QCOMPARE(m_opener.folders, QStringList{m_dir.path()});

        clsTAG tag;
        QVERIFY(tag.setFilePath(path));
        QCOMPARE(tag.ID3_DATA("title"), "New Title");
        QCOMPARE(tag.TAG1_DATA("title"), "New Title");
        // Columns the job left alone are not copied from one tag into the other.
        QCOMPARE(tag.ID3_DATA("album"), QString());
        QCOMPARE(tag.TAG1_DATA("artist"), "V1 Artist");
        // The tag a file lacked is made, holding what its row shows; the audio stays.
        QVERIFY(tag.setFilePath(v1Only));
        QCOMPARE(tag.ID3_DATA("title"), "Two");
        QCOMPARE(tag.TAG1_DATA("title"), "Two");
        QVERIFY(Id3::read(v1Only).endsWith(QByteArray(Id3::audio(400) + Id3::v1("Two"))));

        // A second run with the same values changes no byte.
        const QByteArray written = Id3::read(path);
        QVERIFY(!execute(job, true));
        QCOMPARE(Id3::read(path), written);

        // Nor does a run over Latin-1 ID3v1 text beside the same text in UTF-16.
        const QByteArray latin = Id3::tag(Id3::frame("TIT2", '\x01' + Id3::utf16le("Café")), 40)
                                 + Id3::audio(400) + Id3::v1("Caf\xE9", "Bj\xF6rk", {}, {}, {}, 255);
        const QString latinPath = put("latin.mp3", latin);
        job.rows().clear();
        job.AddTagRow(latinPath, 0);
        QCOMPARE(job.rows().row(1)[TagField::Title], "Café");
        QVERIFY(!execute(job, true));
        QCOMPARE(Id3::read(latinPath), latin);
    }

    void executeCountsFailures()
    {
        Mp3TagJob job(m_user, m_files, m_text);
        const QByteArray v22 = QByteArray("ID3\x02\0\0", 6) + Id3::sizeBytes(40, true)
                               + QByteArray("TT2\0\0\x05\0Song", 11) + QByteArray(29, '\0') + Id3::audio(300)
                               + Id3::v1("Song");
        const QString old = put("old.mp3", v22);
        const QString good = bothTags("good.mp3");
        const QString gone = bothTags("gone.mp3");
        job.AddTagRow(old, 0);
        job.AddTagRow(good, 0);
        job.AddTagRow(gone, 0);
        QVERIFY(QFile::remove(gone));
        for (int i = 1; i <= 3; ++i)
            job.rows().setField(i, TagField::Title, "Changed");

        QVERIFY(execute(job, true));
        QCOMPARE(Id3::read(old), v22); // neither tag of a file that cannot be rewritten is touched
        clsTAG tag;
        QVERIFY(tag.setFilePath(good));
        QCOMPARE(tag.ID3_DATA("title"), "Changed");
        QCOMPARE(job.failures().size(), 2);
        QVERIFY(job.failures()[0].startsWith(old + u" : ") && job.failures()[1].startsWith(gone + u" : "));
        QCOMPARE(m_user.errorLists.size(), 1);
        QCOMPARE(m_user.messages.last().prompt, "完了しませんでした\r\n\r\n書き換えたファイル: 1 件");
        QVERIFY(m_opener.folders.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMp3TagJob)
#include "tst_mp3tagjob.moc"
