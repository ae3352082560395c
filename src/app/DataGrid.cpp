#include "DataGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace korvan {

namespace {
constexpr int kButtonWidth = 18;

Qt::Alignment qtAlign(CellAlign a)
{
    return a == CellAlign::Right ? Qt::AlignRight : a == CellAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft;
}
} // namespace

// Titles: one level, or two where captions read "upper|lower"; neighbouring
// columns with the same upper title share one upper cell.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(DataGrid *grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid)
    {
        setSectionsClickable(true);
        setSectionsMovable(true);
        setHighlightSections(false);
        setDefaultAlignment(Qt::AlignCenter);
    }

    bool twoLevel() const
    {
        const GridColumns &cols = m_grid->columns();
        return std::any_of(cols.begin(), cols.end(), [](const GridColumn &c) { return c.visible && c.isTwoLevel(); });
    }

    QSize sizeHint() const override
    {
        QSize s = QHeaderView::sizeHint();
        const int line = fontMetrics().height() + 8;
        s.setHeight(twoLevel() ? 2 * line : line);
        return s;
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logical) const override
    {
        const GridColumns &cols = m_grid->columns();
        if (logical < 0 || logical >= cols.size()) return;
        const GridColumn &col = cols[logical];
        QRect bottom = rect;
        if (col.isTwoLevel()) {
            const int half = rect.height() / 2;
            bottom.setTop(rect.top() + half);
            // The upper cell spans the neighbours shown with the same upper title.
            const QString top = col.topCaption();
            auto sameTop = [&](int visual) {
                const int l = logicalIndex(visual);
                return l >= 0 && !isSectionHidden(l) && cols[l].isTwoLevel() && cols[l].topCaption() == top;
            };
            int first = visualIndex(logical), last = first;
            for (int v = first - 1; v >= 0; --v) { if (isSectionHidden(logicalIndex(v))) continue; if (!sameTop(v)) break; first = v; }
            for (int v = last + 1; v < count(); ++v) { if (isSectionHidden(logicalIndex(v))) continue; if (!sameTop(v)) break; last = v; }
            const int left = sectionViewportPosition(logicalIndex(first));
            const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
            QRect span(left, rect.top(), right - left, half);
            painter->save();
            painter->setClipRect(QRect(rect.left(), rect.top(), rect.width(), half));
            drawCell(painter, span, top, false, logical);
            painter->restore();
        }
        drawCell(painter, bottom, col.bottomCaption(), true, logical);
    }

private:
    void drawCell(QPainter *painter, const QRect &r, const QString &text, bool marker, int logical) const
    {
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = r;
        opt.section = logical;
        opt.text = text;
        opt.textAlignment = Qt::AlignCenter;
        opt.position = QStyleOptionHeader::Middle;
        opt.sortIndicator = QStyleOptionHeader::None;
        if (marker && m_grid->markedColumn() == logical)
            opt.sortIndicator = m_grid->markedOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortUp : QStyleOptionHeader::SortDown;
        style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    }

    DataGrid *m_grid;
};

// The footer row under the cells, aligned with the columns as they scroll.
class GridFooter : public QWidget {
public:
    explicit GridFooter(DataGrid *grid) : QWidget(grid), m_grid(grid)
    {
        setObjectName(QStringLiteral("gridFooter"));
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Button);
    }
    QSize sizeHint() const override { return QSize(100, fontMetrics().height() + 8); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        GridModel *model = m_grid->gridModel();
        const QHeaderView *h = m_grid->horizontalHeader();
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, 0, width(), 0);
        for (int c = 0; c < model->columnCount(); ++c) {
            if (h->isSectionHidden(c)) continue;
            const QRect cell(h->sectionViewportPosition(c), 0, h->sectionSize(c), height());
            if (cell.right() < 0 || cell.left() > width()) continue;
            p.setPen(palette().color(QPalette::Mid));
            p.drawLine(cell.right(), 0, cell.right(), height());
            const QString text = model->footerText(c);
            if (text.isEmpty()) continue;
            p.setPen(palette().color(QPalette::ButtonText));
            const CellAlign a = effectiveAlign(model->column(c), model->columnType(c));
            p.drawText(cell.adjusted(4, 0, -4, 0), int(qtAlign(a) | Qt::AlignVCenter), text);
        }
    }

