// The administration windows driven through their controls: operators and
// roles, the warehouse picker, backup and restore, data clearing.
#include "BackupService.h"
#include "DataBackWindow.h"
#include "DataClearWindow.h"
#include "Fixture.h"
#include "LimitGlWindow.h"
#include "Login.h"
#include "OperGlWindow.h"
#include "SelectDepotDialog.h"
#include "TestKit.h"
#include "UiChecks.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace korvan;
using namespace korvan::test;

namespace {
// Runs `act` on the modal window `name` once it is shown (by exec()). A
// window still open afterwards (a check failed half-way) is closed.
void whenModal(const QString &name, std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [name, act] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w->objectName() != name) qFatal("expected modal window %s", qPrintable(name));
        QPointer<QWidget> guard(w);
        act(w);
        if (auto *dialog = qobject_cast<QDialog *>(guard.data()); dialog && dialog->isVisible()) dialog->reject();
    });
}

void tick(QListWidget *list, const QStringList &texts)
{
    for (int i = 0; i < list->count(); ++i)
        if (texts.contains(list->item(i)->text())) list->item(i)->setCheckState(Qt::Checked);
}

QStringList column(QTreeWidget *list, int col)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(col);
    return out;
}

void selectRow(QTreeWidget *list, const QString &code)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(1) == code) list->setCurrentItem(list->topLevelItem(i));
}

struct Env : TestEnv {
    Env() : TestEnv("sqlite")
    {
        if (!ok()) return;
        loadFixture(db());
        loginAsSuperUser();
    }
};
} // namespace

class TestUiAdmin : public QObject {
    Q_OBJECT
private slots:
    void windowsAreRegistered()
    {
        registerAllWindows();
        for (const char *name : {"TFrmOperGl", "TFrmDataBack", "TFrmDataClear"}) {
            const WindowEntry *e = registeredWindow(name);
            QVERIFY2(e, name);
            QCOMPARE(e->kind, WindowKind::Modal);
        }
    }

