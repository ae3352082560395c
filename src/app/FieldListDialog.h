#pragma once
#include "GridLayout.h"

#include <QDialog>

class QListWidget;

namespace korvan {

// TFrmDispFieldXZ "字段列表": the titles of a grid's columns with a tick on
// each visible one.
class FieldListDialog : public QDialog {
    Q_OBJECT
public:
    explicit FieldListDialog(const GridColumns &cols, QWidget *parent = nullptr);
    // The ticks, in column order.
    QList<bool> visibility() const;
private:
    QListWidget *m_list;
};

} // namespace korvan
