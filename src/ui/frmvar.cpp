#include "ui/frmvar.h"

#include "platform/crlf.h"
#include "platform/showmessage.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QHelpEvent>
#include <QListWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// Draws "name TAB description" as two columns, the descriptions lined up
// after the widest name.
class EntryDelegate : public QStyledItemDelegate
{
public:
    EntryDelegate(int descriptionColumn, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_column(descriptionColumn)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QString entry = index.data().toString();
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect area = option.rect.adjusted(4, 0, 0, 0);
        painter->drawText(area, Qt::AlignVCenter | Qt::TextSingleLine, entry.section(u'\t', 0, 0));
        painter->drawText(area.adjusted(m_column, 0, 0, 0), Qt::AlignVCenter | Qt::TextSingleLine,
                          entry.section(u'\t', 1));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString description = index.data().toString().section(u'\t', 1);
        return {m_column + 8 + option.fontMetrics.horizontalAdvance(description), size.height()};
    }

private:
    int m_column;
};

QString toolTipHtml(const FuncHelp::Topic &topic)
{
    QString body = topic.body.toHtmlEscaped();
    body.replace(CrLf, QStringLiteral("<br>"));
    return QStringLiteral("<b>") + topic.title.toHtmlEscaped() + QStringLiteral("</b><br>") + body;
}

}

QStringList frmVar::entries()
{
    return {
        QStringLiteral("!--変数"),
        QStringLiteral("$1\t1番目のマッチ文字列"),
        QStringLiteral("$2\t2番目のマッチ文字列"),
        QStringLiteral("$3\t3番目のマッチ文字列"),
        QStringLiteral("$4\t4番目のマッチ文字列"),
        QString(),
        QStringLiteral("!--関数"),
        QStringLiteral("Row()\t行番号"),
        QStringLiteral("GetCreateFileTime()\tファイル作成日時"),
        QStringLiteral("GetModefiedFileTime()\tファイル更新日時"),
        QString(),
        QStringLiteral("!--　文字列"),
        QStringLiteral("Len()\t文字個数"),
        QStringLiteral("LenB()\t　同半角換算"),
        QStringLiteral("Left(,)\t文字列切り出し－左から"),
        QStringLiteral("LeftB(,)\t　同半角換算"),
        QStringLiteral("Right(,)\t文字列切り出し－右から"),
        QStringLiteral("RightB(,)\t　同半角換算"),
        QStringLiteral("Mid(,,)\t文字列切り出し－任意位置"),
        QStringLiteral("MidB(,,)\t　同半角換算"),
        QStringLiteral("Asc()\tASCIIコード"),
        QStringLiteral("Chr()\tASCIIコードを文字に変換"),
        QString(),
        QStringLiteral("!--　日付と時刻"),
        QStringLiteral("Now()\t現在の日時"),
        QStringLiteral("Today()\t今日に年月日"),
        QStringLiteral("Time()\t現在時刻"),
        QStringLiteral("Year()\t年"),
        QStringLiteral("Month()\t月"),
        QStringLiteral("Day()\t日"),
        QStringLiteral("Hour()\t時"),
        QStringLiteral("Minute()\t分"),
        QStringLiteral("Second()\t秒"),
        QStringLiteral("DateSerial(,,)\t年月日生成"),
        QStringLiteral("TimeSerial(,,)\t時刻生成"),
        QString(),
        QStringLiteral("!--　数値"),
        QStringLiteral("Int()\t整数部"),
        QStringLiteral("Val()\t数値に変換"),
        QStringLiteral("Abs()\t絶対値"),
        QStringLiteral("Sgn()\t符号"),
        QStringLiteral("Mod(,)\t剰余"),
        QStringLiteral("Dec()\t10進変換"),
        QStringLiteral("Hex()\t16進変換"),
        QStringLiteral("Rnd()\t0以上1未満の乱数"),
        QString(),
        QStringLiteral("!--その他"),
        QStringLiteral("Format(,)\t書式変換"),
        QStringLiteral("StrConv(,)\t文字型変換"),
        QStringLiteral("InStr(,,,)\t文字列検索－前方から"),
        QStringLiteral("InStrRev(,,,)\t　　　　　　後方から"),
        QString(),
        QStringLiteral("!--固定値情報"),
        QStringLiteral("<PC-Name>\tコンピュータ名"),
        QStringLiteral("<User-Name>\tユーザー名"),
        QString(),
        QStringLiteral("!--EXIF 情報（写真）"),
        QStringLiteral("<ExifDateTime>\t撮影日時"),
        QStringLiteral("<ExifMake>\tカメラのメーカー"),
        QStringLiteral("<ExifModel>\tカメラの機種"),
        QString(),
        QStringLiteral("!--MP3 タグ情報"),
        QStringLiteral("<FileName>\tファイル名"),
        QStringLiteral("<Title>\tタイトル"),
        QStringLiteral("<Artist>\tアーティスト名"),
        QStringLiteral("<Album>\tアルバム名"),
        QStringLiteral("<Genre>\tジャンル"),
        QStringLiteral("<TruckNo>\tトラック番号"),
        QStringLiteral("<Encode>\tエンコードした人"),
        QStringLiteral("<Year>\t作成年"),
        QStringLiteral("<Comment>\tコメント"),
        QString(),
    };
}