    // A new role with some items and a restricted operator in it, made
    // through the windows; he then logs in to just those menus.
    void newRoleAndOperator()
    {
        Env env;
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        OperGlWindow manager(env.dm());
        shot(&manager, "TFrmOperGl");
        auto *users = child<QTreeWidget>(&manager, "lvUser");
        auto *roles = child<QTreeWidget>(&manager, "lvRole");
        QCOMPARE(child<QTabWidget>(&manager, "pcOper")->currentIndex(), 0);
        QCOMPARE(column(users, 1), (QStringList{"000", "101"}));
        QCOMPARE(column(users, 3), (QStringList{"系统管理员", "采购员"}));
        QCOMPARE(column(roles, 2), (QStringList{"系统管理员", "采购员"}));
        QVERIFY(!child<QPushButton>(&manager, "btnDelete")->isHidden());

        child<QTabWidget>(&manager, "pcOper")->setCurrentIndex(1);
        whenModal("TFrmLimitGl", [](QWidget *editor) {
            QCOMPARE(editor->windowTitle(), QString("角色权限"));
            auto *pages = child<QTabWidget>(editor, "pcLimit");
            QVERIFY(!pages->isTabVisible(0) && pages->isTabVisible(1) && pages->isTabVisible(2));
            QCOMPARE(child<QCheckBox>(editor, "chkDisabled")->text(), QString("角色禁用"));
            auto *items = child<QListWidget>(editor, "clbLimits");
            QCOMPARE(items->count(), 41);
            shot(editor, "TFrmLimitGl-role");
            pages->setCurrentIndex(2);
            shot(editor, "TFrmLimitGl-items");
            child<QLineEdit>(editor, "edtRoleCode")->setText("003");
            child<QLineEdit>(editor, "edtRoleName")->setText("仓管员");
            tick(items, {"货品资料管理", "采购订单查询"});
            click(editor, "btnSave");
            // A new role: the form empties for the next one.
            QCOMPARE(child<QLineEdit>(editor, "edtRoleCode")->text(), QString());
            QVERIFY(!checkedFlags(items).contains(true));
            click(editor, "btnSelectAll");
            QVERIFY(!checkedFlags(items).contains(false));
            click(editor, "btnClearAll");
            click(editor, "btnExit");
        });
        click(&manager, "btnNew");
        QCOMPARE(column(roles, 1), (QStringList{"001", "002", "003"}));

        child<QTabWidget>(&manager, "pcOper")->setCurrentIndex(0);
        whenModal("TFrmLimitGl", [](QWidget *editor) {
            QCOMPARE(editor->windowTitle(), QString("用户权限"));
            QVERIFY(child<QCheckBox>(editor, "chkNew")->isChecked());
            QVERIFY(child<QCheckBox>(editor, "chkPrice")->isChecked());
            QVERIFY(child<QRadioButton>(editor, "rbAllDepot")->isChecked());
            QVERIFY(child<QLineEdit>(editor, "edtDepot")->isHidden());
            shot(editor, "TFrmLimitGl-operator");
            child<QLineEdit>(editor, "edtCode")->setText("102");
            child<QLineEdit>(editor, "edtName")->setText("赵六");
            child<QLineEdit>(editor, "edtPassword")->setText("pw");
            auto *role = child<QComboBox>(editor, "cbRole");
            QCOMPARE(role->findText("仓管员") >= 0, true);
            role->setCurrentText("仓管员");
            child<QCheckBox>(editor, "chkPrice")->setChecked(false);
            child<QRadioButton>(editor, "rbOwnDepot")->setChecked(true);
            QVERIFY(!child<QLineEdit>(editor, "edtDepot")->isHidden());
            whenModal("TDLGselectDepotSTR", [](QWidget *picker) {
                QCOMPARE(picker->windowTitle(), QString("仓库选择 "));
                shot(picker, "TDLGselectDepotSTR");
                tick(child<QListWidget>(picker, "clbDepot"), {"北仓"});
                click(picker, "btnOK");
            });
            click(editor, "btnDepot");
            QCOMPARE(child<QLineEdit>(editor, "edtDepot")->text(), QString("'北仓'"));
            click(editor, "btnSave");
            QCOMPARE(child<QLineEdit>(editor, "edtCode")->text(), QString());
            click(editor, "btnExit");
        });
        click(&manager, "btnNew");
        QCOMPARE(column(users, 1), (QStringList{"000", "101", "102"}));
        QVERIFY(messages.texts().isEmpty());

        Login login(env.dm(), LoginMode::ChangeOperator);
        QCOMPARE(login.confirm("102", "pw"), Login::Result::LoggedIn);
        QCOMPARE(VisibleActions(env.dm(), env.dm().session()), (QSet<int>{203, 306}));
        QCOMPARE(env.dm().session().ownWarehouses, QStringList{"北仓"});
        QVERIFY(!env.dm().session().canSeePrices);
    }

    // Editing: the password box stays empty and keeps the password; "000"
    // is neither edited nor deleted; refusals put the focus on the box.
    void editAndRefusals()
    {
        Env env;
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        OperGlWindow manager(env.dm());
        auto *users = child<QTreeWidget>(&manager, "lvUser");
        selectRow(users, "000");
        click(&manager, "btnEdit");
        click(&manager, "btnDelete");
        QCOMPARE(messages.texts(), (QStringList{"此用户为系统专用用户，不能被编辑！", "此用户为系统专用用户，不能被删除！"}));
        messages.clear();

        selectRow(users, "101");
        whenModal("TFrmLimitGl", [&env, &messages](QWidget *editor) {
            auto *code = child<QLineEdit>(editor, "edtCode");
            QCOMPARE(code->text(), QString("101"));
            QVERIFY(!code->isEnabled());
            QCOMPARE(child<QLineEdit>(editor, "edtPassword")->text(), QString());
            QCOMPARE(child<QComboBox>(editor, "cbRole")->currentText(), QString("采购员"));
            QVERIFY(child<QRadioButton>(editor, "rbOwnDepot")->isChecked());
            QCOMPARE(child<QLineEdit>(editor, "edtDepot")->text(), QString("'北仓'"));
            QVERIFY(!child<QCheckBox>(editor, "chkPrice")->isChecked());

            child<QLineEdit>(editor, "edtDepot")->setText(" ");
            click(editor, "btnSave");
            QCOMPARE(messages.last(), QString("所属仓库名称不能为空！"));
            QCOMPARE(editor->focusWidget(), child<QLineEdit>(editor, "edtDepot"));
            child<QComboBox>(editor, "cbRole")->setCurrentText("");
            click(editor, "btnSave");
            QCOMPARE(messages.last(), QString("角色类型不能为空，请选择角色！"));
            QCOMPARE(editor->focusWidget(), child<QComboBox>(editor, "cbRole"));

            child<QComboBox>(editor, "cbRole")->setCurrentText("采购员");
            child<QRadioButton>(editor, "rbAllDepot")->setChecked(true);
            QCOMPARE(child<QLineEdit>(editor, "edtDepot")->text(), QString());
            child<QLineEdit>(editor, "edtName")->setText("王五五");
            click(editor, "btnSave"); // editing: closes with OK
            QVERIFY(!editor->isVisible());
            Q_UNUSED(env);
        });
        click(&manager, "btnEdit");
        QCOMPARE(column(users, 2), (QStringList{"系统管理员", "王五五"}));
        Login login(env.dm(), LoginMode::ChangeOperator);
        QCOMPARE(login.confirm("101", "abc"), Login::Result::LoggedIn);
        QCOMPARE(env.dm().session().warehouseScope, 0);
    }

