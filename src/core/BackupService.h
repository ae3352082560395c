#pragma once
#include <QDate>
#include <QString>
#include <functional>

namespace korvan {
class DataModule;
class Database;

// Asked before any restore.
inline const QString kRestorePassword = QStringLiteral("529384");

// The backup file of a day: folder + "dp" + yyyymmdd + ".back".
QString BackupFilePath(const QString &folder, const QDate &day);

// The folder check before saving the backup settings, backing up and the
// automatic backup: a missing folder is created, with its parents, after a
// question. `settingsText` gives the failure text of the settings button.
bool CheckBackupFolder(const QString &folder, bool settingsText = false);

// How backups work on the connection's engine, for the backup window; empty
// for SQLite.
QString BackupEngineNote(Database &db);

// Replacing the database by a backup in two steps, so that a question can
// come between them: prepare() checks the chosen file and does nothing else
// to the database; commit() replaces the database's content. On SQLite the
// current file stays as a safety copy until the restored one has opened and
// passed its check; on PostgreSQL pg_restore runs in one transaction.
class DatabaseRestore {
public:
    enum class Failure { None, InvalidFile, InUse, CopyFailed, OpenFailed, Unrecoverable };
    explicit DatabaseRestore(Database &db) : m_db(db) {}
    ~DatabaseRestore();
    DatabaseRestore(const DatabaseRestore &) = delete;
    DatabaseRestore &operator=(const DatabaseRestore &) = delete;

    bool prepare(const QString &backupFile);
    bool commit();
    Failure failure() const { return m_failure; }
    QString error() const { return m_error; }

private:
    bool fail(Failure f, const QString &error);
    bool commitSqlite();
    bool commitPostgres();
    void discardStaged();

    Database &m_db;
    QString m_file;
    QString m_staged;
    Failure m_failure = Failure::None;
    QString m_error;
};

// The work of the backup window, with its questions and messages.
class BackupService {
public:
    explicit BackupService(DataModule &dm) : m_dm(dm) {}

    // SysInfo.F_BakPath.
    QString backupFolder();
    // "确定": folder check, the automatic backup mode into config.ini and the
    // folder into SysInfo. True when saved (the window then closes).
    bool saveSettings(const QString &folder, int autoMode);
    // "备份": a verified, consistent copy of the live database as the day's
    // file, replacing an existing one after a question; compaction offered.
    bool backup(const QString &folder, const QDate &day = QDate::currentDate());

    // Whether `typed` is the restore password; a wrong one is refused with
    // its message.
    static bool checkRestorePassword(const QString &typed);

    enum class RestoreResult { Cancelled, Failed, Restored, RestoredRestart };
    // "恢复" after the password and the file choice: checks the file, asks,
    // replaces the database and asks whether to restart. `busy` is called
    // with true before the database is replaced and with false after.
    RestoreResult restore(const QString &file, const std::function<void(bool)> &busy = {});

private:
    QString resolved(const QString &folder) const;
    DataModule &m_dm;
};

} // namespace korvan
