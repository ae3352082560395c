#pragma once
#include "MasterList.h"
#include "Money.h"

#include <QDate>
#include <QList>
#include <QVariantMap>

namespace korvan {

class DataModule;
class Database;

// The goods catalogue (t_goods with its opening stock t_begDept): list
// conditions, automatic codes, the checks and the one-transaction save of the
// edit window, deletion, the batch type change and the goods picker's lines.

// The list TFrmGoodGl: search fields "货品编号" (prefix), "货品名称", "商品规格",
// "产    地" (prefix), "备    注", then F_ZF1..F_ZF5 under their captions.
MasterListDecl GoodsListDecl(const Session &session);

// Goods of the type `path` and of every type below it; none for the root
// ("\\" or empty). A sibling whose name merely begins alike ("五金" and
// "五金工具") is not below it.
SqlFilter TypePathFilter(const Dialect &dialect, const QString &column, const QString &path);

// NextGoodsCode from the code of the most recently added goods: its head and
// its last four digits plus one ("HP0099" gives "HP0100"); "0001" when there
// is none or its last four characters are not all digits. After 9999 the
// number widens ("HP9999" gives "HP10000") instead of wrapping to a used code.
QString NextGoodsCodeAfter(const QString &latest);
QString NextGoodsCode(DataModule &dm);

// The unset value of the user-defined date fields.
inline QDate noUserDate() { return QDate(1900, 8, 14); }
// A stored user date that counts as set (on or after 1901-08-14).
bool isUserDateSet(const QDate &d);

// One warehouse's opening stock in the edit window.
struct OpeningStockLine {
    qint64 id = 0;        // t_begDept row; 0 when not stored
    QString depot;
    double amount = 0;
    Money price;
    bool hidden = false;  // a warehouse the restricted operator may not see: left as stored
    Money total() const { return price.times(amount); }
};

// The stored lines of `code` (none for a new goods: empty code) and a zero
// line for every other warehouse, in warehouse order; lines of warehouses
// outside a restricted operator's own are marked hidden. Throws DbError.
QList<OpeningStockLine> LoadOpeningStock(Database &db, const QString &code, const Session &session);
// Before saving: a price of 0 becomes the cost price. (Zero-quantity lines
// are not stored: SaveGoods deletes the stored ones and skips the others.)
void FinishOpeningStock(QList<OpeningStockLine> &lines, Money costPrice);
// F_BegAmount: the sum over every line, hidden ones included.
double OpeningQuantity(const QList<OpeningStockLine> &lines);

// What the edit window TFrmGoodEdit saves.
struct GoodsEdit {
    bool isNew = true;
    qint64 id = 0;        // edit mode: the edited row
    QString oldCode;      // edit mode: the code when loaded
    bool autoCode = false;
    // t_goods columns by declared name: texts, Money prices, double numbers,
    // bool F_Flag, QDate user dates (invalid = not set).
    QVariantMap values;
    QList<OpeningStockLine> stock;
};

// The checks in their order, then in one transaction: the opening stock
// batch, the goods row, the automatic-code switch (new), and (edit) the
// re-keying of receipt, return, order and opening stock lines when the code
// changed and the copy of name, type, spec, unit and origin to the receipt
// and return lines. On failure nothing is written.
MasterResult SaveGoods(DataModule &dm, GoodsEdit &edit);

// Whether a receipt or return line names the goods (order lines do not count).
bool GoodsInUse(Database &db, const QString &code);
inline QString goodsInUseMessage() { return QStringLiteral("该货品资料已经被使用，不能被删除！"); }
// Deletes the goods and its opening stock in one transaction; refused with
// goodsInUseMessage() when a receipt or return line names it.
MasterResult DeleteGoods(DataModule &dm, qint64 id, const QString &code);

// Sets the type of the goods rows; a row that fails is skipped. Returns how
// many changed. Document lines keep their type.
int ChangeGoodsType(DataModule &dm, const QList<qint64> &ids, const QString &path);

// Units of measure (option type goodunit).
QStringList GoodsUnits(DataModule &dm);
bool GoodsUnitExists(DataModule &dm, const QString &unit);
bool AddGoodsUnit(DataModule &dm, const QString &unit);
// Warehouses the operator may choose (the hidden default warehouse box).
QStringList OperatorWarehouses(DataModule &dm, const Session &session);

// ---- the goods picker TDlgGoodXz

// The document a line-adding run writes to: DocKind of the picker.
enum GoodsDocKind { GoodsForReceipt = 1, GoodsForReturn = -1, GoodsForOrder = 7 };

// What a document window (order, receipt, return) offers the goods picker's
// AddGoodsLines: its kind, the text of its supplier box, its code, and a way
// to append a posted line. The picker calls appendGoodsLine once per goods
// picked, with GoodsLineValues(); the window recomputes its totals itself.
class GoodsLineTarget {
public:
    virtual ~GoodsLineTarget() = default;
    virtual int goodsDocKind() const = 0;           // GoodsDocKind
    virtual QString goodsSupplierText() const = 0;  // the supplier box, as it reads
    virtual QString goodsDocumentCode() const = 0;
    virtual void appendGoodsLine(const QVariantMap &line) = 0;
};

struct GoodsPickerFilter {
    QString code;           // prefix, as typed
    QString name;           // contained, when not blank
    QString spec;           // prefix, trimmed
    QString typePath;       // empty or the root: every type
    bool excludePicked = false; // line adding: leave out the goods added in this run
};
// The picker's list statement (disabled goods included, as the search does),
// with the columns its grid can show, in code order.
ListQuery GoodsPickerQuery(const Dialect &dialect, const GoodsPickerFilter &filter);
// The simple pick's first list: every goods not disabled.
ListQuery GoodsPickInitialQuery();

// The run's chosen goods, in the connection's own work table tempCode.
// Failures are ignored: the line is still added.
void ClearPickedGoods(Database &db);
void RememberPickedGoods(Database &db, const QString &code);

// The values of a new document line for the goods `code`: goods code, name,
// type, spec, origin, unit and the user fields from the goods; the default
// price for the kind and supplier (receipt: last receipt price, return: last
// return price, order: last order price, else the cost price); F_Code the
// document's code, F_Rate 1, F_Amount 1. The line amount is left to the
// document, whose kind decides it. Keys are the line columns (F_GoodCode, …);
// empty when there is no such goods.
QVariantMap GoodsLineValues(DataModule &dm, const QString &code, int docKind, const QString &supplier,
                            const QString &documentCode);

} // namespace korvan
