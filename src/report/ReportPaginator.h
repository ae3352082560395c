#pragma once
#include "ReportDataSet.h"
#include "ReportLayout.h"

#include <QLine>
#include <QMap>
#include <QRect>
#include <functional>
#include <memory>

namespace korvan {

// ---- the page model: simple primitives, positions in 0.01 mm on the page

struct PageText {
    QRect rect;          // the text area (the cell less its padding); text never leaves it
    QString text;        // lines separated by '\n', already fitted
    int font = 0;        // index into ReportDocument::fonts (with the fitted size)
    int align = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color = Qt::black;
};

struct PageLine {
    QLine line;
    int width = 20;
    QColor color = Qt::black;
};

struct PageRect {
    QRect rect;
    QColor fill;         // invalid = none
    int borderWidth = 0; // 0 = no border
    QColor border = Qt::black;
};

// Where a band landed: which data row it printed (-1 none), filler rows, group number.
struct PlacedBand {
    BandKind kind = BandKind::Detail;
    int top = 0, height = 0;
    int row = -1;
    bool filler = false;
    int group = -1;
};

struct ReportPage {
    QList<PageRect> rects;
    QList<PageText> texts;
    QList<PageLine> lines;
    QList<PlacedBand> bands;
};

struct ReportDocument {
    QString title;
    PageSetup page;
    QList<ReportFont> fonts;
    QList<ReportPage> pages;
    QStringList errors;   // expressions that did not parse, bands taller than a page
    int pageCount() const { return int(pages.size()); }
};

// What a layout is printed with.
struct ReportData {
    // Data sets by name ("frxDM", "frxDD"), looked up case-insensitively.
    QMap<QString, std::shared_ptr<const ReportDataSet>> dataSets;
    // Answers a variable; an invalid QVariant means unanswered.
    std::function<QVariant(const QString &)> variable;
    // The no-price variant: fields and variables whose name holds "price" print nothing.
    bool hidePrices = false;

    void set(const QString &name, std::shared_ptr<const ReportDataSet> ds) { dataSets.insert(name.toLower(), std::move(ds)); }
    const ReportDataSet *get(const QString &name) const
    {
        const auto it = dataSets.constFind(name.toLower());
        return it == dataSets.cend() ? nullptr : it->get();
    }
};

// Whether a field or variable name is a price or an amount of money.
bool isPriceName(const QString &name);

// Lays the layout out over the data: bands, page breaks, fixed rows per page
// with filler rows, groups, page/group/report totals, page i of n.
ReportDocument paginateReport(const ReportLayout &layout, const ReportData &data);

// ---- text fitting (0.01 mm units), shared with the designer

constexpr int kCellPadding = 80;

struct FittedText {
    QString text;
    double size = 0;    // font size used, points
};
// Fits text into a w × h cell (padding included): shrinks, wraps or cuts it
// ("…") so it never leaves the cell.
FittedText fitReportText(const QString &text, const ReportFont &font, int w, int h, Overflow overflow);
// The font as painted in 0.01 mm units (pixel size = points × 2540 / 72).
QFont reportQFont(const ReportFont &font, double size);
// Width and line height of a text in that font, in 0.01 mm.
double reportTextWidth(const QString &line, const ReportFont &font, double size);
double reportLineHeight(const ReportFont &font, double size);

} // namespace korvan
