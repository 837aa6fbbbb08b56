#include "engine/executerename.h"
#include "engine/filedate.h"

#include "enginefixture.h"
#include "platform/displaytext.h"
#include "platform/messagerequest.h"

#include <QTest>

#include <cerrno>
#include <ctime>
#include <sys/xattr.h>

namespace {

constexpr qint64 epochAsFileTime = 116444736000000000;

qint64 fileTimeOfUtc(const QString &utc)
{
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODate);
    return epochAsFileTime + time.toSecsSinceEpoch() * 10000000;
}

void useTimeZone(const char *zone)
{
    qputenv("TZ", zone);
    ::tzset();
}

const QString stamp = u"2010/05/01 08:00:00"_qs;

// A file of the work folder, listed with the stamp the job should give it.
void addStamped(EngineFixture &f, const QString &name, RenameField field)
{
    f.write(name, "x");
    f.addRow(name, name);
    f.rows.editRow(f.rows.count())[field] = stamp;
}

} // namespace

class TestFileDate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { useTimeZone("UTC"); }

    void usesTheOffsetOfTheDate_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("utc");

        QTest::newRow("tokyo") << QByteArray("Asia/Tokyo") << u"2009/03/07 18:05:09"_qs << u"2009-03-07T09:05:09Z"_qs;
        QTest::newRow("berlin winter") << QByteArray("Europe/Berlin") << u"2009/01/15 12:00:00"_qs
                                       << u"2009-01-15T11:00:00Z"_qs;
        QTest::newRow("berlin summer") << QByteArray("Europe/Berlin") << u"2009/07/15 12:00:00"_qs
                                       << u"2009-07-15T10:00:00Z"_qs;
        QTest::newRow("before 1970") << QByteArray("UTC") << u"1960/01/01 00:00:00"_qs << u"1960-01-01T00:00:00Z"_qs;
    }

    void usesTheOffsetOfTheDate()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, local);
        QFETCH(QString, utc);
        useTimeZone(zone.constData());
        QCOMPARE(DateToFileTime(ParseDateText(local)), fileTimeOfUtc(utc));
    }

    void creationTimeThroughTheSmbAttribute()
    {
        useTimeZone("Asia/Tokyo");
        EngineFixture f;
        f.write(u"share"_qs, "S");
        const QByteArray name = QFile::encodeName(f.path(u"share"_qs));
        const char *attribute = "user.cifs.creationtime";
        if (::setxattr(name.constData(), attribute, "\0\0\0\0\0\0\0\0", 8, 0) != 0)
            QSKIP("no user attributes on this file system");

        QVERIFY(SetCreationTime(f.files, f.path(u"share"_qs), ParseDateText(u"2009/03/07 18:05:09"_qs)).ok());
        unsigned char value[8] = {};
        QCOMPARE(::getxattr(name.constData(), attribute, value, sizeof value), ssize_t(8));
        quint64 stored = 0;
        for (int i = 7; i >= 0; --i)
            stored = (stored << 8) | value[i];
        QCOMPARE(qint64(stored), fileTimeOfUtc(u"2009-03-07T09:05:09Z"_qs));
    }

    void failedTimeStampsEndAbnormally()
    {
        EngineFixture f;
        f.context.job = JobKind::ModifiedDate;
        for (const QString &name : {u"ok"_qs, u"gone"_qs, u"locked"_qs, u"garbled"_qs})
            addStamped(f, name, RenameField::Modified);
        QFile::remove(f.path(u"gone"_qs));
        f.rows.editRow(4)[RenameField::Modified] = u"2010/13/45 99:00:00"_qs;
        f.files.timeFault = [](const QString &path) { return path.endsWith(u"/locked"_qs) ? EPERM : 0; };
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        QVERIFY(ExecuteRename(f.context, false));
        QCOMPARE(DateText(f.files.info(f.path(u"ok"_qs)).modified), stamp);
        const QString log = f.user.messages[1].prompt;
        QCOMPARE(f.user.messages[1].title, u"エラー発生"_qs);
        QVERIFY(log.contains(u"★変更処理エラー 2\r\n元の名 = gone\r\n置換後 = 2010/05/01 08:00:00\r\n"_qs
                             + FsStatus::fromErrno(ENOENT).text()));
        QVERIFY(log.contains(u"★変更処理エラー 3\r\n"_qs));
        QVERIFY(log.contains(u"★変更処理エラー 4\r\n"_qs));
        QVERIFY(!log.contains(u"エラー 1\r\n"_qs));
        QCOMPARE(f.user.messages.last().title, u"異常終了"_qs);

        // Creation times on a file system without them: never "変換完了".
        EngineFixture g;
        g.context.job = JobKind::CreatedDate;
        addStamped(g, u"a"_qs, RenameField::Created);
        g.user.answers << MessageAnswer::Ok << MessageAnswer::No;
        QVERIFY(ExecuteRename(g.context, false));
        QCOMPARE(g.user.messages.last().title, u"異常終了"_qs);
    }

    void confirmationAndQuiet()
    {
        EngineFixture f;
        f.context.job = JobKind::CreatedDate;
        f.context.unattended = true; // the time-stamp question is asked all the same
        addStamped(f, u"a"_qs, RenameField::Created);
        f.user.answers << MessageAnswer::Cancel;
        QVERIFY(!ExecuteRename(f.context, false));
        QCOMPARE(f.user.messages.size(), 1);
        QCOMPARE(f.user.messages[0].prompt, u"作成日を変更します。\r\nよろしいですか？"_qs);
        QCOMPARE(f.user.messages[0].title, u"確認"_qs);
        QVERIFY(f.states.listEnabled);

        EngineFixture g;
        g.context.job = JobKind::ModifiedDate;
        addStamped(g, u"a"_qs, RenameField::Modified);
        QVERIFY(!ExecuteRename(g.context, true));
        QVERIFY(g.user.messages.isEmpty());
        QCOMPARE(DateText(g.files.info(g.path(u"a"_qs)).modified), stamp);
    }
};

QTEST_GUILESS_MAIN(TestFileDate)
#include "tst_filedate.moc"
