#pragma once
#include "AppSettings.h"
#include "Session.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace korvan {

class DataModule;
class NumberFormat;

// What a grid cell holds. Price and Money both carry korvan::Money; Quantity is
// a double; Date a QDate; Int a qlonglong.
enum class CellType { Text, Int, Quantity, Price, Money, Date, Bool };
inline bool isMoneyType(CellType t) { return t == CellType::Price || t == CellType::Money; }
inline bool isNumericType(CellType t) { return t == CellType::Int || t == CellType::Quantity || isMoneyType(t); }

// Stored values of cfg_Grid.F_FooterType and F_Alignment.
enum class FooterKind { None = 0, Text = 1, Sum = 2 };
enum class CellAlign { Auto = -1, Left = 0, Center = 1, Right = 2 };

// One column of a grid as the operator sees it. The same description drives
// the widget, the stored layout, export and printing.
struct GridColumn {
    QString field;          // data column shown, matched case-insensitively
    QString caption;        // title; "订货|数量" is a two-level title
    int width = 80;         // pixels
    bool visible = true;
    bool readOnly = false;
    QString displayFormat;  // NumberFormat pattern of the cells and the footer
    FooterKind footer = FooterKind::None;
    QString footerText;     // the fixed text of FooterKind::Text
    CellAlign align = CellAlign::Auto;
    bool ellipsis = false;  // an always-visible "…" button in every cell

    bool isTwoLevel() const { return caption.contains(QLatin1Char('|')); }
    QString topCaption() const;     // the upper title of a two-level caption, else empty
    QString bottomCaption() const;  // the cell title (the whole caption for one level)
    QString flatCaption() const;    // one line for files: "订货-数量"
    bool isMemo() const { return field.contains(QLatin1String("mem"), Qt::CaseInsensitive); }
    bool operator==(const GridColumn &) const = default;
};
using GridColumns = QList<GridColumn>;

// Position of the column showing `field` (case-insensitive), or -1.
int indexOfField(const GridColumns &cols, const QString &field);
// The alignment a column's cells get: Auto puts numbers right, booleans centred.
CellAlign effectiveAlign(const GridColumn &col, CellType type);

// The text a cell shows. Dates are yyyy-MM-dd; a date before 1901-08-14 is the
// "empty" date of the user fields and shows blank; booleans show 是/否.
QString cellText(const QVariant &value, CellType type, const NumberFormat &format);
// The type a column of this name holds in the declared tables, when they agree.
std::optional<CellType> declaredCellType(const QString &field);
// The types of one declared table's columns, by name: hints for a grid over
// that table (a name such as F_Flag means different things in other tables).
QHash<QString, CellType> tableCellTypes(const QString &table);
// Typed value of a database value (money columns hold ten-thousandths).
QVariant cellFromDb(const QVariant &v, CellType type);

// The stored layout of a grid (table cfg_Grid), one row per key and field.
// LoadGridLayout replaces `cols` by the rows stored under `key` in F_Order
// order and returns true; with no rows, or when the database fails (its
// message shown), it leaves `cols` as they are and returns false.
bool LoadGridLayout(DataModule &dm, const QString &key, GridColumns &cols);
// SaveGridLayout writes every column back to its existing row under `key`
// (position = F_Order); a column without a row is not stored, and no row is
// ever inserted or deleted. A failing column shows the message and the rest go on.
void SaveGridLayout(DataModule &dm, const QString &key, const GridColumns &cols);

// Price modes of ApplyColumnFormats for an operator who may not see prices.
enum PriceMode { PriceKeep = 0, PriceRemove = 1, PriceHide = 3 };
// ApplyColumnFormats: price hiding by mode (never for the super user or an
// operator with the price right), then number formats by field-name patterns
// for format kind 1 (lines) to 5 (payables movements).
void ApplyColumnFormats(GridColumns &cols, int kind, int priceMode, const Session &session,
                        const NumberFormats &formats);
// Captions and visibility of the eleven user-defined field columns.
void ApplyUserFieldCaptions(GridColumns &cols, const Session &session);
// Document lines: every column editable except the goods description copied by
// the pickers; F_GoodName gets the ellipsis button.
void PrepareLineColumns(GridColumns &cols);
// "统计日期：自 … 至 …" of a statistics period; an unset end reads as the
// start of use or the last booked day.
QString PeriodCaption(std::optional<QDate> from, std::optional<QDate> to);

// The user-defined fields in their settings order: F_ZF1..F_ZF5, F_SZ1..F_SZ3, F_RQ1..F_RQ3.
const QStringList &userFieldNames();

} // namespace korvan
