#include "ReportDesigner.h"
#include "Messages.h"
#include "ReportDesignCanvas.h"
#include "ReportExpression.h"
#include "ReportPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace korvan {

namespace {

const QString kItemsMime = QStringLiteral("application/x-korvan-report-items");
const QString kTextMime = QStringLiteral("application/x-korvan-report-text");

// Palette entries carry the text they insert; dragging one onto a band drops it there.
class Palette : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
protected:
    QStringList mimeTypes() const override { return {kTextMime}; }
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override
    {
        if (items.isEmpty() || items.first()->data(0, Qt::UserRole).toString().isEmpty()) return nullptr;
        auto *m = new QMimeData;
        m->setData(kTextMime, items.first()->data(0, Qt::UserRole).toString().toUtf8());
        return m;
    }
};

// The whole layout before and after one change.
} // namespace

class LayoutCommand : public QUndoCommand {
public:
    LayoutCommand(ReportDesigner *d, ReportLayout before, ReportLayout after, const QString &text)
        : QUndoCommand(text), m_d(d), m_before(std::move(before)), m_after(std::move(after)) {}
    void undo() override { m_d->setLayout(m_before); }
    void redo() override { m_d->setLayout(m_after); }
private:
    ReportDesigner *m_d;
    ReportLayout m_before, m_after;
};

ReportDesigner::ReportDesigner(ReportJob job, QWidget *parent)
    : QDialog(parent), m_job(std::move(job)), m_layout(m_job.layout), m_undo(new QUndoStack(this))
{
    setObjectName(QStringLiteral("ReportDesigner"));
    setWindowTitle(QStringLiteral("报表设计 - ") + m_job.name);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    m_undo->setUndoLimit(200);
    showPreview = [](QWidget *preview) {
        preview->setWindowModality(Qt::ApplicationModal);
        preview->show();
    };
    buildUi();
    fillPalette();
    const ReportBand *detail = m_layout.band(BandKind::Detail);
    setCurrentBand(detail ? int(detail - m_layout.bands.data()) : (m_layout.bands.isEmpty() ? -1 : 0));
    resize(1180, 780);
}

ReportDesigner::~ReportDesigner() = default;

bool ReportDesigner::isModified() const { return !m_undo->isClean(); }

const ReportItem *ReportDesigner::item(const ItemRef &r) const
{
    if (r.band < 0 || r.band >= m_layout.bands.size()) return nullptr;
    const QList<ReportItem> &items = m_layout.bands[r.band].items;
    return r.item >= 0 && r.item < items.size() ? &items[r.item] : nullptr;
}

