#include "BackupService.h"
#include "Backup.h"
#include "DataModule.h"
#include "Messages.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <atomic>
#include <filesystem>

namespace korvan {

namespace {
const QString kRestoreFailed = QStringLiteral("恢复失败！");

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Moves `from` over `to` in one step, replacing it.
bool replaceFile(const QString &from, const QString &to, QString *error)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec && error) *error = QString::fromStdString(ec.message());
    return !ec;
}

void removeSidecars(const QString &file)
{
    QFile::remove(file + QStringLiteral("-wal"));
    QFile::remove(file + QStringLiteral("-shm"));
    QFile::remove(file + QStringLiteral("-journal"));
}

void removeWithSidecars(const QString &file)
{
    QFile::remove(file);
    removeSidecars(file);
}

// Whether nothing but us has the SQLite file open. Every connection of the
// application keeps it in WAL mode, which holds a lock while the connection
// is open: leaving WAL mode succeeds only for the one remaining user.
// Afterwards the file stands alone, without -wal or -shm.
bool soleUser(const QString &file, QString *error)
{
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("korvan-restore-probe-%1").arg(++serial);
    bool alone = false;
    {
        QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        probe.setDatabaseName(file);
        probe.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
        if (probe.open()) {
            QSqlQuery q(probe);
            alone = q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) && q.next()
                    && q.value(0).toString().compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0;
            if (!alone && error) *error = QStringLiteral("database in use by another connection");
            q.finish();
            probe.close();
        } else if (error) {
            *error = probe.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return alone;
}

QString pgTool(const char *name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

// Runs a PostgreSQL client tool; false with its error output when it fails.
bool runTool(const QString &tool, const QStringList &args, QString *output, QString *error)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A restore waits for other workstations' locks only so long.
    env.insert(QStringLiteral("PGOPTIONS"), QStringLiteral("-c lock_timeout=15000"));
    p.setProcessEnvironment(env);
    p.start(tool, args);
    if (!p.waitForStarted()) {
        if (error) *error = p.errorString();
        return false;
    }
    p.waitForFinished(-1);
    if (output) *output = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error) *error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}
} // namespace

QString BackupFilePath(const QString &folder, const QDate &day)
{
    const QDir dir(QDir::fromNativeSeparators(folder));
    return QDir::toNativeSeparators(
        dir.filePath(QStringLiteral("dp") + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".back")));
}

bool CheckBackupFolder(const QString &folder, bool settingsText)
{
    const QDir dir(QDir::fromNativeSeparators(folder));
    if (dir.exists()) return true;
    if (ShowMess(QStringLiteral("当前目录") + folder + QStringLiteral(" 不存在，是否创建！"), MsgQuestion) == AnswerNo)
        return false;
    if (QDir().mkpath(dir.absolutePath())) return true;
    ShowMess(QStringLiteral("目录") + folder + (settingsText ? QString() : QStringLiteral(" "))
                 + QStringLiteral("创建失败,请检测路径是否合法!"),
             MsgError);
    return false;
}

QString BackupEngineNote(Database &db)
{
    if (!db.isPostgres()) return {};
    if (pgTool("pg_dump").isEmpty() || pgTool("pg_restore").isEmpty())
        return QStringLiteral("PostgreSQL 数据库：本机未安装 pg_dump/pg_restore，请使用数据库服务器自身的备份与恢复。");
    return QStringLiteral("PostgreSQL 数据库：备份由本机的 pg_dump 写入上面的目录，恢复使用 pg_restore。");
}

DatabaseRestore::~DatabaseRestore() { discardStaged(); }

void DatabaseRestore::discardStaged()
{
    if (m_staged.isEmpty()) return;
    removeWithSidecars(m_staged);
    m_staged.clear();
}

bool DatabaseRestore::fail(Failure f, const QString &error)
{
    m_failure = f;
    m_error = error;
    discardStaged();
    return false;
}

