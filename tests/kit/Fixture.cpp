#include "Fixture.h"
#include "Database.h"
#include "Money.h"
#include "Passwords.h"

#include <QDate>

namespace korvan::test {

namespace {
QVariant yuan(const char *text) { return Money::parse(QString::fromLatin1(text))->toDb(); }
}

void loadFixture(Database &db)
{
    WriteTransaction tx(db);
    const QList<QPair<QString, QString>> codes = {
        {"北仓", "depot"}, {"南仓", "depot"}, {"个", "goodunit"}, {"箱", "goodunit"},
        {"现金", "paymode"}, {"工商银行", "Account"}, {"增值税发票", "kptype"}, {"货款", "itemname"}};
    for (const auto &c : codes)
        db.exec("INSERT INTO t_code (F_Name, F_Type) VALUES (?, ?)", {c.first, c.second});

    db.exec("INSERT INTO t_employee (F_Code, F_Name, F_Sex, F_Flag) VALUES ('E001', '张三', '男', ?)", {false});
    db.exec("INSERT INTO t_employee (F_Code, F_Name, F_Sex, F_Flag) VALUES ('E002', '李四', '女', ?)", {false});

    const QString t1 = QStringLiteral("\\\\五金"), t11 = QStringLiteral("\\\\五金\\螺丝"), t2 = QStringLiteral("\\\\电料");
    const QList<QStringList> types = {{"001", "五金", t1}, {"001001", "螺丝", t11}, {"002", "电料", t2}};
    for (const QStringList &t : types)
        db.exec("INSERT INTO t_treecode (F_code, F_name, F_likecode, F_flag) VALUES (?, ?, ?, 'goodtype')", {t[0], t[1], t[2]});

    db.exec("INSERT INTO t_client (F_Code, F_Name, F_EmpName, F_Type, F_useFlag, F_OperFlag, F_BegPrice)"
            " VALUES ('S001', '华强五金', '张三', '批发', ?, 0, ?)", {false, yuan("1000")});
    db.exec("INSERT INTO t_client (F_Code, F_Name, F_EmpName, F_Type, F_useFlag, F_OperFlag, F_BegPrice)"
            " VALUES ('S002', 'O''Neil 电料', '李四', '零售', ?, 0, 0)", {false});

    const QDate noDate(1900, 8, 14);
    struct Goods { const char *code, *name, *spec; QString type; const char *price; };
    const QList<Goods> goods = {{"G001", "螺丝", "M6", t11, "0.5"}, {"G002", "扳手", "12寸", t1, "25"},
                                {"G003", "电线", "2.5平方", t2, "3.2"}};
    for (const Goods &g : goods)
        db.exec("INSERT INTO t_goods (F_Code, F_Name, F_Spec, F_Type, F_Unit, F_EnterPrice, F_Flag, F_RQ1, F_RQ2, F_RQ3)"
                " VALUES (?, ?, ?, ?, '个', ?, ?, ?, ?, ?)",
                {g.code, g.name, g.spec, g.type, yuan(g.price), false, noDate, noDate, noDate});

    const QDate day(2024, 3, 5);
    db.exec("INSERT INTO ddDepotM (F_Code, F_MakeDate, F_date, F_Client, F_EmpName, F_Depot, F_Maker, F_CheckFlag,"
            " F_TotalPrice, F_amount, F_Flag, F_OperFlag) VALUES ('CDD20240305001', ?, ?, '华强五金', '张三', '北仓',"
            " '系统管理员', ?, ?, 102, 1, 1)", {day, day, false, yuan("100")});
    db.exec("INSERT INTO ddDepotD (F_Code, F_GoodCode, F_GoodName, F_Type, F_Spec, F_Unit, F_Amount, F_Price, F_Rate,"
            " F_TotalPrice) VALUES ('CDD20240305001', 'G001', '螺丝', ?, 'M6', '个', 100, ?, 1, ?)",
            {t11, yuan("0.5"), yuan("50")});
    db.exec("INSERT INTO ddDepotD (F_Code, F_GoodCode, F_GoodName, F_Type, F_Spec, F_Unit, F_Amount, F_Price, F_Rate,"
            " F_TotalPrice) VALUES ('CDD20240305001', 'G002', '扳手', ?, '12寸', '个', 2, ?, 1, ?)",
            {t1, yuan("25"), yuan("50")});

    db.exec("INSERT INTO PartList (F_Code, F_Name, F_Mem, F_Flag) VALUES ('002', '采购员', '', ?)", {false});
    for (const char *item : {"301", "302", "306"})
        db.exec("INSERT INTO PartLimit (F_PartCode, F_LmtCode) VALUES ('002', ?)", {QString(item)});
    db.exec("INSERT INTO OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_new, F_edit, F_del, F_check,"
            " F_set, F_YGedit, F_HPedit, F_KHedit, F_Price, F_CKflag, F_depot)"
            " VALUES ('101', '王五', ?, '002', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?)",
            {SavePass("abc"), false, true, true, false, false, false, false, false, false, false, QString("'北仓'")});
    tx.commit();
}

} // namespace korvan::test
