#include "Operators.h"
#include "DataModule.h"
#include "Messages.h"
#include "Passwords.h"
#include "WarehouseList.h"

#include <QHash>
#include <QSqlQuery>
#include <functional>

namespace korvan {

namespace {
const QString kSuperUser = QStringLiteral("000");
const QString kSaveFailed = QStringLiteral("保存失败，请检测数据库连接！");

// Runs `write` as one transaction; a failure rolls it all back and shows `failure`.
bool writeAll(DataModule &dm, const QString &failure, const std::function<void(Database &)> &write)
{
    try {
        WriteTransaction tx(dm.db());
        write(dm.db());
        tx.commit();
        return true;
    } catch (const DbError &e) {
        qWarning("%s", qPrintable(e.message()));
        ShowMess(failure, MsgError);
        return false;
    }
}

SaveResult refuse(const QString &text, AccessField focus)
{
    ShowMess(text, MsgInfo);
    return {false, focus};
}

// The nine right columns, each as prefix + column + suffix.
QString rightColumns(const QString &prefix, const QString &suffix = QString())
{
    QStringList cols;
    for (const OperatorRight &r : operatorRights()) cols << prefix + r.column + suffix;
    return cols.join(QStringLiteral(", "));
}

QString placeholders(qsizetype n)
{
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i) marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}
} // namespace

const std::array<OperatorRight, 9> &operatorRights()
{
    static const std::array<OperatorRight, 9> rights{{
        {QStringLiteral("新  增"), QStringLiteral("F_new")},
        {QStringLiteral("修  改"), QStringLiteral("F_edit")},
        {QStringLiteral("删  除"), QStringLiteral("F_del")},
        {QStringLiteral("审  核"), QStringLiteral("F_check")},
        {QStringLiteral("设  置"), QStringLiteral("F_set")},
        {QStringLiteral("员工编辑"), QStringLiteral("F_YGedit")},
        {QStringLiteral("货品编辑"), QStringLiteral("F_HPedit")},
        {QStringLiteral("客户和供应商编辑"), QStringLiteral("F_KHedit")},
        {QStringLiteral("显示单价和金额"), QStringLiteral("F_Price")},
    }};
    return rights;
}

QList<OperatorRow> LoadOperatorRows(DataModule &dm)
{
    QList<OperatorRow> rows;
    QSqlQuery q;
    if (!dm.OpenQuery(QStringLiteral("SELECT O.F_Code, O.F_Name, P.F_Name, O.F_Mem, O.F_Flag FROM OperList O"
                                     " LEFT JOIN PartList P ON O.F_PartCode = P.F_Code ORDER BY O.F_ID"),
                      {}, q))
        return rows;
    while (q.next())
        rows << OperatorRow{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString(), q.value(4).toBool()};
    return rows;
}

QList<RoleRow> LoadRoleRows(DataModule &dm)
{
    QList<RoleRow> rows;
    QSqlQuery q;
    if (!dm.OpenQuery(QStringLiteral("SELECT F_Code, F_Name, F_Mem, F_Flag FROM PartList ORDER BY F_ID"), {}, q))
        return rows;
    while (q.next())
        rows << RoleRow{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toBool()};
    return rows;
}

QStringList OfferedRoleNames(DataModule &dm)
{
    return dm.FillComboBox(QStringLiteral("SELECT F_Name FROM PartList WHERE F_Flag = ? ORDER BY F_ID"), {false});
}

QStringList PermissionItemNames(DataModule &dm)
{
    return dm.FillComboBox(QStringLiteral("SELECT F_Name FROM Limits WHERE F_Flag = ? ORDER BY F_Code"), {true});
}

bool MayEditOperator(const QString &code)
{
    if (code.trimmed() != kSuperUser) return true;
    ShowMess(QStringLiteral("此用户为系统专用用户，不能被编辑！"), MsgWarning);
    return false;
}

