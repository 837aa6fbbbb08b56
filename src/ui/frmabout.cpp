#include "ui/frmabout.h"

#include "platform/showmessage.h"
#include "ui/shellopen.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

QString frmAbout::versionText()
{
    return ApplicationTitle() + QStringLiteral(" ") + QStringLiteral(CORVANE_VERSION) + u'\n'
           + QStringLiteral("Qt ") + QString::fromLatin1(qVersion()) + u'\n'
           + QStringLiteral("ビルド日 ") + QStringLiteral(__DATE__);
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
