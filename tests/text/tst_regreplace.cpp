#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/nativeregex.h"
#include "text/regreplacer.h"
#include "text/scripthost.h"
#include "text/textengine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString replaceTitle = u"正規表現エラー　－　RegReplace"_s;

struct Case
{
    QString subject;
    QString pattern;
    QString replacement;
    bool ignoreCase = false;
    bool mayGiveUp = false; // long enough to reach an engine's backtracking limit
};

QString pick(QRandomGenerator &random, const QStringList &pieces, int count)
{
    QString text;
    for (int i = random.bounded(count + 1); i > 0; --i)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

// Features both engines read alike: no legacy octal escapes, no lookbehind.
QList<Case> generatedCases()
{
    QRandomGenerator random(19991231);
    const QStringList subjectPieces = QStringLiteral("a|B|1|23| |'|\\|/|$|.|あ|Ａ|-|_|(").split(u'|');
    const QStringList patternPieces = QStringLiteral(
        "a b \\d \\d+ (\\w+) ([a-z]) . * ? ^ $ / \\/ ' [ab] | (?:a|1) \\s あ \\\\ {2} (").split(u' ');
    const QStringList replacementPieces = QStringLiteral(
        "x $1 $2 $& $` $' $$ $ ' \\\\ \\x41 \\u3042 \\n \\t \" $10 - い").split(u' ');
    // Texts the script lexer reads oddly, and patterns that backtrack a lot.
    QList<Case> cases{{QStringLiteral("true story"), QString(), QStringLiteral("X")},
                      {QStringLiteral("abc"), QStringLiteral("*a*"), QStringLiteral("X")},
                      {QStringLiteral("a[b"), QStringLiteral("[b"), QStringLiteral("X")},
                      {QStringLiteral("ab"), QStringLiteral("b"), QStringLiteral("x\\\ny")},
                      {QStringLiteral("ab"), QStringLiteral("b"), QStringLiteral("x\\\r\ny")},
                      {QStringLiteral("abc"), QStringLiteral("a/z"), QStringLiteral("x")},
                      {QString(19, u'a') + u'b', QStringLiteral("(a+)+c|b"), QStringLiteral("X"), false, true},
                      {QString(25, u'a'), QStringLiteral("(?:a?){25}a{25}"), QStringLiteral("X"), false, true},
                      {QString(60, u'a') + u'y', QStringLiteral("[a-z]{1,100}[a-z]{1,100}[a-z]{1,100}x|y"),
                       QStringLiteral("X"), false, true}};
    for (int i = 0; i < 400; ++i) {
        cases.append({pick(random, subjectPieces, 8), pick(random, patternPieces, 3),
                      pick(random, replacementPieces, 3), random.bounded(2) == 1});
    }
    const QStringList longPieces = QStringLiteral("a aaaaaaaa b 1").split(u' ');
    const QStringList greedyPieces = QStringLiteral("(a+)+ (?:a|aa)+ a* (a|b)* c| [ab]{1,30} (?:a?){20} b").split(u' ');
    for (int i = 0; i < 60; ++i)
        cases.append({pick(random, longPieces, 12), pick(random, greedyPieces, 4), QStringLiteral("[$&]"), false, true});
    return cases;
}


}

