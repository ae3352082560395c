#pragma once
#include <QPointer>
#include <functional>
#include <QString>
#include <QVariant>

class QBoxLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace korvan {

class DataGrid;
class DataModule;

// The rows an edit window walks with its navigator and reopens after a save:
// the list window's, or the picker's for a new record made from a picker.
class RowCursor {
public:
    virtual ~RowCursor() = default;
    virtual int rowCount() const = 0;
    virtual int currentRow() const = 0;
    virtual void setCurrentRow(int row) = 0;
    virtual qint64 idAt(int row) const = 0;
    // Runs the list's query again and moves to the row of `code`.
    virtual void refreshAt(const QString &code) = 0;
};

// A DataGrid as a RowCursor: rows of its model, F_ID and F_Code by field.
// `reload` runs the owner's query.
class GridRowCursor : public RowCursor {
public:
    GridRowCursor(DataGrid *grid, std::function<void()> reload) : m_grid(grid), m_reload(std::move(reload)) {}
    int rowCount() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    qint64 idAt(int row) const override;
    void refreshAt(const QString &code) override;
private:
    DataGrid *m_grid;
    std::function<void()> m_reload;
};

// Moves the grid to the first row whose F_Code is `code`; false when none.
bool locateCode(DataGrid *grid, const QString &code);

// The grid's pop-up menu of every master data window: "显示字段列表" and
// "保存当前设置" (after the question) under the layout key.
QMenu *addLayoutMenu(DataGrid *grid, const QString &layoutKey);

// The small "选择(F2)" button of the pickers, drawn on the current row at two
// thirds of the grid's width once the grid has painted the row.
QPushButton *addChooseButton(DataGrid *grid);

// A labelled text box appended to a search row.
QLineEdit *addSearchBox(QBoxLayout *row, QWidget *parent, const char *name, const QString &label);
// A button appended to a row; Enter does not press it unless it is the default.
QPushButton *addButton(QBoxLayout *row, QWidget *parent, const char *name, const QString &caption);

// "真的要保存当前网格设置吗？"
inline QString saveLayoutQuestion() { return QStringLiteral("真的要保存当前网格设置吗？"); }

} // namespace korvan
