#include "LoginWindow.h"
#include "DialogButtons.h"
#include "Artwork.h"
#include "DataModule.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

namespace {
QLineEdit *addBox(QFormLayout *form, const QString &label, const QString &name)
{
    auto *box = new QLineEdit;
    box->setObjectName(name);
    auto *caption = new QLabel(label);
    caption->setBuddy(box);
    form->addRow(caption, box);
    return box;
}
} // namespace

LoginWindow::LoginWindow(DataModule &dm, LoginMode mode, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_login(dm, mode)
{
    setObjectName(QStringLiteral("TfrmOperLogin"));
    setWindowTitle(QStringLiteral("登录窗口"));

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("imgLogin"));
    picture->setPixmap(bannerPixmap(QSize(420, 96), devicePixelRatioF()));
    auto *hint = new QLabel(QStringLiteral("请输入正确的操作员编号及密码，系统超级用户编号“000”，系统初始密码为空："));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_code = addBox(form, QStringLiteral("编  号："), QStringLiteral("edtCode"));
    m_name = addBox(form, QStringLiteral("姓  名："), QStringLiteral("edtName"));
    m_name->setReadOnly(true);
    m_password = addBox(form, QStringLiteral("密  码："), QStringLiteral("edtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    const DialogButtons dialogButtons = makeDialogButtons(nullptr);
    QPushButton *ok = dialogButtons.ok, *cancel = dialogButtons.cancel;
    ok->setDefault(true);
    QHBoxLayout *buttons = dialogButtons.row;

    auto *body = new QVBoxLayout;
    body->setContentsMargins(24, 12, 24, 16);
    body->addWidget(hint);
    body->addLayout(form);
    body->addSpacing(6);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picture);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_code, &QLineEdit::editingFinished, this, &LoginWindow::lookUpName);
    connect(ok, &QPushButton::clicked, this, &LoginWindow::okClick);
    connect(cancel, &QPushButton::clicked, this, &LoginWindow::cancelClick);

    m_code->setText(m_login.initialCode());
    lookUpName();
    (m_code->text().trimmed().isEmpty() ? m_code : m_password)->setFocus();
}

bool LoginWindow::run(DataModule &dm, LoginMode mode, QWidget *parent)
{
    LoginWindow w(dm, mode, parent);
    return w.exec() == QDialog::Accepted;
}

void LoginWindow::lookUpName() { m_name->setText(m_login.operatorName(m_code->text())); }

void LoginWindow::okClick()
{
    lookUpName();
    switch (m_login.confirm(m_code->text(), m_password->text())) {
    case Login::Result::Refused:
        m_code->setFocus();
        break;
    case Login::Result::Retry:
        m_password->setFocus();
        m_password->selectAll();
        break;
    case Login::Result::LoggedIn:
        done(QDialog::Accepted);
        break;
    case Login::Result::Failed:
        done(QDialog::Rejected);
        break;
    }
}

void LoginWindow::cancelClick() { done(QDialog::Rejected); }

void LoginWindow::reject() {}

void LoginWindow::closeEvent(QCloseEvent *event) { event->ignore(); }

} // namespace korvan
