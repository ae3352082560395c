// Employees: list conditions, the checks of the edit window, photos.
#include "Employees.h"
#include "Fixture.h"
#include "TestKit.h"

#include <QSqlQuery>

using namespace korvan;
using namespace korvan::test;

namespace {
EmployeeEdit employee(const QString &code, const QString &name)
{
    EmployeeEdit e;
    e.values = {{"F_Code", code}, {"F_Name", name}, {"F_Sex", "女"}, {"F_Dept", " 采购部 "}, {"F_Flag", false}};
    return e;
}

// Not a real picture: the bytes only have to come back unchanged.
const QByteArray kBitmap = QByteArray("BM\x36\x00\x00\x00", 6) + QByteArray(64, '\x7f') + QByteArray("\x00\x01\x02", 3);
} // namespace

class TestEmployees : public QObject {
    Q_OBJECT
private slots:
    void listSearch_data() { addEngineRows(); }
    void listSearch()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        Database &db = env.db();
        db.exec("UPDATE t_employee SET F_Dept = '采购部', F_Duty = '经理', F_Mem = '老员工' WHERE F_Code = 'E001'");
        db.exec("INSERT INTO t_employee (F_Code, F_Name, F_Sex, F_Dept, F_Duty, F_Flag) VALUES ('X01', '赵六', '男', '采购二部', '', ?)", {true});
        db.exec("INSERT INTO t_employee (F_Code, F_Name, F_Dept, F_Flag) VALUES ('E010', 'Ann O''Hara', '销售部', ?)", {false});
        const MasterListDecl decl = EmployeeListDecl();
        QVERIFY(decl.fields[2].isChoice());
        QVERIFY(!decl.fields[1].isChoice());

        struct Case { const char *name; int field; QString text; bool departed; QStringList expected; };
        const QList<Case> cases = {
            {"present only", -1, {}, false, {"E001", "E002", "E010"}},
            {"departed too", -1, {}, true, {"E001", "E002", "E010", "X01"}},
            {"code prefix", 0, "E00", true, {"E001", "E002"}},
            {"name contained", 1, "o'h", false, {"E010"}},
            {"sex", 2, "男", true, {"E001", "X01"}},
            {"department prefix", 3, "采购", true, {"E001", "X01"}},
            {"department prefix, present", 3, "采购", false, {"E001"}},
            {"duty", 4, "经理", true, {"E001"}},
            {"remarks", 5, "员工", false, {"E001"}},
        };
        for (const Case &c : cases)
            QCOMPARE(codes(db, BuildListQuery(db.dialect(), decl, c.field, c.text, c.departed)).join(','), c.expected.join(','));
        QStringList departments = DistinctNames(env.dm(), decl.fields[3].choiceSql);
        departments.sort();
        QCOMPARE(departments, QStringList({"采购二部", "采购部", "销售部"}));
        QCOMPARE(DistinctNames(env.dm(), decl.fields[4].choiceSql), QStringList({"经理"}));
    }

    void validation_data()
    {
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty code") << true << " " << "x" << "当前员工编号不能为空！";
        QTest::newRow("duplicate") << true << "E001" << "x" << "员工编号重复，请重新输入！";
        QTest::newRow("duplicate trimmed") << true << "E002 " << "x" << "员工编号重复，请重新输入！";
        QTest::newRow("empty name allowed") << true << "E003" << "" << "";
        QTest::newRow("edit keeps own code") << false << "E001" << "张三丰" << "";
        QTest::newRow("edit to another's code") << false << "E002" << "x" << "员工编号重复，请重新输入！";
    }
    void validation()
    {
        QFETCH(bool, isNew);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        TestEnv env(QStringLiteral("sqlite"));
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        EmployeeEdit e = employee(code, name);
        e.isNew = isNew;
        if (!isNew) e.id = env.db().scalar("SELECT F_ID FROM t_employee WHERE F_Code = 'E001'").toLongLong();
        const MasterResult r = SaveEmployee(env.dm(), e);
        QCOMPARE(r.message, message);
        QCOMPARE(r.ok, message.isEmpty());
        if (!r.ok) QCOMPARE(r.focus, QString("F_Code"));
    }

    void photoKinds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("storedPath");
        QTest::addColumn<bool>("kept");
        QTest::newRow("bitmap") << "/home/u/pics/face.BMP" << "face.BMP" << true;
        QTest::newRow("jpeg") << "C:/pics/face.jpeg" << "face.jpeg" << true;
        QTest::newRow("jpg") << "face.jpg" << "face.jpg" << true;
        QTest::newRow("gif not kept") << "/pics/face.gif" << "face.gif" << false;
        QTest::newRow("png not kept") << "face.png" << "face.png" << false;
        QTest::newRow("no photo") << "" << "" << false;
    }
    void photoKinds()
    {
        QFETCH(QString, path);
        QFETCH(QString, storedPath);
        QFETCH(bool, kept);
        const EmployeePhoto p = StoredPhoto(path, kBitmap);
        QCOMPARE(p.path, storedPath);
        QCOMPARE(p.data, kept ? kBitmap : QByteArray());
        // What the edit window shows again: a photo of another kind clears its path too.
        const EmployeePhoto shown = PhotoOfRecord({{"F_ImagePath", p.path}, {"F_EmpImage", p.data}});
        QCOMPARE(shown.path, kept ? storedPath : QString());
        QCOMPARE(shown.data, p.data);
    }

    // A photo goes in and comes back byte for byte; saving again without
    // touching it keeps it; a GIF stores none.
    void photoRoundTrip_data() { addEngineRows(); }
    void photoRoundTrip()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        EmployeeEdit e = employee(" E100 ", "");
        e.photo = {QStringLiteral("/tmp/photos/e100.bmp"), kBitmap};
        QVERIFY(SaveEmployee(env.dm(), e).ok);
        QVariantMap row = LoadRecord(env.db(), "t_employee", e.id);
        QCOMPARE(row.value("F_Code").toString(), QString("E100"));
        QCOMPARE(row.value("F_Dept").toString(), QString("采购部"));
        QCOMPARE(row.value("F_ImagePath").toString(), QString("e100.bmp"));
        QCOMPARE(row.value("F_EmpImage").toByteArray(), kBitmap);

        EmployeeEdit again;
        again.isNew = false;
        again.id = e.id;
        again.values = row;
        again.values["F_Phone"] = "88";
        again.photo = PhotoOfRecord(row);
        QVERIFY(SaveEmployee(env.dm(), again).ok);
        row = LoadRecord(env.db(), "t_employee", e.id);
        QCOMPARE(row.value("F_EmpImage").toByteArray(), kBitmap);
        QCOMPARE(row.value("F_Phone").toString(), QString("88"));

        again.photo = {QStringLiteral("/tmp/anim.gif"), kBitmap};
        QVERIFY(SaveEmployee(env.dm(), again).ok);
        row = LoadRecord(env.db(), "t_employee", e.id);
        QVERIFY(row.value("F_EmpImage").toByteArray().isEmpty());
        QVERIFY(PhotoOfRecord(row).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEmployees)
#include "test_employees.moc"
