#include "Schema.h"
#include "Database.h"
#include "SeedData.h"

#include <QSqlRecord>

namespace korvan {

const ColumnDef *TableDef::column(const QString &n) const
{
    for (const ColumnDef &c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

namespace Schema {
namespace {

// Column lists are written compactly: "name:type" with type one of
// id text textN memo int num money bool date blob.
QList<ColumnDef> cols(const QString &spec)
{
    QList<ColumnDef> out;
    for (const QString &item : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = item.section(QLatin1Char(':'), 0, 0);
        QString type = item.section(QLatin1Char(':'), 1, 1);
        ColumnDef c{name, ColumnType::Text, 0};
        if (type == QLatin1String("id")) c.type = ColumnType::Id;
        else if (type == QLatin1String("memo")) c.type = ColumnType::Memo;
        else if (type == QLatin1String("int")) c.type = ColumnType::Int;
        else if (type == QLatin1String("num")) c.type = ColumnType::Number;
        else if (type == QLatin1String("money")) c.type = ColumnType::Money;
        else if (type == QLatin1String("bool")) c.type = ColumnType::Bool;
        else if (type == QLatin1String("date")) c.type = ColumnType::Date;
        else if (type == QLatin1String("blob")) c.type = ColumnType::Blob;
        else if (type.startsWith(QLatin1String("text"))) c.length = type.mid(4).toInt();
        else qFatal("bad column type %s", qPrintable(item));
        out << c;
    }
    return out;
}

const QString kUserFields = QStringLiteral(
    " F_ZF1:text255 F_ZF2:text255 F_ZF3:text255 F_ZF4:text255 F_ZF5:text255"
    " F_SZ1:num F_SZ2:num F_SZ3:num F_RQ1:date F_RQ2:date F_RQ3:date");

const QString kHeaderCommon = QStringLiteral(
    "F_ID:id F_Code:text255 F_MakeDate:date F_date:date F_Client:text255 F_EmpName:text50"
    " F_OldCode:text255 F_Mem:text255 F_Maker:text50 F_Auditer:text50 F_CheckFlag:bool"
    " F_TotalPrice:money F_Flag:int F_OperFlag:int F_RowVer:int");

const QString kGoodsLine = QStringLiteral(
    "F_ID:id F_Code:text50 F_GoodCode:text50 F_GoodName:text255 F_Type:text255 F_Spec:text255"
    " F_Address:text255 F_Unit:text50 F_TMcode:text50 F_Amount:num F_Price:money F_Rate:num"
    " F_TotalPrice:money F_Mem:text255") + kUserFields;

const QStringList kHeaderIndexes = {QStringLiteral("F_date"), QStringLiteral("F_MakeDate"), QStringLiteral("F_Client")};

QList<TableDef> declare()
{
    QList<TableDef> t;
    // Master data
    t << TableDef{QStringLiteral("t_goods"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_Name:text255 F_Type:text255 F_Spec:text255 F_Unit:text50 F_BarCode:text50"
        " F_EnterPrice:money F_SalePrice:money F_BegAmount:num F_DeptUp:num F_DeptDown:num F_Depot:text100"
        " F_Mem:memo F_Flag:bool F_Address:text255") + kUserFields),
        {QStringLiteral("F_Code"), QStringLiteral("F_Type"), QStringLiteral("F_Name"), QStringLiteral("F_BarCode")}, {}};
    t << TableDef{QStringLiteral("t_begDept"), cols(QStringLiteral(
        "F_ID:id F_GoodCode:text50 F_Depot:text50 F_Amount:num F_Price:money F_TotalPrice:money")),
        {QStringLiteral("F_GoodCode")}, {}};
    t << TableDef{QStringLiteral("t_client"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_Name:text255 F_Type:text50 F_LinkMan:text255 F_Phone:text50 F_HandPhone:text50"
        " F_Fax:text50 F_Address:text255 F_PostCode:text50 F_Email:text50 F_Homepage:text50 F_Bank:text50"
        " F_Account:text50 F_RateCode:text50 F_Enrol:text50 F_EmpName:text50 F_BegPrice:money F_Mem:memo"
        " F_useFlag:bool F_OperFlag:int")),
        {QStringLiteral("F_Code"), QStringLiteral("F_Name")}, {}};
    t << TableDef{QStringLiteral("t_employee"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_Name:text50 F_Sex:text10 F_Duty:text50 F_Dept:text50 F_Phone:text50"
        " F_Mem:memo F_Flag:bool F_ImagePath:text255 F_EmpImage:blob")),
        {QStringLiteral("F_Code")}, {}};
    t << TableDef{QStringLiteral("t_code"), cols(QStringLiteral("F_ID:id F_Name:text255 F_Type:text50")),
        {QStringLiteral("F_Type")}, {}};
    t << TableDef{QStringLiteral("t_treecode"), cols(QStringLiteral(
        "F_ID:id F_code:text255 F_name:text255 F_likecode:text255 F_flag:text50")),
        {QStringLiteral("F_flag,F_code"), QStringLiteral("F_likecode")}, {}};

    // Documents
    t << TableDef{QStringLiteral("ddDepotM"), cols(kHeaderCommon + QStringLiteral(
        " F_Depot:text255 F_JHdate:date F_amount:num F_AudDate:date")), kHeaderIndexes, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("depotM"), cols(kHeaderCommon + QStringLiteral(
        " F_Depot:text255 F_Amount:num F_AudDate:date")), kHeaderIndexes, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("cashPayM"), cols(kHeaderCommon + QStringLiteral(
        " F_Account:text50 F_PayMode:text255 F_itemName:text255 F_SKprice:money F_CGDcode:text255")),
        kHeaderIndexes, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("KPdepotM"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_MakeDate:date F_date:date F_Maker:text50 F_Auditer:text50 F_CheckFlag:bool"
        " F_Flag:int F_TotalPrice:money F_KPemp:text50 F_CLTname:text255 F_CLTcode:text50 F_KPtype:text50"
        " F_KPcode:text50 F_KPname:text255 F_KPprice:money F_memo1:memo F_CGDcode:text255 F_RowVer:int")),
        {QStringLiteral("F_date"), QStringLiteral("F_MakeDate"), QStringLiteral("F_CLTname")}, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("ddDepotD"), cols(kGoodsLine + QStringLiteral(" F_OLDcode:text255")),
        {QStringLiteral("F_Code"), QStringLiteral("F_GoodCode")}, {}};
    t << TableDef{QStringLiteral("depotD"), cols(kGoodsLine + QStringLiteral(" F_JHcode:text50")),
        {QStringLiteral("F_Code"), QStringLiteral("F_GoodCode"), QStringLiteral("F_JHcode")}, {}};
    t << TableDef{QStringLiteral("KPdepotD"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_CGDcode:text50 F_TotalPrice:money F_Mem:text255")),
        {QStringLiteral("F_Code"), QStringLiteral("F_CGDcode")}, {}};
    t << TableDef{QStringLiteral("cashPayD"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_CGDcode:text50 F_TotalPrice:money F_Mem:text255")),
        {QStringLiteral("F_Code"), QStringLiteral("F_CGDcode")}, {}};

    // Security
    t << TableDef{QStringLiteral("OperList"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_Name:text50 F_PassWord:text255 F_PartCode:text50 F_Mem:text255 F_Flag:bool"
        " F_new:bool F_edit:bool F_del:bool F_check:bool F_set:bool F_YGedit:bool F_HPedit:bool F_KHedit:bool"
        " F_Price:bool F_CKflag:int F_depot:memo")), {}, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("PartList"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_Name:text50 F_Mem:text255 F_Flag:bool")), {}, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("Limits"), cols(QStringLiteral("F_ID:id F_Code:text10 F_Name:text50 F_Flag:bool")),
        {}, {QStringLiteral("F_Code")}};
    t << TableDef{QStringLiteral("PartLimit"), cols(QStringLiteral("F_ID:id F_PartCode:text50 F_LmtCode:text10")),
        {QStringLiteral("F_PartCode,F_LmtCode")}, {}};

    // Configuration and log
    t << TableDef{QStringLiteral("SysInfo"), cols(QStringLiteral(
        "F_ID:id F_Code:text50 F_Name:text255 F_Manager:text50 F_Phone:text50 F_HandPhone:text50 F_Email:text255"
        " F_Homepage:text255 F_Enroler:text50 F_Mem:text255 F_BakPath:text255 F_iAmount:int F_iPrice:int"
        " F_iTotal:int F_b2:bool F_b3:bool F_b4:bool")), {}, {}};
    t << TableDef{QStringLiteral("KeyValue"), cols(QStringLiteral("F_ID:id F_Value:text50 F_Flag:bool")), {}, {}};
    t << TableDef{QStringLiteral("cfg_Grid"), cols(QStringLiteral(
        "F_ID:id F_name:text50 F_FieldName:text50 F_Caption:text100 F_Width:int F_Visible:bool F_ReadOnly:bool"
        " F_DisplayFormat:text50 F_FooterValue:text100 F_FooterType:int F_Alignment:int F_Order:int")),
        {QStringLiteral("F_name")}, {}};
    t << TableDef{QStringLiteral("cfg_import"), cols(QStringLiteral(
        "F_ID:id F_tablename:text50 S_Field:text50 F_FieldName:text100 F_iFlag:int")),
        {QStringLiteral("F_tablename")}, {}};
    t << TableDef{QStringLiteral("LogRec"), cols(QStringLiteral(
        "F_ID:id F_EmpName:text50 F_OperType:text255 F_OperDate:text10 F_OperTime:text8")), {}, {}};

    // Scratch tables, private to each connection.
    t << TableDef{QStringLiteral("tempCode"), cols(QStringLiteral("F_code:text255")), {}, {}, true};
    t << TableDef{QStringLiteral("tempDdGood"), cols(QStringLiteral(
        "F_OLDcode:text255 F_code:text50 F_name:text255 F_type:text255 F_spec:text255 F_unit:text50"
        " F_yinWg:num F_yiWg:num F_yiTH:num F_weiWg:num F_flag:bool F_price:money F_rate:num"
        " F_yinWg2:money F_yiWg2:money F_yiTH2:money F_weiWg2:money F_ddCode:text255")), {}, {}, true};
    t << TableDef{QStringLiteral("tempZhangKuan"), cols(QStringLiteral(
        "F_code:text255 F_TotalPrice:money F_Yishou:money F_Yinshou:money")), {}, {}, true};
    t << TableDef{QStringLiteral("tempDepot"), cols(QStringLiteral(
        "F_depot:text255 F_goodCode:text255 F_enter:num F_enterPrice:money F_out:num F_outPrice:money F_end:num"
        " F_endPrice:money F_beginPrice:money F_makeDate:date F_flag:bool")), {}, {}, true};
    t << TableDef{QStringLiteral("tempUnit"), cols(QStringLiteral(
        "F_Unit:text255 F_Begin:money F_Enter:money F_Out:money F_End:money F_Flag:bool")), {}, {}, true};
    t << TableDef{QStringLiteral("tempSaleFx"), cols(QStringLiteral(
        "F_MakeDate:date F_TempDate:text50 F_Sale:money F_amount:num")), {}, {}, true};
    return t;
}

QString typeSql(const ColumnDef &c, const Dialect &d, bool work)
{
    switch (c.type) {
    case ColumnType::Id: return d.idColumn;
    case ColumnType::Text: case ColumnType::Memo: return d.textType;
    case ColumnType::Int: return d.intType + QStringLiteral(" DEFAULT 0");
    case ColumnType::Number: return d.doubleType + QStringLiteral(" DEFAULT 0");
    case ColumnType::Money: return d.bigintType + QStringLiteral(" DEFAULT 0");
    case ColumnType::Bool: return d.boolType + (d.postgres ? QStringLiteral(" DEFAULT FALSE") : QStringLiteral(" DEFAULT 0"));
    case ColumnType::Date: return d.dateType;
    case ColumnType::Blob: return d.blobType;
    }
    Q_UNUSED(work);
    return d.textType;
}

} // namespace

const QList<TableDef> &tables()
{
    static const QList<TableDef> all = declare();
    return all;
}

const TableDef *table(const QString &name)
{
    for (const TableDef &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

QStringList createStatements(const TableDef &t, bool postgres)
{
    const Dialect &d = postgres ? postgresDialect() : sqliteDialect();
    QStringList colSql;
    for (const ColumnDef &c : t.columns)
        colSql << c.name + QLatin1Char(' ') + typeSql(c, d, t.work);
    QStringList out;
    out << QStringLiteral("CREATE %1TABLE %2%3 (%4)")
               .arg(t.work ? QStringLiteral("TEMPORARY ") : QString(),
                    t.work ? QStringLiteral("IF NOT EXISTS ") : QString(), t.name, colSql.join(QStringLiteral(", ")));
    auto indexName = [&](const QString &cols, const char *kind) {
        QString n = QStringLiteral("ix_%1_%2%3").arg(t.name, QString(cols).replace(QLatin1Char(','), QLatin1Char('_')),
                                                      QLatin1String(kind));
        return n.toLower();
    };
    for (const QString &ix : t.indexes)
        out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(indexName(ix, ""), t.name, ix);
    for (const QString &ix : t.uniqueIndexes)
        out << QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)").arg(indexName(ix, "_u"), t.name, ix);
    return out;
}

void createDatabase(Database &db)
{
    WriteTransaction tx(db);
    for (const TableDef &t : tables())
        if (!t.work) db.execScript(createStatements(t, db.isPostgres()));
    db.exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
    db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"), {kCurrentVersion});
    SeedData::insertDeliveredRows(db);
    tx.commit();
}

void createWorkTables(Database &db)
{
    for (const TableDef &t : tables())
        if (t.work) db.execScript(createStatements(t, db.isPostgres()));
}

int storedVersion(Database &db)
{
    return db.scalar(QStringLiteral("SELECT max(version) FROM schema_version")).toInt();
}

void migrate(Database &db)
{
    // Numbered migrations go here, each moving the database one version up
    // inside one transaction. There are none yet beyond the first version.
    const int v = storedVersion(db);
    if (v > kCurrentVersion)
        throw DbError(QStringLiteral("数据库版本 %1 高于本程序支持的版本 %2，请升级程序。").arg(v).arg(kCurrentVersion));
}

bool looksLikeOurs(Database &db, QString *why)
{
    const QStringList present = db.handle().tables(QSql::Tables);
    auto has = [&](const QString &name) {
        for (const QString &p : present)
            if (p.compare(name, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    if (!has(QStringLiteral("schema_version"))) {
        if (why) *why = QStringLiteral("缺少表 schema_version，不是本软件的数据库");
        return false;
    }
    for (const TableDef &t : tables()) {
        if (t.work) continue;
        if (!has(t.name)) {
            if (why) *why = QStringLiteral("缺少表 %1").arg(t.name);
            return false;
        }
    }
    return true;
}

} // namespace Schema
} // namespace korvan
