// Goods picker figures: the search run at every keystroke over 5,000 goods,
// as the picker runs it (statement, grid model, row count) and through the
// real dialog (grid view and count label included), in line-adding mode with
// picked goods excluded. Target: under 30 ms per keystroke.
// Run by hand: bench_goodspicker [goods]   (KORVAN_BENCH_PG=postgresql://… adds PostgreSQL)
#include "DataGrid.h"
#include "DataModule.h"
#include "Database.h"
#include "Goods.h"
#include "GoodsPicker.h"
#include "GridModel.h"
#include "Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <cstdio>

using namespace korvan;

namespace {

const QStringList kTypes = {"\\\\五金", "\\\\五金\\螺丝", "\\\\五金\\工具", "\\\\电料", "\\\\电料\\电线", "\\\\建材"};
const QStringList kNames = {"螺丝", "扳手", "电线", "开关", "灯泡", "胶带", "插座", "钻头", "水泥", "油漆"};

void generate(Database &db, int goods)
{
    WriteTransaction tx(db);
    const QStringList codes = {"001", "001001", "001002", "002", "002001", "003"};
    for (int i = 0; i < kTypes.size(); ++i)
        db.exec("INSERT INTO t_treecode (F_code, F_name, F_likecode, F_flag) VALUES (?, ?, ?, 'goodtype')",
                {codes[i], kTypes[i].section('\\', -1), kTypes[i]});
    QSqlQuery q(db.handle());
    q.prepare("INSERT INTO t_goods (F_Code, F_Name, F_Type, F_Spec, F_Unit, F_EnterPrice, F_SalePrice, F_Mem, F_Flag,"
              " F_Address, F_RQ1, F_RQ2, F_RQ3) VALUES (?, ?, ?, ?, '个', ?, ?, ?, ?, '上海', ?, ?, ?)");
    const QDate none(1900, 8, 14);
    for (int i = 0; i < goods; ++i) {
        q.bindValue(0, QStringLiteral("G%1").arg(i, 5, 10, QLatin1Char('0')));
        q.bindValue(1, kNames[i % kNames.size()] + QString::number(i));
        q.bindValue(2, kTypes[i % kTypes.size()]);
        q.bindValue(3, QStringLiteral("M%1x%2").arg(i % 20 + 3).arg(i % 7 * 10 + 10));
        q.bindValue(4, Money::fromUnits(5000 + i * 13).toDb());
        q.bindValue(5, Money::fromUnits(9000 + i * 17).toDb());
        q.bindValue(6, i % 9 == 0 ? QStringLiteral("常用") : QStringLiteral(""));
        q.bindValue(7, i % 50 == 0);
        q.bindValue(8, none);
        q.bindValue(9, none);
        q.bindValue(10, none);
        if (!q.exec()) throw DbError(q.lastError().text());
    }
    tx.commit();
}

struct Figures {
    double median = 0, worst = 0;
};

Figures measure(const std::function<void()> &step, int runs)
{
    QList<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        step();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.last()};
}

void print(const char *what, const Figures &f)
{
    std::printf("  %-46s median %6.2f ms   worst %6.2f ms\n", what, f.median, f.worst);
}

