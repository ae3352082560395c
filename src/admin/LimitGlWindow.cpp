#include "LimitGlWindow.h"
#include "DataModule.h"
#include "SelectDepotDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korvan {

namespace {
QLineEdit *lineEdit(const char *name, int width = 160)
{
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(width);
    return box;
}

QPlainTextEdit *memo(const char *name)
{
    auto *box = new QPlainTextEdit;
    box->setObjectName(QLatin1String(name));
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().height() * 3 + 12);
    return box;
}

void addRow(QFormLayout *form, const QString &caption, QWidget *box, QWidget *field = nullptr)
{
    auto *label = new QLabel(caption);
    label->setBuddy(box);
    form->addRow(label, field ? field : box);
}

// A box that cannot change: disabled and tinted.
void lock(QLineEdit *box)
{
    box->setEnabled(false);
    box->setStyleSheet(QStringLiteral("QLineEdit:disabled { background: #e8eef6; color: #333; }"));
}

// "chkNew" for F_new, "chkYGedit" for F_YGedit.
QString rightObjectName(const QString &column)
{
    QString name = column.mid(2);
    name[0] = name[0].toUpper();
    return QStringLiteral("chk") + name;
}
} // namespace

LimitGlWindow::LimitGlWindow(DataModule &dm, Mode mode, const QString &code, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_mode(mode), m_code(code)
{
    setObjectName(QStringLiteral("TFrmLimitGl"));
    const bool oper = mode == Mode::Operator;
    setWindowTitle(oper ? QStringLiteral("用户权限") : QStringLiteral("角色权限"));
    pickWarehouses = [this](const QString &current) { return PickWarehouses(m_dm, current, this); };

    auto *hint = new QLabel(QStringLiteral("角色指的是权限级别，对于增加的操作员，必须选择角色才可以给他分配操作权限"));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: #1f4e9a;"));

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pcLimit"));
    m_pages->addTab(buildOperatorPage(), QStringLiteral(" 操 作 员 "));
    m_pages->addTab(buildRolePage(), QStringLiteral(" 角    色 "));
    m_pages->addTab(buildLimitPage(), QStringLiteral(" 权限设置 "));
    m_pages->setTabVisible(0, oper);
    m_pages->setTabVisible(1, !oper);
    m_pages->setTabVisible(2, !oper);
    m_pages->setCurrentIndex(oper ? 0 : 1);

    m_chkDisabled = new QCheckBox(oper ? QStringLiteral("用户禁用") : QStringLiteral("角色禁用"));
    m_chkDisabled->setObjectName(QStringLiteral("chkDisabled"));
    auto *save = new QPushButton(QStringLiteral("保存"));
    save->setObjectName(QStringLiteral("btnSave"));
    auto *exit = new QPushButton(QStringLiteral("退出"));
    exit->setObjectName(QStringLiteral("btnExit"));
    connect(save, &QPushButton::clicked, this, &LimitGlWindow::saveClick);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_chkDisabled);
    bottom->addStretch();
    bottom->addWidget(save);
    bottom->addWidget(exit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_pages);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (oper)
        loadOperator();
    else
        loadRole();
}

