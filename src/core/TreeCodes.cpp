#include "TreeCodes.h"
#include "DataModule.h"
#include "Messages.h"

#include <QSqlQuery>

namespace korvan {

namespace {
const QString kSep = QStringLiteral("\\");
}

int CodeTree::findCode(const QString &code) const
{
    for (qsizetype i = 0; i < nodes.size(); ++i)
        if (nodes[i].code == code) return int(i);
    return -1;
}

int CodeTree::findPath(const QString &path) const
{
    for (qsizetype i = 0; i < nodes.size(); ++i)
        if (nodes[i].path == path) return int(i);
    return -1;
}

QList<int> CodeTree::preorder() const
{
    QList<int> out, stack{kRoot};
    if (nodes.isEmpty()) return out;
    while (!stack.isEmpty()) {
        const int n = stack.takeLast();
        out << n;
        const QList<int> &kids = nodes[n].children;
        for (auto it = kids.crbegin(); it != kids.crend(); ++it) stack << *it;
    }
    return out;
}

CodeTree LoadCodeTree(DataModule &dm, const QString &rootCaption, const QString &flag)
{
    CodeTree tree;
    tree.nodes << TreeNode{0, kTreeRootCode, rootCaption, kTreeRootPath, -1, {}};
    QSqlQuery q;
    if (!dm.OpenQuery(QStringLiteral("SELECT F_code, F_name, F_likecode FROM t_treecode WHERE F_flag = ? ORDER BY F_code"),
                      {flag}, q))
        return tree;
    int last = CodeTree::kRoot, lastLength = 0;
    while (q.next()) {
        TreeNode n;
        n.code = q.value(0).toString();
        n.name = q.value(1).toString();
        n.path = q.value(2).toString();
        n.codeLength = int(n.code.size());
        int parent;
        if (n.codeLength > lastLength) {
            parent = last;
        } else {
            int sibling = last;
            while (sibling != CodeTree::kRoot && tree.nodes[sibling].codeLength > n.codeLength)
                sibling = tree.nodes[sibling].parent;
            const bool above = sibling == CodeTree::kRoot || tree.nodes[sibling].codeLength < n.codeLength;
            parent = above ? sibling : tree.nodes[sibling].parent;
        }
        n.parent = parent;
        const int index = int(tree.nodes.size());
        tree.nodes << n;
        tree.nodes[parent].children << index;
        last = index;
        lastLength = n.codeLength;
    }
    return tree;
}

QString GetNodePath(const CodeTree &tree, int node, int which)
{
    int cur = which == 2 ? tree.node(node).parent : node;
    if (cur <= CodeTree::kRoot) return kTreeRootPath;
    QString path = kSep + tree.node(cur).name;
    while (tree.level(cur) > 1 && tree.node(cur).parent > CodeTree::kRoot) {
        cur = tree.node(cur).parent;
        path = kSep + tree.node(cur).name + path;
    }
    return kSep + path;
}

QString NextTreeCode(Database &db, const QString &code, const QString &flag, TreeCodeMode mode)
{
    const bool sibling = mode == TreeCodeMode::Sibling;
    const QString prefix = sibling ? code.left(code.size() - 3) : code;
    QString m = db.scalar(QStringLiteral("SELECT MAX(F_code) FROM t_treecode WHERE F_code LIKE ?%1 AND F_flag = ?"
                                         " AND %2(F_code) <= ?")
                              .arg(kLikeEscape, db.dialect().lengthFn),
                          {likeLiteral(prefix) + QLatin1Char('%'), flag, int(prefix.size()) + 3})
                    .toString();
    if (sibling && m.size() != code.size()) m = m.left(code.size());
    if (!sibling && m.size() == code.size()) m += QStringLiteral("000");
    QString head, tail;
    if (m.size() >= 3) {
        head = m.left(m.size() - 3);
        tail = m.right(3);
    }
    if (tail.isEmpty()) return head + QStringLiteral("001");
    const int next = tail.toInt() + 1;
    if (next > 999) return QString();
    return head + QStringLiteral("%1").arg(next, 3, 10, QLatin1Char('0'));
}

QString collapsePathBackslashes(QString path)
{
    return path.replace(QStringLiteral("\\\\\\"), QStringLiteral("\\\\"));
}

QString siblingPath(const CodeTree &tree, int node, const QString &name)
{
    const QString path = tree.level(node) <= 1 ? kTreeRootPath + name : GetNodePath(tree, node, 2) + kSep + name;
    return collapsePathBackslashes(path);
}

QString childPath(const CodeTree &tree, int node, const QString &name)
{
    const QString path = tree.isRoot(node) ? kTreeRootPath + name : tree.node(node).path + kSep + name;
    return collapsePathBackslashes(path);
}

QString renamedPath(const CodeTree &tree, int node, const QString &name)
{
    const QString parentPath = tree.node(tree.node(node).parent).path;
    const QString path = parentPath.trimmed() == kTreeRootPath ? kTreeRootPath + name : parentPath + kSep + name;
    return collapsePathBackslashes(path);
}

QString AddTreeNode(DataModule &dm, const QString &flag, const QString &anchorCode, TreeCodeMode mode,
                    const QString &name, const QString &path)
{
    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        db.lockSeries(QStringLiteral("t_treecode:") + flag);
        const QString code = NextTreeCode(db, anchorCode, flag, mode);
        if (code.isEmpty()) {
            ShowMess(treeFullMessage(), MsgInfo);
            return {};
        }
        db.exec(QStringLiteral("INSERT INTO t_treecode (F_code, F_name, F_likecode, F_flag) VALUES (?, ?, ?, ?)"),
                {code, name, path, flag});
        tx.commit();
        return code;
    } catch (const DbError &) {
        ShowMess(treeWriteFailMessage(), MsgError);
        return {};
    }
}

