#include "Goods.h"
#include "DataModule.h"
#include "Database.h"
#include "Messages.h"

#include <QSqlRecord>

namespace korvan {

namespace {
const QString kCode = QStringLiteral("F_Code");
const QString kName = QStringLiteral("F_Name");
const QStringList kUserFields = {"F_ZF1", "F_ZF2", "F_ZF3", "F_ZF4", "F_ZF5", "F_SZ1", "F_SZ2", "F_SZ3",
                                 "F_RQ1", "F_RQ2", "F_RQ3"};

QString trimmed(const QVariantMap &v, const QString &column) { return v.value(column).toString().trimmed(); }
Money moneyIn(const QVariantMap &v, const QString &column) { return v.value(column).value<Money>(); }

bool lastFourDigits(const QString &code)
{
    const QString tail = code.right(4);
    for (QChar c : tail)
        if (!c.isDigit() || c.unicode() > 127) return false;
    return !tail.isEmpty();
}

bool isRootPath(const QString &path)
{
    return path.isEmpty() || path == QLatin1String("\\\\") || path == QLatin1String("\\");
}
} // namespace

MasterListDecl GoodsListDecl(const Session &session)
{
    MasterListDecl d;
    d.table = QStringLiteral("t_goods");
    d.disabledColumn = QStringLiteral("F_Flag");
    d.fields = {{QStringLiteral("货品编号"), kCode, MatchKind::Prefix, {}, {}},
                {QStringLiteral("货品名称"), kName, MatchKind::Contains, {}, {}},
                {QStringLiteral("商品规格"), QStringLiteral("F_Spec"), MatchKind::Contains, {}, {}},
                {QStringLiteral("产    地"), QStringLiteral("F_Address"), MatchKind::Prefix, {}, {}},
                {QStringLiteral("备    注"), QStringLiteral("F_Mem"), MatchKind::Contains, {}, {}}};
    static const char *const fallback[] = {"字符项一", "字符项二", "字符项三", "字符项四", "字符项五"};
    for (int i = 0; i < 5; ++i) {
        const QString caption = session.userFieldCaptions[size_t(i)].trimmed();
        d.fields << SearchField{caption.isEmpty() ? QString::fromUtf8(fallback[i]) : caption,
                                QStringLiteral("F_ZF%1").arg(i + 1), MatchKind::Contains, {}, {}};
    }
    return d;
}

SqlFilter TypePathFilter(const Dialect &dialect, const QString &column, const QString &path)
{
    Q_UNUSED(dialect);
    if (isRootPath(path)) return {};
    return {QStringLiteral(" AND (%1 = ? OR %1 LIKE ?%2)").arg(column, kLikeEscape),
            {path, likeLiteral(path + QLatin1Char('\\')) + QLatin1Char('%')}};
}

QString NextGoodsCodeAfter(const QString &latest)
{
    if (latest.size() <= 3 || !lastFourDigits(latest)) return QStringLiteral("0001");
    const qlonglong next = latest.right(4).toLongLong() + 1;
    return latest.left(latest.size() - 4) + QStringLiteral("%1").arg(next, 4, 10, QLatin1Char('0'));
}

QString NextGoodsCode(DataModule &dm)
{
    const QString latest = dm.LookupString(QStringLiteral("SELECT F_Code FROM t_goods ORDER BY F_ID DESC LIMIT 1"));
    return NextGoodsCodeAfter(latest);
}

bool isUserDateSet(const QDate &d) { return d.isValid() && d >= QDate(1901, 8, 14); }

QList<OpeningStockLine> LoadOpeningStock(Database &db, const QString &code, const Session &session)
{
    QList<OpeningStockLine> lines;
    if (!code.isEmpty()) {
        QSqlQuery q = db.query(QStringLiteral("SELECT F_ID, F_Depot, F_Amount, F_Price FROM t_begDept"
                                              " WHERE F_GoodCode = ? ORDER BY F_ID"), {code});
        while (q.next())
            lines << OpeningStockLine{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toDouble(),
                                      Money::fromDb(q.value(3)), false};
    }
    QSqlQuery w = db.query(QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = 'depot' ORDER BY F_ID"));
    while (w.next()) {
        const QString depot = w.value(0).toString();
        const bool stored = std::any_of(lines.begin(), lines.end(), [&](const OpeningStockLine &l) { return l.depot == depot; });
        if (!stored && !depot.isEmpty()) lines << OpeningStockLine{0, depot, 0, Money(), false};
    }
    if (session.restrictedToWarehouses())
        for (OpeningStockLine &l : lines) l.hidden = !session.ownWarehouses.contains(l.depot);
    return lines;
}

void FinishOpeningStock(QList<OpeningStockLine> &lines, Money costPrice)
{
    for (OpeningStockLine &l : lines)
        if (!l.hidden && l.price.isZero()) l.price = costPrice;
}

double OpeningQuantity(const QList<OpeningStockLine> &lines)
{
    double sum = 0;
    for (const OpeningStockLine &l : lines) sum += l.amount;
    return sum;
}

MasterResult SaveGoods(DataModule &dm, GoodsEdit &edit)
{
    QVariantMap &v = edit.values;
    const QString code = trimmed(v, kCode);
    if (code.isEmpty()) return MasterResult::refused(QStringLiteral("当前货品编号不能为空！"), MsgInfo, kCode);
    if (edit.autoCode && !lastFourDigits(code))
        return MasterResult::refused(QStringLiteral("采用自动编号，货品编号最后四位必须全为数字！"), MsgInfo, kCode);
    if (trimmed(v, kName).isEmpty()) return MasterResult::refused(QStringLiteral("当前货品名称不能为空！"), MsgInfo, kName);

    const Money cost = moneyIn(v, QStringLiteral("F_EnterPrice"));
    QList<OpeningStockLine> stock = edit.stock;
    FinishOpeningStock(stock, cost);
    const double begAmount = OpeningQuantity(stock);

    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        if (CodeTaken(db, QStringLiteral("t_goods"), code, edit.isNew ? 0 : edit.id))
            return MasterResult::refused(QStringLiteral("货品编号重复，请重新输入！"), MsgInfo, kCode);

        for (const OpeningStockLine &l : stock) {
            if (l.hidden) continue;
            if (l.amount == 0) {
                if (l.id) db.exec(QStringLiteral("DELETE FROM t_begDept WHERE F_ID = ?"), {l.id});
                continue;
            }
            const QVariantList values{code, l.depot, l.amount, l.price.toDb(), l.total().toDb()};
            if (l.id)
                db.exec(QStringLiteral("UPDATE t_begDept SET F_GoodCode = ?, F_Depot = ?, F_Amount = ?, F_Price = ?,"
                                       " F_TotalPrice = ? WHERE F_ID = ?"), values + QVariantList{l.id});
            else
                db.exec(QStringLiteral("INSERT INTO t_begDept (F_GoodCode, F_Depot, F_Amount, F_Price, F_TotalPrice)"
                                       " VALUES (?, ?, ?, ?, ?)"), values);
        }

        static const QStringList texts = {"F_Name", "F_Type", "F_Spec", "F_Unit", "F_BarCode", "F_Depot", "F_Address"};
        static const QStringList typed = {"F_Mem", "F_ZF1", "F_ZF2", "F_ZF3", "F_ZF4", "F_ZF5"};
        QStringList columns{kCode};
        QVariantList params{code};
        for (const QString &c : texts) { columns << c; params << textValue(trimmed(v, c)); }
        for (const QString &c : typed) { columns << c; params << textValue(v.value(c)); }
        for (const char *c : {"F_EnterPrice", "F_SalePrice"}) { columns << c; params << moneyIn(v, c).toDb(); }
        for (const char *c : {"F_DeptUp", "F_DeptDown", "F_SZ1", "F_SZ2", "F_SZ3"}) { columns << c; params << v.value(c).toDouble(); }
        columns << QStringLiteral("F_BegAmount") << QStringLiteral("F_Flag");
        params << begAmount << v.value(QStringLiteral("F_Flag")).toBool();
        for (const char *c : {"F_RQ1", "F_RQ2", "F_RQ3"}) {
            const QDate d = v.value(c).toDate();
            columns << c;
            params << (isUserDateSet(d) ? d : noUserDate());
        }

        if (edit.isNew) {
            db.exec(QStringLiteral("INSERT INTO t_goods (%1) VALUES (%2)")
                        .arg(columns.join(QStringLiteral(", ")), QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
                    params);
            db.exec(QStringLiteral("UPDATE SysInfo SET F_b2 = ?"), {edit.autoCode});
            edit.id = db.scalar(QStringLiteral("SELECT max(F_ID) FROM t_goods WHERE F_Code = ?"), {code}).toLongLong();
        } else {
            db.exec(QStringLiteral("UPDATE t_goods SET %1 = ? WHERE F_ID = ?").arg(columns.join(QStringLiteral(" = ?, "))),
                    params + QVariantList{edit.id});
            const QString old = edit.oldCode.trimmed();
            if (!old.isEmpty() && old != code) {
                for (const char *table : {"depotD", "ddDepotD", "t_begDept"})
                    db.exec(QStringLiteral("UPDATE %1 SET F_GoodCode = ? WHERE F_GoodCode = ?").arg(QLatin1String(table)),
                            {code, old});
            }
            db.exec(QStringLiteral("UPDATE depotD SET F_GoodName = ?, F_Type = ?, F_Spec = ?, F_Unit = ?, F_Address = ?"
                                   " WHERE F_GoodCode = ?"),
                    {trimmed(v, kName), trimmed(v, "F_Type"), trimmed(v, "F_Spec"), trimmed(v, "F_Unit"),
                     trimmed(v, "F_Address"), code});
        }
        tx.commit();
    } catch (const DbError &) {
        return MasterResult::refused(masterSaveFailMessage(), MsgError);
    }
    if (edit.isNew) dm.switches().autoGoodsCode = edit.autoCode;
    v[kCode] = code;
    v[QStringLiteral("F_BegAmount")] = begAmount;
    edit.oldCode = code;
    return MasterResult::success(edit.id);
}

bool GoodsInUse(Database &db, const QString &code)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM depotD WHERE F_GoodCode = ?"), {code}).toInt() > 0;
}

MasterResult DeleteGoods(DataModule &dm, qint64 id, const QString &code)
{
    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        if (GoodsInUse(db, code)) return MasterResult::refused(goodsInUseMessage(), MsgWarning);
        db.exec(QStringLiteral("DELETE FROM t_goods WHERE F_ID = ?"), {id});
        // Opening stock belongs to the code; another goods row with the same
        // code keeps it.
        if (!db.scalar(QStringLiteral("SELECT F_ID FROM t_goods WHERE F_Code = ?"), {code}).isValid())
            db.exec(QStringLiteral("DELETE FROM t_begDept WHERE F_GoodCode = ?"), {code});
        tx.commit();
    } catch (const DbError &) {
        return MasterResult::refused(DataModule::deleteFailMessage(), MsgError);
    }
    return MasterResult::success(id);
}

