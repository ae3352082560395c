#include "DocumentStore.h"
#include "Messages.h"
#include "Schema.h"

#include <QSqlError>
#include <QSqlRecord>
#include <optional>

namespace korvan {

namespace {
const QString kCode = QStringLiteral("F_Code");
const QString kTotal = QStringLiteral("F_TotalPrice");
const QString kAmount = QStringLiteral("F_Amount");

// Values as the engine wants them: money as units, dates as dates.
QVariant toDb(const ColumnDef &c, const QVariant &v)
{
    if (c.type == ColumnType::Money) {
        if (v.metaType() == QMetaType::fromType<Money>()) return v.value<Money>().toDb();
        if (v.isNull() || !v.isValid()) return Money().toDb();
        return Money::parse(v.toString()).value_or(Money()).toDb();
    }
    if (c.type == ColumnType::Date) {
        const QDate d = dateOf(v);
        return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
    }
    if (c.type == ColumnType::Bool) return v.toBool();
    if (c.type == ColumnType::Number) return v.isNull() ? 0.0 : v.toDouble();
    if (c.type == ColumnType::Int) return v.toInt();
    if (c.type == ColumnType::Text || c.type == ColumnType::Memo) return v.isNull() ? QVariant(QString()) : QVariant(v.toString());
    return v;
}

Money moneyOf(const QVariant &v)
{
    if (v.metaType() == QMetaType::fromType<Money>()) return v.value<Money>();
    return Money::parse(v.toString()).value_or(Money());
}
} // namespace

Money Document::totalAmount() const
{
    Money sum;
    for (const DocumentLine &l : lines) sum += moneyOf(l.values.value(kTotal));
    return sum;
}

double Document::totalQuantity() const
{
    double sum = 0;
    for (const DocumentLine &l : lines) sum += l.values.value(kAmount).toDouble();
    return sum;
}

QVariantMap DocumentStore::rowOf(const QSqlQuery &q, const QString &table) const
{
    const TableDef *t = Schema::table(table);
    const QSqlRecord rec = q.record();
    QVariantMap row;
    for (int i = 0; i < rec.count(); ++i) {
        const ColumnDef *c = t->column(rec.fieldName(i));
        if (!c) continue;
        const QVariant v = q.value(i);
        switch (c->type) {
        case ColumnType::Money: row.insert(c->name, QVariant::fromValue(Money::fromDb(v))); break;
        case ColumnType::Date: row.insert(c->name, dateOf(v)); break;
        case ColumnType::Bool: row.insert(c->name, v.toBool()); break;
        case ColumnType::Number: row.insert(c->name, v.toDouble()); break;
        case ColumnType::Int: case ColumnType::Id: row.insert(c->name, v.toLongLong()); break;
        default: row.insert(c->name, v.isNull() ? QString() : v.toString()); break;
        }
    }
    return row;
}

QList<QVariantMap> DocumentStore::loadDay(const QDate &listDate, const SqlFilter &warehouses)
{
    QList<QVariantMap> rows;
    QVariantList params{m_kind.series.kind};
    params += warehouses.params;
    params << listDate;
    QSqlQuery q;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE F_Flag = ?%2 AND F_date = ? ORDER BY F_Code")
                            .arg(m_kind.series.table, m_kind.hasWarehouse ? warehouses.sql : QString());
    if (!m_dm.OpenQuery(sql, params, q)) return rows;
    while (q.next()) rows << rowOf(q, m_kind.series.table);
    return rows;
}

Document DocumentStore::load(const QString &code)
{
    Document doc;
    QSqlQuery q;
    if (!m_dm.OpenQuery(QStringLiteral("SELECT * FROM %1 WHERE F_Code = ?").arg(m_kind.series.table), {code}, q))
        return doc;
    if (!q.next()) return doc;
    doc.header = rowOf(q, m_kind.series.table);
    doc.id = doc.header.value(QStringLiteral("F_ID")).toLongLong();
    doc.rowVersion = doc.header.value(QStringLiteral("F_RowVer")).toInt();
    doc.lines = loadLines(code);
    return doc;
}

QList<DocumentLine> DocumentStore::loadLines(const QString &code)
{
    QList<DocumentLine> lines;
    QSqlQuery q;
    if (!m_dm.OpenQuery(QStringLiteral("SELECT * FROM %1 WHERE F_Code = ? ORDER BY F_ID").arg(m_kind.linesTable), {code}, q))
        return lines;
    while (q.next()) {
        DocumentLine l;
        l.values = rowOf(q, m_kind.linesTable);
        l.id = l.values.take(QStringLiteral("F_ID")).toLongLong();
        lines << l;
    }
    return lines;
}

QString DocumentStore::proposeCode(const QDate &day)
{
    try {
        return m_dm.NextDocumentCode(m_kind.series, day);
    } catch (const DbError &) {
        ShowMess(DataModule::failMessage(), MsgError);
        return {};
    }
}

// Lines go through one prepared insert and one prepared update, each run once
// per line: a 200-line document costs 200 executions, not 200 preparations.
// (Multi-row inserts measured slower: the SQLite driver's binding cost grows
// with the square of a statement's values, and PostgreSQL plans every batch.)
void DocumentStore::writeLines(const Document &doc, const QString &code)
{
    Database &db = m_dm.db();
    const TableDef *t = Schema::table(m_kind.linesTable);
    for (qint64 id : doc.deletedLineIds)
        db.exec(QStringLiteral("DELETE FROM %1 WHERE F_ID = ? AND F_Code = ?").arg(t->name), {id, code});
    std::optional<QSqlQuery> insert, update;
    QStringList updateNames;
    auto run = [](QSqlQuery &q, const QVariantList &values) {
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        if (!q.exec()) throw DbError(q.lastError().text());
    };
    auto prepared = [&db](std::optional<QSqlQuery> &q, const QString &sql) -> QSqlQuery & {
        q.emplace(db.handle());
        if (!q->prepare(sql)) throw DbError(q->lastError().text());
        return *q;
    };
    for (const DocumentLine &l : doc.lines) {
        if (l.id != 0 && !l.changed) continue;
        QStringList names;
        QVariantList values;
        for (const ColumnDef &c : t->columns) {
            if (c.type == ColumnType::Id) continue;
            if (c.name == kCode) { names << c.name; values << code; continue; }
            if (!l.values.contains(c.name) && l.id != 0) continue;
            names << c.name;
            values << toDb(c, l.values.value(c.name));
        }
        if (l.id == 0) {
            if (!insert)
                prepared(insert, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(t->name, names.join(QLatin1Char(',')),
                                          QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','))));
            run(*insert, values);
            continue;
        }
        if (!update || names != updateNames) {
            QStringList sets;
            for (const QString &n : names) sets << n + QStringLiteral(" = ?");
            prepared(update, QStringLiteral("UPDATE %1 SET %2 WHERE F_ID = ?").arg(t->name, sets.join(QLatin1Char(','))));
            updateNames = names;
        }
        run(*update, values << l.id);
    }
}

