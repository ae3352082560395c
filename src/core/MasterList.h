#pragma once
#include "Session.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace korvan {

class DataModule;
class Database;
struct Dialect;

// What the list windows of goods, suppliers and employees have in common,
// without widgets: the search conditions, loading a row for the edit window
// and the outcome of a save.

// A statement with its bound values.
struct ListQuery {
    QString sql;
    QVariantList params;
};

enum class MatchKind { Prefix, Contains };

// One entry of a list's "查询类型：" box.
struct SearchField {
    QString caption;
    QString column;
    MatchKind match = MatchKind::Contains;
    // Drop-down instead of a text box: fixed entries, or the statement that
    // reads them (first column, blanks left out).
    QStringList choices;
    QString choiceSql;
    bool isChoice() const { return !choices.isEmpty() || !choiceSql.isEmpty(); }
};

// A list of master data: the table, how its rows are filtered and ordered.
struct MasterListDecl {
    QString table;
    QString selectList = QStringLiteral("*");
    QString disabledColumn;   // boolean column; true rows are hidden unless asked for
    SqlFilter base;           // always applied (the partner kind of suppliers)
    QList<SearchField> fields;
    QString orderBy = QStringLiteral("F_Code");
};

// The list statement: the base condition, the chosen search field (index into
// decl.fields, -1 for none) matched against the trimmed text (prefix or
// contained; an empty text adds no condition), disabled rows unless
// `includeDisabled`, then `extra` (group or type filters). Every value is
// bound and matched literally, letters without regard to case.
ListQuery BuildListQuery(const Dialect &dialect, const MasterListDecl &decl, int field, const QString &text,
                         bool includeDisabled, const SqlFilter &extra = {});

// " AND col LIKE ?" for a literal prefix or contained text; empty text: no condition.
SqlFilter LikeFilter(const Dialect &dialect, const QString &column, const QString &text, MatchKind match);
// " AND col = ?"; empty value: no condition.
SqlFilter EqualFilter(const QString &column, const QString &value);
SqlFilter operator+(const SqlFilter &a, const SqlFilter &b);

// The first-column values of a statement, blanks left out, each once, in row order.
QStringList DistinctNames(DataModule &dm, const QString &sql, const QVariantList &params = {});

// One row of `table` by F_ID, keyed by the declared column names (so
// "F_EnterPrice", whatever case the engine reports); typed as declared:
// money as korvan::Money, dates as QDate, booleans as bool. Empty when absent.
// Throws DbError.
QVariantMap LoadRecord(Database &db, const QString &table, qint64 id);

// Text for a bound value: never NULL, so an empty box stores ''.
QVariant textValue(const QVariant &v);

// The outcome of a save or delete in the master data windows: ok, or the
// message to show with its kind and the box that gets the focus.
struct MasterResult {
    bool ok = false;
    QString message;
    int kind = 0;
    QString focus;  // objectName of the faulty box
    qint64 id = 0;  // F_ID of the saved row

    static MasterResult success(qint64 id = 0) { return {true, {}, 0, {}, id}; }
    static MasterResult refused(const QString &message, int kind, const QString &focus = {})
    {
        return {false, message, kind, focus, 0};
    }
};

// The message of every failed master data save.
inline QString masterSaveFailMessage() { return QStringLiteral("保存失败，请检测数据库连接！"); }
// "修改" on an empty list.
inline QString emptyListEditMessage() { return QStringLiteral("此表为空，没有记录需要修改！"); }

// Whether the stored codes of `table` (within `base`) hold `code` on a row
// other than `ownId`. Call inside the saving transaction; on PostgreSQL it
// locks the key so two workstations cannot both insert the same code.
bool CodeTaken(Database &db, const QString &table, const QString &code, qint64 ownId, const SqlFilter &base = {});

} // namespace korvan
