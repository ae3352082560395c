#include "SupplierPicker.h"
#include "DataGrid.h"
#include "DataModule.h"
#include "GridServices.h"
#include "MessageBox.h"
#include "SupplierEditDialog.h"
#include "SupplierGroupPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>

namespace korvan {

SupplierPicker::SupplierPicker(DataModule &dm, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_grid(new DataGrid(this)), m_cursor(m_grid, [this] { search(); })
{
    setObjectName(QStringLiteral("TDlgCltXz"));
    setWindowTitle(QStringLiteral("供应商资料选择"));

    auto *bar = new QHBoxLayout;
    m_code = addSearchBox(bar, this, "edtCode", QStringLiteral("编    号："));
    m_name = addSearchBox(bar, this, "edtName", QStringLiteral("名    称："));
    m_phone = addSearchBox(bar, this, "edtPhone", QStringLiteral("电    话："));
    for (QLineEdit *box : {m_code, m_name, m_phone}) connect(box, &QLineEdit::textChanged, this, &SupplierPicker::search);
    QPushButton *searchButton = addButton(bar, this, "btnSearch", QStringLiteral("查询"));

    m_groups = new SupplierGroupPanel(dm, true, this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    GridColumns cols;
    LoadGridLayout(dm, QStringLiteral("dlgcltxz"), cols);
    m_grid->setColumns(cols);
    addLayoutMenu(m_grid, QStringLiteral("dlgcltxz"));
    QPushButton *choose = addChooseButton(m_grid);
    auto *split = new QSplitter(this);
    split->addWidget(m_groups);
    split->addWidget(m_grid);
    split->setStretchFactor(1, 1);
    split->setSizes({160, 640});

    auto *bottom = new QHBoxLayout;
    QPushButton *add = addButton(bottom, this, "btnNew", QStringLiteral("新增单位"));
    bottom->addStretch(1);
    QPushButton *ok = addButton(bottom, this, "btnOK", QStringLiteral("确定"));
    ok->setDefault(true);
    QPushButton *cancel = addButton(bottom, this, "btnCancel", QStringLiteral("取消"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
    resize(820, 480);

    connect(searchButton, &QPushButton::clicked, this, &SupplierPicker::search);
    connect(m_groups, &SupplierGroupPanel::groupChosen, this, &SupplierPicker::search);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &QDialog::accept);
    connect(choose, &QPushButton::clicked, this, &QDialog::accept);
    connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &SupplierPicker::newSupplierClick);
}

void SupplierPicker::search()
{
    const ListQuery q = SupplierPickerQuery(m_dm.db().dialect(), m_kind, m_code->text(), m_name->text(),
                                            m_phone->text(), m_groups->filter());
    m_grid->gridModel()->openQuery(m_dm, q.sql, q.params);
    m_grid->gridModel()->fetchAll();
    m_cursor.setCurrentRow(0);
}

bool SupplierPicker::PickSupplier(const QString &preset, QString &name)
{
    name = preset;
    m_groups->fill(); // runs the search
    if (exec() != QDialog::Accepted || m_cursor.rowCount() == 0 || m_cursor.currentRow() < 0) return false;
    name = m_grid->gridModel()->value(m_cursor.currentRow(), QStringLiteral("F_Name")).toString();
    return true;
}

void SupplierPicker::newSupplierClick()
{
    SupplierEditDialog dlg(m_dm, &m_cursor, this);
    DispFormPos(&dlg, 1);
    dlg.setPartnerKind(m_kind);
    dlg.SetPickerMode(true);
    dlg.EditPartner(0);
}

QString PickSupplier(DataModule &dm, QWidget *parent, const QString &preset)
{
    SupplierPicker picker(dm, parent);
    QString name;
    picker.PickSupplier(preset, name);
    return name;
}

} // namespace korvan
