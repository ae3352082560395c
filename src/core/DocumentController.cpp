#include "DocumentController.h"
#include "Login.h"
#include "Messages.h"

#include <QSqlRecord>

namespace korvan {

namespace {
const QString kGoodCode = QStringLiteral("F_GoodCode");
const QString kAmount = QStringLiteral("F_Amount");
const QString kPrice = QStringLiteral("F_Price");
const QString kRate = QStringLiteral("F_Rate");
const QString kTotal = QStringLiteral("F_TotalPrice");

const QStringList kUserFields = {
    QStringLiteral("F_ZF1"), QStringLiteral("F_ZF2"), QStringLiteral("F_ZF3"), QStringLiteral("F_ZF4"), QStringLiteral("F_ZF5"),
    QStringLiteral("F_SZ1"), QStringLiteral("F_SZ2"), QStringLiteral("F_SZ3"),
    QStringLiteral("F_RQ1"), QStringLiteral("F_RQ2"), QStringLiteral("F_RQ3")};

bool blank(const QVariant &v) { return v.toString().trimmed().isEmpty(); }

Money moneyOf(const QVariant &v)
{
    if (v.metaType() == QMetaType::fromType<Money>()) return v.value<Money>();
    return Money::parse(v.toString()).value_or(Money());
}
} // namespace

DocumentController::DocumentController(DataModule &dm, const DocumentKind &kind) : m_dm(dm), m_store(dm, kind) {}

void DocumentController::setListDate(const QDate &date)
{
    m_listDate = date;
    loadDayList();
}

void DocumentController::loadDayList()
{
    m_dayList = m_store.loadDay(m_listDate, WarehouseFilter(m_dm.session()));
    int target = int(m_dayList.size()) - 1;
    if (!locateCode.trimmed().isEmpty()) {
        for (int i = 0; i < m_dayList.size(); ++i)
            if (m_dayList[i].value(QStringLiteral("F_Code")).toString() == locateCode.trimmed()) target = i;
    }
    showRow(target);
}

void DocumentController::showRow(int row)
{
    m_doc = Document();
    m_row = -1;
    if (row >= 0 && row < m_dayList.size()) {
        m_row = row;
        m_doc.header = m_dayList[row];
        m_doc.id = m_doc.header.value(QStringLiteral("F_ID")).toLongLong();
        m_doc.rowVersion = m_doc.header.value(QStringLiteral("F_RowVer")).toInt();
        m_doc.lines = m_store.loadLines(m_doc.code());
    }
    notify();
}

bool DocumentController::refuseEmpty(const QString &message)
{
    if (m_row >= 0) return false;
    ShowMess(message, MsgError);
    return true;
}

bool DocumentController::newDocument()
{
    const QString code = m_store.proposeCode();
    if (code.isEmpty()) return false;
    const QDate today = QDate::currentDate();
    m_doc = Document();
    m_doc.header = {{QStringLiteral("F_Code"), code},
                    {QStringLiteral("F_MakeDate"), today},
                    {QStringLiteral("F_date"), today},
                    {QStringLiteral("F_Maker"), m_dm.session().operatorName},
                    {QStringLiteral("F_CheckFlag"), false}};
    if (kind().id == QLatin1String("order")) m_doc.header.insert(QStringLiteral("F_JHdate"), today);
    m_mode = Mode::Entry;
    m_isEditing = false;
    addLine();
    m_unsaved = false;
    notify();
    return true;
}

bool DocumentController::edit()
{
    if (refuseEmpty(QStringLiteral("此表为空，没有记录需要修改！"))) return false;
    if (m_doc.audited()) {
        ShowMess(QStringLiteral("此单据已经审核，不能再修改！"), MsgWarning);
        return false;
    }
    m_mode = Mode::Entry;
    m_isEditing = true;
    m_unsaved = false;
    m_doc.header[QStringLiteral("F_Auditer")] = QString(); // the auditor box of an unaudited document is empty
    notify();
    return true;
}

bool DocumentController::copy()
{
    if (refuseEmpty(QStringLiteral("此表为空，没有记录能复制！"))) return false;
    const QString code = m_store.proposeCode();
    if (code.isEmpty()) return false;
    const Document source = m_doc;
    m_doc = Document();
    m_doc.header = source.header;
    for (const QString &k : {QStringLiteral("F_ID"), QStringLiteral("F_RowVer"), QStringLiteral("F_AudDate")}) m_doc.header.remove(k);
    m_doc.header[QStringLiteral("F_Code")] = code;
    m_doc.header[QStringLiteral("F_CheckFlag")] = false;
    m_doc.header[QStringLiteral("F_date")] = QDate::currentDate();
    if (!source.audited()) m_doc.header[QStringLiteral("F_Auditer")] = QString();
    static const QStringList copied = {kGoodCode, QStringLiteral("F_GoodName"), QStringLiteral("F_Type"), QStringLiteral("F_Spec"),
                                       QStringLiteral("F_Address"), QStringLiteral("F_Unit"), kAmount, kPrice, kRate, kTotal,
                                       QStringLiteral("F_Mem")};
    for (const DocumentLine &l : source.lines) {
        if (blank(l.values.value(QStringLiteral("F_GoodName")))) continue;
        DocumentLine n;
        for (const QString &c : copied) n.values.insert(c, l.values.value(c));
        m_doc.lines << n;
    }
    m_mode = Mode::Entry;
    m_isEditing = false;
    m_unsaved = false;
    notify();
    return true;
}

bool DocumentController::save()
{
    m_focus.clear();
    for (const HeaderCheck &check : kind().requiredHeader) {
        if (blank(m_doc.header.value(check.column))) {
            ShowMess(check.message, MsgInfo);
            m_focus = check.control;
            return false;
        }
    }
    // A document without a valid entry date would be saved where no day list finds it.
    if (!dateOf(m_doc.header.value(QStringLiteral("F_date"))).isValid()) {
        ShowMess(dateMessage(), MsgInfo);
        m_focus = QStringLiteral("edtDate");
        return false;
    }
    const QString supplier = kind().supplierColumn;
    m_doc.header[supplier] = m_doc.header.value(supplier).toString().trimmed();
    const StoreResult r = m_store.save(m_doc, m_dm.session().operatorName);
    if (!r.ok) {
        ShowMess(r.message, r.kind);
        return false;
    }
    m_mode = Mode::Browse;
    m_isEditing = false;
    reloadAt(r.code);
    return true;
}

void DocumentController::cancel()
{
    m_mode = Mode::Browse;
    m_isEditing = false;
    m_unsaved = false;
    showRow(m_row);
}

bool DocumentController::cancelEntry()
{
    if (hasUnsavedInput() && ShowMess(discardQuestion(), MsgQuestion) == AnswerNo) return false;
    cancel();
    return true;
}

bool DocumentController::remove()
{
    if (m_row < 0) return false;
    if (m_doc.audited()) {
        ShowMess(kind().deleteAuditedMessage, MsgWarning);
        return false;
    }
    if (ShowMess(kind().deleteQuestion + m_doc.code() + QStringLiteral("吗？"), MsgQuestion) == AnswerNo) return false;
    const StoreResult r = m_store.remove(m_doc);
    if (!r.ok) {
        ShowMess(r.message, r.kind);
        return false;
    }
    reloadAt(QString());
    return true;
}

bool DocumentController::audit()
{
    if (m_row < 0) return false;
    if (m_doc.audited()) {
        ShowMess(QStringLiteral("此单据已经审核！"), MsgWarning);
        return false;
    }
    if (ShowMess(QStringLiteral("审核记帐以后，单据不能再修改，真的要审核记帐吗？"), MsgQuestion) == AnswerNo) return false;
    const StoreResult r = m_store.audit(m_doc.code(), m_dm.session().operatorName, QDate::currentDate());
    if (!r.ok) {
        ShowMess(r.message, r.kind);
        reloadAt(m_doc.code()); // audited meanwhile elsewhere: show it as it is
        return false;
    }
    reloadAt(r.code);
    return true;
}

bool DocumentController::unaudit()
{
    if (!m_dm.session().isSuperUser() || m_row < 0 || !m_doc.audited()) return false;
    if (ShowMess(QStringLiteral("此单据已经经过审核，真的要反审核此单吗？"), MsgQuestion) == AnswerNo) return false;
    const StoreResult r = m_store.unaudit(m_doc.code(), m_dm.session().operatorName);
    if (!r.ok && !r.message.isEmpty()) ShowMess(r.message, r.kind);
    reloadAt(m_doc.code());
    return r.ok;
}

void DocumentController::reloadAt(const QString &code)
{
    const QString keep = locateCode;
    locateCode = code;
    loadDayList();
    locateCode = keep;
}

void DocumentController::adoptShownHeader(const QString &column, const QVariant &value)
{
    m_doc.header[column] = value;
}

void DocumentController::setHeader(const QString &column, const QVariant &value)
{
    if (m_doc.header.value(column) != value) m_unsaved = true;
    m_doc.header[column] = value;
}

int DocumentController::addLine()
{
    m_doc.lines << DocumentLine{};
    notify();
    return int(m_doc.lines.size()) - 1;
}

void DocumentController::deleteLine(int row)
{
    if (row < 0 || row >= m_doc.lines.size()) return;
    if (m_doc.lines[row].id != 0) m_doc.deletedLineIds << m_doc.lines[row].id;
    if (m_doc.lines[row].id != 0 || !blank(m_doc.lines[row].values.value(kGoodCode))) m_unsaved = true;
    m_doc.lines.removeAt(row);
    notify();
}

void DocumentController::recompute(DocumentLine &line)
{
    if (kind().amountRule == LineAmountRule::Typed) return;
    const double qty = line.values.value(kAmount).toDouble();
    const double rate = line.values.value(kRate).toDouble();
    line.values[kTotal] = QVariant::fromValue(lineAmount(kind().amountRule, qty, moneyOf(line.values.value(kPrice)), rate));
}

void DocumentController::setLineValue(int row, const QString &column, const QVariant &value)
{
    if (row < 0 || row >= m_doc.lines.size()) return;
    DocumentLine &line = m_doc.lines[row];
    line.values[column] = column == kPrice || column == kTotal ? QVariant::fromValue(moneyOf(value)) : value;
    line.changed = true;
    m_unsaved = true;
    if (column == kAmount || column == kPrice || column == kRate) recompute(line);
}

QVariantMap DocumentController::goodsRow(const QString &sql, const QVariantList &params)
{
    QSqlQuery q;
    if (!m_dm.OpenQuery(sql, params, q) || !q.next()) return {};
    QVariantMap row;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i) row.insert(rec.fieldName(i).toLower(), q.value(i));
    return row;
}

