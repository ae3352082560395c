#include "AppSettings.h"
#include "Artwork.h"
#include "EnterNavigator.h"
#include "LoginWindow.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "SplashWindow.h"
#include "Startup.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QThread>
#include <QTranslator>

using namespace korvan;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QTranslator qtZh;
    if (qtZh.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtZh);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    installMessageBox();

    auto *splash = new SplashWindow;
    splash->show();
    app.processEvents();
    QApplication::setWindowIcon(applicationIcon());
    EnterNavigator::install();

    AppSettings settings;
    Startup startup(settings);
    auto dm = startup.connect(splash);
    if (!dm) return 0;
    DataModule::setInstance(dm.get());

    registerAllWindows();
    MainWindow main(*dm);
    if (splash) {
        splash->setStatus(QStringLiteral("连接成功，正在登录 ..."));
        QThread::msleep(20);
        splash->setStatus(QStringLiteral("连接成功，正在登录 ....."));
        delete splash;
    }
    if (!LoginWindow::run(*dm, LoginMode::Startup)) return 0;
    main.applySession();
    main.show();
    return app.exec();
}
