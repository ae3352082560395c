#include "DocumentWindow.h"
#include "DataGrid.h"
#include "GoodsPicker.h"
#include "GridServices.h"
#include "Login.h"
#include "Messages.h"
#include "ReportServices.h"
#include "Schema.h"
#include "SupplierPicker.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleValidator>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvan {

namespace {
const QDate kEmptyDateLimit(1901, 8, 14);

// A tool-bar picture: a coloured tile with the caption's first character.
QIcon glyphIcon(const QString &caption, const QColor &colour)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QFont f = p.font();
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, caption.left(1));
    return QIcon(pm);
}

QDate shownDate(const QVariant &v)
{
    const QDate d = dateOf(v);
    return d.isValid() && d >= kEmptyDateLimit ? d : QDate::currentDate();
}

QString textOf(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return v.toString();
}

// The type a line column holds in the grid, from the lines table itself.
CellType cellTypeOf(const ColumnDef &c)
{
    switch (c.type) {
    case ColumnType::Money: return c.name.compare(QLatin1String("F_Price"), Qt::CaseInsensitive) == 0 ? CellType::Price : CellType::Money;
    case ColumnType::Number: return CellType::Quantity;
    case ColumnType::Int: return CellType::Int;
    case ColumnType::Bool: return CellType::Bool;
    case ColumnType::Date: return CellType::Date;
    default: return CellType::Text;
    }
}

