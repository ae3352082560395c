// Operators, roles and the warehouse picker's rules.
#include "Fixture.h"
#include "Login.h"
#include "Operators.h"
#include "Passwords.h"
#include "TestKit.h"
#include "WarehouseList.h"

using namespace korvan;
using namespace korvan::test;

Q_DECLARE_METATYPE(korvan::AccessField)

namespace {
OperatorForm newOperator(const QString &code, const QString &role = "采购员")
{
    OperatorForm f;
    f.code = code;
    f.name = "赵六";
    f.roleName = role;
    return f;
}

QString storedPassword(Database &db, const QString &code)
{
    return db.scalar("SELECT F_PassWord FROM OperList WHERE F_Code = ?", {code}).toString();
}

QStringList itemCodes(Database &db, const QString &role)
{
    QStringList codes;
    QSqlQuery q = db.query("SELECT F_LmtCode FROM PartLimit WHERE F_PartCode = ? ORDER BY F_ID", {role});
    while (q.next()) codes << q.value(0).toString();
    return codes;
}

// Every test starts from the fixture, logged in as the super user.
struct Env : TestEnv {
    explicit Env(const QString &engine) : TestEnv(engine)
    {
        if (!ok()) return;
        loadFixture(db());
        loginAsSuperUser();
    }
};
} // namespace

