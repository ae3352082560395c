#include "Login.h"
#include "Actions.h"
#include "DataModule.h"
#include "Messages.h"
#include "Passwords.h"

#include <QSqlQuery>

namespace korvan {

QStringList parseWarehouseList(const QString &stored)
{
    QStringList names;
    QString current;
    bool quoted = false, inName = false;
    const auto finish = [&] {
        if (inName && !current.trimmed().isEmpty()) names << current.trimmed();
        current.clear();
        inName = false;
    };
    for (int i = 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (quoted) {
            if (c == QLatin1Char('\'')) {
                if (i + 1 < stored.size() && stored.at(i + 1) == QLatin1Char('\'')) {
                    current += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                current += c;
            }
        } else if (c == QLatin1Char(',')) {
            finish();
        } else if (c == QLatin1Char('\'')) {
            quoted = true;
            inName = true;
        } else {
            // Tolerate names stored without quotes.
            if (!c.isSpace()) inName = true;
            current += c;
        }
    }
    finish();
    return names;
}

QString formatWarehouseList(const QStringList &names)
{
    QStringList quoted;
    for (QString n : names) quoted << QLatin1Char('\'') + n.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    return quoted.join(QLatin1Char(','));
}

namespace {
QString placeholders(qsizetype n)
{
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i) marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

QVariantList asParams(const QStringList &names)
{
    QVariantList params;
    for (const QString &n : names) params << n;
    return params;
}
} // namespace

SqlFilter warehouseFilterOn(const Session &s, const QString &column)
{
    if (!s.restrictedToWarehouses()) return {};
    const QString none = QStringLiteral("%1 = '' OR %1 IS NULL").arg(column);
    if (s.ownWarehouses.isEmpty()) return {QStringLiteral(" AND (%1)").arg(none), {}};
    return {QStringLiteral(" AND (%1 IN (%2) OR %3)").arg(column, placeholders(s.ownWarehouses.size()), none),
            asParams(s.ownWarehouses)};
}

SqlFilter WarehouseNameFilter(const Session &s)
{
    if (!s.restrictedToWarehouses()) return {};
    // A restricted operator without warehouses may choose none.
    if (s.ownWarehouses.isEmpty()) return {QStringLiteral(" AND (1 = 0)"), {}};
    return {QStringLiteral(" AND (F_Name IN (%1))").arg(placeholders(s.ownWarehouses.size())), asParams(s.ownWarehouses)};
}

SqlFilter WarehouseFilter(const Session &s) { return warehouseFilterOn(s, QStringLiteral("F_Depot")); }
SqlFilter HeaderWarehouseFilter(const Session &s) { return warehouseFilterOn(s, QStringLiteral("m.F_Depot")); }

Session LoadSession(DataModule &dm, const QString &code)
{
    Session s;
    s.operatorCode = code;
    s.operatorName = dm.LookupString(QStringLiteral("SELECT F_Name FROM OperList WHERE F_Code = ?"), {code});
    s.roleCode = dm.LookupString(QStringLiteral("SELECT F_PartCode FROM OperList WHERE F_Code = ?"), {code});
    if (s.isSuperUser()) {
        s.canAdd = s.canEdit = s.canDelete = s.canAudit = s.canSetup = true;
        s.canEditEmployees = s.canEditGoods = s.canEditPartners = s.canSeePrices = true;
    } else {
        QSqlQuery q;
        if (dm.OpenQuery(QStringLiteral("SELECT F_new, F_edit, F_del, F_check, F_set, F_YGedit, F_HPedit, F_KHedit,"
                                        " F_Price, F_CKflag, F_depot FROM OperList WHERE F_Code = ?"),
                         {code}, q)
            && q.next()) {
            s.canAdd = q.value(0).toBool();
            s.canEdit = q.value(1).toBool();
            s.canDelete = q.value(2).toBool();
            s.canAudit = q.value(3).toBool();
            s.canSetup = q.value(4).toBool();
            s.canEditEmployees = q.value(5).toBool();
            s.canEditGoods = q.value(6).toBool();
            s.canEditPartners = q.value(7).toBool();
            s.canSeePrices = q.value(8).toBool();
            s.warehouseScope = q.value(9).toInt();
            s.ownWarehouses = parseWarehouseList(q.value(10).toString());
        }
    }
    QSqlQuery company;
    if (dm.OpenQuery(QStringLiteral("SELECT F_Code, F_HandPhone, F_Phone FROM SysInfo"), {}, company) && company.next()) {
        s.companyName = company.value(0).toString();
        s.companyFax = company.value(1).toString();
        s.companyPhone = company.value(2).toString();
    }
    QSqlQuery fields;
    if (dm.OpenQuery(QStringLiteral("SELECT F_Value, F_Flag FROM KeyValue ORDER BY F_ID"), {}, fields)) {
        for (size_t n = 0; n < s.userFieldCaptions.size() && fields.next(); ++n) {
            s.userFieldCaptions[n] = fields.value(0).toString();
            s.userFieldVisible[n] = fields.value(1).toBool();
        }
    }
    return s;
}

QSet<int> VisibleActions(DataModule &dm, const Session &s)
{
    QSet<int> codes;
    if (s.isSuperUser()) {
        for (const ActionInfo &a : allActions()) codes << a.code;
        return codes;
    }
    QSqlQuery q;
    if (dm.OpenQuery(QStringLiteral("SELECT F_LmtCode FROM PartLimit WHERE F_PartCode = ?"), {s.roleCode}, q)) {
        while (q.next()) {
            bool ok = false;
            const int code = q.value(0).toString().trimmed().toInt(&ok);
            if (ok && actionByCode(code)) codes << code;
        }
    }
    return codes;
}

QString Login::initialCode() const { return m_dm.settings().lastOperatorCode(); }

QString Login::operatorName(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return {};
    return m_dm.LookupString(QStringLiteral("SELECT F_Name FROM OperList WHERE F_Code = ?"), {c});
}

Login::Result Login::confirm(const QString &typedCode, const QString &password)
{
    const QString code = typedCode.trimmed();
    if (code.isEmpty()) {
        ShowMess(QStringLiteral("请选择用户！"), MsgInfo);
        return Result::Refused;
    }
    if (operatorName(code).trimmed().isEmpty()) {
        ShowMess(QStringLiteral("此操作员并不存在，请重新选择操作员！"), MsgInfo);
        return Result::Refused;
    }
    const QString stored = m_dm.LookupString(QStringLiteral("SELECT F_PassWord FROM OperList WHERE F_Code = ?"), {code});
    if (VerifyPass(stored, password)) {
        m_dm.session() = LoadSession(m_dm, code);
        m_dm.settings().ini().setValue(QStringLiteral("Config"), QStringLiteral("CurOperCode"), code);
        return Result::LoggedIn;
    }
    if (++m_failures < kMaxFailures) {
        ShowMess(QStringLiteral("用户名或密码不正确，请重新输入！"), MsgInfo);
        return Result::Retry;
    }
    if (m_mode == LoginMode::Startup) {
        m_dm.WriteLog(QStringLiteral("登录失败！"));
        ShowMess(QStringLiteral("非法操作员!"), MsgError);
    } else {
        m_dm.WriteLog(QStringLiteral("更换操作员失败！"));
        ShowMess(QStringLiteral("更换操作员失败!"), MsgError);
    }
    return Result::Failed;
}

PasswordChange ChangePassword(DataModule &dm, const QString &oldPass, const QString &newPass, const QString &repeat)
{
    QSqlQuery q;
    if (!dm.OpenQuery(QStringLiteral("SELECT F_ID, F_PassWord FROM OperList WHERE F_Code = ?"),
                      {dm.session().operatorCode}, q)
        || !q.next())
        return PasswordChange::NoOperator;
    const qint64 id = q.value(0).toLongLong();
    const QString stored = q.value(1).toString();
    // Stored passwords never carry outer blanks, so an old password typed
    // with them cannot be the same text.
    if (oldPass != oldPass.trimmed() || !VerifyPass(stored, oldPass)) {
        ShowMess(QStringLiteral("旧口令输入错误，不能更改！"), MsgWarning);
        return PasswordChange::WrongOld;
    }
    if (newPass.trimmed() != repeat.trimmed()) {
        ShowMess(QStringLiteral("新口令错误，不能更改！"), MsgInfo);
        return PasswordChange::Mismatch;
    }
    const QString hash = SavePass(newPass);
    if (hash.isEmpty() || !dm.ExecSql(QStringLiteral("UPDATE OperList SET F_PassWord = ? WHERE F_ID = ?"), {hash, id}))
        return PasswordChange::Failed;
    ShowMess(QStringLiteral("更改口令成功！"), MsgInfo);
    return PasswordChange::Changed;
}

} // namespace korvan