    // Deleting is the super user's only, by button, pop-up menu and key alike.
    void deleteOnlyForSuperUser()
    {
        Env env;
        KORVAN_REQUIRE(env);
        env.dm().session().operatorCode = "101";
        ScriptedResponder messages;
        OperGlWindow manager(env.dm());
        QVERIFY(child<QPushButton>(&manager, "btnDelete")->isHidden());
        auto *users = child<QTreeWidget>(&manager, "lvUser");
        selectRow(users, "101");
        manager.show();
        QApplication::setActiveWindow(&manager);
        users->setFocus();
        QTest::keyClick(users, Qt::Key_Delete);
        child<QAction>(&manager, "actDelete")->trigger();
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(users->topLevelItemCount(), 2);

        env.loginAsSuperUser();
        OperGlWindow super(env.dm());
        super.show();
        QApplication::setActiveWindow(&super);
        users = child<QTreeWidget>(&super, "lvUser");
        selectRow(users, "101");
        users->setFocus();
        messages.answer(AnswerYes);
        QTest::keyClick(users, Qt::Key_Delete);
        QCOMPARE(messages.texts(), QStringList{"真的要删除当前用户王五吗？"});
        QCOMPARE(column(users, 1), QStringList{"000"});
    }

    // The picker: whole names only ('北仓库' does not tick 北仓); no warehouse at all.
    void warehousePicker()
    {
        Env env;
        KORVAN_REQUIRE(env);
        env.db().exec("INSERT INTO t_code (F_Name, F_Type) VALUES ('北仓库', 'depot')");
        ScriptedResponder messages;
        whenModal("TDLGselectDepotSTR", [](QWidget *picker) {
            auto *list = child<QListWidget>(picker, "clbDepot");
            QCOMPARE(checkedFlags(list), (QList<bool>{false, false, true}));
            tick(list, {"南仓"});
            click(picker, "btnOK");
        });
        QCOMPARE(PickWarehouses(env.dm(), "'北仓库'", nullptr), QString("'南仓','北仓库'"));
        whenModal("TDLGselectDepotSTR", [](QWidget *picker) { click(picker, "btnCancel"); });
        QCOMPARE(PickWarehouses(env.dm(), "'北仓'", nullptr), QString("'北仓'"));
        QVERIFY(messages.texts().isEmpty());

        env.db().exec("DELETE FROM t_code WHERE F_Type = 'depot'");
        QCOMPARE(PickWarehouses(env.dm(), "'北仓'", nullptr), QString("'北仓'"));
        QCOMPARE(messages.texts(), QStringList{"没有项目选择！"});
    }

