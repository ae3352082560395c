#include "OpeningStockGrid.h"
#include "DataModule.h"
#include "Messages.h"

namespace korvan {

OpeningStockGrid::OpeningStockGrid(DataModule &dm, QWidget *parent) : DataGrid(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("gridBegDept"));
    setTitleSort(TitleSort::None);
    gridModel()->setFields({{"F_Depot", CellType::Text}, {"F_Amount", CellType::Quantity}, {"F_Price", CellType::Price},
                            {"F_TotalPrice", CellType::Money}});
    const NumberFormats &f = dm.formats();
    GridColumns cols;
    cols << GridColumn{"F_Depot", QStringLiteral("仓    库"), 80, true, true, {}, FooterKind::Text, QStringLiteral("合    计")};
    cols << GridColumn{"F_Amount", QStringLiteral("期初数量"), 70, true, false, f.qty, FooterKind::Sum};
    cols << GridColumn{"F_Price", QStringLiteral("成本单价"), 70, true, false, f.price};
    cols << GridColumn{"F_TotalPrice", QStringLiteral("金额"), 80, true, true, f.amount, FooterKind::Sum};
    ApplyColumnFormats(cols, 0, PriceRemove, dm.session(), dm.formats());
    setColumns(cols);
    setEditable(true);
    setMinimumWidth(300);
    connect(gridModel(), &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
        for (int r = from.row(); r <= to.row(); ++r) edited(r);
    });
}

void OpeningStockGrid::edited(int row)
{
    if (m_recomputing) return;
    m_recomputing = true;
    GridModel *m = gridModel();
    const Money price = m->value(row, "F_Price").value<Money>();
    m->setValue(row, "F_TotalPrice", QVariant::fromValue(price.times(m->value(row, "F_Amount").toDouble())));
    m_recomputing = false;
}

void OpeningStockGrid::load(const QString &code)
{
    QList<OpeningStockLine> stored;
    try {
        stored = LoadOpeningStock(m_dm.db(), code, m_dm.session());
    } catch (const DbError &) {
        ShowMess(DataModule::openFailMessage(), MsgError);
    }
    GridModel *m = gridModel();
    m->clearRows();
    m_ids.clear();
    m_hidden.clear();
    for (const OpeningStockLine &l : stored) {
        if (l.hidden) {
            m_hidden << l;
            continue;
        }
        m->appendRow({l.depot, l.amount, QVariant::fromValue(l.price), QVariant::fromValue(l.total())});
        m_ids << l.id;
    }
}

QList<OpeningStockLine> OpeningStockGrid::lines() const
{
    QList<OpeningStockLine> out = m_hidden;
    const GridModel *m = gridModel();
    for (int r = 0; r < m->rowCount(); ++r)
        out << OpeningStockLine{m_ids.value(r), m->value(r, "F_Depot").toString(), m->value(r, "F_Amount").toDouble(),
                                m->value(r, "F_Price").value<Money>(), false};
    return out;
}

} // namespace korvan
