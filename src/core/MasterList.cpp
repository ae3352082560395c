#include "MasterList.h"
#include "DataModule.h"
#include "Database.h"
#include "Money.h"
#include "Schema.h"

#include <QSet>
#include <QSqlRecord>

namespace korvan {

SqlFilter LikeFilter(const Dialect &dialect, const QString &column, const QString &text, MatchKind match)
{
    if (text.isEmpty()) return {};
    const QString pattern = (match == MatchKind::Contains ? QStringLiteral("%") : QString()) + likeLiteral(text)
                            + QStringLiteral("%");
    return {QStringLiteral(" AND %1 %2 ?%3").arg(column, dialect.likeNoCase, kLikeEscape), {pattern}};
}

SqlFilter EqualFilter(const QString &column, const QString &value)
{
    if (value.isEmpty()) return {};
    return {QStringLiteral(" AND %1 = ?").arg(column), {value}};
}

SqlFilter operator+(const SqlFilter &a, const SqlFilter &b)
{
    return {a.sql + b.sql, a.params + b.params};
}

ListQuery BuildListQuery(const Dialect &dialect, const MasterListDecl &decl, int field, const QString &text,
                         bool includeDisabled, const SqlFilter &extra)
{
    SqlFilter where = decl.base;
    if (field >= 0 && field < decl.fields.size()) {
        const SearchField &f = decl.fields[field];
        where = where + LikeFilter(dialect, f.column, text.trimmed(), f.match);
    }
    if (!includeDisabled && !decl.disabledColumn.isEmpty()) {
        where.sql += QStringLiteral(" AND %1 = ?").arg(decl.disabledColumn);
        where.params << false;
    }
    where = where + extra;
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 1%3").arg(decl.selectList, decl.table, where.sql);
    if (!decl.orderBy.isEmpty()) sql += QStringLiteral(" ORDER BY ") + decl.orderBy;
    return {sql, where.params};
}

QStringList DistinctNames(DataModule &dm, const QString &sql, const QVariantList &params)
{
    QStringList out;
    QSet<QString> seen;
    for (const QString &name : dm.FillComboBox(sql, params)) {
        if (name.trimmed().isEmpty() || seen.contains(name)) continue;
        seen.insert(name);
        out << name;
    }
    return out;
}

QVariantMap LoadRecord(Database &db, const QString &table, qint64 id)
{
    const TableDef *t = Schema::table(table);
    if (!t) throw DbError(QStringLiteral("unknown table ") + table);
    QSqlQuery q = db.query(QStringLiteral("SELECT * FROM %1 WHERE F_ID = ?").arg(t->name), {id});
    QVariantMap row;
    if (!q.next()) return row;
    const QSqlRecord rec = q.record();
    for (const ColumnDef &c : t->columns) {
        const int i = rec.indexOf(c.name);
        if (i < 0) continue;
        const QVariant v = q.value(i);
        switch (c.type) {
        case ColumnType::Money: row.insert(c.name, QVariant::fromValue(Money::fromDb(v))); break;
        case ColumnType::Date: row.insert(c.name, dateOf(v)); break;
        case ColumnType::Bool: row.insert(c.name, !v.isNull() && v.toBool()); break;
        case ColumnType::Number: row.insert(c.name, v.isNull() ? 0.0 : v.toDouble()); break;
        case ColumnType::Id: case ColumnType::Int: row.insert(c.name, v.toLongLong()); break;
        case ColumnType::Blob: row.insert(c.name, v.toByteArray()); break;
        case ColumnType::Text: case ColumnType::Memo: row.insert(c.name, v.toString()); break;
        }
    }
    return row;
}

QVariant textValue(const QVariant &v)
{
    const QString s = v.toString();
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

bool CodeTaken(Database &db, const QString &table, const QString &code, qint64 ownId, const SqlFilter &base)
{
    db.lockSeries(table + QLatin1Char(':') + code);
    const QVariant id = db.scalar(QStringLiteral("SELECT F_ID FROM %1 WHERE F_Code = ?%2 AND F_ID <> ?").arg(table, base.sql),
                                  QVariantList{code} + base.params + QVariantList{ownId});
    return id.isValid() && !id.isNull();
}

} // namespace korvan
