#include "SelectDepotDialog.h"
#include "DialogButtons.h"
#include "DataModule.h"
#include "Messages.h"
#include "WarehouseList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace korvan {

QListWidget *makeColumnCheckList(const QString &objectName, const QStringList &items, int columns)
{
    auto *list = new QListWidget;
    list->setObjectName(objectName);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    int widest = 0;
    const QFontMetrics fm(list->font());
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        widest = qMax(widest, fm.horizontalAdvance(text));
    }
    const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 12;
    const QSize cell(qMax(90, widest + indicator + 12), fm.height() + 8);
    list->setGridSize(cell);
    const int rows = int((items.size() + columns - 1) / qMax(1, columns));
    // Room for every column and, up to 14 rows, for every row; the list
    // wraps into columns only when its viewport holds them whole.
    const int frame = 2 * list->frameWidth() + 8;
    list->setFixedWidth(columns * cell.width() + frame + list->verticalScrollBar()->sizeHint().width());
    list->setFixedHeight(qMin(qMax(rows, 3), 14) * cell.height() + frame);
    return list;
}

QList<bool> checkedFlags(const QListWidget *list)
{
    QList<bool> flags;
    for (int i = 0; i < list->count(); ++i) flags << (list->item(i)->checkState() == Qt::Checked);
    return flags;
}

void setCheckedFlags(QListWidget *list, const QList<bool> &flags)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(i < flags.size() && flags[i] ? Qt::Checked : Qt::Unchecked);
}

SelectDepotDialog::SelectDepotDialog(const QStringList &warehouses, const QString &current, QWidget *parent)
    : QDialog(parent), m_warehouses(warehouses)
{
    setObjectName(QStringLiteral("TDLGselectDepotSTR"));
    setWindowTitle(QStringLiteral("仓库选择 "));
    auto *hint = new QLabel(QStringLiteral("请从以下列表中勾选所需项目："));
    hint->setObjectName(QStringLiteral("lblHint"));
    m_list = makeColumnCheckList(QStringLiteral("clbDepot"), warehouses, 2);
    hint->setBuddy(m_list);
    setCheckedFlags(m_list, PreTickedWarehouses(warehouses, current));

    const DialogButtons buttons = makeDialogButtons(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_list);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString SelectDepotDialog::result() const { return PickedWarehouses(m_warehouses, checkedFlags(m_list)); }

QString PickWarehouses(DataModule &dm, const QString &current, QWidget *parent)
{
    const QStringList warehouses =
        dm.FillComboBox(QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = 'depot' ORDER BY F_ID"));
    if (warehouses.isEmpty()) {
        ShowMess(QStringLiteral("没有项目选择！"), MsgInfo);
        return current;
    }
    SelectDepotDialog dialog(warehouses, current, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.result() : current;
}

} // namespace korvan
