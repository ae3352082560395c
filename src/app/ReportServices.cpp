#include "ReportServices.h"
#include "Messages.h"

#include <QApplication>
#include <QPointer>

namespace korvan {

namespace {

QPointer<QWidget> &parentWindow()
{
    static QPointer<QWidget> w;
    return w;
}

std::function<void(ReportDesigner &)> &designerRunner()
{
    static std::function<void(ReportDesigner &)> run;
    return run;
}

QWidget *reportParent() { return parentWindow(); }

ReportPreview *showPreview(ReportJob job)
{
    if (!job.loadError.isEmpty()) ShowMess(job.loadError, MsgWarning);
    auto *preview = new ReportPreview(std::move(job), reportParent());
    preview->show();
    preview->raise();
    preview->activateWindow();
    return preview;
}

bool runDesigner(ReportJob job, const QList<ReportVariable> &variables)
{
    if (!job.loadError.isEmpty()) ShowMess(job.loadError, MsgWarning);
    // The designer lists exactly the variables of this kind of report.
    job.layout.variables = variables;
    ReportDesigner designer(std::move(job), reportParent());
    if (designerRunner()) designerRunner()(designer);
    else designer.exec();
    return designer.wasSaved();
}

} // namespace

void SetReportParentWindow(QWidget *window) { parentWindow() = window; }

void SetReportDesignerRunner(std::function<void(ReportDesigner &)> runner) { designerRunner() = std::move(runner); }

ReportPreview *PreviewDocumentReport(const QString &reportName, const ReportDataSet &header, const ReportDataSet &lines,
                                     const ReportOptions &options)
{
    if (header.isEmpty()) return nullptr;
    return showPreview(ReportJob::document(reportName, header, &lines, options));
}

ReportPreview *PreviewListReport(const QString &reportName, const ReportDataSet &data, const ReportOptions &options)
{
    if (data.isEmpty()) return nullptr;
    return showPreview(ReportJob::list(reportName, data, options));
}

bool DesignDocumentReport(const QString &reportName, const ReportDataSet &header, const ReportDataSet &lines,
                          const ReportOptions &options)
{
    return runDesigner(ReportJob::document(reportName, header, &lines, options), DocumentReportVariables());
}

bool DesignListReport(const QString &reportName, const ReportDataSet &data, const ReportOptions &options)
{
    return runDesigner(ReportJob::list(reportName, data, options), ListReportVariables());
}

ReportPreview *PrintGrid(const QAbstractItemModel *model, const QList<ReportColumn> &visibleColumns, const QString &title,
                         int fitMode, const QString &footer, const QString &header)
{
    GridPrintOptions o;
    o.title = title;
    o.fitMode = fitMode;
    o.footer = footer;
    o.header = header;
    return showPreview(ReportJob::grid(model, visibleColumns, o));
}

} // namespace korvan
