#include "SupplierGroupPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

SupplierGroupPanel::SupplierGroupPanel(DataModule &dm, bool picker, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_picker(picker)
{
    setObjectName(QStringLiteral("pnlGroup"));
    m_title = new QLabel(QStringLiteral("项    目"), this);
    m_title->setObjectName(QStringLiteral("lblGroupTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFrameShape(QFrame::StyledPanel);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstGroup"));
    m_title->setBuddy(m_list);
    m_grouping = new QComboBox(this);
    m_grouping->setObjectName(QStringLiteral("cbGrouping"));
    m_grouping->addItems({QStringLiteral("业务员"), QStringLiteral("类  型")});
    auto *refresh = new QPushButton(QStringLiteral("刷新列表"), this);
    refresh->setObjectName(QStringLiteral("btnRefreshGroups"));
    refresh->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_grouping);
    layout->addWidget(refresh);
    setMinimumWidth(140);

    connect(m_grouping, qOverload<int>(&QComboBox::activated), this, &SupplierGroupPanel::fill);
    connect(refresh, &QPushButton::clicked, this, &SupplierGroupPanel::fill);
    connect(m_list, &QListWidget::itemClicked, this, &SupplierGroupPanel::groupChosen);
}

SupplierGrouping SupplierGroupPanel::grouping() const
{
    return m_grouping->currentIndex() == 1 ? SupplierGrouping::Type : SupplierGrouping::Salesperson;
}

SqlFilter SupplierGroupPanel::filter() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return SupplierGroupFilter(grouping(), item ? item->text() : QString());
}

void SupplierGroupPanel::fill()
{
    m_title->setText(m_grouping->currentText());
    m_list->clear();
    m_list->addItem(allGroupsCaption());
    m_list->addItems(SupplierGroupNames(m_dm, grouping(), m_picker));
    m_list->setCurrentRow(0);
    emit groupChosen();
}

} // namespace korvan
