#pragma once
#include <QDialog>

class QLineEdit;

namespace korvan {

class DataModule;

// TDlgEditGoodType "批量修改货品类型": the type the selected goods move to.
class GoodsTypeDialog : public QDialog {
    Q_OBJECT
public:
    explicit GoodsTypeDialog(DataModule &dm, QWidget *parent = nullptr);
    // SelectType: the chosen type path on OK, empty otherwise.
    QString SelectType();
    QLineEdit *typeBox() const { return m_type; }
    void okClick();

private:
    DataModule &m_dm;
    QLineEdit *m_type;
};

} // namespace korvan
