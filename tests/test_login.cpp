// The session a login fills, the warehouse filters and the password change, on both engines.
#include "Actions.h"
#include "DataModule.h"
#include "Login.h"
#include "Passwords.h"
#include "TestKit.h"

#include <map>

using namespace korvan;
using namespace korvan::test;

namespace {
struct Rights {
    bool add, edit, del, audit, setup, employees, goods, partners, prices;
};

void addOperator(Database &db, const QString &code, const QString &name, const QString &password, const QString &role,
                 const Rights &r, int scope = 0, const QString &depot = {})
{
    db.exec("INSERT INTO OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_new, F_edit, F_del, F_check, F_set,"
            " F_YGedit, F_HPedit, F_KHedit, F_Price, F_CKflag, F_depot) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {code, name, SavePass(password), role, false, r.add, r.edit, r.del, r.audit, r.setup, r.employees, r.goods,
             r.partners, r.prices, scope, depot});
}

void grant(Database &db, const QString &role, const QList<int> &items)
{
    for (int item : items) db.exec("INSERT INTO PartLimit (F_PartCode, F_LmtCode) VALUES (?, ?)", {role, QString::number(item)});
}

QStringList column(Database &db, const QString &sql, const SqlFilter &filter, const QString &orderBy)
{
    QSqlQuery q = db.query(sql + filter.sql + " ORDER BY " + orderBy, filter.params);
    QStringList out;
    while (q.next()) out << (q.value(0).isNull() ? QString("<null>") : q.value(0).toString());
    return out;
}
} // namespace

class TestLogin : public QObject {
    Q_OBJECT
    // One database per engine for the password table (hashing is slow on purpose).
    std::map<QString, std::unique_ptr<TestEnv>> m_envs;
    TestEnv &shared(const QString &engine)
    {
        std::unique_ptr<TestEnv> &env = m_envs[engine];
        if (!env) {
            env = std::make_unique<TestEnv>(engine);
            if (env->ok()) addOperator(env->db(), "007", "王五", "old1", "R1", {});
        }
        return *env;
    }

private slots:
    void cleanupTestCase() { m_envs.clear(); }

