// The main window: menus, visibility from the session, child windows, desktop,
// compaction, the closing question and the small dialogs it opens.
#include "AboutBox.h"
#include "Actions.h"
#include "DataModule.h"
#include "DatabaseChoice.h"
#include "DesktopWindow.h"
#include "DocumentWindow.h"
#include "EnterNavigator.h"
#include "Login.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "Passwords.h"
#include "PasswordWindow.h"
#include "TestKit.h"
#include "UiChecks.h"
#include "WindowRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace korvan;
using namespace korvan::test;

namespace {
const QString kProbe = QStringLiteral("TFrmProbe");

QWidget *makeProbe(DataModule &, QWidget *)
{
    auto *w = new QWidget;
    w->setWindowTitle(QStringLiteral("探针"));
    return w;
}

void addOperator(Database &db, const QString &code, const QString &name, const QString &role, const QList<int> &items)
{
    db.exec("INSERT INTO OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_Price, F_CKflag) VALUES (?, ?, ?, ?, ?, ?, 0)",
            {code, name, SavePass(""), role, false, false});
    for (int item : items) db.exec("INSERT INTO PartLimit (F_PartCode, F_LmtCode) VALUES (?, ?)", {role, QString::number(item)});
}

// The entries of a menu: captions, "—" for a separator, a submenu with its own entries.
QString entries(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            out << "—";
        else if (a->menu())
            out << a->text() + "(" + entries(a->menu()) + ")";
        else
            out << a->text();
    }
    return out.join("|");
}

QList<QMdiSubWindow *> openWindows(MainWindow &mw)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *sub : mw.mdiArea()->subWindowList())
        if (!sub->isHidden()) open << sub;
    return open;
}

QStringList openClasses(MainWindow &mw)
{
    QStringList out;
    for (QMdiSubWindow *sub : openWindows(mw)) out << sub->widget()->objectName();
    return out;
}

// A logged-in main window, shown, over a fresh database.
struct Fixture {
    explicit Fixture(const QString &engine, const QString &operatorCode = "000") : env(engine)
    {
        if (!env.ok()) return;
        env.dm().session() = LoadSession(env.dm(), operatorCode);
        mw = std::make_unique<MainWindow>(env.dm());
        mw->applySession();
    }
    void show()
    {
        mw->show();
        QVERIFY(QTest::qWaitForWindowExposed(mw.get()));
    }
    TestEnv env;
    std::unique_ptr<MainWindow> mw;
};

} // namespace

