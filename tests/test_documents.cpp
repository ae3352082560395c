// Document storage shared by the five document windows, on both engines.
#include "DocumentStore.h"
#include "Fixture.h"
#include "TestKit.h"

#include <QThread>
#include <atomic>

using namespace korvan;
using namespace korvan::test;

namespace {
DocumentLine goodsLine(const char *goods, double qty, const char *price, double rate = 1)
{
    DocumentLine l;
    l.values = {{"F_GoodCode", QString(goods)}, {"F_GoodName", QString("名") + goods}, {"F_Amount", qty},
                {"F_Price", QVariant::fromValue(*Money::parse(price))}, {"F_Rate", rate}};
    l.values["F_TotalPrice"] = QVariant::fromValue(lineAmount(LineAmountRule::QtyPriceRate, qty, *Money::parse(price), rate));
    return l;
}

Document newOrder(DocumentStore &store, const QString &supplier = "华强五金")
{
    Document d;
    d.header = {{"F_Code", store.proposeCode()}, {"F_Client", supplier}, {"F_Depot", QString("北仓")},
                {"F_date", QDate(2024, 3, 6)}, {"F_MakeDate", QDate(2024, 3, 6)}, {"F_Mem", QString("急")}};
    d.lines << goodsLine("G001", 2.5, "10", 0.9) << goodsLine("G003", 3, "3.2");
    return d;
}
} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void lineAmounts_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<double>("qty");
        QTest::addColumn<QString>("price");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("expected");
        QTest::newRow("discounted") << int(LineAmountRule::QtyPriceRate) << 2.5 << "10.00" << 0.9 << "22.5000";
        QTest::newRow("cleared discount") << int(LineAmountRule::QtyPriceRate) << 2.5 << "10.00" << 0.0 << "0.0000";
        QTest::newRow("binary-unfriendly") << int(LineAmountRule::QtyPriceRate) << 3.3 << "1.1" << 1.0 << "3.6300";
        QTest::newRow("tie to even down") << int(LineAmountRule::QtyPriceRate) << 0.5 << "0.0005" << 1.0 << "0.0002";
        QTest::newRow("tie to even up") << int(LineAmountRule::QtyPriceRate) << 0.5 << "0.0015" << 1.0 << "0.0008";
        QTest::newRow("one rounding only") << int(LineAmountRule::QtyPriceRate) << 0.5 << "0.0003" << 0.5 << "0.0001";
        QTest::newRow("awkward factors") << int(LineAmountRule::QtyPriceRate) << (1.0 / 3) << "99999999.9999" << (1.0 / 7) << "4761904.7619";
        QTest::newRow("return ignores discount") << int(LineAmountRule::QtyPrice) << 4.0 << "2.5" << 0.5 << "10.0000";
    }
    void lineAmounts()
    {
        QFETCH(int, rule);
        QFETCH(double, qty);
        QFETCH(QString, price);
        QFETCH(double, rate);
        QFETCH(QString, expected);
        QCOMPARE(lineAmount(LineAmountRule(rule), qty, *Money::parse(price), rate).toPlainString(), expected);
    }

    void saveNewAndReload_data() { addEngineRows(); }
    void saveNewAndReload()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DocumentStore store(env.dm(), DocumentKind::order());
        Document doc = newOrder(store);
        const QString proposed = doc.code();
        const StoreResult r = store.save(doc, "王五");
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(r.code, proposed);
        QCOMPARE(doc.header["F_TotalPrice"].value<Money>(), *Money::parse("32.1"));
        QCOMPARE(doc.header["F_amount"].toDouble(), 5.5);
        QCOMPARE(doc.header["F_Maker"].toString(), QString("王五"));
        QCOMPARE(doc.header["F_Flag"].toInt(), 1);
        QCOMPARE(doc.header["F_OperFlag"].toInt(), 1);
        QCOMPARE(doc.header["F_MakeDate"].toDate(), QDate(2024, 3, 6));
        QCOMPARE(doc.lines.size(), 2);
        QCOMPARE(doc.lines[0].values["F_TotalPrice"].value<Money>(), *Money::parse("22.5"));
        QCOMPARE(store.loadDay(QDate(2024, 3, 6)).size(), 1);
        QCOMPARE(store.loadDay(QDate(2024, 3, 5)).size(), 0);
    }

    // Another workstation took the proposed code: the save takes the next one.
    void proposedCodeTakenMeanwhile_data() { addEngineRows(); }
    void proposedCodeTakenMeanwhile()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DocumentStore store(env.dm(), DocumentKind::order());
        Document first = newOrder(store), second = newOrder(store);
        QCOMPARE(first.code(), second.code());
        QVERIFY(store.save(first, "甲").ok);
        const StoreResult r = store.save(second, "乙");
        QVERIFY(r.ok);
        QVERIFY(r.code != first.code());
        QCOMPARE(env.db().scalar("SELECT count(*) FROM ddDepotD WHERE F_Code = ?", {r.code}).toInt(), 2);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM ddDepotD WHERE F_Code = ?", {first.code()}).toInt(), 2);
    }

    // Two workstations saving orders at the same moment, each proposing the
    // same codes: every order is kept, under its own code, with its own lines.
    void twoWorkstationsSaveAtOnce_data() { addEngineRows(); }
    void twoWorkstationsSaveAtOnce()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        constexpr int kEach = 15;
        std::atomic<int> failures{0};
        const auto workstation = [&](const QString &maker) {
            return QThread::create([&env, &failures, maker] {
                QString err;
                auto conn = Database::connect(env.testDb().target(), &err);
                if (!conn) { ++failures; return; }
                DataModule dm(env.settings(), std::move(conn));
                DocumentStore store(dm, DocumentKind::order());
                for (int i = 0; i < kEach; ++i) {
                    Document d = newOrder(store);
                    const StoreResult r = store.save(d, maker);
                    if (!r.ok) { qWarning("%s", qPrintable(r.message)); ++failures; }
                }
            });
        };
        QThread *a = workstation("甲"), *b = workstation("乙");
        a->start();
        b->start();
        a->wait();
        b->wait();
        delete a;
        delete b;
        QCOMPARE(failures.load(), 0);
        Database &db = env.db();
        QCOMPARE(db.scalar("SELECT count(DISTINCT F_Code) FROM ddDepotM").toInt(), 2 * kEach);
        QCOMPARE(db.scalar("SELECT count(*) FROM ddDepotM WHERE F_Maker = ?", {QString("甲")}).toInt(), kEach);
        QCOMPARE(db.scalar("SELECT count(*) FROM ddDepotD").toInt(), 4 * kEach);
        QCOMPARE(db.scalar("SELECT count(*) FROM ddDepotD d WHERE NOT EXISTS "
                           "(SELECT 1 FROM ddDepotM m WHERE m.F_Code = d.F_Code)").toInt(), 0);
        QCOMPARE(db.scalar("SELECT max(n) FROM (SELECT count(*) AS n FROM ddDepotD GROUP BY F_Code) t").toInt(), 2);
    }

    void editLines_data() { addEngineRows(); }
    void editLines()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DocumentStore store(env.dm(), DocumentKind::order());
        Document doc = newOrder(store);
        QVERIFY(store.save(doc, "甲").ok);
        doc.lines[0].values["F_Amount"] = 10.0;
        doc.lines[0].values["F_TotalPrice"] = QVariant::fromValue(Money::fromYuan(90));
        doc.lines[0].changed = true;
        doc.deletedLineIds << doc.lines[1].id;
        doc.lines.removeAt(1);
        doc.lines << goodsLine("G002", 1, "25");
        doc.header["F_Client"] = QString("O'Neil 电料");
        QVERIFY(store.save(doc, "乙").ok);
        const Document again = store.load(doc.code());
        QCOMPARE(again.header["F_Client"].toString(), QString("O'Neil 电料"));
        QCOMPARE(again.header["F_TotalPrice"].value<Money>(), Money::fromYuan(115));
        QCOMPARE(again.lines.size(), 2);
        QCOMPARE(again.lines[1].values["F_GoodCode"].toString(), QString("G002"));
        QCOMPARE(again.header["F_Maker"].toString(), QString("乙"));
    }

    // Two workstations edit one document: the second save is refused, nothing overwritten.
    void concurrentEditRefused_data() { addEngineRows(); }
    void concurrentEditRefused()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DocumentStore store(env.dm(), DocumentKind::order());
        Document doc = newOrder(store);
        QVERIFY(store.save(doc, "甲").ok);
        Document mine = store.load(doc.code()), theirs = store.load(doc.code());
        theirs.header["F_Mem"] = QString("theirs");
        QVERIFY(store.save(theirs, "乙").ok);
        mine.header["F_Mem"] = QString("mine");
        mine.lines.clear();
        const StoreResult r = store.save(mine, "甲");
        QVERIFY(!r.ok);
        QCOMPARE(r.message, DocumentStore::changedElsewhereMessage());
        const Document now = store.load(doc.code());
        QCOMPARE(now.header["F_Mem"].toString(), QString("theirs"));
        QCOMPARE(now.lines.size(), 2);

        QVERIFY(store.remove(now).ok);
        const StoreResult gone = store.save(theirs, "乙");
        QCOMPARE(gone.message, DocumentStore::deletedElsewhereMessage());
    }

    void auditCycle_data() { addEngineRows(); }
    void auditCycle()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        DocumentStore store(env.dm(), DocumentKind::order());
        const QString code = "CDD20240305001";
        Document before = store.load(code);
        QVERIFY(store.audit(code, "审核员", QDate(2024, 3, 7)).ok);
        const StoreResult twice = store.audit(code, "审核员", QDate(2024, 3, 8));
        QCOMPARE(twice.message, QString("此单据已经审核！"));
        // A document audited meanwhile can be neither saved nor deleted.
        QCOMPARE(store.save(before, "甲").message, DocumentStore::auditedMessage());
        QCOMPARE(store.remove(before).message, DocumentStore::auditedMessage());
        QVERIFY(store.unaudit(code, "系统管理员").ok);
        QVERIFY(store.audit(code, "审核员", QDate(2024, 3, 9)).ok);
        QVERIFY(store.unaudit(code, "系统管理员").ok);
        const Document after = store.load(code);
        QVERIFY(!after.audited());
        QCOMPARE(after.header["F_Mem"].toString(), QString("反审反审"));
        QCOMPARE(after.header["F_AudDate"].toDate(), QDate(2024, 3, 9));
        QCOMPARE(after.header["F_Auditer"].toString(), QString("系统管理员"));
    }

    void receiptDropsLinesWithoutGoods_data() { addEngineRows(); }
    void receiptDropsLinesWithoutGoods()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        for (const DocumentKind *kind : {&DocumentKind::receipt(), &DocumentKind::purchaseReturn()}) {
            DocumentStore store(env.dm(), *kind);
            Document doc = newOrder(store);
            doc.lines << DocumentLine{};
            QVERIFY(store.save(doc, "甲").ok);
            QCOMPARE(doc.lines.size(), 2);
            QCOMPARE(doc.header["F_OperFlag"].toInt(), kind->operFlag);
            QVERIFY(doc.code().startsWith(kind->series.prefix));
        }
    }

    // Many new and changed lines: every line arrives once, in its order, with its values.
    void manyLinesKeepTheirOrder_data() { addEngineRows(); }
    void manyLinesKeepTheirOrder()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DocumentStore store(env.dm(), DocumentKind::order());
        Document doc = newOrder(store);
        doc.lines.clear();
        for (int i = 0; i < 23; ++i) doc.lines << goodsLine(qPrintable(QString("K%1").arg(i, 2, 10, QChar('0'))), i + 1, "1.5");
        QVERIFY(store.save(doc, "甲").ok);
        for (int i = 0; i < doc.lines.size(); i += 2) {
            doc.lines[i].values["F_Mem"] = QString("改%1").arg(i);
            doc.lines[i].changed = true;
        }
        for (int i = 23; i < 35; ++i) doc.lines << goodsLine(qPrintable(QString("K%1").arg(i)), i + 1, "1.5");
        QVERIFY(store.save(doc, "甲").ok);
        const Document again = store.load(doc.code());
        QCOMPARE(again.lines.size(), 35);
        for (int i = 0; i < 35; ++i) {
            QCOMPARE(again.lines[i].values["F_GoodCode"].toString(), QString("K%1").arg(i, 2, 10, QChar('0')));
            QCOMPARE(again.lines[i].values["F_Amount"].toDouble(), double(i + 1));
            QCOMPARE(again.lines[i].values["F_Mem"].toString(), i < 23 && i % 2 == 0 ? QString("改%1").arg(i) : QString());
        }
        QCOMPARE(again.header["F_TotalPrice"].value<Money>(), *Money::parse("945")); // 1.5 × (1 + … + 35)
    }

    void settlementCodes_data() { addEngineRows(); }
    void settlementCodes()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DocumentStore store(env.dm(), DocumentKind::payment());
        Document doc;
        doc.header = {{"F_Code", store.proposeCode()}, {"F_Client", QString("华强五金")}, {"F_date", QDate(2024, 3, 6)},
                      {"F_SKprice", QVariant::fromValue(Money::fromYuan(80))}};
        for (const char *c : {"CGD20240301001", "", "CTD20240302001"}) {
            DocumentLine l;
            l.values = {{"F_CGDcode", QString(c)}, {"F_TotalPrice", QVariant::fromValue(Money::fromYuan(40))}};
            doc.lines << l;
        }
        QVERIFY(store.save(doc, "甲").ok);
        QCOMPARE(doc.header["F_CGDcode"].toString(), QString("'CGD20240301001','CTD20240302001'"));
        QCOMPARE(doc.header["F_TotalPrice"].value<Money>(), Money::fromYuan(120));
        QCOMPARE(doc.header["F_SKprice"].value<Money>(), Money::fromYuan(80));
        QCOMPARE(doc.header["F_Flag"].toInt(), -1);
    }
};

QTEST_GUILESS_MAIN(TestDocuments)
#include "test_documents.moc"
