#include "MasterListWindow.h"
#include "DataGrid.h"
#include "DataModule.h"
#include "GridServices.h"
#include "Messages.h"
#include "ReportServices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace korvan {

MasterListWindow::MasterListWindow(DataModule &dm, MasterListConfig config, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_config(std::move(config))
{
    setWindowTitle(m_config.caption);
}

MasterListWindow::~MasterListWindow() = default;

const Session &MasterListWindow::session() const { return m_dm.session(); }

QAction *MasterListWindow::addTool(const QString &name, const QString &caption, const QKeySequence &key,
                                   void (MasterListWindow::*slot)())
{
    QAction *a = m_tools->addAction(caption);
    a->setObjectName(name);
    if (slot) connect(a, &QAction::triggered, this, slot);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    return a;
}

void MasterListWindow::build()
{
    m_tools = new QToolBar(this);
    m_tools->setObjectName(QStringLiteral("ToolBar1"));
    m_tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addTool(QStringLiteral("tbNew"), QStringLiteral("新增"), QKeySequence(Qt::CTRL | Qt::Key_A), &MasterListWindow::newClick);
    addTool(QStringLiteral("tbEdit"), QStringLiteral("修改"), QKeySequence(Qt::CTRL | Qt::Key_E), &MasterListWindow::editClick);
    addTool(QStringLiteral("tbDelete"), QStringLiteral("删除"), QKeySequence(Qt::Key_Delete), &MasterListWindow::deleteClick);
    m_tools->addSeparator();
    addTool(QStringLiteral("tbFirst"), QStringLiteral("首项"), QKeySequence(Qt::Key_Home), nullptr);
    addTool(QStringLiteral("tbPrior"), QStringLiteral("前项"), QKeySequence(Qt::Key_PageUp), nullptr);
    addTool(QStringLiteral("tbNext"), QStringLiteral("后项"), QKeySequence(Qt::Key_PageDown), nullptr);
    addTool(QStringLiteral("tbLast"), QStringLiteral("末项"), QKeySequence(Qt::Key_End), nullptr);
    const QList<QPair<QString, std::function<int()>>> moves = {
        {QStringLiteral("tbFirst"), [] { return 0; }},
        {QStringLiteral("tbPrior"), [this] { return currentRow() - 1; }},
        {QStringLiteral("tbNext"), [this] { return currentRow() + 1; }},
        {QStringLiteral("tbLast"), [this] { return rowCount() - 1; }}};
    for (const auto &m : moves) {
        connect(findChild<QAction *>(m.first), &QAction::triggered, this, [this, f = m.second] { move(f()); });
    }
    m_tools->addSeparator();
    addTool(QStringLiteral("tbPrint"), QStringLiteral("打印"), {}, &MasterListWindow::printClick);
    addTool(QStringLiteral("tbSet"), QStringLiteral("设置"), {}, &MasterListWindow::designClick);
    addTool(QStringLiteral("tbExport"), QStringLiteral("导出"), {}, &MasterListWindow::exportClick);
    m_tools->addSeparator();
    addTool(QStringLiteral("tbClose"), QStringLiteral("退出"), QKeySequence(Qt::Key_Escape), nullptr);
    connect(findChild<QAction *>(QStringLiteral("tbClose")), &QAction::triggered, this, &QWidget::close);
    for (const auto &[name, key] : {std::pair{"actFieldList", Qt::Key_F11}, std::pair{"actSaveLayout", Qt::Key_F12}}) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(QKeySequence(key));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }

    // Search bar.
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("pnlSearch"));
    auto *barLayout = m_searchBar = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 2, 6, 2);
    auto *fieldLabel = new QLabel(QStringLiteral("查询类型："), bar);
    m_field = new QComboBox(bar);
    m_field->setObjectName(QStringLiteral("cbSearchField"));
    for (const SearchField &f : m_config.decl.fields) m_field->addItem(f.caption);
    m_field->setCurrentIndex(-1);
    m_field->setMinimumContentsLength(8);
    fieldLabel->setBuddy(m_field);
    auto *textLabel = new QLabel(QStringLiteral("查询内容："), bar);
    m_text = new QLineEdit(bar);
    m_text->setObjectName(QStringLiteral("edtSearchText"));
    m_text->setProperty("keepEnter", true);
    m_choice = new QComboBox(bar);
    m_choice->setObjectName(QStringLiteral("cbSearchChoice"));
    m_choice->setEditable(true);
    m_choice->setProperty("keepEnter", true);
    m_choice->setMinimumContentsLength(10);
    m_choice->hide();
    textLabel->setBuddy(m_text);
    m_searchButton = new QPushButton(QStringLiteral("查询"), bar);
    m_searchButton->setObjectName(QStringLiteral("btnSearch"));
    m_disabled = new QCheckBox(m_config.disabledCaption, bar);
    m_disabled->setObjectName(QStringLiteral("chkDisabled"));
    barLayout->addWidget(fieldLabel);
    barLayout->addWidget(m_field);
    barLayout->addWidget(textLabel);
    barLayout->addWidget(m_text, 1);
    barLayout->addWidget(m_choice, 1);
    barLayout->addWidget(m_searchButton);
    barLayout->addWidget(m_disabled);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->installEventFilter(this);
    m_grid->gridModel()->setTypeHints(tableCellTypes(m_config.decl.table));
    const QString disabledColumn = m_config.decl.disabledColumn;
    m_grid->setRowColours([this, disabledColumn](int row) {
        if (disabledColumn.isEmpty() || !m_grid->gridModel()->value(row, disabledColumn).toBool()) return DataGrid::RowColours{};
        return DataGrid::RowColours{palette().color(QPalette::Button), QColor(Qt::red)};
    });
    QMenu *menu = addLayoutMenu(m_grid, m_config.layoutKey);
    extendMenu(menu);
    connect(findChild<QAction *>(QStringLiteral("actFieldList")), &QAction::triggered, this, [this] { ChooseGridColumns(m_grid); });
    connect(findChild<QAction *>(QStringLiteral("actSaveLayout")), &QAction::triggered, menu,
            [menu] { menu->findChild<QAction *>(QStringLiteral("miSaveLayout"))->trigger(); });

    auto *splitter = new QSplitter(this);
    if (QWidget *side = createSidePanel()) {
        splitter->addWidget(side);
        splitter->setStretchFactor(0, 0);
    }
    splitter->addWidget(m_grid);
    splitter->setStretchFactor(splitter->count() - 1, 1);
    splitter->setSizes({200, 800});

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_countPanel = new QLabel(status);
    m_countPanel->setObjectName(QStringLiteral("lblRecordCount"));
    m_countPanel->setMinimumWidth(120);
    status->addWidget(new QLabel(m_dm.session().operatorName, status));
    status->addWidget(m_countPanel);
    status->addPermanentWidget(new QLabel(m_config.caption + QStringLiteral("  "), status));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tools);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);
    layout->addWidget(status);

    connect(m_field, qOverload<int>(&QComboBox::currentIndexChanged), this, &MasterListWindow::fieldChanged);
    connect(m_text, &QLineEdit::returnPressed, this, &MasterListWindow::search);
    connect(m_choice->lineEdit(), &QLineEdit::returnPressed, this, &MasterListWindow::search);
    connect(m_searchButton, &QPushButton::clicked, this, &MasterListWindow::search);
    connect(m_disabled, &QCheckBox::clicked, this, &MasterListWindow::search);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] {
        if (findChild<QAction *>(QStringLiteral("tbEdit"))->isEnabled()) editClick();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &MasterListWindow::updateNavigation);
    connect(m_grid->gridModel(), &QAbstractItemModel::modelReset, this, &MasterListWindow::updateNavigation);

    GridColumns cols = m_grid->columns();
    LoadGridLayout(m_dm, m_config.layoutKey, cols);
    prepareColumns(cols);
    m_grid->setColumns(cols);
    resize(900, 560);
    updateNavigation();
}

void MasterListWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    if (m_config.searchOnShow) search();
}

bool MasterListWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the grid moves to the next column, as in the other windows.
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QModelIndex i = m_grid->currentIndex();
            if (i.isValid() && i.column() + 1 < m_grid->gridModel()->columnCount())
                m_grid->setCurrentIndex(i.sibling(i.row(), i.column() + 1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MasterListWindow::fieldChanged(int index)
{
    m_text->clear();
    m_choice->clear();
    const bool choice = index >= 0 && m_config.decl.fields[index].isChoice();
    if (choice) {
        const SearchField &f = m_config.decl.fields[index];
        m_choice->addItems(f.choices.isEmpty() ? DistinctNames(m_dm, f.choiceSql) : f.choices);
        m_choice->setCurrentIndex(-1);
        m_choice->clearEditText();
    }
    m_text->setVisible(!choice);
    m_choice->setVisible(choice);
}

void MasterListWindow::search()
{
    if (!canSearch()) return;
    const int field = m_field->currentIndex();
    const bool choice = field >= 0 && m_config.decl.fields[field].isChoice();
    m_query = BuildListQuery(m_dm.db().dialect(), m_config.decl, field, choice ? m_choice->currentText() : m_text->text(),
                             m_disabled->isChecked(), extraFilter());
    reopen();
}

void MasterListWindow::reopen()
{
    if (m_query.sql.isEmpty()) return;
    const int row = currentRow();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_grid->gridModel()->openQuery(m_dm, m_query.sql, m_query.params);
    m_grid->gridModel()->fetchAll();
    QApplication::restoreOverrideCursor();
    if (rowCount() > 0) setCurrentRow(qBound(0, row, rowCount() - 1));
    m_countPanel->setText(recordCountText());
    updateNavigation();
}

QString MasterListWindow::recordCountText() const { return QStringLiteral("记录数：") + QString::number(rowCount()); }

QVariant MasterListWindow::currentValue(const QString &field) const
{
    return m_grid->gridModel()->value(currentRow(), field);
}

int MasterListWindow::rowCount() const { return m_grid->gridModel()->rowCount(); }
int MasterListWindow::currentRow() const { return m_grid->currentRow(); }

void MasterListWindow::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) return;
    m_grid->setCurrentIndex(m_grid->gridModel()->index(row, qMax(0, m_grid->currentIndex().column())));
    m_grid->scrollTo(m_grid->currentIndex());
}

