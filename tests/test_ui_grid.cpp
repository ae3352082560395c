// The grid widget and its dialogs, driven as an operator would.
#include "DataGrid.h"
#include "EditColumnDialog.h"
#include "FieldListDialog.h"
#include "GridExport.h"
#include "GridServices.h"
#include "Navigator.h"
#include "TableReader.h"
#include "TestKit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace korvan;
using namespace korvan::test;

namespace {

// Runs `act` on the next modal dialog as soon as it is shown.
void onNextDialog(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget *dlg = QApplication::activeModalWidget();
        if (!dlg || !dlg->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(dlg);
    });
    timer->start(10);
}

void clickButton(QWidget *dlg, const char *name)
{
    auto *b = dlg->findChild<QPushButton *>(name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

GridColumn col(const QString &field, const QString &caption, FooterKind footer = FooterKind::None)
{
    GridColumn c;
    c.field = field;
    c.caption = caption;
    c.footer = footer;
    return c;
}

// Three goods lines with a memo column and sums under the amounts.
void fillLines(DataGrid &grid)
{
    GridModel *m = grid.gridModel();
    m->setFields({{"F_GoodCode", CellType::Text}, {"F_GoodName", CellType::Text}, {"F_Amount", CellType::Quantity},
                  {"F_TotalPrice", CellType::Money}, {"F_Mem", CellType::Text}});
    m->appendRow({"G001", "螺丝", 100.0, QVariant::fromValue(Money::fromYuan(50)), "乙"});
    m->appendRow({"G002", "扳手", 2.0, QVariant::fromValue(Money::fromUnits(500001)), "甲"});
    m->appendRow({"G003", "电线", 0.5, QVariant::fromValue(Money::fromUnits(16000)), "丙"});
    GridColumns cols = {col("F_GoodCode", "编号", FooterKind::Text), col("F_GoodName", "货品|名称"),
                        col("F_Amount", "货品|数量", FooterKind::Sum), col("F_TotalPrice", "金额", FooterKind::Sum),
                        col("F_Mem", "备注")};
    cols[0].footerText = "合  计";
    cols[3].displayFormat = ",0.00##";
    grid.setColumns(cols);
}

QStringList column(DataGrid &grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid.model()->rowCount(); ++r) out << grid.model()->index(r, c).data().toString();
    return out;
}

void clickTitle(DataGrid &grid, int section)
{
    QHeaderView *h = grid.horizontalHeader();
    const QPoint pos(h->sectionViewportPosition(section) + h->sectionSize(section) / 2, h->height() * 3 / 4);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, pos);
}

bool headerInModelOrder(DataGrid &grid)
{
    for (int i = 0; i < grid.horizontalHeader()->count(); ++i)
        if (grid.horizontalHeader()->logicalIndex(i) != i) return false;
    return true;
}

} // namespace

