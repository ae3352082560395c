#pragma once
#include "ReportPaginator.h"

#include <QImage>
#include <QPageLayout>
#include <QSet>

class QPainter;
class QPrinter;

namespace korvan {

// Paints pages of the page model on any QPainter: screen, printer, PDF, image.
class ReportPainter {
public:
    // Scales the painter so one unit is 0.01 mm on a device of the given resolution.
    static void useReportUnits(QPainter &painter, double dpiX, double dpiY);
    // Paints page `index` in report units; highlighted texts (indexes into the
    // page's texts) get a marker behind them.
    static void paintPage(QPainter &painter, const ReportDocument &doc, int index, const QSet<int> &highlight = {});
    static QImage renderPage(const ReportDocument &doc, int index, double dpi);
    // Pages from..to (0-based, inclusive) onto a printer set up by the caller.
    static bool print(QPrinter &printer, const ReportDocument &doc, int from, int to);
};

// The page as Qt's page layout (for printers and page setup dialogs), and back.
QPageLayout reportPageLayout(const PageSetup &page, bool withMargins = false);
PageSetup reportPageSetup(const QPageLayout &layout);

// Writes every page into a PDF with real, extractable text.
bool writeReportPdf(const ReportDocument &doc, const QString &path, QString *error = nullptr);

} // namespace korvan
