// The document window's behaviour without widgets, on both engines.
#include "DocumentController.h"
#include "Fixture.h"
#include "Login.h"
#include "TestKit.h"

#include <functional>

using namespace korvan;
using namespace korvan::test;

namespace {
struct Env {
    explicit Env(const QString &engine, const QString &operatorCode = "000") : env(engine)
    {
        if (!env.ok()) return;
        loadFixture(env.db());
        env.dm().session() = LoadSession(env.dm(), operatorCode);
    }
    TestEnv env;
};
} // namespace

class TestDocumentController : public QObject {
    Q_OBJECT
private slots:
    // A warehouse-restricted operator sees his warehouse's documents and those without one.
    void dayListFollowsWarehouses_data() { addEngineRows(); }
    void dayListFollowsWarehouses()
    {
        QFETCH(QString, engine);
        Env e(engine, "101");
        KORVAN_REQUIRE(e.env);
        Database &db = e.env.db();
        for (const char *depot : {"南仓", ""})
            db.exec("INSERT INTO ddDepotM (F_Code, F_date, F_Depot, F_Flag, F_OperFlag) VALUES (?, ?, ?, 1, 1)",
                    {QString("CDD2024030500") + (QString(depot).isEmpty() ? "3" : "2"), QDate(2024, 3, 5), QString(depot)});
        db.exec("INSERT INTO ddDepotM (F_Code, F_date, F_Flag, F_OperFlag) VALUES ('CDD20240305004', ?, 1, 1)", {QDate(2024, 3, 5)});
        DocumentController c(e.env.dm(), DocumentKind::order());
        c.setListDate(QDate(2024, 3, 5));
        QStringList codes;
        for (const QVariantMap &row : c.dayList()) codes << row["F_Code"].toString();
        QCOMPARE(codes, QStringList({"CDD20240305001", "CDD20240305003", "CDD20240305004"}));
        QCOMPARE(c.currentCode(), QString("CDD20240305004")); // the last one
        c.locateCode = "CDD20240305001";
        c.loadDayList();
        QCOMPARE(c.currentCode(), QString("CDD20240305001"));
        QCOMPARE(c.document().lines.size(), 2);
    }

    // Entering an order by keyboard: checks, goods lookup, quantity, save.
    void enterOrder_data() { addEngineRows(); }
    void enterOrder()
    {
        QFETCH(QString, engine);
        Env e(engine, "101");
        KORVAN_REQUIRE(e.env);
        ScriptedResponder messages;
        DocumentController c(e.env.dm(), DocumentKind::order());
        c.setListDate(QDate::currentDate());
        QVERIFY(c.tools().newDoc);
        QVERIFY(!c.tools().audit); // 王五 may not audit
        QVERIFY(c.newDocument());
        QCOMPARE(c.mode(), DocumentController::Mode::Entry);
        QCOMPARE(c.document().lines.size(), 1);
        QVERIFY(!c.save());
        QCOMPARE(messages.last(), QString("采购供应商不能为空！"));
        QCOMPARE(c.focusControl(), QString("cbeClient"));
        c.setHeader("F_Client", " 华强五金 ");
        c.setHeader("F_Depot", "北仓");

        c.setLineValue(0, "F_GoodCode", "G9");
        QCOMPARE(c.enterInLines(0, "F_GoodCode"), DocumentController::EnterStep::Stay);
        QCOMPARE(messages.last(), QString("商品\"G9\"不存在，请检查输入？"));
        c.setLineValue(0, "F_GoodCode", "G001");
        QCOMPARE(c.enterInLines(0, "F_GoodCode"), DocumentController::EnterStep::SelectQuantity);
        QCOMPARE(c.document().lines[0].values["F_GoodName"].toString(), QString("螺丝"));
        QCOMPARE(c.document().lines[0].values["F_Price"].value<Money>(), *Money::parse("0.5"));
        c.setLineValue(0, "F_Amount", 0.0);
        QCOMPARE(c.enterInLines(0, "F_Amount"), DocumentController::EnterStep::Stay);
        QCOMPARE(messages.last(), QString("对不起，货品数量不能为零！"));
        c.setLineValue(0, "F_Amount", 2.5);
        c.setLineValue(0, "F_Price", "10");
        c.setLineValue(0, "F_Rate", 0.9);
        QCOMPARE(c.enterInLines(0, "F_Amount"), DocumentController::EnterStep::NewLineFirstColumn);
        QCOMPARE(c.document().lines.size(), 2);
        QCOMPARE(c.document().lines[0].values["F_TotalPrice"].value<Money>(), *Money::parse("22.5"));

        QVERIFY(c.save());
        QCOMPARE(c.mode(), DocumentController::Mode::Browse);
        const QString code = "CDD" + QDate::currentDate().toString("yyyyMMdd") + "001";
        QCOMPARE(c.currentCode(), code);
        QCOMPARE(c.header("F_Client").toString(), QString("华强五金"));
        QCOMPARE(c.header("F_Maker").toString(), QString("王五"));
        // Totals are stored although this operator does not see prices; the empty line is gone.
        QCOMPARE(c.header("F_TotalPrice").value<Money>(), *Money::parse("22.5"));
        QCOMPARE(c.document().lines.size(), 1);
    }

