// Suppliers: list conditions, the picker's list, the checks of the edit window.
#include "Fixture.h"
#include "Suppliers.h"
#include "TestKit.h"

#include <QSqlQuery>

using namespace korvan;
using namespace korvan::test;

namespace {
// Beside the fixture's S001 (张三, 批发) and S002 (李四, 零售).
void addPartners(Database &db)
{
    db.exec("INSERT INTO t_client (F_Code, F_Name, F_LinkMan, F_Address, F_Phone, F_EmpName, F_Type, F_Mem, F_useFlag, F_OperFlag)"
            " VALUES ('S003', '停用厂', '王工', '北京路1号', '0571-888', '张三', '批发', '老客户', ?, 0)", {true});
    db.exec("INSERT INTO t_client (F_Code, F_Name, F_Phone, F_EmpName, F_useFlag, F_OperFlag)"
            " VALUES ('AS01', '甲方', '139001', '张三', ?, 0)", {false});
    db.exec("INSERT INTO t_client (F_Code, F_Name, F_useFlag, F_OperFlag) VALUES ('S001', '客户甲', ?, 1)", {false});
    db.exec("INSERT INTO t_code (F_Name, F_Type) VALUES ('批发', 'clttype'), ('零售', 'clttype'), ('代理', 'suptype')");
}

SupplierEdit supplier(const QString &code, const QString &name)
{
    SupplierEdit e;
    e.values = {{"F_Code", code}, {"F_Name", name}, {"F_LinkMan", " 王工 "}, {"F_Phone", " 123 "},
                {"F_BegPrice", QVariant::fromValue(*Money::parse("1234.5678"))}, {"F_useFlag", false}};
    return e;
}
} // namespace

