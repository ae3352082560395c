#pragma once
#include "Goods.h"
#include "MasterEditDialog.h"

class QCheckBox;

namespace korvan {

class OpeningStockGrid;

// TFrmGoodEdit: one goods with its user-defined fields and its opening stock
// per warehouse, saved together in one transaction.
class GoodsEditDialog : public MasterEditDialog {
    Q_OBJECT
public:
    GoodsEditDialog(DataModule &dm, RowCursor *rows, QWidget *parent = nullptr);
    // EditGoods: 0 new, 1 edit of the list's current row.
    int EditGoods(int mode) { return edit(mode); }
    void SetPickerMode(bool on) { setPickerMode(on); }

    OpeningStockGrid *stockGrid() const { return m_stock; }
    QCheckBox *autoBox() const { return m_auto; }
    // Leaving the unit box: a unit not in the list is added after the question.
    void unitExit();

protected:
    void prepare(int mode) override;
    void loadRecord(const QVariantMap &row) override;
    void clearRecord() override;
    MasterResult save(const QVariantMap &values, QString &code) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void autoToggled(bool on);
    void pickType();
    void pickSymbol();
    void defaultWarehouse();

    OpeningStockGrid *m_stock = nullptr;
    QCheckBox *m_auto = nullptr;
    QString m_oldCode;
    bool m_inUnitCheck = false;
};

} // namespace korvan
