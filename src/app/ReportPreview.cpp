#include "ReportPreview.h"
#include "Messages.h"
#include "ReportPainter.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPaintEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvan {

// All pages one under the other; only the visible ones are painted.
class ReportPageView : public QWidget {
public:
    explicit ReportPageView(ReportPreview *preview) : QWidget(preview), m_p(preview)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setObjectName(QStringLiteral("pageView"));
    }
    static constexpr int kGap = 16;

    double scale() const { return m_p->m_zoom * logicalDpiX() / 2540.0; }
    QSize pageSize() const { return QSize(qRound(m_p->m_doc.page.width * scale()), qRound(m_p->m_doc.page.height * scale())); }
    int pageTop(int i) const { return kGap + i * (pageSize().height() + kGap); }
    QSize sizeHint() const override
    {
        const QSize ps = pageSize();
        return QSize(ps.width() + 2 * kGap, kGap + qMax(1, m_p->m_doc.pageCount()) * (ps.height() + kGap));
    }
    int pageAt(int y) const
    {
        const int step = pageSize().height() + kGap;
        return qBound(0, step > 0 ? (y - kGap / 2) / step : 0, qMax(0, m_p->m_doc.pageCount() - 1));
    }
    int pageLeft() const { return qMax(kGap, (width() - pageSize().width()) / 2); }

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        p.fillRect(e->rect(), QColor(0x80, 0x80, 0x80));
        const QSize ps = pageSize();
        const int first = pageAt(e->rect().top()), last = pageAt(e->rect().bottom());
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        for (int i = first; i <= last && i < m_p->m_doc.pageCount(); ++i) {
            const QRect r(pageLeft(), pageTop(i), ps.width(), ps.height());
            p.fillRect(r.translated(3, 3), QColor(0x50, 0x50, 0x50));
            p.fillRect(r, Qt::white);
            QSet<int> marks;
            for (const ReportPreview::Match &m : m_p->m_matches)
                if (m.page == i) marks.insert(m.text);
            p.save();
            p.setClipRect(r);
            p.translate(r.topLeft());
            p.scale(scale(), scale());
            ReportPainter::paintPage(p, m_p->m_doc, i, marks);
            p.restore();
        }
    }

private:
    ReportPreview *m_p;
};

ReportPreview::ReportPreview(ReportJob job, QWidget *parent)
    : QWidget(parent, Qt::Window), m_job(std::move(job))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_doc = m_job.paginate();
    const QString title = m_doc.title.isEmpty() ? m_job.name : m_doc.title;
    setWindowTitle(QStringLiteral("打印预览 - ") + title);
    choosePdfFile = [this](const QString &proposed) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("导出PDF文件"), proposed, QStringLiteral("PDF 文件 (*.pdf)"));
    };
    runPrintDialog = [this](QPrinter &printer) {
        QPrintDialog dlg(&printer, this);
        dlg.setWindowTitle(QStringLiteral("打印"));
        dlg.setMinMax(1, qMax(1, m_doc.pageCount()));
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
        return dlg.exec() == QDialog::Accepted;
    };
    runPageSetupDialog = [this](QPrinter &printer) {
        QPageSetupDialog dlg(&printer, this);
        dlg.setWindowTitle(QStringLiteral("页面设置"));
        return dlg.exec() == QDialog::Accepted;
    };
    buildUi();
    resize(900, 760);
    updateControls();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildUi()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [&](const char *name, const QString &text, const QKeySequence &key, auto slot) {
        QAction *a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    action("actPrint", QStringLiteral("打印"), QKeySequence::Print, [this] { print(); });
    action("actPageSetup", QStringLiteral("页面设置"), {}, [this] { pageSetup(); });
    action("actExportPdf", QStringLiteral("导出PDF"), {}, [this] {
        const QString proposed = (m_doc.title.isEmpty() ? m_job.name : m_doc.title) + QStringLiteral(".pdf");
        QString path = choosePdfFile ? choosePdfFile(proposed) : QString();
        if (path.isEmpty()) return;
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
        exportPdf(path);
    });
    bar->addSeparator();
    action("actFirst", QStringLiteral("首页"), QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { goToPage(0); });
    action("actPrior", QStringLiteral("上页"), QKeySequence(Qt::Key_PageUp), [this] { goToPage(m_page - 1); });
    m_pageBox = new QSpinBox(bar);
    m_pageBox->setObjectName(QStringLiteral("spnPage"));
    m_pageBox->setMinimum(1);
    m_pageBox->setKeyboardTracking(false);
    bar->addWidget(m_pageBox);
    m_pageCount = new QLabel(bar);
    bar->addWidget(m_pageCount);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int v) { if (v - 1 != m_page) goToPage(v - 1); });
    action("actNext", QStringLiteral("下页"), QKeySequence(Qt::Key_PageDown), [this] { goToPage(m_page + 1); });
    action("actLast", QStringLiteral("末页"), QKeySequence(Qt::CTRL | Qt::Key_End), [this] { goToPage(m_doc.pageCount() - 1); });
    bar->addSeparator();
    action("actZoomOut", QStringLiteral("缩小"), QKeySequence::ZoomOut, [this] { setZoom(m_zoom / 1.25); });
    m_zoomBox = new QComboBox(bar);
    m_zoomBox->setObjectName(QStringLiteral("cbbZoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->addItems({QStringLiteral("页宽"), QStringLiteral("整页"), QStringLiteral("50%"), QStringLiteral("75%"),
                         QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("300%")});
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    bar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::textActivated, this, &ReportPreview::applyZoomText);
    action("actZoomIn", QStringLiteral("放大"), QKeySequence::ZoomIn, [this] { setZoom(m_zoom * 1.25); });
    action("actFitWidth", QStringLiteral("页宽"), {}, [this] { fitWidth(); });
    action("actFitPage", QStringLiteral("整页"), {}, [this] { fitPage(); });
    bar->addSeparator();
    m_findEdit = new QLineEdit(bar);
    m_findEdit->setObjectName(QStringLiteral("edtFind"));
    m_findEdit->setPlaceholderText(QStringLiteral("查找内容"));
    m_findEdit->setMaximumWidth(160);
    bar->addWidget(m_findEdit);
    connect(m_findEdit, &QLineEdit::returnPressed, this, [this] {
        if (!m_matches.isEmpty() && m_findEdit->property("searched").toString() == m_findEdit->text()) findNext();
        else find(m_findEdit->text());
    });
    action("actFind", QStringLiteral("查找"), QKeySequence::Find, [this] {
        if (!m_findEdit->hasFocus()) { m_findEdit->setFocus(); m_findEdit->selectAll(); return; }
        find(m_findEdit->text());
    });
    action("actFindNext", QStringLiteral("查找下一个"), QKeySequence::FindNext, [this] { findNext(); });
    bar->addSeparator();
    action("actClose", QStringLiteral("关闭"), {}, [this] { close(); });

    m_view = new ReportPageView(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScroll"));
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignHCenter);
    QPalette pal = m_scroll->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    m_scroll->setPalette(pal);
    m_scroll->setBackgroundRole(QPalette::Window);
    // The fit modes follow the visible page area, which settles only after the
    // window's own resize (and changes when a scroll bar comes or goes).
    m_scroll->viewport()->installEventFilter(this);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::valueChanged, this, &ReportPreview::scrolled);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(bar);
    lay->addWidget(m_scroll, 1);
    auto *statusRow = new QHBoxLayout;
    statusRow->setContentsMargins(6, 2, 6, 2);
    statusRow->addWidget(m_status, 1);
    lay->addLayout(statusRow);
}

