#pragma once
#include "Suppliers.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

namespace korvan {

// The group list beside the supplier list and the supplier picker: a title,
// "全部" and one row per salesperson or partner type, the grouping drop-down
// ("业务员" or "类  型") and "刷新列表".
class SupplierGroupPanel : public QWidget {
    Q_OBJECT
public:
    SupplierGroupPanel(DataModule &dm, bool picker, QWidget *parent = nullptr);
    SupplierGrouping grouping() const;
    // The condition of the selected row; none for "全部".
    SqlFilter filter() const;
    // Fills the list for the chosen grouping and selects "全部".
    void fill();

signals:
    // A row was chosen, or the list was filled.
    void groupChosen();

private:
    DataModule &m_dm;
    bool m_picker;
    QLabel *m_title;
    QListWidget *m_list;
    QComboBox *m_grouping;
};

} // namespace korvan
