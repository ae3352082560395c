#include "DataClearWindow.h"
#include "DataClearing.h"
#include "MessageBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

DataClearWindow::DataClearWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmDataClear"));
    setWindowTitle(QStringLiteral("数据清理"));

    auto *title = new QLabel(QStringLiteral("数据清理"));
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);

    // One group box per group, the choices in their order of execution.
    auto *groups = new QHBoxLayout;
    QGroupBox *box = nullptr;
    QVBoxLayout *boxLayout = nullptr;
    int n = 0;
    for (const ClearingChoice &c : clearingChoices()) {
        if (!box || box->title() != c.group) {
            box = new QGroupBox(c.group);
            box->setObjectName(groups->count() == 0 ? QStringLiteral("gbDocuments") : QStringLiteral("gbMaster"));
            boxLayout = new QVBoxLayout(box);
            groups->addWidget(box);
        }
        auto *check = new QCheckBox(c.caption);
        check->setObjectName(QStringLiteral("chkClear%1").arg(++n));
        boxLayout->addWidget(check);
        m_choices << check;
    }

    const auto button = [](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    auto *all = button(QStringLiteral("全选"), "btnSelectAll");
    auto *none = button(QStringLiteral("不选"), "btnSelectNone");
    auto *ok = button(QStringLiteral("确定"), "btnOK");
    auto *close = button(QStringLiteral("关闭"), "btnClose");
    connect(all, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { setAll(false); });
    connect(ok, &QPushButton::clicked, this, &DataClearWindow::okClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *choose = new QHBoxLayout;
    choose->addWidget(all);
    choose->addWidget(none);
    choose->addStretch();

    auto *hint = new QLabel(
        QStringLiteral("    清理掉不需要的数据，及测试数据，数据被清理将不能恢复，请做好备份"));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    hint->setMinimumWidth(hint->fontMetrics().horizontalAdvance(QStringLiteral("清")) * 24);
    hint->setStyleSheet(QStringLiteral("color: #b03020;"));

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addLayout(groups);
    layout->addLayout(choose);
    layout->addWidget(hint);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    DispFormPos(this, 1);
}

void DataClearWindow::setAll(bool checked)
{
    for (QCheckBox *c : m_choices) c->setChecked(checked);
}

void DataClearWindow::okClick()
{
    QList<bool> chosen;
    for (QCheckBox *c : m_choices) chosen << c->isChecked();
    ClearData(m_dm, chosen);
}

} // namespace korvan
