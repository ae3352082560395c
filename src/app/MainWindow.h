#pragma once
#include "Login.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <functional>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace korvan {
class DataModule;
struct WindowEntry;

// TFrmMain: the MDI frame. Every function is one of its actions, reached
// through the menus or the desktop; child windows exist once per class.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(DataModule &dm, QWidget *parent = nullptr);
    ~MainWindow() override;
    // The main window of the running application, if any.
    static MainWindow *instance();

    QMdiArea *mdiArea() const { return m_mdi; }
    DataModule &dataModule() { return m_dm; }
    // The action of a permission item (101…504).
    QAction *action(int code) const { return m_actions.value(code); }
    // The five top menus, category 1 "系统管理" to 5 "采购分析".
    QMenu *topMenu(int category) const { return m_topMenus.value(category); }
    bool topMenuVisible(int category) const;

    // Shows the actions the session's operator may use and his name.
    void applySession();
    // Runs the action `code` as its menu item would.
    void runAction(int code);
    // The open child window of the class, brought forward, or a new one.
    QWidget *OpenChildForm(const QString &className);
    // Closes every child window, the last opened first.
    void closeAllChildren();
    void relogin();
    void compactDatabase();
    void chooseDatabase();

    // The login of "重新登录"; tests replace it.
    std::function<bool(DataModule &, LoginMode, QWidget *)> runLogin;

signals:
    // After a login changed the visible actions (the desktop follows).
    void sessionApplied();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createStatusBar();
    void firstShow();
    void updateClock();
    void fillWindowMenu();
    void tile(Qt::Orientation orientation);
    QMdiSubWindow *findChildWindow(const QString &className) const;
    QWidget *openChild(const WindowEntry &entry);
    void openModal(const WindowEntry &entry);
    QAction *addCommand(const QString &name, const QString &caption, std::function<void()> run);

    DataModule &m_dm;
    QMdiArea *m_mdi;
    QHash<int, QAction *> m_actions;
    QHash<int, QMenu *> m_topMenus;
    QMenu *m_importMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QList<QAction *> m_windowCommands;
    QLabel *m_operatorPanel = nullptr;
    QLabel *m_clockPanel = nullptr;
    QTimer m_clock;
    bool m_shown = false;
};

// OpenChildForm through the running main window; null without one.
QWidget *OpenChildForm(const QString &className);

} // namespace korvan
