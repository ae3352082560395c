// The goods catalogue and the goods picker's queries on both engines.
#include "Fixture.h"
#include "Goods.h"
#include "TestKit.h"

#include <QSqlQuery>

using namespace korvan;
using namespace korvan::test;

namespace {
const QString kNuts = QStringLiteral("\\\\五金\\螺丝");
const QString kTools = QStringLiteral("\\\\五金");
const QString kToolsToo = QStringLiteral("\\\\五金工具"); // a sibling whose name begins alike

// Extra goods beside the fixture's G001..G003.
void addGoods(Database &db)
{
    const QDate none = noUserDate();
    db.exec("INSERT INTO t_goods (F_Code, F_Name, F_Spec, F_Type, F_Address, F_Mem, F_ZF2, F_Flag, F_RQ1, F_RQ2, F_RQ3)"
            " VALUES ('G004', '旧扳手', '10寸', ?, '上海', 'abc', '红色', ?, ?, ?, ?)",
            {kTools, true, none, none, none});
    db.exec("INSERT INTO t_goods (F_Code, F_Name, F_Spec, F_Type, F_Address, F_Mem, F_Flag, F_RQ1, F_RQ2, F_RQ3)"
            " VALUES ('H100', 'O''Brien 100% 钳', 'M6x20', ?, '海上', 'a_b', ?, ?, ?, ?)",
            {kToolsToo, false, none, none, none});
}

GoodsEdit newGoods(const QString &code, const QString &name)
{
    GoodsEdit e;
    e.values = {{"F_Code", code}, {"F_Name", name}, {"F_Unit", "个"},
                {"F_EnterPrice", QVariant::fromValue(Money::fromYuan(2))}, {"F_Flag", false}};
    return e;
}

Session restrictedSession()
{
    Session s;
    s.operatorCode = QStringLiteral("101");
    s.warehouseScope = 1;
    s.ownWarehouses = {QStringLiteral("北仓")};
    return s;
}

OpeningStockLine *lineOf(QList<OpeningStockLine> &lines, const QString &depot)
{
    for (OpeningStockLine &l : lines)
        if (l.depot == depot) return &l;
    return nullptr;
}
} // namespace

class TestGoods : public QObject {
    Q_OBJECT
private slots:
    void nextGoodsCodeAfter_data()
    {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<QString>("next");
        QTest::newRow("no goods") << "" << "0001";
        QTest::newRow("digits") << "0012" << "0013";
        QTest::newRow("carry") << "HP0099" << "HP0100";
        QTest::newRow("head kept") << "A-B-0009" << "A-B-0010";
        QTest::newRow("letter in tail") << "HP00A9" << "0001";
        QTest::newRow("too short") << "123" << "0001";
        QTest::newRow("full-width digits") << "HP１２３４" << "0001";
        QTest::newRow("widens after 9999") << "HP9999" << "HP10000";
        QTest::newRow("after widening") << "HP10000" << "HP10001";
    }
    void nextGoodsCodeAfter()
    {
        QFETCH(QString, latest);
        QFETCH(QString, next);
        QCOMPARE(NextGoodsCodeAfter(latest), next);
    }

