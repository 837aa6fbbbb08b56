#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/regreplacer.h"
#include "text/scripthost.h"
#include "text/textengine.h"

#include <QTest>

class TestRegReplace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replace_data();
    void replace();
    void engineLimitIsAnError();
    void failureMessage();
    void invalidPatternIsReported();
    void lineBreaksAreRejected();
    void formatTokens_data();
    void formatTokens();
    void malformedToken();
    void runawayIsInterrupted();
    void firstMatch_data();
    void firstMatch();
    void replaceIfMatchAndIndex();
    void expandSubMatches_data();
    void expandSubMatches();

private:
    ScriptedUserChannel m_user;
    LinuxFileSystem m_files;
};

void TestRegReplace::replace_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("expected");
    QTest::newRow("global") << "a1b22c333" << "\\d+" << "#" << false << "a#b#c#";
    QTest::newRow("apostrophe in subject matched") << "it's" << "'" << "_" << false << "it_s";
    QTest::newRow("apostrophe in replacement") << "ab" << "b" << "'" << false << "a'";
    QTest::newRow("case ignored") << "ABC" << "abc" << "x" << true << "x";
    QTest::newRow("swap groups") << "abcab" << "(a)(b)" << "$2$1" << false << "bacba";
    QTest::newRow("whole match, before, after") << "xay" << "a" << "[$&|$`|$']" << false << "x[a|x|y]y";
    QTest::newRow("backslash escape in replacement") << "a" << "a" << "x\\\\y" << false << "x\\y";
    QTest::newRow("hex escape in replacement") << "a" << "a" << "\\x41" << false << "A";
    QTest::newRow("append at end") << "abc" << "$" << "_old" << false << "abc_old";
    QTest::newRow("word boundaries") << "ab cd" << "\\b" << "|" << false << "|ab| |cd|";
    QTest::newRow("empty match before lookahead") << "abc" << "(?=c)|$" << "|" << false << "ab|c|";
    QTest::newRow("empty match with tokens") << "ab" << "(x?)" << "[$1$&]" << false << "[]a[]b[]";
    QTest::newRow("sort key commas") << "1,234" << "(,)(\\d{3})" << "$2" << false << "1234";
}

void TestRegReplace::replace()
{
    QFETCH(QString, subject);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, expected);
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegReplace(subject, pattern, replacement, ignoreCase), expected);
    QCOMPARE(m_user.messages.size(), 0);
    // A second call takes the cached function and must agree.
    QCOMPARE(engine.RegReplace(subject, pattern, replacement, ignoreCase), expected);
}

// Backtracking beyond the engine's limits must never pass for "no match".
void TestRegReplace::engineLimitIsAnError()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    const QString subject = QString(40, u'a') + u'b';
    QCOMPARE(engine.RegReplace(subject, QStringLiteral("(a+)+c|b"), QStringLiteral("X"), false), ErrorMarker);
    QCOMPARE(engine.ExpandSubMatches(subject, QStringLiteral("(a+)+c|(b)"), QStringLiteral("$2"), true), ErrorMarker);
    QCOMPARE(m_user.messages.size(), 2);
    QCOMPARE(m_user.messages[0].title, QStringLiteral("正規表現エラー　－　RegReplace"));
    // Either the right answer or a message, never the name unchanged.
    m_user.clear();
    const QString result = engine.RegReplace(QString(25, u'a'), QStringLiteral("(?:a?){25}a{25}"), QStringLiteral("X"), false);
    QVERIFY(result == QStringLiteral("X") || (result == ErrorMarker && m_user.messages.size() == 1));
}

void TestRegReplace::failureMessage()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegReplace(QStringLiteral("it's"), QStringLiteral("a/b\\"), QStringLiteral("x"), true), ErrorMarker);
    QCOMPARE(m_user.messages.size(), 1);
    const MessageRequest &message = m_user.messages.front();
    QCOMPARE(message.title, QStringLiteral("正規表現エラー　－　RegReplace"));
    QCOMPARE(MessageStyle::buttons(message.style), MessageStyle::OkOnly);
    // The first line holds the script engine's error number and text.
    QVERIFY(message.prompt.section(u' ', 0, 0).toInt() > 0);
    QVERIFY(message.prompt.endsWith(QStringLiteral("\r\n\r\nSrc　　:it\\x27s\r\nPattern:/a\\x2fb\\/gi")));
}

void TestRegReplace::invalidPatternIsReported()
{
    TextEngine engine(m_user, m_files);
    for (const QString &pattern : {QStringLiteral("("), QStringLiteral("[b-a]")}) {
        m_user.clear();
        QCOMPARE(engine.RegReplace(QStringLiteral("ab"), pattern, QStringLiteral("x"), false), ErrorMarker);
        QCOMPARE(m_user.messages.size(), 1);
        QVERIFY(m_user.messages[0].prompt.endsWith(QStringLiteral("Pattern:/") + pattern + QStringLiteral("/g")));
    }
}

void TestRegReplace::lineBreaksAreRejected()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegReplace(QStringLiteral("a\r\nb"), QStringLiteral("a"), QStringLiteral("x"), false), ErrorMarker);
    QCOMPARE(engine.RegReplace(QStringLiteral("ab"), QStringLiteral("a"), QStringLiteral("x\ny"), false), ErrorMarker);
    QCOMPARE(m_user.messages.size(), 2);
    QVERIFY(m_user.messages[0].prompt.contains(QStringLiteral("Src　　:a\r\nb")));
}

