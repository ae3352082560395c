#include "DocumentPrint.h"
#include "DocumentController.h"
#include "Schema.h"

namespace korvan {

namespace {
// Three templates: the document, its A4 form and the form without prices.
// Entries are named print + n and design + (designFirst + n - 1).
QList<PrintTemplate> goodsTemplates(const QString &base, const QString &title, const QString &print, const QString &design,
                                    int designFirst)
{
    const QString suffixes[] = {QString(), QStringLiteral("1"), QStringLiteral("2")};
    const QString captions[] = {QString(), QStringLiteral("(A4)"), QStringLiteral("(不含单价和金额)")};
    QList<PrintTemplate> out;
    for (int i = 0; i < 3; ++i)
        out << PrintTemplate{base + suffixes[i],
                             print + QString::number(i + 1), QStringLiteral("打印") + title + captions[i],
                             design + QString::number(designFirst + i), QStringLiteral("设置") + title + captions[i],
                             i < 2};
    return out;
}

QList<PrintTemplate> settlementTemplates(const QString &base)
{
    return {PrintTemplate{base, {}, {}, {}, {}, true}, PrintTemplate{base + QStringLiteral("1"), {}, {}, {}, {}, true}};
}

std::shared_ptr<TableDataSet> dataOf(const QString &table, const QList<const QVariantMap *> &rows)
{
    const TableDef *t = Schema::table(table);
    QStringList names;
    if (t)
        for (const ColumnDef &c : t->columns) names << c.name;
    auto ds = std::make_shared<TableDataSet>(names);
    for (const QVariantMap *row : rows) {
        QVariantList values;
        values.reserve(names.size());
        for (const QString &n : names) values << row->value(n);
        ds->addRow(values);
    }
    return ds;
}
} // namespace

const QList<PrintTemplate> &documentTemplates(const DocumentKind &kind)
{
    static const QList<PrintTemplate> order = goodsTemplates(QStringLiteral("frCaigouInddDept"), QStringLiteral("采购订单"),
                                                             QStringLiteral("Action"), QStringLiteral("Action"), 11);
    static const QList<PrintTemplate> receipt = goodsTemplates(QStringLiteral("frCaigouInDept"), QStringLiteral("采购入库单"),
                                                               QStringLiteral("nPrint"), QStringLiteral("nSet"), 1);
    static const QList<PrintTemplate> ret = goodsTemplates(QStringLiteral("frCaigouOutDept"), QStringLiteral("采购退货单"),
                                                           QStringLiteral("nPrint"), QStringLiteral("nSet"), 1);
    static const QList<PrintTemplate> invoice = settlementTemplates(QStringLiteral("frKPcaigouDeptGL"));
    static const QList<PrintTemplate> payment = settlementTemplates(QStringLiteral("frFKcaigouDeptGL"));
    if (&kind == &DocumentKind::order()) return order;
    if (&kind == &DocumentKind::receipt()) return receipt;
    if (&kind == &DocumentKind::purchaseReturn()) return ret;
    if (&kind == &DocumentKind::invoice()) return invoice;
    return payment;
}

QString defaultDocumentTemplate(const DocumentKind &kind, const QList<DocumentLine> &lines, int currentLine, bool canSeePrices)
{
    const QList<PrintTemplate> &all = documentTemplates(kind);
    if (!kind.goodsLines) {
        const bool namesReceipt = currentLine >= 0 && currentLine < lines.size()
                               && !lines[currentLine].values.value(QStringLiteral("F_CGDcode")).toString().trimmed().isEmpty();
        return all[namesReceipt ? 0 : 1].name;
    }
    if (!canSeePrices)
        for (const PrintTemplate &t : all)
            if (!t.prices) return t.name;
    return all.first().name;
}

std::shared_ptr<TableDataSet> documentHeaderData(const DocumentKind &kind, const QList<QVariantMap> &rows, int current)
{
    QList<const QVariantMap *> ptrs;
    for (const QVariantMap &r : rows) ptrs << &r;
    auto ds = dataOf(kind.series.table, ptrs);
    ds->setCurrentRow(qMax(0, current));
    return ds;
}

std::shared_ptr<TableDataSet> documentLinesData(const DocumentKind &kind, const QList<DocumentLine> &lines)
{
    QList<const QVariantMap *> ptrs;
    for (const DocumentLine &l : lines) ptrs << &l.values;
    return dataOf(kind.linesTable, ptrs);
}

void installDocumentVariables(const QVariantMap &values)
{
    SetReportVariableProvider([values](const QString &name) -> QVariant {
        for (auto it = values.begin(); it != values.end(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it.value();
        return {};
    });
}

ReportJob storedDocumentReport(DataModule &dm, const DocumentKind &kind, const Document &doc, QString templateName)
{
    if (templateName.isEmpty())
        templateName = defaultDocumentTemplate(kind, doc.lines, 0, dm.session().canSeePrices || dm.session().isSuperUser());
    installDocumentVariables(DocumentReportValues(dm, kind, doc.header));
    const auto headerData = documentHeaderData(kind, {doc.header}, 0);
    const auto linesData = documentLinesData(kind, doc.lines);
    return ReportJob::document(templateName, *headerData, linesData.get());
}

const DocumentKind *findStoredDocument(DataModule &dm, const QString &code, Document *doc)
{
    for (const DocumentKind *k : {&DocumentKind::order(), &DocumentKind::receipt(), &DocumentKind::purchaseReturn(),
                                  &DocumentKind::invoice(), &DocumentKind::payment()}) {
        Document d = DocumentStore(dm, *k).load(code);
        if (d.id == 0 || d.header.value(QStringLiteral("F_Flag")).toInt() != k->series.kind) continue;
        if (doc) *doc = d;
        return k;
    }
    return nullptr;
}

} // namespace korvan
