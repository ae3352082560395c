#include "MainWindow.h"
#include "AboutBox.h"
#include "Actions.h"
#include "Artwork.h"
#include "Backup.h"
#include "DataModule.h"
#include "DatabaseChoice.h"
#include "LoginWindow.h"
#include "MessageBox.h"
#include "Messages.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>

namespace korvan {

namespace {
MainWindow *g_mainWindow = nullptr;

const QString kDesktopClass = QStringLiteral("TFrmBtnImage");

// Menu entries besides the numbered actions.
enum : int { Separator = 0, ImportSubmenu = -1, Relogin = -2, Quit = -3 };

struct TopMenu {
    QString objectName, caption;
    QList<int> items;
};

const QList<TopMenu> &topMenus()
{
    static const QList<TopMenu> menus = {
        {QStringLiteral("mnuSystem"), QStringLiteral("系统管理"),
         {101, 102, 103, 110, Separator, 104, 105, 108, 109, ImportSubmenu, Separator, Relogin, Quit}},
        {QStringLiteral("mnuBase"), QStringLiteral("基本资料"), {201, 202, 203, Separator, 205, 204}},
        {QStringLiteral("mnuBusiness"), QStringLiteral("业务管理"), {301, 302, 303, 304, 305, Separator, 306, 307, 308, 309}},
        {QStringLiteral("mnuReport"), QStringLiteral("报表中心"),
         {401, 402, 411, Separator, 403, 404, 405, 406, 412, 413, Separator, 407, 408, 409, 410}},
        {QStringLiteral("mnuAnalysis"), QStringLiteral("采购分析"), {501, 502, 503, 504}},
    };
    return menus;
}

// Starts the first of the programs that is installed; nothing when none is.
void startFirstProgram(const QStringList &candidates)
{
    for (const QString &name : candidates) {
        const QString exe = QStandardPaths::findExecutable(name);
        if (!exe.isEmpty() && QProcess::startDetached(exe, {})) return;
    }
}

void openHelpFile(const QString &appDir)
{
    const QStringList found = QDir(appDir).entryList(
        {QStringLiteral("help.chm"), QStringLiteral("help.html"), QStringLiteral("help.htm"), QStringLiteral("help.pdf")},
        QDir::Files);
    if (!found.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(appDir).filePath(found.first())));
}
// A new child takes the size it asked for as far as the frame's area allows,
// and lies wholly inside the area, so no tool bar button or grid column
// starts out of reach.
void fitIntoArea(QMdiSubWindow *sub, QSize wanted, QMdiArea *mdi)
{
    const QSize area = mdi->viewport()->size();
    if (area.isEmpty()) return;
    const QSize frame = sub->size() - sub->widget()->size();
    if (sub->widget()->minimumSize() != sub->widget()->maximumSize())
        sub->resize((wanted + frame).boundedTo(area).expandedTo(sub->minimumSizeHint().boundedTo(area)));
    const QPoint pos(qBound(0, sub->x(), qMax(0, area.width() - sub->width())),
                     qBound(0, sub->y(), qMax(0, area.height() - sub->height())));
    sub->move(pos);
}

} // namespace

MainWindow::MainWindow(DataModule &dm, QWidget *parent) : QMainWindow(parent), m_dm(dm)
{
    g_mainWindow = this;
    setObjectName(QStringLiteral("TFrmMain"));
    setWindowTitle(kProductName + kProductVersion);
    setWindowIcon(applicationIcon());
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(QColor(0x8a, 0x9b, 0xb0));
    setCentralWidget(m_mdi);
    runLogin = [](DataModule &d, LoginMode mode, QWidget *parent) { return LoginWindow::run(d, mode, parent); };
    createActions();
    createMenus();
    createStatusBar();
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &MainWindow::updateClock);
    DispFormPos(this, 2);
}

MainWindow::~MainWindow()
{
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

MainWindow *MainWindow::instance() { return g_mainWindow; }

QAction *MainWindow::addCommand(const QString &name, const QString &caption, std::function<void()> run)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, std::move(run));
    return a;
}

