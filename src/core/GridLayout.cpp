#include "GridLayout.h"
#include "DataModule.h"
#include "Database.h"
#include "Messages.h"
#include "NumberFormat.h"
#include "Schema.h"

#include <QHash>
#include <QSqlQuery>

namespace korvan {

QString GridColumn::topCaption() const
{
    const int bar = caption.indexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : caption.left(bar);
}

QString GridColumn::bottomCaption() const
{
    const int bar = caption.indexOf(QLatin1Char('|'));
    return bar < 0 ? caption : caption.mid(bar + 1);
}

QString GridColumn::flatCaption() const
{
    return isTwoLevel() ? topCaption() + QLatin1Char('-') + bottomCaption() : caption;
}

int indexOfField(const GridColumns &cols, const QString &field)
{
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].field.compare(field, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

CellAlign effectiveAlign(const GridColumn &col, CellType type)
{
    if (col.align != CellAlign::Auto) return col.align;
    if (type == CellType::Bool) return CellAlign::Center;
    return isNumericType(type) ? CellAlign::Right : CellAlign::Left;
}

QString cellText(const QVariant &value, CellType type, const NumberFormat &format)
{
    if (!value.isValid() || value.isNull()) return QString();
    switch (type) {
    case CellType::Price:
    case CellType::Money:
        return format.format(value.value<Money>());
    case CellType::Quantity:
        return format.format(value.toDouble());
    case CellType::Int:
        return format.isEmpty() ? QString::number(value.toLongLong()) : format.format(value.toLongLong());
    case CellType::Date: {
        const QDate d = value.toDate();
        static const QDate emptyBelow(1901, 8, 14);
        return d.isValid() && d >= emptyBelow ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    }
    case CellType::Bool:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case CellType::Text:
        break;
    }
    return value.toString();
}

namespace {
std::optional<CellType> cellTypeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Id: case ColumnType::Int: return CellType::Int;
    case ColumnType::Text: case ColumnType::Memo: return CellType::Text;
    case ColumnType::Number: return CellType::Quantity;
    case ColumnType::Money: return CellType::Money;
    case ColumnType::Bool: return CellType::Bool;
    case ColumnType::Date: return CellType::Date;
    case ColumnType::Blob: break;
    }
    return std::nullopt;
}
} // namespace

QHash<QString, CellType> tableCellTypes(const QString &table)
{
    QHash<QString, CellType> types;
    if (const TableDef *t = Schema::table(table))
        for (const ColumnDef &c : t->columns)
            if (const auto type = cellTypeOf(c.type)) types.insert(c.name, *type);
    return types;
}

std::optional<CellType> declaredCellType(const QString &field)
{
    static const QHash<QString, std::optional<CellType>> byName = [] {
        QHash<QString, std::optional<CellType>> map;
        for (const TableDef &t : Schema::tables()) {
            for (const ColumnDef &c : t.columns) {
                const std::optional<CellType> type = cellTypeOf(c.type);
                const QString key = c.name.toLower();
                auto it = map.find(key);
                if (it == map.end()) map.insert(key, type);
                else if (*it != type) *it = std::nullopt; // tables disagree: no declared type
            }
        }
        return map;
    }();
    return byName.value(field.toLower());
}