bool DatabaseRestore::prepare(const QString &backupFile)
{
    m_failure = Failure::None;
    m_error.clear();
    discardStaged();
    if (!QFileInfo(backupFile).isFile())
        return fail(Failure::InvalidFile, QStringLiteral("文件不存在：%1").arg(backupFile));
    m_file = backupFile;
    if (m_db.isPostgres()) {
        const QString tool = pgTool("pg_restore");
        if (tool.isEmpty())
            return fail(Failure::InvalidFile,
                        QStringLiteral("本机未安装 pg_restore；PostgreSQL 数据库请使用服务器自身的恢复。"));
        QString contents, error;
        if (!runTool(tool, {QStringLiteral("--list"), backupFile}, &contents, &error))
            return fail(Failure::InvalidFile, error);
        for (const char *table : {"operlist", "schema_version"}) {
            const QRegularExpression entry(QStringLiteral("\\bTABLE\\s+\\S+\\s+%1\\b").arg(QLatin1String(table)),
                                           QRegularExpression::CaseInsensitiveOption);
            if (!contents.contains(entry))
                return fail(Failure::InvalidFile, QStringLiteral("备份中缺少表 %1").arg(QLatin1String(table)));
        }
        return true;
    }
    // The copy is made and checked beside the database while it is still
    // open, so nothing is touched when it turns out unusable.
    const QString staged = m_db.target().sqliteFile + QStringLiteral(".restore");
    removeWithSidecars(staged);
    if (!QFile::copy(backupFile, staged)) {
        removeWithSidecars(staged);
        return fail(Failure::CopyFailed, QStringLiteral("无法复制备份文件：%1").arg(backupFile));
    }
    m_staged = staged;
    QFile(staged).setPermissions(QFile(staged).permissions() | QFileDevice::WriteOwner);
    QString error;
    if (!VerifySqliteDatabase(staged, &error)) return fail(Failure::InvalidFile, error);
    removeSidecars(staged);
    return true;
}

bool DatabaseRestore::commit()
{
    if (m_file.isEmpty() || m_failure != Failure::None) return false;
    return m_db.isPostgres() ? commitPostgres() : commitSqlite();
}

bool DatabaseRestore::commitPostgres()
{
    QString error;
    if (runTool(pgTool("pg_restore"),
                {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                 QStringLiteral("--no-privileges"), QStringLiteral("--single-transaction"),
                 QStringLiteral("--exit-on-error"), QStringLiteral("--dbname=") + m_db.target().pgUrl, m_file},
                nullptr, &error))
        return true;
    // One transaction: a failed restore leaves the database as it was.
    return fail(error.contains(QLatin1String("lock timeout")) ? Failure::InUse : Failure::CopyFailed, error);
}

bool DatabaseRestore::commitSqlite()
{
    const QString file = m_db.target().sqliteFile;
    const QString safety = file + QStringLiteral(".before-restore");
    QString error;
    const auto reopenAfter = [&](Failure f, const QString &why) {
        QString err;
        if (!m_db.reopen(&err)) return fail(Failure::Unrecoverable, why + QLatin1Char('\n') + err);
        return fail(f, why);
    };

    m_db.close();
    if (!soleUser(file, &error)) return reopenAfter(Failure::InUse, error);
    removeWithSidecars(safety);
    removeSidecars(file);
    if (!replaceFile(file, safety, &error)) return reopenAfter(Failure::CopyFailed, error);
    if (!replaceFile(m_staged, file, &error)) {
        QString back;
        if (!replaceFile(safety, file, &back)) return fail(Failure::Unrecoverable, error + QLatin1Char('\n') + back);
        return reopenAfter(Failure::CopyFailed, error);
    }
    m_staged.clear();

    bool opened = m_db.reopen(&error);
    if (opened) {
        try {
            const QString check = m_db.scalar(QStringLiteral("PRAGMA quick_check")).toString();
            opened = check == QLatin1String("ok") && Schema::looksLikeOurs(m_db, &error);
            if (check != QLatin1String("ok")) error = check;
        } catch (const DbError &e) {
            opened = false;
            error = e.message();
        }
    }
    if (opened) {
        removeWithSidecars(safety);
        return true;
    }
    // The restored file does not open: the safety copy goes back in place.
    m_db.close();
    removeWithSidecars(file);
    QString back;
    if (!replaceFile(safety, file, &back)) return fail(Failure::Unrecoverable, error + QLatin1Char('\n') + back);
    return reopenAfter(Failure::OpenFailed, error);
}

