#pragma once
#include "MasterListWindow.h"
#include "Suppliers.h"

namespace korvan {

class SupplierGroupPanel;

// TfrmCltMan "供应商资料管理": the suppliers with the group list on the left.
class SupplierListWindow : public MasterListWindow {
    Q_OBJECT
public:
    explicit SupplierListWindow(DataModule &dm, QWidget *parent = nullptr, int kind = kSupplierKind);
    int partnerKind() const { return m_kind; }
    // SearchPartners
    void SearchPartners() { search(); }

protected:
    QWidget *createSidePanel() override;
    SqlFilter extraFilter() const override;
    void prepareColumns(GridColumns &cols) override;
    void openEditor(int mode) override;
    bool deleteCurrent() override;
    bool mayEdit() const override;

private:
    int m_kind;
    SupplierGroupPanel *m_groups = nullptr;
};

} // namespace korvan
