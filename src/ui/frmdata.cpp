#include "ui/frmdata.h"

#include "platform/messagerequest.h"
#include "platform/showmessage.h"
#include "ui/frmsearch.h"
#include "ui/windowplacement.h"
#include "persist/settings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

const QString frmData::ForbiddenCharacters = QStringLiteral("/:*?\\|<>\"");

namespace {

const QString TypedForbidden = QStringLiteral("/:*?\\|");

QString forbiddenMessage()
{
    return QStringLiteral("ファイル名に使用できない文字[") + TypedForbidden + QStringLiteral("]が含まれています。");
}

QPlainTextEdit *lineBox(QWidget *parent, bool readOnly)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QStringLiteral("txtFile"));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setReadOnly(readOnly);
    return box;
}

}

frmData::frmData(UserChannel &user, const QString &header, const QStringList &values, int currentRow,
                 bool fileNameColumn, QWidget *parent)
    : QDialog(parent)
    , m_user(user)
    , m_rowCount(int(values.size()))
    , m_fileNameColumn(fileNameColumn)
    , m_reference(lineBox(this, true))
    , m_edit(lineBox(this, false))
    , m_cmdToWide(new QPushButton(QStringLiteral("特殊文字を全角置換"), this))
    , m_cmdSearch(new QPushButton(QStringLiteral("検索と置換"), this))
    , m_cmdErase(new QPushButton(QStringLiteral("消去"), this))
{
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QStringLiteral("データの指定－") + header);
    QString text;
    for (const QString &value : values)
        text += value + u'\n';
    m_reference->setPlainText(text);
    m_edit->setPlainText(text);

    // Select the line of the row the user is on, so that typing replaces its value.
    const QTextBlock line = m_edit->document()->findBlockByNumber(currentRow - 1);
    if (currentRow >= 1 && line.isValid() && currentRow <= m_rowCount) {
        QTextCursor cursor(line);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        m_edit->setTextCursor(cursor);
    }

    m_cmdToWide->setObjectName(QStringLiteral("cmdToWide"));
    m_cmdToWide->setToolTip(QStringLiteral("特殊文字（\\/?:*\"）を全角に置換します。"));
    m_cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    m_cmdErase->setObjectName(QStringLiteral("cmdErase"));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    for (QPushButton *button : {ok, cancel, m_cmdToWide, m_cmdSearch, m_cmdErase})
        button->setAutoDefault(false);

    connect(ok, &QPushButton::clicked, this, &frmData::accept);
    connect(cancel, &QPushButton::clicked, this, &frmData::reject);
    connect(m_cmdToWide, &QPushButton::clicked, this, &frmData::replaceWithWide);
    connect(m_cmdSearch, &QPushButton::clicked, this, &frmData::openSearch);
    connect(m_cmdErase, &QPushButton::clicked, m_edit, &QPlainTextEdit::clear);
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] {
        m_dirty = true;
        if (m_fileNameColumn && holdsForbidden(m_edit->toPlainText()))
            warnForbidden();
    });
    // Both boxes show the same rows: the reference follows the edit box. The
    // edit box moves its scroll bar quietly when the caret scrolls it, so its
    // repaint requests are watched as well.
    const auto follow = [this] { m_reference->verticalScrollBar()->setValue(m_edit->verticalScrollBar()->value()); };
    connect(m_edit->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(m_edit, &QPlainTextEdit::updateRequest, this, follow);
    m_edit->installEventFilter(this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(" 元のデータ"), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral(" 変更後のデータ"), this), 0, 1);
    layout->addWidget(m_reference, 1, 0);
    layout->addWidget(m_edit, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdToWide);
    buttons->addWidget(m_cmdSearch);
    buttons->addWidget(m_cmdErase);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    setSizeTwips(6000, 7000);
}

bool frmData::refuseColumn(UserChannel &user, int column, const QString &header)
{
    if (column != 1 && column != 12)
        return false;
    ShowMessage(user, header + QStringLiteral(" は編集できません！"));
    return true;
}

QString frmData::toWide(const QString &text)
{
    static const QString narrow = QStringLiteral("/:*?\\|<>\"[]");
    static const QString wide = QStringLiteral("／：＊？￥｜＜＞＂［］");
    QString result = text;
    for (QChar &c : result) {
        const qsizetype at = narrow.indexOf(c);
        if (at >= 0)
            c = wide.at(at);
    }
    return result;
}

void frmData::setSizeTwips(int height, int width)
{
    resize(PixelsFromTwips(width, logicalDpiX()), PixelsFromTwips(height, logicalDpiY()));
}

bool frmData::holdsForbidden(const QString &text) const
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return ForbiddenCharacters.contains(c); });
}

void frmData::warnForbidden()
{
    ShowMessage(m_user, forbiddenMessage(), MessageStyle::OkOnly, QStringLiteral("使用不可文字あり"));
}

void frmData::replaceWithWide()
{
    const QString question = QStringLiteral("特殊文字（") + ForbiddenCharacters
                             + QStringLiteral("）を全て全角文字に置換します。よろしいですか？");
    if (ShowMessage(m_user, question, MessageStyle::OkCancel, QStringLiteral("置換")) != MessageAnswer::Ok)
        return;
    // Through the cursor, so that the replacement can be undone like typing.
    QTextCursor cursor(m_edit->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(toWide(m_edit->toPlainText()));
}

void frmData::openSearch()
{
    if (m_edit->toPlainText().isEmpty())
        return;
    if (!m_search)
        m_search = new frmSearch(m_user, m_edit, this);
    // At the pointer, beside the button just pressed, rather than wherever the desktop puts it.
    if (!m_search->isVisible())
        MoveToPointer(m_search);
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

void frmData::accept()
{
    const QString text = m_edit->toPlainText();
    if (m_fileNameColumn && holdsForbidden(text)) {
        warnForbidden();
        return;
    }
    QStringList lines = text.split(u'\n');
    lines.resize(m_rowCount);
    m_values = lines;
    QDialog::accept();
}

void frmData::done(int result)
{
    m_sizeTwips = QSize(TwipsFromPixels(width(), logicalDpiX()), TwipsFromPixels(height(), logicalDpiY()));
    if (m_search)
        m_search->close();
    QDialog::done(result);
}

bool frmData::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1 && TypedForbidden.contains(typed.at(0))) {
            ShowMessage(m_user, typed + QStringLiteral(" はファイル名に使用できません！"), MessageStyle::OkOnly,
                        QStringLiteral("使用不可"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
