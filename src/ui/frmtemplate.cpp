#include "ui/frmtemplate.h"

#include "platform/crlf.h"
#include "platform/messagerequest.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"
#include "platform/textfile.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextOption>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int MaxTabStops = 6;

// Dialog units across: a quarter of the font's average character width.
qreal dialogUnitsToPixels(int units, const QFontMetrics &metrics)
{
    return units * metrics.averageCharWidth() / 4.0;
}

}

frmTemplate::frmTemplate(UserChannel &user, bool onTop, QWidget *parent)
    : QWidget(parent, Qt::Window | (onTop ? Qt::WindowStaysOnTopHint : Qt::Widget))
    , m_user(user)
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmTemplate"));
    setWindowTitle(QStringLiteral("正規表現テンプレート　－　ダブルクリックでコピーされます。"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    resize(640, 420);
    load();
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] { m_dirty = true; });
}

QString frmTemplate::userFilePath()
{
    return SystemPaths::settingsFolder() + QStringLiteral("/マイテンプレート.txt");
}

QString frmTemplate::defaultFilePath()
{
    return SystemPaths::partsFolder() + QStringLiteral("/テンプレート.txt");
}

void frmTemplate::load()
{
    QString text;
    QString error;
    m_loadedFrom = userFilePath();
    if (!TextFile::readOwn(m_loadedFrom, &text, &error)) {
        if (!error.isEmpty())
            ShowMessage(m_user, error, MessageStyle::Exclamation);
        m_loadedFrom = defaultFilePath();
        TextFile::read(m_loadedFrom, &text);
    }
    text.replace(CrLf, QStringLiteral("\n"));
    m_text->setPlainText(text);
    applyTabStops(tabStopsOf(text));
}

QList<int> frmTemplate::tabStopsOf(const QString &text)
{
    QList<int> stops;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    for (const QString &line : lines) {
        if (!line.startsWith(u'#'))
            continue;
        QString directive = line.mid(1);
        const qsizetype comment = directive.indexOf(QStringLiteral("//"));
        if (comment >= 0)
            directive.truncate(comment);
        directive.remove(u'\t');
        const qsizetype equals = directive.indexOf(QStringLiteral(" = "));
        if (equals < 0 || directive.left(equals).trimmed().toLower() != QStringLiteral("tabstop"))
            continue;
        stops.clear();
        const QStringList numbers = directive.mid(equals + 3).split(u',');
        for (int at = 0; at < MaxTabStops; ++at)
            stops << numbers.value(at).trimmed().toInt();
    }
    return stops;
}

void frmTemplate::applyTabStops(const QList<int> &stops)
{
    m_tabStops = stops;
    QList<QTextOption::Tab> tabs;
    const QFontMetrics metrics(m_text->font());
    for (int stop : stops) {
        // Missing numbers read as 0 and set no stop.
        if (stop > 0)
            tabs << QTextOption::Tab(dialogUnitsToPixels(stop, metrics), QTextOption::LeftTab);
    }
    QTextOption option = m_text->document()->defaultTextOption();
    option.setTabs(tabs);
    m_text->document()->setDefaultTextOption(option);
}

QPair<int, int> frmTemplate::cellAt(const QString &text, int position)
{
    const int at = std::clamp(position, 0, int(text.size()));
    int start = 0;
    for (int i = at - 1; i >= 0; --i) {
        if (text.at(i) == u'\t' || text.at(i) == u'\n') {
            start = i + 1;
            break;
        }
    }
    int end = int(text.size());
    for (int i = at; i < text.size(); ++i) {
        if (text.at(i) == u'\t' || text.at(i) == u'\n' || text.at(i) == u'\r') {
            end = i;
            break;
        }
    }
    return {start, end};
}

QString frmTemplate::copyCellAt(int position)
{
    const auto [start, end] = cellAt(m_text->toPlainText(), position);
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);
    const QString cell = cursor.selectedText();
    QApplication::clipboard()->setText(cell);
    return cell;
}

void frmTemplate::applyGeometry(const QRect &saved)
{
    const QRect wanted(saved.topLeft(), QSize(std::max(150, saved.width()), std::max(100, saved.height())));
    const QRect area = AvailableAreaFor(wanted);
    const QRect placed = area.isEmpty() ? wanted : KeepOnScreen(wanted, area);
    move(placed.topLeft());
    resize(placed.size());
}

bool frmTemplate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        copyCellAt(m_text->cursorForPosition(at).position());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmTemplate::closeEvent(QCloseEvent *event)
{
    if (m_dirty
        && ShowMessage(m_user, QStringLiteral("テンプレートは更新されています。保存しますか？"), MessageStyle::YesNo,
                       QStringLiteral("保存確認"))
               == MessageAnswer::Yes) {
        QString text = m_text->toPlainText();
        text.replace(u'\n', CrLf);
        const QString error = TextFile::writeOwn(userFilePath(), text);
        if (!error.isEmpty()) {
            // The edits stay in the window so that nothing typed is lost.
            ShowMessage(m_user, error, MessageStyle::Exclamation);
            event->ignore();
            return;
        }
        m_dirty = false;
    }
    Q_EMIT geometryToStore(QRect(pos(), size()));
    QWidget::closeEvent(event);
}
