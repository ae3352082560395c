#include "CodeManWindow.h"
#include "AppSettings.h"
#include "DataModule.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ReportServices.h"
#include "TreeCodeWindow.h"
#include "WindowRegistry.h"

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvan {

// The one column F_Name of the list; editable only while the window edits.
class OptionCodeModel : public QAbstractTableModel {
public:
    explicit OptionCodeModel(OptionCodeList &list, QObject *parent) : QAbstractTableModel(parent), m_list(list) {}
    void reset() { beginResetModel(); endResetModel(); }
    void setTitle(const QString &title)
    {
        m_title = title;
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    }
    QString title() const { return m_title; }
    void setEditable(bool on) { m_editable = on; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_list.size(); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        return m_list.row(index.row()).name;
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole || !m_editable) return false;
        m_list.setName(index.row(), value.toString());
        emit dataChanged(index, index);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        return m_editable ? f | Qt::ItemIsEditable : f;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole) return m_title;
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    OptionCodeList &m_list;
    QString m_title;
    bool m_editable = false;
};

CodeManWindow::CodeManWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmCodeMan"));
    setWindowTitle(QStringLiteral("选项设置"));
    m_model = new OptionCodeModel(m_list, this);

    auto *tools = new QToolBar;
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QList<QAction *> all = {
        command("tbNew", QStringLiteral("新增"), &CodeManWindow::newClick),
        command("tbEdit", QStringLiteral("修改"), &CodeManWindow::editClick),
        command("tbDelete", QStringLiteral("删除"), &CodeManWindow::deleteClick),
        m_save = command("tbSave", QStringLiteral("保存"), &CodeManWindow::saveClick),
        m_cancel = command("tbCancel", QStringLiteral("取消"), &CodeManWindow::cancelClick),
        command("tbPrint", QStringLiteral("打印"), &CodeManWindow::printClick),
        command("tbRefresh", QStringLiteral("刷新"), &CodeManWindow::refreshClick),
        command("tbExit", QStringLiteral("退出"), &QDialog::reject)};
    for (QAction *a : all) {
        tools->addAction(a);
        if (QWidget *button = tools->widgetForAction(a)) button->setObjectName(a->objectName());
        if (a != m_save && a != m_cancel) m_browseCommands << a;
    }
    all[0]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    all[1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    all[2]->setShortcut(QKeySequence(Qt::Key_Delete));
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));

    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (!m_editing) editClick();
    });

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    for (const OptionPage &p : optionPages()) {
        auto *page = new QWidget;
        page->setObjectName(p.pageName);
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        m_pages->addTab(page, p.caption);
    }
    m_pages->widget(0)->layout()->addWidget(m_grid);
    connect(m_pages, &QTabWidget::currentChanged, this, &CodeManWindow::pageChanged);

    auto *status = new QStatusBar;
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(i == 3 ? kApplicationTitle + QStringLiteral("  ") : QString());
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        status->addWidget(panel, i == 3 ? 0 : 1);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(tools);
    layout->addWidget(m_pages, 1);
    layout->addWidget(status);
    resize(qMax(460, m_pages->tabBar()->sizeHint().width() + 24), 480);

    openType(optionPages().first().type, QStringLiteral("员工职务"));
    setEditing(false);
    DispFormPos(this, 1);
}

CodeManWindow::~CodeManWindow() = default;

QAction *CodeManWindow::command(const char *name, const QString &caption, void (CodeManWindow::*run)())
{
    auto *a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, run);
    return a;
}

void CodeManWindow::openType(const QString &type, const QString &title)
{
    m_list.load(m_dm, type);
    m_model->setTitle(title);
    m_model->reset();
    if (!m_list.isEmpty()) m_grid->setCurrentIndex(m_model->index(0, 0));
}

void CodeManWindow::pageChanged(int index)
{
    if (index < 0 || index >= optionPages().size()) return;
    m_pages->widget(index)->layout()->addWidget(m_grid);
    const OptionPage &p = optionPages().at(index);
    openType(p.type, p.caption);
}