RenameResult RenameTreeNode(DataModule &dm, const QString &flag, const QString &code, const QString &oldPath,
                            const QString &newName, const QString &newPath)
{
    if (oldPath.trimmed().compare(newPath.trimmed(), Qt::CaseInsensitive) == 0) return RenameResult::Unchanged;
    Database &db = dm.db();
    // A value is renamed when it is the old path or continues it after a
    // separator; the comparison is exact on both engines (no LIKE, which
    // ignores ASCII case on SQLite and reads backslashes as escapes on PostgreSQL).
    const QString under = oldPath + kSep;
    const QString replace = QStringLiteral("UPDATE %1 SET %2 = CAST(? AS TEXT) || substr(%2, %3(CAST(? AS TEXT)) + 1)"
                                           " WHERE (%2 = ? OR substr(%2, 1, %3(CAST(? AS TEXT))) = ?)");
    const QVariantList params = {newPath, oldPath, oldPath, under, under};
    const QString len = db.dialect().lengthFn;
    try {
        WriteTransaction tx(db);
        try {
            db.exec(replace.arg(QStringLiteral("t_goods"), QStringLiteral("F_Type"), len), params);
            db.exec(replace.arg(QStringLiteral("depotD"), QStringLiteral("F_Type"), len), params);
            db.exec(replace.arg(QStringLiteral("ddDepotD"), QStringLiteral("F_Type"), len), params);
            db.exec(replace.arg(QStringLiteral("t_treecode"), QStringLiteral("F_likecode"), len)
                        + QStringLiteral(" AND F_flag = ?"),
                    params + QVariantList{flag});
        } catch (const DbError &) {
            ShowMess(DataModule::failMessage(), MsgError);
            return RenameResult::Failed;
        }
        db.exec(QStringLiteral("UPDATE t_treecode SET F_name = ?, F_likecode = ? WHERE F_code = ? AND F_flag = ?"),
                {newName, newPath, code, flag});
        tx.commit();
    } catch (const DbError &) {
        ShowMess(treeWriteFailMessage(), MsgError);
        return RenameResult::Failed;
    }
    return RenameResult::Renamed;
}

bool DeleteTreeNode(DataModule &dm, const QString &flag, const QString &code)
{
    if (code.isEmpty() || code == kTreeRootCode) return false;
    return dm.ExecSql(QStringLiteral("DELETE FROM t_treecode WHERE F_code LIKE ?%1 AND F_flag = ?").arg(kLikeEscape),
                      {likeLiteral(code) + QLatin1Char('%'), flag});
}

} // namespace korvan