void ReportPreview::updateControls()
{
    m_view->resize(m_view->sizeHint().expandedTo(QSize(m_scroll->viewport()->width(), 0)));
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setMaximum(qMax(1, m_doc.pageCount()));
    m_pageBox->setValue(m_page + 1);
    m_pageCount->setText(QStringLiteral(" / %1 页 ").arg(m_doc.pageCount()));
    if (m_fit == Fit::None) m_zoomBox->setEditText(QStringLiteral("%1%").arg(qRound(m_zoom * 100)));
    else m_zoomBox->setEditText(m_fit == Fit::Width ? QStringLiteral("页宽") : QStringLiteral("整页"));
    for (const char *name : {"actFirst", "actPrior"})
        if (auto *a = findChild<QAction *>(QLatin1String(name))) a->setEnabled(m_page > 0);
    for (const char *name : {"actNext", "actLast"})
        if (auto *a = findChild<QAction *>(QLatin1String(name))) a->setEnabled(m_page + 1 < m_doc.pageCount());
    m_view->update();
}

void ReportPreview::goToPage(int index)
{
    index = qBound(0, index, qMax(0, m_doc.pageCount() - 1));
    m_page = index;
    const QSignalBlocker block(m_scroll->verticalScrollBar());
    m_scroll->verticalScrollBar()->setValue(m_view->pageTop(index) - ReportPageView::kGap / 2);
    updateControls();
}

void ReportPreview::scrolled()
{
    const int y = m_scroll->verticalScrollBar()->value() + m_scroll->viewport()->height() / 3;
    const int page = m_view->pageAt(y);
    if (page != m_page) {
        m_page = page;
        updateControls();
    }
}

void ReportPreview::setZoom(double factor)
{
    m_fit = Fit::None;
    m_zoom = qBound(0.1, factor, 8.0);
    updateControls();
    goToPage(m_page);
}

void ReportPreview::fitWidth()
{
    const int avail = m_scroll->viewport()->width() - 2 * ReportPageView::kGap - 2;
    const double unit = logicalDpiX() / 2540.0;
    m_zoom = qBound(0.1, avail / (m_doc.page.width * unit), 8.0);
    m_fit = Fit::Width;
    updateControls();
    goToPage(m_page);
}

