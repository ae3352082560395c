#include "SysInfoWindow.h"
#include "DataModule.h"
#include "MessageBox.h"
#include "Messages.h"
#include "SystemSettings.h"
#include "UserInfoWindow.h"
#include "WindowRegistry.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korvan {

namespace {
QSpinBox *spinBox(const QString &name, int min, int max, int value)
{
    auto *s = new QSpinBox;
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setMinimumWidth(70);
    return s;
}
QCheckBox *checkBox(const QString &name, const QString &caption, bool checked)
{
    auto *c = new QCheckBox(caption);
    c->setObjectName(name);
    c->setChecked(checked);
    return c;
}
} // namespace

SysInfoWindow::SysInfoWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TfrmSysInfoGl"));
    setWindowTitle(QStringLiteral("软件当前设置"));
    const SoftwareSettings s = CurrentSoftwareSettings(dm);

    // " 软件设置 "
    auto *decimals = new QGroupBox(QStringLiteral("保留小数点位数"));
    decimals->setObjectName(QStringLiteral("GroupBox1"));
    auto *decimalRow = new QHBoxLayout(decimals);
    const auto addSpin = [decimalRow](const QString &label, QSpinBox *box) {
        auto *caption = new QLabel(label);
        caption->setBuddy(box);
        decimalRow->addWidget(caption);
        decimalRow->addWidget(box);
        decimalRow->addSpacing(12);
    };
    addSpin(QStringLiteral("数量："), m_qty = spinBox(QStringLiteral("seAmount"), kMinDecimals, kMaxDecimals, s.switches.qtyDecimals));
    addSpin(QStringLiteral("单价："), m_price = spinBox(QStringLiteral("sePrice"), kMinDecimals, kMaxDecimals, s.switches.priceDecimals));
    addSpin(QStringLiteral("金额："), m_amount = spinBox(QStringLiteral("seTotal"), kMinDecimals, kMaxDecimals, s.switches.amountDecimals));
    decimalRow->addStretch();

    m_autoCode = checkBox(QStringLiteral("cbAutoCode"), QStringLiteral("自动生成货品编码"), s.switches.autoGoodsCode);
    auto *note = new QLabel(QStringLiteral("    * 注意：如果选择自动货品编号，最好在使用些设置前，清空货品资料重新录入，否则有可能造成数据编号的错误！"));
    note->setObjectName(QStringLiteral("lblNote"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_lastPrice = checkBox(QStringLiteral("cbLastPrice"), QStringLiteral("显示上次单价"), s.switches.lastPrice);
    m_lastSupplierPrice = checkBox(QStringLiteral("cbLastSupplierPrice"), QStringLiteral("显示上次本供应商单价"),
                                   s.switches.lastSupplierPrice && !s.switches.lastPrice);
    connect(m_lastPrice, &QCheckBox::toggled, this, [this](bool on) { if (on) m_lastSupplierPrice->setChecked(false); });
    connect(m_lastSupplierPrice, &QCheckBox::toggled, this, [this](bool on) { if (on) m_lastPrice->setChecked(false); });
    m_printRows = spinBox(QStringLiteral("sePrintNum"), kMinPrintRows, kMaxPrintRows, s.printRows);
    auto *printCaption = new QLabel(QStringLiteral("打印固定行数："));
    printCaption->setBuddy(m_printRows);
    auto *printRow = new QHBoxLayout;
    printRow->addWidget(printCaption);
    printRow->addWidget(m_printRows);
    printRow->addStretch();
    m_barcode = checkBox(QStringLiteral("cbTM"), QStringLiteral("启用条码输入"), s.barcodeInput);

    auto *software = new QWidget;
    software->setObjectName(QStringLiteral("TabSheet1"));
    auto *softwareLayout = new QVBoxLayout(software);
    softwareLayout->addWidget(decimals);
    softwareLayout->addWidget(m_autoCode);
    softwareLayout->addWidget(note);
    softwareLayout->addWidget(m_lastPrice);
    softwareLayout->addWidget(m_lastSupplierPrice);
    softwareLayout->addLayout(printRow);
    softwareLayout->addWidget(m_barcode);
    softwareLayout->addStretch();

    // "自定义字段"
    auto *fields = new QWidget;
    fields->setObjectName(QStringLiteral("TabSheet2"));
    auto *fieldsLayout = new QVBoxLayout(fields);
    auto *hint = new QLabel(QStringLiteral("货品资料中的自定义项目，根据你的需要，可以自定义字段名称 \n"
                                           "字符项1--字符项5为文本型;  数值项1--数值项3为数值型;  \n"
                                           "日期项1--日期项3为日期型"));
    hint->setObjectName(QStringLiteral("lblHint"));
    fieldsLayout->addWidget(hint);
    auto *grid = new QGridLayout;
    static const QStringList kFieldNames = {
        QStringLiteral("字符项一"), QStringLiteral("字符项二"), QStringLiteral("字符项三"), QStringLiteral("字符项四"),
        QStringLiteral("字符项五"), QStringLiteral("数值项一"), QStringLiteral("数值项二"), QStringLiteral("数值项三"),
        QStringLiteral("日期项一"), QStringLiteral("日期项二"), QStringLiteral("日期项三")};
    for (int n = 0; n < 11; ++n) {
        QCheckBox *shown = checkBox(QStringLiteral("cbField%1").arg(n + 1), kFieldNames[n], s.fieldVisible[size_t(n)]);
        auto *caption = new QLineEdit(s.fieldCaptions[size_t(n)]);
        caption->setObjectName(QStringLiteral("edtField%1").arg(n + 1));
        caption->setMaxLength(50);
        caption->setEnabled(shown->isChecked());
        connect(shown, &QCheckBox::toggled, caption, &QLineEdit::setEnabled);
        m_fieldShown[size_t(n)] = shown;
        m_fieldCaption[size_t(n)] = caption;
        // Five text fields on the left, the numbers and dates on the right.
        const int row = n < 5 ? n : n - 5, col = n < 5 ? 0 : 2;
        grid->addWidget(shown, row, col);
        grid->addWidget(caption, row, col + 1);
    }
    grid->setColumnMinimumWidth(1, 150);
    grid->setColumnMinimumWidth(3, 150);
    fieldsLayout->addLayout(grid);
    fieldsLayout->addStretch();

    auto *tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->addTab(software, QStringLiteral(" 软件设置 "));
    tabs->addTab(fields, QStringLiteral("自定义字段"));

    auto *ok = new QPushButton(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *close = new QPushButton(QStringLiteral("关闭"));
    close->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *b : {ok, close}) b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &SysInfoWindow::okClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    DispFormPos(this, 1);
}

void SysInfoWindow::okClick()
{
    SoftwareSettings s;
    s.switches.qtyDecimals = m_qty->value();
    s.switches.priceDecimals = m_price->value();
    s.switches.amountDecimals = m_amount->value();
    s.switches.autoGoodsCode = m_autoCode->isChecked();
    s.setLastPrice(m_lastPrice->isChecked());
    s.setLastSupplierPrice(m_lastSupplierPrice->isChecked());
    s.printRows = m_printRows->value();
    s.barcodeInput = m_barcode->isChecked();
    for (size_t n = 0; n < 11; ++n) {
        s.fieldCaptions[n] = m_fieldCaption[n]->text();
        s.fieldVisible[n] = m_fieldShown[n]->isChecked();
    }
    if (!SaveSoftwareSettings(m_dm, s)) return;
    ShowMess(QStringLiteral("当前软件设置更改成功！"), MsgInfo);
    accept();
}

void registerSettingsWindows()
{
    registerWindow(QStringLiteral("TFrmUserInfo"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new UserInfoWindow(dm, parent); });
    registerWindow(QStringLiteral("TfrmSysInfoGl"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new SysInfoWindow(dm, parent); });
}

} // namespace korvan
