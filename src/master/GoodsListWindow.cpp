#include "GoodsListWindow.h"
#include "DataGrid.h"
#include "DataModule.h"
#include "GoodsEditDialog.h"
#include "GoodsTypeDialog.h"
#include "MessageBox.h"
#include "Messages.h"
#include "TreeCodeWindow.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace korvan {

namespace {
MasterListConfig goodsListConfig(const Session &s)
{
    MasterListConfig c;
    c.caption = QStringLiteral("货品资料管理");
    c.decl = GoodsListDecl(s);
    c.layoutKey = QStringLiteral("goodgl");
    c.disabledCaption = QStringLiteral("包含已停用");
    c.reportName = QStringLiteral("frGoodMan");
    c.reportPriceSuffix = true;
    c.exportName = QStringLiteral("货品资料");
    c.searchOnShow = false; // empty until the first search
    return c;
}
} // namespace

GoodsListWindow::GoodsListWindow(DataModule &dm, QWidget *parent)
    : MasterListWindow(dm, goodsListConfig(dm.session()), parent)
{
    setObjectName(QStringLiteral("TFrmGoodGl"));
    build();
    auto *toggle = new QPushButton(QStringLiteral("类别"), this);
    toggle->setObjectName(QStringLiteral("btnShowTree"));
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QPushButton::toggled, m_tree, &QWidget::setVisible);
    searchBar()->insertWidget(searchBar()->count() - 1, toggle);
}

QWidget *GoodsListWindow::createSidePanel()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvType"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LoadCodeTree(m_tree, dm(), QStringLiteral("货品类型"), kGoodsTypeFlag);
    // The root starts selected, so a search works before a type is chosen.
    if (m_tree->topLevelItemCount() > 0) m_tree->setCurrentItem(m_tree->topLevelItem(0));
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { search(); });
    return m_tree;
}

bool GoodsListWindow::canSearch() const { return m_tree && !m_tree->selectedItems().isEmpty(); }

SqlFilter GoodsListWindow::extraFilter() const
{
    const QList<QTreeWidgetItem *> selected = m_tree->selectedItems();
    if (selected.isEmpty() || selected.first()->data(0, NodeCodeRole).toString() == kTreeRootCode) return {};
    return TypePathFilter(dm().db().dialect(), QStringLiteral("F_Type"),
                          selected.first()->data(0, NodePathRole).toString());
}

void GoodsListWindow::prepareColumns(GridColumns &cols)
{
    ApplyUserFieldCaptions(cols, session());
    // F_BegAmount in the quantity format; the prices only for who may see them.
    ApplyColumnFormats(cols, 1, PriceRemove, session(), dm().formats());
    for (GridColumn &c : cols)
        if (c.field.contains(QLatin1String("price"), Qt::CaseInsensitive)) c.displayFormat = dm().formats().price;
}

void GoodsListWindow::extendMenu(QMenu *menu)
{
    menu->addAction(QStringLiteral("更改当前所选商品类型"), this, &GoodsListWindow::changeTypeClick)
        ->setObjectName(QStringLiteral("miChangeType"));
}

void GoodsListWindow::openEditor(int mode)
{
    GoodsEditDialog dlg(dm(), this, this);
    DispFormPos(&dlg, 1);
    dlg.EditGoods(mode);
}

bool GoodsListWindow::deleteCurrent()
{
    const QString code = currentValue(QStringLiteral("F_Code")).toString();
    if (GoodsInUse(dm().db(), code)) {
        ShowMess(goodsInUseMessage(), MsgWarning);
        return false;
    }
    if (!confirmDelete(QStringLiteral("真的要删除货品") + currentValue(QStringLiteral("F_Name")).toString() + QStringLiteral("吗？")))
        return false;
    const MasterResult r = DeleteGoods(dm(), currentValue(QStringLiteral("F_ID")).toLongLong(), code);
    if (!r.ok) ShowMess(r.message, r.kind);
    return r.ok;
}

bool GoodsListWindow::mayEdit() const { return session().canEditGoods || session().isSuperUser(); }

void GoodsListWindow::changeTypeClick()
{
    if (ShowMess(QStringLiteral("真的要改变当前所选货品的类型吗？"), MsgQuestion) == AnswerNo) return;
    GoodsTypeDialog dlg(dm(), this);
    const QString path = dlg.SelectType().trimmed();
    if (path.isEmpty()) return;
    if (rowCount() == 0) {
        ShowMess(QStringLiteral("请选择需要更改类型的货品资料！"), MsgInfo);
        return;
    }
    QList<qint64> ids;
    for (int row : grid()->selectedRows()) ids << idAt(row);
    ChangeGoodsType(dm(), ids, path);
    reopen();
}

} // namespace korvan
