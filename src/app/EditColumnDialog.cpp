#include "EditColumnDialog.h"
#include "DialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

EditColumnDialog::EditColumnDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TDLGeditCurList"));
    setWindowTitle(QStringLiteral("批量修改当前列"));
    auto *label = new QLabel(QStringLiteral("请输入要填写的字段值："), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edtValue"));
    label->setBuddy(m_edit);
    const DialogButtons buttons = makeDialogButtons(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons.row);
    setMinimumWidth(320);
}

QString EditColumnDialog::value() const { return m_edit->text(); }

QString AskColumnValue(QWidget *parent)
{
    EditColumnDialog dlg(parent);
    return dlg.exec() == QDialog::Accepted ? dlg.value() : QString();
}

} // namespace korvan