Money DocumentController::defaultPrice(const QString &goodsCode)
{
    const QString supplier = m_doc.header.value(kind().supplierColumn).toString().trimmed();
    try {
        switch (kind().priceLookup) {
        case PriceLookup::Order: return m_dm.LastOrderPrice(goodsCode, supplier, 1);
        case PriceLookup::Receipt: return m_dm.LastReceiptPrice(goodsCode, supplier, 1);
        case PriceLookup::Return: return m_dm.LastReceiptPrice(goodsCode, supplier, -1);
        case PriceLookup::None: break;
        }
    } catch (const DbError &) {
        ShowMess(DataModule::failMessage(), MsgError);
    }
    return Money();
}

QVariantMap DocumentController::lineFromGoods(const QVariantMap &goods)
{
    QVariantMap v;
    v[kGoodCode] = goods.value(QStringLiteral("f_code"));
    v[QStringLiteral("F_GoodName")] = goods.value(QStringLiteral("f_name"));
    for (const char *c : {"F_Type", "F_Spec", "F_Unit", "F_Address"})
        v[QString::fromLatin1(c)] = goods.value(QString::fromLatin1(c).toLower());
    for (const QString &c : kUserFields) {
        const QVariant value = goods.value(c.toLower());
        v[c] = c.startsWith(QLatin1String("F_RQ")) ? QVariant(dateOf(value)) : value;
    }
    v[kPrice] = QVariant::fromValue(defaultPrice(v.value(kGoodCode).toString()));
    v[kRate] = 1.0;
    return v;
}

