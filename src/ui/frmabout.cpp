#include "ui/frmabout.h"

#include "platform/showmessage.h"
#include "ui/shellopen.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

QString frmAbout::versionText()
{
    // The compiler writes the date as "Dec  7 2026", with English month names.
    const QDate built = QDate::fromString(QStringLiteral(__DATE__).simplified(), QStringLiteral("MMM d yyyy"));
    return ApplicationTitle() + u' ' + QStringLiteral(CORVANE_CAPTION_VERSION) + u'\n'
           + QStringLiteral("Qt ") + QString::fromLatin1(qVersion()) + u'\n'
           + QStringLiteral("ビルド日 ") + built.toString(QStringLiteral("yyyy年M月d日"));
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto *title = new QLabel(QStringLiteral("<h2>") + ApplicationTitle() + QStringLiteral("</h2>"), this);
    auto *version = new QLabel(versionText(), this);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *note = new QLabel(QStringLiteral("たくさんのファイルの名前・日時・ＭＰ３タグをまとめて変更します。"), this);
    auto *home = new QLabel(QStringLiteral("<a href=\"home\">ヘルプ（ホームページ）を開く</a>"), this);
    connect(home, &QLabel::linkActivated, this, [] { OpenHomePage(); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(note);
    layout->addWidget(home);
    layout->addWidget(buttons);
}
