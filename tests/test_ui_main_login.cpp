// The login window driven through its controls, in both modes, and the password change window.
#include "DataModule.h"
#include "Login.h"
#include "LoginWindow.h"
#include "Passwords.h"
#include "PasswordWindow.h"
#include "TestKit.h"
#include "UiChecks.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <map>

using namespace korvan;
using namespace korvan::test;

namespace {
const QString kCancel = QStringLiteral("<cancel>");

void addOperator(Database &db, const QString &code, const QString &name, const QString &password, bool disabled = false)
{
    db.exec("INSERT INTO OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_Price, F_CKflag)"
            " VALUES (?, ?, ?, 'R1', ?, ?, 0)",
            {code, name, SavePass(password), disabled, true});
}

QStringList messages(const ScriptedResponder &r)
{
    QStringList out;
    for (const auto &m : r.shown()) out << QString::number(m.kind) + ":" + m.text;
    return out;
}

QStringList logEntries(Database &db)
{
    QSqlQuery q = db.query("SELECT F_EmpName, F_OperType FROM LogRec ORDER BY F_ID");
    QStringList out;
    while (q.next()) out << q.value(0).toString() + "|" + q.value(1).toString();
    return out;
}
} // namespace

class TestUiLogin : public QObject {
    Q_OBJECT
    // One database per engine for the login table (password hashing is slow on purpose).
    std::map<QString, std::unique_ptr<TestEnv>> m_envs;
    TestEnv &shared(const QString &engine)
    {
        std::unique_ptr<TestEnv> &env = m_envs[engine];
        if (!env) {
            env = std::make_unique<TestEnv>(engine);
            if (env->ok()) {
                addOperator(env->db(), "007", "王五", " abc ");
                addOperator(env->db(), "008", "停用者", "pw", true);
            }
        }
        return *env;
    }

private slots:
    void cleanupTestCase() { m_envs.clear(); }

