#include "DesktopWindow.h"
#include "MainWindow.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace korvan {

namespace {
// Tabs on the left whose captions read across, as Chinese text should.
class LeftTabStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_TabBarTab) {
            s.transpose();
            s = s.expandedTo(QSize(120, 56));
        }
        return s;
    }
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_TabBarTabLabel) {
            if (const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option)) {
                QStyleOptionTab across(*tab);
                across.shape = QTabBar::RoundedNorth;
                QProxyStyle::drawControl(element, &across, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

struct Row {
    QList<int> codes;
    bool pictures;
};
struct Group {
    QString heading; // empty: the rows stand on the page itself
    QList<Row> rows;
};
struct Tab {
    QString name, caption;
    QColor tint;
    QList<Group> groups;
};

const QList<Tab> &desktopTabs()
{
    static const QList<Tab> tabs = {
        {QStringLiteral("tabSystem"), QStringLiteral(" 系统管理 "), QColor(0xe8, 0xec, 0xf5),
         {{{}, {{{101, 102, 103, 104}, true}, {{105, 106, 107, 110}, true}}}}},
        {QStringLiteral("tabBase"), QStringLiteral(" 基本资料 "), QColor(0xe4, 0xf3, 0xf4),
         {{{}, {{{201, 202, 203, 205}, true}, {{204}, true}}}}},
        {QStringLiteral("tabBusiness"), QStringLiteral(" 业务管理 "), QColor(0xfb, 0xef, 0xe4),
         {{{}, {{{301, 302, 303, 304}, true}, {{305}, true}, {{306, 307, 308}, false}, {{309, 203, 202}, false}}}}},
        {QStringLiteral("tabReport"), QStringLiteral(" 报表中心 "), QColor(0xef, 0xea, 0xf6),
         {{QStringLiteral("采购订单统计"), {{{401, 402, 411}, false}}},
          {QStringLiteral("采购出库统计"), {{{403, 404, 405}, false}, {{406, 412, 413}, false}}},
          {QStringLiteral("采购开票统计"), {{{407, 408}, false}}},
          {QStringLiteral("应付帐款统计"), {{{409, 410}, false}}}}},
        {QStringLiteral("tabAnalysis"), QStringLiteral(" 采购分析 "), QColor(0xe6, 0xf4, 0xec),
         {{{}, {{{501, 502}, true}, {{503, 504}, true}}}}},
    };
    return tabs;
}

void addRows(QGridLayout *grid, QWidget *parent, const QList<Row> &rows,
             const std::function<QWidget *(int, bool, QWidget *)> &make)
{
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].codes.size(); ++c)
            grid->addWidget(make(rows[r].codes[c], rows[r].pictures, parent), r, c, Qt::AlignLeft);
    grid->setColumnStretch(grid->columnCount(), 1);
}
} // namespace

DesktopWindow::DesktopWindow(MainWindow *main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(QStringLiteral("TFrmBtnImage"));
    setWindowTitle(QStringLiteral("桌面"));
    setFixedSize(942, 603);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("pgcDesktop"));
    m_tabs->setTabPosition(QTabWidget::West);
    auto *style = new LeftTabStyle;
    style->setParent(m_tabs);
    m_tabs->tabBar()->setStyle(style);
    QFont tabFont = m_tabs->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() * 1.15);
    tabFont.setBold(true);
    m_tabs->tabBar()->setFont(tabFont);

    const auto make = [this](int code, bool picture, QWidget *parent) { return button(code, picture, parent); };
    for (const Tab &tab : desktopTabs()) {
        auto *page = new QWidget;
        page->setObjectName(tab.name);
        page->setAutoFillBackground(true);
        QPalette pal = page->palette();
        pal.setColor(QPalette::Window, tab.tint);
        page->setPalette(pal);
        auto *column = new QVBoxLayout(page);
        column->setContentsMargins(36, 28, 36, 28);
        column->setSpacing(18);
        for (const Group &group : tab.groups) {
            auto *grid = new QGridLayout;
            grid->setHorizontalSpacing(24);
            grid->setVerticalSpacing(18);
            if (group.heading.isEmpty()) {
                column->addLayout(grid);
                addRows(grid, page, group.rows, make);
                continue;
            }
            auto *box = new QGroupBox(group.heading, page);
            box->setLayout(grid);
            column->addWidget(box);
            addRows(grid, box, group.rows, make);
        }
        column->addStretch();
        m_tabs->addTab(page, tab.caption);
    }
    m_tabs->setCurrentIndex(2); // " 业务管理 "

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    connect(m_main, &MainWindow::sessionApplied, this, &DesktopWindow::followMenus);
    followMenus();
}

QWidget *DesktopWindow::button(int code, bool picture, QWidget *parent)
{
    QAction *a = m_main->action(code);
    auto *b = new QToolButton(parent);
    b->setObjectName(QStringLiteral("btn%1").arg(code));
    b->setAutoRaise(true);
    if (picture) {
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIconSize(QSize(64, 64));
        b->setFixedSize(150, 112);
    } else {
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumSize(170, 40);
        b->setStyleSheet(QStringLiteral("QToolButton { text-align: left; padding-left: 8px; }"));
        b->setAutoRaise(false);
    }
    QFont f = b->font();
    f.setPointSizeF(f.pointSizeF() * 1.1);
    b->setFont(f);
    if (!a) return b;
    const auto follow = [b, a, picture] {
        b->setText(a->text());
        if (picture) b->setIcon(a->icon());
        b->setEnabled(a->isEnabled());
        b->setVisible(a->isVisible());
    };
    follow();
    connect(a, &QAction::changed, b, follow);
    connect(a, &QAction::visibleChanged, b, follow);
    connect(a, &QAction::enabledChanged, b, follow);
    connect(b, &QToolButton::clicked, a, &QAction::trigger);
    return b;
}

void DesktopWindow::followMenus()
{
    for (int i = 0; i < m_tabs->count(); ++i) m_tabs->setTabVisible(i, m_main->topMenuVisible(i + 1));
    if (!m_tabs->isTabVisible(m_tabs->currentIndex())) {
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->isTabVisible(i)) {
                m_tabs->setCurrentIndex(i);
                break;
            }
    }
}

void DesktopWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    followMenus();
}

} // namespace korvan
