#pragma once
#include <QList>
#include <QString>

namespace korvan {
class Database;
class DataModule;

// Trees of t_treecode. A node's code is its parent's code followed by three
// digits of its own (001, 001001…); its type path spells the names from the
// top down: "\\A" for a top-level node, "\\A\B" below it. Goods and document
// lines store the path in F_Type, and a filter by type is a prefix match on it.
inline const QString kGoodsTypeFlag = QStringLiteral("goodtype");
inline const QString kGoodsTypeRootCaption = QStringLiteral("商品类型");
inline const QString kTreeRootCode = QStringLiteral("000");
inline const QString kTreeRootPath = QStringLiteral("\\\\");

// tNodeData: what each node of a loaded tree holds.
struct TreeNode {
    int codeLength = 0; // 0 for the root
    QString code;
    QString name;
    QString path;
    int parent = -1;
    QList<int> children;
};

// A loaded tree; node 0 is the root, which is not stored.
struct CodeTree {
    static constexpr int kRoot = 0;
    QList<TreeNode> nodes;

    const TreeNode &node(int i) const { return nodes.at(i); }
    int level(int i) const { return nodes.at(i).codeLength / 3; }
    bool isRoot(int i) const { return i == kRoot; }
    int findCode(const QString &code) const;
    int findPath(const QString &path) const;
    // Node indices in display order (depth first), the root first.
    QList<int> preorder() const;
};

// LoadCodeTree: the root (code "000", the caption as name, path "\\") and the
// rows of `flag` in code order, each placed by its code length under the
// last node added (so the rows must be consistent, as the windows keep them).
// A failing read shows the data-service message and leaves only the root.
CodeTree LoadCodeTree(DataModule &dm, const QString &rootCaption, const QString &flag);

// GetNodePath: which = 1 the node's own path, which = 2 its parent's, built
// from the names held in the tree. The node used must be at level 1 or deeper.
QString GetNodePath(const CodeTree &tree, int node, int which);

enum class TreeCodeMode { Sibling = 1, Child = 2 };
// NextTreeCode: the next free code for a new sibling of the node `code`, or
// for a new child of it (code empty for a child of the root): the greatest
// code among the parent's children plus one, gaps not reused. Empty when the
// parent already has a child 999. Throws DbError when the read fails.
QString NextTreeCode(Database &db, const QString &code, const QString &flag, TreeCodeMode mode);

// Every run of three backslashes in a built path becomes two.
QString collapsePathBackslashes(QString path);
// The path of a new sibling or child of `node` named `name`, and the new path
// of `node` renamed to `name`.
QString siblingPath(const CodeTree &tree, int node, const QString &name);
QString childPath(const CodeTree &tree, int node, const QString &name);
QString renamedPath(const CodeTree &tree, int node, const QString &name);

// The parent's children run out at 999.
inline QString treeFullMessage() { return QStringLiteral("该类别下的子类已达999个，不能再增加！"); }
// An insert or update of the tree that failed.
inline QString treeWriteFailMessage() { return QStringLiteral("数据连接失败，请与作者联系... "); }

// Adds a node under the parent of `anchorCode` (Sibling) or under
// `anchorCode` itself (Child; empty for the root). The code is drawn inside
// the writing transaction, so two workstations adding at once get different
// codes. Returns the new code, or empty after showing the message.
QString AddTreeNode(DataModule &dm, const QString &flag, const QString &anchorCode, TreeCodeMode mode,
                    const QString &name, const QString &path);

// Renames the node `code`: in one transaction, every type path that is
// `oldPath` or begins with `oldPath` + "\" (and only those: renaming A leaves
// AB alone) in goods, receipt/return lines, order lines and the tree takes
// `newPath` in its place, and the node takes its new name.
enum class RenameResult { Renamed, Unchanged, Failed };
RenameResult RenameTreeNode(DataModule &dm, const QString &flag, const QString &code, const QString &oldPath,
                            const QString &newName, const QString &newPath);

// Deletes the node `code` and its whole subtree; goods and lines keep their
// paths. On failure the data-service message was shown.
bool DeleteTreeNode(DataModule &dm, const QString &flag, const QString &code);

} // namespace korvan
