#include "GridModel.h"
#include "DataModule.h"
#include "Database.h"
#include "Messages.h"

#include <QCollator>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>

namespace korvan {

namespace {
constexpr qint64 kNullInt = std::numeric_limits<qint64>::min();
constexpr int kFirstRows = 2000;   // read at once, so the first screens show immediately
constexpr int kIdleRows = 20000;   // read per idle slice afterwards
constexpr int kViewRows = 5000;    // read when a view scrolls past the end

enum class Storage { Ints, Reals, Texts };
Storage storageOf(CellType t)
{
    if (t == CellType::Text) return Storage::Texts;
    if (t == CellType::Quantity) return Storage::Reals;
    return Storage::Ints;
}

// A value typed by a program or an operator into a typed cell value; nullopt when it does not fit.
std::optional<QVariant> cellFromUser(const QVariant &v, CellType type)
{
    if (!v.isValid() || v.isNull()) return QVariant();
    const bool isText = v.metaType().id() == QMetaType::QString;
    const QString text = isText ? v.toString().trimmed() : QString();
    if (isText && text.isEmpty() && type != CellType::Text) return QVariant();
    switch (type) {
    case CellType::Price:
    case CellType::Money: {
        if (v.metaType() == QMetaType::fromType<Money>()) return v;
        if (!isText) return std::nullopt; // a bare number could be yuan or units: refuse
        const auto m = Money::parse(text);
        return m ? std::optional<QVariant>(QVariant::fromValue(*m)) : std::nullopt;
    }
    case CellType::Quantity:
    case CellType::Int: {
        bool ok = false;
        const double d = isText ? QString(text).remove(QLatin1Char(',')).toDouble(&ok) : v.toDouble(&ok);
        if (!ok || !std::isfinite(d)) return std::nullopt;
        if (type == CellType::Quantity) return QVariant(d);
        if (d != std::floor(d)) return std::nullopt;
        return QVariant(qlonglong(d));
    }
    case CellType::Date: {
        const QDate d = isText ? QDate::fromString(text, Qt::ISODate) : dateOf(v);
        return d.isValid() ? std::optional<QVariant>(QVariant(d)) : std::nullopt;
    }
    case CellType::Bool:
        return QVariant(v.toBool());
    case CellType::Text:
        break;
    }
    return QVariant(v.toString());
}

} // namespace

// One data column, stored by its kind: texts as indexes into a pool of
// distinct strings, numbers, dates (Julian day), booleans and money as int64.
struct GridModel::Field {
    GridField def;
    Storage storage = Storage::Texts;
    std::vector<qint64> ints;
    std::vector<double> reals;
    std::vector<qint32> texts;
    std::vector<QString> pool;
    QHash<QString, qint32> poolIndex;
    mutable std::optional<QVariant> sum;

    explicit Field(const GridField &f) : def(f), storage(storageOf(f.type)) {}

    qint32 intern(const QString &s)
    {
        auto it = poolIndex.constFind(s);
        if (it != poolIndex.constEnd()) return *it;
        const qint32 id = qint32(pool.size());
        pool.push_back(s);
        poolIndex.insert(s, id);
        return id;
    }

    // `v` must already be typed (cellFromDb / cellFromUser).
    qint64 intOf(const QVariant &v) const
    {
        if (v.isNull()) return kNullInt;
        switch (def.type) {
        case CellType::Price: case CellType::Money: return v.value<Money>().units();
        case CellType::Date: return v.toDate().toJulianDay();
        case CellType::Bool: return v.toBool() ? 1 : 0;
        default: return v.toLongLong();
        }
    }

