// Document figures: saving a 200-line order; opening the order window on a
// day of 200 orders and moving between them. Targets: save under 100 ms,
// open and move under 50 ms.
// Run by hand: bench_documents [--shot FILE.png]   (KORVAN_TEST_PG=postgresql://… adds PostgreSQL)
#include "DataGrid.h"
#include "DocumentWindow.h"
#include "Fixture.h"
#include "Login.h"
#include "TestKit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace korvan;
using namespace korvan::test;

namespace {

const QDate kDay(2024, 6, 3);

// Wall time, and this process's CPU time: on a busy machine the second is the steadier figure.
struct Figures {
    double best = 0, median = 0, worst = 0, cpuMedian = 0;
};

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

Figures measure(const std::function<void()> &step, int runs, const std::function<void()> &prepare = {})
{
    QList<double> ms, cpu;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        const double c0 = cpuMs();
        t.start();
        step();
        ms << t.nsecsElapsed() / 1e6;
        cpu << cpuMs() - c0;
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {ms.first(), ms[ms.size() / 2], ms.last(), cpu[cpu.size() / 2]};
}

void print(const char *what, const Figures &f)
{
    std::printf("  %-50s best %7.2f  median %7.2f  worst %7.2f ms   (cpu median %6.2f ms)\n", what, f.best, f.median, f.worst,
                f.cpuMedian);
}

void generateGoods(Database &db, int count)
{
    WriteTransaction tx(db);
    for (int i = 0; i < count; ++i)
        db.exec("INSERT INTO t_goods (F_Code, F_Name, F_Type, F_Spec, F_Unit, F_EnterPrice, F_Flag) VALUES (?, ?, ?, ?, '个', ?, ?)",
                {QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("货品%1").arg(i), QStringLiteral("\\\\五金"),
                 QStringLiteral("M%1").arg(i % 30), Money::fromUnits(10000 + 37 * i).toDb(), false});
    tx.commit();
}

Document orderWithLines(DocumentController &c, int lines)
{
    c.newDocument();
    c.setHeader("F_Client", QStringLiteral("华强五金"));
    c.setHeader("F_Depot", QStringLiteral("北仓"));
    for (int i = 0; i < lines; ++i) c.appendGoods(QStringLiteral("B%1").arg(i % 300, 4, 10, QLatin1Char('0')), 1 + i % 7);
    return c.document();
}

void bench(const QString &engine, const QString &shot)
{
    TestEnv env(engine);
    if (!env.ok()) {
        std::printf("%s: %s\n", qPrintable(engine), qPrintable(env.error()));
        return;
    }
    loadFixture(env.db());
    env.dm().session() = LoadSession(env.dm(), QStringLiteral("000"));
    generateGoods(env.db(), 300);
    std::printf("\n%s\n", qPrintable(engine));

    // Save: the controller's Save of a new 200-line order (code check, header, lines, reload).
    DocumentController c(env.dm(), DocumentKind::order());
    print("save a new 200-line order", measure([&] { c.save(); }, 15, [&] { orderWithLines(c, 200); }));
    print("save an edited 200-line order (every line changed)", measure([&] { c.save(); }, 15, [&] {
        c.edit();
        for (int i = 0; i < c.document().lines.size(); ++i) c.setLineValue(i, "F_Amount", 2.0 + i % 3);
    }));

    // For scale: what the engine itself needs to write 200 lines, with no values to bind.
    int copies = 0;
    const QString source = c.currentCode();
    print("reference: 200 lines copied by one INSERT…SELECT", measure([&] {
        WriteTransaction tx(env.db());
        env.db().exec("INSERT INTO ddDepotD (F_Code, F_GoodCode, F_GoodName, F_Type, F_Spec, F_Unit, F_Amount, F_Price, F_Rate,"
                      " F_TotalPrice, F_Mem) SELECT ?, F_GoodCode, F_GoodName, F_Type, F_Spec, F_Unit, F_Amount, F_Price, F_Rate,"
                      " F_TotalPrice, F_Mem FROM ddDepotD WHERE F_Code = ?",
                      {QStringLiteral("REF%1").arg(++copies), source});
        tx.commit();
    }, 15));

    // A day of 200 orders of 20 lines each.
    DocumentStore store(env.dm(), DocumentKind::order());
    {
        DocumentController day(env.dm(), DocumentKind::order());
        for (int i = 0; i < 200; ++i) {
            Document d = orderWithLines(day, 20);
            d.header["F_date"] = kDay;
            d.header["F_Code"] = QStringLiteral("CDD%1%2").arg(kDay.toString("yyyyMMdd")).arg(i + 1, 3, 10, QLatin1Char('0'));
            store.save(d, QStringLiteral("系统管理员"));
        }
        day.cancel();
    }
    const QString first = QStringLiteral("CDD%1001").arg(kDay.toString("yyyyMMdd"));
    DocumentWindow *w = nullptr;
    print("open the window on a day of 200 orders, show one", measure([&] {
        w = new DocumentWindow(env.dm(), orderDeclaration());
        w->openAt(first, kDay);
        w->show();
        QApplication::processEvents();
    }, 15, [&] { delete w; w = nullptr; }));
    auto *next = w->findChild<QToolButton *>("tbNext");
    print("move to the next order (20 lines)", measure([&] {
        next->click();
        w->linesGrid()->viewport()->repaint();
    }, 50, [&] { if (!next->isEnabled()) w->controller().first(); }));

    // A 200-line order shown.
    const QString big = c.currentCode();
    print("show a 200-line order", measure([&] {
        w->openAt(big, QDate::currentDate());
        w->linesGrid()->viewport()->repaint();
    }, 15));
    if (!shot.isEmpty()) {
        w->openAt(first, kDay);
        w->resize(1000, 660);
        QApplication::processEvents();
        w->grab().save(shot);
        w->findChild<QToolButton *>("tbNew")->click();
        w->findChild<QToolButton *>("sbTM")->click();
        QApplication::processEvents();
        QString entry = shot;
        entry.replace(".png", "-entry.png");
        w->grab().save(entry);
        w->controller().cancel();
        std::printf("  screenshots: %s %s\n", qPrintable(shot), qPrintable(entry));
    }
    delete w;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QString shot;
    const QStringList args = app.arguments();
    if (const int i = int(args.indexOf("--shot")); i > 0 && i + 1 < args.size()) shot = args[i + 1];
    for (const QString &engine : engines()) bench(engine, engine == "sqlite" ? shot : QString());
    return 0;
}
