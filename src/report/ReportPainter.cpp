#include "ReportPainter.h"

#include <QFileInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace korvan {

void ReportPainter::useReportUnits(QPainter &painter, double dpiX, double dpiY)
{
    painter.scale(dpiX / 2540.0, dpiY / 2540.0);
}

namespace {

// Text is set in 0.1 mm inside a 10× scale: the font engine then works at
// moderate pixel sizes, where it caches glyph metrics.
constexpr double kTextScale = 10.0;

struct RawFontCache {
    ReportFont font;
    QRawFont raw;
    double ascent = 0, descent = 0;
};

const RawFontCache &rawFont(const ReportFont &f)
{
    static thread_local QList<RawFontCache> cache;
    for (const RawFontCache &c : cache)
        if (c.font == f) return c;
    RawFontCache c;
    c.font = f;
    const QFont q = reportQFont(f, f.size);
    c.raw = QRawFont::fromFont(q);
    c.raw.setPixelSize(q.pixelSize() / kTextScale);
    c.ascent = c.raw.ascent();
    c.descent = c.raw.descent();
    cache << c;
    return cache.last();
}

// Glyphs and positions of one line, or false when the font lacks a glyph.
bool appendLine(const RawFontCache &rf, const QString &line, double left, double width, double top, double lh, int align,
                QList<quint32> &glyphs, QList<QPointF> &positions)
{
    const QList<quint32> g = rf.raw.glyphIndexesForString(line);
    for (int i = 0; i < g.size(); ++i)
        if (g[i] == 0 && !line.at(qMin(i, int(line.size()) - 1)).isSpace()) return false;
    const QList<QPointF> adv = rf.raw.advancesForGlyphIndexes(g);
    double w = 0;
    for (const QPointF &a : adv) w += a.x();
    double x = left / kTextScale;
    if (align & Qt::AlignHCenter) x += (width / kTextScale - w) / 2;
    else if (align & Qt::AlignRight) x += width / kTextScale - w;
    const double baseline = (top + (lh - (rf.ascent + rf.descent) * kTextScale) / 2) / kTextScale + rf.ascent;
    glyphs += g;
    for (const QPointF &a : adv) {
        positions << QPointF(x, baseline);
        x += a.x();
    }
    return true;
}

} // namespace

