// The report engine without widgets: expressions, pagination, text fitting,
// layout files, default layouts, PDF output and the variable provider.
#include "DataModule.h"
#include "Fixture.h"
#include "MoneyText.h"
#include "ReportEngine.h"
#include "ReportExpression.h"
#include "ReportPainter.h"
#include "TestKit.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardItemModel>

using namespace korvan;
using namespace korvan::test;

namespace {

QVariant money(const char *text) { return QVariant::fromValue(*Money::parse(QString::fromUtf8(text))); }

// A small evaluation context: one record of fields, a few variables, fixed aggregates.
class FixedContext : public ReportEvalContext {
public:
    QVariantMap fields, variables;
    QVariant field(const QString &ds, const QString &f) const override { return fields.value(ds.toLower() + "." + f.toLower()); }
    QVariant variable(const QString &name) const override { return variables.value(name); }
    QVariant aggregate(const AggregateCall &) const override { return money("1234.5"); }
};

// Lines of a document: code, name, quantity, price, amount (money).
std::shared_ptr<TableDataSet> makeLines(int count)
{
    auto ds = std::make_shared<TableDataSet>(QStringList{"F_GoodCode", "F_GoodName", "F_Amount", "F_Price", "F_TotalPrice"});
    for (int i = 1; i <= count; ++i)
        ds->addRow({QString("G%1").arg(i, 3, 10, QChar('0')), QString("货品%1").arg(i), double(i),
                    money("2.50"), QVariant::fromValue(Money::parse("2.50")->times(i))});
    return ds;
}

std::shared_ptr<TableDataSet> makeHeader()
{
    auto ds = std::make_shared<TableDataSet>(QStringList{"F_Code", "F_MakeDate", "F_Client", "F_Depot", "F_EmpName",
                                                         "F_Mem", "F_Maker", "F_Auditer", "F_TotalPrice", "F_ID"});
    ds->addRow({"CDD20240305001", QDate(2024, 3, 5), "华强五金", "北仓", "张三", "加急", "王五", "", money("100"), 7});
    return ds;
}

ReportData documentData(int lines, int pageMaxRow, bool noPrices = false)
{
    ReportData d;
    d.set("frxDM", makeHeader());
    d.set("frxDD", makeLines(lines));
    d.hidePrices = noPrices;
    d.variable = [pageMaxRow](const QString &n) -> QVariant {
        if (n == "PageMaxRow") return pageMaxRow;
        if (n == "bsPhone") return "0755-1234567";
        if (n == "bsFax") return "0755-7654321";
        if (n == "sCurKHname") return "科文贸易有限公司";
        return {};
    };
    return d;
}

ReportLayout documentLayout(bool noPrices = false)
{
    DefaultLayoutOptions o;
    o.title = "采购订单";
    o.noPrices = noPrices;
    const auto header = makeHeader();
    const auto lines = makeLines(1);
    return defaultDocumentLayout("frCaigouInddDept", *header, lines.get(), o);
}

QList<PlacedBand> bandsOf(const ReportPage &p, BandKind kind)
{
    QList<PlacedBand> out;
    for (const PlacedBand &b : p.bands)
        if (b.kind == kind) out << b;
    return out;
}

// The texts of one placed band, left to right.
QStringList textsIn(const ReportPage &p, const PlacedBand &b)
{
    QList<PageText> in;
    for (const PageText &t : p.texts)
        if (t.rect.top() >= b.top && t.rect.bottom() < b.top + b.height) in << t;
    std::sort(in.begin(), in.end(), [](const PageText &a, const PageText &c) { return a.rect.left() < c.rect.left(); });
    QStringList out;
    for (const PageText &t : in) out << t.text;
    return out;
}

QString allText(const ReportDocument &doc)
{
    QStringList out;
    for (const ReportPage &p : doc.pages)
        for (const PageText &t : p.texts) out << t.text;
    return out.join('\n');
}

QString extractPdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void expressions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("format");
        QTest::newRow("field quoted") << "单号：[frxDM.\"F_Code\"]" << "单号：CDD001" << "";
        QTest::newRow("field bare, any case") << "[FRXdm.f_code]" << "CDD001" << "";
        QTest::newRow("money exact") << "[frxDD.F_Price + 0.1 + 0.2]" << "0.30" << ",0.00";
        QTest::newRow("money times quantity") << "[frxDD.F_Price * frxDD.F_Amount]" << "0.33" << "";
        QTest::newRow("money default shows cents") << "[frxDD.F_Price]" << "0.00" << "";
        QTest::newRow("number format") << "[1234567.891]" << "1,234,567.89" << ",0.00";
        QTest::newRow("integer arithmetic") << "[(2 + 3) * 4 - 6 / 4]" << "18.5" << "";
        QTest::newRow("concatenation") << "[frxDM.F_Code + '-' + 7]" << "CDD001-7" << "";
        QTest::newRow("quote inside string") << "[FORMAT('O''Neil', '')]" << "O'Neil" << "";
        QTest::newRow("variable") << "电话：[bsPhone]" << "电话：0755-1234567" << "";
        QTest::newRow("unanswered variable") << "[sLinkMan]" << "" << "";
        QTest::newRow("null arithmetic") << "[sLinkMan * 2]" << "" << "";
        QTest::newRow("division by zero") << "[5 / 0]" << "" << "";
        QTest::newRow("iif") << "[IIF(frxDD.F_Amount > 1, '多', '少')]" << "多" << "";
        QTest::newRow("and or not") << "[IIF(not (1 = 2) and (1 < 2 or 0), 'y', 'n')]" << "y" << "";
        QTest::newRow("date default") << "[frxDM.F_MakeDate]" << "2024-03-05" << "";
        QTest::newRow("date format") << "[frxDM.F_MakeDate]" << "2024年03月05日" << "yyyy年MM月dd日";
        QTest::newRow("text date with date format") << "[frxDM.F_TextDate]" << "2024年03月06日" << "yyyy年MM月dd日";
        QTest::newRow("FORMAT") << "[FORMAT(frxDD.F_Amount, '0.000')]" << "3.300" << "";
        QTest::newRow("MoneyMinToBig money") << "[MoneyMinToBig(frxDM.F_TotalPrice)]" << "壹佰零拾零元整" << "";
        QTest::newRow("MoneyMinToBig number") << "[MoneyMinToBig(123.45)]" << "壹佰贰拾叁元肆角伍分" << "";
        QTest::newRow("MoneyMinToBig any case") << "[moneymintobig(0.05)]" << "零元零角伍分" << "";
        QTest::newRow("MoneyMinToBig of nothing") << "[MoneyMinToBig(sLinkMan)]" << "" << "";
        QTest::newRow("aggregate") << "[SUM(frxDD.F_TotalPrice)]" << "1,234.50" << ",0.00";
        QTest::newRow("escaped bracket") << "[[注] [frxDM.F_Code]" << "[注] CDD001" << "";
        QTest::newRow("syntax error prints as written") << "合计 [1 +] 元" << "合计 [1 +] 元" << "";
        QTest::newRow("unknown function prints as written") << "[Foo(1)]" << "[Foo(1)]" << "";
        QTest::newRow("unclosed bracket is text") << "a [b" << "a [b" << "";
        QTest::newRow("boolean") << "[1 = 1]" << "是" << "";
    }
    void expressions()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, format);
        FixedContext ctx;
        ctx.fields = {{"frxdm.f_code", "CDD001"}, {"frxdm.f_makedate", QDate(2024, 3, 5)}, {"frxdm.f_textdate", "2024-03-06"},
                      {"frxdm.f_totalprice", money("100")}, {"frxdd.f_price", money("0")}, {"frxdd.f_amount", 3.3}};
        ctx.fields["frxdd.f_price"] = money("0.10");
        if (QTest::currentDataTag() == QByteArray("money exact") || QTest::currentDataTag() == QByteArray("money default shows cents"))
            ctx.fields["frxdd.f_price"] = money("0");
        ctx.variables = {{"bsPhone", "0755-1234567"}};
        QCOMPARE(ReportText::compile(text).render(ctx, format), expected);
    }

    void aggregatesStayExact()
    {
        AggregateValue sum;
        for (int i = 0; i < 10; ++i) sum.add(money("0.10"));
        QCOMPARE(sum.result(AggregateCall::Sum).value<Money>(), *Money::parse("1.00"));
        QCOMPARE(sum.result(AggregateCall::Count).toLongLong(), 10);
        QCOMPARE(sum.result(AggregateCall::Avg).value<Money>(), *Money::parse("0.10"));
        AggregateValue none;
        QVERIFY(none.result(AggregateCall::Sum).isNull());
    }

    // Rows per page with filler rows, headers repeated, subtotals, order.
    void documentPagination_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pageMaxRow");
        QTest::addColumn<int>("pages");
        QTest::newRow("one line, five a page") << 1 << 5 << 1;
        QTest::newRow("exactly full") << 5 << 5 << 1;
        QTest::newRow("one over") << 6 << 5 << 2;
        QTest::newRow("many pages") << 23 << 5 << 5;
        QTest::newRow("twenty a page") << 41 << 20 << 3;
        QTest::newRow("no lines") << 0 << 5 << 1;
    }
    void documentPagination()
    {
        QFETCH(int, lines);
        QFETCH(int, pageMaxRow);
        QFETCH(int, pages);
        const ReportLayout layout = documentLayout();
        const ReportDocument doc = paginateReport(layout, documentData(lines, pageMaxRow));
        QVERIFY2(doc.errors.isEmpty(), qPrintable(doc.errors.join('\n')));
        QCOMPARE(doc.pageCount(), pages);
        int next = 0;
        for (int p = 0; p < doc.pageCount(); ++p) {
            const ReportPage &page = doc.pages[p];
            const QList<PlacedBand> rows = bandsOf(page, BandKind::Detail);
            QCOMPARE(rows.size(), pageMaxRow); // always exactly PageMaxRow rows, blank filler on the last
            Money pageSum;
            for (const PlacedBand &r : rows) {
                if (r.filler) {
                    QCOMPARE(p, pages - 1);
                    QCOMPARE(textsIn(page, r), QStringList());
                    continue;
                }
                QCOMPARE(r.row, next++);
                pageSum += Money::parse("2.50")->times(r.row + 1);
                QCOMPARE(textsIn(page, r).value(1), QString("G%1").arg(r.row + 1, 3, 10, QChar('0')));
            }
            QCOMPARE(bandsOf(page, BandKind::PageHeader).size(), 1);
            QCOMPARE(bandsOf(page, BandKind::ColumnHeader).size(), 1);
            // The page subtotal counts the rows placed on this page.
            const QList<PlacedBand> foot = bandsOf(page, BandKind::PageFooter);
            QCOMPARE(foot.size(), 1);
            const QStringList subtotal = textsIn(page, foot.first());
            QCOMPARE(subtotal.first(), QString("本页小计"));
            if (lines > 0) QCOMPARE(subtotal.last(), NumberFormat(",0.00").format(pageSum));
            else QCOMPARE(subtotal.size(), 1); // a blank form prints no sums
            // Bands follow one another and stay inside the page's printable area.
            int y = layout.page.top;
            for (const PlacedBand &b : page.bands) {
                QVERIFY(b.top >= y);
                y = b.top + b.height;
            }
            QVERIFY(y <= layout.page.height - layout.page.bottom);
            QCOMPARE(bandsOf(page, BandKind::Summary).size(), p == pages - 1 ? 1 : 0);
        }
        QCOMPARE(next, lines);
        // Page i of n, the grand total in capitals.
        const QString text = allText(doc);
        QVERIFY(text.contains(QString("第%1页/共%1页").arg(pages)));
        Money total;
        for (int i = 1; i <= lines; ++i) total += Money::parse("2.50")->times(i);
        if (lines > 0) QVERIFY(text.contains("金额合计（大写）：" + MoneyMinToBig(total)));
    }

    // Without fixed rows a list breaks when the page is full; the page footer
    // stays at the foot of the page and no row overlaps it.
    void listPagination_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("one") << 1;
        QTest::newRow("hundreds") << 250;
    }
    void listPagination()
    {
        QFETCH(int, rows);
        auto data = makeLines(rows);
        DefaultLayoutOptions o;
        o.title = "货品资料";
        const ReportLayout layout = korvan::defaultListLayout("frGoodMan", *data, o);
        ReportData d;
        d.set("frxDM", data);
        const ReportDocument doc = paginateReport(layout, d);
        const int footTop = layout.page.height - layout.page.bottom - layout.band(BandKind::PageFooter)->height;
        int next = 0;
        for (int p = 0; p < doc.pageCount(); ++p) {
            const ReportPage &page = doc.pages[p];
            QCOMPARE(bandsOf(page, BandKind::ColumnHeader).size(), 1);
            QCOMPARE(bandsOf(page, BandKind::Title).size(), p == 0 ? 1 : 0);
            for (const PlacedBand &b : page.bands) {
                if (b.kind == BandKind::PageFooter) QCOMPARE(b.top, footTop);
                else QVERIFY(b.top + b.height <= footTop);
                if (b.kind == BandKind::Detail) QCOMPARE(b.row, next++);
            }
            const QStringList foot = textsIn(page, bandsOf(page, BandKind::PageFooter).first());
            QCOMPARE(foot, QStringList{QString("第%1页 共%2页").arg(p + 1).arg(doc.pageCount())});
            // Nothing printed leaves its page's printable width.
            for (const PageText &t : page.texts)
                QVERIFY(t.rect.right() < layout.page.width - layout.page.right + kCellPadding);
        }
        QCOMPARE(next, rows);
        if (rows > 100) QVERIFY(doc.pageCount() > 2);
    }

    // Group header and footer with group totals; page totals follow the row
    // that moved to the next page.
    void groupsAndPageTotals()
    {
        auto ds = std::make_shared<TableDataSet>(QStringList{"F_Client", "F_TotalPrice"});
        const QStringList clients = {"甲", "甲", "甲", "乙", "乙", "丙"};
        for (int i = 0; i < clients.size(); ++i) ds->addRow({clients[i], QVariant::fromValue(Money::fromYuan(i + 1))});
        ReportLayout l;
        l.page = PageSetup{10000, 6000, 500, 500, 500, 500}; // room for a few bands only
        auto band = [](BandKind k, int h, const QString &text) {
            ReportBand b;
            b.kind = k;
            b.height = h;
            ReportItem it;
            it.w = 8000;
            it.h = h;
            it.text = text;
            b.items << it;
            return b;
        };
        ReportBand gh = band(BandKind::GroupHeader, 500, "组 [frxDM.F_Client]");
        gh.condition = "frxDM.F_Client";
        l.setBand(gh);
        l.setBand(band(BandKind::Detail, 500, "[frxDM.F_Client] [frxDM.F_TotalPrice]"));
        l.setBand(band(BandKind::GroupFooter, 500, "组计 [SUM(frxDM.F_TotalPrice)] 行 [COUNT()]"));
        l.setBand(band(BandKind::PageFooter, 500, "页计 [SUM(frxDM.F_TotalPrice)]"));
        l.setBand(band(BandKind::Summary, 500, "总计 [SUM(frxDM.F_TotalPrice)]"));
        ReportData d;
        d.set("frxDM", ds);
        const ReportDocument doc = paginateReport(l, d);
        QVERIFY(doc.pageCount() >= 2);
        QStringList seen;
        int rowsCounted = 0;
        for (const ReportPage &p : doc.pages) {
            Money pageSum;
            for (const PlacedBand &b : p.bands) {
                const QString t = textsIn(p, b).join(' ');
                if (b.kind == BandKind::Detail) {
                    pageSum += Money::fromYuan(b.row + 1);
                    ++rowsCounted;
                }
                if (b.kind == BandKind::PageFooter) QCOMPARE(t, "页计 " + pageSum.toShortString() + ".00");
                else if (b.kind != BandKind::Detail) seen << t;
            }
        }
        QCOMPARE(rowsCounted, 6);
        QCOMPARE(seen, (QStringList{"组 甲", "组计 6.00 行 3", "组 乙", "组计 9.00 行 2", "组 丙", "组计 6.00 行 1", "总计 21.00"}));
    }

    // Text never leaves its cell, whatever the overflow rule.
    void textFitting_data()
    {
        QTest::addColumn<int>("overflow");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        const QString longText = "华强五金电料有限公司深圳分公司 Shenzhen Branch 1234567890";
        for (int o : {int(Overflow::Shrink), int(Overflow::Wrap), int(Overflow::Clip)}) {
            QTest::addRow("long %d", o) << o << longText << 2000 << 500;
            QTest::addRow("very narrow %d", o) << o << longText << 300 << 400;
            QTest::addRow("short %d", o) << o << "螺丝" << 2000 << 500;
            QTest::addRow("several lines %d", o) << o << "一\n二\n三\n四\n五" << 2000 << 500;
        }
    }
    void textFitting()
    {
        QFETCH(int, overflow);
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        ReportFont font;
        font.size = 10;
        const FittedText f = fitReportText(text, font, width, height, Overflow(overflow));
        const QStringList lines = f.text.split('\n');
        ReportFont used = font;
        QVERIFY(f.size <= font.size);
        for (const QString &l : lines) QVERIFY2(reportTextWidth(l, used, f.size) <= width - 2 * kCellPadding, qPrintable(l));
        if (!f.text.isEmpty()) QVERIFY(lines.size() * reportLineHeight(used, f.size) <= height + 0.5);
        if (text == "螺丝") QCOMPARE(f.text, text);
        if (Overflow(overflow) == Overflow::Shrink && text.size() > 20 && width == 2000) QVERIFY(f.size < font.size);
        if (Overflow(overflow) == Overflow::Clip && text.size() > 20 && !f.text.isEmpty()) QVERIFY(f.text.endsWith(QChar(0x2026)));
    }

    // Painted, the fitted text stays inside its cell: no ink outside it.
    void paintedTextStaysInItsCell_data()
    {
        QTest::addColumn<int>("overflow");
        QTest::addColumn<int>("align");
        QTest::newRow("shrink right") << int(Overflow::Shrink) << int(Qt::AlignRight | Qt::AlignVCenter);
        QTest::newRow("wrap centre") << int(Overflow::Wrap) << int(Qt::AlignCenter);
        QTest::newRow("clip left") << int(Overflow::Clip) << int(Qt::AlignLeft | Qt::AlignBottom);
    }
    void paintedTextStaysInItsCell()
    {
        QFETCH(int, overflow);
        QFETCH(int, align);
        ReportLayout l;
        l.page = PageSetup{6000, 3000, 1000, 1000, 1000, 1000};
        ReportBand b;
        b.kind = BandKind::Title;
        b.height = 1000;
        ReportItem it;
        it.x = 500;
        it.y = 200;
        it.w = 2000;
        it.h = 600;
        it.text = "华强五金电料有限公司 WWWWWWWW 1,234,567.89 深圳分公司";
        it.font.size = 12;
        it.font.bold = true;
        it.align = align;
        it.overflow = Overflow(overflow);
        b.items << it;
        l.setBand(b);
        const ReportDocument doc = paginateReport(l, ReportData());
        QCOMPARE(doc.pages.first().texts.size(), 1);
        const double dpi = 600;
        const QImage img = ReportPainter::renderPage(doc, 0, dpi);
        const double px = dpi / 2540;
        const QRect cell(qFloor((1000 + it.x) * px) - 1, qFloor((1000 + it.y) * px) - 1, qCeil(it.w * px) + 3, qCeil(it.h * px) + 3);
        int inside = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if (qGray(img.pixel(x, y)) > 200) continue;
                QVERIFY2(cell.contains(x, y), qPrintable(QString("ink at %1,%2 outside %3,%4 %5x%6").arg(x).arg(y)
                                                             .arg(cell.x()).arg(cell.y()).arg(cell.width()).arg(cell.height())));
                ++inside;
            }
        QVERIFY(inside > 100);
    }

    // Unknown keys at every level survive a load and save.
    void layoutRoundTrip()
    {
        const ReportLayout original = documentLayout();
        const QByteArray json = original.toJson();
        auto back = ReportLayout::fromJson(json);
        QVERIFY(back);
        QCOMPARE(back->toJson(), json);

        QJsonObject root = QJsonDocument::fromJson(json).object();
        root["futureRoot"] = "r";
        QJsonObject page = root["page"].toObject();
        page["paperName"] = "A4";
        root["page"] = page;
        QJsonArray bands = root["bands"].toArray();
        QJsonObject band0 = bands[0].toObject();
        band0["futureBand"] = 1;
        QJsonArray items = band0["items"].toArray();
        QJsonObject item0 = items[0].toObject();
        item0["futureItem"] = QJsonArray{1, 2};
        items[0] = item0;
        band0["items"] = items;
        bands[0] = band0;
        root["bands"] = bands;
        QTemporaryDir dir;
        const QString path = dir.filePath("Qr/x.json");
        auto withExtras = ReportLayout::fromJson(QJsonDocument(root).toJson());
        QVERIFY(withExtras);
        withExtras->bands[0].items[0].x += 100; // an edit between load and save
        QVERIFY(withExtras->save(path));
        auto reread = ReportLayout::load(path);
        QVERIFY(reread);
        const QJsonObject r = QJsonDocument::fromJson(reread->toJson()).object();
        QCOMPARE(r["futureRoot"].toString(), QString("r"));
        QCOMPARE(r["page"].toObject()["paperName"].toString(), QString("A4"));
        QCOMPARE(r["page"].toObject()["width"].toInt(), original.page.width);
        const QJsonObject b0 = r["bands"].toArray()[0].toObject();
        QCOMPARE(b0["futureBand"].toInt(), 1);
        QCOMPARE(b0["items"].toArray()[0].toObject()["futureItem"].toArray().size(), 2);
        QCOMPARE(reread->bands[0].items[0].x, original.bands[0].items[0].x + 100);
    }

    void layoutFileErrors_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not json") << QByteArray("{nope");
        QTest::newRow("other format") << QByteArray(R"({"format":"x","version":1})");
        QTest::newRow("newer version") << QByteArray(R"({"format":"korvan-report","version":99})");
        QTest::newRow("unknown band") << QByteArray(R"({"format":"korvan-report","version":1,"bands":[{"kind":"sideBar"}]})");
        QTest::newRow("no paper") << QByteArray(R"({"format":"korvan-report","version":1,"page":{"width":0}})");
    }
    void layoutFileErrors()
    {
        QFETCH(QByteArray, content);
        QString error;
        QVERIFY(!ReportLayout::fromJson(content, &error));
        QVERIFY(!error.isEmpty());
    }

    void defaultDocumentLayout_data()
    {
        QTest::addColumn<bool>("noPrices");
        QTest::newRow("with prices") << false;
        QTest::newRow("no prices") << true;
    }
    void defaultDocumentLayout()
    {
        QFETCH(bool, noPrices);
        const ReportLayout l = documentLayout(noPrices);
        QStringList texts;
        for (const ReportBand &b : l.bands)
            for (const ReportItem &it : b.items) texts << it.text;
        const QString all = texts.join('|');
        for (const char *expected : {"单号：[frxDM.\"F_Code\"]", "供应商：[frxDM.\"F_Client\"]", "仓库：", "业务员：",
                                     "备注：", "[bsPhone]", "[bsFax]", "[sCurKHname]", "采购订单", "[Line]",
                                     "[frxDD.\"F_GoodCode\"]", "[frxDD.\"F_Amount\"]", "本页小计", "制单人："})
            QVERIFY2(all.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!all.contains("F_ID"));
        QCOMPARE(l.band(BandKind::Detail)->rowsPerPage, QString("PageMaxRow"));
        QCOMPARE(l.band(BandKind::Detail)->dataSet, QString("frxDD"));
        QVERIFY(!l.band(BandKind::PageFooter)->atBottom);
        QCOMPARE(all.contains("MoneyMinToBig"), !noPrices);
        QCOMPARE(all.contains("price", Qt::CaseInsensitive), !noPrices);
        // The table fills the printable width exactly.
        const ReportBand *detail = l.band(BandKind::Detail);
        QCOMPARE(detail->items.last().x + detail->items.last().w, l.page.contentWidth());
    }

    void defaultListLayout()
    {
        auto ds = std::make_shared<TableDataSet>(QStringList{"F_Code", "F_Name", "F_EnterPrice", "F_BegAmount"});
        ReportColumn code{"F_Code", "编号", 90};
        ReportColumn name{"F_Name", "名称", 160};
        name.footer = ReportColumn::FooterText;
        name.footerText = "[共计]";
        ReportColumn price{"F_EnterPrice", "成本单价", 80, ",0.00", Qt::AlignRight};
        ReportColumn qty{"F_BegAmount", "期初总量", 80, "0.##", Qt::AlignRight, ReportColumn::FooterSum};
        ds->setColumns({code, name, price, qty});
        ds->addRow({"G001", "螺丝", money("0.5"), 10.5});
        ds->addRow({"G002", "扳手", money("25"), 2.0});
        for (bool noPrices : {false, true}) {
            DefaultLayoutOptions o;
            o.title = "货品资料";
            o.noPrices = noPrices;
            const ReportLayout l = korvan::defaultListLayout("frGoodMan", *ds, o);
            QStringList captions;
            for (const ReportItem &it : l.band(BandKind::ColumnHeader)->items) captions << it.text;
            QCOMPARE(captions, noPrices ? QStringList({"编号", "名称", "期初总量"}) : QStringList({"编号", "名称", "成本单价", "期初总量"}));
            QStringList title;
            for (const ReportItem &it : l.band(BandKind::Title)->items) title << it.text;
            QCOMPARE(title, (QStringList{"[sCurKHname]", "货品资料", "[memoDate]", "[memoCaption]"}));
            ReportData d;
            d.set("frxDM", ds);
            d.hidePrices = noPrices;
            d.variable = [](const QString &n) { return n == "memoDate" ? QVariant("统计日期：自 启用系统 至 记帐最后一天") : QVariant(); };
            const ReportDocument doc = paginateReport(l, d);
            const ReportPage &p = doc.pages.first();
            QCOMPARE(textsIn(p, bandsOf(p, BandKind::Detail).first()),
                     noPrices ? QStringList({"G001", "螺丝", "10.5"}) : QStringList({"G001", "螺丝", "0.50", "10.5"}));
            QCOMPARE(textsIn(p, bandsOf(p, BandKind::Summary).first()), (QStringList{"合计", "[共计]", "12.5"}));
            QVERIFY(allText(doc).contains("统计日期：自 启用系统 至 记帐最后一天"));
        }
    }

    // The no-price variant prints no price even when its layout asks for one.
    void noPricesBlanksDesignedPrices()
    {
        ReportData d = documentData(3, 5, true);
        d.variable = [](const QString &n) { return n == "memoPrice" ? QVariant("壹佰元整") : QVariant("x"); };
        const ReportDocument doc = paginateReport(documentLayout(false), d);
        const QString text = allText(doc);
        QVERIFY(!text.contains("2.50"));
        QVERIFY(!text.contains("壹"));
        QVERIFY(text.contains("G003"));
        ReportLayout l;
        ReportBand b;
        b.kind = BandKind::Title;
        ReportItem it;
        it.text = "[memoPrice]|[frxDM.F_TotalPrice]|[MoneyMinToBig(frxDM.F_TotalPrice)]|[frxDM.F_Code]";
        it.w = 15000;
        b.items << it;
        l.setBand(b);
        QCOMPARE(allText(paginateReport(l, d)), QString("|||CDD20240305001"));
    }

    void gridPrintLayout_data()
    {
        QTest::addColumn<int>("fitMode");
        QTest::newRow("rows grow") << 0;
        QTest::newRow("column widths") << 1;
    }
    void gridPrintLayout()
    {
        QFETCH(int, fitMode);
        QStandardItemModel model(3, 3);
        const QString longName = "一个很长很长的货品名称，需要在打印时换行显示，而不是超出它的格子";
        for (int r = 0; r < 3; ++r) {
            model.setData(model.index(r, 0), QString("G%1").arg(r));
            model.setData(model.index(r, 1), r == 1 ? longName : QString("短"));
            model.setData(model.index(r, 2), QVariant::fromValue(Money::fromYuan(r + 1)));
        }
        model.setData(model.index(2, 0), QColor(Qt::red), Qt::ForegroundRole);
        // Visible columns in screen order: the grid shows the amount before the name.
        ReportColumn c0{"F_Code", "编号", 60};
        ReportColumn c2{"F_TotalPrice", "金额", 80, ",0.00", Qt::AlignRight, ReportColumn::FooterSum};
        c2.modelColumn = 2;
        ReportColumn c1{"F_Name", "名称", 100};
        c1.modelColumn = 1;
        c0.modelColumn = 0;
        c0.footer = ReportColumn::FooterText;
        c0.footerText = "合计";
        GridPrintOptions o;
        o.title = "选项设置";
        o.fitMode = fitMode;
        o.footer = "date";
        o.header = "统计日期：自 启用系统 至 记帐最后一天";
        o.today = QDate(2024, 3, 5);
        const ReportJob job = ReportJob::grid(&model, {c0, c2, c1}, o);
        const ReportDocument doc = job.paginate();
        QCOMPARE(doc.pageCount(), 1);
        const ReportPage &p = doc.pages.first();
        QCOMPARE(textsIn(p, bandsOf(p, BandKind::Title).first()), QStringList{"选项设置"});
        QCOMPARE(bandsOf(p, BandKind::Title).first().height, 1900); // empty line, title, empty line
        QCOMPARE(textsIn(p, bandsOf(p, BandKind::PageHeader).first()), QStringList{o.header});
        QCOMPARE(textsIn(p, bandsOf(p, BandKind::PageFooter).first()), (QStringList{"第1页 共1页", "打印日期：2024年03月05日"}));
        QCOMPARE(textsIn(p, bandsOf(p, BandKind::ColumnHeader).first()), (QStringList{"编号", "金额", "名称"}));
        const QList<PlacedBand> rows = bandsOf(p, BandKind::Detail);
        QCOMPARE(textsIn(p, rows[0]), (QStringList{"G0", "1.00", "短"}));
        QCOMPARE(textsIn(p, bandsOf(p, BandKind::Summary).first()), (QStringList{"合计", "6.00"}));
        // Fitted to the page width.
        const ReportBand *detail = job.layout.band(BandKind::Detail);
        QCOMPARE(detail->items.last().x + detail->items.last().w, job.layout.page.contentWidth());
        // Rows grow to show the long name whole, or the name shrinks into its cell.
        const QString printed = textsIn(p, rows[1]).last();
        if (fitMode == 0) {
            QVERIFY(rows[1].height > rows[0].height);
            QCOMPARE(QString(printed).remove('\n'), longName);
        } else {
            QCOMPARE(rows[1].height, rows[0].height);
        }
        // The grid's row colours print.
        bool red = false;
        for (const PageText &t : p.texts) red = red || (t.text == "G2" && t.color == QColor(Qt::red));
        QVERIFY(red);
    }

    // Real PDFs: Chinese, codes and amounts extract as text; the no-price
    // variant holds no price.
    void pdfText_data()
    {
        QTest::addColumn<bool>("noPrices");
        QTest::newRow("prices") << false;
        QTest::newRow("no prices") << true;
    }
    void pdfText()
    {
        QFETCH(bool, noPrices);
        QTemporaryDir dir;
        const QString path = dir.filePath("order.pdf");
        const ReportDocument doc = paginateReport(documentLayout(noPrices), documentData(7, 5, noPrices));
        QVERIFY(writeReportPdf(doc, path));
        const QString text = extractPdfText(path);
        if (qEnvironmentVariableIsSet("KORVAN_KEEP_PDF")) QFile::copy(path, qEnvironmentVariable("KORVAN_KEEP_PDF"));
        for (const char *s : {"科文贸易有限公司", "采购订单", "CDD20240305001", "华强五金", "G007", "货品7", "本页小计",
                              "0755-1234567", "第2页/共2页", "2024-03-05"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
        const QStringList amounts = {"17.50", "37.50", "70.00", "柒拾零元整"};
        for (const QString &a : amounts) QVERIFY2(text.contains(a) == !noPrices, qPrintable(a + "\n" + text));
        QCOMPARE(text.contains("单价"), !noPrices);
    }

    // The default answers, a window's provider in front of them, and the
    // provider kept until the next window replaces it.
    void variableProvider()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        env.dm().setPrintRows(8);
        env.dm().session().companyPhone = "0755-1";
        env.dm().session().companyFax = "0755-2";
        DataModule::setInstance(&env.dm());
        SetReportVariableProvider({});
        QCOMPARE(DefaultReportVariable("PageMaxRow").toInt(), 8);
        QCOMPARE(CurrentReportVariables()("bsPhone").toString(), QString("0755-1"));
        QCOMPARE(CurrentReportVariables()("bsFax").toString(), QString("0755-2"));
        QVERIFY(!CurrentReportVariables()("sCurKHname").isValid());
        SetReportVariableProvider(ReportVariablesFromMap({{"sCurKHname", "科文"}, {"PageMaxRow", 6}}));
        QCOMPARE(CurrentReportVariables()("sCurKHname").toString(), QString("科文"));
        QCOMPARE(CurrentReportVariables()("pagemaxrow").toInt(), 6);
        QCOMPARE(CurrentReportVariables()("bsFax").toString(), QString("0755-2"));
        // A job keeps the provider it was made with.
        const auto header = makeHeader();
        const auto lines = makeLines(7);
        const ReportJob job = ReportJob::document("frCaigouInddDept", *header, lines.get());
        SetReportVariableProvider({});
        QCOMPARE(bandsOf(job.paginate().pages.first(), BandKind::Detail).size(), 6);
        DataModule::setInstance(nullptr);
    }

    // Layout file when present, the default otherwise; a broken file falls
    // back to the default and says so.
    void layoutFileOrDefault()
    {
        QTemporaryDir dir;
        const QString before = AppSettings::applicationDir();
        AppSettings::setApplicationDir(dir.path());
        const auto data = makeLines(2);
        ReportJob job = ReportJob::list("frGoodMan", *data);
        QVERIFY(!job.layoutFromFile);
        QCOMPARE(job.layout.title, QString("货品资料"));
        QCOMPARE(job.layoutPath(), QDir(dir.path()).filePath("Qr/frGoodMan.json"));
        job.layout.band(BandKind::Title)->items[1].text = "自定义标题";
        QVERIFY(job.saveLayout());
        ReportJob again = ReportJob::list("frGoodMan", *data);
        QVERIFY(again.layoutFromFile);
        QVERIFY(allText(again.paginate()).contains("自定义标题"));
        // The price suffix names the no-price variant.
        ReportJob variant = ReportJob::list("frGoodMan1", *data);
        QVERIFY(!variant.layoutFromFile);
        QVERIFY(variant.data.hidePrices);
        QVERIFY(!allText(variant.paginate()).contains("2.50"));
        QFile broken(ReportLayoutPath("frSupMan"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("garbage");
        broken.close();
        ReportJob fallback = ReportJob::list("frSupMan", *data);
        QVERIFY(!fallback.layoutFromFile);
        QVERIFY(fallback.loadError.contains("frSupMan.json"));
        QCOMPARE(fallback.layout.title, QString("供应商资料列表"));
        AppSettings::setApplicationDir(before);
    }

    // A saved order read from the database on each engine prints to PDF with
    // its amounts exact.
    void documentFromDatabase_data() { addEngineRows(); }
    void documentFromDatabase()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        QSqlQuery h = env.db().query("SELECT * FROM ddDepotM WHERE F_Code = ?", {"CDD20240305001"});
        QSqlQuery l = env.db().query("SELECT * FROM ddDepotD WHERE F_Code = ? ORDER BY F_ID", {"CDD20240305001"});
        const auto header = TableDataSet::fromQuery(h);
        const auto lines = TableDataSet::fromQuery(l);
        QCOMPARE(lines->rowCount(), 2);
        QCOMPARE(lines->value(0, lines->columnIndex("F_TotalPrice")).value<Money>(), Money::fromYuan(50));
        DefaultLayoutOptions o;
        o.title = "采购订单";
        const ReportLayout layout = korvan::defaultDocumentLayout("frCaigouInddDept", *header, lines.get(), o);
        ReportData d;
        d.set("frxDM", header);
        d.set("frxDD", lines);
        QTemporaryDir dir;
        QVERIFY(writeReportPdf(paginateReport(layout, d), dir.filePath("o.pdf")));
        const QString text = extractPdfText(dir.filePath("o.pdf"));
        for (const char *s : {"CDD20240305001", "华强五金", "G001", "螺丝", "100.00", "壹佰零拾零元整"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
