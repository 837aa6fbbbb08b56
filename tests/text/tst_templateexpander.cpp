#include "platform/displaytext.h"
#include "platform/linuxfilesystem.h"
#include "platform/systeminfo.h"
#include "scripteduserchannel.h"
#include "text/tagreader.h"
#include "text/textengine.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeTagReader : public TagReader
{
public:
    QString tagField(const QString &path, const QString &header) override
    {
        reads.append(path + u'|' + header);
        return fields.value(header);
    }

    QHash<QString, QString> fields;
    QStringList reads;
};

}

class TestTemplateExpander : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placeholders_data();
    void placeholders();
    void tagsReadOnlyWhenAsked();
    void fileTimes();
    void machineAndMoment();

private:
    ScriptedUserChannel m_user;
    LinuxFileSystem m_files;
};

void TestTemplateExpander::placeholders_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::newRow("row") << "Row()" << 3 << "3";
    QTest::newRow("row in arithmetic") << "Row()*10" << 4 << "40";
    QTest::newRow("row in a function") << "format(Row(),\"000\")" << 7 << "007";
    QTest::newRow("title in capitals") << "<TITLE> - <artist>" << 1 << "Song - Band";
    QTest::newRow("field without tag") << "<Album>" << 1 << "";
    QTest::newRow("not a placeholder") << "<FileName.>" << 1 << "<FileName.>";
    QTest::newRow("tag value goes through functions") << "left(<Title>,2)" << 1 << "So";
    QTest::newRow("format token left for the replace") << "<format(Row(),\"00\")>" << 5 << "<format(5,\"00\")>";
}

void TestTemplateExpander::placeholders()
{
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(QString, expected);
    FakeTagReader tags;
    tags.fields.insert(QStringLiteral("Title"), QStringLiteral("Song"));
    tags.fields.insert(QStringLiteral("Artist"), QStringLiteral("Band"));
    TextEngine engine(m_user, m_files);
    engine.setTagReader(&tags);
    QCOMPARE(engine.ExpandTemplate(text, row, QStringLiteral("/music/a.mp3")), expected);
}

void TestTemplateExpander::tagsReadOnlyWhenAsked()
{
    FakeTagReader tags;
    TextEngine engine(m_user, m_files);
    engine.setTagReader(&tags);
    engine.ExpandTemplate(QStringLiteral("Row()"), 1, QStringLiteral("/a.mp3"));
    QVERIFY(tags.reads.isEmpty());
    engine.ExpandTemplate(QStringLiteral("<Year><year>"), 1, QStringLiteral("/a.mp3"));
    QCOMPARE(tags.reads, QStringList{QStringLiteral("/a.mp3|Year")});
    TextEngine withoutReader(m_user, m_files);
    QCOMPARE(withoutReader.ExpandTemplate(QStringLiteral("[<Title>]"), 1, QStringLiteral("/a.mp3")),
             QStringLiteral("[]"));
}

void TestTemplateExpander::fileTimes()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("a.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QDateTime modified(QDate(2008, 1, 15), QTime(13, 5, 9));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();

    TextEngine engine(m_user, m_files);
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("getmodefiedfiletime()"), 1, path),
             QStringLiteral("2008/01/15 13:05:09"));
    const FileInfo info = m_files.info(path);
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("GetCreateFileTime()"), 1, path), DateText(info.created));
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("[GetModefiedFileTime()]"), 1, folder.filePath(QStringLiteral("none"))),
             QStringLiteral("[]"));
}

void TestTemplateExpander::machineAndMoment()
{
    TextEngine engine(m_user, m_files);
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("<pc-name>"), 1, QString()), SystemInfo::computerName().left(15));
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("<User-Name>"), 1, QString()), SystemInfo::userName().left(256));
    const QString moment = engine.ExpandTemplate(QStringLiteral("<DateTime>"), 1, QString());
    QCOMPARE(moment.size(), 19);
    QVERIFY(ParseDateText(moment).isValid());
}

QTEST_GUILESS_MAIN(TestTemplateExpander)
#include "tst_templateexpander.moc"