std::optional<OperatorForm> LoadOperator(DataModule &dm, const QString &code)
{
    QSqlQuery q;
    if (!dm.OpenQuery(QStringLiteral("SELECT O.F_Code, O.F_Name, P.F_Name, O.F_Mem, O.F_Flag, O.F_CKflag, O.F_depot, ")
                          + rightColumns(QStringLiteral("O."))
                          + QStringLiteral(" FROM OperList O LEFT JOIN PartList P ON O.F_PartCode = P.F_Code"
                                           " WHERE O.F_Code = ?"),
                      {code}, q)
        || !q.next())
        return std::nullopt;
    OperatorForm f;
    f.code = q.value(0).toString();
    f.name = q.value(1).toString();
    f.roleName = q.value(2).toString();
    f.memo = q.value(3).toString();
    f.disabled = q.value(4).toBool();
    f.warehouseScope = q.value(5).toInt() == 1 ? 1 : 0;
    f.warehouses = f.warehouseScope == 1 ? q.value(6).toString() : QString();
    for (size_t i = 0; i < f.rights.size(); ++i) f.rights[i] = q.value(int(7 + i)).toBool();
    return f;
}

SaveResult SaveOperator(DataModule &dm, const OperatorForm &form, const QString &openedCode)
{
    const bool editing = !openedCode.isEmpty();
    if (editing && !MayEditOperator(openedCode)) return {false, AccessField::None};
    const QString idSql = QStringLiteral("SELECT F_ID FROM OperList WHERE F_Code = ?");
    const int ownId = editing ? dm.LookupInt(idSql, {openedCode}) : 0;
    const QString code = editing ? openedCode : form.code.trimmed();
    const QString roleName = form.roleName.trimmed();
    if (code.isEmpty()) return refuse(QStringLiteral("操作员编号不能为空！"), AccessField::Code);
    if (roleName.isEmpty()) return refuse(QStringLiteral("角色类型不能为空，请选择角色！"), AccessField::Role);
    const QString warehouses = form.warehouseScope == 1 ? NormalizedWarehouseList(form.warehouses) : QString();
    if (form.warehouseScope == 1 && warehouses.isEmpty())
        return refuse(QStringLiteral("所属仓库名称不能为空！"), AccessField::Warehouses);
    const int found = dm.LookupInt(idSql, {code});
    if (found > 0 && (!editing || found != ownId))
        return refuse(QStringLiteral("操作员编号重复!"), AccessField::Code);
    // A role typed by hand that does not exist would leave the operator
    // without any permission item.
    const QString roleCode = dm.LookupString(QStringLiteral("SELECT F_Code FROM PartList WHERE F_Name = ?"), {roleName});
    if (roleCode.isEmpty()) return refuse(QStringLiteral("所选角色不存在，请重新选择角色！"), AccessField::Role);

    QVariantList values{form.name.trimmed(), roleCode, form.memo.trimmed(), form.disabled};
    for (bool r : form.rights) values << r;
    values << form.warehouseScope << warehouses;
    // An empty password box on an existing operator keeps his password.
    const bool newPassword = !editing || !form.password.isEmpty();
    const bool saved = writeAll(dm, kSaveFailed, [&](Database &db) {
        if (editing) {
            if (ownId <= 0) throw DbError(QStringLiteral("operator %1 no longer exists").arg(openedCode));
            QString sql = QStringLiteral("UPDATE OperList SET F_Name = ?, F_PartCode = ?, F_Mem = ?, F_Flag = ?, ")
                          + rightColumns(QString(), QStringLiteral(" = ?")) + QStringLiteral(", F_CKflag = ?, F_depot = ?");
            if (newPassword) {
                sql += QStringLiteral(", F_PassWord = ?");
                values << SavePass(form.password);
            }
            values << ownId;
            db.exec(sql + QStringLiteral(" WHERE F_ID = ?"), values);
        } else {
            values.prepend(code);
            values << SavePass(form.password);
            db.exec(QStringLiteral("INSERT INTO OperList (F_Code, F_Name, F_PartCode, F_Mem, F_Flag, ")
                        + rightColumns(QString()) + QStringLiteral(", F_CKflag, F_depot, F_PassWord) VALUES (")
                        + placeholders(values.size()) + QLatin1Char(')'),
                    values);
        }
    });
    return {saved, AccessField::None};
}

