#pragma once
#include <QString>

namespace korvan {
class Database;

// The rows a new database needs before anyone logs in.
namespace SeedData {
// Folder of the default backups, stored in SysInfo.F_BakPath.
void setBackupFolder(const QString &folder);
QString backupFolder();
void insertDeliveredRows(Database &db);
}

} // namespace korvan
