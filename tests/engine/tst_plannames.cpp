#include "engine/namecheck.h"
#include "engine/numericvalue.h"

#include <QTest>

class TestPlanNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fault");

        const QString empty = QStringLiteral("　置換後のファイル名が空白になります！");
        const QString dots = QStringLiteral("　「.」 のみは使用できません。");
        const QString forbidden = QStringLiteral("使用できない文字");
        QTest::newRow("ordinary") << "photo.jpg" << QString();
        QTest::newRow("empty") << QString() << empty;
        QTest::newRow("one dot") << "." << dots;
        QTest::newRow("two dots") << ".." << dots;
        QTest::newRow("letter before dots") << "a..." << QString();
        QTest::newRow("hidden file") << ".profile" << QString();
        QTest::newRow("blank") << " " << QString();
        for (const QChar c : QStringLiteral("/:*?\\|<>\""))
            QTest::newRow(qPrintable(QStringLiteral("char %1").arg(c))) << QStringLiteral("a%1b").arg(c) << forbidden;
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << forbidden;
        QTest::newRow("dots and colon") << ".:" << forbidden;
    }

    void nameFaults()
    {
        QFETCH(QString, name);
        QFETCH(QString, fault);
        const QString found = PlannedNameFault(QStringLiteral("/data"), name);
        if (fault.isEmpty())
            QVERIFY2(found.isEmpty(), qPrintable(found));
        else
            QVERIFY2(found.contains(fault), qPrintable(found));
    }

    void pathAtTheRoot()
    {
        QCOMPARE(PlannedPath(u"/"_qs, u"a"_qs), u"/a"_qs);
    }

    void numericValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("whole");

        QTest::newRow("padded") << "  1" << 1.0 << qint64(1);
        QTest::newRow("letters") << "abc" << 0.0 << qint64(0);
        QTest::newRow("prefix") << "12ab" << 12.0 << qint64(12);
        QTest::newRow("inner blank") << "1 2" << 12.0 << qint64(12);
        QTest::newRow("half to even") << "2.5" << 2.5 << qint64(2);
        QTest::newRow("half up to even") << "3.5" << 3.5 << qint64(4);
    }

    void numericValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(qint64, whole);
        QCOMPARE(NumericValue(text), value);
        QCOMPARE(WholeValue(text), whole);
    }
};

QTEST_GUILESS_MAIN(TestPlanNames)
#include "tst_plannames.moc"
