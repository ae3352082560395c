// The document window driven by its controls' names, as an operator would.
#include "DataGrid.h"
#include "DocumentWindow.h"
#include "Fixture.h"
#include "GoodsPicker.h"
#include "GridServices.h"
#include "Login.h"
#include "ReportServices.h"
#include "SupplierPicker.h"
#include "TestKit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace korvan;
using namespace korvan::test;

namespace {
// Types text into whatever has the focus, one key at a time.
void type(const QString &text)
{
    for (const QChar ch : text) {
        QWidget *w = QApplication::focusWidget();
        QVERIFY(w);
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *w = QApplication::focusWidget();
    QVERIFY(w);
    QTest::keyClick(w, Qt::Key(k), mods);
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The order window over the fixture, shown and active, for one operator.
struct Window {
    Window(const QString &engine, const QString &operatorCode) : env(engine)
    {
        if (!env.ok()) return;
        loadFixture(env.db());
        env.dm().session() = LoadSession(env.dm(), operatorCode);
        w = new DocumentWindow(env.dm(), orderDeclaration());
        w->show();
        w->activateWindow();
        active = QTest::qWaitForWindowActive(w);
    }
    ~Window() { delete w; }
    bool ok() const { return env.ok() && active; }
    QString error() const { return env.ok() ? QStringLiteral("the window did not become active") : env.error(); }
    template <typename T = QWidget> T *get(const char *name) const
    {
        T *c = w->findChild<T *>(QLatin1String(name));
        if (!c) qWarning("no control %s", name);
        return c;
    }
    QString text(const char *name) const { return get<QLineEdit>(name)->text(); }
    void click(const char *name) const { qobject_cast<QToolButton *>(get(name))->click(); }
    TestEnv env;
    DocumentWindow *w = nullptr;
    bool active = false;
};
} // namespace

class TestUiDocuments : public QObject {
    Q_OBJECT
private slots:
    // An order entered by keyboard alone: supplier, goods codes, quantities,
    // Enter; saved, audited, printed to PDF, copied; both on the day list.
    void enterSaveAuditPrintCopy_data() { addEngineRows(); }
    void enterSaveAuditPrintCopy()
    {
        QFETCH(QString, engine);
        Window win(engine, QStringLiteral("000"));
        KORVAN_REQUIRE(win);
        TestEnv &env = win.env;
        ScriptedResponder messages;
        DataGrid *grid = win.get<DataGrid>("DBGridEh1");
        const QString today = QDate::currentDate().toString("yyyyMMdd");

        QVERIFY(!win.get("tbSave")->isEnabled());
        QVERIFY(!win.get("gbHeader")->isEnabled());
        grid->setFocus();
        key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(win.text("edtCode"), "CDD" + today + "001");
        QVERIFY(win.get("tbSave")->isEnabled());
        QVERIFY(!win.get("tbNew")->isEnabled());
        QVERIFY(!win.get("dtpXzDate")->isEnabled());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("dtpMakeDate"));
        QCOMPARE(win.get<QLabel>("Label22")->text(), QString("未审核"));
        QCOMPARE(win.text("edtMaker"), QString("系统管理员"));
        QVERIFY(!win.get("Button3")->isEnabled()); // 采购入库 needs the receipt window

        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(messages.last(), QString("采购供应商不能为空！"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("cbeClient"));
        type(QStringLiteral("华强五金"));
        key(Qt::Key_Return); // Enter moves on like Tab
        auto *depot = win.get<QComboBox>("cbbDepot");
        QCOMPARE(depot->count(), 2);
        depot->setCurrentIndex(depot->findText(QStringLiteral("北仓")));

        // Lines: goods code, Enter, quantity, Enter — twice.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, grid->gridModel()->columnOf("F_GoodCode")));
        for (const auto &[code, qty] : {std::pair{"G9", ""}, std::pair{"G001", "3"}, std::pair{"G003", "2.5"}}) {
            type(QLatin1String(code));
            key(Qt::Key_Return);
            if (QLatin1String(code) == QLatin1String("G9")) {
                QCOMPARE(messages.last(), QString("商品\"G9\"不存在，请检查输入？"));
                QVERIFY(grid->currentIndex().isValid());
                continue;
            }
            QCOMPARE(grid->currentIndex().column(), grid->gridModel()->columnOf("F_Amount"));
            type(QLatin1String(qty));
            key(Qt::Key_Return);
            QCOMPARE(grid->currentIndex().column(), grid->gridModel()->visibleColumns().first());
        }
        QCOMPARE(grid->model()->rowCount(), 3); // two lines and the next empty one
        QCOMPARE(grid->gridModel()->value(1, "F_GoodName").toString(), QString("电线"));
        QCOMPARE(GridAmountTotal(grid), *Money::parse("9.5")); // 3 × 0.50 + 2.5 × 3.20
        QCOMPARE(grid->gridModel()->text(0, grid->gridModel()->columnOf("F_Price")), QString("0.50"));

        key(Qt::Key_S, Qt::ControlModifier);
        const QString code = "CDD" + today + "001";
        QCOMPARE(win.w->controller().mode(), DocumentController::Mode::Browse);
        QCOMPARE(win.text("edtCode"), code);
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(env.db().scalar("SELECT F_Client FROM ddDepotM WHERE F_Code = ?", {code}).toString(), QString("华强五金"));
        QCOMPARE(Money::fromDb(env.db().scalar("SELECT F_TotalPrice FROM ddDepotM WHERE F_Code = ?", {code})), *Money::parse("9.5"));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM ddDepotD WHERE F_Code = ?", {code}).toInt(), 2);

        messages.answer(AnswerYes);
        win.click("tbCheck");
        QCOMPARE(messages.last(), QString("审核记帐以后，单据不能再修改，真的要审核记帐吗？"));
        QCOMPARE(win.get<QLabel>("Label22")->text(), QString("已审核"));
        QCOMPARE(win.text("edtAuditer"), QString("系统管理员"));
        QCOMPARE(win.text("edtAudDate"), QDate::currentDate().toString("yyyy-MM-dd"));

        // 打印 previews the default layout; the preview writes the PDF: header,
        // lines and the amount in capitals. 设置 opens the designer on the same template.
        win.click("tbPrint");
        ReportPreview *preview = nullptr;
        for (QWidget *w : QApplication::allWidgets())
            if (auto *p = qobject_cast<ReportPreview *>(w)) preview = p;
        QVERIFY(preview);
        QCOMPARE(preview->job().name, QString("frCaigouInddDept"));
        const QString pdf = env.appDir() + "/order.pdf";
        QVERIFY(preview->exportPdf(pdf));
        delete preview;
        const QString printed = pdfText(pdf);
        for (const QString &expected : {code, QStringLiteral("华强五金"), QStringLiteral("螺丝"), QStringLiteral("电线"),
                                        QStringLiteral("9.50"), QStringLiteral("玖元伍角")})
            QVERIFY2(printed.contains(expected), qPrintable(expected + " missing from:\n" + printed));
        QString designed;
        SetReportDesignerRunner([&](ReportDesigner &d) { designed = d.job().name; });
        win.w->findChild<QAction *>("Action12")->trigger();
        SetReportDesignerRunner({});
        QCOMPARE(designed, QString("frCaigouInddDept1"));

        win.click("tbCopy");
        QCOMPARE(win.text("edtCode"), "CDD" + today + "002");
        QCOMPARE(win.get<QLabel>("Label22")->text(), QString("未审核"));
        QCOMPARE(grid->model()->rowCount(), 2);
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(win.w->controller().dayList().size(), 2);
        QCOMPARE(win.text("edtCode"), "CDD" + today + "002");
        QCOMPARE(win.text("edtAuditer"), QString()); // the copy is not audited
        win.click("tbFirst");
        QCOMPARE(win.text("edtCode"), code);
        QVERIFY(!win.get("tbFirst")->isEnabled());
    }

    // The supplier box's button and the goods name's "…" open the pickers:
    // the chosen supplier fills the box, each picked goods becomes a line.
    void pickers()
    {
        Window win(QStringLiteral("sqlite"), QStringLiteral("000"));
        KORVAN_REQUIRE(win);
        ScriptedResponder messages;
        win.click("tbNew");
        QTimer::singleShot(0, [] {
            auto *picker = qobject_cast<SupplierPicker *>(QApplication::activeModalWidget());
            QVERIFY(picker);
            picker->grid()->setCurrentIndex(picker->grid()->model()->index(1, 0));
            picker->accept();
        });
        win.get<QAction>("cbeClientButton")->trigger();
        QCOMPARE(win.text("cbeClient"), QString("O'Neil 电料"));
        QCOMPARE(win.w->controller().header("F_Client").toString(), QString("O'Neil 电料"));

        DataGrid *grid = win.get<DataGrid>("DBGridEh1");
        QTimer::singleShot(0, [] {
            auto *picker = qobject_cast<GoodsPicker *>(QApplication::activeModalWidget());
            QVERIFY(picker);
            QTreeWidget *tree = picker->typeTree();
            tree->setCurrentItem(tree->topLevelItem(0));
            emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
            for (int i = 0; i < 2; ++i) {
                picker->grid()->setCurrentIndex(picker->grid()->model()->index(0, 0));
                picker->choose(); // the picked goods leaves the list
            }
            picker->accept();
        });
        const int nameColumn = grid->gridModel()->columnOf("F_GoodName");
        emit grid->ellipsisClicked(0, nameColumn);
        QCOMPARE(grid->model()->rowCount(), 2); // the untouched empty line gave way
        QCOMPARE(grid->gridModel()->value(0, "F_GoodCode").toString(), QString("G001"));
        QCOMPARE(grid->gridModel()->value(1, "F_GoodCode").toString(), QString("G002"));
        QCOMPARE(GridAmountTotal(grid), *Money::parse("25.5")); // 1 × 0.50 + 1 × 25.00
    }

    // Closing the window while an order is being entered asks first; an
    // order with nothing typed yet closes at once.
    void closingAsksBeforeDroppingInput()
    {
        Window win(QStringLiteral("sqlite"), QStringLiteral("000"));
        KORVAN_REQUIRE(win);
        ScriptedResponder messages;
        win.click("tbNew");
        DocumentController &c = win.w->controller();
        c.setLineValue(0, "F_GoodCode", QString("G001"));
        messages.answer(AnswerNo);
        QVERIFY(!win.w->close());
        QCOMPARE(messages.texts(), QStringList{DocumentController::discardQuestion()});
        QCOMPARE(c.mode(), DocumentController::Mode::Entry);
        QCOMPARE(c.document().lines.value(0).values.value("F_GoodCode").toString(), QString("G001"));
        messages.answer(AnswerYes);
        QVERIFY(win.w->close());

        win.w->show();
        win.click("tbCancel");
        win.click("tbNew");
        messages.clear();
        QVERIFY(win.w->close());
        QVERIFY(messages.texts().isEmpty());
    }

    // An operator without the price right: price columns hidden, prints
    // without prices; his warehouses only; the list date shows another day.
    void restrictedOperator()
    {
        Window win(QStringLiteral("sqlite"), QStringLiteral("101"));
        KORVAN_REQUIRE(win);
        ScriptedResponder messages;
        DataGrid *grid = win.get<DataGrid>("DBGridEh1");
        const GridColumns &cols = grid->columns();
        for (const char *f : {"F_Price", "F_TotalPrice"}) QVERIFY(!cols[indexOfField(cols, f)].visible);
        QVERIFY(cols[indexOfField(cols, "F_Amount")].visible);
        QVERIFY(!win.get<QAction>("Action1")->isVisible());
        QVERIFY(win.get<QAction>("Action3")->isVisible());
        QCOMPARE(win.w->defaultTemplate(), QString("frCaigouInddDept2"));
        QVERIFY(!win.get("tbCheck")->isEnabled());
        QVERIFY(!win.get("tbFcheck")->isVisible());
        QCOMPARE(win.get<QComboBox>("cbbDepot")->count(), 1); // 北仓 only

        QVERIFY(win.w->controller().dayList().isEmpty());
        QCOMPARE(win.text("edtCode"), QString());
        win.get<QDateEdit>("dtpXzDate")->setDate(QDate(2024, 3, 5));
        QCOMPARE(win.text("edtCode"), QString("CDD20240305001"));
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->gridModel()->value(0, "F_GoodName").toString(), QString("螺丝"));
        QVERIFY(!grid->gridModel()->isEditable());
        // Entry mode makes the lines editable with the goods button; Esc cancels.
        win.click("tbEdit");
        QVERIFY(grid->gridModel()->isEditable());
        QVERIFY(grid->columns()[indexOfField(grid->columns(), "F_GoodName")].ellipsis);
        QVERIFY(win.get("Button1")->isEnabled());
        grid->setFocus();
        key(Qt::Key_F9);
        QCOMPARE(grid->model()->rowCount(), 3);
        key(Qt::Key_Escape);
        QCOMPARE(win.w->controller().mode(), DocumentController::Mode::Browse);
        QCOMPARE(grid->model()->rowCount(), 2);
        QVERIFY(!grid->gridModel()->isEditable());
        QVERIFY(messages.texts().isEmpty());
    }
};

QTEST_MAIN(TestUiDocuments)
#include "test_ui_documents.moc"