void DocumentStore::writeHeader(Document &doc, const QString &code, const QString &operatorName)
{
    const TableDef *t = Schema::table(m_kind.series.table);
    QStringList names;
    QVariantList values;
    auto put = [&](const QString &name, const QVariant &v) {
        names << t->column(name)->name;
        values << toDb(*t->column(name), v);
    };
    for (const QString &c : m_kind.headerColumns) put(c, doc.header.value(c));
    put(QStringLiteral("F_Maker"), operatorName);
    put(kTotal, QVariant::fromValue(doc.totalAmount()));
    if (!m_kind.quantityTotalColumn.isEmpty()) put(m_kind.quantityTotalColumn, doc.totalQuantity());
    if (!m_kind.settledCodesColumn.isEmpty()) {
        QStringList codes;
        for (const DocumentLine &l : doc.lines) {
            const QString c = l.values.value(QStringLiteral("F_CGDcode")).toString().trimmed();
            if (!c.isEmpty()) codes << QLatin1Char('\'') + c + QLatin1Char('\'');
        }
        put(m_kind.settledCodesColumn, codes.join(QLatin1Char(',')));
    }
    put(QStringLiteral("F_RowVer"), doc.rowVersion + 1);
    Database &db = m_dm.db();
    if (doc.id == 0) {
        put(kCode, code);
        put(QStringLiteral("F_Flag"), m_kind.series.kind);
        if (m_kind.operFlag != 0) put(QStringLiteral("F_OperFlag"), m_kind.operFlag);
        db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(t->name, names.join(QLatin1Char(',')), QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                values);
    } else {
        QStringList sets;
        for (const QString &n : names) sets << n + QStringLiteral(" = ?");
        values << doc.id;
        db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE F_ID = ?").arg(t->name, sets.join(QLatin1Char(','))), values);
    }
}