void ReportDesigner::buildUi()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("designToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [&](const char *name, const QString &text, const QKeySequence &key, auto slot) {
        QAction *a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    action("actSave", QStringLiteral("保存"), QKeySequence::Save, [this] { save(); });
    action("actPreview", QStringLiteral("预览"), QKeySequence(Qt::Key_F5), [this] { preview(); });
    action("actRevert", QStringLiteral("恢复默认格式"), {}, [this] { revertToDefault(); });
    bar->addSeparator();
    // Fixed captions; the step's name goes into the tool tip.
    QAction *undo = action("actUndo", QStringLiteral("撤销"), QKeySequence::Undo, [this] { m_undo->undo(); });
    QAction *redo = action("actRedo", QStringLiteral("重做"), QKeySequence::Redo, [this] { m_undo->redo(); });
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(m_undo, &QUndoStack::undoTextChanged, undo, [undo](const QString &t) { undo->setToolTip(QStringLiteral("撤销") + t); });
    connect(m_undo, &QUndoStack::redoTextChanged, redo, [redo](const QString &t) { redo->setToolTip(QStringLiteral("重做") + t); });
    bar->addSeparator();
    action("actAddText", QStringLiteral("文本"), {}, [this] { addText(QStringLiteral("文本")); });
    action("actCopy", QStringLiteral("复制"), QKeySequence::Copy, [this] { copySelection(); });
    action("actPaste", QStringLiteral("粘贴"), QKeySequence::Paste, [this] { paste(); });
    action("actDelete", QStringLiteral("删除"), {}, [this] { deleteSelection(); });
    bar->addSeparator();
    action("actAlignLeft", QStringLiteral("左对齐"), {}, [this] { alignSelection(Align::Left); });
    action("actAlignRight", QStringLiteral("右对齐"), {}, [this] { alignSelection(Align::Right); });
    action("actAlignTop", QStringLiteral("顶端对齐"), {}, [this] { alignSelection(Align::Top); });
    action("actAlignBottom", QStringLiteral("底端对齐"), {}, [this] { alignSelection(Align::Bottom); });
    action("actSameWidth", QStringLiteral("同宽"), {}, [this] { alignSelection(Align::SameWidth); });
    action("actSameHeight", QStringLiteral("同高"), {}, [this] { alignSelection(Align::SameHeight); });
    bar->addSeparator();
    auto *addBandButton = new QToolButton(bar);
    addBandButton->setObjectName(QStringLiteral("tbAddBand"));
    addBandButton->setText(QStringLiteral("添加区域"));
    addBandButton->setPopupMode(QToolButton::InstantPopup);
    auto *bandMenu = new QMenu(addBandButton);
    connect(bandMenu, &QMenu::aboutToShow, this, [this, bandMenu] {
        bandMenu->clear();
        for (BandKind k : allBandKinds())
            if (!m_layout.band(k)) bandMenu->addAction(bandCaption(k), this, [this, k] { addBand(k); });
    });
    addBandButton->setMenu(bandMenu);
    bar->addWidget(addBandButton);
    action("actRemoveBand", QStringLiteral("删除区域"), {}, [this] { removeBand(m_band); });
    bar->addSeparator();
    action("actClose", QStringLiteral("关闭"), {}, [this] { close(); });

    // Palette.
    auto *left = new QWidget(this);
    auto *leftLay = new QVBoxLayout(left);
    leftLay->setContentsMargins(4, 4, 4, 4);
    leftLay->addWidget(new QLabel(QStringLiteral("数据字段与变量（双击或拖到区域中）"), left));
    m_palette = new Palette(left);
    m_palette->setObjectName(QStringLiteral("tvPalette"));
    m_palette->setHeaderHidden(true);
    m_palette->setDragEnabled(true);
    m_palette->setDragDropMode(QAbstractItemView::DragOnly);
    leftLay->addWidget(m_palette);
    connect(m_palette, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *it) {
        const QString text = it->data(0, Qt::UserRole).toString();
        if (!text.isEmpty()) addText(text);
    });

    // Canvas.
    m_canvas = new ReportDesignCanvas(this);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("designScroll"));
    scroll->setWidget(m_canvas);
    scroll->setBackgroundRole(QPalette::Dark);

    // Properties.
    auto *props = new QWidget(this);
    auto *propLay = new QVBoxLayout(props);
    propLay->setContentsMargins(4, 4, 4, 4);
    m_itemBox = new QGroupBox(QStringLiteral("文本项"), props);
    auto *f = new QFormLayout(m_itemBox);
    auto mmBox = [&](const char *name, double max) {
        auto *b = new QDoubleSpinBox(props);
        b->setObjectName(QLatin1String(name));
        b->setDecimals(1);
        b->setRange(0, max);
        b->setSingleStep(0.5);
        b->setSuffix(QStringLiteral(" mm"));
        b->setKeyboardTracking(false);
        return b;
    };
    auto row = [](QFormLayout *form, const QString &label, QWidget *w) {
        auto *l = new QLabel(label, w->parentWidget());
        l->setBuddy(w);
        form->addRow(l, w);
    };
    m_text = new QLineEdit(m_itemBox);
    m_text->setObjectName(QStringLiteral("edtItemText"));
    m_text->setToolTip(QStringLiteral("文字中方括号内为表达式，如 [frxDM.\"F_Code\"]、[SUM(frxDD.\"F_TotalPrice\")]、[Page]"));
    row(f, QStringLiteral("内容："), m_text);
    connect(m_text, &QLineEdit::editingFinished, this, [this] {
        const QString t = m_text->text();
        applyToSelection(QStringLiteral("修改内容"), [t](ReportItem &it) { it.text = t; });
    });
    m_family = new QFontComboBox(m_itemBox);
    m_family->setObjectName(QStringLiteral("cbbFontFamily"));
    row(f, QStringLiteral("字体："), m_family);
    connect(m_family, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        applyToSelection(QStringLiteral("修改字体"), [font](ReportItem &it) { it.font.family = font.family(); });
    });
    m_size = new QDoubleSpinBox(m_itemBox);
    m_size->setObjectName(QStringLiteral("spnFontSize"));
    m_size->setRange(4, 72);
    m_size->setDecimals(1);
    m_size->setSuffix(QStringLiteral(" 磅"));
    m_size->setKeyboardTracking(false);
    row(f, QStringLiteral("字号："), m_size);
    connect(m_size, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        applyToSelection(QStringLiteral("修改字号"), [v](ReportItem &it) { it.font.size = v; });
    });
    auto *styleRow = new QWidget(m_itemBox);
    auto *styleLay = new QHBoxLayout(styleRow);
    styleLay->setContentsMargins(0, 0, 0, 0);
    m_bold = new QCheckBox(QStringLiteral("粗体"), styleRow);
    m_bold->setObjectName(QStringLiteral("chkBold"));
    m_italic = new QCheckBox(QStringLiteral("斜体"), styleRow);
    m_italic->setObjectName(QStringLiteral("chkItalic"));
    styleLay->addWidget(m_bold);
    styleLay->addWidget(m_italic);
    f->addRow(QString(), styleRow);
    connect(m_bold, &QCheckBox::toggled, this, [this](bool on) {
        applyToSelection(QStringLiteral("粗体"), [on](ReportItem &it) { it.font.bold = on; });
    });
    connect(m_italic, &QCheckBox::toggled, this, [this](bool on) {
        applyToSelection(QStringLiteral("斜体"), [on](ReportItem &it) { it.font.italic = on; });
    });
    m_hAlign = new QComboBox(m_itemBox);
    m_hAlign->setObjectName(QStringLiteral("cbbHAlign"));
    m_hAlign->addItem(QStringLiteral("左对齐"), int(Qt::AlignLeft));
    m_hAlign->addItem(QStringLiteral("居中"), int(Qt::AlignHCenter));
    m_hAlign->addItem(QStringLiteral("右对齐"), int(Qt::AlignRight));
    row(f, QStringLiteral("水平对齐："), m_hAlign);
    m_vAlign = new QComboBox(m_itemBox);
    m_vAlign->setObjectName(QStringLiteral("cbbVAlign"));
    m_vAlign->addItem(QStringLiteral("顶端"), int(Qt::AlignTop));
    m_vAlign->addItem(QStringLiteral("居中"), int(Qt::AlignVCenter));
    m_vAlign->addItem(QStringLiteral("底端"), int(Qt::AlignBottom));
    row(f, QStringLiteral("垂直对齐："), m_vAlign);
    auto alignChanged = [this] {
        const int a = m_hAlign->currentData().toInt() | m_vAlign->currentData().toInt();
        applyToSelection(QStringLiteral("对齐方式"), [a](ReportItem &it) { it.align = a; });
    };
    connect(m_hAlign, &QComboBox::activated, this, alignChanged);
    connect(m_vAlign, &QComboBox::activated, this, alignChanged);
    auto *borderRow = new QWidget(m_itemBox);
    auto *borderLay = new QHBoxLayout(borderRow);
    borderLay->setContentsMargins(0, 0, 0, 0);
    const char *borderNames[] = {"chkBorderLeft", "chkBorderTop", "chkBorderRight", "chkBorderBottom"};
    const char *borderTexts[] = {"左", "上", "右", "下"};
    for (int i = 0; i < 4; ++i) {
        m_border[i] = new QCheckBox(QString::fromUtf8(borderTexts[i]), borderRow);
        m_border[i]->setObjectName(QLatin1String(borderNames[i]));
        borderLay->addWidget(m_border[i]);
        const int bit = 1 << i;
        connect(m_border[i], &QCheckBox::toggled, this, [this, bit](bool on) {
            applyToSelection(QStringLiteral("边框"), [bit, on](ReportItem &it) { it.borders = on ? (it.borders | bit) : (it.borders & ~bit); });
        });
    }
    f->addRow(QStringLiteral("边框："), borderRow);
    m_borderWidth = mmBox("spnBorderWidth", 5);
    m_borderWidth->setDecimals(2);
    m_borderWidth->setSingleStep(0.05);
    row(f, QStringLiteral("线宽："), m_borderWidth);
    connect(m_borderWidth, &QDoubleSpinBox::valueChanged, this, [this](double mm) {
        const int w = qRound(mm * 100);
        applyToSelection(QStringLiteral("线宽"), [w](ReportItem &it) { it.borderWidth = w; });
    });
    m_format = new QComboBox(m_itemBox);
    m_format->setObjectName(QStringLiteral("cbbFormat"));
    m_format->setEditable(true);
    m_format->addItems({QString(), QStringLiteral("0.##"), QStringLiteral(",0.00"), QStringLiteral(",0.00##"),
                        QStringLiteral("￥,0.00;-￥,0.00"), QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy年MM月dd日")});
    row(f, QStringLiteral("显示格式："), m_format);
    connect(m_format->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const QString fmt = m_format->currentText();
        applyToSelection(QStringLiteral("显示格式"), [fmt](ReportItem &it) { it.format = fmt; });
    });
    connect(m_format, &QComboBox::activated, this, [this] {
        const QString fmt = m_format->currentText();
        applyToSelection(QStringLiteral("显示格式"), [fmt](ReportItem &it) { it.format = fmt; });
    });
    m_overflow = new QComboBox(m_itemBox);
    m_overflow->setObjectName(QStringLiteral("cbbOverflow"));
    m_overflow->addItem(QStringLiteral("缩小字体适应"), int(Overflow::Shrink));
    m_overflow->addItem(QStringLiteral("自动换行"), int(Overflow::Wrap));
    m_overflow->addItem(QStringLiteral("截断"), int(Overflow::Clip));
    row(f, QStringLiteral("超出时："), m_overflow);
    connect(m_overflow, &QComboBox::activated, this, [this] {
        const auto o = Overflow(m_overflow->currentData().toInt());
        applyToSelection(QStringLiteral("超出方式"), [o](ReportItem &it) { it.overflow = o; });
    });
    m_x = mmBox("spnLeft", 2000);
    m_y = mmBox("spnTop", 2000);
    m_w = mmBox("spnWidth", 2000);
    m_h = mmBox("spnHeight", 2000);
    row(f, QStringLiteral("左："), m_x);
    row(f, QStringLiteral("上："), m_y);
    row(f, QStringLiteral("宽："), m_w);
    row(f, QStringLiteral("高："), m_h);
    auto geometryChanged = [this](int ReportItem::*field, QDoubleSpinBox *box) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, field](double mm) {
            const int v = qRound(mm * 100);
            applyToSelection(QStringLiteral("位置和大小"), [field, v](ReportItem &it) { it.*field = v; });
        });
    };
    geometryChanged(&ReportItem::x, m_x);
    geometryChanged(&ReportItem::y, m_y);
    geometryChanged(&ReportItem::w, m_w);
    geometryChanged(&ReportItem::h, m_h);
    propLay->addWidget(m_itemBox);

    m_bandBox = new QGroupBox(QStringLiteral("区域"), props);
    auto *bf = new QFormLayout(m_bandBox);
    m_bandHeight = mmBox("spnBandHeight", 2000);
    row(bf, QStringLiteral("高度："), m_bandHeight);
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this, [this](double mm) { setBandHeight(m_band, qRound(mm * 100)); });
    m_dataSet = new QComboBox(m_bandBox);
    m_dataSet->setObjectName(QStringLiteral("cbbDataSet"));
    m_dataSet->addItems({QStringLiteral("frxDM"), QStringLiteral("frxDD")});
    row(bf, QStringLiteral("数据集："), m_dataSet);
    connect(m_dataSet, &QComboBox::activated, this, [this] {
        const QString ds = m_dataSet->currentText();
        changeBand(QStringLiteral("数据集"), [ds](ReportBand &band) { band.dataSet = ds; });
    });
    m_rowsPerPage = new QLineEdit(m_bandBox);
    m_rowsPerPage->setObjectName(QStringLiteral("edtRowsPerPage"));
    m_rowsPerPage->setToolTip(QStringLiteral("每页固定行数（表达式，如 PageMaxRow），不足时以空行补齐；空为不限"));
    row(bf, QStringLiteral("每页行数："), m_rowsPerPage);
    connect(m_rowsPerPage, &QLineEdit::editingFinished, this, [this] {
        const QString t = m_rowsPerPage->text().trimmed();
        changeBand(QStringLiteral("每页行数"), [t](ReportBand &band) { band.rowsPerPage = t; });
    });
    m_condition = new QLineEdit(m_bandBox);
    m_condition->setObjectName(QStringLiteral("edtCondition"));
    row(bf, QStringLiteral("分组条件："), m_condition);
    connect(m_condition, &QLineEdit::editingFinished, this, [this] {
        const QString t = m_condition->text().trimmed();
        changeBand(QStringLiteral("分组条件"), [t](ReportBand &band) { band.condition = t; });
    });
    m_autoHeight = new QCheckBox(QStringLiteral("行高随内容增加"), m_bandBox);
    m_autoHeight->setObjectName(QStringLiteral("chkAutoHeight"));
    bf->addRow(QString(), m_autoHeight);
    connect(m_autoHeight, &QCheckBox::toggled, this, [this](bool on) {
        changeBand(QStringLiteral("行高"), [on](ReportBand &band) { band.autoHeight = on; });
    });
    m_atBottom = new QCheckBox(QStringLiteral("打印在页面底部"), m_bandBox);
    m_atBottom->setObjectName(QStringLiteral("chkAtBottom"));
    bf->addRow(QString(), m_atBottom);
    connect(m_atBottom, &QCheckBox::toggled, this, [this](bool on) {
        changeBand(QStringLiteral("页脚位置"), [on](ReportBand &band) { band.atBottom = on; });
    });
    propLay->addWidget(m_bandBox);
    propLay->addStretch(1);
    auto *propScroll = new QScrollArea(this);
    propScroll->setWidget(props);
    propScroll->setWidgetResizable(true);
    propScroll->setMinimumWidth(270);

    auto *split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(scroll);
    split->addWidget(propScroll);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 680, 280});
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(bar);
    lay->addWidget(split, 1);
    m_canvas->layoutChanged();
    refreshProperties();
}

