#include "AddTextDialog.h"
#include "DialogButtons.h"
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
    const DialogButtons buttons = makeDialogButtons(nullptr, QStringLiteral("确定"), cancelCaption);
    buttons.ok->setDefault(true);

    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(m_name, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons.ok, &QPushButton::clicked, this, &TextEntryDialog::okClick);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
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
