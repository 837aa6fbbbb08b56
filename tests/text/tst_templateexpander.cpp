#include "platform/codepage.h"
#include "platform/displaytext.h"
#include "platform/linuxfilesystem.h"
#include "platform/systeminfo.h"
#include "scripteduserchannel.h"
#include "text/formattokenexpander.h"
#include "text/exifreader.h"
#include "text/literalshield.h"
#include "text/tagreader.h"
#include "text/textengine.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class FakeTagReader : public TagReader, public ExifReader
{
public:
    QString tagField(const QString &path, const QString &header) override
    {
        reads.append(path + u'|' + header);
        return fields.value(header);
    }
    ExifFields exifFields(const QString &path) override
    {
        reads.append(path + u"|Exif");
        return {u"2024/08/15 10:30:00"_s, u"Canon"_s, fields.value(u"Model"_s)};
    }

    QHash<QString, QString> fields;
    QStringList reads;
};

// The replace job's steps for one name, one by one (the planner's order).
QString replaced(TextEngine &engine, const QString &name, const QString &search, const QString &replace,
                 int rowIndex = 1, bool ignoreCase = false)
{
    const LiteralShield shield({name, replace});
    QString text = engine.ExpandSubMatches(name, search, replace, true, &shield);
    if (text == ErrorMarker)
        return text;
    text.replace(QStringLiteral("<FileName>"), shield.shielded(name), Qt::CaseInsensitive);
    text = engine.ExpandTemplate(text, rowIndex, QString());
    if (text == ErrorMarker)
        return text;
    const QString planned = engine.RegReplace(name, search, text, ignoreCase);
    return planned == ErrorMarker ? planned : shield.restored(planned);
}

QString randomPieces(QRandomGenerator &random, const QStringList &pieces, int count)
{
    QString text;
    for (int i = random.bounded(count + 1); i > 0; --i)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

QString shippedFile(const QString &name)
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/parts/") + name);
    return file.open(QIODevice::ReadOnly) ? CodePage::decodeText(file.readAll()) : QString();
}

} // namespace

class TestTemplateExpander : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placeholders_data();
    void placeholders();
    void tagsReadOnlyWhenAsked();
    void fileTimes();
    void shippedTemplateEntries();
    void shippedHelpExamples();
    void randomTexts();
    void compiledReplaceAgrees();

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
    QTest::newRow("computer name") << "<pc-name>" << 1 << SystemInfo::computerName().left(15);
    QTest::newRow("user name") << "<User-Name>" << 1 << SystemInfo::userName().left(256);
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
    // One read of a photo gives all three fields; a field the photo lacks is empty.
    engine.setExifReader(&tags);
    QCOMPARE(engine.ExpandTemplate(u"format(<EXIFDATETIME>,\"yyyymmdd\")<exifmake>[<ExifModel>]"_s, 1, u"/p.jpg"_s),
             u"20240815Canon[]"_s);
    QCOMPARE(tags.reads.size(), 2);
    const QString moment = engine.ExpandTemplate(QStringLiteral("<DateTime>"), 1, QString());
    QVERIFY(moment.size() == 19 && ParseDateText(moment).isValid());
    TextEngine withoutReader(m_user, m_files);
    QCOMPARE(withoutReader.ExpandTemplate(QStringLiteral("[<Title><ExifMake>]"), 1, QStringLiteral("/a.mp3")),
             QStringLiteral("[]"));
}

void TestTemplateExpander::fileTimes()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("a.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(QDateTime(QDate(2008, 1, 15), QTime(13, 5, 9)), QFileDevice::FileModificationTime));
    file.close();
    TextEngine engine(m_user, m_files);
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("getmodefiedfiletime()"), 1, path),
             QStringLiteral("2008/01/15 13:05:09"));
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("GetCreateFileTime()"), 1, path), DateText(m_files.info(path).created()));
    QCOMPARE(engine.ExpandTemplate(QStringLiteral("[GetModefiedFileTime()]"), 1, folder.filePath(QStringLiteral("none"))),
             QStringLiteral("[]"));
}

