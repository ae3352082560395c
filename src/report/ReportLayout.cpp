#include "ReportLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace korvan {

namespace {

struct BandName { BandKind kind; const char *name; const char *caption; };
const BandName kBandNames[] = {
    {BandKind::PageHeader, "pageHeader", "页眉"},
    {BandKind::Title, "title", "报表标题"},
    {BandKind::ColumnHeader, "columnHeader", "列标题"},
    {BandKind::GroupHeader, "groupHeader", "分组头"},
    {BandKind::Detail, "detail", "明细数据"},
    {BandKind::GroupFooter, "groupFooter", "分组尾"},
    {BandKind::Summary, "summary", "报表合计"},
    {BandKind::PageFooter, "pageFooter", "页脚"},
};

// Takes the known keys out of `o`, leaving the unknown ones.
struct Reader {
    QJsonObject rest;
    explicit Reader(QJsonObject o) : rest(std::move(o)) {}
    QJsonValue take(const char *key) { return rest.take(QLatin1String(key)); }
    int integer(const char *key, int def) { const QJsonValue v = take(key); return v.isDouble() ? v.toInt() : def; }
    double number(const char *key, double def) { const QJsonValue v = take(key); return v.isDouble() ? v.toDouble() : def; }
    QString text(const char *key, const QString &def = {}) { const QJsonValue v = take(key); return v.isString() ? v.toString() : def; }
    bool boolean(const char *key, bool def) { const QJsonValue v = take(key); return v.isBool() ? v.toBool() : def; }
};

QString alignH(int a)
{
    if (a & Qt::AlignHCenter) return QStringLiteral("center");
    if (a & Qt::AlignRight) return QStringLiteral("right");
    return QStringLiteral("left");
}
QString alignV(int a)
{
    if (a & Qt::AlignTop) return QStringLiteral("top");
    if (a & Qt::AlignBottom) return QStringLiteral("bottom");
    return QStringLiteral("center");
}
int alignFrom(const QString &h, const QString &v)
{
    int a = h == QLatin1String("center") ? Qt::AlignHCenter : h == QLatin1String("right") ? Qt::AlignRight : Qt::AlignLeft;
    a |= v == QLatin1String("top") ? Qt::AlignTop : v == QLatin1String("bottom") ? Qt::AlignBottom : Qt::AlignVCenter;
    return a;
}

QString bordersText(int b)
{
    QString s;
    if (b & BorderLeft) s += QLatin1Char('l');
    if (b & BorderTop) s += QLatin1Char('t');
    if (b & BorderRight) s += QLatin1Char('r');
    if (b & BorderBottom) s += QLatin1Char('b');
    return s;
}
int bordersFrom(const QString &s)
{
    int b = 0;
    if (s.contains(QLatin1Char('l'))) b |= BorderLeft;
    if (s.contains(QLatin1Char('t'))) b |= BorderTop;
    if (s.contains(QLatin1Char('r'))) b |= BorderRight;
    if (s.contains(QLatin1Char('b'))) b |= BorderBottom;
    return b;
}

const char *overflowName(Overflow o)
{
    switch (o) {
    case Overflow::Wrap: return "wrap";
    case Overflow::Clip: return "clip";
    default: return "shrink";
    }
}
Overflow overflowFrom(const QString &s)
{
    if (s == QLatin1String("wrap")) return Overflow::Wrap;
    if (s == QLatin1String("clip")) return Overflow::Clip;
    return Overflow::Shrink;
}

const char *typeName(ReportItem::Type t)
{
    return t == ReportItem::Type::Line ? "line" : t == ReportItem::Type::Rect ? "rect" : "text";
}

QJsonObject itemToJson(const ReportItem &it)
{
    QJsonObject o = it.extra;
    o[QStringLiteral("type")] = QLatin1String(typeName(it.type));
    if (!it.name.isEmpty()) o[QStringLiteral("name")] = it.name;
    o[QStringLiteral("x")] = it.x;
    o[QStringLiteral("y")] = it.y;
    o[QStringLiteral("w")] = it.w;
    o[QStringLiteral("h")] = it.h;
    if (it.type == ReportItem::Type::Text) {
        o[QStringLiteral("text")] = it.text;
        QJsonObject f;
        f[QStringLiteral("family")] = it.font.family;
        f[QStringLiteral("size")] = it.font.size;
        f[QStringLiteral("bold")] = it.font.bold;
        f[QStringLiteral("italic")] = it.font.italic;
        o[QStringLiteral("font")] = f;
        o[QStringLiteral("halign")] = alignH(it.align);
        o[QStringLiteral("valign")] = alignV(it.align);
        o[QStringLiteral("format")] = it.format;
        o[QStringLiteral("overflow")] = QLatin1String(overflowName(it.overflow));
        if (it.dataColors) o[QStringLiteral("dataColors")] = true;
    }
    o[QStringLiteral("borders")] = bordersText(it.borders);
    o[QStringLiteral("borderWidth")] = it.borderWidth;
    o[QStringLiteral("color")] = it.color.name();
    if (it.fill.isValid()) o[QStringLiteral("fill")] = it.fill.name();
    return o;
}

ReportItem itemFromJson(const QJsonObject &obj)
{
    Reader r(obj);
    ReportItem it;
    const QString type = r.text("type", QStringLiteral("text"));
    it.type = type == QLatin1String("line") ? ReportItem::Type::Line
            : type == QLatin1String("rect") ? ReportItem::Type::Rect : ReportItem::Type::Text;
    it.name = r.text("name");
    it.x = r.integer("x", 0);
    it.y = r.integer("y", 0);
    it.w = r.integer("w", it.w);
    it.h = r.integer("h", it.h);
    it.text = r.text("text");
    Reader f(r.take("font").toObject());
    it.font.family = f.text("family", kReportFontFamily);
    it.font.size = f.number("size", 10);
    it.font.bold = f.boolean("bold", false);
    it.font.italic = f.boolean("italic", false);
    it.align = alignFrom(r.text("halign"), r.text("valign"));
    it.format = r.text("format");
    it.overflow = overflowFrom(r.text("overflow"));
    it.dataColors = r.boolean("dataColors", false);
    it.borders = bordersFrom(r.text("borders"));
    it.borderWidth = r.integer("borderWidth", 20);
    const QString color = r.text("color");
    it.color = color.isEmpty() ? QColor(Qt::black) : QColor(color);
    const QString fill = r.text("fill");
    if (!fill.isEmpty()) it.fill = QColor(fill);
    it.extra = r.rest;
    return it;
}

QJsonObject bandToJson(const ReportBand &b)
{
    QJsonObject o = b.extra;
    o[QStringLiteral("kind")] = bandKindName(b.kind);
    o[QStringLiteral("height")] = b.height;
    if (!b.dataSet.isEmpty()) o[QStringLiteral("dataSet")] = b.dataSet;
    if (!b.condition.isEmpty()) o[QStringLiteral("condition")] = b.condition;
    if (!b.rowsPerPage.isEmpty()) o[QStringLiteral("rowsPerPage")] = b.rowsPerPage;
    if (b.autoHeight) o[QStringLiteral("autoHeight")] = true;
    if (b.kind == BandKind::PageFooter) o[QStringLiteral("atBottom")] = b.atBottom;
    QJsonArray items;
    for (const ReportItem &it : b.items) items << itemToJson(it);
    o[QStringLiteral("items")] = items;
    return o;
}

std::optional<ReportBand> bandFromJson(const QJsonObject &obj, QString *error)
{
    Reader r(obj);
    ReportBand b;
    const QString kind = r.text("kind");
    const auto k = bandKindFromName(kind);
    if (!k) {
        if (error) *error = QStringLiteral("未知的区域类型：%1").arg(kind);
        return std::nullopt;
    }
    b.kind = *k;
    b.height = r.integer("height", b.height);
    b.dataSet = r.text("dataSet");
    b.condition = r.text("condition");
    b.rowsPerPage = r.text("rowsPerPage");
    b.autoHeight = r.boolean("autoHeight", false);
    b.atBottom = r.boolean("atBottom", true);
    for (const QJsonValue &v : r.take("items").toArray()) b.items << itemFromJson(v.toObject());
    b.extra = r.rest;
    return b;
}

} // namespace