void TestRegReplace::formatTokens_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero padded") << "track7.ogg" << "(\\d+)" << "<format($1,\"000\")>" << "track007.ogg";
    QTest::newRow("blanks around consumed") << "a <format(5,\"000\")> b" << "x" << "" << "a005b";
    QTest::newRow("blanks inside allowed") << "x" << "x" << "< format( 3 , \"00\" ) >" << "03";
    QTest::newRow("sort key") << "disc 12 track 3" << "(\\d+)" << "<format($1,\"00000000000\")>"
                              << "disc00000000012track00000000003";
    QTest::newRow("non-number unformatted") << "abc" << "(\\w+)" << "<format($1,\"000\")>" << "abc";
    QTest::newRow("double backslash halves") << "x" << "x" << "a\\\\\\\\b<format(1,\"0\")>" << "a\\b1";
}

void TestRegReplace::formatTokens()
{
    QFETCH(QString, subject);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegReplace(subject, pattern, replacement, true), expected);
    QCOMPARE(m_user.messages.size(), 0);
}

void TestRegReplace::malformedToken()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegReplace(QStringLiteral("7"), QStringLiteral("(\\d+)"), QStringLiteral("<format($1,000)>"), true),
             ErrorMarker);
    QCOMPARE(m_user.messages.size(), 1);
    QCOMPARE(m_user.messages[0].prompt,
             QStringLiteral("format 関数の記述が違います！\r\n\r\n例：　<format( $1 + 5 , \"000\" )>"));
    // A value that fails to evaluate fails the replace after its own message.
    QCOMPARE(engine.RegReplace(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("<format(1E308*10,\"0\")>"), true),
             ErrorMarker);
    QCOMPARE(m_user.messages.size(), 2);
}

void TestRegReplace::runawayIsInterrupted()
{
    ScriptHost host(300);
    ScriptError error;
    host.evaluate(QStringLiteral("for (;;) {}"), error);
    QVERIFY(error.description.contains(QStringLiteral("中断")));
    // The host is usable again afterwards.
    ScriptError next;
    QCOMPARE(host.evaluate(QStringLiteral("1 + 1"), next).toInt(), 2);
    QVERIFY(next.description.isEmpty());
}

void TestRegReplace::firstMatch_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("expected");
    QTest::newRow("group") << "12x" << "(\\d+)x" << false << "12";
    QTest::newRow("empty pattern") << "12x" << "" << false << "12x";
    QTest::newRow("no match") << "abc" << "\\d" << false << "";
    QTest::newRow("ignore case") << "<TITLE>" << "<title>" << true << "<TITLE>";
}

void TestRegReplace::firstMatch()
{
    QFETCH(QString, subject);
    QFETCH(QString, pattern);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, expected);
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegFirstMatch(subject, pattern, ignoreCase), expected);
    QCOMPARE(engine.RegFirstMatch(subject, pattern, ignoreCase), expected);
    QCOMPARE(m_user.messages.size(), 0);
}

void TestRegReplace::replaceIfMatchAndIndex()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegReplaceIfMatch(QStringLiteral("a(1),b(2)"), QStringLiteral("\\(,*\\)"), QString(), true),
             QStringLiteral("a(1),b(2)"));
    QCOMPARE(engine.RegReplaceIfMatch(QStringLiteral("left(,)x()"), QStringLiteral("\\(,*\\)"), QString(), true),
             QStringLiteral("leftx"));
    QCOMPARE(engine.RegReplaceIfMatch(QStringLiteral("abc"), QStringLiteral("["), QStringLiteral("x"), true),
             QStringLiteral("abc"));
    QCOMPARE(engine.RegFirstIndex(QStringLiteral("abcabc"), QStringLiteral("c"), false), 2);
    QCOMPARE(engine.RegFirstIndex(QStringLiteral("abc"), QStringLiteral("x"), false), 0);
    QCOMPARE(engine.RegFirstIndex(QStringLiteral("abc"), QStringLiteral("("), false), 0);
    QCOMPARE(m_user.messages.size(), 0);
}

void TestRegReplace::expandSubMatches_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("groups") << "ab12" << "([a-z]+)(\\d+)" << "$2-$1" << "12-ab";
    QTest::newRow("no match") << "xyz" << "(\\d)(\\d)" << "$1-$2" << "$1-$2";
    QTest::newRow("group not taking part") << "b" << "(a)?(b)" << "[$1$2]" << "[b]";
    QTest::newRow("ten groups read $10 as group 1") << "abcdefghij" << "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)" << "$10"
                                                    << "a0";
    QTest::newRow("invalid pattern") << "ab" << "(" << "$1" << "";
}

void TestRegReplace::expandSubMatches()
{
    QFETCH(QString, subject);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    TextEngine engine(m_user, m_files);
    QCOMPARE(engine.ExpandSubMatches(subject, pattern, replacement, true), expected);
}

QTEST_GUILESS_MAIN(TestRegReplace)
#include "tst_regreplace.moc"