QWidget *LimitGlWindow::buildOperatorPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsOper"));
    m_edtCode = lineEdit("edtCode");
    m_edtName = lineEdit("edtName");
    m_edtPassword = lineEdit("edtPassword");
    m_edtPassword->setEchoMode(QLineEdit::Password);
    m_cbRole = new QComboBox;
    m_cbRole->setObjectName(QStringLiteral("cbRole"));
    m_cbRole->setEditable(true);
    m_cbRole->setInsertPolicy(QComboBox::NoInsert);
    m_cbRole->addItems(OfferedRoleNames(m_dm));
    m_memDesc = memo("memDesc");

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addRow(form, QStringLiteral("用户编号："), m_edtCode);
    addRow(form, QStringLiteral("用户名称："), m_edtName);
    addRow(form, QStringLiteral("初始密码："), m_edtPassword);
    addRow(form, QStringLiteral("所属角色："), m_cbRole);
    addRow(form, QStringLiteral("详细描述："), m_memDesc);

    auto *rights = new QGroupBox(QStringLiteral("操作权限"));
    rights->setObjectName(QStringLiteral("gbRights"));
    auto *grid = new QGridLayout(rights);
    int n = 0;
    for (const OperatorRight &r : operatorRights()) {
        auto *box = new QCheckBox(r.caption);
        box->setObjectName(rightObjectName(r.column));
        m_rights << box;
        // The five document rights in one column, the others beside them.
        grid->addWidget(box, n < 5 ? n : n - 5, n < 5 ? 0 : 1);
        ++n;
    }

    auto *scope = new QGroupBox(QStringLiteral("仓库权限"));
    scope->setObjectName(QStringLiteral("rgDepot"));
    m_rbAll = new QRadioButton(QStringLiteral("全部显示所有仓库"));
    m_rbAll->setObjectName(QStringLiteral("rbAllDepot"));
    m_rbOwn = new QRadioButton(QStringLiteral("只看自己所属仓库"));
    m_rbOwn->setObjectName(QStringLiteral("rbOwnDepot"));
    auto *group = new QButtonGroup(scope);
    group->addButton(m_rbAll, 0);
    group->addButton(m_rbOwn, 1);
    m_edtDepot = lineEdit("edtDepot", 200);
    m_btnDepot = new QPushButton(QStringLiteral("..."));
    m_btnDepot->setObjectName(QStringLiteral("btnDepot"));
    m_btnDepot->setFixedWidth(32);
    m_btnDepot->setAccessibleName(QStringLiteral("仓库选择"));
    auto *depotRow = new QHBoxLayout;
    depotRow->addWidget(m_edtDepot);
    depotRow->addWidget(m_btnDepot);
    auto *depotLabel = new QLabel(QStringLiteral("所属仓库："));
    depotLabel->setObjectName(QStringLiteral("lblDepot"));
    depotLabel->setBuddy(m_edtDepot);
    auto *scopeLayout = new QGridLayout(scope);
    scopeLayout->addWidget(m_rbAll, 0, 0, 1, 2);
    scopeLayout->addWidget(m_rbOwn, 1, 0, 1, 2);
    scopeLayout->addWidget(depotLabel, 2, 0);
    scopeLayout->addLayout(depotRow, 2, 1);
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) { if (on) scopeChanged(); });
    connect(m_btnDepot, &QPushButton::clicked, this, [this] { m_edtDepot->setText(pickWarehouses(m_edtDepot->text())); });

    auto *right = new QVBoxLayout;
    right->addWidget(rights);
    right->addWidget(scope);
    right->addStretch();
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(right);
    return page;
}

QWidget *LimitGlWindow::buildRolePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsRole"));
    m_edtRoleCode = lineEdit("edtRoleCode", 220);
    m_edtRoleName = lineEdit("edtRoleName", 220);
    m_memRoleDesc = memo("memRoleDesc");
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addRow(form, QStringLiteral("角色编号："), m_edtRoleCode);
    addRow(form, QStringLiteral("角色名称："), m_edtRoleName);
    addRow(form, QStringLiteral("详细描述："), m_memRoleDesc);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch();
    return page;
}

QWidget *LimitGlWindow::buildLimitPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsLimit"));
    m_limits = makeColumnCheckList(QStringLiteral("clbLimits"),
                                   m_mode == Mode::Role ? PermissionItemNames(m_dm) : QStringList(), 4);
    auto *all = new QPushButton(QStringLiteral("全选"));
    all->setObjectName(QStringLiteral("btnSelectAll"));
    auto *none = new QPushButton(QStringLiteral("清除"));
    none->setObjectName(QStringLiteral("btnClearAll"));
    connect(all, &QPushButton::clicked, this, [this] { setCheckedFlags(m_limits, QList<bool>(m_limits->count(), true)); });
    connect(none, &QPushButton::clicked, this, [this] { setCheckedFlags(m_limits, {}); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(all);
    buttons->addWidget(none);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_limits);
    layout->addLayout(buttons);
    return page;
}

void LimitGlWindow::scopeChanged()
{
    const bool own = m_rbOwn->isChecked();
    if (!own) m_edtDepot->clear();
    m_edtDepot->setVisible(own);
    m_btnDepot->setVisible(own);
    if (QWidget *label = findChild<QWidget *>(QStringLiteral("lblDepot"))) label->setVisible(own);
}

void LimitGlWindow::clearForm()
{
    m_chkDisabled->setChecked(false);
    if (m_mode == Mode::Operator) {
        for (QLineEdit *box : {m_edtCode, m_edtName, m_edtPassword, m_edtDepot}) box->clear();
        m_cbRole->setCurrentIndex(-1);
        m_cbRole->setEditText(QString());
        m_memDesc->clear();
        for (QCheckBox *box : m_rights) box->setChecked(true);
        m_rbAll->setChecked(true);
        scopeChanged();
        m_edtCode->setFocus();
    } else {
        m_edtRoleCode->clear();
        m_edtRoleName->clear();
        m_memRoleDesc->clear();
        setCheckedFlags(m_limits, {});
        m_pages->setCurrentIndex(1);
        m_edtRoleCode->setFocus();
    }
}

