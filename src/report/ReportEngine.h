#pragma once
#include "ReportDefaults.h"
#include "ReportPaginator.h"

#include <functional>

class QAbstractItemModel;

namespace korvan {

// Answers a report variable; an invalid QVariant leaves it unanswered.
using ReportVariableProvider = std::function<QVariant(const QString &name)>;

// The application's default answers: PageMaxRow = iPrintNum, bsPhone and
// bsFax = the company's phone and fax. Everything else is unanswered.
QVariant DefaultReportVariable(const QString &name);
// A window installs its own provider before it prints or designs; it stays
// until the next window replaces it. What it leaves unanswered falls back to
// the default answers. An empty provider restores the default alone.
void SetReportVariableProvider(ReportVariableProvider provider);
// The installed provider followed by the defaults.
ReportVariableProvider CurrentReportVariables();
// A provider answering from a map of names (looked up case-insensitively).
ReportVariableProvider ReportVariablesFromMap(const QVariantMap &values);

// <application folder>/Qr/<report name>.json
QString ReportLayoutPath(const QString &reportName);

// The variables the designer lists under "自定义变量".
QList<ReportVariable> DocumentReportVariables();
QList<ReportVariable> ListReportVariables();
inline const QString kCustomVariableCategory = QStringLiteral("自定义变量");

struct ReportOptions {
    QString title;           // the default layout's title; the catalogue's when empty
    bool noPrices = false;   // print no price or amount whatever the layout holds
};

// One report to print or design: its layout (from the file, or generated
// when there is none), a snapshot of the data and the variables.
struct ReportJob {
    QString name;
    ReportLayout layout;
    bool layoutFromFile = false;
    QString loadError;       // the file exists but could not be read; the default is used
    ReportData data;
    std::function<ReportLayout()> makeDefault;
    std::function<ReportLayout(const PageSetup &)> relayout; // grid printing fits the new page

    ReportDocument paginate() const { return paginateReport(layout, data); }
    QString layoutPath() const { return ReportLayoutPath(name); }
    bool saveLayout(QString *error = nullptr) const;
    // A new page size and margins: grid printing re-fits, a layout keeps its items.
    void setPage(const PageSetup &page);

    static ReportJob document(const QString &name, const ReportDataSet &header, const ReportDataSet *lines,
                              const ReportOptions &options = {});
    static ReportJob list(const QString &name, const ReportDataSet &data, const ReportOptions &options = {});
    // PrintGrid: the model's rows in the given (visible, screen-ordered) columns.
    static ReportJob grid(const QAbstractItemModel *model, const QList<ReportColumn> &columns, const GridPrintOptions &options);
};

// Whether the logged-in operator may not see prices (and is not the super user).
bool ReportSessionHidesPrices();

// Headless printing for tools: the named document or list straight to PDF.
bool WriteReportPdf(const ReportJob &job, const QString &path, QString *error = nullptr);

} // namespace korvan