private:
    DataGrid *m_grid;
};

// Row colours, the "…" button, and editors by cell type.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DataGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const DataGrid::RowColours colours = m_grid->rowColours(index.row());
        if (colours.background.isValid()) option->backgroundBrush = colours.background;
        if (colours.text.isValid()) option->palette.setColor(QPalette::Text, colours.text);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (m_grid->gridModel()->columnType(index.column()) == CellType::Bool) {
            paintCheck(painter, option, index);
            return;
        }
        QStyledItemDelegate::paint(painter, option, index);
        if (!m_grid->gridModel()->column(index.column()).ellipsis) return;
        QStyleOptionButton button;
        button.rect = buttonRect(option.rect);
        button.text = QStringLiteral("…");
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        button.palette = option.palette;
        m_grid->style()->drawControl(QStyle::CE_PushButton, &button, painter, m_grid);
    }

    // Booleans: the tick centred in the cell, toggled by a click anywhere in it.
    void paintCheck(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const bool on = opt.checkState == Qt::Checked;
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.text.clear();
        QStyle *style = m_grid->style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, m_grid);
        const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, m_grid);
        const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &opt, m_grid);
        opt.rect = QRect(opt.rect.center().x() - w / 2, opt.rect.center().y() - h / 2, w, h);
        opt.state = (opt.state & ~(QStyle::State_On | QStyle::State_Off)) | (on ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &opt, painter, m_grid);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        if (m_grid->gridModel()->columnType(index.column()) != CellType::Bool)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        if (!(index.flags() & Qt::ItemIsUserCheckable)) return false;
        bool toggle = false;
        if (event->type() == QEvent::MouseButtonRelease)
            toggle = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
                  && option.rect.contains(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::KeyPress)
            toggle = static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
        else if (event->type() == QEvent::MouseButtonDblClick)
            return true; // a double click is two toggles, not an editor
        if (!toggle) return false;
        const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, int(on ? Qt::Unchecked : Qt::Checked), Qt::CheckStateRole);
    }

    static QRect buttonRect(const QRect &cell)
    {
        return QRect(cell.right() - kButtonWidth + 1, cell.top(), kButtonWidth, cell.height());
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        GridModel *model = m_grid->gridModel();
        const CellType type = model->columnType(index.column());
        if (type == CellType::Date) {
            auto *edit = new QDateEdit(parent);
            edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            edit->setCalendarPopup(true);
            return edit;
        }
        auto *edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAlignment(qtAlign(effectiveAlign(model->column(index.column()), type)) | Qt::AlignVCenter);
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *date = qobject_cast<QDateEdit *>(editor)) {
            const QDate d = index.data(GridModel::ValueRole).toDate();
            date->setDate(d.isValid() ? d : QDate::currentDate());
        } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setText(index.data(Qt::EditRole).toString());
        }
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *date = qobject_cast<QDateEdit *>(editor)) model->setData(index, date->date());
        else if (auto *line = qobject_cast<QLineEdit *>(editor)) model->setData(index, line->text());
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QRect r = option.rect;
        if (m_grid->gridModel()->column(index.column()).ellipsis) r.setRight(r.right() - kButtonWidth);
        editor->setGeometry(r);
    }

private:
    DataGrid *m_grid;
};

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this))
{
    m_footer = new GridFooter(this);
    m_footer->hide();
    m_header = new GridHeader(this);
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));

    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setAlternatingRowColors(false);
    setWordWrap(false);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    connect(m_header, &QHeaderView::sectionClicked, this, &DataGrid::titleClicked);
    connect(m_header, &QHeaderView::sectionMoved, this, &DataGrid::sectionMovedByUser);
    connect(m_header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!m_syncing) m_model->setColumnWidth(logical, size);
        m_footer->update();
    });
    connect(m_model, &GridModel::columnsChanged, this, &DataGrid::applyColumns);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_markColumn = -1; });
    connect(m_model, &GridModel::totalsChanged, m_footer, qOverload<>(&QWidget::update));
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) { emit rowDoubleClicked(i.row()); });
}

DataGrid::~DataGrid() = default;

QWidget *DataGrid::footer() const { return m_footer; }