static const QString kGoodsColumns = QStringLiteral(
    "SELECT F_Code, F_Name, F_Type, F_Spec, F_Unit, F_Address, F_BarCode, F_ZF1, F_ZF2, F_ZF3, F_ZF4, F_ZF5,"
    " F_SZ1, F_SZ2, F_SZ3, F_RQ1, F_RQ2, F_RQ3 FROM t_goods");

bool DocumentController::lookupGoods(int row)
{
    if (row < 0 || row >= m_doc.lines.size()) return false;
    const QString code = m_doc.lines[row].values.value(kGoodCode).toString().trimmed();
    if (code.isEmpty()) return false;
    const QVariantMap goods = goodsRow(kGoodsColumns + QStringLiteral(" WHERE F_Flag = ? AND F_Code = ?"), {false, code});
    if (goods.isEmpty()) {
        ShowMess(QStringLiteral("商品\"%1\"不存在，请检查输入？").arg(code), MsgInfo);
        return false;
    }
    DocumentLine &line = m_doc.lines[row];
    const QVariantMap fill = lineFromGoods(goods);
    for (auto it = fill.begin(); it != fill.end(); ++it) line.values[it.key()] = it.value();
    line.changed = true;
    m_unsaved = true;
    recompute(line);
    notify();
    return true;
}