void ReportDesigner::fillPalette()
{
    m_palette->clear();
    auto group = [this](const QString &title) {
        auto *g = new QTreeWidgetItem(m_palette, {title});
        g->setFlags(Qt::ItemIsEnabled);
        return g;
    };
    for (const char *name : {"frxDM", "frxDD"}) {
        const ReportDataSet *ds = m_job.data.get(QLatin1String(name));
        if (!ds) continue;
        auto *g = group(QLatin1String(name));
        for (int c = 0; c < ds->columnCount(); ++c) {
            const QString field = ds->columnName(c);
            QString caption = reportFieldCaption(field);
            for (const ReportColumn &col : ds->columns())
                if (col.field.compare(field, Qt::CaseInsensitive) == 0 && !col.caption.isEmpty()) caption = col.caption;
            auto *it = new QTreeWidgetItem(g, {caption.isEmpty() ? field : field + QStringLiteral("  ") + caption});
            it->setData(0, Qt::UserRole, QStringLiteral("[%1.\"%2\"]").arg(QLatin1String(name), field));
        }
        g->setExpanded(true);
    }
    QMap<QString, QTreeWidgetItem *> categories;
    for (const ReportVariable &v : m_layout.variables) {
        const QString cat = v.category.isEmpty() ? QStringLiteral("变量") : v.category;
        if (!categories.contains(cat)) categories[cat] = group(cat);
        auto *it = new QTreeWidgetItem(categories[cat], {v.name});
        it->setData(0, Qt::UserRole, QLatin1Char('[') + v.name + QLatin1Char(']'));
        categories[cat]->setExpanded(true);
    }
    auto *sys = group(QStringLiteral("系统变量"));
    const char *sysVars[][2] = {{"Page", "页码"}, {"TotalPages", "总页数"}, {"Line", "行号"}, {"Date", "打印日期"}, {"Time", "打印时间"}};
    for (const auto &v : sysVars) {
        auto *it = new QTreeWidgetItem(sys, {QLatin1String(v[0]) + QStringLiteral("  ") + QString::fromUtf8(v[1])});
        it->setData(0, Qt::UserRole, QLatin1Char('[') + QLatin1String(v[0]) + QLatin1Char(']'));
    }
    auto *functions = group(QStringLiteral("函数"));
    QMap<QString, QTreeWidgetItem *> fnCats;
    const ReportDataSet *lines = m_job.data.get(QStringLiteral("frxDD"));
    const QString amount = lines && lines->columnIndex(QStringLiteral("F_TotalPrice")) >= 0
        ? QStringLiteral("SUM(frxDD.\"F_TotalPrice\")") : QStringLiteral("0");
    for (const ReportFunctionInfo &fn : reportFunctions()) {
        if (!fnCats.contains(fn.category)) fnCats[fn.category] = new QTreeWidgetItem(functions, {fn.category});
        auto *it = new QTreeWidgetItem(fnCats[fn.category], {fn.name + QStringLiteral("  ") + fn.description});
        it->setToolTip(0, fn.declaration + QLatin1Char('\n') + fn.description);
        QString insert = fn.name == QLatin1String("MoneyMinToBig") ? QStringLiteral("[MoneyMinToBig(%1)]").arg(amount)
                       : fn.name == QLatin1String("COUNT") ? QStringLiteral("[COUNT()]")
                       : fn.category == QLatin1String("汇总") ? QStringLiteral("[%1(%2)]").arg(fn.name, amount)
                       : QString();
        if (!insert.isEmpty()) it->setData(0, Qt::UserRole, insert);
    }
    functions->setExpanded(true);
    for (QTreeWidgetItem *c : fnCats) c->setExpanded(true);
}

