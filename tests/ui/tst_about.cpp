#include "ui/frmabout.h"

#include <QLabel>
#include <QTest>

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsVersions();
};

void TestAbout::showsVersions()
{
    const QStringList lines = frmAbout::versionText().split(u'\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("Corvane " CORVANE_VERSION));
    QCOMPARE(lines.at(1), QStringLiteral("Qt ") + QString::fromLatin1(qVersion()));
    QVERIFY(lines.at(2).contains(QString::number(QDate::currentDate().year()).left(2)));
    frmAbout about;
    bool shown = false;
    for (const QLabel *label : about.findChildren<QLabel *>())
        shown = shown || label->text() == frmAbout::versionText();
    QVERIFY(shown);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