bool isEnter(const QKeyEvent *k)
{
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

DocumentWindow::DocumentWindow(DataModule &dm, const DocumentDeclaration &decl, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_decl(decl), m_ctl(std::make_unique<DocumentController>(dm, *decl.kind))
{
    setObjectName(decl.className);
    setWindowTitle(decl.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(4);
    buildToolBar(top);

    // List date, heading, audit state.
    auto *title = new QHBoxLayout;
    auto *dateLabel = new QLabel(QStringLiteral("日  期："));
    auto *listDate = new QDateEdit(QDate::currentDate());
    listDate->setObjectName(QStringLiteral("dtpXzDate"));
    listDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    listDate->setCalendarPopup(true);
    dateLabel->setBuddy(listDate);
    m_controls.insert(listDate->objectName(), listDate);
    connect(listDate, &QDateEdit::dateChanged, this, [this](const QDate &d) { if (!m_filling) m_ctl->setListDate(d); });
    auto *heading = new QLabel(decl.heading);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont hf = heading->font();
    hf.setPointSizeF(hf.pointSizeF() * 1.8);
    hf.setBold(true);
    heading->setFont(hf);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("Label22"));
    QFont sf = m_status->font();
    sf.setBold(true);
    m_status->setFont(sf);
    title->addWidget(dateLabel);
    title->addWidget(listDate);
    title->addStretch(1);
    title->addWidget(heading);
    title->addStretch(1);
    title->addWidget(m_status);
    top->addLayout(title);

    m_headerBox = new QGroupBox;
    m_headerBox->setObjectName(QStringLiteral("gbHeader"));
    auto *grid = new QGridLayout(m_headerBox);
    grid->setContentsMargins(6, 6, 6, 6);
    m_bottom = new QWidget;
    m_bottom->setObjectName(QStringLiteral("pBottom"));
    auto *bottom = new QHBoxLayout(m_bottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    for (const HeaderControl &c : decl.controls) {
        auto *label = new QLabel(c.label);
        QWidget *w = buildControl(c);
        label->setBuddy(w);
        if (c.bottom) {
            bottom->addWidget(label);
            bottom->addWidget(w);
        } else {
            grid->addWidget(label, c.row, 2 * c.column2, c.type == HeaderControl::Memo ? Qt::AlignTop : Qt::Alignment());
            grid->addWidget(w, c.row, 2 * c.column2 + 1, 1, 2 * c.span - 1);
            grid->setColumnStretch(2 * c.column2 + 1, 1);
        }
    }
    top->addWidget(m_headerBox);
    buildLines(top);

    bottom->addStretch(1);
    auto *sbTM = new QToolButton;
    sbTM->setObjectName(QStringLiteral("sbTM"));
    sbTM->setText(QStringLiteral("条码输入"));
    sbTM->setCheckable(true);
    sbTM->setChecked(dm.barcodeInput());
    sbTM->setVisible(decl.barcode);
    connect(sbTM, &QToolButton::clicked, this, [this] {
        applyMode();
        if (button("sbTM")->isChecked()) focusControl(QStringLiteral("edtTM"));
    });
    auto *sbExcel = new QToolButton;
    sbExcel->setObjectName(QStringLiteral("sbExcel"));
    sbExcel->setText(QStringLiteral("Excel导入"));
    sbExcel->setVisible(decl.excelImport);
    sbExcel->setEnabled(false); // until the Excel import of lines exists
    bottom->addWidget(sbTM);
    bottom->addWidget(sbExcel);
    top->addWidget(m_bottom);

    fillCombos();
    m_ctl->changed = [this] { refresh(); };
    // Show: grid layout, formats and captions, then the day's list.
    LoadGridLayout(m_grid, decl.layoutKey);
    ApplyColumnFormats(m_grid, decl.formatKind, decl.priceMode);
    ApplyUserFieldCaptions(m_grid);
    const bool prices = dm.session().canSeePrices || dm.session().isSuperUser();
    for (const PrintTemplate &t : documentTemplates(*decl.kind)) {
        if (QAction *a = m_actions.value(t.printAction)) a->setVisible(prices || !t.prices);
        if (QAction *a = m_actions.value(t.designAction)) a->setVisible(prices || !t.prices);
    }
    qApp->installEventFilter(this);
    m_ctl->setListDate(QDate::currentDate());
    resize(960, 640);
}

DocumentWindow::~DocumentWindow()
{
    m_ctl->changed = nullptr;
}

QToolButton *DocumentWindow::button(const char *name) const { return findChild<QToolButton *>(QLatin1String(name)); }

void DocumentWindow::buildToolBar(QVBoxLayout *top)
{
    auto *bar = new QToolBar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(24, 24));
    top->addWidget(bar);
    struct Tool { const char *name; const char *caption; QColor colour; std::function<void()> run; };
    const QColor blue(0x2f, 0x6f, 0xb5), green(0x3a, 0x8f, 0x4a), red(0xb5, 0x3a, 0x2f), grey(0x60, 0x6a, 0x75);
    const QList<Tool> tools = {
        {"tbNew", "新增", blue, [this] { tbNewClick(); }},
        {"tbEdit", "修改", blue, [this] { tbEditClick(); }},
        {"tbCopy", "复制", blue, [this] { tbCopyClick(); }},
        {"tbDel", "删除", red, [this] { tbDelClick(); }},
        {nullptr, nullptr, {}, {}},
        {"tbFirst", "首项", grey, [this] { m_ctl->first(); }},
        {"tbPrior", "前项", grey, [this] { m_ctl->prior(); }},
        {"tbNext", "后项", grey, [this] { m_ctl->next(); }},
        {"tbLast", "末项", grey, [this] { m_ctl->last(); }},
        {nullptr, nullptr, {}, {}},
        {"tbSave", "保存", green, [this] { tbSaveClick(); }},
        {"tbCancel", "取消", red, [this] { tbCancelClick(); }},
        {nullptr, nullptr, {}, {}},
        {"tbCheck", "审核", green, [this] { tbCheckClick(); }},
        {"tbFcheck", "反审", red, [this] { tbFcheckClick(); }},
        {nullptr, nullptr, {}, {}},
        {"tbPrint", "打印", grey, [this] { printTemplate(defaultTemplate()); }},
        {"tbSet", "设置", grey, [this] { designTemplate(defaultTemplate()); }},
        {nullptr, nullptr, {}, {}},
        {"tbExit", "退出", grey, [this] { close(); }},
    };
    for (const Tool &t : tools) {
        if (!t.name) {
            bar->addSeparator();
            continue;
        }
        auto *b = new QToolButton;
        b->setObjectName(QLatin1String(t.name));
        b->setText(QString::fromUtf8(t.caption));
        b->setIcon(glyphIcon(b->text(), t.colour));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, t.run);
        m_toolActions.insert(b->objectName(), bar->addWidget(b));
    }
    m_toolActions.value(QStringLiteral("tbCopy"))->setVisible(m_decl.copy);
    // The print and design entries of every template in the drop-downs.
    auto *printMenu = new QMenu(this), *designMenu = new QMenu(this);
    for (const PrintTemplate &t : documentTemplates(*m_decl.kind)) {
        if (t.printAction.isEmpty()) continue;
        const QString name = t.name;
        QAction *p = printMenu->addAction(t.printCaption, this, [this, name] { printTemplate(name); });
        p->setObjectName(t.printAction);
        QAction *d = designMenu->addAction(t.designCaption, this, [this, name] { designTemplate(name); });
        d->setObjectName(t.designAction);
        m_actions.insert(t.printAction, p);
        m_actions.insert(t.designAction, d);
    }
    for (auto [name, menu] : {std::pair{"tbPrint", printMenu}, std::pair{"tbSet", designMenu}}) {
        if (menu->isEmpty()) continue;
        button(name)->setMenu(menu);
        button(name)->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QWidget *DocumentWindow::buildControl(const HeaderControl &c)
{
    QWidget *w = nullptr;
    const QString column = c.column;
    switch (c.type) {
    case HeaderControl::Date: {
        auto *d = new QDateEdit;
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
        connect(d, &QDateEdit::dateChanged, this, [this, column](const QDate &v) { pushHeader(column, v); });
        w = d;
        break;
    }
    case HeaderControl::Combo: {
        auto *b = new QComboBox;
        b->setEditable(true);
        b->setInsertPolicy(QComboBox::NoInsert);
        connect(b, &QComboBox::currentTextChanged, this, [this, column](const QString &v) { pushHeader(column, v); });
        w = b;
        break;
    }
    case HeaderControl::Memo: {
        auto *m = new QPlainTextEdit;
        m->setTabChangesFocus(true);
        m->setFixedHeight(m->fontMetrics().lineSpacing() * 2 + 12);
        connect(m, &QPlainTextEdit::textChanged, this, [this, m, column] { pushHeader(column, m->toPlainText()); });
        w = m;
        break;
    }
    default: {
        auto *e = new QLineEdit;
        e->setReadOnly(c.type == HeaderControl::ReadOnly);
        if (c.type == HeaderControl::DateText)
            connect(e, &QLineEdit::textEdited, this, [this, column](const QString &v) {
                pushHeader(column, QDate::fromString(v.trimmed(), QStringLiteral("yyyy-MM-dd")));
            });
        else if (c.type != HeaderControl::ReadOnly)
            connect(e, &QLineEdit::textEdited, this, [this, column](const QString &v) { pushHeader(column, v); });
        if (c.type == HeaderControl::Supplier) {
            QAction *pick = e->addAction(glyphIcon(QStringLiteral("…"), QColor(0x60, 0x6a, 0x75)), QLineEdit::TrailingPosition);
            pick->setObjectName(c.objectName + QStringLiteral("Button"));
            pick->setToolTip(QStringLiteral("选择供应商"));
            connect(pick, &QAction::triggered, this, &DocumentWindow::pickSupplier);
        }
        w = e;
        break;
    }
    }
    w->setObjectName(c.objectName);
    m_controls.insert(c.objectName, w);
    return w;
}

void DocumentWindow::buildLines(QVBoxLayout *top)
{
    // Barcode panel on the left, line buttons on the right, above the lines.
    auto *row = new QHBoxLayout;
    m_barcodePanel = new QWidget;
    m_barcodePanel->setObjectName(QStringLiteral("pTM"));
    auto *tm = new QHBoxLayout(m_barcodePanel);
    tm->setContentsMargins(0, 0, 0, 0);
    auto *edtTM = new QLineEdit;
    edtTM->setObjectName(QStringLiteral("edtTM"));
    edtTM->setProperty("keepEnter", true);
    auto *amount = new QLineEdit(QStringLiteral("1"));
    amount->setObjectName(QStringLiteral("rceAmount"));
    amount->setValidator(new QDoubleValidator(amount));
    amount->setMaximumWidth(90);
    for (auto [caption, box] : {std::pair{"条    码：", edtTM}, std::pair{"数    量：", amount}}) {
        auto *l = new QLabel(QString::fromUtf8(caption));
        l->setBuddy(box);
        tm->addWidget(l);
        tm->addWidget(box);
        m_controls.insert(box->objectName(), box);
    }
    m_barcodePanel->hide();
    row->addWidget(m_barcodePanel);
    row->addStretch(1);

    m_linesMenu = new QMenu(this);
    auto addAction = [this](const QString &name, const QString &caption, const QKeySequence &key, std::function<void()> run) {
        auto *a = new QAction(caption, this);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut); // keys arrive through the window's key handling
        connect(a, &QAction::triggered, this, std::move(run));
        m_actions.insert(name, a);
        return a;
    };
    for (const LineAction &la : m_decl.lineActions) {
        std::function<void()> run;
        if (la.role == LineAction::AddLine)
            run = [this] {
                const int r = m_ctl->addLine();
                m_grid->setCurrentIndex(m_grid->model()->index(r, m_grid->gridModel()->visibleColumns().value(0)));
                m_grid->setFocus();
            };
        else if (la.role == LineAction::DeleteLine)
            run = [this] { m_ctl->deleteLine(m_grid->currentRow()); };
        else
            run = [this, hook = la.run] { if (hook) hook(*this); };
        QAction *a = addAction(la.actionName, la.actionCaption, la.key, run);
        auto *b = new QPushButton(la.buttonCaption);
        b->setObjectName(la.buttonName);
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        connect(a, &QAction::enabledChanged, b, &QWidget::setEnabled);
        row->addWidget(b);
    }
    top->addLayout(row);

    m_grid = new DataGrid;
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setTitleSort(DataGrid::TitleSort::None); // lines keep the document's order
    QList<GridField> fields;
    if (const TableDef *t = Schema::table(m_decl.kind->linesTable))
        for (const ColumnDef &c : t->columns)
            if (c.type != ColumnType::Id) fields << GridField{c.name, cellTypeOf(c)};
    m_grid->setColumns(m_decl.lineColumns);
    m_grid->gridModel()->setFields(fields);
    m_grid->setRowColours([this](int r) -> DataGrid::RowColours {
        const auto &lines = m_ctl->document().lines;
        if (r < 0 || r >= lines.size() || qRound(lines[r].values.value(QStringLiteral("F_Amount")).toDouble()) >= 0) return {};
        return {palette().color(QPalette::Button), Qt::red};
    });
    connect(m_grid->gridModel(), &QAbstractItemModel::dataChanged, this, &DocumentWindow::lineEdited);
    connect(m_grid, &DataGrid::ellipsisClicked, this, [this] { pickGoods(); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (m_ctl->mode() == DocumentController::Mode::Entry) m_linesMenu->exec(m_grid->viewport()->mapToGlobal(pos));
    });
    top->addWidget(m_grid, 1);

    addAction(QStringLiteral("actDisp"), QStringLiteral("显示字段列表"), Qt::Key_F11, [this] { ChooseGridColumns(m_grid); });
    addAction(QStringLiteral("actSave"), QStringLiteral("保存当前设置"), Qt::Key_F12, [this] { saveLayout(); });
    for (const LineAction &la : m_decl.lineActions)
        if (la.role == LineAction::Convert) m_linesMenu->addAction(m_actions.value(la.actionName));
    for (const LineAction &la : m_decl.lineActions)
        if (la.role != LineAction::Convert) m_linesMenu->addAction(m_actions.value(la.actionName));
    m_linesMenu->addSeparator();
    m_linesMenu->addAction(m_actions.value(QStringLiteral("actDisp")));
    m_linesMenu->addAction(m_actions.value(QStringLiteral("actSave")));
}

void DocumentWindow::fillCombos()
{
    for (const HeaderControl &c : m_decl.controls) {
        if (c.type != HeaderControl::Combo) continue;
        QString sql = c.fillSql;
        QVariantList params = c.fillParams;
        if (c.warehouseNames) {
            const SqlFilter f = WarehouseNameFilter(m_dm.session());
            sql += f.sql;
            params += f.params;
        }
        auto *box = qobject_cast<QComboBox *>(m_controls.value(c.objectName));
        m_filling = true;
        box->clear();
        box->addItems(m_dm.FillComboBox(sql + QLatin1Char(' ') + c.fillTail, params));
        m_filling = false;
    }
}

void DocumentWindow::refresh()
{
    m_filling = true;
    applyMode();
    showHeader();
    showLines();
    m_filling = false;
}

void DocumentWindow::applyMode()
{
    const DocumentController::Tools t = m_ctl->tools();
    const bool entry = m_ctl->mode() == DocumentController::Mode::Entry;
    const int row = m_ctl->row(), rows = int(m_ctl->dayList().size());
    const QList<std::pair<const char *, bool>> states = {
        {"tbNew", t.newDoc}, {"tbEdit", t.edit}, {"tbCopy", t.copy}, {"tbDel", t.del},
        {"tbFirst", t.navigate && row > 0}, {"tbPrior", t.navigate && row > 0},
        {"tbNext", t.navigate && row + 1 < rows}, {"tbLast", t.navigate && row + 1 < rows},
        {"tbSave", t.save}, {"tbCancel", t.cancel}, {"tbCheck", t.audit}, {"tbFcheck", t.unaudit},
        {"tbPrint", t.print}, {"tbSet", t.design}, {"tbExit", t.exit}};
    for (const auto &[name, on] : states) button(name)->setEnabled(on);
    m_toolActions.value(QStringLiteral("tbFcheck"))->setVisible(t.unauditVisible);
    m_controls.value(QStringLiteral("dtpXzDate"))->setEnabled(t.listDate);
    m_headerBox->setEnabled(t.header);
    m_bottom->setEnabled(t.header);
    for (const LineAction &la : m_decl.lineActions)
        m_actions.value(la.actionName)->setEnabled(la.role == LineAction::Convert ? t.convert && bool(la.run) : t.lineActions);
    m_barcodePanel->setVisible(m_decl.barcode && entry && button("sbTM")->isChecked());
    if (entry == m_modeEditable) return;
    // Entry mode: editable lines with the goods button; browse mode: read-only.
    m_modeEditable = entry;
    if (entry) {
        PrepareLineGrid(m_grid);
    } else {
        GridColumns cols = m_grid->columns();
        for (GridColumn &c : cols) c.ellipsis = false;
        m_grid->setColumns(cols);
        m_grid->setEditable(false);
    }
}

void DocumentWindow::showHeader()
{
    const Document &doc = m_ctl->document();
    const bool audited = doc.audited();
    for (const HeaderControl &c : m_decl.controls) {
        QWidget *w = m_controls.value(c.objectName);
        const QVariant v = c.auditedOnly && !audited ? QVariant() : doc.header.value(c.column);
        if (auto *d = qobject_cast<QDateEdit *>(w)) d->setDate(shownDate(v));
        else if (auto *b = qobject_cast<QComboBox *>(w)) b->setEditText(v.toString());
        else if (auto *m = qobject_cast<QPlainTextEdit *>(w)) m->setPlainText(v.toString());
        else if (auto *e = qobject_cast<QLineEdit *>(w)) e->setText(c.type == HeaderControl::DateText ? textOf(shownDate(v)) : textOf(v));
    }
    m_status->setText(audited ? QStringLiteral("已审核") : QStringLiteral("未审核"));
    m_status->setStyleSheet(audited ? QStringLiteral("color: red;") : QStringLiteral("color: black;"));
    auto *listDate = qobject_cast<QDateEdit *>(m_controls.value(QStringLiteral("dtpXzDate")));
    listDate->setDate(m_ctl->listDate());
    if (m_ctl->mode() != DocumentController::Mode::Entry) return;
    // The boxes are what a save writes: the date shown for an empty one counts as typed.
    for (const HeaderControl &c : m_decl.controls) {
        QWidget *w = m_controls.value(c.objectName);
        if (auto *d = qobject_cast<QDateEdit *>(w)) m_ctl->adoptShownHeader(c.column, d->date());
        else if (c.type == HeaderControl::DateText)
            m_ctl->adoptShownHeader(c.column, QDate::fromString(qobject_cast<QLineEdit *>(w)->text(), QStringLiteral("yyyy-MM-dd")));
    }
}

void DocumentWindow::showLines()
{
    GridModel *model = m_grid->gridModel();
    const QModelIndex at = m_grid->currentIndex();
    const QList<GridField> fields = model->fields();
    model->clearRows();
    for (const DocumentLine &l : m_ctl->document().lines) {
        QVariantList values;
        values.reserve(fields.size());
        for (const GridField &f : fields) values << l.values.value(f.name);
        model->appendRow(values);
    }
    if (model->rowCount() > 0) {
        const int col = at.isValid() ? at.column() : model->visibleColumns().value(0);
        m_grid->setCurrentIndex(model->index(qBound(0, at.row(), model->rowCount() - 1), col));
    }
}

void DocumentWindow::pushHeader(const QString &column, const QVariant &value)
{
    if (!m_filling && !column.isEmpty()) m_ctl->setHeader(column, value);
}

void DocumentWindow::lineEdited(const QModelIndex &from, const QModelIndex &to)
{
    if (m_filling) return;
    static const QStringList inputs = {QStringLiteral("F_Amount"), QStringLiteral("F_Price"), QStringLiteral("F_Rate")};
    GridModel *model = m_grid->gridModel();
    for (int r = from.row(); r <= to.row(); ++r) {
        for (int c = from.column(); c <= to.column(); ++c) {
            const QString field = m_grid->columns().value(c).field;
            if (field.isEmpty()) continue;
            m_ctl->setLineValue(r, field, model->value(r, field));
            if (!inputs.contains(field, Qt::CaseInsensitive)) continue;
            m_filling = true;
            model->setValue(r, QStringLiteral("F_TotalPrice"), m_ctl->document().lines.value(r).values.value(QStringLiteral("F_TotalPrice")));
            m_filling = false;
        }
    }
}

// Writes an open cell editor into the lines, or throws its input away.
static void closeCellEditor(DataGrid *grid, bool commit)
{
    // The only widgets shown on the cells are the open editors.
    for (QWidget *editor : grid->viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible()) continue;
        if (commit) QMetaObject::invokeMethod(grid, "commitData", Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(grid, "closeEditor", Q_ARG(QWidget *, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

void DocumentWindow::enterInGrid()
{
    closeCellEditor(m_grid, true);
    if (m_ctl->mode() != DocumentController::Mode::Entry) return;
    const QModelIndex at = m_grid->currentIndex();
    if (!at.isValid()) return;
    const int row = at.row();
    const auto step = m_ctl->enterInLines(row, m_grid->columns().value(at.column()).field);
    GridModel *model = m_grid->gridModel();
    if (step == DocumentController::EnterStep::SelectQuantity)
        m_grid->setCurrentIndex(model->index(row, model->columnOf(QStringLiteral("F_Amount"))));
    else if (step == DocumentController::EnterStep::NewLineFirstColumn)
        m_grid->setCurrentIndex(model->index(row + 1, model->visibleColumns().value(0)));
    m_grid->setFocus();
}

void DocumentWindow::barcodeEntry()
{
    closeCellEditor(m_grid, false);
    auto *edtTM = qobject_cast<QLineEdit *>(m_controls.value(QStringLiteral("edtTM")));
    const double qty = qobject_cast<QLineEdit *>(m_controls.value(QStringLiteral("rceAmount")))->text().toDouble();
    if (m_ctl->barcodeEntry(edtTM->text(), qty)) edtTM->clear();
    edtTM->setFocus();
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && (w == this || isAncestorOf(w)) && handleKey(watched, static_cast<QKeyEvent *>(event))) return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The window sees keys before its controls.
bool DocumentWindow::handleKey(QObject *watched, QKeyEvent *key)
{
    auto press = [](QToolButton *b) {
        if (!b || !b->isEnabled() || !b->isVisible()) return false;
        b->click();
        return true;
    };
    auto trigger = [this](const char *name) {
        QAction *a = m_actions.value(QLatin1String(name));
        if (!a || !a->isEnabled()) return false;
        a->trigger();
        return true;
    };
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier) {
        if (key->key() == Qt::Key_A) return press(button("tbNew"));
        if (key->key() == Qt::Key_E) return press(button("tbEdit"));
        if (key->key() == Qt::Key_S) return press(button("tbSave"));
        return false;
    }
    if (isEnter(key)) {
        if (watched == m_controls.value(QStringLiteral("edtTM"))) {
            barcodeEntry();
            return true;
        }
        if (auto *w = qobject_cast<QWidget *>(watched); w == m_grid || m_grid->isAncestorOf(w)) {
            enterInGrid();
            return true;
        }
        return false;
    }
    if (mods != Qt::NoModifier) return false;
    switch (key->key()) {
    case Qt::Key_Escape: return press(button("tbCancel")) || press(button("tbExit"));
    case Qt::Key_Delete: return press(button("tbDel"));
    case Qt::Key_F8: return trigger("actBill");
    case Qt::Key_F9: return trigger("actAdd");
    case Qt::Key_F10: return trigger("actDel");
    case Qt::Key_F11: return trigger("actDisp");
    case Qt::Key_F12: return trigger("actSave");
    default: return false;
    }
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    closeCellEditor(m_grid, true);
    if (m_ctl->hasUnsavedInput() && ShowMess(DocumentController::discardQuestion(), MsgQuestion) == AnswerNo) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void DocumentWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce) m_grid->setFocus();
    m_shownOnce = true;
}

void DocumentWindow::focusControl(const QString &name)
{
    if (QWidget *w = m_controls.value(name)) w->setFocus();
}

void DocumentWindow::openAt(const QString &code, const QDate &date)
{
    if (m_ctl->mode() == DocumentController::Mode::Entry) return; // never throw away a document being entered
    m_ctl->locateCode = code;
    m_ctl->setListDate(date);
}

void DocumentWindow::tbNewClick()
{
    if (m_ctl->newDocument()) focusControl(QStringLiteral("dtpMakeDate"));
}

void DocumentWindow::tbEditClick()
{
    if (m_ctl->edit()) focusControl(QStringLiteral("dtpMakeDate"));
}

void DocumentWindow::tbCopyClick()
{
    if (m_ctl->copy()) focusControl(QStringLiteral("dtpMakeDate"));
}

void DocumentWindow::tbDelClick() { m_ctl->remove(); }

void DocumentWindow::tbSaveClick()
{
    closeCellEditor(m_grid, true);
    if (!m_ctl->save()) focusControl(m_ctl->focusControl());
}

void DocumentWindow::tbCancelClick()
{
    // The cell being typed counts as entered: kept if the operator goes on.
    closeCellEditor(m_grid, true);
    m_ctl->cancelEntry();
}

void DocumentWindow::tbCheckClick() { m_ctl->audit(); }
void DocumentWindow::tbFcheckClick() { m_ctl->unaudit(); }

QString DocumentWindow::defaultTemplate() const
{
    return defaultDocumentTemplate(*m_decl.kind, m_ctl->document().lines, m_grid->currentRow(),
                                   m_dm.session().canSeePrices || m_dm.session().isSuperUser());
}

// The day's headers positioned on the shown one, and the shown lines under
// the grid's captions, after making GetReportValue the variable provider.
std::pair<std::shared_ptr<TableDataSet>, std::shared_ptr<TableDataSet>> DocumentWindow::printData()
{
    installDocumentVariables(m_ctl->reportVariables());
    auto header = documentHeaderData(*m_decl.kind, m_ctl->dayList(), m_ctl->row());
    auto lines = documentLinesData(*m_decl.kind, m_ctl->document().lines);
    QList<ReportColumn> captions;
    for (const GridColumn &c : m_grid->columns())
        captions << ReportColumn{c.field, c.bottomCaption(), c.width, c.displayFormat};
    lines->setColumns(captions);
    return {header, lines};
}

void DocumentWindow::printTemplate(const QString &name)
{
    if (m_ctl->row() < 0) return;
    const auto [header, lines] = printData();
    PreviewDocumentReport(name, *header, *lines);
}

void DocumentWindow::designTemplate(const QString &name)
{
    if (m_ctl->row() < 0) return;
    const auto [header, lines] = printData();
    DesignDocumentReport(name, *header, *lines);
}

void DocumentWindow::saveLayout()
{
    if (ShowMess(QStringLiteral("真的要保存当前网格设置吗？"), MsgQuestion) == AnswerYes) SaveGridLayout(m_grid, m_decl.layoutKey);
}

void DocumentWindow::pickSupplier()
{
    auto *box = qobject_cast<QLineEdit *>(m_controls.value(supplierControl()));
    if (!box) return;
    box->setText(PickSupplier(m_dm, this, box->text()));
    pushHeader(m_decl.kind->supplierColumn, box->text());
}

// What the goods picker appends to: this window's lines.
class DocumentWindow::GoodsTarget : public GoodsLineTarget {
public:
    explicit GoodsTarget(DocumentWindow &w) : m_w(w) {}
    int goodsDocKind() const override { return m_w.m_decl.goodsDocKind; }
    QString goodsSupplierText() const override { return m_w.m_ctl->header(m_w.m_decl.kind->supplierColumn).toString(); }
    QString goodsDocumentCode() const override { return m_w.m_ctl->currentCode(); }
    void appendGoodsLine(const QVariantMap &line) override { m_w.m_ctl->appendLine(line); }

private:
    DocumentWindow &m_w;
};

void DocumentWindow::pickGoods()
{
    if (m_ctl->mode() != DocumentController::Mode::Entry || m_decl.goodsDocKind == 0) return;
    closeCellEditor(m_grid, true);
    GoodsTarget target(*this);
    AddGoodsLines(m_dm, this, target);
    m_grid->setFocus();
}

QString DocumentWindow::supplierControl() const
{
    for (const HeaderControl &c : m_decl.controls)
        if (c.type == HeaderControl::Supplier) return c.objectName;
    return {};
}

} // namespace korvan
