#pragma once
#include "DataGrid.h"
#include "Goods.h"

namespace korvan {

class DataModule;

// The opening stock of one goods in the edit window: a line per warehouse
// ("仓    库", "期初数量", "成本单价", "金额" with the totals), amount following
// quantity × price. Warehouses a restricted operator may not see are held
// back unchanged; without the price right the price columns are left out.
class OpeningStockGrid : public DataGrid {
    Q_OBJECT
public:
    OpeningStockGrid(DataModule &dm, QWidget *parent = nullptr);
    // The lines of `code`, or of a new goods for an empty code.
    void load(const QString &code);
    // Every line, held-back ones included, as the save takes them.
    QList<OpeningStockLine> lines() const;

private:
    void edited(int row);

    DataModule &m_dm;
    QList<qint64> m_ids;              // t_begDept row of each grid row (0 = new)
    QList<OpeningStockLine> m_hidden;
    bool m_recomputing = false;
};

} // namespace korvan
