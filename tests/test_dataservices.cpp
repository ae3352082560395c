// The shared data services on both engines.
#include "Backup.h"
#include "DataModule.h"
#include "TestKit.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <atomic>

using namespace korvan;
using namespace korvan::test;

namespace {
void insertOrder(Database &db, const QString &code, const QString &client = QString())
{
    db.exec("INSERT INTO ddDepotM (F_Code, F_Flag, F_OperFlag, F_Client) VALUES (?, 1, 1, ?)", {code, client});
}
} // namespace

class TestDataServices : public QObject {
    Q_OBJECT
private slots:
    void nextDocumentCode_data() { addEngineRows(); }
    void nextDocumentCode()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DataModule &dm = env.dm();
        const QDate day(2024, 3, 5);
        QCOMPARE(dm.NextDocumentCode(Series::Receipt, day), QString("CGD20240305001"));
        env.db().exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CGD20240305009', 1, 1)");
        // The other kind in the same table, the day before and the day after do not count.
        env.db().exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CTD20240305020', -1, -1)");
        env.db().exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CGD20240304050', 1, 1)");
        env.db().exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CGD20240306070', 1, 1)");
        QCOMPARE(dm.NextDocumentCode(Series::Receipt, day), QString("CGD20240305010"));
        QCOMPARE(dm.NextDocumentCode(Series::Return, day), QString("CTD20240305021"));
        QCOMPARE(dm.NextDocumentCode(Series::Order, day), QString("CDD20240305001"));
        env.db().exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag) VALUES ('CGD20240305999', 1, 1)");
        QCOMPARE(dm.NextDocumentCode(Series::Receipt, day), QString("CGD202403051000"));
    }

    // Several workstations saving at once: nothing lost, no code twice.
    void concurrentSavers_data() { addEngineRows(); }
    void concurrentSavers()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        constexpr int kWriters = 4, kEach = 25;
        std::atomic<int> failures{0};
        QList<QThread *> threads;
        for (int w = 0; w < kWriters; ++w) {
            threads << QThread::create([&] {
                QString err;
                auto conn = Database::connect(env.testDb().target(), &err);
                if (!conn) { ++failures; return; }
                DataModule dm(env.settings(), std::move(conn));
                for (int i = 0; i < kEach; ++i) {
                    try {
                        WriteTransaction tx(dm.db());
                        const QString code = dm.NextDocumentCode(Series::Order);
                        insertOrder(dm.db(), code);
                        dm.db().exec("INSERT INTO ddDepotD (F_Code, F_GoodCode, F_Amount) VALUES (?, 'G1', 1)", {code});
                        tx.commit();
                    } catch (const DbError &e) {
                        qWarning("%s", qPrintable(e.message()));
                        ++failures;
                    }
                }
            });
        }
        for (QThread *t : threads) t->start();
        for (QThread *t : threads) { t->wait(); delete t; }
        QCOMPARE(failures.load(), 0);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM ddDepotM").toInt(), kWriters * kEach);
        QCOMPARE(env.db().scalar("SELECT count(DISTINCT F_Code) FROM ddDepotD").toInt(), kWriters * kEach);
    }

    void lastPrices_data() { addEngineRows(); }
    void lastPrices()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        Database &db = env.db();
        DataModule &dm = env.dm();
        db.exec("INSERT INTO t_goods (F_Code, F_Name, F_EnterPrice) VALUES ('G1', 'Bolt', ?)", {Money::fromYuan(5).toDb()});
        // Supplier A bought at 7, then supplier B at 9 (the most recent line overall).
        db.exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag, F_Client) VALUES ('CGD1', 1, 1, 'A')");
        db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Price) VALUES ('CGD1', 'G1', ?)", {Money::fromYuan(7).toDb()});
        db.exec("INSERT INTO depotM (F_Code, F_Flag, F_OperFlag, F_Client) VALUES ('CGD2', 1, 1, 'B')");
        db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Price) VALUES ('CGD2', 'G1', ?)", {Money::fromYuan(9).toDb()});

        QCOMPARE(dm.LastReceiptPrice("G1", "A", 1), Money::fromYuan(5));   // no switch: cost price
        dm.switches().lastSupplierPrice = true;
        QCOMPARE(dm.LastReceiptPrice("G1", " A ", 1), Money::fromYuan(7)); // supplier trimmed
        QCOMPARE(dm.LastReceiptPrice("G1", "C", 1), Money::fromYuan(5));   // no line of C: cost price
        dm.switches().lastPrice = true;                                     // takes precedence
        QCOMPARE(dm.LastReceiptPrice("G1", "A", 1), Money::fromYuan(9));
        QCOMPARE(dm.LastReceiptPrice("G1", "A", -1), Money::fromYuan(5));  // no return yet
        QCOMPARE(dm.LastOrderPrice("G1", "A", 1), Money::fromYuan(5));     // orders are their own tables
        QCOMPARE(dm.LastReceiptPrice("NOPE", "A", 1), Money());
    }

    void lookupsAndFailures_data() { addEngineRows(); }
    void lookupsAndFailures()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        DataModule &dm = env.dm();
        for (const char *name : {"北仓", "", "   ", "O'Brien \\ 仓"})
            QVERIFY(dm.ExecSql("INSERT INTO t_code (F_Name, F_Type) VALUES (?, 'depot')", {QString(name)}));
        QCOMPARE(dm.FillComboBox("SELECT F_Name FROM t_code WHERE F_Type = ? ORDER BY F_ID", {"depot"}),
                 QStringList({"北仓", "O'Brien \\ 仓"}));
        // A quote in a value is just a character.
        QCOMPARE(dm.LookupInt("SELECT count(*) FROM t_code WHERE F_Name = ?", {"O'Brien \\ 仓"}), 1);
        QCOMPARE(dm.LookupString("SELECT F_Name FROM t_code WHERE F_Name = ?", {"none"}), QString());
        QVERIFY(messages.shown().isEmpty());

        QCOMPARE(dm.LookupInt("SELECT nope FROM nowhere"), 0);
        QCOMPARE(dm.LookupString("SELECT nope FROM nowhere"), QString());
        QCOMPARE(dm.LookupFloat("SELECT nope FROM nowhere"), 0.0);
        QVERIFY(!dm.ExecSql("UPDATE nowhere SET x = 1"));
        QVERIFY(dm.FillComboBox("SELECT nope FROM nowhere").isEmpty());
        QCOMPARE(messages.texts(), QStringList(5, DataModule::failMessage()));
        QSqlQuery q;
        QVERIFY(!dm.OpenQuery("SELECT nope FROM nowhere", {}, q));
        QCOMPARE(messages.last(), DataModule::openFailMessage());
        QVERIFY(!dm.DeleteById("no_table; DROP TABLE t_code", 1));
        QCOMPARE(messages.last(), DataModule::deleteFailMessage());
        QCOMPARE(messages.shown().last().kind, int(MsgError));
        const int id = dm.LookupInt("SELECT F_ID FROM t_code WHERE F_Name = ?", {"北仓"});
        QVERIFY(dm.DeleteById("t_code", id));
        QCOMPARE(dm.LookupInt("SELECT count(*) FROM t_code WHERE F_Name = ?", {"北仓"}), 0);
    }

    void permissionsAndLog_data() { addEngineRows(); }
    void permissionsAndLog()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        DataModule &dm = env.dm();
        QVERIFY(dm.HasPermission("301"));
        QVERIFY(!dm.HasPermission("999"));
        dm.session().roleCode = "nobody";
        QVERIFY(!dm.HasPermission("301"));
        dm.WriteLog("登录失败！");
        QSqlQuery q = env.db().query("SELECT F_EmpName, F_OperType, F_OperDate FROM LogRec");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("系统管理员"));
        QCOMPARE(q.value(1).toString(), QString("登录失败！"));
        QCOMPARE(q.value(2).toString(), QDate::currentDate().toString("yyyy-MM-dd"));
    }

    // AutoBackup: one consistent copy a day holding every committed row.
    void autoBackup()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        const QString folder = QDir(env.appDir()).filePath("backup");
        QVERIFY(!QDir(folder).exists());
        auto writer = env.testDb().connectAgain();
        QVERIFY(writer);
        for (int i = 0; i < 50; ++i) insertOrder(*writer, QString("CDD20240305%1").arg(i, 3, 10, QChar('0')));

        messages.answer(AnswerYes); // create the missing folder
        env.dm().AutoBackup(QDate(2024, 3, 5));
        const QString file = QDir(folder).filePath("dp20240305.back");
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(messages.texts(), QStringList{"当前目录" + QDir::toNativeSeparators(folder) + " 不存在，是否创建！"});
        QString err;
        QVERIFY2(VerifySqliteDatabase(file, &err), qPrintable(err));
        {
            DatabaseTarget t;
            t.sqliteFile = file;
            auto copy = Database::connect(t, &err);
            QVERIFY(copy);
            QCOMPARE(copy->scalar("SELECT count(*) FROM ddDepotM").toInt(), 50);
        }
        // The second run of the day leaves the first file alone.
        const QDateTime stamp = QFileInfo(file).lastModified();
        insertOrder(*writer, "CDD20240305999");
        QTest::qWait(20);
        env.dm().AutoBackup(QDate(2024, 3, 5));
        QCOMPARE(QFileInfo(file).lastModified(), stamp);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
    }

    void autoBackupDeclinedFolder()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        messages.answer(AnswerNo);
        env.dm().AutoBackup(QDate(2024, 3, 5));
        QVERIFY(!QDir(QDir(env.appDir()).filePath("backup")).exists());
    }
};

QTEST_GUILESS_MAIN(TestDataServices)
#include "test_dataservices.moc"
