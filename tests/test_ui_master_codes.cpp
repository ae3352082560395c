// The settings windows, the option code window with its picker, and the goods
// type tree window, driven through their controls.
#include "AddTextDialog.h"
#include "CodeManPicker.h"
#include "CodeManWindow.h"
#include "DataModule.h"
#include "EnterCaptionDialog.h"
#include "Fixture.h"
#include "NumberFormat.h"
#include "ReportPreview.h"
#include "SysInfoWindow.h"
#include "TestKit.h"
#include "UiChecks.h"
#include "TreeCodeWindow.h"
#include "UserInfoWindow.h"
#include "WindowRegistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

using namespace korvan;
using namespace korvan::test;

namespace {

// Runs `step` once the dialog's own event loop is running.
void inModalLoop(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }


QStringList itemPaths(QTreeWidget *tree)
{
    QStringList out;
    std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
        out << item->data(0, NodePathRole).toString();
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
    };
    walk(tree->topLevelItem(0));
    return out;
}

QStringList gridNames(QTableView *grid)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r) out << grid->model()->index(r, 0).data().toString();
    return out;
}
} // namespace

class TestUiMasterCodes : public QObject {
    Q_OBJECT
private slots:
    // Four price decimals show prices as ",0.00##" at once; the two price
    // switches exclude each other; caption boxes follow their check boxes.
    void softwareSettings()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        ScriptedResponder responder;
        SysInfoWindow w(env.dm());
        shot(&w, "TfrmSysInfoGl");
        auto *last = child<QCheckBox>(&w, "cbLastPrice");
        auto *lastSupplier = child<QCheckBox>(&w, "cbLastSupplierPrice");
        last->setChecked(true);
        lastSupplier->setChecked(true);
        QVERIFY(!last->isChecked());
        last->setChecked(true);
        QVERIFY(!lastSupplier->isChecked());

        auto *shown = child<QCheckBox>(&w, "cbField6");
        auto *caption = child<QLineEdit>(&w, "edtField6");
        QVERIFY(!shown->isChecked() && !caption->isEnabled());
        shown->setChecked(true);
        QVERIFY(caption->isEnabled());
        caption->setText("重量");

        child<QSpinBox>(&w, "sePrice")->setValue(4);
        child<QSpinBox>(&w, "sePrintNum")->setValue(8);
        click(&w, "btnOK");
        QCOMPARE(responder.texts(), QStringList{"当前软件设置更改成功！"});
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(env.dm().formats().price, QString(",0.00##"));
        QCOMPARE(NumberFormat(env.dm().formats().price).format(*Money::parse("1234.5")), QString("1,234.50"));
        QVERIFY(env.dm().switches().lastPrice);
        QCOMPARE(env.dm().printRows(), 8);
        QCOMPARE(env.dm().session().userFieldCaptions[5], QString("重量"));
        QVERIFY(env.dm().session().userFieldVisible[5]);

