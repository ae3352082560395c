// The report windows with real widgets: preview (navigation, zoom, search,
// PDF export, printing, page setup), the designer (add a field, move it,
// undo, save, reload and print with it) and grid printing.
#include "DataModule.h"
#include "Fixture.h"
#include "ReportDesignCanvas.h"
#include "ReportServices.h"
#include "TestKit.h"
#include "UiChecks.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QStandardItemModel>
#include <QTreeWidget>
#include <QUndoStack>

using namespace korvan;
using namespace korvan::test;

namespace {

QString extractPdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void triggerEnabled(QWidget *w, const char *action)
{
    QAction *a = w->findChild<QAction *>(action);
    QVERIFY2(a, action);
    QVERIFY2(a->isEnabled(), action);
    a->trigger();
}

void mouse(QWidget *w, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QTreeWidgetItem *paletteItem(QTreeWidget *tree, const QString &group, const QString &startsWith)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *g = tree->topLevelItem(i);
        if (g->text(0) != group) continue;
        for (int j = 0; j < g->childCount(); ++j) {
            if (g->child(j)->text(0).startsWith(startsWith)) return g->child(j);
            for (int k = 0; k < g->child(j)->childCount(); ++k)
                if (g->child(j)->child(k)->text(0).startsWith(startsWith)) return g->child(j)->child(k);
        }
    }
    return nullptr;
}

} // namespace