    void copyDeleteAudit_data() { addEngineRows(); }
    void copyDeleteAudit()
    {
        QFETCH(QString, engine);
        Env e(engine);
        KORVAN_REQUIRE(e.env);
        ScriptedResponder messages;
        DocumentController c(e.env.dm(), DocumentKind::order());
        c.setListDate(QDate(2024, 3, 5));
        QVERIFY(c.copy());
        QVERIFY(c.currentCode() != "CDD20240305001");
        QCOMPARE(c.document().lines.size(), 2);
        QCOMPARE(c.header("F_Client").toString(), QString("华强五金"));
        QVERIFY(c.save());
        c.setListDate(QDate::currentDate());
        QCOMPARE(c.dayList().size(), 1);
        QCOMPARE(c.header("F_TotalPrice").value<Money>(), Money::fromYuan(100));

        c.setListDate(QDate(2024, 3, 5));
        messages.answer(AnswerYes);
        QVERIFY(c.audit());
        QVERIFY(c.document().audited());
        QVERIFY(c.tools().convert);
        QVERIFY(!c.edit());
        QCOMPARE(messages.last(), QString("此单据已经审核，不能再修改！"));
        QVERIFY(!c.remove());
        QVERIFY(!c.audit());
        QCOMPARE(messages.last(), QString("此单据已经审核！"));
        messages.answer(AnswerYes);
        QVERIFY(c.unaudit());
        QVERIFY(!c.document().audited());
        QCOMPARE(c.header("F_Mem").toString(), QString("反审"));

        messages.answer(AnswerNo);
        QVERIFY(!c.remove());
        QCOMPARE(messages.last(), QString("真的要删除当前采购订单单 CDD20240305001吗？"));
        QCOMPARE(c.dayList().size(), 1);
        messages.answer(AnswerYes);
        QVERIFY(c.remove());
        QVERIFY(c.dayList().isEmpty());
        QCOMPARE(c.row(), -1);
        QVERIFY(!c.edit());
        QCOMPARE(messages.last(), QString("此表为空，没有记录需要修改！"));
        QCOMPARE(e.env.db().scalar("SELECT count(*) FROM ddDepotD WHERE F_Code = 'CDD20240305001'").toInt(), 0);
    }

    // Cancel drops typed input only after a question; an untouched document
    // (New, or Edit with nothing changed) cancels at once.
    void cancelKeepsTypedInputUnlessConfirmed()
    {
        Env e("sqlite");
        KORVAN_REQUIRE(e.env);
        ScriptedResponder messages;
        DocumentController c(e.env.dm(), DocumentKind::order());
        c.setListDate(QDate(2024, 3, 5));
        QVERIFY(c.newDocument());
        c.addLine();
        QVERIFY(c.cancelEntry());
        QVERIFY(messages.texts().isEmpty());

        QVERIFY(c.edit());
        c.setHeader("F_Client", c.header("F_Client")); // the same value again is no input
        QVERIFY(c.cancelEntry());
        QVERIFY(messages.texts().isEmpty());

        for (const auto &type : QList<std::function<void()>>{
                 [&] { c.setHeader("F_Mem", QString("加急")); },
                 [&] { c.setLineValue(0, "F_Amount", 7.0); },
                 [&] { c.deleteLine(1); },
                 [&] { c.appendGoods("G002"); }}) {
            QVERIFY(c.edit());
            type();
            const Document typed = c.document();
            messages.answer(AnswerNo);
            QVERIFY(!c.cancelEntry());
            QCOMPARE(messages.last(), DocumentController::discardQuestion());
            QCOMPARE(c.mode(), DocumentController::Mode::Entry);
            QCOMPARE(c.document().lines.size(), typed.lines.size());
            QCOMPARE(c.header("F_Mem"), typed.header.value("F_Mem"));
            messages.answer(AnswerYes);
            QVERIFY(c.cancelEntry());
            QCOMPARE(c.mode(), DocumentController::Mode::Browse);
            QCOMPARE(c.document().lines.size(), 2);
            QVERIFY(c.header("F_Mem").toString() != "加急");
        }
    }

