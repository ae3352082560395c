#include "AppSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

namespace korvan {

namespace {
QString g_appDirOverride;

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

NumberFormats BuildNumberFormats(const SystemSwitches &sw)
{
    NumberFormats f;
    f.qty = NumberFormat::quantityPattern(sw.qtyDecimals);
    f.price = NumberFormat::pricePattern(sw.priceDecimals);
    f.amount = NumberFormat::pricePattern(sw.amountDecimals);
    return f;
}

QString DatabaseTarget::describe() const
{
    if (engine == Engine::SQLite) return sqliteFile;
    QUrl u(pgUrl);
    u.setPassword({});
    return u.toString();
}

QString AppSettings::applicationDir()
{
    if (!g_appDirOverride.isEmpty()) return g_appDirOverride;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void AppSettings::setApplicationDir(const QString &dir) { g_appDirOverride = dir; }

AppSettings::AppSettings(const QString &appDir)
    : m_appDir(appDir), m_ini(QDir(appDir).filePath(QStringLiteral("config.ini")))
{
}

QString AppSettings::defaultDatabaseFolder() const
{
    return withSeparator(QDir(m_appDir).filePath(QStringLiteral("data")));
}

QString AppSettings::databaseFolder() const
{
    const QString ds = m_ini.value(section(), QStringLiteral("ds"));
    if (ds.trimmed().isEmpty()) return defaultDatabaseFolder();
    // A folder typed without its trailing separator still means that folder.
    return withSeparator(ds);
}

void AppSettings::setDatabaseFolder(const QString &folder)
{
    m_ini.setValue(section(), QStringLiteral("ds"), withSeparator(folder));
}

QString AppSettings::pgUrl() const { return m_ini.value(section(), QStringLiteral("pgurl")).trimmed(); }

void AppSettings::setPgUrl(const QString &url) { m_ini.setValue(section(), QStringLiteral("pgurl"), url.trimmed()); }

DatabaseTarget AppSettings::databaseTarget() const
{
    DatabaseTarget t;
    if (!pgUrl().isEmpty()) {
        t.engine = DatabaseTarget::Engine::PostgreSQL;
        t.pgUrl = pgUrl();
        return t;
    }
    t.sqliteFile = databaseFolder() + QStringLiteral("depot.db");
    t.isDefaultSqlite = QDir::cleanPath(databaseFolder()) == QDir::cleanPath(defaultDatabaseFolder());
    return t;
}

} // namespace korvan