    void append(const QVariant &v)
    {
        switch (storage) {
        case Storage::Ints: ints.push_back(intOf(v)); break;
        case Storage::Reals: reals.push_back(v.isNull() ? std::nan("") : v.toDouble()); break;
        case Storage::Texts: texts.push_back(v.isNull() ? -1 : intern(v.toString())); break;
        }
    }
    void set(int r, const QVariant &v)
    {
        switch (storage) {
        case Storage::Ints: ints[size_t(r)] = intOf(v); break;
        case Storage::Reals: reals[size_t(r)] = v.isNull() ? std::nan("") : v.toDouble(); break;
        case Storage::Texts: texts[size_t(r)] = v.isNull() ? -1 : intern(v.toString()); break;
        }
        sum.reset();
    }
    void insertNull(int r)
    {
        switch (storage) {
        case Storage::Ints: ints.insert(ints.begin() + r, kNullInt); break;
        case Storage::Reals: reals.insert(reals.begin() + r, std::nan("")); break;
        case Storage::Texts: texts.insert(texts.begin() + r, -1); break;
        }
    }
    void erase(int r)
    {
        switch (storage) {
        case Storage::Ints: ints.erase(ints.begin() + r); break;
        case Storage::Reals: reals.erase(reals.begin() + r); break;
        case Storage::Texts: texts.erase(texts.begin() + r); break;
        }
        sum.reset();
    }
    void clear()
    {
        ints.clear(); reals.clear(); texts.clear(); pool.clear(); poolIndex.clear();
        sum.reset();
    }
    bool isNull(int r) const
    {
        switch (storage) {
        case Storage::Ints: return ints[size_t(r)] == kNullInt;
        case Storage::Reals: return std::isnan(reals[size_t(r)]);
        case Storage::Texts: return texts[size_t(r)] < 0;
        }
        return true;
    }
    QVariant get(int r) const
    {
        if (isNull(r)) return QVariant();
        switch (def.type) {
        case CellType::Price: case CellType::Money: return QVariant::fromValue(Money::fromUnits(ints[size_t(r)]));
        case CellType::Date: return QDate::fromJulianDay(ints[size_t(r)]);
        case CellType::Bool: return ints[size_t(r)] != 0;
        case CellType::Int: return qlonglong(ints[size_t(r)]);
        case CellType::Quantity: return reals[size_t(r)];
        case CellType::Text: return pool[size_t(texts[size_t(r)])];
        }
        return QVariant();
    }
    QVariant total(int rows) const
    {
        if (sum) return *sum;
        QVariant out;
        if (isMoneyType(def.type) || def.type == CellType::Int) {
            qint64 t = 0;
            for (int r = 0; r < rows; ++r)
                if (ints[size_t(r)] != kNullInt) t += ints[size_t(r)];
            out = isMoneyType(def.type) ? QVariant::fromValue(Money::fromUnits(t)) : QVariant(qlonglong(t));
        } else if (def.type == CellType::Quantity) {
            double t = 0;
            for (int r = 0; r < rows; ++r)
                if (!std::isnan(reals[size_t(r)])) t += reals[size_t(r)];
            out = t;
        }
        sum = out;
        return out;
    }
    // Rank of every pooled text in Chinese collation, for sorting.
    std::vector<int> textRanks() const
    {
        QCollator coll(QLocale(QLocale::Chinese, QLocale::China));
        std::vector<QCollatorSortKey> keys;
        keys.reserve(pool.size());
        for (const QString &s : pool) keys.push_back(coll.sortKey(s));
        std::vector<int> idx(pool.size());
        for (size_t i = 0; i < idx.size(); ++i) idx[i] = int(i);
        std::sort(idx.begin(), idx.end(), [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
        std::vector<int> rank(pool.size());
        for (size_t i = 0; i < idx.size(); ++i) rank[size_t(idx[i])] = int(i);
        return rank;
    }
};

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_idleFetch.setSingleShot(true);
    m_idleFetch.setInterval(0);
    connect(&m_idleFetch, &QTimer::timeout, this, [this] {
        if (!m_query) return;
        fetchRows(kIdleRows);
        if (m_query) m_idleFetch.start();
    });
}

GridModel::~GridModel() = default;

// ---------------------------------------------------------------- columns

void GridModel::setColumns(const GridColumns &cols)
{
    beginResetModel();
    m_columns = cols;
    m_autoColumns = cols.isEmpty();
    m_sortColumn = -1;
    rebuildColumnMap();
    endResetModel();
    emit columnsChanged();
    emit totalsChanged();
}

void GridModel::setColumnVisible(int c, bool visible)
{
    if (c < 0 || c >= m_columns.size() || m_columns[c].visible == visible) return;
    m_columns[c].visible = visible;
    emit columnsChanged();
}

void GridModel::setColumnWidth(int c, int width)
{
    if (c >= 0 && c < m_columns.size() && width > 0) m_columns[c].width = width;
}

void GridModel::moveColumn(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= m_columns.size() || to >= m_columns.size()) return;
    beginMoveColumns(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_columns.move(from, to);
    auto move = [&](auto &v) {
        auto item = std::move(v[size_t(from)]);
        v.erase(v.begin() + from);
        v.insert(v.begin() + to, std::move(item));
    };
    move(m_colField);
    move(m_colFormat);
    if (m_sortColumn == from) m_sortColumn = to;
    else if (m_sortColumn >= 0) {
        if (from < m_sortColumn && to >= m_sortColumn) --m_sortColumn;
        else if (from > m_sortColumn && to <= m_sortColumn) ++m_sortColumn;
    }
    endMoveColumns();
    emit columnsChanged();
}

int GridModel::columnOf(const QString &field) const { return indexOfField(m_columns, field); }

QList<int> GridModel::visibleColumns() const
{
    QList<int> out;
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].visible) out << c;
    return out;
}