class TestRegReplace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replace_data();
    void replace();
    void runawayIsInterrupted();
    void matchRoutines();
    void agreesWithNode();

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
    QTest::addColumn<QString>("expected");     // on failure: how the message ends
    QTest::addColumn<QString>("failureTitle"); // none: the replace succeeds
    QTest::newRow("global") << "a1b22c333" << "\\d+" << "#" << false << "a#b#c#" << QString();
    QTest::newRow("apostrophe in subject matched") << "it's" << "'" << "_" << false << "it_s" << QString();
    QTest::newRow("apostrophe in replacement") << "ab" << "b" << "'" << false << "a'" << QString();
    QTest::newRow("case ignored") << "ABC" << "abc" << "x" << true << "x" << QString();
    QTest::newRow("swap groups") << "abcab" << "(a)(b)" << "$2$1" << false << "bacba" << QString();
    QTest::newRow("whole match, before, after") << "xay" << "a" << "[$&|$`|$']" << false << "x[a|x|y]y" << QString();
    QTest::newRow("backslash escape in replacement") << "a" << "a" << "x\\\\y" << false << "x\\y" << QString();
    QTest::newRow("hex escape in replacement") << "a" << "a" << "\\x41" << false << "A" << QString();
    QTest::newRow("append at end") << "abc" << "$" << "_old" << false << "abc_old" << QString();
    QTest::newRow("word boundaries") << "ab cd" << "\\b" << "|" << false << "|ab| |cd|" << QString();
    QTest::newRow("empty match before lookahead") << "abc" << "(?=c)|$" << "|" << false << "ab|c|" << QString();
    QTest::newRow("empty match with tokens") << "ab" << "(x?)" << "[$1$&]" << false << "[]a[]b[]" << QString();
    QTest::newRow("sort key commas") << "1,234" << "(,)(\\d{3})" << "$2" << false << "1234" << QString();
    QTest::newRow("zero padded") << "track7.ogg" << "(\\d+)" << "<format($1,\"000\")>" << true << "track007.ogg"
                                 << QString();
    QTest::newRow("token blanks consumed") << "a <format(5,\"000\")> b" << "x" << "" << true << "a005b" << QString();
    QTest::newRow("token blanks inside") << "x" << "x" << "< format( 3 , \"00\" ) >" << true << "03" << QString();
    QTest::newRow("token sort key") << "disc 12 track 3" << "(\\d+)" << "<format($1,\"00000000000\")>" << true
                                    << "disc00000000012track00000000003" << QString();
    QTest::newRow("token of a non-number") << "abc" << "(\\w+)" << "<format($1,\"000\")>" << true << "abc" << QString();
    QTest::newRow("double backslash halves") << "x" << "x" << "a\\\\\\\\b<format(1,\"0\")>" << true << "a\\b1"
                                             << QString();
    QTest::newRow("engine limit") << QString(40, u'a') + u'b' << "(a+)+c|b" << "X" << false << "Pattern:/(a+)+c|b/g"
                                  << replaceTitle;
    QTest::newRow("unclosed group") << "ab" << "(" << "x" << false << "Pattern:/(/g" << replaceTitle;
    QTest::newRow("reversed range") << "ab" << "[b-a]" << "x" << false << "Pattern:/[b-a]/g" << replaceTitle;
    QTest::newRow("escaped subject and pattern") << "it's" << "a/b\\" << "x" << false
                                                 << "\r\n\r\nSrc　　:it\\x27s\r\nPattern:/a\\x2fb\\/g" << replaceTitle;
    QTest::newRow("line break in subject") << "a\r\nb" << "a" << "x" << false << "Src　　:a\r\nb\r\nPattern:/a/g"
                                           << replaceTitle;
    QTest::newRow("line break in replacement") << "ab" << "a" << "x\ny" << false << "Src　　:ab\r\nPattern:/a/g"
                                               << replaceTitle;
    QTest::newRow("malformed token") << "7" << "(\\d+)" << "<format($1,000)>" << false
                                     << "format 関数の記述が違います！\r\n\r\n例：　<format( $1 + 5 , \"000\" )>" << replaceTitle;
    QTest::newRow("token value fails") << "x" << "x" << "<format(1E308*10,\"0\")>" << false << "" << "Corvane";
}

// A failure ends as ErrorMarker after exactly one message saying why;
// backtracking beyond the engine's limits must never pass for "no match".
void TestRegReplace::replace()
{
    QFETCH(QString, subject);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, expected);
    QFETCH(QString, failureTitle);
    TextEngine engine(m_user, m_files);
    m_user.clear();
    if (failureTitle.isEmpty()) {
        QCOMPARE(engine.RegReplace(subject, pattern, replacement, ignoreCase), expected);
        // A second call takes the cached pattern and must agree.
        QCOMPARE(engine.RegReplace(subject, pattern, replacement, ignoreCase), expected);
        QCOMPARE(m_user.messages.size(), 0);
        return;
    }
    QCOMPARE(engine.RegReplace(subject, pattern, replacement, ignoreCase), ErrorMarker);
    QCOMPARE(m_user.messages.size(), 1);
    const MessageRequest &message = m_user.messages.front();
    QCOMPARE(message.title, failureTitle);
    QCOMPARE(MessageStyle::buttons(message.style), MessageStyle::OkOnly);
    QVERIFY2(message.prompt.endsWith(expected), qPrintable(message.prompt));
    // An engine error leads with its number.
    if (expected.contains(u"Pattern:"_s))
        QVERIFY(message.prompt.section(u' ', 0, 0).toInt() != 0);
}

void TestRegReplace::runawayIsInterrupted()
{
    ScriptHost host(300);
    ScriptError error;
    host.evaluate(u"for (;;) {}"_s, error);
    QVERIFY(error.description.contains(u"中断"_s));
    // The host is usable again afterwards.
    ScriptError next;
    QCOMPARE(host.evaluate(u"1 + 1"_s, next).toInt(), 2);
    QVERIFY(next.description.isEmpty());
}

