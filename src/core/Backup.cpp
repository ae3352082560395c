#include "Backup.h"
#include "Database.h"
#include "Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace korvan {

bool VerifySqliteDatabase(const QString &path, QString *error)
{
    if (!QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("文件不存在：%1").arg(path);
        return false;
    }
    DatabaseTarget t;
    t.sqliteFile = path;
    QString err;
    ConnectOptions opts;
    opts.readOnly = true;
    auto db = Database::connect(t, &err, opts);
    if (!db) {
        if (error) *error = QStringLiteral("不是有效的数据库文件：%1").arg(err);
        return false;
    }
    try {
        const QString check = db->scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (check != QLatin1String("ok")) {
            if (error) *error = QStringLiteral("数据库文件已损坏：%1").arg(check);
            return false;
        }
        return Schema::looksLikeOurs(*db, error);
    } catch (const DbError &e) {
        if (error) *error = QStringLiteral("不是有效的数据库文件：%1").arg(e.message());
        return false;
    }
}

namespace {

bool pgDump(Database &db, const QString &target, QString *error)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    if (tool.isEmpty()) {
        if (error) *error = QStringLiteral("本机未安装 pg_dump；PostgreSQL 数据库请使用服务器自身的备份。");
        return false;
    }
    const QString partial = target + QStringLiteral(".part");
    QProcess p;
    p.start(tool, {QStringLiteral("--format=custom"), QStringLiteral("--file=") + partial,
                   QStringLiteral("--dbname=") + db.target().pgUrl});
    if (!p.waitForFinished(15 * 60 * 1000) || p.exitCode() != 0) {
        QFile::remove(partial);
        if (error) *error = QStringLiteral("pg_dump 失败：%1").arg(QString::fromLocal8Bit(p.readAllStandardError()));
        return false;
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (error) *error = QStringLiteral("无法写入备份文件：%1").arg(target);
        return false;
    }
    return true;
}

} // namespace

bool BackupDatabase(Database &db, const QString &target, QString *error)
{
    if (QFileInfo::exists(target)) {
        if (error) *error = QStringLiteral("备份文件已存在：%1").arg(target);
        return false;
    }
    if (db.isPostgres()) return pgDump(db, target, error);

    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    try {
        db.exec(QStringLiteral("VACUUM INTO ?"), {partial});
    } catch (const DbError &e) {
        QFile::remove(partial);
        if (error) *error = e.message();
        return false;
    }
    if (!VerifySqliteDatabase(partial, error) || !QFile::rename(partial, target)) {
        if (error && error->isEmpty()) *error = QStringLiteral("无法写入备份文件：%1").arg(target);
        QFile::remove(partial);
        return false;
    }
    return true;
}

bool CompactDatabase(Database &db, QString *error)
{
    try {
        db.exec(db.isPostgres() ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("VACUUM"));
        return true;
    } catch (const DbError &e) {
        if (error) *error = e.message();
        return false;
    }
}

} // namespace korvan
