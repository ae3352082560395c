#include "ReportPaginator.h"
#include "ReportExpression.h"

#include <QDate>
#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>
#include <QTime>
#include <cmath>

namespace korvan {

bool isPriceName(const QString &name) { return name.contains(QLatin1String("price"), Qt::CaseInsensitive); }

// ---- text measuring

namespace {

constexpr double kMinFontSize = 4.0;
constexpr double kUnitsPerPoint = 2540.0 / 72.0;

// Advances are measured once per character at a large reference size and
// scaled: without hinting and kerning they grow linearly with the size.
struct FontWidths {
    QString family;
    bool bold = false, italic = false;
    QFontMetricsF fm{QFont()};
    double height = 0;
    QHash<char16_t, double> advances;
};
constexpr int kReferencePixels = 1000;

FontWidths &widthsFor(const ReportFont &font)
{
    static thread_local QList<FontWidths *> fonts;
    for (FontWidths *f : fonts)
        if (f->bold == font.bold && f->italic == font.italic && f->family == font.family) return *f;
    auto *f = new FontWidths;
    f->family = font.family;
    f->bold = font.bold;
    f->italic = font.italic;
    QFont q = reportQFont(font, 10);
    q.setPixelSize(kReferencePixels);
    f->fm = QFontMetricsF(q);
    f->height = f->fm.height();
    fonts << f;
    return *f;
}

double pixels(double size) { return qMax(1, qRound(size * kUnitsPerPoint)); }

double measure(const QString &s, const ReportFont &font, double size)
{
    FontWidths &f = widthsFor(font);
    double w = 0;
    for (const QChar c : s) {
        if (c.isSurrogate()) return f.fm.horizontalAdvance(s) * pixels(size) / kReferencePixels;
        auto it = f.advances.constFind(c.unicode());
        if (it == f.advances.cend()) it = f.advances.insert(c.unicode(), f.fm.horizontalAdvance(c));
        w += *it;
    }
    return w * pixels(size) / kReferencePixels;
}

QString elide(const QString &line, const ReportFont &font, double size, double avail, bool forceMark)
{
    if (!forceMark && measure(line, font, size) <= avail) return line;
    const QChar mark(0x2026);
    QString s = line;
    while (!s.isEmpty() && measure(s + mark, font, size) > avail) s.chop(1);
    if (measure(s + mark, font, size) > avail) return QString();
    return s + mark;
}

QStringList wrapLines(const QStringList &paragraphs, const ReportFont &font, double size, double avail)
{
    QStringList out;
    const QFont qf = reportQFont(font, size);
    for (const QString &p : paragraphs) {
        if (p.isEmpty() || measure(p, font, size) <= avail) { out << p; continue; }
        QTextLayout layout(p, qf);
        QTextOption opt;
        opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(opt);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid()) break;
            line.setLineWidth(avail);
            QString piece = p.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' '))) piece.chop(1);
            // A single glyph wider than the cell still has to be cut.
            out << elide(piece, font, size, avail, false);
        }
        layout.endLayout();
    }
    return out;
}

} // namespace