std::optional<RoleForm> LoadRole(DataModule &dm, const QString &code)
{
    QSqlQuery q;
    if (!dm.OpenQuery(QStringLiteral("SELECT F_Code, F_Name, F_Mem, F_Flag FROM PartList WHERE F_Code = ?"), {code}, q)
        || !q.next())
        return std::nullopt;
    RoleForm f{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toBool(), {}};
    f.items = dm.FillComboBox(QStringLiteral("SELECT L.F_Name FROM PartLimit P LEFT JOIN Limits L ON P.F_LmtCode = L.F_Code"
                                             " WHERE P.F_PartCode = ? AND L.F_Flag = ? ORDER BY L.F_Code"),
                              {code, true});
    return f;
}

SaveResult SaveRole(DataModule &dm, const RoleForm &form, const QString &openedCode)
{
    const bool editing = !openedCode.isEmpty();
    const QString idSql = QStringLiteral("SELECT F_ID FROM PartList WHERE F_Code = ?");
    const int ownId = editing ? dm.LookupInt(idSql, {openedCode}) : 0;
    const QString code = editing ? openedCode : form.code.trimmed();
    if (code.isEmpty()) return refuse(QStringLiteral("角色编号不能为空！"), AccessField::Code);
    const int found = dm.LookupInt(idSql, {code});
    if (found > 0 && (!editing || found != ownId)) return refuse(QStringLiteral("角色编号重复!"), AccessField::Code);

    const QVariantList values{form.name.trimmed(), form.memo.trimmed(), form.disabled};
    const bool saved = writeAll(dm, kSaveFailed, [&](Database &db) {
        if (editing) {
            if (ownId <= 0) throw DbError(QStringLiteral("role %1 no longer exists").arg(openedCode));
            db.exec(QStringLiteral("UPDATE PartList SET F_Name = ?, F_Mem = ?, F_Flag = ? WHERE F_ID = ?"),
                    values + QVariantList{ownId});
        } else {
            db.exec(QStringLiteral("INSERT INTO PartList (F_Code, F_Name, F_Mem, F_Flag) VALUES (?, ?, ?, ?)"),
                    QVariantList{code} + values);
        }
        db.exec(QStringLiteral("DELETE FROM PartLimit WHERE F_PartCode = ?"), {code});
        QHash<QString, QString> codeOfItem;
        QSqlQuery items = db.query(QStringLiteral("SELECT F_Name, F_Code FROM Limits ORDER BY F_Code"));
        while (items.next()) {
            const QString name = items.value(0).toString().trimmed();
            if (!codeOfItem.contains(name)) codeOfItem.insert(name, items.value(1).toString());
        }
        for (const QString &item : form.items) {
            const QString itemCode = codeOfItem.value(item.trimmed());
            if (itemCode.isEmpty()) continue;
            db.exec(QStringLiteral("INSERT INTO PartLimit (F_PartCode, F_LmtCode) VALUES (?, ?)"), {code, itemCode});
        }
    });
    return {saved, AccessField::None};
}

bool DeleteOperator(DataModule &dm, const QString &code, const QString &name)
{
    if (!dm.session().isSuperUser()) return false;
    if (code.trimmed() == kSuperUser) {
        ShowMess(QStringLiteral("此用户为系统专用用户，不能被删除！"), MsgWarning);
        return false;
    }
    if (ShowMess(QStringLiteral("真的要删除当前用户") + name + QStringLiteral("吗？"), MsgQuestion) == AnswerNo)
        return false;
    return dm.ExecSql(QStringLiteral("DELETE FROM OperList WHERE F_Code = ?"), {code});
}

bool DeleteRole(DataModule &dm, const QString &code, const QString &name)
{
    if (!dm.session().isSuperUser()) return false;
    if (ShowMess(QStringLiteral("真的要删除当前角色") + name + QStringLiteral("吗？"), MsgQuestion) == AnswerNo)
        return false;
    // The role and its items go together: items left behind would pass to
    // the next role created under the same code.
    return writeAll(dm, DataModule::failMessage(), [&](Database &db) {
        db.exec(QStringLiteral("DELETE FROM PartList WHERE F_Code = ?"), {code});
        db.exec(QStringLiteral("DELETE FROM PartLimit WHERE F_PartCode = ?"), {code});
    });
}

} // namespace korvan