void ReportPainter::paintPage(QPainter &p, const ReportDocument &doc, int index, const QSet<int> &highlight)
{
    if (index < 0 || index >= doc.pages.size()) return;
    const ReportPage &page = doc.pages[index];
    p.save();

    // Fills, then search marks, borders, lines, batched by colour and width.
    QHash<QRgb, QList<QRect>> fills;
    for (const PageRect &r : page.rects)
        if (r.fill.isValid()) fills[r.fill.rgba()] << r.rect;
    p.setPen(Qt::NoPen);
    for (auto it = fills.cbegin(); it != fills.cend(); ++it) {
        p.setBrush(QColor::fromRgba(it.key()));
        p.drawRects(it.value());
    }
    p.setBrush(QColor(255, 230, 80));
    for (int i : highlight)
        if (i >= 0 && i < page.texts.size()) p.drawRect(page.texts[i].rect.adjusted(-kCellPadding / 2, 0, kCellPadding / 2, 0));
    p.setBrush(Qt::NoBrush);
    QMap<QPair<int, QRgb>, QList<QRect>> boxes;
    for (const PageRect &r : page.rects)
        if (r.borderWidth > 0) boxes[{r.borderWidth, r.border.rgba()}] << r.rect;
    QMap<QPair<int, QRgb>, QList<QLine>> lines;
    for (const PageLine &l : page.lines) lines[{l.width, l.color.rgba()}] << l.line;
    QPen pen;
    for (auto it = boxes.cbegin(); it != boxes.cend(); ++it) {
        pen = QPen(QColor::fromRgba(it.key().second), it.key().first);
        p.setPen(pen);
        p.drawRects(it.value());
    }
    for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
        pen = QPen(QColor::fromRgba(it.key().second), it.key().first);
        p.setPen(pen);
        p.drawLines(it.value());
    }

    // Text: one glyph run per font and colour.
    struct Run { QList<quint32> glyphs; QList<QPointF> positions; };
    QMap<QPair<int, QRgb>, Run> runs;
    QList<int> fallback;
    for (int i = 0; i < page.texts.size(); ++i) {
        const PageText &t = page.texts[i];
        if (t.font < 0 || t.font >= doc.fonts.size()) continue;
        const ReportFont &f = doc.fonts[t.font];
        const RawFontCache &rf = rawFont(f);
        const double lh = reportLineHeight(f, f.size);
        const QStringList textLines = t.text.split(QLatin1Char('\n'));
        const double block = textLines.size() * lh;
        double y = t.rect.top();
        if (t.align & Qt::AlignBottom) y = t.rect.top() + t.rect.height() - block;
        else if (!(t.align & Qt::AlignTop)) y = t.rect.top() + (t.rect.height() - block) / 2;
        Run &run = runs[{t.font, t.color.rgba()}];
        const qsizetype glyphs = run.glyphs.size();
        bool ok = true;
        for (const QString &line : textLines) {
            ok = ok && appendLine(rf, line, t.rect.left(), t.rect.width(), y, lh, t.align, run.glyphs, run.positions);
            y += lh;
        }
        if (!ok) {
            run.glyphs.resize(glyphs);
            run.positions.resize(glyphs);
            fallback << i;
        }
    }
    p.save();
    p.scale(kTextScale, kTextScale);
    for (auto it = runs.cbegin(); it != runs.cend(); ++it) {
        if (it->glyphs.isEmpty()) continue;
        QGlyphRun run;
        run.setRawFont(rawFont(doc.fonts[it.key().first]).raw);
        run.setGlyphIndexes(it->glyphs);
        run.setPositions(it->positions);
        p.setPen(QColor::fromRgba(it.key().second));
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    p.restore();
    // Characters the report font lacks go through Qt's font fallback.
    for (int i : fallback) {
        const PageText &t = page.texts[i];
        const ReportFont &f = doc.fonts[t.font];
        p.setFont(reportQFont(f, f.size));
        p.setPen(t.color);
        const double lh = reportLineHeight(f, f.size);
        const QStringList textLines = t.text.split(QLatin1Char('\n'));
        double y = t.rect.top();
        if (t.align & Qt::AlignBottom) y = t.rect.top() + t.rect.height() - textLines.size() * lh;
        else if (!(t.align & Qt::AlignTop)) y = t.rect.top() + (t.rect.height() - textLines.size() * lh) / 2;
        for (const QString &line : textLines) {
            p.drawText(QRectF(t.rect.left(), y, t.rect.width(), lh), (t.align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextDontClip, line);
            y += lh;
        }
    }
    p.restore();
}

QImage ReportPainter::renderPage(const ReportDocument &doc, int index, double dpi)
{
    const QSize size(qRound(doc.page.width / 2540.0 * dpi), qRound(doc.page.height / 2540.0 * dpi));
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    useReportUnits(p, dpi, dpi);
    paintPage(p, doc, index);
    return img;
}

bool ReportPainter::print(QPrinter &printer, const ReportDocument &doc, int from, int to)
{
    from = qMax(0, from);
    to = qMin(to, doc.pageCount() - 1);
    QPainter p;
    if (!p.begin(&printer)) return false;
    const double dx = printer.logicalDpiX(), dy = printer.logicalDpiY();
    // Without full-page mode the device origin is the printable area's corner.
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel), pageRect = printer.pageRect(QPrinter::DevicePixel);
    const QPointF shift = printer.fullPage() ? QPointF() : paper.topLeft() - pageRect.topLeft();
    for (int i = from; i <= to; ++i) {
        if (i > from) printer.newPage();
        p.save();
        p.translate(shift);
        useReportUnits(p, dx, dy);
        paintPage(p, doc, i);
        p.restore();
    }
    return p.end();
}

QPageLayout reportPageLayout(const PageSetup &page, bool withMargins)
{
    // QPageSize keeps sizes upright; a wide page is an upright one turned.
    const bool landscape = page.width > page.height;
    const QSizeF upright(qMin(page.width, page.height) / 100.0, qMax(page.width, page.height) / 100.0);
    const QMarginsF margins = withMargins ? QMarginsF(page.left / 100.0, page.top / 100.0, page.right / 100.0, page.bottom / 100.0)
                                          : QMarginsF();
    QPageLayout layout(QPageSize(upright, QPageSize::Millimeter), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    layout.setMargins(margins);
    return layout;
}

PageSetup reportPageSetup(const QPageLayout &layout)
{
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    const QMarginsF m = layout.margins(QPageLayout::Millimeter);
    PageSetup p;
    p.width = qRound(full.width() * 100);
    p.height = qRound(full.height() * 100);
    p.left = qRound(m.left() * 100);
    p.top = qRound(m.top() * 100);
    p.right = qRound(m.right() * 100);
    p.bottom = qRound(m.bottom() * 100);
    return p;
}

bool writeReportPdf(const ReportDocument &doc, const QString &path, QString *error)
{
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Korvan"));
    writer.setTitle(doc.title);
    writer.setResolution(1200);
    writer.setPageLayout(reportPageLayout(doc.page));
    QPainter p;
    if (!p.begin(&writer)) {
        if (error) *error = QStringLiteral("无法写入文件 %1").arg(QFileInfo(path).fileName());
        return false;
    }
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (i > 0) writer.newPage();
        p.save();
        ReportPainter::useReportUnits(p, writer.resolution(), writer.resolution());
        ReportPainter::paintPage(p, doc, i);
        p.restore();
    }
    if (!p.end()) {
        if (error) *error = QStringLiteral("写入 %1 失败").arg(QFileInfo(path).fileName());
        return false;
    }
    return true;
}

} // namespace korvan