int ChangeGoodsType(DataModule &dm, const QList<qint64> &ids, const QString &path)
{
    int changed = 0;
    for (qint64 id : ids) {
        try {
            changed += dm.db().exec(QStringLiteral("UPDATE t_goods SET F_Type = ? WHERE F_ID = ?"), {path, id}) > 0;
        } catch (const DbError &) {
        }
    }
    return changed;
}

QStringList GoodsUnits(DataModule &dm)
{
    return DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = 'goodunit' ORDER BY F_ID"));
}

bool GoodsUnitExists(DataModule &dm, const QString &unit)
{
    return dm.LookupInt(QStringLiteral("SELECT count(*) FROM t_code WHERE F_Name = ? AND F_Type = 'goodunit'"),
                        {unit.trimmed()}) > 0;
}

bool AddGoodsUnit(DataModule &dm, const QString &unit)
{
    return dm.ExecSql(QStringLiteral("INSERT INTO t_code (F_Name, F_Type) VALUES (?, 'goodunit')"), {unit});
}

QStringList OperatorWarehouses(DataModule &dm, const Session &session)
{
    QStringList out;
    for (const QString &w : DistinctNames(dm, QStringLiteral("SELECT F_Name FROM t_code WHERE F_Type = 'depot' ORDER BY F_ID")))
        if (!session.restrictedToWarehouses() || session.ownWarehouses.contains(w)) out << w;
    return out;
}