class TestUiGrid : public QObject {
    Q_OBJECT
private slots:
    void titleSorting_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("firstClick");
        QTest::addColumn<QStringList>("secondClick");
        QTest::newRow("ascending first") << int(DataGrid::TitleSort::AscendingFirst)
                                         << QStringList({"扳手", "电线", "螺丝"}) << QStringList({"螺丝", "电线", "扳手"});
        QTest::newRow("descending first") << int(DataGrid::TitleSort::DescendingFirst)
                                          << QStringList({"螺丝", "电线", "扳手"}) << QStringList({"扳手", "电线", "螺丝"});
        QTest::newRow("no sorting") << int(DataGrid::TitleSort::None)
                                    << QStringList({"螺丝", "扳手", "电线"}) << QStringList({"螺丝", "扳手", "电线"});
    }
    void titleSorting()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, firstClick);
        QFETCH(QStringList, secondClick);
        DataGrid grid;
        fillLines(grid);
        grid.setTitleSort(DataGrid::TitleSort(mode));
        grid.resize(640, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        clickTitle(grid, 1);
        QCOMPARE(column(grid, 1), firstClick);
        clickTitle(grid, 1);
        QCOMPARE(column(grid, 1), secondClick);
        // A memo title takes the marker but leaves the rows alone.
        clickTitle(grid, 4);
        QCOMPARE(column(grid, 1), secondClick);
        QCOMPARE(grid.markedColumn(), mode == int(DataGrid::TitleSort::None) ? -1 : 4);
    }

    void footerAndTitles()
    {
        DataGrid grid;
        fillLines(grid);
        grid.resize(640, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QWidget *footer = grid.findChild<QWidget *>("gridFooter");
        QVERIFY(footer && footer->isVisible());
        QVERIFY(footer->geometry().top() > grid.viewport()->geometry().bottom());
        QVERIFY(footer->geometry().bottom() <= grid.height());
        QCOMPARE(grid.gridModel()->footerText(0), QString("合  计"));
        QCOMPARE(grid.gridModel()->footerText(2), QString("102.5"));
        QCOMPARE(grid.gridModel()->footerText(3), QString("101.6001"));
        // Two-level titles make the header two lines high.
        const int twoLevel = grid.horizontalHeader()->height();
        GridColumns flat = grid.columns();
        flat[1].caption = "名称";
        flat[2].caption = "数量";
        for (GridColumn &c : flat) c.footer = FooterKind::None;
        grid.setColumns(flat);
        QTRY_VERIFY(grid.horizontalHeader()->height() < twoLevel);
        QVERIFY(!footer->isVisible());
    }

    void fieldList()
    {
        DataGrid grid;
        fillLines(grid);
        grid.show();
        const GridColumns before = grid.columns();
        onNextDialog([](QWidget *dlg) {
            QCOMPARE(dlg->objectName(), QString("TFrmDispFieldXZ"));
            QCOMPARE(dlg->windowTitle(), QString("字段列表"));
            auto *list = dlg->findChild<QListWidget *>();
            QCOMPARE(list->count(), 5);
            QCOMPARE(list->item(1)->text(), QString("货品-名称"));
            list->item(1)->setCheckState(Qt::Unchecked);
            clickButton(dlg, "btnCancel");
        });
        ChooseGridColumns(&grid);
        QCOMPARE(grid.columns(), before);
        QVERIFY(!grid.isColumnHidden(1));

        onNextDialog([](QWidget *dlg) {
            auto *list = dlg->findChild<QListWidget *>();
            list->item(1)->setCheckState(Qt::Unchecked);
            clickButton(dlg, "btnOK");
        });
        ChooseGridColumns(&grid);
        QVERIFY(!grid.columns()[1].visible);
        QVERIFY(grid.isColumnHidden(1));
    }

    // A layout changed by the operator (field list, width, column moved) comes back after saving.
    void layoutThroughGrid_data() { addEngineRows(); }
    void layoutThroughGrid()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.loginAsSuperUser();
        DataModule::setInstance(&env.dm());
        ScriptedResponder messages;
        {
            DataGrid grid;
            grid.setColumns({col("F_Code", "设计")});
            QVERIFY(!LoadGridLayout(&grid, "nosuchgrid"));
            QCOMPARE(grid.columns().size(), 1);
            QVERIFY(LoadGridLayout(&grid, "goodgl"));
            QCOMPARE(grid.columns().size(), 26);
            grid.show();
            onNextDialog([](QWidget *dlg) {
                dlg->findChild<QListWidget *>()->item(3)->setCheckState(Qt::Unchecked); // 规格
                clickButton(dlg, "btnOK");
            });
            ChooseGridColumns(&grid);
            grid.horizontalHeader()->resizeSection(0, 150);
            grid.horizontalHeader()->moveSection(12, 0);  // the operator drags 备注 to the front
            QVERIFY(headerInModelOrder(grid));
            QCOMPARE(grid.columns()[0].field, QString("F_Mem"));
            QCOMPARE(grid.columnWidth(1), 150);
            SaveGridLayout(&grid, "goodgl");
        }
        DataGrid again;
        QVERIFY(LoadGridLayout(&again, "goodgl"));
        QCOMPARE(again.columns()[0].field, QString("F_Mem"));
        QCOMPARE(again.columns()[1].width, 150);
        QCOMPARE(again.columns()[4].field, QString("F_Spec"));
        QVERIFY(again.isColumnHidden(4));
        QVERIFY(messages.shown().isEmpty());
        DataModule::setInstance(nullptr);
    }

    // Document lines: typed input, read-only goods columns, the "…" button.
    void editableLines()
    {
        DataGrid grid;
        fillLines(grid);
        PrepareLineGrid(&grid);
        grid.resize(640, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY(!(grid.model()->index(0, 1).flags() & Qt::ItemIsEditable)); // F_GoodName
        QVERIFY(grid.model()->index(0, 2).flags() & Qt::ItemIsEditable);

        grid.setCurrentIndex(grid.model()->index(1, 2));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "7.5");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid.gridModel()->value(1, "F_Amount").toDouble(), 7.5); // the view commits after the key
        QCOMPARE(grid.gridModel()->footerText(2), QString("108"));

        QSignalSpy clicked(&grid, &DataGrid::ellipsisClicked);
        const QRect button = grid.ellipsisRect(grid.model()->index(2, 1));
        QVERIFY(button.isValid());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, button.center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().at(0).toInt(), 2);
        QVERIFY(!grid.ellipsisRect(grid.model()->index(2, 2)).isValid());
    }

    // A tick toggles with a click anywhere in its cell, only where cells are editable.
    void boolCells()
    {
        DataGrid grid;
        grid.gridModel()->setFields({{"F_Code", CellType::Text}, {"F_Flag", CellType::Bool}});
        grid.gridModel()->appendRow({"A", false});
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QModelIndex cell = grid.model()->index(0, 1);
        const QPoint centre = grid.visualRect(cell).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(grid.gridModel()->value(0, "F_Flag"), QVariant(false));
        grid.setEditable(true);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(grid.gridModel()->value(0, "F_Flag"), QVariant(true));
        QCOMPARE(cell.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(cell.data().toString(), QString());
    }

    void selectedRows()
    {
        DataGrid grid;
        fillLines(grid);
        grid.show();
        grid.selectRow(2);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, grid.visualRect(grid.model()->index(0, 0)).center());
        QCOMPARE(grid.selectedRows(), QList<int>({0, 2}));
    }

    // Export through the save dialog: the chosen type writes its file and asks to open it.
    void exportThroughDialog()
    {
        DataGrid grid;
        fillLines(grid);
        grid.show();
        ScriptedResponder messages;
        messages.answer(AnswerNo);
        QTemporaryDir dir;
        onNextDialog([&](QWidget *w) {
            auto *dlg = qobject_cast<QFileDialog *>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->selectedNameFilter(), QString("Excel 文档 (*.xlsx)"));
            auto *name = dlg->findChild<QLineEdit *>("fileNameEdit");
            QCOMPARE(name->text(), QString("采购订单"));
            dlg->selectNameFilter("Comma separated values (*.csv)");
            name->setText(dir.filePath("采购订单"));
            dlg->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->click();
        });
        const QString path = ExportGrid(&grid, "采购订单", ExportExcel);
        QCOMPARE(path, dir.filePath("采购订单.csv"));
        QCOMPARE(messages.texts(), QStringList({"导出 “采购订单.csv” 成功，打开该文件吗？"}));
        QCOMPARE(messages.shown().first().kind, int(MsgQuestion));
        const auto sheet = readCsv(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->columns, QStringList({"编号", "货品-名称", "货品-数量", "金额", "备注"}));
        QCOMPARE(sheet->rows.size(), 4);

        messages.clear();
        onNextDialog([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        QCOMPARE(ExportGrid(&grid, "采购订单", ExportExcel), QString());
        QVERIFY(messages.shown().isEmpty());

        QVERIFY(!ExportGridToFile(&grid, "/nonexistent-dir/a.xlsx", ExportExcel));
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.last().startsWith("导出 “a.xlsx” 失败"));
    }

    void navigatorButtons()
    {
        QWidget window;
        QStringList names = {"tbFirst", "tbPrior", "tbNext", "tbPrint"}; // no tbLast
        QList<QToolButton *> buttons;
        for (const QString &n : names) {
            buttons << new QToolButton(&window);
            buttons.last()->setObjectName(n);
        }
        auto *exportAction = new QAction(&window);
        exportAction->setObjectName("tbExport");
        SetNavigatorButtonsEnabled(&window, false);
        QVERIFY(!buttons[0]->isEnabled() && !buttons[1]->isEnabled() && !buttons[2]->isEnabled());
        QVERIFY(buttons[3]->isEnabled()); // after the missing tbLast nothing changes
        QVERIFY(exportAction->isEnabled());
        SetNavigatorButtonsEnabled(&window, true);
        QVERIFY(buttons[0]->isEnabled());
    }

    void columnValueDialog()
    {
        onNextDialog([](QWidget *dlg) {
            QCOMPARE(dlg->objectName(), QString("TDLGeditCurList"));
            QCOMPARE(dlg->windowTitle(), QString("批量修改当前列"));
            dlg->findChild<QLineEdit *>()->insert("北仓");
            clickButton(dlg, "btnOK");
        });
        QCOMPARE(AskColumnValue(), QString("北仓"));
        onNextDialog([](QWidget *dlg) {
            dlg->findChild<QLineEdit *>()->insert("南仓");
            clickButton(dlg, "btnCancel");
        });
        QCOMPARE(AskColumnValue(), QString());
    }
};

QTEST_MAIN(TestUiGrid)
#include "test_ui_grid.moc"
