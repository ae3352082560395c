// Grid figures: export of 100,000 rows to the five file types, and a
// 600,000-row result in the grid (open, fetch, footer sum, sort, memory).
// Run by hand: bench_export_grid [rows-to-export] [rows-in-grid]
#include "DataGrid.h"
#include "Database.h"
#include "GridExport.h"
#include "GridModel.h"
#include "TableReader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace korvan;

namespace {

long rssMb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}

// Processor time of this process: the machine is shared, so wall time alone misleads.
qint64 cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000LL + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000;
}

// Wall and processor milliseconds since construction.
struct Clock {
    QElapsedTimer wall;
    qint64 cpu0 = 0;
    Clock() { restart(); }
    void restart() { wall.start(); cpu0 = cpuMs(); }
    QByteArray text() const { return QStringLiteral("%1 ms (cpu %2 ms)").arg(wall.elapsed(), 6).arg(cpuMs() - cpu0, 6).toUtf8(); }
};

const QStringList kNames = {"螺丝 M6 镀锌", "扳手 12寸", "电线 2.5平方", "开关 双联", "灯泡 LED 9W", "胶带 绝缘", "插座 五孔", "钻头 6mm"};
const QStringList kSuppliers = {"华强五金", "O'Neil 电料", "东方建材", "南方机电"};

GridColumns lineColumns()
{
    GridColumns cols;
    auto add = [&](const char *field, const char *caption, int width, const char *format = "",
                   FooterKind footer = FooterKind::None) {
        GridColumn c;
        c.field = field;
        c.caption = QString::fromUtf8(caption);
        c.width = width;
        c.displayFormat = format;
        c.footer = footer;
        cols << c;
    };
    add("F_Code", "单据编号", 110);
    add("F_MakeDate", "日期", 80);
    add("F_Client", "供应商", 120);
    add("F_GoodCode", "货品编号", 80);
    add("F_GoodName", "货品名称", 140);
    add("F_Type", "类型", 100);
    add("F_Unit", "单位", 40);
    add("F_Amount", "数量", 70, "0.##", FooterKind::Sum);
    add("F_Price", "单价", 80, ",0.00##");
    add("F_Rate", "折扣", 50, "0.##");
    add("F_TotalPrice", "金额", 100, ",0.00", FooterKind::Sum);
    add("F_CheckFlag", "审核", 40);
    add("F_Mem", "备注", 120);
    add("F_RQ1", "日期一", 80);
    cols[0].footer = FooterKind::Text;
    cols[0].footerText = QStringLiteral("合  计");
    return cols;
}

void fillTyped(GridModel &model, int rows)
{
    model.setFields({{"F_Code", CellType::Text}, {"F_MakeDate", CellType::Date}, {"F_Client", CellType::Text},
                     {"F_GoodCode", CellType::Text}, {"F_GoodName", CellType::Text}, {"F_Type", CellType::Text},
                     {"F_Unit", CellType::Text}, {"F_Amount", CellType::Quantity}, {"F_Price", CellType::Price},
                     {"F_Rate", CellType::Quantity}, {"F_TotalPrice", CellType::Money}, {"F_CheckFlag", CellType::Bool},
                     {"F_Mem", CellType::Text}, {"F_RQ1", CellType::Date}});
    const QDate start(2022, 1, 1);
    for (int i = 0; i < rows; ++i) {
        const Money price = Money::fromUnits(5000 + (i % 997) * 37);
        const double qty = 1 + (i % 50) * 0.5;
        model.appendRow({QString("CGD%1%2").arg(start.addDays(i / 200).toString("yyyyMMdd")).arg(i % 200 + 1, 3, 10, QChar('0')),
                         start.addDays(i / 200), kSuppliers[i % kSuppliers.size()], QString("G%1").arg(i % 5000, 4, 10, QChar('0')),
                         kNames[i % kNames.size()], "\\\\五金\\螺丝", "个", qty, QVariant::fromValue(price), 1.0,
                         QVariant::fromValue(price.times(qty)), i % 3 == 0, i % 10 == 0 ? "加急" : "", QDate(1900, 8, 14)});
    }
    model.setColumns(lineColumns());
}

void benchExport(int rows, const QString &dir)
{
    GridModel model;
    Clock t;
    fillTyped(model, rows);
    std::printf("typed model of %d rows built in %s, RSS %ld MB\n", rows, t.text().constData(), rssMb());
    for (int type = ExportExcel; type <= ExportCsv; ++type) {
        const QString path = dir + "/export." + exportExtension(type);
        t.restart();
        QString error;
        if (!writeGridFile(model, path, type, &error)) {
            std::printf("  %s failed: %s\n", qPrintable(exportExtension(type)), qPrintable(error));
            continue;
        }
        std::printf("  export %-4s %s  %8.1f MB\n", qPrintable(exportExtension(type)), t.text().constData(),
                    QFileInfo(path).size() / 1048576.0);
    }
    t.restart();
    const auto sheet = readXlsx(dir + "/export.xlsx");
    std::printf("  read back .xlsx: %lld rows in %s\n", sheet ? qlonglong(sheet->rows.size()) : -1LL, t.text().constData());
}

