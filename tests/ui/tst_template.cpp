#include "platform/codepage.h"
#include "platform/messagerequest.h"
#include "platform/systempaths.h"
#include "scripteduserchannel.h"
#include "ui/frmtemplate.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

// The template window: which file it shows, when it saves, its tab stops
// and the cell a double-click copies.
class TestTemplate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void savesOnlyChangesTheUserConfirms();
    void tabStops_data();
    void tabStops();
    void cellAt_data();
    void cellAt();
    void tabsAndDoubleClickInTheTextArea();
    void shippedDefaultTemplate();

private:
    void writeFile(const QString &path, const QString &text);
    QByteArray readFile(const QString &path);

    QTemporaryDir *m_program = nullptr;
    QString m_savedProgramFolder;
};

void TestTemplate::init()
{
    m_savedProgramFolder = SystemPaths::programFolder();
    m_program = new QTemporaryDir;
    QVERIFY(m_program->isValid());
    QDir(m_program->path()).mkdir(QStringLiteral("parts"));
    SystemPaths::setProgramFolder(m_program->path());
    // The user's file goes to the test's own folder, whoever runs it.
    qputenv("CORVANE_SETTINGS_DIR", QFile::encodeName(m_program->path()));
    writeFile(frmTemplate::defaultFilePath(), QStringLiteral("既定\t(\\d+)\r\n"));
}

void TestTemplate::cleanup()
{
    SystemPaths::setProgramFolder(m_savedProgramFolder);
    qunsetenv("CORVANE_SETTINGS_DIR");
    delete m_program;
    m_program = nullptr;
}

void TestTemplate::writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(CodePage::toCp932(text));
}

QByteArray TestTemplate::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestTemplate::savesOnlyChangesTheUserConfirms()
{
    QVERIFY(frmTemplate::userFilePath().startsWith(m_program->path()));
    ScriptedUserChannel user;
    QPointer<frmTemplate> window = new frmTemplate(user, false);
    QCOMPARE(window->loadedFrom(), frmTemplate::defaultFilePath());
    QCOMPARE(window->textArea()->toPlainText(), QStringLiteral("既定\t(\\d+)\n"));
    QRect stored;
    connect(window, &frmTemplate::geometryToStore, this, [&stored](const QRect &geometry) { stored = geometry; });
    window->show();
    window->close();
    QVERIFY(user.messages.isEmpty());
    QVERIFY(!QFile::exists(frmTemplate::userFilePath()));
    QVERIFY(stored.width() >= 150);

    // No: the user's file is not created, the default stays as it was.
    window = new frmTemplate(user, false);
    window->show();
    window->textArea()->appendPlainText(QStringLiteral("追加"));
    QVERIFY(window->isDirty());
    user.answers << MessageAnswer::No;
    window->close();
    QCOMPARE(user.lastPrompt(), QStringLiteral("テンプレートは更新されています。保存しますか？"));
    QVERIFY(!QFile::exists(frmTemplate::userFilePath()));
    QCOMPARE(readFile(frmTemplate::defaultFilePath()), CodePage::toCp932(QStringLiteral("既定\t(\\d+)\r\n")));

    // Yes: the whole text goes to the user's file, lines ended by CR LF.
    window = new frmTemplate(user, false);
    window->show();
    window->textArea()->setPlainText(QStringLiteral("自分\t^(.+)$\n二行目"));
    user.answers << MessageAnswer::Yes;
    window->close();
    QCOMPARE(readFile(frmTemplate::userFilePath()), CodePage::toCp932(QStringLiteral("自分\t^(.+)$\r\n二行目")));

    // From now on the user's file is shown.
    frmTemplate again(user, false);
    again.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(again.loadedFrom(), frmTemplate::userFilePath());
}

void TestTemplate::tabStops_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("stops");
    QTest::newRow("two stops and a comment") << "#tabstop = 40,80 // 列の位置\nabc" << QList<int>{40, 80, 0, 0, 0, 0};
    QTest::newRow("later one wins") << "#tabstop = 10\r\n#tabstop = 30,60" << QList<int>{30, 60, 0, 0, 0, 0};
    QTest::newRow("other keys ignored") << "#width = 40\n#tabstop=40" << QList<int>{};
    QTest::newRow("not a directive") << " #tabstop = 40" << QList<int>{};
    QTest::newRow("comment hides it") << "#// tabstop = 40" << QList<int>{};
}

void TestTemplate::tabStops()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, stops);
    QCOMPARE(frmTemplate::tabStopsOf(text), stops);
}

void TestTemplate::cellAt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("cell");
    const QString lines = QStringLiteral("first\tx\na\tbcdefg\th");
    QTest::newRow("inside a middle cell") << lines << 12 << "bcdefg";
    QTest::newRow("first cell of the text") << lines << 2 << "first";
    QTest::newRow("last cell of the text") << lines << 18 << "h";
    QTest::newRow("empty cell") << "a\t\tb" << 2 << "";
}

void TestTemplate::cellAt()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, cell);
    const auto [start, end] = frmTemplate::cellAt(text, position);
    QCOMPARE(text.mid(start, end - start), cell);
}

void TestTemplate::tabsAndDoubleClickInTheTextArea()
{
    writeFile(frmTemplate::defaultFilePath(), QStringLiteral("#tabstop = 40,80 //列\r\na\tbcdefg\th"));
    ScriptedUserChannel user;
    frmTemplate window(user, false);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    const QList<QTextOption::Tab> tabs = window.textArea()->document()->defaultTextOption().tabs();
    QCOMPARE(tabs.size(), 2);
    QVERIFY(tabs.at(0).position > 0);
    QCOMPARE(tabs.at(1).position, 2 * tabs.at(0).position);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The caret lands inside "bcdefg" on the last line.
    QTextCursor cursor(window.textArea()->document()->findBlockByNumber(1));
    cursor.setPosition(cursor.position() + 4);
    const QPoint inside = window.textArea()->cursorRect(cursor).center();
    QTest::mouseDClick(window.textArea()->viewport(), Qt::LeftButton, {}, inside);
    QCOMPARE(window.textArea()->textCursor().selectedText(), QStringLiteral("bcdefg"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bcdefg"));
}

void TestTemplate::shippedDefaultTemplate()
{
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
    const QByteArray bytes = readFile(frmTemplate::defaultFilePath());
    QVERIFY2(!bytes.isEmpty(), qPrintable(frmTemplate::defaultFilePath()));
    // Code page 932, lines ended by CR LF, so that any editor the user opens it with reads it.
    QVERIFY(!CodePage::isValidUtf8(bytes));
    const QString text = CodePage::fromCp932(bytes);
    QCOMPARE(text.count(QStringLiteral("\r\n")), text.count(u'\n'));
    QVERIFY(text.contains(QStringLiteral("拡張子を変える\t\\.jpeg$\t.jpg")));

    // Every cell ends before the next column begins.
    ScriptedUserChannel user;
    frmTemplate window(user, false);
    const QList<QTextOption::Tab> tabs = window.textArea()->document()->defaultTextOption().tabs();
    const QFontMetricsF metrics(window.textArea()->font());
    for (const QString &line : text.split(QStringLiteral("\r\n"))) {
        const QStringList cells = line.split(u'\t');
        for (int i = 0; i + 1 < cells.size() && i < tabs.size(); ++i) {
            const qreal start = i == 0 ? 0 : tabs.at(i - 1).position;
            QVERIFY2(start + metrics.horizontalAdvance(cells.at(i)) < tabs.at(i).position, qPrintable(line));
        }
    }
}

QTEST_MAIN(TestTemplate)
#include "tst_template.moc"