DocumentController::EnterStep DocumentController::enterInLines(int row, const QString &column)
{
    if (row < 0 || row >= m_doc.lines.size()) return EnterStep::Stay;
    if (blank(m_doc.lines[row].values.value(kGoodCode))) return EnterStep::Stay;
    if (column.compare(kGoodCode, Qt::CaseInsensitive) == 0)
        return lookupGoods(row) ? EnterStep::SelectQuantity : EnterStep::Stay;
    if (column.compare(kAmount, Qt::CaseInsensitive) == 0) {
        if (m_doc.lines[row].values.value(kAmount).toDouble() == 0) {
            ShowMess(QStringLiteral("对不起，货品数量不能为零！"), MsgInfo);
            return EnterStep::Stay;
        }
        if (row == m_doc.lines.size() - 1) addLine();
        return EnterStep::NewLineFirstColumn;
    }
    return EnterStep::Stay;
}

void DocumentController::dropTrailingEmptyLines()
{
    while (!m_doc.lines.isEmpty() && m_doc.lines.last().id == 0 && blank(m_doc.lines.last().values.value(kGoodCode)))
        m_doc.lines.removeLast();
}

int DocumentController::appendLine(const QVariantMap &values)
{
    dropTrailingEmptyLines();
    DocumentLine line;
    line.values = values;
    if (!line.values.contains(kTotal)) recompute(line);
    m_doc.lines << line;
    m_unsaved = true;
    notify();
    return int(m_doc.lines.size()) - 1;
}

int DocumentController::appendGoods(const QString &goodsCode, double quantity)
{
    const QVariantMap goods = goodsRow(kGoodsColumns + QStringLiteral(" WHERE F_Code = ?"), {goodsCode});
    if (goods.isEmpty()) return -1;
    QVariantMap v = lineFromGoods(goods);
    v[kAmount] = quantity < 1 ? 1.0 : quantity;
    return appendLine(v);
}

