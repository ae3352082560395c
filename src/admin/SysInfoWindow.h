#pragma once
#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace korvan {
class DataModule;

// TfrmSysInfoGl "软件当前设置": decimals, switches, print rows, bar code
// input and the captions of the eleven user-defined goods fields.
class SysInfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit SysInfoWindow(DataModule &dm, QWidget *parent = nullptr);
    void okClick();

private:
    DataModule &m_dm;
    QSpinBox *m_qty, *m_price, *m_amount, *m_printRows;
    QCheckBox *m_autoCode, *m_lastPrice, *m_lastSupplierPrice, *m_barcode;
    std::array<QCheckBox *, 11> m_fieldShown{};
    std::array<QLineEdit *, 11> m_fieldCaption{};
};

// Makes TFrmUserInfo and TfrmSysInfoGl known to the main window (modal).
void registerSettingsWindows();

} // namespace korvan