    void login_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<QString>("outcome"); // accepted, rejected or open
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("sessionCode");
        const QString retry = "0:用户名或密码不正确，请重新输入！";
        const QString wrong = "wrong";
        for (const QString &e : engines()) {
            const auto row = [&](const char *name) { return &(QTest::newRow(qPrintable(e + ": " + name)) << e); };
            *row("empty code") << 0 << "  " << QStringList{""} << "open" << QStringList{"0:请选择用户！"} << QStringList{} << "";
            *row("unknown code") << 0 << "999" << QStringList{""} << "open"
                                 << QStringList{"0:此操作员并不存在，请重新选择操作员！"} << QStringList{} << "";
            *row("super user, empty password") << 0 << "000" << QStringList{""} << "accepted" << QStringList{}
                                               << QStringList{} << "000";
            *row("stored with blanks, typed without") << 0 << "007" << QStringList{"abc"} << "accepted" << QStringList{}
                                                      << QStringList{} << "007";
            *row("typed with blanks") << 0 << "007" << QStringList{"  abc "} << "accepted" << QStringList{}
                                      << QStringList{} << "007";
            *row("code typed with blanks") << 0 << " 007 " << QStringList{"abc"} << "accepted" << QStringList{}
                                           << QStringList{} << "007";
            *row("case-sensitive") << 0 << "007" << QStringList{"ABC"} << "open" << QStringList{retry} << QStringList{} << "";
            *row("three wrong then right") << 0 << "007" << QStringList{wrong, wrong, wrong, "abc"} << "accepted"
                                           << QStringList{retry, retry, retry} << QStringList{} << "007";
            *row("four wrong at start-up") << 0 << "007" << QStringList{wrong, wrong, wrong, wrong} << "rejected"
                                           << QStringList{retry, retry, retry, "3:非法操作员!"} << QStringList{"|登录失败！"} << "";
            *row("four wrong changing operator") << 1 << "007" << QStringList{wrong, wrong, wrong, wrong} << "rejected"
                                                 << QStringList{retry, retry, retry, "3:更换操作员失败!"}
                                                 << QStringList{"系统管理员|更换操作员失败！"} << "000";
            *row("cancel at start-up") << 0 << "007" << QStringList{kCancel} << "rejected" << QStringList{} << QStringList{} << "";
            *row("cancel changing operator") << 1 << "007" << QStringList{wrong, kCancel} << "rejected" << QStringList{retry}
                                             << QStringList{} << "000";
            *row("changing operator") << 1 << "007" << QStringList{"abc"} << "accepted" << QStringList{} << QStringList{} << "007";
            *row("disabled operator") << 0 << "008" << QStringList{"pw"} << "accepted" << QStringList{} << QStringList{} << "008";
        }
    }
    void login()
    {
        QFETCH(QString, engine);
        QFETCH(int, mode);
        QFETCH(QString, code);
        QFETCH(QStringList, attempts);
        QFETCH(QString, outcome);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, log);
        QFETCH(QString, sessionCode);
        TestEnv &env = shared(engine);
        KORVAN_REQUIRE(env);
        env.db().exec("DELETE FROM LogRec");
        env.settings().ini().setValue("Config", "CurOperCode", "");
        env.dm().session() = mode == 1 ? LoadSession(env.dm(), "000") : Session();

        ScriptedResponder responder;
        LoginWindow w(env.dm(), LoginMode(mode));
        w.show();
        child<QLineEdit>(&w, "edtCode")->setText(code);
        for (const QString &attempt : attempts) {
            QVERIFY(w.isVisible());
            if (attempt == kCancel) {
                child<QPushButton>(&w, "btnCancel")->click();
                continue;
            }
            child<QLineEdit>(&w, "edtPassword")->setText(attempt);
            child<QPushButton>(&w, "btnOK")->click();
        }
        const QString state = w.isVisible() ? "open" : w.result() == QDialog::Accepted ? "accepted" : "rejected";
        QCOMPARE(state, outcome);
        QCOMPARE(messages(responder), shown);
        QCOMPARE(logEntries(env.db()), log);
        QCOMPARE(env.dm().session().operatorCode, sessionCode);
        if (outcome == "accepted") {
            QCOMPARE(env.settings().lastOperatorCode(), sessionCode);
            QCOMPARE(env.dm().session().operatorName, child<QLineEdit>(&w, "edtName")->text());
        }
    }

    // The last operator's code and name are there at once; leaving the code box looks the name up.
    void codeAndName()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        addOperator(env.db(), "007", "王五", "");
        env.settings().ini().setValue("Config", "CurOperCode", "007");
        LoginWindow w(env.dm(), LoginMode::Startup);
        QCOMPARE(w.objectName(), QString("TfrmOperLogin"));
        QCOMPARE(w.windowTitle(), QString("登录窗口"));
        auto *codeBox = child<QLineEdit>(&w, "edtCode");
        auto *name = child<QLineEdit>(&w, "edtName");
        QCOMPARE(codeBox->text(), QString("007"));
        QCOMPARE(name->text(), QString("王五"));
        QVERIFY(name->isReadOnly());
        QCOMPARE(child<QLineEdit>(&w, "edtPassword")->echoMode(), QLineEdit::Password);
        codeBox->setText("000");
        emit codeBox->editingFinished();
        QCOMPARE(name->text(), QString("系统管理员"));
        codeBox->setText("nobody");
        emit codeBox->editingFinished();
        QCOMPARE(name->text(), QString());
        verifyLabelled(w);
        QCOMPARE(child<QPushButton>(&w, "btnOK")->text(), QString("确定"));
        QCOMPARE(child<QPushButton>(&w, "btnCancel")->text(), QString("取消"));
    }

    // Only the buttons leave the window: not Esc, not a close request (Alt+F4).
    void onlyButtonsLeave()
    {
        TestEnv env("sqlite");
        KORVAN_REQUIRE(env);
        LoginWindow w(env.dm(), LoginMode::Startup);
        w.show();
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
    }

    void passwordWindow_data() { addEngineRows(); }
    void passwordWindow()
    {
        QFETCH(QString, engine);
        TestEnv env(engine);
        KORVAN_REQUIRE(env);
        env.dm().session() = LoadSession(env.dm(), "000");
        ScriptedResponder responder;
        PasswordWindow w(env.dm());
        w.show();
        QCOMPARE(w.objectName(), QString("TfrmModPass"));
        QCOMPARE(w.windowTitle(), QString("更改密码"));
        QCOMPARE(child<QLabel>(&w, "lblOperator")->text(), QString("当前操作员：系统管理员"));
        verifyLabelled(w);
        auto *oldBox = child<QLineEdit>(&w, "edtOldPass");
        auto *newBox = child<QLineEdit>(&w, "edtNewPass");
        auto *repeatBox = child<QLineEdit>(&w, "edtNewPass2");
        auto *ok = child<QPushButton>(&w, "btnOK");
        QCOMPARE(ok->text(), QString("确定(&O)"));
        QCOMPARE(child<QPushButton>(&w, "btnCancel")->text(), QString("取消(&C)"));

        newBox->setText("n1");
        repeatBox->setText("n2");
        ok->click();
        QCOMPARE(responder.last(), QString("新口令错误，不能更改！"));
        QVERIFY(w.isVisible());
        QVERIFY(newBox->text().isEmpty() && repeatBox->text().isEmpty());

        oldBox->setText("x");
        newBox->setText("n1");
        repeatBox->setText("n1");
        ok->click();
        QCOMPARE(responder.last(), QString("旧口令输入错误，不能更改！"));
        QVERIFY(w.isVisible());

        oldBox->clear();
        ok->click();
        QCOMPARE(responder.last(), QString("更改口令成功！"));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(VerifyPass(env.db().scalar("SELECT F_PassWord FROM OperList WHERE F_Code = '000'").toString(), "n1"));
    }
};

QTEST_MAIN(TestUiLogin)
#include "test_ui_main_login.moc"
