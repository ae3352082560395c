#include "MasterCommon.h"
#include "DataGrid.h"
#include "GridServices.h"
#include "Messages.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace korvan {

int GridRowCursor::rowCount() const
{
    m_grid->gridModel()->fetchAll();
    return m_grid->gridModel()->rowCount();
}

int GridRowCursor::currentRow() const { return m_grid->currentRow(); }

void GridRowCursor::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) return;
    const int column = qMax(0, m_grid->currentIndex().column());
    m_grid->setCurrentIndex(m_grid->gridModel()->index(row, column));
}

qint64 GridRowCursor::idAt(int row) const { return m_grid->gridModel()->value(row, QStringLiteral("F_ID")).toLongLong(); }

void GridRowCursor::refreshAt(const QString &code)
{
    if (m_reload) m_reload();
    locateCode(m_grid, code);
}

bool locateCode(DataGrid *grid, const QString &code)
{
    GridModel *m = grid->gridModel();
    m->fetchAll();
    for (int r = 0; r < m->rowCount(); ++r) {
        if (m->value(r, QStringLiteral("F_Code")).toString() == code) {
            grid->setCurrentIndex(m->index(r, qMax(0, grid->currentIndex().column())));
            grid->scrollTo(grid->currentIndex());
            return true;
        }
    }
    return false;
}

QLineEdit *addSearchBox(QBoxLayout *row, QWidget *parent, const char *name, const QString &label)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    auto *caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    row->addWidget(caption);
    row->addWidget(edit, 1);
    return edit;
}

QPushButton *addButton(QBoxLayout *row, QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QMenu *addLayoutMenu(DataGrid *grid, const QString &layoutKey)
{
    auto *menu = new QMenu(grid);
    menu->setObjectName(QStringLiteral("pmGrid"));
    QAction *fields = menu->addAction(QStringLiteral("显示字段列表"), grid, [grid] { ChooseGridColumns(grid); });
    fields->setObjectName(QStringLiteral("miFieldList"));
    QAction *save = menu->addAction(QStringLiteral("保存当前设置"), grid, [grid, layoutKey] {
        if (ShowMess(saveLayoutQuestion(), MsgQuestion) == AnswerYes) SaveGridLayout(grid, layoutKey);
    });
    save->setObjectName(QStringLiteral("miSaveLayout"));
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, menu,
                     [grid, menu](const QPoint &pos) { menu->popup(grid->viewport()->mapToGlobal(pos)); });
    return menu;
}

namespace {
// Keeps the button on the current row as the grid scrolls, sizes or changes.
class ChooseButtonPlacer : public QObject {
public:
    ChooseButtonPlacer(DataGrid *grid, QPushButton *button) : QObject(button), m_grid(grid), m_button(button)
    {
        grid->viewport()->installEventFilter(this);
        auto later = [this] { QTimer::singleShot(0, this, [this] { place(); }); };
        connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, later);
        connect(grid->gridModel(), &QAbstractItemModel::modelReset, this, later);
        connect(grid->gridModel(), &QAbstractItemModel::rowsInserted, this, later);
    }
    void place()
    {
        const QModelIndex current = m_grid->currentIndex();
        const QRect row = current.isValid() ? m_grid->visualRect(current) : QRect();
        if (!row.isValid() || !m_grid->viewport()->rect().intersects(row)) {
            m_button->hide();
            return;
        }
        const int width = m_button->sizeHint().width();
        const int x = m_grid->viewport()->width() * 2 / 3;
        m_button->setGeometry(x, row.top(), width, row.height());
        m_button->show();
    }
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::Resize)
            QTimer::singleShot(0, this, [this] { place(); });
        return false;
    }
private:
    DataGrid *m_grid;
    QPushButton *m_button;
};
} // namespace

QPushButton *addChooseButton(DataGrid *grid)
{
    auto *button = new QPushButton(QStringLiteral("选择(F2)"), grid->viewport());
    button->setObjectName(QStringLiteral("btnChoose"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    button->hide();
    auto *placer = new ChooseButtonPlacer(grid, button);
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, placer, [placer] { placer->place(); });
    return button;
}

} // namespace korvan