QFont reportQFont(const ReportFont &font, double size)
{
    QFont f(font.family);
    f.setPixelSize(qMax(1, qRound(size * kUnitsPerPoint)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

double reportTextWidth(const QString &line, const ReportFont &font, double size) { return measure(line, font, size); }

double reportLineHeight(const ReportFont &font, double size) { return widthsFor(font).height * pixels(size) / kReferencePixels; }

FittedText fitReportText(const QString &text, const ReportFont &font, int w, int h, Overflow overflow)
{
    FittedText out;
    out.size = font.size;
    const double availW = w - 2 * kCellPadding;
    const double availH = h;
    if (text.isEmpty() || availW <= 0 || availH <= 0) return out;
    if (!text.contains(QLatin1Char('\n')) && reportLineHeight(font, font.size) <= availH && measure(text, font, font.size) <= availW) {
        out.text = text;
        return out;
    }
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    double size = font.size;

    auto widest = [&](const QStringList &lines, double sz) {
        double m = 0;
        for (const QString &l : lines) m = qMax(m, measure(l, font, sz));
        return m;
    };
    // A size at which one line fits the cell's height.
    auto fitHeight = [&](double sz) {
        const double lh = reportLineHeight(font, sz);
        return lh <= availH ? sz : qMax(kMinFontSize, std::floor(sz * availH / lh * 10) / 10);
    };

    QStringList lines;
    if (overflow == Overflow::Wrap) {
        size = fitHeight(size);
        lines = wrapLines(paragraphs, font, size, availW);
        const int maxLines = qMax(1, int(availH / reportLineHeight(font, size)));
        if (lines.size() > maxLines) {
            lines = lines.mid(0, maxLines);
            lines.last() = elide(lines.last(), font, size, availW, true);
        }
    } else if (overflow == Overflow::Shrink) {
        lines = paragraphs;
        auto fits = [&](double sz) {
            return widest(lines, sz) <= availW && lines.size() * reportLineHeight(font, sz) <= availH;
        };
        if (!fits(size)) {
            const double scale = qMin(availW / qMax(1.0, widest(lines, size)),
                                      availH / (lines.size() * reportLineHeight(font, size)));
            size = qMax(kMinFontSize, std::floor(size * scale * 10) / 10);
            while (!fits(size) && size > kMinFontSize) size = qMax(kMinFontSize, size - 0.2);
        }
        if (!fits(size)) {
            const int maxLines = qMax(1, int(availH / reportLineHeight(font, size)));
            lines = lines.mid(0, maxLines);
            for (QString &l : lines) l = elide(l, font, size, availW, false);
        }
    } else {
        size = fitHeight(size);
        const int maxLines = qMax(1, int(availH / reportLineHeight(font, size)));
        lines = paragraphs.mid(0, maxLines);
        for (QString &l : lines) l = elide(l, font, size, availW, false);
    }
    out.text = lines.join(QLatin1Char('\n'));
    out.size = size;
    return out;
}

// ---- pagination

namespace {

AggregateScope defaultScope(BandKind kind)
{
    switch (kind) {
    case BandKind::PageHeader: case BandKind::PageFooter: case BandKind::ColumnHeader:
        return AggregateScope::Page;
    case BandKind::GroupHeader: case BandKind::GroupFooter:
        return AggregateScope::Group;
    default:
        return AggregateScope::Report;
    }
}

using Totals = QHash<const AggregateCall *, AggregateValue>;

class Paginator {
public:
    Paginator(const ReportLayout &layout, const ReportData &data) : m_layout(layout), m_data(data) {}
    ReportDocument run();

    // Evaluation context: one per band instance being evaluated.
    class Context : public ReportEvalContext {
    public:
        Context(const Paginator &p, BandKind kind, int row, int page, int group)
            : m_p(p), m_kind(kind), m_row(row), m_page(page), m_group(group) {}
        QVariant field(const QString &ds, const QString &field) const override;
        QVariant variable(const QString &name) const override;
        QVariant aggregate(const AggregateCall &call) const override;
    private:
        const Paginator &m_p;
        BandKind m_kind;
        int m_row, m_page, m_group;
    };

private:
    friend class Context;
    struct CompiledItem { ReportText text; int colorColumn = -1; };

    void compile();
    int bandHeight(BandKind kind) const { const ReportBand *b = m_layout.band(kind); return b ? b->height : 0; }
    int rowHeight(int row);
    void newPage();
    void finishPage();
    void place(BandKind kind, int height, int row, bool filler = false);
    bool ensureSpace(int height);
    void accumulate(int row);
    void render();
    void renderBand(int pageIndex, const PlacedBand &placed);
    int fontIndex(const ReportFont &f, double size);
    QVariant cachedVariable(const QString &name) const;

    const ReportLayout &m_layout;
    const ReportData &m_data;
    ReportDocument m_doc;
    QHash<const ReportBand *, QList<CompiledItem>> m_items;
    QList<const AggregateCall *> m_aggregates;
    ReportExpression m_groupCondition;

    const ReportBand *m_detail = nullptr;
    const ReportDataSet *m_detailData = nullptr;
    QString m_detailName;
    int m_rows = 0;
    int m_fixedRows = 0;       // rows per page when fixed
    int m_capacity = 0;        // rows on the current page when fixed
    int m_top = 0, m_limit = 0, m_bottom = 0;
    int m_y = 0, m_yAfterHeaders = 0;
    int m_rowsOnPage = 0;
    int m_group = -1;
    QList<int> m_rowGroup;
    QList<int> m_rowHeights;
    QList<Totals> m_pageTotals, m_groupTotals;
    Totals m_reportTotals;
    QList<QPair<int, int>> m_pageRows; // first and last data row of each page
    mutable QHash<QString, QVariant> m_variables;
    struct FieldCache { const ReportDataSet *set; QHash<QString, int> columns; };
    mutable QHash<QString, FieldCache> m_fields;
    QHash<QString, int> m_fonts;
    QHash<const ReportItem *, int> m_itemFonts;
};

QVariant Paginator::Context::field(const QString &ds, const QString &field) const
{
    // Lookups are cached by the names as the layout spells them.
    auto dit = m_p.m_fields.find(ds);
    if (dit == m_p.m_fields.end()) dit = m_p.m_fields.insert(ds, {m_p.m_data.get(ds), {}});
    const ReportDataSet *set = dit->set;
    if (!set) return {};
    auto it = dit->columns.constFind(field);
    if (it == dit->columns.cend())
        it = dit->columns.insert(field, m_p.m_data.hidePrices && isPriceName(field) ? -1 : set->columnIndex(field));
    if (*it < 0) return {};
    const int row = set == m_p.m_detailData ? m_row : set->currentRow();
    if (row < 0) return {};
    return set->value(row, *it);
}

QVariant Paginator::Context::variable(const QString &name) const
{
    if (name.compare(QLatin1String("Page"), Qt::CaseInsensitive) == 0 || name == QLatin1String("Page#"))
        return qlonglong(m_page + 1);
    if (name.compare(QLatin1String("TotalPages"), Qt::CaseInsensitive) == 0 || name == QLatin1String("TotalPages#"))
        return qlonglong(m_p.m_doc.pages.size());
    if (name.compare(QLatin1String("Line"), Qt::CaseInsensitive) == 0 || name == QLatin1String("Line#"))
        return m_kind == BandKind::Detail && m_row >= 0 ? QVariant(qlonglong(m_row + 1)) : QVariant();
    if (name.compare(QLatin1String("Date"), Qt::CaseInsensitive) == 0) return QDate::currentDate();
    if (name.compare(QLatin1String("Time"), Qt::CaseInsensitive) == 0) return QTime::currentTime();
    if (m_p.m_data.hidePrices && isPriceName(name)) return {};
    return m_p.cachedVariable(name);
}

QVariant Paginator::Context::aggregate(const AggregateCall &call) const
{
    AggregateScope scope = call.scope == AggregateScope::Default ? defaultScope(m_kind) : call.scope;
    const Totals *totals = &m_p.m_reportTotals;
    if (scope == AggregateScope::Page) totals = m_page < m_p.m_pageTotals.size() ? &m_p.m_pageTotals[m_page] : nullptr;
    else if (scope == AggregateScope::Group) totals = m_group >= 0 && m_group < m_p.m_groupTotals.size() ? &m_p.m_groupTotals[m_group] : nullptr;
    if (!totals) return call.fn == AggregateCall::Count ? QVariant(qlonglong(0)) : QVariant();
    const auto it = totals->constFind(&call);
    if (it == totals->cend()) return call.fn == AggregateCall::Count ? QVariant(qlonglong(0)) : QVariant();
    return it->result(call.fn);
}

QVariant Paginator::cachedVariable(const QString &name) const
{
    auto it = m_variables.constFind(name);
    if (it == m_variables.cend()) it = m_variables.insert(name, m_data.variable ? m_data.variable(name) : QVariant());
    return *it;
}

void Paginator::compile()
{
    for (const ReportBand &band : m_layout.bands) {
        QList<CompiledItem> items;
        for (const ReportItem &it : band.items) {
            CompiledItem c;
            if (it.type == ReportItem::Type::Text) {
                c.text = ReportText::compile(it.text);
                for (const QString &e : c.text.errors()) m_doc.errors << e;
                m_aggregates += c.text.aggregates();
            }
            items << c;
        }
        m_items.insert(&band, items);
    }
    if (const ReportBand *gh = m_layout.band(BandKind::GroupHeader)) {
        if (!gh->condition.trimmed().isEmpty()) {
            QString cond = gh->condition.trimmed();
            if (cond.startsWith(QLatin1Char('[')) && cond.endsWith(QLatin1Char(']'))) cond = cond.mid(1, cond.size() - 2);
            m_groupCondition = ReportExpression::parse(cond);
            if (!m_groupCondition.isValid()) m_doc.errors << gh->condition + QStringLiteral("：") + m_groupCondition.error();
        }
    }
}

int Paginator::rowHeight(int row)
{
    if (!m_detail->autoHeight) return m_detail->height;
    int h = m_detail->height;
    const Context ctx(*this, BandKind::Detail, row, 0, -1);
    const QList<CompiledItem> &items = m_items[m_detail];
    for (int i = 0; i < items.size(); ++i) {
        const ReportItem &it = m_detail->items[i];
        if (it.type != ReportItem::Type::Text || it.overflow != Overflow::Wrap) continue;
        const QString text = items[i].text.render(ctx, it.format);
        if (text.isEmpty()) continue;
        const double lh = reportLineHeight(it.font, it.font.size);
        const int n = int(wrapLines(text.split(QLatin1Char('\n')), it.font, it.font.size, it.w - 2 * kCellPadding).size());
        const int gap = qMax(0, it.h - int(std::ceil(lh)));  // keep the designed padding around one line
        h = qMax(h, it.y + int(std::ceil(n * lh)) + gap);
    }
    // A row never grows past the space a page has for rows.
    const int room = m_limit - m_yAfterHeaders - bandHeight(BandKind::Summary);
    return room > m_detail->height ? qMin(h, room) : h;
}

void Paginator::place(BandKind kind, int height, int row, bool filler)
{
    PlacedBand b;
    b.kind = kind;
    b.top = m_y;
    b.height = height;
    b.row = row;
    b.filler = filler;
    b.group = row >= 0 && row < m_rowGroup.size() ? m_rowGroup[row] : m_group;
    m_doc.pages.last().bands << b;
    m_y += height;
}

void Paginator::newPage()
{
    m_doc.pages.append(ReportPage());
    m_pageTotals.append(Totals());
    m_pageRows.append({-1, -1});
    m_y = m_top;
    if (const ReportBand *b = m_layout.band(BandKind::PageHeader)) place(b->kind, b->height, -1);
    if (m_doc.pages.size() == 1)
        if (const ReportBand *b = m_layout.band(BandKind::Title)) place(b->kind, b->height, -1);
    if (const ReportBand *b = m_layout.band(BandKind::ColumnHeader)) place(b->kind, b->height, -1);
    m_yAfterHeaders = m_y;
    m_rowsOnPage = 0;
    if (m_fixedRows > 0 && m_detail) {
        const int room = m_limit - m_y - bandHeight(BandKind::Summary);
        const int fit = m_detail->height > 0 ? room / m_detail->height : m_fixedRows;
        m_capacity = qMax(1, qMin(m_fixedRows, fit));
    }
}

void Paginator::finishPage()
{
    const ReportBand *f = m_layout.band(BandKind::PageFooter);
    if (!f) return;
    if (f->atBottom) m_y = m_bottom - f->height;
    place(f->kind, f->height, -1);
}

bool Paginator::ensureSpace(int height)
{
    if (m_y + height <= m_limit) return false;
    if (m_y == m_yAfterHeaders && m_rowsOnPage == 0) {
        // Nothing but headers on this page: a new page would not hold it either.
        m_doc.errors << QStringLiteral("区域高度超过了页面可用高度");
        return false;
    }
    finishPage();
    newPage();
    return true;
}

void Paginator::accumulate(int row)
{
    if (m_aggregates.isEmpty()) return;
    const Context ctx(*this, BandKind::Detail, row, int(m_doc.pages.size()) - 1, m_group);
    Totals &page = m_pageTotals.last();
    Totals *group = m_group >= 0 ? &m_groupTotals[m_group] : nullptr;
    for (const AggregateCall *call : m_aggregates) {
        const QVariant v = ReportExpression::evaluateArgument(*call, ctx);
        page[call].add(v);
        if (group) (*group)[call].add(v);
        m_reportTotals[call].add(v);
    }
}

ReportDocument Paginator::run()
{
    m_doc.title = m_layout.title;
    m_doc.page = m_layout.page;
    compile();

    m_detail = m_layout.band(BandKind::Detail);
    if (m_detail) {
        m_detailName = m_detail->dataSet;
        if (m_detailName.isEmpty()) m_detailName = m_data.get(QStringLiteral("frxDD")) ? QStringLiteral("frxDD") : QStringLiteral("frxDM");
        m_detailData = m_data.get(m_detailName);
        m_rows = m_detailData ? m_detailData->rowCount() : 0;
        if (!m_detail->rowsPerPage.trimmed().isEmpty()) {
            QString e = m_detail->rowsPerPage.trimmed();
            if (e.startsWith(QLatin1Char('[')) && e.endsWith(QLatin1Char(']'))) e = e.mid(1, e.size() - 2);
            const ReportExpression expr = ReportExpression::parse(e);
            const QVariant v = expr.evaluate(Context(*this, BandKind::Detail, -1, 0, -1));
            bool ok = false;
            const int n = v.toInt(&ok);
            if (ok && n > 0) m_fixedRows = qMin(n, 1000);
        }
    }

    m_top = m_layout.page.top;
    m_bottom = m_layout.page.height - m_layout.page.bottom;
    m_limit = m_bottom - bandHeight(BandKind::PageFooter);

    newPage();
    const ReportBand *gh = m_layout.band(BandKind::GroupHeader);
    const ReportBand *gf = m_layout.band(BandKind::GroupFooter);
    const bool grouping = gh && m_groupCondition.isValid();
    QString previousKey;
    m_rowGroup.reserve(m_rows);
    for (int r = 0; r < m_rows && m_detail; ++r) {
        if (grouping) {
            const QString key = reportDisplayText(m_groupCondition.evaluate(Context(*this, BandKind::GroupHeader, r, 0, m_group)));
            if (r == 0 || key != previousKey) {
                if (r > 0 && gf) {
                    ensureSpace(gf->height);
                    place(gf->kind, gf->height, r - 1);
                }
                ++m_group;
                m_groupTotals.append(Totals());
                m_rowGroup << m_group;
                const int h = rowHeight(r);
                ensureSpace(gh->height + h);
                place(gh->kind, gh->height, r);
                previousKey = key;
            } else {
                m_rowGroup << m_group;
            }
        } else {
            m_rowGroup << -1;
        }
        const int h = rowHeight(r);
        if ((m_fixedRows > 0 && m_rowsOnPage >= m_capacity) || m_y + h > m_limit) {
            if (m_rowsOnPage > 0 || m_y > m_yAfterHeaders) {
                finishPage();
                newPage();
            }
        }
        place(BandKind::Detail, h, r);
        accumulate(r);
        ++m_rowsOnPage;
        auto &pr = m_pageRows.last();
        if (pr.first < 0) pr.first = r;
        pr.second = r;
    }
    if (grouping && gf && m_rows > 0) {
        ensureSpace(gf->height);
        place(gf->kind, gf->height, m_rows - 1);
    }
    if (m_fixedRows > 0 && m_detail) {
        while (m_rowsOnPage < m_capacity && m_y + m_detail->height <= m_limit) {
            place(BandKind::Detail, m_detail->height, -1, true);
            ++m_rowsOnPage;
        }
    }
    const ReportBand *summary = m_layout.band(BandKind::Summary);
    const ReportBand *footer = m_layout.band(BandKind::PageFooter);
    if (summary) {
        ensureSpace(summary->height);
        if (footer && !footer->atBottom) {
            finishPage();
            place(summary->kind, summary->height, m_rows - 1);
        } else {
            place(summary->kind, summary->height, m_rows - 1);
            finishPage();
        }
    } else {
        finishPage();
    }
    render();
    return std::move(m_doc);
}

int Paginator::fontIndex(const ReportFont &f, double size)
{
    ReportFont g = f;
    g.size = size;
    const QString key = g.family + QLatin1Char('|') + QString::number(size) + QLatin1Char(g.bold ? 'b' : '-') + QLatin1Char(g.italic ? 'i' : '-');
    auto it = m_fonts.constFind(key);
    if (it != m_fonts.cend()) return *it;
    m_doc.fonts << g;
    return *m_fonts.insert(key, int(m_doc.fonts.size()) - 1);
}

void Paginator::render()
{
    for (int p = 0; p < m_doc.pages.size(); ++p) {
        const QList<PlacedBand> bands = m_doc.pages[p].bands;
        for (const PlacedBand &b : bands) renderBand(p, b);
    }
}

void Paginator::renderBand(int pageIndex, const PlacedBand &placed)
{
    const ReportBand *band = m_layout.band(placed.kind);
    if (!band) return;
    ReportPage &page = m_doc.pages[pageIndex];
    // The row fields outside the detail band refer to.
    int row = placed.row;
    const auto &pr = m_pageRows[pageIndex];
    if (placed.kind == BandKind::PageHeader || placed.kind == BandKind::Title || placed.kind == BandKind::ColumnHeader)
        row = pr.first >= 0 ? pr.first : (m_rows > 0 ? 0 : -1);
    else if (placed.kind == BandKind::PageFooter)
        row = pr.second >= 0 ? pr.second : (m_rows > 0 ? m_rows - 1 : -1);
    const int group = row >= 0 && row < m_rowGroup.size() ? m_rowGroup[row] : placed.group;
    const Context ctx(*this, placed.kind, placed.filler ? -1 : row, pageIndex, group);
    const QList<CompiledItem> &compiled = m_items[band];
    const int left = m_layout.page.left;
    for (int i = 0; i < band->items.size(); ++i) {
        const ReportItem &it = band->items[i];
        int h = it.h;
        if (band->autoHeight && placed.height != band->height) h = qMax(it.h, placed.height - it.y);
        const QRect cell(left + it.x, placed.top + it.y, it.w, h);
        if (it.type == ReportItem::Type::Line) {
            page.lines << PageLine{QLine(cell.left(), cell.top(), cell.left() + it.w, cell.top() + it.h), it.borderWidth, it.color};
            continue;
        }
        QColor fill = it.fill;
        QColor color = it.color;
        if (it.dataColors && m_detailData && placed.kind == BandKind::Detail && !placed.filler && row >= 0) {
            const int col = m_detailData->columnIndex(it.name);
            if (col >= 0) {
                const QColor fg = m_detailData->foreground(row, col), bg = m_detailData->background(row, col);
                if (fg.isValid()) color = fg;
                if (bg.isValid()) fill = bg;
            }
        }
        if (it.type == ReportItem::Type::Rect) {
            page.rects << PageRect{cell, fill, it.borderWidth, it.color};
            continue;
        }
        if (fill.isValid() || it.borders == BorderAll)
            page.rects << PageRect{cell, fill, it.borders == BorderAll ? it.borderWidth : 0, Qt::black};
        if (it.borders && it.borders != BorderAll) {
            const int r = cell.left() + cell.width(), b = cell.top() + cell.height();
            if (it.borders & BorderLeft) page.lines << PageLine{QLine(cell.left(), cell.top(), cell.left(), b), it.borderWidth, Qt::black};
            if (it.borders & BorderTop) page.lines << PageLine{QLine(cell.left(), cell.top(), r, cell.top()), it.borderWidth, Qt::black};
            if (it.borders & BorderRight) page.lines << PageLine{QLine(r, cell.top(), r, b), it.borderWidth, Qt::black};
            if (it.borders & BorderBottom) page.lines << PageLine{QLine(cell.left(), b, r, b), it.borderWidth, Qt::black};
        }
        const QString text = compiled[i].text.render(ctx, it.format);
        if (text.isEmpty()) continue;
        const FittedText fitted = fitReportText(text, it.font, cell.width(), cell.height(), it.overflow);
        if (fitted.text.isEmpty()) continue;
        PageText t;
        t.rect = QRect(cell.left() + kCellPadding, cell.top(), cell.width() - 2 * kCellPadding, cell.height());
        t.text = fitted.text;
        if (fitted.size == it.font.size) {
            auto f = m_itemFonts.constFind(&it);
            if (f == m_itemFonts.cend()) f = m_itemFonts.insert(&it, fontIndex(it.font, fitted.size));
            t.font = *f;
        } else {
            t.font = fontIndex(it.font, fitted.size);
        }
        t.align = it.align;
        t.color = color;
        page.texts << t;
    }
}

} // namespace

ReportDocument paginateReport(const ReportLayout &layout, const ReportData &data)
{
    Paginator p(layout, data);
    return p.run();
}

} // namespace korvan
