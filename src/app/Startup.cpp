#include "Startup.h"
#include "Schema.h"
#include "SplashWindow.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace korvan {

Startup::Startup(AppSettings &settings) : m_settings(settings)
{
    chooseDatabaseFile = [](const QString &startFolder) {
        return QFileDialog::getOpenFileName(nullptr, QStringLiteral("连接网络数据库"), startFolder,
                                            QStringLiteral("数据库文件 (depot.db *.db);;所有文件 (*)"));
    };
}

std::unique_ptr<Database> Startup::tryConnect(QString *error)
{
    const DatabaseTarget target = m_settings.databaseTarget();
    ConnectOptions opts;
    // Only the default database is made anew; a configured folder must hold one.
    opts.createIfMissing = target.isDefaultSqlite;
    auto db = Database::connect(target, error, opts);
    if (!db) return nullptr;
    try {
        if (!Schema::looksLikeOurs(*db, error)) return nullptr;
        Schema::migrate(*db);
    } catch (const DbError &e) {
        *error = e.message();
        return nullptr;
    }
    return db;
}

std::unique_ptr<DataModule> Startup::connect(SplashWindow *&splash)
{
    for (;;) {
        if (splash) splash->setStatus(QStringLiteral("正在连接数据库 ....."));
        QString error;
        if (auto db = tryConnect(&error)) {
            if (splash) splash->setStatus(QStringLiteral("连接成功，正在登录 ..."));
            return std::make_unique<DataModule>(m_settings, std::move(db));
        }
        qWarning("database connection failed: %s", qPrintable(error));
        delete splash;
        splash = nullptr;
        const QString file = chooseDatabaseFile(m_settings.appDir());
        if (file.isEmpty()) return nullptr;
        m_settings.setPgUrl(QString());
        m_settings.setDatabaseFolder(QFileInfo(file).absolutePath());
        splash = new SplashWindow;
        splash->show();
        QCoreApplication::processEvents();
    }
}

} // namespace korvan
