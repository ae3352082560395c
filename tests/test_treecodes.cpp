// The goods type tree: codes, paths, loading, and the rename cascade and
// subtree delete on both engines.
#include "DataModule.h"
#include "TestKit.h"
#include "TreeCodes.h"

using namespace korvan;
using namespace korvan::test;

namespace {
void addNode(Database &db, const QString &code, const QString &name, const QString &path, const QString &flag = kGoodsTypeFlag)
{
    db.exec("INSERT INTO t_treecode (F_code, F_name, F_likecode, F_flag) VALUES (?, ?, ?, ?)", {code, name, path, flag});
}
QStringList column(Database &db, const QString &sql, const QVariantList &params = {})
{
    QStringList out;
    QSqlQuery q = db.query(sql, params);
    while (q.next()) out << q.value(0).toString();
    return out;
}
} // namespace

class TestTreeCodes : public QObject {
    Q_OBJECT
private slots:
    void nextTreeCode_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("anchor");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        const int sib = int(TreeCodeMode::Sibling), child = int(TreeCodeMode::Child);
        for (const QString &e : engines()) {
            const auto row = [&](const char *name) -> QTestData & { return QTest::newRow(qPrintable(e + ": " + name)) << e; };
            row("first top-level node") << QStringList{} << "" << child << "001";
            row("next top-level node") << QStringList{"001", "001001"} << "" << child << "002";
            row("first child") << QStringList{"001", "002"} << "001" << child << "001001";
            row("sibling after the largest") << QStringList{"001", "001001", "001002", "001005"} << "001002" << sib << "001006";
            row("grandchildren do not count") << QStringList{"001", "001001", "001001007"} << "001" << child << "001002";
            row("top-level sibling") << QStringList{"001", "002", "010", "010001"} << "002" << sib << "011";
            row("carry keeps three digits") << QStringList{"001", "001099"} << "001099" << sib << "001100";
            row("parent full") << QStringList{"001", "001999"} << "001" << child << "";
            row("other tree ignored") << QStringList{"001", "x:002"} << "001" << sib << "002";
        }
    }
    void nextTreeCode()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, codes);
        QFETCH(QString, anchor);
        QFETCH(int, mode);
        QFETCH(QString, expected);
        TestDb t(engine);
        KORVAN_REQUIRE(t);
        for (const QString &c : codes) {
            const bool other = c.startsWith("x:");
            addNode(t.db(), other ? c.mid(2) : c, c, "\\\\" + c, other ? "x" : kGoodsTypeFlag);
        }
        QCOMPARE(NextTreeCode(t.db(), anchor, kGoodsTypeFlag, TreeCodeMode(mode)), expected);
    }

    void tripleBackslashes_data()
    {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "\\\\A\\B" << "\\\\A\\B";
        QTest::newRow("name starting with a backslash") << "\\\\\\A" << "\\\\A";
        QTest::newRow("deeper") << "\\\\A\\\\\\B" << "\\\\A\\\\B";
        QTest::newRow("runs are not rescanned") << "\\\\\\\\A" << "\\\\\\A";
    }
    void tripleBackslashes()
    {
        QFETCH(QString, built);
        QFETCH(QString, stored);
        QCOMPARE(collapsePathBackslashes(built), stored);
    }

    // Loading places rows by code length; paths built from the loaded names.
    void loadAndPaths()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        Database &db = env.db();
        addNode(db, "001", "五金", "\\\\五金");
        addNode(db, "001001", "螺丝", "\\\\五金\\螺丝");
        addNode(db, "001001001", "M6", "\\\\五金\\螺丝\\M6");
        addNode(db, "001002", "工具", "\\\\五金\\工具");
        addNode(db, "002", "电料", "\\\\电料");
        addNode(db, "001", "别的树", "\\\\别的树", "other");
        const CodeTree tree = LoadCodeTree(env.dm(), kGoodsTypeRootCaption, kGoodsTypeFlag);
        QCOMPARE(tree.nodes.size(), 6);
        const TreeNode &root = tree.node(CodeTree::kRoot);
        QCOMPARE(root.code, QString("000"));
        QCOMPARE(root.name, QString("商品类型"));
        QCOMPARE(root.path, QString("\\\\"));
        QCOMPARE(root.codeLength, 0);
        QStringList shape;
        for (int n : tree.preorder())
            shape << QString(tree.level(n) * 2, ' ') + tree.node(n).name;
        QCOMPARE(shape, QStringList({"商品类型", "  五金", "    螺丝", "      M6", "    工具", "  电料"}));

        const int m6 = tree.findCode("001001001"), screws = tree.findCode("001001"), metal = tree.findCode("001");
        QCOMPARE(GetNodePath(tree, m6, 1), QString("\\\\五金\\螺丝\\M6"));
        QCOMPARE(GetNodePath(tree, m6, 2), QString("\\\\五金\\螺丝"));
        QCOMPARE(GetNodePath(tree, metal, 1), QString("\\\\五金"));
        QCOMPARE(siblingPath(tree, metal, "建材"), QString("\\\\建材"));
        QCOMPARE(siblingPath(tree, m6, "M8"), QString("\\\\五金\\螺丝\\M8"));
        QCOMPARE(childPath(tree, CodeTree::kRoot, "\\建材"), QString("\\\\建材"));
        QCOMPARE(childPath(tree, screws, "M8"), QString("\\\\五金\\螺丝\\M8"));
        QCOMPARE(renamedPath(tree, screws, "螺栓"), QString("\\\\五金\\螺栓"));
        QCOMPARE(renamedPath(tree, metal, "金属"), QString("\\\\金属"));
        QCOMPARE(tree.findPath("\\\\五金\\工具"), tree.findCode("001002"));
    }

    // Renaming A rewrites A and everything below it in the four tables in one
    // go, and nothing else: not AB, not a lower-case a.
    void renameCascade_data() { addEngineRows(); }
    void renameCascade()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        Database &db = env.db();
        ScriptedResponder responder;
        addNode(db, "001", "A", "\\\\A");
        addNode(db, "001001", "X", "\\\\A\\X");
        addNode(db, "001001001", "Y%_!", "\\\\A\\X\\Y%_!");
        addNode(db, "002", "AB", "\\\\AB");
        addNode(db, "003", "a", "\\\\a");
        const QStringList paths = {"\\\\A", "\\\\A\\X", "\\\\A\\X\\Y%_!", "\\\\AB", "\\\\AB\\X", "\\\\a", "\\\\a\\X", "\\\\A\\"};
        int n = 0;
        for (const QString &p : paths) {
            const QString code = QString("G%1").arg(++n);
            db.exec("INSERT INTO t_goods (F_Code, F_Type) VALUES (?, ?)", {code, p});
            db.exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Type) VALUES ('CGD20240305001', ?, ?)", {code, p});
            db.exec("INSERT INTO ddDepotD (F_Code, F_GoodCode, F_Type) VALUES ('CDD20240305001', ?, ?)", {code, p});
        }

        const CodeTree tree = LoadCodeTree(env.dm(), kGoodsTypeRootCaption, kGoodsTypeFlag);
        const int a = tree.findCode("001");
        const QString newName = "C'\\D";
        const QString newPath = renamedPath(tree, a, newName);
        QCOMPARE(newPath, QString("\\\\C'\\D"));
        QCOMPARE(RenameTreeNode(env.dm(), kGoodsTypeFlag, "001", GetNodePath(tree, a, 1), newName, newPath),
                 RenameResult::Renamed);
        QVERIFY(responder.shown().isEmpty());

        const QStringList expected = {"\\\\C'\\D", "\\\\C'\\D\\X", "\\\\C'\\D\\X\\Y%_!", "\\\\AB", "\\\\AB\\X",
                                      "\\\\a", "\\\\a\\X", "\\\\C'\\D\\"};
        for (const QString &table : {"t_goods", "depotD", "ddDepotD"})
            QCOMPARE(column(db, QString("SELECT F_Type FROM %1 ORDER BY F_ID").arg(table)), expected);
        QCOMPARE(column(db, "SELECT F_likecode FROM t_treecode ORDER BY F_code"),
                 QStringList({"\\\\C'\\D", "\\\\C'\\D\\X", "\\\\C'\\D\\X\\Y%_!", "\\\\AB", "\\\\a"}));
        QCOMPARE(column(db, "SELECT F_name FROM t_treecode ORDER BY F_code"), QStringList({newName, "X", "Y%_!", "AB", "a"}));

        // The same name in other letter case changes nothing at all.
        const CodeTree again = LoadCodeTree(env.dm(), kGoodsTypeRootCaption, kGoodsTypeFlag);
        const int ab = again.findCode("002");
        QCOMPARE(RenameTreeNode(env.dm(), kGoodsTypeFlag, "002", GetNodePath(again, ab, 1), "ab",
                                renamedPath(again, ab, "ab")),
                 RenameResult::Unchanged);
        QCOMPARE(db.scalar("SELECT F_name FROM t_treecode WHERE F_code = '002'").toString(), QString("AB"));
    }

    // When one table of the cascade refuses, no table changes.
    void renameFailureChangesNothing_data() { addEngineRows(); }
    void renameFailureChangesNothing()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        Database &db = env.db();
        ScriptedResponder responder;
        addNode(db, "001", "A", "\\\\A");
        db.exec("INSERT INTO t_goods (F_Code, F_Type) VALUES ('G1', '\\\\A')");
        db.exec("INSERT INTO ddDepotD (F_Code, F_Type) VALUES ('CDD20240305001', '\\\\A')");
        db.exec(engine == "pg" ? "ALTER TABLE ddDepotD ADD CONSTRAINT keep_a CHECK (F_Type = '\\\\A')"
                               : "CREATE TRIGGER keep_a BEFORE UPDATE ON ddDepotD BEGIN SELECT RAISE(ABORT, 'no'); END");
        const CodeTree tree = LoadCodeTree(env.dm(), kGoodsTypeRootCaption, kGoodsTypeFlag);
        QCOMPARE(RenameTreeNode(env.dm(), kGoodsTypeFlag, "001", "\\\\A", "B", renamedPath(tree, 1, "B")),
                 RenameResult::Failed);
        QCOMPARE(responder.texts(), QStringList{DataModule::failMessage()});
        QCOMPARE(db.scalar("SELECT F_Type FROM t_goods").toString(), QString("\\\\A"));
        QCOMPARE(db.scalar("SELECT F_name FROM t_treecode").toString(), QString("A"));
    }

    void addAndDeleteSubtree_data() { addEngineRows(); }
    void addAndDeleteSubtree()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        Database &db = env.db();
        DataModule &dm = env.dm();
        ScriptedResponder responder;
        const QString top = AddTreeNode(dm, kGoodsTypeFlag, "", TreeCodeMode::Child, "O'Neil", "\\\\O'Neil");
        QCOMPARE(top, QString("001"));
        QCOMPARE(AddTreeNode(dm, kGoodsTypeFlag, "001", TreeCodeMode::Sibling, "B", "\\\\B"), QString("002"));
        QCOMPARE(AddTreeNode(dm, kGoodsTypeFlag, "001", TreeCodeMode::Child, " x ", "\\\\O'Neil\\ x "), QString("001001"));
        QCOMPARE(AddTreeNode(dm, kGoodsTypeFlag, "001001", TreeCodeMode::Child, "y", "\\\\O'Neil\\ x \\y"), QString("001001001"));
        QCOMPARE(AddTreeNode(dm, kGoodsTypeFlag, "001001", TreeCodeMode::Sibling, "z", "\\\\O'Neil\\z"), QString("001002"));
        addNode(db, "001", "other tree", "\\\\other tree", "other");
        QCOMPARE(db.scalar("SELECT F_name FROM t_treecode WHERE F_code = '001001'").toString(), QString(" x "));
        db.exec("INSERT INTO t_goods (F_Code, F_Type) VALUES ('G1', ?)", {QString("\\\\O'Neil\\ x ")});

        QVERIFY(DeleteTreeNode(dm, kGoodsTypeFlag, "001001"));
        QCOMPARE(column(db, "SELECT F_code FROM t_treecode WHERE F_flag = 'goodtype' ORDER BY F_code"),
                 QStringList({"001", "001002", "002"}));
        QVERIFY(DeleteTreeNode(dm, kGoodsTypeFlag, "001"));
        QCOMPARE(column(db, "SELECT F_code FROM t_treecode ORDER BY F_flag, F_code"), QStringList({"002", "001"}));
        QCOMPARE(db.scalar("SELECT F_Type FROM t_goods").toString(), QString("\\\\O'Neil\\ x "));
        QVERIFY(responder.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTreeCodes)
#include "test_treecodes.moc"
