// Paginates and writes 1,000-page PDFs (a list and a document) and prints
// the times. Run by hand: bench_report [pages [folder to keep the PDFs in]]
#include "ReportEngine.h"
#include "ReportPainter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace korvan;

namespace {

std::shared_ptr<TableDataSet> goods(int rows)
{
    auto ds = std::make_shared<TableDataSet>(QStringList{"F_GoodCode", "F_GoodName", "F_Spec", "F_Unit", "F_Amount", "F_Price", "F_TotalPrice", "F_Mem"});
    QList<ReportColumn> cols;
    const char *captions[] = {"货品编号", "货品名称", "规格", "单位", "数量", "单价", "金额", "备注"};
    for (int c = 0; c < ds->columnCount(); ++c) {
        ReportColumn rc;
        rc.field = ds->columnName(c);
        rc.caption = QString::fromUtf8(captions[c]);
        rc.width = c == 1 ? 160 : 80;
        if (c >= 4 && c <= 6) {
            rc.alignment = Qt::AlignRight;
            rc.format = c == 4 ? QStringLiteral("0.##") : QStringLiteral(",0.00");
            if (c != 5) rc.footer = ReportColumn::FooterSum;
        }
        cols << rc;
    }
    ds->setColumns(cols);
    for (int i = 0; i < rows; ++i) {
        const Money price = Money::fromUnits(12345 + i % 1000 * 37);
        const double qty = 1 + i % 17;
        ds->addRow({QStringLiteral("G%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("货品名称%1 不锈钢螺丝").arg(i),
                    QStringLiteral("M%1×%2").arg(i % 12 + 3).arg(i % 50 + 10), QStringLiteral("个"), qty,
                    QVariant::fromValue(price), QVariant::fromValue(price.times(qty)), i % 5 ? QString() : QStringLiteral("加急")});
    }
    return ds;
}

// CPU time of this process, so the figures mean something on a busy machine.
double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

void measure(const char *what, const ReportLayout &layout, const ReportData &data, int wantPages, const QString &path)
{
    QElapsedTimer t;
    t.start();
    const double c0 = cpuMs();
    const ReportDocument doc = paginateReport(layout, data);
    const qint64 paginated = t.elapsed();
    const double c1 = cpuMs();
    QString error;
    t.restart();
    if (!writeReportPdf(doc, path, &error)) std::printf("write failed: %s\n", qPrintable(error));
    const qint64 written = t.elapsed();
    const double c2 = cpuMs();
    std::printf("%-28s %5d pages (asked %d)  paginate %5lld ms (cpu %5.0f)  write PDF %5lld ms (cpu %5.0f)  total %5lld ms (cpu %5.0f)  %.1f MB\n",
                what, doc.pageCount(), wantPages, paginated, c1 - c0, written, c2 - c1, paginated + written, c2 - c0,
                QFileInfo(path).size() / 1048576.0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int pages = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    QTemporaryDir tmp;
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path());

    // A list: as many rows as 1,000 pages hold.
    auto list = goods(1);
    DefaultLayoutOptions o;
    o.title = QStringLiteral("货品采购明细统计");
    const ReportLayout listLayout = defaultListLayout(QStringLiteral("frHPcaigouDetailTJ"), *list, o);
    ReportData probe;
    probe.set(QStringLiteral("frxDM"), goods(300));
    const ReportDocument sample = paginateReport(listLayout, probe);
    int perPage = 0;
    for (const PlacedBand &b : sample.pages.value(1).bands) perPage += b.kind == BandKind::Detail;
    ReportData listData;
    listData.set(QStringLiteral("frxDM"), goods(perPage * pages));
    listData.variable = [](const QString &n) { return n == QLatin1String("sCurKHname") ? QVariant(QStringLiteral("科文贸易有限公司")) : QVariant(); };
    measure("list (default layout)", listLayout, listData, pages, dir.filePath("list.pdf"));

    // A document: 20 rows a page with page subtotals and filler rows.
    auto header = std::make_shared<TableDataSet>(QStringList{"F_Code", "F_MakeDate", "F_Client", "F_Depot", "F_EmpName", "F_Mem", "F_Maker"});
    header->addRow({QStringLiteral("CDD20240305001"), QDate(2024, 3, 5), QStringLiteral("华强五金"), QStringLiteral("北仓"),
                    QStringLiteral("张三"), QString(), QStringLiteral("王五")});
    auto lines = goods(20 * pages - 7);
    const ReportLayout docLayout = defaultDocumentLayout(QStringLiteral("frCaigouInddDept"), *header, lines.get(), o);
    ReportData docData;
    docData.set(QStringLiteral("frxDM"), header);
    docData.set(QStringLiteral("frxDD"), lines);
    docData.variable = [](const QString &n) { return n == QLatin1String("PageMaxRow") ? QVariant(20) : QVariant(); };
    measure("document (20 rows a page)", docLayout, docData, pages, dir.filePath("doc.pdf"));

    // Grid printing with rows that grow to fit their text.
    QList<ReportColumn> cols = list->columns();
    GridPrintOptions g;
    g.title = QStringLiteral("货品采购明细统计");
    g.footer = QStringLiteral("date");
    const ReportLayout gridLayout = gridPrintLayout(cols, g);
    measure("PrintGrid (rows grow)", gridLayout, listData, pages, dir.filePath("grid.pdf"));
    return 0;
}