void ReportDesigner::select(const QList<ItemRef> &items)
{
    m_selection.clear();
    for (const ItemRef &r : items)
        if (item(r) && !m_selection.contains(r)) m_selection << r;
    if (!m_selection.isEmpty()) m_band = m_selection.last().band;
    refreshProperties();
    m_canvas->update();
}

void ReportDesigner::setCurrentBand(int band)
{
    m_band = band >= 0 && band < m_layout.bands.size() ? band : -1;
    refreshProperties();
    m_canvas->update();
}

void ReportDesigner::setLayout(const ReportLayout &layout)
{
    m_layout = layout;
    QList<ItemRef> keep;
    for (const ItemRef &r : std::as_const(m_selection))
        if (item(r)) keep << r;
    m_selection = keep;
    if (m_band >= m_layout.bands.size()) m_band = m_layout.bands.isEmpty() ? -1 : 0;
    m_canvas->layoutChanged();
    refreshProperties();
}

void ReportDesigner::change(const QString &what, const std::function<void(ReportLayout &)> &edit)
{
    if (m_refreshing) return;
    ReportLayout after = m_layout;
    edit(after);
    if (after.toJson() == m_layout.toJson()) return;
    m_undo->push(new LayoutCommand(this, m_layout, after, what));
}

void ReportDesigner::commitLive(const QString &what, const ReportLayout &before)
{
    if (before.toJson() == m_layout.toJson()) return;
    m_undo->push(new LayoutCommand(this, before, m_layout, what));
}

