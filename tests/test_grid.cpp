// Grid layouts, column rules and the grid model, without widgets.
#include "DataModule.h"
#include "Fixture.h"
#include "GridLayout.h"
#include "GridModel.h"
#include "ImageKind.h"
#include "TestKit.h"

#include <QSignalSpy>

using namespace korvan;
using namespace korvan::test;

Q_DECLARE_METATYPE(korvan::GridColumns)

namespace {

GridColumn col(const QString &field, const QString &caption = QString())
{
    GridColumn c;
    c.field = field;
    c.caption = caption.isEmpty() ? field : caption;
    return c;
}

QStringList fieldsOf(const GridColumns &cols, bool visibleOnly = false)
{
    QStringList out;
    for (const GridColumn &c : cols)
        if (!visibleOnly || c.visible) out << c.field;
    return out;
}

// Everything stored under a key, to prove a save changed nothing.
QString layoutRows(Database &db)
{
    QSqlQuery q = db.query("SELECT F_name, F_FieldName, F_Caption, F_Width, F_Visible, F_ReadOnly, F_DisplayFormat,"
                           " F_FooterValue, F_FooterType, F_Alignment, F_Order FROM cfg_Grid ORDER BY F_ID");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 11; ++i) cells << q.value(i).toString();
        rows << cells.join('|');
    }
    return rows.join('\n');
}

NumberFormats distinctFormats()
{
    NumberFormats f;
    f.qty = "0.###";
    f.price = ",0.00#";
    f.amount = ",0.00";
    return f;
}

