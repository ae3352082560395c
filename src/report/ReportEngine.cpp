#include "ReportEngine.h"
#include "DataModule.h"
#include "ReportPainter.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>

namespace korvan {

namespace {
ReportVariableProvider &installedProvider()
{
    static ReportVariableProvider provider;
    return provider;
}

NumberFormats currentFormats()
{
    if (DataModule *dm = DataModule::instance()) return dm->formats();
    return NumberFormats();
}
} // namespace

QVariant DefaultReportVariable(const QString &name)
{
    DataModule *dm = DataModule::instance();
    if (!dm) return {};
    if (name.compare(QLatin1String("PageMaxRow"), Qt::CaseInsensitive) == 0) return dm->printRows();
    if (name.compare(QLatin1String("bsPhone"), Qt::CaseInsensitive) == 0) return dm->session().companyPhone;
    if (name.compare(QLatin1String("bsFax"), Qt::CaseInsensitive) == 0) return dm->session().companyFax;
    return {};
}

void SetReportVariableProvider(ReportVariableProvider provider) { installedProvider() = std::move(provider); }

ReportVariableProvider CurrentReportVariables()
{
    const ReportVariableProvider installed = installedProvider();
    return [installed](const QString &name) {
        if (installed) {
            const QVariant v = installed(name);
            if (v.isValid()) return v;
        }
        return DefaultReportVariable(name);
    };
}

ReportVariableProvider ReportVariablesFromMap(const QVariantMap &values)
{
    QHash<QString, QVariant> lower;
    for (auto it = values.cbegin(); it != values.cend(); ++it) lower.insert(it.key().toLower(), *it);
    return [lower](const QString &name) { return lower.value(name.toLower()); };
}

QString ReportLayoutPath(const QString &reportName)
{
    return QDir(AppSettings::applicationDir()).filePath(QStringLiteral("Qr/") + reportName + QStringLiteral(".json"));
}

QList<ReportVariable> DocumentReportVariables()
{
    QList<ReportVariable> out;
    for (const char *n : {"PageMaxRow", "sCurKHname", "bsPhone", "bsFax", "sLinkMan", "sPhone", "sFax", "sAddress"})
        out << ReportVariable{QLatin1String(n), kCustomVariableCategory};
    return out;
}

QList<ReportVariable> ListReportVariables()
{
    QList<ReportVariable> out;
    for (const char *n : {"sCurKHname", "memoDate", "memoCaption"})
        out << ReportVariable{QLatin1String(n), kCustomVariableCategory};
    return out;
}

bool ReportSessionHidesPrices()
{
    DataModule *dm = DataModule::instance();
    return dm && !dm->session().canSeePrices && !dm->session().isSuperUser();
}

bool ReportJob::saveLayout(QString *error) const { return layout.save(layoutPath(), error); }

void ReportJob::setPage(const PageSetup &page)
{
    if (relayout) layout = relayout(page);
    else layout.page = page;
}

static void loadOrDefault(ReportJob &job)
{
    const QString path = job.layoutPath();
    if (QFileInfo::exists(path)) {
        QString error;
        if (auto l = ReportLayout::load(path, &error)) {
            job.layout = *l;
            job.layoutFromFile = true;
            return;
        }
        job.loadError = QStringLiteral("报表格式文件“%1”无法读取（%2），已使用默认格式。").arg(QFileInfo(path).fileName(), error);
    }
    job.layout = job.makeDefault();
}

ReportJob ReportJob::document(const QString &name, const ReportDataSet &header, const ReportDataSet *lines,
                              const ReportOptions &options)
{
    ReportJob job;
    job.name = name;
    const ReportNameInfo info = reportNameInfo(name);
    job.data.hidePrices = options.noPrices || info.noPrices || ReportSessionHidesPrices();
    auto headerCopy = TableDataSet::copyOf(header);
    std::shared_ptr<TableDataSet> linesCopy = lines ? TableDataSet::copyOf(*lines) : nullptr;
    job.data.set(QStringLiteral("frxDM"), headerCopy);
    if (linesCopy) job.data.set(QStringLiteral("frxDD"), linesCopy);
    job.data.variable = CurrentReportVariables();
    DefaultLayoutOptions d;
    d.title = options.title.isEmpty() ? info.title : options.title;
    d.noPrices = job.data.hidePrices;
    d.formats = currentFormats();
    job.makeDefault = [name, headerCopy, linesCopy, d] { return defaultDocumentLayout(name, *headerCopy, linesCopy.get(), d); };
    loadOrDefault(job);
    return job;
}

ReportJob ReportJob::list(const QString &name, const ReportDataSet &data, const ReportOptions &options)
{
    ReportJob job;
    job.name = name;
    const ReportNameInfo info = reportNameInfo(name);
    job.data.hidePrices = options.noPrices || info.noPrices || ReportSessionHidesPrices();
    auto copy = TableDataSet::copyOf(data);
    job.data.set(QStringLiteral("frxDM"), copy);
    job.data.variable = CurrentReportVariables();
    DefaultLayoutOptions d;
    d.title = options.title.isEmpty() ? info.title : options.title;
    d.noPrices = job.data.hidePrices;
    d.formats = currentFormats();
    job.makeDefault = [name, copy, d] { return defaultListLayout(name, *copy, d); };
    loadOrDefault(job);
    return job;
}

ReportJob ReportJob::grid(const QAbstractItemModel *model, const QList<ReportColumn> &columns, const GridPrintOptions &options)
{
    ReportJob job;
    job.name = QStringLiteral("PrintGrid");
    const QList<ReportColumn> named = gridPrintColumns(columns);
    job.data.set(QStringLiteral("frxDM"), TableDataSet::copyOf(ModelDataSet(model, named)));
    job.data.variable = CurrentReportVariables();
    job.makeDefault = [named, options] { return gridPrintLayout(named, options); };
    job.relayout = [named, options](const PageSetup &page) { return gridPrintLayout(named, options, &page); };
    job.layout = job.makeDefault();
    return job;
}

bool WriteReportPdf(const ReportJob &job, const QString &path, QString *error)
{
    return writeReportPdf(job.paginate(), path, error);
}

} // namespace korvan
