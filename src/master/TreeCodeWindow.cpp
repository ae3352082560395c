#include "TreeCodeWindow.h"
#include "DataModule.h"
#include "EnterCaptionDialog.h"
#include "MessageBox.h"
#include "Messages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvan {

namespace {
constexpr int NodeIndexRole = Qt::UserRole + 10;

void fillTree(QTreeWidget *view, const CodeTree &data)
{
    view->clear();
    QStyle *style = view->style();
    const QIcon rootIcon = style->standardIcon(QStyle::SP_ComputerIcon);
    const QIcon groupIcon = style->standardIcon(QStyle::SP_DirIcon);
    const QIcon leafIcon = style->standardIcon(QStyle::SP_FileIcon);
    QList<QTreeWidgetItem *> items(data.nodes.size(), nullptr);
    for (int n : data.preorder()) {
        const TreeNode &node = data.node(n);
        QTreeWidgetItem *item = node.parent < 0 ? new QTreeWidgetItem(view) : new QTreeWidgetItem(items[node.parent]);
        items[n] = item;
        item->setText(0, node.name);
        item->setData(0, NodeCodeRole, node.code);
        item->setData(0, NodeNameRole, node.name);
        item->setData(0, NodePathRole, node.path);
        item->setData(0, NodeCodeLengthRole, node.codeLength);
        item->setData(0, NodeIndexRole, n);
        item->setIcon(0, n == CodeTree::kRoot ? rootIcon
                         : (data.level(n) == 1 && !node.children.isEmpty()) ? groupIcon
                                                                             : leafIcon);
        if (data.level(n) == 1) item->setExpanded(true);
    }
    if (!items.isEmpty() && items.first()) items.first()->setExpanded(true);
}

void collectExpanded(QTreeWidgetItem *item, QSet<QString> &codes)
{
    if (item->isExpanded()) codes << item->data(0, NodeCodeRole).toString();
    for (int i = 0; i < item->childCount(); ++i) collectExpanded(item->child(i), codes);
}

void applyExpanded(QTreeWidgetItem *item, const QSet<QString> &codes)
{
    item->setExpanded(codes.contains(item->data(0, NodeCodeRole).toString()));
    for (int i = 0; i < item->childCount(); ++i) applyExpanded(item->child(i), codes);
}

QTreeWidgetItem *findIn(QTreeWidgetItem *item, int role, const QString &value)
{
    if (item->data(0, role).toString() == value) return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem *hit = findIn(item->child(i), role, value)) return hit;
    return nullptr;
}

void showItem(QTreeWidgetItem *item)
{
    for (QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent()) p->setExpanded(true);
}
} // namespace

void LoadCodeTree(QTreeWidget *view, DataModule &dm, const QString &rootCaption, const QString &flag)
{
    fillTree(view, LoadCodeTree(dm, rootCaption, flag));
}

QTreeWidgetItem *findTreeItem(QTreeWidget *view, int role, const QString &value)
{
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        if (QTreeWidgetItem *hit = findIn(view->topLevelItem(i), role, value)) return hit;
    return nullptr;
}

