#include "OperGlWindow.h"
#include "DataModule.h"
#include "LimitGlWindow.h"
#include "Messages.h"
#include "Operators.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvan {

namespace {
// A dot before each row: green while enabled, grey once disabled.
QIcon stateIcon(bool disabled)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(disabled ? QColor(0xa0, 0xa0, 0xa0) : QColor(0x2e, 0x9d, 0x4a));
    p.drawEllipse(QRectF(2, 2, 10, 10));
    if (disabled) {
        p.setPen(QPen(Qt::white, 1.6));
        p.drawLine(QPointF(4.5, 7), QPointF(9.5, 7));
    }
    return QIcon(pm);
}

void addRow(QTreeWidget *list, int n, const QStringList &texts, bool disabled)
{
    auto *item = new QTreeWidgetItem(list, QStringList{QString::number(n)} + texts);
    item->setIcon(0, stateIcon(disabled));
    item->setToolTip(0, disabled ? QStringLiteral("已禁用") : QString());
}
} // namespace

OperGlWindow::OperGlWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmOperGl"));
    setWindowTitle(QStringLiteral("操作员管理"));
    // No system buttons: "关闭" closes.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto *hint = new QLabel(QStringLiteral(
        "增加用户权限时，应该先增加角色(指的是同一类权限的用户)，然后在选择用户所属的角色，就可以了"));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: #1f4e9a;"));

    m_users = makeList("lvUser", {QStringLiteral("序"), QStringLiteral("编号"), QStringLiteral("用户名称"),
                                  QStringLiteral("角色"), QStringLiteral("用户描述")});
    m_roles = makeList("lvRole", {QStringLiteral("序"), QStringLiteral("编号"), QStringLiteral("角色名称"),
                                  QStringLiteral("角色描述")});
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pcOper"));
    m_pages->addTab(m_users, QStringLiteral(" 用户列表 "));
    m_pages->addTab(m_roles, QStringLiteral(" 角色列表 "));

    const auto button = [this](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    auto *btnNew = button(QStringLiteral("新增"), "btnNew");
    auto *btnEdit = button(QStringLiteral("修改"), "btnEdit");
    m_btnDelete = button(QStringLiteral("删除"), "btnDelete");
    auto *btnClose = button(QStringLiteral("关闭"), "btnClose");
    connect(btnNew, &QPushButton::clicked, this, &OperGlWindow::newClick);
    connect(btnEdit, &QPushButton::clicked, this, &OperGlWindow::editClick);
    connect(m_btnDelete, &QPushButton::clicked, this, &OperGlWindow::deleteClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    // The same three actions in each list's pop-up menu, with their keys.
    auto *actNew = new QAction(QStringLiteral("新增"), this);
    actNew->setObjectName(QStringLiteral("actNew"));
    actNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    auto *actEdit = new QAction(QStringLiteral("修改"), this);
    actEdit->setObjectName(QStringLiteral("actEdit"));
    actEdit->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    m_actDelete = new QAction(QStringLiteral("删除"), this);
    m_actDelete->setObjectName(QStringLiteral("actDelete"));
    m_actDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    for (QAction *a : {actNew, actEdit, m_actDelete}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    connect(actNew, &QAction::triggered, this, &OperGlWindow::newClick);
    connect(actEdit, &QAction::triggered, this, &OperGlWindow::editClick);
    connect(m_actDelete, &QAction::triggered, this, &OperGlWindow::deleteClick);
    for (QTreeWidget *list : {m_users, m_roles}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list, actNew, actEdit](const QPoint &pos) {
            QMenu menu(this);
            menu.addActions({actNew, actEdit, m_actDelete});
            menu.exec(list->viewport()->mapToGlobal(pos));
        });
        connect(list, &QTreeWidget::itemDoubleClicked, this, &OperGlWindow::editClick);
    }

    // Deleting belongs to the super user, through every way in.
    const bool superUser = dm.session().isSuperUser();
    m_btnDelete->setVisible(superUser);
    m_actDelete->setVisible(superUser);
    m_actDelete->setEnabled(superUser);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {btnNew, btnEdit, m_btnDelete, btnClose}) buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    resize(620, 420);

    reloadUsers();
    reloadRoles();
    m_pages->setCurrentIndex(0);
}

QTreeWidget *OperGlWindow::makeList(const char *name, const QStringList &columns)
{
    auto *list = new QTreeWidget;
    list->setObjectName(QLatin1String(name));
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHeaderLabels(columns);
    list->header()->setStretchLastSection(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setColumnWidth(0, 56);
    list->setColumnWidth(1, 80);
    list->setColumnWidth(2, 120);
    if (columns.size() > 4) list->setColumnWidth(3, 110);
    return list;
}

void OperGlWindow::reloadUsers()
{
    m_users->clear();
    int n = 0;
    for (const OperatorRow &r : LoadOperatorRows(m_dm)) addRow(m_users, ++n, {r.code, r.name, r.roleName, r.memo}, r.disabled);
    if (m_users->topLevelItemCount() > 0) m_users->setCurrentItem(m_users->topLevelItem(0));
}

void OperGlWindow::reloadRoles()
{
    m_roles->clear();
    int n = 0;
    for (const RoleRow &r : LoadRoleRows(m_dm)) addRow(m_roles, ++n, {r.code, r.name, r.memo}, r.disabled);
    if (m_roles->topLevelItemCount() > 0) m_roles->setCurrentItem(m_roles->topLevelItem(0));
}

bool OperGlWindow::onUserPage() const { return m_pages->currentIndex() == 0; }
QTreeWidget *OperGlWindow::currentList() const { return onUserPage() ? m_users : m_roles; }

void OperGlWindow::newClick()
{
    if (onUserPage())
        EditOperator(m_dm, QString(), this, [this] { reloadUsers(); });
    else
        EditRole(m_dm, QString(), this, [this] { reloadRoles(); });
}

void OperGlWindow::editClick()
{
    QTreeWidgetItem *item = currentList()->currentItem();
    if (!item) return;
    const QString code = item->text(1).trimmed();
    if (onUserPage()) {
        if (MayEditOperator(code)) EditOperator(m_dm, code, this, [this] { reloadUsers(); });
    } else {
        EditRole(m_dm, code, this, [this] { reloadRoles(); });
    }
}

void OperGlWindow::deleteClick()
{
    if (!m_dm.session().isSuperUser()) return;
    QTreeWidgetItem *item = currentList()->currentItem();
    if (!item) return;
    if (onUserPage()) {
        if (DeleteOperator(m_dm, item->text(1), item->text(2))) reloadUsers();
    } else if (DeleteRole(m_dm, item->text(1), item->text(2))) {
        reloadRoles();
    }
}

} // namespace korvan
