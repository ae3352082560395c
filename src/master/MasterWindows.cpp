// The windows of master data, made known to the main window.
#include "CodeManWindow.h"
#include "EmployeeListWindow.h"
#include "GoodsListWindow.h"
#include "SupplierListWindow.h"
#include "WindowRegistry.h"

namespace korvan {

void registerMasterWindows()
{
    registerWindow(QStringLiteral("TfrmEmpMan"), WindowKind::Child,
                   [](DataModule &dm, QWidget *parent) { return new EmployeeListWindow(dm, parent); });
    // Action 202 opens the partner list for suppliers (kind 0) under "供应商资料管理".
    registerWindow(QStringLiteral("TfrmCltMan"), WindowKind::Child,
                   [](DataModule &dm, QWidget *parent) { return new SupplierListWindow(dm, parent, kSupplierKind); });
    registerWindow(QStringLiteral("TFrmGoodGl"), WindowKind::Child,
                   [](DataModule &dm, QWidget *parent) { return new GoodsListWindow(dm, parent); });
    registerCodeWindows(); // TFrmCodeMan, TFrmTreeCodeMan
}

} // namespace korvan