void CodeManWindow::setEditing(bool editing)
{
    m_editing = editing;
    for (QAction *a : m_browseCommands) a->setEnabled(!editing);
    m_save->setEnabled(editing);
    m_cancel->setEnabled(editing);
    m_pages->tabBar()->setEnabled(!editing);
    m_model->setEditable(editing);
    m_grid->setEditTriggers(editing ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                          | QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
}

void CodeManWindow::newClick()
{
    setEditing(true);
    const int row = m_list.append();
    m_model->reset();
    const QModelIndex index = m_model->index(row, 0);
    m_grid->setCurrentIndex(index);
    m_grid->setFocus();
    m_grid->edit(index);
}

void CodeManWindow::editClick()
{
    if (m_list.isEmpty()) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), MsgError);
        return;
    }
    setEditing(true);
    m_grid->setFocus();
}

void CodeManWindow::deleteClick()
{
    if (m_list.isEmpty()) {
        ShowMess(QStringLiteral("此表是空表，不需要删除！"), MsgInfo);
        return;
    }
    const int row = qMax(0, m_grid->currentIndex().row());
    const QString caption = m_pages->tabText(m_pages->currentIndex());
    const QString question = QStringLiteral("真的要删除 ") + QLatin1Char('"') + caption + QLatin1Char('"')
        + m_list.row(row).name + QStringLiteral("吗？");
    if (ShowMess(question, MsgQuestion) == AnswerNo) return;
    m_list.remove(row);
    if (!m_list.save(m_dm, DataModule::deleteFailMessage())) m_list.cancel();
    m_model->reset();
    if (!m_list.isEmpty()) m_grid->setCurrentIndex(m_model->index(qMin(row, m_list.size() - 1), 0));
}

void CodeManWindow::saveClick()
{
    // A name still being typed belongs to the batch.
    const QModelIndex current = m_grid->currentIndex();
    if (QWidget *editor = current.isValid() ? m_grid->indexWidget(current) : nullptr) {
        emit m_grid->itemDelegate()->commitData(editor);
        emit m_grid->itemDelegate()->closeEditor(editor);
    }
    if (!m_list.save(m_dm)) return; // stays in editing with the batch pending
    setEditing(false);
    m_model->reset();
    if (!m_list.isEmpty()) m_grid->setCurrentIndex(m_model->index(qMax(0, qMin(current.row(), m_list.size() - 1)), 0));
}

void CodeManWindow::cancelClick()
{
    const QModelIndex current = m_grid->currentIndex();
    if (QWidget *editor = current.isValid() ? m_grid->indexWidget(current) : nullptr)
        emit m_grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    m_list.cancel();
    setEditing(false);
    m_model->reset();
    if (!m_list.isEmpty()) m_grid->setCurrentIndex(m_model->index(0, 0));
}

void CodeManWindow::printClick()
{
    ReportColumn name{QStringLiteral("F_Name"), m_model->title(), m_grid->columnWidth(0)};
    name.modelColumn = 0;
    ReportPreview *preview = PrintGrid(m_model, {name}, m_model->title() + QStringLiteral("设置"), 1,
                                       QStringLiteral("date"), QString());
    if (!preview) return;
    // This window is modal: the preview must belong to it to take input.
    preview->setParent(this, Qt::Window);
    preview->setWindowModality(Qt::WindowModal);
    preview->show();
}

void CodeManWindow::refreshClick()
{
    openType(m_list.type(), m_model->title());
}

void CodeManWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_cancel->isEnabled())
            cancelClick();
        else
            reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void registerCodeWindows()
{
    registerWindow(QStringLiteral("TFrmCodeMan"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new CodeManWindow(dm, parent); });
    registerWindow(QStringLiteral("TFrmTreeCodeMan"), WindowKind::Modal, [](DataModule &dm, QWidget *parent) {
        auto *w = new TreeCodeWindow(dm, parent);
        w->OpenTree(TreeCodeWindow::Manage);
        return w;
    });
}

} // namespace korvan
