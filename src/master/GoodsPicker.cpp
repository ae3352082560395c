#include "GoodsPicker.h"
#include "DataGrid.h"
#include "DataModule.h"
#include "GoodsEditDialog.h"
#include "MessageBox.h"
#include "TreeCodeWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>

namespace korvan {

GoodsPicker::GoodsPicker(DataModule &dm, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_grid(new DataGrid(this)), m_cursor(m_grid, [this] {
          if (m_query.sql.isEmpty()) return;
          openList(m_query);
          loadAll();
      })
{
    setObjectName(QStringLiteral("TDlgGoodXz"));
    setWindowTitle(QStringLiteral("货品选择"));

    auto *bar = new QHBoxLayout;
    m_name = addSearchBox(bar, this, "edtName", QStringLiteral("货品名称："));
    m_code = addSearchBox(bar, this, "edtCode", QStringLiteral("货品编码："));
    m_spec = addSearchBox(bar, this, "edtSpec", QStringLiteral("货品规格："));
    QPushButton *searchButton = addButton(bar, this, "btnSearch", QStringLiteral("查询"));
    QPushButton *toggle = addButton(bar, this, "btnShowTree", QStringLiteral("类别"));
    toggle->setCheckable(true);
    toggle->setChecked(true);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvType"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LoadCodeTree(m_tree, dm, QStringLiteral("商品类别"), kGoodsTypeFlag);

    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    GridColumns cols;
    LoadGridLayout(dm, QStringLiteral("dlggoodxz"), cols);
    ApplyUserFieldCaptions(cols, dm.session());
    for (GridColumn &c : cols)
        if (c.field.compare(QLatin1String("F_enterPrice"), Qt::CaseInsensitive) == 0
            || c.field.compare(QLatin1String("F_salePrice"), Qt::CaseInsensitive) == 0)
            c.displayFormat = dm.formats().amount;
    ApplyColumnFormats(cols, 0, PriceRemove, dm.session(), dm.formats());
    m_grid->setColumns(cols);
    addLayoutMenu(m_grid, QStringLiteral("dlggoodxz"));
    QPushButton *chooseButton = addChooseButton(m_grid);

    auto *split = new QSplitter(this);
    split->addWidget(m_tree);
    split->addWidget(m_grid);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 700});

    m_count = new QLabel(QStringLiteral("当前货品数量："), this);
    m_count->setObjectName(QStringLiteral("lblCount"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addStretch(1);
    QPushButton *add = addButton(bottom, this, "btnNewGoods", QStringLiteral("新增商品"));
    QPushButton *ok = addButton(bottom, this, "btnOK", QStringLiteral("确定"));
    QPushButton *close = addButton(bottom, this, "btnClose", QStringLiteral("关闭"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
    resize(900, 520);
    m_tree->setFocus();

    connect(toggle, &QPushButton::toggled, m_tree, &QWidget::setVisible);
    connect(searchButton, &QPushButton::clicked, this, &GoodsPicker::search);
    connect(m_code, &QLineEdit::textChanged, this, &GoodsPicker::search);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &GoodsPicker::search);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionPressed, this, &GoodsPicker::loadAll); // sort them all
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &GoodsPicker::choose);
    connect(chooseButton, &QPushButton::clicked, this, &GoodsPicker::choose);
    connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this, &GoodsPicker::choose);
    connect(ok, &QPushButton::clicked, this, &GoodsPicker::okClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &GoodsPicker::newGoodsClick);
}

GoodsPickerFilter GoodsPicker::filter() const
{
    const QTreeWidgetItem *node = m_tree->selectedItems().value(0);
    const bool root = !node || node->data(0, NodeCodeRole).toString() == kTreeRootCode;
    return {m_code->text(), m_name->text(), m_spec->text(), root ? QString() : node->data(0, NodePathRole).toString(),
            m_target != nullptr};
}

void GoodsPicker::search()
{
    if (m_tree->selectedItems().isEmpty()) return;
    openList(GoodsPickerQuery(m_dm.db().dialect(), filter()));
}