// Every entry of the shipped template on a sample name; those that need a
// file's time or tags have no sample (an empty one).
void TestTemplateExpander::shippedTemplateEntries()
{
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QHash<QString, QPair<QString, QString>> samples{
        {QStringLiteral("拡張子を変える"), {QStringLiteral("a.jpeg"), QStringLiteral("a.jpg")}},
        {QStringLiteral("拡張子を小文字に"), {QStringLiteral("A.JPG"), QStringLiteral("A.jpg")}},
        {QStringLiteral("拡張子のみで小文字に"), {QStringLiteral("JPG"), QStringLiteral("jpg")}},
        {QStringLiteral("拡張子の前に付ける"), {QStringLiteral("a.txt"), QStringLiteral("a_済.txt")}},
        {QStringLiteral("拡張子を取る"), {QStringLiteral("a.txt"), QStringLiteral("a")}},
        {QStringLiteral("先頭に付ける"), {QStringLiteral("a.jpg"), QStringLiteral("旅行_a.jpg")}},
        {QStringLiteral("末尾に付ける（拡張子の前）"), {QStringLiteral("a.jpg"), QStringLiteral("a_完了.jpg")}},
        {QStringLiteral("先頭の数字を取る"), {QStringLiteral("01 - a.mp3"), QStringLiteral("a.mp3")}},
        {QStringLiteral("先頭の n 文字を取る"), {QStringLiteral("abcdef.txt"), QStringLiteral("def.txt")}},
        {QStringLiteral("空白を取る"), {QStringLiteral("a b c.txt"), QStringLiteral("abc.txt")}},
        {QStringLiteral("空白を _ に"), {QStringLiteral("a b　c.txt"), QStringLiteral("a_b_c.txt")}},
        {QStringLiteral("全角空白を半角に"), {QStringLiteral("a　b.txt"), QStringLiteral("a b.txt")}},
        {QStringLiteral("括弧と中身を取る"), {QStringLiteral("a (1).txt"), QStringLiteral("a.txt")}},
        {QStringLiteral("[ ] と中身を取る"), {QStringLiteral("a [x].txt"), QStringLiteral("a.txt")}},
        {QStringLiteral("連続した _ を 1 つに"), {QStringLiteral("a___b.txt"), QStringLiteral("a_b.txt")}},
        {QStringLiteral("拡張子の前の数字を 3 桁に"), {QStringLiteral("song1.mp3"), QStringLiteral("song001.mp3")}},
        {QStringLiteral("最初の数字だけ 3 桁に"), {QStringLiteral("曲2 おわり 5.mp3"), QStringLiteral("曲002 おわり 5.mp3")}},
        {QStringLiteral("最初の数字に 100 を足す"), {QStringLiteral("a5.mp3"), QStringLiteral("a105.mp3")}},
        {QStringLiteral("行番号を先頭に"), {QStringLiteral("a.txt"), QStringLiteral("001_a.txt")}},
        {QStringLiteral("行番号で名前を付け直す"), {QStringLiteral("a.jpg"), QStringLiteral("写真_0001.jpg")}},
        {QStringLiteral("「A - B」を「B - A」に"), {QStringLiteral("歌手 - 曲.mp3"), QStringLiteral("曲 - 歌手.mp3")}},
        {QStringLiteral("日付を 2024-01-05 形式に"), {QStringLiteral("20240105"), QStringLiteral("2024-01-05")}},
        {QStringLiteral("日付を 20240105 形式に"), {QStringLiteral("2024-01-05.jpg"), QStringLiteral("20240105.jpg")}},
        {QStringLiteral("更新日時を名前に"), {}}, {QStringLiteral("作成日を先頭に"), {}},
        {QStringLiteral("撮影日時を名前に"), {}}, {QStringLiteral("撮影したカメラの機種を先頭に"), {}},
        {QStringLiteral("今日の日付を末尾に"), {QStringLiteral("a.txt"), QStringLiteral("a_") + today + QStringLiteral(".txt")}},
        {QStringLiteral("英字を大文字に"), {QStringLiteral("abc.txt"), QStringLiteral("ABC.txt")}},
        {QStringLiteral("英字を小文字に"), {QStringLiteral("ABC.TXT"), QStringLiteral("abc.TXT")}},
        {QStringLiteral("全角英数を半角に"), {QStringLiteral("ＡＢＣ１.txt"), QStringLiteral("ABC1.txt")}},
        {QStringLiteral("ひらがなをカタカナに"), {QStringLiteral("あいう.txt"), QStringLiteral("アイウ.txt")}},
        {QStringLiteral("トラック番号_タイトル"), {}}, {QStringLiteral("アーティスト - タイトル"), {}}};
    TextEngine engine(m_user, m_files);
    int entries = 0;
    for (const QString &line : shippedFile(QStringLiteral("テンプレート.txt")).split(QStringLiteral("\r\n"))) {
        const QStringList cells = line.split(u'\t');
        if (cells.size() != 3 || line.startsWith(u'#') || cells[0] == QStringLiteral("したいこと"))
            continue;
        ++entries;
        QVERIFY2(samples.contains(cells[0]), qPrintable(cells[0]));
        const auto [name, expected] = samples.value(cells[0]);
        if (!name.isEmpty())
            QCOMPARE(replaced(engine, name, cells[1], cells[2]), expected);
    }
    QCOMPARE(entries, samples.size());
    QVERIFY(m_user.messages.isEmpty());
}