QString bandKindName(BandKind kind)
{
    for (const BandName &b : kBandNames)
        if (b.kind == kind) return QLatin1String(b.name);
    return {};
}

std::optional<BandKind> bandKindFromName(const QString &name)
{
    for (const BandName &b : kBandNames)
        if (name == QLatin1String(b.name)) return b.kind;
    return std::nullopt;
}

QString bandCaption(BandKind kind)
{
    for (const BandName &b : kBandNames)
        if (b.kind == kind) return QString::fromUtf8(b.caption);
    return {};
}

QList<BandKind> allBandKinds()
{
    QList<BandKind> out;
    for (const BandName &b : kBandNames) out << b.kind;
    return out;
}

ReportBand *ReportLayout::band(BandKind kind)
{
    for (ReportBand &b : bands)
        if (b.kind == kind) return &b;
    return nullptr;
}

const ReportBand *ReportLayout::band(BandKind kind) const
{
    for (const ReportBand &b : bands)
        if (b.kind == kind) return &b;
    return nullptr;
}

ReportBand &ReportLayout::setBand(const ReportBand &b)
{
    if (ReportBand *existing = band(b.kind)) {
        *existing = b;
        return *existing;
    }
    int at = 0;
    while (at < bands.size() && int(bands[at].kind) < int(b.kind)) ++at;
    bands.insert(at, b);
    return bands[at];
}

