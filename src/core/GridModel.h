#pragma once
#include "GridLayout.h"
#include "Money.h"
#include "NumberFormat.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlQuery>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

namespace korvan {

class Database;
class DataModule;

// A data column the grid can show.
struct GridField {
    QString name;
    CellType type = CellType::Text;
};

// The rows of a grid with their column layout. Model column i is columns()[i]
// in display order; hidden columns stay in the model. Values are typed (see
// CellType) and held column by column (texts interned, numbers as int64/double),
// so a result of several hundred thousand rows stays small; nothing is copied
// twice: a query's rows move into the store as they are read.
//
// Roles: DisplayRole is the text as shown (formatted), ValueRole the typed
// value (korvan::Money for money), EditRole the value for an editor,
// TextAlignmentRole the column's alignment, CheckStateRole for booleans.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    // ---- columns
    const GridColumns &columns() const { return m_columns; }
    const GridColumn &column(int c) const { return m_columns[c]; }
    // Replaces the layout. An empty layout shows every data field.
    void setColumns(const GridColumns &cols);
    void setColumnVisible(int c, bool visible);
    void setColumnWidth(int c, int width); // silent: the view reports its own sizing
    void moveColumn(int from, int to);
    int columnOf(const QString &field) const;
    QList<int> visibleColumns() const;
    CellType columnType(int c) const;

    // ---- data
    // Types for fields a statement computes (aliases); others come from the
    // declared tables, then from what the driver reports.
    void setTypeHints(const QHash<QString, CellType> &hints);
    // Runs a statement and shows its rows: the first ones at once, the rest
    // while the application is idle (on PostgreSQL all at once: its connection
    // cannot keep a half-read result while other statements run). Shows the
    // open-failure message on error, leaves the model empty, returns false.
    bool openQuery(DataModule &dm, const QString &sql, const QVariantList &params = {});
    // The same, throwing DbError.
    void openQuery(Database &db, const QString &sql, const QVariantList &params = {});
    // Typed rows without a statement: declare the fields, then append rows of
    // values in field order (Money for money, double, QDate, bool, QString).
    void setFields(const QList<GridField> &fields);
    QList<GridField> fields() const;
    int fieldIndex(const QString &name) const;
    int appendRow(const QVariantList &values);
    void clearRows();

    QVariant value(int row, const QString &field) const;
    QVariant value(int row, int column) const;
    // Accepts the typed value or a text as typed by the operator; false when it does not parse.
    bool setValue(int row, const QString &field, const QVariant &value);
    QString text(int row, int column) const;

    bool allFetched() const { return !m_query; }
    void fetchAll();
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // Sum of a field over all rows (fetches them first): Money for money
    // fields, double for quantities, qlonglong for integers, null otherwise.
    QVariant fieldSum(const QString &field);
    // The footer as shown: the fixed text or the formatted sum. A sum reads
    // empty until every row is fetched; call fetchAll() before printing.
    QString footerText(int column) const;
    bool hasFooter() const;

    // ---- sorting, in memory by the typed values (texts in Chinese collation)
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortedColumn() const { return m_sortColumn; }
    Qt::SortOrder sortedOrder() const { return m_sortOrder; }

    // ---- editing (document lines)
    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

signals:
    // Captions, widths, visibility or order changed without a reset.
    void columnsChanged();
    // Footer values may have changed.
    void totalsChanged();
    void fetchFinished();

private:
    struct Field;
    int storeRow(int row) const { return m_order.empty() ? row : m_order[size_t(row)]; }
    int fetchRows(int max);
    void finishFetch();
    void beginData(const QList<GridField> &fields);
    void rebuildColumnMap();
    CellType typeFor(const QString &name, QMetaType reported) const;
    void invalidateTotals();

    GridColumns m_columns;
    bool m_autoColumns = true;
    std::vector<int> m_colField;               // model column -> field, -1 when absent
    std::vector<NumberFormat> m_colFormat;
    std::vector<std::unique_ptr<Field>> m_fields;
    QHash<QString, int> m_fieldIndex;          // lower-case name -> field
    QHash<QString, CellType> m_hints;
    int m_rows = 0;
    std::vector<int> m_order;                  // display row -> store row; empty = identity
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_editable = false;
    bool m_inReset = false;
    std::optional<QSqlQuery> m_query;
    QTimer m_idleFetch;
};

// GridAmountTotal: the sum of the rows' F_totalPrice, whether that column is
// shown, hidden or removed from the layout.
Money GridAmountTotal(GridModel &model);

} // namespace korvan
