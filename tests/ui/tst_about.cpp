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
    QVERIFY(frmAbout::versionText().startsWith(QStringLiteral("Corvane " CORVANE_VERSION "\nQt ")));
    frmAbout about;
    bool shown = false;
    for (const QLabel *label : about.findChildren<QLabel *>())
        shown = shown || label->text() == frmAbout::versionText();
    QVERIFY(shown);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
