#pragma once
#include "MasterEditDialog.h"
#include "Suppliers.h"

namespace korvan {

// TfrmCltEdit: one supplier. The code of an existing supplier is read-only.
class SupplierEditDialog : public MasterEditDialog {
    Q_OBJECT
public:
    SupplierEditDialog(DataModule &dm, RowCursor *rows, QWidget *parent = nullptr);
    void setPartnerKind(int kind) { m_kind = kind; }
    // EditPartner: 0 new, 1 edit of the list's current row.
    int EditPartner(int mode) { return edit(mode); }
    void SetPickerMode(bool on) { setPickerMode(on); }

protected:
    void prepare(int mode) override;
    MasterResult save(const QVariantMap &values, QString &code) override;

private:
    int m_kind = kSupplierKind;
};

} // namespace korvan