QByteArray ReportLayout::toJson() const
{
    QJsonObject o = extra;
    o[QStringLiteral("format")] = kFormat;
    o[QStringLiteral("version")] = kVersion;
    o[QStringLiteral("name")] = name;
    o[QStringLiteral("kind")] = kind;
    if (!title.isEmpty()) o[QStringLiteral("title")] = title;
    QJsonObject p = extra.value(QStringLiteral("page")).toObject();
    p[QStringLiteral("width")] = page.width;
    p[QStringLiteral("height")] = page.height;
    p[QStringLiteral("left")] = page.left;
    p[QStringLiteral("top")] = page.top;
    p[QStringLiteral("right")] = page.right;
    p[QStringLiteral("bottom")] = page.bottom;
    o[QStringLiteral("page")] = p;
    QJsonArray vars;
    for (const ReportVariable &v : variables)
        vars << QJsonObject{{QStringLiteral("name"), v.name}, {QStringLiteral("category"), v.category}};
    o[QStringLiteral("variables")] = vars;
    QJsonArray bs;
    for (const ReportBand &b : bands) bs << bandToJson(b);
    o[QStringLiteral("bands")] = bs;
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<ReportLayout> ReportLayout::fromJson(const QByteArray &json, QString *error)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (!doc.isObject()) {
        if (error) *error = QStringLiteral("报表格式文件不是有效的 JSON：%1").arg(pe.errorString());
        return std::nullopt;
    }
    Reader r(doc.object());
    if (r.text("format") != kFormat) {
        if (error) *error = QStringLiteral("不是本系统的报表格式文件");
        return std::nullopt;
    }
    const int version = r.integer("version", 0);
    if (version < 1 || version > kVersion) {
        if (error) *error = QStringLiteral("报表格式文件的版本 %1 不受支持").arg(version);
        return std::nullopt;
    }
    ReportLayout l;
    l.name = r.text("name");
    l.kind = r.text("kind");
    l.title = r.text("title");
    // Unknown page keys survive inside extra["page"]; the known ones are re-read on save.
    Reader p(r.take("page").toObject());
    l.page.width = p.integer("width", l.page.width);
    l.page.height = p.integer("height", l.page.height);
    l.page.left = p.integer("left", l.page.left);
    l.page.top = p.integer("top", l.page.top);
    l.page.right = p.integer("right", l.page.right);
    l.page.bottom = p.integer("bottom", l.page.bottom);
    for (const QJsonValue &v : r.take("variables").toArray()) {
        const QJsonObject o = v.toObject();
        l.variables << ReportVariable{o.value(QStringLiteral("name")).toString(), o.value(QStringLiteral("category")).toString()};
    }
    for (const QJsonValue &v : r.take("bands").toArray()) {
        auto b = bandFromJson(v.toObject(), error);
        if (!b) return std::nullopt;
        l.bands << *b;
    }
    l.extra = r.rest;
    if (!p.rest.isEmpty()) l.extra[QStringLiteral("page")] = p.rest;
    if (l.page.width <= 0 || l.page.height <= 0) {
        if (error) *error = QStringLiteral("报表格式文件的纸张尺寸无效");
        return std::nullopt;
    }
    return l;
}

bool ReportLayout::save(const QString &path, QString *error) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(toJson()) < 0 || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

std::optional<ReportLayout> ReportLayout::load(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    return fromJson(f.readAll(), error);
}

} // namespace korvan
