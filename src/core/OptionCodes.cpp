#include "OptionCodes.h"
#include "DataModule.h"
#include "Messages.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace korvan {

const QList<OptionPage> &optionPages()
{
    static const QList<OptionPage> pages = [] {
        const QList<QPair<QString, QString>> list = {
            {QStringLiteral("empduty"), QStringLiteral("职    务")},  {QStringLiteral("clttype"), QStringLiteral("单位类型")},
            {QStringLiteral("goodunit"), QStringLiteral("计量单位")}, {QStringLiteral("depot"), QStringLiteral("企业仓库")},
            {QStringLiteral("paymode"), QStringLiteral("支付方式")},  {QStringLiteral("Account"), QStringLiteral("企业帐户")},
            {QStringLiteral("dept"), QStringLiteral("部    门")},     {QStringLiteral("kptype"), QStringLiteral("票据类型")}};
        QList<OptionPage> out;
        for (const auto &p : list) out << OptionPage{p.first, QLatin1Char('t') + p.first, p.second};
        return out;
    }();
    return pages;
}

const OptionPage *optionPage(const QString &type)
{
    for (const OptionPage &p : optionPages())
        if (p.type == type) return &p;
    return nullptr;
}

bool OptionCodeList::load(DataModule &dm, const QString &type)
{
    m_type = type;
    m_stored.clear();
    QSqlQuery q;
    const bool ok = dm.OpenQuery(QStringLiteral("SELECT F_ID, F_Name FROM t_code WHERE F_Type = ? ORDER BY F_ID"), {type}, q);
    while (ok && q.next()) m_stored << Row{q.value(0).toLongLong(), q.value(1).toString()};
    m_rows = m_stored;
    return ok;
}

int OptionCodeList::append()
{
    m_rows << Row{};
    return int(m_rows.size()) - 1;
}

void OptionCodeList::setName(int i, const QString &name)
{
    if (i >= 0 && i < m_rows.size()) m_rows[i].name = name;
}

void OptionCodeList::remove(int i)
{
    if (i >= 0 && i < m_rows.size()) m_rows.removeAt(i);
}

bool OptionCodeList::hasPending() const
{
    if (m_rows.size() != m_stored.size()) return true;
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id != m_stored[i].id || m_rows[i].name != m_stored[i].name) return true;
    return false;
}

bool OptionCodeList::save(DataModule &dm, const QString &failText)
{
    QHash<qint64, QString> current;
    for (const Row &r : m_rows)
        if (r.id != 0) current.insert(r.id, r.name);
    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        for (const Row &r : m_stored) {
            auto it = current.constFind(r.id);
            if (it == current.constEnd())
                db.exec(QStringLiteral("DELETE FROM t_code WHERE F_ID = ?"), {r.id});
            else if (it.value() != r.name)
                db.exec(QStringLiteral("UPDATE t_code SET F_Name = ?, F_Type = ? WHERE F_ID = ?"), {it.value(), m_type, r.id});
        }
        for (const Row &r : m_rows)
            if (r.id == 0)
                db.exec(QStringLiteral("INSERT INTO t_code (F_Name, F_Type) VALUES (?, ?)"), {r.name, m_type});
        tx.commit();
    } catch (const DbError &) {
        ShowMess(failText, MsgError);
        return false;
    }
    load(dm, m_type);
    return true;
}

QStringList OptionNames(DataModule &dm, const QString &type)
{
    return dm.FillComboBox(QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = ? AND F_Name <> ''"
                                          " GROUP BY F_Name ORDER BY MIN(F_ID)"),
                           {type});
}

QStringList PickerNames(DataModule &dm, const QString &type)
{
    return dm.FillComboBox(QStringLiteral("SELECT F_Name FROM t_code WHERE F_Name <> '' AND F_Type = ? ORDER BY F_Name, F_ID"),
                           {type});
}

QStringList SearchOptionCodes(DataModule &dm, const QString &type, const QString &name)
{
    const QString needle = name.trimmed();
    if (needle.isEmpty()) return PickerNames(dm, type);
    return dm.FillComboBox(QStringLiteral("SELECT F_Name FROM t_code WHERE F_Name <> '' AND F_Type = ? AND F_Name %1 ?%2"
                                          " ORDER BY F_Name, F_ID")
                               .arg(dm.db().dialect().likeNoCase, kLikeEscape),
                           {type, QLatin1Char('%') + likeLiteral(needle) + QLatin1Char('%')});
}

bool AddOptionCode(DataModule &dm, const QString &type, const QString &name)
{
    return dm.ExecSql(QStringLiteral("INSERT INTO t_code (F_Name, F_Type) VALUES (?, ?)"), {name, type});
}

} // namespace korvan
