#pragma once
#include "MasterList.h"

namespace korvan {

// Suppliers: rows of t_client with F_OperFlag = 0 (PartnerKind). Documents
// store the supplier's name, never its code.
constexpr int kSupplierKind = 0;

// The list TfrmCltMan: "编  号" (prefix), "名  称", "联系人", "地  址", "备  注".
MasterListDecl SupplierListDecl(int kind = kSupplierKind);

// The group list beside the list and the picker.
enum class SupplierGrouping { Salesperson, Type };
inline QString allGroupsCaption() { return QStringLiteral("全部"); }
// The names of the group list after "全部": salespersons (employees not
// departed), or the partner types (the picker reads the type list `suptype`,
// the list window `clttype`).
QStringList SupplierGroupNames(DataModule &dm, SupplierGrouping grouping, bool picker = false);
// The condition of a selected group row; none for "全部" or no row.
SqlFilter SupplierGroupFilter(SupplierGrouping grouping, const QString &group);

// The picker TDlgCltXz: suppliers not disabled, code, name and telephone
// contained (trimmed), the group filter; by code, then type.
ListQuery SupplierPickerQuery(const Dialect &dialect, int kind, const QString &code, const QString &name,
                              const QString &phone, const SqlFilter &group);

// The edit window's drop-downs.
QStringList SalespersonNames(DataModule &dm);
QStringList PartnerTypeNames(DataModule &dm);

struct SupplierEdit {
    bool isNew = true;
    qint64 id = 0;
    int kind = kSupplierKind;
    // t_client columns by declared name; F_BegPrice as Money, F_useFlag bool.
    QVariantMap values;
};

// Checks (code given, unique within the kind) and writes in one transaction.
// An existing supplier's code never changes; the name may be empty.
MasterResult SaveSupplier(DataModule &dm, SupplierEdit &edit);

} // namespace korvan
