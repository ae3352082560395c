#include "PasswordWindow.h"
#include "DialogButtons.h"
#include "DataModule.h"
#include "Login.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

PasswordWindow::PasswordWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TfrmModPass"));
    setWindowTitle(QStringLiteral("更改密码"));

    auto *title = new QLabel(QStringLiteral("更改登录密码"));
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);
    const QString name = dm.LookupString(QStringLiteral("SELECT F_Name FROM OperList WHERE F_Code = ?"),
                                         {dm.session().operatorCode});
    auto *who = new QLabel(QStringLiteral("当前操作员：") + name);
    who->setObjectName(QStringLiteral("lblOperator"));

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto addBox = [form](const QString &label, const QString &objectName) {
        auto *box = new QLineEdit;
        box->setObjectName(objectName);
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
        box->setMinimumWidth(200);
        auto *caption = new QLabel(label);
        caption->setBuddy(box);
        form->addRow(caption, box);
        return box;
    };
    m_old = addBox(QStringLiteral("旧 密 码："), QStringLiteral("edtOldPass"));
    m_new = addBox(QStringLiteral("新 密 码："), QStringLiteral("edtNewPass"));
    m_repeat = addBox(QStringLiteral("再输一遍："), QStringLiteral("edtNewPass2"));

    const DialogButtons dialogButtons = makeDialogButtons(nullptr, QStringLiteral("确定(&O)"), QStringLiteral("取消(&C)"));
    QPushButton *ok = dialogButtons.ok, *cancel = dialogButtons.cancel;
    QHBoxLayout *buttons = dialogButtons.row;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(title);
    layout->addWidget(who);
    layout->addSpacing(6);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &PasswordWindow::okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_old->setFocus();
}

void PasswordWindow::okClick()
{
    switch (ChangePassword(m_dm, m_old->text(), m_new->text(), m_repeat->text())) {
    case PasswordChange::Changed:
        accept();
        break;
    case PasswordChange::Mismatch:
        m_new->clear();
        m_repeat->clear();
        m_new->setFocus();
        break;
    case PasswordChange::WrongOld:
        m_old->setFocus();
        m_old->selectAll();
        break;
    case PasswordChange::NoOperator:
    case PasswordChange::Failed:
        break;
    }
}

} // namespace korvan
