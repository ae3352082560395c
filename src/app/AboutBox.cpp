#include "AboutBox.h"
#include "AppSettings.h"
#include "Artwork.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

namespace {
QLabel *link(const QString &caption, const QString &url, const QString &shown, const QString &name)
{
    auto *label = new QLabel(QStringLiteral("%1<a href=\"%2\">%3</a>").arg(caption.toHtmlEscaped(), url, shown.toHtmlEscaped()));
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(true); // a hand cursor over the link; a click opens it
    return label;
}
} // namespace

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmAboutInfo"));
    setWindowTitle(QStringLiteral("关于我们"));

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("imgAbout"));
    picture->setPixmap(bannerPixmap(QSize(420, 96), devicePixelRatioF()));

    auto *product = new QLabel(kProductName + kProductVersion);
    product->setObjectName(QStringLiteral("lblProduct"));
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    product->setFont(bold);

    auto *text = new QVBoxLayout;
    text->setContentsMargins(24, 14, 24, 8);
    text->setSpacing(6);
    text->addWidget(product);
    text->addWidget(link(QStringLiteral("网址："), kMakerWebsite, kMakerWebsite, QStringLiteral("lblWebsite")));
    text->addWidget(link(QStringLiteral("电子邮件："), QStringLiteral("mailto:") + kMakerEmail, kMakerEmail,
                         QStringLiteral("lblEmail")));
    for (const QString &line : {QStringLiteral("出品：") + kMakerName,
                                QStringLiteral("采购订单、进货、退货、开票、付款与统计分析"),
                                QStringLiteral("版权所有 © ") + kMakerName})
        text->addWidget(new QLabel(line));

    auto *ok = new QPushButton(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(24, 0, 24, 16);
    buttons->addStretch();
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    layout->addLayout(text);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace korvan