class TestUiReport : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::shared_ptr<TableDataSet> m_header, m_lines;

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnv>("sqlite");
        KORVAN_REQUIRE(*m_env);
        m_env->loginAsSuperUser();
        loadFixture(m_env->db());
        m_env->dm().session().companyName = "科文贸易有限公司";
        m_env->dm().session().companyPhone = "0755-1234567";
        m_env->dm().session().companyFax = "0755-7654321";
        DataModule::setInstance(&m_env->dm());
        AppSettings::setApplicationDir(m_env->appDir());
        QSqlQuery h = m_env->db().query("SELECT * FROM ddDepotM WHERE F_Code = ?", {"CDD20240305001"});
        m_header = TableDataSet::fromQuery(h);
        // Enough lines for several pages at two rows a page.
        auto lines = std::make_shared<TableDataSet>(QStringList{"F_GoodCode", "F_GoodName", "F_Amount", "F_Price", "F_TotalPrice"});
        for (int i = 1; i <= 5; ++i)
            lines->addRow({QString("G00%1").arg(i), QString("货品%1").arg(i), double(i), QVariant::fromValue(Money::fromYuan(2)),
                           QVariant::fromValue(Money::fromYuan(2 * i))});
        m_lines = lines;
        SetReportVariableProvider(ReportVariablesFromMap({{"PageMaxRow", 2}, {"sCurKHname", "科文贸易有限公司"}}));
        SetReportDesignerRunner({});
    }
    void cleanup()
    {
        QList<QPointer<QWidget>> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (!w->parentWidget()) windows << w;
        for (const QPointer<QWidget> &w : windows) delete w.data();
        SetReportVariableProvider({});
        SetReportDesignerRunner({});
        DataModule::setInstance(nullptr);
        m_env.reset();
    }

    void emptyDataSetDoesNothing()
    {
        TableDataSet empty(QStringList{"F_Code"});
        QVERIFY(!PreviewDocumentReport("frCaigouInddDept", empty, *m_lines));
        QVERIFY(!PreviewListReport("frGoodMan", empty));
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void previewNavigatesZoomsAndFinds()
    {
        ReportPreview *p = PreviewDocumentReport("frCaigouInddDept", *m_header, *m_lines);
        QVERIFY(p);
        QCOMPARE(p->objectName(), QString("ReportPreview"));
        QCOMPARE(p->windowTitle(), QString("打印预览 - 采购订单"));
        QCOMPARE(p->document().pageCount(), 3); // five lines, two a page
        p->resize(900, 700);
        p->show();
        QVERIFY(QTest::qWaitForWindowExposed(p));
        shot(p, "preview");
        // Opened at "页宽": the page fills the visible width of the shown window.
        auto *scroll = p->findChild<QScrollArea *>("pageScroll");
        QVERIFY(qAbs(scroll->widget()->width() - scroll->viewport()->width()) <= 4);
        triggerEnabled(p, "actLast");
        QCOMPARE(p->currentPage(), 2);
        triggerEnabled(p, "actPrior");
        QCOMPARE(p->currentPage(), 1);
        triggerEnabled(p, "actFirst");
        QCOMPARE(p->currentPage(), 0);
        QVERIFY(!p->findChild<QAction *>("actPrior")->isEnabled());

        p->fitPage();
        const double whole = p->zoom();
        p->fitWidth();
        QVERIFY(p->zoom() > whole);
        auto *zoom = p->findChild<QComboBox *>("cbbZoom");
        zoom->setEditText("150%");
        emit zoom->textActivated("150%");
        QCOMPARE(p->zoom(), 1.5);
        triggerEnabled(p, "actZoomIn");
        QCOMPARE(p->zoom(), 1.5 * 1.25);

        // The text search marks every match and shows the page of the first.
        QCOMPARE(p->find("G005"), 1);
        QCOMPARE(p->currentPage(), 2);
        QCOMPARE(p->find("本页小计"), 3);
        QCOMPARE(p->currentMatch(), 2); // the first match from the current page on
        QCOMPARE(p->currentPage(), 2);
        QVERIFY(p->findNext());
        QCOMPARE(p->currentPage(), 0);
        QCOMPARE(p->find("没有的内容"), 0);
        QCOMPARE(p->findChild<QLabel *>("lblStatus")->text(), QString("没有找到“没有的内容”"));
    }

    void previewExportsPrintsAndSetsUpPages()
    {
        ReportPreview *p = PreviewDocumentReport("frCaigouInddDept", *m_header, *m_lines);
        QVERIFY(p);
        QTemporaryDir dir;
        QString proposed;
        p->choosePdfFile = [&](const QString &name) { proposed = name; return dir.filePath("导出"); };
        triggerEnabled(p, "actExportPdf");
        QCOMPARE(proposed, QString("采购订单.pdf"));
        const QString text = extractPdfText(dir.filePath("导出.pdf"));
        for (const char *s : {"科文贸易有限公司", "CDD20240305001", "华强五金", "G005", "货品5", "30.00", "0755-1234567", "第3页/共3页"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);

        // Printing goes through the system dialog; here it prints into a PDF file, pages 2 to 3.
        p->runPrintDialog = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath("printed.pdf"));
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(2, 3);
            return true;
        };
        triggerEnabled(p, "actPrint");
        const QString printed = extractPdfText(dir.filePath("printed.pdf"));
        QVERIFY(printed.contains("G003"));
        QVERIFY(!printed.contains("G001"));
        QVERIFY(printed.contains("第2页/共3页"));

        // Page setup: landscape lays the pages out again on the wide page.
        p->runPageSetupDialog = [](QPrinter &printer) {
            printer.setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        triggerEnabled(p, "actPageSetup");
        QCOMPARE(p->document().page.width, 29700);
        QCOMPARE(p->document().page.height, 21000);
        QCOMPARE(p->document().pageCount(), 3);
    }

    void listPreviewUsesWindowCaptions()
    {
        QStandardItemModel model(2, 2);
        model.setData(model.index(0, 0), "G001");
        model.setData(model.index(0, 1), QVariant::fromValue(Money::fromYuan(10)));
        model.setData(model.index(1, 0), "G002");
        model.setData(model.index(1, 1), QVariant::fromValue(Money::fromYuan(5)));
        ReportColumn code{"F_Code", "编号", 90};
        ReportColumn price{"F_EnterPrice", "成本单价", 80, ",0.00", Qt::AlignRight, ReportColumn::FooterSum};
        price.modelColumn = 1;
        code.modelColumn = 0;
        const ModelDataSet data(&model, {code, price});
        SetReportVariableProvider(ReportVariablesFromMap({{"memoDate", "统计日期：自 启用系统 至 记帐最后一天"}}));
        ReportPreview *p = PreviewListReport("frGoodMan", data);
        QVERIFY(p);
        QTemporaryDir dir;
        QVERIFY(p->exportPdf(dir.filePath("list.pdf")));
        const QString text = extractPdfText(dir.filePath("list.pdf"));
        for (const char *s : {"货品资料", "编号", "成本单价", "G002", "10.00", "15.00", "统计日期：自 启用系统 至 记帐最后一天", "第1页 共1页"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
        // The operator without the price right gets the variant without prices.
        m_env->dm().session().canSeePrices = false;
        m_env->dm().session().operatorCode = "101";
        ReportPreview *variant = PreviewListReport("frGoodMan" + m_env->dm().session().priceReportSuffix(), data);
        QVERIFY(variant->exportPdf(dir.filePath("variant.pdf")));
        const QString noPrices = extractPdfText(dir.filePath("variant.pdf"));
        QVERIFY(noPrices.contains("G002"));
        QVERIFY(!noPrices.contains("成本单价"));
        QVERIFY(!noPrices.contains("10.00"));
    }

    // Done when: a layout edited in the designer is saved and used by the next print.
    void designerEditsSavesAndTheNextPrintUsesIt()
    {
        bool ran = false;
        SetReportDesignerRunner([&](ReportDesigner &d) {
            ran = true;
            d.resize(1200, 800);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QCOMPARE(d.objectName(), QString("ReportDesigner"));
            auto *palette = d.findChild<QTreeWidget *>("tvPalette");
            QVERIFY(palette);
            // The custom variables and the report function are offered.
            for (const char *v : {"PageMaxRow", "sCurKHname", "bsPhone", "bsFax", "sLinkMan", "sPhone", "sFax", "sAddress"})
                QVERIFY2(paletteItem(palette, "自定义变量", v), v);
            QTreeWidgetItem *fn = paletteItem(palette, "函数", "MoneyMinToBig");
            QVERIFY(fn);
            QVERIFY(fn->toolTip(0).contains("金额小写转大写"));
            QCOMPARE(fn->parent()->text(0), QString("myTest"));

            // Add the voucher number field to the page header.
            const int header = int(d.layout().band(BandKind::PageHeader) - d.layout().bands.data());
            d.setCurrentBand(header);
            const int before = int(d.layout().bands[header].items.size());
            QTreeWidgetItem *field = paletteItem(palette, "frxDM", "F_OldCode");
            QVERIFY(field);
            emit palette->itemDoubleClicked(field, 0);
            QCOMPARE(d.layout().bands[header].items.size(), before + 1);
            const ReportDesigner::ItemRef added{header, before};
            QCOMPARE(d.selection(), QList<ReportDesigner::ItemRef>{added});
            QCOMPARE(d.item(added)->text, QString("[frxDM.\"F_OldCode\"]"));
            auto *text = d.findChild<QLineEdit *>("edtItemText");
            text->setText("原单：[frxDM.\"F_OldCode\"]");
            emit text->editingFinished();
            QCOMPARE(d.item(added)->text, QString("原单：[frxDM.\"F_OldCode\"]"));

            // Drag it 20 mm right and 5 mm down on the canvas.
            auto *canvas = d.findChild<ReportDesignCanvas *>("designCanvas");
            const QPoint from = canvas->itemRect(added).center();
            const double s = canvas->scale();
            const QPoint to = from + QPoint(qRound(2000 * s), qRound(500 * s));
            const int x0 = d.item(added)->x, y0 = d.item(added)->y;
            mouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton);
            mouse(canvas, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
            mouse(canvas, QEvent::MouseMove, to, Qt::LeftButton);
            mouse(canvas, QEvent::MouseButtonRelease, to, Qt::NoButton);
            QCOMPARE(d.item(added)->x, x0 + 2000);
            QCOMPARE(d.item(added)->y, y0 + 500);
            shot(&d, "designer");

            // Undo the move, redo it, undo it again.
            triggerEnabled(&d, "actUndo");
            QCOMPARE(d.item(added)->x, x0);
            triggerEnabled(&d, "actRedo");
            QCOMPARE(d.item(added)->x, x0 + 2000);
            triggerEnabled(&d, "actUndo");
            QCOMPARE(d.item(added)->x, x0);
            QCOMPARE(d.item(added)->text, QString("原单：[frxDM.\"F_OldCode\"]"));

            // Keys move the selection too; copy and paste make a second item.
            canvas->setFocus();
            QTest::keyClick(canvas, Qt::Key_Right);
            QCOMPARE(d.item(added)->x, x0 + 50);
            triggerEnabled(&d, "actCopy");
            triggerEnabled(&d, "actPaste");
            QCOMPARE(d.layout().bands[header].items.size(), before + 2);
            triggerEnabled(&d, "actDelete");
            QCOMPARE(d.layout().bands[header].items.size(), before + 1);

            // Band height follows its spin box.
            const int detail = int(d.layout().band(BandKind::Detail) - d.layout().bands.data());
            d.setCurrentBand(detail);
            d.setBandHeight(detail, 900);
            QCOMPARE(d.layout().bands[detail].height, 900);
            // Preview from the designer prints the layout being edited.
            QWidget *shown = nullptr;
            d.showPreview = [&](QWidget *w) { shown = w; };
            triggerEnabled(&d, "actPreview");
            auto *preview = qobject_cast<ReportPreview *>(shown);
            QVERIFY(preview);
            QCOMPARE(preview->find("原单："), 3);
            delete preview;

            triggerEnabled(&d, "actSave");
            QVERIFY(!d.isModified());
            d.close();
        });
        QVERIFY(DesignDocumentReport("frCaigouInddDept", *m_header, *m_lines));
        QVERIFY(ran);
        QVERIFY(QFile::exists(ReportLayoutPath("frCaigouInddDept")));
        auto saved = ReportLayout::load(ReportLayoutPath("frCaigouInddDept"));
        QVERIFY(saved);
        QCOMPARE(saved->variables, DocumentReportVariables());
        QCOMPARE(saved->variables.first().category, QString("自定义变量"));

        // The fixture's order has no voucher number: give it one and print.
        m_env->db().exec("UPDATE ddDepotM SET F_OldCode = ? WHERE F_Code = ?", {"PO-7788", "CDD20240305001"});
        QSqlQuery h = m_env->db().query("SELECT * FROM ddDepotM WHERE F_Code = ?", {"CDD20240305001"});
        const auto header = TableDataSet::fromQuery(h);
        ReportPreview *p = PreviewDocumentReport("frCaigouInddDept", *header, *m_lines);
        QVERIFY(p->job().layoutFromFile);
        QCOMPARE(p->job().layout.band(BandKind::Detail)->height, 900);
        QTemporaryDir dir;
        QVERIFY(p->exportPdf(dir.filePath("after.pdf")));
        QVERIFY(extractPdfText(dir.filePath("after.pdf")).contains("原单：PO-7788"));
    }

    void designerRevertsToDefaultAndAsksBeforeClosing()
    {
        ScriptedResponder responder;
        responder.answer(AnswerNo);
        bool ran = false;
        SetReportDesignerRunner([&](ReportDesigner &d) {
            ran = true;
            const int n = int(d.layout().bands.size());
            d.removeBand(0);
            QCOMPARE(d.layout().bands.size(), n - 1);
            triggerEnabled(&d, "actRevert");
            QCOMPARE(d.layout().bands.size(), n);
            QCOMPARE(d.layout().variables, ListReportVariables()); // reverting keeps the designer's variables
            d.reject();
        });
        QStandardItemModel model(1, 1);
        model.setData(model.index(0, 0), "x");
        QVERIFY(!DesignListReport("frSupMan", ModelDataSet(&model)));
        QVERIFY(ran);
        QCOMPARE(responder.texts(), QStringList{"报表格式已修改，是否保存？"});
        QVERIFY(!QFile::exists(ReportLayoutPath("frSupMan")));
    }

    void printGridPreviewsTheGridAsShown()
    {
        QStandardItemModel model(30, 2);
        for (int r = 0; r < 30; ++r) {
            model.setData(model.index(r, 0), QString("仓库%1").arg(r));
            model.setData(model.index(r, 1), QString("T%1").arg(r));
        }
        ReportColumn name{"F_Name", "名称", 150};
        name.modelColumn = 0;
        ReportColumn type{"F_Type", "类型", 60};
        type.modelColumn = 1;
        ReportPreview *p = PrintGrid(&model, {type, name}, "仓库设置", 1, "date", "");
        QVERIFY(p);
        const ReportDocument &doc = p->document();
        QCOMPARE(doc.pageCount(), 1);
        QStringList texts;
        for (const PageText &t : doc.pages.first().texts) texts << t.text;
        QVERIFY(texts.contains("仓库设置"));
        QVERIFY(texts.contains("打印日期：" + QDate::currentDate().toString("yyyy年MM月dd日")));
        QVERIFY(texts.indexOf("类型") < texts.indexOf("名称"));
        QVERIFY(texts.contains("仓库29"));
        p->resize(900, 700);
        p->show();
        QVERIFY(QTest::qWaitForWindowExposed(p));
        shot(p, "printgrid");
    }
};

QTEST_MAIN(TestUiReport)
#include "test_ui_report.moc"
