#pragma once
#include "Goods.h"
#include "MasterCommon.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace korvan {

class DataGrid;
class DataModule;

// TDlgGoodXz "货品选择": the one dialog through which goods are chosen, either
// one code for a goods box (PickGoods) or, for the order, receipt and return
// windows, one new document line per goods picked (AddGoodsLines).
class GoodsPicker : public QDialog {
    Q_OBJECT
public:
    explicit GoodsPicker(DataModule &dm, QWidget *parent = nullptr);

    // PickGoods: every goods not disabled at first. On OK with a non-empty
    // list `code` becomes the chosen goods' code and the result is true;
    // otherwise `code` is the preset.
    bool PickGoods(const QString &preset, QString &code);
    // AddGoodsLines: each goods picked ("选择(F2)", F2, a double click; "确定"
    // picks and closes) becomes a line of `target` at once and leaves the list
    // for the rest of the run. The list is empty until a type is chosen.
    void AddGoodsLines(GoodsLineTarget &target);

    DataGrid *grid() const { return m_grid; }
    QTreeWidget *typeTree() const { return m_tree; }
    QString countText() const;
    void search();
    void choose();   // "选择(F2)", F2, double click
    void okClick();  // "确定"
    void newGoodsClick();

    // Rows are shown a page at once; the rest load while idle (or at once
    // when needed), so a keystroke never waits for thousands of rows.
    static constexpr int kFirstPage = 200;
    static constexpr int kChunk = 1000;
    void loadAll();

private:
    void openList(const ListQuery &query);
    void loadMore(int serial);
    bool locate(const QString &code);
    void addCurrentLine();
    GoodsPickerFilter filter() const;

    DataModule &m_dm;
    GoodsLineTarget *m_target = nullptr;
    ListQuery m_query;
    int m_total = 0;     // rows of the current list
    int m_loaded = 0;    // rows read so far
    int m_serial = 0;    // the list being loaded
    QLineEdit *m_name, *m_code, *m_spec;
    QTreeWidget *m_tree;
    DataGrid *m_grid;
    QLabel *m_count;
    GridRowCursor m_cursor; // the rows a new goods is shown among
};

// The goods picker for a goods code box: the chosen code, or `preset`.
QString PickGoods(DataModule &dm, QWidget *parent, const QString &preset);
// Runs a line-adding pick for a document window.
void AddGoodsLines(DataModule &dm, QWidget *parent, GoodsLineTarget &target);

} // namespace korvan
