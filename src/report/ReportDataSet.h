#pragma once
#include <QColor>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <memory>

class QAbstractItemModel;
class QSqlQuery;

namespace korvan {

// One column as a window shows it: caption, width, display format, alignment
// and footer. Lists printed through a default layout and PrintGrid use it.
struct ReportColumn {
    enum Footer { NoFooter = 0, FooterText = 1, FooterSum = 2 };
    QString field;
    QString caption;
    int width = 80;               // on screen, in pixels; only the proportions matter
    QString format;               // NumberFormat pattern or a date pattern
    Qt::Alignment alignment = Qt::AlignLeft;
    Footer footer = NoFooter;
    QString footerText;
    int modelColumn = -1;         // ModelDataSet: the model's column; -1 = position in the list
};

// The engine's view of a data set: named columns and typed rows. Money values
// arrive as korvan::Money so sums stay exact.
class ReportDataSet {
public:
    virtual ~ReportDataSet() = default;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual int rowCount() const = 0;
    virtual QVariant value(int row, int column) const = 0;
    // How the window shows the columns, when it says (captions, formats, footers).
    virtual QList<ReportColumn> columns() const { return {}; }
    // Row colours of the window's grid; invalid when none.
    virtual QColor foreground(int, int) const { return {}; }
    virtual QColor background(int, int) const { return {}; }

    // Case-insensitive; -1 when absent.
    int columnIndex(const QString &name) const;
    bool isEmpty() const { return rowCount() == 0; }
    // The record fields outside the detail band refer to (a document's header).
    int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row) { m_currentRow = row; }

private:
    int m_currentRow = 0;
};

// Rows held in memory; also the snapshot a preview keeps of a window's data.
class TableDataSet : public ReportDataSet {
public:
    TableDataSet() = default;
    explicit TableDataSet(const QStringList &names) : m_names(names) {}

    void addRow(const QVariantList &row) { m_rows << row; }
    void setColumns(const QList<ReportColumn> &columns) { m_columns = columns; }
    void setColors(int row, int column, const QColor &fg, const QColor &bg);

    int columnCount() const override { return int(m_names.size()); }
    QString columnName(int column) const override { return m_names.value(column); }
    int rowCount() const override { return int(m_rows.size()); }
    QVariant value(int row, int column) const override;
    QList<ReportColumn> columns() const override { return m_columns; }
    QColor foreground(int row, int column) const override;
    QColor background(int row, int column) const override;

    // Reads every row of an executed query. Columns named in moneyColumns
    // (lower case) hold money units and become Money; numbers the driver
    // hands over as text become numbers.
    static std::shared_ptr<TableDataSet> fromQuery(QSqlQuery &query, const QSet<QString> &moneyColumns = schemaMoneyColumns());
    static std::shared_ptr<TableDataSet> copyOf(const ReportDataSet &source);
    // Rows held as maps (a document's header, its lines). Columns in the given
    // order, then any other key in the order first met.
    static std::shared_ptr<TableDataSet> fromMaps(const QList<QVariantMap> &rows, const QStringList &columns = {});
    // Lower-case names of the columns the schema declares as money.
    static QSet<QString> schemaMoneyColumns();

private:
    QStringList m_names;
    QList<QVariantList> m_rows;
    QList<ReportColumn> m_columns;
    QHash<qint64, QPair<QColor, QColor>> m_colors;
};

// A grid's model as a data set. With columns given, they pick and name the
// model's columns (modelColumn, or the position in the list); without, every
// model column counts, named by its horizontal header. Lazily fetching models
// are fetched to the end first.
class ModelDataSet : public ReportDataSet {
public:
    explicit ModelDataSet(const QAbstractItemModel *model, const QList<ReportColumn> &columns = {}, int role = Qt::EditRole);

    int columnCount() const override { return int(m_columns.size()); }
    QString columnName(int column) const override { return m_columns.value(column).field; }
    int rowCount() const override;
    QVariant value(int row, int column) const override;
    QList<ReportColumn> columns() const override { return m_columns; }
    QColor foreground(int row, int column) const override;
    QColor background(int row, int column) const override;

private:
    int modelColumn(int column) const;
    const QAbstractItemModel *m_model;
    QList<ReportColumn> m_columns;
    int m_role;
};

} // namespace korvan
