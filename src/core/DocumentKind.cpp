#include "DocumentKind.h"

namespace korvan {

namespace {
QStringList cols(const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

DocumentKind with(DocumentKind k, QList<HeaderCheck> checks, const QString &deleteQuestion, PriceLookup lookup,
                  const QString &deleteAudited = QStringLiteral("此单据已经审核，不能再修改！"))
{
    k.requiredHeader = std::move(checks);
    k.deleteQuestion = deleteQuestion;
    k.priceLookup = lookup;
    k.deleteAuditedMessage = deleteAudited;
    return k;
}

const HeaderCheck kSupplier{QStringLiteral("F_Client"), QStringLiteral("采购供应商不能为空！"), QStringLiteral("cbeClient")};
const HeaderCheck kWarehouse{QStringLiteral("F_Depot"), QStringLiteral("进货仓库不能为空！"), QStringLiteral("cbbDepot")};
}

const DocumentKind &DocumentKind::order()
{
    static const DocumentKind k{
        QStringLiteral("order"), Series::Order, QStringLiteral("ddDepotD"), 1,
        cols("F_MakeDate F_JHdate F_date F_Client F_Depot F_EmpName F_OldCode F_Mem F_Auditer"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QStringLiteral("F_amount"), QString(),
        true, true, true, true, LineAmountRule::QtyPriceRate};
    static const DocumentKind full = with(k, {kSupplier}, QStringLiteral("真的要删除当前采购订单单 "), PriceLookup::Order);
    return full;
}

const DocumentKind &DocumentKind::receipt()
{
    static const DocumentKind k{
        QStringLiteral("receipt"), Series::Receipt, QStringLiteral("depotD"), 1,
        cols("F_MakeDate F_date F_Client F_Depot F_EmpName F_OldCode F_Mem F_Auditer"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QStringLiteral("F_Amount"), QString(),
        true, true, true, true, LineAmountRule::QtyPriceRate};
    static const DocumentKind full = with(k, {kWarehouse, kSupplier}, QStringLiteral("真的要删除当前采购入库单 "), PriceLookup::Receipt);
    return full;
}

const DocumentKind &DocumentKind::purchaseReturn()
{
    static const DocumentKind k{
        QStringLiteral("return"), Series::Return, QStringLiteral("depotD"), -1,
        cols("F_MakeDate F_date F_Client F_Depot F_EmpName F_OldCode F_Mem F_Auditer"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QStringLiteral("F_Amount"), QString(),
        true, true, true, true, LineAmountRule::QtyPrice};
    static const DocumentKind full = with(k, {kWarehouse, kSupplier}, QStringLiteral("真的要删除当前采购退货单 "), PriceLookup::Return);
    return full;
}

const DocumentKind &DocumentKind::invoice()
{
    static const DocumentKind k{
        QStringLiteral("invoice"), Series::Invoice, QStringLiteral("KPdepotD"), 0,
        cols("F_MakeDate F_date F_CLTname F_KPemp F_KPtype F_KPcode F_KPname F_KPprice F_memo1 F_Auditer"),
        QStringLiteral("F_CLTname"), QStringLiteral("F_memo1"), QString(), QStringLiteral("F_CGDcode"),
        false, false, false, false, LineAmountRule::Typed};
    static const DocumentKind full = with(k, {{QStringLiteral("F_CLTname"), QStringLiteral("供应商名称不能为空！"), QStringLiteral("cbeCLTname")}},
                                          QStringLiteral("真的要删除当前采购开票单 "), PriceLookup::None,
                                          QStringLiteral("此单据已经审核，不能再删除！"));
    return full;
}

const DocumentKind &DocumentKind::payment()
{
    static const DocumentKind k{
        QStringLiteral("payment"), Series::Payment, QStringLiteral("cashPayD"), -1,
        cols("F_MakeDate F_date F_Client F_EmpName F_OldCode F_Mem F_Auditer F_Account F_PayMode F_itemName F_SKprice"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QString(), QStringLiteral("F_CGDcode"),
        false, false, false, false, LineAmountRule::Typed};
    static const DocumentKind full = with(k, {{QStringLiteral("F_Account"), QStringLiteral("收款帐户不能为空！"), QStringLiteral("cbbAccount")},
                                              {QStringLiteral("F_Client"), QStringLiteral("供应商不能为空！"), QStringLiteral("cbeClient")}},
                                          QStringLiteral("真的要删除当前采购付款单 "), PriceLookup::None,
                                          QStringLiteral("此单据已经审核，不能再删除！"));
    return full;
}

const DocumentKind *DocumentKind::byId(const QString &id)
{
    for (const DocumentKind *k : {&order(), &receipt(), &purchaseReturn(), &invoice(), &payment()})
        if (k->id == id) return k;
    return nullptr;
}

Money lineAmount(LineAmountRule rule, double quantity, Money price, double rate)
{
    switch (rule) {
    case LineAmountRule::QtyPriceRate: return price.timesAll({quantity, rate});
    case LineAmountRule::QtyPrice: return price.times(quantity);
    case LineAmountRule::Typed: break;
    }
    return Money();
}

} // namespace korvan