QVariant cellFromDb(const QVariant &v, CellType type)
{
    if (!v.isValid() || v.isNull()) return QVariant();
    switch (type) {
    case CellType::Price:
    case CellType::Money:
        if (v.metaType() == QMetaType::fromType<Money>()) return v;
        return QVariant::fromValue(Money::fromDb(v));
    case CellType::Quantity: return v.toDouble();
    case CellType::Int: return v.toLongLong();
    case CellType::Date: {
        const QDate d = dateOf(v);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case CellType::Bool: return v.toBool();
    case CellType::Text: break;
    }
    return v.toString();
}

bool LoadGridLayout(DataModule &dm, const QString &key, GridColumns &cols)
{
    GridColumns loaded;
    try {
        QSqlQuery q = dm.db().query(QStringLiteral(
            "SELECT F_FieldName, F_Caption, F_Width, F_Visible, F_ReadOnly, F_DisplayFormat, F_FooterValue,"
            " F_FooterType, F_Alignment FROM cfg_Grid WHERE lower(F_name) = ? AND F_FieldName <> ''"
            " ORDER BY F_Order, F_ID"), {key.toLower()});
        while (q.next()) {
            GridColumn c;
            c.field = q.value(0).toString();
            c.caption = q.value(1).toString();
            c.width = q.value(2).toInt();
            c.visible = q.value(3).toBool();
            c.readOnly = q.value(4).toBool();
            c.displayFormat = q.value(5).toString();
            c.footerText = q.value(6).toString();
            const int footer = q.value(7).toInt();
            c.footer = footer == 1 ? FooterKind::Text : footer == 2 ? FooterKind::Sum : FooterKind::None;
            const QVariant align = q.value(8);
            const int a = align.isNull() ? -1 : align.toInt();
            c.align = a >= 0 && a <= 2 ? CellAlign(a) : CellAlign::Auto;
            loaded << c;
        }
    } catch (const DbError &) {
        ShowMess(DataModule::failMessage(), MsgError);
        return false;
    }
    if (loaded.isEmpty()) return false;
    cols = loaded;
    return true;
}

void SaveGridLayout(DataModule &dm, const QString &key, const GridColumns &cols)
{
    const QString sql = QStringLiteral(
        "UPDATE cfg_Grid SET F_Caption = ?, F_Width = ?, F_ReadOnly = ?, F_Visible = ?, F_Order = ?,"
        " F_Alignment = ?, F_DisplayFormat = ?, F_FooterValue = ?, F_FooterType = ?"
        " WHERE lower(F_name) = ? AND lower(F_FieldName) = lower(?)");
    const QString lowerKey = key.toLower();
    for (int i = 0; i < cols.size(); ++i) {
        const GridColumn &c = cols[i];
        // Automatic alignment is stored as -1, which loads back as automatic.
        dm.ExecSql(sql, {c.caption, c.width, c.readOnly, c.visible, i, int(c.align), c.displayFormat,
                         c.footerText, int(c.footer), lowerKey, c.field});
    }
}

namespace {

bool containsAny(const QString &text, std::initializer_list<const char *> parts)
{
    for (const char *p : parts)
        if (text.contains(QLatin1String(p))) return true;
    return false;
}

// The format a kind gives a lower-case field name, or null when no rule matches.
QString formatFor(const QString &f, int kind, const NumberFormats &nf)
{
    QString fmt;
    switch (kind) {
    case 1:
        if (f.contains(QLatin1String("_rate"))) fmt = nf.qty;
        if (f.contains(QLatin1String("_price"))) fmt = nf.price;
        if (containsAny(f, {"totalprice", "cbprice"})) fmt = nf.amount;
        if (f.contains(QLatin1String("amount"))) fmt = nf.qty;
        break;
    case 2:
        if (f.contains(QLatin1String("totalprice"))) fmt = nf.amount;
        break;
    case 3:
        if (containsAny(f, {"begin", "enter", "out", "end"})) fmt = nf.qty;
        if (containsAny(f, {"beginprice", "enterpric", "outpric", "endpric"})) fmt = nf.amount;
        break;
    case 4:
        if (f.contains(QLatin1String("rate"))) return nf.qty;
        if (containsAny(f, {"wg", "th"})) fmt = nf.qty;
        if (containsAny(f, {"wg2", "th2"})) fmt = nf.amount;
        break;
    case 5:
        if (containsAny(f, {"begin", "enter", "out", "end"})) fmt = nf.amount;
        break;
    default:
        break;
    }
    return fmt;
}

} // namespace

void ApplyColumnFormats(GridColumns &cols, int kind, int priceMode, const Session &session,
                        const NumberFormats &formats)
{
    if (!session.canSeePrices && !session.isSuperUser()) {
        const auto isPrice = [](const GridColumn &c) { return c.field.contains(QLatin1String("price"), Qt::CaseInsensitive); };
        if (priceMode == PriceRemove)
            cols.removeIf(isPrice);
        else if (priceMode == PriceHide)
            for (GridColumn &c : cols)
                if (isPrice(c)) c.visible = false;
    }
    for (GridColumn &c : cols) {
        const QString fmt = formatFor(c.field.toLower(), kind, formats);
        if (!fmt.isNull()) c.displayFormat = fmt;
    }
}

const QStringList &userFieldNames()
{
    static const QStringList names = {
        QStringLiteral("F_ZF1"), QStringLiteral("F_ZF2"), QStringLiteral("F_ZF3"), QStringLiteral("F_ZF4"),
        QStringLiteral("F_ZF5"), QStringLiteral("F_SZ1"), QStringLiteral("F_SZ2"), QStringLiteral("F_SZ3"),
        QStringLiteral("F_RQ1"), QStringLiteral("F_RQ2"), QStringLiteral("F_RQ3")};
    return names;
}

void ApplyUserFieldCaptions(GridColumns &cols, const Session &session)
{
    const QStringList &names = userFieldNames();
    for (int i = 0; i < names.size(); ++i) {
        const int c = indexOfField(cols, names[i]);
        if (c < 0) continue;
        cols[c].caption = session.userFieldCaptions[size_t(i)];
        cols[c].visible = session.userFieldVisible[size_t(i)];
    }
}

void PrepareLineColumns(GridColumns &cols)
{
    static const QStringList copied = {QStringLiteral("F_GoodName"), QStringLiteral("F_Type"), QStringLiteral("F_Spec"),
                                       QStringLiteral("F_Address"), QStringLiteral("F_Unit")};
    for (GridColumn &c : cols) {
        c.readOnly = copied.contains(c.field, Qt::CaseInsensitive);
        if (c.field.compare(QLatin1String("F_GoodName"), Qt::CaseInsensitive) == 0) c.ellipsis = true;
    }
}

QString PeriodCaption(std::optional<QDate> from, std::optional<QDate> to)
{
    const QString fmt = QStringLiteral("yyyy年MM月dd日");
    return QStringLiteral("统计日期：自 ") + (from ? from->toString(fmt) : QStringLiteral("启用系统"))
         + QStringLiteral(" 至 ") + (to ? to->toString(fmt) : QStringLiteral("记帐最后一天"));
}

} // namespace korvan
