#include "SupplierListWindow.h"
#include "DataModule.h"
#include "MessageBox.h"
#include "SupplierEditDialog.h"
#include "SupplierGroupPanel.h"

namespace korvan {

namespace {
MasterListConfig supplierListConfig(int kind)
{
    MasterListConfig c;
    c.caption = QStringLiteral("供应商资料管理");
    c.decl = SupplierListDecl(kind);
    c.layoutKey = QStringLiteral("cltman");
    c.disabledCaption = QStringLiteral("包含已停用");
    c.reportName = QStringLiteral("frSupMan");
    c.exportName = QStringLiteral("供应商资料列表");
    c.searchOnShow = false; // filling the group list runs the search
    return c;
}
} // namespace

SupplierListWindow::SupplierListWindow(DataModule &dm, QWidget *parent, int kind)
    : MasterListWindow(dm, supplierListConfig(kind), parent), m_kind(kind)
{
    setObjectName(QStringLiteral("TfrmCltMan"));
    build();
    m_groups->fill();
}

QWidget *SupplierListWindow::createSidePanel()
{
    m_groups = new SupplierGroupPanel(dm(), false, this);
    connect(m_groups, &SupplierGroupPanel::groupChosen, this, &MasterListWindow::search);
    return m_groups;
}

SqlFilter SupplierListWindow::extraFilter() const { return m_groups ? m_groups->filter() : SqlFilter{}; }

void SupplierListWindow::prepareColumns(GridColumns &cols)
{
    const int i = indexOfField(cols, QStringLiteral("F_BegPrice"));
    if (i >= 0) cols[i].displayFormat = dm().formats().amount;
}

void SupplierListWindow::openEditor(int mode)
{
    SupplierEditDialog dlg(dm(), this, this);
    DispFormPos(&dlg, 1);
    dlg.setPartnerKind(m_kind);
    dlg.EditPartner(mode);
}

bool SupplierListWindow::deleteCurrent()
{
    const QString name = currentValue(QStringLiteral("F_Name")).toString();
    if (!confirmDelete(QStringLiteral("真的要删除当前客户名称为：“") + name + QStringLiteral("”的资料吗？"))) return false;
    return dm().DeleteById(QStringLiteral("t_client"), currentValue(QStringLiteral("F_ID")).toLongLong());
}

bool SupplierListWindow::mayEdit() const
{
    return session().canEditPartners || session().isSuperUser();
}

} // namespace korvan
