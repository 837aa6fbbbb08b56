#include "text/nativeregex.h"
#include "text/scripthost.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

// Qt's engine stands in for the script engine only where both give the same
// answer: random patterns of the shared subset and subjects with the
// characters that tell engines apart, checked against the script engine.
class TestNativeRegex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void subset_data();
    void subset();
    void agreesWithTheScriptEngine();
};

void TestNativeRegex::subset_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<bool>("native");
    QTest::newRow("digits") << "(\\d+)" << false << true;
    QTest::newRow("class and lazy") << "^([a-z_]+?)-(\\w*)$" << false << true;
    QTest::newRow("blank") << "\\s+" << false << true;
    QTest::newRow("repeated non-capturing group") << "(?:ab)+" << false << true;
    QTest::newRow("repeated capturing group") << "([a-z]*)*" << false << false;
    QTest::newRow("repeated group holding a group") << "((a)|b)+" << false << false;
    QTest::newRow("look-ahead") << "a(?=b)" << false << false;
    QTest::newRow("back-reference") << "(a)\\1" << false << false;
    QTest::newRow("slash") << "a\\/b" << false << false;
    QTest::newRow("empty class") << "[]a" << false << false;
    QTest::newRow("posix class") << "[[:alpha:]]" << false << false;
    QTest::newRow("japanese") << "写真(\\d)" << false << true;
    QTest::newRow("japanese ignoring case") << "写真(\\d)" << true << false;
    QTest::newRow("lone brace") << "a{" << false << false;
}

void TestNativeRegex::subset()
{
    QFETCH(QString, pattern);
    QFETCH(bool, ignoreCase);
    QFETCH(bool, native);
    QCOMPARE(NativeRegex::compile(pattern, ignoreCase).has_value(), native);
}

namespace {

QString pick(QRandomGenerator &random, const QStringList &pieces, int most)
{
    QString text;
    const int count = 1 + random.bounded(most);
    for (int i = 0; i < count; ++i)
        text += pieces.at(random.bounded(pieces.size()));
    return text;
}

} // namespace

void TestNativeRegex::agreesWithTheScriptEngine()
{
    const QStringList patternPieces{"a", "k", "S", "\\d", "\\d+", "(\\w+)", "([a-z]*)", ".", "?", "*", "+?", "^", "$",
                                    "[^ab]", "|", "(?:a|1)", "\\s", "\\S", "\\b", "{1,2}", "(x)?", "写", "-", "_"};
    const QStringList subjectPieces{"a", "A", "k", "K", "s", "ſ", "\u212A", "1", "23", " ", "\u3000", "写", "Ａ",
                                    "-", "_", "x", "é", "."};
    const QStringList replacementPieces{"x", "$1", "$2", "$&", "$`", "$'", "$$", "-", "い"};
    QRandomGenerator random(20261206);
    ScriptHost host;
    ScriptError error;
    QJSValue reference = host.evaluate(QStringLiteral(
        "(function (p, f, s, r) { var re = new RegExp(p, f); var replaced = s.replace(re, r);"
        " re.lastIndex = 0; var m = re.exec(s); var g = [];"
        " if (m !== null) for (var i = 0; i < m.length; i++) g.push(m[i] === undefined ? '' : m[i]);"
        " return [replaced, m === null ? null : g]; })"), error);
    QVERIFY(error.description.isEmpty());
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString pattern = pick(random, patternPieces, 4);
        const bool ignoreCase = random.bounded(2) == 1;
        const std::optional<NativeRegex> native = NativeRegex::compile(pattern, ignoreCase);
        if (!native)
            continue;
        const QString subject = pick(random, subjectPieces, 8);
        if (!NativeRegex::canMatch(subject, ignoreCase))
            continue;
        const QString replacement = pick(random, replacementPieces, 3);
        const QJSValue expected = host.call(reference, {QJSValue(pattern), QJSValue(ignoreCase ? "gi" : "g"),
                                                        QJSValue(subject), QJSValue(replacement)},
                                            error);
        if (!error.description.isEmpty())
            continue; // not a valid script pattern: the script engine reports it first
        const QString what = QStringLiteral("pattern %1 subject %2 replacement %3 ignore case %4")
                                 .arg(pattern, subject, replacement)
                                 .arg(ignoreCase);
        if (const std::optional<QString> replaced = native->replaceAll(subject, replacement))
            QVERIFY2(*replaced == expected.property(0).toString(), qPrintable(what));
        const QJSValue groups = expected.property(1);
        const QRegularExpressionMatch match = native->firstMatch(subject);
        QVERIFY2(match.hasMatch() == !groups.isNull(), qPrintable(what));
        for (int i = 0; match.hasMatch() && i <= native->captureCount(); ++i)
            QVERIFY2(match.captured(i) == groups.property(quint32(i)).toString(), qPrintable(what));
        ++compared;
    }
    QVERIFY(compared > 500);
}

QTEST_GUILESS_MAIN(TestNativeRegex)
#include "tst_nativeregex.moc"
