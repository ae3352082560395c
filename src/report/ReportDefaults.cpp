#include "ReportDefaults.h"
#include "Money.h"
#include "ReportExpression.h"
#include "ReportPaginator.h"

#include <QDate>
#include <QHash>

namespace korvan {

namespace {

struct NameEntry { const char *name; const char *title; bool document; bool noPrices; };
const NameEntry kReportNames[] = {
    {"frCaigouInddDept", "采购订单", true, false},
    {"frCaigouInddDept1", "采购订单", true, false},
    {"frCaigouInddDept2", "采购订单", true, true},
    {"frCaigouInDept", "采购入库单", true, false},
    {"frCaigouInDept1", "采购入库单", true, false},
    {"frCaigouInDept2", "采购入库单", true, true},
    {"frCaigouOutDept", "采购退货单", true, false},
    {"frCaigouOutDept1", "采购退货单", true, false},
    {"frCaigouOutDept2", "采购退货单", true, true},
    {"frKPcaigouDeptGL", "采购发票", true, false},
    {"frKPcaigouDeptGL1", "采购发票", true, false},
    {"frFKcaigouDeptGL", "采购付款单", true, false},
    {"frFKcaigouDeptGL1", "采购付款单", true, false},
    {"frGoodMan", "货品资料", false, false},
    {"frSupMan", "供应商资料列表", false, false},
    {"frEmpMan", "员工档案资料", false, false},
    {"frInCaigouDDcx", "采购订货统计列表", false, false},
    {"frInCaigouDeptCX", "采购进货查询表", false, false},
    {"frKPcaigouCX", "采购开票统计表", false, false},
    {"frFKcaigouCX", "采购付款单列表", false, false},
    {"frCaigouDdTotalTJ", "采购订货执行汇总统计", false, false},
    {"frCaigouDdDetailTJ", "采购订单执行明细统计", false, false},
    {"frDDcaigouDetailTJ", "采购订货查询明细统计", false, false},
    {"frGYScaigouTotalTJ", "供应商供货汇总统计", false, false},
    {"frGYScaigouDetailTJ", "供应商供货明细统计", false, false},
    {"frEMPcaigouTotalTJ", "业务员采购汇总统计", false, false},
    {"frEMPcaigouDetailTJ", "业务员采购明细统计", false, false},
    {"frHPcaigouTotalTJ", "货品采购汇总统计", false, false},
    {"frHPcaigouTotalTJA", "货品采购汇总统计", false, false},
    {"frHPcaigouDetailTJ", "货品采购明细统计", false, false},
    {"frKPcaigouTotalTJ", "采购开票汇总统计", false, false},
    {"frKPcaigouDetailTJ", "采购开票明细统计", false, false},
    {"frFKcaigouTotalTJ", "采购付款汇总统计", false, false},
    {"frFKcaigouDetailTJ", "采购付款明细统计", false, false},
    {"frCaigouPriceFx", "月旬日货品采购分析", false, false},
    {"frCaigouGoodFx", "时间段货品采购分析", false, false},
    {"frFKchangeTotalFx", "应付帐款本期发生汇总统计", false, false},
    {"frFkChangeDetailFx", "应付帐款本期发生明细", false, false},
};

const NameEntry *findName(const QString &name)
{
    for (const NameEntry &e : kReportNames)
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

struct FieldEntry { const char *field; const char *caption; };
const FieldEntry kFieldCaptions[] = {
    {"F_Code", "单号"}, {"F_MakeDate", "日期"}, {"F_date", "制单日期"}, {"F_Client", "供应商"},
    {"F_CLTname", "供应商"}, {"F_CLTcode", "供应商编号"}, {"F_Depot", "仓库"}, {"F_EmpName", "业务员"},
    {"F_KPemp", "经手人"}, {"F_OldCode", "原始单号"}, {"F_JHdate", "交货日期"}, {"F_KPtype", "开票类型"},
    {"F_KPcode", "票据单号"}, {"F_KPname", "开票名称"}, {"F_KPprice", "开票金额"}, {"F_Account", "付款帐户"},
    {"F_PayMode", "支付方式"}, {"F_itemName", "项目"}, {"F_SKprice", "付款金额"}, {"F_CGDcode", "采购单号"},
    {"F_JHcode", "订单号"}, {"F_Mem", "备注"}, {"F_memo1", "备注"}, {"F_Maker", "制单人"}, {"F_Auditer", "审核人"},
    {"F_AudDate", "审核日期"}, {"F_CheckFlag", "审核"}, {"F_TotalPrice", "金额"},
    {"F_GoodCode", "货品编号"}, {"F_GoodName", "货品名称"}, {"F_Type", "类型"}, {"F_Spec", "规格"},
    {"F_Address", "产地"}, {"F_Unit", "单位"}, {"F_TMcode", "条码"}, {"F_Amount", "数量"}, {"F_Price", "单价"},
    {"F_Rate", "折扣"}, {"F_Name", "名称"}, {"F_LinkMan", "联系人"}, {"F_Phone", "电话"}, {"F_Fax", "传真"},
};

const char *const kTechnical[] = {"F_ID", "F_Flag", "F_OperFlag", "F_RowVer", "F_CheckFlag"};

bool isTechnical(const QString &field)
{
    for (const char *t : kTechnical)
        if (field.compare(QLatin1String(t), Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString fieldRef(const QString &ds, const QString &field)
{
    QString f = field;
    f.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return ds + QStringLiteral(".\"") + f + QLatin1Char('"');
}

ReportItem text(int x, int y, int w, int h, const QString &content, double size = 10, bool bold = false,
                int align = Qt::AlignLeft | Qt::AlignVCenter, int borders = 0)
{
    ReportItem it;
    it.x = x;
    it.y = y;
    it.w = w;
    it.h = h;
    it.text = content;
    it.font.size = size;
    it.font.bold = bold;
    it.align = align;
    it.borders = borders;
    return it;
}

const QColor kHeaderFill(0xee, 0xee, 0xee);

// A column of a generated table.
struct TableColumn {
    QString field;           // empty with rowNumber
    QString caption;
    double weight = 20;
    QString format;
    int align = Qt::AlignLeft;
    ReportColumn::Footer footer = ReportColumn::NoFooter;
    QString footerText;
    bool rowNumber = false;
};

struct TableStyle {
    QString dataSet = QStringLiteral("frxDM");
    double fontSize = 9;
    int headerHeight = 650, rowHeight = 550;
    Overflow overflow = Overflow::Shrink;
    bool autoHeight = false;
    bool dataColors = false;
    QString rowsPerPage;
    bool pageSubtotals = false;
};

struct TableGeometry { QList<int> x, w; };

TableGeometry geometry(const QList<TableColumn> &cols, int width)
{
    TableGeometry g;
    double total = 0;
    for (const TableColumn &c : cols) total += qMax(1.0, c.weight);
    int x = 0;
    for (int i = 0; i < cols.size(); ++i) {
        const int w = i + 1 == cols.size() ? width - x : int(width * qMax(1.0, cols[i].weight) / total);
        g.x << x;
        g.w << w;
        x += w;
    }
    return g;
}

// One row of totals under the table's columns: sums and footer texts, the
// caption in the cells before the first total.
QList<ReportItem> totalsRow(const QList<TableColumn> &cols, const TableGeometry &g, const TableStyle &s, int y,
                            const QString &caption, const QString &scope)
{
    QList<ReportItem> out;
    int firstFooter = int(cols.size());
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].footer != ReportColumn::NoFooter) { firstFooter = i; break; }
    int start = 0;
    if (firstFooter > 0) {
        const int w = firstFooter < cols.size() ? g.x[firstFooter] : g.x.last() + g.w.last();
        out << text(0, y, w, s.rowHeight, caption, s.fontSize, true, Qt::AlignCenter, BorderAll);
        start = firstFooter;
    }
    for (int i = start; i < cols.size(); ++i) {
        const TableColumn &c = cols[i];
        QString content;
        if (c.footer == ReportColumn::FooterSum)
            content = QStringLiteral("[SUM(%1, '%2')]").arg(fieldRef(s.dataSet, c.field), scope);
        else if (c.footer == ReportColumn::FooterText)
            content = escapeReportText(c.footerText);
        ReportItem it = text(g.x[i], y, g.w[i], s.rowHeight, content, s.fontSize, true, c.align | Qt::AlignVCenter, BorderAll);
        it.format = c.format;
        out << it;
    }
    return out;
}

// Column header, detail and, when asked, the page subtotals; returns the
// report totals row for the caller's summary band (empty without footers).
QList<ReportItem> addTable(ReportLayout &l, const QList<TableColumn> &cols, const TableStyle &s, int width)
{
    const TableGeometry g = geometry(cols, width);
    ReportBand head;
    head.kind = BandKind::ColumnHeader;
    head.height = s.headerHeight;
    ReportBand detail;
    detail.kind = BandKind::Detail;
    detail.height = s.rowHeight;
    detail.dataSet = s.dataSet;
    detail.rowsPerPage = s.rowsPerPage;
    detail.autoHeight = s.autoHeight;
    bool anyFooter = false;
    for (int i = 0; i < cols.size(); ++i) {
        const TableColumn &c = cols[i];
        ReportItem h = text(g.x[i], 0, g.w[i], s.headerHeight, escapeReportText(c.caption), s.fontSize, true, Qt::AlignCenter, BorderAll);
        h.fill = kHeaderFill;
        h.overflow = s.autoHeight ? Overflow::Wrap : Overflow::Shrink;
        head.items << h;
        ReportItem d = text(g.x[i], 0, g.w[i], s.rowHeight,
                            c.rowNumber ? QStringLiteral("[Line]") : QLatin1Char('[') + fieldRef(s.dataSet, c.field) + QLatin1Char(']'),
                            s.fontSize, false, (c.rowNumber ? int(Qt::AlignHCenter) : c.align) | Qt::AlignVCenter, BorderAll);
        d.name = c.field;
        d.format = c.format;
        d.overflow = s.overflow;
        d.dataColors = s.dataColors;
        detail.items << d;
        anyFooter = anyFooter || c.footer != ReportColumn::NoFooter;
    }
    l.setBand(head);
    l.setBand(detail);
    if (!anyFooter) return {};
    if (s.pageSubtotals) {
        ReportBand foot;
        foot.kind = BandKind::PageFooter;
        foot.atBottom = false;
        foot.height = s.rowHeight;
        foot.items = totalsRow(cols, g, s, 0, QStringLiteral("本页小计"), QStringLiteral("page"));
        l.setBand(foot);
    }
    return totalsRow(cols, g, s, 0, QStringLiteral("合计"), QStringLiteral("report"));
}

// A summary band holding just the totals row, when there is one.
void addTotals(ReportLayout &l, const QList<ReportItem> &totals, int height)
{
    if (totals.isEmpty()) return;
    ReportBand sum;
    sum.kind = BandKind::Summary;
    sum.height = height;
    sum.items = totals;
    l.setBand(sum);
}

TableColumn tableColumn(const ReportColumn &c)
{
    TableColumn tc;
    tc.field = c.field;
    tc.caption = c.caption;
    tc.weight = qMax(10, c.width);
    tc.format = c.format;
    tc.align = int(c.alignment & Qt::AlignHorizontal_Mask);
    tc.footer = c.footer;
    tc.footerText = c.footerText;
    return tc;
}

enum class ValueKind { Text, Quantity, Price, Amount, Center };

struct LineField { const char *field; double weight; ValueKind kind; };
const LineField kLineFields[] = {
    {"F_GoodCode", 22, ValueKind::Text}, {"F_GoodName", 38, ValueKind::Text}, {"F_Spec", 20, ValueKind::Text},
    {"F_Unit", 10, ValueKind::Center}, {"F_CGDcode", 40, ValueKind::Text}, {"F_Amount", 16, ValueKind::Quantity},
    {"F_Price", 18, ValueKind::Price}, {"F_Rate", 12, ValueKind::Quantity}, {"F_TotalPrice", 22, ValueKind::Amount},
    {"F_Mem", 26, ValueKind::Text},
};

const char *const kHeaderFields[] = {
    "F_Code", "F_MakeDate", "F_Client", "F_CLTname", "F_Depot", "F_EmpName", "F_KPemp", "F_OldCode", "F_JHdate",
    "F_KPtype", "F_KPcode", "F_KPname", "F_KPprice", "F_Account", "F_PayMode", "F_itemName", "F_SKprice",
    "F_CGDcode", "F_Mem", "F_memo1",
};

QString captionFrom(const ReportDataSet &ds, const QString &field)
{
    for (const ReportColumn &c : ds.columns())
        if (c.field.compare(field, Qt::CaseInsensitive) == 0 && !c.caption.isEmpty()) return c.caption;
    const QString known = reportFieldCaption(field);
    return known.isEmpty() ? field : known;
}

QString formatFor(ValueKind k, const NumberFormats &f)
{
    switch (k) {
    case ValueKind::Quantity: return f.qty;
    case ValueKind::Price: return f.price;
    case ValueKind::Amount: return f.amount;
    default: return {};
    }
}

QVariant firstValue(const ReportDataSet &ds, int column)
{
    const int rows = qMin(ds.rowCount(), 50);
    for (int r = 0; r < rows; ++r) {
        const QVariant v = ds.value(r, column);
        if (v.isValid() && !v.isNull()) return v;
    }
    return {};
}

void fitOrientation(ReportLayout &l, double naturalWidth)
{
    if (naturalWidth > l.page.contentWidth() * 1.25) std::swap(l.page.width, l.page.height);
}

} // namespace

ReportNameInfo reportNameInfo(const QString &reportName)
{
    ReportNameInfo info;
    if (const NameEntry *e = findName(reportName)) {
        info.title = QString::fromUtf8(e->title);
        info.document = e->document;
        info.noPrices = e->noPrices;
        return info;
    }
    if (reportName.endsWith(QLatin1Char('1'))) {
        if (const NameEntry *e = findName(reportName.chopped(1)); e && !e->document) {
            info.title = QString::fromUtf8(e->title);
            info.noPrices = true;
            return info;
        }
    }
    return info;
}

QString reportFieldCaption(const QString &field)
{
    for (const FieldEntry &e : kFieldCaptions)
        if (field.compare(QLatin1String(e.field), Qt::CaseInsensitive) == 0) return QString::fromUtf8(e.caption);
    return {};
}

ReportLayout defaultDocumentLayout(const QString &name, const ReportDataSet &header, const ReportDataSet *lines,
                                   const DefaultLayoutOptions &o)
{
    ReportLayout l;
    l.name = name;
    l.kind = QStringLiteral("document");
    l.title = o.title.isEmpty() ? name : o.title;
    const int W = l.page.contentWidth();

    // Page header: company, title, page number, phone and fax, then the header fields.
    ReportBand ph;
    ph.kind = BandKind::PageHeader;
    ph.items << text(0, 0, W, 700, QStringLiteral("[sCurKHname]"), 14, true, Qt::AlignCenter);
    ph.items << text(0, 700, W, 800, escapeReportText(l.title), 18, true, Qt::AlignCenter);
    ph.items << text(0, 1500, W - 4000, 500, QStringLiteral("电话：[bsPhone]    传真：[bsFax]"), 9);
    ph.items << text(W - 4000, 1500, 4000, 500, QStringLiteral("第[Page]页/共[TotalPages]页"), 9, false, Qt::AlignRight | Qt::AlignVCenter);
    QStringList fields;
    for (const char *f : kHeaderFields) {
        const int c = header.columnIndex(QLatin1String(f));
        if (c >= 0) fields << header.columnName(c);
    }
    for (const ReportColumn &c : header.columns()) {
        // Columns the window names itself and the catalogue does not know.
        if (c.caption.isEmpty() || isTechnical(c.field) || header.columnIndex(c.field) < 0) continue;
        bool known = false;
        for (const QString &f : fields) known = known || f.compare(c.field, Qt::CaseInsensitive) == 0;
        if (!known && reportFieldCaption(c.field).isEmpty()) fields << c.field;
    }
    int y = 2100;
    int column = 0;
    const int pairW = W / 3;
    for (const QString &f : std::as_const(fields)) {
        if (o.noPrices && isPriceName(f)) continue;
        ReportItem it = text(column * pairW, y, column == 2 ? W - 2 * pairW : pairW, 600,
                             escapeReportText(captionFrom(header, f)) + QStringLiteral("：[") + fieldRef(QStringLiteral("frxDM"), f) + QLatin1Char(']'));
        if (isPriceName(f)) it.format = o.formats.amount;
        ph.items << it;
        if (++column == 3) { column = 0; y += 600; }
    }
    if (column) y += 600;
    ph.height = y + 150;
    l.setBand(ph);

    // Lines table.
    QList<TableColumn> cols;
    TableColumn number;
    number.rowNumber = true;
    number.caption = QStringLiteral("序号");
    number.weight = 8;
    cols << number;
    const ReportDataSet *ds = lines;
    if (ds) {
        for (const LineField &lf : kLineFields) {
            const int c = ds->columnIndex(QLatin1String(lf.field));
            if (c < 0) continue;
            TableColumn tc;
            tc.field = ds->columnName(c);
            if (o.noPrices && isPriceName(tc.field)) continue;
            tc.caption = captionFrom(*ds, tc.field);
            tc.weight = lf.weight;
            tc.format = formatFor(lf.kind, o.formats);
            tc.align = lf.kind == ValueKind::Text ? Qt::AlignLeft : lf.kind == ValueKind::Center ? Qt::AlignHCenter : Qt::AlignRight;
            if (lf.kind == ValueKind::Amount || QLatin1String(lf.field) == QLatin1String("F_Amount"))
                tc.footer = ReportColumn::FooterSum;
            cols << tc;
        }
        if (cols.size() == 1) {
            // Lines the catalogue does not know: every column that is not bookkeeping.
            for (int c = 0; c < ds->columnCount(); ++c) {
                const QString f = ds->columnName(c);
                if (isTechnical(f) || f.compare(QLatin1String("F_Code"), Qt::CaseInsensitive) == 0) continue;
                if (o.noPrices && isPriceName(f)) continue;
                TableColumn tc;
                tc.field = f;
                tc.caption = captionFrom(*ds, f);
                const QVariant v = firstValue(*ds, c);
                if (v.typeId() == qMetaTypeId<Money>()) {
                    tc.format = o.formats.amount;
                    tc.align = Qt::AlignRight;
                    tc.footer = ReportColumn::FooterSum;
                } else if (v.typeId() == QMetaType::Double) {
                    tc.align = Qt::AlignRight;
                }
                cols << tc;
            }
        }
    }
    TableStyle style;
    style.dataSet = QStringLiteral("frxDD");
    style.fontSize = 10;
    style.headerHeight = 700;
    style.rowHeight = 650;
    style.rowsPerPage = QStringLiteral("PageMaxRow");
    style.pageSubtotals = true;
    QList<ReportItem> totals = addTable(l, cols, style, W);

    // Summary: totals, the amount in capitals, who made and audited it.
    ReportBand sum;
    sum.kind = BandKind::Summary;
    int sy = 0;
    for (ReportItem &it : totals) sum.items << it;
    if (!totals.isEmpty()) sy += style.rowHeight;
    if (!o.noPrices && ds) {
        const int c = ds->columnIndex(QStringLiteral("F_TotalPrice"));
        if (c >= 0) {
            sum.items << text(0, sy, W, style.rowHeight,
                              QStringLiteral("金额合计（大写）：[MoneyMinToBig(SUM(%1, 'report'))]").arg(fieldRef(QStringLiteral("frxDD"), ds->columnName(c))),
                              10, false, Qt::AlignLeft | Qt::AlignVCenter, BorderAll);
            sy += style.rowHeight;
        }
    }
    int sx = 0;
    for (const char *f : {"F_Maker", "F_Auditer"}) {
        const int c = header.columnIndex(QLatin1String(f));
        if (c < 0) continue;
        sum.items << text(sx, sy + 100, W / 3, 600,
                          reportFieldCaption(QLatin1String(f)) + QStringLiteral("：[") + fieldRef(QStringLiteral("frxDM"), header.columnName(c)) + QLatin1Char(']'));
        sx += W / 3;
    }
    if (sx) sy += 700;
    sum.height = qMax(sy, 100);
    l.setBand(sum);
    return l;
}

ReportLayout defaultListLayout(const QString &name, const ReportDataSet &data, const DefaultLayoutOptions &o)
{
    ReportLayout l;
    l.name = name;
    l.kind = QStringLiteral("list");
    l.title = o.title.isEmpty() ? name : o.title;

    QList<TableColumn> cols;
    double natural = 0;
    const QList<ReportColumn> shown = data.columns();
    if (!shown.isEmpty()) {
        for (const ReportColumn &c : shown) {
            if (o.noPrices && isPriceName(c.field)) continue;
            TableColumn tc = tableColumn(c);
            if (tc.caption.isEmpty()) tc.caption = captionFrom(data, c.field);
            cols << tc;
            natural += tc.weight;
        }
    } else {
        for (int c = 0; c < data.columnCount(); ++c) {
            const QString f = data.columnName(c);
            if (isTechnical(f) || (o.noPrices && isPriceName(f))) continue;
            TableColumn tc;
            tc.field = f;
            tc.caption = captionFrom(data, f);
            tc.weight = 80;
            const QVariant v = firstValue(data, c);
            if (v.typeId() == qMetaTypeId<Money>()) {
                tc.format = o.formats.amount;
                tc.align = Qt::AlignRight;
                tc.footer = ReportColumn::FooterSum;
            } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
                tc.align = Qt::AlignRight;
                if (f.compare(QLatin1String("F_Amount"), Qt::CaseInsensitive) == 0) {
                    tc.format = o.formats.qty;
                    tc.footer = ReportColumn::FooterSum;
                }
            }
            cols << tc;
            natural += tc.weight;
        }
    }
    fitOrientation(l, natural * 26.46);
    const int W = l.page.contentWidth();

    ReportBand title;
    title.kind = BandKind::Title;
    title.items << text(0, 0, W, 700, QStringLiteral("[sCurKHname]"), 14, true, Qt::AlignCenter);
    title.items << text(0, 700, W, 800, escapeReportText(l.title), 16, true, Qt::AlignCenter);
    title.items << text(0, 1500, W / 2, 550, QStringLiteral("[memoDate]"), 9);
    title.items << text(W / 2, 1500, W - W / 2, 550, QStringLiteral("[memoCaption]"), 9, false, Qt::AlignRight | Qt::AlignVCenter);
    title.height = 2200;
    l.setBand(title);

    TableStyle style;
    addTotals(l, addTable(l, cols, style, W), style.rowHeight);
    ReportBand foot;
    foot.kind = BandKind::PageFooter;
    foot.height = 600;
    foot.items << text(0, 100, W, 500, QStringLiteral("第[Page]页 共[TotalPages]页"), 9, false, Qt::AlignCenter);
    l.setBand(foot);
    return l;
}

QList<ReportColumn> gridPrintColumns(QList<ReportColumn> columns)
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].field.isEmpty()) columns[i].field = QStringLiteral("_c%1").arg(i);
    return columns;
}