// ---- picker

namespace {
// What the picker's grid can show; a picked line reads the rest by code.
const QString kPickerColumns = QStringLiteral(
    "F_ID, F_Code, F_Name, F_Type, F_Spec, F_Unit, F_Address, F_EnterPrice, F_SalePrice, F_Mem, F_BarCode, F_Flag");
}

ListQuery GoodsPickerQuery(const Dialect &dialect, const GoodsPickerFilter &f)
{
    SqlFilter where;
    if (f.excludePicked)
        // An uncorrelated list: both engines read tempCode once (a correlated
        // NOT EXISTS scans it for every goods row). NULLs left out, or NOT IN
        // would match nothing.
        where.sql += QStringLiteral(" AND F_Code NOT IN (SELECT F_code FROM tempCode WHERE F_code IS NOT NULL)");
    where = where + LikeFilter(dialect, kCode, f.code, MatchKind::Prefix);
    if (!f.name.trimmed().isEmpty()) where = where + LikeFilter(dialect, kName, f.name, MatchKind::Contains);
    where = where + LikeFilter(dialect, QStringLiteral("F_Spec"), f.spec.trimmed(), MatchKind::Prefix);
    where = where + TypePathFilter(dialect, QStringLiteral("F_Type"), f.typePath);
    return {QStringLiteral("SELECT %1 FROM t_goods WHERE 1 = 1%2 ORDER BY F_Code").arg(kPickerColumns, where.sql), where.params};
}