frmVar::frmVar(UserChannel &user, QWidget *target, const QString &caretText, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_user(user)
    , m_target(target)
    , m_lstVar(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmVar"));
    setWindowTitle(QStringLiteral("変数/関数"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QStringList caret = caretText.split(u'\t');
    m_caret = caret.value(0).toInt();
    m_selection = caret.value(1).toInt();

    m_lstVar->setObjectName(QStringLiteral("lstVar"));
    const QFontMetrics metrics(m_lstVar->font());
    int widest = 0;
    int widestDescription = 0;
    for (const QString &entry : entries()) {
        if (entry.startsWith(u'!'))
            continue;
        widest = std::max(widest, metrics.horizontalAdvance(entry.section(u'\t', 0, 0)));
        widestDescription = std::max(widestDescription, metrics.horizontalAdvance(entry.section(u'\t', 1)));
    }
    const int column = widest + metrics.averageCharWidth() * 2;
    m_lstVar->setItemDelegate(new EntryDelegate(column, m_lstVar));
    m_lstVar->addItems(entries());
    m_lstVar->viewport()->installEventFilter(this);
    connect(m_lstVar, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { choose(m_lstVar->row(item)); });

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_lstVar);
    resize(column + widestDescription + metrics.averageCharWidth() * 6, metrics.height() * 24);
}

frmVar *frmVar::open(UserChannel &user, QWidget *target, const QString &caretText, QWidget *parent)
{
    auto *list = new frmVar(user, target, caretText, parent);
    MoveToPointer(list, true);
    list->show();
    list->activateWindow();
    QTimer::singleShot(0, list, &frmVar::loadHelp);
    return list;
}

void frmVar::loadHelp()
{
    m_help = FuncHelp::load(FuncHelp::documentPath());
    if (m_help.isEmpty())
        return;
    QPalette palette = m_lstVar->palette();
    palette.setColor(QPalette::Base, QColor(224, 255, 224));
    m_lstVar->setPalette(palette);
}

void frmVar::choose(int row)
{
    const QString entry = m_lstVar->item(row) ? m_lstVar->item(row)->text() : QString();
    if (entry.isEmpty() || entry.startsWith(u'!'))
        return;
    if (!m_target.isValid()) {
        ShowMessage(m_user, QStringLiteral("入力するフィールドにカーソルを置いた後にクリックして下さい。"));
        close();
        return;
    }
    const QString name = entry.section(u'\t', 0, 0);
    const QString text = m_target.text();
    const int caret = std::clamp(m_caret, 0, int(text.size()));
    m_target.setText(text.left(caret) + name + text.mid(caret + std::max(0, m_selection)));
    m_target.setCaret(caret);
    if (QWidget *box = m_target.widget())
        box->setFocus();
    close();
}

QString frmVar::toolTipAt(QPoint viewportPoint)
{
    QListWidgetItem *item = m_lstVar->itemAt(viewportPoint);
    const QRect area = m_lstVar->viewport()->rect();
    const bool nearEdge = viewportPoint.x() < area.left() + 10 || viewportPoint.x() > area.right() - 40
                          || viewportPoint.y() > area.bottom() - 30;
    if (!item || m_help.isEmpty())
        return {};
    m_lstVar->setCurrentItem(item);
    const FuncHelp::Topic topic = m_help.topicOf(item->text().section(u'\t', 0, 0));
    if (nearEdge || topic.title.isEmpty())
        return {};
    return toolTipHtml(topic);
}

bool frmVar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstVar->viewport() && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_lstVar->viewport());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmVar::changeEvent(QEvent *event)
{
    // Clicking anywhere else dismisses the list.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (!isActiveWindow())
                close();
        });
    QWidget::changeEvent(event);
}