    // The most recently added goods decides, not the greatest code.
    void nextGoodsCode_data() { addEngineRows(); }
    void nextGoodsCode()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        QCOMPARE(NextGoodsCode(env.dm()), QString("0001"));
        loadFixture(env.db());
        env.db().exec("INSERT INTO t_goods (F_Code, F_Name) VALUES ('HP0099', 'x')");
        env.db().exec("INSERT INTO t_goods (F_Code, F_Name) VALUES ('HP0007', 'y')");
        QCOMPARE(NextGoodsCode(env.dm()), QString("HP0008"));
    }

    void listSearch_data() { addEngineRows(); }
    void listSearch()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        addGoods(env.db());
        Session s;
        s.userFieldCaptions[1] = QStringLiteral("颜色");
        const MasterListDecl decl = GoodsListDecl(s);
        QCOMPARE(decl.fields.size(), 10);
        QCOMPARE(decl.fields[6].caption, QString("颜色"));
        QCOMPARE(decl.fields[5].caption, QString("字符项一"));

        struct Case { const char *name; int field; QString text; bool disabled; QString type; QStringList expected; };
        const QList<Case> cases = {
            {"no field: all enabled", -1, "xx", false, {}, {"G001", "G002", "G003", "H100"}},
            {"disabled included", -1, {}, true, {}, {"G001", "G002", "G003", "G004", "H100"}},
            {"code is a prefix", 0, "G00", false, {}, {"G001", "G002", "G003"}},
            {"code not contained", 0, "001", false, {}, {}},
            {"code ignores case, trimmed", 0, " h1 ", false, {}, {"H100"}},
            {"name contained", 1, "扳手", true, {}, {"G002", "G004"}},
            {"name with a quote", 1, "O'Brien", false, {}, {"H100"}},
            {"percent is literal", 1, "%", true, {}, {"H100"}},
            {"underscore is literal", 4, "a_b", false, {}, {"H100"}},
            {"underscore not a wildcard", 4, "a_", true, {}, {"H100"}},
            {"spec contained", 2, "M6", false, {}, {"G001", "H100"}},
            {"origin is a prefix", 3, "上", true, {}, {"G004"}},
            {"user text field", 6, "红", true, {}, {"G004"}},
            {"empty name lists the type", 1, {}, false, kTools, {"G001", "G002"}},
            {"type and below", -1, {}, false, kNuts, {"G001"}},
            {"root type lists all", -1, {}, false, "\\\\", {"G001", "G002", "G003", "H100"}},
            {"alike sibling apart", -1, {}, false, kToolsToo, {"H100"}},
        };
        for (const Case &c : cases) {
            const SqlFilter type = TypePathFilter(env.db().dialect(), "F_Type", c.type);
            const ListQuery q = BuildListQuery(env.db().dialect(), decl, c.field, c.text, c.disabled, type);
            QCOMPARE(codes(env.db(), q).join(','), c.expected.join(','));
        }
    }

    void validation_data()
    {
        QTest::addColumn<bool>("autoCode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty code") << false << "  " << "x" << true << "当前货品编号不能为空！" << "F_Code";
        QTest::newRow("auto needs four digits") << true << "HP01A" << "x" << true
                                                << "采用自动编号，货品编号最后四位必须全为数字！" << "F_Code";
        QTest::newRow("auto short code of digits") << true << "12" << "x" << true << "" << "";
        QTest::newRow("empty name") << false << "N1" << " " << true << "当前货品名称不能为空！" << "F_Name";
        QTest::newRow("duplicate new") << false << "G001" << "x" << true << "货品编号重复，请重新输入！" << "F_Code";
        QTest::newRow("duplicate trimmed") << false << " G001 " << "x" << true << "货品编号重复，请重新输入！" << "F_Code";
        QTest::newRow("edit keeps own code") << false << "G001" << "新名" << false << "" << "";
        QTest::newRow("edit to another's code") << false << "G002" << "x" << false << "货品编号重复，请重新输入！" << "F_Code";
        QTest::newRow("quote in code") << false << "Q'1" << "x" << true << "" << "";
    }
    void validation()
    {
        QFETCH(bool, autoCode);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(bool, isNew);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestEnv env(QStringLiteral("sqlite"));
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        GoodsEdit e = newGoods(code, name);
        e.autoCode = autoCode;
        e.isNew = isNew;
        if (!isNew) {
            e.id = env.db().scalar("SELECT F_ID FROM t_goods WHERE F_Code = 'G001'").toLongLong();
            e.oldCode = QStringLiteral("G001");
        }
        const int before = env.db().scalar("SELECT count(*) FROM t_goods").toInt();
        const MasterResult r = SaveGoods(env.dm(), e);
        QCOMPARE(r.message, message);
        QCOMPARE(r.focus, focus);
        QCOMPARE(r.ok, message.isEmpty());
        if (!r.ok) QCOMPARE(r.kind, int(MsgInfo));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_goods").toInt(), before + (r.ok && isNew ? 1 : 0));
    }

    // New goods with opening stock in two warehouses; zero lines not kept.
    void openingStock_data() { addEngineRows(); }
    void openingStock()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        loadFixture(env.db());
        env.db().exec("INSERT INTO t_code (F_Name, F_Type) VALUES ('东仓', 'depot')");

        GoodsEdit e = newGoods(QStringLiteral("N0001"), QStringLiteral("新货"));
        e.autoCode = true;
        e.values["F_RQ1"] = QDate(2024, 5, 6);
        e.values["F_SZ1"] = 1.5;
        e.stock = LoadOpeningStock(env.db(), {}, env.dm().session());
        QCOMPARE(e.stock.size(), 3);
        lineOf(e.stock, "北仓")->amount = 10;                       // price 0: takes the cost price 2.00
        lineOf(e.stock, "南仓")->amount = 2.5;
        lineOf(e.stock, "南仓")->price = *Money::parse("3.3333");
        QVERIFY(SaveGoods(env.dm(), e).ok);
        QVERIFY(env.dm().switches().autoGoodsCode);
        QCOMPARE(env.db().scalar("SELECT F_b2 FROM SysInfo").toBool(), true);

        const QVariantMap g = LoadRecord(env.db(), "t_goods", e.id);
        QCOMPARE(g.value("F_BegAmount").toDouble(), 12.5);
        QCOMPARE(g.value("F_RQ1").toDate(), QDate(2024, 5, 6));
        QCOMPARE(g.value("F_RQ2").toDate(), noUserDate());
        QCOMPARE(g.value("F_Mem").toString(), QString("")); // stored empty, not null
        QVERIFY(!env.db().scalar("SELECT F_Mem FROM t_goods WHERE F_ID = ?", {e.id}).isNull());

        QSqlQuery q = env.db().query("SELECT F_Depot, F_Amount, F_Price, F_TotalPrice FROM t_begDept"
                                     " WHERE F_GoodCode = 'N0001' ORDER BY F_Depot");
        QStringList rows;
        while (q.next())
            rows << QStringLiteral("%1 %2 %3 %4").arg(q.value(0).toString()).arg(q.value(1).toDouble())
                        .arg(Money::fromDb(q.value(2)).toShortString(), Money::fromDb(q.value(3)).toShortString());
        rows.sort();
        QCOMPARE(rows, QStringList({"北仓 10 2 20", "南仓 2.5 3.3333 8.3332"}));

        // Editing: a stored line set to 0 is deleted; the total follows.
        e.isNew = false;
        e.stock = LoadOpeningStock(env.db(), "N0001", env.dm().session());
        QCOMPARE(e.stock.size(), 3);
        QVERIFY(lineOf(e.stock, "北仓")->id != 0);
        lineOf(e.stock, "北仓")->amount = 0;
        QVERIFY(SaveGoods(env.dm(), e).ok);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_begDept WHERE F_GoodCode = 'N0001'").toInt(), 1);
        QCOMPARE(LoadRecord(env.db(), "t_goods", e.id).value("F_BegAmount").toDouble(), 2.5);

        // All zero: no rows, opening quantity 0.
        e.stock = LoadOpeningStock(env.db(), "N0001", env.dm().session());
        for (OpeningStockLine &l : e.stock) l.amount = 0;
        QVERIFY(SaveGoods(env.dm(), e).ok);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_begDept WHERE F_GoodCode = 'N0001'").toInt(), 0);
        QCOMPARE(LoadRecord(env.db(), "t_goods", e.id).value("F_BegAmount").toDouble(), 0.0);
    }

    // A restricted operator sees and changes only his warehouses' lines; the
    // others count in the opening quantity and stay as stored.
    void openingStockRestricted_data() { addEngineRows(); }
    void openingStockRestricted()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        const qint64 id = env.db().scalar("SELECT F_ID FROM t_goods WHERE F_Code = 'G003'").toLongLong();
        env.db().exec("INSERT INTO t_begDept (F_GoodCode, F_Depot, F_Amount, F_Price, F_TotalPrice) VALUES ('G003', '南仓', 4, ?, ?)",
                      {Money::fromYuan(1).toDb(), Money::fromYuan(4).toDb()});

        GoodsEdit e;
        e.isNew = false;
        e.id = id;
        e.oldCode = "G003";
        e.values = LoadRecord(env.db(), "t_goods", id);
        e.values["F_Code"] = "G003X"; // and the code changes
        e.stock = LoadOpeningStock(env.db(), "G003", restrictedSession());
        QCOMPARE(e.stock.size(), 2);
        QVERIFY(lineOf(e.stock, "南仓")->hidden);
        QVERIFY(!lineOf(e.stock, "北仓")->hidden);
        lineOf(e.stock, "北仓")->amount = 6;
        QVERIFY(SaveGoods(env.dm(), e).ok);
        QCOMPARE(LoadRecord(env.db(), "t_goods", id).value("F_BegAmount").toDouble(), 10.0);
        QCOMPARE(env.db().scalar("SELECT F_Amount FROM t_begDept WHERE F_GoodCode = 'G003X' AND F_Depot = '南仓'").toDouble(), 4.0);
        QCOMPARE(Money::fromDb(env.db().scalar("SELECT F_Price FROM t_begDept WHERE F_GoodCode = 'G003X' AND F_Depot = '北仓'")),
                 *Money::parse("3.2"));
        QCOMPARE(OperatorWarehouses(env.dm(), restrictedSession()), QStringList({"北仓"}));
    }

    // A code change re-keys every table in one transaction; the description
    // reaches receipt and return lines, not order lines.
    void codeChange_data() { addEngineRows(); }
    void codeChange()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        loadFixture(env.db());
        Database &db = env.db();
        db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_GoodName, F_Amount) VALUES ('CGD20240306001', 'G001', '螺丝', 5)");
        db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_GoodName, F_Amount) VALUES ('CTD20240306001', 'G001', '螺丝', 1)");
        db.exec("INSERT INTO t_begDept (F_GoodCode, F_Depot, F_Amount) VALUES ('G001', '北仓', 3)");
        const qint64 id = db.scalar("SELECT F_ID FROM t_goods WHERE F_Code = 'G001'").toLongLong();

        auto edit = [&](const QString &code, const QString &name) {
            GoodsEdit e;
            e.isNew = false;
            e.id = id;
            e.oldCode = db.scalar("SELECT F_Code FROM t_goods WHERE F_ID = ?", {id}).toString();
            e.values = LoadRecord(db, "t_goods", id);
            e.values["F_Code"] = code;
            e.values["F_Name"] = name;
            e.values["F_Spec"] = " M8 ";
            e.stock = LoadOpeningStock(db, e.oldCode, env.dm().session());
            return SaveGoods(env.dm(), e);
        };
        auto count = [&](const char *table, const char *code) {
            return db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE F_GoodCode = ?").arg(table), {QString(code)}).toInt();
        };

        // A failure half-way (the order lines cannot be written) leaves everything as it was.
        db.exec("ALTER TABLE ddDepotD RENAME TO ddDepotD_away");
        const MasterResult failed = edit("K001", "螺钉");
        QVERIFY(!failed.ok);
        QCOMPARE(failed.message, QString("保存失败，请检测数据库连接！"));
        QCOMPARE(failed.kind, int(MsgError));
        db.exec("ALTER TABLE ddDepotD_away RENAME TO ddDepotD");
        QCOMPARE(count("depotD", "G001"), 2);
        QCOMPARE(count("t_begDept", "G001"), 1);
        QCOMPARE(db.scalar("SELECT F_Code FROM t_goods WHERE F_ID = ?", {id}).toString(), QString("G001"));

        QVERIFY(edit("K001", "螺钉").ok);
        QCOMPARE(count("depotD", "K001"), 2);
        QCOMPARE(count("ddDepotD", "K001"), 1);
        QCOMPARE(count("t_begDept", "K001"), 1);
        QCOMPARE(count("depotD", "G001") + count("ddDepotD", "G001") + count("t_begDept", "G001"), 0);
        QCOMPARE(db.scalar("SELECT count(*) FROM depotD WHERE F_GoodName = '螺钉' AND F_Spec = 'M8'").toInt(), 2);
        QCOMPARE(db.scalar("SELECT F_GoodName FROM ddDepotD WHERE F_GoodCode = 'K001'").toString(), QString("螺丝"));
        QCOMPARE(db.scalar("SELECT F_BegAmount FROM t_goods WHERE F_ID = ?", {id}).toDouble(), 3.0);
    }

    // Goods in a receipt or return line cannot be deleted; goods only in orders can.
    void deletion_data() { addEngineRows(); }
    void deletion()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        Database &db = env.db();
        db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount) VALUES ('CTD20240306001', 'G002', 1)");
        db.exec("INSERT INTO t_begDept (F_GoodCode, F_Depot, F_Amount) VALUES ('G001', '北仓', 3)");
        auto idOf = [&](const char *code) {
            return db.scalar("SELECT F_ID FROM t_goods WHERE F_Code = ?", {QString(code)}).toLongLong();
        };
        QVERIFY(GoodsInUse(db, "G002"));
        QVERIFY(!GoodsInUse(db, "G001"));
        const MasterResult refused = DeleteGoods(env.dm(), idOf("G002"), "G002");
        QVERIFY(!refused.ok);
        QCOMPARE(refused.message, QString("该货品资料已经被使用，不能被删除！"));
        QCOMPARE(refused.kind, int(MsgWarning));
        QVERIFY(idOf("G002"));

        QVERIFY(DeleteGoods(env.dm(), idOf("G001"), "G001").ok);
        QVERIFY(!idOf("G001"));
        QCOMPARE(db.scalar("SELECT count(*) FROM t_begDept WHERE F_GoodCode = 'G001'").toInt(), 0);
        QCOMPARE(db.scalar("SELECT count(*) FROM ddDepotD WHERE F_GoodCode = 'G001'").toInt(), 1);
    }

    void typeChangeAndUnits_data() { addEngineRows(); }
    void typeChangeAndUnits()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        Database &db = env.db();
        const QList<qint64> ids{db.scalar("SELECT F_ID FROM t_goods WHERE F_Code = 'G001'").toLongLong(),
                                db.scalar("SELECT F_ID FROM t_goods WHERE F_Code = 'G003'").toLongLong(), 999999};
        QCOMPARE(ChangeGoodsType(env.dm(), ids, kToolsToo), 2);
        QCOMPARE(db.scalar("SELECT count(*) FROM t_goods WHERE F_Type = ?", {kToolsToo}).toInt(), 2);
        QCOMPARE(db.scalar("SELECT F_Type FROM ddDepotD WHERE F_GoodCode = 'G001'").toString(), kNuts);

        QVERIFY(GoodsUnitExists(env.dm(), " 箱 "));
        QVERIFY(!GoodsUnitExists(env.dm(), "d'zn"));
        QVERIFY(AddGoodsUnit(env.dm(), "d'zn"));
        QVERIFY(GoodsUnitExists(env.dm(), "d'zn"));
        QCOMPARE(GoodsUnits(env.dm()), QStringList({"个", "箱", "d'zn"}));
    }

    // The picker's search; a line-adding run leaves out what it added, and
    // only on its own connection.
    void picker_data() { addEngineRows(); }
    void picker()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        addGoods(env.db());
        Database &db = env.db();
        const Dialect &d = db.dialect();

        struct Case { const char *name; GoodsPickerFilter filter; QStringList expected; };
        const QList<Case> cases = {
            {"all, disabled too", {}, {"G001", "G002", "G003", "G004", "H100"}},
            {"code prefix at a keystroke", {"G00", {}, {}, {}, false}, {"G001", "G002", "G003", "G004"}},
            {"code as typed", {"G00 ", {}, {}, {}, false}, {}},
            {"name contained", {{}, "扳", {}, {}, false}, {"G002", "G004"}},
            {"blank name ignored", {{}, "  ", {}, {}, false}, {"G001", "G002", "G003", "G004", "H100"}},
            {"spec prefix trimmed", {{}, {}, " M6", {}, false}, {"G001", "H100"}},
            {"spec not contained", {{}, {}, "6", {}, false}, {}},
            {"type", {{}, {}, {}, kTools, false}, {"G001", "G002", "G004"}},
        };
        for (const Case &c : cases)
            QCOMPARE(codes(db, GoodsPickerQuery(d, c.filter)).join(','), c.expected.join(','));
        QCOMPARE(codes(db, GoodsPickInitialQuery()).join(','), QString("G001,G002,G003,H100"));

        GoodsPickerFilter run{"G", {}, {}, {}, true};
        ClearPickedGoods(db);
        RememberPickedGoods(db, "G002");
        RememberPickedGoods(db, "G002");
        QCOMPARE(codes(db, GoodsPickerQuery(d, run)).join(','), QString("G001,G003,G004"));
        auto other = env.testDb().connectAgain();
        QVERIFY(other);
        QCOMPARE(codes(*other, GoodsPickerQuery(d, run)).join(','), QString("G001,G002,G003,G004"));
        // A simple pick after the run does not exclude; the next run starts empty.
        run.excludePicked = false;
        QCOMPARE(codes(db, GoodsPickerQuery(d, run)).size(), 4);
        run.excludePicked = true;
        ClearPickedGoods(db);
        QCOMPARE(codes(db, GoodsPickerQuery(d, run)).size(), 4);
    }

    // The values of a line the picker adds.
    void lineValues_data() { addEngineRows(); }
    void lineValues()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        Database &db = env.db();
        db.exec("UPDATE t_goods SET F_ZF1 = '蓝', F_SZ2 = 7.5, F_Address = '宁波' WHERE F_Code = 'G001'");

        QVariantMap line = GoodsLineValues(env.dm(), "G001", GoodsForReceipt, "华强五金", "CGD20240306001");
        QCOMPARE(line.value("F_GoodCode").toString(), QString("G001"));
        QCOMPARE(line.value("F_GoodName").toString(), QString("螺丝"));
        QCOMPARE(line.value("F_Type").toString(), kNuts);
        QCOMPARE(line.value("F_Spec").toString(), QString("M6"));
        QCOMPARE(line.value("F_Unit").toString(), QString("个"));
        QCOMPARE(line.value("F_Address").toString(), QString("宁波"));
        QCOMPARE(line.value("F_ZF1").toString(), QString("蓝"));
        QCOMPARE(line.value("F_SZ2").toDouble(), 7.5);
        QCOMPARE(line.value("F_RQ1").toDate(), noUserDate());
        QCOMPARE(line.value("F_Code").toString(), QString("CGD20240306001"));
        QCOMPARE(line.value("F_Amount").toDouble(), 1.0);
        QCOMPARE(line.value("F_Rate").toDouble(), 1.0);
        QCOMPARE(line.value("F_Price").value<Money>(), *Money::parse("0.5")); // no earlier receipt: cost price

        // With the last-price switch, each kind looks at its own documents.
        env.dm().switches().lastPrice = true;
        QCOMPARE(GoodsLineValues(env.dm(), "G001", GoodsForOrder, {}, "x").value("F_Price").value<Money>(), *Money::parse("0.5"));
        db.exec("INSERT INTO depotM (F_Code, F_Client, F_Flag, F_OperFlag) VALUES ('CGD20240306001', '华强五金', 1, 1)");
        db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount, F_Price) VALUES ('CGD20240306001', 'G001', 1, ?)",
                {Money::parse("0.48")->toDb()});
        QCOMPARE(GoodsLineValues(env.dm(), "G001", GoodsForReceipt, {}, "x").value("F_Price").value<Money>(), *Money::parse("0.48"));
        QCOMPARE(GoodsLineValues(env.dm(), "G001", GoodsForReturn, {}, "x").value("F_Price").value<Money>(), *Money::parse("0.5"));
        QVERIFY(GoodsLineValues(env.dm(), "NOPE", GoodsForReceipt, {}, "x").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGoods)
#include "test_goods.moc"