QString BackupService::backupFolder()
{
    return m_dm.LookupString(QStringLiteral("SELECT F_BakPath FROM SysInfo"));
}

bool BackupService::saveSettings(const QString &folder, int autoMode)
{
    const QString f = folder.trimmed();
    if (!f.isEmpty() && !CheckBackupFolder(f, true)) return false;
    m_dm.settings().ini().setInt(AppSettings::section(), QStringLiteral("ibak"), autoMode);
    if (!m_dm.ExecSql(QStringLiteral("UPDATE SysInfo SET F_BakPath = ?"), {f})) return false;
    ShowMess(QStringLiteral("当前软件设置更改成功！"), MsgInfo);
    return true;
}

bool BackupService::backup(const QString &folder, const QDate &day)
{
    const QString f = folder.trimmed();
    if (f.isEmpty()) {
        ShowMess(QStringLiteral("备份路径不能为空！"), MsgInfo);
        return false;
    }
    if (!CheckBackupFolder(f)) return false;
    const QString target = BackupFilePath(f, day);
    if (QFileInfo::exists(target)
        && ShowMess(QStringLiteral("备份文件 \"") + target + QStringLiteral("\" 已经存在，\n真的要复盖当前备份吗？"),
                    MsgQuestion)
               == AnswerNo)
        return false;
    Database &db = m_dm.db();
    // The new copy is complete and verified before it replaces the old one.
    const QString fresh = target + QStringLiteral(".new");
    QFile::remove(fresh);
    QString error;
    if (!BackupDatabase(db, fresh, &error) || !replaceFile(fresh, target, &error)) {
        QFile::remove(fresh);
        qWarning("backup: %s", qPrintable(error));
        QString text = QStringLiteral("数据备份失败！");
        if (db.isPostgres() && !error.isEmpty()) text += QLatin1Char('\n') + error;
        ShowMess(text, MsgError);
        return false;
    }
    if (ShowMess(QStringLiteral("是否需要压缩当前数据库！"), MsgQuestion) == AnswerYes && !CompactDatabase(db, &error))
        ShowMess(QStringLiteral("压缩数据库失败！"), MsgError);
    ShowMess(QStringLiteral("数据备份成功！"), MsgInfo);
    return true;
}

bool BackupService::checkRestorePassword(const QString &typed)
{
    if (typed == kRestorePassword) return true;
    ShowMess(QStringLiteral("对不起,恢复密码错误，你没有恢复数据的权限！"), MsgError);
    return false;
}

BackupService::RestoreResult BackupService::restore(const QString &file, const std::function<void(bool)> &busy)
{
    DatabaseRestore restore(m_dm.db());
    const auto report = [&] {
        qWarning("restore: %s", qPrintable(restore.error()));
        switch (restore.failure()) {
        case DatabaseRestore::Failure::Unrecoverable:
            ShowMess(QStringLiteral("恢复失败,数据文件已破坏，请联系技术人员处理..."), MsgError);
            return RestoreResult::Failed;
        case DatabaseRestore::Failure::InUse:
            ShowMess(QStringLiteral("数据库正在被使用！请确定已关闭其它使用该数据库程序！"), MsgWarning);
            break;
        case DatabaseRestore::Failure::InvalidFile:
            ShowMess(QStringLiteral("所选文件不是本系统的有效备份，当前数据未作任何改动！\n") + restore.error(),
                     MsgWarning);
            break;
        default:
            break;
        }
        ShowMess(kRestoreFailed, MsgError);
        return RestoreResult::Failed;
    };
    if (!restore.prepare(file)) return report();
    if (ShowMess(QStringLiteral("此操作将使上次备份以来的所有数据丢失，是否继续？"), MsgQuestion) != AnswerYes)
        return RestoreResult::Cancelled;
    if (busy) busy(true);
    const bool done = restore.commit();
    if (busy) busy(false);
    if (!done) return report();
    m_dm.LoadSwitches();
    return ShowMess(QStringLiteral("数据恢复成功,重新启动当前程序吗？"), MsgQuestion) == AnswerNo
               ? RestoreResult::Restored
               : RestoreResult::RestoredRestart;
}

} // namespace korvan
