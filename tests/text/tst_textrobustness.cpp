#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/formattokenexpander.h"
#include "text/functionlibrary.h"
#include "text/textengine.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Random texts built from the characters the engines treat specially.
QString randomText(QRandomGenerator &random, QStringView alphabet, int maximumLength)
{
    const int length = random.bounded(maximumLength + 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

QString randomPieces(QRandomGenerator &random, const QStringList &pieces, int count)
{
    QString text;
    for (int i = random.bounded(count + 1); i > 0; --i)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

}

class TestTextRobustness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void functionsOnRandomTexts();
    void splitArgsOnRandomTexts();
    void tokenScannersMatchScriptPatterns();
};

void TestTextRobustness::functionsOnRandomTexts()
{
    ScriptedUserChannel user;
    LinuxFileSystem files;
    TextEngine engine(user, files);
    QRandomGenerator random(4242);
    const QStringList pieces{
        QStringLiteral("left("), QStringLiteral("LEN("), QStringLiteral("mid("), QStringLiteral("format("),
        QStringLiteral("replace("), QStringLiteral("strconv("), QStringLiteral("GetPixel("), QStringLiteral("midb("),
        QStringLiteral("chr("), QStringLiteral("dateserial("), QStringLiteral("instrrev("), QStringLiteral("\\"),
        QStringLiteral("27ZZ"), QStringLiteral(")"), QStringLiteral("("), QStringLiteral(","), QStringLiteral("\""),
        QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("1"), QStringLiteral("-3"), QStringLiteral("99999"),
        QStringLiteral("あ"), QStringLiteral("ｶﾞ"), QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("2008/1/15"),
        QStringLiteral("0.5"), QStringLiteral("x1F"), QStringLiteral("Row()")};
    for (int i = 0; i < 1500; ++i) {
        const QString text = randomPieces(random, pieces, 12);
        user.clear();
        engine.ExpandFunctions(text);
        engine.ExpandTemplate(text, i, QString());
    }
    // Values that spell calls again must not expand forever.
    QVERIFY(!engine.ExpandFunctions(QStringLiteral("replace(left(,left(,left()")).isNull());
}

void TestTextRobustness::splitArgsOnRandomTexts()
{
    QRandomGenerator random(77);
    for (int i = 0; i < 3000; ++i) {
        const QString text = randomText(random, u"ab,\",\r\n ", 20);
        const QStringList kept = FunctionLibrary::SplitArgs(text, QString(), false);
        // Without quote removal nothing is lost but the doubled quotes.
        QString joined = kept.join(u',');
        QCOMPARE(joined.count(u'a') + joined.count(u'b'), text.count(u'a') + text.count(u'b'));
        QVERIFY(kept.size() <= text.count(u',') + 1);
        const QStringList removed = FunctionLibrary::SplitArgs(text, QString(), true);
        QCOMPARE(removed.size(), kept.size());
    }
}

// The direct scanners of the format token must find what the script engine's
// patterns find.
void TestTextRobustness::tokenScannersMatchScriptPatterns()
{
    ScriptedUserChannel user;
    LinuxFileSystem files;
    TextEngine engine(user, files);
    QRandomGenerator random(2008);
    const QStringList pieces{QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("format("),
                             QStringLiteral("FoRmAt("), QStringLiteral("ſormat("), QStringLiteral(")"),
                             QStringLiteral("("), QStringLiteral(","), QStringLiteral("\""), QStringLiteral(" "),
                             QStringLiteral("\u3000"), QStringLiteral("\n"), QStringLiteral("1"), QStringLiteral("$1"),
                             QStringLiteral("\"000\""), QStringLiteral("x"), QStringLiteral("😀")};
    int tokens = 0;
    for (int i = 0; i < 2500; ++i) {
        // Every other text is shaped like a token with random parts.
        const QString text = i % 2 ? randomPieces(random, pieces, 14)
                                   : randomPieces(random, pieces, 3) + QStringLiteral("<") + randomPieces(random, pieces, 2)
                                         + QStringLiteral("format(") + randomPieces(random, pieces, 3)
                                         + QStringLiteral(",") + randomPieces(random, pieces, 2) + QStringLiteral("\"")
                                         + randomPieces(random, pieces, 3) + QStringLiteral("\"")
                                         + randomPieces(random, pieces, 2) + QStringLiteral(")>")
                                         + randomPieces(random, pieces, 3);
        QCOMPARE(FormatTokenExpander::tokenStart(text),
                 engine.RegFirstMatch(text, QStringLiteral("\\<\\s*format\\("), true));
        const QString token = FormatTokenExpander::token(text);
        tokens += token.isEmpty() ? 0 : 1;
        QCOMPARE(token, engine.RegFirstMatch(text, QStringLiteral("(\\s*<\\s*format\\(.+?,\\s*\".+?\"\\s*\\)\\s*>\\s*)"),
                                             true));
        QCOMPARE(FormatTokenExpander::tokenArguments(text),
                 engine.RegFirstMatch(text, QStringLiteral("\\((.+?,.+?)\\)"), true));
    }
    QVERIFY2(tokens > 50, "the random texts must hold tokens");
}

QTEST_GUILESS_MAIN(TestTextRobustness)
#include "tst_textrobustness.moc"