    void warehouseListForms_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("normalized");
        QTest::newRow("two") << "'A','B'" << QStringList{"A", "B"} << "'A','B'";
        QTest::newRow("blanks around") << " 'A' , 'B' " << QStringList{"A", "B"} << "'A','B'";
        QTest::newRow("quote inside") << "'O''Hara','B'" << QStringList{"O'Hara", "B"} << "'O''Hara','B'";
        QTest::newRow("comma inside") << "'A,1','B'" << QStringList{"A,1", "B"} << "'A,1','B'";
        QTest::newRow("unquoted") << "A,B" << QStringList{"A", "B"} << "'A','B'";
        QTest::newRow("empty") << "" << QStringList{} << "";
        QTest::newRow("empty names dropped") << "'','A',," << QStringList{"A"} << "'A'";
    }
    void warehouseListForms()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, names);
        QFETCH(QString, normalized);
        QCOMPARE(parseWarehouseList(stored), names);
        QCOMPARE(formatWarehouseList(names), normalized);
    }

    // A restricted operator: his rights, company data, user fields, and the
    // documents and warehouses his filters let through.
    void restrictedOperator_data() { addEngineRows(); }
    void restrictedOperator()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        Database &db = env.db();
        addOperator(db, "007", "王五", "pw", "R1", {true, false, true, false, false, true, false, true, false}, 1,
                    "'A','O''Hara'");
        grant(db, "R1", {202, 301});
        db.exec("UPDATE SysInfo SET F_Code = ?, F_Phone = ?, F_HandPhone = ?", {"华南贸易", "020-1", "020-2"});
        db.exec("UPDATE KeyValue SET F_Value = ?, F_Flag = ? WHERE F_ID = 3", {"颜色", true});
        for (const QString &w : {"A", "B", "O'Hara", "C"}) db.exec("INSERT INTO t_code (F_Name, F_Type) VALUES (?, 'depot')", {w});
        const QList<QPair<QString, QVariant>> docs = {{"CGD20240305001", "A"}, {"CGD20240305002", "B"},
                                                      {"CGD20240305003", ""},  {"CGD20240305004", QVariant()},
                                                      {"CGD20240305005", "O'Hara"}, {"CGD20240305006", "C"}};
        for (const auto &d : docs)
            db.exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag, F_Depot) VALUES (?, 1, 1, ?)",
                    {d.first, d.second.isValid() ? d.second : QVariant(QMetaType(QMetaType::QString))});

        const Session s = LoadSession(env.dm(), "007");
        QCOMPARE(s.operatorCode, QString("007"));
        QCOMPARE(s.operatorName, QString("王五"));
        QCOMPARE(s.roleCode, QString("R1"));
        const QList<bool> rights{s.canAdd, s.canEdit, s.canDelete, s.canAudit, s.canSetup,
                                 s.canEditEmployees, s.canEditGoods, s.canEditPartners, s.canSeePrices};
        QCOMPARE(rights, (QList<bool>{true, false, true, false, false, true, false, true, false}));
        QCOMPARE(s.warehouseScope, 1);
        QCOMPARE(s.ownWarehouses, (QStringList{"A", "O'Hara"}));
        QCOMPARE(s.priceReportSuffix(), QString("1"));
        QCOMPARE(s.companyName, QString("华南贸易"));
        QCOMPARE(s.companyPhone, QString("020-1"));
        QCOMPARE(s.companyFax, QString("020-2"));
        QCOMPARE(s.userFieldCaptions[0], QString("字符项一"));
        QCOMPARE(s.userFieldCaptions[2], QString("颜色"));
        QCOMPARE(s.userFieldVisible[2], true);
        QCOMPARE(s.userFieldVisible[3], false);
        QCOMPARE(s.userFieldCaptions[10], QString("日期项三"));

        QCOMPARE(column(db, "SELECT F_Code FROM depotM WHERE F_Flag = 1", WarehouseFilter(s), "F_Code"),
                 (QStringList{"CGD20240305001", "CGD20240305003", "CGD20240305004", "CGD20240305005"}));
        QCOMPARE(column(db, "SELECT m.F_Code FROM depotM m LEFT JOIN depotD d ON d.F_Code = m.F_Code WHERE m.F_Flag = 1",
                        HeaderWarehouseFilter(s), "m.F_Code"),
                 (QStringList{"CGD20240305001", "CGD20240305003", "CGD20240305004", "CGD20240305005"}));
        QCOMPARE(column(db, "SELECT F_Name FROM t_code WHERE F_Type = 'depot'", WarehouseNameFilter(s), "F_ID"),
                 (QStringList{"A", "O'Hara"}));
        QCOMPARE(VisibleActions(env.dm(), s), (QSet<int>{202, 301}));

        // Restricted to no warehouse at all: only documents without one, no warehouse to choose.
        Session none = s;
        none.ownWarehouses.clear();
        QCOMPARE(column(db, "SELECT F_Code FROM depotM WHERE F_Flag = 1", WarehouseFilter(none), "F_Code"),
                 (QStringList{"CGD20240305003", "CGD20240305004"}));
        QVERIFY(column(db, "SELECT F_Name FROM t_code WHERE F_Type = 'depot'", WarehouseNameFilter(none), "F_ID").isEmpty());

        // Scope 0 sees everything.
        Session all = s;
        all.warehouseScope = 0;
        QVERIFY(WarehouseFilter(all).sql.isEmpty());
        QCOMPARE(column(db, "SELECT F_Code FROM depotM WHERE F_Flag = 1", WarehouseFilter(all), "F_Code").size(), 6);
    }

    // "000" has every right, every action and no restriction, whatever his row says.
    void superUser_data() { addEngineRows(); }
    void superUser()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.db().exec("UPDATE OperList SET F_new = ?, F_Price = ?, F_CKflag = 1, F_depot = ?, F_PartCode = 'nobody'"
                      " WHERE F_Code = '000'", {false, false, "'A'"});
        const Session s = LoadSession(env.dm(), "000");
        QVERIFY(s.isSuperUser());
        QVERIFY(s.canAdd && s.canEdit && s.canDelete && s.canAudit && s.canSetup);
        QVERIFY(s.canEditEmployees && s.canEditGoods && s.canEditPartners && s.canSeePrices);
        QCOMPARE(s.warehouseScope, 0);
        QVERIFY(s.ownWarehouses.isEmpty());
        QVERIFY(WarehouseFilter(s).sql.isEmpty() && HeaderWarehouseFilter(s).sql.isEmpty() && WarehouseNameFilter(s).sql.isEmpty());
        QCOMPARE(s.priceReportSuffix(), QString());
        QCOMPARE(VisibleActions(env.dm(), s).size(), allActions().size());
    }

    void roleWithoutItems_data() { addEngineRows(); }
    void roleWithoutItems()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        addOperator(env.db(), "009", "赵六", "", "R0", {});
        QVERIFY(VisibleActions(env.dm(), LoadSession(env.dm(), "009")).isEmpty());
    }

    void passwordChange_data()
    {
        QTest::addColumn<QString>("oldPass");
        QTest::addColumn<QString>("newPass");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("validAfter");
        const int changed = int(PasswordChange::Changed), wrong = int(PasswordChange::WrongOld),
                  mismatch = int(PasswordChange::Mismatch);
        QTest::newRow("changed") << "old1" << "new1" << "new1" << changed << "更改口令成功！" << 0 << "new1";
        QTest::newRow("repeat compared trimmed") << "old1" << " new1 " << "new1" << changed << "更改口令成功！" << 0 << "new1";
        QTest::newRow("wrong old") << "old2" << "new1" << "new1" << wrong << "旧口令输入错误，不能更改！" << 2 << "old1";
        QTest::newRow("old compared untrimmed") << " old1" << "new1" << "new1" << wrong << "旧口令输入错误，不能更改！" << 2 << "old1";
        QTest::newRow("old is case-sensitive") << "OLD1" << "new1" << "new1" << wrong << "旧口令输入错误，不能更改！" << 2 << "old1";
        QTest::newRow("repeat differs") << "old1" << "new1" << "new2" << mismatch << "新口令错误，不能更改！" << 0 << "old1";
        QTest::newRow("to empty") << "old1" << "" << "" << changed << "更改口令成功！" << 0 << "";
    }
    void passwordChange()
    {
        QFETCH(QString, oldPass);
        QFETCH(QString, newPass);
        QFETCH(QString, repeat);
        QFETCH(int, result);
        QFETCH(QString, message);
        QFETCH(int, kind);
        QFETCH(QString, validAfter);
        static const QString old1 = SavePass("old1");
        for (const QString &engine : engines()) {
            TestEnv &env = shared(engine);
            KORVAN_REQUIRE(env);
            env.db().exec("UPDATE OperList SET F_PassWord = ? WHERE F_Code = '007'", {old1});
            env.dm().session() = LoadSession(env.dm(), "007");
            ScriptedResponder responder;
            QCOMPARE(int(ChangePassword(env.dm(), oldPass, newPass, repeat)), result);
            QCOMPARE(responder.texts(), QStringList{message});
            QCOMPARE(responder.shown().first().kind, kind);
            const QString stored = env.db().scalar("SELECT F_PassWord FROM OperList WHERE F_Code = '007'").toString();
            QVERIFY2(VerifyPass(stored, validAfter), qPrintable(engine));
        }
    }

    void passwordChangeWithoutOperatorDoesNothing()
    {
        TestEnv &env = shared("sqlite");
        KORVAN_REQUIRE(env);
        env.dm().session().operatorCode = "999";
        ScriptedResponder responder;
        QCOMPARE(ChangePassword(env.dm(), "", "a", "a"), PasswordChange::NoOperator);
        QVERIFY(responder.texts().isEmpty());
    }

    void autoBackupDue_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("due");
        const QDate sunday(2024, 3, 3), monday(2024, 3, 4), first(2024, 3, 1), tenth(2024, 3, 10);
        QTest::newRow("never") << 0 << monday << false;
        QTest::newRow("every start") << 1 << sunday << true;
        QTest::newRow("monday on sunday") << 2 << sunday << false;
        QTest::newRow("monday on monday") << 2 << monday << true;
        QTest::newRow("first day on the first") << 3 << first << true;
        QTest::newRow("first day on the tenth") << 3 << tenth << false;
        QTest::newRow("unknown mode") << 7 << first << false;
    }
    void autoBackupDue()
    {
        QFETCH(int, mode);
        QFETCH(QDate, day);
        QFETCH(bool, due);
        QCOMPARE(DataModule::AutoBackupDue(mode, day), due);
    }
};

QTEST_GUILESS_MAIN(TestLogin)
#include "test_login.moc"
