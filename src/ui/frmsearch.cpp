#include "ui/frmsearch.h"

#include "platform/messagerequest.h"
#include "platform/showmessage.h"
#include "persist/settings.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include <iterator>

namespace {

const QString NoMatch = QStringLiteral("一致無し");
constexpr int HeightTwips = 2160;
constexpr int HeightWithReplaceTwips = 3330;

// Half-width katakana U+FF61…U+FF9F and their full-width forms, one for one.
const char16_t HalfKana[] = u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

static_assert(std::size(HalfKana) == 0xFF9F - 0xFF61 + 2);

QChar widen(QChar c)
{
    const char16_t code = c.unicode();
    if (code >= 0xFF01 && code <= 0xFF5E)
        return QChar(char16_t(code - 0xFEE0));
    if (code == 0x3000)
        return QChar(u' ');
    if (code == 0xFFE5)
        return QChar(u'\\');
    if (code >= 0xFF61 && code <= 0xFF9F)
        return QChar(HalfKana[code - 0xFF61]);
    return c;
}

}

QString frmSearch::looseForm(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded)
        c = widen(c).toCaseFolded();
    return folded;
}

int frmSearch::find(const QString &haystack, const QString &needle, int from, bool exact)
{
    if (needle.isEmpty() || from > haystack.size())
        return -1;
    if (exact)
        return int(haystack.indexOf(needle, from));
    return int(looseForm(haystack).indexOf(looseForm(needle), from));
}

frmSearch::frmSearch(UserChannel &user, QPlainTextEdit *target, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_user(user)
    , m_target(target)
    , m_search(new QLineEdit(this))
    , m_exact(new QCheckBox(QStringLiteral("厳密一致"), this))
    , m_replaceCheck(new QCheckBox(QStringLiteral("置換"), this))
    , m_replacePart(new QWidget(this))
    , m_replace(new QLineEdit(m_replacePart))
    , m_replaceNext(new QPushButton(QStringLiteral("置換して次"), m_replacePart))
    , m_replaceAll(new QPushButton(QStringLiteral("全て置換"), m_replacePart))
    , m_findNext(new QPushButton(QStringLiteral("次を検索"), this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("検索"));
    const QString searchHint = QStringLiteral("検索する文字列");
    m_search->setPlaceholderText(searchHint);
    m_search->setToolTip(searchHint);
    m_exact->setToolTip(QStringLiteral("オンの場合：大/小文字、全/半角を区別します"));
    m_replaceCheck->setToolTip(QStringLiteral("指定文字列に置換します"));
    const QString replaceHint = QStringLiteral("置換後の文字列");
    m_replace->setPlaceholderText(replaceHint);
    m_replace->setToolTip(replaceHint);
    const QString searchTip = QStringLiteral("次の行から検索：最初に見つかった項目");
    m_findNext->setToolTip(searchTip);
    m_replaceNext->setToolTip(searchTip);
    m_findNext->setEnabled(false);

    auto *replaceLayout = new QHBoxLayout(m_replacePart);
    replaceLayout->setContentsMargins(0, 0, 0, 0);
    replaceLayout->addWidget(m_replace, 1);
    replaceLayout->addWidget(m_replaceNext);
    replaceLayout->addWidget(m_replaceAll);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_findNext);
    auto *checks = new QHBoxLayout;
    checks->addWidget(m_exact);
    checks->addWidget(m_replaceCheck);
    checks->addStretch();
    checks->addWidget(m_status);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(checks);
    layout->addWidget(m_replacePart);
    layout->addStretch();

    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        if (!m_search->text().isEmpty())
            findNext();
    });
    connect(m_findNext, &QPushButton::clicked, this, &frmSearch::findNext);
    connect(m_replaceNext, &QPushButton::clicked, this, &frmSearch::replaceNext);
    connect(m_replaceAll, &QPushButton::clicked, this, &frmSearch::replaceAll);
    connect(m_replaceCheck, &QCheckBox::toggled, this, &frmSearch::showReplacePart);
    resize(PixelsFromTwips(6000, logicalDpiX()), 0);
    showReplacePart(false);
}

void frmSearch::showReplacePart(bool shown)
{
    m_replacePart->setVisible(shown);
    const int twips = shown ? HeightWithReplaceTwips : HeightTwips;
    const int height = std::max(PixelsFromTwips(twips, logicalDpiY()) - 30, minimumSizeHint().height());
    resize(width(), height);
}

void frmSearch::begin()
{
    m_findNext->setEnabled(false);
    m_status->clear();
}

void frmSearch::end()
{
    m_findNext->setEnabled(!m_search->text().isEmpty());
    const bool found = m_status->text() != NoMatch;
    m_replaceNext->setEnabled(found);
    m_replaceAll->setEnabled(found);
}

void frmSearch::findNext()
{
    begin();
    if (m_target) {
        const QString needle = m_search->text();
        const int from = m_hit > 0 ? m_hit - 1 + int(needle.size()) : 0;
        const int at = find(m_target->toPlainText(), needle, from, m_exact->isChecked());
        if (at < 0) {
            m_status->setText(NoMatch);
            m_hit = 0;
        } else {
            m_hit = at + 1;
            QTextCursor cursor = m_target->textCursor();
            cursor.setPosition(at);
            cursor.setPosition(at + int(needle.size()), QTextCursor::KeepAnchor);
            m_target->setTextCursor(cursor);
        }
    }
    end();
}

void frmSearch::replaceRange(int start, int length, const QString &text)
{
    QTextCursor cursor(m_target->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

void frmSearch::replaceNext()
{
    if (m_hit == 0 || !m_target)
        return;
    const QString needle = m_search->text();
    const int at = find(m_target->toPlainText(), needle, m_hit - 1, m_exact->isChecked());
    if (at >= 0)
        replaceRange(at, int(needle.size()), m_replace->text());
    findNext();
}

void frmSearch::replaceAll()
{
    if (!m_target || m_search->text().isEmpty())
        return;
    begin();
    const QString needle = m_search->text();
    const QString replacement = m_replace->text();
    const QString question = u'"' + needle + QStringLiteral("\" を \"") + replacement
                             + QStringLiteral("\" に全て置換します。宜しいですか？");
    if (ShowMessage(m_user, question, MessageStyle::OkCancel, QStringLiteral("全て置換")) == MessageAnswer::Ok) {
        const QString text = m_target->toPlainText();
        const bool exact = m_exact->isChecked();
        const QString haystack = exact ? text : looseForm(text);
        const QString pin = exact ? needle : looseForm(needle);
        QString replaced;
        replaced.reserve(text.size());
        qsizetype done = 0;
        for (qsizetype at = haystack.indexOf(pin); at >= 0; at = haystack.indexOf(pin, at + pin.size())) {
            replaced += QStringView(text).mid(done, at - done);
            replaced += replacement;
            done = at + pin.size();
        }
        replaced += QStringView(text).mid(done);
        // One edit of the whole text: a single undo step, and fast on a long list.
        if (done > 0) {
            QTextCursor whole(m_target->document());
            whole.select(QTextCursor::Document);
            whole.insertText(replaced);
        }
        m_hit = 0;
        ShowMessage(m_user, QStringLiteral("置換完了"));
    }
    end();
}

void frmSearch::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_search->setFocus();
    QWidget::changeEvent(event);
}