class TestSuppliers : public QObject {
    Q_OBJECT
private slots:
    void listSearch_data() { addEngineRows(); }
    void listSearch()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        addPartners(env.db());
        const MasterListDecl decl = SupplierListDecl();
        const auto sales = SupplierGrouping::Salesperson;
        const auto type = SupplierGrouping::Type;
        struct Case { const char *name; int field; QString text; bool disabled; SupplierGrouping grouping; QString group; QStringList expected; };
        const QList<Case> cases = {
            {"suppliers only, enabled", -1, {}, false, sales, "全部", {"AS01", "S001", "S002"}},
            {"disabled included", -1, {}, true, sales, "全部", {"AS01", "S001", "S002", "S003"}},
            {"code is a prefix", 0, "S0", true, sales, {}, {"S001", "S002", "S003"}},
            {"code not contained", 0, "01", true, sales, {}, {}},
            {"name contained, quote", 1, "o'neil", false, sales, {}, {"S002"}},
            {"contact", 2, "王", true, sales, {}, {"S003"}},
            {"address contained", 3, "京路", true, sales, {}, {"S003"}},
            {"remarks", 4, "客户", true, sales, {}, {"S003"}},
            {"by salesperson", -1, {}, true, sales, "张三", {"AS01", "S001", "S003"}},
            {"by type", -1, {}, false, type, "批发", {"S001"}},
            {"group and search", 0, "S", true, sales, "张三", {"S001", "S003"}},
        };
        for (const Case &c : cases) {
            const ListQuery q = BuildListQuery(env.db().dialect(), decl, c.field, c.text, c.disabled,
                                               SupplierGroupFilter(c.grouping, c.group));
            QCOMPARE(codes(env.db(), q).join(','), c.expected.join(','));
        }
    }

    // The picker never offers disabled suppliers; its boxes match anywhere.
    void picker_data() { addEngineRows(); }
    void picker()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        addPartners(env.db());
        const Dialect &d = env.db().dialect();
        auto pick = [&](const QString &code, const QString &name, const QString &phone, const SqlFilter &group) {
            return codes(env.db(), SupplierPickerQuery(d, kSupplierKind, code, name, phone, group)).join(',');
        };
        QCOMPARE(pick({}, {}, {}, {}), QString("AS01,S001,S002"));
        QCOMPARE(pick(" 01 ", {}, {}, {}), QString("AS01,S001"));
        QCOMPARE(pick({}, "厂", {}, {}), QString());
        QCOMPARE(pick({}, {}, "9001", {}), QString("AS01"));
        QCOMPARE(pick({}, {}, {}, SupplierGroupFilter(SupplierGrouping::Salesperson, "张三")), QString("AS01,S001"));
        QCOMPARE(pick({}, {}, {}, SupplierGroupFilter(SupplierGrouping::Salesperson, "全部")), QString("AS01,S001,S002"));

        QCOMPARE(SupplierGroupNames(env.dm(), SupplierGrouping::Salesperson), QStringList({"张三", "李四"}));
        QCOMPARE(SupplierGroupNames(env.dm(), SupplierGrouping::Type), QStringList({"批发", "零售"}));
        QCOMPARE(SupplierGroupNames(env.dm(), SupplierGrouping::Type, true), QStringList({"代理"}));
        env.db().exec("UPDATE t_employee SET F_Flag = ? WHERE F_Name = '李四'", {true});
        QCOMPARE(SalespersonNames(env.dm()), QStringList({"张三"}));
    }

    void validation_data()
    {
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty code") << true << "  " << "x" << "当前供应商编号不能为空！";
        QTest::newRow("duplicate") << true << "S001" << "x" << "供应商编号重复，请重新输入！";
        QTest::newRow("duplicate trimmed") << true << " S002 " << "x" << "供应商编号重复，请重新输入！";
        QTest::newRow("other kind does not count") << true << "C001" << "x" << "";
        QTest::newRow("empty name allowed") << true << "S009" << "" << "";
        QTest::newRow("edit keeps own code") << false << "S001" << "华强" << "";
    }
    void validation()
    {
        QFETCH(bool, isNew);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        TestEnv env(QStringLiteral("sqlite"));
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        env.db().exec("INSERT INTO t_client (F_Code, F_Name, F_useFlag, F_OperFlag) VALUES ('C001', '客户', ?, 1)", {false});
        SupplierEdit e = supplier(code, name);
        e.isNew = isNew;
        if (!isNew) e.id = env.db().scalar("SELECT F_ID FROM t_client WHERE F_Code = 'S001'").toLongLong();
        const MasterResult r = SaveSupplier(env.dm(), e);
        QCOMPARE(r.message, message);
        QCOMPARE(r.ok, message.isEmpty());
        if (!r.ok) QCOMPARE(r.focus, QString("F_Code"));
    }

    // Saved values: trimmed except contact and remarks, exact opening amount,
    // the code of an existing supplier never changes.
    void saveAndEdit_data() { addEngineRows(); }
    void saveAndEdit()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        SupplierEdit e = supplier(" N'01 ", "  新厂 ");
        e.values["F_Mem"] = " 备注 ";
        QVERIFY(SaveSupplier(env.dm(), e).ok);
        QVERIFY(e.id);
        QVariantMap row = LoadRecord(env.db(), "t_client", e.id);
        QCOMPARE(row.value("F_Code").toString(), QString("N'01"));
        QCOMPARE(row.value("F_Name").toString(), QString("新厂"));
        QCOMPARE(row.value("F_LinkMan").toString(), QString(" 王工 "));
        QCOMPARE(row.value("F_Mem").toString(), QString(" 备注 "));
        QCOMPARE(row.value("F_Phone").toString(), QString("123"));
        QCOMPARE(row.value("F_BegPrice").value<Money>(), *Money::parse("1234.5678"));
        QCOMPARE(row.value("F_OperFlag").toInt(), 0);
        QVERIFY(!env.db().scalar("SELECT F_Fax FROM t_client WHERE F_ID = ?", {e.id}).isNull());

        e.isNew = false;
        e.values = row;
        e.values["F_Code"] = "CHANGED";
        e.values["F_useFlag"] = true;
        QVERIFY(SaveSupplier(env.dm(), e).ok);
        row = LoadRecord(env.db(), "t_client", e.id);
        QCOMPARE(row.value("F_Code").toString(), QString("N'01"));
        QCOMPARE(row.value("F_useFlag").toBool(), true);
    }
};

QTEST_GUILESS_MAIN(TestSuppliers)
#include "test_suppliers.moc"