// Every example of the help that does not depend on the moment or a file.
void TestTemplateExpander::shippedHelpExamples()
{
    const QString help = shippedFile(QStringLiteral("func.html")).replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    static const QRegularExpression call(QStringLiteral("<td>例</td><td>(?:.*　)?(\\w+\\([^　<]*\\))　→ ([^　<（]+)"));
    static const QRegularExpression search(QStringLiteral("検索 (\\S+)　置換 (\\S+)　→ (\\S+) が (\\S+) に"));
    static const QRegularExpression moment(QStringLiteral("FileTime|Now|Today|Time\\(|Rnd"));
    TextEngine engine(m_user, m_files);
    int examples = 0;
    for (const QString &line : help.split(u'\n')) {
        const QRegularExpressionMatch example = call.match(line);
        if (example.hasMatch() && !example.captured(1).contains(moment) && !example.captured(2).contains(u'～')
            && !example.captured(2).contains(u'が')) {
            QCOMPARE(engine.ExpandTemplate(example.captured(1), 1, QString()), example.captured(2));
            ++examples;
        }
        const QRegularExpressionMatch replace = search.match(line);
        if (replace.hasMatch() && !line.contains(u"Exif"_s)) {
            QCOMPARE(replaced(engine, replace.captured(3), replace.captured(1), replace.captured(2)), replace.captured(4));
            ++examples;
        }
    }
    QVERIFY(examples > 20);
    QVERIFY(m_user.messages.isEmpty());
}

// Random texts built from the pieces the engines treat specially: expansion
// ends on every one of them, and the direct scanners of the format token
// find what the script engine's patterns find.
void TestTemplateExpander::randomTexts()
{
    TextEngine engine(m_user, m_files);
    QRandomGenerator random(2008);
    const QStringList callPieces = u"left( LEN( mid( format( replace( strconv( GetPixel( midb( chr( dateserial( "
                                   u"instrrev( \\ 27ZZ ) ( , \" < > 1 -3 99999 あ ｶﾞ a 2008/1/15 0.5 x1F Row()"_s.split(u' ')
                                   << u" "_s;
    const QStringList tokenPieces = u"<|>|format(|FoRmAt(|ſormat(|)|(|,|\"| |\u3000|\n|1|$1|\"000\"|x|😀"_s.split(u'|');
    int tokens = 0;
    for (int i = 0; i < 2500; ++i) {
        // Every other text is shaped like a token with random parts.
        const auto part = [&](int count) { return randomPieces(random, tokenPieces, count); };
        const QString text = i % 2 ? randomPieces(random, callPieces, 12)
                                   : part(3) + u'<' + part(2) + u"format("_s + part(3) + u',' + part(2) + u'"'
                                         + part(3) + u'"' + part(2) + u")>"_s + part(3);
        m_user.clear();
        engine.ExpandFunctions(text);
        engine.ExpandTemplate(text, i, QString());
        QCOMPARE(FormatTokenExpander::tokenStart(text), engine.RegFirstMatch(text, u"\\<\\s*format\\("_s, true));
        const QString token = FormatTokenExpander::token(text);
        tokens += token.isEmpty() ? 0 : 1;
        QCOMPARE(token, engine.RegFirstMatch(text, u"(\\s*<\\s*format\\(.+?,\\s*\".+?\"\\s*\\)\\s*>\\s*)"_s, true));
        QCOMPARE(FormatTokenExpander::tokenArguments(text), engine.RegFirstMatch(text, u"\\((.+?,.+?)\\)"_s, true));
    }
    QVERIFY2(tokens > 50, "the random texts must hold tokens");
    // Values that spell calls again must not expand forever.
    QVERIFY(!engine.ExpandFunctions(u"replace(left(,left(,left()"_s).isNull());
}

