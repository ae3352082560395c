// Manual backup, restore and the backup settings on both engines.
#include "Backup.h"
#include "BackupService.h"
#include "Fixture.h"
#include "TestKit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <atomic>

using namespace korvan;
using namespace korvan::test;

namespace {
const QDate kDay(2024, 3, 5);

QString backupFolder(TestEnv &env) { return QDir(env.appDir()).filePath("backup"); }

void insertOrder(Database &db, const QString &code)
{
    db.exec("INSERT INTO ddDepotM (F_Code, F_Flag, F_OperFlag) VALUES (?, 1, 1)", {code});
}

int orders(Database &db) { return db.scalar("SELECT count(*) FROM ddDepotM").toInt(); }

// Makes the day's backup, creating the folder and declining the compaction.
QString makeBackup(TestEnv &env)
{
    ScriptedResponder messages;
    messages.answer(AnswerYes); // create the folder
    messages.answer(AnswerNo);  // no compaction
    if (!BackupService(env.dm()).backup(backupFolder(env), kDay)) return {};
    return BackupFilePath(backupFolder(env), kDay);
}

// The order codes a backup file holds, read through a fresh database of the engine.
QStringList ordersInBackup(const QString &engine, const QString &file)
{
    QStringList codes;
    TestDb target(engine);
    if (!target.ok()) return {"no database: " + target.error()};
    std::unique_ptr<Database> copy;
    if (engine == "sqlite") {
        DatabaseTarget t;
        t.sqliteFile = file;
        QString err;
        copy = Database::connect(t, &err);
        if (!copy) return {err};
    } else {
        DatabaseRestore restore(target.db());
        if (!restore.prepare(file) || !restore.commit()) return {restore.error()};
    }
    Database &db = copy ? *copy : target.db();
    QSqlQuery q = db.query("SELECT F_Code FROM ddDepotM ORDER BY F_Code");
    while (q.next()) codes << q.value(0).toString();
    return codes;
}

// Files the restore may leave behind beside the database.
QStringList leftovers(TestEnv &env)
{
    return QDir(QDir(env.appDir()).filePath("data")).entryList({"*.restore*", "*.before-restore*"}, QDir::Files);
}
} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    // One file a day; the second backup asks before replacing it.
    void backupTwiceADay_data() { addEngineRows(); }
    void backupTwiceADay()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        insertOrder(env.db(), "CDD20240305001");
        const QString folder = backupFolder(env);
        ScriptedResponder messages;
        messages.answer(AnswerYes); // create the folder
        messages.answer(AnswerYes); // compact
        BackupService service(env.dm());
        QVERIFY(service.backup(" " + folder + " ", kDay));
        const QString file = QDir::toNativeSeparators(QDir(folder).filePath("dp20240305.back"));
        QCOMPARE(BackupFilePath(folder, kDay), file);
        QCOMPARE(messages.texts(), (QStringList{"当前目录" + folder + " 不存在，是否创建！", "是否需要压缩当前数据库！",
                                                "数据备份成功！"}));
        QCOMPARE(ordersInBackup(engine, file), QStringList{"CDD20240305001"});

        insertOrder(env.db(), "CDD20240305002");
        const QString question = "备份文件 \"" + file + "\" 已经存在，\n真的要复盖当前备份吗？";
        messages.clear();
        messages.answer(AnswerNo);
        QVERIFY(!service.backup(folder, kDay));
        QCOMPARE(messages.texts(), QStringList{question});
        QCOMPARE(ordersInBackup(engine, file), QStringList{"CDD20240305001"});

        messages.clear();
        messages.answer(AnswerYes);
        messages.answer(AnswerNo);
        QVERIFY(service.backup(folder, kDay));
        QCOMPARE(messages.texts(), (QStringList{question, "是否需要压缩当前数据库！", "数据备份成功！"}));
        QCOMPARE(ordersInBackup(engine, file), (QStringList{"CDD20240305001", "CDD20240305002"}));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"dp20240305.back"});
    }

    // A backup taken while another connection keeps committing holds every
    // row committed before it began, and a consistent prefix of the rest.
    void backupWhileAnotherWrites_data() { addEngineRows(); }
    void backupWhileAnotherWrites()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        std::atomic<int> committed{0};
        std::atomic<bool> stop{false};
        QThread *writer = QThread::create([&] {
            auto db = env.testDb().connectAgain();
            if (!db) return;
            for (int i = 1; !stop && i < 100000; ++i) {
                WriteTransaction tx(*db);
                insertOrder(*db, QString("CDD20240305%1").arg(i, 5, 10, QChar('0')));
                tx.commit();
                committed = i;
            }
        });
        writer->start();
        while (committed < 50 && !writer->isFinished()) QThread::yieldCurrentThread();
        const int before = committed;
        const QString file = makeBackup(env);
        const int after = committed;
        stop = true;
        writer->wait();
        delete writer;
        QVERIFY(!file.isEmpty());
        const QStringList codes = ordersInBackup(engine, file);
        QVERIFY2(codes.size() >= before && codes.size() <= after,
                 qPrintable(QString("%1 <= %2 <= %3").arg(before).arg(codes.size()).arg(after)));
        QCOMPARE(codes.last(), QString("CDD20240305%1").arg(codes.size(), 5, 10, QChar('0')));
    }

    // Back up, change, restore: the data are as they were at the backup.
    void restoreRoundTrip_data() { addEngineRows(); }
    void restoreRoundTrip()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        const QString file = makeBackup(env);
        QVERIFY(!file.isEmpty());
        insertOrder(env.db(), "CDD20240306001");
        env.db().exec("DELETE FROM t_client WHERE F_Code = 'S001'");
        env.db().exec("UPDATE SysInfo SET F_iPrice = 4");
        env.dm().LoadSwitches();

        ScriptedResponder messages;
        messages.answer(AnswerYes); // lose what came after the backup
        messages.answer(AnswerNo);  // no restart
        QList<bool> busy;
        BackupService service(env.dm());
        QCOMPARE(service.restore(file, [&](bool b) { busy << b; }), BackupService::RestoreResult::Restored);
        QCOMPARE(messages.texts(), (QStringList{"此操作将使上次备份以来的所有数据丢失，是否继续？",
                                                "数据恢复成功,重新启动当前程序吗？"}));
        QCOMPARE(busy, (QList<bool>{true, false}));
        QCOMPARE(orders(env.db()), 1);
        QCOMPARE(env.db().scalar("SELECT F_Name FROM t_client WHERE F_Code = 'S001'").toString(), QString("华强五金"));
        QCOMPARE(env.dm().switches().priceDecimals, 2);
        QVERIFY(leftovers(env).isEmpty());

        // The restored database takes writes, and a restart may be asked for.
        insertOrder(env.db(), "CDD20240306002");
        messages.answer(AnswerYes);
        messages.answer(AnswerYes);
        QCOMPARE(service.restore(file), BackupService::RestoreResult::RestoredRestart);
        QCOMPARE(orders(env.db()), 1);
    }

    // A file that is not a database of ours is refused before anything changes.
    void restoreRefusesForeignFile_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("kind");
        for (const QString &engine : engines())
            for (const char *kind : {"text", "empty", "other sqlite", "missing"})
                QTest::newRow(qPrintable(engine + " " + kind)) << engine << QString(kind);
    }
    void restoreRefusesForeignFile()
    {
        QFETCH(QString, engine);
        QFETCH(QString, kind);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        insertOrder(env.db(), "CDD20240305001");
        const QString file = QDir(env.appDir()).filePath("foreign.back");
        if (kind == "text" || kind == "empty") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == "text") f.write("这不是数据库\n");
        } else if (kind == "other sqlite") {
            DatabaseTarget t;
            t.sqliteFile = file;
            QString err;
            ConnectOptions opts;
            opts.createIfMissing = true;
            auto other = Database::connect(t, &err, opts);
            QVERIFY(other);
            other->exec("DROP TABLE OperList");
        }
        ScriptedResponder messages;
        QCOMPARE(BackupService(env.dm()).restore(file), BackupService::RestoreResult::Failed);
        QCOMPARE(messages.shown().size(), 2);
        QVERIFY2(messages.shown()[0].text.startsWith("所选文件不是本系统的有效备份，当前数据未作任何改动！"),
                 qPrintable(messages.shown()[0].text));
        QCOMPARE(messages.shown()[0].kind, int(MsgWarning));
        QCOMPARE(messages.shown()[1].text, QString("恢复失败！"));
        QCOMPARE(messages.shown()[1].kind, int(MsgError));
        QCOMPARE(orders(env.db()), 1);
        QVERIFY(leftovers(env).isEmpty());
    }

    void restorePassword()
    {
        ScriptedResponder messages;
        QVERIFY(!BackupService::checkRestorePassword("52938"));
        QVERIFY(!BackupService::checkRestorePassword(" 529384"));
        QCOMPARE(messages.texts(), QStringList(2, "对不起,恢复密码错误，你没有恢复数据的权限！"));
        QCOMPARE(messages.shown()[0].kind, int(MsgError));
        messages.clear();
        QVERIFY(BackupService::checkRestorePassword("529384"));
        QVERIFY(messages.texts().isEmpty());
    }

    // Another copy of the application holding the file open: refused, and
    // both copies keep working on the unchanged database.
    void restoreWhileAnotherCopyIsOpen()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        const QString file = makeBackup(env);
        QVERIFY(!file.isEmpty());
        insertOrder(env.db(), "CDD20240306001");
        auto other = env.testDb().connectAgain();
        QVERIFY(other);
        QCOMPARE(orders(*other), 1);

        ScriptedResponder messages;
        messages.answer(AnswerYes);
        QCOMPARE(BackupService(env.dm()).restore(file), BackupService::RestoreResult::Failed);
        QCOMPARE(messages.texts(), (QStringList{"此操作将使上次备份以来的所有数据丢失，是否继续？",
                                                "数据库正在被使用！请确定已关闭其它使用该数据库程序！", "恢复失败！"}));
        insertOrder(*other, "CDD20240306002");
        QCOMPARE(orders(env.db()), 2);
        QVERIFY(leftovers(env).isEmpty());

        other.reset();
        messages.clear();
        messages.answer(AnswerYes);
        messages.answer(AnswerNo);
        QCOMPARE(BackupService(env.dm()).restore(file), BackupService::RestoreResult::Restored);
        QCOMPARE(orders(env.db()), 0);
    }

    // Declining the warning ends the restore with nothing changed.
    void restoreDeclined_data() { addEngineRows(); }
    void restoreDeclined()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        const QString file = makeBackup(env);
        insertOrder(env.db(), "CDD20240306001");
        ScriptedResponder messages;
        messages.answer(AnswerNo);
        QCOMPARE(BackupService(env.dm()).restore(file), BackupService::RestoreResult::Cancelled);
        QCOMPARE(messages.texts().size(), 1);
        QCOMPARE(orders(env.db()), 1);
        QVERIFY(leftovers(env).isEmpty());
    }

    // "确定": folder check, ibak in config.ini, the folder in SysInfo.
    void saveSettings()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        BackupService service(env.dm());
        const QString folder = QDir(env.appDir()).filePath("新备份");
        ScriptedResponder messages;
        messages.answer(AnswerNo);
        QVERIFY(!service.saveSettings(folder, 2));
        QCOMPARE(messages.texts(), QStringList{"当前目录" + folder + " 不存在，是否创建！"});
        QCOMPARE(env.settings().autoBackupMode(), 0);

        messages.clear();
        QVERIFY(service.saveSettings(folder + " ", 2));
        QCOMPARE(messages.last(), QString("当前软件设置更改成功！"));
        QVERIFY(QDir(folder).exists());
        QCOMPARE(service.backupFolder(), folder);
        QCOMPARE(AppSettings(env.appDir()).autoBackupMode(), 2);

        // A folder that cannot be made: below a plain file.
        QFile plain(QDir(env.appDir()).filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString bad = plain.fileName() + "/sub";
        messages.clear();
        QVERIFY(!service.saveSettings(bad, 1));
        QVERIFY(!service.backup(bad, kDay));
        QCOMPARE(messages.texts(), (QStringList{"当前目录" + bad + " 不存在，是否创建！",
                                                "目录" + bad + "创建失败,请检测路径是否合法!",
                                                "当前目录" + bad + " 不存在，是否创建！",
                                                "目录" + bad + " 创建失败,请检测路径是否合法!"}));
        QCOMPARE(service.backupFolder(), folder);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "test_backup.moc"
