// The master data windows driven through their controls: the list window
// framework (goods, suppliers, employees), the edit dialog pattern, the
// picture window and the two pickers.
#include "DataGrid.h"
#include "DataModule.h"
#include "EmployeeEditDialog.h"
#include "EmployeeListWindow.h"
#include "Fixture.h"
#include "GoodsEditDialog.h"
#include "GoodsListWindow.h"
#include "GoodsPicker.h"
#include "ImageDisplayWindow.h"
#include "ReportServices.h"
#include "SupplierEditDialog.h"
#include "SupplierListWindow.h"
#include "SupplierPicker.h"
#include "TestKit.h"
#include "UiChecks.h"
#include "TreeCodeWindow.h"
#include "WindowRegistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace korvan;
using namespace korvan::test;

namespace {
bool enabled(QObject *parent, const char *name) { return child<QAction>(parent, name)->isEnabled(); }

// Runs `step` on the modal dialog once its event loop runs.
void inModal(std::function<void(QWidget *)> step)
{
    QTimer::singleShot(0, [step] { step(QApplication::activeModalWidget()); });
}


QStringList column(DataGrid *grid, const QString &field)
{
    GridModel *m = grid->gridModel();
    m->fetchAll();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) out << m->value(r, field).toString();
    return out;
}

void search(QWidget *window, int field, const QString &text)
{
    child<QComboBox>(window, "cbSearchField")->setCurrentIndex(field);
    child<QLineEdit>(window, "edtSearchText")->setText(text);
    click(window, "btnSearch");
}

QTreeWidgetItem *typeNode(QTreeWidget *tree, const QString &name)
{
    const QList<QTreeWidgetItem *> hits = tree->findItems(name, Qt::MatchRecursive | Qt::MatchExactly);
    return hits.value(0);
}

// A document window as the goods picker sees it.
struct LinesTarget : GoodsLineTarget {
    QList<QVariantMap> lines;
    int goodsDocKind() const override { return GoodsForReceipt; }
    QString goodsSupplierText() const override { return QStringLiteral(" 华强五金 "); }
    QString goodsDocumentCode() const override { return QStringLiteral("CGD20240306001"); }
    void appendGoodsLine(const QVariantMap &line) override { lines << line; }
};
} // namespace

