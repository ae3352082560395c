#pragma once
#include "DocumentStore.h"
#include "ReportEngine.h"

#include <memory>

namespace korvan {

// One print template of a document window with its print and design entries.
struct PrintTemplate {
    QString name;                         // report name, e.g. "frCaigouInddDept"
    QString printAction, printCaption;    // the print entry
    QString designAction, designCaption;  // the design entry
    bool prices = true;                   // false: the variant without prices and amounts
};

// The templates of a kind; the first is what 打印 and 设置 use.
const QList<PrintTemplate> &documentTemplates(const DocumentKind &kind);
// The template 打印 and 设置 use for a document: the first one, the one without
// prices for an operator who may not see them; invoices by whether the
// current line names a receipt.
QString defaultDocumentTemplate(const DocumentKind &kind, const QList<DocumentLine> &lines, int currentLine,
                                bool canSeePrices);

// The header rows of the day list (frxDM, positioned on `current`) and the
// lines (frxDD) as the report engine reads them.
std::shared_ptr<TableDataSet> documentHeaderData(const DocumentKind &kind, const QList<QVariantMap> &rows, int current);
std::shared_ptr<TableDataSet> documentLinesData(const DocumentKind &kind, const QList<DocumentLine> &lines);

// Makes the document's variables (GetReportValue) the report engine's
// variable provider; prints and designs use them until another window
// installs its own.
void installDocumentVariables(const QVariantMap &values);

// A print of a stored document with its variables, for tools without a window.
ReportJob storedDocumentReport(DataModule &dm, const DocumentKind &kind, const Document &doc, QString templateName = {});

// The kind a stored code belongs to, with the document; null when no document has it.
const DocumentKind *findStoredDocument(DataModule &dm, const QString &code, Document *doc);

} // namespace korvan
