#pragma once
#include "AppSettings.h"
#include "ReportDataSet.h"
#include "ReportLayout.h"

namespace korvan {

// What the application knows about a report name before anyone designs it.
struct ReportNameInfo {
    QString title;
    bool document = false;
    bool noPrices = false;   // the variant without prices and amounts
};
// The catalogue of named reports. A list name followed by the price suffix
// "1" is that list's variant without prices.
ReportNameInfo reportNameInfo(const QString &reportName);

// Caption of a document or list field ("F_GoodCode" → "货品编号"), empty when unknown.
QString reportFieldCaption(const QString &field);

struct DefaultLayoutOptions {
    QString title;
    bool noPrices = false;
    NumberFormats formats;
};

// A document: header block of caption–value pairs, lines table with
// PageMaxRow rows a page, page subtotals, totals with the amount in capital
// money characters, company phone and fax.
ReportLayout defaultDocumentLayout(const QString &name, const ReportDataSet &header, const ReportDataSet *lines,
                                   const DefaultLayoutOptions &options);
// A list: its columns with captions, formats and footer sums, the period
// caption (memoDate) and grouping caption (memoCaption).
ReportLayout defaultListLayout(const QString &name, const ReportDataSet &data, const DefaultLayoutOptions &options);

// PrintGrid: the grid as shown, fitted to the page width.
struct GridPrintOptions {
    QString title;
    int fitMode = 0;         // 0: rows grow to fit their text; 1: fixed rows, text shrinks to the column widths
    QString footer;          // right part of the page footer; "date" prints the print date
    QString header;          // left part of the page header
    QDate today;             // the print date (tests fix it); invalid = today
};
// Columns whose field is empty are named "_c<index>"; pass the same list to the data set.
ReportLayout gridPrintLayout(const QList<ReportColumn> &columns, const GridPrintOptions &options,
                             const PageSetup *page = nullptr);
QList<ReportColumn> gridPrintColumns(QList<ReportColumn> columns);

} // namespace korvan