class TestOperators : public QObject {
    Q_OBJECT
private slots:
    // Refusals of the operator editor, in the order it checks.
    void operatorRefusals_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("role");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("warehouses");
        QTest::addColumn<QString>("message");
        QTest::addColumn<AccessField>("focus");
        struct Row { const char *tag, *code, *role; int scope; const char *warehouses, *message; AccessField focus; };
        const Row rows[] = {
            {"no code", "  ", "采购员", 0, "", "操作员编号不能为空！", AccessField::Code},
            {"no role", "102", " ", 0, "", "角色类型不能为空，请选择角色！", AccessField::Role},
            {"no warehouse", "102", "采购员", 1, " ", "所属仓库名称不能为空！", AccessField::Warehouses},
            {"duplicate", " 101 ", "采购员", 0, "", "操作员编号重复!", AccessField::Code},
            {"duplicate super user", "000", "采购员", 0, "", "操作员编号重复!", AccessField::Code},
            {"unknown role", "102", "仓管员", 0, "", "所选角色不存在，请重新选择角色！", AccessField::Role},
        };
        for (const QString &engine : engines())
            for (const Row &r : rows)
                QTest::newRow(qPrintable(engine + " " + r.tag))
                    << engine << QString(r.code) << QString(r.role) << r.scope << QString(r.warehouses)
                    << QString(r.message) << r.focus;
    }
    void operatorRefusals()
    {
        QFETCH(QString, engine);
        QFETCH(QString, code);
        QFETCH(QString, role);
        QFETCH(int, scope);
        QFETCH(QString, warehouses);
        QFETCH(QString, message);
        QFETCH(AccessField, focus);
        Env env(engine);
        KORVAN_REQUIRE(env);
        const int before = env.db().scalar("SELECT count(*) FROM OperList").toInt();
        ScriptedResponder messages;
        OperatorForm f = newOperator(code, role);
        f.warehouseScope = scope;
        f.warehouses = warehouses;
        const SaveResult r = SaveOperator(env.dm(), f, QString());
        QVERIFY(!r.saved);
        QCOMPARE(r.focus, focus);
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(messages.shown()[0].kind, int(MsgInfo));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM OperList").toInt(), before);
    }

    // A new operator: trimmed fields, hashed password, rights, warehouses in
    // the stored form; an empty password logs in.
    void newOperatorSaved_data() { addEngineRows(); }
    void newOperatorSaved()
    {
        QFETCH(QString, engine);
        Env env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        OperatorForm f = newOperator(" O'1 ");
        f.name = " 赵'六 ";
        f.memo = " 新来的 ";
        f.rights = {true, false, true, false, true, false, true, false, true};
        f.warehouseScope = 1;
        f.warehouses = "北仓，南仓";
        QVERIFY(SaveOperator(env.dm(), f, QString()).saved);
        QVERIFY(messages.texts().isEmpty());

        const std::optional<OperatorForm> back = LoadOperator(env.dm(), "O'1");
        QVERIFY(back);
        QCOMPARE(back->name, QString("赵'六"));
        QCOMPARE(back->roleName, QString("采购员"));
        QCOMPARE(back->memo, QString("新来的"));
        QCOMPARE(back->password, QString()); // never shown
        QVERIFY(back->rights == f.rights);
        QCOMPARE(back->warehouseScope, 1);
        QCOMPARE(back->warehouses, QString("'北仓','南仓'"));
        QCOMPARE(env.db().scalar("SELECT F_PartCode FROM OperList WHERE F_Code = ?", {"O'1"}).toString(), QString("002"));
        const QString stored = storedPassword(env.db(), "O'1");
        QVERIFY(!stored.isEmpty());
        QVERIFY(VerifyPass(stored, ""));

        Login login(env.dm(), LoginMode::ChangeOperator);
        QCOMPARE(login.confirm("O'1", ""), Login::Result::LoggedIn);
        QCOMPARE(env.dm().session().ownWarehouses, (QStringList{"北仓", "南仓"}));
        QVERIFY(!env.dm().session().canEdit);
    }

    // Editing keeps the code and, with an empty box, the password; a typed
    // password replaces it. The super user is never edited.
    void editOperator_data() { addEngineRows(); }
    void editOperator()
    {
        QFETCH(QString, engine);
        Env env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        const QString oldHash = storedPassword(env.db(), "101");
        std::optional<OperatorForm> f = LoadOperator(env.dm(), "101");
        QVERIFY(f);
        QCOMPARE(f->warehouses, QString("'北仓'"));
        f->name = "王五五";
        f->code = "999"; // the locked box: ignored
        f->warehouseScope = 0;
        QVERIFY(SaveOperator(env.dm(), *f, "101").saved);
        QCOMPARE(storedPassword(env.db(), "101"), oldHash);
        QCOMPARE(env.db().scalar("SELECT F_Name FROM OperList WHERE F_Code = '101'").toString(), QString("王五五"));
        QCOMPARE(env.db().scalar("SELECT F_depot FROM OperList WHERE F_Code = '101'").toString(), QString());
        QCOMPARE(env.db().scalar("SELECT count(*) FROM OperList WHERE F_Code = '999'").toInt(), 0);

        f->password = "xyz";
        QVERIFY(SaveOperator(env.dm(), *f, "101").saved);
        QVERIFY(VerifyPass(storedPassword(env.db(), "101"), "xyz"));
        QVERIFY(!VerifyPass(storedPassword(env.db(), "101"), "abc"));
        QVERIFY(messages.texts().isEmpty());

        const QString superHash = storedPassword(env.db(), "000");
        OperatorForm super = newOperator("000");
        QVERIFY(!MayEditOperator(" 000 "));
        QVERIFY(!SaveOperator(env.dm(), super, "000").saved);
        QCOMPARE(messages.texts(), QStringList(2, "此用户为系统专用用户，不能被编辑！"));
        QCOMPARE(messages.shown()[0].kind, int(MsgWarning));
        QCOMPARE(storedPassword(env.db(), "000"), superHash);
    }

    // Roles: refusals, own code accepted, items by name in list order,
    // disabled roles no longer offered while their operators keep them.
    void roles_data() { addEngineRows(); }
    void roles()
    {
        QFETCH(QString, engine);
        Env env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        QVERIFY(!SaveRole(env.dm(), RoleForm{" ", "x", "", false, {}}, QString()).saved);
        QVERIFY(!SaveRole(env.dm(), RoleForm{" 002", "x", "", false, {}}, QString()).saved);
        QCOMPARE(messages.texts(), (QStringList{"角色编号不能为空！", "角色编号重复!"}));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM PartList").toInt(), 2);
        messages.clear();

        const QStringList items = PermissionItemNames(env.dm());
        QCOMPARE(items.size(), 41);
        QCOMPARE(items.first(), QString("公司信息资料"));
        RoleForm r{" 003 ", " 仓'管 ", " 管库房 ", false, {"货品资料管理", "采购订单管理", "员工档案管理"}};
        QVERIFY(SaveRole(env.dm(), r, QString()).saved);
        QCOMPARE(itemCodes(env.db(), "003"), (QStringList{"203", "301", "201"}));
        std::optional<RoleForm> back = LoadRole(env.dm(), "003");
        QVERIFY(back);
        QCOMPARE(back->name, QString("仓'管"));
        QCOMPARE(back->memo, QString("管库房"));
        QCOMPARE(back->items, (QStringList{"员工档案管理", "货品资料管理", "采购订单管理"}));

        back->items = {"采购进货管理"};
        back->disabled = true;
        QVERIFY(SaveRole(env.dm(), *back, "003").saved);
        QCOMPARE(itemCodes(env.db(), "003"), QStringList{"302"});
        QVERIFY(messages.texts().isEmpty());

        QVERIFY(SaveOperator(env.dm(), newOperator("102", "仓'管"), QString()).saved); // typed by hand
        QVERIFY(!OfferedRoleNames(env.dm()).contains("仓'管"));
        QVERIFY(OfferedRoleNames(env.dm()).contains("采购员"));
        QCOMPARE(LoadOperator(env.dm(), "102")->roleName, QString("仓'管"));

        const QList<RoleRow> rows = LoadRoleRows(env.dm());
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.last().code, QString("003"));
        QVERIFY(rows.last().disabled);
        const QList<OperatorRow> ops = LoadOperatorRows(env.dm());
        QCOMPARE(ops.last().code, QString("102"));
        QCOMPARE(ops.last().roleName, QString("仓'管"));
    }

    // The role's items decide the menus at the operator's next login.
    void roleItemsDecideMenus_data() { addEngineRows(); }
    void roleItemsDecideMenus()
    {
        QFETCH(QString, engine);
        Env env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        QVERIFY(SaveRole(env.dm(), RoleForm{"003", "空角色", "", false, {}}, QString()).saved);
        QCOMPARE(itemCodes(env.db(), "003"), QStringList());
        OperatorForm f = newOperator("102", "空角色");
        f.password = "pw";
        QVERIFY(SaveOperator(env.dm(), f, QString()).saved);

        Login login(env.dm(), LoginMode::ChangeOperator);
        QCOMPARE(login.confirm("102", "pw"), Login::Result::LoggedIn);
        QVERIFY(VisibleActions(env.dm(), env.dm().session()).isEmpty());

        QVERIFY(SaveRole(env.dm(), RoleForm{"003", "空角色", "", false, {"选项...", "采购订单查询"}}, "003").saved);
        QCOMPARE(login.confirm("102", "pw"), Login::Result::LoggedIn);
        QCOMPARE(VisibleActions(env.dm(), env.dm().session()), (QSet<int>{204, 306}));
    }

    // Deleting belongs to the super user; "000" stays; a role takes its items along.
    void deletions_data() { addEngineRows(); }
    void deletions()
    {
        QFETCH(QString, engine);
        Env env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        env.dm().session().operatorCode = "101";
        QVERIFY(!DeleteOperator(env.dm(), "101", "王五"));
        QVERIFY(!DeleteRole(env.dm(), "002", "采购员"));
        QVERIFY(messages.texts().isEmpty());
        env.loginAsSuperUser();

        QVERIFY(!DeleteOperator(env.dm(), "000", "系统管理员"));
        messages.answer(AnswerNo);
        QVERIFY(!DeleteOperator(env.dm(), "101", "王五"));
        QVERIFY(DeleteOperator(env.dm(), "101", "王五"));
        QCOMPARE(messages.texts(), (QStringList{"此用户为系统专用用户，不能被删除！", "真的要删除当前用户王五吗？",
                                                "真的要删除当前用户王五吗？"}));
        QCOMPARE(messages.shown()[0].kind, int(MsgWarning));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM OperList").toInt(), 1);

        QVERIFY(SaveOperator(env.dm(), newOperator("102"), QString()).saved);
        messages.clear();
        QVERIFY(DeleteRole(env.dm(), "002", "采购员"));
        QCOMPARE(messages.texts(), QStringList{"真的要删除当前角色采购员吗？"});
        QCOMPARE(env.db().scalar("SELECT count(*) FROM PartList WHERE F_Code = '002'").toInt(), 0);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM PartLimit WHERE F_PartCode = '002'").toInt(), 0);
        // His operators keep the code and with it no item at all.
        QCOMPARE(env.db().scalar("SELECT F_PartCode FROM OperList WHERE F_Code = '102'").toString(), QString("002"));
    }

    // A failing save undoes the role row together with its items.
    void failedSaveRollsBack_data() { addEngineRows(); }
    void failedSaveRollsBack()
    {
        QFETCH(QString, engine);
        Env env(engine);
        KORVAN_REQUIRE(env);
        env.db().exec("DROP TABLE PartLimit");
        ScriptedResponder messages;
        QVERIFY(!SaveRole(env.dm(), RoleForm{"003", "仓管", "", false, {"员工档案管理"}}, QString()).saved);
        QCOMPARE(messages.texts(), QStringList{"保存失败，请检测数据库连接！"});
        QCOMPARE(messages.shown()[0].kind, int(MsgError));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM PartList WHERE F_Code = '003'").toInt(), 0);
    }

    // The warehouse picker: names match whole ('AB' does not tick A).
    void warehousePicker_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty") << "" << QList<bool>{false, false, false, false} << "";
        QTest::newRow("A inside AB") << "'AB'" << QList<bool>{false, true, false, false} << "'AB'";
        QTest::newRow("two") << "'A','B'" << QList<bool>{true, false, true, false} << "'A','B'";
        QTest::newRow("full-width comma") << "'B'，'A'" << QList<bool>{true, false, true, false} << "'A','B'";
        QTest::newRow("typed without quotes") << "B, AB" << QList<bool>{false, true, true, false} << "'AB','B'";
        QTest::newRow("quote in name") << "'O''Neil'" << QList<bool>{false, false, false, true} << "'O''Neil'";
        QTest::newRow("unknown name") << "'C'" << QList<bool>{false, false, false, false} << "";
    }
    void warehousePicker()
    {
        QFETCH(QString, current);
        QFETCH(QList<bool>, ticked);
        QFETCH(QString, result);
        const QStringList available{"A", "AB", "B", "O'Neil"};
        QCOMPARE(PreTickedWarehouses(available, current), ticked);
        QCOMPARE(PickedWarehouses(available, ticked), result);
    }
};

QTEST_GUILESS_MAIN(TestOperators)
#include "test_operators.moc"