void MainWindow::createActions()
{
    for (const ActionInfo &info : allActions()) {
        QAction *a = addCommand(QStringLiteral("act%1").arg(info.code), info.caption, [this, code = info.code] { runAction(code); });
        a->setIcon(actionIcon(info.code));
        // A window another part of the application has not provided yet cannot be opened.
        a->setEnabled(info.windowClass.isEmpty() || windowForAction(info.code));
        m_actions.insert(info.code, a);
    }
}

void MainWindow::createMenus()
{
    for (int i = 0; i < topMenus().size(); ++i) {
        const TopMenu &spec = topMenus().at(i);
        QMenu *menu = menuBar()->addMenu(spec.caption);
        menu->setObjectName(spec.objectName);
        for (int item : spec.items) {
            switch (item) {
            case Separator: menu->addSeparator(); break;
            case ImportSubmenu:
                m_importMenu = menu->addMenu(QStringLiteral("Excel 导入数据"));
                m_importMenu->setObjectName(QStringLiteral("mnuExcelImport"));
                m_importMenu->addAction(action(106));
                m_importMenu->addAction(action(107));
                break;
            case Relogin: menu->addAction(addCommand(QStringLiteral("actRelogin"), QStringLiteral("重新登录"), [this] { relogin(); })); break;
            case Quit: menu->addAction(addCommand(QStringLiteral("actExit"), QStringLiteral("退出系统"), [this] { close(); })); break;
            default: menu->addAction(action(item)); break;
            }
        }
        m_topMenus.insert(i + 1, menu);
    }

    m_windowMenu = menuBar()->addMenu(QStringLiteral("窗体"));
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    m_windowMenu->addAction(addCommand(QStringLiteral("actCascade"), QStringLiteral("重叠"), [this] { m_mdi->cascadeSubWindows(); }));
    m_windowMenu->addAction(addCommand(QStringLiteral("actTileHorizontal"), QStringLiteral("横向重排"), [this] { tile(Qt::Horizontal); }));
    m_windowMenu->addAction(addCommand(QStringLiteral("actTileVertical"), QStringLiteral("纵向重排"), [this] { tile(Qt::Vertical); }));
    m_windowMenu->addSeparator();
    m_windowMenu->addAction(addCommand(QStringLiteral("actNextWindow"), QStringLiteral("切换"), [this] { m_mdi->activateNextSubWindow(); }));
    m_windowMenu->addAction(addCommand(QStringLiteral("actCloseWindow"), QStringLiteral("关闭"), [this] {
        if (QMdiSubWindow *sub = m_mdi->activeSubWindow()) sub->close();
    }));
    m_windowMenu->addAction(addCommand(QStringLiteral("actCloseAll"), QStringLiteral("全部关闭"), [this] { closeAllChildren(); }));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);

    QMenu *help = menuBar()->addMenu(QStringLiteral("辅助"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(addCommand(QStringLiteral("actCalculator"), QStringLiteral("计算器"), [] {
        startFirstProgram({QStringLiteral("calc.exe"), QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                           QStringLiteral("mate-calc"), QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"),
                           QStringLiteral("xcalc")});
    }));
    help->addAction(addCommand(QStringLiteral("actNotepad"), QStringLiteral("笔记本"), [] {
        startFirstProgram({QStringLiteral("notepad.exe"), QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"),
                           QStringLiteral("kate"), QStringLiteral("kwrite"), QStringLiteral("mousepad"),
                           QStringLiteral("pluma"), QStringLiteral("xed"), QStringLiteral("leafpad")});
    }));
    help->addSeparator();
    help->addAction(addCommand(QStringLiteral("actHelpFile"), QStringLiteral("帮助文件"), [this] { openHelpFile(m_dm.settings().appDir()); }));
    help->addAction(addCommand(QStringLiteral("actAbout"), QStringLiteral("关于我们"), [this] {
        if (const WindowEntry *about = registeredWindow(QStringLiteral("TfrmAboutInfo"))) openModal(*about);
    }));
    help->addAction(addCommand(QStringLiteral("actWebsite"), QStringLiteral("访问我们的网站"), [] {
        QDesktopServices::openUrl(QUrl(kMakerWebsite));
    }));

    menuBar()->addAction(addCommand(QStringLiteral("actNavigator"), QStringLiteral("导航图"), [this] { OpenChildForm(kDesktopClass); }));
}

void MainWindow::createStatusBar()
{
    const auto panel = [this](const QString &name, const QString &text, int minWidth) {
        auto *label = new QLabel(text);
        label->setObjectName(name);
        label->setMinimumWidth(minWidth);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(label);
        return label;
    };
    panel(QStringLiteral("pnlUserCaption"), QStringLiteral(" 当前用户"), 70);
    m_operatorPanel = panel(QStringLiteral("pnlOperator"), QString(), 120);
    panel(QStringLiteral("pnlTimeCaption"), QStringLiteral(" 当前日期时间"), 100);
    m_clockPanel = panel(QStringLiteral("pnlClock"), QString(), 150);
    auto *product = new QLabel(kApplicationTitle + QStringLiteral("    ") + kMakerContactLine + QLatin1Char(' '));
    product->setObjectName(QStringLiteral("pnlProduct"));
    product->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addPermanentWidget(product);
}

bool MainWindow::topMenuVisible(int category) const
{
    QMenu *menu = topMenu(category);
    return menu && menu->menuAction()->isVisible();
}

void MainWindow::applySession()
{
    const QSet<int> visible = VisibleActions(m_dm, m_dm.session());
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) it.value()->setVisible(visible.contains(it.key()));
    for (auto it = m_topMenus.cbegin(); it != m_topMenus.cend(); ++it) {
        bool any = false;
        for (int code : visible) any = any || code / 100 == it.key();
        it.value()->menuAction()->setVisible(any);
    }
    m_importMenu->menuAction()->setVisible(visible.contains(106) || visible.contains(107));
    m_operatorPanel->setText(QLatin1Char(' ') + m_dm.session().operatorName);
    updateClock();
    emit sessionApplied();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        firstShow();
    }
}

