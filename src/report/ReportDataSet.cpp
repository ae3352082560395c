#include "ReportDataSet.h"
#include "Money.h"
#include "Schema.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace korvan {

int ReportDataSet::columnIndex(const QString &name) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (columnName(c).compare(name, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

// ---- TableDataSet

static qint64 cellKey(int row, int column) { return (qint64(row) << 20) | column; }

void TableDataSet::setColors(int row, int column, const QColor &fg, const QColor &bg)
{
    if (fg.isValid() || bg.isValid()) m_colors.insert(cellKey(row, column), {fg, bg});
}

QVariant TableDataSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size()) return {};
    return m_rows[row].value(column);
}

QColor TableDataSet::foreground(int row, int column) const
{
    return m_colors.isEmpty() ? QColor() : m_colors.value(cellKey(row, column)).first;
}

QColor TableDataSet::background(int row, int column) const
{
    return m_colors.isEmpty() ? QColor() : m_colors.value(cellKey(row, column)).second;
}

QSet<QString> TableDataSet::schemaMoneyColumns()
{
    static const QSet<QString> names = [] {
        QSet<QString> out;
        for (const TableDef &t : Schema::tables())
            for (const ColumnDef &c : t.columns)
                if (c.type == ColumnType::Money) out.insert(c.name.toLower());
        return out;
    }();
    return names;
}

std::shared_ptr<TableDataSet> TableDataSet::fromQuery(QSqlQuery &query, const QSet<QString> &moneyColumns)
{
    const QSqlRecord rec = query.record();
    QStringList names;
    QList<int> kinds; // 0 as is, 1 money, 2 number that may arrive as text
    for (int i = 0; i < rec.count(); ++i) {
        names << rec.fieldName(i);
        const int type = rec.field(i).metaType().id();
        if (moneyColumns.contains(rec.fieldName(i).toLower()))
            kinds << 1;
        else if (type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong)
            kinds << 2;
        else
            kinds << 0;
    }
    auto out = std::make_shared<TableDataSet>(names);
    if (query.isActive() && query.isSelect()) {
        if (query.at() != QSql::BeforeFirstRow) query.seek(-1);
        while (query.next()) {
            QVariantList row;
            row.reserve(names.size());
            for (int i = 0; i < names.size(); ++i) {
                const QVariant v = query.value(i);
                if (v.isNull()) row << QVariant();
                else if (kinds[i] == 1) row << QVariant::fromValue(Money::fromDb(v));
                else if (kinds[i] == 2 && v.typeId() == QMetaType::QString) row << QVariant(v.toDouble());
                else row << v;
            }
            out->addRow(row);
        }
    }
    return out;
}

std::shared_ptr<TableDataSet> TableDataSet::copyOf(const ReportDataSet &source)
{
    QStringList names;
    for (int c = 0; c < source.columnCount(); ++c) names << source.columnName(c);
    auto out = std::make_shared<TableDataSet>(names);
    out->m_columns = source.columns();
    const int rows = source.rowCount();
    out->m_rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QVariantList row;
        row.reserve(names.size());
        for (int c = 0; c < names.size(); ++c) {
            row << source.value(r, c);
            out->setColors(r, c, source.foreground(r, c), source.background(r, c));
        }
        out->m_rows << row;
    }
    out->setCurrentRow(source.currentRow());
    return out;
}

std::shared_ptr<TableDataSet> TableDataSet::fromMaps(const QList<QVariantMap> &rows, const QStringList &columns)
{
    QStringList names = columns;
    auto known = [&names](const QString &k) {
        for (const QString &n : names)
            if (n.compare(k, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    for (const QVariantMap &r : rows)
        for (auto it = r.cbegin(); it != r.cend(); ++it)
            if (!known(it.key())) names << it.key();
    auto out = std::make_shared<TableDataSet>(names);
    for (const QVariantMap &r : rows) {
        QVariantList row;
        row.reserve(names.size());
        for (const QString &n : names) {
            auto it = r.constFind(n);
            if (it == r.cend()) {
                for (auto j = r.cbegin(); j != r.cend(); ++j)
                    if (j.key().compare(n, Qt::CaseInsensitive) == 0) { it = j; break; }
            }
            row << (it == r.cend() ? QVariant() : *it);
        }
        out->addRow(row);
    }
    return out;
}

// ---- ModelDataSet

ModelDataSet::ModelDataSet(const QAbstractItemModel *model, const QList<ReportColumn> &columns, int role)
    : m_model(model), m_columns(columns), m_role(role)
{
    auto *m = const_cast<QAbstractItemModel *>(model);
    while (m->canFetchMore(QModelIndex())) m->fetchMore(QModelIndex());
    if (m_columns.isEmpty()) {
        for (int c = 0; c < model->columnCount(); ++c) {
            ReportColumn col;
            col.field = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            col.caption = col.field;
            col.modelColumn = c;
            m_columns << col;
        }
    }
}

int ModelDataSet::modelColumn(int column) const
{
    const int mc = m_columns.value(column).modelColumn;
    return mc >= 0 ? mc : column;
}

int ModelDataSet::rowCount() const { return m_model->rowCount(); }

QVariant ModelDataSet::value(int row, int column) const
{
    return m_model->index(row, modelColumn(column)).data(m_role);
}

static QColor colorOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QBrush) return v.value<QBrush>().color();
    if (v.typeId() == QMetaType::QColor) return v.value<QColor>();
    return {};
}

QColor ModelDataSet::foreground(int row, int column) const
{
    const QVariant v = m_model->index(row, modelColumn(column)).data(Qt::ForegroundRole);
    return v.isValid() ? colorOf(v) : QColor();
}

QColor ModelDataSet::background(int row, int column) const
{
    const QVariant v = m_model->index(row, modelColumn(column)).data(Qt::BackgroundRole);
    return v.isValid() ? colorOf(v) : QColor();
}

} // namespace korvan
