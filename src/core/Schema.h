#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace korvan {

class Database;

enum class ColumnType { Id, Text, Memo, Int, Number, Money, Bool, Date, Blob };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0; // text length the forms enforce; 0 = free
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;
    QStringList indexes;       // "F_Code" or "F_Code,F_Flag"
    QStringList uniqueIndexes;
    bool work = false;         // per-connection scratch table

    const ColumnDef *column(const QString &name) const;
};

// The one declaration of every table, from which both engines' DDL is made.
namespace Schema {

constexpr int kCurrentVersion = 1;

const QList<TableDef> &tables();
const TableDef *table(const QString &name);

QStringList createStatements(const TableDef &t, bool postgres);
// Creates every table, index and the delivered rows in an empty database.
void createDatabase(Database &db);
// Creates the scratch tables private to this connection.
void createWorkTables(Database &db);
// Applies the numbered migrations above the stored version.
void migrate(Database &db);
int storedVersion(Database &db);
// Whether the database holds the tables of this application.
bool looksLikeOurs(Database &db, QString *why);

} // namespace Schema
} // namespace korvan
