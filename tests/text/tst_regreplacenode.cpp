#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/nativeregex.h"
#include "text/regreplacer.h"
#include "text/textengine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

namespace {

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

// RegReplace against node's JavaScript engine running the same generated
// function: the results must agree, and so must the failures. Where an engine
// may reach its backtracking limit, RegReplace may also fail with its message,
// but never give another name. Every case runs through whichever path
// RegReplace chooses; those PCRE2 takes are also run through the script path.
class TestRegReplaceNode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithNode();
};

void TestRegReplaceNode::agreesWithNode()
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

    ScriptedUserChannel user;
    LinuxFileSystem files;
    TextEngine engine(user, files);
    int failures = 0;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Case &c = cases[i];
        const QJsonObject answer = answers[i].toObject();
        const QString expected = answer.contains(QStringLiteral("error")) ? ErrorMarker
                                                                          : answer.value(QStringLiteral("value")).toString();
        failures += expected == ErrorMarker ? 1 : 0;
        user.clear();
        const QString actual = engine.RegReplace(c.subject, c.pattern, c.replacement, c.ignoreCase);
        const bool gaveUp = c.mayGiveUp && actual == ErrorMarker && user.messages.size() == 1;
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

QTEST_GUILESS_MAIN(TestRegReplaceNode)
#include "tst_regreplacenode.moc"
