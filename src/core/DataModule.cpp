#include "DataModule.h"
#include "Backup.h"
#include "BackupService.h"
#include "Messages.h"
#include "Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlRecord>
#include <QTime>

namespace korvan {

namespace {
DataModule *g_instance = nullptr;
}

DataModule::DataModule(AppSettings &settings, std::unique_ptr<Database> db)
    : m_settings(settings), m_db(std::move(db))
{
    m_formats = korvan::BuildNumberFormats(m_switches);
}

DataModule::~DataModule()
{
    if (g_instance == this) g_instance = nullptr;
}

DataModule *DataModule::instance() { return g_instance; }
void DataModule::setInstance(DataModule *dm) { g_instance = dm; }

bool DataModule::ExecSql(const QString &sql, const QVariantList &params)
{
    try {
        m_db->exec(sql, params);
        return true;
    } catch (const DbError &) {
        ShowMess(failMessage(), MsgError);
        return false;
    }
}

bool DataModule::OpenQuery(const QString &sql, const QVariantList &params, QSqlQuery &query)
{
    try {
        QSqlQuery q(m_db->handle());
        q.setForwardOnly(false);
        if (!q.prepare(sql)) throw DbError(sql);
        for (int i = 0; i < params.size(); ++i) q.bindValue(i, params[i]);
        if (!q.exec()) throw DbError(sql);
        query = q;
        return true;
    } catch (const DbError &) {
        ShowMess(openFailMessage(), MsgError);
        return false;
    }
}

QString DataModule::LookupString(const QString &sql, const QVariantList &params)
{
    try {
        return m_db->scalar(sql, params).toString();
    } catch (const DbError &) {
        ShowMess(failMessage(), MsgError);
        return {};
    }
}

double DataModule::LookupFloat(const QString &sql, const QVariantList &params)
{
    try {
        return m_db->scalar(sql, params).toDouble();
    } catch (const DbError &) {
        ShowMess(failMessage(), MsgError);
        return 0;
    }
}

int DataModule::LookupInt(const QString &sql, const QVariantList &params)
{
    try {
        return m_db->scalar(sql, params).toInt();
    } catch (const DbError &) {
        ShowMess(failMessage(), MsgError);
        return 0;
    }
}

Money DataModule::LookupMoney(const QString &sql, const QVariantList &params)
{
    try {
        return Money::fromDb(m_db->scalar(sql, params));
    } catch (const DbError &) {
        ShowMess(failMessage(), MsgError);
        return {};
    }
}

QStringList DataModule::FillComboBox(const QString &sql, const QVariantList &params)
{
    QStringList items;
    try {
        QSqlQuery q = m_db->query(sql, params);
        while (q.next()) {
            const QString v = q.value(0).toString();
            if (!v.trimmed().isEmpty()) items << v;
        }
    } catch (const DbError &) {
        ShowMess(failMessage(), MsgError);
    }
    return items;
}

bool DataModule::DeleteById(const QString &table, qint64 id)
{
    // The table name cannot be bound; only declared tables are accepted.
    const TableDef *t = Schema::table(table);
    try {
        if (!t || t->work) throw DbError(QStringLiteral("unknown table ") + table);
        m_db->exec(QStringLiteral("DELETE FROM %1 WHERE F_ID = ?").arg(t->name), {id});
        return true;
    } catch (const DbError &) {
        ShowMess(deleteFailMessage(), MsgError);
        return false;
    }
}

void DataModule::WriteLog(const QString &operation)
{
    try {
        const QDateTime now = QDateTime::currentDateTime();
        m_db->exec(QStringLiteral("INSERT INTO LogRec (F_EmpName, F_OperType, F_OperDate, F_OperTime) VALUES (?, ?, ?, ?)"),
                   {m_session.operatorName, operation, now.toString(QStringLiteral("yyyy-MM-dd")),
                    now.toString(QStringLiteral("hh:mm:ss"))});
    } catch (const DbError &) {
        // The log never disturbs the operator.
    }
}

QString nextCodeAfter(const QString &head, const QString &greatest, int width)
{
    if (greatest.isEmpty() || !greatest.startsWith(head))
        return head + QString(width, QLatin1Char('0')).left(width - 1) + QLatin1Char('1');
    bool ok = false;
    const qlonglong serial = greatest.mid(head.size()).toLongLong(&ok);
    const qlonglong next = (ok ? serial : 0) + 1;
    return head + QStringLiteral("%1").arg(next, width, 10, QLatin1Char('0'));
}

QString DataModule::NextDocumentCode(const DocumentSeries &series, const QDate &day)
{
    const QString head = series.prefix + day.toString(QStringLiteral("yyyyMMdd"));
    const QString upper = series.prefix + day.addDays(1).toString(QStringLiteral("yyyyMMdd"));
    m_db->lockSeries(head);
    // The day's codes by index range; longer serials (past 999) sort first.
    const QString greatest = m_db->scalar(
        QStringLiteral("SELECT F_Code FROM %1 WHERE F_Code >= ? AND F_Code < ? AND F_Flag = ?"
                       " ORDER BY %2(F_Code) DESC, F_Code DESC LIMIT 1")
            .arg(series.table, m_db->dialect().lengthFn),
        {head, upper, series.kind}).toString();
    return nextCodeAfter(head, greatest, 3);
}

bool DataModule::HasPermission(const QString &itemCode)
{
    return LookupInt(QStringLiteral("SELECT F_ID FROM PartLimit WHERE F_PartCode = ? AND F_LmtCode = ?"),
                     {m_session.roleCode, itemCode}) > 0;
}

Money DataModule::lastPrice(const QString &head, const QString &lines, const QString &goodsCode,
                            const QString &supplier, int kind)
{
    const int mode = m_switches.lastPrice ? 1 : (m_switches.lastSupplierPrice ? 2 : 0);
    if (mode != 0) {
        QString sql = QStringLiteral("SELECT d.F_Price FROM %1 m JOIN %2 d ON m.F_Code = d.F_Code"
                                     " WHERE m.F_Flag = ? AND d.F_GoodCode = ?").arg(head, lines);
        QVariantList params{kind, goodsCode};
        if (mode == 2) {
            sql += QStringLiteral(" AND m.F_Client = ?");
            params << supplier;
        }
        sql += QStringLiteral(" ORDER BY d.F_ID DESC LIMIT 1");
        const QVariant v = m_db->scalar(sql, params);
        if (v.isValid()) return Money::fromDb(v);
    }
    return Money::fromDb(m_db->scalar(QStringLiteral("SELECT F_EnterPrice FROM t_goods WHERE F_Code = ?"), {goodsCode}));
}

Money DataModule::LastReceiptPrice(const QString &goodsCode, const QString &supplier, int kind)
{
    return lastPrice(QStringLiteral("depotM"), QStringLiteral("depotD"), goodsCode, supplier.trimmed(), kind);
}

Money DataModule::LastOrderPrice(const QString &goodsCode, const QString &supplier, int kind)
{
    return lastPrice(QStringLiteral("ddDepotM"), QStringLiteral("ddDepotD"), goodsCode, supplier.trimmed(), kind);
}

void DataModule::AutoBackup(const QDate &today)
{
    const QString folder = LookupString(QStringLiteral("SELECT F_BakPath FROM SysInfo")).trimmed();
    if (folder.isEmpty()) return;
    if (!CheckBackupFolder(folder)) return;
    const QString target = BackupFilePath(folder, today);
    if (QFileInfo::exists(target)) return; // at most one a day, never overwritten
    QString error;
    if (!BackupDatabase(*m_db, target, &error))
        ShowMess(QStringLiteral("数据备份失败！"), MsgError);
}

void DataModule::LoadSwitches()
{
    QSqlQuery q = m_db->query(QStringLiteral("SELECT F_iAmount, F_iPrice, F_iTotal, F_b2, F_b3, F_b4 FROM SysInfo"));
    if (q.next()) {
        m_switches.qtyDecimals = qBound(0, q.value(0).toInt(), 10);
        m_switches.priceDecimals = qBound(0, q.value(1).toInt(), 10);
        m_switches.amountDecimals = qBound(0, q.value(2).toInt(), 10);
        m_switches.autoGoodsCode = q.value(3).toBool();
        m_switches.lastPrice = q.value(4).toBool();
        m_switches.lastSupplierPrice = q.value(5).toBool();
    }
    BuildNumberFormats();
}

void DataModule::BuildNumberFormats() { m_formats = korvan::BuildNumberFormats(m_switches); }

} // namespace korvan