CellType GridModel::columnType(int c) const
{
    const int f = c >= 0 && size_t(c) < m_colField.size() ? m_colField[size_t(c)] : -1;
    return f < 0 ? CellType::Text : m_fields[size_t(f)]->def.type;
}

void GridModel::rebuildColumnMap()
{
    if (m_autoColumns) {
        m_columns.clear();
        for (const auto &f : m_fields) {
            GridColumn c;
            c.field = f->def.name;
            c.caption = f->def.name;
            m_columns << c;
        }
    }
    m_colField.assign(size_t(m_columns.size()), -1);
    m_colFormat.assign(size_t(m_columns.size()), NumberFormat());
    for (int c = 0; c < m_columns.size(); ++c) {
        m_colField[size_t(c)] = m_fieldIndex.value(m_columns[c].field.toLower(), -1);
        m_colFormat[size_t(c)] = NumberFormat(m_columns[c].displayFormat);
    }
}

// ---------------------------------------------------------------- data

void GridModel::setTypeHints(const QHash<QString, CellType> &hints)
{
    m_hints.clear();
    for (auto it = hints.begin(); it != hints.end(); ++it) m_hints.insert(it.key().toLower(), it.value());
}

CellType GridModel::typeFor(const QString &name, QMetaType reported) const
{
    const auto hint = m_hints.constFind(name.toLower());
    if (hint != m_hints.constEnd()) return *hint;
    if (const auto declared = declaredCellType(name)) return *declared;
    switch (reported.id()) {
    case QMetaType::Bool: return CellType::Bool;
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
        return CellType::Int;
    case QMetaType::Double: return CellType::Quantity;
    case QMetaType::QDate: case QMetaType::QDateTime: return CellType::Date;
    default: return CellType::Text;
    }
}

void GridModel::beginData(const QList<GridField> &fields)
{
    m_idleFetch.stop();
    m_query.reset();
    m_fields.clear();
    m_fieldIndex.clear();
    for (const GridField &f : fields) {
        m_fieldIndex.insert(f.name.toLower(), int(m_fields.size()));
        m_fields.push_back(std::make_unique<Field>(f));
    }
    m_rows = 0;
    m_order.clear();
    m_sortColumn = -1;
    rebuildColumnMap();
}

void GridModel::openQuery(Database &db, const QString &sql, const QVariantList &params)
{
    QSqlQuery q = db.query(sql, params); // forward-only: rows are read once, into the store
    const QSqlRecord rec = q.record();
    QList<GridField> fields;
    for (int i = 0; i < rec.count(); ++i)
        fields << GridField{rec.fieldName(i), typeFor(rec.fieldName(i), rec.field(i).metaType())};
    beginResetModel();
    beginData(fields);
    m_query = q;
    m_inReset = true;
    fetchRows(db.isPostgres() ? std::numeric_limits<int>::max() : kFirstRows);
    m_inReset = false;
    endResetModel();
    emit columnsChanged();
    emit totalsChanged();
    if (m_query) m_idleFetch.start();
    else emit fetchFinished();
}

bool GridModel::openQuery(DataModule &dm, const QString &sql, const QVariantList &params)
{
    try {
        openQuery(dm.db(), sql, params);
        return true;
    } catch (const DbError &) {
        beginResetModel();
        beginData(fields());
        endResetModel();
        emit totalsChanged();
        ShowMess(DataModule::openFailMessage(), MsgError);
        return false;
    }
}

void GridModel::setFields(const QList<GridField> &fields)
{
    beginResetModel();
    beginData(fields);
    endResetModel();
    emit columnsChanged();
    emit totalsChanged();
}

QList<GridField> GridModel::fields() const
{
    QList<GridField> out;
    for (const auto &f : m_fields) out << f->def;
    return out;
}

int GridModel::fieldIndex(const QString &name) const { return m_fieldIndex.value(name.toLower(), -1); }