ListQuery GoodsPickInitialQuery()
{
    return {QStringLiteral("SELECT %1 FROM t_goods WHERE F_Flag = ? ORDER BY F_Code").arg(kPickerColumns), {false}};
}

void ClearPickedGoods(Database &db)
{
    try {
        db.exec(QStringLiteral("DELETE FROM tempCode"));
    } catch (const DbError &) {
    }
}

void RememberPickedGoods(Database &db, const QString &code)
{
    try {
        db.exec(QStringLiteral("INSERT INTO tempCode (F_code) VALUES (?)"), {code});
    } catch (const DbError &) {
    }
}

QVariantMap GoodsLineValues(DataModule &dm, const QString &code, int docKind, const QString &supplier,
                            const QString &documentCode)
{
    QVariantMap line;
    try {
        const qint64 id = dm.db().scalar(QStringLiteral("SELECT min(F_ID) FROM t_goods WHERE F_Code = ?"), {code}).toLongLong();
        const QVariantMap goods = id ? LoadRecord(dm.db(), QStringLiteral("t_goods"), id) : QVariantMap();
        if (goods.isEmpty()) return line;
        line[QStringLiteral("F_GoodCode")] = goods.value(kCode);
        line[QStringLiteral("F_GoodName")] = goods.value(kName);
        for (const char *c : {"F_Type", "F_Spec", "F_Address", "F_Unit"}) line[c] = goods.value(c);
        for (const QString &c : kUserFields) line[c] = goods.value(c);
        const QString who = supplier.trimmed();
        Money price;
        switch (docKind) {
        case GoodsForReceipt: price = dm.LastReceiptPrice(code, who, 1); break;
        case GoodsForReturn: price = dm.LastReceiptPrice(code, who, -1); break;
        case GoodsForOrder: price = dm.LastOrderPrice(code, who, 1); break;
        default: price = goods.value(QStringLiteral("F_EnterPrice")).value<Money>(); break;
        }
        line[QStringLiteral("F_Price")] = QVariant::fromValue(price);
        line[kCode] = documentCode;
        line[QStringLiteral("F_Rate")] = 1.0;
        line[QStringLiteral("F_Amount")] = 1.0;
    } catch (const DbError &) {
        ShowMess(DataModule::failMessage(), MsgError);
        line.clear();
    }
    return line;
}

} // namespace korvan