void benchBigResult(int rows, const QString &dir)
{
    DatabaseTarget target;
    target.sqliteFile = dir + "/depot.db";
    QString error;
    ConnectOptions opts;
    opts.createIfMissing = true;
    auto db = Database::connect(target, &error, opts);
    if (!db) { std::printf("database: %s\n", qPrintable(error)); return; }
    Clock t;
    {
        WriteTransaction tx(*db);
        QSqlQuery q(db->handle());
        q.prepare("INSERT INTO depotD (F_Code, F_GoodCode, F_GoodName, F_Type, F_Unit, F_Amount, F_Price, F_Rate,"
                  " F_TotalPrice, F_Mem, F_ZF1, F_RQ1) VALUES (?, ?, ?, ?, '个', ?, ?, 1, ?, ?, ?, '1900-08-14')");
        for (int i = 0; i < rows; ++i) {
            const Money price = Money::fromUnits(5000 + (i % 997) * 37);
            const double qty = 1 + (i % 50) * 0.5;
            q.bindValue(0, QString("CGD%1").arg(i / 5, 9, 10, QChar('0')));
            q.bindValue(1, QString("G%1").arg(i % 5000, 4, 10, QChar('0')));
            q.bindValue(2, kNames[i % kNames.size()] + QString::number(i % 5000));
            q.bindValue(3, "\\\\五金\\螺丝");
            q.bindValue(4, qty);
            q.bindValue(5, price.toDb());
            q.bindValue(6, price.times(qty).toDb());
            q.bindValue(7, i % 10 == 0 ? "加急" : "");
            q.bindValue(8, kSuppliers[i % kSuppliers.size()]);
            q.exec();
        }
        tx.commit();
    }
    std::printf("\n%d lines generated in %s\n", rows, t.text().constData());

    const long before = rssMb();
    DataGrid grid;
    grid.resize(1000, 700);
    GridColumns cols;
    for (const char *f : {"F_Code", "F_GoodCode", "F_GoodName", "F_Type", "F_Unit", "F_Amount", "F_Price", "F_Rate",
                          "F_TotalPrice", "F_Mem", "F_ZF1", "F_RQ1"}) {
        GridColumn c;
        c.field = f;
        c.caption = f;
        if (QByteArray(f).contains("Price")) c.displayFormat = ",0.00";
        if (QByteArray(f) == "F_TotalPrice" || QByteArray(f) == "F_Amount") c.footer = FooterKind::Sum;
        cols << c;
    }
    grid.setColumns(cols);
    grid.show();
    t.restart();
    grid.gridModel()->openQuery(*db, "SELECT * FROM depotD ORDER BY F_ID");
    QApplication::processEvents();
    std::printf("  open and first screen: %s (%d rows at hand)\n", t.text().constData(), grid.model()->rowCount());
    t.restart();
    grid.gridModel()->fetchAll();
    std::printf("  fetch the rest: %s; RSS %ld MB (grid and rows %ld MB)\n", t.text().constData(), rssMb(), rssMb() - before);
    t.restart();
    const QString total = grid.gridModel()->footerText(8);
    std::printf("  footer sums: %s (%s)\n", t.text().constData(), qPrintable(total));
    t.restart();
    grid.gridModel()->sort(2, Qt::AscendingOrder);
    std::printf("  sort by a Chinese text column: %s\n", t.text().constData());
    t.restart();
    grid.gridModel()->sort(8, Qt::DescendingOrder);
    std::printf("  sort by money: %s\n", t.text().constData());
    t.restart();
    grid.scrollToBottom();
    grid.repaint();
    std::printf("  scroll to the end and paint: %s; RSS %ld MB\n", t.text().constData(), rssMb());
    t.restart();
    QString error2;
    writeGridFile(*grid.gridModel(), dir + "/big.xlsx", ExportExcel, &error2);
    std::printf("  export all %d rows to .xlsx: %s\n", grid.model()->rowCount(), t.text().constData());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int exportRows = argc > 1 ? atoi(argv[1]) : 100000;
    const int gridRows = argc > 2 ? atoi(argv[2]) : 600000;
    QTemporaryDir dir;
    std::printf("RSS at start %ld MB\n", rssMb());
    benchExport(exportRows, dir.path());
    benchBigResult(gridRows, dir.path());
    return 0;
}