// The replace string taken apart once gives each name what the steps one by
// one give, on names and replace strings built from what the steps react to.
void TestTemplateExpander::compiledReplaceAgrees()
{
    TextEngine compiled(m_user, m_files);
    TextEngine stepwise(m_user, m_files);
    QRandomGenerator random(2512);
    // The first parts of each list are ordinary, then come blanks and
    // operators; many texts are built from those alone.
    const QStringList nameParts =
        u"IMG|_|1|23|007|0|.jpg|a|A|x|E|あ|12345678901234567| |\u3000|-|+|*|=|$1|$|\\|<|>|(|)|"
        u"Row()|<Title>|format(|,|\"|27|ZZ|Z|\u017F|\u212A|##Error##|\uF8FF|\U0001F600"_s.split(u'|');
    const QStringList replaceParts =
        u"$1|$2|<FileName>|Row()|<format($1,\"000\")>|<format(Row(),\"0000\")>|<format($2,\"#,##0\")>|"
        u"<format($1,\"yyyy\")>|<format($1$2,\"00\")>|<format($1,\"0.0\")>|<format(x$1,\"000\")>|_|x|A|1|.|"
        u"$3|$$|$0|$10|$|<fILEnAME>|ROW()|<format( $1 ,\"00\")>|<format($1,\"00\") >|<format(Row()$1,\"000\")>|"
        u"-|+|9| |(|)|,|\"|\\|<|>|Z|<Title>|left($1,2)|E|##Error##"_s.split(u'|');
    const QStringList searches{u"(\\d+)"_s, u"([a-z]+)(\\d*)"_s, u"(\\d)(\\d)?"_s, u"x*"_s, u"(\\w+)\\.(\\w+)$"_s,
                               u"^"_s, u"[A-Z]"_s, u"(\\d+)|(img)"_s, u"(?=\\d)"_s, u"(\\D*)(\\d*)(.*)"_s,
                               u"([^.]*)(.*)"_s, u"\\d"_s};
    int compiledRows = 0;
    for (int i = 0; i < 10000; ++i) {
        const QString name = randomPieces(random, nameParts.mid(0, (i % 3 + 1) * 13 + 6), i % 5 ? 3 : 8);
        const QString replace = randomPieces(random, i % 4 < 2 ? replaceParts : replaceParts.mid(0, 16), 4);
        const QString &search = searches[random.bounded(int(searches.size()))];
        const bool ignoreCase = random.bounded(2);
        const int row = random.bounded(1, 2000);
        m_user.clear();
        const std::optional<QString> fast = compiled.CompiledReplaceName(name, search, replace, ignoreCase, row);
        if (!fast)
            continue;
        ++compiledRows;
        QVERIFY(m_user.messages.isEmpty());
        const QString context = name + u" | "_s + search + u" | "_s + replace;
        const QString expected = replaced(stepwise, name, search, replace, row, ignoreCase);
        QVERIFY2(*fast == expected && m_user.messages.isEmpty(),
                 qPrintable(context + u" | "_s + *fast + u" | "_s + expected + u" | row "_s + QString::number(row)));
    }
    QVERIFY2(compiledRows > 2000, "most rows must take the compiled form");
}

QTEST_GUILESS_MAIN(TestTemplateExpander)
#include "tst_templateexpander.moc"
