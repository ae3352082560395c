#include "UserInfoWindow.h"
#include "DataModule.h"
#include "MessageBox.h"
#include "Messages.h"
#include "SystemSettings.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace korvan {

UserInfoWindow::UserInfoWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmUserInfo"));
    setWindowTitle(QStringLiteral("公司信息"));
    openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };

    const auto addBox = [](QFormLayout *form, const QString &label, const QString &name, QWidget *box) {
        box->setObjectName(name);
        auto *caption = new QLabel(label);
        caption->setBuddy(box);
        form->addRow(caption, box);
    };
    const auto line = [] {
        auto *e = new QLineEdit;
        e->setMinimumWidth(320);
        return e;
    };
    auto *main = new QWidget;
    main->setObjectName(QStringLiteral("TabSheet1"));
    auto *mainForm = new QFormLayout(main);
    mainForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addBox(mainForm, QStringLiteral("公司名称"), QStringLiteral("edtCompany"), m_name = line());
    addBox(mainForm, QStringLiteral("联系地址"), QStringLiteral("edtAddress"), m_address = line());
    addBox(mainForm, QStringLiteral("负 责 人"), QStringLiteral("edtManager"), m_manager = line());
    addBox(mainForm, QStringLiteral("联系电话"), QStringLiteral("edtPhone"), m_phone = line());
    addBox(mainForm, QStringLiteral("手    机"), QStringLiteral("edtHandPhone"), m_mobile = line());
    addBox(mainForm, QStringLiteral("主    页"), QStringLiteral("edtHomePage"), m_homepage = line());
    addBox(mainForm, QStringLiteral("电子邮箱"), QStringLiteral("edtEmail"), m_email = line());
    m_homepage->setToolTip(QStringLiteral("双击打开主页"));
    m_email->setToolTip(QStringLiteral("双击发送邮件"));

    auto *other = new QWidget;
    other->setObjectName(QStringLiteral("TabSheet2"));
    auto *otherForm = new QFormLayout(other);
    otherForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addBox(otherForm, QStringLiteral("注册法人"), QStringLiteral("edtEnroler"), m_legalRep = line());
    m_profile = new QPlainTextEdit;
    m_profile->setTabChangesFocus(true);
    addBox(otherForm, QStringLiteral("公司简介"), QStringLiteral("memMem"), m_profile);

    auto *tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setDocumentMode(true);
    tabs->addTab(main, QStringLiteral(" 主要资料 "));
    tabs->addTab(other, QStringLiteral(" 其他资料 "));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const QList<std::tuple<const char *, QString, void (UserInfoWindow::*)()>> commands = {
        {"btnClear", QStringLiteral("重填"), &UserInfoWindow::clearClick},
        {"btnReload", QStringLiteral("修改"), &UserInfoWindow::reloadClick},
        {"btnSave", QStringLiteral("保存"), &UserInfoWindow::saveClick},
        {"btnClose", QStringLiteral("关闭"), &QDialog::reject}};
    for (const auto &[name, caption, run] : commands) {
        auto *b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, run);
        buttons->addWidget(b);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_homepage->installEventFilter(this);
    m_email->installEventFilter(this);
    reloadClick();
    DispFormPos(this, 1);
}

void UserInfoWindow::clearClick()
{
    for (QLineEdit *e : {m_name, m_address, m_manager, m_phone, m_mobile, m_homepage, m_email, m_legalRep}) e->clear();
    m_profile->clear();
}

void UserInfoWindow::reloadClick()
{
    const CompanyInfo c = LoadCompanyInfo(m_dm);
    m_name->setText(c.name);
    m_address->setText(c.address);
    m_manager->setText(c.manager);
    m_phone->setText(c.phone);
    m_mobile->setText(c.mobile);
    m_homepage->setText(c.homepage);
    m_email->setText(c.email);
    m_legalRep->setText(c.legalRep);
    m_profile->setPlainText(c.profile);
}

void UserInfoWindow::saveClick()
{
    CompanyInfo c;
    c.name = m_name->text();
    c.address = m_address->text();
    c.manager = m_manager->text();
    c.phone = m_phone->text();
    c.mobile = m_mobile->text();
    c.homepage = m_homepage->text();
    c.email = m_email->text();
    c.legalRep = m_legalRep->text();
    c.profile = m_profile->toPlainText();
    if (!SaveCompanyInfo(m_dm, c)) return;
    ShowMess(QStringLiteral("软件设置成功！"), MsgInfo);
    accept();
}

bool UserInfoWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const QString url = watched == m_homepage ? homePageUrl(m_homepage->text())
                          : watched == m_email    ? mailToUrl(m_email->text())
                                                  : QString();
        if (!url.isEmpty()) openUrl(QUrl(url));
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace korvan
