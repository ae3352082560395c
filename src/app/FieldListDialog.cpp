#include "FieldListDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

FieldListDialog::FieldListDialog(const GridColumns &cols, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("TFrmDispFieldXZ"));
    setWindowTitle(QStringLiteral("字段列表"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstFields"));
    for (const GridColumn &c : cols) {
        auto *item = new QListWidgetItem(c.flatCaption().isEmpty() ? c.field : c.flatCaption(), m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(c.visible ? Qt::Checked : Qt::Unchecked);
    }
    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(300, 380);
}

QList<bool> FieldListDialog::visibility() const
{
    QList<bool> out;
    for (int i = 0; i < m_list->count(); ++i) out << (m_list->item(i)->checkState() == Qt::Checked);
    return out;
}

} // namespace korvan