class TestUiMain : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerAllWindows();
        registerWindow(kProbe, WindowKind::Child, makeProbe);
        registerActionWindow(201, WindowKind::Child, makeProbe);
        registerActionWindow(202, WindowKind::Child, makeProbe);
    }

    void menus()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        QStringList bar;
        for (QAction *a : f.mw->menuBar()->actions()) bar << a->text();
        QCOMPARE(bar, (QStringList{"系统管理", "基本资料", "业务管理", "报表中心", "采购分析", "窗体", "辅助", "导航图"}));
        const auto menu = [&](const char *name) { return entries(f.mw->findChild<QMenu *>(name)); };
        QCOMPARE(menu("mnuSystem"), QString("公司信息资料|更改用户密码|角色权限管理|系统当前配置|—|数据备份恢复|系统数据清理|"
                                            "压缩修复数据|连接网络数据|Excel 导入数据(导入货品资料|导入供应厂商)|—|重新登录|退出系统"));
        QCOMPARE(menu("mnuBase"), QString("员工档案管理|供货厂商管理|货品资料管理|—|货品类型设置|选项..."));
        QCOMPARE(menu("mnuBusiness"), QString("采购订单管理|采购进货管理|采购退货管理|采购开票管理|采购付款管理|—|"
                                              "采购订单查询|采购单据查询|采购付款查询|采购开票查询"));
        QCOMPARE(menu("mnuReport"), QString("采购订单执行汇总|采购订单执行明细|采购订货明细统计|—|供应厂商供货汇总|供应厂商供货明细|"
                                            "货品采购汇总统计|货品采购明细统计|业务人员采购汇总|业务人员采购明细|—|"
                                            "采购开票汇总统计|采购开票明细统计|采购付款汇总统计|采购付款明细统计"));
        QCOMPARE(menu("mnuAnalysis"), QString("月旬日采购分析|时间段采购分析|应付帐款汇总分析|应付帐款明细分析"));
        QCOMPARE(menu("mnuWindow"), QString("重叠|横向重排|纵向重排|—|切换|关闭|全部关闭"));
        QCOMPARE(menu("mnuHelp"), QString("计算器|笔记本|—|帮助文件|关于我们|访问我们的网站"));
    }

    // An action is usable only when the window it opens exists.
    void actionsFollowTheRegistry()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        for (const ActionInfo &info : allActions()) {
            QAction *a = f.mw->action(info.code);
            QVERIFY(a);
            QCOMPARE(a->objectName(), QString("act%1").arg(info.code));
            QCOMPARE(a->text(), info.caption);
            const bool expected = info.windowClass.isEmpty() || windowForAction(info.code);
            QVERIFY2(a->isEnabled() == expected, qPrintable(info.caption));
        }
        QVERIFY(f.mw->action(102)->isEnabled()); // the password change is here
        QVERIFY(f.mw->action(108)->isEnabled() && f.mw->action(109)->isEnabled());
        // The windows built so far are all reachable from the menus.
        for (int code : {101, 103, 104, 105, 110, 203, 204, 205, 301})
            QVERIFY2(f.mw->action(code)->isEnabled(), qPrintable(actionByCode(code)->caption));
    }

    void visibilityFromTheSession_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QList<int>>("items");
        QTest::addColumn<QList<bool>>("menus"); // the five top menus
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + ": no items")) << e << QList<int>{} << QList<bool>{false, false, false, false, false};
            QTest::newRow(qPrintable(e + ": some items"))
                << e << QList<int>{106, 201, 301} << QList<bool>{true, true, true, false, false};
        }
    }
    // Changing operator applies his role at once: menus, actions, desktop tabs and buttons.
    void visibilityFromTheSession()
    {
        QFETCH(QString, engine);
        QFETCH(QList<int>, items);
        QFETCH(QList<bool>, menus);
        Fixture f(engine);
        KORVAN_REQUIRE(f.env);
        addOperator(f.env.db(), "007", "王五", "R1", items);
        f.show();
        auto *desktop = qobject_cast<DesktopWindow *>(f.mw->OpenChildForm("TFrmBtnImage"));
        QVERIFY(desktop);
        for (int c = 1; c <= 5; ++c) {
            QVERIFY(f.mw->topMenuVisible(c));
            QVERIFY(desktop->tabs()->isTabVisible(c - 1));
        }

        f.mw->runLogin = [](DataModule &dm, LoginMode mode, QWidget *) {
            return Login(dm, mode).confirm("007", "") == Login::Result::LoggedIn;
        };
        f.mw->relogin();
        QCOMPARE(f.env.dm().session().operatorCode, QString("007"));
        QCOMPARE(f.env.dm().session().priceReportSuffix(), QString("1"));
        QCOMPARE(f.mw->findChild<QLabel *>("pnlOperator")->text(), QString(" 王五"));
        for (int c = 1; c <= 5; ++c) {
            QCOMPARE(f.mw->topMenuVisible(c), menus[c - 1]);
            QCOMPARE(desktop->tabs()->isTabVisible(c - 1), menus[c - 1]);
        }
        for (const char *always : {"mnuWindow", "mnuHelp"}) QVERIFY(f.mw->findChild<QMenu *>(always)->menuAction()->isVisible());
        QVERIFY(f.mw->findChild<QAction *>("actNavigator")->isVisible());
        for (const ActionInfo &info : allActions()) {
            const bool visible = items.contains(info.code);
            QCOMPARE(f.mw->action(info.code)->isVisible(), visible);
            for (QToolButton *b : desktop->findChildren<QToolButton *>(QString("btn%1").arg(info.code)))
                QVERIFY2(b->isVisibleTo(b->parentWidget()) == visible, qPrintable(info.caption));
        }
        QCOMPARE(f.mw->findChild<QMenu *>("mnuExcelImport")->menuAction()->isVisible(), items.contains(106));

        // A hidden action opens nothing, whoever calls it; a visible one opens its window.
        f.mw->runAction(202);
        QVERIFY(!openClasses(*f.mw).contains("TfrmCltMan"));
        f.mw->runAction(201);
        QCOMPARE(openClasses(*f.mw).contains("TfrmEmpMan"), items.contains(201));
    }

    // The first show: caption, desktop, status bar, settings, backup and formats.
    void firstShow()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        IniFile &ini = f.env.settings().ini();
        ini.setValue("config", "iprintNum", "8");
        ini.setValue("config", "bTM", "1");
        ini.setValue("config", "ibak", "1");
        f.env.db().exec("UPDATE SysInfo SET F_iPrice = 4, F_iAmount = 0");
        const QString backup = f.env.dm().LookupString("SELECT F_BakPath FROM SysInfo");
        QVERIFY(QDir().mkpath(backup));
        ScriptedResponder responder;
        f.show();
        QCOMPARE(f.mw->windowTitle(), QString("Korvan采购管理软件 v2.81(企业版) "));
        QCOMPARE(openClasses(*f.mw), QStringList{"TFrmBtnImage"});
        auto *desktop = f.mw->findChild<DesktopWindow *>("TFrmBtnImage");
        QCOMPARE(desktop->windowTitle(), QString("桌面"));
        QCOMPARE(desktop->tabs()->tabText(desktop->tabs()->currentIndex()), QString(" 业务管理 "));
        QCOMPARE(f.mw->findChild<QLabel *>("pnlUserCaption")->text(), QString(" 当前用户"));
        QCOMPARE(f.mw->findChild<QLabel *>("pnlOperator")->text(), QString(" 系统管理员"));
        QCOMPARE(f.mw->findChild<QLabel *>("pnlTimeCaption")->text(), QString(" 当前日期时间"));
        QVERIFY(QRegularExpression("^ \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(f.mw->findChild<QLabel *>("pnlClock")->text()).hasMatch());
        QVERIFY(f.mw->findChild<QLabel *>("pnlProduct")->text().startsWith("Korvan采购管理软件(企业版)"));
        QCOMPARE(f.env.dm().printRows(), 8);
        QVERIFY(f.env.dm().barcodeInput());
        QCOMPARE(f.env.dm().formats().price, QString(",0.00##"));
        QCOMPARE(f.env.dm().formats().qty, QString("0."));
        QVERIFY(QFileInfo::exists(QDir(backup).filePath("dp" + QDate::currentDate().toString("yyyyMMdd") + ".back")));
        QCOMPARE(responder.texts(), QStringList{});
    }

    void openChildForm()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        f.show();
        QWidget *desktop = f.mw->OpenChildForm("TFrmBtnImage");
        QCOMPARE(desktop, f.mw->findChild<QWidget *>("TFrmBtnImage"));
        QWidget *probe = f.mw->OpenChildForm(kProbe);
        QVERIFY(probe);
        QCOMPARE(probe->objectName(), kProbe);
        QCOMPARE(korvan::OpenChildForm(kProbe), probe);
        QCOMPARE(openClasses(*f.mw), (QStringList{"TFrmBtnImage", kProbe}));
        auto *sub = qobject_cast<QMdiSubWindow *>(probe->parentWidget());
        f.mw->OpenChildForm("TFrmBtnImage");
        sub->showMinimized();
        QCOMPARE(f.mw->OpenChildForm(kProbe), probe);
        QVERIFY(!sub->isMinimized());
        QCOMPARE(f.mw->mdiArea()->activeSubWindow(), sub);
        QVERIFY(!f.mw->OpenChildForm("TFrmNothing"));

        // The probe closing itself takes its frame along.
        probe->close();
        QCOMPARE(openClasses(*f.mw), QStringList{"TFrmBtnImage"});
    }

    // A child opens at the size it asks for, bounded by the area, and wholly inside it.
    void childrenFitTheArea()
    {
        registerWindow("TFrmWide", WindowKind::Child, [](DataModule &, QWidget *) {
            auto *w = new QWidget;
            w->resize(5000, 300);
            return w;
        });
        registerWindow("TFrmMiddle", WindowKind::Child, [](DataModule &, QWidget *) {
            auto *w = new QWidget;
            w->resize(500, 320);
            return w;
        });
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        f.mw->resize(1024, 700);
        f.show();
        const QRect area = f.mw->mdiArea()->viewport()->rect();
        for (const char *cls : {"TFrmMiddle", "TFrmWide"}) {
            auto *sub = qobject_cast<QMdiSubWindow *>(f.mw->OpenChildForm(cls)->parentWidget());
            QVERIFY2(area.contains(sub->geometry()), cls);
        }
        QCOMPARE(f.mw->findChild<QWidget *>("TFrmMiddle")->size(), QSize(500, 320));
        QCOMPARE(qobject_cast<QMdiSubWindow *>(f.mw->findChild<QWidget *>("TFrmWide")->parentWidget())->width(), area.width());
    }

    // "全部关闭" closes the desktop too; "导航图" brings it back; the menu lists the windows.
    void windowMenu()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        f.show();
        f.mw->OpenChildForm(kProbe);
        QMenu *menu = f.mw->findChild<QMenu *>("mnuWindow");
        emit menu->aboutToShow();
        QStringList listed;
        for (QAction *a : menu->actions().mid(7)) listed << a->text();
        QCOMPARE(listed, (QStringList{"", "&1 桌面", "&2 探针"}));
        f.mw->findChild<QAction *>("actCloseAll")->trigger();
        QVERIFY(openWindows(*f.mw).isEmpty());
        f.mw->findChild<QAction *>("actNavigator")->trigger();
        QCOMPARE(openClasses(*f.mw), QStringList{"TFrmBtnImage"});
        f.mw->findChild<QAction *>("actCloseWindow")->trigger();
        QVERIFY(openWindows(*f.mw).isEmpty());
    }

    void compaction_data() { addEngineRows(); }
    void compaction()
    {
        QFETCH(QString, engine);
        Fixture f(engine);
        KORVAN_REQUIRE(f.env);
        f.show();
        f.mw->OpenChildForm(kProbe);
        QCOMPARE(openWindows(*f.mw).size(), 2);
        ScriptedResponder responder;
        f.mw->runAction(108);
        QCOMPARE(responder.texts(), QStringList{"压缩数据库成功！"});
        QVERIFY(openWindows(*f.mw).isEmpty());
        QVERIFY(f.env.db().handle().isOpen());
        QCOMPARE(f.env.dm().LookupInt("SELECT count(*) FROM OperList WHERE F_Code = ?", {"000"}), 1);
        QCOMPARE(responder.texts().size(), 1);
    }

    void closingQuestion()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        f.show();
        f.mw->OpenChildForm(kProbe);
        ScriptedResponder responder;
        responder.answer(AnswerNo);
        QVERIFY(!f.mw->close());
        QCOMPARE(responder.texts(), QStringList{"真的要退出“Korvan采购管理软件 ”软件吗？"});
        QCOMPARE(responder.shown().first().kind, int(MsgQuestion));
        QVERIFY(f.mw->isVisible());
        QCOMPARE(openClasses(*f.mw), (QStringList{"TFrmBtnImage", kProbe}));
        responder.answer(AnswerYes);
        f.mw->findChild<QAction *>("actExit")->trigger();
        QCOMPARE(responder.texts().size(), 2);
        QVERIFY(!f.mw->isVisible());
    }

    // Quitting with an order half entered: its operator may keep it, and then
    // the program keeps running with the order window open.
    void quittingKeepsADocumentBeingEntered()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        f.show();
        auto *order = qobject_cast<DocumentWindow *>(f.mw->OpenChildForm("TFrmInCaigouDdGl"));
        QVERIFY(order);
        QVERIFY(order->controller().newDocument());
        order->controller().setHeader("F_Client", QString("华强五金"));
        ScriptedResponder responder;
        responder.answer(AnswerYes); // quit
        responder.answer(AnswerNo);  // but keep the order
        QVERIFY(!f.mw->close());
        QCOMPARE(responder.last(), DocumentController::discardQuestion());
        QVERIFY(f.mw->isVisible());
        QVERIFY(openClasses(*f.mw).contains("TFrmInCaigouDdGl"));
        QCOMPARE(order->controller().header("F_Client").toString(), QString("华强五金"));
        responder.setFallback(AnswerYes);
        QVERIFY(f.mw->close());
    }

    void desktop()
    {
        Fixture f("sqlite");
        KORVAN_REQUIRE(f.env);
        f.show();
        auto *desktop = f.mw->findChild<DesktopWindow *>("TFrmBtnImage");
        QVERIFY(desktop);
        QCOMPARE(desktop->size(), QSize(942, 603));
        auto *sub = qobject_cast<QMdiSubWindow *>(desktop->parentWidget());
        QVERIFY(!(sub->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QStringList tabs;
        for (int i = 0; i < desktop->tabs()->count(); ++i) tabs << desktop->tabs()->tabText(i);
        QCOMPARE(tabs, (QStringList{" 系统管理 ", " 基本资料 ", " 业务管理 ", " 报表中心 ", " 采购分析 "}));
        QCOMPARE(desktop->tabs()->tabPosition(), QTabWidget::West);
        // Every action of the desktop has its button, showing the action's caption and state.
        const QList<int> onDesktop{101, 102, 103, 104, 105, 106, 107, 110, 201, 202, 203, 204, 205, 301, 302, 303, 304,
                                   305, 306, 307, 308, 309, 401, 402, 403, 404, 405, 406, 407, 408, 409, 410, 411, 412,
                                   413, 501, 502, 503, 504};
        for (int code : onDesktop) {
            const auto buttons = desktop->findChildren<QToolButton *>(QString("btn%1").arg(code));
            QVERIFY2(!buttons.isEmpty(), qPrintable(QString::number(code)));
            for (QToolButton *b : buttons) {
                QCOMPARE(b->text(), f.mw->action(code)->text());
                QCOMPARE(b->isEnabled(), f.mw->action(code)->isEnabled());
            }
        }
        QCOMPARE(desktop->findChildren<QToolButton *>("btn202").size(), 2); // on "基本资料" and "业务管理"
        desktop->findChild<QToolButton *>("btn201")->click();
        QVERIFY(openClasses(*f.mw).contains("TfrmEmpMan"));
        f.mw->action(203)->setVisible(false);
        for (QToolButton *b : desktop->findChildren<QToolButton *>("btn203")) QVERIFY(!b->isVisibleTo(b->parentWidget()));
    }

    void databaseChoice()
    {
        QTemporaryDir dir;
        AppSettings settings(dir.path());
        {
            DatabaseChoice d(settings);
            verifyLabelled(d);
            QCOMPARE(d.windowTitle(), QString("连接网络数据库"));
            QVERIFY(d.findChild<QRadioButton *>("rbSqlite")->isChecked());
            d.chooseFile = [&](const QString &start) {
                [&] { QCOMPARE(start, dir.path()); }();
                return dir.path() + "/share/other.db";
            };
            d.findChild<QAbstractButton *>("btnBrowse")->click();
            d.findChild<QPushButton *>("btnOK")->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(AppSettings(dir.path()).ini().value("config", "ds"), dir.path() + "/share/");
        {
            DatabaseChoice d(settings);
            d.findChild<QRadioButton *>("rbPostgres")->setChecked(true);
            d.findChild<QLineEdit *>("edtPgUrl")->setText("postgresql://korvan@db.local:5432/depot");
            d.findChild<QPushButton *>("btnOK")->click();
        }
        AppSettings after(dir.path());
        QCOMPARE(after.databaseTarget().engine, DatabaseTarget::Engine::PostgreSQL);
        QCOMPARE(after.pgUrl(), QString("postgresql://korvan@db.local:5432/depot"));
        {
            DatabaseChoice d(settings);
            QVERIFY(d.findChild<QRadioButton *>("rbPostgres")->isChecked());
            d.findChild<QRadioButton *>("rbSqlite")->setChecked(true);
            d.findChild<QPushButton *>("btnOK")->click();
        }
        QCOMPARE(AppSettings(dir.path()).databaseTarget().engine, DatabaseTarget::Engine::SQLite);
    }

    // Dialogs fit their content: no label or button is cut.
    void dialogsFit()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        env.dm().session() = LoadSession(env.dm(), "000");
        AboutBox about;
        QCOMPARE(about.objectName(), QString("TfrmAboutInfo"));
        QCOMPARE(about.windowTitle(), QString("关于我们"));
        QCOMPARE(about.findChild<QLabel *>("lblProduct")->text(), QString("Korvan采购管理软件 v2.81(企业版) "));
        QVERIFY(about.findChild<QLabel *>("lblWebsite")->openExternalLinks());
        QVERIFY(about.findChild<QLabel *>("lblEmail")->text().contains("mailto:"));
        PasswordWindow password(env.dm());
        DatabaseChoice choice(env.settings());
        for (QDialog *d : QList<QDialog *>{&about, &password, &choice}) {
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            verifyLabelsFit(*d);
        }
    }

    // A dialog placed before it is first shown is centred at its real size.
    void placedDialogIsCentred()
    {
        QDialog dlg;
        auto *layout = new QVBoxLayout(&dlg);
        auto *body = new QWidget;
        body->setMinimumSize(420, 440);
        layout->addWidget(body);
        DispFormPos(&dlg, 1);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.width() >= 420 && dlg.height() >= 440);
        const QPoint off = dlg.frameGeometry().center() - dlg.screen()->availableGeometry().center();
        QVERIFY2(qAbs(off.x()) <= 3 && qAbs(off.y()) <= 3, qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
    }

    // Enter moves to the next box in the application's windows.
    void enterMovesOn()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        env.dm().session() = LoadSession(env.dm(), "000");
        EnterNavigator::install();
        PasswordWindow w(env.dm());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *oldBox = w.findChild<QLineEdit *>("edtOldPass");
        oldBox->setFocus();
        QTest::keyClick(oldBox, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.findChild<QLineEdit *>("edtNewPass"));
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestUiMain)
#include "test_ui_main.moc"
