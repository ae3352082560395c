// Start-up to the login window and login to the main window, as a user meets
// them, on a fresh database in a temporary application folder (or the folder
// given with --app DIR). With --shots DIR it saves pictures of the screen.
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/bench_startup --shots /tmp/shots
#include "AboutBox.h"
#include "AppSettings.h"
#include "DatabaseChoice.h"
#include "DesktopWindow.h"
#include "PasswordWindow.h"
#include "EnterNavigator.h"
#include "LoginWindow.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "SplashWindow.h"
#include "Startup.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <cstdio>

using namespace korvan;

namespace {
bool waitExposed(QWidget *w)
{
    for (int i = 0; i < 500; ++i) {
        if (w->windowHandle() && w->windowHandle()->isExposed()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return false;
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void shoot(const QString &dir, const QString &name, QWidget *w)
{
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QCoreApplication::processEvents();
    QScreen *screen = QGuiApplication::primaryScreen();
    screen->grabWindow(0).save(QDir(dir).filePath(name + "-screen.png"));
    w->grab().save(QDir(dir).filePath(name + ".png"));
}
} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addOption({"shots", "Save screen pictures into this folder.", "dir"});
    args.addOption({"app", "Application folder (default: a new temporary one).", "dir"});
    args.process(app);
    QTemporaryDir temp;
    const QString appDir = args.isSet("app") ? args.value("app") : temp.path();
    AppSettings::setApplicationDir(appDir);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    installMessageBox();
    EnterNavigator::install();

    auto *splash = new SplashWindow;
    splash->show();
    QCoreApplication::processEvents();
    AppSettings settings(appDir);
    Startup startup(settings);
    auto dm = startup.connect(splash);
    if (!dm) return 1;
    DataModule::setInstance(dm.get());
    registerAllWindows();
    MainWindow main(*dm);
    delete splash;
    LoginWindow login(*dm, LoginMode::Startup);
    login.show();
    if (!waitExposed(&login)) return 1;
    const qint64 toLogin = clock.elapsed();
    shoot(args.value("shots"), "login", &login);

    login.findChild<QLineEdit *>("edtCode")->setText("000");
    clock.restart();
    login.findChild<QPushButton *>("btnOK")->click();
    if (login.result() != QDialog::Accepted) return 1;
    main.applySession();
    main.show();
    if (!waitExposed(&main)) return 1;
    QCoreApplication::processEvents();
    const qint64 toMain = clock.elapsed();
    std::printf("engine: %s\n", dm->db().isPostgres() ? "PostgreSQL" : "SQLite");
    std::printf("start-up to the login window (new database): %lld ms\n", toLogin);
    std::printf("login to the main window with its desktop:   %lld ms\n", toMain);
    const QString shots = args.value("shots");
    if (shots.isEmpty()) return 0;
    pause(1100); // let the clock tick once before the picture
    shoot(shots, "main", &main);
    if (auto *desktop = main.findChild<DesktopWindow *>("TFrmBtnImage")) {
        for (int i = 0; i < desktop->tabs()->count(); ++i) {
            desktop->tabs()->setCurrentIndex(i);
            shoot(shots, QString("desktop-%1").arg(i), desktop);
        }
    }
    AboutBox about(&main);
    PasswordWindow password(*dm, &main);
    DatabaseChoice choice(settings, &main);
    for (QDialog *d : QList<QDialog *>{&about, &password, &choice}) {
        d->show();
        waitExposed(d);
        shoot(shots, d->objectName(), d);
        d->hide();
    }
    return 0;
}
