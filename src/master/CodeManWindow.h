#pragma once
#include "OptionCodes.h"

#include <QDialog>

class QAction;
class QLabel;
class QTableView;
class QTabWidget;

namespace korvan {
class DataModule;
class OptionCodeModel;

// TFrmCodeMan "选项设置": the option lists, one tab page each. Changes are
// held until "保存" writes them as one batch or "取消" drops them.
class CodeManWindow : public QDialog {
    Q_OBJECT
public:
    explicit CodeManWindow(DataModule &dm, QWidget *parent = nullptr);
    ~CodeManWindow() override;

    bool isEditing() const { return m_editing; }
    QString currentType() const { return m_list.type(); }
    const OptionCodeList &list() const { return m_list; }
    QTableView *grid() const { return m_grid; }

    void newClick();
    void editClick();
    void deleteClick();
    void saveClick();
    void cancelClick();
    void printClick();
    void refreshClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pageChanged(int index);
    void openType(const QString &type, const QString &title);
    void setEditing(bool editing);
    QAction *command(const char *name, const QString &caption, void (CodeManWindow::*run)());

    DataModule &m_dm;
    OptionCodeList m_list;
    OptionCodeModel *m_model;
    QTabWidget *m_pages;
    QTableView *m_grid;
    QList<QAction *> m_browseCommands; // enabled while browsing
    QAction *m_save = nullptr, *m_cancel = nullptr;
    bool m_editing = false;
};

// Makes TFrmCodeMan and TFrmTreeCodeMan (manage mode) known to the main window.
void registerCodeWindows();

} // namespace korvan
