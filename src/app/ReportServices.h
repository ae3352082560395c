#pragma once
#include "ReportDesigner.h"
#include "ReportEngine.h"
#include "ReportPreview.h"

class QAbstractItemModel;

namespace korvan {

// The report services the windows call. Before printing or designing, a
// window installs its variable provider with SetReportVariableProvider
// (ReportEngine.h); it stays installed until the next window replaces it.
//
// The layout is <application folder>/Qr/<report name>.json; without that file
// a default layout is generated from the data. Data are copied, so the window
// may move on while the preview is open.

// Prints a document (preview first). Nothing happens when the header is empty.
ReportPreview *PreviewDocumentReport(const QString &reportName, const ReportDataSet &header, const ReportDataSet &lines,
                                     const ReportOptions &options = {});
// Prints a list or statistic (preview first). Nothing happens when it is empty.
ReportPreview *PreviewListReport(const QString &reportName, const ReportDataSet &data, const ReportOptions &options = {});
// Opens the designer modally on the layout, with the document variables
// (PageMaxRow, sCurKHname, bsPhone, bsFax, sLinkMan, sPhone, sFax, sAddress)
// under "自定义变量". Returns true when the layout was saved.
bool DesignDocumentReport(const QString &reportName, const ReportDataSet &header, const ReportDataSet &lines,
                          const ReportOptions &options = {});
// The same for lists, with sCurKHname, memoDate and memoCaption.
bool DesignListReport(const QString &reportName, const ReportDataSet &data, const ReportOptions &options = {});

// Previews a grid as shown: its visible columns in screen order (field,
// caption, width, format, alignment, footer), fitted to the page width.
// fitMode 0: rows grow to fit their text; 1: fit by column widths. A non-blank
// header is the left part of the page header; a non-blank footer the right
// part of the page footer, "date" giving "打印日期：yyyy年MM月dd日".
ReportPreview *PrintGrid(const QAbstractItemModel *model, const QList<ReportColumn> &visibleColumns, const QString &title,
                         int fitMode, const QString &footer, const QString &header);

// The window previews and designers open over (the main window); none by default.
void SetReportParentWindow(QWidget *window);
// Tests replace how a designer runs (default: exec()).
void SetReportDesignerRunner(std::function<void(ReportDesigner &)> runner);

} // namespace korvan
