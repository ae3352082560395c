#pragma once
#include <QDialog>

class QCheckBox;

namespace korvan {
class DataModule;

// TFrmDataClear "数据清理": empties the chosen groups of tables.
class DataClearWindow : public QDialog {
    Q_OBJECT
public:
    explicit DataClearWindow(DataModule &dm, QWidget *parent = nullptr);

private:
    void setAll(bool checked);
    void okClick();

    DataModule &m_dm;
    QList<QCheckBox *> m_choices;
};

} // namespace korvan
