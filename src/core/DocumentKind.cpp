#include "DocumentKind.h"

namespace korvan {

namespace {
QStringList cols(const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }
}

const DocumentKind &DocumentKind::order()
{
    static const DocumentKind k{
        QStringLiteral("order"), Series::Order, QStringLiteral("ddDepotD"), 1,
        cols("F_MakeDate F_JHdate F_date F_Client F_Depot F_EmpName F_OldCode F_Mem F_Auditer"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QStringLiteral("F_amount"), QString(),
        true, true, false, true, LineAmountRule::QtyPriceRate};
    return k;
}

const DocumentKind &DocumentKind::receipt()
{
    static const DocumentKind k{
        QStringLiteral("receipt"), Series::Receipt, QStringLiteral("depotD"), 1,
        cols("F_MakeDate F_date F_Client F_Depot F_EmpName F_OldCode F_Mem F_Auditer"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QStringLiteral("F_Amount"), QString(),
        true, true, true, true, LineAmountRule::QtyPriceRate};
    return k;
}

const DocumentKind &DocumentKind::purchaseReturn()
{
    static const DocumentKind k{
        QStringLiteral("return"), Series::Return, QStringLiteral("depotD"), -1,
        cols("F_MakeDate F_date F_Client F_Depot F_EmpName F_OldCode F_Mem F_Auditer"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QStringLiteral("F_Amount"), QString(),
        true, true, true, true, LineAmountRule::QtyPrice};
    return k;
}

const DocumentKind &DocumentKind::invoice()
{
    static const DocumentKind k{
        QStringLiteral("invoice"), Series::Invoice, QStringLiteral("KPdepotD"), 0,
        cols("F_MakeDate F_date F_CLTname F_KPemp F_KPtype F_KPcode F_KPname F_KPprice F_memo1 F_Auditer"),
        QStringLiteral("F_CLTname"), QStringLiteral("F_memo1"), QString(), QStringLiteral("F_CGDcode"),
        false, false, false, false, LineAmountRule::Typed};
    return k;
}

const DocumentKind &DocumentKind::payment()
{
    static const DocumentKind k{
        QStringLiteral("payment"), Series::Payment, QStringLiteral("cashPayD"), -1,
        cols("F_MakeDate F_date F_Client F_EmpName F_OldCode F_Mem F_Auditer F_Account F_PayMode F_itemName F_SKprice"),
        QStringLiteral("F_Client"), QStringLiteral("F_Mem"), QString(), QStringLiteral("F_CGDcode"),
        false, false, false, false, LineAmountRule::Typed};
    return k;
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
