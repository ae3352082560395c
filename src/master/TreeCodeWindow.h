#pragma once
#include "TreeCodes.h"

#include <QDialog>
#include <functional>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvan {
class DataModule;

// What each tree item holds (tNodeData), under these item data roles.
enum TreeNodeRole { NodeCodeRole = Qt::UserRole, NodeNameRole, NodePathRole, NodeCodeLengthRole };

// LoadCodeTree into a tree view: the root with the caption, then the rows
// of `flag`; top-level nodes expanded. Goods lists and pickers use it too.
void LoadCodeTree(QTreeWidget *view, DataModule &dm, const QString &rootCaption, const QString &flag);
QTreeWidgetItem *findTreeItem(QTreeWidget *view, int role, const QString &value);

// TFrmTreeCodeMan: keeps the goods type tree, and picks a type for other windows.
class TreeCodeWindow : public QDialog {
    Q_OBJECT
public:
    enum Mode { Manage = 1, Pick = 2, Manage3 = 3, Pick4 = 4 };
    explicit TreeCodeWindow(DataModule &dm, QWidget *parent = nullptr);

    // Caption, flag and tree; modes 1 and 3 manage, 2 and 4 pick.
    void OpenTree(int mode);
    // Shows the window modally with `preset` selected; true and the chosen
    // node's path on OK, else `path` is the preset.
    bool PickNode(const QString &preset, QString &path);
    bool pickMode() const { return m_pick; }

    QTreeWidget *tree() const { return m_tree; }
    // Asks for a node name (TDLGenterCaption); tests may replace it.
    std::function<QString(const QString &caption, const QString &preset)> enterCaption;

    void addSiblingClick();
    void addChildClick();
    void renameClick();
    void deleteClick();
    void okClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Selected {
        QTreeWidgetItem *item = nullptr;
        int node = -1;
    };
    Selected selected() const;
    void reload(const QString &selectCode, const QString &showCode = QString());
    void addNode(TreeCodeMode mode);
    void pickCurrent(bool fromOk);

    DataModule &m_dm;
    QString m_flag = kGoodsTypeFlag;
    CodeTree m_data;
    bool m_pick = false;
    QTreeWidget *m_tree;
    QPushButton *m_ok, *m_cancel;
};

// Opens the goods type picker on `preset`; returns the chosen path, or the preset.
QString PickGoodsType(DataModule &dm, QWidget *parent, const QString &preset);

} // namespace korvan