        SysInfoWindow again(env.dm());
        QCOMPARE(child<QSpinBox>(&again, "sePrice")->value(), 4);
        QVERIFY(child<QLineEdit>(&again, "edtField6")->isEnabled());
    }

    void companyInformation()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        ScriptedResponder responder;
        UserInfoWindow w(env.dm());
        shot(&w, "TFrmUserInfo");
        QList<QUrl> opened;
        w.openUrl = [&](const QUrl &u) { opened << u; return true; };

        child<QLineEdit>(&w, "edtHomePage")->setText("www.example.com");
        QTest::mouseDClick(child<QLineEdit>(&w, "edtHomePage"), Qt::LeftButton);
        child<QLineEdit>(&w, "edtEmail")->setText("li si@example.com");
        QTest::mouseDClick(child<QLineEdit>(&w, "edtEmail"), Qt::LeftButton);
        child<QLineEdit>(&w, "edtEmail")->setText("sales@example.com");
        QTest::mouseDClick(child<QLineEdit>(&w, "edtEmail"), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>({QUrl("http://www.example.com"), QUrl("mailto:sales@example.com?subject")}));

        click(&w, "btnClear");
        QVERIFY(child<QLineEdit>(&w, "edtEmail")->text().isEmpty());
        click(&w, "btnReload");
        child<QLineEdit>(&w, "edtCompany")->setText(" 华东'贸易 ");
        child<QLineEdit>(&w, "edtPhone")->setText("021-5555");
        child<QPlainTextEdit>(&w, "memMem")->setPlainText("批发");
        click(&w, "btnSave");
        QCOMPARE(responder.texts(), QStringList{"软件设置成功！"});
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(env.dm().session().companyName, QString("华东'贸易"));
        QCOMPARE(env.dm().session().companyPhone, QString("021-5555"));
        QCOMPARE(env.dm().LookupString("SELECT F_Mem FROM SysInfo"), QString("批发"));
    }

    // Add warehouses and units; the batch is saved or dropped as one.
    void optionCodeWindow()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        ScriptedResponder responder;
        CodeManWindow w(env.dm());
        w.show();
        auto *grid = w.grid();
        auto *pages = child<QTabWidget>(&w, "PageControl1");
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("员工职务"));
        QCOMPARE(w.currentType(), QString("empduty"));
        QVERIFY(!child<QAction>(&w, "tbSave")->isEnabled());

        trigger(&w, "tbEdit");
        trigger(&w, "tbDelete");
        QCOMPARE(responder.texts(), QStringList({"此表为空，没有记录需要修改！", "此表是空表，不需要删除！"}));
        QVERIFY(!w.isEditing());
        responder.clear();

        pages->setCurrentWidget(child(&w, "tdepot"));
        QCOMPARE(w.currentType(), QString("depot"));
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("企业仓库"));
        QCOMPARE(gridNames(grid), QStringList({"北仓", "南仓"}));

        trigger(&w, "tbNew");
        QVERIFY(w.isEditing());
        QVERIFY(!pages->tabBar()->isEnabled());
        QVERIFY(!child<QAction>(&w, "tbNew")->isEnabled() && child<QAction>(&w, "tbCancel")->isEnabled());
        // The name typed into the open cell editor is part of the batch.
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
        QVERIFY(editor);
        editor->setText("东仓");
        trigger(&w, "tbSave");
        QVERIFY(!w.isEditing());
        QCOMPARE(env.dm().FillComboBox("SELECT F_Name FROM t_code WHERE F_Type = 'depot' ORDER BY F_ID"),
                 QStringList({"北仓", "南仓", "东仓"}));

        // Renaming and adding, then Esc: nothing reaches the database.
        trigger(&w, "tbNew");
        grid->model()->setData(grid->model()->index(0, 0), "北仓改");
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isEditing());
        QCOMPARE(gridNames(grid), QStringList({"北仓", "南仓", "东仓"}));
        QCOMPARE(env.dm().LookupInt("SELECT count(*) FROM t_code WHERE F_Type = 'depot'"), 3);

        // The delete question quotes the page caption.
        grid->setCurrentIndex(grid->model()->index(1, 0));
        responder.answer(AnswerNo);
        trigger(&w, "tbDelete");
        QCOMPARE(responder.last(), QString("真的要删除 \"企业仓库\"南仓吗？"));
        QCOMPARE(gridNames(grid).size(), 3);
        responder.answer(AnswerYes);
        trigger(&w, "tbDelete");
        QCOMPARE(env.dm().FillComboBox("SELECT F_Name FROM t_code WHERE F_Type = 'depot' ORDER BY F_ID"),
                 QStringList({"北仓", "东仓"}));

        // Printing previews the list under the page's title, over this window.
        trigger(&w, "tbPrint");
        auto *preview = w.findChild<ReportPreview *>();
        QVERIFY(preview && preview->isWindow());
        QStringList printed;
        for (const PageText &t : preview->document().pages.first().texts) printed << t.text;
        QVERIFY(printed.contains("企业仓库设置"));
        QVERIFY(printed.contains("东仓") && printed.contains("北仓"));
        QVERIFY(printed.contains("打印日期：" + QDate::currentDate().toString("yyyy年MM月dd日")));
        preview->close();

        pages->setCurrentWidget(child(&w, "tgoodunit"));
        trigger(&w, "tbNew");
        grid->model()->setData(grid->currentIndex(), "袋");
        trigger(&w, "tbSave");
        QCOMPARE(gridNames(grid), QStringList({"个", "箱", "袋"}));
        pages->setCurrentWidget(child(&w, "tempduty"));
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("职    务"));
        shot(&w, "TFrmCodeMan");
    }

    void optionCodePicker()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        ScriptedResponder responder;
        for (const char *name : {"≥", "", "±"})
            env.db().exec("INSERT INTO t_code (F_Name, F_Type) VALUES (?, 'abSheet1')", {QString::fromUtf8(name)});
        CodeManPicker picker(env.dm());
        picker.CodeType = "abSheet1";
        picker.inputText = [](QString &text) { text = "°C"; return true; };
        QString name;
        inModalLoop([&] {
            shot(&picker, "TDlgCodeFuHaoXz");
            QCOMPARE(picker.grid()->count(), 2);
            child<QLineEdit>(&picker, "edtName")->setText("不存在");
            QCOMPARE(picker.grid()->count(), 0);
            click(&picker, "btnNew");
            click(&picker, "btnOK");
        });
        QVERIFY(picker.SelectCode(name));
        QCOMPARE(name, QString("°C"));
        QCOMPARE(env.dm().LookupInt("SELECT count(*) FROM t_code WHERE F_Type = 'abSheet1' AND F_Name = ?", {QString("°C")}), 1);

        CodeManPicker empty(env.dm());
        empty.CodeType = "itemname";
        QString none = "unchanged";
        inModalLoop([&] { click(&empty, "btnClose"); });
        QVERIFY(!empty.SelectCode(none));
        QCOMPARE(none, QString("unchanged"));
        inModalLoop([&] { click(&empty, "btnOK"); });
        QVERIFY(empty.SelectCode(none));
        QCOMPARE(none, QString());
    }

    // The main window's actions 101 and 110 open these windows modally.
    void registeredWindows()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        registerAllWindows();
        const QList<QPair<int, QString>> actions = {{101, "TFrmUserInfo"}, {110, "TfrmSysInfoGl"}};
        for (const auto &[code, className] : actions) {
            const WindowEntry *entry = windowForAction(code);
            QVERIFY2(entry, qPrintable(className));
            QCOMPARE(entry->className, className);
            QCOMPARE(entry->kind, WindowKind::Modal);
            std::unique_ptr<QWidget> w(entry->create(env.dm(), nullptr));
            QCOMPARE(w->objectName(), className);
        }
    }

    void nameDialogsRefuseBlank()
    {
        ScriptedResponder responder;
        AddTextDialog add;
        QString text;
        inModalLoop([&] {
            add.edit()->setText("   ");
            click(&add, "btnOK");
            QVERIFY(add.isVisible());
            add.edit()->setText(" 新 ");
            click(&add, "btnOK");
        });
        QVERIFY(add.InputText(text));
        QCOMPARE(text, QString(" 新 "));
        QCOMPARE(add.windowTitle(), QString("请输入要增加的标题名称"));

        EnterCaptionDialog enter;
        inModalLoop([&] {
            shot(&enter, "TDLGenterCaption");
            QCOMPARE(enter.edit()->text(), QString("螺丝"));
            enter.edit()->clear();
            click(&enter, "btnOK");
            click(&enter, "btnCancel");
        });
        QCOMPARE(enter.EnterCaption("修改类别 001001 螺丝 子类", "螺丝"), QString());
        QCOMPARE(responder.texts(), QStringList({"名称不能为空！", "部门名称不能为空！"}));
    }

    // A three-level tree; renaming the middle node moves every path below it.
    void goodsTypeTree()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        ScriptedResponder responder;
        TreeCodeWindow w(env.dm());
        w.OpenTree(TreeCodeWindow::Manage);
        w.show();
        QApplication::setActiveWindow(&w); // its shortcuts need an active window
        QCOMPARE(w.windowTitle(), QString("商品类型资料"));
        QStringList asked;
        QStringList answers;
        w.enterCaption = [&](const QString &caption, const QString &) {
            asked << caption;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        QTreeWidget *tree = w.tree();
        const auto select = [&](const QString &code) {
            tree->setCurrentItem(findTreeItem(tree, NodeCodeRole, code));
        };

        select("000");
        click(&w, "btnAddSame");
        QCOMPARE(responder.texts(), QStringList{"不能增加根节点的同类节点，该节点只能增加子节点！"});
        answers = {"五金"};
        click(&w, "btnAddChild");
        select("001");
        answers = {"工具"};
        click(&w, "btnAddChild");
        select("001001");
        answers = {"扳手"};
        click(&w, "btnAddChild");
        answers = {"O'Neil\\X"};
        click(&w, "btnAddSame");
        QCOMPARE(asked, QStringList({"添加 000 商品类型 子类", "添加 001 五金 子类", "添加 001001 工具 子类",
                                     "添加 001001 工具 同类"}));
        QCOMPARE(itemPaths(tree), QStringList({"\\\\", "\\\\五金", "\\\\五金\\工具", "\\\\五金\\工具\\扳手",
                                               "\\\\五金\\O'Neil\\X"}));
        env.db().exec("INSERT INTO t_goods (F_Code, F_Type) VALUES ('G1', ?)", {QString("\\\\五金\\工具\\扳手")});
        env.db().exec("INSERT INTO t_goods (F_Code, F_Type) VALUES ('G2', ?)", {QString("\\\\五金\\工具箱")});

        select("001001");
        answers = {"手动工具"};
        QTest::keyClick(tree, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked.last(), QString("修改类别 001001 工具 子类"));
        QCOMPARE(itemPaths(tree), QStringList({"\\\\", "\\\\五金", "\\\\五金\\手动工具", "\\\\五金\\手动工具\\扳手",
                                               "\\\\五金\\O'Neil\\X"}));
        QCOMPARE(tree->currentItem()->text(0), QString("手动工具"));
        QCOMPARE(env.dm().FillComboBox("SELECT F_Type FROM t_goods ORDER BY F_Code"),
                 QStringList({"\\\\五金\\手动工具\\扳手", "\\\\五金\\工具箱"}));
        shot(&w, "TFrmTreeCodeMan");

        responder.clear();
        select("001001");
        responder.answer(AnswerNo);
        QTest::keyClick(tree, Qt::Key_Delete);
        responder.answer(AnswerYes);
        select("001002");
        click(&w, "btnDelete");
        QCOMPARE(responder.texts(), QStringList({"此节点包含有子节点，真的要删除所有的子节点吗？",
                                                 "真的要删除当前节点 “001002O'Neil\\X” 吗？"}));
        QCOMPARE(env.dm().FillComboBox("SELECT F_code FROM t_treecode ORDER BY F_code"),
                 QStringList({"001", "001001", "001001001"}));
    }

    void goodsTypePicker()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        loadFixture(env.db());
        ScriptedResponder responder;
        const QString preset = "\\\\五金\\螺丝";

        TreeCodeWindow cancel(env.dm());
        cancel.OpenTree(TreeCodeWindow::Pick);
        QString path;
        inModalLoop([&] {
            QCOMPARE(cancel.tree()->currentItem()->data(0, NodePathRole).toString(), preset);
            click(&cancel, "btnCancel");
        });
        QVERIFY(!cancel.PickNode(preset, path));
        QCOMPARE(path, preset);

        // The root cannot be picked: OK says so, Enter does nothing.
        TreeCodeWindow pick(env.dm());
        pick.OpenTree(TreeCodeWindow::Pick);
        inModalLoop([&] {
            QTreeWidget *tree = pick.tree();
            tree->setCurrentItem(tree->topLevelItem(0));
            QTest::keyClick(tree, Qt::Key_Return);
            click(&pick, "btnOK");
            QVERIFY(pick.isVisible());
            tree->setCurrentItem(findTreeItem(tree, NodeCodeRole, "002"));
            QTest::keyClick(tree, Qt::Key_Return);
        });
        QVERIFY(pick.PickNode(QString(), path));
        QCOMPARE(path, QString("\\\\电料"));
        QCOMPARE(responder.texts(), QStringList{"不能选择根节点！"});
    }
};

QTEST_MAIN(TestUiMasterCodes)
#include "test_ui_master_codes.moc"
