#pragma once
#include <QDialog>

class QLineEdit;

namespace korvan {

// TDLGeditCurList "批量修改当前列": one value for a whole column.
class EditColumnDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditColumnDialog(QWidget *parent = nullptr);
    QString value() const;
private:
    QLineEdit *m_edit;
};

// Shows the dialog modally: the text typed on "确定", an empty text otherwise
// (the caller treats empty as cancel).
QString AskColumnValue(QWidget *parent = nullptr);

} // namespace korvan