void ReportPreview::fitPage()
{
    const QSize avail = m_scroll->viewport()->size() - QSize(2 * ReportPageView::kGap, 2 * ReportPageView::kGap);
    const double unit = logicalDpiX() / 2540.0;
    m_zoom = qBound(0.1, qMin(avail.width() / (m_doc.page.width * unit), avail.height() / (m_doc.page.height * unit)), 8.0);
    m_fit = Fit::Page;
    updateControls();
    goToPage(m_page);
}

void ReportPreview::applyZoomText(const QString &text)
{
    if (text == QLatin1String("页宽")) return fitWidth();
    if (text == QLatin1String("整页")) return fitPage();
    QString t = text;
    t.remove(QLatin1Char('%'));
    bool ok = false;
    const double pct = t.trimmed().toDouble(&ok);
    if (ok && pct > 0) setZoom(pct / 100.0);
    else updateControls();
}

bool ReportPreview::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_scroll->viewport() && e->type() == QEvent::Resize && !m_refitting) {
        m_refitting = true;
        if (m_fit == Fit::Width) fitWidth();
        else if (m_fit == Fit::Page) fitPage();
        m_refitting = false;
    }
    return QWidget::eventFilter(watched, e);
}

void ReportPreview::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

int ReportPreview::find(const QString &text)
{
    m_matches.clear();
    m_match = -1;
    m_findEdit->setText(text);
    m_findEdit->setProperty("searched", text);
    if (!text.isEmpty()) {
        for (int p = 0; p < m_doc.pageCount(); ++p) {
            const QList<PageText> &texts = m_doc.pages[p].texts;
            for (int i = 0; i < texts.size(); ++i) {
                QString t = texts[i].text;
                t.remove(QLatin1Char('\n'));
                if (t.contains(text, Qt::CaseInsensitive)) m_matches << Match{p, i};
            }
        }
    }
    if (m_matches.isEmpty()) {
        m_status->setText(text.isEmpty() ? QString() : QStringLiteral("没有找到“%1”").arg(text));
        m_view->update();
        return 0;
    }
    m_match = 0;
    for (int i = 0; i < m_matches.size(); ++i)
        if (m_matches[i].page >= m_page) { m_match = i; break; }
    m_status->setText(QStringLiteral("找到 %1 处“%2”").arg(m_matches.size()).arg(text));
    goToPage(m_matches[m_match].page);
    return int(m_matches.size());
}

bool ReportPreview::findNext()
{
    if (m_matches.isEmpty()) return find(m_findEdit->text()) > 0;
    m_match = (m_match + 1) % int(m_matches.size());
    m_status->setText(QStringLiteral("第 %1 处，共 %2 处").arg(m_match + 1).arg(m_matches.size()));
    goToPage(m_matches[m_match].page);
    return true;
}

bool ReportPreview::exportPdf(const QString &path)
{
    QString error;
    if (!writeReportPdf(m_doc, path, &error)) {
        ShowMess(error, MsgError);
        return false;
    }
    m_status->setText(QStringLiteral("已导出到 %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void ReportPreview::setPrinterPage(QPrinter &printer) const
{
    printer.setPageLayout(reportPageLayout(m_doc.page, true));
    printer.setDocName(m_doc.title.isEmpty() ? m_job.name : m_doc.title);
}

bool ReportPreview::print()
{
    if (m_doc.pageCount() == 0) return false;
    QPrinter printer(QPrinter::HighResolution);
    setPrinterPage(printer);
    printer.setFromTo(1, m_doc.pageCount());
    if (!runPrintDialog || !runPrintDialog(printer)) return false;
    int from = 0, to = m_doc.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = printer.toPage() > 0 ? printer.toPage() - 1 : to;
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = m_page;
    }
    printer.setFullPage(true);
    if (!ReportPainter::print(printer, m_doc, from, to)) {
        ShowMess(QStringLiteral("打印失败，请检查打印机设置。"), MsgError);
        return false;
    }
    m_status->setText(QStringLiteral("已送往打印机：第 %1 至 %2 页").arg(from + 1).arg(to + 1));
    return true;
}

bool ReportPreview::pageSetup()
{
    QPrinter printer(QPrinter::HighResolution);
    setPrinterPage(printer);
    if (!runPageSetupDialog || !runPageSetupDialog(printer)) return false;
    const PageSetup chosen = reportPageSetup(printer.pageLayout());
    if (chosen == m_doc.page) return false;
    m_job.setPage(chosen);
    refresh();
    return true;
}

void ReportPreview::refresh()
{
    m_doc = m_job.paginate();
    if (!m_findEdit->text().isEmpty() && !m_matches.isEmpty()) find(m_findEdit->text());
    else m_matches.clear();
    m_page = qMin(m_page, qMax(0, m_doc.pageCount() - 1));
    if (m_fit == Fit::Width) fitWidth();
    else if (m_fit == Fit::Page) fitPage();
    else goToPage(m_page);
}

} // namespace korvan
