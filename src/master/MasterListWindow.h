#pragma once
#include "MasterCommon.h"
#include "MasterList.h"
#include "GridLayout.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;

namespace korvan {

class DataGrid;
class DataModule;

// What a master data list is: its query, its layout and its captions.
struct MasterListConfig {
    QString caption;          // window title
    MasterListDecl decl;
    QString layoutKey;        // cfg_Grid key
    QString disabledCaption;  // "包含已停用" / "包含已离职"
    QString reportName;       // report layout name; the price suffix is added when asked
    bool reportPriceSuffix = false;
    QString exportName;       // proposed file name of "导出"
    bool searchOnShow = true; // the goods list stays empty until the first search
};

// The list window of goods, suppliers and employees: tool bar (新增 修改 删除
// 首项 前项 后项 末项 打印 设置 导出 退出), search bar (查询类型 / 查询内容 / 查询 /
// include disabled), an optional panel on the left, the grid with its stored
// layout, the record count, disabled rows in red, the shared keys. A list is a
// subclass that supplies its editor, its delete rule and, where it needs
// them, a side panel and an extra filter.
class MasterListWindow : public QWidget, public RowCursor {
    Q_OBJECT
public:
    MasterListWindow(DataModule &dm, MasterListConfig config, QWidget *parent = nullptr);
    ~MasterListWindow() override;

    DataModule &dm() const { return m_dm; }
    const Session &session() const;
    const MasterListConfig &config() const { return m_config; }
    DataGrid *grid() const { return m_grid; }
    QVariant currentValue(const QString &field) const;
    QString recordCountText() const;

    // Runs the list query from the current filters.
    void search();
    // The query last run (reopened after saves and deletes).
    const ListQuery &lastQuery() const { return m_query; }

    // RowCursor: the rows the edit window navigates.
    int rowCount() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    qint64 idAt(int row) const override;
    void refreshAt(const QString &code) override;

    void newClick();
    void editClick();
    void deleteClick();
    void printClick();
    void designClick();
    void exportClick();

protected:
    // Builds the widgets; the subclass calls it at the end of its constructor.
    void build();
    // The panel on the left (type tree, group list); none by default.
    virtual QWidget *createSidePanel() { return nullptr; }
    virtual SqlFilter extraFilter() const { return {}; }
    // Whether a search may run now (the goods list needs a type node).
    virtual bool canSearch() const { return true; }
    // Price hiding, user-field captions: the columns before they are shown.
    virtual void prepareColumns(GridColumns &cols) { Q_UNUSED(cols); }
    virtual void extendMenu(QMenu *menu) { Q_UNUSED(menu); }
    // mode 0 new, 1 edit of the current row.
    virtual void openEditor(int mode) = 0;
    // Asks, checks and deletes the current row; true when it was deleted.
    virtual bool deleteCurrent() = 0;
    // Whether the operator may change this list's records.
    virtual bool mayEdit() const = 0;

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // The search bar, for a window's own controls.
    QHBoxLayout *searchBar() const { return m_searchBar; }
    // Reopens the last query and keeps the current position where it can.
    void reopen();
    // The delete question; true on yes.
    static bool confirmDelete(const QString &question);

private:
    void fieldChanged(int index);
    void updateNavigation();
    void move(int row);
    QString reportName() const;
    QAction *addTool(const QString &name, const QString &caption, const QKeySequence &key, void (MasterListWindow::*slot)());

    DataModule &m_dm;
    MasterListConfig m_config;
    ListQuery m_query;
    bool m_shown = false;
    DataGrid *m_grid = nullptr;
    QToolBar *m_tools = nullptr;
    QHBoxLayout *m_searchBar = nullptr;
    QComboBox *m_field = nullptr;
    QLineEdit *m_text = nullptr;
    QComboBox *m_choice = nullptr;
    QPushButton *m_searchButton = nullptr;
    QCheckBox *m_disabled = nullptr;
    QLabel *m_countPanel = nullptr;
};

} // namespace korvan
