// The delivered schema and rows on both engines, and the command-line tool.
#include "Actions.h"
#include "Passwords.h"
#include "Schema.h"
#include "Fixture.h"
#include "TestKit.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlRecord>

using namespace korvan;
using namespace korvan::test;

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void everyTableAndColumn_data() { addEngineRows(); }
    void everyTableAndColumn()
    {
        QFETCH(QString, engine);
        TestDb t(engine);
        KORVAN_REQUIRE(t);
        QVERIFY(Schema::looksLikeOurs(t.db(), nullptr));
        for (const TableDef &table : Schema::tables()) {
            const QSqlRecord rec = t.db().handle().record(t.db().isPostgres() ? table.name.toLower() : table.name);
            if (table.work) {
                // Scratch tables are private to the connection: present, and empty.
                QCOMPARE(t.db().scalar(QStringLiteral("SELECT count(*) FROM ") + table.name).toInt(), 0);
                continue;
            }
            QCOMPARE(rec.count(), table.columns.size());
            for (const ColumnDef &c : table.columns)
                QVERIFY2(rec.indexOf(c.name) >= 0, qPrintable(table.name + "." + c.name));
        }
        QCOMPARE(Schema::storedVersion(t.db()), Schema::kCurrentVersion);
    }

    void deliveredRows_data() { addEngineRows(); }
    void deliveredRows()
    {
        QFETCH(QString, engine);
        TestDb t(engine);
        KORVAN_REQUIRE(t);
        Database &db = t.db();
        QSqlQuery q = db.query("SELECT F_PassWord, F_PartCode FROM OperList WHERE F_Code = '000'");
        QVERIFY(q.next());
        QVERIFY(VerifyPass(q.value(0).toString(), QString()));
        QVERIFY(!VerifyPass(q.value(0).toString(), "x"));
        const QString role = q.value(1).toString();
        QCOMPARE(db.scalar("SELECT count(*) FROM PartLimit WHERE F_PartCode = ?", {role}).toInt(), 41);

        QCOMPARE(db.scalar("SELECT count(*) FROM Limits WHERE F_Flag = ?", {true}).toInt(), 41);
        for (const ActionInfo &a : allActions())
            QCOMPARE(db.scalar("SELECT F_Name FROM Limits WHERE F_Code = ?", {QString::number(a.code)}).toString(), a.caption);

        QSqlQuery kv = db.query("SELECT F_ID, F_Value, F_Flag FROM KeyValue ORDER BY F_ID");
        QStringList captions;
        while (kv.next()) {
            QVERIFY(!kv.value(2).toBool());
            captions << kv.value(1).toString();
        }
        QCOMPARE(captions.size(), 11);
        QCOMPARE(captions.first(), QString("字符项一"));
        QCOMPARE(captions[5], QString("数值项一"));
        QCOMPARE(captions.last(), QString("日期项三"));

        QSqlQuery sys = db.query("SELECT F_iAmount, F_iPrice, F_iTotal, F_b2, F_b3, F_b4, F_BakPath FROM SysInfo");
        QVERIFY(sys.next());
        for (int i = 0; i < 3; ++i) QCOMPARE(sys.value(i).toInt(), 2);
        for (int i = 3; i < 6; ++i) QVERIFY(!sys.value(i).toBool());
        QVERIFY(sys.value(6).toString().endsWith("backup"));
        QVERIFY(!sys.next());

        for (const char *key : {"goodgl", "cltman", "empman", "dlggoodxz", "incaigouddgl"})
            QVERIFY2(db.scalar("SELECT count(*) FROM cfg_Grid WHERE F_name = ?", {QString(key)}).toInt() > 0, key);
        for (const char *table : {"t_goods", "t_client", "depotD"})
            QVERIFY2(db.scalar("SELECT count(*) FROM cfg_import WHERE F_tablename = ? AND F_iFlag = 1", {QString(table)}).toInt() > 0, table);
    }

    void documentCodeIsUnique_data() { addEngineRows(); }
    void documentCodeIsUnique()
    {
        QFETCH(QString, engine);
        TestDb t(engine);
        KORVAN_REQUIRE(t);
        for (const char *table : {"ddDepotM", "depotM", "KPdepotM", "cashPayM"}) {
            const QString sql = QStringLiteral("INSERT INTO %1 (F_Code, F_Flag) VALUES (?, 1)").arg(table);
            t.db().exec(sql, {QString("X001")});
            QVERIFY_THROWS_EXCEPTION(DbError, t.db().exec(sql, {QString("X001")}));
        }
    }

    // The shared fixture loads on both engines and money sums stay exact.
    void fixtureLoads_data() { addEngineRows(); }
    void fixtureLoads()
    {
        QFETCH(QString, engine);
        TestDb t(engine);
        KORVAN_REQUIRE(t);
        loadFixture(t.db());
        QCOMPARE(Money::fromDb(t.db().scalar("SELECT sum(F_TotalPrice) FROM ddDepotD")), Money::fromYuan(100));
        QCOMPARE(t.db().scalar("SELECT F_Code FROM t_client WHERE F_Name = ?", {QString("O'Neil 电料")}).toString(), QString("S002"));
        // Type paths hold backslashes: a prefix match must take them literally on both engines.
        const QString sql = "SELECT count(*) FROM t_goods WHERE F_Type LIKE ?" + kLikeEscape;
        QCOMPARE(t.db().scalar(sql, {likeLiteral("\\\\五金") + "%"}).toInt(), 2);
        QCOMPARE(t.db().scalar(sql, {likeLiteral("\\\\五金\\螺") + "%"}).toInt(), 1);
        QCOMPARE(t.db().scalar(sql, {likeLiteral("_") + "%"}).toInt(), 0);
    }

    void cliInitRefusesExistingFile()
    {
        const QString cli = QCoreApplication::applicationDirPath() + "/korvan-cli";
        QTemporaryDir dir;
        const QString file = dir.filePath("new/depot.db");
        QProcess p;
        p.start(cli, {"init-db", file});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        p.start(cli, {"check-db", "--db", file});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains("ok"));
        p.start(cli, {"init-db", file});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
        p.start(cli, {"check-db", "--db", dir.filePath("missing.db")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
        QFile junk(dir.filePath("junk.db"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        p.start(cli, {"check-db", "--db", junk.fileName()});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
    }

    void cliInitPostgres()
    {
        if (qEnvironmentVariableIsEmpty("KORVAN_TEST_PG")) return;
        // An empty database gets the schema; a second run refuses.
        TestDb scratch("pg");
        KORVAN_REQUIRE(scratch);
        QUrl url(scratch.target().pgUrl);
        const QString name = "korvan_cli_" + QString::number(QCoreApplication::applicationPid());
        scratch.db().exec("CREATE DATABASE " + name);
        url.setPath("/" + name);
        const QString cli = QCoreApplication::applicationDirPath() + "/korvan-cli";
        QProcess p;
        p.start(cli, {"init-db", "--pg", url.toString()});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        p.start(cli, {"init-db", "--pg", url.toString()});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 1);
        p.start(cli, {"check-db", "--pg", url.toString()});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        scratch.db().exec("DROP DATABASE " + name + " WITH (FORCE)");
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
