#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;

namespace korvan {
class DataModule;

// A check list laid out in `columns` columns, filled row by row.
QListWidget *makeColumnCheckList(const QString &objectName, const QStringList &items, int columns);
// Which items are ticked, in list order; ticking from such flags.
QList<bool> checkedFlags(const QListWidget *list);
void setCheckedFlags(QListWidget *list, const QList<bool> &flags);

// TDLGselectDepotSTR: ticks warehouses for an operator.
class SelectDepotDialog : public QDialog {
    Q_OBJECT
public:
    SelectDepotDialog(const QStringList &warehouses, const QString &current, QWidget *parent = nullptr);
    // 'A','B' for the ticked warehouses.
    QString result() const;

private:
    QStringList m_warehouses;
    QListWidget *m_list;
};

// The picker as the operator editor uses it: the new value on OK, the
// current one on cancel or when there is no warehouse to choose.
QString PickWarehouses(DataModule &dm, const QString &current, QWidget *parent);

} // namespace korvan
