#pragma once
#include "GridModel.h"

#include <QColor>
#include <QTableView>
#include <functional>

namespace korvan {

// The grid of every list, document and report window: a QTableView over a
// GridModel (which it owns), showing the model's column layout with two-level
// titles, a footer row (fixed texts and sums), title-click sorting, row
// colouring, multi-row selection and an always-visible "…" button on columns
// that ask for one. Widths, visibility and order the operator changes go
// straight back into the model's columns, so columns() is always current.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    // How a click on a title sorts: not at all, or ascending/descending first
    // and alternating after that. Memo columns (field holding "mem") only
    // show the marker.
    enum class TitleSort { None, AscendingFirst, DescendingFirst };
    struct RowColours {
        QColor background; // invalid = the grid's own
        QColor text;
    };
    using RowColourHook = std::function<RowColours(int row)>;

    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    GridModel *gridModel() const { return m_model; }
    void setColumns(const GridColumns &cols) { m_model->setColumns(cols); }
    const GridColumns &columns() const { return m_model->columns(); }

    void setTitleSort(TitleSort mode) { m_titleSort = mode; }
    TitleSort titleSort() const { return m_titleSort; }
    // The column whose title carries the sort marker, and its direction.
    int markedColumn() const { return m_markColumn; }
    Qt::SortOrder markedOrder() const { return m_markOrder; }

    // Editable cells (document lines): columns not read-only take typed input.
    void setEditable(bool editable);
    bool isEditable() const { return m_model->isEditable(); }

    void setRowColours(RowColourHook hook);
    RowColours rowColours(int row) const;

    int currentRow() const;
    QList<int> selectedRows() const; // ascending; the current row when nothing is selected
    // Where the "…" button of a cell sits, in viewport coordinates.
    QRect ellipsisRect(const QModelIndex &index) const;
    QWidget *footer() const;

signals:
    void ellipsisClicked(int row, int column);
    void rowDoubleClicked(int row);

protected:
    void updateGeometries() override;
    void mousePressEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class GridFooter;
    void applyColumns();
    void titleClicked(int section);
    void sectionMovedByUser(int logical, int oldVisual, int newVisual);

    GridModel *m_model;
    class GridHeader *m_header = nullptr;
    class GridFooter *m_footer = nullptr;
    TitleSort m_titleSort = TitleSort::AscendingFirst;
    int m_markColumn = -1;
    Qt::SortOrder m_markOrder = Qt::AscendingOrder;
    RowColourHook m_rowColours;
    bool m_syncing = false;
    bool m_inGeometry = false;
};

} // namespace korvan