void GoodsPicker::openList(const ListQuery &query)
{
    m_query = query;
    const int serial = ++m_serial;
    GridModel *m = m_grid->gridModel();
    m->openQuery(m_dm, query.sql + QStringLiteral(" LIMIT ?"), query.params + QVariantList{kFirstPage});
    m->fetchAll();
    m_loaded = m->rowCount();
    // Only a full first page needs counting.
    m_total = m_loaded < kFirstPage ? m_loaded
                                    : m_dm.LookupInt(QStringLiteral("SELECT count(*) FROM (%1) c").arg(query.sql), query.params);
    m_cursor.setCurrentRow(0);
    m_count->setText(countText());
    if (m_loaded < m_total) QTimer::singleShot(0, this, [this, serial] { loadMore(serial); });
}

void GoodsPicker::loadMore(int serial)
{
    if (serial != m_serial || m_loaded >= m_total) return;
    GridModel *m = m_grid->gridModel();
    const QList<GridField> fields = m->fields();
    try {
        QSqlQuery q = m_dm.db().query(m_query.sql + QStringLiteral(" LIMIT ? OFFSET ?"),
                                      m_query.params + QVariantList{kChunk, m_loaded});
        QVariantList row;
        int read = 0;
        while (q.next()) {
            row.clear();
            for (int i = 0; i < fields.size(); ++i) row << cellFromDb(q.value(i), fields[i].type);
            m->appendRow(row);
            ++read;
        }
        m_loaded = read < kChunk ? m_total : m_loaded + read;
    } catch (const DbError &) {
        m_loaded = m_total; // the first page stays
    }
    if (m_loaded < m_total) QTimer::singleShot(0, this, [this, serial] { loadMore(serial); });
    else if (m->sortedColumn() >= 0) m->sort(m->sortedColumn(), m->sortedOrder());
}

void GoodsPicker::loadAll()
{
    const int serial = m_serial;
    while (serial == m_serial && m_loaded < m_total) loadMore(serial);
}

bool GoodsPicker::locate(const QString &code)
{
    if (locateCode(m_grid, code)) return true;
    loadAll();
    return locateCode(m_grid, code);
}

QString GoodsPicker::countText() const
{
    return QStringLiteral("当前货品数量： ") + QString::number(m_total) + QStringLiteral(" 个");
}

bool GoodsPicker::PickGoods(const QString &preset, QString &code)
{
    code = preset;
    m_target = nullptr;
    openList(GoodsPickInitialQuery());
    if (exec() != QDialog::Accepted || m_total == 0 || m_cursor.currentRow() < 0) return false;
    code = m_grid->gridModel()->value(m_cursor.currentRow(), QStringLiteral("F_Code")).toString();
    return true;
}

void GoodsPicker::AddGoodsLines(GoodsLineTarget &target)
{
    m_target = &target;
    ClearPickedGoods(m_dm.db());
    search(); // nothing until a type is chosen
    exec();
    m_target = nullptr;
}

void GoodsPicker::choose()
{
    if (m_target) addCurrentLine();
    else accept();
}

void GoodsPicker::okClick()
{
    if (m_target) addCurrentLine();
    accept();
}

void GoodsPicker::addCurrentLine()
{
    const int row = m_cursor.currentRow();
    if (m_total == 0 || row < 0) return;
    GridModel *m = m_grid->gridModel();
    if (row + 1 >= m->rowCount()) loadAll();
    const QString code = m->value(row, QStringLiteral("F_Code")).toString();
    const QVariantMap line = GoodsLineValues(m_dm, code, m_target->goodsDocKind(), m_target->goodsSupplierText(),
                                             m_target->goodsDocumentCode());
    if (line.isEmpty()) return;
    m_target->appendGoodsLine(line);
    RememberPickedGoods(m_dm.db(), code);
    const QString next = m->value(row + 1, QStringLiteral("F_Code")).toString();
    search();
    if (!next.isEmpty()) locate(next);
}

void GoodsPicker::newGoodsClick()
{
    GoodsEditDialog dlg(m_dm, &m_cursor, this);
    DispFormPos(&dlg, 1);
    dlg.SetPickerMode(true);
    dlg.EditGoods(0);
    m_count->setText(countText());
}

QString PickGoods(DataModule &dm, QWidget *parent, const QString &preset)
{
    GoodsPicker picker(dm, parent);
    QString code;
    picker.PickGoods(preset, code);
    return code;
}

void AddGoodsLines(DataModule &dm, QWidget *parent, GoodsLineTarget &target)
{
    GoodsPicker picker(dm, parent);
    picker.AddGoodsLines(target);
}

} // namespace korvan
