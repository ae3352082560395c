#include "AddTextDialog.h"
#include "MessageBox.h"
#include "Messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvan {

TextEntryDialog::TextEntryDialog(const QString &label, const QString &cancelCaption, const QString &emptyMessage,
                                 QWidget *parent)
    : QDialog(parent), m_emptyMessage(emptyMessage)
{
    auto *caption = new QLabel(label);
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("edtName"));
    m_name->setMinimumWidth(240);
    caption->setBuddy(m_name);
    auto *ok = new QPushButton(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(cancelCaption);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(m_name, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &TextEntryDialog::okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TextEntryDialog::okClick()
{
    if (m_name->text().trimmed().isEmpty()) {
        ShowMess(m_emptyMessage, MsgInfo);
        m_name->setFocus();
        return;
    }
    accept();
}

bool TextEntryDialog::ask(QString &text)
{
    DispFormPos(this, 1);
    m_name->setFocus();
    if (exec() != QDialog::Accepted) return false;
    text = m_name->text();
    return true;
}

AddTextDialog::AddTextDialog(QWidget *parent)
    : TextEntryDialog(QStringLiteral("名    称："), QStringLiteral("关闭"), QStringLiteral("名称不能为空！"), parent)
{
    setObjectName(QStringLiteral("TDLGaddText"));
    setWindowTitle(QStringLiteral("请输入要增加的标题名称"));
}

} // namespace korvan