void ReportDesigner::liveChanged()
{
    m_canvas->layoutChanged();
    refreshProperties();
}

void ReportDesigner::changeBand(const QString &what, const std::function<void(ReportBand &)> &edit)
{
    const int b = m_band;
    change(what, [b, &edit](ReportLayout &l) {
        if (b >= 0 && b < l.bands.size()) edit(l.bands[b]);
    });
}

void ReportDesigner::applyToSelection(const QString &what, const std::function<void(ReportItem &)> &edit)
{
    if (m_selection.isEmpty()) return;
    const QList<ItemRef> sel = m_selection;
    change(what, [&](ReportLayout &l) {
        for (const ItemRef &r : sel) edit(l.bands[r.band].items[r.item]);
    });
}

int ReportDesigner::targetBand() const
{
    if (m_band >= 0) return m_band;
    const ReportBand *detail = m_layout.band(BandKind::Detail);
    if (detail) return int(detail - m_layout.bands.data());
    return m_layout.bands.isEmpty() ? -1 : 0;
}

ReportDesigner::ItemRef ReportDesigner::addText(const QString &text, QPoint at)
{
    int band = targetBand();
    if (band < 0) {
        addBand(BandKind::Title);
        band = 0;
    }
    const ReportBand &b = m_layout.bands[band];
    ReportItem it;
    it.text = text;
    it.w = qMin(3000, m_layout.page.contentWidth());
    it.h = qMin(600, b.height);
    if (at.x() >= 0) {
        it.x = qBound(0, at.x(), qMax(0, m_layout.page.contentWidth() - it.w));
        it.y = qBound(0, at.y(), qMax(0, b.height - it.h));
    } else {
        // The first free place along the band's top, else its left edge.
        it.x = 0;
        for (const ReportItem &o : b.items)
            if (o.y < it.h) it.x = qMax(it.x, o.x + o.w);
        if (it.x + it.w > m_layout.page.contentWidth()) it.x = 0;
    }
    const int index = int(b.items.size());
    change(QStringLiteral("添加文本"), [band, it](ReportLayout &l) { l.bands[band].items << it; });
    select({{band, index}});
    return {band, index};
}

