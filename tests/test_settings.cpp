// Company information and software settings: saved at once for the running
// system, written all or nothing, read back by a later start and login.
#include "DataModule.h"
#include "NumberFormat.h"
#include "SystemSettings.h"
#include "TestKit.h"

using namespace korvan;
using namespace korvan::test;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void isValidEmail_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "sales@example.com" << true;
        QTest::newRow("all allowed characters") << "A.b-c_9@mail-1.example.cn" << true;
        QTest::newRow("three after the dot") << "a@b.com" << true;
        QTest::newRow("two after the first dot") << "li@ab.cn" << false;
        QTest::newRow("host ends in a dot") << "li@abcd." << false;
        QTest::newRow("blank inside") << "li si@example.com" << false;
        QTest::newRow("double dot") << "li..si@example.com" << false;
        QTest::newRow("no at") << "lisi.example.com" << false;
        QTest::newRow("nothing before at") << "@example.com" << false;
        QTest::newRow("host of three") << "li@a.b" << false;
        QTest::newRow("host without dot") << "li@example" << false;
        QTest::newRow("chinese") << "李四@example.com" << false;
        QTest::newRow("empty") << "" << false;
    }
    void isValidEmail()
    {
        QFETCH(QString, address);
        QFETCH(bool, valid);
        QCOMPARE(IsValidEmail(address), valid);
        QCOMPARE(mailToUrl(" " + address + " "), valid ? "mailto:" + address + "?subject" : QString());
    }

    void homePage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opened");
        QTest::newRow("blank") << "   " << "";
        QTest::newRow("no scheme") << " www.example.com " << "http://www.example.com";
        QTest::newRow("http") << "http://www.example.com" << "http://www.example.com";
        QTest::newRow("https") << "https://www.example.com" << "https://www.example.com";
    }
    void homePage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        QCOMPARE(homePageUrl(typed), opened);
    }

    void priceSwitchesExcludeEachOther()
    {
        SoftwareSettings s;
        s.setLastPrice(true);
        QVERIFY(s.switches.lastPrice && !s.switches.lastSupplierPrice);
        s.setLastSupplierPrice(true);
        QVERIFY(!s.switches.lastPrice && s.switches.lastSupplierPrice);
        s.setLastSupplierPrice(false);
        QVERIFY(!s.switches.lastPrice && !s.switches.lastSupplierPrice);
    }

    // The running system takes the values at once; a new start and login read them back.
    void softwareSettingsSaveAndReload_data() { addEngineRows(); }
    void softwareSettingsSaveAndReload()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        DataModule &dm = env.dm();
        ScriptedResponder responder;

        SoftwareSettings s = CurrentSoftwareSettings(dm);
        s.switches.qtyDecimals = 2;
        s.switches.priceDecimals = 4;
        s.switches.amountDecimals = 12; // out of range: kept at 10
        s.switches.autoGoodsCode = true;
        s.setLastSupplierPrice(true);
        s.printRows = 12;
        s.barcodeInput = true;
        s.fieldCaptions[0] = "产地'码";
        s.fieldCaptions[5] = "重量\\kg";
        s.fieldVisible[0] = true;
        s.fieldVisible[10] = true;
        QVERIFY(SaveSoftwareSettings(dm, s));
        QVERIFY(responder.shown().isEmpty());

        QCOMPARE(dm.formats().price, QString(",0.00##"));
        QCOMPARE(NumberFormat(dm.formats().price).format(*Money::parse("1234.5")), QString("1,234.50"));
        QCOMPARE(NumberFormat(dm.formats().price).format(*Money::parse("1.23456")), QString("1.2346"));
        QCOMPARE(NumberFormat(dm.formats().qty).format(3.456), QString("3.46"));
        QCOMPARE(NumberFormat(dm.formats().qty).format(3.0), QString("3"));
        QCOMPARE(dm.switches().amountDecimals, 10);
        QVERIFY(dm.switches().lastSupplierPrice && !dm.switches().lastPrice);
        QCOMPARE(dm.printRows(), 12);
        QVERIFY(dm.barcodeInput());
        QCOMPARE(dm.session().userFieldCaptions[0], QString("产地'码"));

        // A later start reads the same values from the database and config.ini.
        AppSettings again(env.appDir());
        QCOMPARE(again.printRows(), 12);
        QVERIFY(again.barcodeInput());
        DataModule second(again, env.testDb().connectAgain());
        second.LoadSwitches();
        QCOMPARE(second.formats().price, QString(",0.00##"));
        QCOMPARE(second.formats().amount, QString(",0.00########"));
        QVERIFY(second.switches().autoGoodsCode);
        QVERIFY(second.switches().lastSupplierPrice && !second.switches().lastPrice);
        QSqlQuery fields = second.db().query("SELECT F_Value, F_Flag FROM KeyValue ORDER BY F_ID");
        QStringList captions;
        QList<bool> shown;
        while (fields.next()) {
            captions << fields.value(0).toString();
            shown << fields.value(1).toBool();
        }
        QCOMPARE(captions.size(), 11);
        QCOMPARE(captions[0], QString("产地'码"));
        QCOMPARE(captions[5], QString("重量\\kg"));
        QCOMPARE(shown[0], true);
        QCOMPARE(shown[5], false);
        QCOMPARE(shown[10], true);
    }

    // A statement failing half way leaves the database, config.ini and the
    // running values as they were.
    void softwareSettingsAllOrNothing_data() { addEngineRows(); }
    void softwareSettingsAllOrNothing()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        DataModule &dm = env.dm();
        ScriptedResponder responder;
        const NumberFormats formatsBefore = dm.formats();
        dm.setPrintRows(env.settings().printRows());
        const int rowsBefore = dm.printRows();

        SoftwareSettings s = CurrentSoftwareSettings(dm);
        s.switches.priceDecimals = 4;
        s.printRows = 15;
        s.fieldCaptions[0] = "不应写入";
        env.db().exec("ALTER TABLE SysInfo RENAME TO SysInfoAway"); // the last statement will fail
        QVERIFY(!SaveSoftwareSettings(dm, s));
        env.db().exec("ALTER TABLE SysInfoAway RENAME TO SysInfo");

        QCOMPARE(responder.texts(), QStringList{DataModule::failMessage()});
        QCOMPARE(dm.formats().price, formatsBefore.price);
        QCOMPARE(dm.printRows(), rowsBefore);
        QVERIFY(dm.session().userFieldCaptions[0] != "不应写入");
        QCOMPARE(dm.LookupInt("SELECT count(*) FROM KeyValue WHERE F_Value = ?", {QString("不应写入")}), 0);
        QCOMPARE(AppSettings(env.appDir()).printRows(), rowsBefore);
    }

    void companyInfoSaveAndReload_data() { addEngineRows(); }
    void companyInfoSaveAndReload()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        DataModule &dm = env.dm();
        ScriptedResponder responder;

        CompanyInfo c;
        c.name = "  O'Brien 贸易\\公司  ";
        c.address = "北京路 1 号";
        c.manager = "张三";
        c.phone = " 010-1234567 ";
        c.mobile = "13800000000";
        c.homepage = "www.example.com";
        c.email = "sales@example.com";
        c.legalRep = "李四";
        c.profile = "批发'零售";
        QVERIFY(SaveCompanyInfo(dm, c));
        QVERIFY(responder.shown().isEmpty());
        QCOMPARE(dm.session().companyName, QString("O'Brien 贸易\\公司"));
        QCOMPARE(dm.session().companyPhone, QString("010-1234567"));
        QCOMPARE(dm.session().companyFax, QString("13800000000"));

        DataModule second(env.settings(), env.testDb().connectAgain());
        const CompanyInfo back = LoadCompanyInfo(second);
        QCOMPARE(back.name, QString("O'Brien 贸易\\公司"));
        QCOMPARE(back.phone, QString("010-1234567"));
        QCOMPARE(back.profile, QString("批发'零售"));
        QCOMPARE(back.homepage, QString("www.example.com"));
        QCOMPARE(second.LookupInt("SELECT count(*) FROM SysInfo"), 1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
