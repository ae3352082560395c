// Data clearing: each choice empties exactly its tables, all in one transaction.
#include "DataClearing.h"
#include "Fixture.h"
#include "TestKit.h"

using namespace korvan;
using namespace korvan::test;

namespace {
// What the clearing may touch, each counted on its own.
const QList<QPair<QString, QString>> kParts = {
    {"orders", "SELECT count(*) FROM ddDepotM"},
    {"order lines", "SELECT count(*) FROM ddDepotD"},
    {"receipts", "SELECT count(*) FROM depotM WHERE F_Flag = 1"},
    {"receipt lines", "SELECT count(*) FROM depotD WHERE F_Code LIKE 'CGD%'"},
    {"returns", "SELECT count(*) FROM depotM WHERE F_Flag = -1"},
    {"return lines", "SELECT count(*) FROM depotD WHERE F_Code LIKE 'CTD%'"},
    {"invoices", "SELECT count(*) FROM KPdepotM"},
    {"invoice lines", "SELECT count(*) FROM KPdepotD"},
    {"payments", "SELECT count(*) FROM cashPayM"},
    {"payment lines", "SELECT count(*) FROM cashPayD"},
    {"suppliers", "SELECT count(*) FROM t_client"},
    {"employees", "SELECT count(*) FROM t_employee"},
    {"goods", "SELECT count(*) FROM t_goods"},
    {"opening stock", "SELECT count(*) FROM t_begDept"},
    {"types", "SELECT count(*) FROM t_treecode"},
    {"options", "SELECT count(*) FROM t_code"},
    {"operators", "SELECT count(*) FROM OperList"},
    {"settings", "SELECT count(*) FROM SysInfo"},
};

QMap<QString, int> counts(Database &db, const QString &except = QString())
{
    QMap<QString, int> c;
    for (const auto &p : kParts)
        if (p.first != except) c[p.first] = db.scalar(p.second).toInt();
    return c;
}

// The fixture plus one document of every other kind and an opening stock row.
void fill(Database &db)
{
    loadFixture(db);
    WriteTransaction tx(db);
    db.exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CGD20240306001', 1, 1)");
    db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount) VALUES ('CGD20240306001', 'G001', 5)");
    db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount) VALUES ('CGD20240306001', 'G002', 1)");
    db.exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CTD20240307001', -1, -1)");
    db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount) VALUES ('CTD20240307001', 'G001', 1)");
    db.exec("INSERT INTO KPdepotM (F_Code, F_Flag) VALUES ('CKP20240308001', -1)");
    db.exec("INSERT INTO KPdepotD (F_Code, F_CGDcode) VALUES ('CKP20240308001', 'CGD20240306001')");
    db.exec("INSERT INTO cashPayM (F_Code, F_Flag, F_OperFlag) VALUES ('FKD20240309001', -1, -1)");
    db.exec("INSERT INTO cashPayD (F_Code, F_CGDcode) VALUES ('FKD20240309001', 'CGD20240306001')");
    db.exec("INSERT INTO t_begDept (F_GoodCode, F_Depot, F_Amount) VALUES ('G001', '北仓', 10)");
    tx.commit();
}
} // namespace

class TestDataClear : public QObject {
    Q_OBJECT
private slots:
    void eachChoiceClearsItsTables_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("cleared");
        const QList<QPair<QString, QStringList>> rows = {
            {"采购订货单", {"orders", "order lines"}},
            {"采购进货单", {"receipts", "receipt lines"}},
            {"采购退货单", {"returns", "return lines"}},
            {"采购收票单", {"invoices", "invoice lines"}},
            {"采购付款单", {"payments", "payment lines"}},
            {"供应商档案", {"suppliers"}},
            {"员工档案", {"employees"}},
            {"货品资料", {"goods", "opening stock"}},
            {"货品类型", {"types"}},
            {"选项..", {"options"}},
        };
        for (const QString &engine : engines())
            for (int i = 0; i < rows.size(); ++i)
                QTest::newRow(qPrintable(engine + " " + rows[i].first)) << engine << i << rows[i].second;
    }
    void eachChoiceClearsItsTables()
    {
        QFETCH(QString, engine);
        QFETCH(int, choice);
        QFETCH(QStringList, cleared);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        fill(env.db());
        QCOMPARE(clearingChoices().size(), 10);
        QCOMPARE(clearingChoices()[choice].caption, QString::fromUtf8(QTest::currentDataTag()).section(' ', 1));

        const QMap<QString, int> before = counts(env.db());
        for (auto it = before.cbegin(); it != before.cend(); ++it) QVERIFY2(it.value() > 0, qPrintable(it.key()));
        ScriptedResponder messages;
        QList<bool> chosen(10, false);
        chosen[choice] = true;
        QCOMPARE(ClearData(env.dm(), chosen), ClearingResult::Cleared);
        QCOMPARE(messages.shown().size(), 2);
        QCOMPARE(messages.shown()[0].kind, int(MsgQuestion));
        QCOMPARE(messages.shown()[0].text, QString("数据清理，将删除所有列表框所选中的所有数据表的数据，\n"
                                                   "建议您在清理之前，备份当前数据，真的要清除当前数据吗？"));
        QCOMPARE(messages.last(), QString("数据清理成功！"));

        QMap<QString, int> expected = before;
        for (const QString &part : cleared) expected[part] = 0;
        QCOMPARE(counts(env.db()), expected);
        // Type paths stay in goods and lines when the type tree goes.
        QCOMPARE(env.db().scalar("SELECT count(*) FROM ddDepotD WHERE F_Type LIKE '%螺丝'").toInt(),
                 cleared.contains("order lines") ? 0 : 1);
    }

    // A failing statement undoes everything cleared before it in the run.
    void failureRollsBackAll_data() { addEngineRows(); }
    void failureRollsBackAll()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        fill(env.db());
        env.db().exec("DROP TABLE t_code"); // the last statement of "选项.." now fails
        const QMap<QString, int> before = counts(env.db(), "options");

        ScriptedResponder messages;
        QCOMPARE(ClearData(env.dm(), QList<bool>(10, true)), ClearingResult::Failed);
        QCOMPARE(messages.last(), QString("操作失败，请检查连接..."));
        QCOMPARE(messages.shown().last().kind, int(MsgError));
        QCOMPARE(counts(env.db(), "options"), before);
    }

    // "No" changes nothing; nothing chosen still asks and reports success.
    void declinedAndEmpty_data() { addEngineRows(); }
    void declinedAndEmpty()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        fill(env.db());
        const QMap<QString, int> before = counts(env.db());
        ScriptedResponder messages;
        messages.answer(AnswerNo);
        QCOMPARE(ClearData(env.dm(), QList<bool>(10, true)), ClearingResult::Declined);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(counts(env.db()), before);

        messages.clear();
        QCOMPARE(ClearData(env.dm(), QList<bool>(10, false)), ClearingResult::Cleared);
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(messages.last(), QString("数据清理成功！"));
        QCOMPARE(counts(env.db()), before);
    }
};

QTEST_GUILESS_MAIN(TestDataClear)
#include "test_dataclear.moc"
