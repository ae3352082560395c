// Option code lists: a batch of pending changes saved or dropped as one; the
// readers and the picker's lists.
#include "DataModule.h"
#include "Fixture.h"
#include "OptionCodes.h"
#include "TestKit.h"

using namespace korvan;
using namespace korvan::test;

namespace {
QStringList storedNames(DataModule &dm, const QString &type)
{
    QStringList names;
    QSqlQuery q = dm.db().query("SELECT F_Name FROM t_code WHERE F_Type = ? ORDER BY F_ID", {type});
    while (q.next()) names << q.value(0).toString();
    return names;
}
QStringList listNames(const OptionCodeList &list)
{
    QStringList names;
    for (int i = 0; i < list.size(); ++i) names << list.row(i).name;
    return names;
}
} // namespace

class TestOptionCodes : public QObject {
    Q_OBJECT
private slots:
    void pages()
    {
        QStringList names, captions;
        for (const OptionPage &p : optionPages()) {
            names << p.pageName;
            captions << p.caption;
        }
        QCOMPARE(names, QStringList({"tempduty", "tclttype", "tgoodunit", "tdepot", "tpaymode", "tAccount", "tdept", "tkptype"}));
        QCOMPARE(captions.first(), QString("职    务"));
        QCOMPARE(optionPage("Account")->caption, QString("企业帐户"));
        QVERIFY(!optionPage("abSheet1"));
    }

    // Inserts, renames and deletions reach the database only on save, together.
    void batchSaveAndCancel_data() { addEngineRows(); }
    void batchSaveAndCancel()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        DataModule &dm = env.dm();
        ScriptedResponder responder;

        OptionCodeList list;
        QVERIFY(list.load(dm, "depot"));
        QCOMPARE(listNames(list), QStringList({"北仓", "南仓"}));

        list.setName(0, "北仓'一号");
        list.remove(1);
        list.setName(list.append(), "东仓\\B");
        list.append(); // left empty
        QVERIFY(list.hasPending());
        QCOMPARE(storedNames(dm, "depot"), QStringList({"北仓", "南仓"}));
        list.cancel();
        QVERIFY(!list.hasPending());
        QCOMPARE(listNames(list), QStringList({"北仓", "南仓"}));

        list.setName(0, "北仓'一号");
        list.remove(1);
        list.setName(list.append(), "东仓\\B");
        list.append();
        QVERIFY(list.save(dm));
        QVERIFY(!list.hasPending());
        const QStringList expected{"北仓'一号", "东仓\\B", ""};
        QCOMPARE(storedNames(dm, "depot"), expected);
        QCOMPARE(listNames(list), expected);
        QVERIFY(list.row(1).id != 0);
        QCOMPARE(storedNames(dm, "goodunit"), QStringList({"个", "箱"}));
        QVERIFY(responder.shown().isEmpty());
    }

    // A batch that fails half way writes nothing and stays pending.
    void failedBatchWritesNothing_data() { addEngineRows(); }
    void failedBatchWritesNothing()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        DataModule &dm = env.dm();
        ScriptedResponder responder;
        OptionCodeList list;
        QVERIFY(list.load(dm, "goodunit"));
        list.setName(0, "只");
        list.setName(list.append(), "袋");
        // The insert comes after the rename; make it fail.
        env.db().exec(engine == "pg" ? "ALTER TABLE t_code ADD CONSTRAINT no_bags CHECK (F_Name <> '袋')"
                                     : "CREATE TRIGGER no_bags BEFORE INSERT ON t_code WHEN NEW.F_Name = '袋'"
                                       " BEGIN SELECT RAISE(ABORT, 'no bags'); END");
        QVERIFY(!list.save(dm));
        QCOMPARE(responder.texts(), QStringList{OptionCodeList::saveFailMessage()});
        QCOMPARE(storedNames(dm, "goodunit"), QStringList({"个", "箱"}));
        QVERIFY(list.hasPending());
        QCOMPARE(listNames(list), QStringList({"只", "箱", "袋"}));
    }

    // Readers never offer blank entries and show a name once; the picker sorts.
    void readers_data() { addEngineRows(); }
    void readers()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        DataModule &dm = env.dm();
        for (const char *name : {"现金", "", "支票", "  ", "现金", "Cheque 100%", "cheque_x"})
            dm.db().exec("INSERT INTO t_code (F_Name, F_Type) VALUES (?, 'paymode')", {QString::fromUtf8(name)});
        dm.db().exec("INSERT INTO t_code (F_Name, F_Type) VALUES ('汇票', 'Account')");

        QCOMPARE(OptionNames(dm, "paymode"), QStringList({"现金", "支票", "Cheque 100%", "cheque_x"}));
        const QStringList all = PickerNames(dm, "paymode");
        QCOMPARE(all.size(), 5);
        QVERIFY(!all.contains("") && !all.contains("  "));
        QCOMPARE(SearchOptionCodes(dm, "paymode", " CHEQUE "), QStringList({"Cheque 100%", "cheque_x"}));
        QCOMPARE(SearchOptionCodes(dm, "paymode", "100%"), QStringList({"Cheque 100%"}));
        QCOMPARE(SearchOptionCodes(dm, "paymode", "e_"), QStringList({"cheque_x"}));
        QCOMPARE(SearchOptionCodes(dm, "paymode", "汇票"), QStringList());
        QCOMPARE(SearchOptionCodes(dm, "paymode", ""), all);

        QVERIFY(AddOptionCode(dm, "abSheet1", "±'\\"));
        QCOMPARE(PickerNames(dm, "abSheet1"), QStringList({"±'\\"}));
    }
};

QTEST_GUILESS_MAIN(TestOptionCodes)
#include "test_optioncodes.moc"
