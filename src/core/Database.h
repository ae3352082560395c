#pragma once
#include "AppSettings.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <memory>
#include <stdexcept>

namespace korvan {

// A failed statement: carries the driver's text for logs and tools.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }
private:
    QString m_message;
};

// The facts in which the two engines differ. Everything else is portable SQL.
struct Dialect {
    bool postgres = false;
    QString idColumn;     // auto-number primary key
    QString boolType, intType, bigintType, doubleType, dateType, textType, blobType;
    QString likeNoCase;   // case-insensitive LIKE
    QString beginWrite;   // starts a transaction that writes
    QString lengthFn;     // character length of text
};

const Dialect &sqliteDialect();
const Dialect &postgresDialect();

struct ConnectOptions {
    bool createIfMissing = false;
    bool readOnly = false;
};

// One open connection to the application's database. All SQL goes through
// query()/exec()/scalar() with bound positional parameters ('?').
class Database {
public:
    // Opens the target; on failure returns null and fills *error.
    static std::unique_ptr<Database> connect(const DatabaseTarget &target, QString *error, ConnectOptions opts = ConnectOptions());
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const DatabaseTarget &target() const { return m_target; }
    const Dialect &dialect() const { return *m_dialect; }
    bool isPostgres() const { return m_dialect->postgres; }
    QSqlDatabase handle() const;
    QString connectionName() const { return m_name; }
    // True when this connection created a new, empty database file.
    bool createdNew() const { return m_createdNew; }

    QSqlQuery query(const QString &sql, const QVariantList &params = {});
    int exec(const QString &sql, const QVariantList &params = {});
    // First column of the first row; an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    // Runs a script of statements separated by ';' at line ends (no parameters).
    void execScript(const QStringList &statements);

    bool inTransaction() const { return m_txDepth > 0; }
    // Serializes writers of one series (document codes of a prefix and day)
    // inside the current write transaction. SQLite's BEGIN IMMEDIATE already
    // holds the database's write lock, so only PostgreSQL needs a lock here.
    void lockSeries(const QString &key);

    // Closes and opens the connection again (after compaction).
    bool reopen(QString *error);
    void close();

private:
    friend class WriteTransaction;
    Database(const DatabaseTarget &target, const Dialect &dialect, QString name);
    bool openHandle(QString *error, bool createIfMissing);
    bool m_readOnly = false;
    void prepareSession();

    DatabaseTarget m_target;
    const Dialect *m_dialect;
    QString m_name;
    int m_txDepth = 0;
    bool m_createdNew = false;
};

// One user action that writes: begins on construction (BEGIN IMMEDIATE on
// SQLite), commit() makes it permanent, destruction without commit rolls back.
class WriteTransaction {
public:
    explicit WriteTransaction(Database &db);
    ~WriteTransaction();
    void commit();
    void rollback();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;
private:
    Database &m_db;
    bool m_active = false;
};

// LIKE patterns: PostgreSQL treats '\\' in a pattern as an escape, SQLite does
// not, and type paths are full of backslashes. Write "col LIKE ? ESCAPE '!'"
// (kLikeEscape) and pass likeLiteral(text) + "%" for a prefix match, or
// "%" + likeLiteral(text) + "%" for a search; the text then matches literally.
inline const QString kLikeEscape = QStringLiteral(" ESCAPE '!'");
QString likeLiteral(const QString &text);

// Reads a date column whichever way the engine returns it.
QDate dateOf(const QVariant &v);

} // namespace korvan
