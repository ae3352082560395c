#pragma once
#include <QWidget>

class QAction;
class QTabWidget;

namespace korvan {
class MainWindow;

// TFrmBtnImage "桌面": the main window's actions as buttons on tabs. Each
// button shows its action's caption, runs it and is hidden with it; each tab
// is shown exactly when the main window's top menu of that name is.
class DesktopWindow : public QWidget {
    Q_OBJECT
public:
    explicit DesktopWindow(MainWindow *main, QWidget *parent = nullptr);
    QTabWidget *tabs() const { return m_tabs; }
    // Shows the tabs whose top menu is visible.
    void followMenus();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *button(int code, bool picture, QWidget *parent);

    MainWindow *m_main;
    QTabWidget *m_tabs;
};

} // namespace korvan
