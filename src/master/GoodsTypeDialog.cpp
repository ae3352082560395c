#include "GoodsTypeDialog.h"
#include "DialogButtons.h"
#include "Messages.h"
#include "TreeCodeWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace korvan {

GoodsTypeDialog::GoodsTypeDialog(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TDlgEditGoodType"));
    setWindowTitle(QStringLiteral("批量修改货品类型"));
    auto *label = new QLabel(QStringLiteral("商品类型："), this);
    m_type = new QLineEdit(this);
    m_type->setObjectName(QStringLiteral("edtType"));
    m_type->setReadOnly(true);
    m_type->setMinimumWidth(260);
    label->setBuddy(m_type);
    auto *pick = new QToolButton(this);
    pick->setObjectName(QStringLiteral("btnType"));
    pick->setText(QStringLiteral("…"));
    const DialogButtons dialogButtons = makeDialogButtons(nullptr);
    QPushButton *ok = dialogButtons.ok, *cancel = dialogButtons.cancel;

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_type, 1);
    row->addWidget(pick);
    QHBoxLayout *buttons = dialogButtons.row;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    connect(pick, &QToolButton::clicked, this, [this] { m_type->setText(PickGoodsType(m_dm, this, m_type->text())); });
    connect(ok, &QPushButton::clicked, this, &GoodsTypeDialog::okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void GoodsTypeDialog::okClick()
{
    if (m_type->text().trimmed().isEmpty()) {
        ShowMess(QStringLiteral("商品类型名称不能为空！"), MsgInfo);
        m_type->setFocus();
        return;
    }
    accept();
}

QString GoodsTypeDialog::SelectType()
{
    return exec() == QDialog::Accepted ? m_type->text() : QString();
}

} // namespace korvan
