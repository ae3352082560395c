#include "Suppliers.h"
#include "DataModule.h"
#include "Database.h"
#include "Messages.h"
#include "Money.h"

namespace korvan {

namespace {
const QString kCode = QStringLiteral("F_Code");
}

MasterListDecl SupplierListDecl(int kind)
{
    MasterListDecl d;
    d.table = QStringLiteral("t_client");
    d.disabledColumn = QStringLiteral("F_useFlag");
    d.base = {QStringLiteral(" AND F_OperFlag = ?"), {kind}};
    d.fields = {{QStringLiteral("编  号"), kCode, MatchKind::Prefix, {}, {}},
                {QStringLiteral("名  称"), QStringLiteral("F_Name"), MatchKind::Contains, {}, {}},
                {QStringLiteral("联系人"), QStringLiteral("F_LinkMan"), MatchKind::Contains, {}, {}},
                {QStringLiteral("地  址"), QStringLiteral("F_Address"), MatchKind::Contains, {}, {}},
                {QStringLiteral("备  注"), QStringLiteral("F_Mem"), MatchKind::Contains, {}, {}}};
    return d;
}

QStringList SupplierGroupNames(DataModule &dm, SupplierGrouping grouping, bool picker)
{
    if (grouping == SupplierGrouping::Salesperson) return SalespersonNames(dm);
    return DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = ? ORDER BY F_ID"),
                         {picker ? QStringLiteral("suptype") : QStringLiteral("clttype")});
}

SqlFilter SupplierGroupFilter(SupplierGrouping grouping, const QString &group)
{
    if (group.isEmpty() || group == allGroupsCaption()) return {};
    return EqualFilter(grouping == SupplierGrouping::Salesperson ? QStringLiteral("F_EmpName") : QStringLiteral("F_Type"),
                       group);
}

ListQuery SupplierPickerQuery(const Dialect &dialect, int kind, const QString &code, const QString &name,
                              const QString &phone, const SqlFilter &group)
{
    SqlFilter where{QStringLiteral(" AND F_useFlag = ? AND F_OperFlag = ?"), {false, kind}};
    where = where + LikeFilter(dialect, kCode, code.trimmed(), MatchKind::Contains)
            + LikeFilter(dialect, QStringLiteral("F_Name"), name.trimmed(), MatchKind::Contains)
            + LikeFilter(dialect, QStringLiteral("F_Phone"), phone.trimmed(), MatchKind::Contains) + group;
    return {QStringLiteral("SELECT * FROM t_client WHERE 1 = 1%1 ORDER BY F_Code, F_Type").arg(where.sql), where.params};
}

QStringList SalespersonNames(DataModule &dm)
{
    return DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_employee WHERE F_Flag = ? GROUP BY F_Name ORDER BY F_Name"),
                         {false});
}

QStringList PartnerTypeNames(DataModule &dm)
{
    return DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = 'clttype' ORDER BY F_ID"));
}

MasterResult SaveSupplier(DataModule &dm, SupplierEdit &edit)
{
    QVariantMap &v = edit.values;
    const QString code = edit.isNew ? v.value(kCode).toString().trimmed() : v.value(kCode).toString();
    if (code.trimmed().isEmpty()) return MasterResult::refused(QStringLiteral("当前供应商编号不能为空！"), MsgInfo, kCode);

    static const QStringList trimmedColumns = {"F_Name", "F_Type", "F_Phone", "F_Address", "F_PostCode", "F_Fax",
                                               "F_HandPhone", "F_Bank", "F_Account", "F_RateCode", "F_Homepage",
                                               "F_Email", "F_Enrol", "F_EmpName"};
    QStringList columns;
    QVariantList params;
    for (const QString &c : trimmedColumns) { columns << c; params << textValue(v.value(c).toString().trimmed()); }
    columns << QStringLiteral("F_LinkMan") << QStringLiteral("F_Mem") << QStringLiteral("F_BegPrice") << QStringLiteral("F_useFlag");
    params << textValue(v.value(QStringLiteral("F_LinkMan"))) << textValue(v.value(QStringLiteral("F_Mem")))
           << v.value(QStringLiteral("F_BegPrice")).value<Money>().toDb() << v.value(QStringLiteral("F_useFlag")).toBool();

    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        const SqlFilter sameKind{QStringLiteral(" AND F_OperFlag = ?"), {edit.kind}};
        if (CodeTaken(db, QStringLiteral("t_client"), code.trimmed(), edit.isNew ? 0 : edit.id, sameKind))
            return MasterResult::refused(QStringLiteral("供应商编号重复，请重新输入！"), MsgInfo, kCode);
        if (edit.isNew) {
            columns << kCode << QStringLiteral("F_OperFlag");
            params << code << edit.kind;
            db.exec(QStringLiteral("INSERT INTO t_client (%1) VALUES (%2)")
                        .arg(columns.join(QStringLiteral(", ")), QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                    params);
            edit.id = db.scalar(QStringLiteral("SELECT max(F_ID) FROM t_client WHERE F_Code = ? AND F_OperFlag = ?"),
                                {code, edit.kind}).toLongLong();
        } else {
            db.exec(QStringLiteral("UPDATE t_client SET %1 = ? WHERE F_ID = ?").arg(columns.join(QStringLiteral(" = ?, "))),
                    params + QVariantList{edit.id});
        }
        tx.commit();
    } catch (const DbError &) {
        return MasterResult::refused(masterSaveFailMessage(), MsgError);
    }
    v[kCode] = code;
    return MasterResult::success(edit.id);
}

} // namespace korvan