    // Saving an edited order writes the (empty) auditor box; a document date
    // that is no date is refused instead of hiding the order from every day list.
    void editRewritesAuditorAndNeedsDate_data() { addEngineRows(); }
    void editRewritesAuditorAndNeedsDate()
    {
        QFETCH(QString, engine);
        Env e(engine);
        KORVAN_REQUIRE(e.env);
        ScriptedResponder messages;
        DocumentController c(e.env.dm(), DocumentKind::order());
        c.setListDate(QDate(2024, 3, 5));
        QVERIFY(c.audit());
        QVERIFY(c.unaudit());
        QCOMPARE(c.header("F_Auditer").toString(), QString("系统管理员"));
        QVERIFY(c.edit());
        c.setHeader("F_date", QDate::fromString("2024-02-30", "yyyy-MM-dd"));
        QVERIFY(!c.save());
        QCOMPARE(messages.last(), DocumentController::dateMessage());
        QCOMPARE(c.focusControl(), QString("edtDate"));
        c.setHeader("F_date", QDate(2024, 3, 5));
        QVERIFY(c.save());
        QCOMPARE(c.header("F_Auditer").toString(), QString());
        QCOMPARE(c.header("F_AudDate").toDate(), QDate::currentDate()); // un-auditing keeps the audit date
    }

    void barcodeAndConversion_data() { addEngineRows(); }
    void barcodeAndConversion()
    {
        QFETCH(QString, engine);
        Env e(engine);
        KORVAN_REQUIRE(e.env);
        ScriptedResponder messages;
        e.env.db().exec("UPDATE t_goods SET F_BarCode = '6901' WHERE F_Code = 'G002'");
        DocumentController order(e.env.dm(), DocumentKind::order());
        order.setListDate(QDate(2024, 3, 5));

        DocumentController receipt(e.env.dm(), DocumentKind::receipt());
        QVERIFY(receipt.newFromOrder(order.document()));
        QCOMPARE(receipt.document().lines.size(), 2); // the empty first line is dropped
        QCOMPARE(receipt.document().lines[1].values["F_JHcode"].toString(), QString("CDD20240305001"));
        QCOMPARE(receipt.header("F_Client").toString(), QString("华强五金"));

        QVERIFY(!receipt.barcodeEntry("  ", 1));
        QCOMPARE(messages.last(), QString("请输入条码！"));
        QVERIFY(!receipt.barcodeEntry("0000", 1));
        QCOMPARE(messages.last(), QString("条码\"0000\"不存在，请检查输入？"));
        QVERIFY(receipt.barcodeEntry("6901", 3));
        QVERIFY(receipt.barcodeEntry("6901", 1)); // every scan adds a line
        QCOMPARE(receipt.document().lines.size(), 4);
        QCOMPARE(receipt.document().lines[2].values["F_TMcode"].toString(), QString("6901"));
        QCOMPARE(receipt.document().lines[2].values["F_TotalPrice"].value<Money>(), Money::fromYuan(75));

        QVERIFY(!receipt.save());
        QCOMPARE(messages.last(), QString("进货仓库不能为空！"));
        receipt.setHeader("F_Depot", "北仓");
        QVERIFY(receipt.save());
        QCOMPARE(receipt.header("F_TotalPrice").value<Money>(), Money::fromYuan(200));
        QCOMPARE(receipt.header("F_Amount").toDouble(), 106.0);
    }
};

QTEST_GUILESS_MAIN(TestDocumentController)
#include "test_document_controller.moc"