// The match routines give the neutral result silently for an invalid pattern.
void TestRegReplace::matchRoutines()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.RegFirstMatch(u"12x"_s, u"(\\d+)x"_s, false), u"12"_s);
    QCOMPARE(engine.RegFirstMatch(u"12x"_s, u"(\\d+)x"_s, false), u"12"_s); // from the cache
    QCOMPARE(engine.RegFirstMatch(u"<TITLE>"_s, u"<title>"_s, true), u"<TITLE>"_s);
    QCOMPARE(engine.RegFirstMatch(u"12x"_s, QString(), false), u"12x"_s);
    QCOMPARE(engine.RegFirstMatch(u"abc"_s, u"\\d"_s, false), QString());
    QCOMPARE(engine.RegReplaceIfMatch(u"a(1),b(2)"_s, u"\\(,*\\)"_s, QString(), true), u"a(1),b(2)"_s);
    QCOMPARE(engine.RegReplaceIfMatch(u"left(,)x()"_s, u"\\(,*\\)"_s, QString(), true), u"leftx"_s);
    QCOMPARE(engine.RegReplaceIfMatch(u"abc"_s, u"["_s, u"x"_s, true), u"abc"_s);
    QCOMPARE(engine.RegFirstIndex(u"abcabc"_s, u"c"_s, false), 2);
    QCOMPARE(engine.RegFirstIndex(u"abc"_s, u"x"_s, false), 0);
    QCOMPARE(engine.RegFirstIndex(u"abc"_s, u"("_s, false), 0);
    QCOMPARE(engine.ExpandSubMatches(u"ab12"_s, u"([a-z]+)(\\d+)"_s, u"$2-$1"_s, true), u"12-ab"_s);
    QCOMPARE(engine.ExpandSubMatches(u"xyz"_s, u"(\\d)(\\d)"_s, u"$1-$2"_s, true), u"$1-$2"_s);
    QCOMPARE(engine.ExpandSubMatches(u"b"_s, u"(a)?(b)"_s, u"[$1$2]"_s, true), u"[b]"_s);
    QCOMPARE(engine.ExpandSubMatches(u"abcdefghij"_s, u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"_s, u"$10"_s, true), u"a0"_s);
    QCOMPARE(engine.ExpandSubMatches(u"ab"_s, u"("_s, u"$1"_s, true), QString());
    QCOMPARE(m_user.messages.size(), 0);
    // The groups would be missing from the name without a word.
    QCOMPARE(engine.ExpandSubMatches(QString(40, u'a') + u'b', u"(a+)+c|(b)"_s, u"$2"_s, true), ErrorMarker);
    QCOMPARE(m_user.messages.size(), 1);
}

// RegReplace against node's JavaScript engine running the same generated
// function: the results must agree, and so must the failures. Where an engine
// may reach its backtracking limit, RegReplace may also fail with its message,
// but never give another name. Every case runs through whichever path
// RegReplace chooses; those PCRE2 takes are also run through the script path.
void TestRegReplace::agreesWithNode()
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        QSKIP("node is not installed");
    const QList<Case> cases = generatedCases();
    QJsonArray programs;
    for (const Case &c : cases) {
        programs.append(QJsonArray{RegReplacer::functionText(c.pattern, c.replacement, c.ignoreCase),
                                   RegReplacer::callText(c.subject)});
    }
    const QString script = QStringLiteral(
        "let input = ''; process.stdin.on('data', d => input += d); process.stdin.on('end', () => {"
        " const out = JSON.parse(input).map(([fn, call]) => {"
        "  try { (0, eval)(fn); return { value: String((0, eval)(call)) }; } catch (e) { return { error: true }; } });"
        " process.stdout.write(JSON.stringify(out)); });");
    QProcess process;
    process.start(node, {QStringLiteral("-e"), script});
    QVERIFY(process.waitForStarted());
    process.write(QJsonDocument(programs).toJson(QJsonDocument::Compact));
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    const QJsonArray answers = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    QCOMPARE(answers.size(), cases.size());

    TextEngine engine(m_user, m_files);
    int failures = 0;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Case &c = cases[i];
        const QJsonObject answer = answers[i].toObject();
        const QString expected = answer.contains(QStringLiteral("error")) ? ErrorMarker
                                                                          : answer.value(QStringLiteral("value")).toString();
        failures += expected == ErrorMarker ? 1 : 0;
        m_user.clear();
        const QString actual = engine.RegReplace(c.subject, c.pattern, c.replacement, c.ignoreCase);
        const bool gaveUp = c.mayGiveUp && actual == ErrorMarker && m_user.messages.size() == 1;
        const QStringList shown{c.subject, c.pattern, c.replacement, actual, expected};
        QVERIFY2(actual == expected || gaveUp, qPrintable(shown.join(u" | ") + u' ' + QString::number(c.ignoreCase)));
    }
    QVERIFY(failures < cases.size() / 2);
    // The same pattern forced off the fast path by a lookahead that always holds.
    for (const Case &c : cases) {
        if (c.pattern.isEmpty() || c.pattern.startsWith(u'*') || c.mayGiveUp || !NativeRegex::compile(c.pattern, c.ignoreCase))
            continue;
        const QString fast = engine.RegReplace(c.subject, c.pattern, c.replacement, c.ignoreCase);
        const QString script = engine.RegReplace(c.subject, QStringLiteral("(?=[^]|$)(?:") + c.pattern + u')',
                                                 c.replacement, c.ignoreCase);
        QVERIFY2(fast == script, qPrintable(c.pattern + u' ' + c.subject + u' ' + fast + u' ' + script));
    }
}

QTEST_GUILESS_MAIN(TestRegReplace)
#include "tst_regreplace.moc"
