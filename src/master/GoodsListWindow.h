#pragma once
#include "Goods.h"
#include "MasterListWindow.h"

class QTreeWidget;

namespace korvan {

// TFrmGoodGl "货品资料管理": the goods of the type chosen in the tree on the
// left; prices shown only to operators who may see them.
class GoodsListWindow : public MasterListWindow {
    Q_OBJECT
public:
    explicit GoodsListWindow(DataModule &dm, QWidget *parent = nullptr);
    QTreeWidget *typeTree() const { return m_tree; }
    // SearchGoods
    void SearchGoods() { search(); }
    // "更改当前所选商品类型"
    void changeTypeClick();

protected:
    QWidget *createSidePanel() override;
    SqlFilter extraFilter() const override;
    bool canSearch() const override;
    void prepareColumns(GridColumns &cols) override;
    void extendMenu(QMenu *menu) override;
    void openEditor(int mode) override;
    bool deleteCurrent() override;
    bool mayEdit() const override;

private:
    QTreeWidget *m_tree = nullptr;
};

} // namespace korvan