void MainWindow::firstShow()
{
    setWindowTitle(kProductName + kProductVersion);
    OpenChildForm(kDesktopClass);
    m_operatorPanel->setText(QLatin1Char(' ') + m_dm.session().operatorName);
    updateClock();
    m_clock.start();
    AppSettings &settings = m_dm.settings();
    settings.ini().reload();
    m_dm.setPrintRows(settings.printRows());
    m_dm.setBarcodeInput(settings.barcodeInput());
    if (DataModule::AutoBackupDue(settings.autoBackupMode(), QDate::currentDate())) m_dm.AutoBackup();
    try {
        m_dm.LoadSwitches();
    } catch (const DbError &) {
        ShowMess(DataModule::openFailMessage(), MsgError);
    }
}

void MainWindow::updateClock()
{
    m_clockPanel->setText(QLatin1Char(' ') + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (ShowMess(QStringLiteral("真的要退出“") + kProductName + QStringLiteral("”软件吗？"), MsgQuestion) != AnswerYes) {
        event->ignore();
        return;
    }
    // The child windows close first, newest first; one that keeps entered
    // input open (its operator declined to drop it) keeps the program running.
    const QList<QMdiSubWindow *> children = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if (!(*it)->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::runAction(int code)
{
    QAction *a = action(code);
    // A hidden action is not the operator's to use, whoever calls it.
    if (!a || !a->isVisible() || !a->isEnabled()) return;
    if (code == 108) return compactDatabase();
    if (code == 109) return chooseDatabase();
    const WindowEntry *entry = windowForAction(code);
    if (!entry) return;
    if (entry->kind == WindowKind::Modal)
        openModal(*entry);
    else
        openChild(*entry);
}

QMdiSubWindow *MainWindow::findChildWindow(const QString &className) const
{
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (sub->widget() && sub->widget()->objectName() == className && !sub->isHidden()) return sub;
    return nullptr;
}

QWidget *MainWindow::OpenChildForm(const QString &className)
{
    if (QMdiSubWindow *sub = findChildWindow(className)) {
        if (sub->isMinimized()) sub->showNormal();
        sub->show();
        sub->raise();
        m_mdi->setActiveSubWindow(sub);
        sub->widget()->setFocus();
        return sub->widget();
    }
    const WindowEntry *entry = registeredWindow(className);
    return entry && entry->kind == WindowKind::Child ? openChild(*entry) : nullptr;
}

QWidget *MainWindow::openChild(const WindowEntry &entry)
{
    if (QMdiSubWindow *open = findChildWindow(entry.className)) {
        OpenChildForm(entry.className);
        return open->widget();
    }
    QWidget *w = entry.create(m_dm, this);
    if (!w) return nullptr;
    w->setObjectName(entry.className);
    w->setAttribute(Qt::WA_DeleteOnClose);
    const QSize wanted = w->testAttribute(Qt::WA_Resized) ? w->size() : w->sizeHint();
    QMdiSubWindow *sub = m_mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (w->minimumSize() == w->maximumSize()) {
        // A window of fixed size gets a fixed frame with only the close button.
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                            | Qt::WindowCloseButtonHint);
    }
    // A window that closes itself takes its frame along (later: the frame may
    // be the one being destroyed).
    connect(w, &QObject::destroyed, m_mdi, [mdi = m_mdi] {
        for (QMdiSubWindow *frame : mdi->subWindowList())
            if (!frame->widget()) frame->close();
    }, Qt::QueuedConnection);
    sub->show();
    fitIntoArea(sub, wanted, m_mdi);
    m_mdi->setActiveSubWindow(sub);
    return w;
}

void MainWindow::openModal(const WindowEntry &entry)
{
    QWidget *w = entry.create(m_dm, this);
    if (!w) return;
    w->setObjectName(entry.className);
    if (auto *dialog = qobject_cast<QDialog *>(w)) {
        dialog->exec();
        delete dialog;
        return;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowFlag(Qt::Dialog);
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
}

void MainWindow::closeAllChildren()
{
    QList<QMdiSubWindow *> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.crbegin(); it != subs.crend(); ++it) (*it)->close();
}

void MainWindow::fillWindowMenu()
{
    qDeleteAll(m_windowCommands);
    m_windowCommands.clear();
    const QList<QMdiSubWindow *> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    int n = 0;
    for (QMdiSubWindow *sub : subs) {
        if (sub->isHidden()) continue;
        if (n == 0) m_windowCommands << m_windowMenu->addSeparator();
        QAction *a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] { m_mdi->setActiveSubWindow(sub); });
        m_windowCommands << a;
    }
}

