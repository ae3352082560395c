#include "TestKit.h"
#include "SeedData.h"
#include "Schema.h"

#include <QDir>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

namespace korvan::test {

QStringList engines()
{
    QStringList e{QStringLiteral("sqlite")};
    if (!qEnvironmentVariableIsEmpty("KORVAN_TEST_PG")) e << QStringLiteral("pg");
    return e;
}

void addEngineRows()
{
    QTest::addColumn<QString>("engine");
    for (const QString &e : engines()) QTest::newRow(qPrintable(e)) << e;
}

TestDb::TestDb(const QString &engine)
{
    SeedData::setBackupFolder(QDir(m_dir.path()).filePath(QStringLiteral("backup")));
    ConnectOptions opts;
    opts.createIfMissing = true;
    if (engine == QLatin1String("sqlite")) {
        m_target.engine = DatabaseTarget::Engine::SQLite;
        m_target.sqliteFile = QDir(m_dir.path()).filePath(QStringLiteral("data/depot.db"));
        m_target.isDefaultSqlite = true;
        m_db = Database::connect(m_target, &m_error, opts);
        return;
    }
    m_pgAdminUrl = qEnvironmentVariable("KORVAN_TEST_PG");
    DatabaseTarget admin;
    admin.engine = DatabaseTarget::Engine::PostgreSQL;
    admin.pgUrl = m_pgAdminUrl;
    auto adminDb = Database::connect(admin, &m_error);
    if (!adminDb) return;
    m_pgName = QStringLiteral("korvan_t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    try {
        adminDb->exec(QStringLiteral("CREATE DATABASE ") + m_pgName);
    } catch (const DbError &e) {
        m_error = e.message();
        return;
    }
    QUrl url(m_pgAdminUrl);
    url.setPath(QLatin1Char('/') + m_pgName);
    m_target.engine = DatabaseTarget::Engine::PostgreSQL;
    m_target.pgUrl = url.toString();
    m_db = Database::connect(m_target, &m_error);
    if (m_db) {
        try {
            Schema::createDatabase(*m_db);
        } catch (const DbError &e) {
            m_error = e.message();
            m_db.reset();
        }
    }
}

std::unique_ptr<Database> TestDb::connectAgain()
{
    QString err;
    auto db = Database::connect(m_target, &err);
    if (!db) qWarning("second connection failed: %s", qPrintable(err));
    return db;
}

TestDb::~TestDb()
{
    m_db.reset();
    if (m_pgName.isEmpty()) return;
    DatabaseTarget admin;
    admin.engine = DatabaseTarget::Engine::PostgreSQL;
    admin.pgUrl = m_pgAdminUrl;
    QString err;
    if (auto adminDb = Database::connect(admin, &err)) {
        try {
            adminDb->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgName));
        } catch (const DbError &) {
        }
    }
}

TestEnv::TestEnv(const QString &engine) : m_testDb(engine)
{
    AppSettings::setApplicationDir(m_testDb.dir());
    m_settings = std::make_unique<AppSettings>(m_testDb.dir());
    if (!m_testDb.ok()) {
        m_error = m_testDb.error();
        return;
    }
    if (m_testDb.target().engine == DatabaseTarget::Engine::PostgreSQL)
        m_settings->setPgUrl(m_testDb.target().pgUrl);
    m_dm = std::make_unique<DataModule>(*m_settings, m_testDb.take());
    DataModule::setInstance(m_dm.get());
    m_dm->LoadSwitches();
}

void TestEnv::loginAsSuperUser()
{
    Session &s = m_dm->session();
    s.operatorCode = QStringLiteral("000");
    s.operatorName = QStringLiteral("系统管理员");
    s.roleCode = QStringLiteral("001");
    s.canAdd = s.canEdit = s.canDelete = s.canAudit = s.canSetup = true;
    s.canEditEmployees = s.canEditGoods = s.canEditPartners = s.canSeePrices = true;
}

QStringList codes(Database &db, const ListQuery &q)
{
    QStringList out;
    QSqlQuery r = db.query(q.sql, q.params);
    while (r.next()) out << r.value(QStringLiteral("F_Code")).toString();
    return out;
}

} // namespace korvan::test
