// The connection part of start-up: splash, default database, recovery dialog.
#include "AppSettings.h"
#include "SplashWindow.h"
#include "Startup.h"
#include "TestKit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

using namespace korvan;

class TestUiStartup : public QObject {
    Q_OBJECT
private slots:
    void splashWindow()
    {
        SplashWindow splash;
        QCOMPARE(splash.size(), QSize(470, 294));
        QCOMPARE(splash.status(), QString("系统正在启动，请稍候 ....."));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    }

    void missingDefaultDatabaseIsCreated()
    {
        QTemporaryDir dir;
        AppSettings settings(dir.path());
        Startup startup(settings);
        int asked = 0;
        startup.chooseDatabaseFile = [&](const QString &) { ++asked; return QString(); };
        auto *splash = new SplashWindow;
        auto dm = startup.connect(splash);
        QVERIFY(dm);
        QCOMPARE(asked, 0);
        QCOMPARE(splash->status(), QString("连接成功，正在登录 ..."));
        delete splash;
        QVERIFY(QFileInfo::exists(QDir(dir.path()).filePath("data/depot.db")));
        QCOMPARE(dm->LookupInt("SELECT count(*) FROM OperList WHERE F_Code = '000'"), 1);
    }

    // A configured folder without a database asks for one; the chosen file's
    // folder is stored in ds (with its separator) and used.
    void recoveryDialogStoresChosenFolder()
    {
        QTemporaryDir dir;
        const QString shared = QDir(dir.path()).filePath("share");
        {
            DatabaseTarget t;
            t.sqliteFile = shared + "/depot.db";
            QString err;
            ConnectOptions opts;
            opts.createIfMissing = true;
            QVERIFY(Database::connect(t, &err, opts));
        }
        AppSettings settings(dir.path());
        settings.ini().setValue("config", "ds", QDir(dir.path()).filePath("nowhere"));
        Startup startup(settings);
        QStringList offered;
        startup.chooseDatabaseFile = [&](const QString &start) {
            offered << start;
            return shared + "/other.db"; // the file's own name does not matter
        };
        SplashWindow *splash = new SplashWindow;
        auto dm = startup.connect(splash);
        QVERIFY(dm);
        QCOMPARE(offered, QStringList{dir.path()});
        QCOMPARE(AppSettings(dir.path()).ini().value("config", "ds"), shared + "/");
        QCOMPARE(dm->db().target().sqliteFile, shared + "/depot.db");
        delete splash;
    }

    void cancelEndsStartup()
    {
        QTemporaryDir dir;
        AppSettings settings(dir.path());
        settings.ini().setValue("config", "ds", QDir(dir.path()).filePath("nowhere/"));
        Startup startup(settings);
        startup.chooseDatabaseFile = [](const QString &) { return QString(); };
        SplashWindow *splash = new SplashWindow;
        QVERIFY(!startup.connect(splash));
        QVERIFY(!splash); // the splash went with the failed attempt
    }

    // A file that is not a database of ours is refused, and asked for again.
    void foreignFileIsRefused()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("data");
        QFile junk(QDir(dir.path()).filePath("data/depot.db"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a database at all, just text");
        junk.close();
        AppSettings settings(dir.path());
        Startup startup(settings);
        int asked = 0;
        startup.chooseDatabaseFile = [&](const QString &) { ++asked; return QString(); };
        SplashWindow *splash = nullptr;
        QVERIFY(!startup.connect(splash));
        QCOMPARE(asked, 1);
    }
};

QTEST_MAIN(TestUiStartup)
#include "test_ui_startup.moc"