bool DocumentController::barcodeEntry(const QString &barcode, double quantity)
{
    m_focus = QStringLiteral("edtTM");
    if (barcode.trimmed().isEmpty()) {
        ShowMess(QStringLiteral("请输入条码！"), MsgInfo);
        return false;
    }
    const QVariantMap goods = goodsRow(kGoodsColumns + QStringLiteral(" WHERE F_BarCode = ?"), {barcode});
    if (goods.isEmpty()) {
        ShowMess(QStringLiteral("条码\"%1\"不存在，请检查输入？").arg(barcode), MsgInfo);
        return false;
    }
    QVariantMap v = lineFromGoods(goods);
    v[QStringLiteral("F_TMcode")] = goods.value(QStringLiteral("f_barcode"));
    v[kAmount] = quantity;
    appendLine(v);
    return true;
}

bool DocumentController::newFromOrder(const Document &order)
{
    if (!newDocument()) return false;
    static const QStringList copied = {kGoodCode, QStringLiteral("F_GoodName"), QStringLiteral("F_Type"), QStringLiteral("F_Spec"),
                                       QStringLiteral("F_Unit"), QStringLiteral("F_Address"), kAmount, kPrice, kRate, kTotal};
    for (const DocumentLine &l : order.lines) {
        QVariantMap v;
        for (const QString &c : copied) v.insert(c, l.values.value(c));
        v[QStringLiteral("F_JHcode")] = order.code();
        appendLine(v);
    }
    m_doc.header[QStringLiteral("F_Client")] = order.header.value(QStringLiteral("F_Client"));
    m_doc.header[QStringLiteral("F_OldCode")] = order.header.value(QStringLiteral("F_OldCode"));
    m_doc.header[QStringLiteral("F_EmpName")] = order.header.value(QStringLiteral("F_EmpName"));
    notify();
    return true;
}

QVariantMap DocumentController::reportVariables() { return DocumentReportValues(m_dm, kind(), m_doc.header); }

QVariantMap DocumentReportValues(DataModule &dm, const DocumentKind &kind, const QVariantMap &header)
{
    const Session &s = dm.session();
    QVariantMap vars{{QStringLiteral("PageMaxRow"), dm.printRows()},
                     {QStringLiteral("bsPhone"), s.companyPhone},
                     {QStringLiteral("bsFax"), s.companyFax},
                     {QStringLiteral("sCurKHname"), s.companyName},
                     {QStringLiteral("sLinkMan"), QString()}, {QStringLiteral("sPhone"), QString()},
                     {QStringLiteral("sFax"), QString()}, {QStringLiteral("sAddress"), QString()}};
    const QString supplier = header.value(kind.supplierColumn).toString().trimmed();
    if (supplier.isEmpty()) return vars;
    QSqlQuery q;
    if (dm.OpenQuery(QStringLiteral("SELECT F_LinkMan, F_Phone, F_Fax, F_Address FROM t_client WHERE F_Name = ?"), {supplier}, q)
        && q.next()) {
        vars[QStringLiteral("sLinkMan")] = q.value(0).toString();
        vars[QStringLiteral("sPhone")] = q.value(1).toString();
        vars[QStringLiteral("sFax")] = q.value(2).toString();
        vars[QStringLiteral("sAddress")] = q.value(3).toString();
    }
    return vars;
}

DocumentController::Tools DocumentController::tools() const
{
    const Session &s = m_dm.session();
    const bool su = s.isSuperUser();
    const bool browse = m_mode == Mode::Browse;
    Tools t{};
    t.newDoc = browse && (su || s.canAdd);
    t.copy = t.newDoc;
    t.edit = browse && (su || s.canEdit);
    t.del = browse && (su || s.canDelete);
    t.navigate = browse;
    t.audit = browse && (su || s.canAudit);
    t.unauditVisible = su;
    t.unaudit = browse && su;
    t.print = browse;
    t.design = browse && (su || s.canSetup);
    t.exit = browse;
    t.listDate = browse;
    t.save = t.cancel = t.header = t.lineActions = !browse;
    t.convert = m_doc.audited();
    return t;
}

} // namespace korvan
