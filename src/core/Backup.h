#pragma once
#include <QString>

namespace korvan {
class Database;

// Consistent copies of a live database. SQLite: VACUUM INTO a temporary file
// that is verified and then renamed into place; PostgreSQL: pg_dump when the
// tool is installed. The target is never overwritten.
bool BackupDatabase(Database &db, const QString &target, QString *error);
// Whether `path` is a sound SQLite database of this application.
bool VerifySqliteDatabase(const QString &path, QString *error);
// CompactDatabase: VACUUM (SQLite) or VACUUM ANALYZE (PostgreSQL).
bool CompactDatabase(Database &db, QString *error);

} // namespace korvan