void bench(DataModule &dm, const char *engine, int goods)
{
    Database &db = dm.db();
    QElapsedTimer t;
    t.start();
    generate(db, goods);
    std::printf("\n%s: %d goods generated in %lld ms\n", engine, goods, t.elapsed());

    // Typing a code one character at a time, a name, a spec; root type.
    const QStringList keystrokes = {"G", "G0", "G01", "G012", "G0123", "G01234"};
    GridModel model;
    ClearPickedGoods(db);
    for (int i = 0; i < 200; ++i) RememberPickedGoods(db, QStringLiteral("G%1").arg(i * 7, 5, 10, QLatin1Char('0')));
    auto run = [&](const GoodsPickerFilter &f) {
        const ListQuery q = GoodsPickerQuery(db.dialect(), f);
        model.openQuery(dm, q.sql, q.params);
        model.fetchAll();
        (void)model.rowCount();
    };
    for (const QString &k : keystrokes) {
        run({k, {}, {}, {}, true});
        const QByteArray label = QStringLiteral("code \"%1\" (%2 rows)").arg(k).arg(model.rowCount()).toUtf8();
        print(label.constData(), measure([&] { run({k, {}, {}, {}, true}); }, 30));
    }
    // Where the time goes for the largest result.
    const ListQuery big = GoodsPickerQuery(db.dialect(), {QStringLiteral("G"), {}, {}, {}, true});
    print("  statement only, rows read", measure([&] {
        QSqlQuery q = db.query(big.sql, big.params);
        while (q.next()) (void)q.value(1);
    }, 10));
    print("  statement, every value read", measure([&] {
        QSqlQuery q = db.query(big.sql, big.params);
        const int n = q.record().count();
        while (q.next())
            for (int c = 0; c < n; ++c) (void)q.value(c);
    }, 10));
    print("  grid model, first rows only", measure([&] { model.openQuery(dm, big.sql, big.params); }, 10));
    print("  grid model, all rows", measure([&] { model.openQuery(dm, big.sql, big.params); model.fetchAll(); }, 10));
    print("name contains \"扳手\"", measure([&] { run({{}, QStringLiteral("扳手"), {}, {}, true}); }, 30));
    print("spec prefix \"M7\"", measure([&] { run({{}, {}, QStringLiteral("M7"), {}, true}); }, 30));
    print("type \\\\五金 and below", measure([&] { run({{}, {}, {}, kTypes[0], true}); }, 30));

    // The real dialog: a keystroke in the code box searches and shows the
    // first page; the rest of a long list loads while idle.
    GoodsPicker picker(dm);
    picker.show();
    QTreeWidget *tree = picker.typeTree();
    tree->setCurrentItem(tree->topLevelItem(0));
    auto *code = picker.findChild<QLineEdit *>(QStringLiteral("edtCode"));
    auto keystrokeFigures = [&](const QStringList &texts, int runs) {
        QList<double> shown, all;
        QElapsedTimer t;
        for (int i = 0; i < runs; ++i) {
            code->blockSignals(true);
            code->clear();
            code->blockSignals(false);
            t.start();
            code->setText(texts[i % texts.size()]); // one keystroke: search, count, first page
            picker.grid()->viewport()->repaint();
            shown << t.nsecsElapsed() / 1e6;
            picker.loadAll();
            QApplication::processEvents();
            all << t.nsecsElapsed() / 1e6;
        }
        std::sort(shown.begin(), shown.end());
        std::sort(all.begin(), all.end());
        return std::pair{Figures{shown[shown.size() / 2], shown.last()}, Figures{all[all.size() / 2], all.last()}};
    };
    for (const QString &k : {QStringLiteral("G"), QStringLiteral("G01"), QStringLiteral("G0123")}) {
        const auto [shown, all] = keystrokeFigures({k}, 20);
        const QByteArray a = QStringLiteral("dialog \"%1\": keystroke to list shown").arg(k).toUtf8();
        const QByteArray b = QStringLiteral("dialog \"%1\": until every row is loaded").arg(k).toUtf8();
        print(a.constData(), shown);
        print(b.constData(), all);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int goods = argc > 1 ? QString(argv[1]).toInt() : 5000;
    QTemporaryDir dir;
    AppSettings::setApplicationDir(dir.path());
    AppSettings settings(dir.path());

    DatabaseTarget target;
    target.sqliteFile = dir.path() + "/depot.db";
    QString error;
    ConnectOptions opts;
    opts.createIfMissing = true;
    auto db = Database::connect(target, &error, opts);
    if (!db) { std::printf("sqlite: %s\n", qPrintable(error)); return 1; }
    {
        DataModule dm(settings, std::move(db));
        DataModule::setInstance(&dm);
        dm.session().operatorCode = QStringLiteral("000");
        dm.session().canSeePrices = true;
        bench(dm, "SQLite", goods);
        DataModule::setInstance(nullptr);
    }

    const QString pg = qEnvironmentVariable("KORVAN_BENCH_PG");
    if (pg.isEmpty()) return 0;
    DatabaseTarget admin;
    admin.engine = DatabaseTarget::Engine::PostgreSQL;
    admin.pgUrl = pg;
    auto adminDb = Database::connect(admin, &error);
    if (!adminDb) { std::printf("pg: %s\n", qPrintable(error)); return 1; }
    const QString name = QStringLiteral("korvan_bench_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    adminDb->exec(QStringLiteral("CREATE DATABASE ") + name);
    {
        QUrl url(pg);
        url.setPath(QLatin1Char('/') + name);
        DatabaseTarget t;
        t.engine = DatabaseTarget::Engine::PostgreSQL;
        t.pgUrl = url.toString();
        auto pgDb = Database::connect(t, &error);
        if (!pgDb) { std::printf("pg: %s\n", qPrintable(error)); return 1; }
        Schema::createDatabase(*pgDb);
        DataModule dm(settings, std::move(pgDb));
        DataModule::setInstance(&dm);
        dm.session().operatorCode = QStringLiteral("000");
        dm.session().canSeePrices = true;
        bench(dm, "PostgreSQL", goods);
        DataModule::setInstance(nullptr);
    }
    adminDb->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    return 0;
}
