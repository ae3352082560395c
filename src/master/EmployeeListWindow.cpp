#include "EmployeeListWindow.h"
#include "DataModule.h"
#include "EmployeeEditDialog.h"
#include "MessageBox.h"

namespace korvan {

namespace {
MasterListConfig employeeListConfig()
{
    MasterListConfig c;
    c.caption = QStringLiteral("员工资料管理");
    c.decl = EmployeeListDecl();
    c.layoutKey = QStringLiteral("empman");
    c.disabledCaption = QStringLiteral("包含已离职");
    c.reportName = QStringLiteral("frEmpMan");
    c.exportName = QStringLiteral("员工档案资料");
    return c;
}
} // namespace

EmployeeListWindow::EmployeeListWindow(DataModule &dm, QWidget *parent) : MasterListWindow(dm, employeeListConfig(), parent)
{
    setObjectName(QStringLiteral("TfrmEmpMan"));
    build();
}

void EmployeeListWindow::openEditor(int mode)
{
    EmployeeEditDialog dlg(dm(), this, this);
    DispFormPos(&dlg, 1);
    dlg.EditEmployee(mode);
}

bool EmployeeListWindow::deleteCurrent()
{
    const QString name = currentValue(QStringLiteral("F_Name")).toString();
    if (!confirmDelete(QStringLiteral("真的要删除员工 \"") + name + QStringLiteral("\" 的资料吗？"))) return false;
    return dm().DeleteById(QStringLiteral("t_employee"), currentValue(QStringLiteral("F_ID")).toLongLong());
}

bool EmployeeListWindow::mayEdit() const { return session().canEditEmployees || session().isSuperUser(); }

} // namespace korvan