void ReportDesigner::moveSelection(int dx, int dy)
{
    const int W = m_layout.page.contentWidth();
    QList<int> heights;
    for (const ReportBand &b : m_layout.bands) heights << b.height;
    const QList<ItemRef> sel = m_selection;
    change(QStringLiteral("移动"), [&](ReportLayout &l) {
        for (const ItemRef &r : sel) {
            ReportItem &it = l.bands[r.band].items[r.item];
            it.x = qBound(0, it.x + dx, qMax(0, W - it.w));
            it.y = qBound(0, it.y + dy, qMax(0, heights[r.band] - it.h));
        }
    });
}

void ReportDesigner::resizeSelection(int dw, int dh)
{
    applyToSelection(QStringLiteral("改变大小"), [dw, dh](ReportItem &it) {
        it.w = qMax(50, it.w + dw);
        it.h = qMax(50, it.h + dh);
    });
}

void ReportDesigner::alignSelection(Align how)
{
    if (m_selection.size() < 2) return;
    const ReportItem first = *item(m_selection.first());
    int left = first.x, right = first.x + first.w, top = first.y, bottom = first.y + first.h;
    for (const ItemRef &r : std::as_const(m_selection)) {
        const ReportItem *it = item(r);
        left = qMin(left, it->x);
        right = qMax(right, it->x + it->w);
        top = qMin(top, it->y);
        bottom = qMax(bottom, it->y + it->h);
    }
    applyToSelection(QStringLiteral("对齐"), [=](ReportItem &it) {
        switch (how) {
        case Align::Left: it.x = left; break;
        case Align::Right: it.x = right - it.w; break;
        case Align::Top: it.y = top; break;
        case Align::Bottom: it.y = bottom - it.h; break;
        case Align::SameWidth: it.w = first.w; break;
        case Align::SameHeight: it.h = first.h; break;
        }
    });
}

