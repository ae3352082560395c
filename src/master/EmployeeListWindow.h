#pragma once
#include "Employees.h"
#include "MasterListWindow.h"

namespace korvan {

// TfrmEmpMan "员工资料管理": the employees; departed ones on request.
class EmployeeListWindow : public MasterListWindow {
    Q_OBJECT
public:
    explicit EmployeeListWindow(DataModule &dm, QWidget *parent = nullptr);
    // SearchEmployees
    void SearchEmployees() { search(); }

protected:
    void openEditor(int mode) override;
    bool deleteCurrent() override;
    bool mayEdit() const override;
};

} // namespace korvan