TreeCodeWindow::TreeCodeWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmTreeCodeMan"));
    enterCaption = [this](const QString &caption, const QString &preset) {
        EnterCaptionDialog dialog(this);
        return dialog.EnterCaption(caption, preset);
    };

    auto *hint = new QLabel(QStringLiteral("    增加节点，需先选中左边框里的节点成灰色，然后才能选择增加同级节点或子节点"));
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("tvType"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setMinimumSize(300, 380);
    m_tree->installEventFilter(this);

    struct Command { const char *name; QString caption; void (TreeCodeWindow::*run)(); };
    const QList<Command> commands = {
        {"btnAddSame", QStringLiteral("添加同类(&A)"), &TreeCodeWindow::addSiblingClick},
        {"btnAddChild", QStringLiteral("添加子类(&C)"), &TreeCodeWindow::addChildClick},
        {"btnDelete", QStringLiteral("删除(包含子类)"), &TreeCodeWindow::deleteClick},
        {"btnEdit", QStringLiteral("修    改(&E)"), &TreeCodeWindow::renameClick}};
    auto *side = new QVBoxLayout;
    auto *menu = new QMenu(this);
    for (const Command &c : commands) {
        auto *button = new QPushButton(c.caption);
        button->setObjectName(QLatin1String(c.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, c.run);
        side->addWidget(button);
        QString plain = c.caption;
        menu->addAction(plain.remove(QLatin1Char('&')), this, c.run);
    }
    side->addStretch();
    m_ok = new QPushButton(QStringLiteral("确定"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_cancel = new QPushButton(QStringLiteral("取消"));
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->hide();
        side->addWidget(b);
    }
    connect(m_ok, &QPushButton::clicked, this, &TreeCodeWindow::okClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *body = new QHBoxLayout;
    body->addWidget(m_tree, 1);
    body->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(body, 1);

    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
            [this, menu](const QPoint &pos) { menu->popup(m_tree->viewport()->mapToGlobal(pos)); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (m_pick) return pickCurrent(false);
        if (item->childCount() == 0) renameClick();
    });
    auto *del = new QShortcut(QKeySequence::Delete, this);
    connect(del, &QShortcut::activated, this, &TreeCodeWindow::deleteClick);
    auto *rename = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(rename, &QShortcut::activated, this, &TreeCodeWindow::renameClick);
}

void TreeCodeWindow::OpenTree(int mode)
{
    setWindowTitle(QStringLiteral("商品类型资料"));
    m_flag = kGoodsTypeFlag;
    m_pick = mode == Pick || mode == Pick4;
    reload(QString());
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    DispFormPos(this, 1);
}

bool TreeCodeWindow::PickNode(const QString &preset, QString &path)
{
    path = preset;
    m_ok->show();
    m_cancel->show();
    if (QTreeWidgetItem *item = findTreeItem(m_tree, NodePathRole, preset)) {
        showItem(item);
        item->setExpanded(true);
        m_tree->setCurrentItem(item);
    }
    m_tree->setFocus();
    if (exec() != QDialog::Accepted) return false;
    const Selected s = selected();
    if (s.node <= CodeTree::kRoot) return false;
    path = m_data.node(s.node).path;
    return true;
}

TreeCodeWindow::Selected TreeCodeWindow::selected() const
{
    Selected s;
    s.item = m_tree->currentItem();
    if (s.item) s.node = s.item->data(0, NodeIndexRole).toInt();
    return s;
}

void TreeCodeWindow::reload(const QString &selectCode, const QString &showCode)
{
    QSet<QString> expanded;
    const bool keep = m_tree->topLevelItemCount() > 0;
    if (keep) collectExpanded(m_tree->topLevelItem(0), expanded);
    m_data = korvan::LoadCodeTree(m_dm, kGoodsTypeRootCaption, m_flag);
    fillTree(m_tree, m_data);
    if (keep) applyExpanded(m_tree->topLevelItem(0), expanded);
    if (QTreeWidgetItem *shown = showCode.isEmpty() ? nullptr : findTreeItem(m_tree, NodeCodeRole, showCode)) {
        showItem(shown);
        m_tree->scrollToItem(shown);
    }
    QTreeWidgetItem *current = selectCode.isEmpty() ? nullptr : findTreeItem(m_tree, NodeCodeRole, selectCode);
    if (!current) current = m_tree->topLevelItem(0);
    showItem(current);
    m_tree->setCurrentItem(current);
}

void TreeCodeWindow::addSiblingClick() { addNode(TreeCodeMode::Sibling); }
void TreeCodeWindow::addChildClick() { addNode(TreeCodeMode::Child); }

void TreeCodeWindow::addNode(TreeCodeMode mode)
{
    const Selected s = selected();
    if (s.node < 0) return;
    const bool sibling = mode == TreeCodeMode::Sibling;
    const bool root = m_data.isRoot(s.node);
    if (sibling && root) {
        ShowMess(QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！"), MsgInfo);
        return;
    }
    const TreeNode &node = m_data.node(s.node);
    const QString name = enterCaption(QStringLiteral("添加 ") + node.code + QLatin1Char(' ') + node.name
                                          + (sibling ? QStringLiteral(" 同类") : QStringLiteral(" 子类")),
                                      QString());
    if (name.trimmed().isEmpty()) return;
    const QString path = sibling ? siblingPath(m_data, s.node, name) : childPath(m_data, s.node, name);
    const QString selectedCode = node.code;
    const QString code = AddTreeNode(m_dm, m_flag, root ? QString() : selectedCode, mode, name, path);
    if (!code.isEmpty()) reload(selectedCode, code);
}

void TreeCodeWindow::renameClick()
{
    const Selected s = selected();
    if (s.node <= CodeTree::kRoot) return;
    const TreeNode node = m_data.node(s.node);
    const QString oldPath = GetNodePath(m_data, s.node, 1);
    const QString name = enterCaption(QStringLiteral("修改类别 ") + node.code + QLatin1Char(' ') + node.name
                                          + QStringLiteral(" 子类"),
                                      node.name);
    if (name.trimmed().isEmpty()) return;
    const QString newPath = renamedPath(m_data, s.node, name);
    if (RenameTreeNode(m_dm, m_flag, node.code, oldPath, name, newPath) == RenameResult::Renamed) reload(node.code);
}

void TreeCodeWindow::deleteClick()
{
    const Selected s = selected();
    if (s.node <= CodeTree::kRoot) return;
    const TreeNode node = m_data.node(s.node);
    const QString question = node.children.isEmpty()
        ? QStringLiteral("真的要删除当前节点 “") + node.code + node.name + QStringLiteral("” 吗？")
        : QStringLiteral("此节点包含有子节点，真的要删除所有的子节点吗？");
    if (ShowMess(question, MsgQuestion) == AnswerNo) return;
    const QString parentCode = m_data.node(node.parent).code;
    if (DeleteTreeNode(m_dm, m_flag, node.code)) reload(parentCode);
}

void TreeCodeWindow::okClick() { pickCurrent(true); }

void TreeCodeWindow::pickCurrent(bool fromOk)
{
    const Selected s = selected();
    if (s.node < 0) return;
    if (m_data.isRoot(s.node)) {
        if (fromOk) ShowMess(QStringLiteral("不能选择根节点！"), MsgInfo);
        return;
    }
    accept();
}

bool TreeCodeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (m_pick) pickCurrent(false);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString PickGoodsType(DataModule &dm, QWidget *parent, const QString &preset)
{
    TreeCodeWindow window(dm, parent);
    window.OpenTree(TreeCodeWindow::Pick);
    QString path;
    window.PickNode(preset, path);
    return path;
}

} // namespace korvan