void ReportDesigner::deleteSelection()
{
    if (m_selection.isEmpty()) return;
    QList<ItemRef> sel = m_selection;
    std::sort(sel.begin(), sel.end(), [](const ItemRef &a, const ItemRef &b) { return a.band != b.band ? a.band > b.band : a.item > b.item; });
    m_selection.clear();
    change(QStringLiteral("删除"), [&](ReportLayout &l) {
        for (const ItemRef &r : sel) l.bands[r.band].items.removeAt(r.item);
    });
}

static QJsonObject itemJson(const ReportItem &it)
{
    // Reuse the file format: a one-band layout carries the items.
    ReportLayout l;
    ReportBand b;
    b.items << it;
    l.bands << b;
    return QJsonDocument::fromJson(l.toJson()).object()[QStringLiteral("bands")].toArray()[0].toObject()[QStringLiteral("items")].toArray()[0].toObject();
}

void ReportDesigner::copySelection()
{
    if (m_selection.isEmpty()) return;
    QJsonArray items;
    QStringList texts;
    for (const ItemRef &r : std::as_const(m_selection)) {
        items << itemJson(*item(r));
        texts << item(r)->text;
    }
    auto *mime = new QMimeData;
    mime->setData(kItemsMime, QJsonDocument(items).toJson(QJsonDocument::Compact));
    mime->setText(texts.join(QLatin1Char('\n')));
    QApplication::clipboard()->setMimeData(mime);
}

void ReportDesigner::paste()
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    if (!mime) return;
    const int band = targetBand();
    if (band < 0) return;
    QList<ReportItem> items;
    if (mime->hasFormat(kItemsMime)) {
        QJsonObject layout{{QStringLiteral("format"), ReportLayout::kFormat}, {QStringLiteral("version"), ReportLayout::kVersion}};
        layout[QStringLiteral("bands")] = QJsonArray{QJsonObject{{QStringLiteral("kind"), QStringLiteral("detail")},
                                                                 {QStringLiteral("items"), QJsonDocument::fromJson(mime->data(kItemsMime)).array()}}};
        if (auto l = ReportLayout::fromJson(QJsonDocument(layout).toJson())) items = l->bands.first().items;
    } else if (mime->hasText() && !mime->text().isEmpty()) {
        addText(mime->text());
        return;
    }
    if (items.isEmpty()) return;
    const int W = m_layout.page.contentWidth(), H = m_layout.bands[band].height;
    const int first = int(m_layout.bands[band].items.size());
    change(QStringLiteral("粘贴"), [&](ReportLayout &l) {
        for (ReportItem it : items) {
            it.x = qBound(0, it.x + 200, qMax(0, W - it.w));
            it.y = qBound(0, it.y, qMax(0, H - it.h));
            l.bands[band].items << it;
        }
    });
    QList<ItemRef> pasted;
    for (int i = first; i < m_layout.bands[band].items.size(); ++i) pasted << ItemRef{band, i};
    select(pasted);
}

void ReportDesigner::setBandHeight(int band, int height)
{
    change(QStringLiteral("区域高度"), [band, height](ReportLayout &l) {
        if (band < 0 || band >= l.bands.size()) return;
        int need = 50;
        for (const ReportItem &it : l.bands[band].items) need = qMax(need, it.y + 50);
        l.bands[band].height = qMax(need, height);
    });
}

void ReportDesigner::addBand(BandKind kind)
{
    if (m_layout.band(kind)) return;
    ReportBand b;
    b.kind = kind;
    b.height = 800;
    if (kind == BandKind::Detail) b.dataSet = m_job.data.get(QStringLiteral("frxDD")) ? QStringLiteral("frxDD") : QStringLiteral("frxDM");
    change(QStringLiteral("添加区域"), [b](ReportLayout &l) { l.setBand(b); });
    setCurrentBand(int(m_layout.band(kind) - m_layout.bands.data()));
}