StoreResult DocumentStore::save(Document &doc, const QString &operatorName)
{
    Document work = doc;
    if (m_kind.dropLinesWithoutGoods) {
        for (int i = work.lines.size() - 1; i >= 0; --i) {
            if (!work.lines[i].values.value(QStringLiteral("F_GoodCode")).toString().trimmed().isEmpty()) continue;
            if (work.lines[i].id != 0) work.deletedLineIds << work.lines[i].id;
            work.lines.removeAt(i);
        }
    }
    Database &db = m_dm.db();
    QString code = work.code();
    try {
        WriteTransaction tx(db);
        if (work.id != 0) {
            QSqlQuery q = db.query(QStringLiteral("SELECT F_RowVer, F_CheckFlag, F_Code FROM %1 WHERE F_ID = ?").arg(m_kind.series.table), {work.id});
            if (!q.next()) return StoreResult::failure(deletedElsewhereMessage(), MsgWarning);
            if (q.value(1).toBool()) return StoreResult::failure(auditedMessage(), MsgWarning);
            if (q.value(0).toInt() != work.rowVersion) return StoreResult::failure(changedElsewhereMessage(), MsgWarning);
            code = q.value(2).toString();
        } else {
            // Writers of this series wait here for each other; then the code is checked afresh.
            db.lockSeries(m_kind.series.prefix + code.mid(m_kind.series.prefix.size(), 8));
            const bool taken = code.isEmpty()
                || db.scalar(QStringLiteral("SELECT F_ID FROM %1 WHERE F_Code = ?").arg(m_kind.series.table), {code}).isValid();
            if (taken) code = m_dm.NextDocumentCode(m_kind.series);
        }
        writeLines(work, code);
        writeHeader(work, code, operatorName);
        tx.commit();
    } catch (const DbError &e) {
        qWarning("document save failed: %s", qPrintable(e.message()));
        return StoreResult::failure(saveFailedMessage(), MsgError);
    }
    doc = load(code);
    return StoreResult::success(code);
}

StoreResult DocumentStore::remove(const Document &doc)
{
    Database &db = m_dm.db();
    try {
        WriteTransaction tx(db);
        const QVariant audited = db.scalar(QStringLiteral("SELECT F_CheckFlag FROM %1 WHERE F_Code = ?").arg(m_kind.series.table), {doc.code()});
        if (audited.toBool()) return StoreResult::failure(auditedMessage(), MsgWarning);
        db.exec(QStringLiteral("DELETE FROM %1 WHERE F_Code = ?").arg(m_kind.series.table), {doc.code()});
        db.exec(QStringLiteral("DELETE FROM %1 WHERE F_Code = ?").arg(m_kind.linesTable), {doc.code()});
        tx.commit();
    } catch (const DbError &e) {
        qWarning("document delete failed: %s", qPrintable(e.message()));
        return StoreResult::failure(saveFailedMessage(), MsgError);
    }
    return StoreResult::success(doc.code());
}

StoreResult DocumentStore::audit(const QString &code, const QString &operatorName, const QDate &day)
{
    QString sql = QStringLiteral("UPDATE %1 SET F_Auditer = ?, F_CheckFlag = ?, F_RowVer = F_RowVer + 1").arg(m_kind.series.table);
    QVariantList params{operatorName, true};
    if (m_kind.hasAuditDate) {
        sql += QStringLiteral(", F_AudDate = ?");
        params << day;
    }
    sql += QStringLiteral(" WHERE F_Code = ? AND F_CheckFlag = ?");
    params << code << false;
    try {
        if (m_dm.db().exec(sql, params) == 0) return StoreResult::failure(QStringLiteral("此单据已经审核！"), MsgWarning);
    } catch (const DbError &) {
        return StoreResult::failure(DataModule::failMessage(), MsgError);
    }
    return StoreResult::success(code);
}

StoreResult DocumentStore::unaudit(const QString &code, const QString &operatorName)
{
    const QString sql = QStringLiteral("UPDATE %1 SET F_Auditer = ?, F_CheckFlag = ?, %2 = COALESCE(%2, '') || ?,"
                                       " F_RowVer = F_RowVer + 1 WHERE F_Code = ? AND F_CheckFlag = ?")
                            .arg(m_kind.series.table, m_kind.remarkColumn);
    try {
        if (m_dm.db().exec(sql, {operatorName, false, QStringLiteral("反审"), code, true}) == 0)
            return StoreResult::failure(QString(), MsgInfo);
    } catch (const DbError &) {
        return StoreResult::failure(DataModule::failMessage(), MsgError);
    }
    return StoreResult::success(code);
}

} // namespace korvan
