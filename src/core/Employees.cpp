#include "Employees.h"
#include "DataModule.h"
#include "Database.h"
#include "ImageKind.h"
#include "Messages.h"

#include <QFileInfo>

namespace korvan {

namespace {
const QString kCode = QStringLiteral("F_Code");
}

MasterListDecl EmployeeListDecl()
{
    MasterListDecl d;
    d.table = QStringLiteral("t_employee");
    d.selectList = QStringLiteral("F_ID, F_Code, F_Name, F_Sex, F_Dept, F_Duty, F_Phone, F_Mem, F_Flag, F_ImagePath");
    d.disabledColumn = QStringLiteral("F_Flag");
    d.fields = {{QStringLiteral("编  号"), kCode, MatchKind::Prefix, {}, {}},
                {QStringLiteral("姓  名"), QStringLiteral("F_Name"), MatchKind::Contains, {}, {}},
                {QStringLiteral("性  别"), QStringLiteral("F_Sex"), MatchKind::Prefix, {QStringLiteral("男"), QStringLiteral("女")}, {}},
                {QStringLiteral("部  门"), QStringLiteral("F_Dept"), MatchKind::Prefix, {},
                 QStringLiteral("SELECT DISTINCT F_Dept FROM t_employee WHERE F_Dept <> '' ORDER BY F_Dept")},
                {QStringLiteral("职  务"), QStringLiteral("F_Duty"), MatchKind::Prefix, {},
                 QStringLiteral("SELECT DISTINCT F_Duty FROM t_employee WHERE F_Duty <> '' ORDER BY F_Duty")},
                {QStringLiteral("备  注"), QStringLiteral("F_Mem"), MatchKind::Contains, {}, {}}};
    return d;
}

QStringList DepartmentNames(DataModule &dm)
{
    return DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_code WHERE F_Name <> '' AND F_Type = 'dept' ORDER BY F_ID"));
}

QStringList DutyNames(DataModule &dm)
{
    return DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_code WHERE F_Name <> '' AND F_Type = 'empduty' ORDER BY F_ID"));
}

EmployeePhoto StoredPhoto(const QString &path, const QByteArray &data)
{
    const int kind = ImageKindOfFile(path);
    if ((kind != 1 && kind != 2) || data.isEmpty()) return {QFileInfo(path).fileName(), {}};
    return {QFileInfo(path).fileName(), data};
}

EmployeePhoto PhotoOfRecord(const QVariantMap &row)
{
    const QString path = row.value(QStringLiteral("F_ImagePath")).toString();
    const int kind = ImageKindOfFile(path);
    if (kind != 1 && kind != 2) return {};
    return {path, row.value(QStringLiteral("F_EmpImage")).toByteArray()};
}

MasterResult SaveEmployee(DataModule &dm, EmployeeEdit &edit)
{
    QVariantMap &v = edit.values;
    const QString code = v.value(kCode).toString().trimmed();
    if (code.isEmpty()) return MasterResult::refused(QStringLiteral("当前员工编号不能为空！"), MsgInfo, kCode);

    const EmployeePhoto photo = StoredPhoto(edit.photo.path, edit.photo.data);
    QStringList columns{kCode};
    QVariantList params{code};
    for (const char *c : {"F_Name", "F_Sex", "F_Dept", "F_Phone", "F_Duty"}) {
        columns << c;
        params << textValue(v.value(c).toString().trimmed());
    }
    columns << QStringLiteral("F_Mem") << QStringLiteral("F_Flag") << QStringLiteral("F_ImagePath") << QStringLiteral("F_EmpImage");
    params << textValue(v.value(QStringLiteral("F_Mem"))) << v.value(QStringLiteral("F_Flag")).toBool()
           << textValue(photo.path) << (photo.data.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(photo.data));

    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        if (CodeTaken(db, QStringLiteral("t_employee"), code, edit.isNew ? 0 : edit.id))
            return MasterResult::refused(QStringLiteral("员工编号重复，请重新输入！"), MsgInfo, kCode);
        if (edit.isNew) {
            db.exec(QStringLiteral("INSERT INTO t_employee (%1) VALUES (%2)")
                        .arg(columns.join(QStringLiteral(", ")), QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                    params);
            edit.id = db.scalar(QStringLiteral("SELECT max(F_ID) FROM t_employee WHERE F_Code = ?"), {code}).toLongLong();
        } else {
            db.exec(QStringLiteral("UPDATE t_employee SET %1 = ? WHERE F_ID = ?").arg(columns.join(QStringLiteral(" = ?, "))),
                    params + QVariantList{edit.id});
        }
        tx.commit();
    } catch (const DbError &) {
        return MasterResult::refused(masterSaveFailMessage(), MsgError);
    }
    v[kCode] = code;
    edit.photo = photo;
    return MasterResult::success(edit.id);
}

} // namespace korvan