void ReportDesigner::removeBand(int band)
{
    if (band < 0 || band >= m_layout.bands.size()) return;
    m_selection.clear();
    change(QStringLiteral("删除区域"), [band](ReportLayout &l) { l.bands.removeAt(band); });
    setCurrentBand(qMin(band, int(m_layout.bands.size()) - 1));
}

bool ReportDesigner::save()
{
    m_layout.name = m_job.name;
    QString error;
    if (!m_layout.save(m_job.layoutPath(), &error)) {
        ShowMess(QStringLiteral("报表格式保存失败：") + error, MsgError);
        return false;
    }
    m_job.layout = m_layout;
    m_job.layoutFromFile = true;
    m_undo->setClean();
    m_saved = true;
    return true;
}

void ReportDesigner::revertToDefault()
{
    if (!m_job.makeDefault) return;
    const QList<ReportVariable> vars = m_layout.variables;
    m_selection.clear();
    change(QStringLiteral("恢复默认格式"), [&](ReportLayout &l) {
        l = m_job.makeDefault();
        l.variables = vars;
    });
}

void ReportDesigner::preview()
{
    ReportJob job = m_job;
    job.layout = m_layout;
    auto *p = new ReportPreview(job, this);
    if (showPreview) showPreview(p);
}

void ReportDesigner::closeEvent(QCloseEvent *e)
{
    if (isModified()) {
        if (ShowMess(QStringLiteral("报表格式已修改，是否保存？"), MsgQuestion) == AnswerYes && !save()) {
            e->ignore();
            return;
        }
    }
    QDialog::closeEvent(e);
}

void ReportDesigner::reject()
{
    // Esc and the close box go through the same question as 关闭.
    if (isModified() && ShowMess(QStringLiteral("报表格式已修改，是否保存？"), MsgQuestion) == AnswerYes && !save()) return;
    m_undo->setClean();
    QDialog::reject();
}

void ReportDesigner::refreshProperties()
{
    if (!m_itemBox) return;
    m_refreshing = true;
    const ReportItem *it = m_selection.isEmpty() ? nullptr : item(m_selection.first());
    m_itemBox->setEnabled(it != nullptr);
    if (it) {
        m_text->setText(it->text);
        m_family->setCurrentFont(QFont(it->font.family));
        m_size->setValue(it->font.size);
        m_bold->setChecked(it->font.bold);
        m_italic->setChecked(it->font.italic);
        m_hAlign->setCurrentIndex(qMax(0, m_hAlign->findData(int(it->align & Qt::AlignHorizontal_Mask))));
        m_vAlign->setCurrentIndex(qMax(0, m_vAlign->findData(int(it->align & Qt::AlignVertical_Mask))));
        for (int i = 0; i < 4; ++i) m_border[i]->setChecked(it->borders & (1 << i));
        m_borderWidth->setValue(it->borderWidth / 100.0);
        m_format->setEditText(it->format);
        m_overflow->setCurrentIndex(qMax(0, m_overflow->findData(int(it->overflow))));
        m_x->setValue(it->x / 100.0);
        m_y->setValue(it->y / 100.0);
        m_w->setValue(it->w / 100.0);
        m_h->setValue(it->h / 100.0);
    } else {
        m_text->clear();
    }
    const ReportBand *b = m_band >= 0 && m_band < m_layout.bands.size() ? &m_layout.bands[m_band] : nullptr;
    m_bandBox->setEnabled(b != nullptr);
    if (b) {
        m_bandBox->setTitle(QStringLiteral("区域：") + bandCaption(b->kind));
        m_bandHeight->setValue(b->height / 100.0);
        const bool detail = b->kind == BandKind::Detail;
        m_dataSet->setVisible(detail);
        m_rowsPerPage->setEnabled(detail);
        m_autoHeight->setEnabled(detail);
        m_dataSet->setCurrentText(b->dataSet.isEmpty() ? QStringLiteral("frxDM") : b->dataSet);
        m_rowsPerPage->setText(b->rowsPerPage);
        m_condition->setEnabled(b->kind == BandKind::GroupHeader);
        m_condition->setText(b->condition);
        m_autoHeight->setChecked(b->autoHeight);
        m_atBottom->setEnabled(b->kind == BandKind::PageFooter);
        m_atBottom->setChecked(b->atBottom);
    } else {
        m_bandBox->setTitle(QStringLiteral("区域"));
    }
    m_refreshing = false;
}

} // namespace korvan