void MainWindow::tile(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> subs;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::StackingOrder))
        if (!sub->isHidden() && !sub->isMinimized()) subs << sub;
    if (subs.isEmpty()) return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        subs[i]->showNormal();
        if (orientation == Qt::Horizontal)
            subs[i]->setGeometry(0, area.height() * i / n, area.width(), area.height() / n);
        else
            subs[i]->setGeometry(area.width() * i / n, 0, area.width() / n, area.height());
    }
}

void MainWindow::relogin()
{
    if (runLogin(m_dm, LoginMode::ChangeOperator, this)) applySession();
}

void MainWindow::compactDatabase()
{
    closeAllChildren();
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (!sub->isHidden()) return; // a window that would not close keeps the database in use
    QString error;
    if (CompactDatabase(m_dm.db(), &error))
        ShowMess(QStringLiteral("压缩数据库成功！"), MsgInfo);
    else
        ShowMess(QStringLiteral("压缩数据库失败！"), MsgError);
    if (!m_dm.db().reopen(&error)) ShowMess(DataModule::failMessage(), MsgError);
}

void MainWindow::chooseDatabase()
{
    DatabaseChoice dialog(m_dm.settings(), this);
    dialog.exec();
}

QWidget *OpenChildForm(const QString &className)
{
    return g_mainWindow ? g_mainWindow->OpenChildForm(className) : nullptr;
}

} // namespace korvan