ReportLayout gridPrintLayout(const QList<ReportColumn> &input, const GridPrintOptions &o, const PageSetup *page)
{
    const QList<ReportColumn> columns = gridPrintColumns(input);
    ReportLayout l;
    l.name = QStringLiteral("PrintGrid");
    l.kind = QStringLiteral("grid");
    l.title = o.title;
    QList<TableColumn> cols;
    double natural = 0;
    for (const ReportColumn &c : columns) {
        cols << tableColumn(c);
        natural += cols.last().weight;
    }
    if (page) l.page = *page;
    else fitOrientation(l, natural * 26.46);
    const int W = l.page.contentWidth();

    // The title is three lines: empty, the title, empty.
    ReportBand title;
    title.kind = BandKind::Title;
    title.items << text(0, 0, W, 500, QString(), 10);
    title.items << text(0, 500, W, 900, escapeReportText(o.title), 16, true, Qt::AlignCenter);
    title.items << text(0, 1400, W, 500, QString(), 10);
    title.height = 1900;
    l.setBand(title);
    if (!o.header.trimmed().isEmpty()) {
        ReportBand ph;
        ph.kind = BandKind::PageHeader;
        ph.height = 600;
        ph.items << text(0, 0, W, 550, escapeReportText(o.header), 9);
        l.setBand(ph);
    }
    TableStyle style;
    style.dataColors = true;
    if (o.fitMode == 0) {
        style.autoHeight = true;
        style.overflow = Overflow::Wrap;
    }
    addTotals(l, addTable(l, cols, style, W), style.rowHeight);
    ReportBand foot;
    foot.kind = BandKind::PageFooter;
    foot.height = 600;
    foot.items << text(W / 3, 100, W / 3, 500, QStringLiteral("第[Page]页 共[TotalPages]页"), 9, false, Qt::AlignCenter);
    if (!o.footer.trimmed().isEmpty()) {
        const QDate day = o.today.isValid() ? o.today : QDate::currentDate();
        const QString footer = o.footer == QLatin1String("date")
            ? QStringLiteral("打印日期：") + day.toString(QStringLiteral("yyyy年MM月dd日")) : o.footer;
        foot.items << text(2 * (W / 3), 100, W - 2 * (W / 3), 500, escapeReportText(footer), 9, false, Qt::AlignRight | Qt::AlignVCenter);
    }
    l.setBand(foot);
    return l;
}

} // namespace korvan