void LimitGlWindow::loadOperator()
{
    clearForm();
    if (m_code.isEmpty()) return;
    const std::optional<OperatorForm> f = LoadOperator(m_dm, m_code);
    if (!f) return;
    m_edtCode->setText(f->code);
    m_edtName->setText(f->name);
    m_cbRole->setCurrentIndex(m_cbRole->findText(f->roleName));
    m_cbRole->setEditText(f->roleName);
    m_memDesc->setPlainText(f->memo);
    m_chkDisabled->setChecked(f->disabled);
    for (int i = 0; i < m_rights.size(); ++i) m_rights[i]->setChecked(f->rights[size_t(i)]);
    (f->warehouseScope == 1 ? m_rbOwn : m_rbAll)->setChecked(true);
    scopeChanged();
    m_edtDepot->setText(f->warehouses);
    lock(m_edtCode);
    m_edtName->setFocus();
}

void LimitGlWindow::loadRole()
{
    clearForm();
    if (m_code.isEmpty()) return;
    const std::optional<RoleForm> f = LoadRole(m_dm, m_code);
    if (!f) return;
    m_edtRoleCode->setText(f->code);
    m_edtRoleName->setText(f->name);
    m_memRoleDesc->setPlainText(f->memo);
    m_chkDisabled->setChecked(f->disabled);
    for (int i = 0; i < m_limits->count(); ++i)
        m_limits->item(i)->setCheckState(f->items.contains(m_limits->item(i)->text()) ? Qt::Checked : Qt::Unchecked);
    lock(m_edtRoleCode);
    m_edtRoleName->setFocus();
}

void LimitGlWindow::focusField(AccessField field)
{
    QWidget *target = nullptr;
    if (m_mode == Mode::Operator) {
        m_pages->setCurrentIndex(0);
        target = field == AccessField::Code ? static_cast<QWidget *>(m_edtCode)
                 : field == AccessField::Role ? static_cast<QWidget *>(m_cbRole)
                 : field == AccessField::Warehouses ? static_cast<QWidget *>(m_edtDepot) : nullptr;
    } else if (field == AccessField::Code) {
        m_pages->setCurrentIndex(1);
        target = m_edtRoleCode;
    }
    if (target) target->setFocus();
}

void LimitGlWindow::saveClick()
{
    SaveResult r;
    QString code;
    if (m_mode == Mode::Operator) {
        OperatorForm f;
        f.code = m_edtCode->text();
        f.name = m_edtName->text();
        f.password = m_edtPassword->text();
        f.roleName = m_cbRole->currentText();
        f.memo = m_memDesc->toPlainText();
        f.disabled = m_chkDisabled->isChecked();
        for (int i = 0; i < m_rights.size(); ++i) f.rights[size_t(i)] = m_rights[i]->isChecked();
        f.warehouseScope = m_rbOwn->isChecked() ? 1 : 0;
        f.warehouses = m_edtDepot->text();
        r = SaveOperator(m_dm, f, m_code);
        code = m_code.isEmpty() ? f.code.trimmed() : m_code;
    } else {
        RoleForm f;
        f.code = m_edtRoleCode->text();
        f.name = m_edtRoleName->text();
        f.memo = m_memRoleDesc->toPlainText();
        f.disabled = m_chkDisabled->isChecked();
        for (int i = 0; i < m_limits->count(); ++i)
            if (m_limits->item(i)->checkState() == Qt::Checked) f.items << m_limits->item(i)->text();
        r = SaveRole(m_dm, f, m_code);
        code = m_code.isEmpty() ? f.code.trimmed() : m_code;
    }
    if (!r.saved) return focusField(r.focus);
    m_savedCode = code;
    emit saved();
    if (m_code.isEmpty())
        clearForm(); // the next new one
    else
        accept();
}

namespace {
QString runEditor(DataModule &dm, LimitGlWindow::Mode mode, const QString &code, QWidget *parent,
                  const std::function<void()> &saved)
{
    LimitGlWindow editor(dm, mode, code, parent);
    if (saved) QObject::connect(&editor, &LimitGlWindow::saved, &editor, saved);
    return editor.exec() == QDialog::Accepted ? editor.savedCode() : QString();
}
} // namespace

QString EditOperator(DataModule &dm, const QString &code, QWidget *parent, const std::function<void()> &saved)
{
    return runEditor(dm, LimitGlWindow::Mode::Operator, code, parent, saved);
}

QString EditRole(DataModule &dm, const QString &code, QWidget *parent, const std::function<void()> &saved)
{
    return runEditor(dm, LimitGlWindow::Mode::Role, code, parent, saved);
}

} // namespace korvan
