#pragma once
#include <QDialog>

class QAction;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace korvan {
class DataModule;

// TFrmOperGl "操作员管理": the lists of operators and roles.
class OperGlWindow : public QDialog {
    Q_OBJECT
public:
    explicit OperGlWindow(DataModule &dm, QWidget *parent = nullptr);

    void reloadUsers();
    void reloadRoles();

private:
    QTreeWidget *makeList(const char *name, const QStringList &columns);
    bool onUserPage() const;
    QTreeWidget *currentList() const;
    void newClick();
    void editClick();
    void deleteClick();

    DataModule &m_dm;
    QTabWidget *m_pages;
    QTreeWidget *m_users, *m_roles;
    QPushButton *m_btnDelete;
    QAction *m_actDelete;
};

} // namespace korvan