void DataGrid::applyColumns()
{
    m_syncing = true;
    // The header always keeps model order: the operator's moves go into the model.
    for (int v = 0; v < m_header->count(); ++v) {
        const int l = m_header->logicalIndex(v);
        if (l != v) m_header->moveSection(m_header->visualIndex(v), v);
    }
    const GridColumns &cols = m_model->columns();
    for (int c = 0; c < cols.size(); ++c) {
        setColumnHidden(c, !cols[c].visible);
        if (cols[c].visible) setColumnWidth(c, qMax(10, cols[c].width));
    }
    m_syncing = false;
    const bool footer = m_model->hasFooter();
    if (footer != m_footer->isVisibleTo(this)) m_footer->setVisible(footer);
    m_header->updateGeometry();
    updateGeometries();
    m_header->viewport()->update();
    m_footer->update();
}

void DataGrid::updateGeometries()
{
    if (m_inGeometry || !m_footer) return;
    m_inGeometry = true;
    QTableView::updateGeometries();
    // Room for the footer under the cells: the view's own layout keeps no
    // bottom margin, so it is added after it and the vertical range follows.
    const int fh = m_footer->isVisibleTo(this) ? m_footer->sizeHint().height() : 0;
    const QMargins m = viewportMargins();
    if (m.bottom() != fh) setViewportMargins(m.left(), m.top(), m.right(), fh);
    const QRect vg = viewport()->geometry();
    if (fh) m_footer->setGeometry(vg.left(), vg.bottom() + 1, vg.width(), fh);
    const int range = qMax(0, verticalHeader()->length() - viewport()->height());
    verticalScrollBar()->setRange(0, range);
    verticalScrollBar()->setPageStep(viewport()->height());
    m_inGeometry = false;
}

void DataGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx) m_footer->update();
}

void DataGrid::titleClicked(int section)
{
    if (m_titleSort == TitleSort::None || section < 0 || section >= m_model->columnCount()) return;
    Qt::SortOrder order = m_titleSort == TitleSort::AscendingFirst ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (section == m_markColumn)
        order = m_markOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_markColumn = section;
    m_markOrder = order;
    if (!m_model->column(section).isMemo()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_model->sort(section, order);
        QApplication::restoreOverrideCursor();
    }
    m_header->viewport()->update();
}

void DataGrid::sectionMovedByUser(int, int oldVisual, int newVisual)
{
    if (m_syncing) return;
    m_syncing = true;
    m_header->moveSection(newVisual, oldVisual);
    m_syncing = false;
    const int mark = m_markColumn >= 0 ? m_markColumn : -1;
    m_model->moveColumn(oldVisual, newVisual);
    if (mark == oldVisual) m_markColumn = newVisual;
    else if (mark >= 0 && oldVisual < mark && newVisual >= mark) --m_markColumn;
    else if (mark >= 0 && oldVisual > mark && newVisual <= mark) ++m_markColumn;
}

void DataGrid::setEditable(bool editable)
{
    m_model->setEditable(editable);
    setEditTriggers(editable ? (DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked) : NoEditTriggers);
    setSelectionBehavior(editable ? SelectItems : SelectRows);
}

void DataGrid::setRowColours(RowColourHook hook)
{
    m_rowColours = std::move(hook);
    viewport()->update();
}

DataGrid::RowColours DataGrid::rowColours(int row) const
{
    return m_rowColours ? m_rowColours(row) : RowColours{};
}

int DataGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

QList<int> DataGrid::selectedRows() const
{
    QList<int> rows;
    if (selectionModel()) {
        for (const QItemSelectionRange &range : selectionModel()->selection())
            for (int r = range.top(); r <= range.bottom(); ++r) rows << r;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty() && currentRow() >= 0) rows << currentRow();
    return rows;
}

QRect DataGrid::ellipsisRect(const QModelIndex &index) const
{
    if (!index.isValid() || !m_model->column(index.column()).ellipsis) return QRect();
    return GridDelegate::buttonRect(visualRect(index));
}

void DataGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && ellipsisRect(index).contains(event->position().toPoint())) {
        setCurrentIndex(index);
        emit ellipsisClicked(index.row(), index.column());
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

} // namespace korvan