// Reads up to `max` rows of the open statement into the store; the caller
// brackets it with a reset or it announces the rows itself.
int GridModel::fetchRows(int max)
{
    if (!m_query) return 0;
    QSqlQuery &q = *m_query;
    const int nFields = int(m_fields.size());
    int read = 0;
    while (read < max && q.next()) {
        for (int i = 0; i < nFields; ++i) {
            Field &f = *m_fields[size_t(i)];
            f.append(cellFromDb(q.value(i), f.def.type));
        }
        ++read;
    }
    const bool done = read < max;
    if (read > 0) {
        for (auto &f : m_fields) f->sum.reset();
        if (!m_order.empty()) // sorted rows are all fetched, so this is only a safety net
            for (int r = m_rows; r < m_rows + read; ++r) m_order.push_back(r);
        if (m_inReset) {
            m_rows += read;
        } else {
            beginInsertRows(QModelIndex(), m_rows, m_rows + read - 1);
            m_rows += read;
            endInsertRows();
        }
    }
    if (done) finishFetch();
    else if (read > 0 && !m_inReset) emit totalsChanged();
    return read;
}

void GridModel::finishFetch()
{
    m_idleFetch.stop();
    m_query.reset();
    if (m_inReset) return; // the reset that opened the statement announces it
    emit totalsChanged();
    emit fetchFinished();
}

bool GridModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && m_query.has_value(); }

void GridModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid()) fetchRows(kViewRows);
}

void GridModel::fetchAll()
{
    while (m_query) fetchRows(std::numeric_limits<int>::max());
}

int GridModel::appendRow(const QVariantList &values)
{
    const int r = m_rows;
    beginInsertRows(QModelIndex(), r, r);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        Field &f = *m_fields[i];
        const auto v = int(i) < values.size() ? cellFromUser(values[int(i)], f.def.type) : std::optional<QVariant>();
        f.append(v.value_or(QVariant()));
        f.sum.reset();
    }
    if (!m_order.empty()) m_order.push_back(r);
    ++m_rows;
    endInsertRows();
    emit totalsChanged();
    return r;
}

void GridModel::clearRows()
{
    beginResetModel();
    beginData(fields());
    endResetModel();
    emit totalsChanged();
}

QVariant GridModel::value(int row, const QString &field) const
{
    const int f = fieldIndex(field);
    if (f < 0 || row < 0 || row >= m_rows) return QVariant();
    return m_fields[size_t(f)]->get(storeRow(row));
}

QVariant GridModel::value(int row, int column) const
{
    if (column < 0 || size_t(column) >= m_colField.size() || row < 0 || row >= m_rows) return QVariant();
    const int f = m_colField[size_t(column)];
    return f < 0 ? QVariant() : m_fields[size_t(f)]->get(storeRow(row));
}

bool GridModel::setValue(int row, const QString &field, const QVariant &v)
{
    const int f = fieldIndex(field);
    if (f < 0 || row < 0 || row >= m_rows) return false;
    Field &fd = *m_fields[size_t(f)];
    const auto typed = cellFromUser(v, fd.def.type);
    if (!typed) return false;
    fd.set(storeRow(row), *typed);
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_colField[size_t(c)] == f) emit dataChanged(index(row, c), index(row, c));
    emit totalsChanged();
    return true;
}

QString GridModel::text(int row, int column) const
{
    return cellText(value(row, column), columnType(column), m_colFormat[size_t(column)]);
}

QVariant GridModel::fieldSum(const QString &field)
{
    fetchAll();
    const int f = fieldIndex(field);
    return f < 0 ? QVariant() : m_fields[size_t(f)]->total(m_rows);
}

QString GridModel::footerText(int column) const
{
    if (column < 0 || column >= m_columns.size()) return QString();
    const GridColumn &c = m_columns[column];
    if (c.footer == FooterKind::Text) return c.footerText;
    if (c.footer != FooterKind::Sum || m_query) return QString();
    const int f = m_colField[size_t(column)];
    if (f < 0) return QString();
    const QVariant sum = m_fields[size_t(f)]->total(m_rows);
    return sum.isValid() ? cellText(sum, m_fields[size_t(f)]->def.type, m_colFormat[size_t(column)]) : QString();
}

bool GridModel::hasFooter() const
{
    return std::any_of(m_columns.begin(), m_columns.end(), [](const GridColumn &c) { return c.footer != FooterKind::None; });
}

// ---------------------------------------------------------------- sorting

void GridModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size()) return;
    fetchAll();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> oldStore;
    oldStore.reserve(size_t(before.size()));
    for (const QModelIndex &i : before) oldStore.push_back(storeRow(i.row()));

    std::vector<int> perm(static_cast<size_t>(m_rows));
    for (int r = 0; r < m_rows; ++r) perm[size_t(r)] = r;
    const int f = m_colField[size_t(column)];
    if (f >= 0) {
        const Field &fd = *m_fields[size_t(f)];
        const bool desc = order == Qt::DescendingOrder;
        // Null sorts first ascending; the order of equal values is kept.
        auto run = [&](auto key) {
            std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
                return desc ? key(b) < key(a) : key(a) < key(b);
            });
        };
        switch (fd.storage) {
        case Storage::Ints: run([&](int r) { return fd.ints[size_t(r)]; }); break;
        case Storage::Reals: run([&](int r) { const double d = fd.reals[size_t(r)]; return std::isnan(d) ? -HUGE_VAL : d; }); break;
        case Storage::Texts: {
            const std::vector<int> rank = fd.textRanks();
            run([&](int r) { const qint32 t = fd.texts[size_t(r)]; return t < 0 ? -1 : rank[size_t(t)]; });
            break;
        }
        }
    }
    m_order = std::move(perm);
    m_sortColumn = column;
    m_sortOrder = order;

    std::vector<int> displayOf(static_cast<size_t>(m_rows));
    for (int r = 0; r < m_rows; ++r) displayOf[size_t(m_order[size_t(r)])] = r;
    QModelIndexList after;
    for (size_t i = 0; i < oldStore.size(); ++i)
        after << index(displayOf[size_t(oldStore[i])], before[int(i)].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---------------------------------------------------------------- editing

void GridModel::setEditable(bool editable)
{
    if (m_editable == editable) return;
    m_editable = editable;
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1), {});
}

bool GridModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_rows || count <= 0) return false;
    fetchAll();
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k) {
        if (m_order.empty()) {
            for (auto &f : m_fields) f->insertNull(row + k);
        } else {
            for (auto &f : m_fields) f->insertNull(m_rows + k);
            m_order.insert(m_order.begin() + row + k, m_rows + k);
        }
    }
    m_rows += count;
    endInsertRows();
    return true;
}

bool GridModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows) return false;
    fetchAll();
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int k = count - 1; k >= 0; --k) {
        const int s = storeRow(row + k);
        for (auto &f : m_fields) f->erase(s);
        if (!m_order.empty()) {
            m_order.erase(m_order.begin() + row + k);
            for (int &o : m_order)
                if (o > s) --o;
        }
    }
    m_rows -= count;
    endRemoveRows();
    emit totalsChanged();
    return true;
}

// ---------------------------------------------------------------- model interface

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }
int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns.size()) return QVariant();
    const int c = index.column();
    const CellType type = columnType(c);
    switch (role) {
    case Qt::DisplayRole:
        if (type == CellType::Bool) return QVariant();
        return text(index.row(), c);
    case ValueRole:
        return value(index.row(), c);
    case Qt::EditRole: {
        const QVariant v = value(index.row(), c);
        if (isMoneyType(type)) return v.isNull() ? QString() : v.value<Money>().toShortString();
        if (type == CellType::Quantity) return v.isNull() ? QString() : shortestDecimal(v.toDouble());
        return v;
    }
    case Qt::CheckStateRole:
        if (type != CellType::Bool) return QVariant();
        return int(value(index.row(), c).toBool() ? Qt::Checked : Qt::Unchecked);
    case Qt::TextAlignmentRole: {
        const CellAlign a = effectiveAlign(m_columns[c], type);
        const Qt::Alignment h = a == CellAlign::Right ? Qt::AlignRight : a == CellAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft;
        return int(h | Qt::AlignVCenter);
    }
    default:
        return QVariant();
    }
}

bool GridModel::setData(const QModelIndex &index, const QVariant &v, int role)
{
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable))) return false;
    if (role != Qt::EditRole && role != Qt::CheckStateRole && role != ValueRole) return false;
    const int f = m_colField[size_t(index.column())];
    const QVariant typed = role == Qt::CheckStateRole ? QVariant(v.toInt() == int(Qt::Checked)) : v;
    return f >= 0 && setValue(index.row(), m_fields[size_t(f)]->def.name, typed);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_columns.size()) return QVariant();
    if (role == Qt::DisplayRole) return m_columns[section].flatCaption();
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return QVariant();
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int c = index.column();
    if (m_editable && !m_columns[c].readOnly && m_colField[size_t(c)] >= 0)
        fl |= columnType(c) == CellType::Bool ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return fl;
}

Money GridAmountTotal(GridModel &model)
{
    return model.fieldSum(QStringLiteral("F_totalPrice")).value<Money>();
}

} // namespace korvan
