#pragma once
#include "MasterCommon.h"
#include "MasterList.h"
#include "Suppliers.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvan {

class DataGrid;
class DataModule;
class SupplierGroupPanel;

// TDlgCltXz "供应商资料选择": chooses a supplier (never a disabled one) by code,
// name, telephone and group; "新增单位" adds one on the spot.
class SupplierPicker : public QDialog {
    Q_OBJECT
public:
    explicit SupplierPicker(DataModule &dm, QWidget *parent = nullptr);
    void setPartnerKind(int kind) { m_kind = kind; }

    // PickSupplier: shows the dialog modally; on OK with a non-empty list
    // `name` becomes the chosen supplier's name and the result is true;
    // otherwise `name` is the preset.
    bool PickSupplier(const QString &preset, QString &name);

    DataGrid *grid() const { return m_grid; }
    void search();
    void newSupplierClick();

private:
    DataModule &m_dm;
    int m_kind = kSupplierKind;
    SupplierGroupPanel *m_groups;
    QLineEdit *m_code, *m_name, *m_phone;
    DataGrid *m_grid;
    GridRowCursor m_cursor; // the rows a new supplier is shown among
};

// The supplier picker for a supplier box: the chosen name, or `preset`.
QString PickSupplier(DataModule &dm, QWidget *parent, const QString &preset);

} // namespace korvan