Session operatorSession(const QString &code, bool canSeePrices)
{
    Session s;
    s.operatorCode = code;
    s.canSeePrices = canSeePrices;
    return s;
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    // Stored layouts: load, change, save under any case of the key, load again.
    void layoutRoundTrip_data() { addEngineRows(); }
    void layoutRoundTrip()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        DataModule &dm = env.dm();

        GridColumns cols = {col("F_Code", "设计")};
        QVERIFY(LoadGridLayout(dm, "GoodGL", cols));
        QCOMPARE(cols.size(), 26);
        QCOMPARE(cols[0].field, QString("F_Code"));
        QCOMPARE(cols[0].caption, QString("编号"));
        QCOMPARE(cols[0].width, 90);
        QCOMPARE(cols[6].field, QString("F_EnterPrice"));
        QCOMPARE(cols[6].align, CellAlign::Right);
        QCOMPARE(cols[8].footer, FooterKind::Sum);
        QCOMPARE(cols[13].align, CellAlign::Center);
        QVERIFY(cols[0].readOnly && cols[0].visible);

        const int rowsBefore = env.db().scalar("SELECT count(*) FROM cfg_Grid").toInt();
        cols[3].visible = false;                       // F_Spec hidden
        cols[1].caption = "O'Neil \"名称\"";            // quotes are just characters
        cols[1].width = 222;
        cols[2].displayFormat = ",0.00##";
        cols[0].footer = FooterKind::Text;
        cols[0].footerText = "合  计";
        cols[4].align = CellAlign::Auto;
        cols[5].readOnly = false;
        cols.move(12, 0);                             // F_Mem first
        cols << col("F_NotStored");                   // no row under the key: not stored
        SaveGridLayout(dm, "GoodGL", cols);
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(env.db().scalar("SELECT count(*) FROM cfg_Grid").toInt(), rowsBefore);

        GridColumns again;
        QVERIFY(LoadGridLayout(dm, "goodgl", again));
        cols.removeLast();
        QCOMPARE(again, cols);
        QVERIFY(!again[4].visible);
        QCOMPARE(fieldsOf(again).first(), QString("F_Mem"));
    }

    // A key without rows keeps the designed columns, and saving under it writes nothing.
    void keyWithoutRows_data() { addEngineRows(); }
    void keyWithoutRows()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        const GridColumns designed = {col("F_Code", "编号"), col("F_Name", "名称")};
        GridColumns cols = designed;
        QVERIFY(!LoadGridLayout(env.dm(), "nosuchgrid", cols));
        QCOMPARE(cols, designed);
        const QString before = layoutRows(env.db());
        cols[0].caption = "changed";
        SaveGridLayout(env.dm(), "nosuchgrid", cols);
        QCOMPARE(layoutRows(env.db()), before);
        QVERIFY(messages.shown().isEmpty());
    }

    void applyColumnFormats_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("format"); // "keep" = unchanged
        const NumberFormats f = distinctFormats();
        const QString keep = "keep";
        // kind 1: document and goods lines
        QTest::newRow("1 rate") << 1 << "F_Rate" << f.qty;
        QTest::newRow("1 price") << 1 << "F_Price" << f.price;
        QTest::newRow("1 totalprice") << 1 << "F_TotalPrice" << f.amount;
        QTest::newRow("1 cbprice") << 1 << "F_CBprice" << f.amount;
        QTest::newRow("1 amount") << 1 << "F_Amount" << f.qty;
        QTest::newRow("1 enterprice no underscore") << 1 << "F_EnterPrice" << keep;
        QTest::newRow("1 text") << 1 << "F_GoodName" << keep;
        // kind 2: document lists
        QTest::newRow("2 totalprice") << 2 << "F_totalPrice" << f.amount;
        QTest::newRow("2 price") << 2 << "F_Price" << keep;
        // kind 3: stock-like summaries, money patterns win
        QTest::newRow("3 enter") << 3 << "F_enter" << f.qty;
        QTest::newRow("3 out") << 3 << "F_Out" << f.qty;
        QTest::newRow("3 begin") << 3 << "F_begin" << f.qty;
        QTest::newRow("3 enterprice") << 3 << "F_enterPrice" << f.amount;
        QTest::newRow("3 endprice") << 3 << "F_endPrice" << f.amount;
        QTest::newRow("3 depot") << 3 << "F_depot" << keep;
        // kind 4: order execution; "rate" stops the tests for its column
        QTest::newRow("4 rate") << 4 << "F_rate" << f.qty;
        QTest::newRow("4 rate beats wg2") << 4 << "F_rateWg2" << f.qty;
        QTest::newRow("4 yinwg") << 4 << "F_yinWg" << f.qty;
        QTest::newRow("4 yith") << 4 << "F_yiTH" << f.qty;
        QTest::newRow("4 yinwg2") << 4 << "F_yinWg2" << f.amount;
        QTest::newRow("4 yith2") << 4 << "F_yiTH2" << f.amount;
        QTest::newRow("4 price") << 4 << "F_price" << keep;
        // kind 5: payables movements
        QTest::newRow("5 begin") << 5 << "F_Begin" << f.amount;
        QTest::newRow("5 end") << 5 << "F_End" << f.amount;
        QTest::newRow("5 unit") << 5 << "F_Unit" << keep;
    }
    void applyColumnFormats()
    {
        QFETCH(int, kind);
        QFETCH(QString, field);
        QFETCH(QString, format);
        GridColumns cols = {col(field)};
        cols[0].displayFormat = "keep";
        cols[0].visible = true;
        ApplyColumnFormats(cols, kind, PriceKeep, operatorSession("000", true), distinctFormats());
        QCOMPARE(cols[0].displayFormat, format);
    }

    void priceHiding_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<bool>("canSeePrices");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("fields");   // columns left
        QTest::addColumn<QStringList>("visible");  // of which visible
        const QStringList all = {"F_GoodName", "F_Price", "F_TotalPrice", "F_KPprice", "F_Amount"};
        const QStringList noPrice = {"F_GoodName", "F_Amount"};
        QTest::newRow("restricted, remove") << "101" << false << 1 << noPrice << noPrice;
        QTest::newRow("restricted, hide") << "101" << false << 3 << all << noPrice;
        QTest::newRow("restricted, keep") << "101" << false << 0 << all << all;
        QTest::newRow("super user, remove") << "000" << false << 1 << all << all;
        QTest::newRow("super user, hide") << "000" << false << 3 << all << all;
        QTest::newRow("price right, remove") << "101" << true << 1 << all << all;
    }
    void priceHiding()
    {
        QFETCH(QString, operatorCode);
        QFETCH(bool, canSeePrices);
        QFETCH(int, mode);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, visible);
        GridColumns cols;
        for (const char *f : {"F_GoodName", "F_Price", "F_TotalPrice", "F_KPprice", "F_Amount"}) cols << col(f);
        ApplyColumnFormats(cols, 1, mode, operatorSession(operatorCode, canSeePrices), distinctFormats());
        QCOMPARE(fieldsOf(cols), fields);
        QCOMPARE(fieldsOf(cols, true), visible);
    }

    void userFieldCaptions()
    {
        Session s;
        for (int i = 0; i < 11; ++i) {
            s.userFieldCaptions[size_t(i)] = QString("自定义%1").arg(i + 1);
            s.userFieldVisible[size_t(i)] = i % 2 == 0;
        }
        // A grid without F_ZF1 still gets the captions of the fields it has.
        GridColumns cols = {col("F_GoodName", "名称"), col("F_ZF2"), col("F_SZ1"), col("F_RQ3")};
        ApplyUserFieldCaptions(cols, s);
        QCOMPARE(cols[0].caption, QString("名称"));
        QCOMPARE(cols[1].caption, QString("自定义2"));
        QVERIFY(!cols[1].visible);
        QCOMPARE(cols[2].caption, QString("自定义6"));
        QVERIFY(!cols[2].visible);
        QCOMPARE(cols[3].caption, QString("自定义11"));
        QVERIFY(cols[3].visible);
    }

    void prepareLineColumns()
    {
        GridColumns cols;
        for (const char *f : {"F_GoodCode", "F_GoodName", "F_Type", "F_Spec", "F_Address", "F_Unit", "F_Amount", "F_Price"}) {
            cols << col(f);
            cols.last().readOnly = true;
        }
        PrepareLineColumns(cols);
        QStringList readOnly, ellipsis;
        for (const GridColumn &c : cols) {
            if (c.readOnly) readOnly << c.field;
            if (c.ellipsis) ellipsis << c.field;
        }
        QCOMPARE(readOnly, QStringList({"F_GoodName", "F_Type", "F_Spec", "F_Address", "F_Unit"}));
        QCOMPARE(ellipsis, QStringList({"F_GoodName"}));
    }

    void periodCaption_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("caption");
        QTest::newRow("neither") << QDate() << QDate() << "统计日期：自 启用系统 至 记帐最后一天";
        QTest::newRow("both") << QDate(2024, 3, 1) << QDate(2024, 3, 31) << "统计日期：自 2024年03月01日 至 2024年03月31日";
        QTest::newRow("from only") << QDate(2023, 12, 5) << QDate() << "统计日期：自 2023年12月05日 至 记帐最后一天";
        QTest::newRow("to only") << QDate() << QDate(2024, 1, 9) << "统计日期：自 启用系统 至 2024年01月09日";
    }
    void periodCaption()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, caption);
        auto opt = [](const QDate &d) { return d.isValid() ? std::optional<QDate>(d) : std::nullopt; };
        QCOMPARE(PeriodCaption(opt(from), opt(to)), caption);
    }

    void imageKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("kind");
        QTest::newRow("bmp") << "C:/photos/张三.BMP" << 1;
        QTest::newRow("jpg") << "a.jpg" << 2;
        QTest::newRow("jpeg") << "/x/a.JpEg" << 2;
        QTest::newRow("gif") << "a.gif" << 3;
        QTest::newRow("png") << "a.png" << 0;
        QTest::newRow("none") << "jpg" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void imageKind()
    {
        QFETCH(QString, file);
        QFETCH(int, kind);
        QCOMPARE(ImageKindOfFile(file), kind);
    }

    void cellTexts_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("money") << QVariant::fromValue(Money::fromUnits(12345678)) << int(CellType::Money) << ",0.00" << "1,234.57";
        QTest::newRow("money plain") << QVariant::fromValue(Money::fromUnits(12345)) << int(CellType::Price) << "" << "1.2345";
        QTest::newRow("quantity") << QVariant(2.5) << int(CellType::Quantity) << "0.##" << "2.5";
        QTest::newRow("quantity whole") << QVariant(3.0) << int(CellType::Quantity) << "0.##" << "3";
        QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << int(CellType::Date) << "" << "2024-03-05";
        QTest::newRow("empty date") << QVariant(QDate(1900, 8, 14)) << int(CellType::Date) << "" << "";
        QTest::newRow("bool") << QVariant(true) << int(CellType::Bool) << "" << "是";
        QTest::newRow("null") << QVariant() << int(CellType::Money) << ",0.00" << "";
        QTest::newRow("int") << QVariant(qlonglong(1234567)) << int(CellType::Int) << ",0" << "1,234,567";
    }
    void cellTexts()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QFETCH(QString, format);
        QFETCH(QString, text);
        QCOMPARE(cellText(value, CellType(type), NumberFormat(format)), text);
    }

    // A statement's rows arrive typed; sums are exact; sorting follows the values.
    void queryRows_data() { addEngineRows(); }
    void queryRows()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        env.db().exec("INSERT INTO ddDepotD (F_Code, F_GoodCode, F_GoodName, F_Amount, F_Price, F_TotalPrice, F_RQ1, F_Mem)"
                      " VALUES ('CDD20240305001', 'G003', '电线', 0.1, ?, ?, ?, '备注')",
                      {Money::fromUnits(1).toDb(), Money::fromUnits(3).toDb(), QDate(2024, 3, 9)});
        GridModel model;
        QVERIFY(model.openQuery(env.dm(), "SELECT d.F_GoodCode, d.F_GoodName, d.F_Amount, d.F_Price, d.F_TotalPrice,"
                                          " d.F_RQ1, m.F_MakeDate, m.F_CheckFlag, d.F_Mem FROM ddDepotD d"
                                          " JOIN ddDepotM m ON m.F_Code = d.F_Code ORDER BY d.F_GoodCode"));
        QVERIFY(model.allFetched());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 9); // no layout: every field
        QCOMPARE(model.value(0, "F_TotalPrice").value<Money>(), Money::fromYuan(50));
        QCOMPARE(model.value(2, "F_Amount").toDouble(), 0.1);
        QCOMPARE(model.value(0, "F_MakeDate").toDate(), QDate(2024, 3, 5));
        QCOMPARE(model.value(2, "f_rq1").toDate(), QDate(2024, 3, 9));
        QCOMPARE(model.value(0, "F_CheckFlag").toBool(), false);
        QCOMPARE(model.fieldSum("F_TotalPrice").value<Money>(), Money::fromUnits(1000003));
        QCOMPARE(model.fieldSum("F_Amount").toDouble(), 102.1);

        // Sums are taken from the data, so a removed price column still counts.
        GridColumns cols = {col("F_GoodName", "名称"), col("F_Amount", "数量"), col("F_TotalPrice", "金额")};
        cols[1].footer = FooterKind::Sum;
        cols[2].footer = FooterKind::Sum;
        cols[2].displayFormat = ",0.00##";
        model.setColumns(cols);
        QCOMPARE(model.footerText(2), QString("100.0003"));
        ApplyColumnFormats(cols, 1, PriceRemove, operatorSession("101", false), distinctFormats());
        model.setColumns(cols);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(GridAmountTotal(model), Money::fromUnits(1000003));

        // Chinese texts sort by pinyin: 扳手 ban, 电线 dian, 螺丝 luo.
        model.setColumns({col("F_GoodName"), col("F_TotalPrice"), col("F_Mem")});
        model.sort(0, Qt::AscendingOrder);
        QCOMPARE(QStringList({model.text(0, 0), model.text(1, 0), model.text(2, 0)}), QStringList({"扳手", "电线", "螺丝"}));
        model.sort(1, Qt::DescendingOrder);
        QCOMPARE(model.value(0, "F_GoodCode").toString(), QString("G001")); // equal amounts keep the statement's order
        QCOMPARE(model.value(2, "F_GoodCode").toString(), QString("G003"));
        QVERIFY(model.value(0, 2).isNull());
    }

    // A name that is a flag in one table and a number in another reads as the
    // listed table declares it, alike on both engines.
    void tableTypeHints_data() { addEngineRows(); }
    void tableTypeHints()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        GridModel model;
        model.setTypeHints(tableCellTypes("t_goods"));
        QVERIFY(model.openQuery(env.dm(), "SELECT F_Code, F_Flag FROM t_goods ORDER BY F_Code"));
        QCOMPARE(model.columnType(model.columnOf("F_Flag")), CellType::Bool);
        QCOMPARE(model.value(0, "F_Flag").typeId(), int(QMetaType::Bool));
        QCOMPARE(model.text(0, model.columnOf("F_Flag")), QString("否"));
    }

    // Large results arrive in slices; sums wait for the last row.
    void lazyFetch()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        {
            WriteTransaction tx(env.db());
            for (int i = 0; i < 5000; ++i)
                env.db().exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount, F_TotalPrice) VALUES (?, ?, 1, ?)",
                              {QString("CGD%1").arg(i, 5, 10, QChar('0')), QString("G%1").arg(i % 7), Money::fromUnits(i).toDb()});
            tx.commit();
        }
        GridModel model;
        QSignalSpy finished(&model, &GridModel::fetchFinished);
        QVERIFY(model.openQuery(env.dm(), "SELECT F_Code, F_TotalPrice FROM depotD ORDER BY F_Code"));
        GridColumns cols = {col("F_Code"), col("F_TotalPrice")};
        cols[1].footer = FooterKind::Sum;
        model.setColumns(cols);
        QVERIFY(!model.allFetched());
        QVERIFY(model.rowCount() < 5000);
        QCOMPARE(model.footerText(1), QString()); // not a partial sum
        QVERIFY(finished.wait(5000));
        QCOMPARE(model.rowCount(), 5000);
        QCOMPARE(model.fieldSum("F_TotalPrice").value<Money>(), Money::fromUnits(4999LL * 5000 / 2));
        QCOMPARE(model.value(4999, "F_Code").toString(), QString("CGD04999"));
        // Another statement on the same connection meanwhile does no harm.
        QVERIFY(model.openQuery(env.dm(), "SELECT F_Code FROM depotD"));
        QCOMPARE(env.dm().LookupInt("SELECT count(*) FROM depotD"), 5000);
        model.fetchAll();
        QCOMPARE(model.rowCount(), 5000);
    }

    void openFailure()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        GridModel model;
        QVERIFY(!model.openQuery(env.dm(), "SELECT nope FROM nowhere"));
        QCOMPARE(messages.texts(), QStringList({DataModule::openFailMessage()}));
        QCOMPARE(model.rowCount(), 0);
    }

    // Typed rows for document lines: edits by text, inserts and removals keep sums right.
    void editRows()
    {
        GridModel model;
        model.setFields({{"F_GoodName", CellType::Text}, {"F_Amount", CellType::Quantity},
                         {"F_Price", CellType::Price}, {"F_TotalPrice", CellType::Money}, {"F_Date", CellType::Date}});
        model.appendRow({"螺丝", 100.0, QVariant::fromValue(Money::fromUnits(5000)), QVariant::fromValue(Money::fromYuan(50)), QDate(2024, 3, 5)});
        model.appendRow({"扳手", 2.0, QVariant::fromValue(Money::fromYuan(25)), QVariant::fromValue(Money::fromYuan(50)), QVariant()});
        QCOMPARE(model.fieldSum("F_TotalPrice").value<Money>(), Money::fromYuan(100));
        QVERIFY(model.setValue(1, "F_TotalPrice", "1,234.5"));
        QCOMPARE(model.fieldSum("F_TotalPrice").value<Money>(), Money::fromUnits(12845000));
        QVERIFY(!model.setValue(1, "F_TotalPrice", 12));       // a bare number: yuan or units? refused
        QVERIFY(!model.setValue(1, "F_Amount", "abc"));
        QVERIFY(model.setValue(1, "F_Date", "2024-02-29"));
        QCOMPARE(model.value(1, "F_Date").toDate(), QDate(2024, 2, 29));
        QVERIFY(!model.setValue(1, "F_Date", "2023-02-29"));

        model.setColumns({col("F_GoodName"), col("F_TotalPrice")});
        model.sort(0, Qt::AscendingOrder); // 扳手 first
        QVERIFY(model.insertRows(1, 1));
        QVERIFY(model.setValue(1, "F_GoodName", "电线"));
        QVERIFY(model.setValue(1, "F_TotalPrice", QVariant::fromValue(Money::fromYuan(7))));
        QCOMPARE(QStringList({model.text(0, 0), model.text(1, 0), model.text(2, 0)}), QStringList({"扳手", "电线", "螺丝"}));
        QVERIFY(model.removeRows(0, 1));
        QCOMPARE(QStringList({model.text(0, 0), model.text(1, 0)}), QStringList({"电线", "螺丝"}));
        QCOMPARE(model.fieldSum("F_TotalPrice").value<Money>(), Money::fromYuan(57));
        QCOMPARE(model.value(1, "F_Amount").toDouble(), 100.0);
    }
};

QTEST_GUILESS_MAIN(TestGrid)
#include "test_grid.moc"