qint64 MasterListWindow::idAt(int row) const { return m_grid->gridModel()->value(row, QStringLiteral("F_ID")).toLongLong(); }

void MasterListWindow::refreshAt(const QString &code)
{
    if (m_query.sql.isEmpty()) search();
    else reopen();
    locateCode(m_grid, code);
    updateNavigation();
}

void MasterListWindow::move(int row)
{
    setCurrentRow(qBound(0, row, rowCount() - 1));
    updateNavigation();
}

void MasterListWindow::updateNavigation()
{
    const int row = currentRow(), count = rowCount();
    auto enable = [this](const char *name, bool on) { findChild<QAction *>(QLatin1String(name))->setEnabled(on); };
    enable("tbFirst", count > 0 && row > 0);
    enable("tbPrior", count > 0 && row > 0);
    enable("tbNext", count > 0 && row < count - 1);
    enable("tbLast", count > 0 && row < count - 1);
    enable("tbEdit", true);
    enable("tbDelete", mayEdit());
    enable("tbPrint", count > 0);
    enable("tbSet", true);
    enable("tbExport", count > 0);
}

void MasterListWindow::newClick() { openEditor(0); }

void MasterListWindow::editClick()
{
    if (rowCount() == 0 || currentRow() < 0) {
        ShowMess(emptyListEditMessage(), MsgError);
        return;
    }
    openEditor(1);
}

void MasterListWindow::deleteClick()
{
    if (!mayEdit() || rowCount() == 0 || currentRow() < 0) return;
    if (deleteCurrent()) reopen();
}

bool MasterListWindow::confirmDelete(const QString &question)
{
    return ShowMess(question, MsgQuestion) == AnswerYes;
}

QString MasterListWindow::reportName() const
{
    return m_config.reportName + (m_config.reportPriceSuffix ? m_dm.session().priceReportSuffix() : QString());
}

namespace {
// The list as shown: its visible columns with their captions, formats and
// footers; typed values.
ModelDataSet listData(DataGrid *grid)
{
    QList<ReportColumn> cols;
    const GridColumns &layout = grid->columns();
    for (int c = 0; c < layout.size(); ++c) {
        const GridColumn &g = layout[c];
        if (!g.visible) continue;
        const CellAlign align = effectiveAlign(g, grid->gridModel()->columnType(c));
        cols << ReportColumn{g.field, g.bottomCaption(), g.width, g.displayFormat,
                             align == CellAlign::Right ? Qt::AlignRight : align == CellAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft,
                             ReportColumn::Footer(int(g.footer)), g.footerText, c};
    }
    return ModelDataSet(grid->gridModel(), cols, GridModel::ValueRole);
}

// Installs the list's report variables; the options of its reports.
ReportOptions listReport(const MasterListConfig &config, const Session &s)
{
    SetReportVariableProvider(ReportVariablesFromMap({{QStringLiteral("memoCaption"), config.caption},
                                                      {QStringLiteral("sCurKHname"), s.companyName}}));
    ReportOptions options;
    options.title = config.caption;
    options.noPrices = config.reportPriceSuffix && !s.canSeePrices && !s.isSuperUser();
    return options;
}
} // namespace

void MasterListWindow::printClick()
{
    if (rowCount() == 0) return;
    const ReportOptions options = listReport(m_config, session());
    PreviewListReport(reportName(), listData(m_grid), options);
}

void MasterListWindow::designClick()
{
    const ReportOptions options = listReport(m_config, session());
    DesignListReport(reportName(), listData(m_grid), options);
}

void MasterListWindow::exportClick()
{
    if (rowCount() == 0) return;
    ExportGrid(m_grid, m_config.exportName, 1);
}

} // namespace korvan