class TestUiMasterLists : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ScriptedResponder> m_responder;

    Database &db() { return m_env->db(); }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>(QStringLiteral("sqlite"));
        KORVAN_REQUIRE(*m_env);
        m_env->loginAsSuperUser();
        loadFixture(db());
        m_responder = std::make_unique<ScriptedResponder>();
    }
    void cleanup()
    {
        m_responder.reset();
        m_env.reset();
    }

    // The list framework on the goods list: search fields, the type tree,
    // disabled rows, navigation, deletion rules, batch type change.
    void goodsList()
    {
        db().exec("INSERT INTO t_goods (F_Code, F_Name, F_Type, F_Flag) VALUES ('G004', '旧扳手', ?, ?)",
                  {QStringLiteral("\\\\五金"), true});
        db().exec("INSERT INTO depotD (F_Code, F_GoodCode, F_Amount) VALUES ('CGD20240306001', 'G002', 1)");
        GoodsListWindow w(m_env->dm());
        w.show();
        DataGrid *grid = child<DataGrid>(&w, "DBGridEh1");
        QCOMPARE(grid->gridModel()->rowCount(), 0); // empty until the first search
        QCOMPARE(child<QComboBox>(&w, "cbSearchField")->count(), 10);

        search(&w, 0, "G00");
        QCOMPARE(column(grid, "F_Code"), QStringList({"G001", "G002", "G003"}));
        QCOMPARE(child<QLabel>(&w, "lblRecordCount")->text(), QString("记录数：3"));
        QVERIFY(!enabled(&w, "tbFirst") && !enabled(&w, "tbPrior") && enabled(&w, "tbNext"));
        trigger(&w, "tbLast");
        QCOMPARE(grid->currentRow(), 2);
        QVERIFY(enabled(&w, "tbPrior") && !enabled(&w, "tbNext") && !enabled(&w, "tbLast"));

        child<QCheckBox>(&w, "chkDisabled")->click();
        QCOMPARE(column(grid, "F_Code").size(), 4);
        QCOMPARE(grid->rowColours(3).text, QColor(Qt::red));
        QVERIFY(!grid->rowColours(0).text.isValid());

        // A type node narrows the list; changing the field clears the text.
        QTreeWidget *tree = child<QTreeWidget>(&w, "tvType");
        QTreeWidgetItem *nuts = typeNode(tree, "螺丝");
        QVERIFY(nuts);
        tree->setCurrentItem(nuts);
        emit tree->itemDoubleClicked(nuts, 0);
        QCOMPARE(column(grid, "F_Code"), QStringList({"G001"}));
        child<QComboBox>(&w, "cbSearchField")->setCurrentIndex(1);
        QVERIFY(child<QLineEdit>(&w, "edtSearchText")->text().isEmpty());
        tree->setCurrentItem(tree->topLevelItem(0));
        click(&w, "btnSearch");
        shot(&w, "TFrmGoodGl");

        // Print and design through the report engine, over the list as shown.
        trigger(&w, "tbPrint");
        ReportPreview *preview = nullptr;
        for (QWidget *widget : QApplication::allWidgets())
            if (auto *p = qobject_cast<ReportPreview *>(widget)) preview = p;
        QVERIFY(preview);
        QCOMPARE(preview->job().name, QString("frGoodMan"));
        QCOMPARE(preview->job().data.get("frxDM")->rowCount(), 4);
        delete preview;
        QString designed;
        SetReportDesignerRunner([&](ReportDesigner &d) { designed = d.objectName(); return 0; });
        trigger(&w, "tbSet");
        SetReportDesignerRunner({});
        QVERIFY(!designed.isNull());

        // Goods in a receipt line stay; goods only in an order go after the question.
        locateCode(grid, "G002");
        trigger(&w, "tbDelete");
        QCOMPARE(m_responder->last(), QString("该货品资料已经被使用，不能被删除！"));
        locateCode(grid, "G001");
        m_responder->answer(AnswerYes);
        trigger(&w, "tbDelete");
        QCOMPARE(m_responder->last(), QString("真的要删除货品螺丝吗？"));
        QCOMPARE(column(grid, "F_Code"), QStringList({"G002", "G003", "G004"}));

        // Batch type change of the selected rows.
        grid->selectRow(0);
        grid->selectionModel()->select(grid->gridModel()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_responder->answer(AnswerYes);
        inModal([this](QWidget *dlg) {
            QCOMPARE(dlg->objectName(), QString("TDlgEditGoodType"));
            click(dlg, "btnOK");
            QCOMPARE(m_responder->last(), QString("商品类型名称不能为空！"));
            child<QLineEdit>(dlg, "edtType")->setText(QStringLiteral("\\\\电料"));
            click(dlg, "btnOK");
        });
        trigger(&w, "miChangeType");
        QCOMPARE(db().scalar("SELECT count(*) FROM t_goods WHERE F_Type = ?", {QStringLiteral("\\\\电料")}).toInt(), 2);
    }

    // Without the price right the goods list and edit window show no prices.
    void goodsPricesHidden()
    {
        Session &s = m_env->dm().session();
        s.operatorCode = QStringLiteral("101");
        s.canSeePrices = false;
        s.canEditGoods = false;
        GoodsListWindow w(m_env->dm());
        QCOMPARE(indexOfField(w.grid()->columns(), "F_EnterPrice"), -1);
        QCOMPARE(indexOfField(w.grid()->columns(), "F_SalePrice"), -1);
        QVERIFY(indexOfField(w.grid()->columns(), "F_BegAmount") >= 0);
        QVERIFY(!enabled(&w, "tbDelete"));
        inModal([](QWidget *dlg) {
            QVERIFY(!child(dlg, "edtEnterPrice")->isVisibleTo(dlg));
            QVERIFY(!child(dlg, "edtSalePrice")->isVisibleTo(dlg));
            QCOMPARE(indexOfField(child<DataGrid>(dlg, "gridBegDept")->columns(), "F_Price"), -1);
            QVERIFY(!child<QPushButton>(dlg, "btnOK")->isEnabled());
            click(dlg, "btnCancel");
        });
        trigger(&w, "tbNew");
    }

    // The edit pattern on goods: checks with focus, opening stock in two
    // warehouses, continuous add, edit mode with the navigator, new units.
    void goodsEdit()
    {
        Session &s = m_env->dm().session();
        s.userFieldCaptions[0] = QStringLiteral("颜色");
        s.userFieldVisible[0] = true;
        s.userFieldCaptions[8] = QStringLiteral("到期日");
        s.userFieldVisible[8] = true;
        GoodsListWindow w(m_env->dm());
        w.show();
        search(&w, 0, QString());
        inModal([this](QWidget *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("货品信息编辑 - 新增"));
            QVERIFY(child(dlg, "chkContinue")->isVisibleTo(dlg));
            QVERIFY(!child(dlg, "DBNavigator1")->isVisibleTo(dlg));
            // User fields under their captions, only the visible ones.
            QCOMPARE(child<QLabel>(dlg, "lblZF1")->text(), QString("颜色："));
            QVERIFY(child(dlg, "edtZF1")->isVisibleTo(dlg) && !child(dlg, "edtZF2")->isVisibleTo(dlg));
            QVERIFY(child(dlg, "dtpRQ1")->isVisibleTo(dlg));
            child<QLineEdit>(dlg, "edtZF1")->setText("红");
            child<QLineEdit>(dlg, "edtCode")->setText("N001");
            click(dlg, "btnOK");
            QCOMPARE(m_responder->last(), QString("当前货品名称不能为空！"));
            QCOMPARE(dlg->focusWidget(), child(dlg, "edtName"));
            child<QLineEdit>(dlg, "edtName")->setText("垫片");
            child<QLineEdit>(dlg, "edtEnterPrice")->setText("1.5");
            GridModel *stock = child<DataGrid>(dlg, "gridBegDept")->gridModel();
            QCOMPARE(stock->rowCount(), 2);
            stock->setData(stock->index(0, stock->columnOf("F_Amount")), "10");
            stock->setData(stock->index(1, stock->columnOf("F_Amount")), "4");
            stock->setData(stock->index(1, stock->columnOf("F_Price")), "2");
            QCOMPARE(stock->value(1, "F_TotalPrice").value<Money>(), Money::fromYuan(8));
            shot(dlg, "TFrmGoodEdit");
            click(dlg, "btnOK");
            // Continuous add: still open, emptied, opening stock reset.
            QVERIFY(dlg->isVisible());
            QVERIFY(child<QLineEdit>(dlg, "edtName")->text().isEmpty());
            QCOMPARE(stock->value(0, "F_Amount").toDouble(), 0.0);
            click(dlg, "btnCancel");
        });
        trigger(&w, "tbNew");
        QCOMPARE(db().scalar("SELECT F_BegAmount FROM t_goods WHERE F_Code = 'N001'").toDouble(), 14.0);
        QCOMPARE(db().scalar("SELECT F_ZF1 FROM t_goods WHERE F_Code = 'N001'").toString(), QString("红"));
        QCOMPARE(Money::fromDb(db().scalar("SELECT sum(F_TotalPrice) FROM t_begDept WHERE F_GoodCode = 'N001'")),
                 Money::fromYuan(23));
        QCOMPARE(w.grid()->gridModel()->value(w.grid()->currentRow(), "F_Code").toString(), QString("N001"));

        locateCode(w.grid(), "G001");
        inModal([this](QWidget *dlg) {
            auto *edit = static_cast<GoodsEditDialog *>(dlg);
            QCOMPARE(dlg->windowTitle(), QString("货品信息编辑 - 修改"));
            QVERIFY(!edit->autoBox()->isEnabled());
            QVERIFY(child(dlg, "DBNavigator1")->isVisibleTo(dlg));
            QCOMPARE(child<QLineEdit>(dlg, "edtCode")->text(), QString("G001"));
            click(dlg, "navNext");
            QCOMPARE(child<QLineEdit>(dlg, "edtCode")->text(), QString("G002"));
            // A unit not in the list is added after the question.
            child<QComboBox>(dlg, "cbUnit")->setEditText("打");
            m_responder->answer(AnswerYes);
            edit->unitExit();
            QCOMPARE(m_responder->last(), QString("此货品计量单位不存在，真的要新增此单位吗？"));
            child<QLineEdit>(dlg, "edtCode")->setText("G003");
            click(dlg, "btnOK");
            QCOMPARE(m_responder->last(), QString("货品编号重复，请重新输入！"));
            child<QLineEdit>(dlg, "edtCode")->setText("G002B");
            click(dlg, "btnOK");
        });
        trigger(&w, "tbEdit");
        QCOMPARE(db().scalar("SELECT count(*) FROM t_code WHERE F_Type = 'goodunit' AND F_Name = '打'").toInt(), 1);
        QCOMPARE(db().scalar("SELECT F_Unit FROM t_goods WHERE F_Code = 'G002B'").toString(), QString("打"));
        QCOMPARE(db().scalar("SELECT count(*) FROM ddDepotD WHERE F_GoodCode = 'G002B'").toInt(), 1);
    }

    // Employees: the drop-down search fields, a photo saved and shown again,
    // then cleared through the picture window.
    void employees()
    {
        const QString bmp = m_env->appDir() + "/face.bmp";
        QImage face(40, 30, QImage::Format_RGB32);
        face.fill(Qt::blue);
        QVERIFY(face.save(bmp, "BMP"));
        QFile file(bmp);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();

        EmployeeListWindow w(m_env->dm());
        w.show();
        QCOMPARE(column(w.grid(), "F_Code"), QStringList({"E001", "E002"}));
        child<QComboBox>(&w, "cbSearchField")->setCurrentIndex(2);
        auto *sex = child<QComboBox>(&w, "cbSearchChoice");
        QVERIFY(sex->isVisibleTo(&w) && !child(&w, "edtSearchText")->isVisibleTo(&w));
        QCOMPARE(sex->count(), 2);
        sex->setCurrentIndex(1);
        click(&w, "btnSearch");
        QCOMPARE(column(w.grid(), "F_Code"), QStringList({"E002"}));
        child<QComboBox>(&w, "cbSearchField")->setCurrentIndex(-1);
        click(&w, "btnSearch");

        inModal([&](QWidget *dlg) {
            QVERIFY(!child<QCheckBox>(dlg, "chkContinue")->isChecked());
            child<QLineEdit>(dlg, "edtCode")->setText("E100");
            static_cast<EmployeeEditDialog *>(dlg)->setPhotoFile(bmp);
            shot(dlg, "TfrmEmpEdit");
            click(dlg, "btnOK");
        });
        trigger(&w, "tbNew");
        QCOMPARE(db().scalar("SELECT F_EmpImage FROM t_employee WHERE F_Code = 'E100'").toByteArray(), bytes);
        QCOMPARE(db().scalar("SELECT F_ImagePath FROM t_employee WHERE F_Code = 'E100'").toString(), QString("face.bmp"));

        QVERIFY(locateCode(w.grid(), "E100"));
        inModal([](QWidget *dlg) {
            auto *edit = static_cast<EmployeeEditDialog *>(dlg);
            QCOMPARE(edit->photo().size(), QSize(40, 30));
            QVERIFY(child<QLineEdit>(dlg, "edtCode")->isReadOnly());
            edit->editPicture = [](const QString &path, const QImage &) {
                return path == QLatin1String("face.bmp") ? QString() : path; // "清空" then "保存"
            };
            click(dlg, "btnLoadImage");
            QVERIFY(edit->photo().isNull());
            click(dlg, "btnOK");
        });
        trigger(&w, "tbEdit");
        QVERIFY(db().scalar("SELECT F_EmpImage FROM t_employee WHERE F_Code = 'E100'").toByteArray().isEmpty());

        m_responder->answer(AnswerYes);
        trigger(&w, "tbDelete");
        QCOMPARE(m_responder->last(), QString("真的要删除员工 \"\" 的资料吗？")); // E100 has no name
        QCOMPARE(db().scalar("SELECT count(*) FROM t_employee WHERE F_Code = 'E100'").toInt(), 0);
    }

    // The picture window: zoom levels, reading errors, export.
    void pictureWindow()
    {
        ImageDisplayWindow w;
        const QString bmp = m_env->appDir() + "/p.bmp";
        QImage(200, 100, QImage::Format_RGB32).save(bmp, "BMP");
        QVERIFY(w.loadFile(bmp));
        QCOMPARE(w.statusText(3), QString("200x100"));
        QCOMPARE(w.statusText(4), QString("100%"));
        for (int i = 0; i < 3; ++i) trigger(&w, "miZoomIn");
        QCOMPARE(w.statusText(4), QString("300%"));
        for (int i = 0; i < 3; ++i) trigger(&w, "miZoomIn");
        QCOMPARE(w.zoomLevel(), 15);
        QCOMPARE(w.statusText(4), QString("1000%"));
        QVERIFY(!enabled(&w, "miZoomIn") && enabled(&w, "miZoomOut"));
        trigger(&w, "miNatural");
        QCOMPARE(w.zoomLevel(), 9);

        const QString broken = m_env->appDir() + "/broken.jpg";
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
        f.close();
        QVERIFY(!w.loadFile(broken));
        QCOMPARE(m_responder->last(), "读取文件：" + broken + "时发生错误！\n该文件不是标准格式的文件，或者该文件已经被损坏！");
        QCOMPARE(w.currentPath(), bmp); // the previous picture stays
        const QString written = w.exportFile(m_env->appDir() + "/out.png", 0);
        QCOMPARE(written, m_env->appDir() + "/out.jpg");
        QVERIFY(!QImage(written).isNull());
        // This platform reads GIF but cannot write it: the failure is said, not hidden.
        if (!QImageWriter::supportedImageFormats().contains("gif")) {
            QVERIFY(w.exportFile(m_env->appDir() + "/out.bmp", 2).isEmpty());
            QCOMPARE(m_responder->last(), "写入文件：" + m_env->appDir() + "/out.gif时发生错误！");
        }
        trigger(&w, "miClear");
        QVERIFY(w.currentPath().isEmpty());
    }

    // Suppliers: the group list filters the list; the picker offers only
    // enabled suppliers and returns a name or the preset.
    void suppliers()
    {
        db().exec("INSERT INTO t_client (F_Code, F_Name, F_EmpName, F_useFlag, F_OperFlag) VALUES ('S003', '停用厂', '张三', ?, 0)", {true});
        SupplierListWindow w(m_env->dm());
        w.show();
        QCOMPARE(w.windowTitle(), QString("供应商资料管理"));
        auto *groups = child<QListWidget>(&w, "lstGroup");
        QCOMPARE(groups->count(), 3);
        QCOMPARE(groups->item(0)->text(), QString("全部"));
        QCOMPARE(column(w.grid(), "F_Code"), QStringList({"S001", "S002"}));
        groups->setCurrentRow(1);
        emit groups->itemClicked(groups->item(1));
        QCOMPARE(column(w.grid(), "F_Code"), QStringList({"S001"}));
        child<QCheckBox>(&w, "chkDisabled")->click();
        QCOMPARE(column(w.grid(), "F_Code"), QStringList({"S001", "S003"}));
        shot(&w, "TfrmCltMan");

        inModal([](QWidget *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("供应商资料 - 修改"));
            QVERIFY(child<QLineEdit>(dlg, "edtCode")->isReadOnly());
            child<QLineEdit>(dlg, "edtBegPrice")->setText("1234.56");
            click(dlg, "btnOK");
        });
        trigger(&w, "tbEdit");
        QCOMPARE(Money::fromDb(db().scalar("SELECT F_BegPrice FROM t_client WHERE F_Code = 'S001'")), *Money::parse("1234.56"));

        QString name;
        SupplierPicker picker(m_env->dm());
        inModal([](QWidget *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("供应商资料选择"));
            QCOMPARE(column(child<DataGrid>(dlg, "DBGridEh1"), "F_Code"), QStringList({"S001", "S002"}));
            child<QLineEdit>(dlg, "edtName")->setText("neil");
            QCOMPARE(column(child<DataGrid>(dlg, "DBGridEh1"), "F_Code"), QStringList({"S002"}));
            shot(dlg, "TDlgCltXz");
            click(dlg, "btnOK");
        });
        QVERIFY(picker.PickSupplier("旧名", name));
        QCOMPARE(name, QString("O'Neil 电料"));
        inModal([](QWidget *dlg) { click(dlg, "btnCancel"); });
        QCOMPARE(PickSupplier(m_env->dm(), nullptr, "旧名"), QString("旧名"));

        // "新增单位" from the picker: saved, listed, chosen.
        inModal([](QWidget *picker) {
            inModal([](QWidget *edit) {
                QVERIFY(!child(edit, "chkContinue")->isVisibleTo(edit));
                child<QLineEdit>(edit, "edtCode")->setText("S009");
                child<QLineEdit>(edit, "edtName")->setText("新厂");
                click(edit, "btnOK");
            });
            click(picker, "btnNew");
            QCOMPARE(child<DataGrid>(picker, "DBGridEh1")->gridModel()->value(child<DataGrid>(picker, "DBGridEh1")->currentRow(),
                                                                              "F_Name").toString(), QString("新厂"));
            click(picker, "btnOK");
        });
        QCOMPARE(PickSupplier(m_env->dm(), nullptr, {}), QString("新厂"));
    }

    // The goods picker: a line-adding run adds each goods once; a simple
    // pick returns a code or the preset.
    void goodsPicker()
    {
        LinesTarget target;
        inModal([](QWidget *dlg) {
            auto *picker = static_cast<GoodsPicker *>(dlg);
            QCOMPARE(picker->grid()->gridModel()->rowCount(), 0); // no type chosen yet
            QTreeWidget *tree = child<QTreeWidget>(dlg, "tvType");
            tree->setCurrentItem(tree->topLevelItem(0));
            emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
            QCOMPARE(column(picker->grid(), "F_Code"), QStringList({"G001", "G002", "G003"}));
            QCOMPARE(child<QLabel>(dlg, "lblCount")->text(), QString("当前货品数量： 3 个"));
            shot(dlg, "TDlgGoodXz");
            picker->choose(); // G001
            QCOMPARE(column(picker->grid(), "F_Code"), QStringList({"G002", "G003"}));
            QCOMPARE(picker->grid()->gridModel()->value(picker->grid()->currentRow(), "F_Code").toString(), QString("G002"));
            child<QLineEdit>(dlg, "edtCode")->setText("G00"); // a search at the keystroke
            QCOMPARE(column(picker->grid(), "F_Code"), QStringList({"G002", "G003"}));
            locateCode(picker->grid(), "G003");
            click(dlg, "btnOK"); // adds G003 and closes
        });
        AddGoodsLines(m_env->dm(), nullptr, target);
        QCOMPARE(target.lines.size(), 2);
        QCOMPARE(target.lines[0].value("F_GoodCode").toString(), QString("G001"));
        QCOMPARE(target.lines[0].value("F_Code").toString(), QString("CGD20240306001"));
        QCOMPARE(target.lines[0].value("F_Price").value<Money>(), *Money::parse("0.5"));
        QCOMPARE(target.lines[1].value("F_GoodCode").toString(), QString("G003"));

        inModal([](QWidget *dlg) {
            auto *picker = static_cast<GoodsPicker *>(dlg);
            QCOMPARE(column(picker->grid(), "F_Code"), QStringList({"G001", "G002", "G003"})); // the run's goods again
            locateCode(picker->grid(), "G002");
            click(dlg, "btnOK");
        });
        QCOMPARE(PickGoods(m_env->dm(), nullptr, "G009"), QString("G002"));
        inModal([](QWidget *dlg) { click(dlg, "btnClose"); });
        QCOMPARE(PickGoods(m_env->dm(), nullptr, "G009"), QString("G009"));

        // A long list shows a page at once and the rest after it; the count is the whole list's.
        {
            WriteTransaction tx(db());
            for (int i = 0; i < 250; ++i)
                db().exec("INSERT INTO t_goods (F_Code, F_Name, F_Flag) VALUES (?, 'x', ?)", {QString("X%1").arg(1000 + i), false});
            tx.commit();
        }
        inModal([](QWidget *dlg) {
            auto *picker = static_cast<GoodsPicker *>(dlg);
            QCOMPARE(child<QLabel>(dlg, "lblCount")->text(), QString("当前货品数量： 253 个"));
            QCOMPARE(picker->grid()->gridModel()->rowCount(), GoodsPicker::kFirstPage);
            picker->loadAll();
            const QStringList codes = column(picker->grid(), "F_Code");
            QCOMPARE(codes.size(), 253);
            QCOMPARE(codes.last(), QString("X1249"));
            locateCode(picker->grid(), "X1240");
            click(dlg, "btnOK");
        });
        QCOMPARE(PickGoods(m_env->dm(), nullptr, {}), QString("X1240"));
    }

    // The main window opens the three lists by class name.
    void registry()
    {
        registerMasterWindows();
        for (const char *name : {"TfrmEmpMan", "TfrmCltMan", "TFrmGoodGl"}) {
            const WindowEntry *entry = registeredWindow(QLatin1String(name));
            QVERIFY2(entry && entry->kind == WindowKind::Child, name);
            std::unique_ptr<QWidget> w(entry->create(m_env->dm(), nullptr));
            QCOMPARE(w->objectName(), QString(name));
        }
    }
};

QTEST_MAIN(TestUiMasterLists)
#include "test_ui_master_lists.moc"