    // Back up, change, restore through the window: the data are as at the backup.
    void backupAndRestore()
    {
        Env env;
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        QMainWindow host; // stands in for the main window with an open child window
        auto *mdi = new QMdiArea;
        host.setCentralWidget(mdi);
        QMdiSubWindow *open = mdi->addSubWindow(new QLabel("旧数据"));
        open->show();
        DataBackWindow window(env.dm(), &host);
        shot(&window, "TFrmDataBack");
        const QString folder = QDir(env.appDir()).filePath("backup");
        QCOMPARE(child<QLineEdit>(&window, "edtPath")->text(), folder);
        QVERIFY(child<QRadioButton>(&window, "rbAuto0")->isChecked());
        const QString chosen = QDir(env.appDir()).filePath("备份");
        QString offered;
        window.chooseFolder = [&](const QString &start) { offered = start; return chosen; };
        click(&window, "btnPath");
        QCOMPARE(offered, folder);
        QCOMPARE(child<QLineEdit>(&window, "edtPath")->text(), chosen);

        messages.answer(AnswerYes); // create the folder
        messages.answer(AnswerNo);  // no compaction
        click(&window, "btnBackup");
        QCOMPARE(messages.last(), QString("数据备份成功！"));
        const QString file = BackupFilePath(chosen, QDate::currentDate());
        QVERIFY(QFileInfo::exists(file));
        const int goods = env.db().scalar("SELECT count(*) FROM t_goods").toInt();
        env.db().exec("DELETE FROM t_goods");

        // A wrong password goes no further; cancelling the file choice neither.
        QStringList filesAsked; // the folders the file choice started in
        window.chooseBackupFile = [&](const QString &start) { filesAsked << start; return QString(); };
        window.askRestorePassword = [] { return std::optional<QString>("123456"); };
        messages.clear();
        click(&window, "btnRestore");
        QCOMPARE(messages.texts(), QStringList{"对不起,恢复密码错误，你没有恢复数据的权限！"});
        QVERIFY(filesAsked.isEmpty());
        window.askRestorePassword = [] { return std::optional<QString>("529384"); };
        click(&window, "btnRestore");
        QCOMPARE(filesAsked, QStringList{chosen});
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_goods").toInt(), 0);

        window.chooseBackupFile = [&](const QString &) { return file; };
        int restarts = 0;
        window.restartApplication = [&] { ++restarts; };
        messages.clear();
        messages.answer(AnswerYes); // lose later data
        messages.answer(AnswerNo);  // no restart
        click(&window, "btnRestore");
        QCOMPARE(messages.texts(), (QStringList{"此操作将使上次备份以来的所有数据丢失，是否继续？",
                                                "数据恢复成功,重新启动当前程序吗？"}));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_goods").toInt(), goods);
        QVERIFY(child<QPushButton>(&window, "btnRestore")->isEnabled());
        QCOMPARE(window.windowTitle(), QString("数据备份及恢复"));
        QCOMPARE(restarts, 0);
        QVERIFY(open->isHidden()); // it showed data of before the restore
        messages.answer(AnswerYes);
        messages.answer(AnswerYes);
        click(&window, "btnRestore");
        QCOMPARE(restarts, 1);

        // "确定" keeps the folder and the automatic backup mode.
        child<QRadioButton>(&window, "rbAuto2")->setChecked(true);
        click(&window, "btnOK");
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(env.settings().autoBackupMode(), 2);
        QCOMPARE(BackupService(env.dm()).backupFolder(), chosen);
    }

    // Test documents go, master data stay.
    void clearTestDocuments()
    {
        Env env;
        KORVAN_REQUIRE(env);
        ScriptedResponder messages;
        DataClearWindow window(env.dm());
        shot(&window, "TFrmDataClear");
        QList<QCheckBox *> boxes;
        for (int i = 1; i <= 10; ++i) boxes << child<QCheckBox>(&window, qPrintable(QString("chkClear%1").arg(i)));
        QCOMPARE(boxes[0]->text(), QString("采购订货单"));
        QCOMPARE(boxes[9]->text(), QString("选项.."));
        click(&window, "btnSelectAll");
        for (QCheckBox *b : boxes) QVERIFY(b->isChecked());
        click(&window, "btnSelectNone");
        for (QCheckBox *b : boxes) QVERIFY(!b->isChecked());

        for (int i = 0; i < 5; ++i) boxes[i]->setChecked(true);
        messages.answer(AnswerYes);
        click(&window, "btnOK");
        QCOMPARE(messages.last(), QString("数据清理成功！"));
        QCOMPARE(env.db().scalar("SELECT count(*) FROM ddDepotM").toInt(), 0);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_goods").toInt(), 3);
        QCOMPARE(env.db().scalar("SELECT count(*) FROM t_client").toInt(), 2);
        QVERIFY(boxes[0]->isChecked()); // the window stays as it was
    }
};

QTEST_MAIN(TestUiAdmin)
#include "test_ui_admin.moc"
